#include "shell/ui/jpeg_picture.h"

#include <QFile>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

// The largest picture decoded: a header may claim up to 65500 x 65500 pixels, which must
// not turn a few corrupt bytes into gigabytes of memory.
constexpr std::size_t MaxPixels = std::size_t{16} * 1024 * 1024;

// libjpeg's default error handling ends the process; ours jumps back to the decoder.
// Warnings (corrupt data, premature end of file) count as errors too: a picture that
// libjpeg had to patch up is not shown.
struct TJpegErrorManager {
  jpeg_error_mgr Manager;
  std::jmp_buf Return;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegErrorManager*>(info->err)->Return, 1);
}

void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ErrorExit(info);  // a warning; trace messages (level >= 0) are ignored
}

void OutputMessage(j_common_ptr) {}  // nothing goes to standard error

// Everything the decoding touches lives here, on the heap, so that a jump back from
// libjpeg skips no destructor and leaves no variable of the jumping frame indeterminate.
struct TDecodeState {
  jpeg_decompress_struct Info{};
  TJpegErrorManager Error{};
  QImage Image;
  std::vector<JSAMPLE> CmykRow;
  bool Created = false;
};

// Adobe CMYK (stored inverted) to RGB.
void CmykRowToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const unsigned k = cmyk[3];
    rgb[0] = static_cast<uchar>(cmyk[0] * k / 255);
    rgb[1] = static_cast<uchar>(cmyk[1] * k / 255);
    rgb[2] = static_cast<uchar>(cmyk[2] * k / 255);
  }
}

// Decodes into state->Image; false when libjpeg reported an error or warning, or the
// picture is too large. Holds no object with a destructor: libjpeg may jump back here.
// (A failing allocation of the row buffer throws from this frame, never through libjpeg.)
bool DecodeInto(TDecodeState* state, const unsigned char* data, unsigned long size) {
  jpeg_decompress_struct* info = &state->Info;
  info->err = jpeg_std_error(&state->Error.Manager);
  state->Error.Manager.error_exit = ErrorExit;
  state->Error.Manager.emit_message = EmitMessage;
  state->Error.Manager.output_message = OutputMessage;
  if (setjmp(state->Error.Return) != 0) return false;

  jpeg_create_decompress(info);
  state->Created = true;
  jpeg_mem_src(info, data, size);
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return false;
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (static_cast<std::size_t>(info->image_width) * info->image_height > MaxPixels) return false;
  jpeg_start_decompress(info);
  if (info->output_components != (cmyk ? 4 : 3)) return false;
  if (cmyk) state->CmykRow.resize(std::size_t{info->output_width} * 4);
  JSAMPLE* cmykRow = state->CmykRow.data();

  state->Image = QImage(static_cast<int>(info->output_width),
                        static_cast<int>(info->output_height), QImage::Format_RGB888);
  if (state->Image.isNull()) return false;
  while (info->output_scanline < info->output_height) {
    uchar* line = state->Image.scanLine(static_cast<int>(info->output_scanline));
    JSAMPROW row = cmyk ? cmykRow : line;
    if (jpeg_read_scanlines(info, &row, 1) != 1) return false;
    if (cmyk) CmykRowToRgb(cmykRow, line, info->output_width);
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
  if (bytes.isEmpty()) return QImage();
  auto state = std::make_unique<TDecodeState>();
  bool decoded = false;
  try {
    decoded = DecodeInto(state.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                         static_cast<unsigned long>(bytes.size()));
  } catch (const std::bad_alloc&) {
    decoded = false;  // a row buffer that did not fit: no picture
  }
  if (state->Created) jpeg_destroy_decompress(&state->Info);
  return decoded ? state->Image : QImage();
}

// Resources of a static library are registered only when asked for by name.
static void RegisterPictures() { Q_INIT_RESOURCE(pictures); }

QImage PictureResource(const QString& name) {
  static const bool registered = (RegisterPictures(), true);
  (void)registered;
  QFile file(QStringLiteral(":/pictures/") + name);
  if (!file.open(QIODevice::ReadOnly)) return QImage();
  return DecodeJpeg(file.readAll());
}
