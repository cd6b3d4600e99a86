// The debug window's log list: rows that follow the log, each drawn in its colour and
// style, and Scroll Output's rule for the top line both ways, quick on a long log.
#include "shell/ui/debug_list_box.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

// A list exactly ten rows high, shown, so that layout and scrolling are real.
class TDebugListBoxTest : public ::testing::Test {
protected:
  void SetUp() override {
    List.setFrameShape(QFrame::NoFrame);
    List.resize(300, 10 * List.ItemHeight());
    List.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&List));
  }
  void AddLines(int count) {
    for (int i = 0; i < count; ++i) List.AddOutput("line", DebugCommandColour, DebugStyleNone);
  }
  // The row shown at the top once the list has served its events.
  int ShownTop() {
    QApplication::processEvents();
    return List.indexAt(QPoint(1, 1)).row();
  }
  // Pixels of one row as drawn that the test accepts.
  int Pixels(int row, bool (*wanted)(QColor)) {
    QApplication::processEvents();
    const QImage image = List.viewport()->grab().toImage();
    const QRect rect = List.visualRect(List.model()->index(row, 0));
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = 0; x < image.width(); ++x) count += wanted(image.pixelColor(x, y));
    return count;
  }

  TDebugListBox List;
};

bool Dark(QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }
bool Green(QColor c) { return c.green() > 100 && c.red() < 60 && c.blue() < 60; }
bool Red(QColor c) { return c.red() > 150 && c.green() < 60 && c.blue() < 60; }
bool Blue(QColor c) { return c.blue() > 150 && c.red() < 60 && c.green() < 60; }

}  // namespace

TEST_F(TDebugListBoxTest, RowsFollowTheLogAndAreDrawnInTheirColourAndStyle) {
  TDebugLog runLog;  // the run writes to its log; the list follows it
  List.SetLog(&runLog);
  for (int style = -1; style <= 3; ++style) runLog.Add("MMMMWWWW", 0, static_cast<std::int8_t>(style));
  runLog.Add({{"MMMMWWWW", DebugCommandColour, -1}, {"MMMMWWWW", DebugAbortColour, 0}});
  List.AddOutput("MMMMWWWW", DebugBlockColour, DebugStyleUnderline);
  ASSERT_EQ(List.model()->rowCount(), 8);
  EXPECT_EQ(runLog.Count(), 8);
  const int plain = Pixels(0, Dark);
  ASSERT_GT(plain, 0) << "no text drawn";
  EXPECT_GT(Pixels(1, Dark), plain + plain / 10);  // bold
  EXPECT_NE(Pixels(2, Dark), plain);               // italic
  EXPECT_GT(Pixels(3, Dark), plain + plain / 10);  // underline
  EXPECT_GT(Pixels(4, Dark), plain + plain / 10);  // strike-out
  EXPECT_GT(Pixels(5, Green), 0);
  EXPECT_EQ(Pixels(5, Red) + Pixels(5, Blue), 0);
  EXPECT_GT(Pixels(6, Red), 0);
  EXPECT_EQ(Pixels(6, Green) + Pixels(6, Blue), 0);
  EXPECT_GT(Pixels(7, Blue), 0);
  runLog.Clear();
  EXPECT_EQ(List.model()->rowCount(), 0);
  List.SetLog(nullptr);  // before runLog goes
}

TEST_F(TDebugListBoxTest, ScrollOutputPutsTheNewLinesOnTopOnceTheListIsFull) {
  ASSERT_TRUE(List.GetScrollOutput());
  AddLines(10);  // fills the list exactly: nothing to scroll
  EXPECT_EQ(ShownTop(), 0);
  for (int count = 11; count <= 15; ++count) {
    AddLines(1);
    ASSERT_EQ(ShownTop(), count - 10) << count;
  }
  // A command's trace lines come as one addition: the first of them becomes the top line.
  std::vector<TDebugFormat> trace(30, TDebugFormat{"trace", 0, 1});
  List.Log().Add(trace);
  EXPECT_EQ(ShownTop(), 15);
  // Off, the scroll position stays where the user put it.
  List.SetScrollOutput(false);
  List.verticalScrollBar()->setValue(4);
  AddLines(20);
  EXPECT_EQ(ShownTop(), 4);
}

TEST_F(TDebugListBoxTest, AHundredThousandLineLogStaysQuick) {
  List.Log().Add(std::vector<TDebugFormat>(100000, TDebugFormat{"line", 0, 1}));
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 50; ++i) {
    AddLines(4);  // a tick's lines, then the tick's repaint
    QApplication::processEvents();
  }
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 3.0);
  EXPECT_EQ(ShownTop(), 100200 - 10);
}
