#include "outputs/ui/chart.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <cmath>
#include <functional>
#include <limits>

// QCustomPlot with its layout pass reachable and its resizing reported.
class TChartPlot : public QCustomPlot {
public:
  using QCustomPlot::QCustomPlot;
  using QCustomPlot::updateLayout;
  std::function<void()> OnResize;

protected:
  void resizeEvent(QResizeEvent* event) override {
    QCustomPlot::resizeEvent(event);
    if (OnResize) OnResize();
  }
};

TChart::TChart(QWidget* parent) : QWidget(parent), Plot(new TChartPlot(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Plot);
  Plot->setObjectName(QStringLiteral("ChartPlot"));
  Plot->setMouseTracking(true);
  // Right clicks belong to the window's pop-up menu and right drags to scrolling.
  Plot->setContextMenuPolicy(Qt::PreventContextMenu);
  Plot->setAutoAddPlottableToLegend(true);
  // Hit tests reach the points on the frame's edge (selecting itself stays off).
  Plot->setInteraction(QCP::iSelectPlottablesBeyondAxisRect, true);
  Axes[0] = std::make_unique<TChartAxis>(Plot->xAxis);
  Axes[1] = std::make_unique<TChartAxis>(Plot->yAxis);
  Axes[2] = std::make_unique<TChartAxis>(Plot->xAxis2);
  Axes[3] = std::make_unique<TChartAxis>(Plot->yAxis2);
  // The top and right axes close the frame; they show no ticks of their own.
  for (QCPAxis* axis : {Plot->xAxis2, Plot->yAxis2}) {
    axis->setVisible(true);
    axis->setTicks(false);
    axis->setTickLabels(false);
  }
  for (QCPAxis* axis : {Plot->xAxis, Plot->yAxis}) {
    axis->grid()->setPen(QPen(QColor(0xDD, 0xDD, 0xDD), 0, Qt::SolidLine));
    axis->grid()->setZeroLinePen(QPen(QColor(0xB0, 0xB0, 0xB0), 0, Qt::SolidLine));
  }
  // Room on the right for half of the last X label, which is centred on the frame's edge.
  Plot->axisRect()->setMinimumMargins(QMargins(0, 0, 28, 0));
  // The legend in the upper right corner of the plot, over the series but see-through.
  Plot->legend->setBrush(QColor(255, 255, 255, 225));
  Plot->legend->setBorderPen(QPen(QColor(0xA0, 0xA0, 0xA0)));
  Plot->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
  Plot->legend->setVisible(false);
  TitleElement = new QCPTextElement(Plot, QString());
  QFont font = TitleElement->font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.15);
  TitleElement->setFont(font);
  // The zoom rectangle.
  Plot->selectionRect()->setPen(QPen(QColor(0x1F, 0x77, 0xB4), 1, Qt::DashLine));
  Plot->selectionRect()->setBrush(QColor(0x1F, 0x77, 0xB4, 40));
  Plot->setSelectionRectMode(QCP::srmNone);
  connect(Plot->selectionRect(), &QCPSelectionRect::accepted, this,
          [this](const QRect& rect, QMouseEvent*) { ZoomTo(rect); });
  connect(Plot, &QCustomPlot::mousePress, this, &TChart::PressEvent);
  // The second press of a quick pair comes as a double click: a press all the same.
  connect(Plot, &QCustomPlot::mouseDoubleClick, this, &TChart::PressEvent);
  connect(Plot, &QCustomPlot::mouseMove, this, &TChart::MoveEvent);
  connect(Plot, &QCustomPlot::mouseRelease, this, &TChart::ReleaseEvent);
  Plot->OnResize = [this] { emit Resized(); };
}

TChart::~TChart() {
  Series.clear();
  // The title stays the plot's to delete only while it is in the layout.
  if (TitleLines.isEmpty()) delete TitleElement;
}

TLineSeries* TChart::AddSeries() {
  Series.push_back(std::make_unique<TLineSeries>(Plot->xAxis, Plot->yAxis));
  TLineSeries* series = Series.back().get();
  series->SetSeriesColor(ChartPaletteColor(SeriesCount() - 1));
  return series;
}

void TChart::RemoveSeries(int position) {
  if (position < 0 || position >= SeriesCount()) return;
  Series.erase(Series.begin() + position);
}

void TChart::RemoveAllSeries() { Series.clear(); }

TLineSeries* TChart::GetSeries(int position) const {
  if (position < 0 || position >= SeriesCount()) return nullptr;
  return Series[static_cast<std::size_t>(position)].get();
}

int TChart::IndexOf(const TLineSeries* series) const {
  for (int i = 0; i < SeriesCount(); ++i)
    if (Series[static_cast<std::size_t>(i)].get() == series) return i;
  return -1;
}

void TChart::SetTitle(const QStringList& lines) {
  const bool had = !TitleLines.isEmpty();
  TitleLines = lines;
  while (!TitleLines.isEmpty() && TitleLines.back().isEmpty()) TitleLines.removeLast();
  TitleElement->setText(TitleLines.join(QLatin1Char('\n')));
  if (had == !TitleLines.isEmpty()) return;
  // A chart without title lines gives the title's room to the series.
  if (!TitleLines.isEmpty()) {
    Plot->plotLayout()->insertRow(0);
    Plot->plotLayout()->addElement(0, 0, TitleElement);
  } else {
    Plot->plotLayout()->take(TitleElement);
    Plot->plotLayout()->simplify();
  }
}

QFont TChart::TitleFont() const { return TitleElement->font(); }

void TChart::SetTitleFont(const QFont& font) { TitleElement->setFont(font); }

void TChart::SetTitleAlignment(Qt::Alignment alignment) {
  TitleAlign = alignment & Qt::AlignHorizontal_Mask;
  TitleElement->setTextFlags(static_cast<int>(TitleAlign | Qt::AlignVCenter));
}

bool TChart::LegendVisible() const { return Plot->legend->visible(); }

void TChart::SetLegendVisible(bool visible) { Plot->legend->setVisible(visible); }

void TChart::ApplyRanges() {
  const double infinity = std::numeric_limits<double>::infinity();
  double lowX = infinity, highX = -infinity, lowY = infinity, highY = -infinity;
  for (const auto& series : Series) {
    double low, high;
    if (series->XExtent(low, high)) {
      lowX = std::min(lowX, low);
      highX = std::max(highX, high);
    }
    if (series->YExtent(low, high)) {
      lowY = std::min(lowY, low);
      highY = std::max(highY, high);
    }
  }
  const bool hasX = lowX <= highX;
  const bool hasY = lowY <= highY;
  BottomAxis().ApplyRange(hasX, lowX, highX, false);
  TopAxis().ApplyRange(hasX, lowX, highX, false);
  LeftAxis().ApplyRange(hasY, lowY, highY, true);
  RightAxis().ApplyRange(hasY, lowY, highY, true);
}

void TChart::Repaint() {
  ApplyRanges();
  Plot->replot(QCustomPlot::rpQueuedReplot);
}

void TChart::RepaintNow() {
  ApplyRanges();
  Plot->replot(QCustomPlot::rpImmediateRefresh);
}

QRect TChart::PlotRect() {
  ApplyRanges();
  Plot->setViewport(Plot->rect());
  Plot->updateLayout();
  return Plot->axisRect()->rect();
}

void TChart::SetAllowZoom(bool allow) {
  ZoomAllowed = allow;
  Plot->setSelectionRectMode(allow ? QCP::srmCustom : QCP::srmNone);
}

void TChart::UndoZoom() {
  for (auto& axis : Axes) axis->UndoZoom();
  ApplyRanges();
}

bool TChart::IsZoomed() const {
  for (const auto& axis : Axes)
    if (axis->IsZoomed()) return true;
  return false;
}

void TChart::ZoomTo(const QRect& rect) {
  // A click, or a few pixels of shaking, is no zoom.
  if (std::abs(rect.width()) < 4 || std::abs(rect.height()) < 4) return;
  if (rect.right() < rect.left()) {
    UndoZoom();
  } else {
    const QRect band = rect.normalized();
    BottomAxis().Zoom(Plot->xAxis->pixelToCoord(band.left()), Plot->xAxis->pixelToCoord(band.right()));
    LeftAxis().Zoom(Plot->yAxis->pixelToCoord(band.bottom()), Plot->yAxis->pixelToCoord(band.top()));
    ApplyRanges();
  }
  emit ChartZoom();
}

void TChart::PressEvent(QMouseEvent* event) {
  PressPos = event->pos();
  PressButton = event->button();
  Dragged = false;
  const QCPRange x = Plot->xAxis->range(), y = Plot->yAxis->range();
  PressRange[0] = x.lower;
  PressRange[1] = x.upper;
  PressRange[2] = y.lower;
  PressRange[3] = y.upper;
  emit MouseDown(event);
}

namespace {

// The range [low, high] moved by a drag of `pixels` over an axis `length` pixels long.
QCPRange DraggedRange(double low, double high, double pixels, double length, bool logarithmic) {
  if (length <= 0) return QCPRange(low, high);
  if (logarithmic && low > 0 && high > 0) {
    const double factor = std::pow(high / low, pixels / length);
    return QCPRange(low * factor, high * factor);
  }
  const double shift = (high - low) * pixels / length;
  return QCPRange(low + shift, high + shift);
}

}  // namespace

void TChart::MoveEvent(QMouseEvent* event) {
  if (PressButton == Qt::RightButton && (event->buttons() & Qt::RightButton)) {
    const QPoint offset = event->pos() - PressPos;
    if (!Dragged && offset.manhattanLength() < QApplication::startDragDistance()) return;
    Dragged = true;
    // The offset from the press, not from the last move, so that rounding cannot drift.
    const QRect area = Plot->axisRect()->rect();
    const QCPRange x = DraggedRange(PressRange[0], PressRange[1], -offset.x(), area.width(),
                                 BottomAxis().Logarithmic());
    const QCPRange y = DraggedRange(PressRange[2], PressRange[3], offset.y(), area.height(),
                                 LeftAxis().Logarithmic());
    BottomAxis().Zoom(x.lower, x.upper);
    LeftAxis().Zoom(y.lower, y.upper);
    ApplyRanges();
    emit ChartScroll();
    return;
  }
  if (PressButton != Qt::NoButton && (event->pos() - PressPos).manhattanLength() >=
                                         QApplication::startDragDistance())
    Dragged = true;
  emit MouseMove(event);
}

void TChart::ReleaseEvent(QMouseEvent* event) {
  const bool click = !Dragged && event->button() == PressButton;
  PressButton = Qt::NoButton;
  Dragged = false;
  if (click) {
    int index = -1;
    TLineSeries* series = HitSeries(event->pos(), index);
    if (series) {
      emit ClickSeries(series, index, event);
    } else {
      TChartAxis* axis = nullptr;
      for (auto& each : Axes) {
        const double distance = each->Axis()->selectTest(event->pos(), false);
        if (each->Visible() && distance >= 0 && distance < Plot->selectionTolerance())
          axis = each.get();
      }
      if (axis)
        emit ClickAxis(axis, event);
      else
        emit ClickBackground(event);
    }
  }
  emit MouseUp(event);
}

TLineSeries* TChart::HitSeries(const QPoint& position, int& index) const {
  // Points on the frame's edge count too: an automatic X axis ends on the last point.
  const double tolerance = Plot->selectionTolerance();
  const int margin = static_cast<int>(tolerance);
  if (!Plot->axisRect()->rect().adjusted(-margin, -margin, margin, margin).contains(position))
    return nullptr;
  TLineSeries* hit = nullptr;
  double best = tolerance;
  // The last series drawn lies on top: on a tie it wins.
  for (const auto& series : Series) {
    QVariant details;
    const double distance = series->Curve()->selectTest(position, false, &details);
    if (distance < 0 || distance > best) continue;
    const QCPDataSelection selection = details.value<QCPDataSelection>();
    if (selection.isEmpty()) continue;
    best = distance;
    hit = series.get();
    index = selection.dataRange().begin();
  }
  return hit;
}

void TChart::Assign(const TChart& other) {
  SetTitle(other.TitleLines);
  SetTitleFont(other.TitleFont());
  SetTitleAlignment(other.TitleAlign);
  SetLegendVisible(other.LegendVisible());
  for (int i = 0; i < 4; ++i) Axes[i]->Assign(*other.Axes[i]);
}

void TChart::Paint(QCPPainter& painter, const QSize& size) {
  ApplyRanges();
  Plot->toPainter(&painter, size.width(), size.height());
}

bool TChart::Print(QPrinter& printer) {
  QCPPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setMode(QCPPainter::pmVectorized);
  painter.setMode(QCPPainter::pmNoCaching);
  // The chart as on screen, scaled to fill the page's width or height.
  const QSize size = Plot->size();
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double scale = std::min(page.width() / std::max(1, size.width()),
                                page.height() / std::max(1, size.height()));
  painter.scale(scale, scale);
  Paint(painter, size);
  return painter.end();
}

bool TChart::SaveToBitmapFile(const QString& path) {
  ApplyRanges();
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return Plot->savePng(path);
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return Plot->saveJpg(path);
  return Plot->saveBmp(path);
}

QByteArray TChart::ToSvg() {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  const QSize size = Plot->size();
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(TitleLines.join(QLatin1Char(' ')));
  QCPPainter painter;
  if (!painter.begin(&generator)) return {};
  painter.setMode(QCPPainter::pmVectorized);
  painter.setMode(QCPPainter::pmNoCaching);
  Paint(painter, size);
  painter.end();
  return buffer.data();
}

bool TChart::SaveToSvgFile(const QString& path) {
  const QByteArray svg = ToSvg();
  QFile file(path);
  if (svg.isEmpty() || !file.open(QIODevice::WriteOnly)) return false;
  return file.write(svg) == svg.size() && file.flush();
}

void TChart::CopyToClipboardBitmap() {
  ApplyRanges();
  QApplication::clipboard()->setPixmap(Plot->toPixmap());
}

void TChart::CopyToClipboardMetafile(bool) {
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/svg+xml"), ToSvg());
  QApplication::clipboard()->setMimeData(data);
}

QWidget* TChart::PlotWidget() const { return Plot; }
