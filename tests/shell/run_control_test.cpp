// Run control: a run from Start through the worker's last hand-over to the timer's join,
// Stop, a refused Start, Start during a run, and closing the window during a run.
#include "shell/run_control.h"

#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "session_fixture.h"

namespace {

class RunControlTest : public TSessionFixture {
protected:
  // A single data file that stays open between the writes of a run until its end.
  TSingleExpFile* DataFile(const std::string& name) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    request.CloseBetweenWrites = false;
    return Exp().GetSingleExpFileList()->Create(request);
  }
};

TEST_F(RunControlTest, ARunEndsInTwoStepsAndTheBlankLineComesBack) {
  TBlock* start = StartBlock();
  TBlock* second = AddBlock("Second");
  Line(start, second);
  TSingleExpFile* file = DataFile("run.txt");
  Logged(start, "A")->Action = [file] { file->WriteLine("a"); };
  Logged(second, "B");
  EXPECT_EQ(Exp().GetCurrentBlock(), start);
  Ui.Clear();
  Window.ClearCalls();

  Run.StartButtonClick();
  EXPECT_TRUE(Run.IsRunActive());  // before the worker's first hand-over already
  WaitForRunEnd();
  // The worker's last hand-over has run: the timer is on, nothing is joined yet.
  EXPECT_EQ(Ran, (TTexts{"A", "B"}));
  EXPECT_EQ(Ui.Texts(), TTexts{"Experiment Complete"});
  EXPECT_TRUE(ExperimentRunning);
  EXPECT_TRUE(Window.TimerOn);
  EXPECT_FALSE(Exp().IsRunning());
  EXPECT_TRUE(file->IsOpen());
  EXPECT_EQ(Ui.StatusText(0), "Running");
  EXPECT_EQ(Ui.StatusText(1), "");
  EXPECT_EQ(Window.Calls(), (TTexts{"outputs to front", "controls running", "outputs to front",
                                    "timer on"}));

  Run.TimerTimer();
  EXPECT_EQ(ExperimentThread, nullptr);
  EXPECT_FALSE(ExperimentRunning);
  EXPECT_FALSE(Run.IsRunActive());
  EXPECT_FALSE(Window.TimerOn);
  EXPECT_FALSE(file->IsOpen());  // the data files closed at the end of the run
  EXPECT_EQ(Temp.ReadBytes("run.txt"), (TBytes{'a', '\r', '\n'}));
  EXPECT_EQ(Ui.StatusText(0), "Stopped");
  EXPECT_EQ(Window.Calls().back(), "controls stopped");
  // Commands can be added at once: the first block holds the blank line again.
  ASSERT_NE(Exp().GetBlankScript(), nullptr);
  EXPECT_EQ(Exp().GetCurrentBlock(), start);
  EXPECT_EQ(Ui.StatusText(1), "Start Block");

  // A late tick, or one after the window stopped the timer, finds no worker.
  Window.ClearCalls();
  Run.TimerTimer();
  Run.StopButtonClick();
  EXPECT_TRUE(Window.Calls().empty());
  EXPECT_EQ(Window.TimerStarts, 1);
}

TEST_F(RunControlTest, StopOnlyAsksAndStartDuringARunOnlyShowsTheRunningControls) {
  TBlock* start = StartBlock();
  Logged(start, "Waits")->Action = UntilStopped;
  Ui.Clear();
  Run.StartButtonClick();
  WaitForStopWait();
  TExperimentThread* worker = ExperimentThread;
  Window.ClearCalls();
  Run.StartButtonClick();
  EXPECT_EQ(ExperimentThread, worker);
  EXPECT_EQ(Window.Calls(), TTexts{"controls running"});

  Window.ClearCalls();
  EXPECT_FALSE(Run.DebugButtonClick());  // no debugger during a run
  EXPECT_EQ(Window.Calls(), TTexts{"controls running"});
  Window.ClearCalls();
  Run.StopButtonClick();
  WaitForRunEnd();
  EXPECT_EQ(Ui.Texts(), TTexts{"Aborted"});
  EXPECT_TRUE(ExperimentRunning);  // until the timer's join
  EXPECT_EQ(Window.Calls(), (TTexts{"outputs to front", "timer on"}));
  Run.StartButtonClick();  // while finishing, too
  EXPECT_EQ(ExperimentThread, worker);
  Run.TimerTimer();
  EXPECT_FALSE(Run.IsRunActive());
  EXPECT_EQ(Ui.StatusText(0), "Stopped");

  // The next run starts afresh on a new worker.
  Ui.Clear();
  Run.StartButtonClick();
  WaitForStopWait();
  Run.StopButtonClick();
  WaitForRunEnd();
  Run.TimerTimer();
  EXPECT_EQ(Ui.Texts(), TTexts{"Aborted"});
  EXPECT_EQ(Ran, (TTexts{"Waits", "Waits"}));

  // Stopped: the debugger opens, and afterwards the first block holds the blank line.
  EXPECT_TRUE(Run.DebugButtonClick());
  delete Exp().GetBlankScript();
  Run.DebuggerClosed();
  ASSERT_NE(Exp().GetBlankScript(), nullptr);
  EXPECT_EQ(Exp().GetCurrentBlock(), start);
}

TEST_F(RunControlTest, ANewExperimentRunsAtOnce) {
  // Its start block has nothing to do yet: the run completes.
  Ui.Clear();
  Run.StartButtonClick();
  WaitForRunEnd();
  Run.TimerTimer();
  EXPECT_EQ(Ui.Texts(), TTexts{"Experiment Complete"});
  EXPECT_FALSE(Run.IsRunActive());
  EXPECT_EQ(Exp().GetCurrentBlock(), StartBlock());
}

TEST_F(RunControlTest, ARefusedStartPutsEverythingBack) {
  // An experiment without blocks is refused without a word: deleting its last block has
  // said that it will not run.
  DeleteBlock(StartBlock());
  Ui.Clear();
  Run.StartButtonClick();
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_EQ(ExperimentThread, nullptr);
  EXPECT_FALSE(Run.IsRunActive());
  EXPECT_EQ(Window.Calls(), (TTexts{"outputs to front", "controls running", "controls stopped"}));
  EXPECT_EQ(Ui.StatusText(0), "Stopped");

  // A command that cannot run refuses the run: no worker, the blank line and the block's
  // panel as before the click.
  TBlock* start = AddBlock("First");
  Logged(start, "Broken")->Runs = false;
  Window.ClearCalls();
  Run.StartButtonClick();
  EXPECT_EQ(ExperimentThread, nullptr);
  EXPECT_FALSE(Exp().IsRunning());
  EXPECT_EQ(Window.Calls().back(), "controls stopped");
  EXPECT_EQ(Window.TimerStarts, 0);
  ASSERT_NE(Exp().GetBlankScript(), nullptr);
  EXPECT_EQ(Exp().GetCurrentBlock(), start);
  EXPECT_EQ(Ui.StatusText(1), "Start Block");
  EXPECT_TRUE(Ran.empty());
}

TEST_F(RunControlTest, ClosingDuringARunEndsItInFullBeforeTheSaveQuestion) {
  TBlock* start = StartBlock();
  TSingleExpFile* file = DataFile("close.txt");
  Logged(start, "Writes")->Action = [file] {
    file->WriteLine("x");
    UntilStopped();
  };
  Session.ExperimentChanged(1, 0);
  Ui.Clear();
  Run.StartButtonClick();
  WaitForStopWait();

  // What holds when the save question comes.
  bool running = true, workerLeft = true, fileOpen = true;
  TTexts shownBefore;
  Ui.OnQuestion = [&](const std::string&) {
    running = ExperimentRunning;
    workerLeft = ExperimentThread != nullptr;
    fileOpen = file->IsOpen();
    shownBefore = Ui.Texts();
  };
  Ui.ScriptAnswers({mbNo});
  EXPECT_TRUE(Session.FormClose(Run));
  EXPECT_FALSE(running);
  EXPECT_FALSE(workerLeft);
  EXPECT_FALSE(fileOpen);
  EXPECT_EQ(shownBefore, TTexts{"Aborted"});
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"Aborted", "The experiment has been changed, do you wish to save it?"}));
  EXPECT_EQ(Window.TimerStarts, 0);  // the close handler joined the worker itself
  EXPECT_FALSE(Window.TimerOn);
  EXPECT_EQ(Ui.StatusText(0), "Stopped");
  EXPECT_FALSE(Run.IsClosing());

  // Closing while the run is finishing (its timer pending) ends it there as well.
  Ui.OnQuestion = nullptr;
  Ui.Clear();
  Run.StartButtonClick();
  WaitForStopWait();
  Run.StopButtonClick();
  WaitForRunEnd();
  EXPECT_TRUE(Window.TimerOn);
  EXPECT_TRUE(file->IsOpen());
  Ui.ScriptAnswers({mbNo});
  EXPECT_TRUE(Session.FormClose(Run));
  EXPECT_FALSE(Window.TimerOn);
  EXPECT_FALSE(Run.IsRunActive());
  EXPECT_FALSE(file->IsOpen());
  Run.TimerTimer();  // a tick already queued does nothing
  EXPECT_FALSE(Run.IsRunActive());

  // Without a run, closing only asks.
  Window.ClearCalls();
  EXPECT_FALSE(Run.CloseDuringRun());
  EXPECT_TRUE(Window.Calls().empty());
}

}  // namespace
