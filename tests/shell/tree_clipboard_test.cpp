// Cut, Copy and Paste in the experiment tree as its editor offers them: section lines
// refused, the shortcuts and the "Paste" of "Insert..." over the selection only, nothing
// offered without one, the overwrite question, and what marks the experiment modified.
// The clipboard's rules per command type are tested in tests/scripts, the menus during a
// run and the block rule in the window in main_window_clipboard_test.
#include <gtest/gtest.h>

#include <string>

#include "scripts/command_table.h"
#include "scripts/copy_script.h"
#include "scripts/exp_obj_clipboard.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/wait_script.h"
#include "shell/tree_editing.h"
#include "shell/tree_test_fixture.h"
#include "support/block_commands.h"
#include "support/copy_samples.h"

namespace {

class TreeClipboardTest : public TTreeFixture {
protected:
  TTreeNodeKind Press(TTreeNode* node) { return Editor.ExperimentViewMouseDown(node); }
  TWaitScript* Wait(TBlock* block, int milliseconds) {
    auto* wait = new TWaitScript(block, NewNode(block));
    wait->SetTime(milliseconds);
    return wait;
  }
  TExpObjClipboard& Clipboard() { return Exp.GetClipboard(); }

  TExperimentTreeEditor Editor{Exp, Parts};
};

TEST_F(TreeClipboardTest, ASectionLineIsNeitherCopiedNorCut) {
  for (int type : SectionLineTypes()) {
    SCOPED_TRACE(CommandName(type));
    const TCommandKind* kind = CommandKindOf(type);
    ASSERT_NE(kind, nullptr);
    TScript* plain = kind->Create(A, NewNode(A));
    Ui.Clear();
    EXPECT_FALSE(plain->CanMakeCopyScript()) << "can be copied: give it a sample";
    Press(plain->AExpNode);
    EXPECT_FALSE(Editor.ClipboardState().CanCopy);
    EXPECT_FALSE(Editor.CopyScriptClick());
    EXPECT_FALSE(Editor.CutScriptClick());
    delete plain;
  }
  EXPECT_EQ(Clipboard().GetCopyScript(), nullptr);
  EXPECT_EQ(Marks(), 0);
}


TEST_F(TreeClipboardTest, ShortcutsAndPastesActOnTheSelectionOnlyAndAskBeforeReplacing) {
  TWaitScript* w100 = Wait(A, 100);
  TWaitScript* w200 = Wait(A, 200);
  TWaitScript* w300 = Wait(B, 300);
  auto* note = new TCommentScript(A, NewNode(A));
  note->SetComment("note");
  // Nothing selected: nothing to copy.
  Tree.SetSelected(nullptr);
  EXPECT_FALSE(Editor.ClipboardState().CanCopy);
  EXPECT_FALSE(Editor.CopyScriptClick());

  // Ctrl+X away from the selection does nothing; over it, it cuts.
  Press(note->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlX, false), TTreeKeyAction::None);
  EXPECT_EQ(Clipboard().GetCopyScript(), nullptr);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlX, true), TTreeKeyAction::Cut);
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 200 milliseconds _");
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), TScript::COMMENT);
  // A block cannot be copied.
  Press(B->AExpNode);
  EXPECT_FALSE(Editor.ClipboardState().CanCopy);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlC, true), TTreeKeyAction::None);
  EXPECT_FALSE(Editor.CopyScriptClick());
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), TScript::COMMENT);
  Press(w300->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlC, false), TTreeKeyAction::None);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlC, true), TTreeKeyAction::Copy);
  EXPECT_EQ(Clipboard().GetCopyScript()->GetScriptType(), TScript::WAIT);
  EXPECT_EQ(Marks(), 2);

  // Nothing selected: nothing pasted.
  Tree.SetSelected(nullptr);
  EXPECT_FALSE(Editor.ClipboardState().CanPaste);
  EXPECT_FALSE(Editor.PasteScriptClick());
  EXPECT_FALSE(Editor.PasteInsertClick());
  // The "Paste" of "Insert..." goes in front of the command, without a question.
  Press(w200->AExpNode);
  const TExpObjMenuState menu = Editor.ExpObjPopupPopup(nkSCRIPT);
  EXPECT_TRUE(menu.PasteInsert.Visible && menu.PasteInsert.Enabled);
  EXPECT_TRUE(Editor.PasteInsertClick());
  EXPECT_EQ(Shape(A), "Wait 100 milliseconds Wait 300 milliseconds _ Wait 200 milliseconds");
  // Ctrl+V over a command inserts in front of it; over the blank line at the blank line.
  Press(w100->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::PasteInsert);
  EXPECT_EQ(Shape(A),
            "Wait 300 milliseconds _ Wait 100 milliseconds Wait 300 milliseconds "
            "Wait 200 milliseconds");
  Press(BlankNode());
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::PasteScript);
  EXPECT_EQ(BlockCommands(A).size(), 5u);
  EXPECT_EQ(BlockCommands(A)[0]->GetText(), "Wait 300 milliseconds");
  // Not over the selection, or on a block: nothing.
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, false), TTreeKeyAction::None);
  Press(A->AExpNode);
  EXPECT_EQ(Editor.ExperimentViewKeyDown(TTreeKey::CtrlV, true), TTreeKeyAction::None);
  EXPECT_EQ(BlockCommands(A).size(), 5u);
  EXPECT_EQ(Marks(), 5);
  EXPECT_TRUE(Ui.Shown().empty());

  // Onto a command: asked first; No changes and marks nothing, Yes replaces it.
  Press(w200->AExpNode);
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(Editor.PasteScriptClick());
  EXPECT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(BlockCommands(A).back(), w200);
  EXPECT_EQ(Marks(), 5);
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(Editor.PasteScriptClick());
  EXPECT_EQ(Ui.Shown().size(), 2u);
  EXPECT_EQ(BlockCommands(A).back()->GetText(), "Wait 300 milliseconds");
  EXPECT_EQ(Marks(), 6);
}

}  // namespace
