// A loaded experiment run: an experiment file opened as the main window opens it,
// without devices, its files kept in the scratch folder, then checked and run on the
// worker thread as Start runs it, for at most CommandBudget commands, Waits not sleeping;
// the end-of-run step then closes the outputs and files. Whatever a run ends with is
// shown as its message and is no fault; a crash, a hang or a leak is.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "model/experiment.h"
#include "model/experiment_running.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/wait_script.h"
#include "shell/draw_parts.h"
#include "shell/experiment_file.h"
#include "support/harness.h"
#include "support/scratch.h"
#include "support/scratch_paths.h"

namespace {

// Enough for loops to turn a few times, few enough for many runs a second.
constexpr std::uint64_t CommandBudget = 256;

void EndOfRun(TExperiment& experiment) {
  try {
    experiment.ResetOutputsAndFiles();
  } catch (const std::exception&) {
    // The main window shows it; the run is over all the same.
  }
  experiment.SelectFirstBlock();
  ExperimentRunning = false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TWaitScript::SetSleeper([](std::int32_t) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  const std::string path = scratch::Write("input.qve", data, size);
  TDrawParts parts;
  std::string error;
  std::unique_ptr<TExperiment> experiment = OpenExperimentFile(path, parts, nullptr, error);
  if (!experiment) return 0;
  KeepFilesInScratch(*experiment, input.Port(), path);
  TBlock* start = experiment->Run();
  if (!start) return 0;
  TExperimentThread thread([&experiment] { EndOfRun(*experiment); });
  ExperimentThread = &thread;
  thread.SetCommandLimit(CommandBudget);
  thread.SetFirstBlock(start);
  thread.Start();
  thread.Join();
  ExperimentThread = nullptr;
  FUZZ_CHECK(thread.Finished());
  FUZZ_CHECK(!ExperimentRunning && !experiment->IsRunning());
  return 0;
}
