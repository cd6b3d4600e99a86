#include "model/number_text.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
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

// ----- The fast path: digits from to_chars, rounded as digits; the binary value is
// consulted only when the digits cannot tell which side of a half-way point it lies on.

// Normal values rounded to at most 15 digits start from to_chars' shortest round-trip
// digits: when there are no more of them than kept, they are the rounded value, as no
// other 15-digit decimal lies as close as half a binary unit. Other roundings start
// from digits rendered to a precision of 17, or of one more than kept (the scientific
// notation with 18 decimals keeps 19).
constexpr int kMaxKeepFromShortest = 15;
constexpr int kRenderedDigits = 17;
constexpr int kMaxRenderedDigits = 20;

// Leading decimal digits of a magnitude: Digits[0].Digits[1]... × 10^Exponent.
struct TShortDigits {
  char Digits[kMaxRenderedDigits];  // '0'..'9'
  int Count = 0;
  int Exponent = 0;
};

// A nonnegative integer large enough to hold both sides of m·2^k <=> N·10^q for any
// double and any 20-digit N with q in -343..308: at most 53 + 797 bits on the side
// that takes 5^-q, and the other side is shifted to about the same size.
class TBigInt {
public:
  explicit TBigInt(std::uint64_t value) {
    while (value != 0) {
      Limbs[Size++] = static_cast<std::uint32_t>(value);
      value >>= 32;
    }
  }

  // *this = *this × factor + addend.
  void MulAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (int i = 0; i < Size; ++i) {
      carry += static_cast<std::uint64_t>(Limbs[i]) * factor;
      Limbs[i] = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0) Push(static_cast<std::uint32_t>(carry));
  }

  void MulPow5(int power) {
    constexpr std::uint32_t kPow5_13 = 1220703125;  // the largest power of 5 in 32 bits
    for (; power >= 13; power -= 13) MulAdd(kPow5_13, 0);
    std::uint32_t factor = 1;
    for (; power > 0; --power) factor *= 5;
    if (factor != 1) MulAdd(factor, 0);
  }

  void ShiftLeft(int bits) {
    if (Size == 0) return;
    const int limbs = bits / 32;
    const int rest = bits % 32;
    if (rest != 0) {
      const std::uint32_t top = Limbs[Size - 1] >> (32 - rest);
      for (int i = Size - 1; i > 0; --i)
        Limbs[i] = (Limbs[i] << rest) | (Limbs[i - 1] >> (32 - rest));
      Limbs[0] <<= rest;
      if (top != 0) Push(top);
    }
    if (limbs != 0) {
      QORV_ASSERT(Size + limbs <= kLimbs);
      for (int i = Size - 1; i >= 0; --i) Limbs[i + limbs] = Limbs[i];
      for (int i = 0; i < limbs; ++i) Limbs[i] = 0;
      Size += limbs;
    }
  }

  friend int Compare(const TBigInt& a, const TBigInt& b) {
    if (a.Size != b.Size) return a.Size < b.Size ? -1 : 1;
    for (int i = a.Size - 1; i >= 0; --i)
      if (a.Limbs[i] != b.Limbs[i]) return a.Limbs[i] < b.Limbs[i] ? -1 : 1;
    return 0;
  }

private:
  static constexpr int kLimbs = 36;

  void Push(std::uint32_t limb) {
    QORV_ASSERT(Size < kLimbs);
    Limbs[Size++] = limb;
  }

  std::uint32_t Limbs[kLimbs];  // least significant first; Size of them in use
  int Size = 0;                 // no leading zero limb
};

// |value| = Mantissa·2^Exponent.
struct TBinary {
  std::uint64_t Mantissa;
  int Exponent;
};

TBinary Decompose(double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) return {fraction, -1074};
  return {fraction | (std::uint64_t{1} << 52), biased - 1075};
}

// The digits as an integer N with the value N·10^(Exponent - Count + 1).
TBigInt DigitsAsInteger(const TShortDigits& d) {
  TBigInt n(0);
  int i = 0;
  while (i < d.Count) {
    std::uint32_t chunk = 0;
    std::uint32_t scale = 1;
    for (int j = 0; j < 9 && i < d.Count; ++j, ++i) {  // 10^9 fits in 32 bits
      chunk = chunk * 10 + static_cast<std::uint32_t>(d.Digits[i] - '0');
      scale *= 10;
    }
    n.MulAdd(scale, chunk);
  }
  return n;
}

// Whether a finite, nonzero |value| is at least the decimal d, compared exactly: with
// |value| = m·2^k and d = N·10^q, m·2^k >= N·2^q·5^q once the powers are moved to the
// side where they are positive.
bool MagnitudeAtLeast(double value, const TShortDigits& d) {
  const TBinary binary = Decompose(value);
  const int k = binary.Exponent;
  const int q = d.Exponent - d.Count + 1;
  TBigInt left(binary.Mantissa);
  TBigInt right = DigitsAsInteger(d);
  if (q >= 0)
    right.MulPow5(q);
  else
    left.MulPow5(-q);
  if (k >= q)
    left.ShiftLeft(k - q);
  else
    right.ShiftLeft(q - k);
  return Compare(left, right) >= 0;
}

// The exponent of to_chars' scientific form, from its sign on.
int ReadExponent(const char* p, const char* end) {
  const bool negative = *p++ == '-';
  int exponent = 0;
  while (p != end) exponent = exponent * 10 + (*p++ - '0');
  return negative ? -exponent : exponent;
}

// The shortest digits that read back as |value|, the closest to it when several are as
// short (to_chars promises both).
void ShortestDigits(double value, TShortDigits& d) {
  char buffer[32];  // "d." 16 digits "e-308"
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                  std::chars_format::scientific)
                        .ptr;
  const char* e = end[-4] == 'e' ? end - 4 : end - 5;  // "e+dd" or "e+ddd"
  d.Digits[0] = buffer[0];
  // All 16 places at once, whatever follows the digits included: only Count are read.
  std::memcpy(d.Digits + 1, buffer + 2, kRenderedDigits - 1);
  d.Count = e == buffer + 1 ? 1 : static_cast<int>(e - buffer) - 1;
  d.Exponent = ReadExponent(e + 1, end);
}

// |value| to `precision` significant digits (17..20), rounded to nearest: within half
// a unit of the last digit.
void RenderedDigits(double value, int precision, TShortDigits& d) {
  char buffer[32];  // "d." 19 digits "e-324"
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                  std::chars_format::scientific, precision - 1)
                        .ptr;
  d.Digits[0] = buffer[0];
  std::memcpy(d.Digits + 1, buffer + 2, static_cast<std::size_t>(precision - 1));
  d.Count = precision;
  d.Exponent = ReadExponent(buffer + precision + 2, end);
}

// The half-way point between keeping the first `keep` digits and rounding them up.
bool AtLeastHalfWay(double value, const TShortDigits& d, int keep) {
  TShortDigits halfWay = d;
  halfWay.Digits[keep] = '5';
  halfWay.Count = keep + 1;
  return MagnitudeAtLeast(value, halfWay);
}

// Whether |value| rounds up when the digits after the first `keep` are dropped. The
// digits tell on which side of the half-way point the value lies unless they read
// exactly "5000...", the half-way point itself; then the binary value decides.
//  - Rendered digits lie within half a unit of their last digit from the value, and a
//    half-way point that differs from them in the digits shown lies farther away.
//  - Shortest digits: a half-way point between them and the value (or equal to the
//    value) would read back as the value, while as short or shorter and closer.
bool RoundsUp(double value, const TShortDigits& d, int keep) {
  const char first = d.Digits[keep];
  if (first != '5') return first > '5';
  for (int i = keep + 1; i < d.Count; ++i)
    if (d.Digits[i] != '0') return true;
  return AtLeastHalfWay(value, d, keep);
}

// Keeps the first `keep` digits (0 <= keep < Count), one unit more when `up`.
void Truncate(TShortDigits& d, int keep, bool up) {
  d.Count = keep;
  if (!up) return;
  int i = keep - 1;
  while (i >= 0 && d.Digits[i] == '9') --i;
  if (i >= 0) {
    ++d.Digits[i];
    d.Count = i + 1;
  } else {  // 9.99 -> 10.0, or 0.5·10^p -> 10^p
    d.Digits[0] = '1';
    d.Count = 1;
    ++d.Exponent;
  }
}

// |value| rounded half away from zero to the first keepFor(exponent) digits (none when
// that is negative, a magnitude below a tenth of the last kept place), trailing zeros
// dropped; maxKeep bounds what keepFor gives.
template <typename TKeepFor>
void RoundedDigits(double value, int maxKeep, TKeepFor keepFor, TShortDigits& d) {
  const bool fromShortest = std::isnormal(value) && maxKeep <= kMaxKeepFromShortest;
  if (fromShortest)
    ShortestDigits(value, d);
  else
    RenderedDigits(value, std::max(kRenderedDigits, maxKeep + 1), d);
  const int keep = keepFor(d.Exponent);
  if (keep < 0) {
    d.Count = 0;
  } else if (keep < d.Count) {
    Truncate(d, keep, RoundsUp(value, d, keep));
  }
  while (d.Count > 0 && d.Digits[d.Count - 1] == '0') --d.Count;
}

char* PutZeros(char* out, int count) {
  std::memset(out, '0', static_cast<std::size_t>(count));
  return out + count;
}

char* PutDigits(char* out, const char* digits, int count) {
  std::memcpy(out, digits, static_cast<std::size_t>(count));
  return out + count;
}

// The fraction written at out + 1 ends at `end`: drops trailing zeros unless `pad` is
// set, then puts the separator before what is left (nothing when none is left).
char* FinishFraction(char* out, char* end, bool pad) {
  if (!pad)
    while (end != out + 1 && end[-1] == '0') --end;
  if (end == out + 1) return out;
  *out = separator.load(std::memory_order_relaxed);
  return end;
}

// As FixedText.
char* PutFixed(char* out, bool negative, const TShortDigits& d, int decimals, bool pad) {
  if (negative && d.Count > 0) *out++ = '-';
  int used = 0;  // digits shown before the separator
  if (d.Count == 0 || d.Exponent < 0) {
    *out++ = '0';
  } else {
    used = std::min(d.Exponent + 1, d.Count);
    out = PutDigits(out, d.Digits, used);
    out = PutZeros(out, d.Exponent + 1 - used);
  }
  const int leading = d.Count == 0 ? decimals : std::clamp(-d.Exponent - 1, 0, decimals);
  char* fraction = PutZeros(out + 1, leading);
  const int shown = std::clamp(d.Count - used, 0, decimals - leading);
  fraction = PutDigits(fraction, d.Digits + used, shown);
  if (pad) fraction = PutZeros(fraction, static_cast<int>(out + 1 + decimals - fraction));
  return FinishFraction(out, fraction, pad);
}

// As ScientificText.
char* PutScientific(char* out, bool negative, const TShortDigits& d, int decimals, bool pad,
                    bool plus) {
  if (negative && d.Count > 0) *out++ = '-';
  *out++ = d.Count == 0 ? '0' : d.Digits[0];
  char* fraction = PutDigits(out + 1, d.Digits + 1, std::clamp(d.Count - 1, 0, decimals));
  if (pad) fraction = PutZeros(fraction, static_cast<int>(out + 1 + decimals - fraction));
  out = FinishFraction(out, fraction, pad);
  const int exponent = d.Count == 0 ? 0 : d.Exponent;
  *out++ = 'E';
  if (exponent < 0)
    *out++ = '-';
  else if (plus)
    *out++ = '+';
  return std::to_chars(out, out + 3, std::abs(exponent)).ptr;
}

char* PutText(char* out, const char* text) {
  while (*text != '\0') *out++ = *text++;
  return out;
}

// A nonzero value with no fraction below `limit`: exact, and shown in fixed form as the
// integer's own digits by the standard and fixed notations.
bool IsSmallInteger(double value, std::int64_t limit, std::int64_t& integer) {
  if (value == 0 || !(std::fabs(value) < static_cast<double>(limit))) return false;
  integer = static_cast<std::int64_t>(value);
  return static_cast<double>(integer) == value;
}

char* StandardTo(char* out, double value) {
  if (value == 0) return PutText(out, "0");
  std::int64_t integer = 0;
  if (IsSmallInteger(value, 1'000'000'000'000'000, integer))
    return std::to_chars(out, out + 17, integer).ptr;
  TShortDigits d;
  RoundedDigits(value, 15, [](int) { return 15; }, d);
  const bool negative = std::signbit(value);
  if (d.Exponent <= 14 && d.Exponent >= -5)
    return PutFixed(out, negative, d, 14 - d.Exponent, false);
  return PutScientific(out, negative, d, 14, false, false);
}

char* FixedTo(char* out, double value, int decimals) {
  std::int64_t integer = 0;
  if (IsSmallInteger(value, 10'000'000, integer)) {
    out = std::to_chars(out, out + 9, integer).ptr;
    if (decimals == 0) return out;
    *out = separator.load(std::memory_order_relaxed);
    return PutZeros(out + 1, decimals);
  }
  TShortDigits d;
  if (value != 0) {
    // 7 significant digits, none below 10^-decimals.
    RoundedDigits(value, 7, [&](int exponent) { return std::min(7, exponent + decimals + 1); }, d);
  }
  const bool negative = std::signbit(value);
  if (d.Count > 0 && d.Exponent >= 7) return PutScientific(out, negative, d, 6, false, false);
  return PutFixed(out, negative, d, decimals, true);
}

char* ScientificTo(char* out, double value, int decimals) {
  TShortDigits d;
  const int keep = decimals + 1;
  if (value != 0) RoundedDigits(value, keep, [=](int) { return keep; }, d);
  return PutScientific(out, std::signbit(value), d, decimals, true, true);
}

}  // namespace

char DecimalSeparator() { return separator.load(); }

void SetDecimalSeparator(char newSeparator) { separator.store(newSeparator); }

bool CharsToInt(const char* first, const char* last, std::int32_t& result) {
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

bool TextToInt(const std::string& text, std::int32_t& result) {
  return CharsToInt(text.data(), text.data() + text.size(), result);
}

namespace {

// Where the form check found the regional separator, when there is one.
struct TFloatForm {
  const char* Separator = nullptr;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipDigits(const char* p, const char* last) {
  while (p != last && IsDigit(*p)) ++p;
  return p;
}

// "[sign] digits [separator digits] [(E|e) [sign] digits]" with at least one mantissa
// digit.
bool CheckFloatForm(const char* first, const char* last, char separator, TFloatForm& form) {
  const char* p = first;
  if (p != last && (*p == '+' || *p == '-')) ++p;
  const char* integerDigits = p;
  p = SkipDigits(p, last);
  std::ptrdiff_t mantissaDigits = p - integerDigits;
  if (p != last && *p == separator) {
    form.Separator = p++;
    const char* fraction = p;
    p = SkipDigits(p, last);
    mantissaDigits += p - fraction;
  }
  if (mantissaDigits == 0) return false;
  if (p != last && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p != last && (*p == '+' || *p == '-')) ++p;
    const char* exponentDigits = p;
    p = SkipDigits(p, last);
    if (p == exponentDigits) return false;
  }
  return p == last;
}

// Whether a number from_chars found out of range is below one, so that it is too small
// to represent (zero) rather than too large (no number): the place of its first
// significant digit, moved by the exponent, lies below the units. The exponent's sign
// alone does not tell: "1" and 400 zeros "e-1" is too large.
bool IsBelowOne(const char* first, const char* last) {
  const char* exponent = std::find_if(first, last, [](char c) { return c == 'e' || c == 'E'; });
  std::int64_t place = 0;  // of the first significant digit: 0 for units, -1 for tenths
  bool significant = false;
  bool fraction = false;
  for (const char* p = first; p != exponent && !(significant && fraction); ++p) {
    if (*p == '.') {
      fraction = true;
    } else if (*p >= '1' && *p <= '9' && !significant) {
      significant = true;
      if (fraction) place -= 1;
    } else if (*p >= '0' && *p <= '9') {
      if (significant && !fraction) ++place;
      if (!significant && fraction) --place;
    }
  }
  std::int64_t shift = 0;
  if (exponent != last) {
    const char* p = exponent + 1;
    const bool negative = p != last && *p == '-';
    if (p != last && (*p == '-' || *p == '+')) ++p;
    for (; p != last && shift < 1000000000; ++p) shift = shift * 10 + (*p - '0');
    if (negative) shift = -shift;
  }
  return place + shift < 0;
}

// from_chars on a text of our form with '.' as separator (a leading '+' is not its form).
bool ConvertPointForm(const char* first, const char* last, double& result) {
  if (*first == '+') ++first;
  double value = 0;
  auto [ptr, error] = std::from_chars(first, last, value);
  if (ptr != last) return false;
  if (error != std::errc()) {
    if (error != std::errc::result_out_of_range || !IsBelowOne(first, last)) return false;
    value = 0;
  }
  result = value;
  return true;
}

// With '.' as separator from_chars reads our form, and beyond it only "inf", "nan" and
// their kind (it stops early on the rest: hexadecimal, an exponent without digits,
// blanks, a second sign), so the text need not be checked digit by digit: only a '+'
// before another sign, and a number that starts with neither a digit nor '.'.
bool PointFormToFloat(const char* first, const char* last, double& result) {
  const char* p = first;
  if (p != last && (*p == '+' || *p == '-')) ++p;
  if (p == last || !(IsDigit(*p) || *p == '.')) return false;
  return ConvertPointForm(first, last, result);
}

// Another separator from_chars does not know: the form checked by hand, then
// converted on a copy with '.' in its place, on the stack unless the text is very long.
bool SeparatorFormToFloat(const char* first, const char* last, char separator, double& result) {
  TFloatForm form;
  if (!CheckFloatForm(first, last, separator, form)) return false;
  if (form.Separator == nullptr) return ConvertPointForm(first, last, result);
  constexpr std::size_t kStackChars = 128;
  const auto size = static_cast<std::size_t>(last - first);
  const auto separatorAt = static_cast<std::size_t>(form.Separator - first);
  if (size <= kStackChars) {
    char copy[kStackChars];
    std::memcpy(copy, first, size);
    copy[separatorAt] = '.';
    return ConvertPointForm(copy, copy + size, result);
  }
  std::string copy(first, last);
  copy[separatorAt] = '.';
  return ConvertPointForm(copy.data(), copy.data() + size, result);
}

}  // namespace

bool CharsToFloat(const char* first, const char* last, double& result) {
  const char separatorNow = separator.load(std::memory_order_relaxed);
  if (separatorNow == '.') return PointFormToFloat(first, last, result);
  return SeparatorFormToFloat(first, last, separatorNow, result);
}

bool TextToFloat(const std::string& text, double& result) {
  return CharsToFloat(text.data(), text.data() + text.size(), result);
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

std::string FormatNumberExact(double value, int notation, int decimals) {
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


std::string FormatNumber(double value, int notation, int decimals) {
  char buffer[FormatNumberMaxChars];
  return std::string(buffer, FormatNumberTo(buffer, value, notation, decimals));
}

char* FormatNumberTo(char* first, double value, int notation, int decimals) {
  if (notation != ntSTANDARD && notation != ntFIXED) {
    const int notationtype = notation;
    QORV_ASSERT(notationtype==ntSCIENTIFIC);
  }
  decimals = ClampDecimals(decimals);
  if (std::isnan(value)) return PutText(first, "NAN");
  if (std::isinf(value)) return PutText(first, value < 0 ? "-INF" : "INF");
  switch (notation) {
    case ntSTANDARD: return StandardTo(first, value);
    case ntFIXED: return FixedTo(first, value, decimals);
    default: return ScientificTo(first, value, decimals);
  }
}

}  // namespace NumberText
