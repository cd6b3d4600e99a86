#include "model/block.h"

#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/release_pace.h"
#include "model/report.h"
#include "model/node_style.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"
#include "scripts/command_table.h"
#include "scripts/exp_obj_clipboard.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/dec_script.h"
#include "shell/draw_parts.h"

namespace {

const char* const ErrorOpenningScript = "Error Openning Script";
const char* const NoBoxForBlock = "No box of the block diagram shows a block...aborting read";


}  // namespace

TBlock::TBlock(TExperiment* owner, TTreeNode* node, TDrawBlock* box)
    : TExperimentObject(node), Pdrawblock(box), Powner(owner) {
  QORV_ASSERT(Powner!=0);
  if (AExpNode) {
    AExpNode->SetImageIndex(0);
    AExpNode->SetSelectedIndex(1);
  }
  // A box read from a block file claims the block only once the block's identifier is
  // read (LoadBlock).
  if (Pdrawblock) Pdrawblock->SetBlock(this);
}

TBlock::~TBlock() {
  if (TExpObjClipboard* clipboard = Powner->FindClipboard()) clipboard->BlockGone(this);
  if (TDrawBlock* box = Pdrawblock) {
    box->RemoveBlock();
    Pdrawblock = nullptr;
    if (TDrawParts* parts = box->GetDrawParts()) parts->DeletePart(box);
  }
  if (AExpNode) {
    while (TTreeNode* child = AExpNode->GetFirstChild()) {
      if (auto* object = static_cast<TExperimentObject*>(child->GetData()))
        delete object;  // deletes its node
      else
        child->Delete();
      PaceRelease();
    }
  }
  if (StartFlag && !Powner->IsClearing()) {
    TBlock* heir = nullptr;
    for (TBlock* block : Blocks())
      if (block != this) {
        heir = block;
        break;
      }
    if (heir)
      heir->StartFlag = true;  // its box is not told
    else
      Inform("There are no blocks, the experiment will not run.");
  }
  // While the experiment is cleared its lists delete every variable after the blocks.
  if (!Powner->IsClearing() && Powner->GetDataSingleList() && Powner->GetDataArrayList()) {
    std::vector<TData*> variables;
    Powner->GetBlockVariables(this, variables);
    for (TData* variable : variables) delete variable;
  }
}

int TBlock::Edit() {
  TEditBlockRequest request;
  request.Title = Title;
  if (Pdrawblock) request.IconFile = Pdrawblock->GetIconFile();
  request.SetAsStart = StartFlag;
  const int result = UiPort().OpenDialog(request);
  if (result != 1) return result;
  UiPort().ExperimentChanged(1, 0);
  if (request.SetAsStart && !StartFlag) SetAsStartBlock();
  if (Pdrawblock) {
    Pdrawblock->SetIconFile(request.IconFile);
    Pdrawblock->SetTitle(request.Title);  // the box passes the title on
    Pdrawblock->GetDrawParts()->Redraw();
  } else {
    SetTitle(request.Title);
  }
  // Variables and Decisions show block titles.
  std::vector<TData*> variables;
  Powner->GetBlockVariables(this, variables);
  for (TData* variable : variables) variable->UpdateDisplayName();
  for (TBlock* block : Blocks()) block->RefreshTexts(true);
  return result;
}

bool TBlock::DrawNode(TNodeStyle& style) {
  if (!Pblankscript) return false;
  QORV_ASSERT(AExpNode!=0);
  style.Text = AExpNode->GetText();
  style.ImageIndex = 1;
  return true;
}

TScript* TBlock::CreateScriptByType(TBlock* block, int type, TTreeNode* node) {
  QORV_ASSERT_AS(type!=TScript::BLANK, "type!=TScript::BLANK");
  // A number without a row gives none: a file holding it ends in "Error Openning Script".
  const TCommandKind* kind = CommandKindOf(type);
  return kind ? kind->Create(block, node) : nullptr;
}

TScript* TBlock::AddScript(int type) {
  QORV_ASSERT_AS(Pblankscript!=0&&Pblankscript->AExpNode!=0,
                 "Pblankscript!=0&&Pblankscript->ExperimentNode!=0");
  TTree* tree = Pblankscript->AExpNode->GetTree();
  TTreeNode* node = tree->Insert(Pblankscript->AExpNode, "none");
  TScript* script = CreateScriptByType(this, type, node);
  if (!script) node->Delete();
  tree->SetSelected(Pblankscript->AExpNode);
  return script;
}

TScript* TBlock::InsertScript(int type, TScript* before) {
  QORV_ASSERT(before!=0&&before->AExpNode!=0);
  TTreeNode* node = before->AExpNode->GetTree()->Insert(before->AExpNode, "none");
  TScript* script = CreateScriptByType(this, type, node);
  if (!script) node->Delete();
  return script;
}

TScript* TBlock::ReplaceScript(int type, TScript* script) {
  QORV_ASSERT(script!=0);
  TScript* replacement = InsertScript(type, script);
  if (script->GetScriptType() != TScript::BLANK) DeleteScript(script);
  return replacement;
}

void TBlock::DeleteScript(TScript* script) {
  QORV_ASSERT(script!=0&&script->AExpNode!=0);
  if (script->GetScriptType() == TScript::DECISION) {
    Inform(std::string("You cannot delete a decision script.\r") +
           "Delete the second line from the block to delete the decision script.");
    return;
  }
  if (script->GetScriptType() == TScript::BLANK) return;
  TTree* tree = script->AExpNode->GetTree();
  const bool selected = tree->GetSelected() == script->AExpNode;
  TTreeNode* following = script->GetFollowingNode();  // may change the tree (a Label's)
  delete script;
  if (selected) tree->SetSelected(following);
}

void TBlock::MoveScript(TScript* script) {
  QORV_ASSERT(script!=0&&script->AExpNode!=0);
  TTreeNode* node = script->AExpNode;
  TTreeNode* blank = Pblankscript ? Pblankscript->AExpNode : nullptr;
  // A section that holds the blank line takes it along to the end of the block.
  if (blank && blank != node && !blank->HasAsParent(node))
    node->MoveTo(blank, TNodeAttachMode::naInsert);
  else
    node->MoveTo(AExpNode, TNodeAttachMode::naAddChild);
  script->SetBlock();
  // The tree view takes the keyboard focus back itself.
}

TScript* TBlock::GetFirstScript() const {
  return AExpNode ? ScriptOfNode(AExpNode->GetFirstChild()) : nullptr;
}

TBlock* TBlock::GetRunNextBlock() const {
  if (PdecScript && PdecScript->GetChosenBlock()) return PdecScript->GetChosenBlock();
  return Pnextblock;
}

void TBlock::ForgetDecScript(const TDecScript* script) {
  if (PdecScript == script) PdecScript = nullptr;
}

void TBlock::SetTitle(const std::string& title) {
  Title = title;
  if (AExpNode) AExpNode->SetText(title);
}

void TBlock::ClearDrawBlock() {
  QORV_ASSERT(Pdrawblock!=0);
  Pdrawblock = nullptr;
}

void TBlock::SetAsStartBlock() {
  for (TBlock* block : Blocks())
    if (block != this && block->StartFlag) {
      block->StartFlag = false;
      if (block->Pdrawblock) block->Pdrawblock->Refresh(true);
      break;
    }
  StartFlag = true;
  if (Pdrawblock) Pdrawblock->Refresh(true);
}

void TBlock::AddNextBlock(TBlock* block) {
  QORV_ASSERT(block!=0);
  if (!Pnextblock) {
    Pnextblock = block;
    return;
  }
  // Lines come from the file: a second one needs the Decision read with the block.
  if (!PdecScript)
    throw EReadError("Block " + Title + " has two next blocks and no Decision script"
                     "...aborting read");
  PdecScript->ResolveBlocks(Pnextblock, block);
}

void TBlock::SetBlockPaths() {
  QORV_ASSERT(Pdrawblock!=0);
  Pdrawblock->SetBlockPaths();
}

void TBlock::CreateDecisionScript(TBlock* block) {
  QORV_ASSERT(PdecScript==0);
  QORV_ASSERT(block!=0);
  if (!Pnextblock) {
    Pnextblock = block;
    return;
  }
  TTreeNode* node = AExpNode->GetTree()->AddChild(AExpNode, "None");
  PdecScript = new TDecScript(this, node, Pnextblock, block);
  PdecScript->UpdateNodeText();
}

void TBlock::RemoveNextBlock(TBlock* block) {
  if (!PdecScript) {
    Pnextblock = nullptr;
    return;
  }
  TDecScript* decision = PdecScript;
  Pnextblock = decision->ATrueBlock == block ? decision->AFalseBlock : decision->ATrueBlock;
  PdecScript = nullptr;
  delete decision;
}

void TBlock::GetRepeatLabels(std::vector<TScript*>& list, TScript* script,
                             TScript* labelscript) {
  TTreeNode* limit;
  if (script) {
    QORV_ASSERT(labelscript!=0);
    limit = script->AExpNode;
  } else {
    QORV_ASSERT(Pblankscript!=0);
    QORV_ASSERT(labelscript==0);
    limit = Pblankscript->AExpNode;
  }
  QORV_ASSERT(limit!=0);
  const auto isLabel = [](const TScript* s) { return s && s->GetScriptType() == TScript::LABEL; };
  const TTreeNode* parent = limit->GetParent();
  for (TTreeNode* node = parent->GetFirstChild(); node && node != limit;
       node = node->GetNextSibling()) {
    TScript* label = ScriptOfNode(node);
    if (!isLabel(label)) continue;
    TScript* repeat = label->GetRepeatScript();
    if (!repeat || (script && repeat == script)) list.push_back(label);
  }
  if (!labelscript) return;
  for (TTreeNode* node = labelscript->AExpNode->GetFirstChild(); node;
       node = node->GetNextSibling()) {
    TScript* label = ScriptOfNode(node);
    if (isLabel(label) && !label->GetRepeatScript()) list.push_back(label);
  }
}

void TBlock::RefreshTexts(bool decisionOnly) {
  if (decisionOnly) {
    if (PdecScript) PdecScript->UpdateNodeText();
    return;
  }
  for (TScript* script = GetFirstScript(); script; script = ScriptOfNode(script->GetNextNode()))
    if (script->GetScriptType() != TScript::BLANK) script->UpdateNodeText();
}

void TBlock::ListScripts(TReport& report) {
  report.AddLine(Title);
  for (TScript* script = GetFirstScript(); script; script = ScriptOfNode(script->GetNextNode()))
    if (script->GetScriptType() != TScript::BLANK) script->AddTextLine(report);
}

void TBlock::CheckAfterRead() {
  QORV_ASSERT(AExpNode!=0);
  for (int i = 0; i < AExpNode->Count(); ++i)
    if (TScript* script = ScriptOfNode(AExpNode->Item(i))) script->CheckAfterRead();
}

bool TBlock::PrepareForRun() {
  QORV_ASSERT(Pblankscript==0);
  QORV_ASSERT(AExpNode!=0);
  for (TTreeNode* node = AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
    if (TScript* script = ScriptOfNode(node))
      if (!script->SetNextScript()) return false;
  QORV_ASSERT(Pdrawblock!=0);
  return Pdrawblock->CheckPaths();
}

void TBlock::WriteScripts(TWriteFile& writer, bool blockExport) {
  TScript* script = GetFirstScript();
  writer.WriteBool(script != nullptr);
  while (script) {
    const int type = script->GetScriptType();
    writer.WriteInteger(type);
    if (type != TScript::BLANK && !(blockExport && type == TScript::DECISION)) {
      if (blockExport) writer.GetBlockScriptList().push_back(script);
      script->Save(writer);
    }
    script = ScriptOfNode(script->GetNextNode());
    writer.WriteBool(script != nullptr);
  }
}

void TBlock::Save(TWriteFile& writer) {
  writer.WriteInteger(writer.GetObjectId(this));
  writer.WriteBool(StartFlag);
  WriteScripts(writer, false);
}

void TBlock::SaveBlock(TWriteFile& writer) {
  writer.WriteInteger(writer.GetObjectId(this));
  WriteScripts(writer, true);
  BlockFileName = writer.GetFileName();
}

void TBlock::ReadScripts(TReadFile& reader, bool blockFile) {
  QORV_ASSERT(AExpNode!=0);
  bool more;
  reader.ReadBool(more);
  while (more) {
    std::int32_t type;
    reader.ReadInteger(type);
    if (type < 0 || type > TScript::CREATENEWFILE) throw EReadError(ErrorOpenningScript);
    // The blank line has no record; nor has a block file's Decision, which the diagram
    // makes again when the block's box gets its second line.
    if (type != TScript::BLANK && !(blockFile && type == TScript::DECISION)) {
      if (type == TScript::DECISION && PdecScript)
        throw EReadError("A block holds two Decision scripts...aborting read");
      TTreeNode* node = AExpNode->GetTree()->AddChild(AExpNode, "none");
      TScript* script = CreateScriptByType(this, type, node);
      if (!script) {
        node->Delete();
        throw EReadError(ErrorOpenningScript);
      }
      if (type == TScript::DECISION) PdecScript = static_cast<TDecScript*>(script);
      script->Load(reader);
      // A device command has joined the reader's DeviceAttributeScriptList in its Load.
    }
    reader.ReadBool(more);
  }
}

void TBlock::Load(TReadFile& reader, std::vector<TDrawBlock*>& boxes) {
  QORV_ASSERT(AExpNode!=0);
  reader.ReadInteger(PreadblockID);
  reader.ReadBool(StartFlag);
  // Of several start flags in a file the first block read keeps its own.
  if (StartFlag)
    for (TBlock* block : Blocks())
      if (block != this && block->StartFlag) StartFlag = false;
  ReadScripts(reader, false);
  for (auto box = boxes.begin(); box != boxes.end(); ++box)
    if ((*box)->SetBlock(this)) {
      Pdrawblock = *box;
      boxes.erase(box);
      SetTitle(Pdrawblock->GetCaption());
      AExpNode->SetExpanded(true);
      return;
    }
  throw EReadError(NoBoxForBlock);
}

void TBlock::LoadBlock(TReadFile& reader) {
  QORV_ASSERT(AExpNode!=0);
  reader.ReadInteger(PreadblockID);
  ReadScripts(reader, true);
  AExpNode->SetExpanded(true);
  QORV_ASSERT(Pdrawblock!=0);
  if (Pdrawblock->GetBlock() != this && !Pdrawblock->SetBlock(this))
    throw EReadError(NoBoxForBlock);
  SetTitle(Pdrawblock->GetCaption());
  PreadblockID = -1;
}

std::vector<TBlock*> TBlock::Blocks() const {
  std::vector<TBlock*> blocks;
  TTree& tree = Powner->GetExperimentTree();
  for (int i = 0; i < tree.Count(); ++i)
    if (TBlock* block = BlockOfNode(tree.Item(i))) blocks.push_back(block);
  return blocks;
}

TBlock* BlockOfNode(const TTreeNode* node) {
  if (!node) return nullptr;
  while (node->GetParent()) node = node->GetParent();
  return dynamic_cast<TBlock*>(static_cast<TExperimentObject*>(node->GetData()));
}
