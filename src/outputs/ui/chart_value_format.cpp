#include "outputs/ui/chart_value_format.h"

#include <cmath>

#include "outputs/value_format.h"

TChartValueFormat ParseValuesFormat(const QString& format) {
  const TValueFormat parsed = ParseValueFormat(format.toStdString());
  return {parsed.Notation, parsed.Decimals};
}

QString FormatChartValue(double value, const TChartValueFormat& format) {
  return QString::fromStdString(FormatValue(value, TValueFormat{format.Notation, format.Decimals}));
}

double RoundToPixel(double value, double unitsPerPixel) {
  const double units = std::fabs(unitsPerPixel);
  if (!std::isfinite(value) || !std::isfinite(units) || units <= 0) return value;
  const double step = std::pow(10.0, std::floor(std::log10(units)));
  const double rounded = std::round(value / step) * step;
  return std::isfinite(rounded) ? rounded : value;
}
