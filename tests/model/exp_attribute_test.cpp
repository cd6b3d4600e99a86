// Experiment objects, attributes and attribute lists: the user list, rename, retype and
// delete through the users, saving and loading the user count, and clearing lists.
#include "model/exp_attribute.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/variable.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"
#include "scripts/copy_script.h"
#include "support/fake_ui_port.h"
#include "support/gpib_sim.h"
#include "support/temp_dir.h"

using TNames = std::vector<std::string>;

namespace {

// What the stand-ins did: destroyed objects and reference calls in order, live commands.
struct TLedger {
  TNames Deleted;
  TNames Events;
  std::set<TScript*> Live;
};

class TTestAttribute : public TExpAttribute {
public:
  TTestAttribute(const std::string& name, TTreeNode* node, TNames* deleted = nullptr)
      : TExpAttribute(name, node), Deleted(deleted) {}
  ~TTestAttribute() override { if (Deleted) Deleted->push_back(GetName()); }
  int Edit() override { return 0; }
  TAttributeType GetAttributeType() const override { return SINGLEVARIABLE; }
  TNames* Deleted;
};

class TTestList : public TExpAttList {
public:
  using TExpAttList::TExpAttList;
  void UserAdd() override {}
  void AddNew() override {}
  int GetListKind() const override { return 1; }
};

// A reference of a command: a user of the attribute it is bound to.
class TTestReference : public TVariable {
public:
  TTestReference(TAttributeScript* owner, std::string name, TNames* events)
      : Owner(owner), Name(std::move(name)), Events(events) {}
  ~TTestReference() override { if (Bound) Bound->RemoveUser(this); }
  void BindTo(TExpAttribute* attribute) { Bound = attribute, attribute->AddUser(this); }
  void ClearRef() override { Events->push_back("clear " + Name), Bound = nullptr; }
  bool ReleaseRef() override {
    if (!Owner->CanReleaseVariable(this)) return false;
    Bound = nullptr;
    return true;
  }
  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override {
    if (identifier != Pending) return false;
    BindTo(object);
    return true;
  }
  bool NotifyOwner(int type) override { return Owner->VariableNotify(this, type); }
  void Save(TWriteFile& writer) override { writer.WriteInteger(writer.GetObjectId(Bound)); }
  void Load(TReadFile& reader) override { reader.ReadInteger(Pending); }
  std::int32_t GetPendingId() const override { return Pending; }
  TAttributeScript* GetScriptOwner() const override { return Owner; }

  TAttributeScript* Owner;
  std::string Name;
  TNames* Events;
  TExpAttribute* Bound = nullptr;
  std::int32_t Pending = -1;
};

// A command owning its references; its text names the attributes they are bound to.
class TTestCommand : public TConditionAttributeScript {
public:
  TTestCommand(TLedger& ledger, std::string name, TTreeNode* node, int type)
      : TConditionAttributeScript(nullptr, node), Ledger(ledger), Name(std::move(name)),
        Type(type) {
    Ledger.Live.insert(this);
  }
  ~TTestCommand() override {
    Ledger.Deleted.push_back(Name);
    Ledger.Live.erase(this);
    for (TTestReference* reference : References) delete reference;
  }
  // A new reference, bound to the attribute when there is one.
  TTestReference* Use(TExpAttribute* attribute, const std::string& name) {
    References.push_back(new TTestReference(this, name, &Ledger.Events));
    if (attribute) References.back()->BindTo(attribute);
    return References.back();
  }

  int Edit() override { return 0; }
  bool DrawNode(TNodeStyle&) override { return false; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override {
    ++TextCalls;
    std::string text = Name;
    for (const TTestReference* reference : References)
      text += " " + (reference->Bound ? reference->Bound->GetName() : std::string("?"));
    return text;
  }
  int GetScriptType() const override { return Type; }
  bool VariableNotify(TVariable*, int type) override {
    TypesAsked.push_back(type);
    return type != RefusedType;
  }
  bool CanReleaseVariable(TVariable* reference) override { return Releasing.count(reference); }
  bool IsStoredVariable(TVariable*) override { return false; }
  bool RemoveVariable(TVariable* reference) override {
    RemoveAsked.push_back(static_cast<TTestReference*>(reference)->Name);
    return DiesWithVariable;
  }
  void ClearCondition() override { ++ConditionsCleared; }

  TLedger& Ledger;
  std::string Name;
  int Type;
  std::vector<TTestReference*> References;
  int TextCalls = 0, ConditionsCleared = 0, RefusedType = -1;
  std::vector<int> TypesAsked;
  std::set<TVariable*> Releasing;
  bool DiesWithVariable = true;
  TNames RemoveAsked;
};

// A clipboard copy record naming one attribute.
class TTestCopyRecord : public TBlockCopyScript {
public:
  TTestCopyRecord() : TBlockCopyScript(nullptr) {}
  bool CanPasteAt(TTreeNode*) override { return true; }
  void Enable() override { ADisabled = false; }
  int GetScriptType() override { return TScript::COMMENT; }
  // Releases the attributes it names, unless told to keep them.
  void Disable() override {
    ++DisableCalls;
    if (Clears)
      for (TExpAttribute* attribute : Named) attribute->ClearCopyScript();
    Named.clear();
    TCopyScript::Disable();
  }
  void Name(TExpAttribute* attribute) {
    attribute->SetCopyScript(this);
    Named.push_back(attribute);
  }
  std::vector<TExpAttribute*> Named;
  int DisableCalls = 0;
  bool Clears = true;
};

// Records the data of every node as it is about to leave the tree.
class TRemovalWatch : public TTreeObserver {
public:
  void NodeAboutToRemove(TTreeNode* node) override { DataAtRemoval.push_back(node->GetData()); }
  std::vector<void*> DataAtRemoval;
};

TBytes Ints(std::initializer_list<std::int32_t> values) {
  TBytes bytes;
  for (const std::int32_t value : values) bytes = Cat({bytes, Le32(std::uint32_t(value))});
  return bytes;
}

class ExpAttributeTest : public ::testing::Test {
protected:
  void SetUp() override {
    BlockNode = ExpTree.AddChild(nullptr, "Block");
    List = std::make_unique<TTestList>(nullptr, AttTree.AddChild(nullptr, "Variables"));
  }
  void TearDown() override {
    while (!Ledger.Live.empty()) delete *Ledger.Live.begin();
    List.reset();
  }

  TTestAttribute* NewAttribute(const std::string& name) {
    return new TTestAttribute(name, AttTree.AddChild(List->AExpAttNode, name), &Ledger.Deleted);
  }
  TTestCommand* NewCommand(const std::string& name, int type = TScript::CALCULATE) {
    return new TTestCommand(Ledger, name, ExpTree.AddChild(BlockNode, name), type);
  }
  TNames ListedNames() const {
    TNames names;
    for (TTreeNode* n = List->AExpAttNode->GetFirstChild(); n; n = n->GetNextSibling())
      names.push_back(static_cast<TExpAttribute*>(AttViewDataOfNode(n))->GetName());
    return names;
  }

  TTree ExpTree, AttTree, DebugTree;
  TFakeUiPort Ui;
  TLedger Ledger;
  TTreeNode* BlockNode = nullptr;
  std::unique_ptr<TTestList> List;
  TTempDir Temp;
};

TEST_F(ExpAttributeTest, UserListKeepsEachReferenceOnceAndIsFreedWhenEmpty) {
  TTestAttribute* v = NewAttribute("v");
  EXPECT_EQ(AttViewDataOfNode(v->AExpAttNode), static_cast<TExpAttViewData*>(v));
  TTestCommand* a = NewCommand("A");
  TTestReference* r0 = a->Use(v, "r0");
  TTestReference* r1 = a->Use(v, "r1");
  TTestReference* r2 = a->Use(v, "r2");
  EXPECT_EQ(v->AddUser(r1), 1);  // already listed: its position, no second entry
  EXPECT_EQ(v->GetUsers(), (std::vector<TVariable*>{r0, r1, r2}));
  v->RemoveUser(r0);  // the list closes up
  EXPECT_EQ(v->AddUser(r2), 1);
  EXPECT_EQ(v->AddUser(r0), 2);
  v->RemoveUser(r0);
  v->RemoveUser(r0);  // not listed any more: nothing happens
  EXPECT_EQ(v->GetUserCount(), 2);
  v->RemoveUser(r1);
  v->RemoveUser(r2);
  EXPECT_FALSE(v->HasUsers());
  for (TTestReference* r : {r0, r1, r2}) r->Bound = nullptr;  // they left the list above
}

TEST_F(ExpAttributeTest, ManyUsersKeepTheirOrderAndGoWithTheAttribute) {
  TTestAttribute* v = NewAttribute("v");
  TTestAttribute* w = NewAttribute("w");
  // 12,000 commands with two references to v each, and one to w.
  std::vector<TTestCommand*> commands;
  std::vector<TVariable*> users;
  for (int i = 0; i < 12000; ++i) {
    commands.push_back(NewCommand("C" + std::to_string(i)));
    users.push_back(commands.back()->Use(v, "a"));
    users.push_back(commands.back()->Use(v, "b"));
    commands.back()->Use(w, "w");
  }
  EXPECT_EQ(v->GetUsers(), users);
  EXPECT_EQ(v->AddUser(users[17]), 17);
  // Every third command goes, from the front, its references leaving on the way.
  std::vector<TVariable*> kept;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (i % 3 == 0) {
      delete commands[i];
    } else {
      kept.push_back(users[2 * i]);
      kept.push_back(users[2 * i + 1]);
    }
  }
  EXPECT_EQ(v->GetUsers(), kept);
  EXPECT_EQ(w->GetUserCount(), 8000);
  EXPECT_EQ(v->AddUser(kept.back()), static_cast<int>(kept.size()) - 1);
  // Destroying v clears every user once and deletes each command once; w loses the
  // references of those commands.
  Ledger.Events.clear();
  Ledger.Deleted.clear();
  delete v;
  EXPECT_EQ(Ledger.Events.size(), kept.size());
  EXPECT_EQ(Ledger.Deleted.size(), kept.size() / 2 + 1);  // the commands and v
  EXPECT_EQ(Ledger.Deleted.front(), "v");  // its own part goes first
  EXPECT_FALSE(w->HasUsers());
}

TEST_F(ExpAttributeTest, UsersAreRefreshedOnRenameAndAskedBeforeDeleteAndRetype) {
  TTestAttribute* v = NewAttribute("alpha");
  EXPECT_TRUE(v->CanDelete());  // unused: nothing to ask
  EXPECT_TRUE(v->CanChangeType(2));
  EXPECT_TRUE(Ui.Shown().empty());
  TTestCommand* a = NewCommand("A");
  TTestCommand* b = NewCommand("B");
  TTestCommand* idle = NewCommand("C");
  a->Use(v, "a1");
  b->Use(v, "b1");
  a->Use(v, "a2");
  b->DebugNode = DebugTree.AddChild(nullptr, "old");
  v->SetName("beta");  // each using command refreshed once
  EXPECT_EQ(v->AExpAttNode->GetText(), "beta");
  EXPECT_EQ((std::vector<int>{a->TextCalls, b->TextCalls, idle->TextCalls}),
            (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(a->AExpNode->GetText(), "A beta beta");
  EXPECT_EQ(b->AExpNode->GetText(), "B beta");
  EXPECT_EQ(b->DebugNode->GetText(), "B beta");

  Ui.ScriptAnswers({mbNo, mbYes});
  EXPECT_FALSE(v->CanDelete());
  EXPECT_TRUE(v->CanDelete());
  ASSERT_EQ(Ui.Shown().size(), 2u);
  const auto shown = Ui.Shown()[0];
  EXPECT_EQ(shown.Text,
            "Deleting this may delete one or more scripts.  Do you really want to do this?");
  EXPECT_EQ(shown.Caption, "Qorv Message");
  EXPECT_EQ(shown.Kind, TMessageKind::Warning);
  EXPECT_EQ(shown.Buttons, mbYes | mbNo);

  EXPECT_TRUE(v->CanChangeType(2));
  EXPECT_EQ(a->TypesAsked, (std::vector<int>{2, 2}));  // once per reference
  EXPECT_EQ(b->TypesAsked, std::vector<int>{2});
  b->RefusedType = 0;
  EXPECT_FALSE(v->CanChangeType(0));
  EXPECT_EQ(v->GetUserCount(), 3);  // asking removes nobody
}

TEST_F(ExpAttributeTest, DeleteIncompatibleUsersRemovesCommandsThatLetGo) {
  TTestAttribute* v = NewAttribute("v");
  TTestCommand* a = NewCommand("A");
  TTestCommand* b = NewCommand("B");
  TTestCommand* d = NewCommand("D", TScript::DECISION);
  a->Releasing = {a->Use(v, "a1")};
  TTestReference* b1 = b->Use(v, "b1");
  a->Use(v, "a2");
  d->Releasing = {d->Use(v, "d1")};
  d->Use(v, "d2");
  b->DebugNode = DebugTree.AddChild(nullptr, "stale");
  TTestCopyRecord record;
  record.SetExperiment(nullptr);
  record.Name(v);

  v->DeleteIncompatibleUsers();
  // A retyped attribute no longer matches a held copy: the copy lets go of it.
  EXPECT_EQ(record.DisableCalls, 1);
  EXPECT_TRUE(record.Disabled());
  EXPECT_EQ(v->GetCopyScript(), nullptr);
  EXPECT_EQ(Ledger.Deleted, TNames{"A"});
  EXPECT_EQ(Ledger.Events, (TNames{"clear a2", "clear d2"}));
  EXPECT_EQ(d->ConditionsCleared, 1);
  EXPECT_EQ(d->GetText(), "D ? ?");
  EXPECT_EQ(v->GetUsers(), std::vector<TVariable*>{b1});
  EXPECT_EQ(b->TextCalls, 1);
  EXPECT_EQ(b->AExpNode->GetText(), "B v");
  EXPECT_EQ(b->DebugNode->GetText(), "stale");

  // Nobody lets go: nothing is removed, the users' commands are refreshed once each.
  b->Use(v, "b2");
  v->DeleteIncompatibleUsers();
  EXPECT_EQ(v->GetUserCount(), 2);
  EXPECT_EQ(b->TextCalls, 2);
  EXPECT_EQ(b->AExpNode->GetText(), "B v v");

  // Every user lets go: the list is freed.
  b->Releasing.insert(b->References.begin(), b->References.end());
  v->DeleteIncompatibleUsers();
  EXPECT_EQ(Ledger.Deleted, (TNames{"A", "B"}));
  EXPECT_FALSE(v->HasUsers());
}

TEST_F(ExpAttributeTest, DestroyingObjectsDeletesTheirNodesAndDependentCommands) {
  TTestAttribute* v = NewAttribute("v");
  TTestAttribute* w = NewAttribute("w");
  TTestCommand* a = NewCommand("A");
  TTestCommand* b = NewCommand("B");
  TTestCommand* c = NewCommand("C");
  a->Use(v, "a1");
  b->Use(v, "b1");
  a->Use(v, "a2");
  c->Use(v, "c1");
  TTestReference* b2 = b->Use(w, "b2");
  b->DiesWithVariable = false;
  TTestCopyRecord record;
  record.Name(v);
  TRemovalWatch watch;
  AttTree.AddObserver(&watch);
  delete v;
  AttTree.RemoveObserver(&watch);
  EXPECT_EQ(record.DisableCalls, 1);
  EXPECT_TRUE(record.Disabled());
  EXPECT_EQ(Ledger.Events, (TNames{"clear a1", "clear b1", "clear a2", "clear c1"}));
  EXPECT_EQ(Ledger.Deleted, (TNames{"v", "A", "C"}));
  EXPECT_EQ(b->RemoveAsked, TNames{"b1"});
  EXPECT_EQ(b->GetText(), "B ? w");
  EXPECT_EQ(w->GetUsers(), std::vector<TVariable*>{b2});
  EXPECT_EQ(ListedNames(), TNames{"w"});
  EXPECT_EQ(watch.DataAtRemoval, std::vector<void*>{nullptr});  // data cleared first

  // A command likewise clears and deletes its node.
  EXPECT_EQ(b->AExpNode->GetData(), static_cast<TExperimentObject*>(b));
  ExpTree.AddObserver(&watch);
  delete b;
  ExpTree.RemoveObserver(&watch);
  EXPECT_EQ(watch.DataAtRemoval, (std::vector<void*>{nullptr, nullptr}));
  EXPECT_EQ(BlockNode->Count(), 0);
  EXPECT_FALSE(w->HasUsers());
}

TEST_F(ExpAttributeTest, UserRecordsWriteCountAndIdentifierAndBindWhenRead) {
  TTestAttribute* unused = NewAttribute("unused");
  TTestAttribute* v = NewAttribute("v");
  TTestAttribute* w = NewAttribute("w");
  TTestCommand* a = NewCommand("A");
  TTestReference* a1 = a->Use(v, "a1");
  TTestReference* a2 = a->Use(v, "a2");
  a->Use(w, "a3");
  {
    TWriteFile writer(Temp.PathOf("plain.qrv"));
    for (TExpAttribute* attribute : {unused, v, w}) attribute->SaveUsers(writer);
    writer.Commit();
  }
  EXPECT_EQ(Temp.ReadBytes("plain.qrv"), Ints({0, 2, 100, 1, 101}));

  // Read back, the attribute binds the references waiting under its identifier.
  {
    TWriteFile writer(Temp.PathOf("doc.qrv"));
    a1->Save(writer);
    a2->Save(writer);
    v->SaveUsers(writer);
    writer.Commit();
  }
  TTestAttribute* loaded = NewAttribute("loaded");
  TTestCommand* copy = NewCommand("A'");
  TTestReference* q1 = copy->Use(nullptr, "q1");
  TTestReference* q2 = copy->Use(nullptr, "q2");
  TTestReference* stray = copy->Use(nullptr, "stray");
  stray->Pending = 7;
  TReadFile reader(Temp.PathOf("doc.qrv"));
  q1->Load(reader);
  q2->Load(reader);
  for (TVariable* waiting : {q1, stray, q2}) reader.GetVariableList().Add(waiting);
  loaded->LoadUsers(reader);
  EXPECT_EQ(loaded->GetUsers(), (std::vector<TVariable*>{q1, q2}));
  EXPECT_EQ(copy->GetText(), "A' loaded loaded ?");
  EXPECT_EQ(reader.GetVariableList().Waiting(), std::vector<TVariable*>{stray});
  EXPECT_EQ(reader.BytesLeft(), 0u);

  // An unused attribute reads no identifier and binds nobody.
  TReadFile zero(Temp.WriteBytes("zero.qrv", Ints({0, 7})));
  zero.GetVariableList().Add(stray);
  TTestAttribute* idle = NewAttribute("idle");
  idle->LoadUsers(zero);
  EXPECT_EQ(zero.BytesLeft(), 4u);
  EXPECT_FALSE(idle->HasUsers());

  // A block export counts only the users written with the block.
  TTestReference* b1 = NewCommand("B")->Use(v, "b1");
  TTestReference* c2 = NewCommand("C")->Use(w, "c2");
  for (const bool exported : {true, false}) {
    TWriteFile writer(Temp.PathOf("block.qrv"), true);
    if (exported) *writer.GetBlockVariableList() = {b1, c2};
    v->SaveUsers(writer);
    writer.Commit();
    EXPECT_EQ(Temp.ReadBytes("block.qrv"), exported ? Ints({1, 100}) : Ints({0}));
  }
}

TEST_F(ExpAttributeTest, LoadUsersRefusesAWrongCount) {
  TTestCommand* a = NewCommand("A");
  // The error of loading the user record with references waiting under these identifiers.
  const auto failure = [&](std::initializer_list<std::int32_t> record,
                           std::initializer_list<std::int32_t> waiting) {
    TReadFile reader(Temp.WriteBytes("users.qrv", Ints(record)));
    for (const std::int32_t id : waiting) {
      TTestReference* reference = a->Use(nullptr, "r");
      reference->Pending = id;
      reader.GetVariableList().Add(reference);
    }
    return ErrorOf<EReadError>([&] { NewAttribute("x")->LoadUsers(reader); });
  };
  EXPECT_EQ(failure({2, 100}, {100, 101}), "Error reading attribute");  // one bound of two
  EXPECT_EQ(failure({1, 100}, {100, 100}), "Error reading attribute");  // two of one
  EXPECT_EQ(failure({-1, 100}, {100}), "Error reading attribute");
  EXPECT_EQ(failure({1, 100}, {}), "Error reading attribute");
  EXPECT_EQ(failure({1, 100}, {101, 100}), "(no error)");
}

TEST_F(ExpAttributeTest, ClearAsksWhenToldAndEmptiesTheList) {
  for (const char* name : {"x", "y", "z"}) NewAttribute(name);
  Ui.ScriptAnswers({mbNo, mbYes});
  List->Clear(true);
  EXPECT_EQ(ListedNames(), (TNames{"x", "y", "z"}));
  ASSERT_EQ(Ui.Shown().size(), 1u);
  const auto shown = Ui.Shown()[0];
  EXPECT_EQ(shown.Text,
            "You are about to remove everything from Variables.\rDo you really want to do this?");
  EXPECT_EQ(shown.Caption, "Qorv warning");
  EXPECT_EQ(shown.Kind, TMessageKind::Warning);
  EXPECT_EQ(shown.Buttons, mbYes | mbNo);
  List->Clear(true);
  EXPECT_EQ(Ledger.Deleted, (TNames{"x", "y", "z"}));
  EXPECT_FALSE(List->AExpAttNode->HasChildren());

  // Without asking; the unused only, the used kept in order.
  for (const char* name : {"p", "q"}) NewAttribute(name);
  Ui.Clear();
  List->Clear(false);
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_FALSE(List->AExpAttNode->HasChildren());
  std::vector<TTestAttribute*> attributes;
  for (const char* name : {"u0", "k1", "u2", "k3", "u4"}) attributes.push_back(NewAttribute(name));
  TTestCommand* a = NewCommand("A");
  a->Use(attributes[3], "r3");
  a->Use(attributes[1], "r1");
  Ledger.Deleted.clear();
  List->ClearUnused();
  EXPECT_EQ(ListedNames(), (TNames{"k1", "k3"}));
  EXPECT_EQ(Ledger.Deleted, (TNames{"u0", "u2", "u4"}));
}

TEST(ExpAttributeTables, TypeNamesAndImages) {
  const TNames typeNames = {"String", "Integer", "Float", "Text", "Table", "Graph", "Bignum"};
  for (int type = 0; type < 7; ++type) EXPECT_EQ(TypeName(type), typeNames[type]);
  EXPECT_EQ(TypeName(-1), "");
  EXPECT_EQ(TypeName(7), "");
  EXPECT_EQ(imgSINGLEROOT, 5);
  EXPECT_EQ(imgARRAYROOT, 9);
  for (int type = 0; type < 3; ++type) {
    EXPECT_EQ(AttributeImage(false, type), 6 + type);
    EXPECT_EQ(AttributeImage(true, type), 10 + type);
  }
  for (const bool isArray : {false, true}) {
    EXPECT_EQ(AttributeImage(isArray, -1), -1);
    EXPECT_EQ(AttributeImage(isArray, 3), -1);
  }
  const int outputImages[] = {-1, -1, -1, -1, 1, 2, 3, 4, -1};  // kinds -1 to 7
  for (int kind = -1; kind < 8; ++kind) EXPECT_EQ(OutputImage(kind), outputImages[kind + 1]);
}

// Consistency failures end the program; no fake port, so the report reaches stderr.
TEST(ExpAttributeDeathTest, CopyRecordLinksAndUsersWithoutCommand) {
  TTestAttribute v("v", nullptr);
  TTestCopyRecord first, second;
  v.SetCopyScript(&first);
  v.SetCopyScript(&first);
  EXPECT_EQ(v.GetCopyScript(), &first);
  EXPECT_DEATH(v.SetCopyScript(&second), "Assertion failed: Pcopyscript==script");
  EXPECT_DEATH(v.SetCopyScript(nullptr), "Assertion failed: script!=0");
  v.ClearCopyScript();
  v.SetCopyScript(&second);
  EXPECT_EQ(v.GetCopyScript(), &second);
  second.Clears = false;  // a record that keeps its link
  EXPECT_DEATH({ TTestAttribute w("w", nullptr); w.SetCopyScript(&second); },
               "Assertion failed: Pcopyscript==0");
  v.ClearCopyScript();

  TNames events;
  TTestReference orphan(nullptr, "orphan", &events);
  v.AddUser(&orphan);
  EXPECT_DEATH(v.SetName("w"), "Assertion failed: script!=0");
  v.RemoveUser(&orphan);
}

TEST(ExpAttributeDeathTest, ListWithoutNodeOrChildData) {
  TTree tree;
  TTreeNode* root = tree.AddChild(nullptr, "Variables");
  TTestList list(nullptr, root);
  tree.AddChild(root, "empty");
  EXPECT_DEATH(list.Clear(false), "Assertion failed: firstnode->Data!=0");
  EXPECT_DEATH(list.ClearUnused(), "Assertion failed: node->Data!=0");
  root->DeleteChildren();
  TTestList detached(nullptr, nullptr);
  EXPECT_DEATH(detached.Clear(false), "Assertion failed: TExpAttViewData::AExpAttNode!=0");
  EXPECT_DEATH(detached.ClearUnused(), "Assertion failed: TExpAttViewData::AExpAttNode!=0");
}

}  // namespace
