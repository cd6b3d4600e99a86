// MAT files through matio against SciPy's: every numeric class read as doubles, other
// classes and oversized or damaged arrays refused by name, files written by Qorv read
// back by loadmat, updates in the file's own version that never damage the original.
#include "outputs/mat_file.h"

#include <gtest/gtest.h>
#include <matio.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "support/scipy_files.h"
#include "support/temp_dir.h"

namespace {

class MatFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(SciPyMissing(), "");
    ASSERT_EQ(MakeSciPyFixtures(Temp.Path().string()), "");
  }
  std::string Path(const std::string& name) const { return Temp.PathOf(name); }

  TTempDir Temp;
};

double A(int r, int c) { return 10 * r + c + 0.5; }

void ExpectA(const TMatArrayRead& a) {
  ASSERT_EQ(a.Status, TMatArrayRead::Read);
  ASSERT_EQ(a.Rows, 4);
  ASSERT_EQ(a.Columns, 3);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) EXPECT_EQ(a.Values[static_cast<std::size_t>(c * 4 + r)], A(r, c));
}

mat_ft Version(const std::string& path) {
  mat_t* file = Mat_Open(path.c_str(), MAT_ACC_RDONLY);
  if (!file) return MAT_FT_UNDEFINED;
  const mat_ft version = Mat_GetVersion(file);
  Mat_Close(file);
  return version;
}

std::string Bytes(const TTempDir& temp, const std::string& name) {
  const TBytes b = temp.ReadBytes(name);
  return std::string(b.begin(), b.end());
}

TEST_F(MatFileTest, SciPyVersion5ArraysAreReadAsDoublesOrRefusedByName) {
  const auto names = ListMatArrays(Path("v5.mat"));
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(*names, (std::vector<std::string>{"A", "I", "C", "S", "E"}));
  ExpectA(ReadMatArray(Path("v5.mat"), "A"));

  const TMatArrayRead i = ReadMatArray(Path("v5.mat"), "I");
  ASSERT_EQ(i.Status, TMatArrayRead::Read);
  EXPECT_EQ(i.Rows, 3);
  EXPECT_EQ(i.Values, (std::vector<double>{1, 3, 5, -2, -4, -6}));

  const TMatArrayRead c = ReadMatArray(Path("v5.mat"), "C");
  ASSERT_EQ(c.Status, TMatArrayRead::Read);
  EXPECT_EQ(c.Rows, 1);
  EXPECT_EQ(c.Values, (std::vector<double>{1.5, -3.25}));

  const TMatArrayRead s = ReadMatArray(Path("v5.mat"), "S");
  EXPECT_EQ(s.Status, TMatArrayRead::Refused);
  EXPECT_EQ(s.Refusal, "Array S cannot be imported: it holds text.");

  const TMatArrayRead e = ReadMatArray(Path("v5.mat"), "E");
  EXPECT_EQ(e.Status, TMatArrayRead::Empty);
  EXPECT_EQ(e.Columns, 3);
  EXPECT_EQ(ReadMatArray(Path("v5.mat"), "Nope").Status, TMatArrayRead::Missing);
}

TEST_F(MatFileTest, EveryNumericClassAndDimensionCountReadsOtherClassesAreRefused) {
  const TMatArrayRead l = ReadMatArray(Path("kinds.mat"), "L");
  ASSERT_EQ(l.Status, TMatArrayRead::Read);
  EXPECT_EQ(l.Values, (std::vector<double>{1, 0, 1}));
  // 2 x 3 x 4 is read as 2 rows x 12 columns in the file's column order.
  const TMatArrayRead n = ReadMatArray(Path("kinds.mat"), "N");
  ASSERT_EQ(n.Status, TMatArrayRead::Read);
  ASSERT_EQ(n.Rows, 2);
  ASSERT_EQ(n.Columns, 12);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 4; ++k)
        EXPECT_EQ(n.Values[static_cast<std::size_t>((j + 3 * k) * 2 + i)], 100 * i + 10 * j + k);
  EXPECT_EQ(ReadMatArray(Path("kinds.mat"), "U").Values, (std::vector<double>{1, 3, 2, 4}));
  EXPECT_EQ(ReadMatArray(Path("kinds.mat"), "F").Values, (std::vector<double>{0.25, -8}));
  for (const char* name : {"Z", "T", "Q"}) {
    const TMatArrayRead refused = ReadMatArray(Path("kinds.mat"), name);
    EXPECT_EQ(refused.Status, TMatArrayRead::Refused) << name;
    EXPECT_EQ(refused.Refusal.rfind(std::string("Array ") + name + " cannot be imported: ", 0), 0u)
        << refused.Refusal;
    EXPECT_TRUE(refused.Values.empty());
  }
}

TEST_F(MatFileTest, Version4CompressedAndVersion73FilesRead) {
  EXPECT_EQ(Version(Path("v4.mat")), MAT_FT_MAT4);
  ExpectA(ReadMatArray(Path("v4.mat"), "A"));
  ExpectA(ReadMatArray(Path("v5z.mat"), "A"));

  std::vector<double> values;
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) values.push_back(A(r, c));
  const std::string v73 = Path("v73.mat");
  mat_t* file = Mat_CreateVer(v73.c_str(), nullptr, MAT_FT_MAT73);
  ASSERT_NE(file, nullptr) << "matio without MAT 7.3";
  size_t dims[2] = {4, 3};
  matvar_t* var = Mat_VarCreate("A", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims, values.data(), 0);
  ASSERT_EQ(Mat_VarWrite(file, var, MAT_COMPRESSION_NONE), 0);
  Mat_VarFree(var);
  Mat_Close(file);
  EXPECT_EQ(ListMatArrays(v73), (std::vector<std::string>{"A"}));
  ExpectA(ReadMatArray(v73, "A"));

  // Updates keep each file's version.
  for (const char* name : {"v4.mat", "v5z.mat", "v73.mat"}) {
    const mat_ft before = Version(Path(name));
    ASSERT_TRUE(WriteMatArray(Path(name), "B", 1, 2, {7, 8})) << name;
    EXPECT_EQ(Version(Path(name)), before) << name;
    EXPECT_EQ(ReadMatArray(Path(name), "B").Values, (std::vector<double>{7, 8})) << name;
    ExpectA(ReadMatArray(Path(name), "A"));
  }
  EXPECT_EQ(SciPyLoad(Path("v4.mat")),
            "A 4 x 3: 0.5 10.5 20.5 30.5 1.5 11.5 21.5 31.5 2.5 12.5 22.5 32.5\n"
            "B 1 x 2: 7.0 8.0\n");
}

TEST_F(MatFileTest, WrittenFilesAreUncompressedVersion5ThatSciPyReads) {
  const std::string path = Path("out.mat");
  ASSERT_TRUE(WriteMatArray(path, "Data", 3, 2, {1, 2, 3, 0.25, -1e300, 6}));
  EXPECT_EQ(Version(path), MAT_FT_MAT5);
  const std::string bytes = Bytes(Temp, "out.mat");
  ASSERT_GT(bytes.size(), 132u);
  EXPECT_EQ(bytes[128], 14) << "an uncompressed matrix element";
  EXPECT_EQ(SciPyLoad(path), "Data 3 x 2: 1.0 2.0 3.0 0.25 -1e+300 6.0\n");

  // The same name again replaces the array; another case is another array.
  ASSERT_TRUE(WriteMatArray(path, "Data", 1, 2, {9, 10}));
  ASSERT_TRUE(WriteMatArray(path, "DATA", 1, 1, {5}));
  EXPECT_EQ(SciPyLoad(path), "DATA 1 x 1: 5.0\nData 1 x 2: 9.0 10.0\n");
  EXPECT_EQ(Temp.Entries(), 6u) << "no copy left behind";
}

TEST_F(MatFileTest, FailedWritesLeaveEveryFileAsItWas) {
  const std::string text = Temp.WriteBytes("notes.mat", TBytes{'h', 'e', 'l', 'l', 'o', '\n'});
  EXPECT_FALSE(ListMatArrays(text).has_value());
  EXPECT_FALSE(WriteMatArray(text, "Data", 1, 1, {1}));
  EXPECT_EQ(Bytes(Temp, "notes.mat"), "hello\n");

  const std::string before = Bytes(Temp, "v5.mat");
  std::filesystem::permissions(
      Path("v5.mat"), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  EXPECT_FALSE(WriteMatArray(Path("v5.mat"), "Data", 1, 1, {1}));
  EXPECT_EQ(Bytes(Temp, "v5.mat"), before);

  EXPECT_FALSE(WriteMatArray(Path("missing/new.mat"), "Data", 1, 1, {1}));
  EXPECT_FALSE(WriteMatArray(Path("new.mat"), "", 1, 1, {1}));
  EXPECT_FALSE(WriteMatArray(Path("new.mat"), "Data", 0, 1, {}));
  EXPECT_FALSE(std::filesystem::exists(Path("new.mat")));
  EXPECT_EQ(Temp.Entries(), 6u) << "no copy left behind";
}

TEST_F(MatFileTest, OversizedDimensionsAreRefusedBeforeAnyAllocation) {
  // v5.mat's first array A: its dimensions follow the header (128 bytes), the matrix
  // tag (8) and the flags (16), after their own tag (8).
  TBytes bytes = Temp.ReadBytes("v5.mat");
  auto put = [&](std::size_t at, std::int32_t v) {
    for (int b = 0; b < 4; ++b)
      bytes[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v >> (8 * b));
  };
  ASSERT_EQ(bytes[160], 4);
  put(160, 100000);
  put(164, 100000);
  const std::string big = Temp.WriteBytes("big.mat", bytes);
  const TMatArrayRead a = ReadMatArray(big, "A");
  EXPECT_EQ(a.Status, TMatArrayRead::Refused);
  EXPECT_EQ(a.Refusal, "Array A cannot be imported: it holds more than 16777216 values.");
}

// Standard error's bytes written while fn runs.
std::string StandardError(const std::function<void()>& fn, const std::string& scratch) {
  std::fflush(stderr);
  const int saved = ::dup(2);
  const int file = ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(file, 2);
  fn();
  std::fflush(stderr);
  ::dup2(saved, 2);
  ::close(saved);
  ::close(file);
  std::ifstream in(scratch);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(MatFileTest, DamagedFilesPrintNothingOfTheLibrariesOwn) {
  std::vector<double> values(12, 1.0);
  const std::string v73 = Path("v73.mat");
  mat_t* file = Mat_CreateVer(v73.c_str(), nullptr, MAT_FT_MAT73);
  ASSERT_NE(file, nullptr);
  size_t dims[2] = {4, 3};
  matvar_t* var = Mat_VarCreate("A", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims, values.data(), 0);
  Mat_VarWrite(file, var, MAT_COMPRESSION_NONE);
  Mat_VarFree(var);
  Mat_Close(file);
  TBytes bytes = Temp.ReadBytes("v73.mat");
  bytes.resize(bytes.size() * 2 / 3);
  const std::string cut = Temp.WriteBytes("cut73.mat", bytes);
  std::vector<std::string> logged;
  const std::string printed = StandardError(
      [&] {
        const auto names = ListMatArrays(cut);
        if (names)
          for (const std::string& name : *names) ReadMatArray(cut, name);
        ReadMatArray(cut, "A");
        ReadMatArray(Path("v5.mat"), "Missing");
        // What matio has to say comes to Qorv instead.
        Mat_Critical("cannot read %s", "A");
        logged = MatLibraryLog();
      },
      Path("stderr.txt"));
  EXPECT_EQ(printed, "");
  EXPECT_EQ(logged, (std::vector<std::string>{"cannot read A"}));
}

TEST_F(MatFileTest, TruncatedFilesNeverCrash) {
  for (const char* name : {"v5.mat", "v5z.mat", "v4.mat", "kinds.mat"}) {
    const TBytes whole = Temp.ReadBytes(name);
    for (std::size_t size = 0; size < whole.size(); size += (size < 300 ? 7 : 61)) {
      const std::string cut = Temp.WriteBytes(
          "cut.mat", TBytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)));
      const auto names = ListMatArrays(cut);
      if (!names) continue;
      for (const std::string& array : *names) {
        const TMatArrayRead read = ReadMatArray(cut, array);
        if (read.Status != TMatArrayRead::Read) continue;
        EXPECT_EQ(read.Values.size(),
                  static_cast<std::size_t>(read.Rows) * static_cast<std::size_t>(read.Columns));
      }
    }
  }
}

}  // namespace
