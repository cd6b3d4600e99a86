// The fast conversions against slow, obviously exact references: FormatNumber against
// FormatNumberExact (the complete decimal expansion), TextToFloat against a parser that
// builds a plain copy of the text first.
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using NumberText::FormatNumber;
using NumberText::FormatNumberExact;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMinNormal = std::numeric_limits<double>::min();
constexpr double kMinDenormal = std::numeric_limits<double>::denorm_min();

#ifdef NDEBUG
constexpr int kRandomScale = 8;
#else
constexpr int kRandomScale = 1;  // the sanitizer build is more than ten times slower
#endif

// Sets the regional decimal separator for one test and puts '.' back afterwards.
class TSeparatorGuard {
public:
  explicit TSeparatorGuard(char separator) { NumberText::SetDecimalSeparator(separator); }
  ~TSeparatorGuard() { NumberText::SetDecimalSeparator('.'); }
};

::testing::AssertionResult SameAsExact(double value, int notation, int decimals) {
  const std::string fast = FormatNumber(value, notation, decimals);
  const std::string exact = FormatNumberExact(value, notation, decimals);
  if (fast == exact) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << std::hexfloat << value << std::defaultfloat << " (" << value << ") notation "
         << notation << " decimals " << decimals << ": \"" << fast << "\" instead of \"" << exact
         << '"';
}

// Every notation with every decimal count, including counts that are clamped.
::testing::AssertionResult SameAsExactEverywhere(double value) {
  for (int notation : {ntSTANDARD, ntFIXED, ntSCIENTIFIC})
    for (int decimals = -1; decimals <= 20; ++decimals)
      if (auto same = SameAsExact(value, notation, decimals); !same) return same;
  return ::testing::AssertionSuccess();
}

struct TFormatCase {
  double value;
  int notation, decimals;
  std::string text;
};

void ExpectFormats(const std::vector<TFormatCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value, c.notation, c.decimals), c.text)
        << c.value << " notation " << c.notation << " decimals " << c.decimals;
    EXPECT_TRUE(SameAsExactEverywhere(c.value));
  }
}

// Values exactly half-way between two results round away from zero; a tie-to-even or a
// rounding of an inexact short rendering would get several of these wrong.
TEST(NumberTextFast, ExactTiesRoundAwayFromZero) {
  ExpectFormats({
      {0.125, ntFIXED, 2, "0.13"},
      {-0.125, ntFIXED, 2, "-0.13"},
      {0.375, ntFIXED, 2, "0.38"},
      {0.5, ntFIXED, 0, "1"},
      {1.5, ntFIXED, 0, "2"},
      {2.5, ntFIXED, 0, "3"},
      {-2.5, ntFIXED, 0, "-3"},
      {2.5, ntSCIENTIFIC, 0, "3E+0"},
      {1234.5, ntSCIENTIFIC, 3, "1.235E+3"},
      {1234567.5, ntFIXED, 2, "1234568.00"},
      {123456.25, ntFIXED, 2, "123456.30"},          // the 8th digit is a tie
      {12345665.0, ntFIXED, 2, "1.234567E7"},        // 7 digits in the scientific fallback
      {0.00048828125, ntFIXED, 10, "0.0004882813"},  // 2^-11
      {0.00048828125, ntFIXED, 9, "0.000488281"},
      // 16 significant digits ending in 5, cut to 15.
      {123456789012345.5, ntSTANDARD, 0, "123456789012346"},
      {-123456789012345.5, ntSTANDARD, 0, "-123456789012346"},
      {1000000000000005.0, ntSTANDARD, 0, "1.00000000000001E15"},
      {2.384185791015625e-7, ntSTANDARD, 0, "2.38418579101563E-7"},  // 2^-22
      {1.430511474609375e-6, ntSTANDARD, 0, "1.43051147460938E-6"},  // 3·2^-21
      // 2^-28 has 20 significant digits ending in 5: beyond what 17 digits show.
      {3.7252902984619140625e-9, ntSCIENTIFIC, 18, "3.725290298461914063E-9"},
      {3.7252902984619140625e-9, ntSCIENTIFIC, 17, "3.72529029846191406E-9"},
  });
}

// Values whose 17-digit rendering ends in "5" or "50" at the cut but whose binary value
// lies on one side, and values with more digits than 17 show.
TEST(NumberTextFast, NearTiesFollowTheBinaryValue) {
  ExpectFormats({
      {0.005, ntFIXED, 2, "0.01"},  // 0.005000000000000000104...
      {-0.005, ntFIXED, 2, "-0.01"},
      {1.0000000000000004, ntSCIENTIFIC, 15, "1.000000000000000E+0"},  // ...0444
      {1.0000000000000004, ntSCIENTIFIC, 16, "1.0000000000000004E+0"},
      {0.1, ntSCIENTIFIC, 17, "1.00000000000000006E-1"},  // 0.10000000000000000555...
      {0.1, ntSCIENTIFIC, 18, "1.000000000000000056E-1"},
      {9007199254740992.0, ntSTANDARD, 0, "9.00719925474099E15"},  // 2^53
      {9007199254740994.0, ntSTANDARD, 0, "9.00719925474099E15"},
      {9007199254740996.0, ntSTANDARD, 0, "9.007199254741E15"},
  });
  for (double value :
       {9007199254740991.0, 9007199254740993.0, 18014398509481985.0, std::nextafter(0.5, 0.0),
        std::nextafter(0.5, 1.0), std::nextafter(2.5, 0.0), std::nextafter(2.5, 3.0),
        1.0000000000000005, 0.15, 0.25, 0.35, 1.005, 1.015, 1.025})
    EXPECT_TRUE(SameAsExactEverywhere(value));
}

// Random 15-digit prefixes followed by "5": the nearest double lies above, below or on
// the half-way point, which only its exact expansion tells. The expected rounding is
// worked out here from that expansion, independently of the module.
TEST(NumberTextFast, HalfWayLookalikesRoundByTheExactExpansion) {
  std::mt19937_64 random(11);
  int above = 0, below = 0;
  for (int n = 0; n < 4000 * kRandomScale; ++n) {
    std::uint64_t prefix = 100'000'000'000'000 + random() % 899'999'999'999'999;  // 15 digits
    int exponent = static_cast<int>(random() % 280) + 16;
    if (random() % 2) exponent = -exponent + 10;  // ≤ -6: the scientific form
    const std::string text = std::to_string(prefix) + "5e" + std::to_string(exponent - 15);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    char shown[64];
    std::to_chars(shown, shown + sizeof shown, value, std::chars_format::scientific, 16);
    if (std::string(shown + 16, shown + 18) != "50") continue;  // not a lookalike at 17 digits
    char exact[900];  // every digit: at most 767 significant ones
    std::to_chars(exact, exact + sizeof exact, value, std::chars_format::scientific, 790);
    const char digit16 = exact[16];  // after "d." and 14 more digits
    const bool up = digit16 >= '5';  // on the half-way point too: away from zero
    (up ? above : below) += 1;
    prefix += up ? 1 : 0;
    if (prefix == 1'000'000'000'000'000) continue;
    std::string mantissa = std::to_string(prefix);
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    const std::string expected = mantissa.substr(0, 1) + (mantissa.size() > 1 ? "." : "") +
                                 mantissa.substr(1) + "E" + std::to_string(exponent);
    ASSERT_EQ(FormatNumber(value, ntSTANDARD, 0), expected) << text;
    ASSERT_EQ(FormatNumber(-value, ntSTANDARD, 0), "-" + expected) << text;
    ASSERT_TRUE(SameAsExact(value, ntSCIENTIFIC, 14));
  }
  // Both sides must have come up, or the test did not reach the exact comparison.
  EXPECT_GT(above, 20);
  EXPECT_GT(below, 20);
}

// Where the standard notation switches between the fixed and scientific forms, and where
// the fixed notation falls back to the scientific form.
TEST(NumberTextFast, FormBoundaries) {
  ExpectFormats({
      {1e14, ntSTANDARD, 0, "100000000000000"},
      {999999999999999.0, ntSTANDARD, 0, "999999999999999"},
      {999999999999999.375, ntSTANDARD, 0, "999999999999999"},
      {999999999999999.5, ntSTANDARD, 0, "1E15"},
      {1e15, ntSTANDARD, 0, "1E15"},
      {1000000000000002.0, ntSTANDARD, 0, "1E15"},
      {1000000000000006.0, ntSTANDARD, 0, "1.00000000000001E15"},
      {0.00001, ntSTANDARD, 0, "0.00001"},
      {std::nextafter(0.00001, 0.0), ntSTANDARD, 0, "0.00001"},  // rounds up into the fixed form
      {0.0000099999999999994, ntSTANDARD, 0, "9.9999999999994E-6"},
      {1e20, ntSTANDARD, 0, "1E20"},
      {1.5e-10, ntSTANDARD, 0, "1.5E-10"},
      {9999999.49, ntFIXED, 0, "9999999"},
      {9999999.5, ntFIXED, 0, "1E7"},
      {9999999.5, ntFIXED, 2, "1E7"},
      {-9999999.5, ntFIXED, 2, "-1E7"},
      {9999999.0, ntFIXED, 3, "9999999.000"},
      {10000000.0, ntFIXED, 3, "1E7"},
      {0.99999995, ntFIXED, 18, "0.999999900000000000"},  // just below the tie
      {9.9999999e-5, ntFIXED, 18, "0.000100000000000000"},
  });
  for (double value :
       {1e14, std::nextafter(1e14, 0.0), std::nextafter(1e15, 0.0), std::nextafter(1e15, 2e15),
        1e-5, std::nextafter(1e-5, 1.0), 9.99999999999995e-6, 9.999999999999951e-6, 9999999.5,
        9999999.499999999, 99999.95, 0.099999995, 1e7, 1e6, 1e-7})
    EXPECT_TRUE(SameAsExactEverywhere(value));
}

// NaN, infinities, zeros, denormals, the extremes and integers.
TEST(NumberTextFast, NanInfinitiesZerosDenormalsAndExtremes) {
  for (int notation : {ntSTANDARD, ntFIXED, ntSCIENTIFIC})
    for (int decimals : {0, 5, 18}) {
      EXPECT_EQ(FormatNumber(kNan, notation, decimals), "NAN");
      EXPECT_EQ(FormatNumber(-kNan, notation, decimals), "NAN");
      EXPECT_EQ(FormatNumber(kInf, notation, decimals), "INF");
      EXPECT_EQ(FormatNumber(-kInf, notation, decimals), "-INF");
    }
  ExpectFormats({
      {-0.0, ntSTANDARD, 0, "0"},
      {-0.0, ntFIXED, 2, "0.00"},
      {-0.0, ntSCIENTIFIC, 2, "0.00E+0"},
      {-0.0001, ntFIXED, 2, "0.00"},  // rounds to an unsigned zero
      {-0.004, ntFIXED, 2, "0.00"},
      {-0.4, ntFIXED, 0, "0"},
      {kMinDenormal, ntSTANDARD, 0, "4.94065645841247E-324"},
      {-kMinDenormal, ntSCIENTIFIC, 18, "-4.940656458412465442E-324"},
      {kMinDenormal, ntFIXED, 18, "0.000000000000000000"},
      {kMinNormal, ntSTANDARD, 0, "2.2250738585072E-308"},
      {kMinNormal, ntSCIENTIFIC, 18, "2.225073858507201383E-308"},
      {kMax, ntSTANDARD, 0, "1.79769313486232E308"},
      {-kMax, ntFIXED, 2, "-1.797693E308"},
      {kMax, ntSCIENTIFIC, 0, "2E+308"},
      {-1234567.0, ntFIXED, 18, "-1234567.000000000000000000"},
  });
  // Plain values and small integers are met by the random draws below.
  for (double value : {0.0, std::nextafter(kMinNormal, 0.0), 1e-310, -3e-320, -1e308, 4294967295.0,
                       9007199254740992.0, -9007199254740993.0, 1e22, 1e23})
    EXPECT_TRUE(SameAsExactEverywhere(value));
}

TEST(NumberTextFast, BufferFormWritesAtMostTheLongestText) {
  const struct {
    double value;
    int notation, decimals;
  } longest[] = {{-1234567.5, ntFIXED, 18},
                 {-1.234567890123456789e-300, ntSCIENTIFIC, 18},
                 {-0.0000123456789012345, ntSTANDARD, 0},
                 {-1.23456789012345e-300, ntSTANDARD, 0}};
  for (const auto& c : longest) {
    std::array<char, NumberText::FormatNumberMaxChars + 1> buffer;
    buffer.back() = '#';
    char* end = NumberText::FormatNumberTo(buffer.data(), c.value, c.notation, c.decimals);
    EXPECT_EQ(buffer.back(), '#');
    EXPECT_EQ(std::string(buffer.data(), end), FormatNumberExact(c.value, c.notation, c.decimals));
  }
  EXPECT_EQ(FormatNumber(-1234567.5, ntFIXED, 18).size(), NumberText::FormatNumberMaxChars);
}

TEST(NumberTextFast, RegionalSeparatorInEveryForm) {
  TSeparatorGuard comma(',');
  ExpectFormats({
      {0.125, ntFIXED, 2, "0,13"},
      {-0.0001, ntFIXED, 3, "0,000"},
      {3.0, ntFIXED, 2, "3,00"},
      {0.00001, ntSTANDARD, 0, "0,00001"},
      {1.5e-10, ntSTANDARD, 0, "1,5E-10"},
      {1e20, ntSTANDARD, 0, "1E20"},
      {12345678.0, ntFIXED, 2, "1,234568E7"},
      {0.0, ntSCIENTIFIC, 1, "0,0E+0"},
      {2.384185791015625e-7, ntSTANDARD, 0, "2,38418579101563E-7"},
  });
}

// Draws values of one kind and compares every one in the standard notation and in the
// fixed and scientific notations with a random decimal count.
template <typename TDraw>
void CompareRandomValues(int count, TDraw draw) {
  std::mt19937_64 random(2024);
  std::uniform_int_distribution<int> decimals(0, 18);
  for (int n = 0; n < count; ++n) {
    const double value = draw(random);
    ASSERT_TRUE(SameAsExact(value, ntSTANDARD, 0));
    ASSERT_TRUE(SameAsExact(value, ntFIXED, decimals(random)));
    ASSERT_TRUE(SameAsExact(value, ntSCIENTIFIC, decimals(random)));
  }
}

double LogUniform(std::mt19937_64& random) {
  const double value = std::pow(10.0, std::uniform_real_distribution<double>(-30, 30)(random));
  return random() % 2 ? -value : value;
}

TEST(NumberTextFast, RandomValuesMatchTheExactMethod) {
  const int count = 24'000 * kRandomScale;
  CompareRandomValues(count, [](std::mt19937_64& random) {
    return std::uniform_real_distribution<double>(-1000, 1000)(random);
  });
  CompareRandomValues(count, LogUniform);
  CompareRandomValues(
      count, [](std::mt19937_64& random) { return static_cast<double>(random() % 100'000); });
  CompareRandomValues(count, [](std::mt19937_64& random) {
    return static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  });
  CompareRandomValues(count, [](std::mt19937_64& random) {
    const double value = std::bit_cast<double>(random());
    return std::isnan(value) ? 0.0 : value;
  });
  // Binary fractions with few bits: ties at some rounding position are common.
  CompareRandomValues(count, [](std::mt19937_64& random) {
    return std::ldexp(static_cast<double>(random() % 2'000'001) - 1'000'000,
                      -static_cast<int>(random() % 24));
  });
}

TEST(NumberTextFast, RandomValuesWithCommaSeparator) {
  TSeparatorGuard comma(',');
  CompareRandomValues(10'000 * kRandomScale, LogUniform);
}

// ----- Text to number

// The straightforward parser: checks the form while building a plain copy for
// from_chars with '.' as separator.
bool ReferenceTextToFloat(const std::string& text, double& result) {
  const char separator = NumberText::DecimalSeparator();
  std::string plain;
  std::size_t i = 0;
  const std::size_t n = text.size();
  const auto isDigit = [&](std::size_t at) { return at < n && text[at] >= '0' && text[at] <= '9'; };
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  std::size_t mantissaDigits = 0;
  while (isDigit(i)) plain += text[i++], ++mantissaDigits;
  if (i < n && text[i] == separator) {
    plain += '.';
    ++i;
    while (isDigit(i)) plain += text[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    std::size_t exponentDigits = 0;
    while (isDigit(i)) plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  if (i != n) return false;
  double value = 0;
  auto [ptr, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ptr != plain.data() + plain.size()) return false;
  if (error == std::errc::result_out_of_range) {
    // The C library tells overflow (infinity) from underflow, which reads as zero.
    if (std::isinf(std::strtod(plain.c_str(), nullptr))) return false;
    value = 0;
  } else if (error != std::errc()) {
    return false;
  }
  result = value;
  return true;
}

// Optional sign, digits, within the int32 range.
bool ReferenceTextToInt(const std::string& text, std::int32_t& result) {
  std::size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{1} << 40);
  }
  value = negative ? -value : value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return false;
  result = static_cast<std::int32_t>(value);
  return true;
}

::testing::AssertionResult SameParse(const std::string& text) {
  double fast = 12345, reference = 12345;
  const bool fastOk = NumberText::TextToFloat(text, fast);
  const bool referenceOk = ReferenceTextToFloat(text, reference);
  std::int32_t fastInt = 12345, referenceInt = 12345;
  const bool fastIntOk = NumberText::TextToInt(text, fastInt);
  const bool referenceIntOk = ReferenceTextToInt(text, referenceInt);
  if (fastOk == referenceOk &&
      std::bit_cast<std::uint64_t>(fast) == std::bit_cast<std::uint64_t>(reference) &&
      fastIntOk == referenceIntOk && fastInt == referenceInt)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << '"' << text << "\": float " << fastOk << ' ' << fast << " instead of " << referenceOk
         << ' ' << reference << ", int " << fastIntOk << ' ' << fastInt << " instead of "
         << referenceIntOk << ' ' << referenceInt;
}

// The refusals and the forms a random text rarely makes; the plain accepted forms are
// met by the random texts below.
TEST(NumberTextFast, TextToFloatEdgeForms) {
  const struct {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"", false, 0},
      {".", false, 0},
      {"+", false, 0},
      {"-", false, 0},
      {"+-1", false, 0},
      {"-+1", false, 0},
      {"1e", false, 0},
      {"1e+", false, 0},
      {"1e-", false, 0},
      {"e1", false, 0},
      {".e1", false, 0},
      {"1e1.5", false, 0},
      {"-0", true, -0.0},
      {"1e-400", true, 0},
      {"1e400", false, 0},
      {"1e+400", false, 0},
      {"4.9e-324", true, kMinDenormal},
      {"1e0000000000000000000000002", true, 100},
      {"123456789012345678901234567890", true, 123456789012345678901234567890.0},
  };
  for (const auto& c : cases) {
    double value = 12345;
    EXPECT_EQ(NumberText::TextToFloat(c.text, value), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
    EXPECT_TRUE(SameParse(c.text));
  }
  const std::string longDigits(400, '7');
  EXPECT_TRUE(SameParse(longDigits));            // overflow: refused
  EXPECT_TRUE(SameParse(longDigits + "e-399"));  // about 7.8
  EXPECT_TRUE(SameParse("0." + std::string(400, '0') + "1"));
  EXPECT_TRUE(SameParse("1." + longDigits));
  double value = 0;
  EXPECT_TRUE(NumberText::TextToFloat(longDigits + "e-399", value));
  EXPECT_NEAR(value, 7.777777777, 1e-9);
  // Too large although the exponent is negative, and too small although it is not: the
  // magnitude decides, not the exponent's sign.
  const std::string tooLarge = "1" + std::string(400, '0') + "e-1";
  const std::string tooSmall = "0." + std::string(400, '0') + "1e+5";
  for (const std::string& text : {tooLarge, "-" + tooLarge, tooSmall, tooSmall + "0"})
    EXPECT_TRUE(SameParse(text)) << text.substr(0, 8);
  EXPECT_FALSE(NumberText::TextToFloat(tooLarge, value));
  value = 1;
  EXPECT_TRUE(NumberText::TextToFloat(tooSmall, value));
  EXPECT_EQ(value, 0.0);
}

TEST(NumberTextFast, TextToFloatWithCommaSeparator) {
  TSeparatorGuard comma(',');
  const std::string longFraction = "3," + std::string(300, '1');  // past the stack copy
  for (const std::string& text :
       {std::string("1,5"), std::string("-2,5E3"), std::string(",5"), std::string("5,"),
        std::string("1.5"), std::string("1,2,3"), std::string(","), std::string("+,5e-2"),
        longFraction, longFraction + "e-3", longFraction + "x"})
    EXPECT_TRUE(SameParse(text));
  double value = 0;
  EXPECT_TRUE(NumberText::TextToFloat(longFraction, value));
  EXPECT_NEAR(value, 3.111111111111111, 1e-15);
  EXPECT_TRUE(NumberText::TextToFloat("-2,5E3", value));
  EXPECT_EQ(value, -2500.0);
}

// The character forms read [first, last) and nothing after it.
TEST(NumberTextFast, CharsFormsReadOnlyTheirRange) {
  const std::string line = "-12.5e3;+42 7";
  const char* text = line.data();
  double value = 0;
  EXPECT_TRUE(NumberText::CharsToFloat(text, text + 7, value));
  EXPECT_EQ(value, -12500.0);
  EXPECT_TRUE(NumberText::CharsToFloat(text, text + 4, value));  // "-12."
  EXPECT_EQ(value, -12.0);
  EXPECT_FALSE(NumberText::CharsToFloat(text, text + 6, value));  // "-12.5e"
  EXPECT_FALSE(NumberText::CharsToFloat(text, text, value));
  std::int32_t integer = 0;
  EXPECT_TRUE(NumberText::CharsToInt(text + 8, text + 11, integer));
  EXPECT_EQ(integer, 42);
  EXPECT_FALSE(NumberText::CharsToInt(text + 8, text + 12, integer));  // "+42 "
  TSeparatorGuard comma(',');
  const std::string commaLine = "3,25E-1x";
  EXPECT_TRUE(NumberText::CharsToFloat(commaLine.data(), commaLine.data() + 7, value));
  EXPECT_EQ(value, 0.325);
  EXPECT_FALSE(NumberText::CharsToFloat(commaLine.data(), commaLine.data() + 8, value));
}

// Texts put together from the pieces of the form and from pieces that break it.
std::string RandomNumberText(std::mt19937_64& random) {
  static const char* const kSigns[] = {"", "", "", "-", "+", "+-", "--", " "};
  static const char* const kSeparators[] = {"", "", ".", ",", ".."};
  static const char* const kExponents[] = {"", "", "", "e", "E", "e+", "e-", "E-", "e--"};
  static const char* const kJunk[] = {"inf", "nan", "0x1p3", " ", "x", "e", "_"};
  const auto digits = [&](int most) {
    std::string text(random() % (most + 1), '0');
    for (char& c : text) c = static_cast<char>('0' + random() % 10);
    return text;
  };
  std::string text = kSigns[random() % std::size(kSigns)];
  text += digits(random() % 50 == 0 ? 400 : 12);
  text += kSeparators[random() % std::size(kSeparators)];
  text += digits(random() % 50 == 0 ? 400 : 8);
  const std::string exponent = kExponents[random() % std::size(kExponents)];
  if (!exponent.empty()) text += exponent + digits(random() % 4 == 0 ? 4 : 3);
  if (random() % 20 == 0)
    text.insert(random() % (text.size() + 1), kJunk[random() % std::size(kJunk)]);
  return text;
}

TEST(NumberTextFast, RandomTextsParseAsTheReference) {
  std::mt19937_64 random(7);
  for (int n = 0; n < 60'000 * kRandomScale; ++n) ASSERT_TRUE(SameParse(RandomNumberText(random)));
  // Integers and texts of formatted values, the usual inputs; the latter read back as
  // their value to 15 digits.
  for (int n = 0; n < 20'000 * kRandomScale; ++n) {
    ASSERT_TRUE(SameParse(
        std::to_string(static_cast<std::int64_t>(random() % 10'000'000'000) - 5'000'000'000)));
    const double value = LogUniform(random);
    const std::string text = FormatNumber(value, ntSTANDARD, 0);
    double back = 0;
    ASSERT_TRUE(SameParse(text));
    ASSERT_TRUE(NumberText::TextToFloat(text, back));
    ASSERT_NEAR(back, value, std::fabs(value) * 1e-14);
  }
  TSeparatorGuard comma(',');
  for (int n = 0; n < 20'000 * kRandomScale; ++n) {
    ASSERT_TRUE(SameParse(RandomNumberText(random)));
    ASSERT_TRUE(SameParse(FormatNumber(LogUniform(random), ntSTANDARD, 0)));
  }
}

}  // namespace
