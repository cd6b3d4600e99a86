// The tick labels of a chart axis in the axis' values format, for linear and logarithmic
// axes, with an optional desired increment between ticks.
#pragma once

#include <qcustomplot.h>

#include "outputs/ui/chart_value_format.h"

// What every ticker of the chart shares: the format of its labels.
class TTickFormat {
public:
  void SetFormat(const TChartValueFormat& format) { Format = format; }
  const TChartValueFormat& GetFormat() const { return Format; }

protected:
  TChartValueFormat Format;
};

class TLinearTicker : public QCPAxisTicker, public TTickFormat {
public:
  // The distance between ticks; 0 lets the ticker choose, and so does an increment that
  // would give more than MaxTicks ticks.
  void SetIncrement(double increment) { Increment = increment; }
  static constexpr double MaxTicks = 500;

protected:
  double getTickStep(const QCPRange& range) override;
  QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                       int precision) override;

private:
  double Increment = 0;
};

class TLogTicker : public QCPAxisTickerLog, public TTickFormat {
protected:
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                       int precision) override;
};
