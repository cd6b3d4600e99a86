#include "model/value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/value_array.h"
#include "support/fake_ui_port.h"

namespace {

using Texts = std::vector<std::string>;

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kBitsOnePointFive = 0x3FC00000;  // IEEE single 1.5
constexpr std::int32_t kBitsNan = 0x7FC00000;
constexpr std::int32_t kBitsInf = 0x7F800000;
constexpr std::int32_t kBitsMinusInf = static_cast<std::int32_t>(0xFF800000u);

// The text of the EExperimentError the action raises, or a marker when it raises none.
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EExperimentError& error) {
    return error.GetMessage();
  }
  return "<no error>";
}

TValueFloat FloatFromText(const std::string& text) {
  TValueFloat value;
  value.SetText(text);
  return value;
}

class TSeparatorGuard {
public:
  explicit TSeparatorGuard(char separator) { NumberText::SetDecimalSeparator(separator); }
  ~TSeparatorGuard() { NumberText::SetDecimalSeparator('.'); }
};

TEST(HexDumpText, SignedByteCodesInUpperCaseHex) {
  EXPECT_EQ(HexDumpText("ab"), " 61 62h");
  EXPECT_EQ(HexDumpText(""), "h");
  EXPECT_EQ(HexDumpText("\n"), " 0Ah");
  EXPECT_EQ(HexDumpText("\x7F"), " 7Fh");
  EXPECT_EQ(HexDumpText("\x80"), " FFFFFF80h");
  EXPECT_EQ(HexDumpText("a\xFF"), " 61 FFFFFFFFh");
}

TEST(TValue, InitialStateTypeAndRaw) {
  TValueString text;
  TValueInt integer;
  TValueFloat real;
  EXPECT_EQ(text.GetText(), "");
  EXPECT_EQ(integer.GetInt(), 0);
  EXPECT_EQ(TValueInt(42).GetText(), "42");
  EXPECT_EQ(real.GetFloat(), 0.0f);
  EXPECT_EQ(real.GetNotation(), ntSTANDARD);
  EXPECT_EQ(real.GetDecimalPlaces(), 1);
  EXPECT_EQ(real.GetText(), "0");

  EXPECT_EQ(text.GetType(), eatSTRING);
  EXPECT_EQ(integer.GetType(), eatINTEGER);
  EXPECT_EQ(real.GetType(), eatFLOAT);

  EXPECT_EQ(TValueString("abc").GetRaw(), 0u);
  EXPECT_EQ(TValueInt(-1).GetRaw(), 0xFFFFFFFFu);
  EXPECT_EQ(FloatFromText("1.5").GetRaw(), 0x3FC00000u);
  EXPECT_EQ(FloatFromText("0.1").GetRaw(), 0x3DCCCCCDu);
}

TEST(TValueString, TextNumberAndValidation) {
  TFakeUiPort ui;
  TValueString value;
  value.SetText("any text");
  EXPECT_EQ(value.GetText(), "any text");
  EXPECT_EQ(value.GetTextFormatted(7, 3), "any text");  // notation does not apply
  value.SetNumber(-1);
  EXPECT_EQ(value.GetText(), "4294967295");
  value.SetNumber(123);
  EXPECT_EQ(value.GetText(), "123");
  EXPECT_FALSE(value.ValidateText(""));
  EXPECT_TRUE(value.ValidateText(" "));
  EXPECT_TRUE(ui.Texts().empty());
}

TEST(TValueInt, SetTextIntegerThenTruncatedFloat) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"-12", -12}, {"7.9", 7}, {"2.9", 2}, {"-2.9", -2}, {"1.5E3", 1500},
      {"2147483647.9", kIntMax}, {"-2147483648", kIntMin}};
  for (const auto& [text, expected] : cases) {
    TValueInt value(99);
    value.SetText(text);
    EXPECT_EQ(value.GetInt(), expected) << text;
    EXPECT_EQ(value.GetText(), std::to_string(expected)) << text;
  }
}

TEST(TValueInt, SetTextRefusalKeepsValueAndDumpsText) {
  TValueInt value(5);
  EXPECT_EQ(ErrorOf([&] { value.SetText("12abc"); }),
            "The value is not an integer. Value is 12abc\rBinary value:  31 32 61 62 63h.");
  EXPECT_EQ(value.GetInt(), 5);
  EXPECT_EQ(ErrorOf([&] { value.SetText(""); }),
            "The value is not an integer. Value is \rBinary value: h.");
  // Beyond the integer range, as integer or as float text.
  EXPECT_EQ(ErrorOf([&] { value.SetText("3000000000"); }),
            "The value is not an integer. Value is 3000000000\rBinary value:  33 30 30 30 30 30 "
            "30 30 30 30h.");
  EXPECT_EQ(ErrorOf([&] { value.SetText("1e10"); }),
            "The value is not an integer. Value is 1e10\rBinary value:  31 65 31 30h.");
  EXPECT_NE(ErrorOf([&] { value.SetText(" 1"); }), "<no error>");
  EXPECT_NE(ErrorOf([&] { value.SetText("0x10"); }), "<no error>");
  EXPECT_EQ(value.GetInt(), 5);
}

TEST(TValueInt, ValidateTextShowsMessage) {
  TFakeUiPort ui;
  TValueInt value;
  EXPECT_TRUE(value.ValidateText("-42"));
  EXPECT_TRUE(ui.Texts().empty());
  // Converts for SetText, but is not an integer text.
  EXPECT_FALSE(value.ValidateText("7.9"));
  EXPECT_FALSE(value.ValidateText("abc"));
  EXPECT_EQ(ui.Texts(),
            (Texts{"The value 7.9 is not an integer.", "The value abc is not an integer."}));
}

TEST(TValueInt, FormattedAddAndConversions) {
  EXPECT_EQ(TValueInt(-12).GetTextFormatted(ntSTANDARD, 5), "-12");
  EXPECT_EQ(TValueInt(5).GetTextFormatted(ntFIXED, 2), "5.00");
  EXPECT_EQ(TValueInt(1234).GetTextFormatted(ntSCIENTIFIC, 2), "1.23E+3");
  EXPECT_EQ(TValueInt(12345678).GetTextFormatted(ntFIXED, 0), "1.234568E7");
  EXPECT_EQ(TValueInt(kIntMin).GetText(), "-2147483648");
  EXPECT_EQ(TValueInt(16777217).GetFloat(), 16777216.0f);

  TValueInt value(kIntMax);
  TValueInt one(1);
  value.Add(&one);
  EXPECT_EQ(value.GetInt(), kIntMin);
  value.Add(&one);
  EXPECT_EQ(value.GetInt(), kIntMin + 1);

  TValueInt sum(10);
  TValueFloat real = FloatFromText("2.9");
  sum.Add(&real);  // the float's integer part
  EXPECT_EQ(sum.GetInt(), 12);
  real.SetText("-2.9");
  sum.Add(&real);
  EXPECT_EQ(sum.GetInt(), 10);
  sum.SetNumber(-7);
  EXPECT_EQ(sum.GetInt(), -7);
}

TEST(TValueFloat, SetTextChoosesNotationAndDecimals) {
  TValueFloat value = FloatFromText("1.5E3");
  EXPECT_EQ(value.GetFloat(), 1500.0f);
  EXPECT_EQ(value.GetNotation(), ntSCIENTIFIC);
  EXPECT_EQ(value.GetDecimalPlaces(), 3);
  EXPECT_EQ(value.GetText(), "1.500E+3");

  value.SetText("42");
  EXPECT_EQ(value.GetNotation(), ntFIXED);
  EXPECT_EQ(value.GetDecimalPlaces(), 0);
  EXPECT_EQ(value.GetText(), "42");

  value.SetText("3.250");
  EXPECT_EQ(value.GetDecimalPlaces(), 3);
  EXPECT_EQ(value.GetText(), "3.250");
  value.SetText("2.");
  EXPECT_EQ(value.GetDecimalPlaces(), 0);
  EXPECT_EQ(value.GetText(), "2");
  value.SetText("1e3");  // a lower-case exponent counts too
  EXPECT_EQ(value.GetNotation(), ntSCIENTIFIC);
  EXPECT_EQ(value.GetText(), "1E+3");
  value.SetText("-1.25e-2");
  EXPECT_EQ(value.GetDecimalPlaces(), 5);
  EXPECT_EQ(value.GetText(), "-1.25000E-2");
}

TEST(TValueFloat, SetTextRefusalKeepsValueAndFormat) {
  TValueFloat value = FloatFromText("2.50");
  EXPECT_EQ(ErrorOf([&] { value.SetText("abc"); }),
            "The value is not an float. Value is abc\rBinary value:  61 62 63h");
  EXPECT_EQ(ErrorOf([&] { value.SetText("1e39"); }),
            "The value is not an float. Value is 1e39\rBinary value:  31 65 33 39h");
  for (const char* text : {"", "inf", "nan", "1e", ".", "1,5", " 1", "0x1p3"})
    EXPECT_NE(ErrorOf([&] { value.SetText(text); }), "<no error>") << '"' << text << '"';
  EXPECT_EQ(value.GetFloat(), 2.5f);
  EXPECT_EQ(value.GetNotation(), ntFIXED);
  EXPECT_EQ(value.GetDecimalPlaces(), 2);
  EXPECT_EQ(value.GetText(), "2.50");
  value.SetText("3.4e38");  // still within the single range
  EXPECT_EQ(value.GetFloat(), 3.4e38f);
}

TEST(TValueFloat, ValidateTextShowsMessage) {
  TFakeUiPort ui;
  TValueFloat value;
  EXPECT_TRUE(value.ValidateText("-1.5E-3"));
  EXPECT_TRUE(ui.Texts().empty());
  EXPECT_FALSE(value.ValidateText("abc"));
  EXPECT_FALSE(value.ValidateText("1,5"));
  EXPECT_EQ(ui.Texts(),
            (Texts{"The value abc is not a float value", "The value 1,5 is not a float value"}));
}

TEST(TValueFloat, SetNumberTakesSingleBits) {
  TValueFloat value = FloatFromText("2.00E1");
  value.SetNumber(kBitsOnePointFive);
  EXPECT_EQ(value.GetFloat(), 1.5f);
  EXPECT_EQ(value.GetNotation(), ntSTANDARD);
  EXPECT_EQ(value.GetDecimalPlaces(), 0);
  EXPECT_EQ(value.GetText(), "1.5");
  EXPECT_EQ(value.GetRaw(), 0x3FC00000u);

  value.SetNumber(kBitsNan);
  EXPECT_EQ(value.GetText(), "NAN");
  EXPECT_EQ(value.GetInt(), 0);
  value.SetNumber(kBitsInf);
  EXPECT_EQ(value.GetText(), "INF");
  EXPECT_EQ(value.GetInt(), kIntMax);
  value.SetNumber(kBitsMinusInf);
  EXPECT_EQ(value.GetText(), "-INF");
  EXPECT_EQ(value.GetInt(), kIntMin);
}

TEST(TValueFloat, GetIntTruncatesAndSaturates) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"2.9", 2}, {"-2.9", -2}, {"1e10", kIntMax}, {"-1e10", kIntMin}, {"3000000000", kIntMax}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(FloatFromText(text).GetInt(), expected);
}

TEST(TValueFloat, AddInSinglePrecision) {
  TValueFloat value = FloatFromText("1.5");
  TValueInt two(2);
  value.Add(&two);
  EXPECT_EQ(value.GetFloat(), 3.5f);
  TValueFloat quarter = FloatFromText("0.25");
  value.Add(&quarter);
  EXPECT_EQ(value.GetFloat(), 3.75f);
  TValueFloat big = FloatFromText("16777216");
  TValueFloat one = FloatFromText("1");
  big.Add(&one);  // the sum is stored as a single again
  EXPECT_EQ(big.GetFloat(), 16777216.0f);
}

TEST(TValue, AssignCopiesSameTypeElseResets) {
  TValueString text("x");
  TValueString other("copied");
  text.Assign(&other);
  EXPECT_EQ(text.GetText(), "copied");
  TValueInt seven(7);
  text.Assign(&seven);
  EXPECT_EQ(text.GetText(), "");
  text.SetText("y");
  text.Assign(nullptr);
  EXPECT_EQ(text.GetText(), "");

  TValueInt integer(3);
  integer.Assign(&seven);
  EXPECT_EQ(integer.GetInt(), 7);
  TValueFloat real = FloatFromText("9.5");
  integer.Assign(&real);
  EXPECT_EQ(integer.GetInt(), 0);
  integer.SetNumber(4);
  integer.Assign(nullptr);
  EXPECT_EQ(integer.GetInt(), 0);

  TValueFloat target;
  TValueFloat source = FloatFromText("1.25E2");
  target.Assign(&source);
  EXPECT_EQ(target.GetFloat(), 125.0f);
  EXPECT_EQ(target.GetNotation(), ntSCIENTIFIC);
  EXPECT_EQ(target.GetDecimalPlaces(), 4);
  EXPECT_EQ(target.GetText(), "1.2500E+2");
  target.Assign(&seven);  // value 0.0, format kept
  EXPECT_EQ(target.GetFloat(), 0.0f);
  EXPECT_EQ(target.GetText(), "0.0000E+0");
  target.SetText("1.5");
  target.Assign(nullptr);
  EXPECT_EQ(target.GetText(), "0.0");
}

TEST(TValue, IsValidTextPerType) {
  TFakeUiPort ui;
  EXPECT_TRUE(TValue::IsValidText(eatSTRING, "", true));
  EXPECT_TRUE(TValue::IsValidText(eatSTRING, "12abc", true));
  EXPECT_TRUE(TValue::IsValidText(eatINTEGER, "-2147483648", true));
  EXPECT_TRUE(TValue::IsValidText(eatFLOAT, "2.5", true));
  EXPECT_TRUE(TValue::IsValidText(eatFLOAT, "7", true));
  EXPECT_TRUE(ui.Texts().empty());

  EXPECT_FALSE(TValue::IsValidText(eatINTEGER, "2.5", false));
  EXPECT_FALSE(TValue::IsValidText(eatFLOAT, "x", false));
  EXPECT_TRUE(ui.Texts().empty());

  EXPECT_FALSE(TValue::IsValidText(eatINTEGER, "2.5", true));
  EXPECT_FALSE(TValue::IsValidText(eatINTEGER, "2147483648", true));
  EXPECT_FALSE(TValue::IsValidText(eatFLOAT, "1.2.3", true));
  EXPECT_EQ(ui.Texts(), (Texts{"The value 2.5 is not an integer.",
                               "The value 2147483648 is not an integer.",
                               "The value 1.2.3 is not a float value"}));
}

TEST(TValue, RegionalSeparatorInValues) {
  TSeparatorGuard comma(',');
  TValueFloat value = FloatFromText("1,25");
  EXPECT_EQ(value.GetNotation(), ntFIXED);
  EXPECT_EQ(value.GetDecimalPlaces(), 2);
  EXPECT_EQ(value.GetText(), "1,25");
  value.SetText("1,5E3");
  EXPECT_EQ(value.GetDecimalPlaces(), 3);
  EXPECT_EQ(value.GetText(), "1,500E+3");
  EXPECT_NE(ErrorOf([&] { value.SetText("1.25"); }), "<no error>");

  TValueInt integer;
  integer.SetText("2,9");
  EXPECT_EQ(integer.GetInt(), 2);
  EXPECT_NE(ErrorOf([&] { integer.SetText("2.9"); }), "<no error>");
  EXPECT_EQ(TValueInt(5).GetTextFormatted(ntFIXED, 2), "5,00");
}

TEST(TValueDeathTest, ConsistencyFailures) {
  TValueInt integer(1);
  TValueFloat real;
  EXPECT_DEATH(integer.Add(nullptr), "Assertion failed: valuenum!=0, file .+, line [0-9]+");
  EXPECT_DEATH(real.Add(nullptr), "Assertion failed: valuenum!=0");
  EXPECT_DEATH(TValue::IsValidText(5, "1", false), "Assertion failed: type==eatFLOAT");
  EXPECT_DEATH(TValue::IsValidText(-1, "1", false), "Assertion failed: type==eatFLOAT");
  EXPECT_DEATH(integer.GetTextFormatted(7, 0), "Assertion failed: notationtype==ntSCIENTIFIC");
  EXPECT_DEATH(real.GetTextFormatted(3, 0), "Assertion failed: notationtype==ntSCIENTIFIC");
}

// Every element operation of an array of size 3 refuses 3 and -1, before creating storage.
void ExpectIndexChecks(TValueArray& array) {
  array.SetSize(3);
  for (std::int32_t index : {3, -1, kIntMin}) {
    const std::string message = "Index " + std::to_string(index) + " is out of bounds.";
    EXPECT_EQ(ErrorOf([&] { array.SetElementText("1", index); }), message);
    EXPECT_EQ(ErrorOf([&] { array.SetElementNumber(1, index); }), message);
    EXPECT_EQ(ErrorOf([&] { array.GetElementText(index); }), message);
    EXPECT_EQ(ErrorOf([&] { array.GetElementTextFormatted(ntFIXED, 2, index); }), message);
    if (auto* numbers = dynamic_cast<TValueNumberArray*>(&array)) {
      EXPECT_EQ(ErrorOf([&] { numbers->GetElementInt(index); }), message);
      EXPECT_EQ(ErrorOf([&] { numbers->GetElementFloat(index); }), message);
      EXPECT_EQ(ErrorOf([&] { numbers->GetRawElement(index); }), message);
    }
  }
  EXPECT_FALSE(array.HasStorage());
  array.SetElementNumber(1, 2);  // the last index is in bounds
  EXPECT_TRUE(array.HasStorage());
}

TEST(TValueArray, IndexChecksForReadsAndWrites) {
  TValueStringArray strings;
  TValueIntegerArray integers;
  TValueFloatArray floats;
  ExpectIndexChecks(strings);
  ExpectIndexChecks(integers);
  ExpectIndexChecks(floats);
}

TEST(TValueArray, SetSizeRules) {
  TValueIntegerArray array;
  EXPECT_EQ(ErrorOf([&] { array.SetSize(0); }), "Invalid array size: 0");
  EXPECT_EQ(ErrorOf([&] { array.SetSize(-5); }), "Invalid array size: -5");
  EXPECT_EQ(array.GetSize(), 10);
  array.SetSize(3);
  for (std::int32_t i = 0; i < 3; ++i) array.SetElementNumber(i + 1, i);
  array.SetSize(3);  // same size keeps the elements
  EXPECT_EQ(array.GetText(), "1,2,3");
  array.SetSize(4);
  EXPECT_FALSE(array.HasStorage());
  EXPECT_EQ(array.GetSize(), 4);
  EXPECT_EQ(array.GetText(), "");
  EXPECT_EQ(array.GetElementInt(3), 0);
  EXPECT_EQ(array.GetText(), "0,0,0,0");

  TValueStringArray strings;
  strings.SetSize(2);
  strings.SetElementText("a", 0);
  strings.SetSize(1);
  EXPECT_EQ(strings.GetText(), "");
  strings.SetSize(1);
  EXPECT_EQ(strings.GetElementText(0), "");
}

TEST(TValueArray, StorageOnFirstWriteAndFirstRead) {
  TValueStringArray written;
  written.SetSize(3);
  written.SetElementText("b", 1);
  EXPECT_EQ(written.GetText(), ",b,");

  // A new array has 10 elements and no storage; every element read fills it first.
  TValueStringArray strings;
  EXPECT_EQ(strings.GetSize(), 10);
  EXPECT_EQ(strings.GetText(), "");
  EXPECT_FALSE(strings.HasStorage());
  EXPECT_EQ(strings.GetElementTextFormatted(ntFIXED, 2, 9), "");
  EXPECT_TRUE(strings.HasStorage());
  EXPECT_EQ(strings.GetText(), ",,,,,,,,,");
  TValueIntegerArray integers;
  integers.SetSize(2);
  EXPECT_EQ(integers.GetRawElement(1), 0u);
  EXPECT_EQ(integers.GetText(), "0,0");
  TValueFloatArray floats;
  floats.SetSize(3);
  EXPECT_EQ(floats.GetText(), "");
  EXPECT_EQ(floats.GetElementFloat(0), 0.0f);
  EXPECT_EQ(floats.GetText(), "0,0,0");
  TValueFloatArray floatText;
  EXPECT_EQ(floatText.GetElementText(4), "0");
  EXPECT_TRUE(floatText.HasStorage());
}

TEST(TValueArray, StringElements) {
  TValueStringArray array;
  EXPECT_EQ(array.GetType(), eatSTRING);
  array.SetSize(3);
  array.SetElementNumber(-1, 0);
  array.SetElementText("x y", 2);
  EXPECT_EQ(array.GetElementText(0), "4294967295");
  EXPECT_EQ(array.GetElementTextFormatted(7, 3, 2), "x y");  // notation does not apply
  EXPECT_EQ(array.GetText(), "4294967295,,x y");
  TValueString ab("ab");
  array.Fill(&ab);
  EXPECT_EQ(array.GetText(), "ab,ab,ab");
  TValueInt five(5);
  array.Fill(&five);
  EXPECT_EQ(array.GetText(), ",,");
  array.SetElementText("z", 1);
  array.Fill(nullptr);
  EXPECT_EQ(array.GetText(), ",,");
}

TEST(TValueArray, IntegerElements) {
  TValueIntegerArray array;
  EXPECT_EQ(array.GetType(), eatINTEGER);
  array.SetSize(3);
  array.SetElementText("1", 0);
  array.SetElementText("-2.9", 1);
  array.SetElementNumber(-1, 2);
  EXPECT_EQ(array.GetText(), "1,-2,-1");
  EXPECT_EQ(array.GetRawElement(2), 0xFFFFFFFFu);
  EXPECT_EQ(ErrorOf([&] { array.SetElementText("12abc", 0); }),
            "The value is not an integer. Value is 12abc.");
  EXPECT_EQ(ErrorOf([&] { array.SetElementText("3000000000", 0); }),
            "The value is not an integer. Value is 3000000000.");
  EXPECT_EQ(array.GetElementInt(0), 1);

  array.SetElementNumber(5, 0);
  array.SetElementNumber(1234, 1);
  array.SetElementNumber(16777217, 2);
  EXPECT_EQ(array.GetElementTextFormatted(ntFIXED, 2, 0), "5.00");
  EXPECT_EQ(array.GetElementTextFormatted(ntSCIENTIFIC, 2, 1), "1.23E+3");
  EXPECT_EQ(array.GetElementTextFormatted(ntSTANDARD, 2, 1), "1234");
  EXPECT_EQ(array.GetElementFloat(2), 16777216.0f);

  TValueInt seven(7);
  array.Fill(&seven);
  EXPECT_EQ(array.GetText(), "7,7,7");
  TValueFloat real = FloatFromText("2.5");
  array.Fill(&real);
  EXPECT_EQ(array.GetText(), "0,0,0");
  TValueIntegerArray fresh;
  fresh.SetSize(2);
  fresh.Fill(nullptr);
  EXPECT_EQ(fresh.GetText(), "0,0");
}

TEST(TValueArray, FloatElementsShareNotation) {
  TValueFloatArray array;
  EXPECT_EQ(array.GetType(), eatFLOAT);
  EXPECT_EQ(array.GetNotation(), ntSTANDARD);
  EXPECT_EQ(array.GetDecimalPlaces(), 0);
  array.SetSize(2);
  array.SetElementText("2.00", 0);
  EXPECT_EQ(array.GetNotation(), ntFIXED);
  EXPECT_EQ(array.GetDecimalPlaces(), 2);
  array.SetElementText("1E2", 1);
  EXPECT_EQ(array.GetNotation(), ntSCIENTIFIC);
  EXPECT_EQ(array.GetDecimalPlaces(), 0);
  EXPECT_EQ(array.GetElementText(0), "2E+0");
  EXPECT_EQ(array.GetText(), "2E+0,1E+2");

  EXPECT_EQ(ErrorOf([&] { array.SetElementText("abc", 0); }),
            "The value is not an float. Value is abc.");
  EXPECT_EQ(ErrorOf([&] { array.SetElementText("1e39", 0); }),
            "The value is not an float. Value is 1e39.");
  EXPECT_EQ(array.GetElementFloat(0), 2.0f);
  EXPECT_EQ(array.GetNotation(), ntSCIENTIFIC);

  array.SetElementText("1.00", 0);
  TValueFloat real = FloatFromText("2.5");
  array.Fill(&real);  // the array keeps its own format
  EXPECT_EQ(array.GetText(), "2.50,2.50");
  TValueInt three(3);
  array.Fill(&three);
  EXPECT_EQ(array.GetText(), "0.00,0.00");

  array.SetElementText("1234.5", 1);
  EXPECT_EQ(array.GetElementTextFormatted(ntSCIENTIFIC, 2, 1), "1.23E+3");
  array.SetElementNumber(kBitsOnePointFive, 0);
  EXPECT_EQ(array.GetNotation(), ntSTANDARD);
  EXPECT_EQ(array.GetDecimalPlaces(), 0);
  EXPECT_EQ(array.GetText(), "1.5,1234.5");
  EXPECT_EQ(array.GetRawElement(0), 0x3FC00000u);
}

TEST(TValueArray, FloatElementTruncation) {
  TValueFloatArray array;
  array.SetSize(5);
  const char* texts[] = {"2.9", "-2.9", "1e10", "-1e10"};
  for (std::int32_t i = 0; i < 4; ++i) array.SetElementText(texts[i], i);
  array.SetElementNumber(kBitsNan, 4);
  EXPECT_EQ(array.GetElementInt(0), 2);
  EXPECT_EQ(array.GetElementInt(1), -2);
  EXPECT_EQ(array.GetElementInt(2), kIntMax);
  EXPECT_EQ(array.GetElementInt(3), kIntMin);
  EXPECT_EQ(array.GetElementInt(4), 0);
  EXPECT_EQ(array.GetElementText(4), "NAN");
}

TEST(TValueArrayDeathTest, RawElementOfStringArray) {
  TValueStringArray array;
  array.SetElementText("a", 0);
  EXPECT_DEATH(array.GetRawElement(0), "Assertion failed: false, file .+, line [0-9]+");
}

}  // namespace
