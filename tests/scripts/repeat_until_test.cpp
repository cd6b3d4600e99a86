// The Repeat-Until command: loops until the condition holds, with their passes and
// traces, loops nested with If sections and Repeats (on the worker too, ended by Stop),
// linking and texts, the record read back, and damaged records. What it shares with the
// Repeat as the line closing a Label's section is tested with the Repeat.
#include "scripts/flow/repeat_until_script.h"

#include "expressions/condition.h"
#include "model/errors.h"
#include "model/value.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "support/experiment_fixture.h"

namespace {

const char* const LabelNotSet = "Label not set for Repeat until...aborting read";

class RepeatUntilTest : public TCommandFixture {
protected:
  // Condition references bound to N under identifier 102.
  std::string ReadError(const TBytes& bytes, const std::vector<int>& types) {
    return ReadingError(bytes, types, N, 102);
  }

  TDataSingle* N = Single(B1, "N", eatINTEGER, "0");
};

TEST_F(RepeatUntilTest, TheBodyRepeatsUntilTheConditionHolds) {
  TLabelScript* label = Label("Loop");
  TIncrementScript* body = Increment(N);
  TRepeatUntilScript* until = Until(label, N, "3", GE);
  TCommentScript* after = Comment("after");
  EXPECT_EQ(Outline(B1->AExpNode),
            "Loop[Increment N by 1] | Repeat from Loop Until N>=3 | Comment: after");
  const std::string L = "Loop", I = body->GetText(), U = until->GetText(), A = "Comment: after";
  EXPECT_EQ(Run(B1), (TTexts{L, I, U, L, I, U, L, I, U, A}));
  EXPECT_EQ(N->GetValue().GetText(), "3");

  // The body runs until N >= limit holds after it: a condition true on the first pass
  // runs it once.
  const struct { const char* initial; const char* limit; int passes; } cases[] = {
      {"0", "3", 3}, {"5", "3", 1}, {"2", "3", 1}, {"-2", "0", 2}, {"0", "1", 1}
  };
  for (const auto& c : cases) {
    N->SetInitialValue(c.initial);
    until->SetConstantCondition(N, c.limit, GE);
    EXPECT_EQ(Times(Run(B1), I), c.passes) << c.initial << " " << c.limit;
  }

  // The trace: the condition's values, then "GoTo: " + the Label or "Repeat finished".
  N->SetInitialValue("0");
  until->SetConstantCondition(N, "3", GE);
  const std::string from = "Repeating from Repeat from Loop Until N>=3";
  EXPECT_EQ(Trace(B1, TScript::INCREMENT),
            (TTexts{from, "1>=3 evaluates to false.", "GoTo: Loop",  //
                    from, "2>=3 evaluates to false.", "GoTo: Loop",  //
                    from, "3>=3 evaluates to true.", "Repeat finished"}));
  // Straight answers: the Label while it fails, the next command once it holds.
  N->GetValue().SetText("2");
  EXPECT_EQ(until->Execute(), label);
  N->GetValue().SetText("3");
  EXPECT_EQ(until->Execute(), after);
}

TEST_F(RepeatUntilTest, LoopsNestWithSectionsAndRepeats) {
  // Outer: a Repeat of 2 passes; inside, an If whose then-section holds the Repeat-Until
  // loop and whose else-section a comment.
  TDataSingle* M = Single(B1, "M", eatINTEGER, "0");
  TLabelScript* outer = Label("Outer");
  TIfThenScript* ifthen = If(M, "0", EQ);
  TLabelScript* inner = Label("Inner");
  Increment(N);
  TRepeatUntilScript* until = Until(inner, N, "3", GE);
  TElseScript* elsescript = Else();
  Comment("skipped");
  EndIf(ifthen, elsescript);
  Increment(M);
  Repeat(outer, 2);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Outer[If M==0[Inner[Increment N by 1] | Repeat from Inner Until N>=3] | "
            "Else[Comment: skipped] | End If | Increment M by 1] | Repeat Outer 2 times");
  EXPECT_EQ(until->AExpNode->GetLevel(), 3);

  // The first outer pass runs the loop 3 times; the second takes the else-section.
  const TTexts run = Run(B1);
  EXPECT_EQ(Times(run, "Increment N by 1"), 3);
  EXPECT_EQ(Times(run, "Comment: skipped"), 1);
  EXPECT_EQ(Times(run, "Outer"), 2);
  EXPECT_EQ(run.back(), "Repeat Outer 2 times");

  // Colours follow the section levels: the pair's lines as the lines inside.
  TScript* body = ScriptOfNode(inner->AExpNode->GetFirstChild());
  EXPECT_EQ(until->GetNodeColor(), body->GetNodeColor());
  EXPECT_EQ(inner->GetNodeColor(), body->GetNodeColor());
  EXPECT_EQ(until->GetNodeColor(), 0x0000FFu);  // level 3 + 1: even, red

  // On the worker the same; a condition that never holds repeats until Stop.
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_EQ(N->GetValue().GetText(), "3");
  until->SetConstantCondition(N, "-1", EQ);
  Logged(B1, "pass", inner)->Action = [this] {
    if (Ran.size() == 500) Thread->Terminate();
  };
  EXPECT_EQ(RunB1(), TTexts{"Aborted"});
  EXPECT_EQ(Ran.size(), 500u);
}

TEST_F(RepeatUntilTest, LinkingAndTexts) {
  auto* bare = new TRepeatUntilScript(B1, NewNode(B1));
  EXPECT_EQ(bare->GetText(), "Repeat from none");
  EXPECT_FALSE(bare->CanMakeCopyScript());
  EXPECT_TRUE(bare->IsIndented() && bare->ClosesSection());
  EXPECT_THROW(bare->Execute(), EExperimentError);  // no condition: no run
  delete bare;

  TLabelScript* first = Label("First");
  TCommentScript* a = Comment("a");
  TLabelScript* second = Label("Second");
  TCommentScript* b = Comment("b");
  auto* until = new TRepeatUntilScript(B1, NewNode(B1));
  until->SetLabel(second);
  EXPECT_EQ(until->AExpNode->GetText(), "Repeat from Second");
  EXPECT_EQ(Outline(B1->AExpNode), "First | Comment: a | Second[Comment: b] | Repeat from Second");
  until->SetConstantCondition(N, "2", LT);
  EXPECT_EQ(until->AExpNode->GetText(), "Repeat from Second Until N<2");
  second->SetTitle("Again");  // the Label's title shows on the Repeat-Until
  EXPECT_EQ(until->AExpNode->GetText(), "Repeat from Again Until N<2");

  // Another Label: the old one lets its section go, the new one takes the lines between.
  until->SetLabel(first);
  EXPECT_EQ(Outline(B1->AExpNode),
            "First[Comment: a | Again | Comment: b] | Repeat from First Until N<2");
  EXPECT_EQ(second->GetRepeatScript(), nullptr);
  EXPECT_EQ(first->GetRepeatScript(), until);
  EXPECT_TRUE(a->AbIndented && b->AbIndented);
}

TEST_F(RepeatUntilTest, RecordByteByByteAndReadBack) {
  TLabelScript* label = Label("Loop");
  TCommentScript* body = Comment("body");
  TRepeatUntilScript* until = Until(label, N, "3", GE);
  until->SetCommentedOut(true);
  const TBytes bytes = Written({label, body, until});
  // The Label's identifier, the condition part (N is the third object met), the base.
  const TBytes expected =
      Cat({StringBytes("Loop"), I32(100), B(true),                                   //
           StringBytes("body"), I32(101), B(false),                                  //
           I32(100), B(true), I32(ectCONDCONSTANT), B(false), I32(102), I32(GE),     //
           StringBytes("3"), I32(eatINTEGER), I32(103), B(true)});
  EXPECT_EQ(bytes, expected);

  const std::vector<TScript*> read =
      ReadInto(B2, bytes, {TScript::LABEL, TScript::COMMENT, TScript::REPUNTIL}, N, 102);
  EXPECT_EQ(Outline(B2->AExpNode), "Loop[Comment: body] | Repeat from Loop Until N>=3");
  B2->CheckAfterRead();
  auto* readUntil = static_cast<TRepeatUntilScript*>(read[2]);
  EXPECT_EQ(readUntil->GetLabelScript(), read[0]);
  EXPECT_TRUE(read[0]->AbCommentedOut && readUntil->AbCommentedOut);
  EXPECT_EQ(Written(read), bytes);
  readUntil->SetCommentedOut(false);
  N->GetValue().SetText("3");  // the condition holds at once: one pass
  EXPECT_EQ(Run(B2), (TTexts{"Loop", "Comment: body", "Repeat from Loop Until N>=3"}));
}

TEST_F(RepeatUntilTest, DamagedRecordsAreRefused) {
  // A Label (100) and a Comment (101), then a Repeat-Until naming the identifier given,
  // with or without condition.
  const TBytes label = Cat({StringBytes("L"), I32(100), B(false)});
  const TBytes comment = Cat({StringBytes("c"), I32(101), B(false)});
  const TBytes condition = Cat({B(true), I32(ectCONDCONSTANT), B(false), I32(102), I32(GE),
                                StringBytes("3"), I32(eatINTEGER)});
  const auto until = [&](std::int32_t labelId, bool withCondition, std::int32_t id = 103) {
    return Cat({I32(labelId), withCondition ? condition : B(false), I32(id), B(false)});
  };
  const int L = TScript::LABEL, C = TScript::COMMENT, U = TScript::REPUNTIL;
  const struct { TBytes bytes; std::vector<int> types; std::string error; } cases[] = {
      {Cat({label, comment, until(101, true)}), {L, C, U}, LabelNotSet},  // a Comment
      {Cat({label, comment, until(999, true)}), {L, C, U}, LabelNotSet},  // nothing
      {Cat({label, comment, until(103, true)}), {L, C, U}, LabelNotSet},  // itself
      {Cat({label, comment, until(-1, true)}), {L, C, U}, LabelNotSet},   // no identifier
      {Cat({label, until(100, true), until(100, true, 104)}), {L, U, U}, LabelNotSet},
      {Cat({label, comment, until(100, false)}), {L, C, U},
       "Condition does not exist for Repeat Until script...aborting read"},
      {Cat({label, comment, until(100, true)}), {L, C, U}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadError(c.bytes, c.types), c.error) << c.error;
  // Cut short, and a condition naming no variable.
  EXPECT_NE(ReadError(Cat({label, I32(100), B(true), I32(1)}), {L, U}), "");
  const TBytes unbound = Cat({B(true), I32(ectCONDCONSTANT), B(false), I32(777), I32(GE),
                              StringBytes("3"), I32(eatINTEGER)});
  EXPECT_EQ(ReadError(Cat({label, I32(100), unbound, I32(101), B(false)}), {L, U})
                .rfind(ConditionReadError, 0),
            0u);
  // A Label inside another section is not the Repeat-Until's sibling.
  TBlock* nested = NewBlock("Nested");
  ReadInto(nested, Cat({label, comment}), {L, C});
  auto* outerLabel = new TLabelScript(nested, Tree.AddChildFirst(nested->AExpNode, "none"));
  outerLabel->SetTitle("Outer");
  auto* repeat = new TRepeatScript(nested, NewNode(nested));
  repeat->SetLabel(outerLabel, 2);
  EXPECT_THROW(ReadInto(nested, until(100, true), {U}), EReadError);
}

}  // namespace
