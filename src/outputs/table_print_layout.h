// Where a printed table's parts go on its pages, in printer pixels: the title above the
// top margin of the first page, a ruled frame with a header row, the data rows under it
// and the page number below the frame. Column widths are two per printed data set (X, then
// Y); a slot of width 0 is a column not printed.
#pragma once

#include <cstdint>
#include <vector>

struct TPrintLine {
  std::int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// A data row's place: its page (0 = first) and the top of its line.
struct TTablePrintPlace {
  std::int32_t Page = 0;
  std::int32_t Y = 0;
};

// The printed width of a grid column of screenWidth screen pixels: a fifth wider, scaled
// from the screen's to the printer's pixels per inch (a screen without a resolution
// counts as 96 pixels per inch).
std::int32_t PrintSlotWidth(double screenWidth, double screenDpi, double printerDpi);
// The printed text height of a font screenHeight screen pixels high (at least 1).
std::int32_t PrintTextHeight(double screenHeight, double screenDpi, double printerDpi);

class TTablePrintLayout {
public:
  // The row height is 2.4 text heights, the top and bottom margins 5 row heights, the
  // left and right margins an inch. A page holds at least one data row whatever its size,
  // so printing always advances.
  TTablePrintLayout(std::int32_t textHeight, std::int32_t pageWidth, std::int32_t pageHeight,
                    std::int32_t printerDpiX, std::vector<std::int32_t> widths);

  std::int32_t TextHeight() const { return Height; }
  std::int32_t Half() const { return Height / 2; }
  std::int32_t RowHeight() const { return Row; }
  std::int32_t Top() const { return Margin; }
  std::int32_t Left() const { return LeftMargin; }
  std::int32_t Bottom() const { return PageHeight - Margin; }
  // The data rows under the header row of each page.
  std::int32_t DataRowsPerPage() const { return PerPage; }

  const std::vector<std::int32_t>& Slots() const { return Widths; }
  // The left edge of slot k.
  std::int32_t SlotX(std::size_t k) const;

  // Data row r (0 = first): its page and its line's top.
  TTablePrintPlace Place(std::int32_t row) const;
  // Pages for the rows: at least 1.
  std::int32_t PageCount(std::int32_t rows) const;
  // The top of the header row's text and of a data row's text (half a text height into
  // their lines).
  std::int32_t HeaderTextY() const { return Margin + Half(); }
  std::int32_t TextY(std::int32_t row) const { return Place(row).Y + Half(); }
  // The page number's top: one text height below the frame.
  std::int32_t PageNumberY() const { return Bottom() + Height; }
  // The frame of every page: top, left edge, bottom, a line after each printed slot,
  // the line under the header row.
  std::vector<TPrintLine> Frame() const;

private:
  std::int32_t Height;
  std::int32_t Row;
  std::int32_t Margin;
  std::int32_t LeftMargin;
  std::int32_t PageWidth;
  std::int32_t PageHeight;
  std::int32_t PerPage;
  std::vector<std::int32_t> Widths;
};
