// The graph window: a run fills its chart with exactly what the form's query answers
// (counters, X variables, arrays, several channels, markers), zoom by drag and undo,
// scrolling by right drag, active scrolling following the newest point, a series whose X
// goes back and forth drawn along its path, the value of a clicked point and the mouse
// position, the pop-up menu, Clear and Delete with their questions, a failed save, the
// menus and the items left for later.
#include "outputs/ui/graph_window.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <qcustomplot.h>

#include "model/experiment_running.h"
#include "model/number_text.h"
#include "outputs/ui/active_scrolling_dialog.h"
#include "outputs/dead_output_list.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/opened_outputs_menu.h"
#include "outputs/ui/output_window_kinds.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/outputs/plot_fixture.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TPoints = std::vector<TDrawPoint>;

class GraphWindowTest : public TPlotFixture {
protected:
  GraphWindowTest() { InstallOutputWindows(); }

  static TGraphWindow& WindowOf(TOutput* output) {
    auto* window = dynamic_cast<TGraphWindow*>(Graph(output).GetView());
    EXPECT_NE(window, nullptr);
    return *window;
  }
  static void Show(TGraphWindow& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.RefreshNow();
  }
  template <class T = QAction>
  static T* Item(TGraphWindow& window, const char* name) {
    T* item = window.findChild<T*>(name);
    EXPECT_NE(item, nullptr) << name;
    return item;
  }
  // Runs B1 on this thread from its preparation to its end, as the worker does.
  void RunHere() {
    Prepare(B1);
    ExperimentRunning = true;
    for (TScript* s = B1->GetFirstScript(); s;) s = s->Execute();
    ExperimentRunning = false;
  }
  // What the chart's series holds.
  static TPoints Drawn(TGraphWindow& window, int s) {
    TPoints points;
    const TLineSeries* series = window.Chart().GetSeries(s);
    for (int i = 0; i < series->Count(); ++i)
      points.push_back({series->GetxValue(i), series->GetyValue(i)});
    return points;
  }
  // What the form answers for the chart's view.
  static TPoints Query(TGraphWindow& window, TGraphForm& form, int s) {
    TChart& chart = window.Chart();
    TPoints points;
    form.PointsToDraw(s, chart.BottomAxis().Minimum(), chart.BottomAxis().Maximum(),
                      chart.PlotRect().width(), points);
    return points;
  }
  static void ExpectSame(const TPoints& drawn, const TPoints& query, int s) {
    ASSERT_EQ(drawn.size(), query.size()) << "series " << s;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      EXPECT_EQ(drawn[i].X, query[i].X) << "series " << s << " point " << i;
      EXPECT_EQ(drawn[i].Y, query[i].Y) << "series " << s << " point " << i;
    }
  }
  // The pixel of a value in the chart's plot widget.
  static QPoint PixelOf(TGraphWindow& window, double x, double y) {
    const TLineSeries* series = window.Chart().GetSeries(0);
    return QPoint(static_cast<int>(std::lround(series->XValueToScreen(x))),
                  static_cast<int>(std::lround(series->YValueToScreen(y))));
  }
  // A data series from transfer data with the points given.
  static void Import(TGraphForm& form, const std::string& x, const std::string& y,
                     const std::vector<std::pair<float, float>>& points) {
    TTransferData data;
    TTransferSeries* series = data.AddSeries("P", static_cast<std::int32_t>(points.size()));
    series->XName = x;
    series->YName = y;
    for (std::size_t i = 0; i < points.size(); ++i)
      series->SetPoint(static_cast<std::int32_t>(i), points[i].first, points[i].second);
    form.ImportData(&data);
  }

  TScriptedUserDialogs Dialogs;
};

TEST_F(GraphWindowTest, ARunFillsTheChartWithWhatTheFormAnswersForTheView) {
  TOutput* g = Output("Readings", otGRAPH, 3);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  TDataSingle* j = Single(B1, "j", eatFLOAT, "10");
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 4);
  for (int k = 0; k < 4; ++k)
    arr->GetValueArray().SetElementText(NumberText::IntToText(k * k) + ".25", k);
  TLabelScript* loop = Label("L");
  Increment(i);
  Increment(j, "-0.5");
  Plot(g, i, true, 0);     // (counter, i)
  PlotXY(g, i, j, 1);      // (j, i): X falls
  PlotArray(g, arr, 2);    // (index, element) for each element
  Repeat(loop, 40);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  // Markers of every shape the chart knows, on the second channel.
  form.GetSeries(1).PointerVisible = true;
  form.GetSeries(1).PointerStyle = psDownTriangle;
  form.GetSeries(1).PointerWidth = 3;
  form.GetSeries(1).PointerHeight = 5;
  form.GetSeries(2).LineStyle = lsDash;
  form.GetSeries(2).LineWidth = 2;
  Show(window);

  RunHere();
  window.RefreshNow();
  TChart& chart = window.Chart();
  ASSERT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(form.GetSeries(0).Count(), 40);
  EXPECT_EQ(form.GetSeries(1).Count(), 40);
  EXPECT_EQ(form.GetSeries(2).Count(), 160);
  for (int s = 0; s < 3; ++s) {
    ExpectSame(Drawn(window, s), Query(window, form, s), s);
    EXPECT_EQ(chart.GetSeries(s)->Title().toStdString(), form.GetSeries(s).Name);
  }
  EXPECT_EQ(chart.GetSeries(1)->GetxValue(0), 9.5);  // j after its first step
  EXPECT_EQ(chart.GetSeries(2)->GetyValue(3), 9.25);
  // The title is the output's name; automatic axes span every point.
  EXPECT_EQ(chart.Title(), QStringList{"Readings"});
  EXPECT_LE(chart.BottomAxis().Minimum(), -10.0);  // j reaches 10 - 40 * 0.5
  EXPECT_GE(chart.BottomAxis().Maximum(), 39.0);   // the counter counts from 0
  EXPECT_LE(chart.LeftAxis().Minimum(), 0.25);
  EXPECT_GE(chart.LeftAxis().Maximum(), 40.0);
  // Markers and lines as the form sets them.
  EXPECT_TRUE(chart.GetSeries(1)->Pointer().Visible);
  EXPECT_EQ(chart.GetSeries(1)->Pointer().Style, psDownTriangle);
  EXPECT_EQ(chart.GetSeries(1)->Curve()->scatterStyle().shape(), QCPScatterStyle::ssCustom);
  EXPECT_EQ(chart.GetSeries(0)->Curve()->scatterStyle().shape(), QCPScatterStyle::ssNone);
  EXPECT_EQ(chart.GetSeries(2)->Curve()->pen().style(), Qt::DashLine);
  EXPECT_EQ(chart.GetSeries(2)->Curve()->pen().width(), 2);
  // The design-time series is red; the others take the palette.
  EXPECT_EQ(chart.GetSeries(0)->SeriesColor(), QColor(255, 0, 0));
  EXPECT_NE(chart.GetSeries(1)->SeriesColor(), chart.GetSeries(2)->SeriesColor());

  // A second run clears the channels first.
  RunHere();
  window.RefreshNow();
  EXPECT_EQ(chart.GetSeries(0)->Count(), static_cast<int>(Query(window, form, 0).size()));
  EXPECT_EQ(form.GetSeries(0).Count(), 40);
}

TEST_F(GraphWindowTest, NumberFormatShowsOnTheAxesAndInTheValues) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  Import(form, "t", "v", {{0.5f, 1.25f}, {1.5f, 2.5f}});
  // Decimal places beyond what a number can show are clamped where they are formatted.
  form.SetNumberFormat(ntFIXED, 40);
  Show(window);
  EXPECT_EQ(window.Chart().LeftAxis().ValueToText(2.5), "2.500000000000000000");
  form.SetNumberFormat(ntSCIENTIFIC, 2);
  window.RefreshNow();
  // The pattern writes the exponent's sign only when it is negative.
  EXPECT_EQ(window.Chart().BottomAxis().ValueToText(1500), "1.50E3");
  EXPECT_EQ(window.Chart().LeftAxis().ValueToText(0.25), "2.50E-1");
  EXPECT_EQ(window.Chart().LeftAxis().ValueToText(0), "0.00E0");
  // A point's own value text keeps the series' format.
  EXPECT_EQ(window.Chart().GetSeries(1)->YValueToText(2.5), "2.5");
  form.SetNumberFormat(ntSTANDARD, 0);
  window.RefreshNow();
  EXPECT_EQ(window.Chart().LeftAxis().ValueToText(0.1 + 0.2), "0.3");
}

TEST_F(GraphWindowTest, ZoomByDragAndUndoZoomDrawTheViewsTheyShow) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  std::vector<std::pair<float, float>> points;
  for (int k = 0; k <= 1000; ++k) points.push_back({k * 0.1f, std::sin(k * 0.05f)});
  Import(form, "t", "sin", points);
  Show(window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  TChart& chart = window.Chart();
  const double fullMin = chart.BottomAxis().Minimum(), fullMax = chart.BottomAxis().Maximum();
  EXPECT_LE(fullMin, 0.0);
  EXPECT_GE(fullMax, 100.0 - 1e-4);
  EXPECT_FALSE(Item(window, "ZoomOutButton")->isEnabled());

  // Zoom mode, then a drag from X 20 to X 40 over the plot.
  Item(window, "ZoomInButton")->trigger();
  EXPECT_TRUE(window.InZoomMode());
  EXPECT_FALSE(Item(window, "CursorButton")->isChecked());
  QWidget* plot = chart.PlotWidget();
  const QPoint from = PixelOf(window, 20, 0.8), to = PixelOf(window, 40, -0.8);
  QTest::mousePress(plot, Qt::LeftButton, {}, from);
  QTest::mouseMove(plot, (from + to) / 2);
  QTest::mouseMove(plot, to);
  QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
  EXPECT_FALSE(window.InZoomMode()) << "one drag, one zoom";
  EXPECT_TRUE(Item(window, "CursorButton")->isChecked());
  EXPECT_TRUE(Item(window, "ZoomOutButton")->isEnabled());
  EXPECT_TRUE(chart.IsZoomed());
  EXPECT_NEAR(chart.BottomAxis().Minimum(), 20, 0.2);
  EXPECT_NEAR(chart.BottomAxis().Maximum(), 40, 0.2);
  EXPECT_NEAR(chart.LeftAxis().Minimum(), -0.8, 0.02);
  ExpectSame(Drawn(window, 1), Query(window, form, 1), 1);
  // A change of the form keeps the zoom.
  form.SetNumberFormat(ntFIXED, 1);
  window.RefreshNow();
  EXPECT_NEAR(chart.BottomAxis().Maximum(), 40, 0.2);

  // Outside zoom mode a drag zooms nothing.
  QTest::mousePress(plot, Qt::LeftButton, {}, PixelOf(window, 25, 0));
  QTest::mouseMove(plot, PixelOf(window, 30, -0.5));
  QTest::mouseRelease(plot, Qt::LeftButton, {}, PixelOf(window, 30, -0.5));
  EXPECT_NEAR(chart.BottomAxis().Minimum(), 20, 0.2);

  // A right drag scrolls the view by the distance dragged.
  const QPoint grab = PixelOf(window, 30, 0), drop = PixelOf(window, 25, 0);
  QTest::mousePress(plot, Qt::RightButton, {}, grab);
  QTest::mouseMove(plot, grab + QPoint(-2, 0));
  QTest::mouseMove(plot, drop);
  QTest::mouseRelease(plot, Qt::RightButton, {}, drop);
  EXPECT_NEAR(chart.BottomAxis().Minimum(), 25, 0.3);
  EXPECT_NEAR(chart.BottomAxis().Maximum(), 45, 0.3);
  EXPECT_FALSE(window.PopupMenu()->isVisible()) << "a drag is no right click";
  ExpectSame(Drawn(window, 1), Query(window, form, 1), 1);

  Item(window, "ZoomOutButton")->trigger();
  EXPECT_FALSE(chart.IsZoomed());
  EXPECT_FALSE(Item(window, "ZoomOutButton")->isEnabled());
  EXPECT_EQ(chart.BottomAxis().Minimum(), fullMin);
  EXPECT_EQ(chart.BottomAxis().Maximum(), fullMax);
  ExpectSame(Drawn(window, 1), Query(window, form, 1), 1);

  // The cursor button ends a zoom mode that was not used; so does a leftward drag undo.
  Item(window, "ZoomInButton")->trigger();
  Item(window, "CursorButton")->trigger();
  EXPECT_FALSE(window.InZoomMode());
  EXPECT_FALSE(Item(window, "ZoomInButton")->isChecked());
}

TEST_F(GraphWindowTest, AutoscaleButtonsGiveTheAxesBackToTheData) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  Import(form, "t", "v", {{1, 5}, {3, 7}, {2, 6}});
  form.BottomAxis() = {false, 10, 20};
  form.LeftAxis() = {false, -1, 1};
  Show(window);
  TChart& chart = window.Chart();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 10);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 20);
  Item(window, "AutoScaleX")->trigger();
  EXPECT_TRUE(form.BottomAxis().Automatic);
  EXPECT_EQ(chart.BottomAxis().Minimum(), 1);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 3);
  EXPECT_EQ(chart.LeftAxis().Maximum(), 1) << "Y stays until its own button";
  Item(window, "AutoScaleY")->trigger();
  EXPECT_TRUE(form.LeftAxis().Automatic);
  EXPECT_LE(chart.LeftAxis().Minimum(), 5);
  EXPECT_GE(chart.LeftAxis().Maximum(), 7);
  EXPECT_LT(chart.LeftAxis().Maximum(), 7.5);
}

TEST_F(GraphWindowTest, ActiveScrollingFollowsTheNewestPoint) {
  TOutput* g = Output("G", otGRAPH, 2);
  TDataSingle* y = Single(B1, "y", eatFLOAT, "0");
  TLabelScript* loop = Label("L");
  Increment(y, "0.5");
  Plot(g, y, true, 1);  // X is the counter
  TRepeatScript* repeat = Repeat(loop, 101);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  Show(window);
  QAction* scrollButton = Item(window, "ScrollButton");
  EXPECT_FALSE(scrollButton->isEnabled());
  EXPECT_EQ(scrollButton->toolTip(), "Enable Active Scrolling");
  EXPECT_FALSE(Item(window, "ActiveScrolling")->isChecked());

  // "Active Scrolling": 100 points of the second series.
  Ui.Clear();
  {
    TModalDialogActor<TActiveScrollingForm> actor([](TActiveScrollingForm& dialog) {
      EXPECT_EQ(Control<QLineEdit>(dialog, "PointsEdit")->text(), "10");  // proposed
      EXPECT_EQ(Control<QComboBox>(dialog, "SeriesComboBox")->currentText(), "Series1");
      Control<QComboBox>(dialog, "SeriesComboBox")->setCurrentIndex(1);
      Control<QLineEdit>(dialog, "PointsEdit")->setText("100");
      ClickControl(dialog, "Ok");
    });
    Item(window, "ActiveScrolling")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(form.GetXAxisScroll()->Series, 1);
  EXPECT_EQ(form.GetXAxisScroll()->Points, 100);
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_TRUE(scrollButton->isEnabled());
  EXPECT_EQ(scrollButton->toolTip(), "Turn off Active Scrolling");
  EXPECT_TRUE(Item(window, "ActiveScrolling")->isChecked());

  // 101 points (indexes 0 to 100) fit the window; the next one re-centres it. A zoom
  // left from before the run gives way to the scrolling.
  window.Chart().BottomAxis().Zoom(1, 2);
  RunHere();
  window.RefreshNow();
  EXPECT_EQ(form.GetXAxisScroll()->Start, 0);
  EXPECT_TRUE(form.BottomAxis().Automatic);
  repeat->SetLabel(loop, 102);
  RunHere();
  ExperimentRunning = true;  // as a redraw during the run sees it
  window.RefreshNow();
  ExperimentRunning = false;
  EXPECT_EQ(form.GetXAxisScroll()->Start, 51);
  TChart& chart = window.Chart();
  EXPECT_EQ(chart.BottomAxis().Minimum(), 51);
  EXPECT_EQ(chart.BottomAxis().Maximum(), 51 + 2 * (101 - 51));
  ExpectSame(Drawn(window, 1), Query(window, form, 1), 1);

  // The button switches following off and on; zooming during a run switches it off.
  scrollButton->trigger();
  EXPECT_FALSE(form.GetXAxisScroll()->Active);
  EXPECT_EQ(scrollButton->toolTip(), "Turn on Active Scrolling");
  scrollButton->trigger();
  EXPECT_TRUE(form.GetXAxisScroll()->Active);
  ExperimentRunning = true;
  window.ZoomInButtonClick();
  EXPECT_FALSE(form.GetXAxisScroll()->Active);
  window.CursorButtonClick();
  scrollButton->trigger();
  window.AutoScaleXClick();
  EXPECT_FALSE(form.GetXAxisScroll()->Active) << "so does X autoscale";
  EXPECT_TRUE(form.BottomAxis().Automatic);
  ExperimentRunning = false;

  // Cancel changes nothing; "Disable Active Scrolling?" switches it off.
  {
    TModalDialogActor<TActiveScrollingForm> actor(
        [](TActiveScrollingForm& dialog) { ClickControl(dialog, "Cancel"); });
    window.ActiveScrollingClick();
  }
  EXPECT_TRUE(form.GetXAxisScroll()->IsSet());
  {
    TModalDialogActor<TActiveScrollingForm> actor([](TActiveScrollingForm& dialog) {
      EXPECT_EQ(Control<QLineEdit>(dialog, "PointsEdit")->text(), "100");
      EXPECT_EQ(Control<QComboBox>(dialog, "SeriesComboBox")->currentIndex(), 1);
      EXPECT_FALSE(Control<QCheckBox>(dialog, "DisableScrolling")->isChecked());
      ClickControl(dialog, "DisableScrolling");
      ClickControl(dialog, "Ok");
    });
    window.ActiveScrollingClick();
  }
  EXPECT_FALSE(form.GetXAxisScroll()->IsSet());
  EXPECT_FALSE(scrollButton->isEnabled());
  EXPECT_FALSE(Item(window, "ActiveScrolling")->isChecked());
}

TEST_F(GraphWindowTest, ASeriesWhoseXGoesBackAndForthIsDrawnAlongItsPath) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  Show(window);
  // A sweep up and down, few points (every one drawn) and many, decimated or not.
  for (auto [n, decimated] : {std::pair{50, true}, {200000, true}, {200000, false}}) {
    form.SetDecimation(decimated);
    std::vector<std::pair<float, float>> sweep;
    // Out along y = x >= 0, back along y = -x - 1 < 0.
    for (int k = 0; k < n; ++k) {
      const float x = static_cast<float>(k < n / 2 ? k : n - 1 - k);
      sweep.push_back({x, k < n / 2 ? x : -x - 1});
    }
    Import(form, "V", "I", sweep);
    window.RefreshNow();
    const int s = form.SeriesCount() - 1;
    const TPoints drawn = Drawn(window, s);
    ExpectSame(drawn, Query(window, form, s), s);
    ASSERT_GE(drawn.size(), 4u);
    if (n == 50 || !decimated) {
      ASSERT_EQ(drawn.size(), static_cast<std::size_t>(n));
      for (int k = 0; k < n; k += 7)
        EXPECT_EQ(drawn[static_cast<std::size_t>(k)].X, sweep[static_cast<std::size_t>(k)].first);
    } else {
      EXPECT_LT(drawn.size(), 8u * static_cast<std::size_t>(window.Chart().PlotRect().width()));
    }
    // Out along the upper branch, back along the lower one: never sorted by X.
    EXPECT_EQ(drawn.front().X, 0);
    EXPECT_EQ(drawn.front().Y, 0);
    EXPECT_EQ(drawn.back().X, 0);
    EXPECT_EQ(drawn.back().Y, -1);
    std::size_t turn = 0;
    while (turn < drawn.size() && drawn[turn].Y >= 0) ++turn;
    ASSERT_GT(turn, 1u);
    ASSERT_LT(turn, drawn.size() - 1);
    for (std::size_t k = 1; k < turn; ++k) EXPECT_GE(drawn[k].X, drawn[k - 1].X) << k;
    for (std::size_t k = turn + 1; k < drawn.size(); ++k) {
      EXPECT_LE(drawn[k].X, drawn[k - 1].X) << k;
      EXPECT_LT(drawn[k].Y, 0) << k;
    }
  }
}

TEST_F(GraphWindowTest, AClickShowsThePointAndTheMouseItsPosition) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  Import(form, "t", "v", {{0, 0}, {10, 4.5f}, {20, 2}, {30, 8}});
  // The number format is the axes'; a clicked point shows its value unrounded.
  form.SetNumberFormat(ntFIXED, 0);
  Show(window);
  QWidget* plot = window.Chart().PlotWidget();
  QWidget* panel = Item<QWidget>(window, "ValuePanel");
  EXPECT_FALSE(panel->isVisible());
  QTest::mouseClick(plot, Qt::LeftButton, {}, PixelOf(window, 10, 4.5));
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(Item<QLabel>(window, "ValueLabel")->text(), "10, 4.5");
  EXPECT_EQ(Item<QLabel>(window, "SeriesNameLabel")->text(), "t vs v");
  EXPECT_EQ(Item<QLabel>(window, "PointLabel")->text(), "Point Index 2");
  // Near the right edge the panel moves left of the click, inside the chart.
  QTest::mouseClick(plot, Qt::LeftButton, {}, PixelOf(window, 30, 8));
  EXPECT_EQ(Item<QLabel>(window, "PointLabel")->text(), "Point Index 4");
  EXPECT_LE(panel->geometry().right(), Item<QWidget>(window, "GraphPanel")->width());
  // A click on the background hides it; so does the timer after 3 s.
  QTest::mouseClick(plot, Qt::LeftButton, {}, PixelOf(window, 25, 1));
  EXPECT_FALSE(panel->isVisible());
  QTest::mouseClick(plot, Qt::LeftButton, {}, PixelOf(window, 20, 2));
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->isVisible(); }, 10000));
  // In zoom mode a click shows nothing.
  window.ZoomInButtonClick();
  QTest::mouseClick(plot, Qt::LeftButton, {}, PixelOf(window, 20, 2));
  EXPECT_FALSE(panel->isVisible());
  window.CursorButtonClick();

  // The mouse position in the status bar, to a pixel's precision.
  auto* position = Item<QLabel>(window, "PositionPanel");
  QTest::mouseMove(plot, PixelOf(window, 12, 3));
  const QStringList parts = position->text().split(", ");
  ASSERT_EQ(parts.size(), 2) << position->text().toStdString();
  EXPECT_NEAR(parts[0].toDouble(), 12, 0.2);
  EXPECT_NEAR(parts[1].toDouble(), 3, 0.1);
  EXPECT_LE(parts[0].size(), 5) << "no digits beyond what a pixel shows";
  QTest::mouseMove(plot, QPoint(2, 2));  // outside the plot
  EXPECT_EQ(position->text(), "");
}

TEST_F(GraphWindowTest, DeleteAndClearAskFirstAndKeepTheChannels) {
  TOutput* g = Output("G", otGRAPH, 2);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  TDataSingle* y = Single(B1, "y", eatFLOAT, "1");
  Plot(g, y, true, 0);
  Plot(g, y, true, 1);
  RunHere();
  Import(form, "t", "v", {{1, 2}, {2, 3}});
  Show(window);
  ASSERT_EQ(window.Chart().SeriesCount(), 3);

  // The pop-up of a channel offers no Delete; of a data series it does.
  window.PrepareSeriesPopup(0);
  EXPECT_FALSE(Item(window, "DeleteSeries")->isEnabled());
  EXPECT_TRUE(Item(window, "DeleteSeries")->isVisible());
  EXPECT_FALSE(Item(window, "EditLabels")->isVisible());
  window.PrepareSeriesPopup(2);
  EXPECT_TRUE(Item(window, "DeleteSeries")->isEnabled());
  EXPECT_TRUE(Item(window, "EditSeries")->isEnabled());
  window.PrepareAxesPopup();
  EXPECT_FALSE(Item(window, "DeleteSeries")->isVisible());
  EXPECT_TRUE(Item(window, "EditRange")->isVisible());

  // A right click on a series opens the pop-up prepared for it.
  const TLineSeries* data = window.Chart().GetSeries(2);
  const QPoint onData(static_cast<int>(std::lround(data->XValueToScreen(2))),
                      static_cast<int>(std::lround(data->YValueToScreen(3))));
  QTest::mouseClick(window.Chart().PlotWidget(), Qt::RightButton, {}, onData);
  EXPECT_TRUE(window.PopupMenu()->isVisible());
  EXPECT_TRUE(Item(window, "DeleteSeries")->isEnabled());
  window.PopupMenu()->close();

  const std::string deleteText = "You are about to delete t vs v.\rDo you really want to do this?";
  Dialogs.ScriptAnswers({mbNo, mbYes});
  Item(window, "DeleteSeries")->trigger();
  EXPECT_EQ(form.SeriesCount(), 3);
  Item(window, "DeleteSeries")->trigger();
  EXPECT_EQ(form.SeriesCount(), 2);
  EXPECT_EQ(window.Chart().SeriesCount(), 2);
  ASSERT_EQ(Dialogs.Boxes().size(), 2u);
  for (const auto& call : Dialogs.Boxes()) {
    EXPECT_EQ(call.Box.Text.toStdString(), deleteText);
    EXPECT_EQ(call.Box.Caption, "Graph message");
    EXPECT_EQ(call.Box.Kind, TMessageKind::Warning);
    EXPECT_EQ(call.Box.Buttons, mbYes | mbNo);
  }

  // Clear: No keeps everything; Yes empties the channels and drops the data series.
  Import(form, "t", "w", {{1, 2}});
  window.RefreshNow();
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbNo, mbYes});
  Item(window, "Clear")->trigger();
  EXPECT_EQ(form.SeriesCount(), 3);
  EXPECT_EQ(form.GetSeries(0).Count(), 1);
  Item(window, "Clear")->trigger();
  EXPECT_EQ(form.SeriesCount(), 2);
  EXPECT_EQ(form.GetSeries(0).Count(), 0);
  EXPECT_EQ(form.GetSeries(1).Count(), 0);
  EXPECT_EQ(window.Chart().SeriesCount(), 2);
  EXPECT_EQ(window.Chart().GetSeries(0)->Count(), 0);
  ASSERT_EQ(Dialogs.Boxes().size(), 2u);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Text.toStdString(),
            "Warning, you will lose all your data if you press yes!\rDo you wish to continue?");
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, "Qorv Warning");
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Kind, TMessageKind::Warning);
}

TEST_F(GraphWindowTest, ClearOnADetachedWindowRemovesEverySeries) {
  TGraphForm form(static_cast<TDeadOutputList*>(nullptr));
  TGraphWindow window(form);
  Import(form, "a", "b", {{1, 1}});
  Show(window);
  ASSERT_EQ(window.Chart().SeriesCount(), 2);
  EXPECT_FALSE(Item(window, "ScrollButton")->isEnabled());
  EXPECT_FALSE(Item(window, "ActiveScrolling")->isEnabled());
  Dialogs.ScriptAnswers({mbYes});
  window.ClearClick();
  EXPECT_EQ(form.SeriesCount(), 0);
  EXPECT_EQ(window.Chart().SeriesCount(), 0);
  // Without channels there is nothing to scroll with.
  Dialogs.ScriptAnswers({mbOK});
  EXPECT_FALSE(ConfigureXAxisScroll(form, &window));
  EXPECT_EQ(Dialogs.Texts().back(), "No active plots to scroll with");
}

TEST_F(GraphWindowTest, OffLineTheWindowScrollsNoMoreAndTheOutputsNewWindowDoes) {
  QMenu menu;
  TOpenedOutputsMenu opened(menu);
  SetMainDeadOutputList(&opened.List());
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphForm& form = Graph(g);
  TGraphWindow& window = WindowOf(g);
  Import(form, "t", "v", {{1, 2}, {3, 4}});
  form.GetXAxisScroll()->Follow(0, 10);
  Show(window);
  EXPECT_TRUE(Item(window, "ScrollButton")->isEnabled());
  Item(window, "OffLine")->trigger();
  ASSERT_FALSE(form.IsLive());
  EXPECT_FALSE(Item(window, "ScrollButton")->isEnabled());
  EXPECT_FALSE(Item(window, "ActiveScrolling")->isEnabled());
  EXPECT_EQ(window.Chart().SeriesCount(), 2) << "the data stays";
  EXPECT_EQ(window.Chart().GetSeries(1)->Count(), 2);
  // The output goes on with a copy that follows the same series.
  TGraphWindow& next = WindowOf(g);
  ASSERT_NE(&next, &window);
  Show(next);
  EXPECT_TRUE(Item(next, "ScrollButton")->isEnabled());
  EXPECT_EQ(Item(next, "ScrollButton")->toolTip(), "Turn off Active Scrolling");
  SetMainDeadOutputList(nullptr);
}

TEST_F(GraphWindowTest, AFailedSaveSaysSoAndTheLegendFollowsItsItem) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphWindow& window = WindowOf(g);
  Show(window);
  Ui.ScriptFiles({Temp.PathOf("missing/folder/g.opt")});
  Item(window, "SaveAs")->trigger();
  EXPECT_EQ(Ui.Texts(), (TTexts{"Error writing output"}));

  EXPECT_FALSE(window.Chart().LegendVisible());
  Item(window, "Legend")->trigger();
  EXPECT_TRUE(Graph(g).Chart().LegendVisible);
  EXPECT_TRUE(window.Chart().LegendVisible());
  EXPECT_TRUE(Item(window, "Legend")->isChecked());
}

TEST_F(GraphWindowTest, ToolBarMenusAndTheItemsThatComeLater) {
  TOutput* g = Output("G", otGRAPH, 1);
  TGraphWindow& window = WindowOf(g);
  Show(window);
  EXPECT_EQ(window.size(), QSize(793, 554));
  const std::pair<const char*, const char*> hints[] = {
      {"SaveButton", "Save Graph"},         {"PasteButton", "Paste"},
      {"PrintButton", "Print Graph"},       {"CursorButton", "Abort copy or zoom"},
      {"CopyButton", "Select Data To Copy"}, {"ZoomInButton", "Zoom In"},
      {"ZoomOutButton", "Zoom Out"},        {"ScrollButton", "Enable Active Scrolling"},
      {"AutoScaleX", "Autoscale X Axis"},   {"AutoScaleY", "Autoscale Y Axis"},
      {"HelpButton", "Help"}};
  for (auto [name, hint] : hints) {
    QAction* button = Item(window, name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), hint);
    EXPECT_FALSE(button->icon().isNull()) << name;
  }
  EXPECT_TRUE(Item(window, "CursorButton")->isChecked());
  EXPECT_EQ(Item<QMenu>(window, "Specific")->title(), "Graph");
  for (const char* later : {"HelpButton", "GraphHelp"})
    EXPECT_FALSE(Item(window, later)->isEnabled()) << later;
  for (const char* now : {"SaveButton", "ZoomInButton", "AutoScaleX", "AutoScaleY", "RefreshGraph",
                          "ActiveScrolling", "Legend", "NumberFormat", "Save", "SaveAs",
                          "PrintButton", "CopyButton", "SaveAsType", "CopyToClipboard", "Print",
                          "GraphTitles", "GraphAttributes", "PlotAttributes", "EditSeries",
                          "EditLabels", "EditRange", "CommaDelimited", "TabDelimited", "Graphic",
                          "TextClip", "BitmapClip", "SvgClip", "ImportData", "ImportTextFile",
                          "MatLab", "ImportMatLabFile"})
    EXPECT_TRUE(Item(window, now)->isEnabled()) << now;
  QStringList clipboard;
  for (QAction* item : Item(window, "CopyToClipboard")->menu()->actions()) clipboard << item->text();
  EXPECT_EQ(clipboard, (QStringList{"&Text", "&Bitmap", "&SVG"}));
  EXPECT_NE(Item<QStatusBar>(window, "GraphStatusBar"), nullptr);
}

}  // namespace
