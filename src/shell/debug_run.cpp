#include "shell/debug_run.h"

#include <exception>
#include <unordered_set>
#include <utility>

#include "model/assertion.h"
#include "model/block.h"
#include "model/data.h"
#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/wait_script.h"
#include "scripts/script.h"
#include "scripts/script_request.h"
#include "shell/debug_log.h"

namespace {

TTreeNode* NodeWithData(const TTree& tree, const void* data) {
  if (!data) return nullptr;
  for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext())
    if (node->GetData() == data) return node;
  return nullptr;
}

}  // namespace

const char* const ExperimentFinishedText = "Experiment Finished";
const char* const ExperimentAbortedText = "Experiment Aborted";

TDebugRun::TDebugRun(TDebugRunView& view, TDebugLog& log) : View(view), Log(log) {
  Traces.OnChanged = [this] {
    View.TracesChanged();
    Changed();
  };
}

TDebugRun::~TDebugRun() {
  Hide();
  // A window going while a command executes cannot leave its bindings behind.
  if (UnbindPending) Unbind();
}

bool TDebugRun::Show(TExperiment& experiment) {
  QORV_ASSERT(!Showing);
  if (UnbindPending) return false;  // the last command of the last showing still executes
  TBlock* start = nullptr;
  try {
    start = experiment.PreRunCheck();
  } catch (const std::exception& error) {
    Inform(error.what());
  }
  if (!start) return false;
  Exp = &experiment;
  Showing = true;
  Button = TDebugButtons{};
  Prunscript = nullptr;
  Prunblock = nullptr;
  Prunlist.clear();
  ObjectGone = false;
  DebugTree = std::make_unique<TDebugTree>(experiment);
  DebugTree->OnObjectGone = [this] {
    ObjectGone = true;
    // The run may hold the command that goes: it ends before anything reaches it again.
    if (Prunscript) StopRun(TStopCause::User);
  };
  DebugTree->OnChanged = [this] {
    if (DebugTree && DebugTree->IsStale()) View.TreeStale();
  };
  DebugTree->Bind();
  AttributeTree = std::make_unique<TTreeMirror>(experiment.GetAttributeTree());
  AttributeTree->OnRemoving = [this](TTreeNode* copy) {
    Traces.Forget(static_cast<const TExpAttViewData*>(copy->GetData()));
  };
  AttributeTree->OnStale = [this] { View.TreeStale(); };
  AttributeTree->Build();
  View.BindTrees(&DebugTree->GetTree(), &AttributeTree->GetTree());
  TWaitScript::SetTracePoll([this] {
    View.ProcessEvents();
    return StopPressed;
  });
  SetDebugTargetBlock([this] { return GetSelectedBlock(); });
  SetTimer(false, FirstTickInterval);
  Changed();
  return true;
}

void TDebugRun::Hide() {
  if (!Showing) return;
  StopRun(TStopCause::User);
  Showing = false;
  if (InTick) {
    UnbindPending = true;  // the command executing still uses them
    Changed();
    return;
  }
  Unbind();
}

void TDebugRun::Unbind() {
  UnbindPending = false;
  QORV_ASSERT_AS(Prunscript==0, "Prunscript==0");
  Pending.clear();
  Prunlist.clear();
  TWaitScript::SetTracePoll({});
  SetDebugTargetBlock({});
  View.BindTrees(nullptr, nullptr);
  DebugTree.reset();
  AttributeTree.reset();
  Log.Clear();
  Traces.ClearAll();
  Traces.ClearView();
  Exp = nullptr;
  Changed();
}

void TDebugRun::SetTimer(bool on, int interval) {
  TimerOn = on;
  Interval = interval;
  View.SetRunTimer(on, interval);
}

void TDebugRun::Changed() { View.StateChanged(); }

bool TDebugRun::Deferred(std::function<void()> action) {
  if (!InTick) return false;
  Pending.push_back(std::move(action));
  return true;
}

void TDebugRun::RunDeferred() {
  if (EndPending) {
    EndPending = false;
    EndRun();
  }
  if (UnbindPending) {
    Unbind();
    return;
  }
  std::vector<std::function<void()>> actions = std::move(Pending);
  Pending.clear();
  for (const std::function<void()>& action : actions) {
    if (!Showing || InTick) break;
    action();
  }
}

int TDebugRun::OpenDialog(const std::function<int()>& open) {
  ++InDialog;
  struct TLeave {
    int& Count;
    ~TLeave() { --Count; }
  } leave{InDialog};
  return open();
}

// Buttons ---------------------------------------------------------------------------

void TDebugRun::Start() {
  if (!Showing || Deferred([this] { Start(); })) return;
  if (TimerOn) return;
  Button.StartDown = true;
  Button.StopDown = false;
  Button.PauseDown = false;
  Button.StepDown = false;
  Button.StepEnabled = false;
  Button.PauseEnabled = true;
  if (!PrepareRun()) {
    StopRun(TStopCause::User);
    return;
  }
  DebugTree->GetTree().SetSelected(nullptr);
  if (Prunscript) {
    SetTimer(true, FirstTickInterval);
    Changed();
  } else {
    StopRun(TStopCause::User);
  }
}

void TDebugRun::Step() {
  if (!Showing || Deferred([this] { Step(); })) return;
  SetTimer(false, Interval);
  Button.StepDown = true;
  Button.StartDown = false;
  Button.StopDown = false;
  Button.PauseDown = false;
  Button.StartEnabled = false;
  Button.PauseEnabled = true;
  if (!PrepareRun()) {
    StopRun(TStopCause::User);
    return;
  }
  if (Prunscript) {
    SetTimer(true, FirstTickInterval);
    Changed();
  } else {
    StopRun(TStopCause::User);
  }
}

void TDebugRun::Pause() {
  if (!Showing || Deferred([this] { Pause(); })) return;
  SetTimer(false, Interval);
  Button.StepDown = false;
  Button.StartDown = false;
  Button.StopDown = false;
  Button.PauseDown = true;
  Button.StepEnabled = true;
  Button.StartEnabled = true;
  if (Prunscript) {
    SyncTree();
    DebugTree->GetTree().SetSelected(Prunscript->DebugNode);
  }
  Changed();
}

void TDebugRun::Stop() {
  if (!Showing) return;
  // At once, also while a command executes: a traced Wait ends after its slice.
  StopRun(TStopCause::User);
}

void TDebugRun::StopRun(TStopCause cause) {
  SetTimer(false, Interval);
  Button.StopDown = true;
  Button.StartDown = false;
  Button.StepDown = false;
  Button.PauseDown = false;
  Button.PauseEnabled = false;
  Button.StartEnabled = true;
  Button.StepEnabled = true;
  if (cause == TStopCause::Finished) {
    Log.Add(ExperimentFinishedText, DebugFinishedColour, DebugStyleBold);
  } else if (Prunscript) {
    StopPressed = true;
    // After a destruction the command may be the one going: its node is not asked.
    if (DebugTree && !ObjectGone) DebugTree->SetAbortNode(Prunscript->DebugNode);
    Log.Add(ExperimentAbortedText, DebugAbortColour, DebugStyleBold);
  }
  Prunscript = nullptr;
  Prunblock = nullptr;
  ++RunNumber;
  if (RunOpen) {
    if (InTick)
      EndPending = true;  // the command executing may still write to its file
    else
      EndRun();
  }
  Changed();
}

void TDebugRun::EndRun() {
  RunOpen = false;
  if (!Exp) return;
  try {
    Exp->ResetOutputsAndFiles();
  } catch (const std::exception& error) {
    Log.Add(error.what(), DebugAbortColour, DebugStyleBold);
  }
}

// The run ------------------------------------------------------------------------------

bool TDebugRun::PrepareRun() {
  SyncTree();
  DebugTree->SetAbortNode(nullptr);
  DebugTree->GetTree().SetSelected(nullptr);
  if (Prunscript) return true;  // a paused run goes on
  if (RunOpen) EndRun();         // a run that found no command left its files prepared
  Log.Clear();
  Traces.ClearView();
  Prunlist.clear();
  StopPressed = false;
  TBlock* start = nullptr;
  try {
    start = Exp->PreRunCheck();
  } catch (const std::exception& error) {
    Inform(error.what());
  }
  if (!start) return false;  // the check has said why
  RunOpen = true;
  ObjectGone = false;
  Log.Add(start->GetTitle(), DebugBlockColour, DebugStyleUnderline);
  Prunblock = start;
  Prunscript = nullptr;
  FindCommand();
  return true;
}

void TDebugRun::FindCommand() {
  // A diagram whose empty blocks lead back to one passed already can never reach a
  // command: the walk ends there instead of circling.
  std::unordered_set<TBlock*> passed;
  while (Prunblock && !Prunscript) {
    Prunscript = Prunblock->GetFirstScript();
    if (Prunscript) break;
    passed.insert(Prunblock);
    Prunblock = Prunblock->GetRunNextBlock();
    if (!Prunblock || passed.count(Prunblock)) {
      Prunblock = nullptr;
      break;
    }
    Log.Add(Prunblock->GetTitle(), DebugBlockColour, DebugStyleUnderline);
  }
}

void TDebugRun::Tick() {
  // A tick queued before the timer went off is no step.
  if (!Showing || InTick || !TimerOn) return;
  if (InDialog > 0) {
    // The dialog changes what runs next: the run goes on once it has closed.
    SetTimer(true, TickInterval);
    return;
  }
  SetTimer(false, Interval);
  if (!Prunscript) return;  // a late tick: the run has ended
  QORV_ASSERT(Prunblock!=0);
  SyncTree();
  TScript* script = Prunscript;
  const std::string text = script->GetText();
  Log.Add(text, DebugCommandColour, DebugStyleNone);
  const std::uint64_t run = RunNumber;
  StopPressed = false;
  Prunlist.clear();
  TScript* next = nullptr;
  std::string failure;
  bool failed = false;
  InTick = true;
  try {
    next = script->ExecuteTrace(Prunlist);
  } catch (const std::exception& error) {
    failed = true;
    failure = *error.what() ? error.what() : UnknownRunErrorText;
  } catch (...) {
    failed = true;
    failure = UnknownRunErrorText;
  }
  InTick = false;
  if (run != RunNumber || !Showing) {
    // Stopped or hidden meanwhile: what the command did is no step of a run any more.
    Prunlist.clear();
    RunDeferred();
    return;
  }
  if (failed) {
    Prunlist.clear();
    Log.Add(failure, DebugAbortColour, DebugStyleBold);
    StopRun(TStopCause::User);
    RunDeferred();
    return;
  }
  Prunscript = next;
  Traces.Record(*script);
  std::vector<TDebugFormat> lines;
  lines.reserve(Prunlist.size());
  for (const std::string& line : Prunlist)
    lines.push_back(TDebugFormat{line, DebugTraceColour, DebugStyleItalic});
  Log.Add(lines);
  Prunlist.clear();
  if (!Prunscript) {
    Prunblock = Prunblock->GetRunNextBlock();
    if (Prunblock) {
      Log.Add(Prunblock->GetTitle(), DebugBlockColour, DebugStyleUnderline);
      FindCommand();
    }
  }
  if (!Prunscript) {
    StopRun(TStopCause::Finished);
    RunDeferred();
    return;
  }
  // A command made while the window shows gets its node here.
  SyncTree();
  QORV_ASSERT_AS(Prunscript->DebugNode!=0, "Prunscript->DebugNode!=0");
  if (DebugTree->HasStop(Prunscript->DebugNode)) {
    Pause();
  } else {
    Interval = TickInterval;
    if (Button.StartDown)
      SetTimer(true, TickInterval);
    else if (Button.StepDown)
      Pause();
  }
  Changed();
  RunDeferred();
}

// Edits ----------------------------------------------------------------------------------

void TDebugRun::SyncTree() {
  if (!DebugTree) return;
  if (DebugTree->IsStale() || ObjectGone) {
    DebugTree->Rebuild();
    if (ObjectGone) DebugTree->SetAbortNode(nullptr);
    ObjectGone = false;
  }
  if (AttributeTree && AttributeTree->IsStale()) AttributeTree->Build();
  Changed();
}

void TDebugRun::ToggleStop(TTreeNode* node) {
  if (!DebugTree || !DebugTree->Contains(node)) return;
  if (DebugTree->ToggleStop(node)) Changed();
}

void TDebugRun::ToggleCommentOut(TTreeNode* node) {
  if (!Showing || Deferred([this, object = TDebugTree::ObjectOf(node)] {
        ToggleCommentOut(DebugTree->NodeOfObject(object));
      }))
    return;
  if (!DebugTree->Contains(node)) return;
  TScript* script = TDebugTree::ScriptOf(node);
  if (!script || !script->CanCommentOut()) return;
  script->SetCommentedOut(!script->AbCommentedOut);
  DebugTree->Rebuild();
  UiPort().ExperimentChanged(1, 0);
  Changed();
}

void TDebugRun::DeleteNode(TTreeNode* node) {
  if (!Showing || Deferred([this, object = TDebugTree::ObjectOf(node)] {
        DeleteNode(DebugTree->NodeOfObject(object));
      }))
    return;
  if (!DebugTree->Contains(node)) return;
  TScript* script = TDebugTree::ScriptOf(node);
  if (!script || script->GetScriptType() == TScript::BLANK) return;
  QORV_ASSERT(script->Pblock!=0);
  if (Prunscript) StopRun(TStopCause::User);
  script->Pblock->DeleteScript(script);
  ObjectGone = true;
  SyncTree();
  UiPort().ExperimentChanged(1, 0);
}

void TDebugRun::EditNode(TTreeNode* node) {
  if (!Showing || Deferred([this, object = TDebugTree::ObjectOf(node)] {
        EditNode(DebugTree->NodeOfObject(object));
      }))
    return;
  if (!DebugTree->Contains(node)) return;
  TScript* script = TDebugTree::ScriptOf(node);
  if (!script) return;
  OpenDialog([script] { return script->Edit(); });
  SyncTree();
}

TData* TDebugRun::VariableOf(const TTreeNode* node) {
  if (!node || !node->GetData()) return nullptr;
  auto* attribute = static_cast<TExpAttViewData*>(node->GetData());
  if (attribute->ExpAttDataType() != ATTRIBUTE) return nullptr;
  return dynamic_cast<TData*>(static_cast<TExpAttribute*>(attribute));
}

void TDebugRun::EditAttribute(TTreeNode* node) {
  if (!Showing || Deferred([this, data = node ? node->GetData() : nullptr] {
        EditAttribute(NodeWithData(AttributeTree->GetTree(), data));
      }))
    return;
  if (!node || !node->GetData()) return;
  auto* data = static_cast<TExpAttViewData*>(node->GetData());
  if (data->ExpAttDataType() != ATTRIBUTE) return;
  auto* attribute = static_cast<TExpAttribute*>(data);
  OpenDialog([attribute] { return attribute->Edit(); });
  // A retype or channel change may have deleted commands: the run stopped then.
  SyncTree();
}

void TDebugRun::ToggleTrace(TTreeNode* node) {
  if (TData* variable = VariableOf(node)) Traces.Toggle(variable);
}
