// The run engine: each ending with its one message and the end-of-run step, Stop between
// commands, failures of every kind showing only their text, empty blocks passed over
// (chains and cycles), commands run on the main thread, and hand-overs served by a real
// main thread while it waits to join.
#include "scripts/experiment_thread.h"

#include <atomic>
#include <stdexcept>
#include <thread>

#include "model/errors.h"
#include "model/experiment_running.h"
#include "scripts/flow/blank_script.h"
#include "support/experiment_fixture.h"
#include "support/served_ui_port.h"

namespace {

using namespace std::chrono_literals;

// An exception whose text is empty.
struct TSilentError : std::exception {
  const char* what() const noexcept override { return ""; }
};

class ExperimentThreadTest : public TExperimentFixture {
protected:
  // Runs from the block to the end; answers the texts shown. The end-of-run step comes
  // once, in a hand-over, and notes whether the run was marked running.
  TTexts RunFrom(TBlock* first) {
    Finishes = 0;
    const TTexts shown = RunOnWorker(first, [this] {
      ++Finishes;
      RunningAtEnd = ExperimentRunning;
      FinishedInHandOver = TFakeUiPort::InHandOver();
    });
    EXPECT_EQ(Finishes, 1);
    EXPECT_TRUE(FinishedInHandOver);
    return shown;
  }
  // A new worker for the block, not started.
  void NewThread(TBlock* first) {
    Thread = std::make_unique<TExperimentThread>();
    Thread->SetFirstBlock(first);
  }

  int Finishes = 0;
  bool RunningAtEnd = false;
  bool FinishedInHandOver = false;
};

TEST_F(ExperimentThreadTest, ACompleteRunWalksTheBlocksAlongTheirLinks) {
  // Without a first block nothing runs, and the running flag is never set; the message,
  // then the end-of-run step, are handed over.
  EXPECT_EQ(RunFrom(nullptr), TTexts{"No blocks to run"});
  EXPECT_FALSE(RunningAtEnd);
  EXPECT_EQ(Ui.HandOvers(), 2);
  EXPECT_EQ(Ui.Shown()[0].Caption, "");  // the application's title

  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  TBlock* b3 = AddBlock("B3");
  TBlock* b4 = AddBlock("B4");
  Logged(b1, "A");
  Logged(b1, "B");
  Logged(b3, "C");
  Line(b1, b2);  // b2 and b4 stay empty and are passed over
  Line(b2, b3);
  Line(b3, b4);
  TBlock* start = StartRun();
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  EXPECT_EQ(Ran, (TTexts{"A", "B", "C"}));
  EXPECT_TRUE(RunningAtEnd);
  EXPECT_EQ(Ui.HandOvers(), 3);  // running flag, message, end-of-run step
}

TEST_F(ExperimentThreadTest, StopEndsTheRunAfterTheCommandThatIsExecuting) {
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  TLogStub* a = Logged(b1, "A");
  TLogStub* b = Logged(b1, "B");
  TLogStub* c = Logged(b2, "C");
  Line(b1, b2);
  TBlock* start = StartRun();
  // Stop during a command, during a block's last command, during the run's last one.
  const struct { TLogStub* stops; TTexts ran; } cases[] = {
      {a, {"A"}}, {b, {"A", "B"}}, {c, {"A", "B", "C"}}};
  for (const auto& test : cases) {
    for (TLogStub* p : {a, b, c}) p->Action = nullptr;
    test.stops->Action = [this] { Thread->Terminate(); };
    EXPECT_EQ(RunFrom(start), TTexts{"Aborted"}) << test.stops->Text;
    EXPECT_EQ(Ran, test.ran);
  }

  // Stop from the main thread while the run loops between the two blocks.
  for (TLogStub* p : {a, b, c}) p->Action = nullptr;
  Line(b2, b1);
  std::atomic<int> passes{0};
  c->Action = [&passes] { ++passes; };
  Ui.Clear();
  NewThread(start);
  Thread->Start();
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (passes < 100 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);
  EXPECT_GE(passes, 100);
  Thread->Terminate();
  JoinWithin(20s);
  EXPECT_EQ(Ui.Texts(), TTexts{"Aborted"});
}

TEST_F(ExperimentThreadTest, ACommandLimitEndsALoopAsStopDoes) {
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  Logged(b1, "A");
  Logged(b1, "B");
  Logged(b2, "C");
  Line(b1, b2);
  TDrawLine* back = Line(b2, b1);  // a loop no command ends
  const auto runWithin = [this](std::uint64_t limit) {
    Ran.clear();
    NewThread(StartRun());
    Thread->SetCommandLimit(limit);
    Ui.Clear();
    Thread->Start();
    JoinWithin(20s);
    ExperimentRunning = false;
    return Ui.Texts();
  };
  for (const std::uint64_t limit : {1u, 5u, 7u}) {
    EXPECT_EQ(runWithin(limit), TTexts{"Aborted"}) << limit;
    EXPECT_EQ(Ran.size(), limit);
    EXPECT_EQ(Ran.back(), limit == 5 ? "B" : "A") << limit;
  }
  // Without the loop: a run that ends before its limit completes; one that reaches it
  // with its last command is stopped there, as Stop during the last command does.
  Parts.DeletePart(back);
  EXPECT_EQ(runWithin(4), TTexts{"Experiment Complete"});
  EXPECT_EQ(Ran, (TTexts{"A", "B", "C"}));
  EXPECT_EQ(runWithin(3), TTexts{"Aborted"});
  EXPECT_EQ(Ran, (TTexts{"A", "B", "C"}));
  EXPECT_EQ(runWithin(0), TTexts{"Experiment Complete"});  // no limit
}

TEST_F(ExperimentThreadTest, AFailureShowsOnlyItsTextAndTheRunStillEnds) {
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  Logged(b1, "A");
  TLogStub* fails = Logged(b1, "Fails");
  Logged(b1, "C");
  Logged(b2, "D");
  Line(b1, b2);
  TBlock* start = StartRun();
  const struct { std::function<void()> failure; const char* shown; } cases[] = {
      {[] { throw EExperimentError("Device ADC timed out"); }, "Device ADC timed out"},
      {[] { throw std::runtime_error("disk full"); }, "disk full"},
      {[] { throw EReadError("Error reading attribute"); }, "Error reading attribute"},
      {[] { throw TSilentError(); }, UnknownRunErrorText},
      {[] { throw 42; }, UnknownRunErrorText},
  };
  for (const auto& test : cases) {
    fails->Action = test.failure;
    EXPECT_EQ(RunFrom(start), TTexts{test.shown});  // neither "Aborted" nor "Complete"
    EXPECT_EQ(Ran, (TTexts{"A", "Fails"}));
    EXPECT_TRUE(RunningAtEnd);
  }
}

TEST_F(ExperimentThreadTest, EmptyBlocksArePassedOverAndNeverHoldTheRunUp) {
  TBlock* b1 = AddBlock("B1");
  TBlock* b2 = AddBlock("B2");
  TBlock* b3 = AddBlock("B3");
  Line(b1, b2);
  Line(b2, b3);
  TBlock* start = StartRun();
  // A chain of empty blocks completes without executing anything.
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  // A cycle of empty blocks can never give a command: it completes as well.
  Line(b3, b1);
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  EXPECT_TRUE(Ran.empty());
  // A Stop given before the walk starts is honoured while passing over empty blocks.
  NewThread(start);
  Thread->Terminate();
  Thread->Start();
  JoinWithin(20s);
  EXPECT_EQ(Ui.Texts().back(), "Aborted");

  // A loop through an empty block is a real loop: it runs until stopped.
  TLogStub* a = Logged(b2, "A");
  start = StartRun();
  a->Action = [this] {
    if (Ran.size() == 3) Thread->Terminate();
  };
  EXPECT_EQ(RunFrom(start), TTexts{"Aborted"});
  EXPECT_EQ(Ran, (TTexts{"A", "A", "A"}));
}

TEST_F(ExperimentThreadTest, AMainThreadCommandRunsInAHandOver) {
  TBlock* b1 = AddBlock("B1");
  TLogStub* a = Logged(b1, "A");
  TLogStub* plot = Logged(b1, "Plot");
  TLogStub* skipped = Logged(b1, "Skipped");
  TLogStub* c = Logged(b1, "C");
  TBlock* start = StartRun();
  plot->MainThread = true;
  plot->Next = c;  // the walk goes on with the command that it answers
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  EXPECT_EQ(Ran, (TTexts{"A", "Plot", "C"}));
  EXPECT_TRUE(plot->RanInHandOver);
  EXPECT_FALSE(a->RanInHandOver);
  EXPECT_FALSE(skipped->RanInHandOver);
  EXPECT_EQ(Ui.HandOvers(), 4);
}

TEST(ExperimentThreadMainThread, HandOversRunOnTheMainThreadWhileItWaitsToJoin) {
  TServedUiPort ui;
  TDrawParts parts;
  TExperiment exp;
  TTexts log;
  TBlock* block = exp.AddBlock(parts.AddBlock("B1", {}));
  TTree& tree = exp.GetExperimentTree();
  auto add = [&](const std::string& text) {
    return new TLogStub(block, tree.Insert(exp.GetBlankScript()->AExpNode, text), text, log);
  };
  TLogStub* a = add("A");
  TLogStub* plot = add("Plot");
  plot->MainThread = true;
  TBlock* start = exp.Run();
  ASSERT_NE(start, nullptr);
  for (const bool fails : {false, true}) {
    ui.Clear();
    log.clear();
    bool runningWhenFinished = false;
    std::thread::id finishedOn;
    plot->Action = [fails] {
      if (fails) throw EExperimentError("Plot failed");
    };
    TExperimentThread thread([&] {
      runningWhenFinished = ExperimentRunning;
      finishedOn = std::this_thread::get_id();
    });
    thread.SetFirstBlock(start);
    thread.Start();
    ui.ServeUntil([&] { return thread.Finished(); });
    thread.Join();
    EXPECT_EQ(ui.Texts(), TTexts{fails ? "Plot failed" : "Experiment Complete"});
    EXPECT_EQ(log, (TTexts{"A", "Plot"}));
    EXPECT_NE(a->RanOn, ui.Main);
    EXPECT_EQ(plot->RanOn, ui.Main);
    EXPECT_EQ(finishedOn, ui.Main);
    EXPECT_TRUE(runningWhenFinished);
    ExperimentRunning = false;  // as the main window does after the join
  }
}

}  // namespace
