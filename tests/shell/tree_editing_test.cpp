// The experiment tree's editing: presses, pop-up items, shortcuts and the edits behind
// them, each marking the experiment modified exactly when it changed something and
// refusing while a run is active.
#include "shell/tree_editing.h"

#include <gtest/gtest.h>

#include "model/experiment_running.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/dec_script.h"
#include "shell/tree_test_fixture.h"

namespace {

class TRecordingView : public TDrawPartsView {
public:
  void Redraw() override { ++Redraws; }
  TPoint CursorPoint() const override { return {}; }
  int Redraws = 0;
};

class TreeEditingTest : public TTreeFixture {
protected:
  // Presses the node as the window forwards a press; the output of earlier steps is
  // cleared.
  TTreeNodeKind Press(TTreeNode* node) {
    TTreeNodeKind kind = Editor.ExperimentViewMouseDown(node);
    Ui.Clear();
    return kind;
  }
  TExpObjMenuState Menu(TTreeNode* node) { return Editor.ExpObjPopupPopup(Press(node)); }

  // The experiment goes after the view: its boxes redraw the diagram as they go.
  ~TreeEditingTest() override { Parts.SetView(nullptr); }

  TRecordingView View;
  TExperimentTreeEditor Editor{Exp, Parts};
};

TEST_F(TreeEditingTest, PressSelectsTheNodeAndMakesItsBlockCurrent) {
  TStub* a1 = Stub(A, "a1");
  TStub* b1 = Stub(B, "b1");
  ASSERT_EQ(Exp.GetCurrentBlock(), A);

  EXPECT_EQ(Editor.ExperimentViewMouseDown(b1->AExpNode), nkSCRIPT);
  EXPECT_EQ(Tree.GetSelected(), b1->AExpNode);
  EXPECT_EQ(Exp.GetCurrentBlock(), B);
  EXPECT_EQ(Shape(B), "b1 _");
  EXPECT_EQ(Ui.StatusText(1), "B");

  // A block node keeps the selection, though the blank line moves into its block: the
  // items act on the node pressed.
  EXPECT_EQ(Editor.ExperimentViewMouseDown(C->AExpNode), nkBLOCK);
  EXPECT_EQ(Tree.GetSelected(), C->AExpNode);
  EXPECT_EQ(Exp.GetCurrentBlock(), C);

  EXPECT_EQ(Editor.ExperimentViewMouseDown(BlankNode()), nkBLANK);
  EXPECT_EQ(Tree.GetSelected(), BlankNode());
  EXPECT_EQ(Editor.ExperimentViewMouseDown(nullptr), nkNONE);
  EXPECT_EQ(Tree.GetSelected(), BlankNode());

  // During a run the node is selected but no insertion point comes into its block.
  ExperimentRunning = true;
  EXPECT_EQ(Editor.ExperimentViewMouseDown(a1->AExpNode), nkSCRIPT);
  EXPECT_EQ(Tree.GetSelected(), a1->AExpNode);
  EXPECT_EQ(Exp.GetCurrentBlock(), C);
  EXPECT_EQ(Shape(A), "a1");
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeEditingTest, PopupDisablesEditingDuringARunAndFollowsTheClipboard) {
  TStub* a1 = Stub(A, "a1");

  // The stand-in may be copied; the clipboard holds nothing to paste yet.
  TExpObjMenuState command = Menu(a1->AExpNode);
  EXPECT_TRUE(command.Cut.Visible && command.Cut.Enabled);
  EXPECT_TRUE(command.Copy.Visible && command.Copy.Enabled);
  EXPECT_TRUE(command.Paste.Visible && command.PasteInsert.Visible);
  EXPECT_FALSE(command.Paste.Enabled || command.PasteInsert.Enabled);
  TExpObjMenuState blank = Menu(BlankNode());
  EXPECT_TRUE(blank.Paste.Visible);
  EXPECT_FALSE(blank.Paste.Enabled);
  EXPECT_FALSE(blank.PasteInsert.Visible || blank.Copy.Visible || blank.Cut.Visible);

  ExperimentRunning = true;
  command = Menu(a1->AExpNode);
  EXPECT_TRUE(command.ScriptAction.Visible);
  EXPECT_FALSE(command.ScriptAction.Enabled || command.AnyScriptAction.Enabled ||
               command.Delete.Enabled || command.CommentOut.Enabled);
  EXPECT_FALSE(command.Cut.Enabled || command.Copy.Enabled || command.Paste.Enabled ||
               command.PasteInsert.Enabled);
  EXPECT_TRUE(command.ExpObjAction.Enabled);  // "Edit" still opens the dialog
  TExpObjMenuState block = Menu(B->AExpNode);
  EXPECT_TRUE(block.BlockAction.Visible);
  EXPECT_FALSE(block.BlockAction.Enabled || block.Delete.Enabled);
}

TEST_F(TreeEditingTest, CommentOutTurnsIntoRestoreAndIsHiddenWhereItCannotApply) {
  TStub* a1 = Stub(A, "a1");
  Cur = A;
  TCommentScript* note = Comment("note");

  Press(a1->AExpNode);
  EXPECT_TRUE(Editor.CommentOutScriptClick());
  EXPECT_TRUE(a1->AbCommentedOut);
  EXPECT_EQ(Editor.ExpObjPopupPopup(nkSCRIPT).CommentOutCaption, "Restore");
  EXPECT_TRUE(Editor.CommentOutScriptClick());
  EXPECT_FALSE(a1->AbCommentedOut);
  EXPECT_EQ(Marks(), 2);

  // A Comment line cannot be commented out: hidden, and the handler changes nothing.
  EXPECT_FALSE(Menu(note->AExpNode).CommentOut.Visible);
  EXPECT_FALSE(Editor.CommentOutScriptClick());
  EXPECT_FALSE(note->AbCommentedOut);
  Press(BlankNode());
  EXPECT_FALSE(Editor.CommentOutScriptClick());
  Press(B->AExpNode);
  EXPECT_FALSE(Editor.CommentOutScriptClick());

  Press(a1->AExpNode);
  ExperimentRunning = true;
  EXPECT_FALSE(Editor.CommentOutScriptClick());
  EXPECT_FALSE(a1->AbCommentedOut);
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeEditingTest, DeletingACommandLeavesTheOthersButNotTheBlankLineOrADecision) {
  Stub(A, "a1");
  TStub* a2 = Stub(A, "a2");
  Stub(A, "a3");

  Press(a2->AExpNode);
  EXPECT_TRUE(Editor.DeleteExpObjClick());
  EXPECT_EQ(Shape(A), "a1 a3 _");
  EXPECT_EQ(Marks(), 1);
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_EQ(Ui.ExperimentChanges().back().second, 0);  // the run buttons refresh

  // The blank line stays; nothing changed, nothing marked.
  Press(BlankNode());
  EXPECT_FALSE(Editor.DeleteExpObjClick());
  EXPECT_EQ(Shape(A), "a1 a3 _");
  EXPECT_EQ(Marks(), 0);

  Line(A, B);
  Line(A, C);
  TDecScript* decision = A->GetDecScript();
  ASSERT_NE(decision, nullptr);

  Press(decision->AExpNode);
  EXPECT_FALSE(Editor.DeleteExpObjClick());
  EXPECT_EQ(A->GetDecScript(), decision);
  ASSERT_EQ(Ui.Texts().size(), 1u);
  EXPECT_EQ(Ui.Texts()[0].rfind("You cannot delete a decision script.", 0), 0u);
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeEditingTest, DeletingABlockTakesItsCommandsAndBoxWithoutAQuestion) {
  Stub(B, "b1");
  Stub(B, "b2");
  Line(A, B);
  Line(B, C);
  Parts.SetView(&View);
  ASSERT_EQ(Parts.Count(), 5);  // three boxes, two lines

  Press(B->AExpNode);
  EXPECT_TRUE(Editor.DeleteExpObjClick());
  EXPECT_EQ(BlockOrder(), "Start Block C");
  EXPECT_EQ(Parts.Count(), 2);  // its box and both its lines have gone
  for (int i = 0; i < Parts.Count(); ++i)
    EXPECT_EQ(Parts.GetPart(i)->GetType(), TDrawPart::depBLOCK);
  EXPECT_EQ(A->GetNextBlock(), nullptr);
  EXPECT_GT(View.Redraws, 0);
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_EQ(Marks(), 1);
  EXPECT_EQ(Ui.ExperimentChanges().back().second, 0);

  // The start block passes its flag on.
  Press(A->AExpNode);
  EXPECT_TRUE(Editor.DeleteExpObjClick());
  EXPECT_EQ(BlockOrder(), "C");
  EXPECT_TRUE(C->IsStartBlock());
  EXPECT_EQ(Exp.GetBlankScript(), nullptr);  // it stood in the deleted block
  EXPECT_TRUE(Ui.Shown().empty());
}

TEST_F(TreeEditingTest, BlankLineMovesToTheBeginningAndToTheEndWithoutMarking) {
  Stub(A, "a1");
  TStub* section = Stub(A, "s");
  section->Opens = true;
  Stub(A, "x", TScript::CALCULATE, section);
  ASSERT_EQ(Shape(A), "a1 s[x] _");

  Press(BlankNode());
  EXPECT_TRUE(Editor.BlankToBeginBMIClick());
  EXPECT_EQ(Shape(A), "_ a1 s[x]");
  EXPECT_FALSE(Editor.BlankToBeginBMIClick());
  EXPECT_TRUE(Editor.BlankToEndBMIClick());
  EXPECT_EQ(Shape(A), "a1 s[x] _");
  EXPECT_FALSE(Editor.BlankToEndBMIClick());

  // From inside a section to the end of its block.
  Exp.MoveBlankScript(section->AExpNode->GetFirstChild());
  ASSERT_EQ(Shape(A), "a1 s[_ x]");
  EXPECT_TRUE(Editor.BlankToEndBMIClick());
  EXPECT_EQ(Shape(A), "a1 s[x] _");
  // The insertion point is not saved: moving it changes no experiment.
  EXPECT_EQ(Marks(), 0);
  EXPECT_EQ(Exp.GetCurrentBlock(), A);

  ExperimentRunning = true;
  EXPECT_FALSE(Editor.BlankToBeginBMIClick());
  EXPECT_EQ(Shape(A), "a1 s[x] _");
}

TEST_F(TreeEditingTest, SetAsStartMakesTheCurrentBlockTheStartBlock) {
  ASSERT_TRUE(A->IsStartBlock());
  Press(B->AExpNode);
  EXPECT_TRUE(Editor.SetAsStartBlockClick());
  EXPECT_TRUE(B->IsStartBlock());
  EXPECT_FALSE(A->IsStartBlock());
  EXPECT_EQ(Marks(), 1);
  EXPECT_FALSE(Editor.SetAsStartBlockClick());  // already the start block
  EXPECT_EQ(Marks(), 1);

  Press(C->AExpNode);
  ExperimentRunning = true;
  Ui.Clear();
  EXPECT_FALSE(Editor.SetAsStartBlockClick());
  EXPECT_TRUE(B->IsStartBlock());
  EXPECT_FALSE(C->IsStartBlock());
  EXPECT_EQ(Marks(), 0);
}

TEST_F(TreeEditingTest, ShortcutsActOnlyWithThePointerOverTheSelectedNode) {
  TStub* a1 = Stub(A, "a1");
  Stub(A, "a2");

  Press(a1->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::Delete, false), TTreeKeyAction::None);
  EXPECT_EQ(Shape(A), "a1 a2 _");
  EXPECT_EQ(Editor.KeyAction(TTreeKey::CtrlC, false), TTreeKeyAction::None);
  EXPECT_EQ(Editor.KeyAction(TTreeKey::CtrlX, false), TTreeKeyAction::None);

  // Inside: the stand-in may be copied; nothing is held to paste (tree_clipboard_test
  // pastes).
  EXPECT_EQ(Editor.KeyAction(TTreeKey::CtrlC, true), TTreeKeyAction::Copy);
  EXPECT_EQ(Editor.KeyAction(TTreeKey::CtrlX, true), TTreeKeyAction::Cut);
  EXPECT_EQ(Editor.KeyAction(TTreeKey::CtrlV, true), TTreeKeyAction::None);
  Press(B->AExpNode);
  EXPECT_EQ(Editor.KeyAction(TTreeKey::CtrlC, true), TTreeKeyAction::None);  // a block

  Press(a1->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::Delete, true), TTreeKeyAction::Delete);
  EXPECT_EQ(Shape(A), "a2 _");
  EXPECT_EQ(Marks(), 1);

  // Nothing without a selected node.
  Tree.SetSelected(nullptr);
  EXPECT_EQ(Editor.KeyAction(TTreeKey::Delete, true), TTreeKeyAction::None);
}

TEST_F(TreeEditingTest, EditsRefuseFromTheWorkersCreationOn) {
  TStub* a1 = Stub(A, "a1");
  Press(a1->AExpNode);
  // Start has made the worker; the worker has not yet set the running flag.
  TExperimentThread worker;
  ExperimentThread = &worker;
  EXPECT_TRUE(IsRunActive());
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::Delete, true), TTreeKeyAction::None);
  EXPECT_FALSE(Editor.DeleteExpObjClick());
  EXPECT_FALSE(Editor.CommentOutScriptClick());
  EXPECT_EQ(Shape(A), "a1 _");
  EXPECT_FALSE(Menu(a1->AExpNode).Delete.Enabled);
  ExperimentThread = nullptr;
  EXPECT_FALSE(IsRunActive());
  ExperimentRunning = true;
  EXPECT_TRUE(IsRunActive());
  EXPECT_EQ(Marks(), 0);
}

}  // namespace
