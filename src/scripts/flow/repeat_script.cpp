#include "scripts/flow/repeat_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/flow/label_script.h"

namespace {
const char* const LabelNotDefined = "Label not defined for repeatscript..aborting read";
}  // namespace

TRepeatScript::TRepeatScript(TBlock* block, TTreeNode* node) : TScript(block, node) {}

TRepeatScript::~TRepeatScript() {
  if (Plabelscript && Plabelscript->GetRepeatScript() == this) Plabelscript->ClearRepeat();
}

bool TRepeatScript::CountPass() {
  if (ARepeatCounter >= ARepeatCount) {
    ARepeatCounter = 1;
    return false;
  }
  ++ARepeatCounter;
  return true;
}

TScript* TRepeatScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  if (!CountPass()) return Pnextscript;
  QORV_ASSERT(Plabelscript!=0);
  return Plabelscript;
}

TScript* TRepeatScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  const std::string counter = "Counter at " + NumberText::IntToText(ARepeatCounter) + " :";
  if (!CountPass()) {
    trace.push_back(counter + "Finished repeat");
    return Pnextscript;
  }
  QORV_ASSERT(Plabelscript!=0);
  trace.push_back(counter + "Go to " + Plabelscript->GetText());
  return Plabelscript;
}

bool TRepeatScript::SetNextScript() {
  TScript::SetNextScript();
  ARepeatCounter = 1;
  return true;
}

void TRepeatScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Plabelscript!=0);
  writer.WriteInteger(writer.GetObjectId(Plabelscript));
  writer.WriteInteger(ARepeatCount);
  TScript::Save(writer);
}

void TRepeatScript::Load(TReadFile& reader) {
  QORV_ASSERT_AS(AExpNode!=0, "TExperimentObject::AExpNode!=0");
  TTreeNode* parentnode = AExpNode->GetParent();
  QORV_ASSERT(parentnode!=0);
  TTreeNode* node = parentnode->GetFirstChild();
  QORV_ASSERT(node!=0);
  QORV_ASSERT(Plabelscript==0);
  std::int32_t labelID;
  reader.ReadInteger(labelID);
  // The Label's record comes earlier in the block: it stands among the siblings before
  // this Repeat. The identifier comes from the file, so a mismatch is a damaged file.
  TScript* found = nullptr;
  for (; node && node != AExpNode; node = node->GetNextSibling()) {
    TScript* script = ScriptOfNode(node);
    if (script && script->PreadscriptID == labelID) {
      found = script;
      break;
    }
  }
  auto* label = dynamic_cast<TLabelScript*>(found);
  if (!label || label->GetRepeatScript()) throw EReadError(LabelNotDefined);
  Plabelscript = label;
  label->SetRepeat(this);
  reader.ReadInteger(ARepeatCount);
  ARepeatCounter = 0;
  TScript::Load(reader);
  UpdateNodeText();
}

bool TRepeatScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  QORV_ASSERT(Plabelscript!=0);
  if (!block || block != Pblock) return false;
  QORV_ASSERT(node!=0);
  QORV_ASSERT(AExpNode!=0&&Plabelscript->AExpNode!=0);
  TTreeNode* labelnode = Plabelscript->AExpNode;
  if (BlockOfNode(node) != Pblock) return false;
  if (node->GetAbsoluteIndex() <= labelnode->GetAbsoluteIndex()) return false;
  // At the Repeat's level the node must be a later sibling, so that the section can
  // grow up to it; deeper it must be one of the section's own commands.
  if (node->GetParent() != labelnode && node->GetParent() != AExpNode->GetParent()) return false;
  TScript* script = ScriptOfNode(node);
  return !(script && script->ClosesSection());
}

void TRepeatScript::MoveTo(TTreeNode* movenode) {
  QORV_ASSERT_AS(movenode!=0&&movenode->GetLevel()>aiBLOCK, "movenode->Level>aiBLOCK");
  QORV_ASSERT(Plabelscript!=0);
  QORV_ASSERT(AExpNode!=0);
  TTreeNode* labelnode = Plabelscript->AExpNode;
  if (movenode == AExpNode) return;
  if (movenode->GetAbsoluteIndex() > AExpNode->GetAbsoluteIndex()) {
    // The siblings up to the node join the end of the section.
    for (;;) {
      TTreeNode* nextnode = AExpNode->GetNextSibling();
      QORV_ASSERT(nextnode!=0);
      if (nextnode == movenode) break;
      if (TScript* script = ScriptOfNode(nextnode)) script->MoveNode(Plabelscript, true);
      if (nextnode->GetParent() != labelnode)
        nextnode->MoveTo(labelnode, TNodeAttachMode::naAddChild);
    }
  } else {
    // The node and the commands after it leave the section, which ends before them.
    QORV_ASSERT_AS(movenode->GetParent()==labelnode, "movenode->Parent==Plabelscript node");
    TTreeNode* node = movenode;
    while (node) {
      TTreeNode* next = node->GetNextSibling();
      if (TScript* script = ScriptOfNode(node)) script->MoveNode(Plabelscript, false);
      if (node->GetParent() == labelnode) node->MoveTo(AExpNode, TNodeAttachMode::naInsert);
      node = next;
    }
    AExpNode->MoveTo(movenode, TNodeAttachMode::naInsert);
  }
  UiPort().RefreshViews();
}

void TRepeatScript::CheckAfterRead() {
  if (!Plabelscript) throw EReadError(LabelNotDefined);
}

void TRepeatScript::MoveNode(TScript* topscript, bool asChild) {
  if (topscript && topscript == Plabelscript)
    AbIndented = asChild;
  else
    TScript::MoveNode(topscript, asChild);
}

std::uint32_t TRepeatScript::GetNodeColor() {
  QORV_ASSERT(AExpNode!=0);
  return ColourOfLevel(AExpNode->GetLevel() + 1);
}

std::string TRepeatScript::GetText() {
  const std::string title = Plabelscript ? Plabelscript->GetText() : "none";
  return "Repeat " + title + " " + NumberText::IntToText(ARepeatCount) + " times";
}

void TRepeatScript::SetCommentedOut(bool commentedOut) {
  QORV_ASSERT(Plabelscript!=0);
  TScript::SetCommentedOut(commentedOut);
  Plabelscript->SetCommentedOutFromRepeat(commentedOut);
}

void TRepeatScript::SetLabel(TLabelScript* labelscript, std::int32_t count) {
  QORV_ASSERT(labelscript!=0);
  if (Plabelscript && Plabelscript->GetRepeatScript() == this) Plabelscript->ClearRepeat();
  Plabelscript = labelscript;
  Plabelscript->SetRepeat(this);
  ARepeatCount = count;
  ARepeatCounter = 1;
  UpdateNodeText();
}
