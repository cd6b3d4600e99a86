// The seeds of the MAT import: a file written by the export's own writer, and files of
// the versions and classes other tools write (MAT 4, compressed MAT 5, integer, complex,
// text, logical, three-dimensional and empty arrays), written through matio.
#include <matio.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "outputs/mat_file.h"
#include "seeds/seed_writer.h"
#include "support/harness.h"

namespace {

const char* const Harness = "mat_import";

template <class T>
void Put(mat_t* file, const char* name, matio_classes c, matio_types t, std::vector<size_t> dims,
         std::vector<T> values, bool logical = false) {
  matvar_t* var = Mat_VarCreate(name, c, t, static_cast<int>(dims.size()), dims.data(),
                                values.data(), logical ? MAT_F_LOGICAL : 0);
  if (!var) return;
  Mat_VarWrite(file, var, MAT_COMPRESSION_NONE);
  Mat_VarFree(var);
}

void PutComplex(mat_t* file, matio_compression compression) {
  double re[2] = {1.5, -3.25}, im[2] = {2, -1};
  mat_complex_split_t split = {re, im};
  size_t dims[2] = {1, 2};
  matvar_t* var = Mat_VarCreate("C", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims, &split, MAT_F_COMPLEX);
  Mat_VarWrite(file, var, compression);
  Mat_VarFree(var);
}

void PutText(mat_t* file) {
  char text[] = "hello";
  size_t dims[2] = {1, 5};
  matvar_t* var = Mat_VarCreate("S", MAT_C_CHAR, MAT_T_UINT8, 2, dims, text, 0);
  Mat_VarWrite(file, var, MAT_COMPRESSION_NONE);
  Mat_VarFree(var);
}

void Keep(const TSeedWriter& seeds, const std::string& path, const std::string& name) {
  std::ifstream in(path, std::ios::binary);
  seeds.Write(Harness, name, std::string(std::istreambuf_iterator<char>(in), {}));
  std::filesystem::remove(path);
}

}  // namespace

void MakeMatSeeds(const TSeedWriter& seeds) {
  THarnessInput input;
  const std::string path = seeds.PathOf(Harness, "made.mat");
  std::vector<double> pairs;
  for (int i = 0; i < 24; ++i) pairs.push_back(i * 0.5 - 3);
  WriteMatArray(path, "Data", 6, 4, pairs);
  Keep(seeds, path, "export");

  if (mat_t* file = Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT5)) {
    Put<std::int16_t>(file, "I", MAT_C_INT16, MAT_T_INT16, {3, 2}, {1, 3, 5, -2, -4, -6});
    PutComplex(file, MAT_COMPRESSION_NONE);
    PutText(file);
    Put<std::uint8_t>(file, "L", MAT_C_UINT8, MAT_T_UINT8, {1, 3}, {1, 0, 1}, true);
    Put<double>(file, "N", MAT_C_DOUBLE, MAT_T_DOUBLE, {2, 2, 2}, {1, 2, 3, 4, 5, 6, 7, 8});
    Put<double>(file, "E", MAT_C_DOUBLE, MAT_T_DOUBLE, {0, 3}, {});
    Mat_Close(file);
  }
  Keep(seeds, path, "classes");

  if (mat_t* file = Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT5)) {
    size_t dims[2] = {4, 2};
    std::vector<float> values{1, 2, 3, 4, 10, 20, 30, 40};
    matvar_t* var = Mat_VarCreate("F", MAT_C_SINGLE, MAT_T_SINGLE, 2, dims, values.data(), 0);
    Mat_VarWrite(file, var, MAT_COMPRESSION_ZLIB);
    Mat_VarFree(var);
    PutComplex(file, MAT_COMPRESSION_ZLIB);
    Mat_Close(file);
  }
  Keep(seeds, path, "compressed");

  if (mat_t* file = Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT4)) {
    Put<double>(file, "A", MAT_C_DOUBLE, MAT_T_DOUBLE, {3, 2}, {0.5, 10.5, 20.5, 1.5, 11.5, 21.5});
    Put<double>(file, "B", MAT_C_DOUBLE, MAT_T_DOUBLE, {1, 2}, {7, 8});
    Mat_Close(file);
  }
  Keep(seeds, path, "version4");
}
