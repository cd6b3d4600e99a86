#include "scripts/flow/section_lines.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/tree_node.h"
#include "scripts/script.h"

void SectionLines::MoveUnder(TTreeNode* node, TScript* topscript) {
  QORV_ASSERT(node!=0&&topscript!=0);
  if (TScript* script = ScriptOfNode(node)) script->MoveNode(topscript, true);
  if (node->GetParent() != topscript->AExpNode)
    node->MoveTo(topscript->AExpNode, TNodeAttachMode::naAddChild);
}

void SectionLines::MoveInFront(TTreeNode* node, TScript* topscript, TScript* section) {
  QORV_ASSERT(node!=0&&topscript!=0);
  if (TScript* script = ScriptOfNode(node)) script->MoveNode(topscript, false);
  // A node whose command did not move it (or that has none) is moved here.
  if (node->GetParent() == (section ? section : topscript)->AExpNode)
    node->MoveTo(topscript->AExpNode, TNodeAttachMode::naInsert);
}

void SectionLines::Reindent(TTreeNode* node) {
  if (TScript* script = ScriptOfNode(node)) script->AbIndented = script->IsIndented();
}

void SectionLines::MoveSiblingsUnder(TTreeNode* after, TTreeNode* upTo, TScript* topscript) {
  QORV_ASSERT(after!=0);
  for (;;) {
    TTreeNode* nextnode = after->GetNextSibling();
    if (nextnode == upTo) break;
    QORV_ASSERT(nextnode!=0);
    MoveUnder(nextnode, topscript);
  }
}

void SectionLines::TakeBackTo(TScript* opener, TTreeNode* movenode) {
  QORV_ASSERT(opener!=0&&opener->AExpNode!=0&&movenode!=0);
  TTreeNode* node = opener->AExpNode;
  TTreeNode* from = movenode->GetParent();
  for (;;) {
    TTreeNode* holdnode = from == node->GetParent() ? node->GetPrevSibling() : from->GetLastChild();
    QORV_ASSERT(holdnode!=0);
    holdnode->MoveTo(node, TNodeAttachMode::naAddChildFirst);
    Reindent(holdnode);
    if (holdnode == movenode) break;
  }
  node->SetExpanded(true);
}

void SectionLines::MoveEnd(TScript* closer, TScript* opener, TTreeNode* movenode) {
  QORV_ASSERT(closer!=0&&closer->AExpNode!=0&&opener!=0&&movenode!=0);
  TTreeNode* endnode = closer->AExpNode;
  if (movenode->GetAbsoluteIndex() > endnode->GetAbsoluteIndex()) {
    // The siblings up to the node join the end of the section.
    MoveSiblingsUnder(endnode, movenode, opener);
  } else if (movenode != endnode) {
    // The node and the commands after it leave the section, which ends before them.
    QORV_ASSERT(movenode->GetParent()==opener->AExpNode);
    for (TTreeNode* node = movenode; node;) {
      TTreeNode* next = node->GetNextSibling();
      MoveInFront(node, closer, opener);
      node = next;
    }
    endnode->MoveTo(movenode, TNodeAttachMode::naInsert);
  }
}

bool SectionLines::PrepareSection(TScript* opener) {
  QORV_ASSERT(opener!=0&&opener->AExpNode!=0);
  bool ok = true;
  if (TTreeNode* childnode = opener->AExpNode->GetFirstChild()) {
    QORV_ASSERT_AS(childnode->GetData()!=0, "childnode!=0&&childnode->Data!=0");
    opener->Pnextscript = ScriptOfNode(childnode);
    QORV_ASSERT(opener->Pnextscript!=0);
    for (; childnode && ok; childnode = childnode->GetNextSibling())
      if (TScript* script = ScriptOfNode(childnode)) ok = script->SetNextScript();
  }
  // The default finds the same first command, or the line after an empty section.
  opener->TScript::SetNextScript();
  return ok;
}

void SectionLines::CheckSection(TScript* opener) {
  QORV_ASSERT(opener!=0&&opener->AExpNode!=0);
  for (int i = 0; i < opener->AExpNode->Count(); ++i)
    if (TScript* script = ScriptOfNode(opener->AExpNode->Item(i))) script->CheckAfterRead();
}

bool SectionLines::MayDrop(TScript* line, TBlock* block, TTreeNode* node, TTreeNode* after,
                           TTreeNode* before, TTreeNode* sibling,
                           std::initializer_list<TTreeNode*> parents) {
  QORV_ASSERT(line!=0);
  if (!block || block != line->Pblock) return false;
  QORV_ASSERT(node!=0);
  if (node->GetLevel() == aiBLOCK || BlockOfNode(node) != block) return false;
  const int index = node->GetAbsoluteIndex();
  if (after && index <= after->GetAbsoluteIndex()) return false;
  if (before && index >= before->GetAbsoluteIndex()) return false;
  // Only a sibling can join the section across the line, and only a command of the
  // section can leave it: anything else would tear the tree apart.
  const TTreeNode* parent = node->GetParent();
  bool placed = sibling && parent == sibling->GetParent();
  for (const TTreeNode* p : parents) placed = placed || parent == p;
  if (!placed) return false;
  TScript* script = ScriptOfNode(node);
  return !(script && script->ClosesSection());
}
