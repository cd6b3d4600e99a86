#include "scripts/flow/label_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"

TLabelScript::TLabelScript(TBlock* block, TTreeNode* node) : TScript(block, node) {}

TLabelScript::~TLabelScript() {
  // The Repeat's destructor releases this Label, so the section's commands outlive the
  // Label's node.
  delete ARepeatScript;
  ARepeatScript = nullptr;
}

TScript* TLabelScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (ARepeatScript)
    trace.push_back("Repeating from " + ARepeatScript->GetText());
  else
    trace.push_back("Nothing repeats here");
  return Pnextscript;
}

bool TLabelScript::SetNextScript() {
  QORV_ASSERT(AExpNode!=0);
  TTreeNode* childnode = AExpNode->GetFirstChild();
  if (!childnode) return TScript::SetNextScript();
  QORV_ASSERT_AS(childnode!=0&&childnode->GetData()!=0, "childnode!=0&&childnode->Data!=0");
  Pnextscript = ScriptOfNode(childnode);
  QORV_ASSERT(Pnextscript!=0);
  for (; childnode; childnode = childnode->GetNextSibling())
    if (TScript* script = ScriptOfNode(childnode))
      if (!script->SetNextScript()) return false;
  return true;
}

void TLabelScript::Save(TWriteFile& writer) {
  writer.WriteString(ATitle);
  TScript::Save(writer);
}

void TLabelScript::Load(TReadFile& reader) {
  ATitle = reader.ReadString();
  TScript::Load(reader);
  UpdateNodeText();
}

void TLabelScript::SetBlock() {
  TBlock* oldblock = Pblock;
  TScript::SetBlock();
  if (ARepeatScript && Pblock != oldblock) {
    // The Repeat stays behind in the old block, where no Label of its own is left: it
    // goes, and its destructor releases the section's commands there.
    delete ARepeatScript;
    ARepeatScript = nullptr;
  }
}

bool TLabelScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  if (!block) return false;
  if (!ARepeatScript) return true;
  QORV_ASSERT(node!=0);
  QORV_ASSERT(AExpNode!=0&&ARepeatScript->AExpNode!=0);
  if (block != Pblock || BlockOfNode(node) != Pblock) return false;
  if (node->GetAbsoluteIndex() >= ARepeatScript->AExpNode->GetAbsoluteIndex()) return false;
  // At the Label's level the node must be a sibling, so that the section can grow up to
  // it; deeper it must be one of the section's own commands.
  if (node->GetParent() != AExpNode && node->GetParent() != AExpNode->GetParent()) return false;
  TScript* script = ScriptOfNode(node);
  return !(script && script->ClosesSection());
}

void TLabelScript::MoveTo(TTreeNode* movenode) {
  if (!ARepeatScript) {
    TScript::MoveTo(movenode);
    return;
  }
  QORV_ASSERT(movenode!=0);
  QORV_ASSERT(AExpNode!=0);
  if (movenode->GetParent() == AExpNode) {
    // Onto a command of the section: the commands before it leave the section.
    while (TTreeNode* child = AExpNode->GetFirstChild()) {
      if (child == movenode) break;
      child->MoveTo(AExpNode, TNodeAttachMode::naInsert);
      Reindent(child);
    }
  } else if (movenode != AExpNode) {
    // Onto an earlier sibling: the siblings from there to the Label join the section.
    for (;;) {
      TTreeNode* holdnode = AExpNode->GetPrevSibling();
      QORV_ASSERT(holdnode!=0);
      holdnode->MoveTo(AExpNode, TNodeAttachMode::naAddChildFirst);
      Reindent(holdnode);
      if (holdnode == movenode) break;
    }
    AExpNode->SetExpanded(true);
  }
  UiPort().RefreshViews();
}

TTreeNode* TLabelScript::GetNextNode() {
  QORV_ASSERT(AExpNode!=0);
  if (TTreeNode* first = AExpNode->GetFirstChild()) return first;
  return TScript::GetNextNode();
}

void TLabelScript::CheckAfterRead() {
  QORV_ASSERT(AExpNode!=0);
  for (int i = 0; i < AExpNode->Count(); ++i)
    if (TScript* script = ScriptOfNode(AExpNode->Item(i))) script->CheckAfterRead();
}

TTreeNode* TLabelScript::GetFollowingNode() {
  TTreeNode* node = GetNextNode();
  if (ARepeatScript) {
    if (node == ARepeatScript->AExpNode) node = ARepeatScript->GetNextNode();
    delete ARepeatScript;  // releases this Label
    ARepeatScript = nullptr;
  }
  return node;
}

bool TLabelScript::IsIndented() {
  QORV_ASSERT(AExpNode!=0);
  return AExpNode->GetLevel() + (ARepeatScript ? 1 : 0) >= 2;
}

std::uint32_t TLabelScript::GetNodeColor() {
  QORV_ASSERT(AExpNode!=0);
  return ColourOfLevel(AExpNode->GetLevel() + (ARepeatScript ? 1 : 0));
}

void TLabelScript::SetCommentedOut(bool commentedOut) {
  if (!ARepeatScript) {
    TScript::SetCommentedOut(false);
    return;
  }
  TScript::SetCommentedOut(commentedOut);
  ARepeatScript->SetCommentedOut(commentedOut);
}

void TLabelScript::SetRepeat(TScript* repeatscript) {
  QORV_ASSERT(repeatscript!=0);
  QORV_ASSERT(ARepeatScript==0);
  QORV_ASSERT(AExpNode!=0&&repeatscript->AExpNode!=0);
  TTreeNode* repeatnode = repeatscript->AExpNode;
  QORV_ASSERT_AS(repeatnode->GetParent()==AExpNode->GetParent()&&
                     repeatnode->GetIndex()>AExpNode->GetIndex(),
                 "the Repeat stands after its Label");
  ARepeatScript = repeatscript;
  for (;;) {
    TTreeNode* node = AExpNode->GetNextSibling();
    QORV_ASSERT(node!=0);
    if (node == repeatnode) break;
    if (TScript* script = ScriptOfNode(node)) script->MoveNode(this, true);
    if (node->GetParent() != AExpNode) node->MoveTo(AExpNode, TNodeAttachMode::naAddChild);
  }
  AbIndented = IsIndented();
  ARepeatScript->MoveNode(this, true);
}

void TLabelScript::ClearRepeat() {
  QORV_ASSERT(ARepeatScript!=0);
  QORV_ASSERT(AExpNode!=0);
  TTreeNode* repeatnode = ARepeatScript->AExpNode;
  while (TTreeNode* child = AExpNode->GetFirstChild()) {
    // In front of the Repeat: MoveNode not as child on a Label aims at its Repeat.
    if (TScript* script = ScriptOfNode(child)) script->MoveNode(this, false);
    if (child->GetParent() == AExpNode) child->MoveTo(repeatnode, TNodeAttachMode::naInsert);
  }
  QORV_ASSERT_AS(!AExpNode->HasChildren(), "!TExperimentObject::AExpNode->HasChildren");
  ARepeatScript->MoveNode(this, false);
  ARepeatScript = nullptr;
  AbIndented = AExpNode->GetLevel() >= 2;
  if (AbCommentedOut) SetCommentedOut(false);
}

void TLabelScript::SetTitle(const std::string& title) {
  ATitle = title;
  QORV_ASSERT_AS(AExpNode!=0, "TExperimentObject::AExpNode!=0");
  UpdateNodeText();
  if (ARepeatScript) ARepeatScript->UpdateNodeText();
}

void TLabelScript::Reindent(TTreeNode* node) {
  if (TScript* script = ScriptOfNode(node)) script->AbIndented = script->IsIndented();
}
