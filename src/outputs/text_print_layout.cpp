#include "outputs/text_print_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

TTextPrintLayout::TTextPrintLayout(std::int32_t pointSize, std::int32_t printerDpi,
                                   std::int32_t screenDpi, std::int32_t pageHeight) {
  // The scaled size is rounded as an integer ratio; a screen without a resolution scales 1:1.
  const double ratio = screenDpi != 0 ? static_cast<double>(printerDpi) / screenDpi : 1.0;
  const double scaled = std::abs(std::round(static_cast<double>(pointSize) * ratio));
  const double height = std::trunc(scaled * 1.4);
  Height = static_cast<std::int32_t>(std::clamp(height, 1.0, 1.0e6));
  PerPage = std::max(pageHeight / Height - FirstLine, FirstLine + 1);
}

TPrintPlace TTextPrintLayout::Place(std::size_t line) const {
  const auto perPage = static_cast<std::size_t>(TextLinesPerPage());
  const auto position = static_cast<std::int32_t>(line % perPage) + FirstLine;
  return {static_cast<std::int32_t>(line / perPage), position * Height};
}

std::int32_t TTextPrintLayout::PageCount(std::size_t lines) const {
  if (lines == 0) return 1;
  return Place(lines - 1).Page + 1;
}
