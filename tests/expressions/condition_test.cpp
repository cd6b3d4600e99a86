// Conditions of the branching commands: the five comparisons across integer, float and
// string, evaluation through variables, array elements and constants, the node and
// trace texts, the records byte by byte and read back, damaged records, the retype
// questions, and the Decision's condition in an experiment file.
#include "expressions/condition.h"

#include <set>

#include "model/errors.h"
#include "model/read_file.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "scripts/attribute_script.h"
#include "scripts/flow/dec_script.h"
#include "shell/experiment_file.h"
#include "support/experiment_fixture.h"

namespace {

const char* const Operators[] = {"==", ">", ">=", "<", "<="};

// What each comparison answers when a is below (-1), equal to (0) or above (1) b.
bool Holds(int comparison, int order) {
  switch (comparison) {
    case EQ: return order == 0;
    case GT: return order > 0;
    case GE: return order >= 0;
    case LT: return order < 0;
    default: return order <= 0;
  }
}

// An If-Then-like command: its text is its condition's.
class TCondCommand : public TConditionAttributeScript {
public:
  TCondCommand(TBlock* block, TTreeNode* node, std::set<TCondCommand*>& live)
      : TConditionAttributeScript(block, node), Live(live) {
    Live.insert(this);
  }
  ~TCondCommand() override { Live.erase(this); }

  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "If " + (ACondition ? ACondition->GetText() : "-"); }
  int GetScriptType() const override { return IFTHEN; }

  std::set<TCondCommand*>& Live;
};

// Binds the references waiting in the reader to the variables of identifiers 100, 101, ...
void Bind(TReadFile& reader, const std::vector<TData*>& ids) {
  for (std::size_t id = 0; id < ids.size(); ++id)
    for (TVariable* waiting : reader.GetVariableList().Waiting())
      waiting->ResolveLoadedLink(ids[id], 100 + static_cast<std::int32_t>(id));
}

class ConditionTest : public TExperimentFixture {
protected:
  void TearDown() override {
    while (!Live.empty()) delete *Live.begin();
    TExperimentFixture::TearDown();
  }
  // A single variable holding the value (none when empty).
  TDataSingle* Var(const std::string& name, int type, const std::string& value = "") {
    TDataSingle* v = Single(Block, name, type);
    if (!value.empty()) v->GetValue().SetText(value);
    return v;
  }
  TDataArray* Values(const std::string& name, int type, const std::vector<std::string>& values) {
    TDataArray* v = Array(Block, name, type, static_cast<std::int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
      v->GetValueArray().SetElementText(values[i], static_cast<std::int32_t>(i));
    return v;
  }
  TCondCommand* Command() { return new TCondCommand(Block, NewNode(Block), Live); }
  static TVariableArrayIndex& IndexOf(TVariableData* reference) {
    return static_cast<TVariableDataArray*>(reference)->GetArrayIndex();
  }
  TBytes Saved(TCondCommand* command, std::vector<TVariable*>* exported = nullptr) {
    return Written([&](TWriteFile& w) { command->SaveCondition(w); }, "w.qrv", exported);
  }

  TBlock* Block = NewBlock("B1");
  std::set<TCondCommand*> Live;
};

TEST(ComparisonTest, EveryComparisonAcrossEveryTypePair) {
  // order: how a stands to b by their exact values.
  const struct { std::int32_t i; float f; int order; } intFloat[] = {
      {3, 3.0f, 0}, {16777217, 16777216.0f, 1}, {-2, -1.5f, -1},
      {0, -0.0f, 0}, {2147483647, 2147483648.0f, -1}
  };
  const struct { float a, b; int order; } floats[] = {
      {0.1f, 0.1f, 0}, {2.5f, 2.4999998f, 1}, {-1e30f, 1e-30f, -1}
  };
  const struct { std::int32_t a, b; int order; } ints[] = {
      {5, 5, 0}, {-7, 3, -1}, {-2147483647 - 1, 2147483647, -1}, {1, 0, 1}
  };
  for (int type = EQ; type <= LE; ++type) {
    const std::unique_ptr<TComparison> c = TComparison::Make(type);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetType(), type);
    EXPECT_EQ(c->GetText(), Operators[type]);
    for (const auto& p : ints) EXPECT_EQ(c->CompareIntInt(p.a, p.b), Holds(type, p.order));
    for (const auto& p : floats)
      EXPECT_EQ(c->CompareFloatFloat(p.a, p.b), Holds(type, p.order)) << p.a << " " << p.b;
    for (const auto& p : intFloat) {
      EXPECT_EQ(c->CompareIntFloat(p.i, p.f), Holds(type, p.order)) << p.i << Operators[type];
      EXPECT_EQ(c->CompareFloatInt(p.f, p.i), Holds(type, -p.order)) << p.f << Operators[type];
    }
    // Texts: only "==" compares them, case-sensitively; the others never hold.
    EXPECT_EQ(c->CompareStrings("abc", "abc"), type == EQ);
    EXPECT_EQ(c->CompareStrings("", ""), type == EQ);
    EXPECT_FALSE(c->CompareStrings("abc", "ABC") || c->CompareStrings("b", "a") ||
                 c->CompareStrings("a", "b"));
  }
  EXPECT_EQ(TComparison::Make(5), nullptr);
  EXPECT_EQ(TComparison::Make(-1), nullptr);
}

TEST_F(ConditionTest, VariablesAndConstantsEvaluateAcrossTypes) {
  // The order of value 1 to value 2; between strings 0 when equal, 1 otherwise, and only
  // "==" can hold, even after a retype left another comparison.
  struct TPair { int type1; const char* value1; int type2; const char* value2; int order; };
  const TPair cases[] = {
      {eatINTEGER, "3", eatFLOAT, "3.0", 0},
      {eatINTEGER, "16777217", eatFLOAT, "16777216", 1},  // not rounded to a single
      {eatFLOAT, "16777216", eatINTEGER, "16777217", -1},
      {eatFLOAT, "2.5", eatINTEGER, "2", 1},
      {eatINTEGER, "-4", eatINTEGER, "7", -1},
      {eatFLOAT, "0.1", eatFLOAT, "0.1", 0},
      {eatFLOAT, "-1E-3", eatFLOAT, "-0.002", 1},
      {eatINTEGER, "", eatINTEGER, "0", 0},  // never held a value: 0
      {eatFLOAT, "", eatINTEGER, "0", 0},    // 0.0
      {eatSTRING, "", eatSTRING, "", 0},     // the empty text
      {eatSTRING, "abc", eatSTRING, "abc", 0},
      {eatSTRING, "abc", eatSTRING, "ABC", 1},
  };
  // A constant takes the variable's type.
  const struct { int type; const char* value; const char* constant; int order; } constants[] = {
      {eatINTEGER, "5", "5", 0},     {eatINTEGER, "-3", "+2", -1},
      {eatINTEGER, "", "0", 0},      {eatFLOAT, "2.5", "2", 1},
      {eatFLOAT, "0.1", "0.1", 0},   // both narrowed to the same single
      {eatFLOAT, "0.1", "0.100000001", 0},  // the same single again
      {eatFLOAT, "1E3", "999.9", 1}, {eatSTRING, "abc", "ABC", 1},
      {eatSTRING, "abc", "abc", 0},
  };
  const auto expected = [](int type, int comparison, int order) {
    return type == eatSTRING ? comparison == EQ && order == 0 : Holds(comparison, order);
  };
  TCondCommand* command = Command();
  int n = 0;
  for (const auto& c : cases) {
    TDataSingle* a = Var("a" + std::to_string(n), c.type1, c.value1);
    TDataSingle* b = Var("b" + std::to_string(n++), c.type2, c.value2);
    for (int type = EQ; type <= LE; ++type) {
      TConditionVariable condition(command);
      condition.SetCondition(a, b, type);
      EXPECT_EQ(condition.Evaluate(), expected(c.type1, type, c.order))
          << c.value1 << Operators[type] << c.value2;
    }
  }
  for (const auto& c : constants) {
    TDataSingle* v = Var("v" + std::to_string(n++), c.type, c.value);
    for (int type = EQ; type <= LE; ++type) {
      TConditionConstant condition(command);
      condition.SetCondition(v, c.constant, type);
      ASSERT_EQ(condition.GetConstant()->GetType(), c.type);
      EXPECT_EQ(condition.Evaluate(), expected(c.type, type, c.order))
          << c.value << Operators[type] << c.constant;
    }
  }
}

TEST_F(ConditionTest, ArrayElementsAreReadAtTheIndexCurrentWhenEvaluated) {
  TDataArray* x = Values("X", eatINTEGER, {"1", "5", "9"});
  TDataSingle* i = Var("I", eatINTEGER, "0");
  TDataSingle* limit = Var("L", eatFLOAT, "4.5");
  TCondCommand* command = Command();
  command->SetVariableCondition(x, limit, GT);
  auto* condition = static_cast<TConditionVariable*>(command->GetCondition());
  IndexOf(condition->GetVariable1()).SetIndexVariable(i);
  EXPECT_EQ(command->AExpNode->GetText(), "If X[I]>L");
  const struct { const char* index; bool result; const char* values; } steps[] = {
      {"0", false, "1>4.5"}, {"1", true, "5>4.5"}, {"2", true, "9>4.5"}
  };
  for (const auto& s : steps) {
    i->GetValue().SetText(s.index);
    EXPECT_EQ(condition->Evaluate(), s.result) << s.index;
    EXPECT_EQ(condition->GetValueText(), s.values);
  }
  for (const char* outside : {"3", "-1"}) {
    i->GetValue().SetText(outside);
    EXPECT_THROW(condition->Evaluate(), EExperimentError) << outside;
  }

  // A constant index, and an element against a constant.
  IndexOf(condition->GetVariable1()).SetIndexConstant(2);
  EXPECT_TRUE(condition->Evaluate());
  command->SetConstantCondition(x, "9", GE);
  IndexOf(command->GetCondition()->GetVariable1()).SetIndexConstant(1);
  EXPECT_FALSE(command->GetCondition()->Evaluate());
  EXPECT_EQ(command->GetCondition()->GetValueText(), "5>=9");
}

TEST_F(ConditionTest, NodeAndTraceTexts) {
  TDataSingle* a = Var("A", eatINTEGER, "7");
  TDataArray* b = Values("B", eatINTEGER, {"1", "2", "9"});
  TDataSingle* s = Var("S", eatSTRING, "xyz");
  TDataSingle* f = Var("F", eatFLOAT, "1.25");
  TCondCommand* command = Command();

  command->SetVariableCondition(a, b, GE);
  IndexOf(static_cast<TConditionVariable*>(command->GetCondition())->GetVariable2())
      .SetIndexConstant(2);
  EXPECT_EQ(command->GetCondition()->GetText(), "A>=B[2]");
  EXPECT_EQ(command->GetCondition()->GetValueText(), "7>=9");
  EXPECT_EQ(command->AExpNode->GetText(), "If A>=B[2]");
  a->SetDataName("Alpha");  // a rename shows on the node
  EXPECT_EQ(command->AExpNode->GetText(), "If Alpha>=B[2]");

  struct TCase { TData* data; const char *constant; int comparison; const char *text, *values; };
  const TCase constants[] = {
      {s, "abc", EQ, "S==\"abc\"", "xyz==abc"},
      {a, "-5", LT, "Alpha<-5", "7<-5"},
      {f, "2.50", LE, "F<=2.50", "1.25<=2.50"},
  };
  for (const auto& c : constants) {
    command->SetConstantCondition(c.data, c.constant, c.comparison);
    EXPECT_EQ(command->GetCondition()->GetText(), c.text);
    EXPECT_EQ(command->GetCondition()->GetValueText(), c.values);
    EXPECT_EQ(command->AExpNode->GetText(), std::string("If ") + c.text);
  }

  // Incomplete conditions have no texts.
  TConditionVariable partial(command);
  TConditionConstant noConstant(command), noComparison(command);
  EXPECT_EQ(partial.GetText(), "");
  partial.SetVariable1(a);
  partial.SetComparison(EQ);
  noConstant.SetVariable1(a);
  noConstant.SetComparison(EQ);
  noComparison.SetConstant(a, "1");
  for (TCondition* c : std::initializer_list<TCondition*>{&partial, &noConstant, &noComparison})
    EXPECT_EQ(c->GetText() + c->GetValueText(), "");
  partial.SetVariable2(s);
  EXPECT_EQ(partial.GetText(), "Alpha==S");
}

TEST_F(ConditionTest, TheCommandOwnsOneConditionOfEitherKind) {
  TDataSingle* a = Var("A", eatINTEGER);
  TDataSingle* b = Var("B", eatINTEGER);
  TCondCommand* command = Command();
  EXPECT_FALSE(command->HasCondition());
  EXPECT_EQ(Saved(command), B(false));

  command->SetVariableCondition(a, b, LT);
  TCondition* first = command->GetCondition();
  EXPECT_EQ(first->GetConditionType(), ectCONDVARIABLE);
  command->SetVariableCondition(b, a, GT);  // the same kind: the same object
  EXPECT_EQ(command->GetCondition(), first);
  EXPECT_EQ(command->AExpNode->GetText(), "If B>A");
  command->SetConstantCondition(a, "4", EQ);  // the other kind: replaced
  EXPECT_EQ(command->GetCondition()->GetConditionType(), ectCONDCONSTANT);
  EXPECT_EQ(b->GetUserCount(), 0);  // the old references left their variables
  EXPECT_EQ(a->GetUserCount(), 1);
  EXPECT_EQ(command->AExpNode->GetText(), "If A==4");
  command->SetVariableCondition(a, b, EQ);
  EXPECT_EQ(command->GetCondition()->GetConditionType(), ectCONDVARIABLE);
  EXPECT_FALSE(command->IsStoredVariable(a->GetUsers()[0]));
  command->ClearCondition();
  EXPECT_FALSE(command->HasCondition());
  EXPECT_FALSE(a->HasUsers() || b->HasUsers());
  EXPECT_EQ(command->AExpNode->GetText(), "If -");

  // A deleted command takes its condition's references along.
  command->SetVariableCondition(a, b, EQ);
  delete command;
  EXPECT_FALSE(a->HasUsers() || b->HasUsers());
}

TEST_F(ConditionTest, RecordsByteByByteAndReadBack) {
  TDataSingle* a = Var("A", eatINTEGER, "7");
  TDataArray* x = Values("X", eatFLOAT, {"1.5", "2.5", "8"});
  TDataSingle* i = Var("I", eatINTEGER, "1");
  TDataSingle* s = Var("S", eatSTRING, "abc");
  TDataSingle* f = Var("F", eatFLOAT, "0.5");
  // Identifiers: 100 and on, in the order the writer first meets the variables; exported:
  // the references, and indexes that name an index variable.
  const struct {
    std::function<void(TCondCommand*)> set;
    TBytes record;
    std::vector<TData*> ids;  // the variables of identifiers 100, 101, ...
    const char* text;
    std::size_t exported;
  } cases[] = {
      {[&](TCondCommand* c) {
         c->SetVariableCondition(x, a, LE);
         IndexOf(c->GetCondition()->GetVariable1()).SetIndexVariable(i);
       },
       Cat({B(true), I32(0), B(true), I32(100), B(true), I32(101), B(false), I32(LE), B(false),
            I32(102)}),
       {x, i, a}, "X[I]<=A", 3},
      {[&](TCondCommand* c) {
         c->SetVariableCondition(a, x, GE);
         IndexOf(static_cast<TConditionVariable*>(c->GetCondition())->GetVariable2())
             .SetIndexConstant(2);
       },
       Cat({B(true), I32(0), B(false), I32(100), I32(GE), B(true), I32(101), B(false), B(true),
            I32(2)}),
       {a, x}, "A>=X[2]", 2},
      {[&](TCondCommand* c) { c->SetConstantCondition(s, "abc", EQ); },
       Cat({B(true), I32(1), B(false), I32(100), I32(EQ), StringBytes("abc"), I32(eatSTRING)}),
       {s}, "S==\"abc\"", 1},
      {[&](TCondCommand* c) { c->SetConstantCondition(f, "2.5E-1", LT); },
       Cat({B(true), I32(1), B(false), I32(100), I32(LT), StringBytes("2.5E-1"), I32(eatFLOAT)}),
       {f}, "F<2.5E-1", 1},
  };
  for (const auto& c : cases) {
    TCondCommand* saved = Command();
    c.set(saved);
    EXPECT_EQ(Saved(saved), c.record) << c.text;

    TReadFile reader(Temp.WriteBytes("r.qrv", c.record));
    TCondCommand* read = Command();
    read->LoadCondition(reader);
    EXPECT_EQ(reader.BytesLeft(), 0u);
    EXPECT_EQ(read->GetCondition()->GetText(), "");  // nothing bound yet
    Bind(reader, c.ids);
    EXPECT_EQ(read->AExpNode->GetText(), std::string("If ") + c.text);
    EXPECT_TRUE(read->GetCondition()->IsComplete());
    EXPECT_EQ(read->GetCondition()->Evaluate(), saved->GetCondition()->Evaluate()) << c.text;
    EXPECT_EQ(Saved(read), c.record) << c.text;

    std::vector<TVariable*> exported;
    Saved(saved, &exported);
    EXPECT_EQ(exported.size(), c.exported) << c.text;
    for (TVariable* reference : exported) EXPECT_EQ(reference->GetScriptOwner(), saved);
  }
}

TEST_F(ConditionTest, DamagedRecordsRaiseTheReadError) {
  const auto record = [](std::int32_t kind, std::int32_t comparison, const TBytes& tail) {
    return Cat({B(true), I32(kind), B(false), I32(100), I32(comparison), tail});
  };
  const auto constant = [&](const char* text, std::int32_t type) {
    return record(1, EQ, Cat({StringBytes(text), I32(type)}));
  };
  const TBytes variable = Cat({B(false), I32(100)});
  // conditionError: "Error reading condition", else the stream's own error.
  const struct { TBytes bytes; bool conditionError; } cases[] = {
      {record(2, EQ, variable), true},    {record(-1, EQ, variable), true},
      {record(0, 5, variable), true},     {record(0, -1, variable), true},
      {constant("1", 3), true},           {constant("1", 255), true},
      {constant("1", -1), true},          {constant("abc", eatINTEGER), true},
      {constant("2.5", eatINTEGER), true}, {constant("1E39", eatFLOAT), true},
      {constant("", eatSTRING), true},    {record(0, EQ, {}), false},
      {record(1, EQ, StringBytes("1")), false}, {B(true), false},
  };
  for (const auto& c : cases) {
    TReadFile reader(Temp.WriteBytes("bad.qrv", c.bytes));
    TCondCommand* command = Command();
    try {
      command->LoadCondition(reader);
      ADD_FAILURE() << "a damaged condition was read";
    } catch (const EReadError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(ConditionReadError, 0) == 0, c.conditionError)
          << error.what();
    }
    delete command;  // with whatever was read of its condition
  }
}

TEST_F(ConditionTest, AVariableRetypedAsksTheConditionAndMayDeleteTheCommand) {
  const std::string mayNeverBeEqual =
      "A is of type Integer and B is of type Float.  These values may never be equal\r."
      "Do you wish to do this?  Selecting No will cause the command to be deleted.";
  // asksEquality: the condition's question about integer against float (else any question
  // is the variable's own: a user refuses the type); takes: the variable took the type;
  // kept: the command lives on.
  const struct {
    int type1, type2, comparison;
    char retyped;
    int newType;
    std::vector<TMessageButton> answers;
    bool asksEquality, takes, kept;
  } cases[] = {
      {eatINTEGER, eatINTEGER, EQ, 'B', eatFLOAT, {mbYes}, true, true, true},
      {eatINTEGER, eatINTEGER, EQ, 'B', eatFLOAT, {mbNo}, true, true, false},
      {eatINTEGER, eatINTEGER, GT, 'B', eatFLOAT, {}, false, true, true},
      {eatINTEGER, eatFLOAT, LE, 'B', eatINTEGER, {}, false, true, true},
      {eatINTEGER, eatINTEGER, EQ, 'A', eatSTRING, {}, false, true, false},
      {eatSTRING, eatSTRING, EQ, 'B', eatINTEGER, {mbYes}, false, true, false},
      {eatSTRING, eatSTRING, EQ, 'A', eatFLOAT, {mbNo}, false, false, true},
      {eatFLOAT, eatINTEGER, EQ, 'B', eatFLOAT, {}, false, true, true},
  };
  for (const auto& c : cases) {
    Ui.Clear();
    TDataSingle* a = Var("A", c.type1);
    TDataSingle* b = Var("B", c.type2);
    TCondCommand* command = Command();
    command->SetVariableCondition(a, b, c.comparison);
    for (TMessageButton answer : c.answers) Ui.ScriptAnswers({answer});
    TDataSingle* retyped = c.retyped == 'A' ? a : b;
    const int before = retyped->GetDataType();
    EXPECT_EQ(retyped->SetDataType(c.newType), c.takes);
    EXPECT_EQ(retyped->GetDataType(), c.takes ? c.newType : before);
    const std::vector<TFakeUiPort::TShown> shown = Ui.Shown();
    ASSERT_EQ(shown.size(), c.answers.size());
    if (!shown.empty()) {
      EXPECT_EQ(shown[0].Text == mayNeverBeEqual, c.asksEquality);
    }
    if (c.asksEquality) {
      EXPECT_EQ(shown[0].Caption, "Qorv Warning");
      EXPECT_EQ(shown[0].Kind, TMessageKind::Warning);
      EXPECT_EQ(shown[0].Buttons, static_cast<TMessageButtons>(mbYes | mbNo));
    }
    EXPECT_EQ(Live.count(command), c.kept ? 1u : 0u);
    EXPECT_EQ(a->GetUserCount() + b->GetUserCount(), c.kept ? 2 : 0);
    while (!Live.empty()) delete *Live.begin();
    delete a;
    delete b;
  }
}

TEST_F(ConditionTest, ConstantsFollowTheirVariablesType) {
  // proposed: the integer the constant is offered as, if it is asked; text: the
  // condition's text afterwards.
  const struct {
    int type;
    const char* constant;
    int comparison, newType;
    std::vector<TMessageButton> answers;
    const char* proposed;
    bool kept;
    const char* text;
  } cases[] = {
      {eatFLOAT, "2.5", EQ, eatINTEGER, {mbYes}, "2", true, "V==2"},
      {eatFLOAT, "-2.7", LT, eatINTEGER, {mbYes}, "-2", true, "V<-2"},
      {eatFLOAT, "2.5", EQ, eatINTEGER, {mbNo}, "2", false, ""},
      {eatFLOAT, "3", EQ, eatINTEGER, {}, nullptr, true, "V==3"},
      {eatFLOAT, "1E2", GE, eatINTEGER, {mbYes}, "100", true, "V>=100"},
      {eatINTEGER, "5", GT, eatFLOAT, {}, nullptr, true, "V>5"},
      {eatINTEGER, "5", GT, eatSTRING, {}, nullptr, true, "V>\"5\""},
      {eatFLOAT, "0.5", EQ, eatSTRING, {}, nullptr, true, "V==\"0.5\""},
      // A string constant that is no number cannot follow: the variable asks first.
      {eatSTRING, "abc", EQ, eatINTEGER, {mbYes}, nullptr, false, ""},
      {eatSTRING, "abc", EQ, eatFLOAT, {mbNo}, nullptr, true, "V==\"abc\""},
      {eatSTRING, "12", EQ, eatINTEGER, {}, nullptr, true, "V==12"},
      {eatSTRING, "1.5", EQ, eatFLOAT, {}, nullptr, true, "V==1.5"},
      {eatSTRING, "1.5", EQ, eatINTEGER, {mbYes}, "1", true, "V==1"},
  };
  for (const auto& c : cases) {
    Ui.Clear();
    TDataSingle* v = Var("V", c.type);
    TCondCommand* command = Command();
    command->SetConstantCondition(v, c.constant, c.comparison);
    for (TMessageButton answer : c.answers) Ui.ScriptAnswers({answer});
    v->SetDataType(c.newType);
    const std::vector<TFakeUiPort::TShown> shown = Ui.Shown();
    ASSERT_EQ(shown.size(), c.answers.size()) << c.constant;
    if (c.proposed) {
      EXPECT_EQ(shown[0].Text,
                std::string("You have changed the type to integer.  The old value was the float "
                            "value ") +
                    c.constant + " the new value will have to be " + c.proposed +
                    ".  Do you wish to use the new value.\rSelecting No will delete the command.");
      EXPECT_EQ(shown[0].Caption, "Qorv Warning");
      EXPECT_EQ(shown[0].Kind, TMessageKind::Warning);
      EXPECT_EQ(shown[0].Buttons, static_cast<TMessageButtons>(mbYes | mbNo));
    }
    EXPECT_EQ(Live.count(command), c.kept ? 1u : 0u) << c.constant;
    if (c.kept) {
      EXPECT_EQ(command->AExpNode->GetText(), std::string("If ") + c.text);
      auto* condition = static_cast<TConditionConstant*>(command->GetCondition());
      EXPECT_EQ(condition->GetConstant()->GetType(), v->GetDataType());
      EXPECT_NO_THROW(condition->Evaluate());
    }
    while (!Live.empty()) delete *Live.begin();
    delete v;
  }
}

TEST_F(ConditionTest, TextsComparedOtherwiseThanForEqualityAnswerFalse) {
  // "A>A" survives A becoming a string (the types stay equal), as does "N>5".
  TDataSingle* a = Var("A", eatINTEGER, "3");
  TDataSingle* n = Var("N", eatINTEGER, "9");
  TCondCommand* same = Command();
  same->SetVariableCondition(a, a, GT);
  TCondCommand* constant = Command();
  constant->SetConstantCondition(n, "5", GT);
  ASSERT_TRUE(a->SetDataType(eatSTRING));
  ASSERT_TRUE(n->SetDataType(eatSTRING));
  ASSERT_EQ(Live.size(), 2u);
  for (const char* value : {"", "5", "b"}) {
    a->GetValue().SetText(value);
    n->GetValue().SetText(value);
    EXPECT_FALSE(same->GetCondition()->Evaluate() || constant->GetCondition()->Evaluate());
  }
  EXPECT_EQ(constant->AExpNode->GetText(), "If N>\"5\"");
}

TEST_F(ConditionTest, TheConstantsOwnRules) {
  const struct {
    int type;
    const char* text;
    bool toString, toInteger, toFloat;  // CanConvertTo
  } cases[] = {
      {eatSTRING, "abc", true, false, false}, {eatSTRING, "2,5", true, false, false},
      {eatSTRING, "-2.5E3", true, true, true}, {eatSTRING, "7", true, true, true},
      {eatINTEGER, "7", true, true, true},     {eatFLOAT, "7.5", true, true, true},
  };
  for (const auto& c : cases) {
    TConstant constant;
    constant.SetConstant(c.text, c.type);
    EXPECT_EQ(constant.GetType(), c.type);
    EXPECT_EQ(constant.GetText(), c.text);
    EXPECT_EQ(constant.CanConvertTo(eatSTRING), c.toString) << c.text;
    EXPECT_EQ(constant.CanConvertTo(eatINTEGER), c.toInteger) << c.text;
    EXPECT_EQ(constant.CanConvertTo(eatFLOAT), c.toFloat) << c.text;
  }
  TConstant number;
  number.SetConstant("0.1", eatFLOAT);
  EXPECT_EQ(number.GetFloat(), 0.1f);
  number.SetConstant("-2147483648", eatINTEGER);
  EXPECT_EQ(number.GetInteger(), -2147483647 - 1);
  number.SetConstant("x", eatSTRING);
  EXPECT_EQ(number.GetString(), "x");
  EXPECT_FALSE(number.ChangeType(eatSTRING));
  EXPECT_TRUE(number.ChangeType(eatFLOAT));  // no float: the command must go
  EXPECT_TRUE(number.ChangeType(eatINTEGER));
  EXPECT_EQ(number.GetType(), eatSTRING);
  number.SetConstant("1E39", eatSTRING);
  EXPECT_TRUE(number.ChangeType(eatFLOAT));  // beyond a single
}

TEST_F(ConditionTest, ConsistencyFailures) {
  TDataSingle* a = Var("A", eatINTEGER);
  TDataSingle* s = Var("S", eatSTRING);
  TCondCommand* command = Command();
  TConditionVariable condition(command), unbound(command), mixed(command);
  condition.SetCondition(a, a, EQ);
  unbound.SetComparison(EQ);
  mixed.SetCondition(s, a, EQ);  // never left so by a retype or a file
  const struct {
    std::function<void()> fault;
    const char* message;
  } cases[] = {
      {[&] { condition.SetComparison(5); }, "Assertion failed: AComparison!=0"},
      {[&] { command->VariableNotify(nullptr, eatFLOAT); }, "Assertion failed: ACondition!=0"},
      {[&] { command->SetConstantCondition(a, "", EQ); },
       "Assertion failed: data1!=0&&!constant2.IsEmpty\\( \\)"},
      {[&] { command->SetConstantCondition(a, "1.5", EQ); }, "Assertion failed: "},
      {[&] { unbound.Evaluate(); }, "Assertion failed: "},
      {[&] { mixed.Evaluate(); }, "Assertion failed: type2==eatSTRING"},
      {[&] {
         command->SetVariableCondition(a, a, EQ);
         TReadFile reader(Temp.WriteBytes("again.qrv", Saved(command)));
         command->LoadCondition(reader);
       },
       "Assertion failed: ACondition==0"},
  };
  for (const auto& c : cases) EXPECT_DEATH(OnConsole(c.fault), c.message);
}

// The Decision's condition in a whole experiment file.
using DecisionConditionTest = TExperimentFixture;

TEST_F(DecisionConditionTest, SavedAndReadBack) {
  TBlock* start = AddBlock("Start");  // the first block: "Start Block"
  TBlock* yes = AddBlock("Yes");
  TBlock* no = AddBlock("No");
  Line(start, yes);
  Line(start, no);
  TDecScript* decision = start->GetDecScript();
  ASSERT_NE(decision, nullptr);
  TDataArray* x = Array(start, "X", eatFLOAT, 4);
  TDataSingle* i = Single(start, "I");
  TDataSingle* limit = Single(yes, "L");
  TDataSingle* name = Single(no, "S", eatSTRING);

  EXPECT_EQ(decision->GetText(), "Decision: Not Defined");
  decision->SetVariableCondition(x, limit, LT);
  static_cast<TVariableDataArray*>(decision->GetCondition()->GetVariable1())
      ->GetArrayIndex().SetIndexVariable(i);
  EXPECT_EQ(decision->AExpNode->GetText(), "Decision: If X[I]<L goto Yes");
  EXPECT_TRUE(decision->SetNextScript());  // a condition lets the run start
  decision->SetTrueBlock(no);
  EXPECT_EQ(decision->AExpNode->GetText(), "Decision: If X[I]<L goto No");

  // A variable condition, then a constant one, to a file and back; saved again, the
  // same file.
  const std::string path = Temp.PathOf("e.qve");
  std::string error;
  for (const bool constant : {false, true}) {
    ASSERT_TRUE(SaveExperimentFile(path, Exp, Parts, nullptr, error)) << error;
    const TBytes saved = Temp.ReadBytes("e.qve");
    TDrawParts parts;
    auto read = OpenExperimentFile(path, parts, nullptr, error);
    ASSERT_NE(read, nullptr) << error;
    TDecScript* back = BlockOfNode(read->GetExperimentTree().Item(0))->GetDecScript();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->AExpNode->GetText(), decision->AExpNode->GetText());
    EXPECT_EQ(back->GetCondition()->GetConditionType(),
              decision->GetCondition()->GetConditionType());
    ASSERT_TRUE(SaveExperimentFile(path, *read, parts, nullptr, error)) << error;
    EXPECT_EQ(Temp.ReadBytes("e.qve"), saved) << constant;
    read.reset();
    decision->SetConstantCondition(name, "on", EQ);
    EXPECT_EQ(decision->AExpNode->GetText(), "Decision: If S==\"on\" goto No");
  }

  // Its variable deleted, the Decision keeps its node without condition and refuses
  // the next run.
  delete name;
  EXPECT_EQ(start->GetDecScript(), decision);
  EXPECT_FALSE(decision->HasCondition());
  EXPECT_EQ(decision->AExpNode->GetText(), "Decision: Not Defined");
  Ui.Clear();
  EXPECT_FALSE(decision->SetNextScript());
  EXPECT_EQ(Ui.Texts(), TTexts{"You must define the Decision Scipt in Start Block."});

  // A retype that leaves the condition unusable also only clears it.
  decision->SetVariableCondition(i, limit, EQ);
  ASSERT_TRUE(i->SetDataType(eatSTRING));
  EXPECT_EQ(start->GetDecScript(), decision);
  EXPECT_FALSE(decision->HasCondition());
  EXPECT_FALSE(i->HasUsers() || limit->HasUsers());

  // A variable compared with itself: deleting it drops both references at once.
  decision->SetVariableCondition(limit, limit, EQ);
  EXPECT_EQ(limit->GetUserCount(), 2);
  delete limit;
  EXPECT_EQ(start->GetDecScript(), decision);
  EXPECT_FALSE(decision->HasCondition());
}

TEST_F(DecisionConditionTest, ReadConditionsThatCannotBeEvaluatedAreRefused) {
  TBlock* start = AddBlock("Start");
  TBlock* yes = AddBlock("Yes");
  TBlock* no = AddBlock("No");
  TDataSingle* n = Single(start, "N");
  TDataSingle* s = Single(start, "S", eatSTRING);
  TDataArray* x = Array(start, "X", eatINTEGER, 3);
  const TBytes twoSingles = Cat({B(false), I32(100), I32(EQ), B(false), I32(101)});
  const auto constant = [](const TBytes& first, std::int32_t type) {
    return Cat({B(true), I32(1), first, I32(EQ), StringBytes("3"), I32(type)});
  };
  const TBytes single = Cat({B(false), I32(100)});
  const struct {
    TBytes record;
    std::vector<TData*> ids;  // bound to identifiers 100, 101, ...
    bool complete;
  } cases[] = {
      {Cat({B(true), I32(0), twoSingles}), {n, n}, true},
      {Cat({B(true), I32(0), twoSingles}), {n}, false},  // 101 not found
      {Cat({B(true), I32(0), twoSingles}), {s, n}, false},
      {Cat({B(true), I32(0), B(false), I32(100), I32(GT), B(false), I32(101)}), {s, s}, true},
      {constant(single, eatINTEGER), {n}, true},
      {constant(single, eatINTEGER), {s}, false},
      {constant(single, eatSTRING), {n}, false},
      // An array element by a constant, by a variable, and the entire array.
      {constant(Cat({B(true), I32(100), B(false), B(true), I32(1)}), eatINTEGER), {x}, true},
      {constant(Cat({B(true), I32(100), B(true), I32(101), B(false)}), eatINTEGER), {x, n}, true},
      {constant(Cat({B(true), I32(100), B(true), I32(101), B(false)}), eatINTEGER), {x}, false},
      {constant(Cat({B(true), I32(100), B(false), B(false)}), eatINTEGER), {x}, false},
  };
  for (const auto& c : cases) {
    TReadFile reader(Temp.WriteBytes("dec.qrv", c.record));
    TDecScript decision(start, Tree.AddChild(start->AExpNode, ""), yes, no);
    decision.LoadCondition(reader);
    Bind(reader, c.ids);
    const std::string error = CheckError(&decision);
    if (c.complete) {
      EXPECT_EQ(error, "");
      EXPECT_NO_THROW(decision.GetCondition()->Evaluate());
    } else {
      EXPECT_EQ(error.rfind(ConditionReadError, 0), 0u) << decision.GetCondition()->GetText();
    }
  }
  // Without condition (not defined yet: it reads, its run is refused), and without blocks.
  TDecScript none(start, nullptr, yes, no);
  EXPECT_NO_THROW(none.CheckAfterRead());
  TDecScript unresolved(start, nullptr);
  unresolved.SetConstantCondition(n, "1", EQ);
  EXPECT_EQ(CheckError(&unresolved), "Blocks not set for Decision script...aborting read");
}

}  // namespace
