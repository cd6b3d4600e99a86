// The icons boxes paint: a file outside the icon list is read once, not at every paint,
// and read again after the list changes.
#include "shell/ui/block_icons.h"

#include <QImage>
#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

class BlockIconCacheTest : public ::testing::Test {
protected:
  BlockIconCacheTest() { BlockIcons().Clear(); }
  ~BlockIconCacheTest() override { BlockIcons().Clear(); }

  std::string Picture(const char* name, Qt::GlobalColor colour) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    const std::string path = Temp.PathOf(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "PNG"));
    return path;
  }
  static QColor Middle(const QImage& icon) { return icon.pixelColor(16, 16); }

  TTempDir Temp;
};

TEST_F(BlockIconCacheTest, AnUnlistedFileIsReadOnceUntilTheListChanges) {
  const std::string shown = Picture("shown.png", Qt::red);
  EXPECT_EQ(Middle(BlockIconOf(shown, false)), QColor(Qt::red));
  EXPECT_EQ(BlockIcons().Count(), 0);  // painting lists nothing

  // Changed on disk: the box keeps the picture it had.
  Picture("shown.png", Qt::blue);
  EXPECT_EQ(Middle(BlockIconOf(shown, false)), QColor(Qt::red));

  // Any change to the list reads it again.
  ASSERT_EQ(BlockIcons().AddIconFile(Picture("other.png", Qt::green)), 0);
  EXPECT_EQ(Middle(BlockIconOf(shown, false)), QColor(Qt::blue));

  // A file that went away shows the default icon once the list changes.
  ASSERT_TRUE(std::filesystem::remove(shown));
  ASSERT_TRUE(BlockIcons().Remove(0));
  EXPECT_EQ(BlockIconOf(shown, true), DefaultBlockIcon(true));
  EXPECT_EQ(BlockIconOf("", false), DefaultBlockIcon(false));
  EXPECT_NE(DefaultBlockIcon(true), DefaultBlockIcon(false));
}

}  // namespace
