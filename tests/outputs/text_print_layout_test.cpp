// Pages of the printed text window: the line height scaled from the screen to the
// printer, the text from line position 4 of each page, the caption on page 1 only; and
// printing that always advances, whatever the font and page.
#include <gtest/gtest.h>

#include "outputs/text_print_layout.h"

TEST(TextPrintLayout, APageOfThirtyLineHeightsHoldsTwentyTwoLinesFromPosition4) {
  // 10 points at equal resolutions: a line is 14 pixels; the page has room for 30.
  const TTextPrintLayout layout(10, 96, 96, 30 * 14);
  EXPECT_EQ(layout.LineHeight(), 14);
  EXPECT_EQ(layout.TextLinesPerPage(), 22);
  EXPECT_EQ(layout.CaptionY(), 14);
  // Line 0 at position 4, line 21 at position 25, line 22 on the next page at 4 again.
  EXPECT_EQ(layout.Place(0).Page, 0);
  EXPECT_EQ(layout.Place(0).Y, 4 * 14);
  EXPECT_EQ(layout.Place(21).Page, 0);
  EXPECT_EQ(layout.Place(21).Y, 25 * 14);
  EXPECT_EQ(layout.Place(22).Page, 1);
  EXPECT_EQ(layout.Place(22).Y, 4 * 14);
  EXPECT_EQ(layout.Place(44).Page, 2);
  // The caption has the first page to itself: an empty text prints one page; 22 lines
  // fill it, the 23rd starts the second.
  EXPECT_EQ(layout.PageCount(0), 1);
  EXPECT_EQ(layout.PageCount(22), 1);
  EXPECT_EQ(layout.PageCount(23), 2);
  EXPECT_EQ(layout.PageCount(45), 3);
}

TEST(TextPrintLayout, TheLineHeightScalesThePointSizeToThePrinter) {
  // 10 points from a 96 dpi screen to a 600 dpi printer: 62.5 rounds to 63, times 1.4 is
  // 88.2, truncated to 88. A negative size or resolution counts by its amount.
  EXPECT_EQ(TTextPrintLayout(10, 600, 96, 10000).LineHeight(), 88);
  EXPECT_EQ(TTextPrintLayout(-10, 600, 96, 10000).LineHeight(), 88);
  EXPECT_EQ(TTextPrintLayout(10, -600, 96, 10000).LineHeight(), 88);
  // 12 points at 1200 dpi: 150 * 1.4 = 210; a 11000-pixel page has 52 positions.
  const TTextPrintLayout large(12, 1200, 96, 11000);
  EXPECT_EQ(large.LineHeight(), 210);
  EXPECT_EQ(large.LinesPerPage(), 11000 / 210 - 4);
}

TEST(TextPrintLayout, TinyFontsAndPagesStillAdvanceALineAtATime) {
  // A size of 0, or a printer far coarser than the screen, would give lines of 0 pixels:
  // each line is 1 pixel high instead and every line gets its own place.
  for (const TTextPrintLayout& layout :
       {TTextPrintLayout(0, 600, 96, 1000), TTextPrintLayout(1, 10, 96, 1000),
        TTextPrintLayout(8, 600, 0, 1000)}) {
    EXPECT_GE(layout.LineHeight(), 1);
    EXPECT_GE(layout.TextLinesPerPage(), 1);
    EXPECT_LT(layout.Place(0).Y, layout.Place(1).Y);
  }
  EXPECT_EQ(TTextPrintLayout(0, 600, 96, 1000).LineHeight(), 1);
  EXPECT_EQ(TTextPrintLayout(0, 600, 96, 1000).TextLinesPerPage(), 1000 - 4 - 4);
  // A page shorter than the caption's lines (or none at all) still holds one text line,
  // so each line starts a page and printing ends.
  for (const int pageHeight : {0, 3 * 14, 5 * 14}) {
    const TTextPrintLayout layout(10, 96, 96, pageHeight);
    EXPECT_EQ(layout.TextLinesPerPage(), 1) << pageHeight;
    EXPECT_EQ(layout.Place(0).Y, 4 * 14);
    EXPECT_EQ(layout.Place(1).Page, 1);
    EXPECT_EQ(layout.Place(1).Y, 4 * 14);
    EXPECT_EQ(layout.PageCount(3), 3);
  }
}
