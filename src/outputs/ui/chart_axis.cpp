#include "outputs/ui/chart_axis.h"

#include <qcustomplot.h>

#include <cmath>

#include "outputs/ui/chart_ticker.h"

TChartAxis::TChartAxis(QCPAxis* axis)
    : PAxis(axis), Linear(new TLinearTicker), LogTicks(new TLogTicker) {
  PAxis->setTicker(Linear);
  PAxis->setRange(FixedMinimum, FixedMaximum);
}

void TChartAxis::SetAutomatic(bool automatic) {
  AutoMinimum = automatic;
  AutoMaximum = automatic;
}

double TChartAxis::Minimum() const { return PAxis->range().lower; }

double TChartAxis::Maximum() const { return PAxis->range().upper; }

void TChartAxis::SetMinMax(double minimum, double maximum) {
  FixedMinimum = std::min(minimum, maximum);
  FixedMaximum = std::max(minimum, maximum);
}

void TChartAxis::SetIncrement(double increment) {
  DesiredIncrement = std::isfinite(increment) && increment > 0 ? increment : 0;
  Linear->SetIncrement(DesiredIncrement);
}

void TChartAxis::SetLogarithmic(bool logarithmic) {
  Log = logarithmic;
  PAxis->setScaleType(Log ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
  PAxis->setTicker(Log ? QSharedPointer<QCPAxisTicker>(LogTicks)
                       : QSharedPointer<QCPAxisTicker>(Linear));
}

void TChartAxis::SetValuesFormat(const QString& format) {
  Format = format;
  UpdateTicker();
}

void TChartAxis::UpdateTicker() {
  const TChartValueFormat parsed = ParseValuesFormat(Format);
  Linear->SetFormat(parsed);
  LogTicks->SetFormat(parsed);
}

QString TChartAxis::ValueToText(double value) const {
  return FormatChartValue(value, ParseValuesFormat(Format));
}

QString TChartAxis::TitleCaption() const { return PAxis->label(); }

void TChartAxis::SetTitleCaption(const QString& caption) { PAxis->setLabel(caption); }

QFont TChartAxis::TitleFont() const { return PAxis->labelFont(); }

void TChartAxis::SetTitleFont(const QFont& font) { PAxis->setLabelFont(font); }

bool TChartAxis::Visible() const { return PAxis->visible(); }

void TChartAxis::SetVisible(bool visible) { PAxis->setVisible(visible); }

void TChartAxis::Zoom(double minimum, double maximum) {
  Zoomed = std::make_pair(std::min(minimum, maximum), std::max(minimum, maximum));
}

void TChartAxis::ApplyRange(bool hasExtent, double low, double high, bool margin) {
  double lower, upper;
  if (Zoomed) {
    lower = Zoomed->first;
    upper = Zoomed->second;
  } else {
    // An automatic axis without anything to span shows the usual empty range.
    const bool autoLow = AutoMinimum && hasExtent;
    const bool autoHigh = AutoMaximum && hasExtent;
    lower = autoLow ? low : (AutoMinimum ? 0 : FixedMinimum);
    upper = autoHigh ? high : (AutoMaximum ? 10 : FixedMaximum);
    // Values at the very edge of the frame are hard to see: a vertical axis keeps a
    // little room around what it fits automatically.
    if (margin && upper > lower && !Log) {
      const double room = (upper - lower) * 0.03;
      if (autoLow) lower -= room;
      if (autoHigh) upper += room;
    }
  }
  if (Log) {
    if (!(upper > 0)) upper = 10;
    if (!(lower > 0)) lower = upper / 1000;
  }
  if (!std::isfinite(lower) || !std::isfinite(upper)) {
    lower = 0;
    upper = 10;
  }
  if (!(upper > lower)) {
    // One value: a range around it.
    const double pad = lower != 0 ? std::fabs(lower) * 0.1 : 1;
    lower -= pad;
    upper += pad;
  }
  PAxis->setRange(lower, upper);
}

void TChartAxis::Assign(const TChartAxis& other) {
  AutoMinimum = other.AutoMinimum;
  AutoMaximum = other.AutoMaximum;
  FixedMinimum = other.FixedMinimum;
  FixedMaximum = other.FixedMaximum;
  SetIncrement(other.DesiredIncrement);
  SetLogarithmic(other.Log);
  SetValuesFormat(other.Format);
  SetTitleCaption(other.TitleCaption());
  SetTitleFont(other.TitleFont());
  Angle = other.Angle;
  SetVisible(other.Visible());
}
