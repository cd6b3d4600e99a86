#include "scripts/flow/repeat_until_script.h"

#include "expressions/condition.h"
#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"

namespace {
const char* const LabelNotSet = "Label not set for Repeat until...aborting read";
}  // namespace

TRepeatUntilScript::TRepeatUntilScript(TBlock* block, TTreeNode* node)
    : TLabelLoopEnd(block, node) {}

TRepeatUntilScript::~TRepeatUntilScript() { ReleaseLabel(); }

bool TRepeatUntilScript::Holds() {
  // A condition is required by the dialog and by the check after reading.
  if (!ACondition) throw EExperimentError("The Repeat Until script has no condition");
  return ACondition->Evaluate();
}

TScript* TRepeatUntilScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  if (Holds()) return Pnextscript;
  QORV_ASSERT(Plabelscript!=0);
  return Plabelscript;
}

TScript* TRepeatUntilScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  const std::string values = ACondition ? ACondition->GetValueText() + " evaluates to" : "";
  if (Holds()) {
    trace.push_back(values + " true.");
    trace.push_back("Repeat finished");
    return Pnextscript;
  }
  QORV_ASSERT(Plabelscript!=0);
  trace.push_back(values + " false.");
  trace.push_back("GoTo: " + Plabelscript->GetText());
  return Plabelscript;
}

void TRepeatUntilScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Plabelscript!=0);
  writer.WriteInteger(writer.GetObjectId(Plabelscript));
  SaveCondition(writer);
  TScript::Save(writer);
}

void TRepeatUntilScript::Load(TReadFile& reader) {
  std::int32_t labelID;
  reader.ReadInteger(labelID);
  // Only a line read from the file carries an identifier (0 or more).
  if (labelID < 0) throw EReadError(LabelNotSet);
  LoadLabel(reader, labelID, LabelNotSet);
  LoadCondition(reader);
  TScript::Load(reader);
  UpdateNodeText();
}

void TRepeatUntilScript::CheckAfterRead() {
  if (!Plabelscript) throw EReadError(LabelNotSet);
  CheckConditionRead(*this, "Condition does not exist for Repeat Until script...aborting read");
}

std::string TRepeatUntilScript::GetText() {
  std::string text = "Repeat from " + (Plabelscript ? Plabelscript->GetText() : "none");
  if (ACondition) text += " Until " + ACondition->GetText();
  return text;
}

void TRepeatUntilScript::SetLabel(TLabelScript* label) {
  QORV_ASSERT(label!=0);
  if (label != Plabelscript) LinkLabel(label);
  UpdateNodeText();
}

bool TRepeatUntilScriptRequest::CanOpen() {
  QORV_ASSERT(Block!=0);
  Labels.clear();
  TRepeatUntilScript* command = RepeatUntil();
  Block->GetRepeatLabels(Labels, command, command ? command->GetLabelScript() : nullptr);
  if (Labels.empty()) {
    Inform("No labels to repeat from.");
    return false;
  }
  return TConditionScriptRequest::CanOpen();
}
