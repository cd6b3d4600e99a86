// Where the text window's lines go on printed pages: the caption centred one line height
// from the top of the first page, the text lines from line position 4 of each page.
#pragma once

#include <cstddef>
#include <cstdint>

// A text line's place: its page (0 = first) and the top of its line in printer pixels.
struct TPrintPlace {
  std::int32_t Page = 0;
  std::int32_t Y = 0;
};

class TTextPrintLayout {
public:
  // The first line position of the text on every page.
  static constexpr std::int32_t FirstLine = 4;

  // The line height is the font's point size scaled from the screen's to the printer's
  // pixels per inch (a rounded integer ratio) times 1.4; the line positions per page are
  // the page height in line heights less 4. A line is at least one printer pixel high and
  // a page holds at least one text line, so printing always advances.
  TTextPrintLayout(std::int32_t pointSize, std::int32_t printerDpi, std::int32_t screenDpi,
                   std::int32_t pageHeight);

  std::int32_t LineHeight() const { return Height; }
  // The position at which a new page starts (positions FirstLine to this less 1 hold text).
  std::int32_t LinesPerPage() const { return PerPage; }
  std::int32_t TextLinesPerPage() const { return PerPage - FirstLine; }
  // The caption's top, on the first page only.
  std::int32_t CaptionY() const { return Height; }
  // The place of text line i (0 = first).
  TPrintPlace Place(std::size_t line) const;
  // Pages printed for the lines: at least 1 (the caption's).
  std::int32_t PageCount(std::size_t lines) const;

private:
  std::int32_t Height;
  std::int32_t PerPage;
};
