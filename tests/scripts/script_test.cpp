// The command base: the run-order walk, drops and moves in the tree, comment-out and
// the drawing styles, the base record, and the end-point base of Else and End If.
#include "scripts/script.h"

#include "model/errors.h"
#include "model/node_style.h"
#include "scripts/attribute_script.h"
#include "scripts/flow/blank_script.h"
#include "support/experiment_fixture.h"

namespace {

// An End If (or Else) linked to an If-Then.
class TStubEndPoint : public TEndPointScript {
public:
  TStubEndPoint(TBlock* block, TTreeNode* node) : TEndPointScript(block, node) {}
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "End If"; }
  int GetScriptType() const override { return ENDIF; }
  void SetCommentedOutFromStart(bool) override {}
  bool IsElse() override { return false; }
  TEndPointScript* GetEndIfScript() override { return EndIf ? EndIf : this; }
  TScript* GetIfThenScript() override { return IfThen; }

  TEndPointScript* EndIf = nullptr;  // set for an Else
  TScript* IfThen = nullptr;
};

class ScriptTest : public TCommandFixture {
protected:
  // A stand-in in B1 or in the parent's lines; a section's opening line.
  TStub* Add(const std::string& text, TScript* parent = nullptr, int type = TScript::CALCULATE) {
    return Stub(parent ? parent->Pblock : B1, text, type, parent);
  }
  TStub* Section(const std::string& text, TScript* parent = nullptr) {
    TStub* s = Add(text, parent);
    s->Opens = true;
    return s;
  }
  // The node texts below a node, sections in brackets: "A IF[X Y] C".
  static std::string Outline(const TTreeNode* node) {
    return TExperimentFixture::Outline(node, " ");
  }
};

TEST_F(ScriptTest, NextNodeWalksSiblingsAndLeavesSectionsAfterTheirOpeningLine) {
  TStub* a = Add("A");
  TStub* ifthen = Section("IF");
  TStub* x = Add("X", ifthen);
  TStub* inner = Section("IF2", ifthen);
  TStub* w = Add("W", inner);
  TStub* endif2 = Add("ENDIF2", ifthen);
  TStub* elseline = Section("ELSE");
  TStub* z = Add("Z", elseline);
  TStub* endif = Add("ENDIF");
  TStub* c = Add("C");

  const std::vector<std::pair<TStub*, TStub*>> walk = {
      {a, ifthen}, {x, inner}, {w, endif2},  // the last line of the inner section
      {endif2, elseline},                    // of the then-section: the Else
      {z, endif}, {endif, c}, {c, nullptr},  // the end of the block
  };
  for (const auto& [from, to] : walk) {
    EXPECT_EQ(from->GetNextNode(), to ? to->AExpNode : nullptr) << from->Text;
    EXPECT_EQ(from->GetFollowingNode(), from->GetNextNode()) << from->Text;
    from->Pnextscript = from;
    EXPECT_TRUE(from->SetNextScript());
    EXPECT_EQ(from->Pnextscript, to) << from->Text;
  }
  // Without an Else the then-section ends at the End If.
  delete z;
  delete elseline;
  EXPECT_EQ(endif2->GetNextNode(), endif->AExpNode);
}

TEST_F(ScriptTest, DropsLandWhereTheLineDroppedOnSays) {
  TStub* a = Add("A");
  TStub* ifthen = Section("IF");
  Add("X", ifthen);
  TStub* elseline = Section("ELSE");
  TStub* endif = Add("ENDIF");
  TStub* c = Add("C");
  TStub* d = Stub(B2, "D");
  TStub* e = Stub(B2, "E");

  a->MoveTo(elseline->AExpNode);  // the end of the then-section
  EXPECT_EQ(Outline(B1->AExpNode), "IF[X A] ELSE ENDIF C");
  d->MoveTo(c->AExpNode);  // after the End If, at its level, and into the block
  EXPECT_EQ(Outline(B1->AExpNode), "IF[X A] ELSE ENDIF D C");
  EXPECT_EQ(d->Pblock, B1);
  EXPECT_EQ(d->AExpNode->GetLevel(), endif->AExpNode->GetLevel());
  c->MoveTo(B2->AExpNode);  // a block node: the end of that block
  EXPECT_EQ(Outline(B2->AExpNode), "E C");
  EXPECT_EQ(c->Pblock, B2);
  EXPECT_EQ(Ui.Refreshes(), 3);

  // With the blank line in the block, the command goes just before it.
  new TBlankScript(B2, Tree.AddChild(B2->AExpNode, "blank"), &Exp);
  a->MoveTo(B2->AExpNode);
  EXPECT_EQ(Outline(B1->AExpNode), "IF[X] ELSE ENDIF D");
  EXPECT_EQ(Outline(B2->AExpNode), "E C A blank");
  EXPECT_EQ(a->Pblock, B2);
  // A section dropped on its own line or inside itself stays where it is.
  ifthen->MoveTo(ifthen->AExpNode);
  ifthen->MoveTo(ifthen->AExpNode->GetFirstChild());
  EXPECT_EQ(Outline(B1->AExpNode), "IF[X] ELSE ENDIF D");
  EXPECT_TRUE(e->CanMoveTo(B1, B1->AExpNode));
  EXPECT_FALSE(e->CanMoveTo(nullptr, B1->AExpNode));
}

TEST_F(ScriptTest, MoveNodeAdoptsAndReleasesSectionLines) {
  TStub* label = Add("L", nullptr, TScript::LABEL);
  TStub* s1 = Add("S1");
  TStub* repeat = Add("R", nullptr, TScript::REPEAT);
  TStub* other = Add("T");
  label->Repeat = repeat;

  s1->MoveNode(label, true);
  EXPECT_EQ(Outline(B1->AExpNode), "L[S1] R T");
  EXPECT_TRUE(s1->AbIndented);
  EXPECT_TRUE(s1->AExpNode->GetExpanded());
  s1->MoveNode(label, false);  // released: in front of the Label's Repeat
  EXPECT_EQ(Outline(B1->AExpNode), "L S1 R T");
  EXPECT_FALSE(s1->AbIndented);
  repeat->AbIndented = true;
  repeat->MoveNode(label, false);  // the Label's own Repeat takes as child as indentation
  EXPECT_FALSE(repeat->AbIndented);
  EXPECT_EQ(Outline(B1->AExpNode), "L S1 R T");
  label->Repeat = nullptr;
  s1->MoveNode(other, true);
  s1->MoveNode(label, false);  // a Label without Repeat: in front of the Label
  EXPECT_EQ(Outline(B1->AExpNode), "S1 L R T");
}

TEST_F(ScriptTest, DrawingColoursByLevelAndMarksCommentsAndCommentedOutLines) {
  TStub* level1 = Add("one");
  TStub* level2 = Add("two", level1);
  TStub* level3 = Add("three", level2);
  struct TCase {
    TStub* command;
    int type;
    bool commentedOut;
    bool drawn;
    std::uint32_t colour;
    bool italic;
    std::string text;
  };
  const std::uint32_t blue = 0xFF0000, red = 0x0000FF, none = TNodeStyle().Colour;
  const TCase cases[] = {
      {level1, TScript::CALCULATE, false, false, none, false, ""},
      {level2, TScript::CALCULATE, false, true, red, false, "two"},
      {level3, TScript::CALCULATE, false, true, blue, false, "three"},
      {level1, TScript::CALCULATE, true, true, none, true, "/*one*/"},
      {level1, TScript::COMMENT, false, true, none, true, "one"},
      {level1, TScript::COMMENT, true, true, none, true, "/*one*/"},
      {level2, TScript::CALCULATE, true, true, red, true, "/*two*/"},
  };
  for (const TCase& c : cases) {
    c.command->Type = c.type;
    c.command->SetCommentedOut(c.commentedOut);
    TNodeStyle style;
    EXPECT_EQ(c.command->DrawNode(style), c.drawn) << c.command->Text;
    if (!c.drawn) continue;
    EXPECT_EQ(style.Colour, c.colour) << c.command->Text;
    EXPECT_EQ(style.Italic, c.italic) << c.command->Text;
    EXPECT_EQ(style.Text, c.text);
    c.command->SetCommentedOut(false);
  }
  EXPECT_EQ(Ui.Refreshes(), 13);  // every change of the flag repaints
  EXPECT_EQ(level1->GetNodeColor(), blue);

  // Drawing takes the indentation after a move.
  level3->MoveTo(B1->AExpNode);
  EXPECT_TRUE(level3->AbIndented);
  TNodeStyle style;
  EXPECT_FALSE(level3->DrawNode(style));
  EXPECT_FALSE(level3->AbIndented);
}

TEST_F(ScriptTest, BaseRecordCarriesTheCommentedOutFlagFromVersion14On) {
  TStub* a = Add("A");
  TStub* b = Add("B");
  b->SetCommentedOut(true);
  // The same object keeps its identifier.
  EXPECT_EQ(Written({a, b, a}), Cat({Le32(100), {0}, Le32(101), {1}, Le32(100), {0}}));

  for (const std::string version : {"Qorv 1.0", "Qorv 1.2", "Qorv 1.3", "Qorv 1.4", "Qorv 1.5"}) {
    const bool flagRead = version >= "Qorv 1.4";
    TStub* c = Add("C");
    c->AbCommentedOut = true;
    const auto reader = Reader(Cat({Le32(7), {1}, Le32(9)}), version);
    c->Load(*reader);
    EXPECT_EQ(c->PreadscriptID, 7) << version;
    EXPECT_EQ(c->AbCommentedOut, flagRead) << version;
    EXPECT_EQ(reader->BytesLeft(), flagRead ? 4u : 5u) << version;
    delete c;
  }
  EXPECT_THROW(Add("D")->Load(*Reader({7, 0})), EReadError);
}

TEST_F(ScriptTest, BaseBehaviourOfTheSlots) {
  TStub* a = Add("A");
  TStub* b = Add("B", a);
  a->SetUp(nullptr);
  EXPECT_EQ(a->MakeCopyScript(), nullptr);
  EXPECT_EQ(Ui.Texts(),
            (std::vector<std::string>{"Not doing anything - TScript SetUp(copyscript)",
                                      "Not doing anything - TScript MakeCopyScript( )"}));

  TTree debugTree;
  TTreeNode* debugParent = debugTree.AddChild(nullptr, "block");
  b->DebugNode = debugTree.AddChild(debugParent, "old");
  b->Text = "new text";
  b->UpdateNodeText();
  EXPECT_EQ(b->AExpNode->GetText(), "new text");
  EXPECT_EQ(b->DebugNode->GetText(), "new text");
  EXPECT_TRUE(a->AExpNode->GetExpanded());
  EXPECT_TRUE(debugParent->GetExpanded());
  b->DebugNode = nullptr;

  EXPECT_TRUE(b->AbIndented);  // from the level given at construction
  b->Pblock = nullptr;
  b->SetBlock();
  EXPECT_EQ(b->Pblock, B1);
}

TEST_F(ScriptTest, EndPointsServeTheirIfThen) {
  TStub* ifthen = Section("IF");
  auto* endif = new TStubEndPoint(B1, Tree.AddChild(B1->AExpNode, "ENDIF"));
  auto* elseline = new TStubEndPoint(B1, Tree.AddChild(ifthen->AExpNode, "ELSE"));
  endif->IfThen = ifthen;
  elseline->EndIf = endif;
  EXPECT_FALSE(elseline->AbRunElse);

  EXPECT_EQ(endif->GetNodeColor(), 0x0000FFu);    // level 1 drawn as level 2
  EXPECT_EQ(elseline->GetNodeColor(), 0xFF0000u);  // level 2 drawn as level 3
  ifthen->EditResult = 5;
  EXPECT_EQ(elseline->Edit(), 5);
  EXPECT_EQ(endif->Edit(), 5);

  elseline->MoveNode(ifthen, false);  // its own If-Then: only the indentation follows
  EXPECT_FALSE(elseline->AbIndented);
  EXPECT_EQ(elseline->AExpNode->GetParent(), ifthen->AExpNode);
  TStub* other = Add("T");
  elseline->MoveNode(other, false);  // any other: the default move
  EXPECT_EQ(Outline(B1->AExpNode), "IF ENDIF ELSE T");

  endif->IfThen = nullptr;
  EXPECT_DEATH(OnConsole([&] { endif->Edit(); }), "Assertion failed: Pifthenscript!=0");
}

TEST_F(ScriptTest, ConsistencyChecks) {
  TStub* a = Add("A");
  TStub* repeat = Add("R", nullptr, TScript::REPEAT);
  TReadFile reader(Temp.WriteBytes("twice.qrv", Cat({Le32(1), Le32(2)})));
  a->Load(reader);
  EXPECT_DEATH(OnConsole([&] { a->Load(reader); }), "Assertion failed: PreadscriptID==-1");
  EXPECT_DEATH(OnConsole([&] { repeat->MoveTo(a->AExpNode); }),
               "GetScriptType\\( \\)!=REPEAT&&GetScriptType\\( \\)!=REPUNTIL");
  EXPECT_DEATH(OnConsole([&] { a->MoveNode(nullptr, true); }), "Assertion failed: topscript!=0");
  TTreeNode* empty = Tree.AddChild(B1->AExpNode, "no command");
  EXPECT_DEATH(OnConsole([&] { a->MoveTo(empty); }), "movenode!=0&&movenode->Data!=0");
}

}  // namespace
