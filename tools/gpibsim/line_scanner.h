// What the simulators' text parsers share (the bus description here, the serial
// instrument's rules in serialsim): a refusal that carries its reason up to the parser's
// entry point, and a scanner that reads one line word by word.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace gpibsim {

// Thrown by Fail; the parser's entry point catches it and reports the line.
struct TParseError {
  std::string Reason;
};

[[noreturn]] void Fail(std::string reason);

// The word in double quotes, as refusals show it.
std::string Quoted(std::string_view word);

bool IsBlank(char c);

// Reads a line word by word; a word that starts with '#' begins a comment.
class TLineScanner {
public:
  explicit TLineScanner(std::string_view line) : Line(line) {}

  // The next word; empty at the end of the line or at a comment.
  std::string_view Word();
  bool AtEnd();
  // The rest of the line after the blanks, verbatim ('#' is text here).
  std::string_view Rest();
  // The text up to the first '=' that stands between blanks, outer blanks dropped; the
  // scanner moves past the '='. Nothing (and the scanner stays) when there is no such '='.
  std::optional<std::string_view> UpToEquals();
  // Refuses anything but a comment after the words read.
  void End();

private:
  void SkipBlanks();

  std::string_view Line;
  std::size_t Pos = 0;
};

}  // namespace gpibsim
