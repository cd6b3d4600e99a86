#include "communication/number_token.h"

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/number_text.h"
#include "model/text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSign(char c) { return c == '+' || c == '-'; }
bool IsExponent(char c) { return c == 'E' || c == 'e'; }

// What the scanners have accepted last.
enum class TScan { Start, Sign, Digit, Fraction, Exponent, ExponentSign, ExponentDigit };

// Accepts c in the state (moving on) or refuses it.
bool AcceptInteger(TScan& state, char c) {
  if (state == TScan::Start && IsSign(c)) {
    state = TScan::Sign;
    return true;
  }
  if (IsDigit(c)) {
    state = TScan::Digit;
    return true;
  }
  return false;
}

bool Move(TScan& state, TScan next) {
  state = next;
  return true;
}

bool AcceptFloat(TScan& state, char c) {
  switch (state) {
    case TScan::Start:
      if (IsSign(c)) return Move(state, TScan::Sign);
      [[fallthrough]];
    case TScan::Sign:
      if (IsDigit(c)) return Move(state, TScan::Digit);
      if (c == '.') return Move(state, TScan::Fraction);
      return false;
    case TScan::Digit:
      if (IsDigit(c)) return true;
      if (c == '.') return Move(state, TScan::Fraction);
      if (IsExponent(c)) return Move(state, TScan::Exponent);
      return false;
    case TScan::Fraction:
      if (IsDigit(c)) return true;
      if (IsExponent(c)) return Move(state, TScan::Exponent);
      return false;
    case TScan::Exponent:
      if (IsSign(c)) return Move(state, TScan::ExponentSign);
      [[fallthrough]];
    case TScan::ExponentSign:
    case TScan::ExponentDigit:
      return IsDigit(c) && Move(state, TScan::ExponentDigit);
  }
  return false;
}

// Copies the accepted characters: those refused before the first accepted one are dropped,
// the first refused after it ends the scan.
template <class Accept>
std::string Scan(const std::string& text, Accept accept) {
  std::string kept;
  TScan state = TScan::Start;
  for (char c : text) {
    if (accept(state, c))
      kept += c;
    else if (!kept.empty())
      break;
  }
  return TrimText(kept);
}

}  // namespace

std::string FilterNumberText(const TNumberOptions& options, const std::string& text,
                             int valueType) {
  switch (valueType) {
    case eatSTRING: return text;
    case eatINTEGER: return Scan(text, AcceptInteger);
    default: break;
  }
  QORV_ASSERT(valueType==eatFLOAT);
  std::string number = TrimText(text);
  if (options.DToE)
    for (char& c : number) {
      if (c == 'D') c = 'E';
      if (c == 'd') c = 'e';
    }
  // Instruments and data files write a '.', whatever the regional separator is; the
  // values read text with the regional one.
  number = Scan(number, AcceptFloat);
  for (char& c : number)
    if (c == '.') c = NumberText::DecimalSeparator();
  return number;
}

std::string ExtractToken(const TNumberOptions& options, const char* buffer, std::int64_t length,
                         const char* delimiters, int delimiterCount, std::int64_t& position,
                         int valueType) {
  QORV_ASSERT(position>=0);
  const auto isDelimiter = [&](char character) {
    const auto c = static_cast<unsigned char>(character);
    if (c < 32 || c == 127) return true;
    for (int i = 0; i < delimiterCount; ++i)
      if (c == static_cast<unsigned char>(delimiters[i])) return true;
    return c == ' ' && options.SpaceIsDelimiter;
  };
  std::int64_t at = position;
  while (at < length && isDelimiter(buffer[at])) ++at;
  const std::int64_t start = at;
  while (at < length && !isDelimiter(buffer[at])) ++at;
  position = at;
  const std::string token(buffer + start, static_cast<std::size_t>(at - start));
  return FilterNumberText(options, TrimText(token), valueType);
}
