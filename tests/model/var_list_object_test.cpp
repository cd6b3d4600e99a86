// The item objects of the variable choices: their texts, the references they make for a
// command (single, element by constant or variable, entire array) and the choice read
// back from a reference.
#include "model/var_list_object.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/variable_data.h"
#include "scripts/flow/increment_script.h"
#include "support/experiment_fixture.h"

namespace {

class VarListObjectTest : public TCommandFixture {
protected:
  TDataArray* A = Array(B1, "A", eatFLOAT, 5);
  TDataSingle* N = Single(B1, "N", eatINTEGER, "2");
  TDataSingle* X = Single(B1, "X", eatFLOAT);
  TIncrementScript* Owner = Increment(X);
};

TEST_F(VarListObjectTest, TextsNameTheVariableAndTheElement) {
  TVarListObject empty;
  EXPECT_EQ(empty.GetText(), "");
  TVarListObject element(A);
  element.SetIndexConstant(3);
  EXPECT_EQ(element.GetText(), "B1: A[3]");
  element.SetIndexVariable(N);
  EXPECT_EQ(element.GetText(), "B1: A[N]");
  EXPECT_EQ(element.GetIndexConstant(), -1);
  element.ClearIndex();
  EXPECT_EQ(element.GetText(), "B1: A[Entire Array]");
  EXPECT_TRUE(element.IsEntireArray());
  // A single variable has no index; none given keeps the variable.
  element.SetIndexConstant(1);
  element.SetData(X);
  EXPECT_EQ(element.GetText(), "B1: X");
  EXPECT_EQ(element.GetIndexConstant(), -1);
  element.SetData(nullptr);
  EXPECT_EQ(element.GetData(), X);
}

TEST_F(VarListObjectTest, ReferencesMadeForACommandNameWhatTheChoiceNames) {
  TVarListObject choice(A);
  choice.SetIndexConstant(4);
  std::unique_ptr<TVariableData> byConstant = choice.CreateVariable(Owner);
  choice.SetIndexVariable(N);
  std::unique_ptr<TVariableData> byVariable = choice.CreateVariable(Owner);
  choice.ClearIndex();
  std::unique_ptr<TVariableData> entire = choice.CreateVariable(Owner);
  std::unique_ptr<TVariableData> single = TVarListObject(X).CreateVariable(Owner);

  EXPECT_EQ(byConstant->GetName(), "A[4]");
  EXPECT_EQ(byVariable->GetName(), "A[N]");
  EXPECT_EQ(entire->GetName(), "A[...]");
  EXPECT_EQ(single->GetName(), "X");
  EXPECT_EQ(byConstant->GetScriptOwner(), Owner);
  // Each registered with what it names: the array three times, the index variable once.
  EXPECT_EQ(A->GetUserCount(), 3);
  EXPECT_EQ(N->GetUserCount(), 1);
  EXPECT_TRUE(X->HasUser(single.get()));
  byVariable->SetValueText("7.5");
  EXPECT_EQ(byConstant->GetFloat(), 0.0f);
  EXPECT_EQ(A->GetValueArray().GetElementText(2), byVariable->GetValueString());
  EXPECT_EQ(byVariable->GetFloat(), 7.5f);

  // Read back into a choice, each names the same element again.
  for (TVariableData* reference : {byConstant.get(), byVariable.get(), entire.get(), single.get()}) {
    TVarListObject back;
    back.SetFromVariable(*reference);
    EXPECT_EQ(back.CreateVariable(Owner)->GetName(), reference->GetName());
  }
  byVariable.reset();
  EXPECT_EQ(N->GetUserCount(), 0);
}

}  // namespace
