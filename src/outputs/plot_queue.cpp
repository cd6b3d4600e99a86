#include "outputs/plot_queue.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "model/ui_port.h"

namespace {
// How often a worker waiting for room asks whether its run was stopped.
constexpr std::chrono::milliseconds StopPoll{10};
}  // namespace

void TPlotQueue::Add(TPlotQueueTarget* target, std::int32_t series, const double* x,
                     const double* y, std::size_t n, bool (*stopped)()) {
  std::unique_lock lock(Lock);
  if (Failure) std::rethrow_exception(std::exchange(Failure, nullptr));
  // A stopped run goes on to its end without waiting: one Plot's points more at most.
  while (!Points.empty() && Points.size() + n > Limit && !(stopped && stopped()))
    Room.wait_for(lock, StopPoll);
  if (n == 0) Points.push_back({target, -1, 0.0, 0.0});
  for (std::size_t i = 0; i < n; ++i) Points.push_back({target, series, x[i], y[i]});
  // One drain posted at a time: it takes whatever is queued when it runs.
  if (std::exchange(Posted, true)) return;
  lock.unlock();
  try {
    UiPort().PostToMainThread([this] { Drain(); });
  } catch (...) {
    std::lock_guard again(Lock);
    Posted = false;  // the points wait for the next Add's post
    throw;
  }
}

std::size_t TPlotQueue::Waiting() const {
  std::lock_guard guard(Lock);
  return Points.size();
}

std::size_t TPlotQueue::Reserved() const {
  std::lock_guard guard(Lock);
  return Points.capacity() + Spare.capacity();
}

void TPlotQueue::Drain() {
  std::vector<TPoint> batch;
  {
    std::lock_guard guard(Lock);
    batch.swap(Points);
    Points.swap(Spare);
    Posted = false;
  }
  Room.notify_all();
  try {
    // Each window redraws once per batch, after its last point.
    std::vector<TPlotQueueTarget*> added;
    TPlotQueueTarget* last = nullptr;
    for (const TPoint& point : batch) {
      if (point.Target != last) {
        last = point.Target;
        if (std::find(added.begin(), added.end(), last) == added.end()) added.push_back(last);
      }
      last->AddQueuedPoint(point.Series, point.X, point.Y);
    }
    for (TPlotQueueTarget* target : added) target->QueuedPointsAdded();
  } catch (...) {
    // Nothing can go back to the worker from a post: its next Plot ends the run with it.
    std::lock_guard guard(Lock);
    if (!Failure) Failure = std::current_exception();
  }
  batch.clear();
  // The storage of an entire array beyond the limit goes: the queue keeps at most two
  // batches' worth of a full queue between runs.
  if (batch.capacity() > Limit) return;
  std::lock_guard guard(Lock);
  if (Spare.capacity() < batch.capacity()) Spare.swap(batch);
}

TPlotQueue& PlotQueue() {
  // Never destroyed: a post may still name it while the program ends.
  static TPlotQueue* queue = new TPlotQueue;
  return *queue;
}
