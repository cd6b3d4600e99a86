// Number text to number: NumberText::TextToFloat and TextToInt, checked against their
// headers' grammar and against the C library's conversions. Byte 0 chooses the decimal
// separator (bit 0: ',' instead of '.'); the rest is the text.
//  - TextToInt accepts exactly an optional sign and decimal digits within the int32
//    range, giving strtoll's value;
//  - TextToFloat accepts exactly sign, digits with at most one separator, and an
//    optional exponent, unless the number is too large for a double; it gives strtod's
//    value, or 0 for a number too small to represent.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "model/number_text.h"
#include "support/harness.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [+-]digits+
bool IsIntegerText(const std::string& text) {
  std::size_t i = text.size() > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i)
    if (!IsDigit(text[i])) return false;
  return true;
}

// [+-](digits [sep digits] | sep digits) [(e|E)[+-]digits]
bool IsFloatText(const std::string& text, char separator) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(text[i])) ++i, ++digits;
  if (i < n && text[i] == separator) {
    ++i;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent = 0;
    while (i < n && IsDigit(text[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == n;
}

void CheckInt(const std::string& text) {
  std::int32_t value = 7;
  const bool converted = NumberText::TextToInt(text, value);
  if (!IsIntegerText(text)) {
    FUZZ_CHECK(!converted);
    return;
  }
  errno = 0;
  const long long expected = std::strtoll(text.c_str(), nullptr, 10);
  const bool fits = errno == 0 && expected >= std::numeric_limits<std::int32_t>::min() &&
                    expected <= std::numeric_limits<std::int32_t>::max();
  FUZZ_CHECK(converted == fits);
  if (converted) FUZZ_CHECK(value == expected);
}

void CheckFloat(const std::string& text, char separator) {
  double value = 7;
  const bool converted = NumberText::TextToFloat(text, value);
  if (!IsFloatText(text, separator)) {
    FUZZ_CHECK(!converted);
    return;
  }
  std::string c = text;
  for (char& ch : c)
    if (ch == separator) ch = '.';
  errno = 0;
  const double expected = std::strtod(c.c_str(), nullptr);
  if (std::isinf(expected)) {
    FUZZ_CHECK(!converted);
    return;
  }
  FUZZ_CHECK(converted);
  FUZZ_CHECK(std::isfinite(value));
  // Below the normal range both may round differently toward zero.
  if (std::fabs(expected) < DBL_MIN)
    FUZZ_CHECK(value == expected || value == 0);
  else
    FUZZ_CHECK(value == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  THarnessInput input;
  const char separator = (data[0] & 1) ? ',' : '.';
  NumberText::SetDecimalSeparator(separator);
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckInt(text);
  CheckFloat(text, separator);
  return 0;
}
