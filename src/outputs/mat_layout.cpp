#include "outputs/mat_layout.h"

#include <cstdint>
#include <fstream>
#include <utility>
#include <vector>

namespace {

// The longest array name a record may state: MATLAB's names are at most 63 characters.
constexpr std::uint64_t MaxNameBytes = 4096;

class TBytesAt {
public:
  explicit TBytesAt(const std::string& path) : In(path, std::ios::binary) {
    if (!In) return;
    In.seekg(0, std::ios::end);
    const auto end = In.tellg();
    Size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
  }
  bool Open() const { return static_cast<bool>(In); }
  std::uint64_t FileSize() const { return Size; }
  // The 32-bit word at the offset in the byte order given; false past the end.
  bool Word(std::uint64_t at, bool swap, std::uint32_t& value) {
    if (at + 4 > Size) return false;
    unsigned char b[4];
    In.clear();
    In.seekg(static_cast<std::streamoff>(at));
    if (!In.read(reinterpret_cast<char*>(b), 4)) return false;
    if (swap) std::swap(b[0], b[3]), std::swap(b[1], b[2]);
    value = std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
    return true;
  }
  bool Bytes(std::uint64_t at, std::size_t n, unsigned char* out) {
    if (at + n > Size) return false;
    In.clear();
    In.seekg(static_cast<std::streamoff>(at));
    return static_cast<bool>(
        In.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n)));
  }

private:
  std::ifstream In;
  std::uint64_t Size = 0;
};

std::uint64_t Align8(std::uint64_t n) { return (n + 7) / 8 * 8; }

// A subelement of a matrix at the offset: its type and data bytes, and where the next one
// starts; false when it does not fit before end.
bool SubElement(TBytesAt& file, std::uint64_t at, std::uint64_t end, bool swap, std::uint32_t& type,
                std::uint64_t& bytes, std::uint64_t& next) {
  std::uint32_t first = 0;
  if (!file.Word(at, swap, first)) return false;
  if (first >> 16) {  // the small format: type and up to 4 bytes in one 8-byte unit
    type = first & 0xFFFF;
    bytes = first >> 16;
    next = at + 8;
    return bytes <= 4 && next <= end;
  }
  std::uint32_t n = 0;
  if (!file.Word(at + 4, swap, n)) return false;
  type = first;
  bytes = n;
  next = at + 8 + Align8(n);
  return next <= end;
}

// A MAT 5 matrix element's flags, dimensions and name within its bytes.
bool MatrixSound(TBytesAt& file, std::uint64_t at, std::uint64_t end, bool swap) {
  std::uint32_t type = 0;
  std::uint64_t bytes = 0, next = 0;
  if (at == end) return true;  // an empty matrix element
  if (!SubElement(file, at, end, swap, type, bytes, next) || type != 6 || bytes != 8) return false;
  if (!SubElement(file, next, end, swap, type, bytes, next) || type != 5 || bytes % 4 != 0 ||
      bytes < 8)
    return false;
  return SubElement(file, next, end, swap, type, bytes, next) && type == 1 && bytes <= MaxNameBytes;
}

TMatLayout Walk5(TBytesAt& file, bool swap) {
  TMatLayout layout;
  layout.Readable = true;
  std::uint64_t at = 128;
  while (at + 8 <= file.FileSize()) {
    std::uint32_t type = 0, n = 0;
    if (!file.Word(at, swap, type) || !file.Word(at + 4, swap, n)) break;
    const std::uint64_t end = at + 8 + n;
    if (end > file.FileSize()) break;
    if (type == 14) {
      if (!MatrixSound(file, at + 8, end, swap)) break;
    } else if (type != 15) {
      break;
    }
    ++layout.Sound;
    at = type == 14 ? at + 8 + Align8(n) : end;
  }
  layout.Whole = at >= file.FileSize();
  return layout;
}

// A MAT 4 record's header: type MOPT, rows, columns, imaginary flag, name length.
TMatLayout Walk4(TBytesAt& file) {
  TMatLayout layout;
  std::uint64_t at = 0;
  while (at + 20 <= file.FileSize()) {
    std::uint32_t head[5];
    bool swap = false;
    if (!file.Word(at, false, head[0])) break;
    if (head[0] > 4052) {
      swap = true;
      if (!file.Word(at, true, head[0]) || head[0] > 4052) break;
    }
    for (int i = 1; i < 5; ++i)
      if (!file.Word(at + 4 * static_cast<std::uint64_t>(i), swap, head[i])) return layout;
    const std::uint32_t m = head[0] / 1000, o = head[0] / 100 % 10, p = head[0] / 10 % 10,
                        t = head[0] % 10;
    if (m > 4 || o != 0 || p > 5 || t > 2 || head[3] > 1 || head[4] < 1 || head[4] > MaxNameBytes)
      break;
    static const std::uint64_t Size[] = {8, 4, 4, 2, 2, 1};
    const std::uint64_t values = std::uint64_t{head[1]} * head[2] * (head[3] ? 2 : 1);
    const std::uint64_t end = at + 20 + head[4] + values * Size[p];
    if (end > file.FileSize()) break;
    ++layout.Sound;
    at = end;
  }
  layout.Readable = layout.Sound > 0;
  layout.Whole = layout.Readable && at == file.FileSize();
  return layout;
}

}  // namespace

TMatLayout WalkMatLayout(const std::string& path) {
  TBytesAt file(path);
  if (!file.Open()) return {};
  unsigned char head[128];
  if (file.Bytes(0, sizeof head, head) &&
      ((head[126] == 'I' && head[127] == 'M') || (head[126] == 'M' && head[127] == 'I'))) {
    const bool swap = head[126] == 'M';
    const unsigned version = swap ? (head[124] << 8 | head[125]) : (head[125] << 8 | head[124]);
    if (version == 0x0200) {
      TMatLayout layout;
      layout.Mat73 = layout.Readable = layout.Whole = true;
      return layout;
    }
    if (version == 0x0100) return Walk5(file, swap);
  }
  return Walk4(file);
}
