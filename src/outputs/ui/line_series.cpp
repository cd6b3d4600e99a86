#include "outputs/ui/line_series.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

// The chart's curve: QCPCurve keeps points in the order they came (its sort key is the
// running index), so a series whose X goes back and forth is drawn along its path.
class TChartCurve : public QCPCurve {
public:
  using QCPCurve::QCPCurve;
  bool EachPointColored = false;

protected:
  void drawScatterPlot(QCPPainter* painter, const QVector<QPointF>& points,
                       const QCPScatterStyle& style) const override {
    if (!EachPointColored) {
      QCPCurve::drawScatterPlot(painter, points, style);
      return;
    }
    applyScattersAntialiasingHint(painter);
    QCPScatterStyle each = style;
    for (int i = 0; i < points.size(); ++i) {
      each.setBrush(ChartPaletteColor(i));
      each.applyTo(painter, pen());
      each.drawShape(painter, points.at(i));
    }
  }
};

namespace {

// The outline of a marker around (0, 0), w and h pixels to either side.
QPainterPath MarkerPath(int style, double w, double h) {
  QPainterPath path;
  switch (style) {
    case psCircle:
      path.addEllipse(QPointF(0, 0), w, h);
      break;
    case psTriangle:
      path.moveTo(0, -h);
      path.lineTo(w, h);
      path.lineTo(-w, h);
      path.closeSubpath();
      break;
    case psDownTriangle:
      path.moveTo(0, h);
      path.lineTo(w, -h);
      path.lineTo(-w, -h);
      path.closeSubpath();
      break;
    case psCross:
      path.moveTo(-w, 0);
      path.lineTo(w, 0);
      path.moveTo(0, -h);
      path.lineTo(0, h);
      break;
    case psStar:
      path.moveTo(-w, 0);
      path.lineTo(w, 0);
      path.moveTo(0, -h);
      path.lineTo(0, h);
      path.moveTo(-w * 0.7, -h * 0.7);
      path.lineTo(w * 0.7, h * 0.7);
      path.moveTo(-w * 0.7, h * 0.7);
      path.lineTo(w * 0.7, -h * 0.7);
      break;
    default:  // psRectangle, and codes this chart does not know
      path.addRect(QRectF(-w, -h, 2 * w, 2 * h));
      break;
  }
  return path;
}

Qt::PenStyle PenStyleOf(int style) {
  switch (style) {
    case lsDash: return Qt::DashLine;
    case lsDot: return Qt::DotLine;
    case lsDashDot: return Qt::DashDotLine;
    case lsDashDotDot: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

}  // namespace

QColor ChartPaletteColor(int position) {
  // Distinct on white and for the common kinds of colour blindness, red first.
  static const QColor palette[] = {
      QColor(0xD6, 0x27, 0x28), QColor(0x1F, 0x77, 0xB4), QColor(0x2C, 0xA0, 0x2C),
      QColor(0xFF, 0x7F, 0x0E), QColor(0x94, 0x67, 0xBD), QColor(0x8C, 0x56, 0x4B),
      QColor(0xE3, 0x77, 0xC2), QColor(0x17, 0xBE, 0xCF), QColor(0x7F, 0x7F, 0x7F),
      QColor(0xBC, 0xBD, 0x22)};
  constexpr int size = static_cast<int>(sizeof palette / sizeof palette[0]);
  return palette[((position % size) + size) % size];
}

TLineSeries::TLineSeries(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : PCurve(new TChartCurve(keyAxis, valueAxis)) {
  PCurve->setAntialiased(true);
  PCurve->setAntialiasedScatters(true);
  UpdatePen();
  SetPointer(Marker);
}

TLineSeries::~TLineSeries() {
  if (QCustomPlot* plot = PCurve->parentPlot()) plot->removePlottable(PCurve);
}

QString TLineSeries::Title() const { return PCurve->name(); }

void TLineSeries::SetTitle(const QString& title) { PCurve->setName(title); }

int TLineSeries::Count() const { return PCurve->data()->size(); }

double TLineSeries::GetxValue(int i) const {
  if (i < 0 || i >= Count()) return 0;
  return PCurve->data()->at(i)->key;
}

double TLineSeries::GetyValue(int i) const {
  if (i < 0 || i >= Count()) return 0;
  return PCurve->data()->at(i)->value;
}

void TLineSeries::Clear() {
  PCurve->data()->clear();
  HasExtent = false;
}

void TLineSeries::AddXY(double x, double y) {
  const int index = Count();
  PCurve->addData(index, x, y);
  if (AfterAdd) AfterAdd(*this, index);
}

void TLineSeries::SetValueExtent(double minX, double maxX, double minY, double maxY) {
  HasExtent = true;
  Extent[0] = minX;
  Extent[1] = maxX;
  Extent[2] = minY;
  Extent[3] = maxY;
}

namespace {

// The finite values' extent of the points' X (or Y).
bool PointsExtent(const QCPCurve& curve, bool x, double& low, double& high) {
  low = std::numeric_limits<double>::infinity();
  high = -low;
  for (const QCPCurveData& point : *curve.data()) {
    const double v = x ? point.key : point.value;
    if (!std::isfinite(v)) continue;
    low = std::min(low, v);
    high = std::max(high, v);
  }
  return low <= high;
}

}  // namespace

bool TLineSeries::XExtent(double& low, double& high) const {
  if (!HasExtent) return PointsExtent(*PCurve, true, low, high);
  low = Extent[0];
  high = Extent[1];
  return low <= high;
}

bool TLineSeries::YExtent(double& low, double& high) const {
  if (!HasExtent) return PointsExtent(*PCurve, false, low, high);
  low = Extent[2];
  high = Extent[3];
  return low <= high;
}

QString TLineSeries::XValueToText(double value) const {
  return FormatChartValue(value, ParseValuesFormat(Format));
}

QString TLineSeries::YValueToText(double value) const {
  return FormatChartValue(value, ParseValuesFormat(Format));
}

double TLineSeries::XScreenToValue(double x) const { return PCurve->keyAxis()->pixelToCoord(x); }

double TLineSeries::YScreenToValue(double y) const {
  return PCurve->valueAxis()->pixelToCoord(y);
}

double TLineSeries::XValueToScreen(double x) const { return PCurve->keyAxis()->coordToPixel(x); }

double TLineSeries::YValueToScreen(double y) const {
  return PCurve->valueAxis()->coordToPixel(y);
}

void TLineSeries::SetLinePen(bool visible, int style, int width) {
  LineShown = visible;
  Style = style;
  Width = std::max(1, width);
  UpdatePen();
}

void TLineSeries::SetSeriesColor(const QColor& color) {
  Color = color;
  UpdatePen();
  SetPointer(Marker);
}

void TLineSeries::UpdatePen() {
  QPen pen(Color, Width, PenStyleOf(Style));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  PCurve->setPen(pen);
  PCurve->setLineStyle(LineShown ? QCPCurve::lsLine : QCPCurve::lsNone);
}

void TLineSeries::SetPointer(const TSeriesPointer& pointer) {
  Marker = pointer;
  Marker.HorizSize = std::max(1, Marker.HorizSize);
  Marker.VertSize = std::max(0, Marker.VertSize);
  if (!Marker.Visible) {
    PCurve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    return;
  }
  const QColor fill = Marker.Color.isValid() ? Marker.Color : Color;
  const bool lines = Marker.Style == psCross || Marker.Style == psStar;
  // Filled shapes get a darker outline so that they stand out on their own line.
  const QPen pen(lines ? fill : fill.darker(160), lines ? 1.5 : 1.0);
  const QBrush brush = lines ? QBrush(Qt::NoBrush) : QBrush(fill);
  // A custom shape of size 6 is drawn at a scale of 1: the path is in pixels.
  PCurve->setScatterStyle(
      QCPScatterStyle(MarkerPath(Marker.Style, Marker.HorizSize, Marker.VertSize), pen, brush, 6));
}

bool TLineSeries::ColorEachPoint() const { return PCurve->EachPointColored; }

void TLineSeries::SetColorEachPoint(bool each) { PCurve->EachPointColored = each; }

QCPCurve* TLineSeries::Curve() const { return PCurve; }
