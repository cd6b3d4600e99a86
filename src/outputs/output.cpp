#include "outputs/output.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/variable_output.h"
#include "model/write_file.h"
#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/output_form.h"
#include "outputs/plot_index.h"
#include "outputs/plot_source.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"

namespace {

bool IsKind(std::int32_t kind) { return kind >= otTEXT && kind <= otBIGNUMBER; }

// The Plot command a reference belongs to; none for any other command.
TPlotUser* PlotCommandOf(const TVariable* reference) {
  const auto* output = dynamic_cast<const TVariableOutput*>(reference);
  return output ? output->GetPlotUser() : nullptr;
}

}  // namespace

TOutput::TOutput(const std::string& name, TTreeNode* node, std::uint8_t outputType,
                 std::int32_t channels)
    : TExpAttribute(name, node), Poutputtype(outputType),
      NumberOfChannels(std::clamp(channels, 1, MaxChannels)) {
  QORV_ASSERT(IsKind(outputType));
  if (AExpAttNode) AExpAttNode->SetText(name);
  SetKind(outputType);
}

TOutput::TOutput(const std::string& name, TTreeNode* node, TForReading)
    : TExpAttribute(name, node), Poutputtype(otNOTDEFINED), NumberOfChannels(1) {
  if (AExpAttNode) {
    AExpAttNode->SetImageIndex(-1);
    AExpAttNode->SetSelectedIndex(-1);
  }
}

TOutput::~TOutput() {
  // While the output is whole: a held copy record still sees it as an output.
  DisableCopyScript();
  Poutputform.reset();
  PlotList.clear();
}

void TOutput::SetKind(std::uint8_t kind) {
  // A held copy of a command plotting here no longer matches the new kind.
  if (kind != Poutputtype) DisableCopyScript();
  Poutputtype = kind;
  if (AExpAttNode) {
    AExpAttNode->SetImageIndex(OutputImage(kind));
    AExpAttNode->SetSelectedIndex(OutputImage(kind));
  }
}

int TOutput::AddUser(TVariable* reference) {
  const int position = TExpAttribute::AddUser(reference);
  if (Poutputtype == otNOTDEFINED) return position;
  GetOutputForm();
  JoinPlotList(reference);
  return position;
}

void TOutput::JoinPlotList(TVariable* reference) {
  TPlotUser* command = PlotCommandOf(reference);
  if (command && std::find(PlotList.begin(), PlotList.end(), command) == PlotList.end())
    PlotList.push_back(command);
}

void TOutput::RemoveUser(TVariable* reference) {
  TExpAttribute::RemoveUser(reference);
  if (TPlotUser* command = PlotCommandOf(reference))
    PlotList.erase(std::remove(PlotList.begin(), PlotList.end(), command), PlotList.end());
}

void TOutput::SetName(const std::string& name) {
  TExpAttribute::SetName(name);
  if (Poutputform) Poutputform->SetName(name);
}

TOutputForm* TOutput::GetOutputForm() {
  if (Poutputform) return Poutputform.get();
  QORV_ASSERT(IsKind(Poutputtype));
  // Windows belong to the main thread; a worker waits for the hand-over.
  UiPort().RunInMainThread([this] {
    if (Poutputform) return;
    std::unique_ptr<TOutputForm> form;
    switch (Poutputtype) {
      case otTEXT: form = std::make_unique<TTextForm>(this); break;
      case otTABLE: form = std::make_unique<TTableForm>(this); break;
      case otGRAPH: form = std::make_unique<TGraphForm>(this); break;
      default: form = std::make_unique<TBigNumForm>(this); break;
    }
    form->InitChannels();
    form->SetName(GetName());
    Poutputform = std::move(form);
    TOutputForm::NotifyCreated(*Poutputform);
  });
  return Poutputform.get();
}

void TOutput::ShowOutputForm() { GetOutputForm()->ShowOutput(); }

void TOutput::HideOutputForm() { GetOutputForm()->Hide(); }

bool TOutput::IsFormVisible() const { return Poutputform && Poutputform->IsVisible(); }

std::unique_ptr<TOutputForm> TOutput::ReleaseForm() {
  std::unique_ptr<TOutputForm> old = std::move(Poutputform);
  if (!old) return old;
  if (Poutputtype == otGRAPH)
    Poutputform = std::make_unique<TGraphForm>(static_cast<const TGraphForm*>(old.get()));
  else if (Poutputtype == otTABLE)
    Poutputform = std::make_unique<TTableForm>(static_cast<const TTableForm*>(old.get()));
  if (Poutputform) {
    Poutputform->SetName(GetName());
    TOutputForm::NotifyCreated(*Poutputform);
  }
  return old;
}

std::int32_t TOutput::GetPlotIndexOf(const TPlotUser* command) const {
  const auto found = std::find(PlotList.begin(), PlotList.end(), command);
  return found == PlotList.end() ? -1 : static_cast<std::int32_t>(found - PlotList.begin());
}

bool TOutput::ConfirmFewerChannels(std::int32_t n) {
  if (PlotList.empty() || NumberOfChannels <= n) return true;
  std::string text = "The following plots use the channels to be deleted:\r\n";
  bool listed = false;
  for (TPlotUser* command : PlotList) {
    if (command->GetPlotIndex()->IsValidFor(n)) continue;
    text += command->GetText() + "\r\n";
    listed = true;
  }
  if (!listed) return true;
  text += "Press OK if you wish the plots to be deleted.";
  return UiPort().Ask(text, "Qorv Warning", TMessageKind::Warning, mbOK | mbCancel) == mbOK;
}

bool TOutput::ConfirmTypeChange(std::uint8_t kind) {
  if (kind == Poutputtype || CanChangeType(kind)) return true;
  if (UiPort().Ask("The output type you have selected does not support one or more of the "
                   "plot commands. \r\nDo you wish to delete the plot(s) (Yes) or abort (No).",
                   "Qorv Message", TMessageKind::Warning, mbYes | mbNo) != mbYes)
    return false;
  // The commands judge their reference against the kind it is about to take.
  const std::uint8_t old = Poutputtype;
  Poutputtype = kind;
  DeleteIncompatibleUsers();
  Poutputtype = old;
  return true;
}

int TOutput::Edit() {
  TOutputDialogRequest request;
  request.Output = this;
  request.Kind = Poutputtype;
  request.Title = GetName();
  request.Channels = NumberOfChannels;
  if (UiPort().OpenDialog(request) != 1) return 0;
  if (!ConfirmTypeChange(request.Kind)) return 0;
  ApplyEdit(request.Kind, request.Title, request.Channels);
  return 1;
}

void TOutput::ApplyEdit(std::uint8_t kind, const std::string& name, std::int32_t channels) {
  QORV_ASSERT(IsKind(kind));
  QORV_ASSERT(channels>=1&&channels<=MaxChannels);
  if (kind != Poutputtype) {
    std::unique_ptr<TOutputForm> old = std::move(Poutputform);
    SetKind(kind);
    if (old) TOutputForm::CopyOutputData(GetOutputForm(), old.get());
    const std::vector<TPlotUser*> commands = PlotList;
    for (TPlotUser* command : commands) command->OutputKindChanged();
  }
  SetName(name);
  if (channels < NumberOfChannels) {
    // A held copy may name a channel that is gone.
    DisableCopyScript();
    std::vector<TPlotUser*> doomed;
    for (TPlotUser* command : PlotList)
      if (!command->GetPlotIndex()->IsValidFor(channels)) doomed.push_back(command);
    for (TPlotUser* command : doomed) delete command;  // leaves the plot list
  }
  if (Poutputform) Poutputform->SetNumberOfChannels(channels);
  NumberOfChannels = channels;
}

void TOutput::Write(TWriteFile& writer) {
  writer.WriteString(GetName());
  SaveUsers(writer);
  writer.WriteInteger(Poutputtype);
  TOutputForm* form = GetOutputForm();
  writer.WriteInteger(form->GetOutputType());
  form->Write(writer);
  writer.WriteInteger(NumberOfChannels);
}

void TOutput::Read(TReadFile& reader) {
  QORV_ASSERT(Poutputtype==otNOTDEFINED);
  SetName(reader.ReadString());
  LoadUsers(reader);
  for (int field = 0; field < 2; ++field) {  // the output's kind, then its window's
    std::int32_t kind;
    reader.ReadInteger(kind);
    if (!IsKind(kind)) throw EReadError(OutputReadError);
    SetKind(static_cast<std::uint8_t>(kind));
  }
  TOutputForm* form = GetOutputForm();
  form->Read(reader);
  for (TVariable* user : GetUsers()) JoinPlotList(user);
  if (reader.GetVersionNumber() < qvV1_4) {
    // Older files keep no channels: each Plot command takes its place in the list, which
    // must be one of the channels an output can have.
    if (PlotList.size() > static_cast<std::size_t>(MaxChannels)) throw EReadError(OutputReadError);
    for (std::size_t i = 0; i < PlotList.size(); ++i)
      PlotList[i]->GetPlotIndex()->SetIndex(static_cast<std::int32_t>(i));
    NumberOfChannels =
        std::clamp(static_cast<std::int32_t>(PlotList.size()), std::int32_t{1}, MaxChannels);
  } else {
    std::int32_t channels;
    reader.ReadInteger(channels);
    if (channels < 1 || channels > MaxChannels) throw EReadError(OutputReadError);
    NumberOfChannels = channels;
  }
  form->MatchChannels(NumberOfChannels);
  SetKind(Poutputtype);
}
