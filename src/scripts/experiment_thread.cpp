#include "scripts/experiment_thread.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment_running.h"
#include "model/ui_port.h"
#include "scripts/script.h"

TExperimentThread* ExperimentThread = nullptr;

bool IsRunActive() { return ExperimentRunning || ExperimentThread != nullptr; }

const char* const NoBlocksToRunText = "No blocks to run";
const char* const AbortedText = "Aborted";
const char* const ExperimentCompleteText = "Experiment Complete";
const char* const UnknownRunErrorText = "The experiment stopped on an unknown error";

namespace {

// The run executing on this thread; none outside the worker's thread function.
thread_local const TExperimentThread* CurrentRun = nullptr;

// The text a failure shows: its own, or the fixed text when it has none.
std::string TextOf(const std::exception& error) {
  const char* text = error.what();
  return text && *text ? std::string(text) : std::string(UnknownRunErrorText);
}

}  // namespace

TExperimentThread::TExperimentThread(std::function<void()> onFinished)
    : OnFinished(std::move(onFinished)) {}

TExperimentThread::~TExperimentThread() {
  if (Worker.joinable()) {
    Terminate();
    Worker.join();
  }
}

void TExperimentThread::Start() {
  QORV_ASSERT(!Worker.joinable()&&!Done);
  Worker = std::thread([this] { Execute(); });
}

void TExperimentThread::Join() {
  if (Worker.joinable()) Worker.join();
}

bool TExperimentThread::StopRequested() { return CurrentRun && CurrentRun->IsTerminated(); }

void TExperimentThread::Execute() {
  CurrentRun = this;
  if (!FirstBlock) {
    ShowRunMessageNow(NoBlocksToRunText);  // the running flag is never set
  } else {
    // Every failure ends the walk with its text, so that the run always reaches its
    // end and the controls come back.
    std::string message;
    try {
      HandOver(&TExperimentThread::SetExperimentRunning);
      Walk();
      message = IsTerminated() ? AbortedText : ExperimentCompleteText;
    } catch (const std::exception& error) {
      message = TextOf(error);
    } catch (...) {
      message = UnknownRunErrorText;
    }
    ShowRunMessageNow(message);
  }
  try {
    HandOver(&TExperimentThread::NotifyFinished);
  } catch (...) {
    // The end-of-run step failed on the main thread; the worker still ends.
  }
  CurrentRun = nullptr;
  Done.store(true, std::memory_order_release);
}

void TExperimentThread::Walk() {
  TBlock* block = FirstBlock;
  TScript* command = FirstCommandFrom(block);
  std::uint64_t executed = 0;
  while (command && !IsTerminated()) {
    command = RunCommand(command);
    if (++executed == CommandLimit) Terminate();
    // The next block is read only now, after the block's last command ran, so that a
    // Decision's choice of this pass takes effect.
    if (!command && block && !IsTerminated()) {
      block = block->GetRunNextBlock();
      command = FirstCommandFrom(block);
    }
  }
}

TScript* TExperimentThread::FirstCommandFrom(TBlock*& block) {
  std::vector<TBlock*> passed;  // the empty blocks passed over on this way
  while (block && !IsTerminated()) {
    if (TScript* command = block->GetFirstScript()) return command;
    if (std::find(passed.begin(), passed.end(), block) != passed.end()) {
      block = nullptr;  // a cycle of empty blocks: nothing is left to run
      return nullptr;
    }
    passed.push_back(block);
    block = block->GetRunNextBlock();
  }
  return nullptr;
}

TScript* TExperimentThread::RunCommand(TScript* command) {
  if (!command->RunInMainThread()) return command->Execute();
  MainThreadCommand = command;
  try {
    HandOver(&TExperimentThread::ExecuteScriptInMainThread);
  } catch (...) {
    MainThreadCommand = nullptr;
    throw;
  }
  TScript* next = MainThreadCommand;
  MainThreadCommand = nullptr;
  return next;
}

void TExperimentThread::HandOver(void (TExperimentThread::*target)()) {
  UiPort().RunInMainThread([this, target] { (this->*target)(); });
}

void TExperimentThread::ShowRunMessageNow(const std::string& message) {
  Message = message;
  try {
    HandOver(&TExperimentThread::ShowRunMessage);
  } catch (...) {
    // A message that cannot be shown must not keep the run from its end.
  }
}

void TExperimentThread::SetExperimentRunning() { ExperimentRunning = true; }

void TExperimentThread::ShowRunMessage() {
  UiPort().ShowMessage(Message, "", TMessageKind::Information);
}

void TExperimentThread::ExecuteScriptInMainThread() {
  if (MainThreadCommand) MainThreadCommand = MainThreadCommand->Execute();
}

void TExperimentThread::NotifyFinished() {
  if (OnFinished) OnFinished();
}
