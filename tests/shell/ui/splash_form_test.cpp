#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "model/qorv_version.h"
#include "shell/ui/jpeg_picture.h"
#include "shell/ui/splash_form.h"

namespace {

void ExpectCentredOnScreen(const QWidget& window) {
  const QRect available = window.screen()->availableGeometry();
  const QRect frame = window.frameGeometry();
  EXPECT_LE(std::abs(frame.center().x() - available.center().x()), 1);
  EXPECT_LE(std::abs(frame.center().y() - available.center().y()), 1);
}

}  // namespace

TEST(SplashForm, ShowsTheCurrentVersionOnThePictureAndFreesItselfWhenClosed) {
  QPointer<TSplashForm> splash = new TSplashForm;
  EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
  auto* version = splash->findChild<QLabel*>("VersionLabel");
  ASSERT_NE(version, nullptr);
  version->setText("Version 0.9");  // whatever the window held before, showing renews it
  splash->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));

  EXPECT_EQ(version->text().toStdString(), "Version " + QorvVersion->GetCurrentNumberText());
  EXPECT_EQ(version->text(), QString("Version 1.5"));

  auto* panel = splash->findChild<QFrame*>("SplashPanel");
  auto* image = splash->findChild<QLabel*>("SplashImage");
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(image, nullptr);
  const QSize picture = PictureResource("splash.jpg").size();
  EXPECT_EQ(panel->size(), picture);
  EXPECT_EQ(image->geometry(), QRect(QPoint(0, 0), panel->size()));
  EXPECT_FALSE(image->pixmap().isNull());
  EXPECT_EQ(panel->pos(), QPoint(5, 5));
  EXPECT_EQ(splash->size(), panel->size() + QSize(10, 10));
  EXPECT_EQ(version->parentWidget(), panel);
  EXPECT_EQ(version->x(), panel->width() - version->width() - 10);
  EXPECT_GE(version->width(), version->sizeHint().width());  // the whole text shows
  EXPECT_TRUE(panel->rect().contains(version->geometry()));
  ExpectCentredOnScreen(*splash);

  splash->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(splash.isNull());
}
