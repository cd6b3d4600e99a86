// MAT files through matio: the names of a file's arrays, one array read as doubles, and
// one real double matrix written. New files are MAT 5, uncompressed; an existing file
// (MAT 4, 5 or 7.3) keeps its version and is changed on a copy in its own folder that
// replaces it only when everything succeeded, so a failure never damages it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The most elements an imported array may hold (2^24 doubles: 128 MB, which matio holds
// once more while they are copied); a larger one is refused before anything is
// allocated.
constexpr std::uint64_t MaxMatImportElements = 16'777'216;

// The array names of a MAT file in file order; none when the file cannot be opened as
// a MAT file. A damaged file lists the names read before the damage.
std::optional<std::vector<std::string>> ListMatArrays(const std::string& path);

// One array read as a full real double matrix.
struct TMatArrayRead {
  enum TStatus { Read, Empty, Refused, Missing };
  TStatus Status = Missing;
  std::int32_t Rows = 0;
  std::int32_t Columns = 0;
  std::vector<double> Values;  // column by column: element (r, c) at c * Rows + r
  std::string Refusal;         // why the array was refused (Refused)
};

// Reads the named array: full numeric arrays of every class (logical too) become
// doubles, complex ones by their real parts; an N-dimensional array is read as rows x
// the product of the other dimensions. Cell, struct, sparse and character arrays, and
// arrays too large or unreadable, are Refused with the reason naming the array; an
// array of no element is Empty; a file or array that cannot be opened is Missing.
TMatArrayRead ReadMatArray(const std::string& path, const std::string& name);

// Writes rows x columns doubles (column by column) as the named real matrix, replacing
// an array of exactly that name. False on any failure, the file then as it was (a new
// file is not left behind); a file that exists but is not a MAT file, or is read-only,
// is refused.
bool WriteMatArray(const std::string& path, const std::string& name, std::int32_t rows,
                   std::int32_t columns, const std::vector<double>& values);

// matio's errors of the last call on this thread (its log goes here instead of to
// standard error); emptied by each call above.
const std::vector<std::string>& MatLibraryLog();
