#include "scripts/flow/dec_script.h"

#include <utility>

#include "expressions/condition.h"
#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"

namespace {
const char* const BlocksNotSet = "Blocks not set for Decision script...aborting read";
}  // namespace

TDecScript::TDecScript(TBlock* block, TTreeNode* node) : TConditionAttributeScript(block, node) {}

TDecScript::TDecScript(TBlock* block, TTreeNode* node, TBlock* trueBlock, TBlock* falseBlock)
    : TConditionAttributeScript(block, node), ATrueBlock(trueBlock), AFalseBlock(falseBlock) {}

TDecScript::~TDecScript() {
  if (Pblock) Pblock->ForgetDecScript(this);
}

bool TDecScript::Decide() {
  // The pre-run check refuses a Decision without condition; one that lost it since
  // (stepping in the debug window) ends the run with the same advice.
  if (!ACondition) throw EExperimentError(NotDefinedMessage());
  const bool result = ACondition->Evaluate();
  ChooseBlock(result);
  return result;
}

TScript* TDecScript::Execute() {
  Decide();
  return Pnextscript;
}

TScript* TDecScript::ExecuteTrace(std::vector<std::string>& trace) {
  const std::string values = ACondition ? ACondition->GetValueText() + " evaluates to" : "";
  trace.push_back(values + (Decide() ? " true." : " false."));
  trace.push_back("Next block is " + (Pchosenblock ? Pchosenblock->GetTitle() : "none"));
  return Pnextscript;
}

bool TDecScript::SetNextScript() {
  Pchosenblock = nullptr;
  if (!TScript::SetNextScript()) return false;
  if (!HasCondition()) {
    UiPort().ShowMessage(NotDefinedMessage(), "", TMessageKind::Information);
    return false;
  }
  return true;
}

std::string TDecScript::NotDefinedMessage() const {
  QORV_ASSERT(Pblock!=0);
  return "You must define the Decision Scipt in " + Pblock->GetTitle() + ".";
}

void TDecScript::Save(TWriteFile& writer) {
  QORV_ASSERT(ATrueBlock!=0&&AFalseBlock!=0);
  TScript::Save(writer);
  writer.WriteInteger(writer.GetObjectId(ATrueBlock));
  writer.WriteInteger(writer.GetObjectId(AFalseBlock));
  SaveCondition(writer);
}

void TDecScript::Load(TReadFile& reader) {
  QORV_ASSERT(ATrueBlock==0&&AFalseBlock==0);
  TScript::Load(reader);
  reader.ReadInteger(PtrueblockID);
  reader.ReadInteger(PfalseblockID);
  LoadCondition(reader);
  UpdateNodeText();
}

bool TDecScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  return block && node && block == Pblock;
}

void TDecScript::CheckAfterRead() {
  // A second line drawn in the diagram makes a Decision that has no condition until the
  // user defines it, and such an experiment can be saved: it must open again. Its run
  // is refused until then ("You must define the Decision Scipt in ..."); a condition
  // that was saved is checked as every condition is.
  if (GetCondition())
    CheckConditionRead(*this, "Condition does not exist for Decision script...aborting read");
  if (!ATrueBlock || !AFalseBlock) throw EReadError(BlocksNotSet);
}

std::string TDecScript::GetText() {
  if (!ACondition || !ATrueBlock || !AFalseBlock) return "Decision: Not Defined";
  return "Decision: If " + ACondition->GetText() + " goto " + ATrueBlock->GetTitle();
}

void TDecScript::SetCommentedOut(bool) { TScript::SetCommentedOut(false); }

bool TDecScript::RemoveVariable(TVariable*) {
  ClearCondition();
  return false;
}

void TDecScript::SetTrueBlock(TBlock* block) {
  QORV_ASSERT(block==ATrueBlock||block==AFalseBlock);
  if (block == AFalseBlock) std::swap(ATrueBlock, AFalseBlock);
  UpdateNodeText();
}

void TDecScript::ResolveBlocks(TBlock* blk1, TBlock* blk2) {
  QORV_ASSERT(blk1!=0&&blk2!=0);
  // Identifiers come from the file: a mismatch is a damaged file, not a program fault.
  if (ATrueBlock || AFalseBlock) throw EReadError(BlocksNotSet);
  if (blk1->ReadBlockID() == PtrueblockID && blk2->ReadBlockID() == PfalseblockID) {
    ATrueBlock = blk1;
    AFalseBlock = blk2;
  } else if (blk2->ReadBlockID() == PtrueblockID && blk1->ReadBlockID() == PfalseblockID) {
    ATrueBlock = blk2;
    AFalseBlock = blk1;
  } else {
    throw EReadError(BlocksNotSet);
  }
  PtrueblockID = -1;
  PfalseblockID = -1;
  UpdateNodeText();
}

void TDecScript::ChooseBlock(bool condition) {
  Pchosenblock = condition ? ATrueBlock : AFalseBlock;
}

bool TDecScriptRequest::CanOpen() {
  TDecScript* decision = Decision();
  if (!decision) return false;
  QORV_ASSERT_AS(decision->ATrueBlock!=0, "PDecScript->TrueBlock!=0");
  QORV_ASSERT_AS(decision->AFalseBlock!=0, "PDecScript->FalseBlock!=0");
  return TConditionScriptRequest::CanOpen();
}
