// A compiled expression keeps what it last saw of each variable's value object and looks
// it up again only when the variable's value generation changed. A value or array
// replaced between evaluations (cleared, retyped, created anew) must be read afresh:
// under the sanitizers a stale object would be a use after free.
#include <set>

#include "expression_fixture.h"
#include "model/variable_data.h"

namespace expr_test {
namespace {

using ValueSightTest = ExpressionTest;

TEST_F(ValueSightTest, GenerationChangesWhenTheValueObjectIsMadeOrDropped) {
  TDataSingle* v = Single("V", eatINTEGER, "");
  TDataArray* a = Array("ARR", eatINTEGER, 3);
  std::set<std::uint64_t> seen{v->GetValueGeneration(), a->GetValueGeneration()};
  EXPECT_EQ(seen.size(), 2u);
  const auto changes = [&seen](TData* variable, auto&& action) {
    const std::uint64_t before = variable->GetValueGeneration();
    action();
    const std::uint64_t after = variable->GetValueGeneration();
    if (after == before) return false;
    EXPECT_TRUE(seen.insert(after).second) << "a generation came back";
    return true;
  };
  EXPECT_TRUE(changes(v, [&] { v->GetValue(); }));  // made on first use
  EXPECT_FALSE(changes(v, [&] { v->GetValue().SetText("5"); }));
  EXPECT_FALSE(changes(v, [&] { v->ResetValue(); }));
  EXPECT_TRUE(changes(v, [&] { v->ClearValue(); }));
  EXPECT_TRUE(changes(v, [&] { v->GetValue(); }));
  EXPECT_TRUE(changes(v, [&] { ASSERT_TRUE(v->SetDataType(eatFLOAT)); }));
  EXPECT_FALSE(changes(a, [&] { a->SetSize(5); }));  // the elements go, the array stays
  EXPECT_TRUE(changes(a, [&] { a->ClearValue(); }));
  // A variable made later shows a generation never seen before.
  EXPECT_TRUE(seen.insert(Single("W", eatINTEGER, "1")->GetValueGeneration()).second);
}

TEST_F(ValueSightTest, ValuesReplacedBetweenEvaluationsAreReadAfresh) {
  TDataSingle* x = Single("X", eatFLOAT, "1.5");
  TDataSingle* i = Single("I", eatINTEGER, "2");
  TDataArray* arr = Array("ARR", eatFLOAT, 4);
  arr->GetValueArray().SetElementText("10.5", 2);
  TQorvMathList& list = *Compile("X*2+ARR[I]").List;
  const auto value = [&list] { return list.EvaluateMathList()->GetFloatValue(); };
  EXPECT_EQ(value(), 13.5f);
  x->GetValue().SetText("2.5");  // the same value object
  EXPECT_EQ(value(), 15.5f);
  x->ClearValue();  // made anew as 0.0
  EXPECT_EQ(value(), 10.5f);
  ASSERT_TRUE(x->SetDataType(eatINTEGER));
  x->GetValue().SetText("7");
  EXPECT_EQ(value(), 24.5f);

  arr->ClearValue();  // made anew: 10 elements of 0
  EXPECT_EQ(value(), 14.0f);
  ASSERT_TRUE(arr->SetDataType(eatINTEGER));
  arr->GetValueArray().SetElementNumber(-3, 2);
  EXPECT_EQ(value(), 11.0f);
  arr->SetSize(2);
  EXPECT_EQ(RunError(list), "Index 2 is out of bounds.");
  i->ClearValue();  // the index reads 0 again
  arr->GetValueArray().SetElementNumber(6, 0);
  EXPECT_EQ(value(), 20.0f);

  // The binary side reads through the same sights.
  TQorvMathList& pattern = *Compile("float(binary(X)|binary(ARR[0]))").List;
  EXPECT_EQ(pattern.EvaluateMathList()->GetFloatValue(), 7.0f);
  x->ClearValue();
  EXPECT_EQ(pattern.EvaluateMathList()->GetFloatValue(), 6.0f);
}

TEST_F(ValueSightTest, AReferenceReadsThroughASightByItsRules) {
  TDataSingle* s = Single("S", eatSTRING, "12");
  TVariableDataSingle reference(Cmd);
  reference.SetData(s);
  TValueSight sight;
  EXPECT_EQ(reference.ReadFloat(sight), 0.0f);  // a string counts 0
  EXPECT_EQ(reference.ReadInteger(sight), 0);
  ASSERT_TRUE(s->SetDataType(eatFLOAT));
  s->GetValue().SetText("-2.75");
  EXPECT_EQ(reference.ReadFloat(sight), -2.75f);
  EXPECT_EQ(reference.ReadInteger(sight), -2);  // toward zero
  EXPECT_EQ(reference.GetFloat(), -2.75f);
}

}  // namespace
}  // namespace expr_test
