// Number generators of the reply rules. Each call of Next gives the following value of
// the sequence; the k-th value (k = 0, 1, ...) is computed from k, never accumulated,
// so long runs do not drift.
#pragma once

#include <cstdint>
#include <string>

namespace gpibsim {

class TGenerator {
public:
  // start, start + step, start + 2 step, ...
  static TGenerator Counter(double start, double step);
  static TGenerator Constant(double value) { return Counter(value, 0); }
  // start + (stop - start) k / steps for k = 0..steps, then again from start.
  static TGenerator Ramp(double start, double stop, std::int64_t steps);
  // amplitude sin(2 pi k / period): period counts values.
  static TGenerator Sine(double amplitude, double period);
  // Uniform in [-amplitude, amplitude) from a SplitMix64 sequence started at seed.
  static TGenerator Noise(std::uint64_t seed, double amplitude);

  double Next();

private:
  enum TKind { COUNTER, RAMP, SINE, NOISE };
  TGenerator(TKind kind, double a, double b, double c) : Kind(kind), A(a), B(b), C(c) {}

  TKind Kind;
  double A;
  double B;
  double C;
  std::uint64_t Index = 0;  // values given so far
  std::uint64_t State = 0;  // the noise generator's SplitMix64 state
};

// A value as a reply prints it: "%.15g".
std::string FormatNumber(double value);

}  // namespace gpibsim
