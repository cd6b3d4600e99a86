// Live plotting: runs that plot 10,000, 100,000 and 1,000,000 points one at a time
// through Plot commands into a graph and into a table (each Plot handed over to the
// main thread and back, as during a real run), beside the same loop without Plot; then
// what a graph window asks of the core on each replot of a 1,000,000-point series: the
// points to draw for a 1000-column view, decimated and not (every point).
//
// Counters: per_point (the run's time per point plotted), graph_bytes_per_point and
// table_bytes_per_point (capacities and the decimation's summaries), drawn (points
// answered for the view).
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "plot_run.h"

namespace {

using QorvBench::TPlotInto;
using QorvBench::TPlotRun;

// One run of each shape, kept between benchmarks: the 1,000,000-point graph that the
// replot benchmarks draw from is the one the run benchmark filled.
TPlotRun& CachedRun(TPlotInto into, std::int32_t points) {
  static std::map<std::pair<TPlotInto, std::int32_t>, std::unique_ptr<TPlotRun>> runs;
  std::unique_ptr<TPlotRun>& run = runs[{into, points}];
  if (!run) run = std::make_unique<TPlotRun>(into, points);
  return *run;
}

void PlotRun(benchmark::State& state, TPlotInto into, bool inPlace = false) {
  const auto points = static_cast<std::int32_t>(state.range(0));
  TPlotRun& run = CachedRun(into, points);
  for (auto _ : state) {
    const std::string message = run.Run(inPlace);
    if (message != "Experiment Complete") {
      state.SkipWithError(("the run ended with: " + message).c_str());
      return;
    }
  }
  state.counters["per_point"] = benchmark::Counter(
      points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  if (const TGraphForm* graph = run.Graph())
    state.counters["graph_bytes_per_point"] = QorvBench::GraphBytesPerPoint(*graph);
  if (const TTableForm* table = run.Table())
    state.counters["table_bytes_per_point"] = QorvBench::TableBytesPerPoint(*table);
}

void BM_PlotRunGraph(benchmark::State& state) { PlotRun(state, TPlotInto::Graph); }
void BM_PlotRunTable(benchmark::State& state) { PlotRun(state, TPlotInto::Table); }
// The loop alone: what the runs above spend outside plotting.
void BM_PlotRunWithoutPlot(benchmark::State& state) { PlotRun(state, TPlotInto::Nothing); }
// Hand-overs in place: the windows' own share of plotting, without the trips between
// the threads.
void BM_PlotRunGraphInPlace(benchmark::State& state) { PlotRun(state, TPlotInto::Graph, true); }
void BM_PlotRunTableInPlace(benchmark::State& state) { PlotRun(state, TPlotInto::Table, true); }

// 1,000,000 points take seconds per run: one run is enough to measure.
void RunSizes(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_PlotRunGraph)->Apply(RunSizes)->Arg(10000)->Arg(100000);
BENCHMARK(BM_PlotRunGraph)->Apply(RunSizes)->Arg(1000000)->Iterations(1);
BENCHMARK(BM_PlotRunTable)->Apply(RunSizes)->Arg(10000)->Arg(100000);
BENCHMARK(BM_PlotRunTable)->Apply(RunSizes)->Arg(1000000)->Iterations(1);
BENCHMARK(BM_PlotRunWithoutPlot)->Apply(RunSizes)->Arg(10000)->Arg(100000);
BENCHMARK(BM_PlotRunWithoutPlot)->Apply(RunSizes)->Arg(1000000)->Iterations(1);
BENCHMARK(BM_PlotRunGraphInPlace)->Apply(RunSizes)->Arg(100000)->Arg(1000000);
BENCHMARK(BM_PlotRunTableInPlace)->Apply(RunSizes)->Arg(100000)->Arg(1000000);

// The graph of the 1,000,000-point run (run once when the run benchmark did not).
TGraphForm& MillionPointGraph() {
  TPlotRun& run = CachedRun(TPlotInto::Graph, 1000000);
  if (!run.Graph() || run.Graph()->GetSeries(0).Count() != run.Points()) run.Run();
  return *run.Graph();
}

// A replot's question: the points of the series for a view over 1000 columns. Arg 0:
// the whole series, otherwise the view holds that many points in its middle.
void PointsToDraw(benchmark::State& state, bool decimation) {
  TGraphForm& graph = MillionPointGraph();
  const TGraphSeries& series = graph.GetSeries(0);
  const bool wasOn = graph.GetDecimation();
  graph.SetDecimation(decimation);
  const auto n = static_cast<std::size_t>(series.Count());
  const auto width = state.range(0) > 0 ? static_cast<std::size_t>(state.range(0)) : n;
  const double xMin = series.X[(n - width) / 2];
  const double xMax = series.X[(n - width) / 2 + width - 1];
  std::vector<TDrawPoint> out;
  for (auto _ : state) {
    graph.PointsToDraw(0, xMin, xMax, 1000, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["drawn"] = static_cast<double>(out.size());
  state.counters["graph_bytes_per_point"] = QorvBench::GraphBytesPerPoint(graph);
  graph.SetDecimation(wasOn);
}

void BM_PointsToDrawDecimated(benchmark::State& state) { PointsToDraw(state, true); }
void BM_PointsToDrawEveryPoint(benchmark::State& state) { PointsToDraw(state, false); }
BENCHMARK(BM_PointsToDrawDecimated)->Arg(0)->Arg(100000)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointsToDrawEveryPoint)->Arg(0)->Unit(benchmark::kMillisecond);

// The first question after the points changed other than by growing (a clear, a file
// read): the summaries of all 1,000,000 points are made again.
void BM_PointsToDrawAfterReplace(benchmark::State& state) {
  TGraphForm& graph = MillionPointGraph();
  TGraphSeries& series = graph.GetSeries(0);
  std::vector<TDrawPoint> out;
  for (auto _ : state) {
    ++series.Revision;  // as Clear and Truncate count their change
    graph.PointsToDraw(0, series.X.front(), series.X.back(), 1000, out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_PointsToDrawAfterReplace)->Unit(benchmark::kMillisecond);

// The windows' side of a replot (the chart drawing what PointsToDraw answers) is timed
// by the graph window's benchmark, which links the windows and fills its graph with a
// TPlotRun.

}  // namespace
