// The graph window's side of live plotting: a replot of a 1,000,000-point series that a
// run filled one Plot at a time, in an offscreen window 793 x 554 (the chart about 730
// pixel columns wide). A replot is what the window does when the form changed: the
// series' extent for the automatic axes, the points the form answers for the view, the
// chart's series refilled and repainted at once. Arg 1: decimation on (as Qorv runs),
// 0: off (every point handed to the chart), for comparison. The view-only replot (zoom,
// scroll, resize) skips the extent.
//
// Counter: drawn (points handed to the chart).
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include <memory>

#include "outputs/graph_form.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/graph_window.h"
#include "plot_run.h"

namespace {

using QorvBench::TPlotInto;
using QorvBench::TPlotRun;

TPlotRun& MillionPointRun() {
  static std::unique_ptr<TPlotRun> run;
  if (!run) {
    run = std::make_unique<TPlotRun>(TPlotInto::Graph, 1000000);
    run->Run(true);
  }
  return *run;
}

void Replot(benchmark::State& state, bool viewOnly) {
  TGraphForm& graph = *MillionPointRun().Graph();
  if (graph.GetSeries(0).Count() != 1000000) {
    state.SkipWithError("the run did not plot 1,000,000 points");
    return;
  }
  graph.SetDecimation(state.range(0) != 0);
  TGraphWindow window(graph);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    state.SkipWithError("the window did not show");
    return;
  }
  window.RefreshNow();
  for (auto _ : state) {
    if (viewOnly)
      window.ZoomOutButtonClick();  // redraws the view without the extent
    else
      window.RefreshGraphClick();
    window.Chart().RepaintNow();
  }
  state.counters["drawn"] = window.Chart().GetSeries(0)->Count();
  graph.SetDecimation(true);
}

void BM_GraphWindowReplotMillion(benchmark::State& state) { Replot(state, false); }
void BM_GraphWindowViewReplotMillion(benchmark::State& state) { Replot(state, true); }

BENCHMARK(BM_GraphWindowReplotMillion)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphWindowViewReplotMillion)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
