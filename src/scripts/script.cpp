#include "scripts/script.h"

#include <utility>

#include "model/assertion.h"
#include "model/block.h"
#include "model/node_style.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/script_request.h"

TScript::TScript(TBlock* block, TTreeNode* node) : TExperimentObject(node), Pblock(block) {
  if (AExpNode) {
    AExpNode->SetImageIndex(-1);
    AExpNode->SetSelectedIndex(-1);
    AbIndented = AExpNode->GetLevel() >= 2;
  }
}

std::uint32_t TScript::ColourOfLevel(int level) {
  return level % 2 == 1 ? OddLevelColour : EvenLevelColour;
}

bool TScript::DrawNode(TNodeStyle& style) {
  AbIndented = IsIndented();
  const bool comment = GetScriptType() == COMMENT;
  if (!AbIndented && !comment && !AbCommentedOut) return false;
  QORV_ASSERT(AExpNode!=0);
  style.Text = AExpNode->GetText();
  if (AbCommentedOut) style.Text = "/*" + style.Text + "*/";
  if (AbIndented) style.Colour = GetNodeColor();
  style.Italic = comment || AbCommentedOut;
  style.ImageIndex = AExpNode->GetImageIndex();
  return true;
}

void TScript::AddTextLine(TReport& report) {
  QORV_ASSERT(AExpNode!=0);
  report.AddLine(std::string(static_cast<std::size_t>(AExpNode->GetLevel()), '\t') + GetText());
}

int TScript::Edit() { return EditScript(*this); }

void TScript::SetUp(TCopyScript*) {
  UiPort().ShowMessage("Not doing anything - TScript SetUp(copyscript)", "",
                       TMessageKind::Information);
}

TCopyScript* TScript::MakeCopyScript() {
  UiPort().ShowMessage("Not doing anything - TScript MakeCopyScript( )", "",
                       TMessageKind::Information);
  return nullptr;
}

bool TScript::SetNextScript() {
  Pnextscript = ScriptOfNode(GetNextNode());
  return true;
}

void TScript::Save(TWriteFile& writer) {
  writer.WriteInteger(writer.GetObjectId(this));
  writer.WriteBool(AbCommentedOut);
}

void TScript::Load(TReadFile& reader) {
  QORV_ASSERT(PreadscriptID==-1);
  reader.ReadInteger(PreadscriptID);
  reader.NoteScriptId(PreadscriptID);
  AbCommentedOut = false;
  if (reader.GetVersionNumber() >= qvV1_4) reader.ReadBool(AbCommentedOut);
}

void TScript::SetBlock() {
  QORV_ASSERT_AS(AExpNode!=0, "p_node!=0");
  Pblock = BlockOfNode(AExpNode);
  QORV_ASSERT(Pblock!=0);
}

bool TScript::CanMoveTo(TBlock* block, TTreeNode*) { return block != nullptr; }

void TScript::MoveTo(TTreeNode* movenode) {
  QORV_ASSERT_AS(movenode!=0&&movenode->GetData()!=0, "movenode!=0&&movenode->Data!=0");
  QORV_ASSERT_AS(GetScriptType()!=REPEAT&&GetScriptType()!=REPUNTIL,
                 "GetScriptType( )!=REPEAT&&GetScriptType( )!=REPUNTIL");
  QORV_ASSERT(AExpNode!=0);
  if (movenode->GetLevel() == aiBLOCK) {
    TBlock* block = BlockOfNode(movenode);
    QORV_ASSERT(block!=0);
    block->MoveScript(this);
  } else if (movenode != AExpNode && !movenode->HasAsParent(AExpNode)) {
    // Dropped on the line after a section's opening line (an Else, an End If): the
    // command goes to the end of the section above.
    TTreeNode* previous = movenode->GetPrevSibling();
    TScript* above = ScriptOfNode(previous);
    if (above && previous != AExpNode && above->CanHaveChildren())
      AExpNode->MoveTo(previous, TNodeAttachMode::naAddChild);
    else
      AExpNode->MoveTo(movenode, TNodeAttachMode::naInsert);
  }
  SetBlock();
  UiPort().RefreshViews();
}

TTreeNode* TScript::GetNextNode() {
  QORV_ASSERT(AExpNode!=0);
  if (TTreeNode* next = AExpNode->GetNextSibling()) return next;
  if (AExpNode->GetLevel() <= 1) return nullptr;  // the end of the block
  // The last line of a section: the line after the section's opening line.
  TTreeNode* nextnode = AExpNode->GetParent()->GetNextSibling();
  QORV_ASSERT(nextnode!=0);
  return nextnode;
}

void TScript::MoveNode(TScript* topscript, bool asChild) {
  QORV_ASSERT(topscript!=0);
  QORV_ASSERT(AExpNode!=0);
  TScript* repeat = topscript->GetScriptType() == LABEL ? topscript->GetRepeatScript() : nullptr;
  TTreeNode* destination = !asChild && repeat ? repeat->AExpNode : topscript->AExpNode;
  if (destination != AExpNode) {
    AExpNode->MoveTo(destination,
                     asChild ? TNodeAttachMode::naAddChild : TNodeAttachMode::naInsert);
    AExpNode->SetExpanded(true);
  }
  AbIndented = repeat == this ? asChild : AExpNode->GetLevel() >= 2;
}

bool TScript::IsIndented() {
  QORV_ASSERT(AExpNode!=0);
  return AExpNode->GetLevel() > 1;
}

std::uint32_t TScript::GetNodeColor() {
  QORV_ASSERT(AExpNode!=0);
  return ColourOfLevel(AExpNode->GetLevel());
}

void TScript::SetCommentedOut(bool commentedOut) {
  AbCommentedOut = commentedOut;
  UiPort().RefreshViews();
}

void TScript::UpdateNodeText() {
  std::string text = GetText();
  for (TTreeNode* node : {DebugNode, AExpNode}) {
    if (!node) continue;
    // The last node takes the text itself: a command's text is built for each command
    // of a file being opened.
    node->SetText(node == AExpNode ? std::move(text) : text);
    if (TTreeNode* parent = node->GetParent()) parent->SetExpanded(true);
  }
}

TScript* ScriptOfNode(const TTreeNode* node) {
  if (!node || !node->GetData()) return nullptr;
  return dynamic_cast<TScript*>(static_cast<TExperimentObject*>(node->GetData()));
}
