// The debug window's log list: rows that follow the log however lines reach it, each
// drawn in its colour and style, Scroll Output's rule for the top line both ways, and a
// long log that stays quick.
#include "shell/ui/debug_list_box.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

// A list exactly `rows` item heights high, shown, so that layout and scrolling are real.
class TDebugListBoxTest : public ::testing::Test {
protected:
  void Show(int rows) {
    List.setFrameShape(QFrame::NoFrame);
    List.resize(300, rows * List.ItemHeight());
    List.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&List));
    ASSERT_EQ(List.viewport()->height(), rows * List.ItemHeight());
  }
  void AddLines(int count, const std::string& prefix = "line ") {
    for (int i = 0; i < count; ++i)
      List.AddOutput(prefix + std::to_string(List.Log().Count()), DebugCommandColour,
                     DebugStyleNone);
  }
  // The row is drawn whole inside the list, once the list has laid out its rows.
  bool FullyVisible(int row) const {
    QApplication::processEvents();
    const QRect rect = List.visualRect(List.model()->index(row, 0));
    return rect.isValid() && rect.top() >= 0 && rect.bottom() < List.viewport()->height();
  }

  TDebugListBox List;
};

// One row of the list as drawn: the pixels of its strip of the viewport.
QImage RowImage(TDebugListBox& list, int row) {
  const QImage all = list.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect rect = list.visualRect(list.model()->index(row, 0));
  return all.copy(0, rect.top(), all.width(), rect.height());
}

int PixelsOf(const QImage& image, const std::function<bool(QColor)>& wanted) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (wanted(image.pixelColor(x, y))) ++count;
  return count;
}

}  // namespace

TEST_F(TDebugListBoxTest, RowsFollowTheLogWhateverAddsOrClearsIt) {
  QAbstractItemModel& model = *List.model();
  EXPECT_EQ(List.objectName(), QString());  // the form names it
  List.AddOutput("Start Block", 0xFF0000, 2);
  // The run may write to the log itself: the list follows all the same.
  List.Log().Add({{"x = 1", 0x008000, -1}, {"Slept 1 s", 0, 1}});
  ASSERT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.index(0, 0).data().toString(), "Start Block");
  // Colours arrive as 0x00BBGGRR: 0xFF0000 is blue, 0x008000 green.
  EXPECT_EQ(model.index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
  EXPECT_EQ(model.index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
  EXPECT_EQ(model.index(0, 0).data(TDebugLogModel::StyleRole).toInt(), 2);
  EXPECT_EQ(model.index(1, 0).data(TDebugLogModel::StyleRole).toInt(), -1);
  EXPECT_EQ(model.index(2, 0).data().toString(), "Slept 1 s");
  EXPECT_FALSE(model.index(3, 0).data().isValid());

  List.Log().Clear();
  EXPECT_EQ(model.rowCount(), 0);
  List.AddOutput("again", 0x0000FF, 0);
  EXPECT_EQ(model.rowCount(), 1);

  // Another log: the list shows it and no longer follows its own.
  TDebugLog runLog;
  runLog.Add("from the run", 0, 1);
  List.SetLog(&runLog);
  EXPECT_EQ(&List.Log(), &runLog);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.index(0, 0).data().toString(), "from the run");
  List.AddOutput("second", 0, -1);
  EXPECT_EQ(runLog.Count(), 2);
  EXPECT_EQ(model.rowCount(), 2);
  List.SetLog(nullptr);  // back to its own log, which kept its line
  EXPECT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.index(0, 0).data().toString(), "again");
  runLog.Add("not shown", 0, -1);  // no longer followed
  EXPECT_EQ(model.rowCount(), 1);
}

TEST(TDebugListBoxLifetimeTest, ALogThatOutlivesTheListIsLeftWithoutListeners) {
  TDebugLog log;
  {
    TDebugListBox list;
    list.SetLog(&log);
    list.AddOutput("kept", 0, -1);
  }
  // The list has gone: writing and clearing must not reach it.
  log.Add("after", 0, -1);
  log.Clear();
  EXPECT_EQ(log.Count(), 0);
}

TEST_F(TDebugListBoxTest, EachLineIsDrawnInItsColourAndStyle) {
  ASSERT_NO_FATAL_FAILURE(Show(8));
  // The same text in every style, black, then in the log's colours.
  const std::string text = "MMMMWWWW";
  for (int style = -1; style <= 3; ++style)
    List.AddOutput(text, 0, static_cast<std::int8_t>(style));
  List.AddOutput(text, DebugCommandColour, DebugStyleNone);
  List.AddOutput(text, DebugAbortColour, DebugStyleBold);
  List.AddOutput(text, DebugBlockColour, DebugStyleUnderline);
  QApplication::processEvents();

  std::vector<QImage> rows;
  for (int row = 0; row < 8; ++row) rows.push_back(RowImage(List, row));
  const auto dark = [](QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; };
  const int plain = PixelsOf(rows[0], dark);
  ASSERT_GT(plain, 0) << "no text drawn";
  // Bold draws more ink than plain; every style draws differently from plain.
  EXPECT_GT(PixelsOf(rows[1], dark), plain);
  for (int style = 1; style <= 4; ++style) EXPECT_NE(rows[style], rows[0]) << "style " << style - 1;
  // Underline and strike-out add a horizontal stroke: one pixel row much darker than any
  // of plain text's.
  const auto widestRun = [&](const QImage& image) {
    int best = 0;
    for (int y = 0; y < image.height(); ++y) {
      int run = 0;
      for (int x = 0; x < image.width(); ++x) {
        run = dark(image.pixelColor(x, y)) ? run + 1 : 0;
        best = std::max(best, run);
      }
    }
    return best;
  };
  EXPECT_GT(widestRun(rows[3]), 2 * widestRun(rows[0]));
  EXPECT_GT(widestRun(rows[4]), 2 * widestRun(rows[0]));
  // Colours: green, red, blue text, and none of the others'.
  const auto isGreen = [](QColor c) { return c.green() > 100 && c.red() < 60 && c.blue() < 60; };
  const auto isRed = [](QColor c) { return c.red() > 150 && c.green() < 60 && c.blue() < 60; };
  const auto isBlue = [](QColor c) { return c.blue() > 150 && c.red() < 60 && c.green() < 60; };
  EXPECT_GT(PixelsOf(rows[5], isGreen), 0);
  EXPECT_EQ(PixelsOf(rows[5], isRed) + PixelsOf(rows[5], isBlue), 0);
  EXPECT_GT(PixelsOf(rows[6], isRed), 0);
  EXPECT_EQ(PixelsOf(rows[6], isGreen) + PixelsOf(rows[6], isBlue), 0);
  EXPECT_GT(PixelsOf(rows[7], isBlue), 0);
  EXPECT_EQ(PixelsOf(rows[7], isGreen) + PixelsOf(rows[7], isRed), 0);
  // Styles outside 0..3 draw plain.
  EXPECT_EQ(TDebugLineDelegate::StyledFont(List.font(), 7), List.font());
  EXPECT_EQ(TDebugLineDelegate::StyledFont(List.font(), -1), List.font());
}

TEST_F(TDebugListBoxTest, ScrollOutputPutsTheNewLinesOnTopOnceTheListIsFull) {
  ASSERT_NO_FATAL_FAILURE(Show(10));
  EXPECT_TRUE(List.GetScrollOutput());  // on from the start
  EXPECT_EQ(List.VisibleLines(), 10);
  // Nine lines leave the list unfilled; the tenth fills it exactly and is still in view.
  AddLines(10);
  EXPECT_EQ(List.TopIndex(), 0);
  EXPECT_TRUE(FullyVisible(9));
  // From then on each new line is brought into view.
  for (int count = 11; count <= 25; ++count) {
    AddLines(1);
    ASSERT_EQ(List.TopIndex(), count - 10) << count;
    ASSERT_TRUE(FullyVisible(count - 1)) << count;
    ASSERT_EQ(List.TopIndex(), count - 10) << count;  // as drawn
  }
  // A command's trace lines come as one addition: the first of them becomes the top line.
  std::vector<TDebugFormat> trace;
  for (int i = 0; i < 30; ++i) trace.push_back({"trace " + std::to_string(i), 0, 1});
  List.Log().Add(trace);
  QApplication::processEvents();
  EXPECT_EQ(List.TopIndex(), 25);
  EXPECT_EQ(List.indexAt(QPoint(1, 1)).row(), 25);
  // The user scrolled back: the next line still brings the list to it.
  List.verticalScrollBar()->setValue(3);
  ASSERT_EQ(List.TopIndex(), 3);
  AddLines(1);
  EXPECT_TRUE(FullyVisible(55));

  // A list whose height is not a whole number of rows keeps its top line until the
  // lines reach past its bottom.
  List.Log().Clear();
  List.resize(300, 10 * List.ItemHeight() + List.ItemHeight() / 2);
  QApplication::processEvents();
  AddLines(10);
  EXPECT_EQ(List.TopIndex(), 0);
  AddLines(1);
  EXPECT_GT(List.TopIndex(), 0);
  EXPECT_TRUE(FullyVisible(10));
}

TEST_F(TDebugListBoxTest, WithScrollOutputOffTheScrollPositionStays) {
  ASSERT_NO_FATAL_FAILURE(Show(10));
  List.SetScrollOutput(false);
  AddLines(10);
  AddLines(5);
  QApplication::processEvents();  // laid out and drawn
  EXPECT_EQ(List.TopIndex(), 0);
  EXPECT_FALSE(FullyVisible(14));
  List.verticalScrollBar()->setValue(4);
  ASSERT_EQ(List.TopIndex(), 4);
  List.Log().Add({{"a", 0, 1}, {"b", 0, 1}, {"c", 0, 1}});
  AddLines(20);
  QApplication::processEvents();
  EXPECT_EQ(List.TopIndex(), 4);
  // On again: the next line is followed.
  List.SetScrollOutput(true);
  AddLines(1);
  EXPECT_TRUE(FullyVisible(List.Log().Count() - 1));
}

TEST_F(TDebugListBoxTest, AHundredThousandLineLogStaysQuick) {
  ASSERT_NO_FATAL_FAILURE(Show(10));
  std::vector<TDebugFormat> lines;
  for (int i = 0; i < 100000; ++i) lines.push_back({"line " + std::to_string(i), 0, 1});
  List.Log().Add(lines);
  const auto start = std::chrono::steady_clock::now();
  // A run's further commands, each with its line, each drawn.
  for (int i = 0; i < 200; ++i) {
    AddLines(1, "more ");
    if (i % 20 == 0) QApplication::processEvents();
  }
  QApplication::processEvents();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
  EXPECT_EQ(List.model()->rowCount(), 100200);
  EXPECT_EQ(List.TopIndex(), 100200 - 10);
  EXPECT_TRUE(FullyVisible(100199));
}
