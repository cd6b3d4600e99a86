// Runs through the main window's controls: Stop in its three forms during a long Wait,
// the half second between "Aborted" and the stopped controls, a Start without blocks,
// what a run refuses and disables, and closing the window during a run; a fast plotting
// loop that leaves the main thread free to serve the windows and stops at once.
#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>

#include "expressions/comparison.h"
#include "main_window_steps.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/plot_queue.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "scripts/outputs/plot_script.h"
#include "shell/draw_parts.h"
#include "shell/ui/tool_form.h"

namespace {

class MainWindowRunTest : public TWindowStepsTest {
protected:
  // The controls that carry the run state, as the window and its menus show them.
  void ExpectControls(bool stopped) {
    OpenMenu("ExperimentMenu");
    EXPECT_EQ(Panel(TQorvForm::spRunState), stopped ? QString("Stopped") : QString("Running"));
    EXPECT_EQ(Action("StartButton")->isEnabled(), stopped);
    EXPECT_EQ(Action("StartMenuItem")->isEnabled(), stopped);
    EXPECT_EQ(Action("DebugButton")->isEnabled(), stopped);
    EXPECT_EQ(Action("DebugMenuItem")->isEnabled(), stopped);
    EXPECT_EQ(Action("StopButton")->isEnabled(), !stopped);
    EXPECT_EQ(Action("StopMenuItem")->isEnabled(), !stopped);
  }
  void WaitForRunning() {
    ASSERT_TRUE(WaitUntil([] { return ExperimentRunning.load(); }, 10000)) << "no run began";
  }
  // A loop in the first block that plots n against the counter into a new graph until
  // Stop (n only counts up): Label, Increment n, Plot, Repeat Until n < 0. However fast
  // the build, the run is still plotting when the test stops it.
  TPlotScript* AddEndlessPlotLoop() {
    TBlock* block = BlockOfNode(Exp().GetExperimentTree().GetFirstNode());
    auto* n = static_cast<TDataSingle*>(Exp().GetDataSingleList()->Add(block, eatINTEGER, 1, "n"));
    TOutput* graph = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 1);
    auto* label = new TLabelScript(block, BeforeBlank());
    label->SetTitle("Loop");
    (new TIncrementScript(block, BeforeBlank()))->SetUpIncrement(n, "1");
    auto* plot = new TPlotScript(block, BeforeBlank());
    plot->SetUpYOnly(graph, n, true, 0, nullptr);
    auto* until = new TRepeatUntilScript(block, BeforeBlank());
    until->SetLabel(label);
    until->SetConstantCondition(n, "0", TComparison::LESSTHAN);
    UiPort().ExperimentChanged(1, 0);
    return plot;
  }
  TTreeNode* BeforeBlank() {
    return Exp().GetExperimentTree().Insert(Exp().GetBlankScript()->AExpNode, "none");
  }
};

TEST_F(MainWindowRunTest, StopEndsALongWaitWithinASliceAndTheControlsComeBackHalfASecondLater) {
  StartQorv();
  AddWait(10000);
  TTimedDialogs timed(Dialogs);
  // When Start comes back on after each run.
  TSteadyTime startBack{};
  QObject::connect(Action("StartButton"), &QAction::enabledChanged, Window.get(),
                   [&](bool enabled) {
                     if (enabled) startBack = std::chrono::steady_clock::now();
                   });
  // A Wait sleeps in slices of 500 ms: "Aborted" comes within the slice running when
  // Stop was clicked.
  const long long abortLimit = Sanitized() ? 2000 : 600;

  struct TRound {
    const char* How;
    std::function<void()> Stop;
    int RunningFor;  // milliseconds of the run before Stop, so that Stop falls at
                     // different points of a slice
  };
  const TRound rounds[] = {
      {"the Stop button", [&] { Trigger("StopButton"); }, 100},
      {"Ctrl+S", [&] { QTest::keyClick(Window.get(), Qt::Key_S, Qt::ControlModifier); }, 800},
      {"the S&top menu item", [&] { Trigger("StopMenuItem"); }, 1350},
  };
  for (const TRound& round : rounds) {
    SCOPED_TRACE(round.How);
    Dialogs.ClearCalls();
    timed.Clear();
    Trigger("StartButton");
    WaitForRunning();
    ExpectControls(false);
    EXPECT_TRUE(Panel(TQorvForm::spBlock).isEmpty());
    QTest::qWait(round.RunningFor);

    Dialogs.ScriptAnswers({mbOK});
    const TSteadyTime stop = std::chrono::steady_clock::now();
    round.Stop();
    // Stop only asks the worker to end: the window still shows the run.
    EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Running"));
    EXPECT_TRUE(Action("StopButton")->isEnabled());
    ASSERT_TRUE(WaitUntil([&] { return timed.AnsweredAt("Aborted").has_value(); }, 12000));
    const TSteadyTime aborted = *timed.AnsweredAt("Aborted");
    EXPECT_LE(MillisecondsBetween(stop, aborted), abortLimit);
    ASSERT_EQ(Dialogs.Boxes().size(), 1u);
    const TMessageBox box = Dialogs.Boxes()[0].Box;
    EXPECT_EQ(box.Text, QString("Aborted"));
    EXPECT_EQ(box.Caption, QString("Qorv"));
    EXPECT_EQ(box.Kind, TMessageKind::Information);
    EXPECT_EQ(box.Buttons, mbOK);
    // The box answered, the worker joins half a second later.
    EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Running"));

    ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 5000));
    const long long back = MillisecondsBetween(aborted, startBack);
    EXPECT_GE(back, 400);
    EXPECT_LE(back, 2000);
    EXPECT_FALSE(IsRunActive());
    EXPECT_EQ(ExperimentThread, nullptr);
    ExpectControls(true);
    // The first block is current again, ready for commands.
    EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Start Block"));
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Aborted"});
}

// Start on an experiment without blocks is refused without a word (deleting its last
// block has said that it will not run): no box, and the controls stay stopped.
TEST_F(MainWindowRunTest, StartWithoutBlocksIsRefusedWithoutAMessage) {
  StartQorv();
  TDrawParts& parts = Window->Session().GetDrawParts();
  Dialogs.ScriptAnswers({mbOK});  // "There are no blocks, the experiment will not run."
  parts.DeletePart(parts.GetPart(0));
  UiPort().ExperimentChanged(1, 0);
  ASSERT_FALSE(Exp().HasBlocks());
  Dialogs.ClearCalls();

  QTest::keyClick(Window.get(), Qt::Key_G, Qt::ControlModifier);
  EXPECT_TRUE(Dialogs.Boxes().empty());
  EXPECT_FALSE(IsRunActive());
  EXPECT_EQ(ExperimentThread, nullptr);
  EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Stopped"));
  EXPECT_FALSE(Action("StopButton")->isEnabled());
  EXPECT_TRUE(Action("OpenButton")->isEnabled());
  // The floated Start is refused alike.
  Trigger("FloatButton");
  QTest::mouseClick(Window->ToolWindow()->StartButton(), Qt::LeftButton);
  EXPECT_TRUE(Dialogs.Boxes().empty());
  EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Stopped"));
}

TEST_F(MainWindowRunTest, ARunRefusesOpenAndSaveAndDisablesTheFileMenuButExit) {
  StartQorv();
  AddWait(10000);
  const std::string saved = Temp.PathOf("long.qve");
  SaveAs(saved);
  AddWait(10);  // modified again: closing during the run will ask
  TExperiment* running = &Exp();

  Trigger("StartButton");
  WaitForRunning();
  Dialogs.ClearCalls();
  ExpectControls(false);
  EXPECT_TRUE(Panel(TQorvForm::spBlock).isEmpty());
  for (QAction* button : Window->findChild<QToolBar*>("DeviceToolBar")->actions())
    EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();

  // The tool bar's Open and Save are refused with their messages; no chooser opens.
  Dialogs.ScriptAnswers({mbOK, mbOK});
  Trigger("OpenButton");
  Trigger("SaveButton");
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{CannotOpen, CannotSave}));
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, QString("Qorv"));
  EXPECT_TRUE(Dialogs.FileChoices().empty());
  EXPECT_EQ(&Exp(), running);

  // The "&File" menu: every item disabled but "E&xit".
  QMenu* file = OpenMenu("FileMenu");
  int disabled = 0;
  for (QAction* item : file->actions()) {
    if (item->isSeparator()) continue;
    if (item == Action("ExitMenuItem")) {
      EXPECT_TRUE(item->isEnabled());
    } else {
      EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
      ++disabled;
    }
  }
  EXPECT_GE(disabled, 8);
  EXPECT_FALSE(Menu("Reopen")->isEnabled());
  EXPECT_TRUE(IsRunActive());

  // "E&xit" during the run: "Aborted" while the close joins the worker, then the save
  // question; the window closes without the half-second step, nothing left to end later.
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK, mbNo});
  Trigger("ExitMenuItem");
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Aborted", SaveQuestion}));
  EXPECT_FALSE(IsRunActive());
  EXPECT_EQ(ExperimentThread, nullptr);
  EXPECT_FALSE(Window->isVisible());
  QTest::qWait(700);
  EXPECT_EQ(Dialogs.Texts().size(), 2u);
  Window.reset();
}

TEST_F(MainWindowRunTest, AFastPlottingLoopLeavesTheWindowsServedAndStopsAtOnce) {
  StartQorv();
  TPlotScript* plot = AddEndlessPlotLoop();
  TOutput* graph = plot->GetOutput();
  graph->GetOutputForm()->ShowOutput();
  TTimedDialogs timed(Dialogs);
  const long long stopLimit = Sanitized() ? 2000 : 600;
  // The main thread while the run plots: how late a short wait ends at worst. The worker
  // does not wait for each point, and the main thread adds them in batches.
  const long long gapLimit = Sanitized() ? 250 : 50;
  auto plotted = [graph] {
    return dynamic_cast<TGraphForm&>(*graph->GetOutputForm()).GetSeries(0).Count();
  };

  Trigger("StartButton");
  WaitForRunning();
  // Measured while the window takes several full queues' worth of points.
  const std::int32_t measured = 4 * static_cast<std::int32_t>(TPlotQueue::Limit);
  using std::chrono::steady_clock;
  long long longestWait = 0;  // of 5 ms waits of the event loop, each served by a timer
  int waits = 0;
  for (const TSteadyTime giveUp = steady_clock::now() + std::chrono::seconds(60);
       (plotted() < measured || waits < 20) && steady_clock::now() < giveUp; ++waits) {
    const TSteadyTime before = steady_clock::now();
    QTest::qWait(5);
    longestWait = std::max(longestWait, MillisecondsBetween(before, steady_clock::now()));
  }
  EXPECT_GE(plotted(), measured) << "the window took too few points";
  EXPECT_LE(longestWait, gapLimit);
  // The window takes the points as they come.
  const std::int32_t early = plotted();
  EXPECT_TRUE(WaitUntil([&] { return plotted() > early; }));

  Dialogs.ScriptAnswers({mbOK});
  const TSteadyTime stop = std::chrono::steady_clock::now();
  Trigger("StopButton");
  ASSERT_TRUE(WaitUntil([&] { return timed.AnsweredAt("Aborted").has_value(); }, 12000));
  EXPECT_LE(MillisecondsBetween(stop, *timed.AnsweredAt("Aborted")), stopLimit);
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 5000));
  // Every point the run plotted reached the window, Stop's last ones too.
  EXPECT_EQ(plotted(), plot->GetPointCounter());

  // Closing the window in the middle of such a run: "Aborted", then the save question.
  Trigger("StartButton");
  WaitForRunning();
  EXPECT_TRUE(WaitUntil([&] { return plotted() > 0; }));  // the new run's own points
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK, mbNo});
  Trigger("ExitMenuItem");
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Aborted", SaveQuestion}));
  EXPECT_FALSE(IsRunActive());
  EXPECT_FALSE(Window->isVisible());
  Window.reset();
}

}  // namespace
