// The call log: one line per entry-point call, in call order, in the format README.md
// gives. Tests compare whole lines, so every line is built here or from these helpers.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace gpibsim {

// Bytes between double quotes: printable ASCII as is, '"' and '\' escaped with '\', CR
// as \r, LF as \n, any other byte as \xHH (upper-case hex).
std::string QuoteBytes(std::string_view bytes);

// "0x" + the value as four upper-case hex digits (an NI status word).
std::string Hex4(int value);

class TCallLog {
public:
  // The oldest lines are dropped beyond this many, so a long demo run stays bounded.
  static constexpr std::size_t MaxLines = 100000;

  void Add(std::string line);
  void Clear() { Lines.clear(); }
  // Every line, each ended by '\n'.
  std::string Text() const;

private:
  std::deque<std::string> Lines;
};

}  // namespace gpibsim

namespace gpibsim {

inline std::string LogText(std::string_view text) { return std::string(text); }
inline std::string LogText(long long value) { return std::to_string(value); }

// The parts of a log line joined by single blanks: Words("ibrd", 32, 10, "->", ...).
template <typename... TPart>
std::string Words(const TPart&... parts) {
  std::string line;
  ((line += (line.empty() ? "" : " ") + LogText(parts)), ...);
  return line;
}

}  // namespace gpibsim
