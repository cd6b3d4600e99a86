#include "scripts/flow/else_script.h"

#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/section_lines.h"

TElseScript::TElseScript(TBlock* block, TTreeNode* node) : TEndPointScript(block, node) {
  if (AExpNode) UpdateNodeText();
}

TElseScript::~TElseScript() {
  if (AExpNode) ReleaseCommands();
  if (Pendifscript) {
    if (TIfThenScript* ifthen = Pendifscript->GetIfThen()) ifthen->SetEndPointScript(Pendifscript);
    Pendifscript->ForgetElse();
    Pendifscript = nullptr;
  }
}

TScript* TElseScript::Execute() {
  if (!AbRunElse && !AbCommentedOut) {
    QORV_ASSERT(Pendifscript!=0);
    return Pendifscript;
  }
  return Pnextscript;
}

TScript* TElseScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(else)");
    return Pnextscript;
  }
  if (!AbRunElse) {
    QORV_ASSERT(Pendifscript!=0);
    return Pendifscript;
  }
  trace.push_back("else");
  return Pnextscript;
}

bool TElseScript::SetNextScript() {
  QORV_ASSERT(Pendifscript!=0);
  return SectionLines::PrepareSection(this);
}

void TElseScript::Load(TReadFile& reader) {
  TScript::Load(reader);
  UpdateNodeText();
}

bool TElseScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  if (!block) return false;
  QORV_ASSERT(Pendifscript!=0&&node!=0);
  TScript* ifthen = GetIfThenScript();
  TTreeNode* ifthennode = ifthen ? ifthen->AExpNode : nullptr;
  QORV_ASSERT(ifthennode!=0);
  return SectionLines::MayDrop(this, block, node, ifthennode, Pendifscript->AExpNode, nullptr,
                               {ifthennode, AExpNode});
}

void TElseScript::MoveTo(TTreeNode* movenode) {
  QORV_ASSERT(movenode!=0);
  QORV_ASSERT(AExpNode!=0);
  TScript* ifthen = GetIfThenScript();
  QORV_ASSERT(ifthen!=0);
  if (movenode->GetAbsoluteIndex() > AExpNode->GetAbsoluteIndex()) {
    // Onto an else-command: the else-commands before it join the then-section.
    for (;;) {
      TTreeNode* child = AExpNode->GetFirstChild();
      QORV_ASSERT(child!=0);
      if (child == movenode) break;
      SectionLines::MoveUnder(child, ifthen);
    }
  } else if (movenode != AExpNode) {
    // Onto a then-command: it and the then-commands after it open the else-section.
    SectionLines::TakeBackTo(this, movenode);
  }
  UiPort().RefreshViews();
}

TTreeNode* TElseScript::GetNextNode() {
  QORV_ASSERT(AExpNode!=0);
  if (TTreeNode* first = AExpNode->GetFirstChild()) return first;
  if (!Pendifscript) return TScript::GetNextNode();  // not linked yet
  TTreeNode* retnode = Pendifscript->AExpNode;
  QORV_ASSERT(retnode!=0);
  return retnode;
}

void TElseScript::CheckAfterRead() {
  SectionLines::CheckSection(this);
  if (!Pendifscript) throw EReadError("Else missing End If script...aboring read");
}

TTreeNode* TElseScript::GetFollowingNode() {
  if (!Pendifscript) return TScript::GetNextNode();
  QORV_ASSERT_AS(Pendifscript->AExpNode!=0, "Pendifscript!=0&&Pendifscript->ExperimentNode!=0");
  return Pendifscript->GetNextNode();
}

void TElseScript::SetCommentedOut(bool commentedOut) {
  if (Pendifscript && Pendifscript->AbCommentedOut)
    Pendifscript->SetCommentedOut(commentedOut);
  else
    TScript::SetCommentedOut(commentedOut);
}

void TElseScript::SetCommentedOutFromStart(bool commentedOut) {
  TScript::SetCommentedOut(commentedOut);
  if (Pendifscript) Pendifscript->SetCommentedOutFromStart(commentedOut);
}

TEndPointScript* TElseScript::GetEndIfScript() { return Pendifscript; }

TScript* TElseScript::GetIfThenScript() {
  return Pendifscript ? Pendifscript->GetIfThen() : nullptr;
}

void TElseScript::SetEndIf(TEndIfScript* endifscript) {
  QORV_ASSERT(endifscript!=0);
  QORV_ASSERT(Pendifscript==0);
  Pendifscript = endifscript;
}

void TElseScript::AdoptCommands() {
  QORV_ASSERT(Pendifscript!=0&&AExpNode!=0);
  SectionLines::MoveSiblingsUnder(AExpNode, Pendifscript->AExpNode, this);
  AExpNode->SetExpanded(true);
}

void TElseScript::ReleaseCommands() {
  QORV_ASSERT(AExpNode!=0);
  TScript* ifthen = GetIfThenScript();
  while (TTreeNode* child = AExpNode->GetFirstChild()) {
    if (ifthen)
      SectionLines::MoveUnder(child, ifthen);
    else
      SectionLines::MoveInFront(child, this);
  }
}
