#include "outputs/ui/chart_ticker.h"

#include <cmath>

double TLinearTicker::getTickStep(const QCPRange& range) {
  // A desired increment that would crowd the axis with more than MaxTicks ticks gives way
  // to the chosen one.
  if (Increment > 0 && range.size() / Increment <= MaxTicks) return Increment;
  return QCPAxisTicker::getTickStep(range);
}

QVector<double> TLinearTicker::createTickVector(double tickStep, const QCPRange& range) {
  QVector<double> ticks = QCPAxisTicker::createTickVector(tickStep, range);
  // Multiples of a step carry rounding noise: a tick a hair away from 0 is 0.
  for (double& tick : ticks)
    if (std::fabs(tick) < std::fabs(tickStep) * 1e-9) tick = 0;
  return ticks;
}

QString TLinearTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  return FormatChartValue(tick, Format);
}

QString TLogTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
  return FormatChartValue(tick, Format);
}
