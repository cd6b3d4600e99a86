// The Increment command: integer steps wrapping around, float steps, every run starting
// from the initial value, the value looked up when it executes (also after a retype),
// retypes of the variable, the trace, the texts, and the record byte by byte, read
// back, bound to its variable and refused when damaged.
#include "scripts/flow/increment_script.h"

#include <limits>

#include "model/errors.h"
#include "model/value.h"
#include "model/variable_data.h"
#include "support/experiment_fixture.h"

namespace {

class IncrementScriptTest : public TCommandFixture {
protected:
  TIncrementScript* NewIncrement() { return new TIncrementScript(B1, NewNode(B1)); }
  static std::string Value(TDataSingle* variable) { return variable->GetValue().GetText(); }
  static float FloatOf(TDataSingle* variable) {
    return dynamic_cast<TValueNum&>(variable->GetValue()).GetFloat();
  }
  // Reads a record into a new command, which leaves its reference waiting (nothing when
  // the record is refused); the reference is bound to the variable (none: left unbound).
  TIncrementScript* Read(const TBytes& bytes, TDataSingle* variable) {
    std::vector<TVariable*> waiting;
    TIncrementScript* increment = nullptr;
    try {
      increment = ReadOne<TIncrementScript>(bytes, &waiting);
    } catch (...) {
      EXPECT_TRUE(waiting.empty());  // nothing left dangling
      throw;
    }
    EXPECT_EQ(waiting, std::vector<TVariable*>{increment->GetVariable()});
    if (variable) {
      EXPECT_TRUE(increment->GetVariable()->ResolveLoadedLink(variable, 100));
    }
    return increment;
  }
};

TEST_F(IncrementScriptTest, StepsAddUpAndEveryRunStartsFromTheInitialValue) {
  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  TIncrementScript* up = Increment(n, "2");
  TIncrementScript* next = NewIncrement();
  EXPECT_TRUE(up->SetNextScript());
  EXPECT_EQ(up->Pnextscript, next);
  EXPECT_EQ(up->Execute(), next);
  EXPECT_EQ(up->Execute(), next);
  EXPECT_EQ(Value(n), "7");
  up->SetNextScript();
  EXPECT_EQ(Value(n), "3");
  // A commented-out Increment leaves the value alone.
  up->SetCommentedOut(true);
  EXPECT_EQ(up->Execute(), next);
  EXPECT_EQ(Value(n), "3");

  const std::int32_t max = std::numeric_limits<std::int32_t>::max();
  const std::int32_t min = std::numeric_limits<std::int32_t>::min();
  const struct { std::string initial, step, after; } cases[] = {
      {std::to_string(max), "1", std::to_string(min)},
      {std::to_string(min), "-5", std::to_string(max - 4)},
      {"10", "-15", "-5"},
      {"0", "2.9", "2"},  // an integer step from a float text keeps the integer part
  };
  int made = 0;
  for (const auto& test : cases) {
    TDataSingle* v = Single(B1, "v" + std::to_string(++made), eatINTEGER, test.initial);
    TIncrementScript* inc = Increment(v, test.step);
    inc->SetNextScript();
    inc->Execute();
    EXPECT_EQ(Value(v), test.after) << test.initial << " + " << test.step;
  }
  EXPECT_THROW(Increment(n, "abc"), EExperimentError);

  // Floats add their step.
  TDataSingle* x = Single(B1, "x", eatFLOAT, "1.5");
  TIncrementScript* fx = Increment(x, "0.25");
  EXPECT_EQ(fx->GetStep()->GetType(), eatFLOAT);
  fx->SetNextScript();
  fx->Execute();
  EXPECT_EQ(FloatOf(x), 1.75f);
  fx->Execute();
  EXPECT_EQ(Value(x), "2.0");  // the initial value's format: fixed, one decimal place
}

TEST_F(IncrementScriptTest, TextsTraceAndTheQuestionsOfTheAttributeBase) {
  TIncrementScript* empty = NewIncrement();
  EXPECT_EQ(empty->GetText(), "none");
  EXPECT_EQ(empty->GetIncrementText(), "");
  EXPECT_EQ(empty->GetStoredData(), nullptr);
  EXPECT_EQ(empty->GetScriptType(), 12);
  EXPECT_TRUE(empty->CanMakeCopyScript());

  TDataSingle* count = Single(B1, "count", eatINTEGER);
  TIncrementScript* inc = Increment(count, "1");
  EXPECT_EQ(inc->AExpNode->GetText(), "Increment count by 1");
  EXPECT_EQ(inc->GetStoredData(), count);
  TVariable* reference = inc->GetVariable();
  EXPECT_TRUE(inc->IsStoredVariable(reference));
  EXPECT_FALSE(inc->VariableNotify(reference, eatSTRING));
  EXPECT_TRUE(inc->VariableNotify(reference, eatINTEGER) &&
              inc->VariableNotify(reference, eatFLOAT));
  EXPECT_TRUE(inc->CanMoveTo(B1, B1->AExpNode));
  EXPECT_FALSE(inc->CanMoveTo(B2, B2->AExpNode) || inc->CanMoveTo(nullptr, nullptr));

  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  TIncrementScript* byTwo = Increment(n, "2");
  byTwo->SetNextScript();
  EXPECT_EQ(TraceOf(byTwo), (TTexts{"n=3+2", "Current value of n=5"}));
  byTwo->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(byTwo), TTexts{"Comment(Increment n by 2)"});
  EXPECT_EQ(Value(n), "5");
}

TEST_F(IncrementScriptTest, RetypesConvertTheStepAndNothingIsLeftDangling) {
  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  TIncrementScript* inc = Increment(n, "2");
  inc->SetNextScript();  // prepared for a run; the retype then replaces the value
  ASSERT_TRUE(n->SetDataType(eatFLOAT));
  EXPECT_EQ(inc->GetStep()->GetType(), eatFLOAT);
  EXPECT_EQ(inc->GetStep()->GetFloat(), 2.0f);
  inc->Execute();  // adds to the new value object
  EXPECT_EQ(FloatOf(n), 2.0f);

  inc->SetUpIncrement(n, "2.5");
  ASSERT_TRUE(n->SetDataType(eatINTEGER));
  EXPECT_EQ(inc->GetStep()->GetType(), eatINTEGER);
  EXPECT_EQ(inc->GetIncrementText(), "2");
  EXPECT_EQ(inc->AExpNode->GetText(), "Increment n by 2");
  inc->Execute();
  EXPECT_EQ(Value(n), "2");

  // A string variable cannot be incremented: the user agrees and the command goes.
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(n->SetDataType(eatSTRING));
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
  EXPECT_FALSE(n->HasUsers());
}

TEST_F(IncrementScriptTest, TheRecordByteByByteReadBackAndRefusedWhenDamaged) {
  TDataSingle* n = Single(B1, "n", eatINTEGER);
  TDataSingle* x = Single(B1, "x", eatFLOAT);
  TIncrementScript* inc = Increment(n, "2");
  // Step type, step text, the variable's identifier, then the base record.
  const TBytes record = Cat({Le32(1), StringBytes("2"), Le32(100), Le32(101), B(false)});
  EXPECT_EQ(Written({inc}), record);
  TIncrementScript* back = Read(record, n);
  EXPECT_EQ(back->AExpNode->GetText(), "Increment n by 2");
  EXPECT_EQ(back->PreadscriptID, 101);
  back->CheckAfterRead();
  EXPECT_EQ(back->GetStep()->GetInt(), 2);

  TIncrementScript* fx = Increment(x, "-0.25");
  fx->SetCommentedOut(true);
  std::vector<TVariable*> exported;
  const TBytes floatRecord =
      Cat({Le32(2), StringBytes("-0.25"), Le32(100), Le32(101), B(true)});
  EXPECT_EQ(Written({fx}, &exported), floatRecord);
  EXPECT_EQ(exported, std::vector<TVariable*>{fx->GetVariable()});  // travels with the block
  TIncrementScript* fback = Read(floatRecord, x);
  EXPECT_TRUE(fback->AbCommentedOut);
  EXPECT_EQ(fback->GetStep()->GetFloat(), -0.25f);

  // A reference that names no variable ends the load.
  TIncrementScript* unbound = Read(record, nullptr);
  EXPECT_EQ(unbound->GetText(), "none");
  EXPECT_EQ(CheckError(unbound), "Variable not defined for Increment script...aborting read");
  // A step read with another type than its variable's takes the variable's type.
  TIncrementScript* mixed =
      Read(Cat({Le32(2), StringBytes("2.5"), Le32(100), Le32(101), B(false)}), n);
  mixed->CheckAfterRead();
  EXPECT_EQ(mixed->GetStep()->GetType(), eatINTEGER);
  EXPECT_EQ(mixed->GetText(), "Increment n by 2");
  // An Increment of a string variable is refused.
  TDataSingle* s = Single(B1, "s", eatSTRING);
  EXPECT_THROW(Read(record, s)->CheckAfterRead(), EReadError);

  // Damaged records end the load with a read error, never the program.
  const TBytes damaged[] = {
      Cat({Le32(0), StringBytes("2"), Le32(100), Le32(101), B(false)}),    // a string step
      Cat({Le32(3), StringBytes("2"), Le32(100), Le32(101), B(false)}),    // no such type
      Cat({Le32(1), StringBytes("abc"), Le32(100), Le32(101), B(false)}),  // not a number
      Cat({Le32(2), StringBytes("1e99"), Le32(100), Le32(101), B(false)}), // not a float
      Cat({Le32(1), StringBytes("2"), Le32(100)}),                          // short
      Le32(1),
  };
  for (const TBytes& bytes : damaged) EXPECT_THROW(Read(bytes, n), EReadError);
}

}  // namespace

TEST_F(IncrementScriptTest, AStepThatDoesNotConvertLeavesTheCommandAsItWas) {
  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  TDataSingle* f = Single(B1, "f", eatFLOAT, "0.5");
  TIncrementScript* inc = Increment(n, "2");
  try {
    inc->SetUpIncrement(f, "abc");
    ADD_FAILURE() << "a step of abc was taken";
  } catch (const EExperimentError& error) {
    EXPECT_EQ(error.GetMessage().rfind("The value is not an float. Value is abc", 0), 0u);
  }
  EXPECT_EQ(inc->GetVariable()->GetData(), n);
  EXPECT_EQ(inc->GetStep()->GetType(), eatINTEGER);
  EXPECT_EQ(inc->AExpNode->GetText(), "Increment n by 2");
  EXPECT_FALSE(f->HasUsers());

  // The step alone, as the dialog converts it before anything changes.
  EXPECT_THROW(TIncrementScript::MakeStep(eatINTEGER, "x"), EExperimentError);
  EXPECT_EQ(TIncrementScript::MakeStep(eatFLOAT, "1.25")->GetFloat(), 1.25f);
  EXPECT_EQ(TIncrementScript::MakeStep(eatINTEGER, "7")->GetInt(), 7);
}
