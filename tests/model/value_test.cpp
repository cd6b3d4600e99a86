#include "model/value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/value_array.h"
#include "support/fake_ui_port.h"
#include "support/gpib_sim.h"

namespace {

using Texts = std::vector<std::string>;

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kBitsOnePointFive = 0x3FC00000;  // IEEE single 1.5
constexpr std::int32_t kBitsNan = 0x7FC00000;

const std::string kNoError = "(no error)";

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

TEST(TValue, HexDumpTypesAndRaw) {
  // Codes are signed bytes in upper-case hex.
  EXPECT_EQ(HexDumpText("ab"), " 61 62h");
  EXPECT_EQ(HexDumpText(""), "h");
  EXPECT_EQ(HexDumpText("\n\x7F"), " 0A 7Fh");
  EXPECT_EQ(HexDumpText("a\x80\xFF"), " 61 FFFFFF80 FFFFFFFFh");

  TValueString text;
  TValueInt integer;
  TValueFloat real;
  EXPECT_EQ(text.GetText(), "");
  EXPECT_EQ(integer.GetText(), "0");
  EXPECT_EQ(real.GetNotation(), ntSTANDARD);
  EXPECT_EQ(real.GetDecimalPlaces(), 1);
  EXPECT_EQ(real.GetText(), "0");
  EXPECT_EQ((std::vector<int>{text.GetType(), integer.GetType(), real.GetType()}),
            (std::vector<int>{eatSTRING, eatINTEGER, eatFLOAT}));
  EXPECT_EQ(TValueString("abc").GetRaw(), 0u);
  EXPECT_EQ(TValueInt(-1).GetRaw(), 0xFFFFFFFFu);
  EXPECT_EQ(FloatFromText("0.1").GetRaw(), 0x3DCCCCCDu);
}

TEST(TValue, ValidationShowsItsMessages) {
  TFakeUiPort ui;
  TValueString text;
  EXPECT_FALSE(text.ValidateText(""));
  EXPECT_TRUE(text.ValidateText(" "));
  EXPECT_TRUE(TValueInt().ValidateText("-42"));
  EXPECT_TRUE(TValueFloat().ValidateText("-1.5E-3"));
  EXPECT_TRUE(TValue::IsValidText(eatSTRING, "12abc", true));
  EXPECT_TRUE(TValue::IsValidText(eatINTEGER, "-2147483648", true));
  EXPECT_TRUE(TValue::IsValidText(eatFLOAT, "7", true));
  EXPECT_FALSE(TValue::IsValidText(eatINTEGER, "2.5", false));  // refused without a word
  EXPECT_FALSE(TValue::IsValidText(eatFLOAT, "x", false));
  EXPECT_TRUE(ui.Texts().empty());

  // "7.9" converts for SetText but is no integer text.
  EXPECT_FALSE(TValueInt().ValidateText("7.9"));
  EXPECT_FALSE(TValue::IsValidText(eatINTEGER, "2147483648", true));
  EXPECT_FALSE(TValueFloat().ValidateText("1,5"));
  EXPECT_FALSE(TValue::IsValidText(eatFLOAT, "1.2.3", true));
  EXPECT_EQ(ui.Texts(), (Texts{"The value 7.9 is not an integer.",
                               "The value 2147483648 is not an integer.",
                               "The value 1,5 is not a float value",
                               "The value 1.2.3 is not a float value"}));
}

TEST(TValueString, TextAndNumber) {
  TValueString value;
  value.SetText("any text");
  EXPECT_EQ(value.GetTextFormatted(7, 3), "any text");  // notation does not apply
  value.SetNumber(-1);
  EXPECT_EQ(value.GetText(), "4294967295");
}

TEST(TValueInt, SetTextTakesIntegersThenTruncatedFloats) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"-12", -12}, {"7.9", 7}, {"-2.9", -2}, {"1.5E3", 1500},
      {"2147483647.9", kIntMax}, {"-2147483648", kIntMin}};
  for (const auto& [text, expected] : cases) {
    TValueInt value(99);
    value.SetText(text);
    EXPECT_EQ(value.GetText(), std::to_string(expected)) << text;
  }

  // A refusal names the text and its codes, and keeps the value.
  TValueInt value(5);
  EXPECT_EQ(ErrorOf([&] { value.SetText("12abc"); }),
            "The value is not an integer. Value is 12abc\rBinary value:  31 32 61 62 63h.");
  EXPECT_EQ(ErrorOf([&] { value.SetText(""); }),
            "The value is not an integer. Value is \rBinary value: h.");
  for (const char* text : {"3000000000", "1e10", " 1", "0x10"})
    EXPECT_NE(ErrorOf([&] { value.SetText(text); }), kNoError) << text;
  EXPECT_EQ(value.GetInt(), 5);
}

TEST(TValueInt, FormattedAddAndConversions) {
  EXPECT_EQ(TValueInt(-12).GetTextFormatted(ntSTANDARD, 5), "-12");
  EXPECT_EQ(TValueInt(5).GetTextFormatted(ntFIXED, 2), "5.00");
  EXPECT_EQ(TValueInt(1234).GetTextFormatted(ntSCIENTIFIC, 2), "1.23E+3");
  EXPECT_EQ(TValueInt(16777217).GetFloat(), 16777216.0f);

  TValueInt value(kIntMax);
  TValueInt one(1);
  value.Add(&one);  // wraps around
  EXPECT_EQ(value.GetInt(), kIntMin);
  TValueInt sum(10);
  TValueFloat real = FloatFromText("2.9");
  sum.Add(&real);  // the float's integer part
  EXPECT_EQ(sum.GetInt(), 12);
  real.SetText("-2.9");
  sum.Add(&real);
  EXPECT_EQ(sum.GetInt(), 10);
}

TEST(TValueFloat, SetTextChoosesNotationAndDecimals) {
  const struct {
    const char* text;
    int notation, decimals;
    const char* shown;
  } cases[] = {
      {"1.5E3", ntSCIENTIFIC, 3, "1.500E+3"}, {"1e3", ntSCIENTIFIC, 0, "1E+3"},
      {"-1.25e-2", ntSCIENTIFIC, 5, "-1.25000E-2"}, {"42", ntFIXED, 0, "42"},
      {"3.250", ntFIXED, 3, "3.250"}, {"2.", ntFIXED, 0, "2"},
      {"0.1250000000000000000000000000", ntFIXED, 18, "0.125000000000000000"},  // the most
  };
  for (const auto& c : cases) {
    const TValueFloat value = FloatFromText(c.text);
    EXPECT_EQ(value.GetNotation(), c.notation) << c.text;
    EXPECT_EQ(value.GetDecimalPlaces(), c.decimals) << c.text;
    EXPECT_EQ(value.GetText(), c.shown) << c.text;
  }
  EXPECT_EQ(FloatFromText("3.4e38").GetFloat(), 3.4e38f);  // still within the single range

  TValueFloat value = FloatFromText("2.50");
  EXPECT_EQ(ErrorOf([&] { value.SetText("abc"); }),
            "The value is not an float. Value is abc\rBinary value:  61 62 63h");
  EXPECT_EQ(ErrorOf([&] { value.SetText("1e39"); }),
            "The value is not an float. Value is 1e39\rBinary value:  31 65 33 39h");
  for (const char* text : {"", "inf", "nan", "1e", ".", "1,5", " 1", "0x1p3"})
    EXPECT_NE(ErrorOf([&] { value.SetText(text); }), kNoError) << '"' << text << '"';
  EXPECT_EQ(value.GetText(), "2.50");  // value and format kept
}

TEST(TValueFloat, SingleBitsTruncationAndAdd) {
  TValueFloat value = FloatFromText("2.00E1");
  value.SetNumber(kBitsOnePointFive);
  EXPECT_EQ(value.GetNotation(), ntSTANDARD);
  EXPECT_EQ(value.GetDecimalPlaces(), 0);
  EXPECT_EQ(value.GetText(), "1.5");
  const struct {
    std::int32_t bits;
    const char* text;
    std::int32_t integer;
  } specials[] = {{kBitsNan, "NAN", 0},
                  {0x7F800000, "INF", kIntMax},
                  {static_cast<std::int32_t>(0xFF800000u), "-INF", kIntMin}};
  for (const auto& s : specials) {
    value.SetNumber(s.bits);
    EXPECT_EQ(value.GetText(), s.text);
    EXPECT_EQ(value.GetInt(), s.integer) << s.text;
  }
  const std::pair<const char*, std::int32_t> cases[] = {
      {"2.9", 2}, {"-2.9", -2}, {"1e10", kIntMax}, {"-1e10", kIntMin}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(FloatFromText(text).GetInt(), expected);

  value = FloatFromText("1.5");
  TValueInt two(2);
  value.Add(&two);
  EXPECT_EQ(value.GetFloat(), 3.5f);
  TValueFloat big = FloatFromText("16777216");
  TValueFloat one = FloatFromText("1");
  big.Add(&one);  // the sum is stored as a single again
  EXPECT_EQ(big.GetFloat(), 16777216.0f);
}

TEST(TValue, AssignCopiesSameTypeElseResets) {
  TValueString text("x");
  TValueString other("copied");
  TValueInt seven(7);
  text.Assign(&other);
  EXPECT_EQ(text.GetText(), "copied");
  text.Assign(&seven);
  EXPECT_EQ(text.GetText(), "");

  TValueInt integer(3);
  integer.Assign(&seven);
  EXPECT_EQ(integer.GetInt(), 7);
  TValueFloat real = FloatFromText("9.5");
  integer.Assign(&real);
  EXPECT_EQ(integer.GetInt(), 0);

  TValueFloat target;
  TValueFloat source = FloatFromText("1.25E2");
  target.Assign(&source);
  EXPECT_EQ(target.GetText(), "1.2500E+2");
  target.Assign(&seven);  // value 0.0, format kept
  EXPECT_EQ(target.GetText(), "0.0000E+0");
  target.SetText("1.5");
  target.Assign(nullptr);
  EXPECT_EQ(target.GetText(), "0.0");
}

TEST(TValue, RegionalSeparatorInValues) {
  TSeparatorGuard comma(',');
  TValueFloat value = FloatFromText("1,25");
  EXPECT_EQ(value.GetNotation(), ntFIXED);
  EXPECT_EQ(value.GetText(), "1,25");
  value.SetText("1,5E3");
  EXPECT_EQ(value.GetText(), "1,500E+3");
  EXPECT_NE(ErrorOf([&] { value.SetText("1.25"); }), kNoError);

  TValueInt integer;
  integer.SetText("2,9");
  EXPECT_EQ(integer.GetInt(), 2);
  EXPECT_NE(ErrorOf([&] { integer.SetText("2.9"); }), kNoError);
  EXPECT_EQ(TValueInt(5).GetTextFormatted(ntFIXED, 2), "5,00");
}

TEST(TValueDeathTest, ConsistencyFailures) {
  TValueInt integer(1);
  TValueFloat real;
  EXPECT_DEATH(integer.Add(nullptr), "Assertion failed: valuenum!=0, file .+, line [0-9]+");
  EXPECT_DEATH(real.Add(nullptr), "Assertion failed: valuenum!=0");
  EXPECT_DEATH(TValue::IsValidText(5, "1", false), "Assertion failed: type==eatFLOAT");
  EXPECT_DEATH(integer.GetTextFormatted(7, 0), "Assertion failed: notationtype==ntSCIENTIFIC");
  TValueStringArray strings;
  strings.SetElementText("a", 0);
  EXPECT_DEATH(strings.GetRawElement(0), "Assertion failed: false, file .+, line [0-9]+");
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

TEST(TValueArray, SizeAndStorage) {
  TValueIntegerArray array;
  EXPECT_EQ(ErrorOf([&] { array.SetSize(0); }), "Invalid array size: 0");
  EXPECT_EQ(ErrorOf([&] { array.SetSize(-5); }), "Invalid array size: -5");
  EXPECT_EQ(array.GetSize(), 10);  // a new array has 10 elements
  array.SetSize(3);
  for (std::int32_t i = 0; i < 3; ++i) array.SetElementNumber(i + 1, i);
  array.SetSize(3);  // same size keeps the elements
  EXPECT_EQ(array.GetText(), "1,2,3");
  array.SetSize(4);  // another size drops them
  EXPECT_FALSE(array.HasStorage());
  EXPECT_EQ(array.GetText(), "");

  // Every element read fills the storage first.
  EXPECT_EQ(array.GetElementInt(3), 0);
  EXPECT_EQ(array.GetText(), "0,0,0,0");
  TValueStringArray strings;
  EXPECT_EQ(strings.GetElementTextFormatted(ntFIXED, 2, 9), "");
  EXPECT_EQ(strings.GetText(), ",,,,,,,,,");
  TValueFloatArray floats;
  floats.SetSize(3);
  EXPECT_EQ(floats.GetElementText(1), "0");
  EXPECT_EQ(floats.GetText(), "0,0,0");
  TValueIntegerArray raw;
  raw.SetSize(2);
  EXPECT_EQ(raw.GetRawElement(1), 0u);
  EXPECT_TRUE(raw.HasStorage());
}

TEST(TValueArray, StringAndIntegerElements) {
  TValueStringArray strings;
  strings.SetSize(3);
  strings.SetElementNumber(-1, 0);
  strings.SetElementText("x y", 2);
  EXPECT_EQ(strings.GetElementTextFormatted(7, 3, 2), "x y");  // notation does not apply
  EXPECT_EQ(strings.GetText(), "4294967295,,x y");
  TValueString ab("ab");
  TValueInt five(5);
  strings.Fill(&ab);
  EXPECT_EQ(strings.GetText(), "ab,ab,ab");
  strings.Fill(&five);  // another type empties the elements
  EXPECT_EQ(strings.GetText(), ",,");

  TValueIntegerArray integers;
  integers.SetSize(3);
  integers.SetElementText("1", 0);
  integers.SetElementText("-2.9", 1);
  integers.SetElementNumber(-1, 2);
  EXPECT_EQ(integers.GetText(), "1,-2,-1");
  EXPECT_EQ(integers.GetRawElement(2), 0xFFFFFFFFu);
  EXPECT_EQ(ErrorOf([&] { integers.SetElementText("12abc", 0); }),
            "The value is not an integer. Value is 12abc.");
  EXPECT_EQ(ErrorOf([&] { integers.SetElementText("3000000000", 0); }),
            "The value is not an integer. Value is 3000000000.");
  EXPECT_EQ(integers.GetElementInt(0), 1);
  integers.SetElementNumber(1234, 1);
  integers.SetElementNumber(16777217, 2);
  EXPECT_EQ(integers.GetElementTextFormatted(ntSCIENTIFIC, 2, 1), "1.23E+3");
  EXPECT_EQ(integers.GetElementTextFormatted(ntSTANDARD, 2, 1), "1234");
  EXPECT_EQ(integers.GetElementFloat(2), 16777216.0f);
  integers.Fill(&five);
  EXPECT_EQ(integers.GetText(), "5,5,5");
  TValueFloat real = FloatFromText("2.5");
  integers.Fill(&real);
  EXPECT_EQ(integers.GetText(), "0,0,0");
}

TEST(TValueArray, FloatElementsShareNotation) {
  TValueFloatArray array;
  EXPECT_EQ(array.GetNotation(), ntSTANDARD);
  EXPECT_EQ(array.GetDecimalPlaces(), 0);
  array.SetSize(2);
  array.SetElementText("2.00", 0);
  EXPECT_EQ(array.GetNotation(), ntFIXED);
  EXPECT_EQ(array.GetDecimalPlaces(), 2);
  array.SetElementText("1E2", 1);  // the last text sets the format of all
  EXPECT_EQ(array.GetDecimalPlaces(), 0);
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

  array.SetElementText("-1e10", 1);  // integers truncated and saturated
  EXPECT_EQ(array.GetElementInt(1), kIntMin);
  array.SetElementText("-2.9", 1);
  EXPECT_EQ(array.GetElementInt(1), -2);
  array.SetElementText("1234.5", 1);
  EXPECT_EQ(array.GetElementTextFormatted(ntSCIENTIFIC, 2, 1), "1.23E+3");
  array.SetElementNumber(kBitsOnePointFive, 0);
  EXPECT_EQ(array.GetNotation(), ntSTANDARD);
  EXPECT_EQ(array.GetText(), "1.5,1234.5");
  EXPECT_EQ(array.GetRawElement(0), 0x3FC00000u);
  array.SetElementNumber(kBitsNan, 0);
  EXPECT_EQ(array.GetElementInt(0), 0);
  EXPECT_EQ(array.GetElementText(0), "NAN");
}

// An array whose storage memory cannot hold.
class TNoMemoryArray : public TValueIntegerArray {
protected:
  void CreateStorage() override { throw std::bad_alloc(); }
};

TEST(TValueArray, AFillWaitsForTheStorageAndNoMemoryForItEndsTheRun) {
  TValueStringArray strings;
  strings.SetSize(3);
  const TValueString ab("ab");
  strings.Fill(&ab);
  EXPECT_EQ(strings.GetText(), "ab,ab,ab");  // shown without making the storage
  EXPECT_FALSE(strings.HasStorage());
  strings.SetElementText("c", 1);  // the first use makes it, every element the fill's
  EXPECT_EQ(strings.GetText(), "ab,c,ab");
  TValueStringArray waiting;
  waiting.Fill(&ab);
  waiting.SetSize(2);  // another size drops the waiting fill as it drops elements
  EXPECT_EQ(waiting.GetText(), "");

  TNoMemoryArray big;
  const std::string name = "big";
  big.SetOwnerName(&name);
  big.SetSize(16777216);
  EXPECT_EQ(ErrorOf([&] { big.GetElementInt(0); }),
            "Not enough memory for the array big of 16777216 elements");
}

}  // namespace
