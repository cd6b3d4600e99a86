// The token extractor and number filter shared by the read decoders and Read File.
#include "communication/number_token.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "model/attribute_type.h"
#include "model/number_text.h"

namespace {

const TNumberOptions Plain{false, false};
const TNumberOptions DToE{true, false};

std::string Integer(const std::string& text) { return FilterNumberText(Plain, text, eatINTEGER); }
std::string Float(const std::string& text, const TNumberOptions& options = Plain) {
  return FilterNumberText(options, text, eatFLOAT);
}

TEST(FilterNumberText, StringsPassAndNumbersKeepTheFirstAcceptedRun) {
  EXPECT_EQ(FilterNumberText(DToE, "  1.0D3 V\r", eatSTRING), "  1.0D3 V\r");
  EXPECT_EQ(Integer("12,5"), "12");
  EXPECT_EQ(Integer("  V=-42mV"), "-42");
  EXPECT_EQ(Integer("+-5"), "+");   // after a sign only digits
  EXPECT_EQ(Integer("1-2"), "1");   // no sign after a digit
  EXPECT_EQ(Integer("no digits"), "");
  EXPECT_EQ(Float("V=+1.5D-3 V", DToE), "+1.5E-3");
  EXPECT_EQ(Float("V=+1.5d-3 V", DToE), "+1.5e-3");
  EXPECT_EQ(Float("1.0D+03"), "1.0");  // without D to E the D ends the number
  EXPECT_EQ(Float("1.0D+03", DToE), "1.0E+03");
  EXPECT_EQ(Float("E5"), "5");         // an exponent cannot start a number
  EXPECT_EQ(Float("-.5e+7x"), "-.5e+7");
  EXPECT_EQ(Float("1.2.3"), "1.2");    // no point in the fraction
  EXPECT_EQ(Float("1.5E3E4"), "1.5E3");
  EXPECT_EQ(Float("3e-+2"), "3e-");    // one exponent sign, then digits only
  EXPECT_EQ(Float(".e5"), ".e5");      // a point takes an exponent
  EXPECT_EQ(Float("+.5"), "+.5");
}

TEST(FilterNumberText, FloatsComeOutWithTheRegionalSeparator) {
  // Instruments send '.', and values read the regional separator.
  NumberText::SetDecimalSeparator(',');
  const std::string filtered = Float("V=1.25E-3 V");
  NumberText::SetDecimalSeparator('.');
  EXPECT_EQ(filtered, "1,25E-3");
}

TEST(ExtractToken, SkipsDelimitersAndStopsAtTheNext) {
  const std::string text = "\r\n 12 ;x3;\x7f" "4\xb5;";
  const char delimiters[] = {';', '\0'};
  std::int64_t position = 0;
  const auto next = [&](const TNumberOptions& options, int type) {
    return ExtractToken(options, text.data(), static_cast<std::int64_t>(text.size()), delimiters,
                        2, position, type);
  };
  EXPECT_EQ(next(Plain, eatINTEGER), "12");
  EXPECT_EQ(position, 6);  // at the delimiter, not past it
  EXPECT_EQ(next(Plain, eatINTEGER), "3");
  EXPECT_EQ(next(Plain, eatSTRING), "4\xb5");  // 127 delimits, 181 does not
  EXPECT_EQ(next(Plain, eatSTRING), "");
  EXPECT_EQ(position, static_cast<std::int64_t>(text.size()));

  const std::string blanks = "1 2,3";
  position = 0;
  EXPECT_EQ(ExtractToken({false, true}, blanks.data(), 5, ",", 1, position, eatSTRING), "1");
  EXPECT_EQ(position, 1);
  position = 0;
  EXPECT_EQ(ExtractToken(Plain, blanks.data(), 5, ",", 1, position, eatSTRING), "1 2");
  EXPECT_EQ(ExtractToken(Plain, blanks.data(), 4, ",", 1, position, eatSTRING), "");  // length
  EXPECT_EQ(ExtractToken(DToE, "x1d2;", 5, ";", 1, position = 0, eatFLOAT), "1e2");
}

}  // namespace
