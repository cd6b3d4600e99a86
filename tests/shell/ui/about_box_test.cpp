#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "model/qorv_version.h"
#include "shell/ui/about_box.h"

TEST(AboutBox, ShowsTheCurrentVersionAndClosesWithOK) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), QString("About Qorv"));
  auto* ok = box.findChild<QPushButton*>("OKButton");
  auto* version = box.findChild<QLabel*>("VersionLabel");
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(ok->text(), QString("OK"));
  EXPECT_TRUE(ok->isDefault());

  box.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  EXPECT_EQ(version->text().toStdString(), "Version " + QorvVersion->GetCurrentNumberText());
  EXPECT_EQ(version->text(), QString("Version 1.5"));

  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, IsSizedByItsButtonWithPicturesAndACentredSupportLine) {
  TAboutBox box;
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  auto* ok = box.findChild<QPushButton*>("OKButton");
  ASSERT_NE(ok, nullptr);
  const int buttonHeight = ok->height();
  EXPECT_EQ(buttonHeight, ok->sizeHint().height());
  EXPECT_EQ(box.size(), QSize(18 * buttonHeight, 14 * buttonHeight));

  auto* support = box.findChild<QLabel*>("SupportLabel");
  ASSERT_NE(support, nullptr);
  EXPECT_FALSE(support->text().isEmpty());
  EXPECT_LE(std::abs(support->x() - (box.width() - support->width()) / 2), 1);
  EXPECT_GE(support->width(), support->sizeHint().width());

  for (const char* name : {"Image1", "Image2"}) {
    auto* image = box.findChild<QLabel*>(name);
    ASSERT_NE(image, nullptr) << name;
    EXPECT_FALSE(image->pixmap().isNull()) << name;
    EXPECT_TRUE(image->isVisible()) << name;
  }
  auto* panel = box.findChild<QFrame*>("TopPanel");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isAncestorOf(box.findChild<QLabel*>("Image2")));
  const QImage shot = panel->grab().toImage();
  EXPECT_EQ(shot.pixelColor(shot.width() - 4, shot.height() / 2), QColor(Qt::white));
}
