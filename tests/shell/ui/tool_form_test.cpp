#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "shell/ui/tool_form.h"

TEST(ToolForm, CarriesStartAndStopOnAStayOnTopToolWindow) {
  TToolForm form;
  EXPECT_EQ(form.windowType(), Qt::Tool);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  auto* bar = form.findChild<QToolBar*>("ToolBar1");
  ASSERT_NE(bar, nullptr);
  auto* start = bar->findChild<QToolButton*>("StartButton");
  auto* stop = bar->findChild<QToolButton*>("StopButton");
  ASSERT_NE(start, nullptr);
  ASSERT_NE(stop, nullptr);
  EXPECT_EQ(start, form.StartButton());
  EXPECT_EQ(stop, form.StopButton());
  EXPECT_EQ(start->toolTip(), QString("Start Experiment"));
  EXPECT_EQ(start->statusTip(), QString("Start Experiment"));
  EXPECT_EQ(stop->toolTip(), QString("Stop Experiment"));
  EXPECT_EQ(stop->statusTip(), QString("Stop Experiment"));
  EXPECT_TRUE(start->isEnabled());
  EXPECT_FALSE(stop->isEnabled());

  form.SetRunButtons(false, true);
  EXPECT_FALSE(start->isEnabled());
  EXPECT_TRUE(stop->isEnabled());
}

TEST(ToolForm, BindsTheHandlersOnceAndIgnoresDisabledButtons) {
  TToolForm form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  int starts = 0, stops = 0, others = 0;
  EXPECT_FALSE(form.Bound());
  QTest::mouseClick(form.StartButton(), Qt::LeftButton);  // nothing bound yet: nothing runs

  EXPECT_TRUE(form.Bind([&] { ++starts; }, [&] { ++stops; }));
  EXPECT_TRUE(form.Bound());
  // Floating the buttons again binds again; the first handlers stay, once each.
  EXPECT_FALSE(form.Bind([&] { ++others; }, [&] { ++others; }));

  QTest::mouseClick(form.StartButton(), Qt::LeftButton);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(stops, 0);
  QTest::mouseClick(form.StopButton(), Qt::LeftButton);  // disabled while stopped
  EXPECT_EQ(stops, 0);

  form.SetRunButtons(false, true);
  QTest::mouseClick(form.StartButton(), Qt::LeftButton);
  QTest::mouseClick(form.StopButton(), Qt::LeftButton);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(others, 0);
}

TEST(ToolForm, ClosingDocksTheButtonsBackEveryTime) {
  TToolForm form;
  form.close();  // no handler yet: closes quietly

  int floats = 0;
  form.SetCloseHandler([&] {
    ++floats;
    form.close();  // docking the buttons back closes the window again
  });
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_TRUE(form.close());
  EXPECT_EQ(floats, 1);
  EXPECT_FALSE(form.isVisible());

  form.show();
  form.close();
  EXPECT_EQ(floats, 2);
}
