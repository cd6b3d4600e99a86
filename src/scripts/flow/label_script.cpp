#include "scripts/flow/label_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"
#include "scripts/flow/section_lines.h"
#include "scripts/flow/label_copy.h"

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

bool TLabelScript::SetNextScript() { return SectionLines::PrepareSection(this); }

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
  QORV_ASSERT(AExpNode!=0&&ARepeatScript->AExpNode!=0);
  return SectionLines::MayDrop(this, block, node, nullptr, ARepeatScript->AExpNode, AExpNode,
                               {AExpNode});
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
      SectionLines::Reindent(child);
    }
  } else if (movenode != AExpNode) {
    // Onto an earlier sibling: the siblings from there to the Label join the section.
    SectionLines::TakeBackTo(this, movenode);
  }
  UiPort().RefreshViews();
}

TTreeNode* TLabelScript::GetNextNode() {
  QORV_ASSERT(AExpNode!=0);
  if (TTreeNode* first = AExpNode->GetFirstChild()) return first;
  return TScript::GetNextNode();
}

void TLabelScript::CheckAfterRead() { SectionLines::CheckSection(this); }

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
  SectionLines::MoveSiblingsUnder(AExpNode, repeatnode, this);
  AbIndented = IsIndented();
  ARepeatScript->MoveNode(this, true);
}

void TLabelScript::ClearRepeat() {
  QORV_ASSERT(ARepeatScript!=0);
  QORV_ASSERT(AExpNode!=0);
  while (TTreeNode* child = AExpNode->GetFirstChild())
    SectionLines::MoveInFront(child, ARepeatScript, this);
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

// TLabelLoopEnd

template <class TBase>
void TLabelLoopEnd<TBase>::ReleaseLabel() {
  if (Plabelscript && Plabelscript->GetRepeatScript() == this) Plabelscript->ClearRepeat();
}

template <class TBase>
bool TLabelLoopEnd<TBase>::CanMoveTo(TBlock* block, TTreeNode* node) {
  QORV_ASSERT(Plabelscript!=0);
  if (!block) return false;
  QORV_ASSERT(node!=0);
  TTreeNode* labelnode = Plabelscript->AExpNode;
  return SectionLines::MayDrop(this, block, node, labelnode, nullptr, this->AExpNode, {labelnode});
}

template <class TBase>
void TLabelLoopEnd<TBase>::MoveTo(TTreeNode* movenode) {
  QORV_ASSERT_AS(movenode!=0&&movenode->GetLevel()>aiBLOCK, "movenode->Level>aiBLOCK");
  QORV_ASSERT(Plabelscript!=0);
  SectionLines::MoveEnd(this, Plabelscript, movenode);
  UiPort().RefreshViews();
}

template <class TBase>
void TLabelLoopEnd<TBase>::MoveNode(TScript* topscript, bool asChild) {
  if (topscript && topscript == Plabelscript)
    this->AbIndented = asChild;
  else
    TScript::MoveNode(topscript, asChild);
}

template <class TBase>
std::uint32_t TLabelLoopEnd<TBase>::GetNodeColor() {
  QORV_ASSERT(this->AExpNode!=0);
  return TScript::ColourOfLevel(this->AExpNode->GetLevel() + 1);
}

template <class TBase>
void TLabelLoopEnd<TBase>::SetCommentedOut(bool commentedOut) {
  QORV_ASSERT(Plabelscript!=0);
  TScript::SetCommentedOut(commentedOut);
  Plabelscript->SetCommentedOutFromRepeat(commentedOut);
}

template <class TBase>
void TLabelLoopEnd<TBase>::LinkLabel(TLabelScript* label) {
  QORV_ASSERT(label!=0);
  ReleaseLabel();
  Plabelscript = label;
  label->SetRepeat(this);
}

template <class TBase>
void TLabelLoopEnd<TBase>::LoadLabel(TReadFile& reader, std::int32_t labelID, const char* notFound) {
  TTreeNode* own = this->AExpNode;
  QORV_ASSERT_AS(own!=0, "TExperimentObject::AExpNode!=0");
  TTreeNode* parentnode = own->GetParent();
  QORV_ASSERT(parentnode!=0);
  TTreeNode* node = parentnode->GetFirstChild();
  QORV_ASSERT(node!=0);
  QORV_ASSERT(Plabelscript==0);
  // The Label's record comes earlier in the block: it stands among the siblings before
  // this line. The identifier comes from the file, so a mismatch is a damaged file.
  TScript* found = nullptr;
  // An identifier that names one command only is found walking up, through the section.
  if (reader.IsScriptIdUnique(labelID))
    for (TTreeNode* above = own->GetPrevSibling(); above && !found; above = above->GetPrevSibling()) {
      TScript* script = ScriptOfNode(above);
      if (script && script->PreadscriptID == labelID) found = script;
    }
  if (found) node = nullptr;
  for (; node && node != own && !found; node = node->GetNextSibling()) {
    TScript* script = ScriptOfNode(node);
    if (script && script->PreadscriptID == labelID) found = script;
  }
  auto* label = dynamic_cast<TLabelScript*>(found);
  if (!label || label->GetRepeatScript()) throw EReadError(notFound);
  LinkLabel(label);
}

template class TLabelLoopEnd<TScript>;
template class TLabelLoopEnd<TConditionAttributeScript>;

TCopyScript* TLabelScript::MakeCopyScript() { return new TCopyLabel(ATitle); }

void TLabelScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* labelcopy = dynamic_cast<TCopyLabel*>(copyscript);
  QORV_ASSERT_AS(labelcopy!=0, "labelcopy!=0");
  SetTitle(labelcopy->Title);
}
