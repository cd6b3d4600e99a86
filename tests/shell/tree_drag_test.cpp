// Drags in the experiment tree: commands and blocks moved, labels, refused drops, and no
// drag during a run. A drop marks the experiment modified exactly when something moved.
#include "shell/tree_drag.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/experiment_running.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "shell/tree_test_fixture.h"

namespace {

class TreeDragTest : public TTreeFixture {
protected:
  // A drag from the node, as the window starts it, dropped on the target (none: below
  // all nodes); answers what the drop answered.
  bool Drop(TTreeNode* from, TTreeNode* target) {
    std::unique_ptr<TDragExperimentObject> drag = ExperimentViewStartDrag(from);
    EXPECT_NE(drag, nullptr);
    return drag && drag->DragDrop(target);
  }
};

TEST_F(TreeDragTest, LabelsShowTheNodeTextAndNewScriptForTheBlankLine) {
  std::unique_ptr<TDragExperimentObject> blank = ExperimentViewStartDrag(BlankNode());
  ASSERT_NE(dynamic_cast<TDragScript*>(blank.get()), nullptr);
  EXPECT_EQ(blank->GetLabelText(), "New Script");

  std::unique_ptr<TDragExperimentObject> block = ExperimentViewStartDrag(B->AExpNode);
  ASSERT_NE(dynamic_cast<TDragBlock*>(block.get()), nullptr);
  EXPECT_EQ(block->GetLabelText(), "B");
  EXPECT_EQ(static_cast<TDragBlock*>(block.get())->GetStartBlock(), B);

  // The drop ends the drag.
  EXPECT_FALSE(block->DragDrop(block->GetStartNode()));
  EXPECT_EQ(block->GetStartNode(), nullptr);
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeDragTest, CommandsMoveWithinTheirBlock) {
  TStub* a1 = Stub(A, "a1");
  TStub* a2 = Stub(A, "a2");
  TStub* a3 = Stub(A, "a3");

  EXPECT_TRUE(Drop(a3->AExpNode, a1->AExpNode));
  EXPECT_EQ(Shape(A), "a3 a1 a2 _");
  EXPECT_EQ(Marks(), 1);
  // In front of the command that follows it already: nothing moves.
  EXPECT_FALSE(Drop(a1->AExpNode, a2->AExpNode));
  EXPECT_FALSE(Drop(a1->AExpNode, a1->AExpNode));
  EXPECT_EQ(Shape(A), "a3 a1 a2 _");
  EXPECT_EQ(Marks(), 1);
  // Onto its block's node: in front of the blank line.
  EXPECT_TRUE(Drop(a3->AExpNode, A->AExpNode));
  EXPECT_EQ(Shape(A), "a1 a2 a3 _");
  EXPECT_EQ(Marks(), 2);
}

TEST_F(TreeDragTest, CommandsMoveAcrossBlocks) {
  TStub* a1 = Stub(A, "a1");
  TStub* a2 = Stub(A, "a2");
  TStub* b1 = Stub(B, "b1");

  std::unique_ptr<TDragExperimentObject> drag = ExperimentViewStartDrag(a1->AExpNode);
  EXPECT_TRUE(drag->DragOver(b1->AExpNode));
  EXPECT_TRUE(drag->DragOver(C->AExpNode));
  EXPECT_TRUE(drag->DragDrop(b1->AExpNode));
  EXPECT_EQ(Shape(A), "a2 _");
  EXPECT_EQ(Shape(B), "a1 b1");
  EXPECT_EQ(a1->Pblock, B);

  // Onto another block's node: to its end, the blank line standing elsewhere.
  EXPECT_TRUE(Drop(a2->AExpNode, C->AExpNode));
  EXPECT_EQ(Shape(A), "_");
  EXPECT_EQ(Shape(C), "a2");
  EXPECT_EQ(a2->Pblock, C);
  EXPECT_EQ(Marks(), 2);
  EXPECT_EQ(Exp.GetCurrentBlock(), A);
}

TEST_F(TreeDragTest, SectionLinesMoveAsTheirCommandsAllow) {
  Cur = A;
  TDataSingle* v = Single(A, "v");
  TStub* c0 = Stub(A, "c0");
  TIfThenScript* ifthen = If(v, "1");
  Stub(A, "t1");
  TStub* t2 = Stub(A, "t2");
  EndIf(ifthen);
  TStub* b1 = Stub(B, "b1");
  const std::string start = Shape(A);
  ASSERT_EQ(start, "c0 If v==1[t1 t2] End If _");

  // Onto a then-command: the commands before it leave the section.
  EXPECT_TRUE(Drop(ifthen->AExpNode, t2->AExpNode));
  EXPECT_EQ(Shape(A), "c0 t1 If v==1[t2] End If _");
  EXPECT_EQ(Marks(), 1);
  // Onto an earlier sibling: the siblings from there join the section.
  EXPECT_TRUE(Drop(ifthen->AExpNode, c0->AExpNode));
  EXPECT_EQ(Shape(A), "If v==1[c0 t1 t2] End If _");
  EXPECT_EQ(Marks(), 2);
  // Another block's command is refused by the If-Then itself.
  std::unique_ptr<TDragExperimentObject> drag = ExperimentViewStartDrag(ifthen->AExpNode);
  EXPECT_FALSE(drag->DragOver(b1->AExpNode));
  EXPECT_FALSE(drag->DragDrop(b1->AExpNode));
  EXPECT_EQ(Shape(B), "b1");
  EXPECT_EQ(Marks(), 2);
}

TEST_F(TreeDragTest, ACommandDroppedOnEmptySpaceIsRefusedAndTheBlankLineIsNoChange) {
  TStub* a1 = Stub(A, "a1");
  Stub(A, "a2");
  std::unique_ptr<TDragExperimentObject> drag = ExperimentViewStartDrag(a1->AExpNode);
  EXPECT_FALSE(drag->DragOver(nullptr));
  EXPECT_FALSE(drag->DragDrop(nullptr));
  // A drop reported as accepted is checked again.
  drag->SetStartNode(a1->AExpNode);
  EXPECT_FALSE(drag->Finished(nullptr, true));
  EXPECT_EQ(Shape(A), "a1 a2 _");
  // Nor does a node of another tree take it.
  drag->SetStartNode(a1->AExpNode);
  EXPECT_FALSE(drag->DragOver(Exp.GetAttributeTree().GetFirstNode()));
  EXPECT_EQ(Marks(), 0);

  // The blank line moves, but nothing saved has changed.
  TStub* b1 = Stub(B, "b1");
  EXPECT_FALSE(Drop(BlankNode(), b1->AExpNode));
  EXPECT_EQ(Shape(A), "a1 a2");
  EXPECT_EQ(Shape(B), "_ b1");
  EXPECT_EQ(Exp.GetCurrentBlock(), B);
  EXPECT_EQ(Ui.StatusText(1), "B");
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeDragTest, BlocksMoveInFrontOfTheTargetFirstOrLast) {
  TStub* a1 = Stub(A, "a1");
  Stub(C, "c1");

  // Onto the first block: first.
  EXPECT_TRUE(Drop(C->AExpNode, A->AExpNode));
  EXPECT_EQ(BlockOrder(), "C Start Block B");
  EXPECT_EQ(Marks(), 1);
  // Below all nodes: last.
  EXPECT_TRUE(Drop(C->AExpNode, nullptr));
  EXPECT_EQ(BlockOrder(), "Start Block B C");
  EXPECT_EQ(Marks(), 2);
  // Onto a command of another block: in front of that block, with its commands.
  EXPECT_TRUE(Drop(C->AExpNode, a1->AExpNode));
  EXPECT_EQ(BlockOrder(), "C Start Block B");
  EXPECT_EQ(Shape(C), "c1");
  EXPECT_EQ(Marks(), 3);
  // The blank line stands for its block too.
  EXPECT_TRUE(Drop(B->AExpNode, BlankNode()));
  EXPECT_EQ(BlockOrder(), "C B Start Block");
  EXPECT_EQ(Marks(), 4);
  Ui.Clear();

  // Blocks that would not move are not marked.
  std::unique_ptr<TDragExperimentObject> drag = ExperimentViewStartDrag(A->AExpNode);
  // Onto one of its own commands or its blank line: refused, it stays.
  EXPECT_FALSE(drag->DragOver(a1->AExpNode));
  EXPECT_FALSE(drag->DragOver(BlankNode()));
  EXPECT_TRUE(drag->DragOver(nullptr));
  EXPECT_FALSE(drag->DragDrop(a1->AExpNode));
  // In front of the block that follows it already, and the last block below all nodes.
  EXPECT_FALSE(Drop(C->AExpNode, B->AExpNode));
  EXPECT_FALSE(Drop(A->AExpNode, nullptr));
  EXPECT_EQ(BlockOrder(), "C B Start Block");
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeDragTest, NothingIsDraggedDuringARun) {
  TStub* a1 = Stub(A, "a1");
  TStub* b1 = Stub(B, "b1");
  std::unique_ptr<TDragExperimentObject> command = ExperimentViewStartDrag(a1->AExpNode);
  std::unique_ptr<TDragExperimentObject> block = ExperimentViewStartDrag(C->AExpNode);

  ExperimentRunning = true;
  EXPECT_EQ(ExperimentViewStartDrag(a1->AExpNode), nullptr);
  EXPECT_EQ(ExperimentViewStartDrag(B->AExpNode), nullptr);
  // A drag begun before the run is refused at every step.
  EXPECT_FALSE(command->DragOver(b1->AExpNode));
  EXPECT_FALSE(command->Finished(b1->AExpNode, true));
  EXPECT_FALSE(block->Finished(A->AExpNode, true));
  ExperimentRunning = false;

  // The worker exists before it sets the running flag.
  TExperimentThread worker;
  ExperimentThread = &worker;
  EXPECT_EQ(ExperimentViewStartDrag(a1->AExpNode), nullptr);
  ExperimentThread = nullptr;

  EXPECT_EQ(Shape(A), "a1 _");
  EXPECT_EQ(Shape(B), "b1");
  EXPECT_EQ(BlockOrder(), "Start Block B C");
  EXPECT_EQ(Marks(), 0);
}

}  // namespace
