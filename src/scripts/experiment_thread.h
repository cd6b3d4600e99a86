// The worker thread of a run: walks the experiment from its start block along the blocks'
// run successors, executing each command, until the experiment ends, fails or is
// stopped. Whatever must touch the user interface (the run messages, commands that run
// on the main thread, the running flag, the end-of-run step) is handed over to the main
// thread through the UI port, which blocks the worker meanwhile; an exception thrown
// inside a hand-over comes back to the worker. Only the points of Plot commands go over
// without waiting, queued in order with the hand-overs (outputs/plot_queue.h). Stop only
// sets a flag that the worker tests between commands and that a Wait tests between its
// slices.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

class TBlock;
class TScript;

class TExperimentThread {
public:
  // onFinished: the owner's end-of-run step, run on the main thread as the last
  // hand-over of every run, whatever ended it. None does nothing.
  explicit TExperimentThread(std::function<void()> onFinished = {});
  // A worker still running is asked to stop and joined. An owner on a main thread that
  // serves hand-overs must have joined (see Join) before.
  ~TExperimentThread();
  TExperimentThread(const TExperimentThread&) = delete;
  TExperimentThread& operator=(const TExperimentThread&) = delete;

  // The block the run starts from: the start block that the experiment's run check
  // answered. None makes the run show "No blocks to run".
  void SetFirstBlock(TBlock* block) { FirstBlock = block; }
  TBlock* GetFirstBlock() const { return FirstBlock; }

  // Ends the run as Stop does once this many commands have executed; 0, the default,
  // sets no limit. For runs nobody can stop: harnesses that run whatever a file holds.
  void SetCommandLimit(std::uint64_t limit) { CommandLimit = limit; }

  // Starts the worker; once only.
  void Start();
  // Stop: asks the run to end. The command executing finishes (a Wait ends its pause
  // after the current slice); the run then ends with "Aborted".
  void Terminate() { Terminated.store(true, std::memory_order_relaxed); }
  bool IsTerminated() const { return Terminated.load(std::memory_order_relaxed); }
  // True once the last hand-over is done: a Join then returns at once.
  bool Finished() const { return Done.load(std::memory_order_acquire); }
  // Waits for the worker to end; nothing when it was never started or is joined. On a
  // main thread whose hand-overs must be served, wait first until Finished() while
  // serving them (WaitServingHandOvers(...) on the Qt side), then join.
  void Join();

  // The stop request of the run executing on the calling thread; false on any thread
  // that is not running a run (the main thread, the debug window's steps).
  static bool StopRequested();

private:
  // The thread function: the walk inside its guard, then the last hand-over.
  void Execute();
  // The walk from the first block until no command is left or Stop was asked.
  void Walk();
  // From the block on, the first command of the first block that has one; empty blocks
  // are passed over. None when the run has no next block, when Stop was asked (the
  // block is kept), or when the walk came back to an empty block it passed over
  // already (block becomes none: no command can ever come).
  TScript* FirstCommandFrom(TBlock*& block);
  // Executes one command where it must run; answers the command that follows.
  TScript* RunCommand(TScript* command);
  // Runs a hand-over target on the main thread and waits for it.
  void HandOver(void (TExperimentThread::*target)());
  // Hands the message over to be shown; a failure to show it does not keep the run
  // from its end.
  void ShowRunMessageNow(const std::string& message);

  // Hand-over targets, run on the main thread.
  void SetExperimentRunning();
  void ShowRunMessage();
  void ExecuteScriptInMainThread();
  void NotifyFinished();

  TBlock* FirstBlock = nullptr;
  std::uint64_t CommandLimit = 0;
  std::string Message;                 // the text the next message hand-over shows
  TScript* MainThreadCommand = nullptr;  // the command handed over, then the one it returned
  std::function<void()> OnFinished;
  std::atomic<bool> Terminated{false};
  std::atomic<bool> Done{false};
  std::thread Worker;
};

// The thread of the run in progress; none when no run exists. Only the main window
// creates and deletes it.
extern TExperimentThread* ExperimentThread;

// True while a run is active: from the creation of its worker until the worker is
// deleted, and while the running flag is set. The main window's edits refuse meanwhile;
// the flag alone would miss the time between Start and the worker's first hand-over,
// when the worker exists and the run has begun.
bool IsRunActive();

// The texts a run ends with.
extern const char* const NoBlocksToRunText;         // "No blocks to run"
extern const char* const AbortedText;               // "Aborted"
extern const char* const ExperimentCompleteText;    // "Experiment Complete"
// Shown for a failure that carries no text of its own.
extern const char* const UnknownRunErrorText;
