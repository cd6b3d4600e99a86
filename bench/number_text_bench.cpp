// Formatting numbers is on the path of every table cell, data-file line and display.
#include <benchmark/benchmark.h>

#include "model/number_text.h"

namespace {

void BM_FormatStandard(benchmark::State& state) {
  float value = 0.1f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(NumberText::FormatNumber(value, ntSTANDARD, 0));
    value += 1.37f;
  }
}
BENCHMARK(BM_FormatStandard);

void BM_FormatFixed(benchmark::State& state) {
  float value = 0.1f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(NumberText::FormatNumber(value, ntFIXED, 3));
    value += 1.37f;
  }
}
BENCHMARK(BM_FormatFixed);

}  // namespace
