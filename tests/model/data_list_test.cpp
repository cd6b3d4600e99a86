// The variable lists: block order, names that ignore case, the dialogs that add
// variables, the list records of experiment and block files, and the report listing.
#include "model/data_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/data_dialogs.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/variable.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

using TNames = std::vector<std::string>;
using TChoices = std::vector<std::pair<std::string, TData*>>;

// A user of a variable outside any command; it leaves the users when destroyed.
class TTestUser : public TVariable {
public:
  explicit TTestUser(TExpAttribute* bound) : Bound(bound) { Bound->AddUser(this); }
  ~TTestUser() override { Bound->RemoveUser(this); }
  void ClearRef() override {}
  bool ReleaseRef() override { return false; }
  bool ResolveLoadedLink(TExpAttribute*, std::int32_t) override { return false; }
  std::int32_t GetPendingId() const override { return -1; }
  bool NotifyOwner(int) override { return true; }
  void Save(TWriteFile&) override {}
  void Load(TReadFile&) override {}
  TAttributeScript* GetScriptOwner() const override { return nullptr; }
  TExpAttribute* Bound;
};

// A variable record without users: name, [array size], initial value, read-only, 0 users.
TBytes Record(const std::string& name, std::optional<std::string> initial = {},
              std::optional<std::int32_t> size = {}) {
  return Cat({StringBytes(name), size ? I32(*size) : TBytes{}, B(initial.has_value()),
              initial ? StringBytes(*initial) : TBytes{}, B(false), I32(0)});
}

class DataListTest : public TExperimentFixture {
protected:
  // Display names (block title and name) in list order.
  static TNames Names(const TDataList& list) {
    std::vector<TData*> all{nullptr};  // GetAll starts afresh
    list.GetAll(all);
    TNames names;
    for (TData* v : all) names.push_back(v ? v->GetName() : "(kept from before)");
    return names;
  }
  TBytes Saved(TDataList& list) {
    return Written([&list](TWriteFile& writer) { list.Save(writer); });
  }

  TDataSingleList& Singles = *Exp.GetDataSingleList();
  TDataArrayList& Arrays = *Exp.GetDataArrayList();
  TBlock* B1 = Exp.AddBlock("B1");
  TBlock* B2 = Exp.AddBlock("B2");
};

TEST_F(DataListTest, KeepsBlockOrderNamesIgnoringCaseAndAcceptsFittingVariables) {
  TData* alpha = Singles.Add(B2, 1, 1, "Alpha");
  TData* beta = Singles.Add(B1, 0, 1, "beta");
  Singles.Add(B2, 2, 1, "gamma");
  TData* delta = Singles.Add(B1, 1, 1, "delta");
  // By block in tree order; within a block in order of creation.
  EXPECT_EQ(Names(Singles), (TNames{"B1: beta", "B1: delta", "B2: Alpha", "B2: gamma"}));
  EXPECT_TRUE(Singles.AExpAttNode->GetExpanded());
  EXPECT_TRUE(Singles.GetDataNameList().HasDataName("ALPHA"));
  EXPECT_FALSE(Singles.GetDataNameList().HasDataName("Alpha1"));
  std::vector<TData*> found{alpha};  // appended to
  Singles.GetDataOfBlock(B1, found);
  EXPECT_EQ(found, (std::vector<TData*>{alpha, beta, delta}));

  B2->AExpNode->MoveTo(B1->AExpNode, TNodeAttachMode::naInsert);
  Singles.Add(B1, 0, 1, "eps");
  EXPECT_EQ(Names(Singles),
            (TNames{"B2: Alpha", "B2: gamma", "B1: beta", "B1: delta", "B1: eps"}));

  TData* four = Arrays.Add(B1, 1, 4, "four");
  TData* six = Arrays.Add(B1, 1, 6, "six");
  const struct {
    TDataList* list;
    int type, size;
    TData* variable;
    bool accepted;
  } cases[] = {
      {&Arrays, 1, 5, four, false}, {&Arrays, 1, 5, alpha, false}, {&Arrays, 1, 5, six, true},
      {&Arrays, 1, 6, six, true},   {&Arrays, 1, 1, six, false},   {&Arrays, 2, 5, six, false},
      {&Singles, 1, 1, alpha, true}, {&Singles, 1, 2, alpha, false}, {&Singles, 0, 1, alpha, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.list->Accepts(c.type, c.size, c.variable), c.accepted)
        << c.variable->GetDataName() << " type " << c.type << " size " << c.size;
}

TEST_F(DataListTest, AddsThroughTheDialogsOrExplainsWhyNot) {
  const char* const noBlock = "You must select a block before you can add a variable.";
  const struct {
    TDataList* list;
    bool running;
    const char *userAdd, *addNew;
  } refusals[] = {
      {&Singles, true, "Cannot add a variable while the experiment is running",
       "Cannot add a variable while the experiment is running"},
      {&Arrays, true, "Cannot add an array while the experiment is running",
       "Cannot add an array while the experiment is running"},
      {&Singles, false, noBlock, noBlock},
      {&Arrays, false, noBlock, "You must select a block before you can add an array."},
  };
  Ui.SetDialogHandler([](TDialogRequest&) { return ADD_FAILURE() << "dialog shown", 0; });
  for (const auto& c : refusals) {
    ExperimentRunning = c.running;  // no block is current
    Ui.Clear();
    c.list->UserAdd();
    c.list->AddNew();
    EXPECT_EQ(Ui.Texts(), (TNames{c.userAdd, c.addNew}));
    for (const auto& message : Ui.Shown())
      EXPECT_TRUE(message.Caption.empty() && message.Kind == TMessageKind::Information);
  }
  ExperimentRunning = false;

  // Edit mode answers one variable; add mode adds two and is then closed.
  std::vector<TDataFormRequest> seen;
  int answer = 1;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    auto& form = dynamic_cast<TDataFormRequest&>(request);
    seen.push_back(form);
    form.Type = 1, form.HasInitialValue = true, form.InitialValueText = "5";
    form.ReadOnly = form.ReadOnlyAllowed;
    if (form.Mode == TDataFormRequest::dmEDIT)
      return form.Name = "edited", form.ArraySize = 7, answer;
    form.Name = "n1", form.List->Create(form.Block, form);
    form.Name = "n2", form.ArraySize = 3, form.List->Create(form.Block, form);
    return 0;
  });
  Exp.SelectBlock(B2->AExpNode);
  Singles.UserAdd();
  Arrays.AddNew();
  TData* array = Arrays.AddWithDialog(B1, false);
  answer = 0;
  EXPECT_EQ(Arrays.AddWithDialog(B1, true), nullptr);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_TRUE(seen[0].Mode == TDataFormRequest::dmEDIT && !seen[0].ShowArraySize &&
              seen[0].ReadOnlyAllowed && seen[0].NameList == &Singles.GetDataNameList());
  EXPECT_TRUE(seen[1].Mode == TDataFormRequest::dmADD && seen[1].ShowArraySize &&
              seen[1].ArraySize == 10 && seen[1].List == &Arrays && seen[1].Block == B2 &&
              seen[1].NameList == &Arrays.GetDataNameList());
  EXPECT_TRUE(seen[2].ShowArraySize && seen[2].ArraySize == 10 && !seen[2].ReadOnlyAllowed);

  std::vector<TData*> made;
  Singles.GetAll(made);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0]->GetName(), "B2: edited");
  EXPECT_TRUE(made[0]->IsReadOnly() && made[0]->GetDataType() == 1);
  EXPECT_EQ(made[0]->GetInitialValueText(), "5");
  EXPECT_EQ(Names(Arrays), (TNames{"B1: edited", "B2: n1", "B2: n2"}));
  Arrays.GetAll(made);
  EXPECT_EQ(made[0], array);
  EXPECT_FALSE(array->IsReadOnly());
  EXPECT_EQ((std::vector<int>{made[0]->GetSize(), made[1]->GetSize(), made[2]->GetSize()}),
            (std::vector<int>{7, 10, 3}));
}

TEST_F(DataListTest, OkOfTheAddModeMakesOneMoreVariableFromTheLastEntries) {
  // Add made "n1"; OK answers "n2" as the dialog's last entries, which the list makes.
  Ui.SetDialogHandler([](TDialogRequest& request) {
    auto& form = dynamic_cast<TDataFormRequest&>(request);
    form.Name = "n1", form.ArraySize = 4;
    form.List->Create(form.Block, form);
    form.Name = "n2", form.ArraySize = 3, form.Type = 2;
    return 1;
  });
  Exp.SelectBlock(B1->AExpNode);
  Arrays.AddNew();
  EXPECT_EQ(Names(Arrays), (TNames{"B1: n1", "B1: n2"}));
  std::vector<TData*> made;
  Arrays.GetAll(made);
  EXPECT_EQ(made[1]->GetSize(), 3);
  EXPECT_EQ(made[1]->GetDataType(), 2);
  // Cancelled, it makes none.
  Ui.SetDialogHandler([](TDialogRequest& request) {
    dynamic_cast<TDataFormRequest&>(request).Name = "n3";
    return 0;
  });
  Arrays.AddNew();
  EXPECT_EQ(Arrays.GetCount(), 2);
}

TEST_F(DataListTest, ListRecordWritesOneGroupPerRunOfABlock) {
  EXPECT_EQ(Saved(Singles), I32(0));
  Singles.Add(B1, 1, 1, "five")->SetInitialValue("5");
  // total 1, the block's identifier, 1 in the group, type integer, the record
  EXPECT_EQ(Saved(Singles), Cat({I32(1), I32(100), I32(1), I32(1), Record("five", "5")}));

  // A file may name one block in two groups; the order is kept and written again.
  Singles.Clear(false);
  B1->SetReadBlockID(7);
  B2->SetReadBlockID(8);
  const auto body = [](std::int32_t first, std::int32_t second) {
    return Cat({I32(3), I32(first), I32(1), I32(0), Record("x", "hi"), I32(second), I32(1),
                I32(2), Record("y"), I32(first), I32(1), I32(1), Record("z", "-3")});
  };
  TReadFile reader(Temp.WriteBytes("groups.qrv", body(7, 8)));
  Singles.Load(reader, {B2, B1});
  EXPECT_EQ(reader.BytesLeft(), 0u);
  EXPECT_EQ(Names(Singles), (TNames{"B1: x", "B2: y", "B1: z"}));
  EXPECT_EQ(Saved(Singles), body(100, 101));

  TWriteFile nowhere(Temp.PathOf("missing/list.qrv"));
  EXPECT_EQ(ErrorOf<EFileError>([&] { Singles.Save(nowhere); }), "Error writing datalist");
  TWriteFile nowhereBlock(Temp.PathOf("missing/block.qrb"), true);
  EXPECT_EQ(ErrorOf<EFileError>([&] { Singles.SaveBlock(nowhereBlock, B1); }),
            "Error writing datalist");
}

TEST_F(DataListTest, DamagedListRecordsEndInAReadError) {
  B1->SetReadBlockID(7);
  const std::pair<const char*, TBytes> damaged[] = {
      {"unknown block", Cat({I32(1), I32(9), I32(1), I32(1), Record("a")})},
      {"negative count", Cat({I32(1), I32(7), I32(-1), I32(1), Record("a")})},
      {"above the total", Cat({I32(1), I32(7), I32(2), I32(1), Record("a"), I32(1), Record("b")})},
      {"type 3", Cat({I32(1), I32(7), I32(1), I32(3), Record("a")})},
      {"type -1", Cat({I32(1), I32(7), I32(1), I32(-1), Record("a")})},
      {"duplicate name", Cat({I32(2), I32(7), I32(2), I32(1), Record("v"), I32(1), Record("V")})},
      {"huge count", Cat({I32(0x7FFFFFFF), I32(7), I32(0x7FFFFFFF), I32(1)})},
  };
  for (const auto& [what, bytes] : damaged) {
    TReadFile reader(Temp.WriteBytes("damaged.qrv", bytes));
    EXPECT_THROW(Singles.Load(reader, {B1}), EReadError) << what;
    Singles.Clear(false);
  }
  TReadFile none(Temp.WriteBytes("none.qrv", Cat({I32(-4), I32(55)})));
  Singles.Load(none, {B1});  // a total of 0 or less reads nothing more
  EXPECT_EQ(none.BytesLeft(), 4u);

  TReadFile negative(Temp.WriteBytes("negative.qrb", I32(-1)));
  EXPECT_EQ(ErrorOf<EReadError>([&] { Singles.LoadBlock(negative, B1); }), "Error reading data");
  for (const TBytes& bytes : {Cat({I32(1), I32(3), Record("a")}), Cat({I32(99999), I32(1)})}) {
    TReadFile reader(Temp.WriteBytes("damaged.qrb", bytes));
    EXPECT_THROW(Singles.LoadBlock(reader, B1), EReadError);
  }
  EXPECT_EQ(Singles.GetCount(), 0);
}

TEST_F(DataListTest, BlockExportAndImport) {
  TData* a = Singles.Add(B1, 1, 1, "a");
  TData* b = Singles.Add(B2, 0, 1, "b");
  TData* c = Singles.Add(B2, 2, 1, "c");
  Singles.Add(B2, 1, 1, "d");
  TTestUser exportedUse(b), otherUse(c);
  {
    TWriteFile writer(Temp.PathOf("block.qrb"), true);
    writer.GetBlockVariableList()->push_back(&exportedUse);
    Singles.SaveBlock(writer, B1);
    writer.Commit();
  }
  // a (own), then b (used by an exported command) with its one exported user.
  EXPECT_EQ(Temp.ReadBytes("block.qrb"), Cat({I32(2), I32(1), Record("a"), I32(0), StringBytes("b"),
                                              B(false), B(false), I32(1), I32(100)}));

  // Into B2: the first "a" is given to the existing one and goes, the second is renamed.
  int asked = 0;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    auto& change = dynamic_cast<TChangeVarRequest&>(request);
    if (++asked == 1) change.ASelectedData = a;
    else change.NewNameChosen = true, change.NewName = "a2";
    return 1;
  });
  TReadFile reader(Temp.WriteBytes("import.qrb", Cat({I32(3), I32(1), Record("a", "4"), I32(1),
                                                      Record("A"), I32(2), Record("fresh")})));
  Singles.LoadBlock(reader, B2);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Names(Singles), (TNames{"B1: a", "B2: b", "B2: c", "B2: d", "B2: a2", "B2: fresh"}));
  EXPECT_EQ(Singles.GetDataNameList().Count(), 6);
}

TEST_F(DataListTest, SelectVariableOffersTheFittingVariablesOfTheBlock) {
  TData* n = Singles.Add(B1, 1, 1, "n");
  Singles.Add(B1, 2, 1, "f");
  Singles.Add(B2, 1, 1, "m");
  std::vector<TChangeVarRequest> asked;
  int answer = 1;
  std::string newName;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    auto& change = dynamic_cast<TChangeVarRequest&>(request);
    asked.push_back(change);
    if (newName.empty()) change.ASelectedData = change.Choices.at(0).second;
    else change.NewNameChosen = true, change.NewName = newName;
    return answer;
  });
  const std::string caption = "Variable to store read bytes";
  EXPECT_EQ(Singles.SelectVariable(caption, B1, 1, 1), n);
  EXPECT_TRUE(asked[0].OfferCancel && asked[0].Caption == caption &&
              asked[0].NameList == &Singles.GetDataNameList());
  EXPECT_EQ(asked[0].Choices, (TChoices{{"n", n}}));
  newName = "count";
  TData* made = Singles.SelectVariable(caption, B1, 1, 1);
  EXPECT_TRUE(made && made->GetDataType() == 1 && made->GetBlockOwner() == B1);
  EXPECT_EQ(Names(Singles), (TNames{"B1: n", "B1: f", "B1: count", "B2: m"}));
  answer = 0;
  EXPECT_EQ(Singles.SelectVariable(caption, B1, 1, 1), nullptr);

  answer = 1;
  Arrays.Add(B1, 1, 4, "four");
  TData* six = Arrays.Add(B1, 1, 6, "six");
  made = Arrays.SelectVariable("Variable to store read data", B1, 5, 1);
  EXPECT_EQ(asked.back().Choices, (TChoices{{"six", six}}));
  EXPECT_TRUE(made && made->GetSize() == 5 && made->GetDataName() == "count");
}

TEST_F(DataListTest, ReportListsEveryVariableWithItsUsers) {
  TData* x = Singles.Add(B2, 1, 1, "x");
  Singles.Add(B1, 0, 1, "s");
  Arrays.Add(B1, 2, 7, "arr");
  TTestUser u1(x), u2(x);
  TLineReport report("# ");
  Singles.WriteReport(report);
  Arrays.WriteReport(report);
  EXPECT_EQ(report.Lines, (TNames{"# Name\t\tType\tBlock\t\tCommands Using",
                                  "s\t\tString\tB1\t0",
                                  "x\t\tInteger\tB2\t2",
                                  "# Name\t\tSize\tType\tBlock\t\tCommands Using",
                                  "arr\t\t7\tFloat\tB1\t0"}));
}

}  // namespace
