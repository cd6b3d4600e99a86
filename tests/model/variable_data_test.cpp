// References from commands to variables, array elements and outputs: binding, names,
// values, records and their resolution after a load, release after a retype, copies.
#include "model/variable_data.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "model/data_list.h"
#include "model/errors.h"
#include "model/value_array.h"
#include "model/variable_output.h"
#include "outputs/output.h"
#include "scripts/attribute_script.h"
#include "scripts/copy_script.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

using TUsers = std::vector<TVariable*>;

namespace {

// A command owning references; its text lists their descriptions.
class TRefCommand : public TConditionAttributeScript {
public:
  TRefCommand(TBlock* block, TTreeNode* node, std::set<TRefCommand*>& live)
      : TConditionAttributeScript(block, node), Live(live) { Live.insert(this); }
  ~TRefCommand() override { Live.erase(this); }

  template <typename T>
  T* Own(T* reference) {
    References.emplace_back(reference);
    return reference;
  }
  TVariableDataSingle* Single(TData* v) { return Bind(Own(new TVariableDataSingle(this)), v); }
  TVariableDataArray* Array(TData* v) { return Bind(Own(new TVariableDataArray(this)), v); }

  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  bool DrawNode(TNodeStyle&) override { return false; }
  std::string GetText() override {
    std::string text = "cmd";
    for (const auto& reference : References)
      if (auto* data = dynamic_cast<TVariableData*>(reference.get()))
        text += " " + data->GetDescription();
    return text;
  }
  int GetScriptType() const override { return CALCULATE; }
  bool VariableNotify(TVariable*, int type) override { return type == Accepts; }
  bool CanReleaseVariable(TVariable*) override { return Releases; }
  bool IsStoredVariable(TVariable*) override { return false; }
  void ClearCondition() override {}

  std::set<TRefCommand*>& Live;
  std::vector<std::unique_ptr<TVariable>> References;
  int Accepts = eatINTEGER;
  bool Releases = false;

private:
  template <typename T>
  static T* Bind(T* reference, TData* v) {
    if (v) reference->SetData(v);
    return reference;
  }
};

class TCopyRecord : public TBlockCopyScript {
public:
  TCopyRecord() : TBlockCopyScript(nullptr) {}
  void Enable() override { ADisabled = false; }
  int GetScriptType() override { return 0; }
};

const TBytes F = B(false), T = B(true);

class VariableDataTest : public TExperimentFixture {
protected:
  void TearDown() override {
    while (!Live.empty()) delete *Live.begin();
    TExperimentFixture::TearDown();
  }

  TDataSingle* Single(const std::string& name, int type = eatINTEGER) {
    return TExperimentFixture::Single(Block, name, type);
  }
  TDataArray* Array(const std::string& name, int type = eatINTEGER, std::int32_t size = 5) {
    return TExperimentFixture::Array(Block, name, type, size);
  }
  TRefCommand* Command() {
    return new TRefCommand(Block, Tree.AddChild(Block->AExpNode, "cmd"), Live);
  }

  TBlock* Block = Exp.AddBlock("B1");
  std::set<TRefCommand*> Live;
};

TEST_F(VariableDataTest, BindingRegistersOnceAndLeavesOnRebindAndDestruction) {
  TDataSingle* a = Single("a");
  TDataSingle* b = Single("b");
  TDataArray* arr = Array("arr");
  TOutput text("Text", nullptr, otTEXT), graph("Graph", nullptr);
  TRefCommand* cmd = Command();
  TVariableDataSingle* ref = cmd->Single(a);
  ref->SetData(a);
  EXPECT_EQ(a->GetUsers(), TUsers{ref});
  ref->SetData(b);
  EXPECT_FALSE(a->HasUsers());
  ref->SetData(nullptr);
  EXPECT_FALSE(b->HasUsers());

  TVariableDataArray* element = cmd->Array(arr);
  element->SetData(arr);
  TVariableArrayIndex& index = element->GetArrayIndex();
  index.SetIndexVariable(a);
  index.SetIndexVariable(a);
  EXPECT_EQ(arr->GetUserCount(), 1);
  EXPECT_EQ(a->GetUsers(), TUsers{&index});
  EXPECT_EQ(index.GetScriptOwner(), cmd);
  index.SetIndexConstant(2);  // the index variable is let go
  EXPECT_FALSE(a->HasUsers());

  auto* out = cmd->Own(new TVariableOutput(cmd));
  out->SetOutput(&text);
  out->SetOutput(&text);
  EXPECT_EQ(text.GetUserCount(), 1);
  out->SetOutput(&graph);
  EXPECT_FALSE(text.HasUsers());

  index.SetIndexVariable(b);
  ref->SetData(a);
  delete cmd;  // its references leave everything they name
  for (TData* v : std::initializer_list<TData*>{a, b, arr}) EXPECT_FALSE(v->HasUsers());
  EXPECT_FALSE(graph.HasUsers());
}

TEST_F(VariableDataTest, NamesIndexTextsAndNodeRefresh) {
  TDataSingle* n = Single("N");
  TDataArray* arr = Array("A");
  TRefCommand* cmd = Command();
  EXPECT_EQ(cmd->Single(nullptr)->GetDescription(), "");
  TVariableDataArray* element = cmd->Array(arr);
  EXPECT_EQ(element->GetName(), "A");  // no index object yet
  EXPECT_EQ(element->GetDescription(), "A[0]");  // creates it
  EXPECT_TRUE(element->HasArrayIndex());

  TVariableArrayIndex& index = element->GetArrayIndex();
  index.SetIndexConstant(3);
  EXPECT_EQ(element->GetName(), "A[3]");
  EXPECT_EQ(cmd->AExpNode->GetText(), "cmd  A[3]");  // each index operation refreshes
  index.SetIndexVariable(n);
  EXPECT_EQ(cmd->AExpNode->GetText(), "cmd  A[N]");
  index.ClearIndex();
  EXPECT_EQ(cmd->AExpNode->GetText(), "cmd  A[...]");

  // Assign takes the other's index; the entire array drops an index variable without a
  // refresh, and replaces a constant too.
  TVariableArrayIndex& source = Command()->Array(arr)->GetArrayIndex();
  source.SetIndexVariable(n);
  index.Assign(&source);
  EXPECT_EQ(index.GetIndexVariable(), n);
  source.ClearIndex();
  index.Assign(&source);
  EXPECT_TRUE(index.IsEntireArray());
  EXPECT_FALSE(n->HasUsers());
  EXPECT_EQ(cmd->AExpNode->GetText(), "cmd  A[N]");
  index.SetIndexConstant(4);
  index.Assign(nullptr);
  EXPECT_EQ(index.GetConstant(), 4);
  index.Assign(&source);
  EXPECT_TRUE(index.IsEntireArray());
}

TEST_F(VariableDataTest, ValuesFollowTheTypeAndTheIndex) {
  TRefCommand* cmd = Command();
  TVariableDataSingle* i = cmd->Single(Single("i"));
  i->SetValueText("-42");
  EXPECT_EQ(i->GetInteger(), -42);
  EXPECT_EQ(i->GetFloat(), -42.0f);
  EXPECT_EQ(i->GetValueString(), "-42");
  EXPECT_THROW(i->SetValueText("abc"), EExperimentError);
  TVariableDataSingle* f = cmd->Single(Single("f", eatFLOAT));
  f->SetValueNumber(std::bit_cast<std::int32_t>(2.5f));
  EXPECT_EQ(f->GetFloat(), 2.5f);
  EXPECT_EQ(f->GetValueFormatted(1, 2), "2.50");
  TVariableDataSingle* s = cmd->Single(Single("s", eatSTRING));
  s->SetValueText("volts");
  EXPECT_EQ(s->GetValueString(), "volts");
  EXPECT_EQ(s->GetInteger(), 0);
  EXPECT_EQ(s->GetFloat(), 0.0f);

  TDataArray* arr = Array("A", eatINTEGER, 5);
  TVariableDataArray* element = cmd->Array(arr);
  EXPECT_EQ(element->GetSize(), 5);
  element->GetArrayIndex().SetIndexConstant(2);
  element->SetValueText("7");
  EXPECT_EQ(arr->GetValueArray().GetElementText(2), "7");
  element->GetArrayIndex().SetIndexVariable(static_cast<TDataSingle*>(i->GetData()));
  i->SetValueNumber(4);
  element->SetValueNumber(9);
  EXPECT_EQ(arr->GetValueArray().GetElementText(4), "9");
  EXPECT_EQ(element->GetFloat(), 9.0f);
  for (const std::int32_t bad : {5, -1}) {  // from the index variable: run-time errors
    i->SetValueNumber(bad);
    EXPECT_EQ(ErrorOf([&] { element->SetValueText("1"); }),
              "Index " + std::to_string(bad) + " is out of bounds.");
    EXPECT_THROW(element->GetInteger(), EExperimentError);
  }
  TVariableDataArray* names = cmd->Array(Array("T", eatSTRING, 3));
  names->GetArrayIndex().SetIndexConstant(1);
  names->SetValueText("x");
  EXPECT_EQ(names->GetValueFormatted(0, 0), "x");
  EXPECT_EQ(names->GetInteger(), 0);
}

TEST_F(VariableDataTest, ValueWritesWaitForTheValueLock) {
  TVariableDataSingle* ref = Command()->Single(Single("v"));
  std::unique_lock<std::recursive_mutex> held(Exp.GetValueLock());
  auto writer = std::async(std::launch::async, [ref] { ref->SetValueText("2"); });
  EXPECT_EQ(writer.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  held.unlock();
  writer.get();
  EXPECT_EQ(ref->GetInteger(), 2);
}

TEST_F(VariableDataTest, RecordsAreByteExact) {
  TDataSingle* n = Single("N");
  TDataArray* arr = Array("A");
  TOutput output("Graph", nullptr);
  TRefCommand* cmd = Command();
  cmd->Own(new TVariableOutput(cmd))->SetOutput(&output);
  cmd->Single(n);
  TVariableDataArray* fresh = cmd->Array(arr);
  cmd->Array(arr)->GetArrayIndex().SetIndexConstant(3);
  TVariableDataArray* counted = cmd->Array(arr);
  counted->GetArrayIndex().SetIndexVariable(n);
  cmd->Array(arr)->GetArrayIndex().ClearIndex();
  EXPECT_EQ(Written([cmd](TWriteFile& writer) {
              for (const auto& reference : cmd->References) reference->Save(writer);
            }),
            Cat({I32(100), I32(101),        // output, N
                 I32(102), F, T, I32(0),    // no index object: element 0
                 I32(102), F, T, I32(3),    // A[3]
                 I32(102), T, I32(101), F,  // A[N]
                 I32(102), F, F}));         // A[...]
  EXPECT_TRUE(fresh->HasArrayIndex());

  // A block export lists the index reference beside the array reference the command
  // registered, so N counts only its exported user.
  Command()->Single(n);
  TWriteFile writer(Temp.PathOf("block"), true);
  writer.GetBlockVariableList()->push_back(counted);
  counted->Save(writer);
  EXPECT_EQ(*writer.GetBlockVariableList(), (TUsers{counted, &counted->GetArrayIndex()}));
  n->SaveUsers(writer);
  writer.Commit();
  EXPECT_EQ(Temp.ReadBytes("block"), Cat({I32(100), T, I32(101), F, I32(1), I32(101)}));
}

TEST_F(VariableDataTest, LoadedReferencesBindToTheirAttributes) {
  TDataSingle* n = Single("N");
  TDataArray* arr = Array("A");
  TRefCommand* loaded = Command();
  auto* element = loaded->Own(new TVariableDataArray(loaded));
  auto* single = loaded->Own(new TVariableDataSingle(loaded));
  // The two references (A[N] and N), then N's and A's users.
  TReadFile reader(Temp.WriteBytes(
      "doc", Cat({I32(200), T, I32(201), F, I32(201), I32(2), I32(201), I32(1), I32(200)})));
  element->Load(reader);  // puts its index object into the list itself
  EXPECT_EQ(reader.GetVariableList().Waiting(), TUsers{&element->GetArrayIndex()});
  single->Load(reader);
  reader.GetVariableList().Add(element);  // as the command does
  reader.GetVariableList().Add(single);
  EXPECT_EQ(element->GetPendingId(), 200);
  n->LoadUsers(reader);
  arr->LoadUsers(reader);
  EXPECT_TRUE(reader.GetVariableList().Waiting().empty());
  EXPECT_EQ(element->GetData(), arr);
  EXPECT_EQ(element->GetArrayIndex().GetIndexVariable(), n);
  EXPECT_EQ(single->GetData(), n);
  EXPECT_EQ(single->GetPendingId(), -1);
  EXPECT_EQ(loaded->AExpNode->GetText(), "cmd A[N] N");
  EXPECT_FALSE(single->ResolveLoadedLink(n, 201));  // nothing pending any more

  // Damaged index records: a negative constant, a missing identifier.
  TReadFile negative(Temp.WriteBytes("neg", Cat({I32(200), F, T, I32(-3)})));
  EXPECT_THROW(element->Load(negative), EReadError);
  TReadFile cut(Temp.WriteBytes("cut", T));
  EXPECT_THROW(element->GetArrayIndex().Load(cut), EReadError);
}

// A reference offered an attribute of another kind stays unbound, so the attribute's
// user count check fails the read instead of the program.
TEST_F(VariableDataTest, WrongKindsDoNotBindAndFailTheRead) {
  TDataSingle* n = Single("N");
  TDataSingle* real = Single("R", eatFLOAT);
  TDataArray* arr = Array("A");
  TOutput output("Graph", nullptr);
  TRefCommand* cmd = Command();
  auto* element = cmd->Own(new TVariableDataArray(cmd));
  auto* single = cmd->Own(new TVariableDataSingle(cmd));
  auto* out = cmd->Own(new TVariableOutput(cmd));
  TReadFile reader(Temp.WriteBytes(
      "ids", Cat({I32(100), T, I32(100), F, I32(100), I32(100), I32(1), I32(100)})));
  element->Load(reader);
  single->Load(reader);
  out->Load(reader);
  reader.GetVariableList().Truncate(0);
  TVariableArrayIndex& index = element->GetArrayIndex();
  const std::pair<TVariable*, TExpAttribute*> wrong[] = {
      {single, arr}, {single, &output}, {element, n}, {element, &output},
      {&index, real}, {&index, arr},    {out, n}};
  for (const auto& [reference, attribute] : wrong)
    EXPECT_FALSE(reference->ResolveLoadedLink(attribute, 100)) << attribute->GetName();
  EXPECT_FALSE(single->ResolveLoadedLink(n, 101));  // another identifier
  for (TData* v : std::initializer_list<TData*>{n, real, arr}) EXPECT_FALSE(v->HasUsers());

  reader.GetVariableList().Add(single);
  EXPECT_EQ(ErrorOf<EReadError>([&] { arr->LoadUsers(reader); }), "Error reading attribute");
  EXPECT_TRUE(out->ResolveLoadedLink(&output, 100));
  EXPECT_EQ(output.GetUsers(), TUsers{out});
  EXPECT_TRUE(index.ResolveLoadedLink(n, 100));
  EXPECT_EQ(index.GetConstant(), -1);
}

TEST_F(VariableDataTest, RetypingAnIndexVariableReleasesItsElementReferences) {
  TDataSingle* n = Single("N");
  TDataArray* arr = Array("A");
  TRefCommand* indexed = Command();
  TVariableArrayIndex& index = indexed->Array(arr)->GetArrayIndex();
  index.SetIndexVariable(n);
  EXPECT_FALSE(index.NotifyOwner(eatFLOAT));  // an index answers itself
  EXPECT_FALSE(index.NotifyOwner(eatSTRING));
  TRefCommand* plain = Command();
  TVariableDataSingle* kept = plain->Single(n);
  plain->Accepts = eatFLOAT;
  EXPECT_TRUE(kept->NotifyOwner(eatFLOAT));  // the owner command decides

  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(n->SetDataType(eatFLOAT));
  EXPECT_EQ(Live, std::set<TRefCommand*>{plain});
  EXPECT_EQ(n->GetUsers(), TUsers{kept});
  EXPECT_FALSE(arr->HasUsers());

  // A command that lets go: the binding is dropped, the attribute removes the user.
  plain->Releases = true;
  EXPECT_TRUE(kept->ReleaseRef());
  EXPECT_EQ(kept->GetData(), nullptr);
  EXPECT_TRUE(n->HasUser(kept));
  n->RemoveUser(kept);
}

TEST_F(VariableDataTest, ClonesAndClipboardCopies) {
  TDataSingle* n = Single("N");
  TDataArray* arr = Array("A");
  TRefCommand* cmd = Command();
  TVariableDataArray* element = cmd->Array(arr);
  element->GetArrayIndex().SetIndexVariable(n);
  auto* clone = cmd->Own(static_cast<TVariableDataArray*>(element->Clone()));
  EXPECT_EQ(clone->GetName(), "A[N]");
  EXPECT_EQ(n->GetUserCount(), 2);
  EXPECT_EQ(cmd->Own(cmd->Array(arr)->Clone())->GetName(), "A");  // no index made
  TVariableDataArray* whole = cmd->Array(arr);
  whole->GetArrayIndex().ClearIndex();
  EXPECT_EQ(cmd->Own(whole->Clone())->GetName(), "A[...]");  // still the entire array
  TVariableDataSingle* single = cmd->Single(n);
  EXPECT_EQ(cmd->Own(single->Clone())->GetData(), n);

  TCopyRecord record;
  std::unique_ptr<TCopyVariableData> copy(element->MakeCopy(&record));
  EXPECT_EQ(std::make_tuple(copy->Data, copy->ACounter, copy->AIndex), std::make_tuple(arr, n, -1));
  copy->Enable();
  EXPECT_EQ(arr->GetCopyScript(), &record);
  EXPECT_EQ(n->GetCopyScript(), &record);

  auto* rebuilt = cmd->Own(new TVariableDataArray(cmd));
  copy->SetUpVariable(rebuilt);
  EXPECT_EQ(rebuilt->GetName(), "A[N]");
  TCopyVariableData(&record, arr, nullptr, 3).SetUpVariable(rebuilt);
  EXPECT_EQ(rebuilt->GetName(), "A[3]");
  EXPECT_FALSE(n->HasUser(&rebuilt->GetArrayIndex()));
  TCopyVariableData(&record, arr, nullptr, -1).SetUpVariable(rebuilt);
  EXPECT_EQ(rebuilt->GetName(), "A[...]");
  auto* rebuiltSingle = cmd->Own(new TVariableDataSingle(cmd));
  std::unique_ptr<TCopyVariableData>(single->MakeCopy(&record))->SetUpVariable(rebuiltSingle);
  EXPECT_EQ(rebuiltSingle->GetData(), n);

  copy->Disable();
  EXPECT_EQ(arr->GetCopyScript(), nullptr);
  EXPECT_EQ(n->GetCopyScript(), nullptr);
  EXPECT_TRUE(copy->Data == nullptr && copy->ACounter == nullptr);
}

// Consistency failures end the program; the console port reports them on stderr.
TEST(VariableDataDeathTest, MisuseIsAConsistencyFailure) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TExperiment exp;
  TBlock* block = exp.AddBlock("B");
  std::set<TRefCommand*> live;
  auto* cmd = new TRefCommand(block, exp.GetExperimentTree().AddChild(block->AExpNode, "c"), live);
  TVariableDataSingle* single = cmd->Single(nullptr);
  TVariableDataArray* element = cmd->Array(exp.GetDataArrayList()->Add(block, eatINTEGER, 4, "A"));
  EXPECT_DEATH(single->GetName(), "Assertion failed: ADataSingle!=0");
  EXPECT_DEATH(element->GetArrayIndex().SetIndexConstant(-1), "Assertion failed: index>=0");
  element->GetArrayIndex().ClearIndex();
  EXPECT_DEATH(element->GetInteger(), "Assertion failed: index>=0");
  EXPECT_DEATH(single->SetData(element->GetData()), "Assertion failed: single!=0");
  delete cmd;
}

}  // namespace
