// A line series of a chart: the points it draws in the order they were added, its title
// and value names, line, markers and colours, and its values as text. The chart owns it.
#pragma once

#include <QColor>
#include <QString>

#include <functional>

#include "outputs/ui/chart_value_format.h"

class QCPAxis;
class QCPCurve;
class TChartCurve;

// Pen styles of the line, as stored in graph records.
enum TLineStyle : int { lsSolid = 0, lsDash = 1, lsDot = 2, lsDashDot = 3, lsDashDotDot = 4 };
// Marker shapes, as stored in graph records (the order of the Point Style list).
enum TPointerStyle : int {
  psRectangle = 0,
  psCircle = 1,
  psTriangle = 2,
  psDownTriangle = 3,
  psCross = 4,
  psStar = 5,
};

// The point markers: a shape HorizSize pixels left and right of the point and VertSize
// above and below it; an invalid colour takes the series' colour.
struct TSeriesPointer {
  bool Visible = false;
  int Style = psRectangle;
  QColor Color;
  int HorizSize = 4;
  int VertSize = 4;
};

class TLineSeries {
public:
  TLineSeries(QCPAxis* keyAxis, QCPAxis* valueAxis);
  ~TLineSeries();
  TLineSeries(const TLineSeries&) = delete;
  TLineSeries& operator=(const TLineSeries&) = delete;

  // The title the legend shows.
  QString Title() const;
  void SetTitle(const QString& title);
  const QString& XValuesName() const { return XName; }
  void SetXValuesName(const QString& name) { XName = name; }
  const QString& YValuesName() const { return YName; }
  void SetYValuesName(const QString& name) { YName = name; }

  // The points, in the order they were added.
  int Count() const;
  double GetxValue(int i) const;
  double GetyValue(int i) const;
  void Clear();
  // Appends a point after the last one (empty label, automatic colour), then tells the
  // after-add handler.
  void AddXY(double x, double y);
  // Called after each point added, with the point's index.
  void SetAfterAdd(std::function<void(TLineSeries&, int)> handler) { AfterAdd = std::move(handler); }

  // The extent of the values that automatic axes fit. Without one given, the extent of
  // the points drawn; a series that draws part of a larger set gives the set's. Clear
  // forgets it.
  void SetValueExtent(double minX, double maxX, double minY, double maxY);
  bool XExtent(double& low, double& high) const;
  bool YExtent(double& low, double& high) const;

  // The format of XValueToText and YValueToText (see chart_value_format.h).
  const QString& ValueFormat() const { return Format; }
  void SetValueFormat(const QString& format) { Format = format; }
  QString XValueToText(double value) const;
  QString YValueToText(double value) const;
  // A position in the chart's pixels as values of the series' axes.
  double XScreenToValue(double x) const;
  double YScreenToValue(double y) const;
  // The position in pixels of a value.
  double XValueToScreen(double x) const;
  double YValueToScreen(double y) const;

  bool LineVisible() const { return LineShown; }
  int LineStyle() const { return Style; }
  int LineWidth() const { return Width; }
  void SetLinePen(bool visible, int style, int width);
  QColor SeriesColor() const { return Color; }
  void SetSeriesColor(const QColor& color);
  const TSeriesPointer& Pointer() const { return Marker; }
  void SetPointer(const TSeriesPointer& pointer);
  // Each marker in a colour of its own, from the chart's palette.
  bool ColorEachPoint() const;
  void SetColorEachPoint(bool each);

  QCPCurve* Curve() const;

private:
  void UpdatePen();

  TChartCurve* PCurve;
  QString XName = QStringLiteral("X");
  QString YName = QStringLiteral("Y");
  QString Format;
  bool LineShown = true;
  int Style = lsSolid;
  int Width = 1;
  QColor Color = Qt::red;
  TSeriesPointer Marker;
  bool HasExtent = false;
  double Extent[4] = {0, 0, 0, 0};
  std::function<void(TLineSeries&, int)> AfterAdd;
};

// The colour of the series at a position of the chart when it has the automatic colour.
QColor ChartPaletteColor(int position);
