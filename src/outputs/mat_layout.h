// A first look at a MAT file's own bytes before matio reads it: matio trusts the lengths
// a file states (a name of 1.6 GB, a record past the end) and allocates them, so a
// damaged file could exhaust memory. The walk checks every top-level record of a MAT 4
// or MAT 5 file against the file's size; MAT 7.3 files are HDF5's to check.
#pragma once

#include <cstddef>
#include <string>

struct TMatLayout {
  bool Mat73 = false;     // an HDF5-based file, not walked
  bool Readable = false;  // MAT 4 or 5 with at least its header sound, or MAT 7.3
  std::size_t Sound = 0;  // the records before the first damaged one (MAT 4 and 5)
  bool Whole = false;     // every record sound up to the file's end (or MAT 7.3)
};

TMatLayout WalkMatLayout(const std::string& path);
