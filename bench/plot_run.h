// Runs that plot: an experiment whose run plots a number of points one at a time through
// Plot commands into a graph and a table, on the worker thread, each Plot handed over to
// the calling thread as the Qt port hands it to the main thread. Shared by the core's
// plotting benchmark and the windows' (Qt side), which draw what these runs fill.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "model/ui_port.h"

class TBlock;
class TExperiment;
class TGraphForm;
class TOutput;
class TTableForm;

namespace QorvBench {

// Hand-overs and posts from another thread wait, in the order they came, until the
// thread that made the port serves them (Serve); a hand-over's caller waits meanwhile,
// a post's does not. On that thread they run at once. In place, every hand-over and
// post runs at once where it is asked for (the run's own cost without the trips between
// threads). Messages are kept, questions get OK.
class THandOverUiPort final : public TUiPort {
public:
  explicit THandOverUiPort(bool inPlace = false)
      : Main(std::this_thread::get_id()), InPlace(inPlace) {}

  void ShowMessage(const std::string& text, const std::string&, TMessageKind) override {
    LastMessage = text;
  }
  TMessageButton Ask(const std::string&, const std::string&, TMessageKind, TMessageButtons,
                     TMessageButton) override {
    return mbOK;
  }
  void RunInMainThread(const std::function<void()>& fn) override;
  void PostToMainThread(std::function<void()> fn) override;
  void ExperimentChanged(int, int) override {}
  int OpenDialog(TDialogRequest&) override { return 0; }
  void RefreshViews() override {}
  void SetCaption(const std::string&) override {}
  void SetStatusText(int, const std::string&) override {}

  // Serves hand-overs and posts until done() answers true (asked when none waits).
  void Serve(const std::function<bool()>& done);

  std::string LastMessage;

private:
  // A post has no one waiting: no flag to set, no error to pass back.
  struct TTask {
    std::function<void()> Fn;
    bool* Served = nullptr;
    std::exception_ptr* Error = nullptr;
  };

  std::thread::id Main;
  bool InPlace;
  std::mutex Lock;
  std::condition_variable Wake;
  std::deque<TTask> Tasks;
};

// Which windows a run plots into.
enum class TPlotInto { Nothing, Graph, Table };

// Label, Increment n, Calculate y = sin(n/5000) + 0.1*sin(n/7), Plot (n, y) into the
// window (none: the same loop without Plot, for its share), Repeat: `points` passes.
class TPlotRun {
public:
  TPlotRun(TPlotInto into, std::int32_t points);
  ~TPlotRun();
  TPlotRun(const TPlotRun&) = delete;
  TPlotRun& operator=(const TPlotRun&) = delete;

  // One run to its end on a worker, hand-overs served by the calling thread through the
  // port (installed meanwhile), or run in place. Answers the run's last message
  // ("Experiment Complete").
  std::string Run(bool inPlace = false);
  // One run to its end on a worker with the port given (installed meanwhile); serve
  // serves its hand-overs on the calling thread until the finished test answers true.
  void RunWith(TUiPort& port,
               const std::function<void(const std::function<bool()>& finished)>& serve);
  std::int32_t Points() const { return PointCount; }
  // The windows, once made (they are made by the first run).
  TGraphForm* Graph() const;
  TTableForm* Table() const;

private:
  TPlotInto Into;
  std::int32_t PointCount;
  std::unique_ptr<TExperiment> Experiment;
  TOutput* Output = nullptr;
  TBlock* Block = nullptr;
};

// The bytes the core holds for a window's channel 0 per point: the capacities of its X
// and Y vectors and, for the graph, the decimation's summaries (made first).
double GraphBytesPerPoint(const TGraphForm& graph);
double TableBytesPerPoint(const TTableForm& table);

}  // namespace QorvBench
