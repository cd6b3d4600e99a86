// The chart of the graph window: line series on four axes with titles and a legend,
// zoom by mouse drag and scroll by right-button drag, clicks reported on series, axes
// and background, and the chart as picture, SVG or print. It draws what it is given:
// the window hands each series only the points its view needs.
#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

#include "outputs/ui/chart_axis.h"
#include "outputs/ui/line_series.h"

class QMouseEvent;
class QPrinter;
class TChartPlot;

class TChart : public QWidget {
  Q_OBJECT

public:
  explicit TChart(QWidget* parent = nullptr);
  ~TChart() override;

  // The series, in the order the graph numbers its channels. Each new series takes the
  // palette colour of its position.
  TLineSeries* AddSeries();
  // Removes and deletes the series at the position.
  void RemoveSeries(int position);
  void RemoveAllSeries();
  int SeriesCount() const { return static_cast<int>(Series.size()); }
  TLineSeries* GetSeries(int position) const;
  int IndexOf(const TLineSeries* series) const;

  // The title lines above the chart (none: no title).
  const QStringList& Title() const { return TitleLines; }
  void SetTitle(const QStringList& lines);
  QFont TitleFont() const;
  void SetTitleFont(const QFont& font);
  Qt::Alignment TitleAlignment() const { return TitleAlign; }
  void SetTitleAlignment(Qt::Alignment alignment);
  bool LegendVisible() const;
  void SetLegendVisible(bool visible);

  TChartAxis& BottomAxis() { return *Axes[0]; }
  TChartAxis& LeftAxis() { return *Axes[1]; }
  TChartAxis& TopAxis() { return *Axes[2]; }
  TChartAxis& RightAxis() { return *Axes[3]; }

  // Repaints on the next pass of the event loop (many calls, one repaint).
  void Repaint();
  // Repaints now.
  void RepaintNow();
  // Applies the axes' ranges and lays the chart out: the rectangle in which series are
  // drawn, whose width is the number of pixel columns a view has.
  QRect PlotRect();

  // While allowed, a left drag zooms to the rectangle dragged (leftwards: undoes the
  // zoom) and reports ChartZoom.
  bool AllowZoom() const { return ZoomAllowed; }
  void SetAllowZoom(bool allow);
  // Back to the ranges of the axes' settings.
  void UndoZoom();
  bool IsZoomed() const;

  // Takes another chart's titles, legend and axes (not its series).
  void Assign(const TChart& other);
  // The chart on the printer's page; false when the printer cannot paint.
  bool Print(QPrinter& printer);
  // The chart as a bitmap (the format by the suffix: .bmp, .png, .jpg) or as SVG, at its
  // size on screen; false when the file cannot be written.
  bool SaveToBitmapFile(const QString& path);
  bool SaveToSvgFile(const QString& path);
  QByteArray ToSvg();
  void CopyToClipboardBitmap();
  // The metafile of the clipboard is SVG here, enhanced or not.
  void CopyToClipboardMetafile(bool enhanced);

  // The plot widget the chart draws with (tests, pictures).
  QWidget* PlotWidget() const;

signals:
  // A zoom drag finished (or a leftward drag undid the zoom).
  void ChartZoom();
  // The view moved under a right-button drag.
  void ChartScroll();
  // A click without a drag: on a point of a series (its index among the points the series
  // draws), on an axis, or on the background.
  void ClickSeries(TLineSeries* series, int index, QMouseEvent* event);
  void ClickAxis(TChartAxis* axis, QMouseEvent* event);
  void ClickBackground(QMouseEvent* event);
  void MouseDown(QMouseEvent* event);
  void MouseMove(QMouseEvent* event);
  void MouseUp(QMouseEvent* event);
  // The chart changed size: views depend on its width.
  void Resized();

private:
  void PressEvent(QMouseEvent* event);
  void MoveEvent(QMouseEvent* event);
  void ReleaseEvent(QMouseEvent* event);
  void ZoomTo(const QRect& rect);
  // The series with a point or line nearest the position, within a few pixels, and the
  // index of its point nearest there.
  TLineSeries* HitSeries(const QPoint& position, int& index) const;
  void ApplyRanges();
  void UpdateTitle();
  void Paint(class QCPPainter& painter, const QSize& size);

  TChartPlot* Plot;
  std::unique_ptr<TChartAxis> Axes[4];
  std::vector<std::unique_ptr<TLineSeries>> Series;
  QStringList TitleLines;
  class QCPTextElement* TitleElement = nullptr;
  Qt::Alignment TitleAlign = Qt::AlignHCenter;
  bool ZoomAllowed = false;
  // The press of the mouse: where, which button, the ranges then, and whether it moved
  // far enough to be a drag.
  QPoint PressPos;
  Qt::MouseButton PressButton = Qt::NoButton;
  double PressRange[4] = {0, 0, 0, 0};
  bool Dragged = false;
};
