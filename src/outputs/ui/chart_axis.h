// One of a chart's four axes: automatic or fixed range, desired increment, logarithmic
// scale, values format and title. The range shown is the user's zoom when there is one,
// else the series' extent when automatic, else the fixed range.
#pragma once

#include <QFont>
#include <QSharedPointer>
#include <QString>

#include <optional>

#include "outputs/ui/chart_value_format.h"

class QCPAxis;
class TLinearTicker;
class TLogTicker;

class TChartAxis {
public:
  explicit TChartAxis(QCPAxis* axis);

  // The range follows the extent of the series (both ends, or the ends left automatic).
  bool Automatic() const { return AutoMinimum && AutoMaximum; }
  void SetAutomatic(bool automatic);
  bool AutomaticMinimum() const { return AutoMinimum; }
  void SetAutomaticMinimum(bool automatic) { AutoMinimum = automatic; }
  bool AutomaticMaximum() const { return AutoMaximum; }
  void SetAutomaticMaximum(bool automatic) { AutoMaximum = automatic; }
  // The range shown (as last applied). The setters give the fixed ends; a minimum above
  // the maximum is the caller's to avoid (SetMinMax orders them).
  double Minimum() const;
  double Maximum() const;
  void SetMinimum(double minimum) { FixedMinimum = minimum; }
  void SetMaximum(double maximum) { FixedMaximum = maximum; }
  void SetMinMax(double minimum, double maximum);
  // The distance between ticks wanted; 0 for the chart's choice.
  double Increment() const { return DesiredIncrement; }
  void SetIncrement(double increment);
  bool Logarithmic() const { return Log; }
  void SetLogarithmic(bool logarithmic);
  // "", "0.00" or "0.00E-0" (see chart_value_format.h).
  const QString& ValuesFormat() const { return Format; }
  void SetValuesFormat(const QString& format);
  QString ValueToText(double value) const;

  QString TitleCaption() const;
  void SetTitleCaption(const QString& caption);
  QFont TitleFont() const;
  void SetTitleFont(const QFont& font);
  // Degrees; side axes draw their title along the axis whatever the angle.
  int TitleAngle() const { return Angle; }
  void SetTitleAngle(int angle) { Angle = angle; }
  bool Visible() const;
  void SetVisible(bool visible);

  // The user's zoom or scroll: the range shown until UndoZoom.
  bool IsZoomed() const { return Zoomed.has_value(); }
  void Zoom(double minimum, double maximum);
  void UndoZoom() { Zoomed.reset(); }

  // Shows the range the settings give, the series spanning [low, high] when hasExtent.
  // A vertical axis leaves a small margin around an automatic extent.
  void ApplyRange(bool hasExtent, double low, double high, bool margin);
  // Takes another axis' settings (not its zoom).
  void Assign(const TChartAxis& other);
  QCPAxis* Axis() const { return PAxis; }

private:
  void UpdateTicker();

  QCPAxis* PAxis;
  QSharedPointer<TLinearTicker> Linear;
  QSharedPointer<TLogTicker> LogTicks;
  bool AutoMinimum = true;
  bool AutoMaximum = true;
  double FixedMinimum = 0;
  double FixedMaximum = 10;
  double DesiredIncrement = 0;
  bool Log = false;
  QString Format;
  int Angle = 0;
  std::optional<std::pair<double, double>> Zoomed;
};
