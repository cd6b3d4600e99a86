// Saving, opening and closing large experiment files: BM_Save, BM_Open and BM_Close for
// 10,000 and 100,000 commands spread over 1 to 1,000 blocks, and for 10,000 commands
// inside one If-Then section and inside one Label ... Repeat section. The experiments
// are built through the core's own operations (bench_experiments.h), saved once, and
// that file is what BM_Open and BM_Close read. Only the operation itself is timed
// (manual time): an opened experiment is destroyed outside the timing, and BM_Close
// opens outside it and times only the destruction of experiment and diagram.
//
// Before a case is timed, its file is opened and saved again once; a case whose second
// save differs from the first is reported as an error instead of timed.
//
// QORV_BENCH_SKIP_SLOW=1 skips the cases that quadratic loading cannot do in reasonable
// time: all 100,000-command cases (building them alone takes minutes today).
// QORV_BENCH_ITERATIONS=n times n operations per case instead of the counts below.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench_experiments.h"
#include "model/experiment.h"
#include "shell/draw_parts.h"
#include "shell/experiment_file.h"

namespace {

using QorvBench::TLayout;
using QorvBench::TShape;
using TClock = std::chrono::steady_clock;

const char* const TooSlow = "skipped: too slow before linear loading";

const std::vector<TShape>& Shapes() {
  static const std::vector<TShape> shapes = {
      {"10000_commands_1_block", 10000, 1},
      {"10000_commands_10_blocks", 10000, 10},
      {"10000_commands_100_blocks", 10000, 100},
      {"10000_commands_1000_blocks", 10000, 1000},
      {"10000_in_if_then", 10000, 1, TLayout::IfThen},
      {"10000_in_label_repeat", 10000, 1, TLayout::LabelRepeat},
      {"100000_commands_1_block", 100000, 1},
      {"100000_commands_10_blocks", 100000, 10},
      {"100000_commands_100_blocks", 100000, 100},
      {"100000_commands_1000_blocks", 100000, 1000},
  };
  return shapes;
}

bool IsLarge(const TShape& shape) { return shape.Commands >= 100000; }

double Seconds(TClock::duration elapsed) {
  return std::chrono::duration<double>(elapsed).count();
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A path in a subdirectory of the temporary directory; the file name (and with it the
// title the experiment takes on saving) is the case's own in every subdirectory.
std::string PathIn(const std::string& subdirectory, const TShape& shape) {
  const std::filesystem::path folder = std::filesystem::path(QorvBench::TempDir()) / subdirectory;
  std::filesystem::create_directories(folder);
  return (folder / (shape.Name + ".qve")).string();
}

// The file of a case, saved from the built experiment, and why the case cannot be
// timed ("" when it can).
struct TCaseFile {
  std::string Path;
  std::string Error;
};

QorvBench::TExperimentCache& Cache() {
  static QorvBench::TExperimentCache cache;
  return cache;
}

// The case's file, made on first use; opened and saved again, it must give the same
// bytes.
const TCaseFile& CaseFile(const TShape& shape) {
  static std::map<std::string, TCaseFile> files;
  auto found = files.find(shape.Name);
  if (found != files.end()) return found->second;
  TCaseFile& file = files[shape.Name];
  file.Path = PathIn("cases", shape);
  QorvBench::TBenchExperiment& built = Cache().Get(shape);
  std::string error;
  if (!SaveExperimentFile(file.Path, built.GetExperiment(), built.GetParts(), nullptr, error)) {
    file.Error = "the first save failed: " + error;
    return file;
  }
  auto parts = std::make_unique<TDrawParts>();
  std::unique_ptr<TExperiment> opened = OpenExperimentFile(file.Path, *parts, nullptr, error);
  if (!opened) {
    file.Error = "the saved file does not open: " + error;
    return file;
  }
  const std::string again = PathIn("again", shape);
  if (!SaveExperimentFile(again, *opened, *parts, nullptr, error))
    file.Error = "the opened experiment does not save: " + error;
  else if (ReadBytes(again) != ReadBytes(file.Path))
    file.Error = "the opened experiment saves other bytes than the first save";
  opened.reset();  // before its diagram: the blocks take their boxes along
  return file;
}

// Skips the benchmark when the case is too slow or its file is not sound; answers the
// file otherwise.
const TCaseFile* Ready(benchmark::State& state, const TShape& shape) {
  if (IsLarge(shape) && QorvBench::SkipSlow()) {
    state.SkipWithError(TooSlow);
    return nullptr;
  }
  const TCaseFile& file = CaseFile(shape);
  if (!file.Error.empty()) {
    state.SkipWithError(file.Error.c_str());
    return nullptr;
  }
  return &file;
}

void BM_Save(benchmark::State& state, const TShape& shape) {
  if (!Ready(state, shape)) return;
  QorvBench::TBenchExperiment& built = Cache().Get(shape);
  const std::string path = PathIn("saved", shape);
  std::string error;
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    const bool saved = SaveExperimentFile(path, built.GetExperiment(), built.GetParts(), nullptr, error);
    state.SetIterationTime(Seconds(TClock::now() - start));
    if (!saved) {
      state.SkipWithError(("save failed: " + error).c_str());
      break;
    }
  }
}

void BM_Open(benchmark::State& state, const TShape& shape) {
  const TCaseFile* file = Ready(state, shape);
  if (!file) return;
  std::string error;
  for (auto _ : state) {
    auto parts = std::make_unique<TDrawParts>();
    const TClock::time_point start = TClock::now();
    std::unique_ptr<TExperiment> opened = OpenExperimentFile(file->Path, *parts, nullptr, error);
    state.SetIterationTime(Seconds(TClock::now() - start));
    if (!opened) {
      state.SkipWithError(("open failed: " + error).c_str());
      break;
    }
    opened.reset();
    parts.reset();
  }
}

// Closing: the experiment goes (its blocks take their boxes along), then the diagram.
void BM_Close(benchmark::State& state, const TShape& shape) {
  const TCaseFile* file = Ready(state, shape);
  if (!file) return;
  std::string error;
  for (auto _ : state) {
    auto parts = std::make_unique<TDrawParts>();
    std::unique_ptr<TExperiment> opened = OpenExperimentFile(file->Path, *parts, nullptr, error);
    if (!opened) {
      state.SkipWithError(("open failed: " + error).c_str());
      break;
    }
    const TClock::time_point start = TClock::now();
    opened.reset();
    parts.reset();
    state.SetIterationTime(Seconds(TClock::now() - start));
  }
}

// The three benchmarks of a case follow each other, so that the case's experiment is
// built once.
[[maybe_unused]] const bool Registered = [] {
  for (const TShape& shape : Shapes()) {
    const std::int64_t iterations = QorvBench::IterationsOr(IsLarge(shape) ? 3 : 5);
    for (const auto& [name, function] :
         {std::pair{"BM_Save/", &BM_Save}, std::pair{"BM_Open/", &BM_Open},
          std::pair{"BM_Close/", &BM_Close}})
      benchmark::RegisterBenchmark((name + shape.Name).c_str(), function, shape)
          ->UseManualTime()
          ->Unit(benchmark::kMillisecond)
          ->Iterations(iterations);
  }
  return true;
}();

}  // namespace
