#include "config.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "line_scanner.h"

namespace gpibsim {
namespace {

// Decimal or 0x-hex, with an optional sign.
std::int64_t Integer(std::string_view word, std::int64_t low, std::int64_t high,
                     const std::string& what) {
  if (word.empty()) Fail("missing " + what);
  std::string_view digits = word;
  const bool negative = digits[0] == '-';
  if (digits[0] == '-' || digits[0] == '+') digits.remove_prefix(1);
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  }
  std::uint64_t magnitude = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, code] = std::from_chars(digits.data(), end, magnitude, base);
  if (digits.empty() || code == std::errc::invalid_argument || stop != end)
    Fail(what + " is not an integer: " + Quoted(word));
  const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
  const bool inRange = code == std::errc() && magnitude <= limit;
  const auto value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
  if (!inRange || value < low || value > high)
    Fail(what + " out of range " + std::to_string(low) + ".." + std::to_string(high) + ": " +
         Quoted(word));
  return value;
}

// A finite decimal or 0x-hex real, read the same in every locale.
double Real(std::string_view word, const std::string& what) {
  if (word.empty()) Fail("missing " + what);
  std::string_view digits = word;
  const bool negative = digits[0] == '-';
  if (digits[0] == '-' || digits[0] == '+') digits.remove_prefix(1);
  auto format = std::chars_format::general;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    format = std::chars_format::hex;
    digits.remove_prefix(2);
  }
  double value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, code] = std::from_chars(digits.data(), end, value, format);
  const bool secondSign = !digits.empty() && (digits[0] == '-' || digits[0] == '+');
  if (digits.empty() || secondSign || code != std::errc() || stop != end ||
      !std::isfinite(value))
    Fail(what + " is not a number: " + Quoted(word));
  return negative ? -value : value;
}

bool OnOff(std::string_view word) {
  if (word == "on") return true;
  if (word == "off") return false;
  Fail("expected on or off, found " + Quoted(word));
}

int TerminatorCode(std::string_view word) {
  if (word == "none") return TInstrument::None;
  return static_cast<int>(Integer(word, 0, 255, "terminator"));
}

// A separator word: \t tab, \s blank, \r, \n, \\ and \xHH stand for their bytes.
std::string Separator(std::string_view word) {
  if (word.empty()) Fail("missing separator");
  std::string bytes;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '\\') {
      bytes += word[i];
      continue;
    }
    const char code = i + 1 < word.size() ? word[++i] : '\0';
    if (code == 't') {
      bytes += '\t';
    } else if (code == 's') {
      bytes += ' ';
    } else if (code == 'r') {
      bytes += '\r';
    } else if (code == 'n') {
      bytes += '\n';
    } else if (code == '\\') {
      bytes += '\\';
    } else if (code == 'x' && i + 2 < word.size()) {
      unsigned byte = 0;
      const char* first = word.data() + i + 1;
      const auto [stop, error] = std::from_chars(first, first + 2, byte, 16);
      if (error != std::errc() || stop != first + 2) Fail("bad separator " + Quoted(word));
      bytes += static_cast<char>(byte);
      i += 2;
    } else {
      Fail("bad separator " + Quoted(word));
    }
  }
  return bytes;
}

TGenerator ReadGenerator(TLineScanner& scanner) {
  const std::string_view name = scanner.Word();
  TGenerator generator = TGenerator::Constant(0);
  if (name == "constant") {
    generator = TGenerator::Constant(Real(scanner.Word(), "value"));
  } else if (name == "counter") {
    const double start = Real(scanner.Word(), "start");
    generator = TGenerator::Counter(start, Real(scanner.Word(), "step"));
  } else if (name == "ramp") {
    const double start = Real(scanner.Word(), "start");
    const double stop = Real(scanner.Word(), "stop");
    generator = TGenerator::Ramp(start, stop, Integer(scanner.Word(), 1, 1000000000, "steps"));
  } else if (name == "sine") {
    const double amplitude = Real(scanner.Word(), "amplitude");
    const double period = Real(scanner.Word(), "period");
    if (period <= 0) Fail("the period must be above 0");
    generator = TGenerator::Sine(amplitude, period);
  } else if (name == "noise") {
    const auto seed = Integer(scanner.Word(), std::numeric_limits<std::int64_t>::min(),
                              std::numeric_limits<std::int64_t>::max(), "seed");
    generator = TGenerator::Noise(static_cast<std::uint64_t>(seed),
                                  Real(scanner.Word(), "amplitude"));
  } else {
    Fail(name.empty() ? "missing generator" : "unknown generator " + Quoted(name));
  }
  scanner.End();
  return generator;
}

// "binary int8|int16|int32|float32 le|be <values>": the values as raw bytes.
std::string ReadBinary(TLineScanner& scanner) {
  const std::string_view type = scanner.Word();
  int size = 0;
  std::int64_t low = 0;
  std::int64_t high = 0;
  if (type == "int8" || type == "int16" || type == "int32") {
    // Signed values and their unsigned raw bit patterns are both accepted.
    size = type == "int8" ? 1 : type == "int16" ? 2 : 4;
    low = -(std::int64_t{1} << (8 * size - 1));
    high = (std::int64_t{1} << (8 * size)) - 1;
  } else if (type == "float32") {
    size = 4;
  } else {
    Fail("expected int8, int16, int32 or float32, found " + Quoted(type));
  }
  const std::string_view order = scanner.Word();
  if (order != "le" && order != "be") Fail("expected le or be, found " + Quoted(order));
  std::string bytes;
  while (!scanner.AtEnd()) {
    const std::string_view word = scanner.Word();
    std::uint64_t bits = 0;
    if (type == "float32") {
      const double value = Real(word, "value");
      if (std::fabs(value) > std::numeric_limits<float>::max())
        Fail("value out of the float32 range: " + Quoted(word));
      bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    } else {
      bits = static_cast<std::uint64_t>(Integer(word, low, high, "value"));
    }
    for (int i = 0; i < size; ++i) {
      const int shift = 8 * (order == "le" ? i : size - 1 - i);
      bytes += static_cast<char>((bits >> shift) & 0xFF);
    }
  }
  if (bytes.empty()) Fail("missing values");
  return bytes;
}

void AddRule(TInstrument& instrument, TReplyRule rule) {
  if (instrument.FindRule(rule.Command) != nullptr)
    Fail("a second rule for " + Quoted(rule.Command));
  instrument.Rules.push_back(std::move(rule));
}

// "reply <command> = <kind> ...": the command is the text before the first '=' that
// stands between blanks (it may hold blanks itself).
void ReadReply(std::string_view rest, TInstrument& instrument) {
  if (rest.empty() || rest[0] == '=') Fail("missing command");
  TLineScanner scanner(rest);
  const std::optional<std::string_view> command = scanner.UpToEquals();
  if (!command) Fail("missing \" = \" after the command");

  TReplyRule rule;
  rule.Command = *command;
  const std::string_view kind = scanner.Word();
  if (kind == "text") {
    rule.Kind = TReplyRule::TEXT;
    rule.Bytes = scanner.Rest();
  } else if (kind == "number") {
    rule.Kind = TReplyRule::NUMBER;
    rule.Generator = ReadGenerator(scanner);
  } else if (kind == "numbers") {
    rule.Kind = TReplyRule::NUMBERS;
    rule.Count = Integer(scanner.Word(), 1, 1000000, "count");
    rule.Separator = Separator(scanner.Word());
    rule.Generator = ReadGenerator(scanner);
  } else if (kind == "binary") {
    rule.Kind = TReplyRule::BINARY;
    rule.Bytes = ReadBinary(scanner);
  } else if (kind == "partial") {
    rule.Kind = TReplyRule::PARTIAL;
    rule.Count = Integer(scanner.Word(), 0, std::numeric_limits<std::int32_t>::max(), "count");
    rule.Bytes = scanner.Rest();
  } else if (kind == "silent") {
    rule.Kind = TReplyRule::SILENT;
    scanner.End();
  } else {
    Fail(kind.empty() ? "missing reply kind" : "unknown reply kind " + Quoted(kind));
  }
  AddRule(instrument, std::move(rule));
}

int BoardNumber(std::string_view word) { return static_cast<int>(Integer(word, 0, 31, "board")); }

// One line; current is the index of the instrument the property lines describe, or -1.
void ReadLine(std::string_view line, TBusConfig& config, int& current) {
  TLineScanner scanner(line);
  if (scanner.AtEnd()) return;
  const std::string_view keyword = scanner.Word();
  if (keyword == "cec-board") {
    const int board = BoardNumber(scanner.Word());
    bool noscan = false;
    if (!scanner.AtEnd()) {
      const std::string_view option = scanner.Word();
      if (option != "noscan") Fail("expected noscan, found " + Quoted(option));
      noscan = true;
    }
    scanner.End();
    if (!config.CecBoards.emplace(board, noscan).second) Fail("board declared twice");
    current = -1;
  } else if (keyword == "ni-board") {
    const int board = BoardNumber(scanner.Word());
    scanner.End();
    if (!config.NiBoards.insert(board).second) Fail("board declared twice");
    current = -1;
  } else if (keyword == "instrument") {
    TInstrument instrument;
    const std::string_view kind = scanner.Word();
    if (kind != "cec" && kind != "ni") Fail("expected cec or ni, found " + Quoted(kind));
    instrument.Kind = kind == "cec" ? TBusKind::CEC : TBusKind::NI;
    instrument.Board = BoardNumber(scanner.Word());
    instrument.Address = static_cast<int>(Integer(scanner.Word(), 0, 30, "address"));
    scanner.End();
    for (const TInstrument& other : config.Instruments)
      if (other.Kind == instrument.Kind && other.Board == instrument.Board &&
          other.Address == instrument.Address)
        Fail("a second instrument at this address");
    current = static_cast<int>(config.Instruments.size());
    config.Instruments.push_back(std::move(instrument));
  } else {
    static const char* const properties[] = {"idn",    "terminator", "input-terminator", "eoi",
                                             "status", "talker",     "listener",         "reply",
                                             "delay"};
    bool known = false;
    for (const char* property : properties) known = known || keyword == property;
    if (!known) Fail("unknown keyword " + Quoted(keyword));
    if (current < 0) Fail(Quoted(keyword) + " before any instrument line");
    TInstrument& instrument = config.Instruments[static_cast<std::size_t>(current)];
    if (keyword == "idn") {
      TReplyRule rule;
      rule.Command = "*IDN?";
      rule.Kind = TReplyRule::TEXT;
      rule.Bytes = scanner.Rest();
      AddRule(instrument, std::move(rule));
    } else if (keyword == "reply") {
      ReadReply(scanner.Rest(), instrument);
    } else {
      const std::string_view value = scanner.Word();
      if (keyword == "terminator") {
        instrument.Terminator = TerminatorCode(value);
      } else if (keyword == "input-terminator") {
        instrument.InputTerminator = TerminatorCode(value);
      } else if (keyword == "eoi") {
        instrument.Eoi = OnOff(value);
      } else if (keyword == "talker") {
        instrument.Talker = OnOff(value);
      } else if (keyword == "listener") {
        instrument.Listener = OnOff(value);
      } else if (keyword == "delay") {
        instrument.ReplyDelayMs = static_cast<int>(Integer(value, 0, 60000, "reply delay"));
      } else {
        instrument.StatusByte = static_cast<int>(Integer(value, 0, 255, "status byte"));
      }
      scanner.End();
    }
  }
}

}  // namespace

int ParseConfig(std::string_view text, TBusConfig& config, std::string& error) {
  TBusConfig result;
  int current = -1;
  int number = 0;
  try {
    for (std::size_t start = 0;;) {
      std::size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string_view line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++number;
      ReadLine(line, result, current);
      if (end == text.size()) break;
      start = end + 1;
    }
  } catch (const TParseError& failure) {
    error = failure.Reason;
    return number;
  }
  config = std::move(result);
  error.clear();
  return 0;
}

}  // namespace gpibsim
