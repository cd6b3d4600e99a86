// Variables: names and display names, initial and current values, retype through the
// users, read-only, the edit dialog's request and answer, the variable record and its
// damaged forms, the import's rename-or-reassign step, and destruction.
#include "model/data.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/node_style.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"
#include "support/experiment_fixture.h"

namespace {

// A variable record: name, [array size], initial value, read-only, then the users' part.
TBytes Record(const std::string& name, std::optional<std::string> initial = {},
              std::optional<std::int32_t> size = {}, bool readOnly = false,
              const TBytes& users = I32(0)) {
  return Cat({StringBytes(name), size ? I32(*size) : TBytes{}, B(initial.has_value()),
              initial ? StringBytes(*initial) : TBytes{}, B(readOnly), users});
}

// A command that uses variables through real references; what it answers is set by the test.
class TTestCommand : public TConditionAttributeScript {
public:
  TTestCommand(std::set<TScript*>& live, TBlock* block, int type)
      : TConditionAttributeScript(
            block, block->GetExperiment()->GetExperimentTree().AddChild(block->AExpNode, "")),
        Live(live), Type(type) {
    Live.insert(this);
  }
  ~TTestCommand() override {
    Live.erase(this);
    for (TVariableData* reference : References) delete reference;
  }
  TVariableData* Use(TData* variable) {
    References.push_back(variable && variable->IsArray()
                             ? static_cast<TVariableData*>(new TVariableDataArray(this))
                             : new TVariableDataSingle(this));
    if (variable) References.back()->SetData(variable);
    return References.back();
  }

  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  bool DrawNode(TNodeStyle&) override { return false; }
  std::string GetText() override { return "command"; }
  int GetScriptType() const override { return Type; }
  bool VariableNotify(TVariable*, int type) override { return OnlyType < 0 || type == OnlyType; }
  bool CanReleaseVariable(TVariable*) override { return true; }
  bool IsStoredVariable(TVariable*) override { return Stores; }
  std::int32_t GetPointsRead() const override { return Points; }
  void ClearCondition() override {}

  std::set<TScript*>& Live;
  int Type;
  int OnlyType = -1;
  bool Stores = false;
  std::int32_t Points = 0;
  std::vector<TVariableData*> References;
};

class DataTest : public TExperimentFixture {
protected:
  void TearDown() override {
    while (!Live.empty()) delete *Live.begin();
    TExperimentFixture::TearDown();
  }

  TData* Single(const std::string& name, int type) { return Singles.Add(B1, type, 1, name); }
  TDataArray* Array(const std::string& name, int type, std::int32_t size) {
    return TExperimentFixture::Array(B1, name, type, size);
  }
  TTestCommand* Command(int type = TScript::CALCULATE) { return new TTestCommand(Live, B1, type); }
  // A variable about to read its record, as the lists make it.
  TData* ForLoad(TDataList& list, int type) {
    return list.CreateForLoad(type, Exp.GetAttributeTree().AddChild(list.AExpAttNode, ""), B1);
  }
  TBytes Saved(TData* variable) {
    return Written([variable](TWriteFile& writer) { variable->Save(writer); });
  }
  // Opens every data-form request with the handler, keeping a copy of what was asked.
  void OnDataForm(std::function<int(TDataFormRequest&)> answer) {
    Ui.SetDialogHandler([this, answer](TDialogRequest& request) {
      auto& form = dynamic_cast<TDataFormRequest&>(request);
      Asked = form;
      return answer(form);
    });
  }

  TDataSingleList& Singles = *Exp.GetDataSingleList();
  TDataArrayList& Arrays = *Exp.GetDataArrayList();
  std::set<TScript*> Live;
  TBlock* B1 = Exp.AddBlock("B1");
  TDataFormRequest Asked;
};

TEST_F(DataTest, NamesImagesAndValues) {
  const char* const zeros[] = {"", "0", "0.0"};
  for (int type = 0; type < 3; ++type) {
    TData* single = Single("s" + std::to_string(type), type);
    EXPECT_EQ(single->AExpAttNode->GetImageIndex(), 6 + type);
    EXPECT_EQ(Array("a" + std::to_string(type), type, 3)->AExpAttNode->GetImageIndex(), 10 + type);
    EXPECT_EQ(single->GetInitialValueText(), zeros[type]);
    EXPECT_EQ(single->GetValueText(), "No current value");  // never reset
  }
  TData* x = Single("x", eatINTEGER);
  EXPECT_EQ(x->AExpAttNode->GetText(), "B1: x");
  x->ResetValue();
  EXPECT_EQ(x->GetValueText(), "0");
  x->SetInitialValue("5");
  EXPECT_EQ(x->GetValueText(), "5");
  x->SetInitialValue("");  // removed: back to zero
  EXPECT_EQ(x->GetInitialValueText(), "0");
  EXPECT_EQ(x->GetValueText(), "0");
  EXPECT_THROW(x->SetInitialValue("five"), EExperimentError);

  x->SetDataName("Speed");
  EXPECT_TRUE(Singles.GetDataNameList().HasDataName("SPEED"));  // letter case ignored
  EXPECT_FALSE(Singles.GetDataNameList().HasDataName("x"));
  B1->SetTitle("Setup");
  x->UpdateDisplayName();
  EXPECT_EQ(x->AExpAttNode->GetText(), "Setup: Speed");

  TDataArray* a = Array("a", eatSTRING, 3);
  a->SetInitialValue("hi");
  EXPECT_EQ(a->GetValueText(), "hi,hi,hi");
  EXPECT_TRUE(a->ClearValue());
  EXPECT_EQ(a->GetValueText(), "No current value");
  a->ResetValue();  // a new value array has 10 elements
  EXPECT_EQ(a->GetSize(), 10);
}

TEST_F(DataTest, RetypeAsksTheUsersAndDropsTheInitialValue) {
  TData* v = Single("v", eatINTEGER);
  v->SetInitialValue("7");
  EXPECT_TRUE(v->SetDataType(eatINTEGER));  // same type: nothing asked or cleared
  EXPECT_EQ(v->GetInitialValueText(), "7");
  EXPECT_EQ(v->GetValueText(), "7");

  Command()->Use(v);
  TTestCommand* picky = Command();
  picky->OnlyType = eatINTEGER;
  picky->Use(v);
  Ui.ScriptAnswers({mbNo, mbYes});
  EXPECT_FALSE(v->SetDataType(eatFLOAT));
  EXPECT_EQ(v->GetDataType(), eatINTEGER);
  EXPECT_EQ(v->GetInitialValueText(), "7");
  EXPECT_EQ(v->GetUserCount(), 2);
  ASSERT_EQ(Ui.Shown().size(), 1u);
  const TFakeUiPort::TShown shown = Ui.Shown()[0];
  EXPECT_EQ(shown.Text,
            "This variable is used by commands which cannot accept this variable type.\r"
            "Continuing will result in the deletion of those scripts.  Do you wish to continue?");
  EXPECT_EQ(std::make_tuple(shown.Caption, shown.Kind, shown.Buttons),
            std::make_tuple("Qorv Warning", TMessageKind::Warning, mbYes | mbNo));

  EXPECT_TRUE(v->SetDataType(eatFLOAT));
  EXPECT_EQ(v->GetDataType(), eatFLOAT);
  EXPECT_EQ(v->GetInitialValueText(), "0.0");
  EXPECT_EQ(v->GetValueText(), "No current value");
  EXPECT_EQ(v->AExpAttNode->GetImageIndex(), 8);
  EXPECT_EQ(Live.size(), 0u);  // both commands let the variable go and were deleted
  EXPECT_FALSE(v->HasUsers());
}

TEST_F(DataTest, ReadOnlyOnlyWhileNoCommandStoresAndDrawnBlue) {
  TData* v = Single("v", eatINTEGER);
  TNodeStyle style;
  EXPECT_FALSE(v->DrawNode(style));
  Command()->Use(v);  // reads it only
  v->SetReadOnly(true);
  ASSERT_TRUE(v->DrawNode(style));
  EXPECT_EQ(std::make_tuple(style.Colour, style.ImageIndex), std::make_tuple(0xFF0000u, 7));
  v->SetReadOnly(false);
  EXPECT_FALSE(v->IsReadOnly());
  TTestCommand* calculate = Command();
  calculate->Stores = true;
  calculate->Use(v);
  v->SetReadOnly(true);
  EXPECT_FALSE(v->CanSetAsReadOnly() || v->IsReadOnly());
}

TEST_F(DataTest, EditPreparesTheDialogAndAppliesItsAnswer) {
  TData* n = Single("n", eatINTEGER);
  n->SetInitialValue("3");
  OnDataForm([](TDataFormRequest&) { return 0; });
  EXPECT_EQ(n->Edit(), 0);
  EXPECT_EQ(Asked.Mode, TDataFormRequest::dmEDIT);
  EXPECT_EQ(std::make_tuple(Asked.ShowArraySize, Asked.Name, Asked.Type, Asked.InitialValueText,
                            Asked.ReadOnlyAllowed, Asked.NameList, Asked.MinimumArraySize),
            std::make_tuple(false, "n", eatINTEGER, "3", true, &Singles.GetDataNameList(), -1));

  OnDataForm([](TDataFormRequest& form) {
    form.Name = "m", form.Type = eatFLOAT, form.HasInitialValue = true;
    form.InitialValueText = "1.5", form.ReadOnly = true;
    return 1;
  });
  EXPECT_EQ(n->Edit(), 1);
  EXPECT_EQ(std::make_tuple(n->GetName(), n->GetDataType(), n->GetValueText(), n->IsReadOnly()),
            std::make_tuple("B1: m", eatFLOAT, "1.5", true));

  // A refused retype changes nothing else; a storing command disables the read-only box.
  TTestCommand* picky = Command();
  picky->OnlyType = eatFLOAT, picky->Stores = true;
  picky->Use(n);
  Ui.ScriptAnswers({mbNo});
  OnDataForm([](TDataFormRequest& form) { return form.Name = "other", form.Type = 0, 1; });
  EXPECT_EQ(n->Edit(), 1);
  EXPECT_FALSE(Asked.ReadOnlyAllowed || Asked.ReadOnly);
  EXPECT_EQ(n->GetName(), "B1: m");
  EXPECT_TRUE(n->IsReadOnly());

  TDataArray* a = Array("a", eatINTEGER, 10);
  OnDataForm([](TDataFormRequest& form) { return form.ArraySize = 4, 1; });
  EXPECT_EQ(a->Edit(), 1);
  EXPECT_TRUE(Asked.ShowArraySize);
  EXPECT_EQ(Asked.ArraySize, 10);
  EXPECT_EQ(a->GetSize(), 4);
}

TEST_F(DataTest, MinimumArraySizeIsTheLargestReadOfTheArray) {
  struct TCase {
    std::vector<std::pair<int, std::int32_t>> users;  // command type, points read
    std::int32_t minimum;
  };
  const TCase cases[] = {
      {{}, 2},
      {{{TScript::CALCULATE, 50}}, 2},
      {{{TScript::READ, 0}}, 2},
      {{{TScript::READ, 20}, {TScript::READ, 5}}, 20},  // the largest, not the last
      {{{TScript::READ, 5}, {TScript::READ, 0}, {TScript::READ, 12}, {TScript::PLOT, 99}}, 12},
  };
  OnDataForm([](TDataFormRequest&) { return 0; });
  int made = 0;
  for (const TCase& c : cases) {
    TDataArray* a = Array("a" + std::to_string(made++), eatFLOAT, 30);
    for (const auto& [type, points] : c.users) {
      TTestCommand* command = Command(type);
      command->Points = points;
      command->Use(a);
      command->Use(a);  // each command counts once
    }
    a->Edit();
    EXPECT_EQ(Asked.MinimumArraySize, c.minimum) << "case " << made;
  }
}

TEST_F(DataTest, RecordsAreWrittenAndReadBack) {
  TData* x = Single("x", eatINTEGER);
  x->SetInitialValue("5");
  EXPECT_EQ(Saved(x), Record("x", "5"));
  TData* f = Single("f", eatFLOAT);  // floats written in the standard notation
  f->SetInitialValue("2.50");
  Command()->Use(f);
  EXPECT_EQ(Saved(f), Record("f", "2.5", {}, false, Cat({Le32(1), Le32(100)})));
  TDataArray* a = Array("ab", eatSTRING, 3);  // the size before the initial-value flag
  a->SetReadOnly(true);
  EXPECT_EQ(Saved(a), Cat({StringBytes("ab"), Le32(3), B(false), B(true), I32(0)}));

  TReadFile reader(Temp.WriteBytes(
      "vars.qrv", Cat({Record("Count", "42", {}, true), Record("Trace", "2.5", 5)})));
  TData* count = ForLoad(Singles, eatINTEGER);
  count->Load(reader);
  EXPECT_EQ(std::make_tuple(count->GetName(), count->GetValueText(), count->IsReadOnly()),
            std::make_tuple("B1: Count", "42", true));
  EXPECT_TRUE(Singles.GetDataNameList().HasDataName("count"));
  TData* trace = ForLoad(Arrays, eatFLOAT);
  trace->Load(reader);
  EXPECT_EQ(trace->GetSize(), 5);
  EXPECT_EQ(trace->GetValueText(), "2.5,2.5,2.5,2.5,2.5");  // the initial value survives
  EXPECT_EQ(reader.BytesLeft(), 0u);
}

TEST_F(DataTest, DamagedRecordsRaiseTheReadError) {
  Single("Taken", eatSTRING);
  struct TCase {
    const char* what;
    bool array;
    int type;
    TBytes record;
  };
  const TCase cases[] = {
      {"duplicate name", false, eatSTRING, Record("TAKEN")},
      {"size 0", true, eatINTEGER, Record("a", {}, 0)},
      {"negative size", true, eatINTEGER, Record("b", {}, -3)},
      {"bad integer", false, eatINTEGER, Record("c", "x1")},
      {"bad float", true, eatFLOAT, Record("d", "1,5,", 2)},
      {"negative users", false, eatSTRING, Record("e", {}, {}, false, I32(-1))},
      {"users missing", false, eatSTRING, Record("f", {}, {}, false, Cat({Le32(1), Le32(100)}))},
      {"short", false, eatINTEGER, Cat({StringBytes("g"), B(true)})},
  };
  for (const TCase& c : cases) {
    TReadFile reader(Temp.WriteBytes("bad.qrv", c.record));
    TData* v = ForLoad(c.array ? static_cast<TDataList&>(Arrays) : Singles, c.type);
    EXPECT_THROW(v->Load(reader), EReadError) << c.what;
    delete v;
  }
}

TEST_F(DataTest, ImportOfATakenNameRenamesOrReassigns) {
  TData* n = Single("n", eatINTEGER);
  TData* k = Single("k", eatINTEGER);
  Single("s", eatSTRING);
  TChangeVarRequest asked;
  // Imports an integer "N" whose one user waits in the reader; answers that user.
  const auto import = [&](bool readOnly, bool stores,
                          std::function<void(TChangeVarRequest&)> answer) {
    Ui.SetDialogHandler([&asked, answer](TDialogRequest& request) {
      answer(dynamic_cast<TChangeVarRequest&>(request));
      asked = dynamic_cast<TChangeVarRequest&>(request);
      return 1;
    });
    TReadFile reader(Temp.WriteBytes(
        "block.qrv", Cat({Le32(100), Record("N", {}, {}, readOnly, Cat({Le32(1), Le32(100)}))})));
    TTestCommand* command = Command();
    command->Stores = stores;
    TVariableData* user = command->Use(nullptr);
    user->Load(reader);
    reader.GetVariableList().Add(user);
    TData* v = ForLoad(Singles, eatINTEGER);
    if (!v->LoadImported(reader)) delete v;
    return user;
  };
  const int count = Singles.GetCount();
  EXPECT_EQ(import(false, false, [&](auto& r) { r.ASelectedData = k; })->GetData(), k);
  EXPECT_EQ(Singles.GetCount(), count);  // the imported variable is gone
  EXPECT_FALSE(asked.OfferCancel);
  EXPECT_EQ(asked.Caption, "Please rename or reassign the variable N");
  EXPECT_EQ(asked.NameList, &Singles.GetDataNameList());
  using TChoices = std::vector<std::pair<std::string, TData*>>;
  EXPECT_EQ(asked.Choices, (TChoices{{"B1: n", n}, {"B1: k", k}}));

  TData* renamed =
      import(false, false, [](auto& r) { r.NewNameChosen = true, r.NewName = "N2"; })->GetData();
  EXPECT_EQ(renamed->GetName(), "B1: N2");
  EXPECT_TRUE(Singles.GetDataNameList().HasDataName("n2"));

  // Read-only, or stored into by a command: only a new name is offered.
  for (const bool readOnly : {true, false}) {
    import(readOnly, !readOnly,
           [&](auto& r) { r.NewNameChosen = true, r.NewName = readOnly ? "R" : "W"; });
    EXPECT_TRUE(asked.Choices.empty());
  }
  // A free name needs no dialog; a dialog that gives no answer ends the read.
  Ui.SetDialogHandler(nullptr);
  TReadFile fresh(Temp.WriteBytes("fresh.qrv", Record("Fresh")));
  EXPECT_TRUE(ForLoad(Singles, eatINTEGER)->LoadImported(fresh));
  TReadFile taken(Temp.WriteBytes("taken.qrv", Record("fresh")));
  EXPECT_THROW(ForLoad(Singles, eatINTEGER)->LoadImported(taken), EReadError);
}

TEST_F(DataTest, DestructionAndTheValueLock) {
  TData* v = Single("v", eatINTEGER);
  {
    const auto lock = v->LockValues();
    EXPECT_TRUE(lock.owns_lock());
    // Another thread finds it taken.
    EXPECT_FALSE(std::async(std::launch::async, [this] {
                   const bool taken = Exp.GetValueLock().try_lock();
                   if (taken) Exp.GetValueLock().unlock();
                   return taken;
                 }).get());
  }
  Command()->Use(v);
  delete v;
  EXPECT_TRUE(Live.empty());  // its command could not live without it
  EXPECT_FALSE(Singles.GetDataNameList().HasDataName("v"));
  EXPECT_EQ(Singles.GetCount(), 0);

  TTree tree;  // a list outside an experiment has no lock to take
  TDataSingleList detached(nullptr, tree.AddChild(nullptr, "Single Variables"));
  EXPECT_FALSE(detached.Add(B1, eatINTEGER, 1, "loose")->LockValues().owns_lock());
}

TEST(DataDeathTest, TypeOutsideTheRangeAndArrayWithoutElements) {
  TExperiment exp;
  TBlock* block = exp.AddBlock("B");
  TData* v = exp.GetDataSingleList()->Add(block, eatSTRING, 1, "v");
  EXPECT_DEATH(v->SetDataType(3), "Assertion failed: ");
  TData* a = exp.GetDataArrayList()->Add(block, eatSTRING, 2, "a");
  a->ClearValue();
  TTempDir temp;
  EXPECT_DEATH({
    TWriteFile writer(temp.PathOf("a.qrv"));
    a->Save(writer);
  }, "Assertion failed: PValueArray!=0");
}

}  // namespace
