#include "outputs/ui/font_settings.h"

#include <algorithm>
#include <cstdlib>

#include "model/ui/bgr_color.h"

namespace {

enum : std::int32_t { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

}  // namespace

QFont FontOf(const TFontSettings& settings) {
  QFont font(QString::fromStdString(settings.Name));
  font.setPointSize(std::clamp(std::abs(settings.Size), 1, 1000));
  font.setBold(settings.Style & Bold);
  font.setItalic(settings.Style & Italic);
  font.setUnderline(settings.Style & Underline);
  font.setStrikeOut(settings.Style & StrikeOut);
  return font;
}

TFontSettings FontSettingsOf(const QFont& font, const TFontSettings& current) {
  TFontSettings settings = current;
  settings.Name = font.family().toStdString();
  const int points = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
  if (points > 0) settings.Size = points;
  settings.Style = (font.bold() ? Bold : 0) | (font.italic() ? Italic : 0) |
                   (font.underline() ? Underline : 0) | (font.strikeOut() ? StrikeOut : 0);
  return settings;
}

QColor ColorOf(std::int32_t bgr) {
  const auto value = static_cast<std::uint32_t>(bgr);
  if (value & 0xFF000000u) return {};
  return BgrColor(value);
}
