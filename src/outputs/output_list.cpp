#include "outputs/output_list.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "model/variable_output.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/output_form.h"

namespace {

// Bytes of the smallest output record: name, user count, the two kinds.
constexpr std::size_t MinOutputBytes = 4 * 4;

}  // namespace

TOutputList::TOutputList(TExperiment* owner, TTreeNode* node) : TExpAttList(owner, node) {
  if (AExpAttNode) AExpAttNode->SetText("Outputs");
}

void TOutputList::AddNew() { OpenAddDialog(nullptr); }

void TOutputList::AddMany() { OpenAddDialog(this); }

void TOutputList::OpenAddDialog(TOutputList* list) {
  if (ExperimentRunning) {
    UiPort().ShowMessage("Cannot add output while experiment is running", "",
                         TMessageKind::Information);
    return;
  }
  TOutputDialogRequest request;
  request.List = list;
  if (UiPort().OpenDialog(request) == 1) NewOutput(request.Title, request.Kind, request.Channels);
}

TOutput* TOutputList::NewOutput(const std::string& title, std::uint8_t kind,
                                std::int32_t channels) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  auto* output =
      new TOutput(title, AExpAttNode->GetTree()->AddChild(AExpAttNode, title), kind, channels);
  AExpAttNode->SetExpanded(true);
  return output;
}

std::vector<TOutput*> TOutputList::GetOutputs() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  std::vector<TOutput*> outputs;
  for (TTreeNode* node = AExpAttNode->GetFirstChild(); node; node = node->GetNextSibling()) {
    auto* output = dynamic_cast<TOutput*>(AttViewDataOfNode(node));
    QORV_ASSERT(output!=0);
    outputs.push_back(output);
  }
  return outputs;
}

TOutput* TOutputList::GetOutput(std::int32_t i) const {
  const std::vector<TOutput*> outputs = GetOutputs();
  if (i < 0 || i >= static_cast<std::int32_t>(outputs.size())) return nullptr;
  return outputs[static_cast<std::size_t>(i)];
}

int TOutputList::GetCount() const {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  return AExpAttNode->Count();
}

void TOutputList::Save(TWriteFile& writer) const {
  const std::vector<TOutput*> outputs = GetOutputs();
  writer.WriteInteger(static_cast<std::int32_t>(outputs.size()));
  for (TOutput* output : outputs) output->Write(writer);
}

void TOutputList::Load(TReadFile& reader) {
  QORV_ASSERT(TExpAttViewData::AExpAttNode!=0);
  const std::int32_t count = reader.ReadCount(MinOutputBytes);
  for (std::int32_t i = 0; i < count; ++i) {
    auto* output = new TOutput("output", AExpAttNode->GetTree()->AddChild(AExpAttNode, "output"),
                               TOutput::TForReading{});
    try {
      output->Read(reader);
    } catch (...) {
      delete output;  // half read, it could never make its window
      throw;
    }
  }
  if (count > 0) AExpAttNode->SetExpanded(true);
}

void TOutputList::SaveBlock(TWriteFile& writer, TBlock*) const {
  QORV_ASSERT(writer.IsBlockExport());
  const std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  QORV_ASSERT(exported!=0);
  // The outputs that the exported Plot and Clear Output commands write to or clear:
  // those their output references (saved with the block's commands) name.
  std::vector<TOutput*> taken;
  for (TOutput* output : GetOutputs())
    if (std::any_of(exported->begin(), exported->end(),
                    [output](TVariable* reference) { return output->HasUser(reference); }))
      taken.push_back(output);
  for (TVariable* reference : *exported)  // every output used is one of this list
    if (const auto* named = dynamic_cast<const TVariableOutput*>(reference))
      QORV_ASSERT(std::find(taken.begin(),taken.end(),named->GetOutput())!=taken.end());
  writer.WriteInteger(static_cast<std::int32_t>(taken.size()));
  for (TOutput* output : taken) output->Write(writer);
}

void TOutputList::EndRun() {
  for (TOutput* output : GetOutputs()) output->GetOutputForm()->EndRun();
}

void TOutputList::WriteReport(TReport& report) const {
  report.AddHeading("Name\t\tType\tCommands Using");
  for (TOutput* output : GetOutputs()) {
    static const char* const words[] = {"Text\t", "Table\t", "Graph\t", "Bignum\t"};
    const int kind = output->Poutputtype;
    const std::string word = kind >= 3 && kind <= 6 ? words[kind - 3] : "";
    report.AddLine(output->GetName() + "\t\t" + word +
                   NumberText::IntToText(output->GetUserCount()));
  }
}

