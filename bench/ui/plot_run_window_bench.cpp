// A run that plots 1,000,000 points one Plot at a time into a graph whose window is open
// (offscreen, 793 x 554), through the program's own UI port: its hand-overs and posted
// points served by the Qt event loop, as during a real run, the window redrawing as the
// form changes. Beside the run's time, what the user feels: how late a 5 ms timer of
// the main thread fired at worst while the run went on.
//
// Counters: per_point (the run's time per point plotted), longest_timer_gap_ms, drawn
// (points the chart held at the end).
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "outputs/graph_form.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/graph_window.h"
#include "plot_run.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/user_dialogs.h"

namespace {

using QorvBench::TPlotInto;
using QorvBench::TPlotRun;

void BM_PlotRunGraphWindowOpen(benchmark::State& state) {
  const auto points = static_cast<std::int32_t>(state.range(0));
  TPlotRun run(TPlotInto::Graph, points);
  std::string lastMessage;
  TUnattendedDialogs dialogs([&lastMessage](const TMessageBox& box) {
    lastMessage = box.Text.toStdString();
  });
  TUserDialogs* previous = SetUserDialogs(&dialogs);
  TQtUiPort port;
  std::unique_ptr<TGraphWindow> window;
  qint64 longestGap = 0;
  for (auto _ : state) {
    run.RunWith(port, [&](const std::function<bool()>& finished) {
      // The form is made when the run is prepared: its window opens as the run begins.
      if (!window) {
        window = std::make_unique<TGraphWindow>(*run.Graph());
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
      }
      QElapsedTimer sinceTick;
      QTimer tick;
      tick.setInterval(5);
      QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
      });
      sinceTick.start();
      tick.start();
      QEventLoop loop;
      QTimer poll;
      QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished()) loop.quit();
      });
      poll.start(2);
      loop.exec();
    });
    if (lastMessage != "Experiment Complete") {
      state.SkipWithError(("the run ended with: " + lastMessage).c_str());
      break;
    }
  }
  window->RefreshNow();
  state.counters["per_point"] = benchmark::Counter(
      points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["longest_timer_gap_ms"] = static_cast<double>(longestGap);
  state.counters["drawn"] = window->Chart().GetSeries(0)->Count();
  window.reset();
  SetUserDialogs(previous);
}
BENCHMARK(BM_PlotRunGraphWindowOpen)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
