// The window of the graph: the output's channels and data series drawn on one chart,
// with zoom, scrolling, active scrolling of the x-axis during a run, the value of a
// clicked point and the mouse position. The form in the core holds every point; the
// window hands the chart only what the form's query answers for the view.
#pragma once

#include <QRect>
#include <QTimer>

#include <cstdint>
#include <vector>

#include "outputs/draw_point.h"
#include "outputs/graph_text.h"
#include "outputs/ui/output_window.h"
#include "outputs/ui/series_extent.h"

class QAction;
class QLabel;
class QFrame;
class QMenu;
class QMouseEvent;
class QToolBar;
class TChart;
class TChartAxis;
class TGraphAttributesForm;
class TGraphForm;
class TGraphTitlesForm;
class TLineSeries;
class TPlotAttributesForm;

class TGraphWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TGraphWindow(TGraphForm& form);
  ~TGraphWindow() override;

  TChart& Chart() const { return *Pchart; }

  // The tool bar and menu handlers.
  void ClearClick() override;
  void RefreshGraphClick();
  void LegendClick();
  void ActiveScrollingClick();
  void ScrollButtonClick();
  void ZoomInButtonClick();
  void ZoomOutButtonClick();
  void CursorButtonClick();
  void AutoScaleXClick();
  void AutoScaleYClick();
  void DeleteSeriesClick();
  // Zoom mode: the next left drag on the chart zooms.
  bool InZoomMode() const;

  // The chart's reports.
  void ChartZoom();
  void ChartScroll();
  void ChartClickSeries(TLineSeries* series, int index, QMouseEvent* event);
  void ChartClickAxis(TChartAxis* axis, QMouseEvent* event);
  void ChartClickBackground(QMouseEvent* event);
  void ChartMouseMove(QMouseEvent* event);

  // The pop-up menu as a right click on a series (its position) or on an axis prepares
  // it; answers whether it has anything to show.
  bool PrepareSeriesPopup(int series);
  bool PrepareAxesPopup();
  QMenu* PopupMenu() const { return GraphPopupMenu; }

  // Shows the point of a series (its index in the form's series) in the value panel at
  // the position in the chart, for ValueTimer's 3000 ms.
  void ShowPointValue(int series, int index, const QPoint& position);
  void HideValuePanel();

  // "Save As Type", "Copy To Clipboard" and "Print" (graph_window_exports.cpp).
  void CommaDelimitedClick();
  void TabDelimitedClick();
  // The chart as a picture file: PNG, BMP, JPEG, PDF or SVG by the name's suffix; a name
  // without one takes the chosen filter's.
  void GraphicClick();
  void TextClipClick();
  void BitmapClipClick();
  void SvgClipClick();
  void PrintClick();
  // Copy mode: the next left drag on the chart draws a band whose X range is copied.
  void CopyButtonClick();
  bool InCopyMode() const;
  void ChartMouseDown(QMouseEvent* event);
  void ChartMouseUp(QMouseEvent* event);
  static const char* const PictureFilter;

  // The dialogs (graph_window_dialogs.cpp), made on first use and kept.
  void GraphTitlesClick();
  void GraphAttributesClick();
  void PlotAttributesClick();
  // The pop-up's "Edit": the plot attributes of the series right-clicked.
  void EditSeriesPropertiesClick();
  TGraphTitlesForm& GraphTitlesForm();
  TGraphAttributesForm& GraphAttributesForm();
  TPlotAttributesForm& PlotAttributesForm();

  // How many redraws handed the chart points (tests and measurements).
  int DrawCount() const { return Draws; }
  static constexpr int ValueTimerMs = 3000;

protected:
  void Refresh() override;
  void AfterOffLine() override;
  void changeEvent(QEvent* event) override;

private:
  void BuildToolBar();
  void BuildMenus();
  void BuildPanels();
  // The chart takes the form's titles, legend, axes and series settings.
  void SyncChart();
  // Each series gets the points the form answers for the chart's current view.
  void DrawSeries();
  // Draws again: the settings too when asked, or when the form changed since.
  void Redraw(bool settings);
  void UpdateButtons();
  // Ends zoom mode (the cursor button down again).
  void EndZoomMode();
  // Active scrolling goes off when it is on during a run (zoom, scroll, X autoscale).
  void StopActiveScrollingInRun();
  bool SavePicture(const QString& path);
  // Offers the ranges in the copy dialog, every one chosen at once, and puts the text of
  // the chosen ones on the clipboard.
  void CopyRanges(const std::vector<TCopyObject>& ranges);
  void EndCopyMode();
  void DrawBand();
  void BandMove(QMouseEvent* event);
  void EditPlotAttributes(int series);
  // The index in the form's series of the point the chart draws at position `drawn`.
  std::int32_t FormIndexOf(int series, int drawn) const;

  TGraphForm& Kind;
  TChart* Pchart = nullptr;
  QWidget* GraphPanel = nullptr;
  QToolBar* GraphToolBar = nullptr;
  QAction* SaveButton = nullptr;
  QAction* PasteButton = nullptr;
  QAction* PrintButton = nullptr;
  QAction* CursorButton = nullptr;
  QAction* CopyButton = nullptr;
  QAction* ZoomInButton = nullptr;
  QAction* ZoomOutButton = nullptr;
  QAction* ScrollButton = nullptr;
  QAction* AutoScaleX = nullptr;
  QAction* AutoScaleY = nullptr;
  QAction* HelpButton = nullptr;
  QFrame* ValuePanel = nullptr;
  QLabel* ValueLabel = nullptr;
  QLabel* SeriesNameLabel = nullptr;
  QLabel* PointLabel = nullptr;
  QLabel* PositionPanel = nullptr;
  QLabel* ModePanel = nullptr;
  QTimer ValueTimer;
  QMenu* GraphPopupMenu = nullptr;
  QAction* DeleteItem = nullptr;
  QAction* EditItem = nullptr;
  QAction* EditLabelsItem = nullptr;
  QAction* EditRangeItem = nullptr;
  QAction* ActiveScrollingItem = nullptr;
  QAction* LegendItem = nullptr;
  int PopupSeries = -1;
  // The copy band: its edges in the chart's pixels (the right one NotDrawn before the
  // first move), whether the mouse is dragging it and has moved.
  static constexpr int NotDrawn = -32000;
  int BandLeft = 0;
  int BandRight = NotDrawn;
  bool Dragging = false;
  bool BandMoved = false;
  QFrame* BandLines[2] = {nullptr, nullptr};
  TGraphTitlesForm* TitlesDialog = nullptr;
  TGraphAttributesForm* AttributesDialog = nullptr;
  TPlotAttributesForm* PlotDialog = nullptr;
  std::vector<TSeriesExtent> Extents;
  std::vector<TDrawPoint> Points;
  QRect PlotArea;  // where the chart drew the series last
  std::uint64_t DrawnGeneration = ~std::uint64_t{0};
  int Draws = 0;
};
