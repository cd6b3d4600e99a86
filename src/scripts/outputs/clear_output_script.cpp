#include "scripts/outputs/clear_output_script.h"

#include "model/assertion.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/variable_output.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"
#include "scripts/outputs/clear_output_copy.h"

TClearPlotScript::TClearPlotScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

TClearPlotScript::~TClearPlotScript() { AOutput.reset(); }

TOutput* TClearPlotScript::GetOutput() const { return AOutput ? AOutput->GetOutput() : nullptr; }

void TClearPlotScript::Clear() {
  QORV_ASSERT(AOutput!=0);
  TOutput* output = AOutput->GetOutput();
  QORV_ASSERT(output!=0);
  // The window may be made here on first use: that too belongs on the main thread.
  UiPort().RunInMainThread([output] { output->GetOutputForm()->ClearOutput(); });
}

TScript* TClearPlotScript::Execute() {
  if (!AbCommentedOut) Clear();
  return Pnextscript;
}

TScript* TClearPlotScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  Clear();
  trace.push_back("Clearing output " + AOutput->GetOutput()->GetName());
  return Pnextscript;
}

void TClearPlotScript::Save(TWriteFile& writer) {
  QORV_ASSERT(AOutput!=0);
  AOutput->Save(writer);
  // A block export counts this reference among the output's users and takes the output
  // along, as it does for a Plot command's.
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(AOutput.get());
  TScript::Save(writer);
}

void TClearPlotScript::Load(TReadFile& reader) {
  QORV_ASSERT(AOutput==0);
  auto reference = std::make_unique<TVariableOutput>(this);
  reference->Load(reader);
  // The base record comes before the reference waits in the reader: a short record
  // leaves nothing of this command behind there.
  TScript::Load(reader);
  AOutput = std::move(reference);
  reader.GetVariableList().Add(AOutput.get());
}

void TClearPlotScript::CheckAfterRead() {
  if (!AOutput || !AOutput->GetOutput())
    throw EReadError("Output in Clear Plot script is not set...aborting read");
  UpdateNodeText();
}

std::string TClearPlotScript::GetText() {
  TOutput* output = GetOutput();
  return output ? "Clear " + output->GetName() : "none";
}

void TClearPlotScript::SetOutput(TOutput* output) {
  QORV_ASSERT(output!=0);
  if (!AOutput) AOutput = std::make_unique<TVariableOutput>(this);
  AOutput->SetOutput(output);
  UpdateNodeText();
}

bool TClearScriptRequest::CanOpen() {
  QORV_ASSERT(Experiment!=0);
  Outputs = Experiment->GetOutputList()->GetOutputs();
  if (Script || !Outputs.empty()) return true;
  Inform("There are no output to clear, cannot create a clear output command");
  return false;
}

TCopyScript* TClearPlotScript::MakeCopyScript() {
  TOutput* output = GetOutput();
  QORV_ASSERT(output!=0);
  return new TCopyClearOutput(output);
}

void TClearPlotScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copyclear = dynamic_cast<TCopyClearOutput*>(copyscript);
  QORV_ASSERT_AS(copyclear!=0, "copyclear!=0");
  SetOutput(copyclear->GetOutput());
}
