#include "scripts/flow/wait_script.h"

#include <chrono>
#include <thread>
#include <utility>

#include "model/assertion.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/wait_copy.h"

namespace {

constexpr std::int32_t SliceTime = 500;     // a slice of a long pause
constexpr std::int32_t LastSliceMax = 600;  // a rest up to this goes in one last slice

TWaitScript::TSleeper& Sleeper() {
  static TWaitScript::TSleeper sleeper;
  return sleeper;
}

TWaitScript::TTracePoll& TracePoll() {
  static TWaitScript::TTracePoll poll;
  return poll;
}

void Sleep(std::int32_t time) {
  if (const TWaitScript::TSleeper& sleeper = Sleeper())
    sleeper(time);
  else if (time > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(time));
}

}  // namespace

TWaitScript::TWaitScript(TBlock* block, TTreeNode* node) : TScript(block, node) {}

TWaitScript::TSleeper TWaitScript::SetSleeper(TSleeper sleeper) {
  return std::exchange(Sleeper(), std::move(sleeper));
}

TWaitScript::TTracePoll TWaitScript::SetTracePoll(TTracePoll poll) {
  return std::exchange(TracePoll(), std::move(poll));
}

bool TWaitScript::SleepInSlices(const std::function<bool()>& stopped) const {
  std::int32_t remaining = ATime;
  std::int32_t slice = SliceTime;
  for (;;) {
    Sleep(slice);
    remaining -= slice;
    if (remaining <= 0) return false;
    if (stopped()) return true;
    slice = remaining > LastSliceMax ? SliceTime : remaining;
  }
}

TScript* TWaitScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  QORV_ASSERT(ATime>-1);
  if (ATime < SliceTime)
    Sleep(ATime);  // a short pause is not ended by Stop
  else
    SleepInSlices([] { return TExperimentThread::StopRequested(); });
  return Pnextscript;
}

TScript* TWaitScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  QORV_ASSERT(ATime>-1);
  bool stopped = false;
  if (ATime <= SliceTime) {
    Sleep(ATime);
  } else {
    const TTracePoll poll = TracePoll();
    stopped = SleepInSlices([&poll] { return poll && poll(); });
  }
  if (!stopped) trace.push_back("Slept " + NumberText::IntToText(ATime) + "ms");
  return Pnextscript;
}

void TWaitScript::Save(TWriteFile& writer) {
  writer.WriteInteger(ATime);
  TScript::Save(writer);
}

void TWaitScript::Load(TReadFile& reader) {
  std::int32_t time = 0;
  reader.ReadInteger(time);
  TScript::Load(reader);
  ATime = time < 0 ? 0 : time;
  UpdateNodeText();
}

std::string TWaitScript::GetText() {
  return "Wait " + NumberText::IntToText(ATime) + " milliseconds";
}

void TWaitScript::SetTime(std::int32_t time) {
  ATime = time;
  UpdateNodeText();
}

TCopyScript* TWaitScript::MakeCopyScript() { return new TCopyWait(ATime); }

void TWaitScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copywait = dynamic_cast<TCopyWait*>(copyscript);
  QORV_ASSERT_AS(copywait!=0, "copywait!=0");
  SetTime(copywait->Time);
}
