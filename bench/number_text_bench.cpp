// Formatting numbers is on the path of every table cell, data-file line and display;
// reading them back is on the path of every data file and Calculate/Increment command.
// Each conversion is measured next to the standard library doing the same digits:
// BM_FormatNumber/<set> against BM_ToChars/<set>, BM_TextToFloat/<set> against
// BM_FromCharsFloat/<set>, BM_TextToInt/<set> against BM_FromCharsInt/<set>.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

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

// ----- Pre-generated sets of a million values, so that the branch predictor cannot
// learn them and the generator is not measured.

constexpr std::size_t kSetSize = 1'000'000;

enum class ESet { Uniform, LogUniform, Integers };

std::vector<double> MakeValues(ESet set) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> uniform(-1000, 1000);
  std::uniform_real_distribution<double> exponent(-30, 30);
  std::vector<double> values(kSetSize);
  for (double& value : values) {
    switch (set) {
      case ESet::Uniform: value = uniform(random); break;
      case ESet::LogUniform:
        value = std::pow(10.0, exponent(random)) * (random() % 2 ? -1 : 1);
        break;
      case ESet::Integers: value = static_cast<double>(random() % 100'000); break;
    }
  }
  return values;
}

const std::vector<double>& Values(ESet set) {
  static const std::vector<double> sets[] = {MakeValues(ESet::Uniform),
                                             MakeValues(ESet::LogUniform),
                                             MakeValues(ESet::Integers)};
  return sets[static_cast<int>(set)];
}

// The texts the application reads back: values as FormatNumber writes them.
const std::vector<std::string>& FloatTexts(ESet set) {
  static const auto make = [](ESet of) {
    std::vector<std::string> texts;
    texts.reserve(kSetSize);
    for (double value : Values(of)) texts.push_back(NumberText::FormatNumber(value, ntSTANDARD, 0));
    return texts;
  };
  static const std::vector<std::string> sets[] = {make(ESet::Uniform), make(ESet::LogUniform),
                                                  make(ESet::Integers)};
  return sets[static_cast<int>(set)];
}

// Integer texts: the sets' values truncated; the log-uniform set spans 1 to 2^31 with
// either sign, as 1e-30..1e30 does not fit an integer.
const std::vector<std::string>& IntTexts(ESet set) {
  static const auto make = [](ESet of) {
    std::mt19937_64 random(43);
    std::uniform_real_distribution<double> exponent(0, 31 * std::log10(2.0));
    std::vector<std::string> texts;
    texts.reserve(kSetSize);
    for (double value : Values(of)) {
      if (of == ESet::LogUniform)
        value = std::trunc(std::pow(10.0, exponent(random))) * (random() % 2 ? -1 : 1);
      texts.push_back(NumberText::IntToText(static_cast<std::int64_t>(value)));
    }
    return texts;
  };
  static const std::vector<std::string> sets[] = {make(ESet::Uniform), make(ESet::LogUniform),
                                                  make(ESet::Integers)};
  return sets[static_cast<int>(set)];
}

// Runs `step` on the set's items in turn.
template <typename TItem, typename TStep>
void Cycle(benchmark::State& state, const std::vector<TItem>& items, TStep step) {
  std::size_t i = 0;
  for (auto _ : state) {
    step(items[i]);
    if (++i == items.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

// ----- Number to text, standard notation.

void BM_FormatNumber(benchmark::State& state, ESet set) {
  Cycle(state, Values(set), [](double value) {
    benchmark::DoNotOptimize(NumberText::FormatNumber(value, ntSTANDARD, 0));
  });
}

// The same without building a std::string, as to_chars.
void BM_FormatNumberTo(benchmark::State& state, ESet set) {
  char buffer[NumberText::FormatNumberMaxChars];
  Cycle(state, Values(set), [&](double value) {
    benchmark::DoNotOptimize(NumberText::FormatNumberTo(buffer, value, ntSTANDARD, 0));
    benchmark::ClobberMemory();
  });
}

// The same digits from the standard library: 15 significant, fixed or scientific.
void BM_ToChars(benchmark::State& state, ESet set) {
  char buffer[32];
  Cycle(state, Values(set), [&](double value) {
    benchmark::DoNotOptimize(
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr);
    benchmark::ClobberMemory();
  });
}

void BM_FormatNumberExact(benchmark::State& state, ESet set) {
  Cycle(state, Values(set), [](double value) {
    benchmark::DoNotOptimize(NumberText::FormatNumberExact(value, ntSTANDARD, 0));
  });
}

// The fixed and scientific notations with a few decimals, as tables show them.
void BM_FormatNumberFixed(benchmark::State& state, ESet set) {
  Cycle(state, Values(set), [](double value) {
    benchmark::DoNotOptimize(NumberText::FormatNumber(value, ntFIXED, 3));
  });
}

void BM_FormatNumberScientific(benchmark::State& state, ESet set) {
  Cycle(state, Values(set), [](double value) {
    benchmark::DoNotOptimize(NumberText::FormatNumber(value, ntSCIENTIFIC, 4));
  });
}

BENCHMARK_CAPTURE(BM_FormatNumber, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_FormatNumberTo, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_ToChars, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_FormatNumber, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_FormatNumberTo, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_ToChars, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_FormatNumber, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_FormatNumberTo, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_ToChars, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_FormatNumberExact, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_FormatNumberExact, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_FormatNumberExact, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_FormatNumberFixed, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_FormatNumberScientific, uniform, ESet::Uniform);

// ----- Text to number.

void BM_TextToFloat(benchmark::State& state, ESet set) {
  Cycle(state, FloatTexts(set), [](const std::string& text) {
    double value = 0;
    benchmark::DoNotOptimize(NumberText::TextToFloat(text, value));
    benchmark::DoNotOptimize(value);
  });
}

void BM_FromCharsFloat(benchmark::State& state, ESet set) {
  Cycle(state, FloatTexts(set), [](const std::string& text) {
    double value = 0;
    benchmark::DoNotOptimize(std::from_chars(text.data(), text.data() + text.size(), value).ptr);
    benchmark::DoNotOptimize(value);
  });
}

// The regional separator ',' (the texts are the same with ',' in place of '.').
void BM_TextToFloatComma(benchmark::State& state, ESet set) {
  std::vector<std::string> texts = FloatTexts(set);
  for (std::string& text : texts)
    if (const auto at = text.find('.'); at != std::string::npos) text[at] = ',';
  NumberText::SetDecimalSeparator(',');
  Cycle(state, texts, [](const std::string& text) {
    double value = 0;
    benchmark::DoNotOptimize(NumberText::TextToFloat(text, value));
    benchmark::DoNotOptimize(value);
  });
  NumberText::SetDecimalSeparator('.');
}

void BM_TextToInt(benchmark::State& state, ESet set) {
  Cycle(state, IntTexts(set), [](const std::string& text) {
    std::int32_t value = 0;
    benchmark::DoNotOptimize(NumberText::TextToInt(text, value));
    benchmark::DoNotOptimize(value);
  });
}

void BM_FromCharsInt(benchmark::State& state, ESet set) {
  Cycle(state, IntTexts(set), [](const std::string& text) {
    std::int32_t value = 0;
    benchmark::DoNotOptimize(std::from_chars(text.data(), text.data() + text.size(), value).ptr);
    benchmark::DoNotOptimize(value);
  });
}

BENCHMARK_CAPTURE(BM_TextToFloat, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_FromCharsFloat, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_TextToFloat, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_FromCharsFloat, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_TextToFloat, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_FromCharsFloat, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_TextToFloatComma, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_TextToInt, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_FromCharsInt, uniform, ESet::Uniform);
BENCHMARK_CAPTURE(BM_TextToInt, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_FromCharsInt, loguniform, ESet::LogUniform);
BENCHMARK_CAPTURE(BM_TextToInt, integers, ESet::Integers);
BENCHMARK_CAPTURE(BM_FromCharsInt, integers, ESet::Integers);

}  // namespace
