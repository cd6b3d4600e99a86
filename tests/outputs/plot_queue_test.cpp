// The queue between a run's worker and the windows: an entire array beyond the limit goes
// into an empty queue without waiting for the main thread; every window of a batch redraws
// once; a batch's failure ends the run at its next Plot, once; the storage of a batch beyond
// the limit goes with its drain.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "outputs/plot_queue.h"
#include "scripts/outputs/plot_fixture.h"
#include "support/served_ui_port.h"

namespace {

using namespace std::chrono_literals;
using TPoints = std::vector<std::tuple<std::int32_t, double, double>>;

// A window that records what it is given; with Fails set, adding fails.
class TRecorder : public TPlotQueueTarget {
public:
  void AddQueuedPoint(std::int32_t series, double x, double y) override {
    if (Fails) throw std::runtime_error("The point could not be added.");
    Points.emplace_back(series, x, y);
  }
  // The points there at each redraw.
  void QueuedPointsAdded() override { Redraws.push_back(Points.size()); }

  bool Fails = false;
  TPoints Points;
  std::vector<std::size_t> Redraws;
};

// The text of what fn throws; "" when it throws nothing.
std::string FailureOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

std::atomic<bool> GivenUp{false};
bool HasGivenUp() { return GivenUp; }

// Adds on a thread of its own, as a run's worker does, while the test's thread is the main
// thread: the drains wait until the test serves them.
class PlotQueueTest : public ::testing::Test {
protected:
  // Whether the adding returned while nothing drained; a worker waiting for room never
  // does, and is stopped after half a minute.
  bool AddsWithoutDrain(const std::function<void()>& add) {
    std::promise<void> added;
    std::thread worker([&] {
      add();
      added.set_value();
    });
    const bool returned = added.get_future().wait_for(30s) == std::future_status::ready;
    GivenUp = true;
    worker.join();
    GivenUp = false;
    return returned;
  }
  // Serves the calls waiting now, none after.
  void ServeWaiting() {
    std::size_t left = Served.Waiting();
    Served.ServeUntil([&] { return left == 0; }, [&] { --left; });
  }
  void Add(TRecorder& window, std::int32_t series, const std::vector<double>& x,
           const std::vector<double>& y) {
    Queue.Add(&window, series, x.data(), y.data(), x.size(), HasGivenUp);
  }

  TServedUiPort Served;
  TPlotQueue Queue;
};

TEST_F(PlotQueueTest, AnEntireArrayBeyondTheLimitGoesIntoAnEmptyQueueWithoutWaiting) {
  TRecorder window;
  std::vector<double> x(TPlotQueue::Limit + 5000), y(x.size());
  std::iota(x.begin(), x.end(), 0.0);
  std::iota(y.begin(), y.end(), 1.0);
  EXPECT_TRUE(AddsWithoutDrain([&] { Add(window, 2, x, y); }))
      << "the worker waited for room in an empty queue";
  EXPECT_EQ(Queue.Waiting(), x.size());
  EXPECT_EQ(Served.Waiting(), 1u);
  EXPECT_TRUE(window.Points.empty());

  ServeWaiting();
  ASSERT_EQ(window.Points.size(), x.size());
  for (std::size_t i = 0; i < x.size(); ++i)
    ASSERT_EQ(window.Points[i], std::make_tuple(2, x[i], y[i])) << i;
  EXPECT_EQ(window.Redraws, std::vector<std::size_t>{x.size()});
}

TEST_F(PlotQueueTest, EveryWindowOfABatchRedrawsOnceAfterItsLastPoint) {
  TRecorder graph, table;
  ASSERT_TRUE(AddsWithoutDrain([&] {
    Add(graph, 0, {1}, {10});
    Add(table, 1, {2, 3}, {20, 30});
    Add(graph, 0, {4}, {40});
  }));
  EXPECT_EQ(Served.Waiting(), 1u);  // one batch
  ServeWaiting();
  EXPECT_EQ(graph.Points, (TPoints{{0, 1, 10}, {0, 4, 40}}));
  EXPECT_EQ(table.Points, (TPoints{{1, 2, 20}, {1, 3, 30}}));
  EXPECT_EQ(graph.Redraws, std::vector<std::size_t>{2});
  EXPECT_EQ(table.Redraws, std::vector<std::size_t>{2});
}

TEST_F(PlotQueueTest, AFailedBatchIsThrownByTheNextAddOnly) {
  TRecorder broken, window;
  broken.Fails = true;
  ASSERT_TRUE(AddsWithoutDrain([&] { Add(broken, 0, {1}, {1}); }));
  ServeWaiting();
  std::string next, following;
  ASSERT_TRUE(AddsWithoutDrain([&] {
    next = FailureOf([&] { Add(window, 0, {2}, {2}); });
    following = FailureOf([&] { Add(window, 0, {3}, {3}); });
  }));
  ServeWaiting();
  EXPECT_EQ(next, "The point could not be added.");
  EXPECT_EQ(following, "");
  EXPECT_EQ(window.Points, (TPoints{{0, 3, 3}}));
}

TEST_F(PlotQueueTest, ABatchBeyondTheLimitLetsItsStorageGoWhereANormalOneIsKept) {
  TRecorder window;
  const std::vector<double> normal(1000, 1.0), big(1000000, 1.0);
  ASSERT_TRUE(AddsWithoutDrain([&] { Add(window, 0, normal, normal); }));
  ServeWaiting();
  EXPECT_GE(Queue.Reserved(), normal.size());  // for the next batch
  ASSERT_TRUE(AddsWithoutDrain([&] { Add(window, 0, big, big); }));
  ServeWaiting();
  EXPECT_EQ(window.Points.size(), normal.size() + big.size());
  EXPECT_LE(Queue.Reserved(), 2 * TPlotQueue::Limit);
}

// A window that cannot redraw, as one out of memory.
class TFailingView : public TOutputView {
public:
  void Changed(TOutputForm&) override { throw std::runtime_error("The window could not redraw."); }
  void ShowRequested(TOutputForm&) override {}
  void HideRequested(TOutputForm&) override {}
  bool IsVisible(const TOutputForm&) const override { return false; }
  void FormDestroyed(TOutputForm&) override {}
};

class PlotQueueRunTest : public TPlotFixture {};

TEST_F(PlotQueueRunTest, AWindowFailingItsBatchEndsTheRunAtTheNextPlotWithTheFailure) {
  TOutput* g = Output("G", otGRAPH, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  Plot(g, i, true);
  Logged(B1, "Between");
  Plot(g, i, true);
  Logged(B1, "After");
  // The fixture's port drains each Plot's batch at once: the first one fails.
  TFailingView failing;
  Prepare(B1);
  Graph(g).SetView(&failing);
  EXPECT_EQ(RunOnWorker(B1), TTexts{"The window could not redraw."});
  Graph(g).SetView(nullptr);
  EXPECT_EQ(Ran, TTexts{"Between"});
  // The failure ended that run only.
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_EQ(Ran, (TTexts{"Between", "After"}));
  EXPECT_EQ(PlotQueue().Waiting(), 0u);
}

}  // namespace
