// Running an experiment step by step on the main thread, one command per timer tick, each
// through its traced variant: the state of Start, Stop, Pause and Step, the log of what
// ran, the stops, the traced variables and the edits the debug window allows between
// steps. The window owns the timer and calls Tick when it fires; it renders the command
// tree, the attribute tree, the log and the trace lines this engine keeps.
//
// A traced command may process events while it executes (a long Wait serves the window
// between its slices): meanwhile only Stop and Hide act at once; Start, Step, Pause and
// the edits wait until the command has returned, and a tick whose run was stopped or
// whose window was hidden meanwhile discards its result.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/debug_traces.h"
#include "shell/debug_tree.h"
#include "shell/tree_mirror.h"

class TBlock;
class TData;
class TDebugLog;
class TExperiment;
class TScript;

// What the engine needs of its window.
class TDebugRunView {
public:
  virtual ~TDebugRunView() = default;
  // The run timer: on with an interval in milliseconds, or off.
  virtual void SetRunTimer(bool on, int interval) = 0;
  // The buttons' states, the selection or the marks of the command tree changed.
  virtual void StateChanged() = 0;
  // The command tree no longer matches the experiment: call SyncTree soon, outside the
  // edit in progress.
  virtual void TreeStale() = 0;
  // The trees to show, when the window shows; none before they are destroyed.
  virtual void BindTrees(TTree* commands, TTree* attributes) = 0;
  // Serves the user's pending input while a traced command waits.
  virtual void ProcessEvents() = 0;
  // Trace lines came, or the traced variables changed (StateChanged follows).
  virtual void TracesChanged() = 0;
};

// The tool bar's check buttons ("Start", "Stop", "Pause" form one group).
struct TDebugButtons {
  bool StartDown = false;
  bool StopDown = true;
  bool PauseDown = false;
  bool StepDown = false;
  bool StartEnabled = true;
  bool StepEnabled = true;
  bool PauseEnabled = false;
};

class TDebugRun {
public:
  static constexpr int FirstTickInterval = 1;
  static constexpr int TickInterval = 100;

  TDebugRun(TDebugRunView& view, TDebugLog& log);
  // Hides first.
  ~TDebugRun();
  TDebugRun(const TDebugRun&) = delete;
  TDebugRun& operator=(const TDebugRun&) = delete;

  // The window is to show on the experiment: the experiment's pre-run check must accept
  // (a refusal has said why; false, nothing bound). Then both trees are copied and bound,
  // commands added meanwhile go to the selected block, a traced Wait polls this window,
  // and the window is idle.
  bool Show(TExperiment& experiment);
  // The window hides: an active run is aborted and ended; the bindings go at once, or
  // when the command executing has returned.
  void Hide();
  bool IsShowing() const { return Showing; }
  TExperiment* GetExperiment() const { return Exp; }

  // The buttons and the matching menu items.
  void Start();
  void Step();
  void Pause();
  void Stop();
  // The timer fired: one command runs. Nothing while a tick runs or a dialog of this
  // window is open (the timer then fires again later).
  void Tick();

  const TDebugButtons& Buttons() const { return Button; }
  // The menu items: "Start" while Start is up, "Stop" while Stop is up, "Pause" while
  // neither Stop nor Pause is down, "Step" as the Step button.
  bool CanStartItem() const { return !Button.StartDown; }
  bool CanStopItem() const { return !Button.StopDown; }
  bool CanPauseItem() const { return !Button.StopDown && !Button.PauseDown; }
  bool CanStepItem() const { return Button.StepEnabled; }
  bool IsTimerOn() const { return TimerOn; }
  int GetTimerInterval() const { return Interval; }
  // A run is active from Start or Step until it ends or is stopped.
  bool IsRunActive() const { return Prunscript != nullptr; }
  // True while a traced command executes.
  bool IsExecuting() const { return InTick; }
  bool IsPaused() const { return Button.PauseDown; }
  TScript* GetNextScript() const { return Prunscript; }
  TBlock* GetRunBlock() const { return Prunblock; }

  // The copy of the command tree; none while hidden.
  TDebugTree* GetDebugTree() const { return DebugTree.get(); }
  // The copy of the attribute tree, fully expanded; none while hidden.
  TTreeMirror* GetAttributeTree() const { return AttributeTree.get(); }
  TDebugTraces& GetTraces() { return Traces; }
  TDebugLog& GetLog() { return Log; }
  // The block of the command tree's selected node; none without a selection.
  TBlock* GetSelectedBlock() const { return DebugTree ? DebugTree->GetSelectedBlock() : nullptr; }

  // The command tree matched to the experiment again when it changed shape; after a
  // command or block was destroyed the abort mark goes as well.
  void SyncTree();
  // "Add Stop" / "Remove Stop" (F5): commands only.
  void ToggleStop(TTreeNode* node);
  // "Comment Out" / "Restore Script": the experiment is marked modified.
  void ToggleCommentOut(TTreeNode* node);
  // "Delete": an active run is stopped first; the experiment is marked modified.
  void DeleteNode(TTreeNode* node);
  // "Edit" and a double click on a command: its dialog.
  void EditNode(TTreeNode* node);
  // The attribute tree's "Edit": the attribute's dialog; its node shows the new name.
  void EditAttribute(TTreeNode* node);
  // "Trace" / "Remove Trace" of a variable's node.
  void ToggleTrace(TTreeNode* node);
  // The variable of an attribute node; none for any other node.
  static TData* VariableOf(const TTreeNode* node);
  // Opens a dialog of this window; ticks wait meanwhile, so that what the dialog does
  // (a device's settings, the console's exchanges) never interleaves with a step.
  int OpenDialog(const std::function<int()>& open);

private:
  enum class TStopCause { User, Finished };

  // Sets up a new run unless one is paused: false when the experiment's check refused.
  bool PrepareRun();
  // From Prunblock on, the first command of the first block that has one, logging the
  // titles of the blocks entered; both none when no block holds a command any more.
  void FindCommand();
  void StopRun(TStopCause cause);
  // After the run: the outputs' and the data files' end-of-run step.
  void EndRun();
  void Unbind();
  void SetTimer(bool on, int interval);
  void Changed();
  // An action the user asked for while a command executes runs after it returns.
  bool Deferred(std::function<void()> action);
  void RunDeferred();
  TDebugRunView& View;
  TDebugLog& Log;
  TExperiment* Exp = nullptr;
  std::unique_ptr<TDebugTree> DebugTree;
  std::unique_ptr<TTreeMirror> AttributeTree;
  TDebugTraces Traces;
  TDebugButtons Button;
  bool Showing = false;
  bool TimerOn = false;
  int Interval = FirstTickInterval;
  TScript* Prunscript = nullptr;
  TBlock* Prunblock = nullptr;
  std::vector<std::string> Prunlist;
  // A run whose files were prepared and whose end-of-run step has not come yet.
  bool RunOpen = false;
  bool InTick = false;
  int InDialog = 0;
  bool StopPressed = false;
  // Counts the runs stopped, so that a tick knows its run ended while it executed.
  std::uint64_t RunNumber = 0;
  bool EndPending = false;
  bool UnbindPending = false;
  bool ObjectGone = false;
  std::vector<std::function<void()>> Pending;
};

// The log's texts.
extern const char* const ExperimentFinishedText;  // "Experiment Finished"
extern const char* const ExperimentAbortedText;   // "Experiment Aborted"
