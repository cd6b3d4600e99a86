#include "generator.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace gpibsim {

TGenerator TGenerator::Counter(double start, double step) {
  return TGenerator(COUNTER, start, step, 0);
}

TGenerator TGenerator::Ramp(double start, double stop, std::int64_t steps) {
  return TGenerator(RAMP, start, stop, static_cast<double>(steps));
}

TGenerator TGenerator::Sine(double amplitude, double period) {
  return TGenerator(SINE, amplitude, period, 0);
}

TGenerator TGenerator::Noise(std::uint64_t seed, double amplitude) {
  TGenerator generator(NOISE, amplitude, 0, 0);
  generator.State = seed;
  return generator;
}

double TGenerator::Next() {
  const std::uint64_t k = Index++;
  switch (Kind) {
    case COUNTER:
      return A + static_cast<double>(k) * B;
    case RAMP: {
      const auto steps = static_cast<std::uint64_t>(C);
      return A + (B - A) * static_cast<double>(k % (steps + 1)) / C;
    }
    case SINE:
      return A * std::sin(2 * std::numbers::pi * static_cast<double>(k) / B);
    case NOISE: {
      State += 0x9E3779B97F4A7C15u;
      std::uint64_t z = State;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
      z ^= z >> 31;
      const double unit = static_cast<double>(z >> 11) * 0x1.0p-53;  // [0, 1)
      return A * (2 * unit - 1);
    }
  }
  return 0;
}

std::string FormatNumber(double value) {
  // to_chars with precision 15 prints as "%.15g" does in the C locale, whatever locale
  // the host program has set.
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value,
                                    std::chars_format::general, 15);
  return std::string(text, result.ptr);
}

}  // namespace gpibsim
