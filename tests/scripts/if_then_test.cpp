// The If-Then, Else and End If commands: the sections run by the condition, traces,
// comment-out, deleting and moving the lines, the records read back (the End If rebuilding
// the nesting), damaged records, and sections built through the block as the dialog does.
#include "scripts/flow/if_then_script.h"

#include "expressions/condition.h"
#include "model/errors.h"
#include "model/node_style.h"
#include "model/value.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "shell/experiment_file.h"
#include "support/experiment_fixture.h"

namespace {

const char* const MissingIfThenOrElse = "EndIf Script missing if then or else...aborting read";

class IfThenTest : public TCommandFixture {
protected:
  void SetX(const std::string& value) { X->GetValue().SetText(value); }
  // The block's commands in the order the block writes them.
  static std::vector<TScript*> InWritingOrder(TBlock* block) {
    std::vector<TScript*> scripts;
    for (TScript* s = block->GetFirstScript(); s; s = ScriptOfNode(s->GetNextNode()))
      scripts.push_back(s);
    return scripts;
  }
  // Condition references bound to X under identifier 100.
  std::string ReadError(const TBytes& bytes, const std::vector<int>& types) {
    return ReadingError(bytes, types, X, 100);
  }

  TDataSingle* X = Single(B1, "X");
};

TEST_F(IfThenTest, TheConditionChoosesTheSection) {
  const std::string I = "If X==1", T = "Comment: then", E = "Else", S = "Comment: else",
                    N = "End If", A = "Comment: after";
  const struct { bool thenFilled, hasElse, elseFilled; const char* x; TTexts ran; } cases[] = {
      {true, true, true, "1", {I, T, E, N, A}},
      {true, true, true, "0", {I, E, S, N, A}},
      // An empty then-section: false jumps to the Else, true reaches the Else with the
      // else-section barred and goes on at the End If.
      {false, true, true, "0", {I, E, S, N, A}},
      {false, true, true, "1", {I, E, N, A}},
      {true, true, false, "0", {I, E, N, A}},
      // Without Else a false condition jumps straight to the End If.
      {true, false, false, "0", {I, N, A}},
      {true, false, false, "1", {I, T, N, A}},
      {false, false, false, "1", {I, N, A}},
  };
  TBlock* full = nullptr;  // both sections filled
  for (const auto& c : cases) {
    Cur = NewBlock("Case");
    if (!full) full = Cur;
    TIfThenScript* ifthen = If(X, "1");
    if (c.thenFilled) Comment("then");
    TElseScript* elsescript = c.hasElse ? Else() : nullptr;
    if (c.elseFilled) Comment("else");
    TEndIfScript* endif = EndIf(ifthen, elsescript);
    Comment("after");
    EXPECT_EQ(ifthen->GetEndPointScript(),
              c.hasElse ? static_cast<TEndPointScript*>(elsescript) : endif);
    EXPECT_EQ(ifthen->HasElse(), c.hasElse);
    SetX(c.x);
    EXPECT_EQ(Run(Cur), c.ran) << c.thenFilled << c.hasElse << c.elseFilled << c.x;
    // The end point learns whether the else-section is to run.
    EXPECT_EQ(ifthen->GetEndPointScript()->AbRunElse, std::string(c.x) != "1");
  }

  // The traces: the condition's values, "else" when the else-section runs, nothing when
  // it is skipped, "endif".
  SetX("1");
  EXPECT_EQ(Trace(full), (TTexts{"1==1 evaluates to true.", "endif"}));
  SetX("7");
  EXPECT_EQ(Trace(full), (TTexts{"7==1 evaluates to false.", "else", "endif"}));
}

TEST_F(IfThenTest, NestedSections) {
  TIfThenScript* outer = If(X, "1", GE);
  TIfThenScript* innerThen = If(X, "2", GE);
  Comment("x>=2");
  TElseScript* innerElse = Else();
  Comment("x=1");
  EndIf(innerThen, innerElse);
  TElseScript* outerElse = Else();
  TIfThenScript* innerOfElse = If(X, "0");
  Comment("x=0");
  EndIf(innerOfElse);
  Comment("x<1");
  EndIf(outer, outerElse);
  Comment("after");
  EXPECT_EQ(Outline(B1->AExpNode),
            "If X>=1[If X>=2[Comment: x>=2] | Else[Comment: x=1] | End If] | "
            "Else[If X==0[Comment: x=0] | End If | Comment: x<1] | End If | Comment: after");

  const struct { const char* x; TTexts comments; } cases[] = {
      {"5", {"Comment: x>=2", "Comment: after"}},
      {"1", {"Comment: x=1", "Comment: after"}},
      {"0", {"Comment: x=0", "Comment: x<1", "Comment: after"}},
      {"-3", {"Comment: x<1", "Comment: after"}},
  };
  for (const auto& c : cases) {
    SetX(c.x);
    TTexts comments;
    for (const std::string& text : Run(B1))
      if (text.rfind("Comment: ", 0) == 0) comments.push_back(text);
    EXPECT_EQ(comments, c.comments) << c.x;
  }
  // The inner End If, the last line of the outer then-section, goes on at the outer
  // Else, which skips the else-section.
  SetX("5");
  const TTexts run = Run(B1);
  const TTexts tail(run.end() - 4, run.end());
  EXPECT_EQ(tail, (TTexts{"End If", "Else", "End If", "Comment: after"}));
  EXPECT_EQ(Trace(B1), (TTexts{"5>=1 evaluates to true.", "5>=2 evaluates to true.", "endif",
                               "endif"}));
  SetX("0");
  EXPECT_EQ(Trace(B1), (TTexts{"0>=1 evaluates to false.", "else", "0==0 evaluates to true.",
                               "endif", "endif"}));
}

TEST_F(IfThenTest, CommentingOutTheLines) {
  TIfThenScript* ifthen = If(X, "1");
  Comment("then");
  TIfThenScript* inner = If(X, "9", EQ);
  EndIf(inner);
  TElseScript* elsescript = Else();
  Comment("else");
  TEndIfScript* endif = EndIf(ifthen, elsescript);
  EXPECT_TRUE(ifthen->CanCommentOut() && elsescript->CanCommentOut() && endif->CanCommentOut());
  // The flags of the three lines; how often each section runs for x.
  const auto flags = [&] {
    return std::string{ifthen->AbCommentedOut ? '1' : '0', elsescript->AbCommentedOut ? '1' : '0',
                       endif->AbCommentedOut ? '1' : '0'};
  };
  const auto sections = [&](const char* x) {
    SetX(x);
    const TTexts run = Run(B1);
    return std::to_string(Times(run, "Comment: then")) +
           std::to_string(Times(run, "Comment: else"));
  };

  // Commenting out the End If comments out all three; both sections then run.
  endif->SetCommentedOut(true);
  EXPECT_EQ(flags(), "111");
  EXPECT_FALSE(inner->AbCommentedOut);  // the commands inside keep their flags
  EXPECT_EQ(sections("1"), "11");
  EXPECT_EQ(sections("0"), "11");
  EXPECT_EQ(Trace(B1), (TTexts{"Comment(If X==1)", "0==9 evaluates to false.", "endif",
                               "Comment(else)", "Comment(endif)"}));
  for (TScript* line : std::vector<TScript*>{ifthen, elsescript, endif}) {
    TNodeStyle style;
    ASSERT_TRUE(line->DrawNode(style));
    EXPECT_EQ(style.Text, "/*" + line->GetText() + "*/");
    EXPECT_TRUE(style.Italic);
  }
  // Commenting back in the Else of commented-out lines restores all three.
  elsescript->SetCommentedOut(false);
  EXPECT_EQ(flags(), "000");

  // The Else alone: it runs the else-section after the then-section, and alone.
  elsescript->SetCommentedOut(true);
  EXPECT_EQ(flags(), "010");
  EXPECT_EQ(sections("1"), "11");
  EXPECT_EQ(sections("0"), "01");
  elsescript->SetCommentedOut(false);
  EXPECT_EQ(flags(), "000");

  // The If-Then comments out and in all three.
  ifthen->SetCommentedOut(true);
  EXPECT_EQ(flags(), "111");
  ifthen->SetCommentedOut(false);
  EXPECT_EQ(flags(), "000");
}

TEST_F(IfThenTest, DeletingTheLinesKeepsTheCommands) {
  Comment("x");
  TIfThenScript* ifthen = If(X, "1");
  Comment("a");
  Comment("b");
  TElseScript* elsescript = Else();
  Comment("c");
  TEndIfScript* endif = EndIf(ifthen, elsescript);
  TCommentScript* y = Comment("y");

  // The Else: its commands go to the end of the then-section; the End If is the
  // If-Then's end point again and the line after the End If takes the selection.
  Tree.SetSelected(elsescript->AExpNode);
  B1->DeleteScript(elsescript);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: x | If X==1[Comment: a | Comment: b | Comment: c] | End If | Comment: y");
  EXPECT_EQ(ifthen->GetEndPointScript(), endif);
  EXPECT_EQ(endif->GetElseScript(), nullptr);
  EXPECT_FALSE(ifthen->HasElse());
  EXPECT_EQ(Tree.GetSelected(), y->AExpNode);
  SetX("0");
  EXPECT_EQ(Run(B1), (TTexts{"Comment: x", "If X==1", "End If", "Comment: y"}));

  // The If-Then: every command stays where it stood, in order.
  Tree.SetSelected(ifthen->AExpNode);
  B1->DeleteScript(ifthen);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: x | Comment: a | Comment: b | Comment: c | Comment: y");
  EXPECT_EQ(Tree.GetSelected(), y->AExpNode);
  EXPECT_FALSE(ScriptOfNode(B1->AExpNode->Item(1))->AbIndented);

  // Both sections filled: deleting the If-Then or the End If keeps both, in order.
  for (const bool viaEndIf : {false, true}) {
    Cur = NewBlock("Two sections");
    TIfThenScript* two = If(X, "1");
    Comment("then");
    TElseScript* twoElse = Else();
    Comment("else");
    TEndIfScript* twoEndIf = EndIf(two, twoElse);
    Comment("after");
    Cur->DeleteScript(viaEndIf ? static_cast<TScript*>(twoEndIf) : two);
    EXPECT_EQ(Outline(Cur->AExpNode), "Comment: then | Comment: else | Comment: after");
  }

  // A block holding nested sections and loops destroys every command once.
  Cur = NewBlock("Nested");
  TLabelScript* label = Label("Loop");
  TIfThenScript* outer = If(X, "1");
  TIfThenScript* inner = If(X, "2");
  TLabelScript* deep = Label("Deep");
  Comment("deep");
  Repeat(deep, 2);
  EndIf(inner, Else());
  TElseScript* outerElse = Else();
  Comment("else");
  EndIf(outer, outerElse);
  (new TRepeatUntilScript(Cur, NewNode(Cur)))->SetLabel(label);
  EXPECT_EQ(outer->AExpNode->GetLevel(), 2);
  EXPECT_EQ(deep->AExpNode->GetLevel(), 4);
  const int blocks = Tree.Count();
  delete Cur;
  EXPECT_EQ(Tree.Count(), blocks - 1);
}

TEST_F(IfThenTest, MovesReshapeTheSections) {
  TTreeNode* x = Comment("x")->AExpNode;
  TIfThenScript* ifthen = If(X, "1");
  TTreeNode* a = Comment("a")->AExpNode;
  TTreeNode* b = Comment("b")->AExpNode;
  TElseScript* elsescript = Else();
  TTreeNode* c = Comment("c")->AExpNode;
  TTreeNode* d = Comment("d")->AExpNode;
  TEndIfScript* endif = EndIf(ifthen, elsescript);
  TTreeNode* y = Comment("y")->AExpNode;
  TTreeNode* z = Comment("z")->AExpNode;
  Cur = B2;
  TTreeNode* other = Comment("other")->AExpNode;
  Cur = B1;
  TTreeNode* I = ifthen->AExpNode;
  TTreeNode* E = elsescript->AExpNode;
  TTreeNode* N = endif->AExpNode;

  // The If-Then: before its end point, on a sibling or a then-command. The Else: between
  // the If-Then and the End If, on a command of either section. The End If: after the
  // Else, on a sibling, an else-command or (at level 1) its block. None on a line that
  // closes a section or outside its block.
  const struct { TBlock* block; TTreeNode* node; bool ifMay, elseMay, endMay; } drops[] = {
      {B1, x, true, false, false},  {B1, I, true, false, false},
      {B1, a, true, true, false},   {B1, b, true, true, false},
      {B1, E, false, false, false}, {B1, c, false, true, true},
      {B1, d, false, true, true},   {B1, N, false, false, false},
      {B1, y, false, false, true},  {B1, z, false, false, true},
      {B1, B1->AExpNode, false, false, true}, {B1, B2->AExpNode, false, false, false},
      {B2, other, false, false, false}, {B1, other, false, false, false},
      {nullptr, a, false, false, false},
  };
  for (const auto& drop : drops) {
    EXPECT_EQ(ifthen->CanMoveTo(drop.block, drop.node), drop.ifMay) << drop.node->GetText();
    EXPECT_EQ(elsescript->CanMoveTo(drop.block, drop.node), drop.elseMay) << drop.node->GetText();
    EXPECT_EQ(endif->CanMoveTo(drop.block, drop.node), drop.endMay) << drop.node->GetText();
  }

  const std::string tail = " | Else[Comment: c | Comment: d] | End If | Comment: y | Comment: z";
  const int refreshes = Ui.Refreshes();
  ifthen->MoveTo(x);  // the If line moves up: the then-section starts at x
  EXPECT_EQ(Outline(B1->AExpNode), "If X==1[Comment: x | Comment: a | Comment: b]" + tail);
  EXPECT_TRUE(ScriptOfNode(x)->AbIndented);
  ifthen->MoveTo(a);  // and down again
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: x | If X==1[Comment: a | Comment: b]" + tail);
  EXPECT_FALSE(ScriptOfNode(x)->AbIndented);
  elsescript->MoveTo(b);  // the else-section starts at b
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: x | If X==1[Comment: a] | "
                                   "Else[Comment: b | Comment: c | Comment: d] | End If | "
                                   "Comment: y | Comment: z");
  elsescript->MoveTo(c);  // b goes back to the then-section
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: x | If X==1[Comment: a | Comment: b]" + tail);
  endif->MoveTo(z);  // the else-section grows up to z
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: x | If X==1[Comment: a | Comment: b] | "
                                   "Else[Comment: c | Comment: d | Comment: y] | End If | "
                                   "Comment: z");
  EXPECT_TRUE(ScriptOfNode(y)->AbIndented);
  endif->MoveTo(d);  // the else-section ends before d
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: x | If X==1[Comment: a | Comment: b] | "
                                   "Else[Comment: c] | End If | Comment: d | Comment: y | "
                                   "Comment: z");
  EXPECT_FALSE(ScriptOfNode(d)->AbIndented);
  endif->MoveTo(B1->AExpNode);  // to the end of the block
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: x | If X==1[Comment: a | Comment: b] | "
                                   "Else[Comment: c | Comment: d | Comment: y | Comment: z] | "
                                   "End If");
  EXPECT_EQ(Ui.Refreshes(), refreshes + 7);  // every move repaints

  // A command dropped on the Else line lands at the end of the then-section, one dropped
  // on the End If line at the end of the else-section.
  ScriptOfNode(x)->MoveTo(E);
  ScriptOfNode(a)->MoveTo(N);
  EXPECT_EQ(Outline(B1->AExpNode), "If X==1[Comment: b | Comment: x] | "
                                   "Else[Comment: c | Comment: d | Comment: y | Comment: z | "
                                   "Comment: a] | End If");
  SetX("1");
  EXPECT_EQ(Run(B1), (TTexts{"If X==1", "Comment: b", "Comment: x", "Else", "End If"}));
}

TEST_F(IfThenTest, RecordsByteByByteAndReadBack) {
  TIfThenScript* outer = If(X, "1");
  TIfThenScript* inner = If(X, "2");
  Comment("c");
  EndIf(inner);
  TElseScript* outerElse = Else();
  Comment("d");
  EndIf(outer, outerElse);
  inner->SetCommentedOut(true);
  const TBytes bytes = Written(InWritingOrder(B1));
  // Each line and its section, the End If naming the If-Then and the Else; the variable
  // X is the first object met (100), the commands follow in order.
  const auto condition = [](const char* constant) {
    return Cat({B(true), I32(ectCONDCONSTANT), B(false), I32(100), I32(EQ),
                StringBytes(constant), I32(eatINTEGER)});
  };
  const TBytes expected = Cat({condition("1"), I32(101), B(false),        // If X==1
                               condition("2"), I32(102), B(true),         // If X==2
                               StringBytes("c"), I32(103), B(false),      // Comment: c
                               I32(102), B(false), I32(104), B(true),     // End If
                               I32(105), B(false),                        // Else
                               StringBytes("d"), I32(106), B(false),      // Comment: d
                               I32(101), B(true), I32(105), I32(107), B(false)});  // End If
  EXPECT_EQ(bytes, expected);

  // Read flat, as the block reads: each End If nests its section.
  ReadInto(B2, bytes, {TScript::IFTHEN, TScript::IFTHEN, TScript::COMMENT, TScript::ENDIF,
                       TScript::ELSE, TScript::COMMENT, TScript::ENDIF},
           X, 100);
  EXPECT_EQ(Outline(B2->AExpNode),
            "If X==1[If X==2[Comment: c] | End If] | Else[Comment: d] | End If");
  B2->CheckAfterRead();
  EXPECT_EQ(Written(InWritingOrder(B2)), bytes);  // written again, the same bytes
  for (const char* x : {"1", "2", "0"}) {
    SetX(x);
    EXPECT_EQ(Run(B2), Run(B1)) << x;
  }
}

TEST_F(IfThenTest, DamagedRecordsAreRefused) {
  // Records without condition keep the bytes short: If-Then 100, Comment 101, Else 102.
  const TBytes ifRecord = Cat({B(false), I32(100), B(false)});
  const TBytes comment = Cat({StringBytes("c"), I32(101), B(false)});
  const TBytes elseRecord = Cat({I32(102), B(false)});
  const auto endIf = [](std::int32_t ifId, bool hasElse, std::int32_t elseId, std::int32_t id) {
    return hasElse ? Cat({I32(ifId), B(true), I32(elseId), I32(id), B(false)})
                   : Cat({I32(ifId), B(false), I32(id), B(false)});
  };
  const int IF = TScript::IFTHEN, EL = TScript::ELSE, END = TScript::ENDIF,
            COM = TScript::COMMENT;
  const struct { TBytes bytes; std::vector<int> types; std::string error; } cases[] = {
      // An End If naming no If-Then among its siblings, or a command of another type.
      {Cat({ifRecord, comment, endIf(999, false, 0, 103)}), {IF, COM, END}, MissingIfThenOrElse},
      {Cat({ifRecord, comment, endIf(101, false, 0, 103)}), {IF, COM, END}, MissingIfThenOrElse},
      // An announced Else that is not there, or that is the If-Then.
      {Cat({ifRecord, elseRecord, endIf(100, true, 999, 103)}), {IF, EL, END},
       MissingIfThenOrElse},
      {Cat({ifRecord, elseRecord, endIf(100, true, 100, 103)}), {IF, EL, END},
       MissingIfThenOrElse},
      // An Else standing before its If-Then.
      {Cat({elseRecord, ifRecord, endIf(100, true, 102, 103)}), {EL, IF, END},
       MissingIfThenOrElse},
      // Two End Ifs for one If-Then.
      {Cat({ifRecord, endIf(100, false, 0, 103), endIf(100, false, 0, 104)}), {IF, END, END},
       MissingIfThenOrElse},
      // The checks after reading: no condition, an Else without End If, inside a section
      // too.
      {Cat({ifRecord, endIf(100, false, 0, 103)}), {IF, END},
       "Condition does not exist for IfThen script...aborting read"},
      {Cat({elseRecord}), {EL}, "Else missing End If script...aboring read"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadError(c.bytes, c.types), c.error) << c.error;

  // Records cut short end in the reader's error.
  EXPECT_NE(ReadError(Cat({ifRecord, I32(100), B(true)}), {IF, END}), "");
  EXPECT_NE(ReadError(Cat({B(true), I32(1)}), {IF}), "");

  // A read If-Then whose End If never came, or whose variable was never found.
  TIfThenScript* lone = If(X, "1");
  EXPECT_THROW(lone->CheckAfterRead(), EReadError);
  const std::string unbound =
      ReadError(Cat({B(true), I32(ectCONDCONSTANT), B(false), I32(555), I32(EQ), StringBytes("1"),
                     I32(eatINTEGER), I32(100), B(false), endIf(100, false, 0, 101)}),
                {IF, END});
  EXPECT_EQ(unbound.rfind(ConditionReadError, 0), 0u) << unbound;

  // An Else without End If inside a then-section fails its If-Then's check.
  Cur = NewBlock("Inner");
  TIfThenScript* outer = If(X, "1");
  Else();
  EndIf(outer);
  ASSERT_EQ(outer->AExpNode->Count(), 1);
  EXPECT_THROW(outer->CheckAfterRead(), EReadError);
}

TEST_F(IfThenTest, TextsColoursAndAnswers) {
  auto* bare = new TIfThenScript(B1, NewNode(B1));
  EXPECT_EQ(bare->GetText(), "none");
  EXPECT_THROW(bare->Execute(), EExperimentError);  // no condition: no run
  delete bare;

  TIfThenScript* ifthen = If(X, "1");
  TCommentScript* inThen = Comment("a", ifthen);
  TElseScript* elsescript = Else();
  TEndIfScript* endif = EndIf(ifthen, elsescript);
  struct TLine { TScript* line; const char* text; int type; bool children, opens, closes; };
  const TLine lines[] = {{ifthen, "If X==1", TScript::IFTHEN, true, true, false},
                         {elsescript, "Else", TScript::ELSE, true, false, true},
                         {endif, "End If", TScript::ENDIF, false, false, true}};
  for (const auto& l : lines) {
    EXPECT_EQ(l.line->AExpNode->GetText(), l.text);
    EXPECT_EQ(l.line->GetScriptType(), l.type);
    EXPECT_FALSE(l.line->CanMakeCopyScript());
    EXPECT_EQ(l.line->CanHaveChildren(), l.children);
    EXPECT_EQ(l.line->OpensSection(), l.opens);
    EXPECT_EQ(l.line->ClosesSection(), l.closes);
    // Level-1 lines are drawn indented, in the colour of the lines inside: level 2,
    // even, red.
    EXPECT_TRUE(l.line->IsIndented());
    EXPECT_EQ(l.line->GetNodeColor(), 0x0000FFu);
    EXPECT_EQ(inThen->GetNodeColor(), 0x0000FFu);
  }
  // One level deeper the lines take the next colour: level 3, odd, blue.
  TIfThenScript* nested = If(X, "2", EQ, ifthen);
  EndIf(nested, nullptr, ifthen);
  EXPECT_EQ(nested->GetNodeColor(), 0xFF0000u);
}

// The If-Then dialog builds its section through the block and the insertion point; the
// sections then go to an experiment file and come back.
TEST_F(IfThenTest, TheDialogsBuildSectionsThroughTheBlock) {
  Exp.SelectBlock(B1->AExpNode);  // the insertion point: the blank line, in B1
  TBlankScript* blank = Exp.GetBlankScript();
  ASSERT_NE(blank, nullptr);
  auto* ifthen = dynamic_cast<TIfThenScript*>(B1->AddScript(TScript::IFTHEN));
  ASSERT_NE(ifthen, nullptr) << "the block's factory makes types 11, 13, 14 and 15";
  ifthen->SetConstantCondition(X, "1", EQ);
  EXPECT_TRUE(ifthen->SetIncludeElse(true));
  const std::string B = blank->AExpNode->GetText();
  EXPECT_EQ(Outline(B1->AExpNode), "If X==1 | Else | End If | " + B);
  // New commands go into the then-section, then into the else-section.
  Exp.MoveBlankScript(ifthen->GetEndPointScript()->AExpNode);
  static_cast<TCommentScript*>(B1->AddScript(TScript::COMMENT))->SetComment("a");
  Exp.MoveBlankScript(ifthen->GetEndPointScript()->GetEndIfScript()->AExpNode);
  static_cast<TCommentScript*>(B1->AddScript(TScript::COMMENT))->SetComment("b");
  EXPECT_EQ(Outline(B1->AExpNode), "If X==1[Comment: a] | Else[Comment: b | " + B + "] | End If");

  // Unchecking "Include Else Command": the else-commands join the then-section.
  EXPECT_TRUE(ifthen->SetIncludeElse(false));
  EXPECT_FALSE(ifthen->HasElse());
  EXPECT_EQ(Outline(B1->AExpNode), "If X==1[Comment: a | Comment: b | " + B + "] | End If");
  EXPECT_TRUE(ifthen->SetIncludeElse(false));  // nothing changes
  EXPECT_EQ(Outline(B1->AExpNode), "If X==1[Comment: a | Comment: b | " + B + "] | End If");
  // Checked again: an empty else-section in front of the End If.
  EXPECT_TRUE(ifthen->SetIncludeElse(true));
  EXPECT_TRUE(ifthen->HasElse());
  EXPECT_EQ(Outline(B1->AExpNode),
            "If X==1[Comment: a | Comment: b | " + B + "] | Else | End If");
  EXPECT_EQ(ifthen->GetEndPointScript()->GetEndIfScript()->GetIfThenScript(), ifthen);

  // A Repeat-Until loop after the section, made through the block too.
  Exp.MoveBlankScript(nullptr);  // the end of the block
  auto* label = static_cast<TLabelScript*>(B1->AddScript(TScript::LABEL));
  label->SetTitle("Loop");
  static_cast<TCommentScript*>(B1->AddScript(TScript::COMMENT))->SetComment("body");
  auto* until = dynamic_cast<TRepeatUntilScript*>(B1->AddScript(TScript::REPUNTIL));
  ASSERT_NE(until, nullptr) << "the block's factory makes types 11, 13, 14 and 15";
  until->SetLabel(label);
  until->SetConstantCondition(X, "0", GE);
  const std::string outline = "If X==1[Comment: a | Comment: b] | Else | End If | "
                              "Loop[Comment: body] | Repeat from Loop Until X>=0";
  EXPECT_EQ(Outline(B1->AExpNode), outline + " | " + B);

  // To an experiment file and back: the same tree, and the same file when saved again.
  std::string error;
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("e.qve"), Exp, Parts, nullptr, error)) << error;
  const TBytes saved = Temp.ReadBytes("e.qve");
  TDrawParts parts;
  auto read = OpenExperimentFile(Temp.PathOf("e.qve"), parts, nullptr, error);
  ASSERT_NE(read, nullptr) << error;
  // The read experiment's insertion point stands at the end of its first block.
  EXPECT_EQ(Outline(read->GetExperimentTree().Item(0)), outline + " | " + B);
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("e.qve"), *read, parts, nullptr, error)) << error;
  EXPECT_EQ(Temp.ReadBytes("e.qve"), saved);
}

}  // namespace
