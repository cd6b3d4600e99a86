// The recent-file list: numbering from the newest, paths compared whole, captions kept
// as stored at start-up.
#include "shell/reopen_list.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

namespace {

using TTexts = std::vector<std::string>;

TEST(ReopenListTest, NewPathsComeFirstAndEveryItemIsRenumbered) {
  TReopenList list;
  EXPECT_TRUE(list.Add("/old/data/a.qve"));
  // A path that is only a part of a listed one is another file.
  EXPECT_TRUE(list.Add("/data/a.qve"));
  EXPECT_TRUE(list.Add("a.qve"));
  EXPECT_EQ(list.GetCaptions(), (TTexts{"&0 a.qve", "&1 /data/a.qve", "&2 /old/data/a.qve"}));
  // The same path again changes nothing, wherever it stands.
  EXPECT_FALSE(list.Add("/data/a.qve"));
  EXPECT_FALSE(list.Add("/old/data/a.qve"));
  EXPECT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Path(2), "/old/data/a.qve");
  EXPECT_EQ(list.Find("/data/a.qve"), 1u);
  EXPECT_EQ(list.Find("data/a.qve"), 3u);

  // Paths with blanks: the path is all after the first blank.
  EXPECT_TRUE(list.Add("/my files/b c.qve"));
  EXPECT_EQ(list.Caption(0), "&0 /my files/b c.qve");
  EXPECT_EQ(list.Path(0), "/my files/b c.qve");
  EXPECT_EQ(list.Caption(3), "&3 /old/data/a.qve");

  // Removing leaves the other captions as they are; the next add renumbers them.
  list.Remove(1);
  list.Remove(9);  // outside: nothing
  EXPECT_EQ(list.GetCaptions(),
            (TTexts{"&0 /my files/b c.qve", "&2 /data/a.qve", "&3 /old/data/a.qve"}));
  list.Add("z.qve");
  EXPECT_EQ(list.GetCaptions(),
            (TTexts{"&0 z.qve", "&1 /my files/b c.qve", "&2 /data/a.qve", "&3 /old/data/a.qve"}));
  // Ten and more items count on in decimal.
  for (int i = 0; i < 8; ++i) list.Add("f" + std::to_string(i));
  EXPECT_EQ(list.Caption(11), "&11 /old/data/a.qve");
  list.Clear();
  EXPECT_TRUE(list.IsEmpty());
}

TEST(ReopenListTest, StartUpKeepsTheStoredCaptionsOfFilesThatStillExist) {
  TTempDir temp;
  std::ofstream(temp.PathOf("here.qve")) << "x";
  std::ofstream(temp.PathOf("also here.qve")) << "x";
  TReopenList list;
  list.Add("/somewhere/else.qve");
  list.Load({"&4 " + temp.PathOf("here.qve"), "&0 " + temp.PathOf("gone.qve"), "",
             temp.PathOf("here.qve"),  // no blank: no path
             "&9 " + temp.PathOf("also here.qve")});
  EXPECT_EQ(list.GetCaptions(),
            (TTexts{"&4 " + temp.PathOf("here.qve"), "&9 " + temp.PathOf("also here.qve")}));
  EXPECT_EQ(TReopenList::PathOfCaption("&1 "), "");
  EXPECT_EQ(TReopenList::PathOfCaption("&1  x"), " x");
}

}  // namespace
