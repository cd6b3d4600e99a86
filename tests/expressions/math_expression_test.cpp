// Expression texts with current names and values, their records, and the clipboard
// copies of texts and compiled lists.
#include "expressions/math_expression.h"

#include "expression_fixture.h"
#include "expressions/math_copy.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "scripts/copy_script.h"

namespace expr_test {
namespace {

// The copy command of a clipboard record.
class TCopyCommand : public TBlockCopyScript {
public:
  TCopyCommand() : TBlockCopyScript(nullptr) {}
  void Enable() override { ADisabled = false; }
  int GetScriptType() override { return 0; }
};

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
  TBytes Saved(TMathExpression& expression, std::vector<TVariable*>* exported = nullptr) {
    return Written([&](TWriteFile& writer) { expression.Save(writer); }, exported);
  }

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
  const auto record = [](const char* a, const char* element, const char* f) {
    return Cat({Int(6), StringBytes(a), True, False, Int(100), StringBytes("+"), False,
                StringBytes(element), True, True, Int(101), False, True, Int(2),
                StringBytes("*"), False, StringBytes("-"), False, StringBytes(f), True, False,
                Int(102)});
  };
  EXPECT_EQ(Saved(*compiled.Text), record("A", "ARR[2]", "F"));
  // The texts written are those last produced: a trace leaves the values.
  compiled.Text->GetValueText();
  EXPECT_EQ(Saved(*compiled.Text), record("1", "30", "0.5"));

  TReadFile reader(Dir.WriteBytes("in", record("A", "ARR[2]", "F")));
  TMathExpression loaded(Cmd);
  loaded.Load(reader);
  const std::vector<TVariable*> waiting = reader.GetVariableList().Waiting();
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
  for (const TBytes& bad : {Int(-1), Cat({Int(2), StringBytes("A"), False})}) {
    TReadFile damaged(Dir.WriteBytes("bad", bad));
    EXPECT_THROW(TMathExpression(Cmd).Load(damaged), EReadError);
  }

  // A block export lists every reference written.
  std::vector<TVariable*> exported;
  Saved(*compiled.Text, &exported);
  EXPECT_EQ(exported.size(), 3u);
}

TEST_F(MathExpressionTest, CopiesRebuildTheExpressionForAnotherCommand) {
  TCompiled& original = Compile("A+sin(ARR[I])*2-float(binary(F)|0X1)", false);
  TCopyCommand copy;
  TZyqMathListCopy listCopy;
  listCopy.CopyMathList(*original.List, &copy);
  TMathExpressionCopy textCopy(&copy);
  original.Text->MakeCopy(textCopy);
  ASSERT_EQ(listCopy.GetRecords().size(), 7u);  // one record per object
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
