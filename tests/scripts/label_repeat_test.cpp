// The Label, Repeat and Comment commands: loops with their pass counts and traces,
// nested sections, comment-out of a section, deleting and moving the section's lines,
// the records byte by byte and read back, and damaged records refused.
#include "scripts/flow/label_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/block.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/node_style.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/repeat_script.h"
#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

using TTexts = std::vector<std::string>;

class LabelRepeatTest : public ::testing::Test {
protected:
  TBlock* NewBlock(const std::string& title) {
    auto* block = new TBlock(&Exp, Tree.Add(nullptr, "No Title"), Parts.AddBlock(title, {}));
    block->SetTitle(title);
    return block;
  }
  TTreeNode* Parent(TScript* script) { return script ? script->AExpNode : B1->AExpNode; }
  TLabelScript* Label(const std::string& title, TScript* parent = nullptr) {
    auto* label = new TLabelScript(B1, Tree.AddChild(Parent(parent), "none"));
    label->SetTitle(title);
    return label;
  }
  TCommentScript* Comment(const std::string& text, TScript* parent = nullptr) {
    auto* comment = new TCommentScript(B1, Tree.AddChild(Parent(parent), "none"));
    comment->SetComment(text);
    return comment;
  }
  // A Repeat added after the commands already there, then linked to its Label.
  TRepeatScript* Repeat(TLabelScript* label, std::int32_t count, TScript* parent = nullptr) {
    auto* repeat = new TRepeatScript(B1, Tree.AddChild(Parent(parent), "none"));
    repeat->SetLabel(label, count);
    return repeat;
  }
  // A Repeat added just before a command, then linked to its Label.
  TRepeatScript* RepeatBefore(TLabelScript* label, std::int32_t count, TScript* before) {
    auto* repeat = new TRepeatScript(B1, Tree.Insert(before->AExpNode, "none"));
    repeat->SetLabel(label, count);
    return repeat;
  }
  // The node texts below a node, sections in brackets: "L[Comment: a] R".
  static std::string Outline(const TTreeNode* node) {
    std::string text;
    for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
      if (!text.empty()) text += " | ";
      text += child->GetText();
      if (child->HasChildren()) text += "[" + Outline(child) + "]";
    }
    return text;
  }
  // Prepares the block and walks Execute from its first command: the texts of the
  // commands run, in order.
  TTexts Run(TBlock* block) {
    EXPECT_TRUE(block->PrepareForRun());
    TTexts run;
    for (TScript* s = block->GetFirstScript(); s && run.size() < 1000; s = s->Execute())
      run.push_back(s->GetText());
    return run;
  }
  // The same through ExecuteTrace: the trace lines.
  TTexts Trace(TBlock* block) {
    EXPECT_TRUE(block->PrepareForRun());
    TTexts trace;
    for (TScript* s = block->GetFirstScript(); s && trace.size() < 1000;)
      s = s->ExecuteTrace(trace);
    return trace;
  }
  static int Times(const TTexts& texts, const std::string& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
  }
  TBytes Written(const std::vector<TScript*>& scripts) {
    TWriteFile writer(Temp.PathOf("w.qrv"));
    for (TScript* s : scripts) s->Save(writer);
    writer.Commit();
    return Temp.ReadBytes("w.qrv");
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TDrawParts Parts;
  TExperiment Exp;
  TTree& Tree = Exp.GetExperimentTree();
  TBlock* B1 = NewBlock("B1");
  TBlock* B2 = NewBlock("B2");
};

TEST_F(LabelRepeatTest, RepeatRunsItsSectionCountTimesAndTracesEachPass) {
  B1->SetAsStartBlock();
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
  const struct {
    std::int32_t count;
    int passes;
  } counts[] = {{-4, 1}, {0, 1}, {1, 1}, {2, 2}, {5, 5}};
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
  B1->SetAsStartBlock();
  TLabelScript* free = Label("Free");
  TLabelScript* outer = Label("Outer");
  TLabelScript* inner = Label("Inner");
  Comment("x");
  TRepeatScript* innerRepeat = Repeat(inner, 3);
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
  EXPECT_EQ(innerRepeat->AExpNode->GetLevel(), 2);
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

TEST_F(LabelRepeatTest, CommentingOutTheSectionLines) {
  B1->SetAsStartBlock();
  TLabelScript* label = Label("Loop");
  TCommentScript* body = Comment("body");
  TRepeatScript* repeat = Repeat(label, 3);
  EXPECT_TRUE(label->CanCommentOut());
  EXPECT_TRUE(repeat->CanCommentOut());
  EXPECT_FALSE(body->CanCommentOut());

  label->SetCommentedOut(true);  // the Repeat follows its Label, and back
  EXPECT_TRUE(label->AbCommentedOut && repeat->AbCommentedOut);
  EXPECT_FALSE(body->AbCommentedOut);
  EXPECT_EQ(Times(Run(B1), "Comment: body"), 1);  // the section runs once
  EXPECT_EQ(Trace(B1), (TTexts{"Repeating from Repeat Loop 3 times",
                               "Comment(Repeat Loop 3 times)"}));
  TNodeStyle style;
  ASSERT_TRUE(repeat->DrawNode(style));
  EXPECT_EQ(style.Text, "/*Repeat Loop 3 times*/");
  repeat->SetCommentedOut(false);
  EXPECT_FALSE(label->AbCommentedOut || repeat->AbCommentedOut);
  EXPECT_EQ(Times(Run(B1), "Comment: body"), 3);

  // Lines of a linked pair are drawn in the colour of the section's level.
  EXPECT_TRUE(label->IsIndented() && repeat->IsIndented() && body->IsIndented());
  EXPECT_EQ(label->GetNodeColor(), body->GetNodeColor());
  EXPECT_EQ(repeat->GetNodeColor(), body->GetNodeColor());
  EXPECT_TRUE(label->OpensSection() && label->CanHaveChildren() && repeat->ClosesSection());

  // Without its Repeat a Label cannot be commented out and stands as a plain line.
  label->SetCommentedOut(true);
  delete repeat;
  EXPECT_FALSE(label->AbCommentedOut);
  EXPECT_FALSE(label->CanCommentOut() || label->IsIndented() || label->OpensSection());
  label->SetCommentedOut(true);
  EXPECT_FALSE(label->AbCommentedOut);
  EXPECT_EQ(label->GetNodeColor(), 0xFF0000u);  // level 1
  TTexts trace;
  EXPECT_EQ(label->ExecuteTrace(trace), label->Pnextscript);
  EXPECT_EQ(trace, TTexts{"Nothing repeats here"});
}

TEST_F(LabelRepeatTest, DeletingTheSectionLinesKeepsItsCommands) {
  TLabelScript* label = Label("Loop");
  TCommentScript* a = Comment("a");
  Comment("b");
  TRepeatScript* repeat = Repeat(label, 2);
  TCommentScript* after = Comment("after");
  label->SetCommentedOut(true);
  EXPECT_TRUE(a->AbIndented);
  B1->DeleteScript(repeat);
  EXPECT_EQ(Outline(B1->AExpNode), "Loop | Comment: a | Comment: b | Comment: after");
  EXPECT_FALSE(a->AbIndented);
  EXPECT_FALSE(label->AbCommentedOut);
  EXPECT_FALSE(label->CanCommentOut());

  // Deleting a Label deletes its Repeat; the section's first command takes the selection.
  RepeatBefore(label, 2, after);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Loop[Comment: a | Comment: b] | Repeat Loop 2 times | Comment: after");
  Tree.SetSelected(label->AExpNode);
  B1->DeleteScript(label);
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: a | Comment: b | Comment: after");
  EXPECT_EQ(Tree.GetSelected(), a->AExpNode);

  // An empty section: the line after the Repeat takes the selection.
  auto* lone = new TLabelScript(B1, Tree.Insert(after->AExpNode, "none"));
  lone->SetTitle("Lone");
  RepeatBefore(lone, 4, after);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: a | Comment: b | Lone | Repeat Lone 4 times | Comment: after");
  Tree.SetSelected(lone->AExpNode);
  B1->DeleteScript(lone);
  EXPECT_EQ(Outline(B1->AExpNode), "Comment: a | Comment: b | Comment: after");
  EXPECT_EQ(Tree.GetSelected(), after->AExpNode);

  // A block destroyed with nested pairs destroys every command once.
  TLabelScript* outer = Label("Outer");
  TLabelScript* inner = Label("Inner");
  Comment("x");
  Repeat(inner, 2);
  Repeat(outer, 2);
  delete B1;
  B1 = nullptr;
  EXPECT_EQ(Tree.Count(), 1);
}

TEST_F(LabelRepeatTest, MovesReshapeTheSection) {
  TTreeNode* x = Comment("x")->AExpNode;
  TLabelScript* label = Label("L");
  TTreeNode* a = Comment("a")->AExpNode;
  TTreeNode* b = Comment("b")->AExpNode;
  TRepeatScript* repeat = Repeat(label, 2);
  TTreeNode* c = Comment("c")->AExpNode;
  TTreeNode* d = Comment("d")->AExpNode;
  TTreeNode* inner = Comment("inner", ScriptOfNode(c))->AExpNode;  // below a plain line
  auto* otherComment = new TCommentScript(B2, Tree.AddChild(B2->AExpNode, "none"));
  otherComment->SetComment("other");
  TTreeNode* other = otherComment->AExpNode;
  const std::string R = "Repeat L 2 times";

  // Where the lines may be dropped. The Repeat: after its Label, on a later sibling or a
  // command of the section. The Label: before its Repeat, on a sibling or a command of
  // the section. Neither on a line that closes a section or outside its block.
  const struct {
    TBlock* block;
    TTreeNode* node;
    bool repeatMay;
    bool labelMay;
  } drops[] = {
      {B1, x, false, true},   {B1, label->AExpNode, false, true},
      {B1, a, true, true},    {B1, b, true, true},
      {B1, repeat->AExpNode, false, false}, {B1, c, true, false},
      {B1, inner, false, false}, {B2, other, false, false},
      {B1, other, false, false}, {nullptr, c, false, false},
  };
  for (const auto& drop : drops) {
    EXPECT_EQ(repeat->CanMoveTo(drop.block, drop.node), drop.repeatMay) << drop.node->GetText();
    EXPECT_EQ(label->CanMoveTo(drop.block, drop.node), drop.labelMay) << drop.node->GetText();
  }
  delete ScriptOfNode(inner);

  const int refreshes = Ui.Refreshes();
  repeat->MoveTo(d);  // the section grows up to the line dropped on
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: x | L[Comment: a | Comment: b | Comment: c] | " + R + " | Comment: d");
  EXPECT_TRUE(ScriptOfNode(c)->AbIndented);
  repeat->MoveTo(b);  // the section ends before it
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: x | L[Comment: a] | " + R + " | Comment: b | Comment: c | Comment: d");
  EXPECT_FALSE(ScriptOfNode(c)->AbIndented);
  label->MoveTo(x);  // the section starts at the line dropped on
  EXPECT_EQ(Outline(B1->AExpNode),
            "L[Comment: x | Comment: a] | " + R + " | Comment: b | Comment: c | Comment: d");
  EXPECT_TRUE(ScriptOfNode(x)->AbIndented);
  label->MoveTo(a);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: x | L[Comment: a] | " + R + " | Comment: b | Comment: c | Comment: d");
  EXPECT_FALSE(ScriptOfNode(x)->AbIndented);
  EXPECT_EQ(Ui.Refreshes(), refreshes + 4);  // every move repaints

  // Dropped on another block's node, the Label leaves its section behind, and its
  // Repeat, which could close no section there, goes.
  B2->MoveScript(label);
  EXPECT_EQ(label->Pblock, B2);
  EXPECT_EQ(label->GetRepeatScript(), nullptr);
  EXPECT_EQ(Outline(B1->AExpNode),
            "Comment: x | Comment: a | Comment: b | Comment: c | Comment: d");
  EXPECT_EQ(Outline(B2->AExpNode), "Comment: other | L");
  EXPECT_FALSE(ScriptOfNode(a)->AbIndented);
  EXPECT_TRUE(label->CanMoveTo(B1, c));  // a free Label goes anywhere
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
  TReadFile reader(Temp.WriteBytes("r.qrv", bytes));
  reader.SetVersion("Qorv 1.5");
  std::vector<TScript*> read;
  for (int type : {TScript::LABEL, TScript::LABEL, TScript::COMMENT, TScript::REPEAT,
                   TScript::REPEAT}) {
    TTreeNode* node = Tree.AddChild(B2->AExpNode, "none");
    TScript* s = type == TScript::LABEL    ? static_cast<TScript*>(new TLabelScript(B2, node))
                 : type == TScript::REPEAT ? static_cast<TScript*>(new TRepeatScript(B2, node))
                                           : new TCommentScript(B2, node);
    s->Load(reader);
    read.push_back(s);
  }
  EXPECT_EQ(reader.BytesLeft(), 0u);
  EXPECT_EQ(Outline(B2->AExpNode), Outline(B1->AExpNode));
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
  B2->SetAsStartBlock();
  read[0]->SetCommentedOut(false);
  EXPECT_EQ(Times(Run(B2), "Comment: note"), 6);

  // A Label passes the check on to its section: a Repeat there without Label fails it.
  new TRepeatScript(B2, Tree.AddChild(read[1]->AExpNode, "none"));
  EXPECT_THROW(B2->CheckAfterRead(), EReadError);
}

TEST_F(LabelRepeatTest, DamagedRecordsAreRefused) {
  const std::string notDefined = "Label not defined for repeatscript..aborting read";
  // A Label "L" (identifier 100) and a Comment (identifier 101), then a Repeat naming
  // the identifier given.
  const auto file = [&](std::int32_t labelId) {
    return Temp.WriteBytes("d.qrv", Cat({StringBytes("L"), Le32(100), {0}, StringBytes("c"),
                                         Le32(101), {0}, Le32(static_cast<std::uint32_t>(labelId)),
                                         Le32(2), Le32(102), {0}}));
  };
  const auto readInto = [&](TBlock* block, std::int32_t labelId) {
    TReadFile reader(file(labelId));
    reader.SetVersion("Qorv 1.5");
    auto* label = new TLabelScript(block, Tree.AddChild(block->AExpNode, "none"));
    label->Load(reader);
    (new TCommentScript(block, Tree.AddChild(block->AExpNode, "none")))->Load(reader);
    auto* repeat = new TRepeatScript(block, Tree.AddChild(block->AExpNode, "none"));
    repeat->Load(reader);
  };
  for (std::int32_t labelId : {101, 999, 102}) {  // a Comment, nothing, the Repeat itself
    TBlock* block = NewBlock("Damaged");
    try {
      readInto(block, labelId);
      ADD_FAILURE() << labelId;
    } catch (const EReadError& error) {
      EXPECT_EQ(error.what(), notDefined) << labelId;
    }
    EXPECT_THROW(block->CheckAfterRead(), EReadError) << labelId;
    delete block;
  }

  // A second Repeat naming a Label that already has one.
  TBlock* twice = NewBlock("Twice");
  readInto(twice, 100);
  TReadFile again(Temp.WriteBytes("again.qrv", Cat({Le32(100), Le32(2), Le32(103), {0}})));
  again.SetVersion("Qorv 1.5");
  auto* second = new TRepeatScript(twice, Tree.AddChild(twice->AExpNode, "none"));
  EXPECT_THROW(second->Load(again), EReadError);

  // A record cut short.
  TBlock* shortBlock = NewBlock("Short");
  TReadFile shortRepeat(Temp.WriteBytes("sr.qrv", Cat({StringBytes("L"), Le32(100), {0},
                                                       Le32(100), Le32(2)})));
  shortRepeat.SetVersion("Qorv 1.5");
  (new TLabelScript(shortBlock, Tree.AddChild(shortBlock->AExpNode, "none")))->Load(shortRepeat);
  auto* cutRepeat = new TRepeatScript(shortBlock, Tree.AddChild(shortBlock->AExpNode, "none"));
  EXPECT_THROW(cutRepeat->Load(shortRepeat), EReadError);
}

TEST_F(LabelRepeatTest, TextsAndAnswersOfTheLines) {
  TLabelScript* label = new TLabelScript(B1, Tree.AddChild(B1->AExpNode, "none"));
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
  // A Comment runs as nothing and traces nothing; it is drawn in italics.
  comment->Pnextscript = label;
  TTexts trace;
  EXPECT_EQ(comment->Execute(), label);
  EXPECT_EQ(comment->ExecuteTrace(trace), label);
  EXPECT_TRUE(trace.empty());
  TNodeStyle style;
  ASSERT_TRUE(comment->DrawNode(style));
  EXPECT_TRUE(style.Italic);
  std::vector<std::string> listing;
  B1->ListScripts(listing);
  EXPECT_EQ(listing, (TTexts{"B1", "\tSweep", "\t\tComment: a remark", "\tRepeat Sweep 4 times"}));
}

}  // namespace
