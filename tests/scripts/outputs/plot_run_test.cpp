// Runs that plot while the main thread is a thread of its own: the worker goes on without
// waiting for each point; whatever reaches the main thread after a Plot (its failure's
// message, a Clear Output, a message, the end of the run) finds every earlier point
// added and no later one; a worker far ahead waits for room, also for a main thread that
// serves nothing; Stop ends a fast plotting loop at once; the debug window's steps plot
// on the spot. The last test is the stress that the thread sanitizer's run goes through
// (scripts/tsan): the worker plotting while the main thread reads and clears the windows.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/value_array.h"
#include "outputs/plot_queue.h"
#include "plot_fixture.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "support/sanitized.h"
#include "support/served_ui_port.h"

namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

long long MillisecondsSince(TClock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - start).count();
}

class PlotRunTest : public TPlotFixture {
protected:
  // Starts the block's run on a worker (prepared first, as Start prepares it).
  void Start(TBlock* block) {
    Prepare(block);
    Served.Clear();
    Ran.clear();
    Thread = std::make_unique<TExperimentThread>();
    Thread->SetFirstBlock(block);
    Thread->Start();
  }
  // Serves the run to its end (between() runs between the calls served); the texts shown.
  // A run that does not end within a minute is stopped and the test fails.
  TTexts Finish(const std::function<void()>& between = {}) {
    const auto deadline = TClock::now() + 60s;
    Served.ServeUntil([&] { return Thread->Finished() || TClock::now() > deadline; }, between);
    if (!Thread->Finished()) {
      ADD_FAILURE() << "the run did not end";
      Thread->Terminate();
      Served.ServeUntil([&] { return Thread->Finished(); });
    }
    Thread->Join();
    ExperimentRunning = false;  // as the main window does after the join
    return Served.Texts();
  }
  TTexts RunServed(TBlock* block, const std::function<void()>& between = {}) {
    Start(block);
    return Finish(between);
  }
  TClearPlotScript* ClearOutput(TOutput* output, TScript* parent = nullptr) {
    auto* clear = new TClearPlotScript(Cur, NewNode(Cur, parent));
    clear->SetOutput(output);
    return clear;
  }
  // Serves for the time given, as a modal box's own loop does.
  void ServeFor(std::chrono::milliseconds time) {
    const auto until = TClock::now() + time;
    Served.ServeUntil([&] { return TClock::now() > until; });
  }

  TServedUiPort Served;  // over the fixture's port while the test lives
};

TEST_F(PlotRunTest, AFailedPlotStopsTheRunBeforeTheNextCommandWithEveryEarlierPointShown) {
  TOutput* g = Output("G", otGRAPH, 3);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  TDataSingle* c = Single(B1, "c", eatINTEGER, "0");
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 2000);
  // B1: the channel variable jumps past the channels after 2000 points.
  TLabelScript* loop = Label("L");
  TPlotScript* byChannel = Plot(g, i, true, 0, c);
  Logged(B1, "Next");
  Increment(i);
  TIfThenScript* last = If(i, "2000", EQ);
  Increment(c, "3", last);
  EndIf(last);
  Repeat(loop, 5000);
  // B2: an element whose index runs past the array's end after 2000 points.
  Cur = B2;
  TLabelScript* loop2 = Label("L2");
  TPlotScript* byIndex = Plot(g, arr, true, 1);
  static_cast<TVariableDataArray*>(byIndex->GetVariableY())->GetArrayIndex().SetIndexVariable(i);
  Logged(B2, "Next");
  Increment(i);
  Repeat(loop2, 5000);

  struct TCase {
    TBlock* Block;
    TPlotScript* Plot;
    std::int32_t Series;
    std::string Message;
  };
  for (const TCase& run : {TCase{B1, byChannel, 0, "The plot index of G(c): Plot(Counter, i) is invalid."},
                           TCase{B2, byIndex, 1, "Index 2000 is out of bounds."}}) {
    SCOPED_TRACE(run.Message);
    i->SetInitialValue("0");
    std::int32_t shownWithMessage = -1;
    Served.OnMessage = [&](const std::string&) {
      shownWithMessage = Graph(g).GetSeries(run.Series).Count();
    };
    EXPECT_EQ(RunServed(run.Block), TTexts{run.Message});
    // No command after the failed Plot ran, and the message came after every point.
    EXPECT_EQ(Times(Ran, "Next"), 2000);
    EXPECT_EQ(shownWithMessage, 2000);
    EXPECT_EQ(Graph(g).GetSeries(run.Series).Count(), 2000);
    EXPECT_EQ(run.Plot->GetPointCounter(), 2000);
    EXPECT_EQ(PlotQueue().Waiting(), 0u);
  }
}

TEST_F(PlotRunTest, ClearOutputAndMessagesBetweenPlotsSeeEveryEarlierPointAndNoLaterOne) {
  TOutput* g = Output("G", otGRAPH, 1);
  TOutput* t = Output("T", otTABLE, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  TLabelScript* loop = Label("L");
  Increment(i);
  Plot(g, i, true);
  Plot(t, i, true);
  TIfThenScript* clearing = If(i, "1000", EQ);
  ClearOutput(g, clearing);
  EndIf(clearing);
  int passes = 0;  // the worker's
  Logged(B1, "Message")->Action = [&passes] {
    if (++passes % 500 == 0) UiPort().ShowMessage("Pass", "", TMessageKind::Information);
  };
  Repeat(loop, 3000);

  std::vector<std::pair<std::int32_t, std::int32_t>> atMessages;  // graph, table
  bool laterPointsWhileShown = false;
  Served.OnMessage = [&](const std::string& text) {
    if (text != "Pass") return;
    const std::int32_t graph = Graph(g).GetSeries(0).Count();
    const std::int32_t table = Table(t).GetSeries(0).Count();
    atMessages.emplace_back(graph, table);
    // The box is modal for the run: while it shows, the main thread serves what comes,
    // and nothing of the run comes.
    ServeFor(20ms);
    laterPointsWhileShown |= Graph(g).GetSeries(0).Count() != graph ||
                             Table(t).GetSeries(0).Count() != table;
  };
  TTexts shown = RunServed(B1);
  EXPECT_EQ(shown.size(), 7u);
  EXPECT_EQ(shown.back(), "Experiment Complete");
  std::vector<std::pair<std::int32_t, std::int32_t>> expected;
  for (int pass = 500; pass <= 3000; pass += 500)
    expected.emplace_back(pass < 1000 ? pass : pass - 1000, pass);
  EXPECT_EQ(atMessages, expected);
  EXPECT_FALSE(laterPointsWhileShown);
  // The clear came after the 1000th point and before the 1001st.
  const TGraphSeries& graph = Graph(g).GetSeries(0);
  ASSERT_EQ(graph.Count(), 2000);
  EXPECT_EQ(graph.X.front(), 1000.0);
  EXPECT_EQ(graph.Y.front(), 1001.0);
  const TTableDataSet& table = Table(t).GetSeries(0);
  ASSERT_EQ(table.Count(), 3000);
  for (int k = 0; k < 3000; ++k) ASSERT_EQ(table.Y[static_cast<std::size_t>(k)], k + 1.0f) << k;
}

TEST_F(PlotRunTest, AWorkerFarAheadWaitsForRoomWithoutWaitingForEachPoint) {
  TOutput* g = Output("G", otGRAPH, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  constexpr int Points = 200000;
  TLabelScript* loop = Label("L");
  Increment(i);
  Plot(g, i, true);
  Repeat(loop, Points);

  Start(B1);
  // The main thread serves the run's first hand-over, then nothing for a while: the
  // worker plots on without it until the queue is full, and waits there.
  Served.ServeUntil([] { return ExperimentRunning.load(); });
  const auto start = TClock::now();
  while (PlotQueue().Waiting() < TPlotQueue::Limit && MillisecondsSince(start) < 20000)
    std::this_thread::sleep_for(1ms);
  EXPECT_EQ(PlotQueue().Waiting(), TPlotQueue::Limit);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(PlotQueue().Waiting(), TPlotQueue::Limit);
  EXPECT_EQ(Served.Waiting(), 1u);  // one batch posted, not a call per point
  EXPECT_FALSE(Thread->Finished());

  EXPECT_EQ(Finish(), TTexts{"Experiment Complete"});
  const TGraphSeries& series = Graph(g).GetSeries(0);
  ASSERT_EQ(series.Count(), Points);
  for (int k = 0; k < Points; ++k) {
    ASSERT_EQ(series.X[static_cast<std::size_t>(k)], k) << k;
    ASSERT_EQ(series.Y[static_cast<std::size_t>(k)], k + 1) << k;
  }
}

TEST_F(PlotRunTest, StopEndsAFastPlottingLoopAtOnceAlsoWhenTheMainThreadIsBehind) {
  TOutput* g = Output("G", otGRAPH, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  TLabelScript* loop = Label("L");
  Increment(i);
  TPlotScript* plot = Plot(g, i, true);
  // i only counts up: the loop ends on Stop alone, however fast the build.
  Until(loop, i, "0", LT);
  const long long limit = Sanitized() ? 2000 : 600;
  auto plotted = [g] { return Graph(g).GetSeries(0).Count(); };

  // Served all along: Stop once the window holds points of several batches.
  Start(B1);
  TClock::time_point stop{};
  long long stopToAborted = -1;
  std::int32_t plottedAtStop = 0;
  Served.OnMessage = [&](const std::string& text) {
    if (text == "Aborted") stopToAborted = MillisecondsSince(stop);
  };
  EXPECT_EQ(Finish([&] {
              if (stop == TClock::time_point{} && plotted() > 100000) {
                plottedAtStop = plotted();
                stop = TClock::now();
                Thread->Terminate();
              }
            }),
            TTexts{"Aborted"});
  EXPECT_GE(stopToAborted, 0);
  EXPECT_LE(stopToAborted, limit);
  // Every point the run plotted reached the window, Stop's last ones too.
  EXPECT_GT(plottedAtStop, 100000);
  EXPECT_EQ(plotted(), plot->GetPointCounter());
  EXPECT_EQ(PlotQueue().Waiting(), 0u);

  // The main thread serving nothing: the worker waiting for room hears Stop too, and
  // its "Aborted" waits for the main thread.
  Served.OnMessage = nullptr;
  Start(B1);
  Served.ServeUntil([] { return ExperimentRunning.load(); });
  const auto full = TClock::now();
  while (PlotQueue().Waiting() < TPlotQueue::Limit && MillisecondsSince(full) < 20000)
    std::this_thread::sleep_for(1ms);
  EXPECT_EQ(PlotQueue().Waiting(), TPlotQueue::Limit);
  stop = TClock::now();
  Thread->Terminate();
  while (Served.Waiting() < 2 && MillisecondsSince(stop) < 20000)
    std::this_thread::sleep_for(1ms);
  EXPECT_LE(MillisecondsSince(stop), limit);
  EXPECT_EQ(Finish(), TTexts{"Aborted"});
  EXPECT_LE(plotted(), static_cast<std::int32_t>(TPlotQueue::Limit) + 1);
}

TEST_F(PlotRunTest, TheDebugWindowsStepsPlotOnTheSpot) {
  TOutput* g = Output("G", otGRAPH, 1);
  TOutput* t = Output("T", otTABLE, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  Increment(i);
  Plot(g, i, true);
  Plot(t, i, true);
  EXPECT_EQ(RunServed(B1), TTexts{"Experiment Complete"});
  EXPECT_EQ(Graph(g).GetSeries(0).Y, (std::vector<double>{1}));
  Prepare(B1);
  EXPECT_EQ(Graph(g).GetSeries(0).Count(), 0);

  // Each traced step (the preparation cleared the windows) adds its point at once on the
  // main thread, with its trace line; nothing goes through the queue or waits to be
  // served.
  EXPECT_EQ(Trace(B1, TScript::INCREMENT), (TTexts{"0, 1", "0, 1"}));
  EXPECT_EQ(Graph(g).GetSeries(0).Y, (std::vector<double>{1}));
  EXPECT_EQ(Table(t).GetSeries(0).Y, (std::vector<float>{1}));
  EXPECT_EQ(PlotQueue().Waiting(), 0u);
  EXPECT_EQ(Served.Waiting(), 0u);
}

TEST_F(PlotRunTest, StressTheWorkerPlotsWhileTheMainThreadReadsAndClears) {
  TOutput* g = Output("G", otGRAPH, 2);
  TOutput* t = Output("T", otTABLE, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  TDataSingle* k = Single(B1, "k", eatINTEGER, "0");
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 16);
  for (int e = 0; e < 16; ++e) arr->GetValueArray().SetElementText(NumberText::IntToText(e), e);
  // Cleared by the run every 5000 passes: the table keeps the last passes % 5000.
  const int passes = (Sanitized() ? 20000 : 100000) + 1234;
  TLabelScript* loop = Label("L");
  Increment(i);
  Increment(k);
  Plot(g, i, true);
  PlotArray(g, arr, 1);
  Plot(t, i, true);
  TIfThenScript* every = If(k, "5000", EQ);
  ClearOutput(g, every);
  ClearOutput(t, every);
  Increment(k, "-5000", every);
  EndIf(every);
  Repeat(loop, passes);

  std::vector<TDrawPoint> drawn;
  int served = 0;
  EXPECT_EQ(RunServed(B1,
                      [&] {
                        // What a window's redraw reads, and now and then a clear of its own.
                        TGraphForm& graph = Graph(g);
                        TTableForm& table = Table(t);
                        graph.PointsToDraw(0, 0, passes, 500, drawn);
                        const std::int32_t rows = table.MaxDataCount();
                        if (rows > 0) {
                          EXPECT_FALSE(table.GetYText(0, rows - 1).empty());
                        }
                        if (++served % 50 == 0) graph.ClearOutput();
                      }),
            TTexts{"Experiment Complete"});
  const TTableDataSet& table = Table(t).GetSeries(0);
  ASSERT_EQ(table.Count(), passes % 5000);
  for (std::int32_t r = 0; r < table.Count(); ++r)
    ASSERT_EQ(table.Y[static_cast<std::size_t>(r)], passes - table.Count() + r + 1.0f) << r;
}

}  // namespace
