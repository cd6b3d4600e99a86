#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

#include "shell/ui/icons.h"

namespace {

// True when the icon draws something at the size: not null, and not all transparent.
bool Draws(const QIcon& icon, int size) {
  const QImage image = icon.pixmap(size, size).toImage();
  if (image.isNull()) return false;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return true;
  return false;
}

}  // namespace

TEST(Icons, EveryDrawingOfTheResourceFileLoadsAndDraws) {
  const QStringList names = QorvIconNames();
  // Each drawing beside the resource file is in it, and nothing else is.
  QStringList files = QDir(QORV_SOURCE_DIR "/src/shell/ui/icons").entryList({"*.svg"}, QDir::Files);
  for (QString& file : files) file.chop(4);
  EXPECT_EQ(QSet<QString>(names.begin(), names.end()), QSet<QString>(files.begin(), files.end()));
  EXPECT_GE(names.size(), 40);
  for (const QString& name : names) {
    const QIcon icon = QorvIcon(name);
    EXPECT_FALSE(icon.isNull()) << name.toStdString();
    EXPECT_TRUE(Draws(icon, 16)) << name.toStdString();
    EXPECT_TRUE(Draws(icon, 24)) << name.toStdString();
  }
  EXPECT_TRUE(QorvIcon("no-such-icon").isNull());
  // The theme's icon comes first when the desktop has one; ours otherwise.
  EXPECT_FALSE(ThemedIcon("qorv-no-such-theme-icon", "open").isNull());

  const QStringList toolBars = {"open", "save", "add-output", "add-variable", "add-array",
                                "add-single-file", "add-multiple-file", "start", "stop", "pause", "step", "float",
                                "shrink", "restore", "debug", "help", "interact", "add-device", "edit",
                                "delete", "open-device", "save-device", "scan"};
  for (const QString& name : toolBars) EXPECT_TRUE(names.contains(name)) << name.toStdString();
}

TEST(Icons, TreeImageListsHoldAnImageForEveryIndexTheCoreUses) {
  // Experiment tree: blocks 0 (selected 1), the current block 1, the blank line 2, and
  // the debug window's stop 3.
  const QList<QIcon> experiment = ExperimentTreeImages();
  ASSERT_EQ(experiment.size(), 4);
  // Attribute tree: outputs 1 to 4, variable roots 5 and 9, variables 6 to 8 and 10 to
  // 12, data-file lists 13 and 14 (0 for the outputs list).
  const QList<QIcon> attributes = AttributeTreeImages();
  ASSERT_EQ(attributes.size(), 15);
  for (const QList<QIcon>* list : {&experiment, &attributes}) {
    for (int i = 0; i < list->size(); ++i) {
      EXPECT_TRUE(Draws((*list)[i], 16)) << i;
      const QImage image = (*list)[i].pixmap(16, 16).toImage();
      for (int j = 0; j < i; ++j)
        EXPECT_NE(image, (*list)[j].pixmap(16, 16).toImage()) << "images " << j << " and " << i;
    }
  }
}
