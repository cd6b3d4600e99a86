// The command base: the run-order walk, drops and moves in the tree, comment-out and
// the drawing styles, the base record, and the end-point base of Else and End If.
#include "scripts/script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  TStub* Add(TTreeNode* parent, const std::string& text, int type = TScript::CALCULATE) {
    return new TStub(BlockOfNode(parent), Tree.AddChild(parent, text), type, text);
  }
  TStub* Section(TTreeNode* parent, const std::string& text) {
    TStub* s = Add(parent, text);
    s->Opens = true;
    return s;
  }
  // The node texts below a node, sections in brackets: "A IF[X Y] C".
  static std::string Outline(const TTreeNode* node) {
    return TExperimentFixture::Outline(node, " ");
  }
};

TEST_F(ScriptTest, NextNodeWalksSiblingsAndLeavesSectionsAfterTheirOpeningLine) {
  TStub* a = Add(B1->AExpNode, "A");
  TStub* ifthen = Section(B1->AExpNode, "IF");
  TStub* x = Add(ifthen->AExpNode, "X");
  TStub* inner = Section(ifthen->AExpNode, "IF2");
  TStub* w = Add(inner->AExpNode, "W");
  TStub* endif2 = Add(ifthen->AExpNode, "ENDIF2");
  TStub* elseline = Section(B1->AExpNode, "ELSE");
  TStub* z = Add(elseline->AExpNode, "Z");
  TStub* endif = Add(B1->AExpNode, "ENDIF");
  TStub* c = Add(B1->AExpNode, "C");

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
  TStub* a = Add(B1->AExpNode, "A");
  TStub* ifthen = Section(B1->AExpNode, "IF");
  Add(ifthen->AExpNode, "X");
  TStub* elseline = Section(B1->AExpNode, "ELSE");
  TStub* endif = Add(B1->AExpNode, "ENDIF");
  TStub* c = Add(B1->AExpNode, "C");
  TStub* d = Add(B2->AExpNode, "D");
  TStub* e = Add(B2->AExpNode, "E");

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
  auto* blank = new TBlankScript(B2, Tree.AddChild(B2->AExpNode, "blank"), &Exp);
  (void)blank;
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
  TStub* label = Add(B1->AExpNode, "L", TScript::LABEL);
  TStub* s1 = Add(B1->AExpNode, "S1");
  TStub* repeat = Add(B1->AExpNode, "R", TScript::REPEAT);
  TStub* other = Add(B1->AExpNode, "T");
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
  TStub* level1 = Add(B1->AExpNode, "one");
  TStub* level2 = Add(level1->AExpNode, "two");
  TStub* level3 = Add(level2->AExpNode, "three");
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
  TStub* a = Add(B1->AExpNode, "A");
  TStub* b = Add(B1->AExpNode, "B");
  b->SetCommentedOut(true);
  {
    TWriteFile writer(Temp.PathOf("base.qrv"));
    a->Save(writer);
    b->Save(writer);
    a->Save(writer);  // the same object keeps its identifier
    writer.Commit();
  }
  EXPECT_EQ(Temp.ReadBytes("base.qrv"),
            Cat({Le32(100), {0}, Le32(101), {1}, Le32(100), {0}}));

  const std::string file = Temp.WriteBytes("read.qrv", Cat({Le32(7), {1}, Le32(9)}));
  const struct {
    const char* version;
    bool flagRead;
  } versions[] = {{"Qorv 1.0", false}, {"Qorv 1.1", false}, {"Qorv 1.2", false},
                  {"Qorv 1.3", false}, {"Qorv 1.4", true},  {"Qorv 1.5", true}};
  for (const auto& v : versions) {
    TStub* c = Add(B1->AExpNode, "C");
    c->AbCommentedOut = true;
    TReadFile reader(file);
    reader.SetVersion(v.version);
    c->Load(reader);
    EXPECT_EQ(c->PreadscriptID, 7) << v.version;
    EXPECT_EQ(c->AbCommentedOut, v.flagRead) << v.version;
    EXPECT_EQ(reader.BytesLeft(), v.flagRead ? 4u : 5u) << v.version;
    delete c;
  }
  TStub* d = Add(B1->AExpNode, "D");
  TReadFile shortFile(Temp.WriteBytes("short.qrv", {7, 0}));
  EXPECT_THROW(d->Load(shortFile), EReadError);
}

TEST_F(ScriptTest, BaseBehaviourOfTheSlots) {
  TStub* a = Add(B1->AExpNode, "A");
  TStub* b = Add(a->AExpNode, "B");
  std::vector<std::string> lines;
  a->AddTextLine(lines);
  b->AddTextLine(lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"\tA", "\t\tB"}));

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

  EXPECT_FALSE(a->DefaultFalseQuery() || a->IsDeviceScript() || a->RunInMainThread() ||
               a->CanHaveChildren() || a->OpensSection() || a->ClosesSection());
  EXPECT_TRUE(a->CanCommentOut());
  EXPECT_EQ(a->GetStoredData(), nullptr);
  EXPECT_EQ(a->GetSecondStoredData(), nullptr);
  EXPECT_EQ(a->GetExperimentType(), aiSCRIPT);
  EXPECT_EQ(a->AExpNode->GetImageIndex(), -1);
  EXPECT_TRUE(b->AbIndented);  // from the level given at construction
  b->Pblock = nullptr;
  b->SetBlock();
  EXPECT_EQ(b->Pblock, B1);
}

TEST_F(ScriptTest, EndPointsServeTheirIfThen) {
  TStub* ifthen = Section(B1->AExpNode, "IF");
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
  TStub* other = Add(B1->AExpNode, "T");
  elseline->MoveNode(other, false);  // any other: the default move
  EXPECT_EQ(Outline(B1->AExpNode), "IF ENDIF ELSE T");

  endif->IfThen = nullptr;
  EXPECT_DEATH(OnConsole([&] { endif->Edit(); }), "Assertion failed: Pifthenscript!=0");
}

TEST_F(ScriptTest, ConsistencyChecks) {
  TStub* a = Add(B1->AExpNode, "A");
  TStub* repeat = Add(B1->AExpNode, "R", TScript::REPEAT);
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
