#include "shell/tree_editing.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/blank_script.h"
#include "scripts/script.h"
#include "shell/draw_parts.h"

const char* const CommentOutCaption = "Comment Out";
const char* const RestoreCaption = "Restore";

namespace {

void MarkModified() { UiPort().ExperimentChanged(1, 0); }

// Where the blank line stands: its parent and the node in front of it.
struct TBlankPlace {
  TTreeNode* Parent = nullptr;
  TTreeNode* Previous = nullptr;
  bool operator==(const TBlankPlace&) const = default;
};

TBlankPlace PlaceOf(const TTreeNode* blanknode) {
  return {blanknode->GetParent(), blanknode->GetPrevSibling()};
}

}  // namespace

TExperimentObject* ObjectOfNode(const TTreeNode* node) {
  return node ? static_cast<TExperimentObject*>(node->GetData()) : nullptr;
}

TTree& TExperimentTreeEditor::Tree() const { return Exp.GetExperimentTree(); }

TExperimentObject* TExperimentTreeEditor::Selected() const {
  return ObjectOfNode(Tree().GetSelected());
}

TTreeNodeKind TExperimentTreeEditor::ExperimentViewMouseDown(TTreeNode* node) {
  if (!node) return nkNONE;
  Tree().SetSelected(node);
  QORV_ASSERT_AS(node->GetData()!=0, "node->Data!=0");
  TExperimentObject* object = ObjectOfNode(node);
  QORV_ASSERT_AS(object!=0, "expobj!=0");
  const auto kind = static_cast<TTreeNodeKind>(object->GetExperimentType());
  // During a run the worker walks the blocks, and the insertion point is gone: nothing
  // may come back into a block.
  if (!IsRunActive()) {
    Exp.SelectBlock(node);
    // Selecting another block hands the selection to the blank line, but the items of
    // the pop-up act on the node pressed.
    Tree().SetSelected(node);
  }
  return kind;
}

TExpObjMenuState TExperimentTreeEditor::ExpObjPopupPopup(TTreeNodeKind kind) const {
  const bool running = IsRunActive();
  TExpObjMenuState menu;
  menu.BlankAction = {kind == nkBLANK, true};
  menu.AnyScriptAction = {kind == nkBLANK || kind == nkSCRIPT, !running};
  menu.ExpObjAction = {kind == nkBLOCK || kind == nkSCRIPT, true};
  menu.ScriptAction = {kind == nkSCRIPT, !running};
  menu.BlockAction = {kind == nkBLOCK, !running};
  menu.Delete = {menu.ExpObjAction.Visible, !running};

  // The clipboard is asked only for the items shown: asking may drop its command.
  TExperimentObject* object = Selected();
  const bool scriptItems = menu.ScriptAction.Visible && object;
  TClipboardState clipboard;
  if (menu.AnyScriptAction.Visible || scriptItems) clipboard = ClipboardState();
  const bool canPaste = clipboard.CanPaste && !running;
  menu.Paste = {menu.AnyScriptAction.Visible, canPaste};
  menu.PasteInsert = {menu.ScriptAction.Visible, canPaste};

  menu.CommentOutCaption = CommentOutCaption;
  if (scriptItems) {
    const bool canCopy = clipboard.CanCopy && !running;
    menu.Copy = {true, canCopy};
    menu.Cut = {true, canCopy};
    if (auto* script = dynamic_cast<TScript*>(object)) {
      menu.CommentOut = {script->CanCommentOut(), !running};
      if (script->AbCommentedOut) menu.CommentOutCaption = RestoreCaption;
    }
  }
  return menu;
}

TTreeKeyAction TExperimentTreeEditor::KeyAction(TTreeKey key, bool pointerInside) const {
  if (IsRunActive()) return TTreeKeyAction::None;
  TExperimentObject* object = Selected();
  if (!object || !pointerInside) return TTreeKeyAction::None;
  const TExperimentType kind = object->GetExperimentType();
  switch (key) {
    case TTreeKey::Delete:
      return TTreeKeyAction::Delete;
    case TTreeKey::CtrlC:
      return ClipboardState().CanCopy ? TTreeKeyAction::Copy : TTreeKeyAction::None;
    case TTreeKey::CtrlX:
      return ClipboardState().CanCopy ? TTreeKeyAction::Cut : TTreeKeyAction::None;
    case TTreeKey::CtrlV:
      if (kind != aiBLANK && kind != aiSCRIPT) return TTreeKeyAction::None;
      if (!ClipboardState().CanPaste) return TTreeKeyAction::None;
      // Onto a command the pasted one goes in front of it: nothing is overwritten.
      return kind == aiBLANK ? TTreeKeyAction::PasteScript : TTreeKeyAction::PasteInsert;
    case TTreeKey::Other:
      break;
  }
  return TTreeKeyAction::None;
}

TTreeKeyAction TExperimentTreeEditor::ExperimentViewKeyDown(TTreeKey key, bool pointerInside) {
  const TTreeKeyAction action = KeyAction(key, pointerInside);
  switch (action) {
    case TTreeKeyAction::Delete: DeleteExpObjClick(); break;
    case TTreeKeyAction::Copy: CopyScriptClick(); break;
    case TTreeKeyAction::Cut: CutScriptClick(); break;
    case TTreeKeyAction::PasteScript: PasteScriptClick(); break;
    case TTreeKeyAction::PasteInsert: PasteInsertClick(); break;
    case TTreeKeyAction::None: break;
  }
  return action;
}

int TExperimentTreeEditor::EditExpObjClick() {
  TExperimentObject* object = Selected();
  if (!object) return 0;
  QORV_ASSERT_AS(object->DebugNode==0, "expobj->DebugNode==0");
  return object->Edit();
}

bool TExperimentTreeEditor::DeleteExpObjClick() {
  if (IsRunActive()) return false;
  TExperimentObject* object = Selected();
  if (!object) return false;
  if (auto* block = dynamic_cast<TBlock*>(object)) {
    delete block;  // its commands, its box and the box's lines with it
    Parts.Redraw();
  } else if (auto* script = dynamic_cast<TScript*>(object)) {
    QORV_ASSERT_AS(Exp.GetCurrentBlock()!=0, "Pexperiment->SelectedBlock!=0");
    const int type = script->GetScriptType();
    if (type == TScript::BLANK) return false;
    // The command's own block: the selection may have moved off the current block by
    // keyboard.
    QORV_ASSERT(script->Pblock!=0);
    script->Pblock->DeleteScript(script);
    if (type == TScript::DECISION) return false;  // refused, with the reason shown
  } else {
    return false;
  }
  MarkModified();
  return true;
}

bool TExperimentTreeEditor::CommentOutScriptClick() {
  if (IsRunActive()) return false;
  auto* script = dynamic_cast<TScript*>(Selected());
  if (!script || !script->CanCommentOut()) return false;
  const bool before = script->AbCommentedOut;
  script->SetCommentedOut(!before);
  if (script->AbCommentedOut == before) return false;
  MarkModified();
  return true;
}

bool TExperimentTreeEditor::SetAsStartBlockClick() {
  if (IsRunActive()) return false;
  TBlock* block = Exp.GetCurrentBlock();
  QORV_ASSERT_AS(block!=0, "Pexperiment!=0&&Pexperiment->SelectedBlock!=0");
  if (block->IsStartBlock()) return false;
  block->SetAsStartBlock();
  MarkModified();
  return true;
}

bool TExperimentTreeEditor::BlankToBeginBMIClick() {
  if (IsRunActive()) return false;
  TBlock* block = Exp.GetCurrentBlock();
  QORV_ASSERT_AS(block!=0&&block->AExpNode!=0,
                 "Pexperiment->SelectedBlock!=0&&Pexperiment->SelectedBlock->ExperimentNode!=0");
  if (!Exp.GetBlankScript()) return false;
  TTreeNode* blanknode = Exp.GetBlankScript()->AExpNode;
  const TBlankPlace before = PlaceOf(blanknode);
  Exp.MoveBlankScript(block->AExpNode->GetFirstChild());
  return !(PlaceOf(blanknode) == before);
}

bool TExperimentTreeEditor::BlankToEndBMIClick() {
  if (IsRunActive() || !Exp.GetBlankScript()) return false;
  TTreeNode* blanknode = Exp.GetBlankScript()->AExpNode;
  const TBlankPlace before = PlaceOf(blanknode);
  Exp.MoveBlankScript(nullptr);
  return !(PlaceOf(blanknode) == before);
}
