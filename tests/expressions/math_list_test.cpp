// Compiled expressions: evaluation in single-precision floats and 32-bit patterns, the
// result operands and their texts, the built-in functions with their domain errors and
// angle units, and the compiled-list record with its checks on load.
#include "expressions/math_list.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "expression_fixture.h"
#include "expressions/functions.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "support/temp_dir.h"

namespace expr_test {
namespace {

TBytes Float(float value) { return Le32(std::bit_cast<std::uint32_t>(value)); }
TBytes Int(std::int32_t value) { return Le32(static_cast<std::uint32_t>(value)); }
const TBytes False{0}, True{1};
// An operand's and an operator's head.
TBytes Operand(int kind) { return Cat({Int(1), Int(kind)}); }
TBytes Operator(int kind) { return Cat({Int(0), Int(kind)}); }

class MathListTest : public ExpressionTest {
protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    A = Single("A", eatINTEGER, "3");
    B = Single("B", eatINTEGER, "4");
    I = Single("I", eatINTEGER, "2");
    F = Single("F", eatFLOAT, "0.1");
    Arr = Array("ARR", eatINTEGER, 4);
    for (int i = 0; i < 4; ++i) Arr->GetValueArray().SetElementNumber(10 * (i + 1), i);
  }

  TBytes Saved(TQorvMathList& list) {
    TWriteFile writer(Dir.PathOf("list"));
    list.SaveMathList(writer);
    writer.Commit();
    return Dir.ReadBytes("list");
  }
  // A list of the command read from the bytes; its references wait in the reader.
  std::unique_ptr<TQorvMathList> Loaded(const TBytes& bytes,
                                        std::vector<TVariable*>* waiting = nullptr) {
    TReadFile reader(Dir.WriteBytes("in", bytes));
    auto list = std::make_unique<TQorvMathList>(Cmd);
    list->LoadMathList(reader);
    if (waiting) *waiting = reader.GetVariableList();
    return list;
  }
  bool Refused(const TBytes& bytes) {
    try {
      Loaded(bytes);
    } catch (const EReadError&) {
      return true;
    }
    return false;
  }

  TTempDir Dir;
  TDataSingle *A = nullptr, *B = nullptr, *I = nullptr, *F = nullptr;
  TDataArray* Arr = nullptr;
};

TEST_F(MathListTest, ResultsAndTheirTexts) {
  // A single operand is the result itself, in its own kind.
  TCompiled& five = Compile("5");
  TQorvOperand* result = five.List->EvaluateMathList();
  EXPECT_EQ(result, five.List->GetObjects()[0].get());
  EXPECT_EQ(result->GetOperandType(), odkINTEGER);
  EXPECT_EQ(result->GetText(), "5");
  EXPECT_EQ(Text("A"), "3");
  EXPECT_EQ(Text("F"), F->GetValueText());
  EXPECT_EQ(Text("ARR[I]"), "30");
  // Every operator gives a float.
  EXPECT_EQ(Evaluate("5+0")->GetOperandType(), odkFLOAT);
  EXPECT_EQ(Text("5+0"), "5");
  EXPECT_EQ(Text("7/2"), "3.5");
  EXPECT_EQ(Text("1/3"), "0.333333343267441");
  EXPECT_EQ(Text("0/1"), "0");
  EXPECT_EQ(Text("0.1"), "0.100000001490116");
  EXPECT_EQ(Text("16777217+0"), "16777216");  // integers become floats first
  EXPECT_EQ(Text("2147483647*1"), "2147483648");

  const struct {
    const char* Text;
    float Expected;
  } cases[] = {
      {"2*3*4+1", 25.0f},
      {"8-4+2", 6.0f},       // groups from the left
      {"8/4*2", 4.0f},
      {"2**3*2", 16.0f},     // "**" binds tighter than "*"
      {"2**3**2", 512.0f},   // and groups from the right
      {"-2**2", 4.0f},       // the unary minus binds tighter still
      {"2*-3+1", -5.0f},
      {"A+B*2", 11.0f},
      {"A*F", 3.0f * 0.1f},
      {"F+F+F", 0.1f + 0.1f + 0.1f},
      {"ARR[0]+ARR[I]*ARR[3]", 10.0f + 30.0f * 40.0f},
      {"-A", -3.0f},
      {"1.5E-3*2", 1.5E-3f * 2.0f},
      {"2**0.5", static_cast<float>(std::pow(2.0, 0.5))},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(c.Text), c.Expected) << c.Text;
  A->GetValue().SetText("0");
  EXPECT_EQ(Text("-A"), "0");
}

TEST_F(MathListTest, DivisionByZeroAndRunErrorsLeaveTheListReady) {
  EXPECT_EQ(RunError("1/0"), "Divide by zero error");
  EXPECT_EQ(RunError("1/(2-2)"), "Divide by zero error");
  EXPECT_EQ(RunError("1/-0.0"), "Divide by zero error");

  // The same list runs again after an error, without a new preparation.
  TCompiled& ratio = Compile("(A+1)*2/(B-4)+ARR[I]");
  EXPECT_EQ(RunError(*ratio.List), "Divide by zero error");
  B->GetValue().SetText("5");
  EXPECT_EQ(ratio.List->EvaluateMathList()->GetFloatValue(), 8.0f + 30.0f);
  I->GetValue().SetText("9");
  EXPECT_EQ(RunError(*ratio.List), "Index 9 is out of bounds.");
  I->GetValue().SetText("-1");
  EXPECT_EQ(RunError(*ratio.List), "Index -1 is out of bounds.");
  I->GetValue().SetText("0");
  EXPECT_EQ(ratio.List->EvaluateMathList()->GetFloatValue(), 8.0f + 10.0f);
  EXPECT_EQ(ratio.List->EvaluateMathList()->GetFloatValue(), 8.0f + 10.0f);

  // Operands are read when their operator runs, in order.
  I->GetValue().SetText("9");
  EXPECT_EQ(RunError("ARR[I]*2+1/0"), "Index 9 is out of bounds.");
  EXPECT_EQ(RunError("ARR[I]+1/0"), "Divide by zero error");
  EXPECT_EQ(RunError("1/0+ARR[I]"), "Divide by zero error");
  EXPECT_EQ(RunError("ln(0)+1/0"), "Divide by zero error");
}

TEST_F(MathListTest, BinaryOperatorsAndConversions) {
  const struct {
    const char* Text;
    float Expected;
  } cases[] = {
      {"float(0X1<<0X21)", 2.0f},            // shift counts modulo 32
      {"float(0XFFFFFFFF>>0X1C)", 15.0f},    // zeros shifted in
      {"float(0X80000000>>0X1F)", 1.0f},
      {"float(0X1<<0X2|0X3)", 7.0f},
      {"float(0X1|0X2&0X3)", 3.0f},
      {"float(0X6^0X3)", 5.0f},
      {"float(0XC&0XA)", 8.0f},
      {"float(0X10>>0X1<<0X2)", 32.0f},
      {"float(~0XFFFFFFF0)", 15.0f},
      {"float(0X80000000)", 2147483648.0f},
      {"float(0X123456789)", static_cast<float>(0x23456789u)},   // low 32 bits
      {"float(0X00000000000000001)", 1.0f},                     // leading zeros
      {"float(0X11111111111111111)", 4294967295.0f},            // beyond 64 bits
      {"float(binary(3.7))", 3.0f},
      {"float(binary(-3.7))", 4294967293.0f},
      {"float(binary(-1))", 4294967295.0f},
      {"float(binary(16777217)&0X1)", 1.0f},  // the literal's exact value
      {"float(binary(float(0XFFFFFFFF))&0XFF)", 255.0f},
      {"float(binary(A*2)|0X1)", 7.0f},
      {"float(binary(ARR[1])>>0X1)", 10.0f},
      {"float(0X1)*2+float(0X2)", 4.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(c.Text), c.Expected) << c.Text;
  EXPECT_EQ(Text("float(~0X0)"), "4294967296");
  EXPECT_EQ(Text("float(binary(float(0XFFFFFFFF)))"), "4294967296");

  // "binary" gives unsigned decimal text; a binary operand eight hexadecimal digits.
  TCompiled& converted = Compile("float(binary(-1))");
  auto* binary = dynamic_cast<TBinaryFunction*>(
      static_cast<TQorvFunction*>(converted.List->GetObjects()[0].get())
          ->GetArgument()->GetObjects()[0].get());
  ASSERT_NE(binary, nullptr);
  EXPECT_EQ(binary->GetText(), "4294967295");
  EXPECT_EQ(TBinaryOperand(31).GetText(), "0000001F");
  EXPECT_EQ(TBinaryOperand(0xFFFFFFFFu).GetText(), "FFFFFFFF");
  EXPECT_EQ(TBinaryOperand(0x80000000u).GetFloatValue(), 2147483648.0f);
  EXPECT_EQ(TIntegerOperand(-1).GetBinaryValue(), 0xFFFFFFFFu);
  EXPECT_EQ(TFloatOperand(-2.5f).GetBinaryValue(), 0xFFFFFFFEu);
  EXPECT_EQ(TFloatOperand(4294967296.0f * 2).GetBinaryValue(), 0u);  // low 32 bits
}

TEST_F(MathListTest, FunctionsAndTheirDomainErrors) {
  EXPECT_EQ(Text("exp(1)"), "2.71828174591064");
  EXPECT_EQ(Text("log(100)"), "2");
  EXPECT_EQ(Text("sqrt(0)"), "0");
  EXPECT_EQ(Value("sqrt(2)"), static_cast<float>(std::sqrt(2.0)));
  EXPECT_EQ(Text("abs(-2.7)"), "2.70000004768372");  // the absolute value, not truncated
  EXPECT_EQ(Text("abs(2.7)"), "2.70000004768372");
  EXPECT_EQ(Text("abs(-A)"), "3");
  EXPECT_EQ(Text("sin(0)"), "0");
  EXPECT_EQ(Value("sin(A)+cos(B)*tan(1)"),
            static_cast<float>(std::sin(3.0)) +
                static_cast<float>(std::cos(4.0)) * static_cast<float>(std::tan(1.0)));

  const struct {
    const char* Text;
    const char* Error;
  } errors[] = {
      {"ln(0)", "Aborting: zero in ln function."},
      {"ln(-1)", "Aborting: Negative number in ln function -1"},
      {"ln(-0.5)*2", "Aborting: Negative number in ln function -0.5"},
      {"log(0)", "Aborting:  Zero in log function"},
      {"log(2-A)", "Aborting:  Negative number in log function -1"},
      {"sqrt(-4)", "Aborting:  Negative number in square root function -4"},
      {"sqrt(-0.1)", "Aborting:  Negative number in square root function -0.100000001490116"},
      {"1+exp(ln(0))", "Aborting: zero in ln function."},
  };
  for (const auto& e : errors) EXPECT_EQ(RunError(e.Text), e.Error) << e.Text;
  // A function read again is computed again.
  TCompiled& root = Compile("sqrt(A-3)");
  TQorvOperand* result = root.List->EvaluateMathList();
  EXPECT_EQ(result->GetText(), "0");
  A->GetValue().SetText("2");
  EXPECT_EQ(RunError(*root.List), "Aborting:  Negative number in square root function -1");
}

TEST_F(MathListTest, DegreesAndRadiansStayWithTheCompiledFunction) {
  EXPECT_EQ(Text("sin(90)", false), "1");
  EXPECT_EQ(Text("cos(180)", false), "-1");
  EXPECT_EQ(Value("sin(90)", true), static_cast<float>(std::sin(90.0)));
  EXPECT_EQ(Value("cos(0)", false), 1.0f);
  EXPECT_EQ(Value("sin(-90)", false), -1.0f);
  // Nested: the inner unit is that of its own call, both chosen at compile time.
  EXPECT_EQ(Value("sin(90)+sin(90)", false), 2.0f);
  auto& degrees = Compile("sin(90)", false);
  auto* sine = static_cast<TTrigFunction*>(degrees.List->GetObjects()[0].get());
  EXPECT_FALSE(sine->IsRadians());
  TIntegerOperand ninety(90);
  EXPECT_EQ(sine->Compute(ninety), 1.0f);
}

TEST_F(MathListTest, RecordsAreByteExact) {
  // 2*A-0.5 in reverse-Polish order: 2 A * 0.5 -
  EXPECT_EQ(Saved(*Compile("2*A-0.5").List),
            Cat({Int(5), Operand(odkINTEGER), Int(2), Operand(odkVARIABLE), False, Int(100),
                 Operator(opkMULT), Operand(odkFLOAT), Float(0.5f), Operator(opkSUB)}));
  EXPECT_EQ(Saved(*Compile("-ARR[I]**ARR[2]").List),
            Cat({Int(4), Operand(odkVARIABLE), True, Int(100), True, Int(101), False,
                 Operator(opkNEGATE), Operand(odkVARIABLE), True, Int(100), False, True, Int(2),
                 Operator(opkPOW)}));
  EXPECT_EQ(Saved(*Compile("float(~0X1F>>0X2)").List),
            Cat({Int(1), Operand(odkFLOATFN), Int(4), Operand(odkBINARY), Int(0x1F),
                 Operator(opkNOT), Operand(odkBINARY), Int(2), Operator(opkSHIFTRIGHT)}));
  EXPECT_EQ(Saved(*Compile("sin(cos(1))/tan(2)", false).List),
            Cat({Int(3), Operand(odkSIN), Int(1), Operand(odkCOS), Int(1), Operand(odkINTEGER),
                 Int(1), Int(0), Int(0), Operand(odkTAN), Int(1), Operand(odkINTEGER), Int(2),
                 Int(0), Operator(opkDIV)}));
  const int kinds[][2] = {{odkEXP, 0}, {odkLN, 0}, {odkLOG, 0}, {odkSQRT, 0}, {odkABS, 0}};
  const char* const names[] = {"exp", "ln", "log", "sqrt", "abs"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(Saved(*Compile(std::string(names[i]) + "(1)").List),
              Cat({Int(1), Operand(kinds[i][0]), Int(1), Operand(odkINTEGER), Int(1)}));
  EXPECT_EQ(Saved(*Compile("float(binary(3))").List),
            Cat({Int(1), Operand(odkFLOATFN), Int(1), Operand(odkBINARYFN), Int(1),
                 Operand(odkINTEGER), Int(3)}));
  EXPECT_EQ(Saved(*Compile("sin(1)", true).List),
            Cat({Int(1), Operand(odkSIN), Int(1), Operand(odkINTEGER), Int(1), Int(1)}));

  // A block export lists the references the operands write.
  TCompiled& exported = Compile("A+ARR[I]");
  TWriteFile writer(Dir.PathOf("block"), true);
  exported.List->SaveMathList(writer);
  auto* list = writer.GetBlockVariableList();
  auto* element = static_cast<TVariableOperand*>(exported.List->GetObjects()[1].get());
  auto* single = static_cast<TVariableOperand*>(exported.List->GetObjects()[0].get());
  auto* array = static_cast<TVariableDataArray*>(element->GetReference());
  EXPECT_EQ(*list, (std::vector<TVariable*>{single->GetReference(), array,
                                            &array->GetArrayIndex()}));
}

TEST_F(MathListTest, LoadedListsEvaluateAsStored) {
  TCompiled& compiled = Compile("sin(90)*A+ARR[I]-float(0X10)", false);
  const float before = compiled.List->EvaluateMathList()->GetFloatValue();
  std::vector<TVariable*> waiting;
  auto loaded = Loaded(Saved(*compiled.List), &waiting);
  ASSERT_EQ(waiting.size(), 3u);  // A, then the element's index and the element
  // The variables bind the waiting references as a file's user lists would.
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(A, 100));
  EXPECT_TRUE(waiting[1]->ResolveLoadedLink(I, 102));
  EXPECT_TRUE(waiting[2]->ResolveLoadedLink(Arr, 101));
  loaded->CheckAfterRead();
  EXPECT_EQ(loaded->EvaluateMathList()->GetFloatValue(), before);
  EXPECT_EQ(before, 3.0f + 30.0f - 16.0f);
  EXPECT_EQ(Saved(*loaded), Saved(*compiled.List));

  // A list saved by the earlier grouping (8 4 2 + -) computes what it computed.
  auto old = Loaded(Cat({Int(5), Operand(odkINTEGER), Int(8), Operand(odkINTEGER), Int(4),
                         Operand(odkINTEGER), Int(2), Operator(opkADD), Operator(opkSUB)}));
  EXPECT_EQ(old->EvaluateMathList()->GetText(), "2");

  // A variable that is gone by the end of the load fails it.
  auto orphan = Loaded(Saved(*Compile("A+1").List));
  try {
    orphan->CheckAfterRead();
    ADD_FAILURE() << "an operand without variable was accepted";
  } catch (const EReadError& error) {
    EXPECT_STREQ(error.what(), "Calculate script integer operand not defined...Aborting read");
  }
  // So does an array operand that names no element.
  auto whole = Loaded(Cat({Int(1), Operand(odkVARIABLE), True, Int(100), False, False}), &waiting);
  waiting[1]->ResolveLoadedLink(Arr, 100);
  EXPECT_THROW(whole->CheckAfterRead(), EReadError);
}

TEST_F(MathListTest, DamagedListsAreRefusedOnLoad) {
  const TBytes one = Cat({Operand(odkINTEGER), Int(1)});
  const TBytes hex = Cat({Operand(odkBINARY), Int(1)});
  EXPECT_FALSE(Refused(Cat({Int(1), one})));
  const TBytes bad[] = {
      {},                                                    // nothing
      Int(0),                                                // no result
      Int(-1),                                               // a negative count
      Cat({Int(1000), one}),                                 // more than the file holds
      Cat({Int(2), one}),                                    // cut short
      Cat({Int(1), Int(2), Int(1), Int(1)}),                 // unknown math type
      Cat({Int(2), one, Operator(12)}),                      // unknown operator
      Cat({Int(2), one, Operator(-1)}),
      Cat({Int(1), Operand(14), Int(1)}),                    // unknown operand
      Cat({Int(2), one, one}),                               // two results
      Cat({Int(2), one, Operator(opkADD)}),                  // an operator short of operands
      Cat({Int(1), Operator(opkNEGATE)}),
      Cat({Int(1), hex}),                                    // a binary result
      Cat({Int(3), hex, hex, Operator(opkADD)}),             // decimal operator, binary operands
      Cat({Int(3), one, one, Operator(opkAND)}),             // and the other way round
      Cat({Int(2), one, Operator(opkNOT)}),
      Cat({Int(1), Operand(odkFLOATFN), Int(1), one}),       // "float" of a decimal value
      Cat({Int(1), Operand(odkSQRT), Int(1), hex}),          // a decimal function of a pattern
      Cat({Int(1), Operand(odkEXP), Int(0)}),                // an empty argument
      Cat({Int(1), Operand(odkSIN), Int(1), one, Int(2)}),   // a radians flag of 2
      Cat({Int(1), Operand(odkSIN), Int(1), one}),           // no radians flag
  };
  for (std::size_t i = 0; i < std::size(bad); ++i) EXPECT_TRUE(Refused(bad[i])) << "case " << i;

  // Function calls nest to a bound.
  auto nested = [&](int depth) {
    TBytes bytes;
    for (int i = 0; i < depth; ++i) bytes = Cat({bytes, Int(1), Operand(odkABS)});
    return Cat({bytes, Int(1), one});
  };
  EXPECT_FALSE(Refused(nested(TQorvMathList::MaxNesting)));
  EXPECT_TRUE(Refused(nested(TQorvMathList::MaxNesting + 1)));
  EXPECT_EQ(Loaded(nested(40))->EvaluateMathList()->GetText(), "1");
}

// Consistency failures end the program; without a port they are reported on stderr.
TEST(MathListDeathTest, ValuesAFunctionNeverGivesEndTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto argument = [] { return std::make_unique<TQorvMathList>(nullptr); };
  EXPECT_DEATH(TFloatFunction(nullptr, argument()).GetBinaryValue(),
               "Should never call this: TFloatFunction GetBinaryValue");
  EXPECT_DEATH(TBinaryFunction(nullptr, argument()).GetFloatValue(),
               "Should never call this: TBinaryFunction GetFloatValue");
  EXPECT_DEATH(TLogFunction(nullptr, argument()).GetBinaryValue(),
               "Should never call this: TLNFunction GetBinaryValue");
  EXPECT_DEATH(TAbsFunction(nullptr, argument()).GetBinaryValue(),
               "Should never call this: TSqrtFunction GetBinaryValue");
  EXPECT_DEATH(TCosFunction(nullptr, argument()).GetBinaryValue(),
               "Should never call this: TTrigFunction GetBinaryValue");
  EXPECT_DEATH(TQorvMathList(nullptr).EvaluateMathList(), "Assertion failed: Built");
}

}  // namespace
}  // namespace expr_test
