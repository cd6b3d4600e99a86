#include "shell/tree_drag.h"

#include <utility>
#include <vector>

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/text.h"
#include "shell/tree_editing.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "scripts/script.h"

const char* const NewScriptLabel = "New Script";

namespace {

// The commands of blocks as their nodes and parents in tree order, the blank line left
// out: it is no part of the saved experiment. Equal layouts are equal experiments.
using TLayout = std::vector<std::pair<const TTreeNode*, const TTreeNode*>>;

void AppendLayout(const TTreeNode* blocknode, TLayout& layout) {
  const TTreeNode* end = blocknode->GetNextSibling();
  for (const TTreeNode* node = blocknode->GetNext(); node && node != end; node = node->GetNext()) {
    const TScript* script = ScriptOfNode(node);
    if (script && script->GetExperimentType() == aiBLANK) continue;
    layout.emplace_back(node, node->GetParent());
  }
}

TLayout LayoutOf(const TBlock* first, const TBlock* second) {
  TLayout layout;
  AppendLayout(first->AExpNode, layout);
  if (second != first) AppendLayout(second->AExpNode, layout);
  return layout;
}

}  // namespace

// ---- TDragExperimentObject ----

TBlock* TDragExperimentObject::BlockUnder(TTreeNode* node) {
  if (!node) return nullptr;
  TExperimentObject* object = ObjectOfNode(node);
  QORV_ASSERT_AS(object!=0, "node->Data!=0");
  if (auto* block = dynamic_cast<TBlock*>(object)) return block;
  auto* script = dynamic_cast<TScript*>(object);
  QORV_ASSERT_AS(script!=0&&script->Pblock!=0, "block!=0");
  return script->Pblock;
}

bool TDragExperimentObject::DragOver(TTreeNode* node) const {
  if (!Pstartnode || IsRunActive()) return false;
  if (node && node->GetTree() != Pstartnode->GetTree()) return false;
  return Accepts(node);
}

bool TDragExperimentObject::Finished(TTreeNode* node, bool accepted) {
  // The drop is checked again: a run may have begun since the last drag-over.
  const bool changed = accepted && DragOver(node) && node != Pstartnode && Move(node);
  Clear();
  if (changed) UiPort().ExperimentChanged(1, 0);
  return changed;
}

// ---- TDragScript ----

void TDragScript::SetStartNode(TTreeNode* node) {
  QORV_ASSERT(node!=0);
  Pstartscript = ScriptOfNode(node);
  QORV_ASSERT_AS(Pstartscript!=0, "Plabel!=0&&Ppanel!=0&&Pstartscript!=0");
  // The blank line's node shows only blanks.
  LabelText = TrimText(node->GetText()).empty() ? NewScriptLabel : node->GetText();
  Pstartnode = node;
}

bool TDragScript::Accepts(TTreeNode* node) const {
  TBlock* block = BlockUnder(node);
  return block && Pstartscript->CanMoveTo(block, node);
}

bool TDragScript::Move(TTreeNode* node) {
  TBlock* from = Pstartscript->Pblock;
  TBlock* to = BlockUnder(node);
  QORV_ASSERT(from!=0&&to!=0);
  const TLayout before = LayoutOf(from, to);
  Pstartscript->MoveTo(node);
  if (Pstartscript->GetExperimentType() == aiBLANK && Pstartscript->Pblock != from)
    to->GetExperiment()->SelectBlock(Pstartnode);  // the status bar names the current block
  return LayoutOf(from, to) != before;
}

void TDragScript::Clear() {
  TDragExperimentObject::Clear();
  Pstartscript = nullptr;
}

// ---- TDragBlock ----

void TDragBlock::SetStartNode(TTreeNode* node) {
  QORV_ASSERT(node!=0);
  Pstartblock = dynamic_cast<TBlock*>(ObjectOfNode(node));
  QORV_ASSERT_AS(Pstartblock!=0, "Plabel!=0&&Ppanel!=0&&Pstartblock!=0");
  // A title read from a file may be empty: the label is then empty too.
  LabelText = node->GetText();
  Pstartnode = node;
}

bool TDragBlock::Accepts(TTreeNode* node) const { return BlockUnder(node) != Pstartblock; }

bool TDragBlock::Move(TTreeNode* node) {
  TTree* tree = Pstartnode->GetTree();
  const int before = Pstartnode->GetIndex();
  if (node) {
    // The blank line counts as a command of its block.
    TTreeNode* movenode = BlockUnder(node)->AExpNode;
    QORV_ASSERT_AS(movenode!=0&&movenode->GetLevel()==Pstartnode->GetLevel(),
                   "movenode!=0&&movenode->Level==Pstartnode->Level");
    if (movenode == Pstartnode) return false;
    if (movenode == tree->GetFirstNode())
      Pstartnode->MoveTo(movenode, TNodeAttachMode::naAddFirst);
    else
      Pstartnode->MoveTo(movenode, TNodeAttachMode::naInsert);
  } else {
    TTreeNode* last = tree->GetFirstNode();
    while (last && last->GetNextSibling()) last = last->GetNextSibling();
    if (!last || last == Pstartnode) return false;
    Pstartnode->MoveTo(last, TNodeAttachMode::naAdd);
  }
  return Pstartnode->GetIndex() != before;
}

void TDragBlock::Clear() {
  TDragExperimentObject::Clear();
  Pstartblock = nullptr;
}

// ---- the drag a node starts ----

std::unique_ptr<TDragExperimentObject> ExperimentViewStartDrag(TTreeNode* node) {
  if (IsRunActive()) return nullptr;
  QORV_ASSERT_AS(node!=0&&node->GetData()!=0, "node!=0&&node->Data!=0");
  std::unique_ptr<TDragExperimentObject> drag;
  if (node->GetLevel() == 0)
    drag = std::make_unique<TDragBlock>();
  else
    drag = std::make_unique<TDragScript>();
  drag->SetStartNode(node);
  return drag;
}
