// What opening and closing cost per command as an experiment grows: BM_OpenScaling and
// BM_CloseScaling open one block of 5,000 to 100,000 commands (the commands of the file
// benchmarks, bench_experiments.h) and report the time per command ("ns_per_command").
// Loading and closing are linear, so the time per command stays flat while the
// experiment's objects stay in the processor's caches; it steps up once they outgrow
// them, and stays flat again beyond. The ratio of the 100,000- to the 10,000-command
// file benchmarks holds that step as well as the code's own growth.
//
// QORV_BENCH_SKIP_SLOW=1 skips the 100,000-command case; QORV_BENCH_ITERATIONS=n times
// n operations per size.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_experiments.h"
#include "model/experiment.h"
#include "shell/draw_parts.h"
#include "shell/experiment_file.h"

namespace {

using TClock = std::chrono::steady_clock;

QorvBench::TShape ShapeOf(std::int32_t commands) {
  return {"scaling_" + std::to_string(commands), commands, 1};
}

// The saved file of the size, made once per size; empty when the save failed.
std::string FileOf(const QorvBench::TShape& shape, std::string& error) {
  const std::filesystem::path folder = std::filesystem::path(QorvBench::TempDir()) / "scaling";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / (shape.Name + ".qve")).string();
  if (std::filesystem::exists(path)) return path;
  static QorvBench::TExperimentCache cache;
  QorvBench::TBenchExperiment& built = cache.Get(shape);
  if (!SaveExperimentFile(path, built.GetExperiment(), built.GetParts(), nullptr, error)) return "";
  return path;
}

// Times the open (closing is false) or the close of the file, per command.
void Scaling(benchmark::State& state, std::int32_t commands, bool closing) {
  const QorvBench::TShape shape = ShapeOf(commands);
  if (commands >= 100000 && QorvBench::SkipSlow()) {
    state.SkipWithError("skipped: QORV_BENCH_SKIP_SLOW=1");
    return;
  }
  std::string error;
  const std::string path = FileOf(shape, error);
  if (path.empty()) {
    state.SkipWithError(("save failed: " + error).c_str());
    return;
  }
  double nanoseconds = 0;
  for (auto _ : state) {
    auto parts = std::make_unique<TDrawParts>();
    const TClock::time_point opening = TClock::now();
    std::unique_ptr<TExperiment> opened = OpenExperimentFile(path, *parts, nullptr, error);
    const TClock::time_point openedAt = TClock::now();
    if (!opened) {
      state.SkipWithError(("open failed: " + error).c_str());
      break;
    }
    opened.reset();  // before its diagram: the blocks take their boxes along
    parts.reset();
    const TClock::duration elapsed =
        closing ? TClock::now() - openedAt : openedAt - opening;
    const double seconds = std::chrono::duration<double>(elapsed).count();
    state.SetIterationTime(seconds);
    nanoseconds += seconds * 1e9;
  }
  if (state.iterations() > 0)
    state.counters["ns_per_command"] =
        nanoseconds / (static_cast<double>(state.iterations()) * commands);
}

[[maybe_unused]] const bool Registered = [] {
  for (const std::int32_t commands : {5000, 10000, 20000, 30000, 40000, 60000, 80000, 100000}) {
    const std::int64_t iterations = QorvBench::IterationsOr(commands >= 60000 ? 3 : 5);
    for (const bool closing : {false, true})
      benchmark::RegisterBenchmark(
          (std::string(closing ? "BM_CloseScaling/" : "BM_OpenScaling/") +
           std::to_string(commands) + "_commands")
              .c_str(),
          [commands, closing](benchmark::State& state) { Scaling(state, commands, closing); })
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond)
          ->Iterations(iterations);
  }
  return true;
}();

}  // namespace
