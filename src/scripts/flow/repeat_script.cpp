#include "scripts/flow/repeat_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"

namespace {
const char* const LabelNotDefined = "Label not defined for repeatscript..aborting read";
}  // namespace

TRepeatScript::TRepeatScript(TBlock* block, TTreeNode* node) : TLabelLoopEnd(block, node) {}

TRepeatScript::~TRepeatScript() { ReleaseLabel(); }

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
  std::int32_t labelID;
  reader.ReadInteger(labelID);
  LoadLabel(reader, labelID, LabelNotDefined);
  reader.ReadInteger(ARepeatCount);
  ARepeatCounter = 0;
  TScript::Load(reader);
  UpdateNodeText();
}

void TRepeatScript::MoveTo(TTreeNode* movenode) {
  if (movenode != AExpNode) TLabelLoopEnd::MoveTo(movenode);
}

void TRepeatScript::CheckAfterRead() {
  if (!Plabelscript) throw EReadError(LabelNotDefined);
}

std::string TRepeatScript::GetText() {
  const std::string title = Plabelscript ? Plabelscript->GetText() : "none";
  return "Repeat " + title + " " + NumberText::IntToText(ARepeatCount) + " times";
}

void TRepeatScript::SetLabel(TLabelScript* labelscript, std::int32_t count) {
  LinkLabel(labelscript);
  ARepeatCount = count;
  ARepeatCounter = 1;
  UpdateNodeText();
}

bool TRepeatScriptRequest::CanOpen() {
  QORV_ASSERT(Block!=0);
  Labels.clear();
  TRepeatScript* repeat = Repeat();
  Block->GetRepeatLabels(Labels, repeat, repeat ? repeat->GetLabelScript() : nullptr);
  if (!Labels.empty()) return true;
  if (!repeat) Inform("No labels to repeat from.");
  return false;
}
