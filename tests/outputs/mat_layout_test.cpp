// The walk over a MAT file's records before matio reads it: sound files are whole, a
// record that runs past the end or states an absurd name ends the sound part, and what
// is no MAT file is not readable.
#include "outputs/mat_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "outputs/mat_file.h"
#include "support/scipy_files.h"
#include "support/temp_dir.h"

namespace {

TBytes Le32(std::initializer_list<std::uint32_t> words) {
  TBytes bytes;
  for (std::uint32_t w : words)
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<std::uint8_t>(w >> (8 * b)));
  return bytes;
}

TEST(MatLayoutTest, SoundFilesAreWholeAndDamageEndsTheSoundRecords) {
  ASSERT_EQ(SciPyMissing(), "");
  TTempDir temp;
  ASSERT_EQ(MakeSciPyFixtures(temp.Path().string()), "");
  for (const char* name : {"v4.mat", "v5.mat", "v5z.mat", "kinds.mat"}) {
    const TMatLayout layout = WalkMatLayout(temp.PathOf(name));
    EXPECT_TRUE(layout.Readable && layout.Whole && !layout.Mat73) << name;
  }
  EXPECT_EQ(WalkMatLayout(temp.PathOf("v5.mat")).Sound, 5u);
  EXPECT_EQ(WalkMatLayout(temp.PathOf("kinds.mat")).Sound, 7u);

  // v5.mat cut inside its third array: two sound records, not whole.
  TBytes v5 = temp.ReadBytes("v5.mat");
  const TMatLayout whole = WalkMatLayout(temp.PathOf("v5.mat"));
  ASSERT_TRUE(whole.Whole);
  std::size_t at = 128;
  for (int i = 0; i < 2; ++i) at += 8 + (v5[at + 4] | v5[at + 5] << 8 | v5[at + 6] << 16);
  v5.resize(at + 20);
  const TMatLayout cut = WalkMatLayout(temp.WriteBytes("cut.mat", v5));
  EXPECT_TRUE(cut.Readable);
  EXPECT_FALSE(cut.Whole);
  EXPECT_EQ(cut.Sound, 2u);
  EXPECT_EQ(ListMatArrays(temp.PathOf("cut.mat")), (std::vector<std::string>{"A", "I"}));

  // A MAT 4 record stating a name of 1.6 GB, and one whose values run past the end.
  TBytes longName = Le32({0, 1, 1, 0, 1600000000});
  longName.resize(64, 'x');
  EXPECT_FALSE(WalkMatLayout(temp.WriteBytes("name.mat", longName)).Readable);
  TBytes pastEnd = Le32({0, 1000, 1000, 0, 2});
  pastEnd.insert(pastEnd.end(), {'A', 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(WalkMatLayout(temp.WriteBytes("past.mat", pastEnd)).Readable);
  EXPECT_FALSE(ListMatArrays(temp.PathOf("past.mat")).has_value());

  EXPECT_FALSE(WalkMatLayout(temp.WriteBytes("text.mat", TBytes{'1', ',', '2'})).Readable);
  EXPECT_FALSE(WalkMatLayout(temp.PathOf("missing.mat")).Readable);
  // A file that is MAT but damaged is never updated.
  EXPECT_FALSE(WriteMatArray(temp.PathOf("cut.mat"), "B", 1, 1, {1}));
  EXPECT_EQ(temp.ReadBytes("cut.mat"), v5);
}

}  // namespace
