#include "outputs/ui/graph_window.h"

#include <QActionGroup>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/graph_form.h"
#include "outputs/ui/active_scrolling_dialog.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/chart_value_format.h"
#include "outputs/ui/mat_export_dialog.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/icons.h"
#include "shell/ui/user_dialogs.h"

namespace {

// A colour value of the form (0x00BBGGRR) for the series at a position; the automatic
// colour, and system colours, take the chart's palette.
QColor ColorOf(std::int32_t value, int position) {
  if (value == AutoColor || (static_cast<std::uint32_t>(value) & 0xFF000000u) != 0)
    return ChartPaletteColor(position);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TGraphWindow::TGraphWindow(TGraphForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Graph");
  // F1 opens the graph's own topic.
  setProperty("helpContext", 32);
  resize(793, 554);
  BuildPanels();
  BuildToolBar();
  BuildMenus();
  ValueTimer.setSingleShot(true);
  ValueTimer.setInterval(ValueTimerMs);
  connect(&ValueTimer, &QTimer::timeout, this, &TGraphWindow::HideValuePanel);
  UpdateButtons();
}

TGraphWindow::~TGraphWindow() = default;

void TGraphWindow::BuildPanels() {
  auto* layout = new QVBoxLayout(OutPanel());
  layout->setContentsMargins(0, 0, 0, 0);
  GraphPanel = new QWidget(OutPanel());
  GraphPanel->setObjectName("GraphPanel");
  layout->addWidget(GraphPanel);
  auto* panelLayout = new QVBoxLayout(GraphPanel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  Pchart = new TChart(GraphPanel);
  Pchart->setObjectName("Pchart");
  panelLayout->addWidget(Pchart);
  Pchart->SetAllowZoom(false);

  // The value of a clicked point, over the chart.
  ValuePanel = new QFrame(GraphPanel);
  ValuePanel->setObjectName("ValuePanel");
  ValuePanel->setFrameShape(QFrame::Box);
  ValuePanel->setAutoFillBackground(true);
  ValuePanel->setBackgroundRole(QPalette::ToolTipBase);
  ValuePanel->setForegroundRole(QPalette::ToolTipText);
  auto* valueLayout = new QVBoxLayout(ValuePanel);
  valueLayout->setContentsMargins(6, 4, 6, 4);
  valueLayout->setSpacing(2);
  for (auto [label, name] : {std::pair{&ValueLabel, "ValueLabel"},
                             std::pair{&SeriesNameLabel, "SeriesNameLabel"},
                             std::pair{&PointLabel, "PointLabel"}}) {
    *label = new QLabel(ValuePanel);
    (*label)->setObjectName(name);
    (*label)->setForegroundRole(QPalette::ToolTipText);
    valueLayout->addWidget(*label);
  }
  ValuePanel->hide();

  statusBar()->setObjectName("GraphStatusBar");
  PositionPanel = new QLabel(statusBar());
  PositionPanel->setObjectName("PositionPanel");
  PositionPanel->setMinimumWidth(150);
  ModePanel = new QLabel(statusBar());
  ModePanel->setObjectName("ModePanel");
  ModePanel->setMinimumWidth(50);
  statusBar()->addWidget(PositionPanel);
  statusBar()->addWidget(ModePanel);

  connect(Pchart, &TChart::ChartZoom, this, &TGraphWindow::ChartZoom);
  connect(Pchart, &TChart::ChartScroll, this, &TGraphWindow::ChartScroll);
  connect(Pchart, &TChart::ClickSeries, this, &TGraphWindow::ChartClickSeries);
  connect(Pchart, &TChart::ClickAxis, this, &TGraphWindow::ChartClickAxis);
  connect(Pchart, &TChart::ClickBackground, this, &TGraphWindow::ChartClickBackground);
  connect(Pchart, &TChart::MouseMove, this, &TGraphWindow::ChartMouseMove);
  connect(Pchart, &TChart::MouseDown, this, &TGraphWindow::ChartMouseDown);
  connect(Pchart, &TChart::MouseUp, this, &TGraphWindow::ChartMouseUp);
  connect(Pchart, &TChart::Resized, this, [this] {
    if (Form()) Redraw(false);
  });
}

void TGraphWindow::BuildToolBar() {
  GraphToolBar = addToolBar("Graph");
  GraphToolBar->setObjectName("GraphToolBar");
  GraphToolBar->setMovable(false);
  GraphToolBar->setIconSize(QSize(22, 22));
  auto button = [this](const char* name, const QIcon& icon, const char* hint) {
    QAction* action = GraphToolBar->addAction(icon, hint);
    action->setObjectName(name);
    action->setToolTip(hint);
    return action;
  };
  SaveButton = button("SaveButton", ThemedIcon("document-save", "save"), "Save Graph");
  PasteButton = button("PasteButton", ThemedIcon("edit-paste", "paste"), "Paste");
  PrintButton = button("PrintButton", ThemedIcon("document-print", "print"), "Print Graph");
  GraphToolBar->addSeparator();
  CursorButton = button("CursorButton", QorvIcon("graph-cursor"), "Abort copy or zoom");
  CopyButton = button("CopyButton", QorvIcon("graph-select-data"), "Select Data To Copy");
  ZoomInButton = button("ZoomInButton", ThemedIcon("zoom-in", "zoom-in"), "Zoom In");
  ZoomOutButton = button("ZoomOutButton", ThemedIcon("zoom-out", "zoom-out"), "Zoom Out");
  GraphToolBar->addSeparator();
  ScrollButton = button("ScrollButton", QorvIcon("graph-scroll-off"), "Enable Active Scrolling");
  AutoScaleX = button("AutoScaleX", QorvIcon("autoscale-x"), "Autoscale X Axis");
  AutoScaleY = button("AutoScaleY", QorvIcon("autoscale-y"), "Autoscale Y Axis");
  GraphToolBar->addSeparator();
  HelpButton = button("HelpButton", ThemedIcon("help-contents", "help"), "Help");

  // The mouse is in one mode at a time: cursor (at start), copy or zoom.
  auto* modes = new QActionGroup(this);
  for (QAction* mode : {CursorButton, CopyButton, ZoomInButton}) {
    mode->setCheckable(true);
    modes->addAction(mode);
  }
  CursorButton->setChecked(true);
  // The paste control follows the clipboard; the help wiring enables Help.
  SetPasteControl(PasteButton);
  HelpButton->setProperty("helpContext", 32);
  HelpButton->setEnabled(false);
  ZoomOutButton->setEnabled(false);
  ScrollButton->setEnabled(false);

  connect(SaveButton, &QAction::triggered, this, &TGraphWindow::SaveClick);
  connect(PrintButton, &QAction::triggered, this, &TGraphWindow::PrintClick);
  connect(CursorButton, &QAction::triggered, this, &TGraphWindow::CursorButtonClick);
  connect(CopyButton, &QAction::triggered, this, &TGraphWindow::CopyButtonClick);
  connect(ZoomInButton, &QAction::triggered, this, &TGraphWindow::ZoomInButtonClick);
  connect(ZoomOutButton, &QAction::triggered, this, &TGraphWindow::ZoomOutButtonClick);
  connect(ScrollButton, &QAction::triggered, this, &TGraphWindow::ScrollButtonClick);
  connect(AutoScaleX, &QAction::triggered, this, &TGraphWindow::AutoScaleXClick);
  connect(AutoScaleY, &QAction::triggered, this, &TGraphWindow::AutoScaleYClick);
}

void TGraphWindow::BuildMenus() {
  auto item = [](QMenu* menu, const char* name, const char* text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
  };
  // "&Output": the exports after Save As, the clipboard's kinds, printing and Refresh.
  auto* saveAsType = new QMenu("Save As &Type", this);
  saveAsType->menuAction()->setObjectName("SaveAsType");
  connect(item(saveAsType, "CommaDelimited", "&Comma Delimited Text"), &QAction::triggered, this,
          &TGraphWindow::CommaDelimitedClick);
  connect(item(saveAsType, "TabDelimited", "&Tab Delimited Text"), &QAction::triggered, this,
          &TGraphWindow::TabDelimitedClick);
  connect(item(saveAsType, "MatLab", "&MATLAB File"), &QAction::triggered, this,
          [this] { MatLabClick(this, Kind); });
  connect(item(saveAsType, "Graphic", "&Graphic"), &QAction::triggered, this,
          &TGraphWindow::GraphicClick);
  OutputMenu()->insertMenu(CopyToClipboardItem, saveAsType);
  auto* clipboard = new QMenu("&Copy To Clipboard", this);
  connect(item(clipboard, "TextClip", "&Text"), &QAction::triggered, this, &TGraphWindow::TextClipClick);
  connect(item(clipboard, "BitmapClip", "&Bitmap"), &QAction::triggered, this,
          &TGraphWindow::BitmapClipClick);
  connect(item(clipboard, "SvgClip", "&SVG"), &QAction::triggered, this, &TGraphWindow::SvgClipClick);
  CopyToClipboardItem->setMenu(clipboard);
  CopyToClipboardItem->setEnabled(true);
  OutputMenu()->addSeparator();
  connect(item(OutputMenu(), "Print", "&Print"), &QAction::triggered, this, &TGraphWindow::PrintClick);
  QAction* refresh = item(OutputMenu(), "RefreshGraph", "&Refresh");
  connect(refresh, &QAction::triggered, this, &TGraphWindow::RefreshGraphClick);

  // "Graph": the titles and attribute dialogs.
  connect(item(SpecificMenu(), "GraphTitles", "Graph &Titles"), &QAction::triggered, this,
          &TGraphWindow::GraphTitlesClick);
  connect(item(SpecificMenu(), "GraphAttributes", "Graph &Attributes"), &QAction::triggered, this,
          &TGraphWindow::GraphAttributesClick);
  connect(item(SpecificMenu(), "PlotAttributes", "&Plot Attributes"), &QAction::triggered, this,
          &TGraphWindow::PlotAttributesClick);
  ActiveScrollingItem = item(SpecificMenu(), "ActiveScrolling", "Active &Scrolling");
  ActiveScrollingItem->setCheckable(true);
  LegendItem = item(SpecificMenu(), "Legend", "Showing &Legend");
  LegendItem->setCheckable(true);
  connect(ActiveScrollingItem, &QAction::triggered, this, &TGraphWindow::ActiveScrollingClick);
  connect(LegendItem, &QAction::triggered, this, &TGraphWindow::LegendClick);
  QAction* graphHelp = item(HelpMenu(), "GraphHelp", "&Graph Help");
  graphHelp->setProperty("helpContext", 32);
  graphHelp->setEnabled(false);  // the help wiring enables it

  // The pop-up of a right click on a series ("Delete", "Edit") or an axis ("Edit
  // Labels", "Edit Range").
  GraphPopupMenu = new QMenu(this);
  GraphPopupMenu->setObjectName("GraphPopupMenu");
  DeleteItem = item(GraphPopupMenu, "DeleteSeries", "Delete");
  EditItem = item(GraphPopupMenu, "EditSeries", "Edit");
  EditLabelsItem = item(GraphPopupMenu, "EditLabels", "Edit Labels");
  EditRangeItem = item(GraphPopupMenu, "EditRange", "Edit Range");
  connect(DeleteItem, &QAction::triggered, this, &TGraphWindow::DeleteSeriesClick);
  connect(EditItem, &QAction::triggered, this, &TGraphWindow::EditSeriesPropertiesClick);
  connect(EditLabelsItem, &QAction::triggered, this, &TGraphWindow::GraphTitlesClick);
  connect(EditRangeItem, &QAction::triggered, this, &TGraphWindow::GraphAttributesClick);
}

void TGraphWindow::Refresh() {
  // The pacing calls this when the form changed; nothing moved, nothing to draw.
  if (Kind.GetGeneration() == DrawnGeneration) {
    UpdateButtons();
    return;
  }
  Redraw(true);
}

void TGraphWindow::Redraw(bool settings) {
  if (!Form()) return;
  if (settings || Kind.GetGeneration() != DrawnGeneration ||
      Pchart->SeriesCount() != Kind.SeriesCount())
    SyncChart();
  DrawSeries();
  UpdateButtons();
}

void TGraphWindow::SyncChart() {
  const TChartSettings& settings = Kind.Chart();
  QStringList title;
  for (const std::string& line : settings.Title) title << Text(line);
  Pchart->SetTitle(title);
  Pchart->SetLegendVisible(settings.LegendVisible);
  Pchart->BottomAxis().SetTitleCaption(Text(settings.BottomAxisTitle));
  Pchart->LeftAxis().SetTitleCaption(Text(settings.LeftAxisTitle));
  const QString format = Text(Kind.GetAxisValuesFormat());
  for (TChartAxis* axis :
       {&Pchart->BottomAxis(), &Pchart->LeftAxis(), &Pchart->TopAxis(), &Pchart->RightAxis()})
    axis->SetValuesFormat(format);
  const std::pair<const TGraphAxis*, TChartAxis*> axes[] = {
      {&Kind.BottomAxis(), &Pchart->BottomAxis()}, {&Kind.LeftAxis(), &Pchart->LeftAxis()}};
  for (auto [in, out] : axes) {
    // An axis with one automatic end (set in its attributes) keeps it while fixed.
    if (in->Automatic || out->Automatic()) out->SetAutomatic(in->Automatic);
    out->SetMinMax(in->Minimum, in->Maximum);
  }
  // A run that scrolls actively shows the newest points, whatever zoom was left from
  // before it (a zoom during the run switches scrolling off).
  const TXAxisScroll* scroll = Kind.GetXAxisScroll();
  if (scroll && scroll->Active && scroll->IsSet() && IsRunActive())
    Pchart->BottomAxis().UndoZoom();

  while (Pchart->SeriesCount() > Kind.SeriesCount()) Pchart->RemoveSeries(Pchart->SeriesCount() - 1);
  while (Pchart->SeriesCount() < Kind.SeriesCount()) Pchart->AddSeries();
  Extents.assign(static_cast<std::size_t>(Kind.SeriesCount()), TSeriesExtent());
  for (std::int32_t s = 0; s < Kind.SeriesCount(); ++s) {
    const TGraphSeries& in = Kind.GetSeries(s);
    TLineSeries* out = Pchart->GetSeries(s);
    out->SetTitle(Text(in.Name));
    out->SetXValuesName(Text(in.XName));
    out->SetYValuesName(Text(in.YName));
    // The number format is the axes'; a point's value text keeps the series' own format.
    out->SetValueFormat(QString::fromLatin1(SeriesValueFormat));
    out->SetSeriesColor(ColorOf(in.Color, s));
    out->SetLinePen(in.LineVisible, in.LineStyle, in.LineWidth);
    TSeriesPointer pointer;
    pointer.Visible = in.PointerVisible;
    pointer.Style = in.PointerStyle;
    if (in.PointerColor != AutoColor) pointer.Color = ColorOf(in.PointerColor, s);
    pointer.HorizSize = in.PointerWidth;
    pointer.VertSize = in.PointerHeight;
    out->SetPointer(pointer);
    out->SetColorEachPoint(in.ColorEachPoint);
    Extents[static_cast<std::size_t>(s)] = SeriesExtent(in);
  }
}

void TGraphWindow::DrawSeries() {
  // The extents first: automatic axes fit the whole series, not the points drawn.
  const double infinity = std::numeric_limits<double>::infinity();
  auto setExtent = [&](int s) {
    const TSeriesExtent& e = Extents[static_cast<std::size_t>(s)];
    if (e.Any)
      Pchart->GetSeries(s)->SetValueExtent(e.MinX, e.MaxX, e.MinY, e.MaxY);
    else
      Pchart->GetSeries(s)->SetValueExtent(infinity, -infinity, infinity, -infinity);
  };
  for (int s = 0; s < Pchart->SeriesCount(); ++s) setExtent(s);
  PlotArea = Pchart->PlotRect();
  const double xMin = Pchart->BottomAxis().Minimum();
  const double xMax = Pchart->BottomAxis().Maximum();
  const std::int32_t columns = std::max(1, PlotArea.width());
  for (int s = 0; s < Pchart->SeriesCount(); ++s) {
    Kind.PointsToDraw(s, xMin, xMax, columns, Points);
    TLineSeries* series = Pchart->GetSeries(s);
    series->Clear();
    for (const TDrawPoint& point : Points) series->AddXY(point.X, point.Y);
    setExtent(s);
  }
  Pchart->Repaint();
  DrawnGeneration = Kind.GetGeneration();
  ++Draws;
}

void TGraphWindow::UpdateButtons() {
  if (!Form()) return;
  TXAxisScroll* scroll = Kind.GetXAxisScroll();
  const bool following = Kind.IsLive() && scroll && scroll->IsSet();
  const bool on = following && scroll->Active;
  ScrollButton->setEnabled(following);
  ScrollButton->setIcon(QorvIcon(on ? "graph-scroll-on" : "graph-scroll-off"));
  ScrollButton->setToolTip(!following ? "Enable Active Scrolling"
                           : on       ? "Turn off Active Scrolling"
                                      : "Turn on Active Scrolling");
  ActiveScrollingItem->setEnabled(Kind.IsLive() && scroll);
  ActiveScrollingItem->setChecked(following);
  LegendItem->setChecked(Kind.Chart().LegendVisible);
  ZoomOutButton->setEnabled(Pchart->IsZoomed());
  ModePanel->setText(InZoomMode() ? "Zoom" : InCopyMode() ? "Copy" : "");
}

void TGraphWindow::AfterOffLine() {
  // A detached window scrolls no more.
  UpdateButtons();
}

void TGraphWindow::changeEvent(QEvent* event) {
  TOutputWindow::changeEvent(event);
  // Coming back to the window ends a zoom that was started and left.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    if (InZoomMode()) EndZoomMode();
    if (InCopyMode() && !Dragging) EndCopyMode();
  }
}

bool TGraphWindow::InZoomMode() const { return ZoomInButton->isChecked(); }

void TGraphWindow::StopActiveScrollingInRun() {
  TXAxisScroll* scroll = Form() ? Kind.GetXAxisScroll() : nullptr;
  if (scroll && scroll->Active && IsRunActive()) {
    scroll->Active = false;
    UpdateButtons();
  }
}

void TGraphWindow::ZoomInButtonClick() {
  if (!Form()) return;
  StopActiveScrollingInRun();
  HideValuePanel();
  Pchart->SetAllowZoom(true);
  ZoomInButton->setChecked(true);
  Pchart->PlotWidget()->setCursor(Qt::PointingHandCursor);
  UpdateButtons();
}

void TGraphWindow::EndZoomMode() {
  Pchart->SetAllowZoom(false);
  CursorButton->setChecked(true);
  Pchart->PlotWidget()->unsetCursor();
  UpdateButtons();
}

void TGraphWindow::CursorButtonClick() {
  EndCopyMode();
  EndZoomMode();
}

void TGraphWindow::ChartZoom() {
  if (!Form()) return;
  // One drag, one zoom.
  EndZoomMode();
  Redraw(false);
}

void TGraphWindow::ZoomOutButtonClick() {
  if (!Form()) return;
  Pchart->UndoZoom();
  Redraw(false);
}

void TGraphWindow::ChartScroll() {
  if (!Form()) return;
  StopActiveScrollingInRun();
  Redraw(false);
}

void TGraphWindow::AutoScaleXClick() {
  if (!Form()) return;
  StopActiveScrollingInRun();
  Kind.BottomAxis().Automatic = true;
  Pchart->BottomAxis().UndoZoom();
  Redraw(true);
}

void TGraphWindow::AutoScaleYClick() {
  if (!Form()) return;
  Kind.LeftAxis().Automatic = true;
  Pchart->LeftAxis().UndoZoom();
  Redraw(true);
}

void TGraphWindow::ScrollButtonClick() {
  if (!Form()) return;
  TXAxisScroll* scroll = Kind.GetXAxisScroll();
  if (!Kind.IsLive() || !scroll || !scroll->IsSet()) return;
  scroll->Active = !scroll->Active;
  UpdateButtons();
}

void TGraphWindow::ActiveScrollingClick() {
  if (!Form()) return;
  if (ConfigureXAxisScroll(Kind, this)) UiPort().ExperimentChanged(1, 0);
  UpdateButtons();
}

void TGraphWindow::LegendClick() {
  if (!Form()) return;
  Kind.Chart().LegendVisible = !Kind.Chart().LegendVisible;
  Redraw(true);
}

void TGraphWindow::RefreshGraphClick() { Redraw(true); }

void TGraphWindow::ClearClick() {
  if (!Form() || IsRunActive()) return;
  const TMessageButton answer = UserDialogs().Message(
      this, QuestionBoxOf("Warning, you will lose all your data if you press yes!\r"
                          "Do you wish to continue?",
                          "Qorv Warning", TMessageKind::Warning, mbYes | mbNo, mbNo));
  if (answer != mbYes) return;
  HideValuePanel();
  // A live window keeps its channels' series, emptied; a detached one keeps nothing.
  if (Kind.IsLive()) Kind.ClearOutput();
  while (Kind.SeriesCount() > Kind.NumberOfActiveSeries()) Kind.DeleteSeries(Kind.SeriesCount() - 1);
  Redraw(true);
}

bool TGraphWindow::PrepareSeriesPopup(int series) {
  PopupSeries = series;
  DeleteItem->setVisible(true);
  EditItem->setVisible(true);
  EditLabelsItem->setVisible(false);
  EditRangeItem->setVisible(false);
  // Only data series can go: the channels belong to the output.
  DeleteItem->setEnabled(series >= Kind.NumberOfActiveSeries() && series < Kind.SeriesCount());
  return true;
}

bool TGraphWindow::PrepareAxesPopup() {
  PopupSeries = -1;
  DeleteItem->setVisible(false);
  EditItem->setVisible(false);
  EditLabelsItem->setVisible(true);
  EditRangeItem->setVisible(true);
  return true;
}

void TGraphWindow::DeleteSeriesClick() {
  if (!Form()) return;
  const int s = PopupSeries;
  if (s < Kind.NumberOfActiveSeries() || s >= Kind.SeriesCount()) return;
  const std::string title = Kind.GetSeries(s).Name;
  const TMessageButton answer = UserDialogs().Message(
      this, QuestionBoxOf("You are about to delete " + title + ".\r" +
                              "Do you really want to do this?",
                          "Graph message", TMessageKind::Warning, mbYes | mbNo, mbNo));
  if (answer != mbYes) return;
  PopupSeries = -1;
  HideValuePanel();
  Kind.DeleteSeries(s);
  Redraw(true);
}

std::int32_t TGraphWindow::FormIndexOf(int series, int drawn) const {
  const TLineSeries* out = Pchart->GetSeries(series);
  if (!out || drawn < 0 || drawn >= out->Count() || series >= Kind.SeriesCount()) return -1;
  // Each point drawn is one of the form's: the first one with its X and Y.
  const double x = out->GetxValue(drawn), y = out->GetyValue(drawn);
  const TGraphSeries& in = Kind.GetSeries(series);
  for (std::size_t i = 0; i < in.X.size() && i < in.Y.size(); ++i)
    if (in.X[i] == x && in.Y[i] == y) return static_cast<std::int32_t>(i);
  return -1;
}

void TGraphWindow::ChartClickSeries(TLineSeries* series, int index, QMouseEvent* event) {
  if (!Form()) return;
  const int s = Pchart->IndexOf(series);
  if (s < 0) return;
  if (event->button() == Qt::RightButton) {
    if (PrepareSeriesPopup(s)) GraphPopupMenu->popup(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton || InZoomMode()) return;
  ShowPointValue(s, FormIndexOf(s, index), event->position().toPoint());
}

void TGraphWindow::ChartClickAxis(TChartAxis*, QMouseEvent* event) {
  if (!Form() || event->button() != Qt::RightButton) return;
  if (PrepareAxesPopup()) GraphPopupMenu->popup(event->globalPosition().toPoint());
}

void TGraphWindow::ChartClickBackground(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) HideValuePanel();
}

void TGraphWindow::ShowPointValue(int series, int index, const QPoint& position) {
  if (series < 0 || series >= Kind.SeriesCount() || series >= Pchart->SeriesCount()) return;
  const TGraphSeries& in = Kind.GetSeries(series);
  if (index < 0 || index >= in.Count()) return;
  const TLineSeries* out = Pchart->GetSeries(series);
  const auto at = static_cast<std::size_t>(index);
  ValueTimer.stop();
  ValueLabel->setText(out->XValueToText(in.X[at]) + ", " + out->YValueToText(in.Y[at]));
  SeriesNameLabel->setText(Text(in.Name));
  PointLabel->setText("Point Index " + Text(NumberText::IntToText(index + 1)));
  ValuePanel->adjustSize();
  // At the click, moved left (up) by its size where it would pass the chart's edge.
  QPoint place = Pchart->PlotWidget()->mapTo(GraphPanel, position);
  if (place.x() + ValuePanel->width() > GraphPanel->width()) place.rx() -= ValuePanel->width();
  if (place.y() + ValuePanel->height() > GraphPanel->height()) place.ry() -= ValuePanel->height();
  ValuePanel->move(place);
  ValuePanel->show();
  ValuePanel->raise();
  ValueTimer.start();
}

void TGraphWindow::HideValuePanel() {
  ValueTimer.stop();
  ValuePanel->hide();
}

void TGraphWindow::ChartMouseMove(QMouseEvent* event) {
  if (!Form()) return;
  if (Dragging && InCopyMode()) {
    BandMove(event);
    return;
  }
  const QPoint position = event->position().toPoint();
  const TLineSeries* first = Pchart->GetSeries(0);
  if (!first || !PlotArea.contains(position)) {
    PositionPanel->clear();
    return;
  }
  // To the precision a pixel can show.
  const double x = RoundToPixel(first->XScreenToValue(position.x()),
                                (Pchart->BottomAxis().Maximum() - Pchart->BottomAxis().Minimum()) /
                                    std::max(1, PlotArea.width()));
  const double y = RoundToPixel(first->YScreenToValue(position.y()),
                                (Pchart->LeftAxis().Maximum() - Pchart->LeftAxis().Minimum()) /
                                    std::max(1, PlotArea.height()));
  PositionPanel->setText(first->XValueToText(x) + ", " + first->YValueToText(y));
}
