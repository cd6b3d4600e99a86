#include "outputs/table_print_layout.h"

#include <algorithm>
#include <cmath>

namespace {

double KnownDpi(double dpi) { return dpi > 0 ? dpi : 96.0; }

std::int32_t Clamped(double value, double low) {
  return static_cast<std::int32_t>(std::clamp(value, low, 1.0e8));
}

}  // namespace

std::int32_t PrintSlotWidth(double screenWidth, double screenDpi, double printerDpi) {
  const double widened = std::round(screenWidth * 1.2);
  return Clamped(std::round(widened / KnownDpi(screenDpi) * KnownDpi(printerDpi)), 0.0);
}

std::int32_t PrintTextHeight(double screenHeight, double screenDpi, double printerDpi) {
  return Clamped(std::abs(std::round(screenHeight * KnownDpi(printerDpi) / KnownDpi(screenDpi))), 1.0);
}

TTablePrintLayout::TTablePrintLayout(std::int32_t textHeight, std::int32_t pageWidth,
                                     std::int32_t pageHeight, std::int32_t printerDpiX,
                                     std::vector<std::int32_t> widths)
    : Height(std::max(textHeight, 1)),
      Row(Clamped(std::round(Height * 2.4), 1.0)),
      Margin(5 * Row),
      LeftMargin(std::max(printerDpiX, 0)),
      PageWidth(pageWidth),
      PageHeight(pageHeight),
      Widths(std::move(widths)) {
  // The lines of a page, the header row's among them.
  const std::int32_t lines = (PageHeight - 2 * Margin) / Row;
  PerPage = std::max(lines - 1, 1);
}

std::int32_t TTablePrintLayout::SlotX(std::size_t k) const {
  std::int32_t x = LeftMargin;
  for (std::size_t i = 0; i < k && i < Widths.size(); ++i) x += Widths[i];
  return x;
}

TTablePrintPlace TTablePrintLayout::Place(std::int32_t row) const {
  const std::int32_t line = row % PerPage + 1;
  return {row / PerPage, line * Row + Margin};
}

std::int32_t TTablePrintLayout::PageCount(std::int32_t rows) const {
  if (rows <= 0) return 1;
  return (rows - 1) / PerPage + 1;
}

std::vector<TPrintLine> TTablePrintLayout::Frame() const {
  const std::int32_t right = PageWidth - LeftMargin;
  const std::int32_t bottom = Bottom();
  std::vector<TPrintLine> lines{{LeftMargin, Margin, right, Margin},
                                {LeftMargin, Margin, LeftMargin, bottom},
                                {LeftMargin, bottom, right, bottom}};
  std::int32_t x = LeftMargin;
  for (const std::int32_t width : Widths) {
    if (width <= 0) continue;
    x += width;
    lines.push_back({x, Margin, x, bottom});
  }
  lines.push_back({LeftMargin, Margin + Row, x, Margin + Row});
  return lines;
}
