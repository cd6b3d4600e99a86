// The Label, Repeat and Comment commands, and the line that closes a Label's section, a
// Repeat or a Repeat-Until alike: loops with their pass counts and traces, nested
// sections, comment-out of the pair, deleting and moving the lines, the Repeat's records
// byte by byte and read back, and damaged records refused.
#include "scripts/flow/label_script.h"

#include "model/errors.h"
#include "model/node_style.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "support/experiment_fixture.h"
#include "support/line_report.h"

namespace {

class LabelRepeatTest : public TCommandFixture {
protected:
  // The line that closes the Label's section after the commands added so far: a Repeat
  // of the count or (until) a Repeat-Until that holds once N has reached the count.
  TScript* Close(bool until, TLabelScript* label, std::int32_t count) {
    if (!until) return Repeat(label, count);
    return Until(label, N, std::to_string(count), GE);
  }

  TDataSingle* N = Single(B1, "N", eatINTEGER, "0");
};

TEST_F(LabelRepeatTest, RepeatRunsItsSectionCountTimesAndTracesEachPass) {
  Comment("before");
  TLabelScript* label = Label("Loop");
  Comment("body");
  TRepeatScript* repeat = Repeat(label, 3);
  Comment("after");
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: before | Loop[Comment: body] | Repeat Loop 3 times | Comment: after");

  const std::string L = "Loop", body = "Comment: body", R = "Repeat Loop 3 times";
  EXPECT_EQ(Run(B1), (TTexts{"Comment: before", L, body, R, L, body, R, L, body, R,
                             "Comment: after"}));
  const std::string from = "Repeating from Repeat Loop 3 times";
  EXPECT_EQ(Trace(B1), (TTexts{from, "Counter at 1 :Go to Loop", from, "Counter at 2 :Go to Loop",
                               from, "Counter at 3 :Finished repeat"}));

  // A count of 1 or less runs the section once; any count n runs it n times.
  const struct { std::int32_t count; int passes; } counts[] = {
      {-4, 1}, {0, 1}, {1, 1}, {2, 2}, {5, 5}
  };
  for (const auto& c : counts) {
    repeat->SetLabel(label, c.count);
    EXPECT_EQ(Times(Run(B1), body), c.passes) << c.count;
    EXPECT_EQ(repeat->GetRepeatCounter(), 1) << c.count;  // ready for a later pass
  }

  // A run stopped in the middle of the loop: the next run starts again at 1.
  repeat->SetLabel(label, 3);
  ASSERT_TRUE(B1->PrepareForRun());
  for (TScript* s = B1->GetFirstScript(); s != repeat; s = s->Execute()) {
  }
  repeat->Execute();
  repeat->Execute();
  EXPECT_EQ(repeat->GetRepeatCounter(), 3);
  EXPECT_EQ(Times(Run(B1), body), 3);
}

TEST_F(LabelRepeatTest, NestedSectionsAndTheLabelsARepeatMayUse) {
  TLabelScript* free = Label("Free");
  TLabelScript* outer = Label("Outer");
  TLabelScript* inner = Label("Inner");
  Comment("x");
  Repeat(inner, 3);
  TRepeatScript* outerRepeat = Repeat(outer, 2);
  TLabelScript* empty = Label("Empty");
  Repeat(empty, 2);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Free | Outer[Inner[Comment: x] | Repeat Inner 3 times] | Repeat Outer 2 times | "
            "Empty | Repeat Empty 2 times");
  const TTexts run = Run(B1);
  EXPECT_EQ(Times(run, "Comment: x"), 6);
  EXPECT_EQ(Times(run, "Inner"), 6);
  EXPECT_EQ(Times(run, "Outer"), 2);
  EXPECT_EQ(Times(run, "Empty"), 2);  // an empty section still loops
  EXPECT_EQ(run.back(), "Repeat Empty 2 times");
  EXPECT_EQ(outerRepeat->Pnextscript, empty);

  // The Labels a Repeat may use: free Labels before the insertion point, the Repeat's
  // own Label, and the free Labels inside that Label's section.
  new TBlankScript(B1, Tree.AddChild(B1->AExpNode, "          "), &Exp);
  std::vector<TScript*> labels;
  B1->GetRepeatLabels(labels, nullptr, nullptr);
  EXPECT_EQ(labels, (std::vector<TScript*>{free}));
  TLabelScript* loose = Label("Loose", outer);
  labels.clear();
  B1->GetRepeatLabels(labels, outerRepeat, outer);
  EXPECT_EQ(labels, (std::vector<TScript*>{free, outer, loose}));

  // The Repeat takes a Label from inside its section: the old section is released, the
  // new one runs from that Label.
  outerRepeat->SetLabel(loose, 2);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Free | Outer | Inner[Comment: x] | Repeat Inner 3 times | Loose | "
            "Repeat Loose 2 times | Empty | Repeat Empty 2 times | " +
                std::string(10, ' '));
  EXPECT_EQ(outer->GetRepeatScript(), nullptr);
  EXPECT_EQ(loose->GetRepeatScript(), outerRepeat);
}

TEST_F(LabelRepeatTest, CommentingOutThePairFromEitherLine) {
  for (const bool until : {false, true}) {
    Cur = NewBlock("Commented");
    TLabelScript* label = Label("Loop");
    TIncrementScript* body = Increment(N);
    TScript* end = Close(until, label, 3);
    const std::string E = end->GetText();
    EXPECT_TRUE(label->CanCommentOut() && end->CanCommentOut()) << E;

    end->SetCommentedOut(true);  // the Label follows its closing line, and back
    EXPECT_TRUE(label->AbCommentedOut && end->AbCommentedOut) << E;
    EXPECT_FALSE(body->AbCommentedOut) << E;
    EXPECT_EQ(Times(Run(Cur), body->GetText()), 1) << E;  // the section runs once
    EXPECT_EQ(Trace(Cur, TScript::INCREMENT),
              (TTexts{"Repeating from " + E, "Comment(" + E + ")"}));
    TNodeStyle style;
    ASSERT_TRUE(end->DrawNode(style));
    EXPECT_EQ(style.Text, "/*" + E + "*/");
    end->SetCommentedOut(false);
    EXPECT_FALSE(label->AbCommentedOut || end->AbCommentedOut) << E;
    label->SetCommentedOut(true);  // and the closing line follows its Label
    EXPECT_TRUE(end->AbCommentedOut) << E;
    label->SetCommentedOut(false);
    EXPECT_FALSE(end->AbCommentedOut) << E;
    EXPECT_EQ(Times(Run(Cur), body->GetText()), 3) << E;

    // The pair's lines are drawn in the colour of the section's level.
    EXPECT_TRUE(label->IsIndented() && end->IsIndented() && body->IsIndented()) << E;
    EXPECT_TRUE(label->GetNodeColor() == body->GetNodeColor() &&
                end->GetNodeColor() == body->GetNodeColor()) << E;
    EXPECT_TRUE(label->OpensSection() && label->CanHaveChildren() && end->ClosesSection()) << E;

    // Without its closing line a Label cannot be commented out and stands as a plain line.
    label->SetCommentedOut(true);
    delete end;
    EXPECT_FALSE(label->AbCommentedOut) << E;
    EXPECT_FALSE(label->CanCommentOut() || label->IsIndented() || label->OpensSection()) << E;
    label->SetCommentedOut(true);
    EXPECT_FALSE(label->AbCommentedOut) << E;
    EXPECT_EQ(label->GetNodeColor(), 0xFF0000u);  // level 1
    TTexts trace;
    EXPECT_EQ(label->ExecuteTrace(trace), label->Pnextscript);
    EXPECT_EQ(trace, TTexts{"Nothing repeats here"});
  }
}

TEST_F(LabelRepeatTest, DeletingTheSectionLinesKeepsItsCommands) {
  // Either closing line, deleted, leaves the commands at the Label's level, and the
  // Label can no longer be commented out.
  for (const bool until : {false, true}) {
    Cur = NewBlock("Deleted");
    TLabelScript* label = Label("Loop");
    TCommentScript* a = Comment("a");
    TScript* end = Close(until, label, 2);
    Comment("after");
    label->SetCommentedOut(true);
    EXPECT_TRUE(a->AbIndented);
    Cur->DeleteScript(end);
    EXPECT_EQ(Outline(Cur->AExpNode), "Loop | Comment: a | Comment: after") << until;
    EXPECT_FALSE(a->AbIndented || label->AbCommentedOut || label->CanCommentOut()) << until;
  }

  // Deleting a Label deletes its Repeat; the section's first command takes the selection,
  // or with an empty section the line after the Repeat.
  Cur = B1;
  TLabelScript* label = Label("Loop");
  TCommentScript* a = Comment("a");
  Comment("b");
  Repeat(label, 2);
  TLabelScript* lone = Label("Lone");
  Repeat(lone, 4);
  TCommentScript* after = Comment("after");
  EXPECT_EQ(Outline(B1->AExpNode), "Loop[Comment: a | Comment: b] | Repeat Loop 2 times | Lone | "
                                   "Repeat Lone 4 times | Comment: after");
  Tree.SetSelected(label->AExpNode);
  B1->DeleteScript(label);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: a | Comment: b | Lone | Repeat Lone 4 times | Comment: after");
  EXPECT_EQ(Tree.GetSelected(), a->AExpNode);
  Tree.SetSelected(lone->AExpNode);
  B1->DeleteScript(lone);
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: a | Comment: b | Comment: after");
  EXPECT_EQ(Tree.GetSelected(), after->AExpNode);
}

TEST_F(LabelRepeatTest, MovesReshapeTheSectionWhicheverLineClosesIt) {
  for (const bool until : {false, true}) {
    TBlock* block = Cur = NewBlock("Moves");
    TTreeNode* x = Comment("x")->AExpNode;
    TLabelScript* label = Label("L");
    TTreeNode* a = Comment("a")->AExpNode;
    TTreeNode* b = Comment("b")->AExpNode;
    TScript* end = Close(until, label, 0);
    TTreeNode* c = Comment("c")->AExpNode;
    TTreeNode* d = Comment("d")->AExpNode;
    TTreeNode* inner = Comment("inner", ScriptOfNode(c))->AExpNode;  // below a plain line
    TBlock* otherBlock = Cur = NewBlock("Other");
    TTreeNode* other = Comment("other")->AExpNode;
    Cur = block;
    const std::string E = end->GetText();

    // Where the lines may be dropped. The closing line: after its Label, on a later
    // sibling or a command of the section. The Label: before its closing line, on a
    // sibling or a command of the section. Neither on a line that closes a section, on a
    // block's node or outside its block.
    const struct { TBlock* block; TTreeNode* node; bool endMay; bool labelMay; } drops[] = {
        {block, x, false, true},   {block, label->AExpNode, false, true},
        {block, a, true, true},    {block, b, true, true},
        {block, end->AExpNode, false, false}, {block, c, true, false},
        {block, d, true, false},   {block, inner, false, false},
        {block, block->AExpNode, false, false}, {otherBlock, other, false, false},
        {block, other, false, false}, {nullptr, c, false, false},
    };
    for (const auto& drop : drops) {
      EXPECT_EQ(end->CanMoveTo(drop.block, drop.node), drop.endMay) << E << drop.node->GetText();
      EXPECT_EQ(label->CanMoveTo(drop.block, drop.node), drop.labelMay)
          << E << drop.node->GetText();
    }
    delete ScriptOfNode(inner);

    const int refreshes = Ui.Refreshes();
    end->MoveTo(d);  // the section grows up to the line dropped on
    EXPECT_EQ(Outline(block->AExpNode),
              "Comment: x | L[Comment: a | Comment: b | Comment: c] | " + E + " | Comment: d");
    EXPECT_TRUE(ScriptOfNode(c)->AbIndented);
    end->MoveTo(b);  // the section ends before it
    EXPECT_EQ(Outline(block->AExpNode),
              "Comment: x | L[Comment: a] | " + E + " | Comment: b | Comment: c | Comment: d");
    EXPECT_FALSE(ScriptOfNode(c)->AbIndented);
    label->MoveTo(x);  // the section starts at the line dropped on
    EXPECT_EQ(Outline(block->AExpNode),
              "L[Comment: x | Comment: a] | " + E + " | Comment: b | Comment: c | Comment: d");
    EXPECT_TRUE(ScriptOfNode(x)->AbIndented);
    label->MoveTo(a);
    EXPECT_EQ(Outline(block->AExpNode),
              "Comment: x | L[Comment: a] | " + E + " | Comment: b | Comment: c | Comment: d");
    EXPECT_FALSE(ScriptOfNode(x)->AbIndented);
    EXPECT_EQ(Ui.Refreshes(), refreshes + 4);  // every move repaints
    EXPECT_EQ(Run(block), (TTexts{"Comment: x", "L", "Comment: a", E, "Comment: b",
                                  "Comment: c", "Comment: d"}));

    // Dropped on another block's node, the Label leaves its section behind, and its
    // closing line, which could close no section there, goes.
    otherBlock->MoveScript(label);
    EXPECT_EQ(label->Pblock, otherBlock);
    EXPECT_EQ(label->GetRepeatScript(), nullptr);
    EXPECT_EQ(Outline(block->AExpNode),
              "Comment: x | Comment: a | Comment: b | Comment: c | Comment: d");
    EXPECT_EQ(Outline(otherBlock->AExpNode), "Comment: other | L");
    EXPECT_FALSE(ScriptOfNode(a)->AbIndented);
    EXPECT_TRUE(label->CanMoveTo(block, c));  // a free Label goes anywhere
  }
}

TEST_F(LabelRepeatTest, RecordsByteByByteAndReadBack) {
  TLabelScript* outer = Label("Outer");
  TLabelScript* inner = Label("Inner");
  TCommentScript* note = Comment("note");
  TRepeatScript* innerRepeat = Repeat(inner, 3);
  TRepeatScript* outerRepeat = Repeat(outer, 2);
  outer->SetCommentedOut(true);
  // In the order the block writes them: each line, its section, then its Repeat.
  const TBytes bytes = Written({outer, inner, note, innerRepeat, outerRepeat});
  const TBytes expected = Cat({StringBytes("Outer"), Le32(100), {1},  //
                               StringBytes("Inner"), Le32(101), {0},  //
                               StringBytes("note"), Le32(102), {0},   //
                               Le32(101), Le32(3), Le32(103), {0},    //
                               Le32(100), Le32(2), Le32(104), {1}});
  EXPECT_EQ(bytes, expected);

  // Read as the block reads: each command appended to the block, then its record.
  const int L = TScript::LABEL, C = TScript::COMMENT, R = TScript::REPEAT;
  const std::vector<TScript*> read = ReadInto(B2, bytes, {L, L, C, R, R});
  EXPECT_EQ(Outline(B2->AExpNode),
            "Outer[Inner[Comment: note] | Repeat Inner 3 times] | Repeat Outer 2 times");
  auto* readRepeat = static_cast<TRepeatScript*>(read[4]);
  EXPECT_EQ(readRepeat->GetLabelScript(), read[0]);
  EXPECT_EQ(readRepeat->GetRepeatCount(), 2);
  EXPECT_EQ(readRepeat->GetRepeatCounter(), 0);
  EXPECT_TRUE(read[0]->AbCommentedOut && read[4]->AbCommentedOut);
  EXPECT_FALSE(read[1]->AbCommentedOut);
  EXPECT_EQ(read[3]->PreadscriptID, 103);
  B2->CheckAfterRead();
  read[0]->SetCommentedOut(false);
  EXPECT_EQ(Times(Run(B2), "Comment: note"), 6);

  // A Label passes the check on to its section: a Repeat there without Label fails it.
  new TRepeatScript(B2, Tree.AddChild(read[1]->AExpNode, "none"));
  EXPECT_THROW(B2->CheckAfterRead(), EReadError);
}

TEST_F(LabelRepeatTest, DamagedRecordsAreRefused) {
  const int L = TScript::LABEL, C = TScript::COMMENT, R = TScript::REPEAT;
  // A Label "L" (identifier 100) and a Comment (identifier 101), then a Repeat naming
  // the identifier given.
  const auto file = [](std::int32_t labelId) {
    return Cat({StringBytes("L"), Le32(100), {0}, StringBytes("c"), Le32(101), {0},
                I32(labelId), Le32(2), Le32(102), {0}});
  };
  for (std::int32_t labelId : {101, 999, 102}) {  // a Comment, nothing, the Repeat itself
    TBlock* block = NewBlock("Damaged");
    try {
      ReadInto(block, file(labelId), {L, C, R});
      ADD_FAILURE() << labelId;
    } catch (const EReadError& error) {
      EXPECT_STREQ(error.what(), "Label not defined for repeatscript..aborting read") << labelId;
    }
    EXPECT_THROW(block->CheckAfterRead(), EReadError) << labelId;
    delete block;
  }

  // A second Repeat naming a Label that already has one.
  TBlock* twice = NewBlock("Twice");
  ReadInto(twice, file(100), {L, C, R});
  EXPECT_THROW(ReadInto(twice, Cat({Le32(100), Le32(2), Le32(103), {0}}), {R}), EReadError);
  // A record cut short.
  EXPECT_THROW(ReadInto(NewBlock("Short"), Cat({StringBytes("L"), Le32(100), {0}, Le32(100),
                                                 Le32(2)}),
                        {L, R}),
               EReadError);
}

TEST_F(LabelRepeatTest, TextsAndAnswersOfTheLines) {
  auto* label = new TLabelScript(B1, NewNode(B1));
  EXPECT_EQ(label->GetText(), "None");
  TCommentScript* comment = Comment("a remark");
  EXPECT_EQ(comment->AExpNode->GetText(), "Comment: a remark");
  TRepeatScript* repeat = Repeat(label, 4);
  EXPECT_EQ(repeat->AExpNode->GetText(), "Repeat None 4 times");
  label->SetTitle("Sweep");
  EXPECT_EQ(label->AExpNode->GetText(), "Sweep");
  EXPECT_EQ(repeat->AExpNode->GetText(), "Repeat Sweep 4 times");

  // Only the Label and the Comment go to the clipboard.
  EXPECT_TRUE(label->CanMakeCopyScript() && comment->CanMakeCopyScript());
  EXPECT_FALSE(repeat->CanMakeCopyScript());
  // A Comment runs as nothing and traces nothing; it is drawn in italics and is never
  // commented out.
  comment->Pnextscript = label;
  EXPECT_EQ(comment->Execute(), label);
  EXPECT_TRUE(TraceOf(comment).empty());
  TNodeStyle style;
  ASSERT_TRUE(comment->DrawNode(style));
  EXPECT_TRUE(style.Italic);
  EXPECT_FALSE(comment->CanCommentOut());
  TLineReport listing;
  B1->ListScripts(listing);
  EXPECT_EQ(listing.Lines, (TTexts{"B1", "\tSweep", "\t\tComment: a remark", "\tRepeat Sweep 4 times"}));
}

}  // namespace
