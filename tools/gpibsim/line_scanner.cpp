#include "line_scanner.h"

namespace gpibsim {

void Fail(std::string reason) { throw TParseError{std::move(reason)}; }

std::string Quoted(std::string_view word) { return "\"" + std::string(word) + "\""; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TLineScanner::Word() {
  if (AtEnd()) return {};
  const std::size_t start = Pos;
  while (Pos < Line.size() && !IsBlank(Line[Pos])) ++Pos;
  return Line.substr(start, Pos - start);
}

bool TLineScanner::AtEnd() {
  SkipBlanks();
  return Pos >= Line.size() || Line[Pos] == '#';
}

std::string_view TLineScanner::Rest() {
  SkipBlanks();
  const std::string_view rest = Line.substr(Pos);
  Pos = Line.size();
  return rest;
}

std::optional<std::string_view> TLineScanner::UpToEquals() {
  for (std::size_t i = Pos; i < Line.size(); ++i) {
    const bool alone = Line[i] == '=' && i > 0 && IsBlank(Line[i - 1]) &&
                       (i + 1 == Line.size() || IsBlank(Line[i + 1]));
    if (!alone) continue;
    std::string_view text = Line.substr(Pos, i - Pos);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    Pos = i + 1;
    return text;
  }
  return std::nullopt;
}

void TLineScanner::End() {
  if (!AtEnd()) Fail("unexpected " + Quoted(Word()));
}

void TLineScanner::SkipBlanks() {
  while (Pos < Line.size() && IsBlank(Line[Pos])) ++Pos;
}

}  // namespace gpibsim
