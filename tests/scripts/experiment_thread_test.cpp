// The run engine: each ending with its one message and the end-of-run step, Stop between
// commands, failures of every kind showing only their text, empty blocks passed over
// (chains and cycles), commands run on the main thread, and hand-overs served by a real
// main thread while it waits to join.
#include "scripts/experiment_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/block.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "model/tree_node.h"
#include "scripts/flow/blank_script.h"
#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"
#include "support/stub_script.h"

namespace {

using TTexts = std::vector<std::string>;
using namespace std::chrono_literals;

thread_local bool InHandOver = false;

// The fake port, marking the functions it runs as hand-overs.
class TMarkingUiPort : public TFakeUiPort {
public:
  void RunInMainThread(const std::function<void()>& fn) override {
    TFakeUiPort::RunInMainThread([&fn] {
      struct TMark {
        bool Outer = std::exchange(InHandOver, true);
        ~TMark() { InHandOver = Outer; }
      } mark;
      fn();
    });
  }
};

// A command that logs its execution, where it ran, and then does its action.
class TProbe : public TStub {
public:
  TProbe(TBlock* block, TTreeNode* node, const std::string& text, TTexts& log)
      : TStub(block, node, TScript::CALCULATE, text), Log(log) {}
  TScript* Execute() override {
    Log.push_back(Text);
    RanInHandOver = InHandOver;
    RanOn = std::this_thread::get_id();
    if (Action) Action();
    return Next ? Next : Pnextscript;
  }
  bool RunInMainThread() override { return MainThread; }

  TTexts& Log;
  std::function<void()> Action;
  TScript* Next = nullptr;  // answered instead of the next command
  bool MainThread = false;
  bool RanInHandOver = false;
  std::thread::id RanOn;
};

// An exception whose text is empty.
struct TSilentError : std::exception {
  const char* what() const noexcept override { return ""; }
};

class ExperimentThreadTest : public ::testing::Test {
protected:
  void TearDown() override { ExperimentRunning = false; }

  TBlock* NewBlock(const std::string& caption) {
    return Exp.AddBlock(Parts.AddBlock(caption, {}));
  }
  void Link(TBlock* from, TBlock* to) {
    Parts.Connect(from->GetDrawBlock(), to->GetDrawBlock());
  }
  // A command at the end of the block (before the blank line when it stands there).
  TProbe* Add(TBlock* block, const std::string& text) {
    TBlankScript* blank = Exp.GetBlankScript();
    TTreeNode* node = blank && blank->Pblock == block ? Tree.Insert(blank->AExpNode, text)
                                                      : Tree.AddChild(block->AExpNode, text);
    return new TProbe(block, node, text, Log);
  }
  // The run check, as the main window's Start makes it.
  TBlock* Prepare() {
    TBlock* start = Exp.Run();
    EXPECT_NE(start, nullptr);
    return start;
  }
  // A new worker for the block, whose end-of-run step counts itself and notes whether
  // the run was marked running.
  void NewThread(TBlock* first) {
    Thread = std::make_unique<TExperimentThread>([this] {
      ++Finishes;
      RunningAtEnd = ExperimentRunning;
      FinishedInHandOver = InHandOver;
    });
    Thread->SetFirstBlock(first);
  }
  // Joins, failing the test (and stopping the run) when it does not end within a time
  // that only a run that cannot end exceeds.
  void JoinWithin(std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!Thread->Finished() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    if (!Thread->Finished()) {
      ADD_FAILURE() << "the run did not end";
      Thread->Terminate();
    }
    Thread->Join();
  }
  // Runs from the block to the end; answers the texts shown.
  TTexts RunFrom(TBlock* first) {
    Ui.Clear();
    Log.clear();
    Finishes = 0;
    NewThread(first);
    Thread->Start();
    JoinWithin(20s);
    EXPECT_EQ(Finishes, 1);
    EXPECT_TRUE(FinishedInHandOver);
    ExperimentRunning = false;  // as the main window does after the join
    return Ui.Texts();
  }

  TMarkingUiPort Ui;
  TDrawParts Parts;
  TExperiment Exp;  // destroyed first: its blocks take their boxes along
  TTree& Tree = Exp.GetExperimentTree();
  TTexts Log;
  std::unique_ptr<TExperimentThread> Thread;
  int Finishes = 0;
  bool RunningAtEnd = false;
  bool FinishedInHandOver = false;
};

TEST_F(ExperimentThreadTest, WithoutAFirstBlockNothingRuns) {
  EXPECT_EQ(RunFrom(nullptr), TTexts{"No blocks to run"});
  EXPECT_FALSE(RunningAtEnd);  // the running flag is never set
  EXPECT_EQ(Ui.HandOvers(), 2);  // the message, then the end-of-run step
  EXPECT_EQ(Ui.Shown()[0].Caption, "");  // the application's title
}

TEST_F(ExperimentThreadTest, ACompleteRunWalksTheBlocksAlongTheirLinks) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TBlock* b3 = NewBlock("B3");
  TBlock* b4 = NewBlock("B4");
  Add(b1, "A");
  Add(b1, "B");
  Add(b3, "C");
  Link(b1, b2);  // b2 and b4 stay empty and are passed over
  Link(b2, b3);
  Link(b3, b4);
  TBlock* start = Prepare();
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  EXPECT_EQ(Log, (TTexts{"A", "B", "C"}));
  EXPECT_TRUE(RunningAtEnd);
  EXPECT_EQ(Ui.HandOvers(), 3);  // running flag, message, end-of-run step
}

TEST_F(ExperimentThreadTest, StopEndsTheRunAfterTheCommandThatIsExecuting) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TProbe* a = Add(b1, "A");
  TProbe* b = Add(b1, "B");
  TProbe* c = Add(b2, "C");
  Link(b1, b2);
  TBlock* start = Prepare();
  // Stop during a command, during a block's last command, during the run's last one.
  const struct {
    TProbe* stops;
    TTexts ran;
  } cases[] = {{a, {"A"}}, {b, {"A", "B"}}, {c, {"A", "B", "C"}}};
  for (const auto& test : cases) {
    for (TProbe* p : {a, b, c}) p->Action = nullptr;
    test.stops->Action = [this] { Thread->Terminate(); };
    EXPECT_EQ(RunFrom(start), TTexts{"Aborted"}) << test.stops->Text;
    EXPECT_EQ(Log, test.ran);
  }

  // Stop from the main thread while the run loops between the two blocks.
  for (TProbe* p : {a, b, c}) p->Action = nullptr;
  Link(b2, b1);
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

TEST_F(ExperimentThreadTest, AFailureShowsOnlyItsTextAndTheRunStillEnds) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  Add(b1, "A");
  TProbe* fails = Add(b1, "Fails");
  Add(b1, "C");
  Add(b2, "D");
  Link(b1, b2);
  TBlock* start = Prepare();
  const struct {
    std::function<void()> failure;
    const char* shown;
  } cases[] = {
      {[] { throw EExperimentError("Device ADC timed out"); }, "Device ADC timed out"},
      {[] { throw std::runtime_error("disk full"); }, "disk full"},
      {[] { throw EReadError("Error reading attribute"); }, "Error reading attribute"},
      {[] { throw TSilentError(); }, UnknownRunErrorText},
      {[] { throw 42; }, UnknownRunErrorText},
  };
  for (const auto& test : cases) {
    fails->Action = test.failure;
    EXPECT_EQ(RunFrom(start), TTexts{test.shown});  // neither "Aborted" nor "Complete"
    EXPECT_EQ(Log, (TTexts{"A", "Fails"}));
    EXPECT_TRUE(RunningAtEnd);
  }
}

TEST_F(ExperimentThreadTest, EmptyBlocksArePassedOverAndNeverHoldTheRunUp) {
  TBlock* b1 = NewBlock("B1");
  TBlock* b2 = NewBlock("B2");
  TBlock* b3 = NewBlock("B3");
  Link(b1, b2);
  Link(b2, b3);
  TBlock* start = Prepare();
  // A chain of empty blocks completes without executing anything.
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  // A cycle of empty blocks can never give a command: it completes as well.
  Link(b3, b1);
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  EXPECT_TRUE(Log.empty());
  // A Stop given before the walk starts is honoured while passing over empty blocks.
  NewThread(start);
  Thread->Terminate();
  Thread->Start();
  JoinWithin(20s);
  EXPECT_EQ(Ui.Texts().back(), "Aborted");

  // A loop through an empty block is a real loop: it runs until stopped.
  TProbe* a = Add(b2, "A");
  Exp.SelectFirstBlock();
  start = Prepare();
  a->Action = [this] {
    if (Log.size() == 3) Thread->Terminate();
  };
  EXPECT_EQ(RunFrom(start), TTexts{"Aborted"});
  EXPECT_EQ(Log, (TTexts{"A", "A", "A"}));
}

TEST_F(ExperimentThreadTest, AMainThreadCommandRunsInAHandOver) {
  TBlock* b1 = NewBlock("B1");
  TProbe* a = Add(b1, "A");
  TProbe* plot = Add(b1, "Plot");
  TProbe* skipped = Add(b1, "Skipped");
  TProbe* c = Add(b1, "C");
  TBlock* start = Prepare();
  plot->MainThread = true;
  plot->Next = c;  // the walk goes on with the command that it answers
  EXPECT_EQ(RunFrom(start), TTexts{"Experiment Complete"});
  EXPECT_EQ(Log, (TTexts{"A", "Plot", "C"}));
  EXPECT_TRUE(plot->RanInHandOver);
  EXPECT_FALSE(a->RanInHandOver);
  EXPECT_FALSE(skipped->RanInHandOver);
  EXPECT_EQ(Ui.HandOvers(), 4);

  // An error thrown there travels back to the worker and ends the run with its text.
  plot->Action = [] { throw EExperimentError("The plot index of x is invalid."); };
  EXPECT_EQ(RunFrom(start), TTexts{"The plot index of x is invalid."});
  EXPECT_EQ(Log, (TTexts{"A", "Plot"}));
}

// A port whose hand-overs run on the thread that made it, the main thread, which serves
// them while it waits.
class TQueuedUiPort : public TFakeUiPort {
public:
  void RunInMainThread(const std::function<void()>& fn) override {
    if (std::this_thread::get_id() == Main) {
      fn();
      return;
    }
    std::exception_ptr error;
    bool done = false;
    {
      std::lock_guard guard(QueueLock);
      Queue.push_back([&] {
        try {
          fn();
        } catch (...) {
          error = std::current_exception();
        }
        std::lock_guard served(QueueLock);
        done = true;
      });
    }
    Ready.notify_all();
    std::unique_lock lock(QueueLock);
    Ready.wait(lock, [&] { return done; });
    if (error) std::rethrow_exception(error);
  }
  // Serves hand-overs until finished() answers true.
  void ServeUntil(const std::function<bool()>& finished) {
    std::unique_lock lock(QueueLock);
    while (!finished()) {
      if (Queue.empty()) {
        Ready.wait_for(lock, 5ms);
        continue;
      }
      std::function<void()> task = std::move(Queue.front());
      Queue.pop_front();
      lock.unlock();
      task();
      lock.lock();
      Ready.notify_all();
    }
  }

  const std::thread::id Main = std::this_thread::get_id();

private:
  std::mutex QueueLock;
  std::condition_variable Ready;
  std::deque<std::function<void()>> Queue;
};

TEST(ExperimentThreadMainThread, HandOversRunOnTheMainThreadWhileItWaitsToJoin) {
  TQueuedUiPort ui;
  TDrawParts parts;
  TExperiment exp;
  TTexts log;
  TBlock* block = exp.AddBlock(parts.AddBlock("B1", {}));
  TTree& tree = exp.GetExperimentTree();
  auto add = [&](const std::string& text) {
    return new TProbe(block, tree.Insert(exp.GetBlankScript()->AExpNode, text), text, log);
  };
  TProbe* a = add("A");
  TProbe* plot = add("Plot");
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
