// The Calculate command: results stored through the variable's text, array elements as
// targets, a loop on the worker, errors that stop a run with only their text, the trace,
// texts with current names, retypes, the record read back and refused when damaged.
#include "scripts/flow/calculate_script.h"

#include <bit>

#include "expressions/math_expression.h"
#include "expressions/math_token_list.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

const TBytes False{0}, True{1};
// The heads of a compiled list's operand and operator.
TBytes Operand(int kind) { return Cat({I32(1), I32(kind)}); }
TBytes Operator(int kind) { return Cat({I32(0), I32(kind)}); }

class CalculateScriptTest : public TCommandFixture {
protected:
  TCalculateScript* NewCalculate() { return new TCalculateScript(B1, NewNode(B1)); }
  // A Calculate command set up as its dialog's OK does.
  TCalculateScript* Calculate(TData* target, const std::string& text, bool radians = true) {
    TCalculateScript* calculate = NewCalculate();
    Recompile(calculate, target, text, radians);
    return calculate;
  }
  void Recompile(TCalculateScript* calculate, TData* target, const std::string& text,
                 bool radians = true) {
    TCalculateExpression compiled = CompileCalculateExpression(&Exp, calculate, text, radians);
    calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), target);
  }
  // The element choice of a command that stores into an array.
  static TVariableArrayIndex& Index(TCalculateScript* calculate) {
    return static_cast<TVariableDataArray*>(calculate->GetStoredVariable())->GetArrayIndex();
  }
  static std::string Value(TDataSingle* variable) { return variable->GetValue().GetText(); }
  static TValueFloat& FloatValue(TDataSingle* variable) {
    return dynamic_cast<TValueFloat&>(variable->GetValue());
  }
};

TEST_F(CalculateScriptTest, ResultsReachTheVariableThroughItsText) {
  Single(B1, "a", eatINTEGER, "1");
  Single(B1, "b", eatINTEGER, "3");
  // The value's own text conversion decides: an integer takes the integer part of a
  // float text (toward zero), a float takes the number.
  const struct { int type; std::string expression, stored; } cases[] = {
      {eatINTEGER, "2.9", "2"}, {eatINTEGER, "-2.9", "-2"}, {eatINTEGER, "7/2", "3"},
      {eatINTEGER, "a+b*2", "7"},
      {eatINTEGER, "float(0X1F)", "31"},  // never eight hex digits: the top stays decimal
      {eatFLOAT, "7/2", "3.5"}, {eatFLOAT, "a", "1"},
  };
  int made = 0;
  for (const auto& test : cases) {
    TDataSingle* target = Single(B1, "v" + std::to_string(++made), test.type);
    TCalculateScript* calculate = Calculate(target, test.expression);
    calculate->SetNextScript();
    EXPECT_EQ(calculate->Execute(), nullptr);  // the last command of the block
    EXPECT_EQ(Value(target), test.stored) << test.expression;
  }

  // A float takes the notation and the decimal places of the result's text (a float
  // result has 15 significant digits, an integer none after the separator); fixed
  // notation then shows 7 significant digits.
  TDataSingle* x = Single(B1, "x", eatFLOAT, "2.5");
  Calculate(x, "0.1")->Execute();
  EXPECT_EQ(FloatValue(x).GetFloat(), 0.1f);
  EXPECT_EQ(FloatValue(x).GetNotation(), ntFIXED);
  EXPECT_EQ(Value(x), "0.100000000000000");
  Calculate(x, "12")->Execute();
  EXPECT_EQ(Value(x), "12");

  // An array element chosen by a constant or by an index variable.
  TDataArray* arr = Array(B1, "arr", eatINTEGER, 4);
  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  TCalculateScript* byIndex = Calculate(arr, "a*10+0.5");
  Index(byIndex).SetIndexConstant(1);
  TCalculateScript* byVariable = Calculate(arr, "n");
  Index(byVariable).SetIndexVariable(n);
  byIndex->Execute();
  byVariable->Execute();
  EXPECT_EQ(arr->GetValueArray().GetElementText(1), "10");
  EXPECT_EQ(arr->GetValueArray().GetElementText(3), "3");
  EXPECT_EQ(byVariable->GetText(), "Calculate(arr[n]=n)");
  EXPECT_EQ(byIndex->GetStoredData(), arr);
}

TEST_F(CalculateScriptTest, ALoopOfIncrementAndCalculateRunsOnTheWorker) {
  // sum := sum + n for n = 1 to 4, then mean := sum / n.
  TDataSingle* n = Single(B1, "n", eatINTEGER);
  TDataSingle* sum = Single(B1, "sum", eatINTEGER);
  TDataSingle* mean = Single(B1, "mean", eatFLOAT);
  TLabelScript* label = Label("Loop");
  Increment(n);
  Calculate(sum, "sum+n");
  Repeat(label, 4);
  Calculate(mean, "sum/n");
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_EQ(Value(n), "4");
  EXPECT_EQ(Value(sum), "10");
  EXPECT_EQ(FloatValue(mean).GetFloat(), 2.5f);
}

TEST_F(CalculateScriptTest, ErrorsStopTheRunWithOnlyTheirText) {
  Single(B1, "a", eatINTEGER, "2");
  TDataSingle* y = Single(B1, "y", eatINTEGER, "5");
  TDataSingle* after = Single(B1, "after", eatINTEGER);
  TCalculateScript* calculate = Calculate(y, "1/(a-a)");
  Calculate(after, "1");
  // The evaluation's error.
  EXPECT_EQ(RunB1(), TTexts{"Divide by zero error"});
  EXPECT_EQ(Value(y), "5");
  EXPECT_EQ(Value(after), "0");  // the run ended there

  // The conversion's error: a result no integer can hold.
  Recompile(calculate, y, "a*2147483647");
  const TTexts shown = RunB1();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("The value is not an integer. Value is 4294967296", 0), 0u) << shown[0];
  EXPECT_EQ(Value(after), "0");

  // The same errors reach the debug window's steps.
  Recompile(calculate, y, "1/(a-a)");
  calculate->SetNextScript();
  std::vector<std::string> trace;
  EXPECT_THROW(calculate->ExecuteTrace(trace), EExperimentError);
  EXPECT_EQ(trace, TTexts{"(1/(2-2))"});
}

TEST_F(CalculateScriptTest, TraceTextsAndTheQuestionsOfTheAttributeBase) {
  TCalculateScript* empty = NewCalculate();
  EXPECT_EQ(empty->GetText(), "Calculate()");
  EXPECT_EQ(empty->GetStoredData(), nullptr);
  EXPECT_EQ(empty->GetScriptType(), 6);

  TDataSingle* a = Single(B1, "a", eatINTEGER, "1");
  Single(B1, "b", eatINTEGER, "3");
  TDataSingle* y = Single(B1, "y", eatINTEGER);
  TCalculateScript* calculate = Calculate(y, "a + b*2");
  EXPECT_EQ(calculate->AExpNode->GetText(), "Calculate(y=a+b*2)");
  EXPECT_EQ(calculate->GetStoredData(), y);
  calculate->SetNextScript();
  EXPECT_EQ(TraceOf(calculate), (TTexts{"(1+3*2)", "7"}));
  EXPECT_EQ(Value(y), "7");
  calculate->SetCommentedOut(true);
  a->GetValue().SetText("2");
  EXPECT_EQ(TraceOf(calculate), TTexts{"Comment (2+3*2)"});
  EXPECT_EQ(Value(y), "7");
  EXPECT_EQ(calculate->GetText(), "Calculate(y=a+b*2)");  // the names again after a trace

  // Renamed variables show at once in the node text, with no new compile.
  a->SetDataName("alpha");
  y->SetDataName("result");
  EXPECT_EQ(calculate->AExpNode->GetText(), "Calculate(result=alpha+b*2)");
  EXPECT_EQ(calculate->GetExpressionText(), "alpha+b*2");

  // Only the stored reference is stored into; integer and float variables only.
  TVariable* stored = calculate->GetStoredVariable();
  TVariable* operand = calculate->GetExpression()->GetReference(0);
  EXPECT_TRUE(calculate->IsStoredVariable(stored));
  EXPECT_FALSE(calculate->IsStoredVariable(operand));
  for (TVariable* reference : {stored, operand}) {
    EXPECT_FALSE(calculate->VariableNotify(reference, eatSTRING) ||
                 calculate->CanReleaseVariable(reference));
    EXPECT_TRUE(calculate->VariableNotify(reference, eatINTEGER) &&
                calculate->VariableNotify(reference, eatFLOAT) &&
                calculate->RemoveVariable(reference));
  }
  // The command stays in its block.
  EXPECT_TRUE(calculate->CanMoveTo(B1, B1->AExpNode));
  EXPECT_FALSE(calculate->CanMoveTo(B2, B2->AExpNode) || calculate->CanMoveTo(nullptr, nullptr));
}

TEST_F(CalculateScriptTest, SetUpReplacesTheExpressionAndRejectedTextBindsNothing) {
  TDataSingle* a = Single(B1, "a", eatINTEGER, "1");
  Single(B1, "b", eatINTEGER, "2");
  TDataSingle* y = Single(B1, "y", eatINTEGER);
  TDataArray* arr = Array(B1, "arr", eatINTEGER, 3);
  TCalculateScript* calculate = Calculate(y, "a+1");
  EXPECT_TRUE(a->HasUsers());
  // A new set-up lets the old variables go: the expression's and the stored one.
  Recompile(calculate, arr, "b*2");
  EXPECT_FALSE(a->HasUsers());
  EXPECT_FALSE(y->HasUsers());
  EXPECT_TRUE(calculate->GetStoredVariable()->IsArray());
  EXPECT_EQ(calculate->GetText(), "Calculate(arr[0]=b*2)");
  calculate->Execute();
  EXPECT_EQ(arr->GetValueArray().GetElementText(0), "4");
  Recompile(calculate, y, "b");
  EXPECT_FALSE(arr->HasUsers());
  EXPECT_EQ(calculate->GetText(), "Calculate(y=b)");

  // Text the tokenizer refuses leaves no reference behind.
  for (const char* bad : {"a+", "a+unknown", "(a", ""}) {
    EXPECT_THROW(CompileCalculateExpression(&Exp, calculate, bad, true), TMathTokenException)
        << bad;
    EXPECT_FALSE(a->HasUsers()) << bad;
  }
}

TEST_F(CalculateScriptTest, RetypesKeepNumbersAndLetStringsGo) {
  TDataSingle* a = Single(B1, "a", eatINTEGER, "3");
  TDataSingle* y = Single(B1, "y", eatINTEGER);
  TCalculateScript* calculate = Calculate(y, "a/2");
  calculate->SetNextScript();
  calculate->Execute();
  EXPECT_EQ(Value(y), "1");
  // Between integer and float the command keeps its variables, and reads the new values.
  ASSERT_TRUE(y->SetDataType(eatFLOAT));
  ASSERT_TRUE(a->SetDataType(eatFLOAT));
  EXPECT_EQ(B1->GetFirstScript(), calculate);
  EXPECT_EQ(calculate->GetStoredData(), y);
  a->GetValue().SetText("3.0");
  calculate->Execute();
  EXPECT_EQ(FloatValue(y).GetFloat(), 1.5f);
  EXPECT_TRUE(Ui.Texts().empty());  // nobody was asked

  // A string variable cannot take a result: the user agrees and the command goes, and
  // with it every reference it held.
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(y->SetDataType(eatSTRING));
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  EXPECT_FALSE(y->HasUsers());
  EXPECT_FALSE(a->HasUsers());

  // The same for a variable of the expression.
  TDataSingle* z = Single(B1, "z", eatINTEGER);
  Calculate(z, "a+1");
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(a->SetDataType(eatSTRING));
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  EXPECT_FALSE(z->HasUsers());
}

TEST_F(CalculateScriptTest, SeveralOperatorsFollowRetypedClearedAndDeletedVariables) {
  // a+b*c-d/e runs steps on two variables (b*c, d/e), on a variable and a result, and on
  // two results; the second variable of a step is retyped alone, so that only its own
  // sight can tell the step that its value object changed.
  TDataSingle* a = Single(B1, "a", eatFLOAT, "1.5");
  TDataSingle* b = Single(B1, "b", eatFLOAT, "2");
  TDataSingle* c = Single(B1, "c", eatFLOAT, "2.5");
  TDataSingle* d = Single(B1, "d", eatFLOAT, "9");
  TDataSingle* e = Single(B1, "e", eatFLOAT, "4");
  TDataSingle* y = Single(B1, "y", eatFLOAT);
  TCalculateScript* calculate = Calculate(y, "a+b*c-d/e");
  calculate->SetNextScript();
  const auto result = [&] {
    calculate->Execute();
    return FloatValue(y).GetFloat();
  };
  EXPECT_EQ(result(), 4.25f);

  // Float to integer: the value starts at 0 and is read as an integer from then on.
  ASSERT_TRUE(c->SetDataType(eatINTEGER));
  EXPECT_EQ(result(), -0.75f);
  c->GetValue().SetText("2.5");  // an integer keeps 2
  EXPECT_EQ(result(), 3.25f);
  ASSERT_TRUE(e->SetDataType(eatINTEGER));
  EXPECT_EQ(ErrorOf([&] { calculate->Execute(); }), "Divide by zero error");
  e->GetValue().SetText("8");
  EXPECT_EQ(result(), 4.375f);
  ASSERT_TRUE(y->SetDataType(eatINTEGER));  // the stored result takes the new type too
  calculate->Execute();
  EXPECT_EQ(Value(y), "4");
  ASSERT_TRUE(y->SetDataType(eatFLOAT));
  EXPECT_EQ(B1->GetFirstScript(), calculate);
  EXPECT_TRUE(Ui.Texts().empty());  // numbers to numbers: nobody was asked

  // A cleared value reads 0; a reset one its initial value again.
  b->ClearValue();
  EXPECT_EQ(result(), 0.375f);
  d->GetValue().SetText("16");
  EXPECT_EQ(result(), -0.5f);
  d->ResetValue();
  EXPECT_EQ(result(), 0.375f);

  // A string operand takes the command away once the user agrees; declined, nothing
  // changes.
  Ui.ScriptAnswers({mbNo, mbYes});
  EXPECT_FALSE(d->SetDataType(eatSTRING));
  EXPECT_EQ(d->GetDataType(), eatFLOAT);
  EXPECT_EQ(result(), 0.375f);
  ASSERT_TRUE(d->SetDataType(eatSTRING));
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  for (TDataSingle* variable : {a, b, c, d, e, y}) EXPECT_FALSE(variable->HasUsers());

  // A deleted operand takes its command with it.
  ASSERT_TRUE(d->SetDataType(eatFLOAT));
  d->GetValue().SetText("9");
  calculate = Calculate(y, "a+b*c-d/e");
  EXPECT_EQ(result(), 0.375f);
  delete c;
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  for (TDataSingle* variable : {a, b, d, e, y}) EXPECT_FALSE(variable->HasUsers());
}

TEST_F(CalculateScriptTest, TheRecordByteByByteAndReadBack) {
  TDataSingle* a = Single(B1, "a", eatINTEGER, "5");
  TDataSingle* y = Single(B1, "y", eatINTEGER);
  TCalculateScript* calculate = Calculate(y, "a+2");
  // The base part (the command's identifier comes first: 100), the expression text, the
  // compiled list (a 2 +), then the stored variable.
  const TBytes record = Cat({I32(100), False,                                  // base
                             I32(3), StringBytes("a"), True, False, I32(101),  // text
                             StringBytes("+"), False, StringBytes("2"), False,
                             I32(3), Operand(3), False, I32(101),              // list
                             Operand(2), I32(2), Operator(6),
                             False, I32(102)});                                // stored
  EXPECT_EQ(Written({calculate}), record);

  std::vector<TVariable*> waiting;
  TCalculateScript* back = ReadOne<TCalculateScript>(record, &waiting);
  EXPECT_EQ(back->PreadscriptID, 100);
  EXPECT_FALSE(back->AbCommentedOut);
  // The text's reference, the list's operand, the stored reference, as a file's user
  // lists bind them.
  ASSERT_EQ(waiting.size(), 3u);
  EXPECT_EQ(waiting[2], back->GetStoredVariable());
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(a, 101));
  EXPECT_TRUE(waiting[1]->ResolveLoadedLink(a, 101));
  EXPECT_TRUE(waiting[2]->ResolveLoadedLink(y, 102));
  EXPECT_EQ(CheckError(back), "");
  EXPECT_EQ(back->AExpNode->GetText(), "Calculate(y=a+2)");
  back->SetNextScript();
  back->Execute();
  EXPECT_EQ(Value(y), "7");

  TraceOf(back);  // a trace does not leave values in the record
  EXPECT_EQ(Written({back}), record);

  // An array element by an index variable; a block export takes the references along.
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 4);
  TDataSingle* n = Single(B1, "n", eatINTEGER, "1");
  TCalculateScript* element = Calculate(arr, "0.5");
  Index(element).SetIndexVariable(n);
  std::vector<TVariable*> exported;
  const TBytes elementRecord =
      Cat({I32(100), False, I32(1), StringBytes("0.5"), False,
           I32(1), Operand(1), Le32(std::bit_cast<std::uint32_t>(0.5f)),
           True, I32(101), True, I32(102), False});
  EXPECT_EQ(Written({element}, &exported), elementRecord);
  auto* storedArray = static_cast<TVariableDataArray*>(element->GetStoredVariable());
  EXPECT_EQ(exported, (std::vector<TVariable*>{&storedArray->GetArrayIndex(), storedArray}));
  TCalculateScript* elementBack = ReadOne<TCalculateScript>(elementRecord, &waiting);
  ASSERT_EQ(waiting.size(), 2u);  // the index, then the array
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(n, 102));
  EXPECT_TRUE(waiting[1]->ResolveLoadedLink(arr, 101));
  EXPECT_EQ(CheckError(elementBack), "");
  EXPECT_EQ(elementBack->GetText(), "Calculate(arr[n]=0.5)");
  elementBack->Execute();
  EXPECT_EQ(dynamic_cast<TValueNumberArray&>(arr->GetValueArray()).GetElementFloat(1), 0.5f);
}

TEST_F(CalculateScriptTest, DamagedRecordsAreRefused) {
  TDataSingle* a = Single(B1, "a", eatINTEGER, "5");
  TDataSingle* y = Single(B1, "y", eatINTEGER);
  const TBytes base = Cat({I32(100), False});
  const TBytes text = Cat({I32(1), StringBytes("a"), True, False, I32(101)});
  const TBytes list = Cat({I32(1), Operand(3), False, I32(101)});
  const TBytes stored = Cat({False, I32(102)});
  const TBytes record = Cat({base, text, list, stored});
  std::vector<TVariable*> waiting;

  // A reference that finds no variable ends the load with its message.
  const std::string notDefined =
      "Calculate script variable or variable data not defined...aborting read";
  const struct { bool text, operand, stored; std::string error; } bindings[] = {
      {true, true, true, ""}, {true, true, false, notDefined}, {false, true, true, notDefined},
      {true, false, true, "Calculate script integer operand not defined...Aborting read"},
  };
  for (const auto& binding : bindings) {
    TCalculateScript* back = ReadOne<TCalculateScript>(record, &waiting);
    ASSERT_EQ(waiting.size(), 3u);
    if (binding.text) waiting[0]->ResolveLoadedLink(a, 101);
    if (binding.operand) waiting[1]->ResolveLoadedLink(a, 101);
    if (binding.stored) waiting[2]->ResolveLoadedLink(y, 102);
    EXPECT_EQ(CheckError(back), binding.error);
  }
  // A stored reference that names an array while the record says single stays unbound.
  TDataArray* arr = Array(B1, "arr", eatINTEGER, 2);
  TCalculateScript* wrongKind = ReadOne<TCalculateScript>(record, &waiting);
  waiting[0]->ResolveLoadedLink(a, 101);
  waiting[1]->ResolveLoadedLink(a, 101);
  EXPECT_FALSE(waiting[2]->ResolveLoadedLink(arr, 102));
  EXPECT_EQ(CheckError(wrongKind), notDefined);

  // An array target names one element. The entire array (an index record of neither
  // index variable nor constant, which the dialog never makes) has no element to take
  // the result, and an index variable the file does not hold leaves the entire array:
  // both end the load rather than stop the program at the first run.
  TDataArray* six = Array(B1, "six", eatINTEGER, 6);
  const struct { const char* what; TBytes index; bool indexFound; std::string error; } targets[] = {
      {"a constant", Cat({False, True, I32(1)}), false, ""},
      {"an index variable", Cat({True, I32(103), False}), true, ""},
      {"the entire array", Cat({False, False}), false, notDefined},
      {"an index variable not found", Cat({True, I32(103), False}), false, notDefined},
  };
  for (const auto& target : targets) {
    TCalculateScript* back =
        ReadOne<TCalculateScript>(Cat({base, text, list, True, I32(102), target.index}), &waiting);
    ASSERT_EQ(waiting.size(), 4u);  // the text's, the operand, the index, the array
    waiting[0]->ResolveLoadedLink(a, 101);
    waiting[1]->ResolveLoadedLink(a, 101);
    if (target.indexFound) {
      EXPECT_TRUE(waiting[2]->ResolveLoadedLink(a, 103));
    }
    EXPECT_TRUE(waiting[3]->ResolveLoadedLink(six, 102));
    EXPECT_EQ(CheckError(back), target.error) << target.what;
    if (!target.error.empty()) continue;
    back->SetNextScript();
    back->Execute();  // a (5) into six[1], or into six[a]
    EXPECT_EQ(six->GetValueArray().GetElementText(target.indexFound ? 5 : 1), "5") << target.what;
  }
  // The trace shows each array of the text by one element's value: the entire array
  // there is refused too.
  const TBytes wholeText = Cat({I32(1), StringBytes("arr"), True, True, I32(104), False, False});
  TCalculateScript* wholeInText =
      ReadOne<TCalculateScript>(Cat({base, wholeText, list, stored}), &waiting);
  ASSERT_EQ(waiting.size(), 4u);  // the text's index and array, the operand, the stored
  EXPECT_TRUE(waiting[1]->ResolveLoadedLink(arr, 104));
  EXPECT_TRUE(waiting[2]->ResolveLoadedLink(a, 101));
  EXPECT_TRUE(waiting[3]->ResolveLoadedLink(y, 102));
  EXPECT_EQ(CheckError(wholeInText), notDefined);

  // Damaged bytes end the load with a read error, never the program, and leave no
  // reference waiting.
  const TBytes damaged[] = {
      {}, base,
      Cat({base, I32(-1), list, stored}),                         // a negative count
      Cat({base, I32(1000), StringBytes("a"), False}),            // more than the file
      Cat({base, text}),                                          // no list
      Cat({base, text, I32(0), stored}),                          // an empty list
      Cat({base, text, I32(1), Operand(14), I32(1), stored}),     // an unknown operand
      Cat({base, text, I32(2), Operand(3), False, I32(101), Operator(6), stored}),  // short
      Cat({base, text, list}),                                    // no stored variable
      Cat({base, text, list, True, I32(102), True}),              // a short index
      Cat({base, text, list, True, I32(102), False, True, I32(-3)}),  // a negative index
  };
  for (std::size_t i = 0; i < std::size(damaged); ++i) {
    EXPECT_THROW(ReadOne<TCalculateScript>(damaged[i], &waiting), EReadError) << "case " << i;
    EXPECT_TRUE(waiting.empty()) << "case " << i;
  }
}

}  // namespace
