// Expression texts with current names and values, their records, and the clipboard
// copies of texts and compiled lists.
#include "expressions/math_expression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expression_fixture.h"
#include "expressions/functions.h"
#include "expressions/math_copy.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "support/temp_dir.h"

namespace expr_test {
namespace {

const TBytes False{0}, True{1};
TBytes Int(std::int32_t value) { return Le32(static_cast<std::uint32_t>(value)); }

class MathExpressionTest : public ExpressionTest {
protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    A = Single("A", eatINTEGER, "1");
    B = Single("B", eatINTEGER, "3");
    I = Single("I", eatINTEGER, "2");
    F = Single("F", eatFLOAT, "0.5");
    Arr = Array("ARR", eatINTEGER, 4);
    for (int i = 0; i < 4; ++i) Arr->GetValueArray().SetElementNumber(10 * (i + 1), i);
  }

  TBytes Saved(TMathExpression& expression, TWriteFile* exporter = nullptr) {
    if (exporter) {
      expression.Save(*exporter);
      return {};
    }
    TWriteFile writer(Dir.PathOf("text"));
    expression.Save(writer);
    writer.Commit();
    return Dir.ReadBytes("text");
  }

  TTempDir Dir;
  TDataSingle *A = nullptr, *B = nullptr, *I = nullptr, *F = nullptr;
  TDataArray* Arr = nullptr;
};

TEST_F(MathExpressionTest, TextsShowCurrentNamesAndValues) {
  TCompiled& compiled = Compile("a + b*2");
  EXPECT_EQ(compiled.Text->GetText(), "A+B*2");
  EXPECT_EQ(compiled.Text->GetValueText(), "1+3*2");
  A->SetDataName("X");  // after compiling
  EXPECT_EQ(compiled.Text->GetText(), "X+B*2");
  EXPECT_EQ(static_cast<TVariableOperand*>(compiled.List->GetObjects()[0].get())->GetName(), "X");

  TCompiled& element = Compile("ARR[I]-ARR[0]*F");
  I->SetDataName("K");
  EXPECT_EQ(element.Text->GetText(), "ARR[K]-ARR[0]*F");
  EXPECT_EQ(element.Text->GetValueText(), "30-10*0.5");
  EXPECT_EQ(element.Text->GetCount(), 5);
  EXPECT_TRUE(element.Text->GetReference(0)->IsArray());
  EXPECT_EQ(element.Text->GetReference(1), nullptr);
  EXPECT_EQ(element.Text->GetReference(4)->GetScriptOwner(), Cmd);
  EXPECT_EQ(TMathExpression(Cmd).GetText(), "");
}

TEST_F(MathExpressionTest, RecordsAreByteExactAndReadBack) {
  TMathExpression empty(Cmd);
  EXPECT_EQ(Saved(empty), Int(0));

  TCompiled& compiled = Compile("A+ARR[2]*-F");
  const TBytes record =
      Cat({Int(6), StringBytes("A"), True, False, Int(100), StringBytes("+"), False,
           StringBytes("ARR[2]"), True, True, Int(101), False, True, Int(2), StringBytes("*"),
           False, StringBytes("-"), False, StringBytes("F"), True, False, Int(102)});
  EXPECT_EQ(Saved(*compiled.Text), record);
  // The texts written are those last produced: a trace leaves the values.
  compiled.Text->GetValueText();
  EXPECT_EQ(Saved(*compiled.Text),
            Cat({Int(6), StringBytes("1"), True, False, Int(100), StringBytes("+"), False,
                 StringBytes("30"), True, True, Int(101), False, True, Int(2), StringBytes("*"),
                 False, StringBytes("-"), False, StringBytes("0.5"), True, False, Int(102)}));

  TReadFile reader(Dir.WriteBytes("in", record));
  TMathExpression loaded(Cmd);
  loaded.Load(reader);
  std::vector<TVariable*>& waiting = reader.GetVariableList();
  ASSERT_EQ(waiting.size(), 4u);  // A, the element's index, the element, F
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(A, 100));
  EXPECT_TRUE(waiting[2]->ResolveLoadedLink(Arr, 101));
  EXPECT_TRUE(waiting[3]->ResolveLoadedLink(F, 102));
  A->SetDataName("Y");
  EXPECT_EQ(loaded.GetText(), "Y+ARR[2]*-F");
  EXPECT_EQ(loaded.GetReference(0)->GetScriptOwner(), Cmd);

  TReadFile none(Dir.WriteBytes("none", Int(0)));
  TMathExpression nothing(Cmd);
  nothing.Load(none);
  EXPECT_EQ(nothing.GetCount(), 0);
  TReadFile negative(Dir.WriteBytes("neg", Int(-1)));
  EXPECT_THROW(TMathExpression(Cmd).Load(negative), EReadError);
  TReadFile cut(Dir.WriteBytes("cut", Cat({Int(2), StringBytes("A"), False})));
  EXPECT_THROW(TMathExpression(Cmd).Load(cut), EReadError);

  // A block export lists every reference written.
  TWriteFile exporter(Dir.PathOf("block"), true);
  Saved(*compiled.Text, &exporter);
  EXPECT_EQ(exporter.GetBlockVariableList()->size(), 3u);
}

TEST_F(MathExpressionTest, CopiesRebuildTheExpressionForAnotherCommand) {
  TCompiled& original = Compile("A+sin(ARR[I])*2-float(binary(F)|0X1)", false);
  TCopyCommand copy;
  TZyqMathListCopy listCopy;
  listCopy.CopyMathList(*original.List, &copy);
  TMathExpressionCopy textCopy(&copy);
  original.Text->MakeCopy(textCopy);

  // One record per object, of the object's kind.
  const auto& records = listCopy.GetRecords();
  ASSERT_EQ(records.size(), 7u);
  EXPECT_NE(dynamic_cast<TZyqOperandCopy*>(records[0].get()), nullptr);
  auto* sine = dynamic_cast<TZyqTrigFunctionCopy*>(records[1].get());
  ASSERT_NE(sine, nullptr);
  EXPECT_EQ(sine->Kind, odkSIN);
  EXPECT_FALSE(sine->Radians);
  auto* times = dynamic_cast<TZyqOperatorCopy*>(records[3].get());
  EXPECT_TRUE(times && times->Kind == opkMULT);
  auto* toFloat = dynamic_cast<TZyqFunctionCopy*>(records[5].get());
  EXPECT_TRUE(toFloat && toFloat->Kind == odkFLOATFN);
  EXPECT_EQ(TZyqOperatorCopy(&copy, 12).MakeMathObject(Cmd), nullptr);
  EXPECT_EQ(TZyqOperandCopy(&copy, odkFLOATFN).MakeMathObject(Cmd), nullptr);

  // Enable registers the copy command with every copied variable, into arguments too.
  listCopy.Enable();
  for (TData* v : std::initializer_list<TData*>{A, Arr, I, F})
    EXPECT_EQ(v->GetCopyScript(), &copy) << v->GetDataName();
  EXPECT_EQ(B->GetCopyScript(), nullptr);

  TOwnerCommand* pasted = NewCommand();
  std::unique_ptr<TQorvMathList> list = listCopy.MakeMathList(pasted);
  TMathExpression text(pasted);
  text.SetUp(textCopy);
  EXPECT_EQ(text.GetText(), original.Text->GetText());
  EXPECT_EQ(text.GetText(), "A+sin(ARR[I])*2-float(binary(F)|0X1)");
  EXPECT_EQ(list->EvaluateMathList()->GetFloatValue(),
            original.List->EvaluateMathList()->GetFloatValue());
  // The pasted references belong to the pasted command and follow its variables.
  auto* operand = static_cast<TVariableOperand*>(list->GetObjects()[0].get());
  EXPECT_EQ(operand->GetReference()->GetScriptOwner(), pasted);
  EXPECT_EQ(text.GetReference(0)->GetScriptOwner(), pasted);
  EXPECT_TRUE(A->HasUser(operand->GetReference()));
  // Degrees are kept: with ARR[I] = 90, 1 + sin(90)*2 - float(0|1) = 2.
  Arr->GetValueArray().SetElementNumber(90, 3);
  I->GetValue().SetText("3");
  EXPECT_EQ(list->EvaluateMathList()->GetFloatValue(), 2.0f);

  listCopy.Disable();
  for (TData* v : std::initializer_list<TData*>{A, Arr, I, F})
    EXPECT_EQ(v->GetCopyScript(), nullptr) << v->GetDataName();
}

}  // namespace
}  // namespace expr_test
