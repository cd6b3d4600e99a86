#include "scripts/flow/if_then_script.h"

#include "expressions/condition.h"
#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/flow/command_record.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/section_lines.h"

namespace {
const char* const NoCondition = "Condition does not exist for IfThen script...aborting read";
const char* const NoEndIf = "IfThen script missing End If script...aborting read";
}  // namespace

// TIfThenScript

TIfThenScript::TIfThenScript(TBlock* block, TTreeNode* node)
    : TConditionAttributeScript(block, node) {}

TIfThenScript::~TIfThenScript() {
  TEndIfScript* endifs = nullptr;
  if (Pendpointscript) {
    endifs = dynamic_cast<TEndIfScript*>(Pendpointscript->GetEndIfScript());
    QORV_ASSERT(endifs!=0);
    if (TElseScript* elsescript = endifs->GetElseScript()) elsescript->ReleaseCommands();
    endifs->ForgetIfThen();
    Pendpointscript = nullptr;
  }
  if (AExpNode) ReleaseCommands();
  delete endifs;  // with its Else
}

bool TIfThenScript::Evaluate() {
  // A condition is required by the dialog and by the check after reading.
  if (!ACondition) throw EExperimentError("The If-Then script has no condition");
  QORV_ASSERT(Pendpointscript!=0);
  const bool result = ACondition->Evaluate();
  Pendpointscript->AbRunElse = !result;
  return result;
}

TScript* TIfThenScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  return Evaluate() ? Pnextscript : Pendpointscript;
}

TScript* TIfThenScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  const std::string values = ACondition ? ACondition->GetValueText() + " evaluates to" : "";
  const bool result = Evaluate();
  trace.push_back(values + (result ? " true." : " false."));
  return result ? Pnextscript : Pendpointscript;
}

bool TIfThenScript::SetNextScript() {
  QORV_ASSERT(Pendpointscript!=0);
  return SectionLines::PrepareSection(this);
}

void TIfThenScript::Save(TWriteFile& writer) {
  SaveCondition(writer);
  TScript::Save(writer);
}

void TIfThenScript::Load(TReadFile& reader) {
  LoadCondition(reader);
  TScript::Load(reader);
  UpdateNodeText();
}

bool TIfThenScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  if (!block) return false;
  QORV_ASSERT(Pendpointscript!=0&&node!=0);
  return SectionLines::MayDrop(this, block, node, nullptr, Pendpointscript->AExpNode, AExpNode,
                               {AExpNode});
}

void TIfThenScript::MoveTo(TTreeNode* movenode) {
  QORV_ASSERT(movenode!=0);
  QORV_ASSERT(AExpNode!=0);
  if (movenode->GetAbsoluteIndex() > AExpNode->GetAbsoluteIndex()) {
    // Onto a then-command: the commands before it leave the section, the If line moves
    // down to it.
    for (;;) {
      TTreeNode* child = AExpNode->GetFirstChild();
      QORV_ASSERT(child!=0);
      if (child == movenode) break;
      SectionLines::MoveInFront(child, this);
    }
  } else if (movenode != AExpNode) {
    // Onto an earlier sibling: the If line moves up to it, the siblings from there on
    // open the then-section.
    SectionLines::TakeBackTo(this, movenode);
  }
  UiPort().RefreshViews();
}

TTreeNode* TIfThenScript::GetNextNode() {
  QORV_ASSERT(AExpNode!=0);
  if (TTreeNode* first = AExpNode->GetFirstChild()) return first;
  if (Pendpointscript) return Pendpointscript->AExpNode;
  return TScript::GetNextNode();  // not linked yet
}

void TIfThenScript::CheckAfterRead() {
  SectionLines::CheckSection(this);
  CheckConditionRead(*this, NoCondition);
  if (!Pendpointscript) throw EReadError(NoEndIf);
}

TTreeNode* TIfThenScript::GetFollowingNode() {
  TEndPointScript* endifs = Pendpointscript ? Pendpointscript->GetEndIfScript() : nullptr;
  if (!endifs) return TScript::GetNextNode();
  QORV_ASSERT(endifs->AExpNode!=0);
  return endifs->GetNextNode();
}

std::uint32_t TIfThenScript::GetNodeColor() {
  QORV_ASSERT(AExpNode!=0);
  return ColourOfLevel(AExpNode->GetLevel() + 1);
}

std::string TIfThenScript::GetText() {
  if (!ACondition) return "none";
  return "If " + ACondition->GetText();
}

void TIfThenScript::SetCommentedOut(bool commentedOut) {
  TScript::SetCommentedOut(commentedOut);
  if (Pendpointscript) Pendpointscript->SetCommentedOutFromStart(commentedOut);
}

bool TIfThenScript::SetIncludeElse(bool include) {
  if (!Pendpointscript) {
    // A new If-Then stands just before the insertion point: the End If comes after it.
    QORV_ASSERT(Pblock!=0);
    Pendpointscript = dynamic_cast<TEndIfScript*>(Pblock->AddScript(ENDIF));
    QORV_ASSERT_AS(Pendpointscript!=0&&Pendpointscript->GetEndIfScript()!=0,
                   "Pendpointscript!=0&&Pendpointscript->EndIfScript!=0");
  }
  auto* endifs = dynamic_cast<TEndIfScript*>(Pendpointscript->GetEndIfScript());
  QORV_ASSERT(endifs!=0);
  return endifs->SetElse(this, include);
}

bool TIfThenScript::HasElse() const { return Pendpointscript && Pendpointscript->IsElse(); }

void TIfThenScript::AdoptCommands() {
  QORV_ASSERT(Pendpointscript!=0&&AExpNode!=0);
  SectionLines::MoveSiblingsUnder(AExpNode, Pendpointscript->AExpNode, this);
  // The section's other lines only take their indentation from this.
  Pendpointscript->MoveNode(this, true);
  if (TEndPointScript* endifs = Pendpointscript->GetEndIfScript())
    if (endifs != Pendpointscript) endifs->MoveNode(this, true);
  AbIndented = IsIndented();
}

void TIfThenScript::ReleaseCommands() {
  QORV_ASSERT(AExpNode!=0);
  while (TTreeNode* child = AExpNode->GetFirstChild()) SectionLines::MoveInFront(child, this);
  QORV_ASSERT_AS(!AExpNode->HasChildren(), "!TExperimentObject::AExpNode->HasChildren");
}
