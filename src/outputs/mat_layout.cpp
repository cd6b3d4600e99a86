#include "outputs/mat_layout.h"

#include <zlib.h>

#include <algorithm>
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
template <class TSource>
bool SubElement(TSource& file, std::uint64_t at, std::uint64_t end, bool swap, std::uint32_t& type,
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
template <class TSource>
bool MatrixSound(TSource& file, std::uint64_t at, std::uint64_t end, bool swap, int depth = 0) {
  std::uint32_t type = 0, flags = 0;
  std::uint64_t bytes = 0, next = 0;
  // Even an empty record is read as a matrix by matio: it must hold the whole header.
  if (!SubElement(file, at, end, swap, type, bytes, next) || type != 6 || bytes != 8 ||
      !file.Word(at + 8, swap, flags))
    return false;
  const std::uint64_t dimsAt = next;
  if (!SubElement(file, dimsAt, end, swap, type, bytes, next) || type != 5 || bytes % 4 != 0 ||
      bytes < 8)
    return false;
  // The element count: every class but sparse holds at least a byte of each element
  // after the name (matio allocates by this count before reading any of them).
  std::uint64_t count = 1;
  for (std::uint64_t d = 0; d < bytes / 4; ++d) {
    std::uint32_t n = 0;
    if (!file.Word(dimsAt + 8 + 4 * d, swap, n)) return false;
    count = n == 0 || count <= (std::uint64_t{1} << 40) / n ? count * n : (std::uint64_t{1} << 40);
  }
  if (!SubElement(file, next, end, swap, type, bytes, next) || type != 1 || bytes > MaxNameBytes)
    return false;
  const std::uint32_t kind = flags & 0xFF;
  // Functions and opaque objects are beyond the import, and matio reads them loosely.
  if (kind < 1 || kind > 15) return false;
  if (kind != 5 && count > end - next) return false;
  if (kind != 1 && kind != 2 && kind != 3) return true;
  // Cells, structures and objects hold whole matrices, which matio reads as it lists the
  // names: each is checked alike, to a depth that real files do not reach.
  if (depth >= 8) return false;
  std::uint64_t fields = 1;
  if (kind != 1) {
    if (kind == 3 && (!SubElement(file, next, end, swap, type, bytes, next) || type != 1))
      return false;  // the class name
    // The length of each field name (an int32, in the small format or not), then the
    // names, which give the number of fields.
    const std::uint64_t lengthAt = next;
    std::uint32_t first = 0, length = 0;
    if (!SubElement(file, lengthAt, end, swap, type, bytes, next) || type != 5 || bytes != 4 ||
        !file.Word(lengthAt, swap, first) ||
        !file.Word(lengthAt + ((first >> 16) ? 4 : 8), swap, length) || length == 0 ||
        length > MaxNameBytes)
      return false;
    if (!SubElement(file, next, end, swap, type, bytes, next) || type != 1 || bytes % length != 0)
      return false;
    fields = bytes / length;
    if (fields != 0 && count > (end - next) / fields) return false;
  }
  for (std::uint64_t i = 0; i < count * fields; ++i) {
    std::uint32_t n = 0;
    if (!file.Word(next, swap, type) || !file.Word(next + 4, swap, n) || type != 14 ||
        next + 8 + std::uint64_t{n} > end ||
        !MatrixSound(file, next + 8, next + 8 + n, swap, depth + 1))
      return false;
    next += 8 + Align8(n);
  }
  return true;
}

// The first bytes of an inflated record, with the count of all its bytes.
class TMemoryBytes {
public:
  std::vector<unsigned char> Head;
  std::uint64_t Total = 0;

  bool Word(std::uint64_t at, bool swap, std::uint32_t& value) const {
    if (at + 4 > Head.size()) return false;
    unsigned char b[4] = {Head[at], Head[at + 1], Head[at + 2], Head[at + 3]};
    if (swap) std::swap(b[0], b[3]), std::swap(b[1], b[2]);
    value = std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
    return true;
  }
};

// The most of an inflated record that is kept (its matrix header lies at its start) and
// that is counted (a record inflating to more holds more than the import takes anyway).
constexpr std::size_t InflatedHeadBytes = std::size_t{1} << 20;
constexpr std::uint64_t InflatedCountLimit = std::uint64_t{1} << 28;

// Inflates the compressed record's n bytes at the offset: its head and size.
bool Inflate(TBytesAt& file, std::uint64_t at, std::uint64_t n, TMemoryBytes& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  std::vector<unsigned char> in(16384), chunk(65536);
  int status = Z_OK;
  while (status != Z_STREAM_END && out.Total < InflatedCountLimit) {
    if (z.avail_in == 0) {
      if (n == 0) break;
      const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(n, in.size()));
      if (!file.Bytes(at, take, in.data())) break;
      at += take;
      n -= take;
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(take);
    }
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    status = inflate(&z, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) break;
    const std::size_t made = chunk.size() - z.avail_out;
    const std::size_t keep =
        std::min(made, InflatedHeadBytes - std::min(InflatedHeadBytes, out.Head.size()));
    out.Head.insert(out.Head.end(), chunk.begin(),
                    chunk.begin() + static_cast<std::ptrdiff_t>(keep));
    out.Total += made;
    if (made == 0 && z.avail_in == 0 && n == 0) break;
  }
  inflateEnd(&z);
  return out.Total >= 8;
}

// A compressed record holds one matrix element whose header is sound.
bool CompressedSound(TBytesAt& file, std::uint64_t at, std::uint64_t n, bool swap) {
  TMemoryBytes inflated;
  if (!Inflate(file, at, n, inflated)) return false;
  std::uint32_t type = 0, bytes = 0;
  if (!inflated.Word(0, swap, type) || !inflated.Word(4, swap, bytes) || type != 14) return false;
  return MatrixSound(inflated, 8, std::min<std::uint64_t>(8 + std::uint64_t{bytes}, inflated.Total),
                     swap);
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
    } else if (type != 15 || !CompressedSound(file, at + 8, n, swap)) {
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
    // The type word may be in either byte order; its M digit (0 little-endian, 1
    // big-endian) then tells the order of the record's other words, as matio reads them.
    std::uint32_t head[5];
    if (!file.Word(at, false, head[0])) break;
    if (head[0] > 4052 && (!file.Word(at, true, head[0]) || head[0] > 4052)) break;
    const bool swap = head[0] / 1000 == 1;
    for (int i = 1; i < 5; ++i)
      if (!file.Word(at + 4 * static_cast<std::uint64_t>(i), swap, head[i])) return layout;
    const std::uint32_t m = head[0] / 1000, o = head[0] / 100 % 10, p = head[0] / 10 % 10,
                        t = head[0] % 10;
    // A sparse record (type 2) states its size in its values, which matio trusts: it ends
    // the sound part.
    if (m > 1 || o != 0 || p > 5 || t > 1 || head[3] > 1 || head[4] < 1 || head[4] > MaxNameBytes)
      break;
    if (head[1] != 0 && head[2] > file.FileSize() / head[1]) break;
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
