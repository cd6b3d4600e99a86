// Compiled expressions: evaluation in single-precision floats and 32-bit patterns, the
// result operands and their texts, the built-in functions with their domain errors and
// angle units, and the compiled-list record with its checks on load.
#include "expressions/math_list.h"

#include <bit>
#include <cmath>

#include "expression_fixture.h"
#include "expressions/functions.h"
#include "model/read_file.h"
#include "model/variable_data.h"

namespace expr_test {
namespace {

TBytes Float(float value) { return Le32(std::bit_cast<std::uint32_t>(value)); }
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
    return Written([&](TWriteFile& writer) { list.SaveMathList(writer); });
  }
  // A list of the command read from the bytes; its references wait in the reader.
  std::unique_ptr<TQorvMathList> Loaded(const TBytes& bytes,
                                        std::vector<TVariable*>* waiting = nullptr) {
    TReadFile reader(Dir.WriteBytes("in", bytes));
    auto list = std::make_unique<TQorvMathList>(Cmd);
    list->LoadMathList(reader);
    if (waiting) *waiting = reader.GetVariableList().Waiting();
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

  TDataSingle *A = nullptr, *B = nullptr, *I = nullptr, *F = nullptr;
  TDataArray* Arr = nullptr;
};

TEST_F(MathListTest, ResultsAndTheirTexts) {
  // A single operand is the result itself, in its own kind; every operator gives a float.
  TCompiled& five = Compile("5");
  TQorvOperand* result = five.List->EvaluateMathList();
  EXPECT_EQ(result, five.List->GetObjects()[0].get());
  EXPECT_EQ(result->GetOperandType(), odkINTEGER);
  EXPECT_EQ(Evaluate("5+0")->GetOperandType(), odkFLOAT);
  EXPECT_EQ(Text("F"), F->GetValueText());
  const struct { const char* Text; const char* Result; } texts[] = {
      {"5", "5"}, {"A", "3"}, {"ARR[I]", "30"}, {"5+0", "5"}, {"7/2", "3.5"}, {"0/1", "0"},
      {"1/3", "0.333333343267441"}, {"0.1", "0.100000001490116"},
      {"16777217+0", "16777216"},  // integers become floats first
      {"2147483647*1", "2147483648"}, {"float(~0X0)", "4294967296"},
      {"float(binary(float(0XFFFFFFFF)))", "4294967296"},
      {"exp(1)", "2.71828174591064"}, {"log(100)", "2"}, {"sqrt(0)", "0"}, {"sin(0)", "0"},
      {"abs(-2.7)", "2.70000004768372"},  // the absolute value, not truncated
      {"abs(2.7)", "2.70000004768372"}, {"abs(-A)", "3"},
  };
  for (const auto& t : texts) EXPECT_EQ(Text(t.Text), t.Result) << t.Text;

  const struct { const char* Text; float Expected; } cases[] = {
      {"2*3*4+1", 25.0f}, {"8-4+2", 6.0f}, {"8/4*2", 4.0f},  // grouping from the left
      {"2**3*2", 16.0f},    // "**" binds tighter than "*"
      {"2**3**2", 512.0f},  // and groups from the right
      {"-2**2", 4.0f},      // the unary minus binds tighter still
      {"2*-3+1", -5.0f}, {"A+B*2", 11.0f}, {"A*F", 3.0f * 0.1f}, {"-A", -3.0f},
      {"F+F+F", 0.1f + 0.1f + 0.1f}, {"ARR[0]+ARR[I]*ARR[3]", 10.0f + 30.0f * 40.0f},
      {"1.5E-3*2", 1.5E-3f * 2.0f},
      {"2**0.5", static_cast<float>(std::pow(2.0, 0.5))},
      {"sqrt(2)", static_cast<float>(std::sqrt(2.0))},
      {"sin(A)+cos(B)*tan(1)",
       static_cast<float>(std::sin(3.0)) +
           static_cast<float>(std::cos(4.0)) * static_cast<float>(std::tan(1.0))},
      {"sin(90)", static_cast<float>(std::sin(90.0))},  // radians
      // Binary patterns.
      {"float(0X1<<0X21)", 2.0f},  // shift counts modulo 32
      {"float(0XFFFFFFFF>>0X1C)", 15.0f},  // zeros shifted in
      {"float(0X80000000>>0X1F)", 1.0f},
      {"float(0X1<<0X2|0X3)", 7.0f}, {"float(0X1|0X2&0X3)", 3.0f},
      {"float(0X6^0X3)", 5.0f}, {"float(0XC&0XA)", 8.0f},
      {"float(0X10>>0X1<<0X2)", 32.0f}, {"float(~0XFFFFFFF0)", 15.0f},
      {"float(0X80000000)", 2147483648.0f},
      {"float(0X123456789)", static_cast<float>(0x23456789u)},  // low 32 bits
      {"float(0X00000000000000001)", 1.0f},                    // leading zeros
      {"float(0X11111111111111111)", 4294967295.0f},           // beyond 64 bits
      {"float(binary(3.7))", 3.0f}, {"float(binary(-3.7))", 4294967293.0f},
      {"float(binary(-1))", 4294967295.0f},
      {"float(binary(16777217)&0X1)", 1.0f},  // the literal's exact value
      {"float(binary(float(0XFFFFFFFF))&0XFF)", 255.0f},
      {"float(binary(A*2)|0X1)", 7.0f}, {"float(binary(ARR[1])>>0X1)", 10.0f},
      {"float(0X1)*2+float(0X2)", 4.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(Value(c.Text), c.Expected) << c.Text;
  A->GetValue().SetText("0");
  EXPECT_EQ(Text("-A"), "0");

  // Degrees, chosen at compile time for each call.
  const struct { const char* Text; float Expected; } degrees[] = {
      {"sin(90)", 1.0f}, {"cos(180)", -1.0f}, {"cos(0)", 1.0f},
      {"sin(-90)", -1.0f}, {"sin(90)+sin(90)", 2.0f}
  };
  for (const auto& d : degrees) EXPECT_EQ(Value(d.Text, false), d.Expected) << d.Text;

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

TEST_F(MathListTest, RunErrorsLeaveTheListReady) {
  const struct { const char* Text; const char* Error; } errors[] = {
      {"1/0", "Divide by zero error"}, {"1/(2-2)", "Divide by zero error"},
      {"1/-0.0", "Divide by zero error"},
      {"ln(0)", "Aborting: zero in ln function."},
      {"ln(-1)", "Aborting: Negative number in ln function -1"},
      {"ln(-0.5)*2", "Aborting: Negative number in ln function -0.5"},
      {"log(0)", "Aborting:  Zero in log function"},
      {"log(2-A)", "Aborting:  Negative number in log function -1"},
      {"sqrt(-4)", "Aborting:  Negative number in square root function -4"},
      {"sqrt(-0.1)", "Aborting:  Negative number in square root function -0.100000001490116"},
      {"1+exp(ln(0))", "Aborting: zero in ln function."},
      {"ln(0)+1/0", "Divide by zero error"},  // operands are read when their operator runs
  };
  for (const auto& e : errors) EXPECT_EQ(RunError(e.Text), e.Error) << e.Text;

  // The same list runs again after an error, without a new preparation.
  TCompiled& ratio = Compile("(A+1)*2/(B-4)+ARR[I]");
  EXPECT_EQ(RunError(*ratio.List), "Divide by zero error");
  B->GetValue().SetText("5");
  EXPECT_EQ(ratio.List->EvaluateMathList()->GetFloatValue(), 8.0f + 30.0f);
  I->GetValue().SetText("9");
  EXPECT_EQ(RunError(*ratio.List), "Index 9 is out of bounds.");
  EXPECT_EQ(RunError("ARR[I]*2+1/0"), "Index 9 is out of bounds.");
  EXPECT_EQ(RunError("ARR[I]+1/0"), "Divide by zero error");
  EXPECT_EQ(RunError("1/0+ARR[I]"), "Divide by zero error");
  I->GetValue().SetText("-1");
  EXPECT_EQ(RunError(*ratio.List), "Index -1 is out of bounds.");
  I->GetValue().SetText("0");
  EXPECT_EQ(ratio.List->EvaluateMathList()->GetFloatValue(), 8.0f + 10.0f);
  // A function read again is computed again.
  TCompiled& root = Compile("sqrt(A-3)");
  EXPECT_EQ(root.List->EvaluateMathList()->GetText(), "0");
  A->GetValue().SetText("2");
  EXPECT_EQ(RunError(*root.List), "Aborting:  Negative number in square root function -1");
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
  const std::pair<const char*, int> functions[] = {
      {"exp", odkEXP}, {"ln", odkLN}, {"log", odkLOG}, {"sqrt", odkSQRT}, {"abs", odkABS}};
  for (const auto& [name, kind] : functions)
    EXPECT_EQ(Saved(*Compile(std::string(name) + "(1)").List),
              Cat({Int(1), Operand(kind), Int(1), Operand(odkINTEGER), Int(1)}));
  EXPECT_EQ(Saved(*Compile("float(binary(3))").List),
            Cat({Int(1), Operand(odkFLOATFN), Int(1), Operand(odkBINARYFN), Int(1),
                 Operand(odkINTEGER), Int(3)}));
  EXPECT_EQ(Saved(*Compile("sin(1)", true).List),
            Cat({Int(1), Operand(odkSIN), Int(1), Operand(odkINTEGER), Int(1), Int(1)}));

  // A block export lists the references the operands write.
  TCompiled& exported = Compile("A+ARR[I]");
  std::vector<TVariable*> list;
  Written([&](TWriteFile& writer) { exported.List->SaveMathList(writer); }, &list);
  auto* element = static_cast<TVariableOperand*>(exported.List->GetObjects()[1].get());
  auto* single = static_cast<TVariableOperand*>(exported.List->GetObjects()[0].get());
  auto* array = static_cast<TVariableDataArray*>(element->GetReference());
  EXPECT_EQ(list, (std::vector<TVariable*>{single->GetReference(), array,
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
      {}, Int(0), Int(-1),                         // nothing, no result, a negative count
      Cat({Int(1000), one}), Cat({Int(2), one}),   // more than the file holds, cut short
      Cat({Int(1), Int(2), Int(1), Int(1)}),       // unknown math type
      Cat({Int(2), one, Operator(12)}), Cat({Int(2), one, Operator(-1)}),  // unknown operator
      Cat({Int(1), Operand(14), Int(1)}),          // unknown operand
      Cat({Int(2), one, one}),                     // two results
      Cat({Int(2), one, Operator(opkADD)}), Cat({Int(1), Operator(opkNEGATE)}),  // too few
      Cat({Int(1), hex}),                          // a binary result
      Cat({Int(3), hex, hex, Operator(opkADD)}),   // decimal operator, binary operands
      Cat({Int(3), one, one, Operator(opkAND)}), Cat({Int(2), one, Operator(opkNOT)}),
      Cat({Int(1), Operand(odkFLOATFN), Int(1), one}),      // "float" of a decimal value
      Cat({Int(1), Operand(odkSQRT), Int(1), hex}),         // a decimal function of a pattern
      Cat({Int(1), Operand(odkEXP), Int(0)}),               // an empty argument
      Cat({Int(1), Operand(odkSIN), Int(1), one, Int(2)}),  // a radians flag of 2
      Cat({Int(1), Operand(odkSIN), Int(1), one}),          // no radians flag
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
  const std::pair<std::function<void()>, const char*> cases[] = {
      {[&] { TFloatFunction(nullptr, argument()).GetBinaryValue(); }, "TFloatFunction GetBinary"},
      {[&] { TBinaryFunction(nullptr, argument()).GetFloatValue(); }, "TBinaryFunction GetFloat"},
      {[&] { TLogFunction(nullptr, argument()).GetBinaryValue(); }, "TLNFunction GetBinary"},
      {[&] { TAbsFunction(nullptr, argument()).GetBinaryValue(); }, "TSqrtFunction GetBinary"},
      {[&] { TCosFunction(nullptr, argument()).GetBinaryValue(); }, "TTrigFunction GetBinary"},
  };
  for (const auto& [call, name] : cases)
    EXPECT_DEATH(call(), std::string("Should never call this: ") + name + "Value");
  EXPECT_DEATH(TQorvMathList(nullptr).EvaluateMathList(), "Assertion failed: Built");
}

}  // namespace
}  // namespace expr_test
