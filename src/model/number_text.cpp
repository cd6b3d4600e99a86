#include "model/number_text.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>

#include "model/assertion.h"

namespace NumberText {

namespace {

std::atomic<char> separator{'.'};

// A finite number as its exact decimal digits: value = 0.d1 d2 ... × 10^(Exponent + 1),
// that is d1.d2... × 10^Exponent. Zero has no digits.
struct TDigits {
  bool Negative = false;
  std::string Digits;  // no leading zero
  int Exponent = 0;    // decimal exponent of the first digit
};

// The exact expansion is short: a double m·2^k (m < 2^53) has at most about
// log10(|v|) + max(-k, 0) + 2 significant decimal digits, so asking to_chars for that
// many gives every digit there is, and rounding can then be done on exact digits.
TDigits ExactDigits(double value) {
  TDigits d;
  d.Negative = std::signbit(value);
  value = std::fabs(value);
  if (value == 0) return d;
  int binaryExponent = 0;
  std::frexp(value, &binaryExponent);
  // value = mantissa53 × 2^k with k = binaryExponent - 53
  const int k = binaryExponent - 53;
  const int decimalExponent = static_cast<int>(std::floor(std::log10(value)));
  int digits = decimalExponent + std::max(-k, 0) + 3;
  digits = std::clamp(digits, 1, 800);
  char buffer[900];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              std::chars_format::scientific, digits - 1);
  const std::string text(buffer, result.ptr);
  const auto e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.') d.Digits.push_back(text[i]);
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  d.Exponent);
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  return d;
}

// Rounds half away from zero so that no digit stands below 10^power.
void RoundAtPower(TDigits& d, int power) {
  if (d.Digits.empty()) return;
  const int keep = d.Exponent - power + 1;  // digits at or above 10^power
  if (keep >= static_cast<int>(d.Digits.size())) return;
  if (keep < 0) {
    d.Digits.clear();
    return;
  }
  const bool up = d.Digits[keep] >= '5';
  d.Digits.resize(keep);
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.Digits[i] == '9') d.Digits[i--] = '0';
    if (i >= 0) {
      ++d.Digits[i];
    } else {
      d.Digits.insert(d.Digits.begin(), '1');  // 9.99 -> 10.0, or 0.5·10^power -> 10^power
      ++d.Exponent;
    }
  }
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
}

void RoundToSignificant(TDigits& d, int significant) {
  RoundAtPower(d, d.Exponent - significant + 1);
}

char DigitAt(const TDigits& d, int power) {
  const int i = d.Exponent - power;
  return i >= 0 && i < static_cast<int>(d.Digits.size()) ? d.Digits[i] : '0';
}

std::string Sign(const TDigits& d) { return d.Negative && !d.Digits.empty() ? "-" : ""; }

// Digits with at most `decimals` digits below the separator, all of them shown when
// `pad` is set, trailing zeros dropped otherwise.
std::string FixedText(const TDigits& d, int decimals, bool pad) {
  std::string text = Sign(d);
  if (d.Digits.empty() || d.Exponent < 0) {
    text += '0';
  } else {
    for (int p = d.Exponent; p >= 0; --p) text += DigitAt(d, p);
  }
  std::string fraction;
  for (int p = -1; p >= -decimals; --p) fraction += DigitAt(d, p);
  if (!pad)
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += separator.load() + fraction;
  return text;
}

// d1[.d2...] "E" exponent; the mantissa keeps `decimals` digits when `pad` is set,
// else drops trailing zeros; the exponent has "+" only when `plus` is set.
std::string ScientificText(const TDigits& d, int decimals, bool pad, bool plus) {
  std::string text = Sign(d);
  text += d.Digits.empty() ? '0' : d.Digits[0];
  std::string fraction;
  for (int i = 1; i <= decimals; ++i)
    fraction += i < static_cast<int>(d.Digits.size()) ? d.Digits[i] : '0';
  if (!pad)
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += separator.load() + fraction;
  const int exponent = d.Digits.empty() ? 0 : d.Exponent;
  text += 'E';
  if (exponent < 0)
    text += '-';
  else if (plus)
    text += '+';
  text += IntToText(std::abs(exponent));
  return text;
}

std::string Standard(double value) {
  TDigits d = ExactDigits(value);
  RoundToSignificant(d, 15);
  if (d.Digits.empty()) return "0";
  if (d.Exponent <= 14 && d.Exponent >= -5) return FixedText(d, 14 - d.Exponent, false);
  return ScientificText(d, 14, false, false);
}

std::string Fixed(double value, int decimals) {
  TDigits d = ExactDigits(value);
  if (!d.Digits.empty()) RoundAtPower(d, std::max(d.Exponent - 6, -decimals));
  if (d.Exponent >= 7 && !d.Digits.empty()) return ScientificText(d, 6, false, false);
  return FixedText(d, decimals, true);
}

std::string Scientific(double value, int decimals) {
  TDigits d = ExactDigits(value);
  RoundToSignificant(d, decimals + 1);
  return ScientificText(d, decimals, true, true);
}

}  // namespace

char DecimalSeparator() { return separator.load(); }

void SetDecimalSeparator(char newSeparator) { separator.store(newSeparator); }

bool TextToInt(const std::string& text, std::int32_t& result) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return false;
  }
  std::int32_t value = 0;
  auto [ptr, error] = std::from_chars(first, last, value);
  if (error != std::errc() || ptr != last || first == last) return false;
  result = value;
  return true;
}

bool TextToFloat(const std::string& text, double& result) {
  // Check the form ourselves: from_chars alone would take "inf", "nan" and hex forms.
  std::string plain;
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  std::size_t mantissaDigits = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++mantissaDigits;
  if (i < n && text[i] == separator.load()) {
    plain += '.';
    ++i;
    while (i < n && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    std::size_t exponentDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  if (i != n) return false;
  double value = 0;
  auto [ptr, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ptr != plain.data() + plain.size()) return false;
  if (error == std::errc::result_out_of_range) {
    // Too small to represent is zero; too large does not convert.
    const auto e = plain.find('e');
    if (e == std::string::npos || plain[e + 1] != '-') return false;
    value = 0;
  } else if (error != std::errc()) {
    return false;
  }
  result = value;
  return true;
}

bool TruncFitsInt32(double value) {
  if (std::isnan(value)) return false;
  const double t = std::trunc(value);
  return t >= std::numeric_limits<std::int32_t>::min() && t <= std::numeric_limits<std::int32_t>::max();
}

std::int32_t TruncToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::string IntToText(std::int64_t value) {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

int ClampDecimals(std::int64_t decimals) {
  return static_cast<int>(std::clamp<std::int64_t>(decimals, 0, MaxDecimalPlaces));
}

std::string FormatNumber(double value, int notation, int decimals) {
  if (notation != ntSTANDARD && notation != ntFIXED) {
    const int notationtype = notation;
    QORV_ASSERT(notationtype==ntSCIENTIFIC);
  }
  decimals = ClampDecimals(decimals);
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  switch (notation) {
    case ntSTANDARD: return Standard(value);
    case ntFIXED: return Fixed(value, decimals);
    default: return Scientific(value, decimals);
  }
}

}  // namespace NumberText
