#include "outputs/ui/chart_value_format.h"

#include <cmath>

#include "model/number_text.h"

TChartValueFormat ParseValuesFormat(const QString& format) {
  TChartValueFormat result;
  // "0." then one "0" per decimal, then "E-0" for the scientific notation.
  const QString text = format.trimmed();
  if (!text.startsWith(QLatin1Char('0'))) return result;
  int decimals = 0;
  int at = 1;
  if (at < text.size() && text[at] == QLatin1Char('.')) {
    ++at;
    while (at < text.size() && text[at] == QLatin1Char('0')) {
      ++decimals;
      ++at;
    }
  }
  const QString rest = text.mid(at);
  if (rest.isEmpty())
    result.Notation = ntFIXED;
  else if (rest.startsWith(QLatin1Char('E'), Qt::CaseInsensitive))
    result.Notation = ntSCIENTIFIC;
  else
    return result;
  result.Decimals = NumberText::ClampDecimals(decimals);
  return result;
}

QString FormatChartValue(double value, const TChartValueFormat& format) {
  return QString::fromStdString(NumberText::FormatNumber(
      value, format.Notation, NumberText::ClampDecimals(format.Decimals)));
}

double RoundToPixel(double value, double unitsPerPixel) {
  const double units = std::fabs(unitsPerPixel);
  if (!std::isfinite(value) || !std::isfinite(units) || units <= 0) return value;
  const double step = std::pow(10.0, std::floor(std::log10(units)));
  const double rounded = std::round(value / step) * step;
  return std::isfinite(rounded) ? rounded : value;
}
