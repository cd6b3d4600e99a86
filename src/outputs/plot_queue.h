// The points a run's worker plots into graphs and tables, on their way to the windows on
// the main thread. The worker reads each Plot's point (the part that can fail) and
// queues only its adding, which cannot fail; it does not wait for the main thread. The
// main thread adds the points in order, a batch per posted call (UiPort's
// PostToMainThread), which keeps its place among the hand-overs: whatever reaches the
// main thread after a Plot (a Clear Output, a message, the end of the run) finds that
// Plot's point added. A worker far ahead of the main thread waits for room.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <vector>

// A window that takes queued points (graph, table). Called on the main thread only.
class TPlotQueueTarget {
public:
  virtual ~TPlotQueueTarget() = default;
  // The next point of the series; a series below 0 plots nothing (an entire array
  // without values), which still counts as plotted.
  virtual void AddQueuedPoint(std::int32_t series, double x, double y) = 0;
  // The points added since the last call are all there: the window redraws.
  virtual void QueuedPointsAdded() = 0;
};

class TPlotQueue {
public:
  // The most points queued before the worker waits (one Plot's points, an entire array,
  // go in together: into an empty queue whatever their count).
  static constexpr std::size_t Limit = std::size_t{1} << 16;

  // The points (x[i], y[i]) of one Plot for the target's series, in order; none (n 0)
  // only marks the target plotted. Waits while the queue is full, unless stopped
  // (none: never) answers true. A failure of an earlier batch on the main thread is
  // thrown here.
  void Add(TPlotQueueTarget* target, std::int32_t series, const double* x, const double* y,
           std::size_t n, bool (*stopped)());
  // The points still waiting for the main thread.
  std::size_t Waiting() const;
  // The points' storage held, queued and spare: what the queue keeps between runs.
  std::size_t Reserved() const;

private:
  struct TPoint {
    TPlotQueueTarget* Target;
    std::int32_t Series;
    double X;
    double Y;
  };
  // Main thread: adds every point queued to its window.
  void Drain();

  mutable std::mutex Lock;
  std::condition_variable Room;
  std::vector<TPoint> Points;  // queued, in order
  std::vector<TPoint> Spare;   // a drained batch's storage, for the next
  bool Posted = false;         // a drain is posted that has not taken the points yet
  std::exception_ptr Failure;  // of a batch, for the worker's next Add
};

// The queue of the program's runs.
TPlotQueue& PlotQueue();
