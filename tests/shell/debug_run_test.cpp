// Running an experiment step by step, headless: binding the trees, the timer and the
// buttons, the blocks' titles, any failure, traces, buttons pressed while a traced
// command executes, hiding during it, deletions and new commands during a run, refusals
// and the end-of-run step. What the window shows of a run (colours, the stop's pop-up,
// Stop during a long Wait) its offscreen test checks.
#include "shell/debug_run.h"

#include <deque>
#include <functional>
#include <stdexcept>

#include "model/errors.h"
#include "model/node_style.h"
#include "model/tree_node.h"
#include "model/value.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/script_request.h"
#include "support/debug_fixture.h"

namespace {

using TTraced = TTracedStub;

class TFakeDebugView : public TDebugRunView {
public:
  void SetRunTimer(bool on, int interval) override {
    TimerOn = on;
    Interval = interval;
  }
  void StateChanged() override {}
  void TracesChanged() override {}
  void TreeStale() override { ++Stale; }
  void BindTrees(TTree* commands, TTree* attributes) override {
    Commands = commands;
    Attributes = attributes;
  }
  void ProcessEvents() override {
    ++Polls;
    if (OnPoll) OnPoll();
  }

  bool TimerOn = false;
  int Interval = 0;
  int Stale = 0;
  int Polls = 0;
  TTree* Commands = nullptr;
  TTree* Attributes = nullptr;
  std::function<void()> OnPoll;
};

// The texts of the nodes a tree lets go (each with those below it) and makes, in
// order: a node's address says nothing here, as a new node may take a freed one's.
class TNodeTurnover : public TTreeObserver {
public:
  explicit TNodeTurnover(TTree& tree) : Tree(tree) { Tree.AddObserver(this); }
  ~TNodeTurnover() override { Tree.RemoveObserver(this); }
  void NodeAboutToRemove(TTreeNode* node) override {
    for (const TTreeNode* walk = node; walk && (walk == node || walk->HasAsParent(node));
         walk = walk->GetNext())
      Removed.push_back(walk->GetText());
  }
  void NodeInserted(TTreeNode* node) override { Made.push_back(node->GetText()); }

  TTexts Removed;
  TTexts Made;

private:
  TTree& Tree;
};

class DebugRunTest : public TDebugFixture {
protected:
  ~DebugRunTest() override { Debug.Hide(); }

  void Show() {
    ASSERT_TRUE(Debug.Show(Exp));
    Ui.Clear();
  }
  // Ticks while the timer is on, at most limit times.
  void RunTimer(int limit = 100) {
    for (int i = 0; i < limit && View.TimerOn; ++i) Debug.Tick();
  }
  TTexts LogTexts() const { return Texts(Log); }
  int Count(const std::string& text) const { return Times(LogTexts(), text); }
  TSingleExpFile* DataFile(const std::string& path) {
    TSingleExpFileRequest request;
    request.FileName = path;
    request.CloseBetweenWrites = false;
    return Exp.GetSingleExpFileList()->Create(request);
  }
  TTreeNode* Selected() { return Debug.GetDebugTree()->GetTree().GetSelected(); }

  TDebugLog Log;
  TFakeDebugView View;
  TDebugRun Debug{View, Log};
};

TEST_F(DebugRunTest, ShowingBindsEveryObjectAndHidingLetsGo) {
  TTraced* a = Cmd("A");
  TTraced* b = Cmd("B");
  TBlock* second = AddBlock("Second");
  Line(Start, second);
  TTraced* c = Cmd("C", second);
  ASSERT_NE(Exp.GetBlankScript(), nullptr);

  Show();
  ASSERT_NE(View.Commands, nullptr);
  ASSERT_NE(View.Attributes, nullptr);
  TTree& tree = *View.Commands;
  // The blank line is no step of a run: only blocks and commands have nodes.
  ASSERT_EQ(tree.Count(), 2);
  EXPECT_EQ(Children(tree.Item(0)), (TTexts{"A", "B"}));
  EXPECT_EQ(Children(tree.Item(1)), TTexts{"C"});
  EXPECT_TRUE(tree.Item(0)->GetExpanded());
  const std::initializer_list<TExperimentObject*> objects{Start, second, a, b, c};
  for (TExperimentObject* object : objects) {
    ASSERT_NE(object->DebugNode, nullptr);
    EXPECT_EQ(object->DebugNode->GetData(), object);
  }
  EXPECT_EQ(View.Attributes->Count(), Exp.GetAttributeTree().Count());
  EXPECT_TRUE(Debug.CanStartItem());

  // Commands added meanwhile go to the block selected in the debug tree.
  tree.SetSelected(c->DebugNode);
  EXPECT_EQ(Debug.GetSelectedBlock(), second);
  EXPECT_EQ(GetTargetBlock(Exp), second);
  tree.SetSelected(nullptr);
  EXPECT_EQ(Debug.GetSelectedBlock(), nullptr);

  Debug.Hide();
  EXPECT_EQ(View.Commands, nullptr);
  for (TExperimentObject* object : objects) EXPECT_EQ(object->DebugNode, nullptr);
  EXPECT_EQ(GetTargetBlock(Exp), nullptr);  // the blank line comes back when the main window selects
  EXPECT_FALSE(Debug.IsShowing());
}

TEST_F(DebugRunTest, ARefusedCheckShowsNothingAndARefusedRunLeavesTheWindowIdle) {
  TTraced* a = Cmd("A");
  a->Runs = false;  // its preparation refuses the run
  EXPECT_FALSE(Debug.Show(Exp));
  EXPECT_FALSE(Debug.IsShowing());
  EXPECT_EQ(View.Commands, nullptr);
  EXPECT_EQ(a->DebugNode, nullptr);
  EXPECT_EQ(Exp.GetCurrentBlock(), Start);  // the blank line stands where it stood

  a->Runs = true;
  Show();
  Debug.Step();
  Debug.Tick();
  Debug.Stop();
  a->Runs = false;  // the check refuses now
  Debug.Start();
  EXPECT_FALSE(Debug.IsRunActive());
  EXPECT_FALSE(View.TimerOn);
  EXPECT_TRUE(Debug.Buttons().StartEnabled);
  EXPECT_EQ(Ran, TTexts{"A"});
  a->Runs = true;
  Debug.Step();
  Debug.Tick();
  EXPECT_EQ(Ran, (TTexts{"A", "A"}));
}

TEST_F(DebugRunTest, StepAndStartDriveTheTimerTheButtonsAndTheAbortMark) {
  Cmd("A");
  TTraced* b = Cmd("B");
  TTraced* c = Cmd("C");
  Cmd("D");
  Show();
  Debug.Step();
  EXPECT_TRUE(View.TimerOn);
  EXPECT_EQ(View.Interval, TDebugRun::FirstTickInterval);
  EXPECT_TRUE(Debug.Buttons().StepDown);
  EXPECT_FALSE(Debug.Buttons().StartEnabled);
  EXPECT_TRUE(Debug.Buttons().PauseEnabled);
  Debug.Tick();
  EXPECT_FALSE(View.TimerOn);
  EXPECT_TRUE(Debug.IsPaused());
  EXPECT_EQ(Debug.GetNextScript(), b);
  Debug.Tick();  // a late tick after the pause does nothing
  EXPECT_EQ(Ran, TTexts{"A"});
  Debug.Stop();

  Debug.ToggleStop(c->DebugNode);
  Debug.ToggleStop(Start->DebugNode);  // blocks take no stop
  EXPECT_EQ(Debug.GetDebugTree()->StopCount(), 1);
  Ran.clear();
  Debug.Start();
  EXPECT_EQ(LogTexts(), TTexts{"Start Block"});  // a new run, on a cleared log
  EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), nullptr);
  EXPECT_TRUE(Debug.Buttons().StartDown);
  EXPECT_FALSE(Debug.Buttons().StepEnabled);
  EXPECT_EQ(View.Interval, TDebugRun::FirstTickInterval);
  Debug.Tick();
  EXPECT_EQ(View.Interval, TDebugRun::TickInterval);
  RunTimer();
  EXPECT_EQ(Ran, (TTexts{"A", "B"}));
  EXPECT_EQ(Selected(), c->DebugNode);

  // Stopped: the abort mark on the next command, whose stop image stays; a second Stop
  // has nothing to abort.
  Debug.Stop();
  EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), c->DebugNode);
  TNodeStyle style;
  ASSERT_TRUE(Debug.GetDebugTree()->DrawNode(*c->DebugNode, style, Debug.IsPaused()));
  EXPECT_TRUE(style.Marks & nmAborted);
  EXPECT_EQ(style.ImageIndex, TDebugTree::StopImage);
  Debug.Stop();
  EXPECT_EQ(Count("Experiment Aborted"), 1);

  // The stop is kept for the next run; at the end the window is idle, unmarked.
  Debug.Start();
  RunTimer();
  Debug.Start();
  RunTimer();
  EXPECT_EQ(Ran, (TTexts{"A", "B", "A", "B", "C", "D"}));
  EXPECT_FALSE(Debug.IsRunActive());
  EXPECT_FALSE(View.TimerOn);
  EXPECT_TRUE(Debug.Buttons().StopDown);
  EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), nullptr);
}

TEST_F(DebugRunTest, TheRunFollowsTheBlocksAndLogsTheirTitles) {
  TBlock* empty = AddBlock("Empty");
  TBlock* last = AddBlock("Last");
  Line(Start, empty);
  Line(empty, last);
  Cmd("A");
  Cmd("Z", last);
  Show();
  Debug.Start();
  RunTimer();
  EXPECT_EQ(Ran, (TTexts{"A", "Z"}));
  EXPECT_EQ(LogTexts(), (TTexts{"Start Block", "A", "A did", "A done", "Empty", "Last", "Z", "Z did",
                                "Z done", "Experiment Finished"}));
  EXPECT_EQ(Log.Line(4).Style, DebugStyleUnderline);
}

TEST_F(DebugRunTest, BlocksWithoutCommandsLeaveTheWindowIdleWithTheirTitles) {
  TBlock* second = AddBlock("Second");
  Line(Start, second);
  Line(second, Start);  // a circle of empty blocks ends too
  Show();
  Debug.Start();
  EXPECT_EQ(LogTexts(), (TTexts{"Start Block", "Second"}));
  EXPECT_FALSE(View.TimerOn);
  EXPECT_FALSE(Debug.IsRunActive());
  EXPECT_TRUE(Debug.Buttons().StopDown);
  Debug.Step();
  EXPECT_FALSE(View.TimerOn);
  EXPECT_EQ(Count("Experiment Finished"), 0);
}

TEST_F(DebugRunTest, AnyFailureOfACommandIsLoggedRedBoldAndAbortsTheRun) {
  Cmd("A");
  TTraced* b = Cmd("B");
  Cmd("C");
  Show();
  const std::pair<std::function<void()>, std::string> failures[] = {
      {[] { throw EExperimentError("Device timed out"); }, "Device timed out"},
      {[] { throw std::runtime_error("No file"); }, "No file"},
      {[] { throw 7; }, UnknownRunErrorText}};
  for (const auto& [action, text] : failures) {
    SCOPED_TRACE(text);
    b->Action = action;
    Ran.clear();
    Debug.Start();
    EXPECT_NO_THROW(RunTimer());  // nothing leaves the tick
    EXPECT_EQ(LogTexts(), (TTexts{"Start Block", "A", "A did", "A done", "B", text, "Experiment Aborted"}));
    EXPECT_EQ(Log.Line(5).Colour, 0x0000FFu);  // red in blue-green-red order
    EXPECT_EQ(Log.Line(5).Style, DebugStyleBold);
    EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), b->DebugNode);
    EXPECT_FALSE(View.TimerOn);
    EXPECT_FALSE(Debug.IsRunActive());
    EXPECT_EQ(Ran, (TTexts{"A", "B"}));
  }
}

TEST_F(DebugRunTest, ATraceFollowsItsVariableAndANewRunClearsItsLines) {
  TDataSingle* count = Single(Start, "n", eatINTEGER, "0");
  TDataSingle* other = Single(Start, "m", eatINTEGER, "0");
  TLabelScript* label = Label("Loop");
  Increment(count, "1", label);
  Increment(other, "1", label);
  Repeat(label, 3);
  Show();
  ASSERT_NE(count->AExpAttNode, nullptr);
  TTreeNode* node = Debug.GetAttributeTree()->CopyOf(count->AExpAttNode);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(TDebugRun::VariableOf(node), count);
  Debug.ToggleTrace(node);
  EXPECT_TRUE(Debug.GetTraces().IsTraced(count));
  EXPECT_FALSE(Debug.GetTraces().IsTraced(other));

  Debug.Start();
  RunTimer();
  const std::deque<std::string>& lines = Debug.GetTraces().Lines();
  ASSERT_EQ(lines.size(), 3u);  // one per new value of n alone
  // Newest first, the variable by its own name: its block's title is left out.
  EXPECT_EQ(lines.front(), "n New value 3: Increment n by 1");
  EXPECT_EQ(lines.back(), "n New value 1: Increment n by 1");
  Debug.Step();
  EXPECT_TRUE(Debug.GetTraces().Lines().empty());
  Debug.ToggleTrace(node);
  EXPECT_FALSE(Debug.GetTraces().HasTraces());
  // A node that shows no variable is no trace.
  Debug.ToggleTrace(Debug.GetAttributeTree()->GetTree().GetFirstNode());
  EXPECT_FALSE(Debug.GetTraces().HasTraces());

  // A traced variable that is destroyed is traced no more.
  Debug.ToggleTrace(Debug.GetAttributeTree()->CopyOf(other->AExpAttNode));
  EXPECT_EQ(Debug.GetTraces().TracedCount(), 1);
  Debug.Stop();
  delete other;
  EXPECT_FALSE(Debug.GetTraces().HasTraces());
}

TEST_F(DebugRunTest, ButtonsPressedWhileACommandExecutesWaitForIt) {
  TWaitScript::SetSleeper([](std::int32_t) {});
  Wait(2000);
  TTraced* b = Cmd("B");
  TTraced* c = Cmd("C");
  Show();
  int inner = 0;
  View.OnPoll = [&] {
    if (View.Polls != 1) return;
    // No tick inside a tick; Step, Pause, Delete, Comment and Edit come afterwards.
    Debug.Tick();
    Debug.Step();
    Debug.DeleteNode(c->DebugNode);
    Debug.ToggleCommentOut(b->DebugNode);
    inner = static_cast<int>(Ran.size());
    EXPECT_TRUE(Debug.IsExecuting());
    EXPECT_FALSE(b->AbCommentedOut);
    EXPECT_NE(c->DebugNode, nullptr);
  };
  Debug.Start();
  Debug.Tick();
  EXPECT_EQ(inner, 0);
  EXPECT_FALSE(Debug.IsExecuting());
  // After the Wait: the Step (a step of the paused run), then the deletion, which
  // stopped the run first, and the comment.
  EXPECT_EQ(Ran, TTexts{});
  EXPECT_TRUE(b->AbCommentedOut);
  EXPECT_EQ(Children(View.Commands->Item(0)), (TTexts{"Wait 2000 milliseconds", "B"}));
  EXPECT_EQ(Count("Slept 2000ms"), 1);
  EXPECT_EQ(Count("Experiment Aborted"), 1);
  EXPECT_FALSE(Debug.IsRunActive());
  EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), nullptr);
  EXPECT_EQ(Ui.ExperimentChanges().size(), 2u);
}

TEST_F(DebugRunTest, HidingDuringACommandUnbindsWhenItReturnsAndEndsTheRun) {
  TWaitScript::SetSleeper([](std::int32_t) {});
  TSingleExpFile* file = DataFile(Temp.PathOf("debug.txt"));
  TTraced* a = Cmd("A");
  a->Action = [file] { file->WriteLine("a"); };
  TWaitScript* wait = Wait(5000);
  Show();
  bool boundDuringWait = false;
  View.OnPoll = [&] {
    if (View.Polls != 1) return;
    Debug.Hide();
    boundDuringWait = wait->DebugNode != nullptr;
    Debug.Start();  // a late press after the close does nothing
  };
  Debug.Step();
  Debug.Tick();
  EXPECT_TRUE(file->IsOpen());
  Debug.Start();
  Debug.Tick();  // the Wait; the window hides in its first poll
  EXPECT_TRUE(boundDuringWait);
  EXPECT_FALSE(Debug.IsShowing());
  EXPECT_EQ(wait->DebugNode, nullptr);
  EXPECT_EQ(a->DebugNode, nullptr);
  EXPECT_EQ(View.Commands, nullptr);
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_EQ(View.Polls, 1);  // the Wait ended after the slice in which Stop came
  // The run's end: the data file closed, complete.
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(Temp.ReadBytes("debug.txt"), (TBytes{'a', '\r', '\n'}));
  // It can show again.
  View.OnPoll = {};
  Show();
  EXPECT_NE(wait->DebugNode, nullptr);
}

TEST_F(DebugRunTest, StoppingAPausedRunClosesItsDataFiles) {
  TSingleExpFile* file = DataFile(Temp.PathOf("end.txt"));
  TTraced* a = Cmd("A");
  a->Action = [file] { file->WriteLine("1"); };
  Cmd("B");
  Show();
  Debug.Step();
  Debug.Tick();
  EXPECT_TRUE(file->IsOpen());
  Debug.Stop();
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(Temp.ReadBytes("end.txt"), (TBytes{'1', '\r', '\n'}));
}

TEST_F(DebugRunTest, DeletingACommandDuringARunStopsItAndKeepsTheOtherStops) {
  Cmd("A");
  TTraced* b = Cmd("B");
  TTraced* c = Cmd("C");
  TTraced* d = Cmd("D");
  Show();
  Debug.ToggleStop(b->DebugNode);
  Debug.ToggleStop(d->DebugNode);
  Debug.Start();
  RunTimer();
  ASSERT_TRUE(Debug.IsPaused());
  ASSERT_EQ(Debug.GetNextScript(), b);
  ASSERT_NE(View.Commands, nullptr);
  TNodeTurnover turnover(*View.Commands);

  Debug.DeleteNode(b->DebugNode);
  EXPECT_EQ(LogTexts().back(), "Experiment Aborted");
  EXPECT_FALSE(Debug.IsRunActive());
  EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), nullptr);
  EXPECT_EQ(Children(View.Commands->Item(0)), (TTexts{"A", "C", "D"}));
  // Rebuilt: the old copy went whole, D's node with it, and D is bound to its new node,
  // which carries the stop.
  EXPECT_EQ(turnover.Removed, (TTexts{"Start Block", "A", "B", "C", "D"}));
  EXPECT_EQ(turnover.Made, (TTexts{"Start Block", "A", "C", "D"}));
  EXPECT_EQ(d->DebugNode, Debug.GetDebugTree()->NodeOfObject(d));
  EXPECT_EQ(Debug.GetDebugTree()->StopCount(), 1);
  EXPECT_TRUE(Debug.GetDebugTree()->HasStop(d->DebugNode));
  EXPECT_FALSE(Debug.GetDebugTree()->HasStop(c->DebugNode));
  EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{1, 0}));

  // A block node is not deleted from here.
  Debug.DeleteNode(Start->DebugNode);
  EXPECT_EQ(View.Commands->Count(), 1);
}

TEST_F(DebugRunTest, ACommandDestroyedElsewhereStopsTheRunBeforeItIsReached) {
  Cmd("A");
  TTraced* b = Cmd("B");
  Cmd("C");
  Show();
  Debug.Step();
  Debug.Tick();
  ASSERT_EQ(Debug.GetNextScript(), b);
  // As an attribute's retype deletes the commands that use it.
  b->Pblock->DeleteScript(b);
  EXPECT_FALSE(Debug.IsRunActive());
  EXPECT_EQ(LogTexts().back(), "Experiment Aborted");
  EXPECT_GT(View.Stale, 0);
  // Nothing runs a node whose object went; the sync rebuilds.
  Debug.Tick();
  Debug.SyncTree();
  EXPECT_EQ(Children(View.Commands->Item(0)), (TTexts{"A", "C"}));
  EXPECT_EQ(Debug.GetDebugTree()->GetAbortNode(), nullptr);
  Debug.Start();
  RunTimer();
  EXPECT_EQ(Ran, (TTexts{"A", "A", "C"}));
}

TEST_F(DebugRunTest, ACommandMadeWhileTheWindowShowsGetsItsNodeBeforeItRuns) {
  Cmd("A");
  TTraced* b = Cmd("B");
  Show();
  Debug.Step();
  Debug.Tick();
  // Made in the running block after B: the paused run reaches it once it is linked.
  TTraced* late = Cmd("Late");
  b->Pnextscript = late;
  EXPECT_EQ(late->DebugNode, nullptr);
  Debug.Start();
  RunTimer();
  EXPECT_EQ(Ran, (TTexts{"A", "B", "Late"}));
  EXPECT_NE(late->DebugNode, nullptr);
  EXPECT_EQ(Children(View.Commands->Item(0)), (TTexts{"A", "B", "Late"}));
}

TEST_F(DebugRunTest, CommentingOutRebuildsAndDrawsTheCommandAsAComment) {
  TTraced* a = Cmd("A");
  Cmd("B");
  Show();
  Debug.ToggleStop(a->DebugNode);
  Debug.ToggleCommentOut(a->DebugNode);
  EXPECT_TRUE(a->AbCommentedOut);
  EXPECT_TRUE(Debug.GetDebugTree()->HasStop(a->DebugNode));
  TNodeStyle style;
  ASSERT_TRUE(Debug.GetDebugTree()->DrawNode(*a->DebugNode, style, false));
  EXPECT_EQ(style.Text, "//A");
  EXPECT_TRUE(style.Italic);
  EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{1, 0}));
  Debug.ToggleCommentOut(a->DebugNode);
  EXPECT_FALSE(a->AbCommentedOut);
  // Blocks are not commented out.
  Debug.ToggleCommentOut(Start->DebugNode);
  EXPECT_EQ(Ui.ExperimentChanges().size(), 2u);
}

TEST_F(DebugRunTest, ATickWhileADialogIsOpenWaitsForIt) {
  TTraced* a = Cmd("A");
  Cmd("B");
  Show();
  Debug.Start();
  // The timer fires while the command's dialog is open: the run goes on afterwards.
  bool timerOnInDialog = false;
  a->OnEdit = [&] {
    Debug.Tick();
    timerOnInDialog = View.TimerOn;
  };
  Debug.EditNode(a->DebugNode);
  EXPECT_EQ(Ran, TTexts{});
  EXPECT_TRUE(timerOnInDialog);
  EXPECT_EQ(View.Interval, TDebugRun::TickInterval);
  RunTimer();
  EXPECT_EQ(Ran, (TTexts{"A", "B"}));
}

}  // namespace
