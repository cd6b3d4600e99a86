// The printed table's pages: margins, rows per page, the frame's lines, the slots'
// widths, and pages that always advance however small the page or large the font.
#include "outputs/table_print_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TablePrintLayoutTest, RowsFillThePagesUnderTheHeaderRow) {
  // Text 50 pixels high: rows of 120, margins of 600; a page 3600 high holds 20 lines,
  // the header row's and 19 data rows.
  const TTablePrintLayout layout(50, 2550, 3600, 300, {200, 300, 0, 250});
  EXPECT_EQ(layout.RowHeight(), 120);
  EXPECT_EQ(layout.Top(), 600);
  EXPECT_EQ(layout.Bottom(), 3000);
  EXPECT_EQ(layout.DataRowsPerPage(), 19);
  EXPECT_EQ(layout.Place(0).Page, 0);
  EXPECT_EQ(layout.Place(0).Y, 720);
  EXPECT_EQ(layout.TextY(0), 745);
  EXPECT_EQ(layout.Place(18).Y, 600 + 19 * 120);
  EXPECT_EQ(layout.Place(19).Page, 1);
  EXPECT_EQ(layout.Place(19).Y, 720);
  EXPECT_EQ(layout.PageCount(0), 1);
  EXPECT_EQ(layout.PageCount(19), 1);
  EXPECT_EQ(layout.PageCount(20), 2);
  EXPECT_EQ(layout.PageNumberY(), 3050);
  EXPECT_EQ(layout.HeaderTextY(), 625);
  EXPECT_EQ(layout.SlotX(0), 300);
  EXPECT_EQ(layout.SlotX(2), 800);
  EXPECT_EQ(layout.SlotX(4), 1050);
}

TEST(TablePrintLayoutTest, TheFrameRulesOnlyPrintedSlots) {
  const TTablePrintLayout layout(50, 2550, 3600, 300, {0, 300, 200, 0});
  const std::vector<TPrintLine> frame = layout.Frame();
  ASSERT_EQ(frame.size(), 6u);
  auto same = [](const TPrintLine& a, const TPrintLine& b) {
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
  };
  EXPECT_TRUE(same(frame[0], {300, 600, 2250, 600}));
  EXPECT_TRUE(same(frame[1], {300, 600, 300, 3000}));
  EXPECT_TRUE(same(frame[2], {300, 3000, 2250, 3000}));
  // A set printing only its Y: no line for its empty X slot.
  EXPECT_TRUE(same(frame[3], {600, 600, 600, 3000}));
  EXPECT_TRUE(same(frame[4], {800, 600, 800, 3000}));
  EXPECT_TRUE(same(frame[5], {300, 720, 800, 720}));
}

TEST(TablePrintLayoutTest, NoPageOrFontStopsPrintingFromAdvancing) {
  // A font higher than the page, a page of nothing, no text height at all.
  for (const TTablePrintLayout& layout :
       {TTablePrintLayout(5000, 2550, 3600, 300, {}), TTablePrintLayout(50, 0, 0, 0, {}),
        TTablePrintLayout(0, 2550, 3600, 300, {100})}) {
    EXPECT_GE(layout.RowHeight(), 1);
    EXPECT_GE(layout.DataRowsPerPage(), 1);
    EXPECT_TRUE(layout.Place(1).Page > layout.Place(0).Page ||
                layout.Place(1).Y > layout.Place(0).Y);
    EXPECT_LE(layout.PageCount(3), 3);
  }
  EXPECT_EQ(TTablePrintLayout(5000, 2550, 3600, 300, {}).PageCount(3), 3);
}

TEST(TablePrintLayoutTest, ScreenWidthsAndHeightsScaleToThePrinter) {
  // 100 screen pixels a fifth wider at 96 per inch, printed at 600 per inch.
  EXPECT_EQ(PrintSlotWidth(100, 96, 600), 750);
  EXPECT_EQ(PrintSlotWidth(0, 96, 600), 0);
  // A screen or printer without a resolution counts as 96 per inch: no division by 0.
  EXPECT_EQ(PrintSlotWidth(100, 0, 96), 120);
  EXPECT_EQ(PrintSlotWidth(100, 96, 0), 120);
  EXPECT_EQ(PrintTextHeight(16, 96, 600), 100);
  EXPECT_EQ(PrintTextHeight(-16, 96, 600), 100);
  EXPECT_EQ(PrintTextHeight(0, 0, 600), 1);
}

}  // namespace
