#include "rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "gpibsim/line_scanner.h"

namespace serialsim {
namespace {

using gpibsim::Fail;
using gpibsim::Quoted;
using gpibsim::TGenerator;
using gpibsim::TLineScanner;
using gpibsim::TParseError;

std::int64_t Integer(std::string_view word, std::int64_t low, std::int64_t high,
                     const std::string& what) {
  if (word.empty()) Fail("missing " + what);
  std::int64_t value = 0;
  const char* end = word.data() + word.size();
  const char* first = word.data() + (word[0] == '+' ? 1 : 0);
  const auto [stop, code] = std::from_chars(first, end, value);
  if (code != std::errc() || stop != end || value < low || value > high)
    Fail(what + " must be an integer " + std::to_string(low) + ".." + std::to_string(high) +
         ": " + Quoted(word));
  return value;
}

// A finite decimal real, read the same in every locale.
double Real(std::string_view word, const std::string& what) {
  if (word.empty()) Fail("missing " + what);
  double value = 0;
  const char* end = word.data() + word.size();
  const char* first = word.data() + (word[0] == '+' ? 1 : 0);
  const auto [stop, code] = std::from_chars(first, end, value);
  if (code != std::errc() || stop != end || !std::isfinite(value))
    Fail(what + " is not a number: " + Quoted(word));
  return value;
}

TGenerator ReadGenerator(TLineScanner& scanner) {
  const std::string_view name = scanner.Word();
  if (name == "constant") return TGenerator::Constant(Real(scanner.Word(), "value"));
  if (name == "counter") {
    const double start = Real(scanner.Word(), "start");
    return TGenerator::Counter(start, Real(scanner.Word(), "step"));
  }
  if (name == "ramp") {
    const double start = Real(scanner.Word(), "start");
    const double stop = Real(scanner.Word(), "stop");
    return TGenerator::Ramp(start, stop, Integer(scanner.Word(), 1, 1000000000, "steps"));
  }
  if (name == "sine") {
    const double amplitude = Real(scanner.Word(), "amplitude");
    const double period = Real(scanner.Word(), "period");
    if (period <= 0) Fail("period must be above 0");
    return TGenerator::Sine(amplitude, period);
  }
  if (name == "noise") {
    const auto seed = static_cast<std::uint64_t>(
        Integer(scanner.Word(), 0, INT64_MAX, "seed"));
    return TGenerator::Noise(seed, Real(scanner.Word(), "amplitude"));
  }
  Fail(name.empty() ? "missing generator" : "unknown generator " + Quoted(name));
}

// <generator> [+ <generator> ...] to the end of the line.
std::vector<TGenerator> ReadTerms(TLineScanner& scanner) {
  std::vector<TGenerator> terms{ReadGenerator(scanner)};
  while (!scanner.AtEnd()) {
    const std::string_view plus = scanner.Word();
    if (plus != "+") Fail("expected + or the end of the line, found " + Quoted(plus));
    terms.push_back(ReadGenerator(scanner));
  }
  return terms;
}

TReplyRule ReadRule(TLineScanner& scanner) {
  TReplyRule rule;
  const std::string_view kind = scanner.Word();
  if (kind == "text") {
    rule.Kind = TReplyRule::TEXT;
    rule.Text = scanner.Rest();
  } else if (kind == "number" || kind == "fixed") {
    rule.Kind = TReplyRule::NUMBER;
    if (kind == "fixed")
      rule.Decimals = static_cast<int>(Integer(scanner.Word(), 0, 15, "decimals"));
    rule.Terms = ReadTerms(scanner);
  } else if (kind == "silent") {
    rule.Kind = TReplyRule::SILENT;
    scanner.End();
  } else {
    Fail(kind.empty() ? "missing reply kind" : "unknown reply kind " + Quoted(kind));
  }
  return rule;
}

void AddRule(TRules& rules, std::string command, TReplyRule rule) {
  if (command.empty()) Fail("missing command");
  if (!rules.Replies.emplace(command, std::move(rule)).second)
    Fail("a second rule for " + Quoted(command));
}

void ReadLine(std::string_view line, TRules& rules) {
  TLineScanner scanner(line);
  if (scanner.AtEnd()) return;
  const std::string_view keyword = scanner.Word();
  if (keyword == "terminator") {
    std::string bytes;
    if (std::string_view word = scanner.Word(); word != "none") {
      for (; !word.empty(); word = scanner.Word())
        bytes += static_cast<char>(Integer(word, 0, 255, "terminator"));
      if (bytes.empty()) Fail("missing terminator");
    }
    scanner.End();
    rules.Terminator = bytes;
  } else if (keyword == "idn") {
    TReplyRule rule;
    rule.Kind = TReplyRule::TEXT;
    rule.Text = scanner.Rest();
    AddRule(rules, "*IDN?", std::move(rule));
  } else if (keyword == "reply") {
    const std::optional<std::string_view> command = scanner.UpToEquals();
    if (!command) Fail("missing \" = \"");
    AddRule(rules, std::string(*command), ReadRule(scanner));
  } else {
    Fail("unknown keyword " + Quoted(keyword));
  }
}

// Fixed notation with the decimals given, in every locale.
std::string FixedNumber(double value, int decimals) {
  char text[400];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return std::string(text, result.ptr);
}

}  // namespace

std::optional<std::string> TRules::Reply(const std::string& message) {
  const auto found = Replies.find(message);
  if (found == Replies.end()) return std::nullopt;
  TReplyRule& rule = found->second;
  switch (rule.Kind) {
    case TReplyRule::TEXT:
      return rule.Text + Terminator;
    case TReplyRule::NUMBER: {
      double sum = 0;
      for (TGenerator& term : rule.Terms) sum += term.Next();
      const std::string text =
          rule.Decimals < 0 ? gpibsim::FormatNumber(sum) : FixedNumber(sum, rule.Decimals);
      return text + Terminator;
    }
    case TReplyRule::SILENT:
      break;
  }
  return std::nullopt;
}

int ParseRules(std::string_view text, TRules& rules, std::string& error) {
  TRules read;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    try {
      ReadLine(line, read);
    } catch (const TParseError& failure) {
      error = failure.Reason;
      return number;
    }
  }
  rules = std::move(read);
  return 0;
}

bool LoadRulesFile(const std::string& path, TRules& rules, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot read";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();  // an empty file sets only the stream's failbit
  std::string reason;
  if (const int line = ParseRules(text.str(), rules, reason); line != 0) {
    error = path + ": line " + std::to_string(line) + ": " + reason;
    return false;
  }
  return true;
}

std::string TrimMessage(std::string_view message) {
  const char* blanks = "\r\n \t";
  const std::size_t first = message.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return std::string(message.substr(first, message.find_last_not_of(blanks) - first + 1));
}

}  // namespace serialsim
