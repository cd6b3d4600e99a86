// The Wait command: its slices, Stop honoured between them in a run (and not during a
// short pause), the debug window's trace and its Stop, comment-out, the node text, and
// the record byte by byte with damaged and negative times from files.
#include "scripts/flow/wait_script.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

#include "model/errors.h"
#include "support/experiment_fixture.h"

namespace {

using TSlices = std::vector<std::int32_t>;
using namespace std::chrono_literals;

// Records the slices slept instead of sleeping; onSlice runs after each one with the
// number of slices so far.
class TSleepRecorder {
public:
  explicit TSleepRecorder(std::function<void(std::size_t)> onSlice = {})
      : OnSlice(std::move(onSlice)) {
    Previous = TWaitScript::SetSleeper([this](std::int32_t time) {
      std::size_t count;
      {
        std::lock_guard guard(Lock);
        Slept.push_back(time);
        count = Slept.size();
      }
      if (OnSlice) OnSlice(count);
    });
  }
  ~TSleepRecorder() { TWaitScript::SetSleeper(Previous); }
  // The slices since the last call.
  TSlices Take() {
    std::lock_guard guard(Lock);
    return std::exchange(Slept, {});
  }

private:
  std::function<void(std::size_t)> OnSlice;
  TWaitScript::TSleeper Previous;
  std::mutex Lock;
  TSlices Slept;
};

class WaitScriptTest : public TCommandFixture {
protected:
  TWaitScript* NewWait(std::int32_t time) {
    auto* wait = new TWaitScript(B1, NewNode(B1));
    wait->SetTime(time);
    return wait;
  }
  TWaitScript* Read(const TBytes& bytes, const std::string& version = "Qorv 1.5") {
    return ReadOne<TWaitScript>(bytes, nullptr, version);
  }
};

TEST_F(WaitScriptTest, APauseSleepsInSlicesThatAddUpToItsTime) {
  TSleepRecorder recorder;
  TWaitScript* next = NewWait(1);
  const struct { std::int32_t time; TSlices slices; } cases[] = {
      {0, {0}}, {10, {10}}, {499, {499}}, {500, {500}}, {550, {500, 50}}, {1100, {500, 600}},
      {1101, {500, 500, 101}}, {2000, {500, 500, 500, 500}},
  };
  for (const auto& test : cases) {
    TWaitScript* wait = NewWait(test.time);
    wait->Pnextscript = next;
    EXPECT_EQ(wait->Execute(), next);
    EXPECT_EQ(recorder.Take(), test.slices) << test.time;
    // The debug window's pause: 500 ms or less in one piece, else the same slices.
    std::vector<std::string> trace;
    EXPECT_EQ(wait->ExecuteTrace(trace), next);
    EXPECT_EQ(recorder.Take(), test.slices) << test.time;
    EXPECT_EQ(trace, TTexts{"Slept " + std::to_string(test.time) + "ms"});
    delete wait;
  }
  // Outside a run nothing stops a pause.
  EXPECT_FALSE(TExperimentThread::StopRequested());

  // Commented out: no pause, the comment line in the trace.
  TWaitScript* off = NewWait(1100);
  off->Pnextscript = next;
  off->SetCommentedOut(true);
  std::vector<std::string> trace;
  EXPECT_EQ(off->Execute(), next);
  EXPECT_EQ(off->ExecuteTrace(trace), next);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_EQ(trace, TTexts{"Comment(Wait 1100 milliseconds)"});
}

TEST_F(WaitScriptTest, TheDebugWindowsStopEndsATracedPauseWithoutItsLine) {
  TSleepRecorder recorder;
  TWaitScript* wait = NewWait(2000);
  int polls = 0;
  const auto previous = TWaitScript::SetTracePoll([&polls] { return ++polls == 2; });
  EXPECT_TRUE(TraceOf(wait).empty());
  EXPECT_EQ(recorder.Take(), (TSlices{500, 500}));
  // A pause of 500 ms is one piece: the poll is not asked.
  polls = 0;
  wait->SetTime(500);
  EXPECT_EQ(TraceOf(wait), TTexts{"Slept 500ms"});
  EXPECT_EQ(polls, 0);
  TWaitScript::SetTracePoll(previous);
}

TEST_F(WaitScriptTest, StopInARunEndsALongPauseAfterItsSliceOnly) {
  TWaitScript* wait = NewWait(10000);
  NewWait(7);  // runs only when the run was not stopped
  {
    TSleepRecorder recorder([this](std::size_t slices) {
      if (slices == 2) Thread->Terminate();
    });
    EXPECT_EQ(RunB1(), TTexts{"Aborted"});
    EXPECT_EQ(recorder.Take(), (TSlices{500, 500}));
  }
  // A pause under 500 ms is not sliced: a Stop during it acts after the command.
  wait->SetTime(499);
  {
    TSleepRecorder recorder([this](std::size_t) { Thread->Terminate(); });
    EXPECT_EQ(RunB1(), TTexts{"Aborted"});
    EXPECT_EQ(recorder.Take(), TSlices{499});
  }
  // Without a Stop both pauses run to their end.
  {
    TSleepRecorder recorder;
    EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
    EXPECT_EQ(recorder.Take(), (TSlices{499, 7}));
  }
}

TEST_F(WaitScriptTest, StopEndsARealPauseOfTenSecondsWithinItsSlice) {
  NewWait(10000);
  Prepare(B1);
  // Real slices, counted as they begin: Stop falls inside the pause, not before it.
  std::atomic<int> begun{0};
  TWaitScript::TSleeper previous = TWaitScript::SetSleeper([&begun](std::int32_t time) {
    ++begun;
    std::this_thread::sleep_for(std::chrono::milliseconds(time));
  });
  TExperimentThread thread;
  thread.SetFirstBlock(B1);
  const auto started = std::chrono::steady_clock::now();
  thread.Start();
  while (begun == 0 && std::chrono::steady_clock::now() - started < 15s)
    std::this_thread::sleep_for(1ms);
  EXPECT_GT(begun.load(), 0) << "the pause did not begin";
  std::this_thread::sleep_for(300ms);  // Stop comes partway through the first slice
  const auto stopped = std::chrono::steady_clock::now();
  thread.Terminate();
  while (!thread.Finished() && std::chrono::steady_clock::now() - started < 15s)
    std::this_thread::sleep_for(1ms);
  const auto ended = std::chrono::steady_clock::now();
  thread.Join();
  TWaitScript::SetSleeper(previous);
  // At most one slice (500 ms here) after the Stop; the bound leaves room for a loaded
  // machine and stays far below the pause.
  EXPECT_LT(ended - stopped, 1500ms);
  EXPECT_EQ(Ui.Texts(), TTexts{"Aborted"});
}

TEST_F(WaitScriptTest, TheRecordByteByByteAndBackFromDamagedFiles) {
  auto* made = new TWaitScript(B1, NewNode(B1));
  EXPECT_EQ(made->GetText(), "Wait 10 milliseconds");
  EXPECT_EQ(made->GetScriptType(), 7);
  EXPECT_TRUE(made->CanMakeCopyScript());
  // int32 time, then the base record: identifier, commented-out flag.
  const TBytes record = Written({made});
  EXPECT_EQ(record, Cat({Le32(10), Le32(100), B(false)}));
  TWaitScript* back = Read(record);
  EXPECT_EQ(back->GetTime(), 10);
  EXPECT_EQ(back->AExpNode->GetText(), "Wait 10 milliseconds");  // rebuilt from the time
  EXPECT_EQ(back->PreadscriptID, 100);

  made->SetTime(2500);
  made->SetCommentedOut(true);
  EXPECT_EQ(made->AExpNode->GetText(), "Wait 2500 milliseconds");
  EXPECT_EQ(Written({made}), Cat({Le32(2500), Le32(100), B(true)}));
  EXPECT_TRUE(Read(Written({made}))->AbCommentedOut);
  // Files before version 1.4 carry no commented-out flag.
  EXPECT_FALSE(Read(Cat({Le32(2500), Le32(100)}), "Qorv 1.3")->AbCommentedOut);

  // A negative time from a damaged file waits no time at all.
  TWaitScript* negative = Read(Cat({Le32(static_cast<std::uint32_t>(-5)), Le32(100), B(false)}));
  EXPECT_EQ(negative->GetTime(), 0);
  TSleepRecorder recorder;
  negative->Execute();
  EXPECT_EQ(recorder.Take(), TSlices{0});
  // A short record is refused with a read error.
  for (const TBytes& shortRecord : {TBytes{}, TBytes{10, 0}, Le32(10), Cat({Le32(10), Le32(100)})})
    EXPECT_THROW(Read(shortRecord), EReadError);
}

}  // namespace
