// Runs from the main window: Start, Stop, the end of a run in two steps (the worker's
// last hand-over, then the join a moment later), the debugger's entry, and shutting a
// run down when the window closes. Whether a run is active is IsRunActive() of the run
// engine, which every editing path, the close path, drags and drops ask.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "scripts/experiment_thread.h"  // IsRunActive(), the one test of an active run

class TExperiment;

// What run control needs of the main window.
class TRunView {
public:
  virtual ~TRunView() = default;
  // Stopped (true) or running (false): Start, Stop, Debug and their menu items, the
  // floating tool window's buttons and the device tool bar. The status texts are set by
  // the run control itself.
  virtual void SetRunControls(bool stopped) = 0;
  // The 500 ms timer whose tick calls TRunControl::TimerTimer once.
  virtual void StartFinishTimer() = 0;
  virtual void StopFinishTimer() = 0;
  // Every output window to the front (the experiment's, then the detached ones).
  virtual void BringOutputsToFront() = 0;
  // Serves the worker's hand-overs on the main thread until finished() answers true;
  // the main thread must not block in a join while the worker waits for it.
  virtual void WaitServingHandOvers(const std::function<bool()>& finished) = 0;
};

class TRunControl {
public:
  // experiment answers the open experiment (it is not replaced while a run is active).
  TRunControl(TRunView& view, std::function<TExperiment*()> experiment);
  // A worker still here (the window did not close through CloseDuringRun) is stopped
  // and joined without serving hand-overs.
  ~TRunControl();
  TRunControl(const TRunControl&) = delete;
  TRunControl& operator=(const TRunControl&) = delete;

  // Start: while a run is active only the running controls are shown again; otherwise
  // the outputs come to the front, the controls switch to running and, when the
  // experiment's check accepts, the worker starts; a refusal puts the controls back.
  void StartButtonClick();
  // Stop: asks the worker to end after the command executing; nothing without a worker.
  void StopButtonClick();
  // The worker's last hand-over, on the main thread: the running mark of the experiment
  // goes and the outputs come to the front; the finish timer starts unless the window
  // is closing.
  void ExperimentFinished();
  // The finish timer's tick: joins and deletes the worker, lets the outputs and data
  // files end the run, shows the stopped controls, clears the running flag and makes
  // the first block current again, so that commands can be added at once. Nothing
  // without a worker.
  void TimerTimer();
  // Closing the window: a run still active is stopped and joined (its "Aborted" and its
  // last hand-over are served meanwhile) and ended in full as TimerTimer ends it; the
  // timer is stopped in any case. Answers whether a run was shut down.
  bool CloseDuringRun();

  // "&Debugger": during a run only the running controls are shown again and false is
  // answered; otherwise true, and the window shows the debug window modally, then calls
  // DebuggerClosed, which makes the first block current again.
  bool DebugButtonClick();
  void DebuggerClosed();

  bool IsRunActive() const { return ::IsRunActive(); }
  bool IsClosing() const { return Closing; }

  // The controls of the run state, stopped (true) or running (false), and status panel
  // 0 ("Stopped" or "Running"); running also empties panel 1 (the current block). For
  // the floating buttons and the debugger: SetRunControls(!IsRunActive()).
  void SetRunControls(bool stopped);

private:
  // After the worker has gone: the outputs' and data files' end of the run, the stopped
  // controls, the running flag cleared and the first block current again.
  void EndRun();
  // Joins the finished worker and deletes it.
  void DeleteWorker();

  TRunView& View;
  std::function<TExperiment*()> Experiment;
  std::unique_ptr<TExperimentThread> Worker;  // ExperimentThread points to it
  // Read by the end-of-run step, which test ports run on the worker itself.
  std::atomic<bool> Closing{false};
};
