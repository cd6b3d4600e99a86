#include "scripts/flow/end_if_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/section_lines.h"

namespace {
const char* const MissingIfThenOrElse = "EndIf Script missing if then or else...aborting read";
}  // namespace

TEndIfScript::TEndIfScript(TBlock* block, TTreeNode* node) : TEndPointScript(block, node) {
  if (AExpNode) UpdateNodeText();
}

TEndIfScript::~TEndIfScript() {
  // The Else's own destruction hands its commands to the then-section and makes this
  // End If the If-Then's end point for the moment.
  delete Pelsescript;
  Pelsescript = nullptr;
  if (TIfThenScript* ifthen = Pifthenscript) {
    Pifthenscript = nullptr;
    ifthen->SetEndPointScript(nullptr);
    delete ifthen;  // releases its commands in front of itself
  }
}

TScript* TEndIfScript::ExecuteTrace(std::vector<std::string>& trace) {
  trace.push_back(AbCommentedOut ? "Comment(endif)" : "endif");
  return Pnextscript;
}

void TEndIfScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Pifthenscript!=0);
  writer.WriteInteger(writer.GetObjectId(Pifthenscript));
  writer.WriteBool(Pelsescript != nullptr);
  if (Pelsescript) writer.WriteInteger(writer.GetObjectId(Pelsescript));
  TScript::Save(writer);
}

void TEndIfScript::Load(TReadFile& reader) {
  QORV_ASSERT_AS(AExpNode!=0, "TExperimentObject::AExpNode!=0");
  TTreeNode* parentnode = AExpNode->GetParent();
  QORV_ASSERT(parentnode!=0);
  TTreeNode* node = parentnode->GetFirstChild();
  QORV_ASSERT(node!=0);
  QORV_ASSERT(Pifthenscript==0&&Pelsescript==0);
  std::int32_t ifthenID;
  bool hasElse;
  std::int32_t elseID = -1;
  reader.ReadInteger(ifthenID);
  reader.ReadBool(hasElse);
  if (hasElse) reader.ReadInteger(elseID);
  // The lines read earlier in the block stand among the siblings before this one; an
  // inner section is nested already, so only this section's lines are found. The
  // identifiers come from the file: what they name must be free and in order.
  TIfThenScript* ifthen = nullptr;
  TElseScript* elsescript = nullptr;
  const bool unique = reader.IsScriptIdUnique(ifthenID) &&
                      (!hasElse || (elseID != ifthenID && reader.IsScriptIdUnique(elseID)));
  // With identifiers that name one command each, the lines are found walking up from
  // this line, through this section only; the same checks then hold.
  for (node = unique ? AExpNode->GetPrevSibling() : nullptr; node; node = node->GetPrevSibling()) {
    TScript* script = ScriptOfNode(node);
    if (!script || script->PreadscriptID < 0) continue;
    if (hasElse && script->PreadscriptID == elseID) {
      elsescript = dynamic_cast<TElseScript*>(script);
      if (!elsescript || elsescript->GetEndIf()) throw EReadError(MissingIfThenOrElse);
    } else if (script->PreadscriptID == ifthenID) {
      ifthen = dynamic_cast<TIfThenScript*>(script);
      if (!ifthen || ifthen->GetEndPointScript()) throw EReadError(MissingIfThenOrElse);
      break;
    }
  }
  for (node = unique ? nullptr : parentnode->GetFirstChild(); node && node != AExpNode;
       node = node->GetNextSibling()) {
    TScript* script = ScriptOfNode(node);
    if (!script || script->PreadscriptID < 0) continue;
    if (!ifthen && script->PreadscriptID == ifthenID) {
      ifthen = dynamic_cast<TIfThenScript*>(script);
      if (!ifthen || ifthen->GetEndPointScript()) throw EReadError(MissingIfThenOrElse);
    } else if (hasElse && !elsescript && script->PreadscriptID == elseID) {
      elsescript = dynamic_cast<TElseScript*>(script);
      // The Else must follow its If-Then.
      if (!elsescript || !ifthen || elsescript->GetEndIf()) throw EReadError(MissingIfThenOrElse);
    }
    if (ifthen && (!hasElse || elsescript)) break;
  }
  if (!ifthen || (hasElse && !elsescript)) throw EReadError(MissingIfThenOrElse);
  LinkSection(ifthen, elsescript);
  TScript::Load(reader);
  UpdateNodeText();
}

void TEndIfScript::LinkSection(TIfThenScript* ifthen, TElseScript* elsescript) {
  QORV_ASSERT(ifthen!=0);
  QORV_ASSERT(Pifthenscript==0&&Pelsescript==0);
  QORV_ASSERT(ifthen->GetEndPointScript()==0);
  Pifthenscript = ifthen;
  if (elsescript) {
    elsescript->SetEndIf(this);
    Pelsescript = elsescript;
    elsescript->AdoptCommands();
    ifthen->SetEndPointScript(elsescript);
  } else {
    ifthen->SetEndPointScript(this);
  }
  ifthen->AdoptCommands();
  UpdateNodeText();
}

TScript* TEndIfScript::SectionStart() const {
  if (Pelsescript) return Pelsescript;
  return Pifthenscript;
}

bool TEndIfScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  if (!block || block != Pblock) return false;
  QORV_ASSERT(node!=0);
  QORV_ASSERT(AExpNode!=0);
  if (node->GetLevel() == aiBLOCK) return BlockOfNode(node) == block && AExpNode->GetLevel() == 1;
  TScript* start = SectionStart();
  QORV_ASSERT(start!=0);
  return SectionLines::MayDrop(this, block, node, start->AExpNode, nullptr, AExpNode,
                               {start->AExpNode});
}

void TEndIfScript::MoveTo(TTreeNode* movenode) {
  QORV_ASSERT(Pifthenscript!=0);
  QORV_ASSERT_AS(movenode!=0&&movenode->GetData()!=0, "movenode->Data!=0");
  QORV_ASSERT(AExpNode!=0);
  if (movenode->GetLevel() == aiBLOCK) {
    // To the end of the block: every line after it joins the last section.
    QORV_ASSERT(BlockOfNode(movenode)==Pblock);
    SectionLines::MoveSiblingsUnder(AExpNode, nullptr, SectionStart());
  } else {
    SectionLines::MoveEnd(this, SectionStart(), movenode);
  }
  UiPort().RefreshViews();
}

void TEndIfScript::CheckAfterRead() {
  if (!Pifthenscript) throw EReadError(MissingIfThenOrElse);
}

void TEndIfScript::SetCommentedOut(bool commentedOut) {
  if (Pifthenscript)
    Pifthenscript->SetCommentedOut(commentedOut);
  else
    TScript::SetCommentedOut(commentedOut);
}

void TEndIfScript::SetCommentedOutFromStart(bool commentedOut) {
  TScript::SetCommentedOut(commentedOut);
}

TScript* TEndIfScript::GetIfThenScript() { return Pifthenscript; }

bool TEndIfScript::SetElse(TIfThenScript* ifthen, bool include) {
  if (!Pifthenscript) Pifthenscript = ifthen;
  QORV_ASSERT(Pifthenscript!=0);
  if (include && !Pelsescript) {
    QORV_ASSERT(Pblock!=0);
    auto* elsescript = dynamic_cast<TElseScript*>(Pblock->InsertScript(ELSE, this));
    QORV_ASSERT_AS(elsescript!=0, "Pelsescript!=0");
    elsescript->SetEndIf(this);
    // The three lines are commented out together.
    elsescript->AbCommentedOut = AbCommentedOut;
    Pelsescript = elsescript;
    Pifthenscript->SetEndPointScript(elsescript);
  } else if (!include && Pelsescript) {
    delete Pelsescript;  // gives its commands to the then-section, unlinks itself
  }
  UpdateNodeText();
  return true;
}
