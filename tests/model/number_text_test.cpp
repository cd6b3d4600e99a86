#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

using NumberText::FormatNumber;

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// Sets the regional decimal separator for one test and puts '.' back afterwards.
class TSeparatorGuard {
public:
  explicit TSeparatorGuard(char separator) { NumberText::SetDecimalSeparator(separator); }
  ~TSeparatorGuard() { NumberText::SetDecimalSeparator('.'); }
};

// A refused text leaves the target as it was.
bool IntOk(const std::string& text, std::int32_t expected) {
  std::int32_t value = 12345;
  return NumberText::TextToInt(text, value) && value == expected;
}
bool IntRefused(const std::string& text) {
  std::int32_t value = 12345;
  return !NumberText::TextToInt(text, value) && value == 12345;
}
bool FloatOk(const std::string& text, double expected) {
  double value = 12345;
  return NumberText::TextToFloat(text, value) && value == expected;
}
bool FloatRefused(const std::string& text) {
  double value = 12345;
  return !NumberText::TextToFloat(text, value) && value == 12345;
}

TEST(NumberText, TextToIntAcceptsSignAndDecimalDigitsOnly) {
  EXPECT_TRUE(IntOk("-12", -12));
  EXPECT_TRUE(IntOk("+7", 7));
  EXPECT_TRUE(IntOk("007", 7));
  EXPECT_TRUE(IntOk("2147483647", kIntMax));
  EXPECT_TRUE(IntOk("-2147483648", kIntMin));
  for (const char* text : {"", " 1", "1 ", "+", "-", "+-1", "--1", "0x10", "$10", "1.0", "1e3",
                           "12abc", "2147483648", "-2147483649", "99999999999"})
    EXPECT_TRUE(IntRefused(text)) << '"' << text << '"';
}

TEST(NumberText, TextToFloatAcceptsDecimalAndExponentForms) {
  EXPECT_TRUE(FloatOk("-1.5", -1.5));
  EXPECT_TRUE(FloatOk("+2", 2.0));
  EXPECT_TRUE(FloatOk(".5", 0.5));
  EXPECT_TRUE(FloatOk("5.", 5.0));
  EXPECT_TRUE(FloatOk("1E+3", 1000.0));
  EXPECT_TRUE(FloatOk("2.5e-3", 0.0025));
  EXPECT_TRUE(FloatOk("0.1", 0.1));
  EXPECT_TRUE(FloatOk("1.7976931348623157e308", std::numeric_limits<double>::max()));
  for (const char* text : {"", " 1", "1 ", ".", "+", "e5", "1e", "1e+", "1.2.3", "1,5", "inf",
                           "-inf", "NAN", "infinity", "0x1p3", "0x10", "1e400", "-1e400",
                           "1.8e308", "12abc", "1 000"})
    EXPECT_TRUE(FloatRefused(text)) << '"' << text << '"';
}

TEST(NumberText, TruncToInt32TruncatesTowardZeroAndSaturates) {
  const std::pair<double, std::int32_t> cases[] = {
      {2.9, 2},        {-2.9, -2},       {2147483647.9, kIntMax}, {-2147483648.9, kIntMin},
      {3e9, kIntMax},  {-3e9, kIntMin},  {kInf, kIntMax},         {-kInf, kIntMin},
      {kNan, 0}};
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(NumberText::TruncToInt32(value), expected) << value;
}

TEST(NumberText, FormatsInEachNotation) {
  const struct {
    double value;
    int notation, decimals;
    std::string text;
  } cases[] = {
      // Standard: 15 significant digits; a single widened to double shows its binary value.
      {static_cast<double>(0.1f), ntSTANDARD, 0, "0.100000001490116"},
      {static_cast<double>(0.00001f), ntSTANDARD, 0, "9.99999974737875E-6"},
      {-12.5, ntSTANDARD, 0, "-12.5"},
      {5.0, ntSTANDARD, 3, "5"},  // decimals do not apply
      {0.0, ntSTANDARD, 2, "0"},
      {-2.5e-7, ntSTANDARD, 0, "-2.5E-7"},
      // At most 15 integer digits, magnitude at least 0.00001.
      {123456789012345.0, ntSTANDARD, 0, "123456789012345"},
      {1e15, ntSTANDARD, 0, "1E15"},
      {1234567890123456.0, ntSTANDARD, 0, "1.23456789012346E15"},
      {0.00001, ntSTANDARD, 0, "0.00001"},
      {-0.000012345, ntSTANDARD, 0, "-0.000012345"},
      {0.0000099, ntSTANDARD, 0, "9.9E-6"},
      // Ties (exact in binary) round away from zero; a carry can add an integer digit.
      {100000000000000.5, ntSTANDARD, 0, "100000000000001"},
      {-100000000000000.5, ntSTANDARD, 0, "-100000000000001"},
      {999999999999999.875, ntSTANDARD, 0, "1E15"},
      // Fixed: 7 significant digits, the scientific form beyond 7 integer digits.
      {3.14159265, ntFIXED, 10, "3.1415930000"},
      {-1.5, ntFIXED, 3, "-1.500"},
      {0.0, ntFIXED, 0, "0"},
      {0.001234567, ntFIXED, 10, "0.0012345670"},
      {1234567.8, ntFIXED, 2, "1234568.00"},
      {12345678.0, ntFIXED, 2, "1.234568E7"},
      {1e20, ntFIXED, 2, "1E20"},
      {-0.125, ntFIXED, 2, "-0.13"},
      {2.5, ntFIXED, 0, "3"},
      {0.5, ntFIXED, 0, "1"},
      {1234.5625, ntFIXED, 4, "1234.5630"},  // a tie at the 8th digit
      {9.9999999, ntFIXED, 2, "10.00"},
      {-9.996, ntFIXED, 2, "-10.00"},
      {9999999.4, ntFIXED, 0, "9999999"},
      {9999999.6, ntFIXED, 0, "1E7"},
      // Scientific: one integer digit and a signed exponent.
      {-1234.5, ntSCIENTIFIC, 2, "-1.23E+3"},
      {1234.5, ntSCIENTIFIC, 0, "1E+3"},
      {0.000123, ntSCIENTIFIC, 1, "1.2E-4"},
      {1e100, ntSCIENTIFIC, 2, "1.00E+100"},
      {0.0, ntSCIENTIFIC, 2, "0.00E+0"},
      {-1.25, ntSCIENTIFIC, 1, "-1.3E+0"},
      {0.125, ntSCIENTIFIC, 1, "1.3E-1"},
      {9.96, ntSCIENTIFIC, 1, "1.0E+1"},
      {-0.0999, ntSCIENTIFIC, 1, "-1.0E-1"},
      // Decimals are clamped to 0..18.
      {1.5, ntFIXED, -3, "2"},
      {1.5, ntFIXED, 40, "1.5" + std::string(17, '0')},
      {1.5, ntSCIENTIFIC, -1, "2E+0"},
      {1.5, ntSCIENTIFIC, 40, "1.5" + std::string(17, '0') + "E+0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatNumber(c.value, c.notation, c.decimals), c.text)
        << c.value << " notation " << c.notation << " decimals " << c.decimals;
  for (int notation : {ntSTANDARD, ntFIXED, ntSCIENTIFIC}) {
    EXPECT_EQ(FormatNumber(kNan, notation, 2), "NAN");
    EXPECT_EQ(FormatNumber(kInf, notation, 2), "INF");
    EXPECT_EQ(FormatNumber(-kInf, notation, 2), "-INF");
  }
}

TEST(NumberText, RegionalSeparatorInBothDirections) {
  TSeparatorGuard comma(',');
  EXPECT_EQ(NumberText::DecimalSeparator(), ',');
  EXPECT_TRUE(FloatOk("-2,5E3", -2500.0));
  EXPECT_TRUE(FloatRefused("1.5"));
  EXPECT_TRUE(FloatRefused("1,2,3"));
  EXPECT_EQ(FormatNumber(1.5, ntFIXED, 2), "1,50");
  EXPECT_EQ(FormatNumber(1.5e-10, ntSTANDARD, 0), "1,5E-10");
  EXPECT_EQ(FormatNumber(1234.5, ntSCIENTIFIC, 2), "1,23E+3");
  EXPECT_EQ(FormatNumber(12345678.0, ntFIXED, 2), "1,234568E7");
}

TEST(NumberTextDeathTest, UnknownNotationIsAConsistencyFailure) {
  EXPECT_DEATH(FormatNumber(1.0, 7, 2),
               "Assertion failed: notationtype==ntSCIENTIFIC, file .+, line [0-9]+");
  EXPECT_DEATH(FormatNumber(1.0, -1, 2), "notationtype==ntSCIENTIFIC");
}

}  // namespace
