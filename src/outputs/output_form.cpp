#include "outputs/output_form.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/value_format.h"

namespace {

std::function<void(TOutputForm&)>& CreatedHook() {
  static std::function<void(TOutputForm&)> hook;
  return hook;
}

std::function<void(TDeadOutputList*, TOutputForm*)>& RenameHook() {
  static std::function<void(TDeadOutputList*, TOutputForm*)> hook;
  return hook;
}

}  // namespace

// TTransferSeries

TTransferSeries::TTransferSeries(const std::string& name, std::int32_t count)
    : Name(name), ACount(std::max(count, 0)) {}

void TTransferSeries::SetPoint(std::int32_t i, float x, float y) {
  if (ACount <= 0 || i < 0 || i >= ACount) return;
  if (X.empty()) {
    X.assign(static_cast<std::size_t>(ACount), 0.0f);
    Y.assign(static_cast<std::size_t>(ACount), 0.0f);
  }
  X[static_cast<std::size_t>(i)] = x;
  Y[static_cast<std::size_t>(i)] = y;
}

float TTransferSeries::GetX(std::int32_t i) const {
  const auto at = static_cast<std::size_t>(i);
  return i >= 0 && at < X.size() && i < ACount ? X[at] : 0.0f;
}

float TTransferSeries::GetY(std::int32_t i) const {
  const auto at = static_cast<std::size_t>(i);
  return i >= 0 && at < Y.size() && i < ACount ? Y[at] : 0.0f;
}

void TTransferSeries::Truncate(std::int32_t n) {
  if (Truncated || n < 0) return;
  Truncated = true;
  if (n == ACount) return;
  if (n == 0) {
    // Cut at 0 points the series is empty, not left whole.
    X.clear();
    Y.clear();
  } else if (!X.empty()) {
    X.resize(static_cast<std::size_t>(n), 0.0f);
    Y.resize(static_cast<std::size_t>(n), 0.0f);
  }
  ACount = n;
}

// TTransferData

TTransferSeries* TTransferData::AddSeries(const std::string& name, std::int32_t count) {
  Series.push_back(std::make_unique<TTransferSeries>(name, count));
  return Series.back().get();
}

std::string TTransferData::ToText(int notation, int decimals, const std::string& delimiter) const {
  std::int32_t rows = 0;
  for (const auto& series : Series) rows = std::max(rows, series->GetCount());
  if (rows == 0) return "";
  const TValueFormat format{notation, decimals};
  std::string text;
  for (std::size_t s = 0; s < Series.size(); ++s) {
    if (s > 0) text += delimiter;
    text += Series[s]->XName + delimiter + Series[s]->YName;
  }
  text += "\r\n";
  for (std::int32_t r = 0; r < rows; ++r) {
    for (std::size_t s = 0; s < Series.size(); ++s) {
      if (s > 0) text += delimiter;
      const TTransferSeries& series = *Series[s];
      if (r < series.GetCount())
        text += FormatValue(series.GetX(r), format) + delimiter + FormatValue(series.GetY(r), format);
      else
        text += delimiter;
    }
    text += "\r\n";
  }
  return text;
}

// TOutputForm

TOutputForm::TOutputForm(TOutput* output) : Poutput(output), OffLineEnabled(true) {
  QORV_ASSERT(output!=0);
}

TOutputForm::TOutputForm(TDeadOutputList* list) : Pdeadoutputlist(list) {}

TOutputForm::TOutputForm(const TOutputForm* source) {
  QORV_ASSERT(source!=0);
  Poutput = source->Poutput;
  Pdeadoutputlist = source->Pdeadoutputlist;
  FileName = source->FileName;
  OffLineEnabled = source->OffLineEnabled;
}

TOutputForm::~TOutputForm() {
  if (View) View->FormDestroyed(*this);
}

void TOutputForm::SetName(const std::string& name) {
  Name = name;
  Caption = name + (IsLive() ? " Active" : " Inactive");
  Changed();
}

void TOutputForm::GetTransferData(TTransferData*) {}
void TOutputForm::SetTransferData(TTransferData*) {}
void TOutputForm::ImportData(TTransferData*) {}

void TOutputForm::ReadOutputFile(TReadFile& reader) {
  ReadRecord(reader, true);
  FileName = reader.GetFileName();
}

void TOutputForm::PlotValueFromRun(TPlotSource* plot, bool (*)()) {
  UiPort().RunInMainThread([this, plot] { PlotValue(plot); });
}

void TOutputForm::PlotArrayFromRun(TPlotSource* plot, TVariableData* array, bool (*)()) {
  UiPort().RunInMainThread([this, plot, array] { PlotArray(plot, array); });
}

void TOutputForm::PlotElements(TPlotSource*, TVariableData*, std::vector<std::string>*) {}

TValueArray* TOutputForm::ArrayValues(TVariableData* array) {
  QORV_ASSERT(array!=0);
  auto* data = dynamic_cast<TDataArray*>(array->GetData());
  QORV_ASSERT(data!=0);
  return data->HasValueArray() ? &data->GetValueArray() : nullptr;
}

void TOutputForm::SetNumberOfChannels(std::int32_t) { QORV_ASSERT(Poutput!=0); }

void TOutputForm::InitChannels() { QORV_ASSERT(Poutput!=0); }

bool TOutputForm::ExportMatLab(TMatExportMatrix&) { return true; }

void TOutputForm::ClearBeforeRun() {
  if (!Cleared) ClearDisplay();
  Cleared = true;
}

void TOutputForm::Rename(const std::string& name) {
  SetName(name);
  if (Poutput)
    Poutput->SetName(name);
  else if (RenameHook())
    RenameHook()(Pdeadoutputlist, this);
}

std::string TOutputForm::GetOutputFileName() {
  std::error_code error;
  if (!FileName.empty() && std::filesystem::is_regular_file(FileName, error)) return FileName;
  return AskOutputFileName();
}

std::string TOutputForm::AskOutputFileName() {
  const std::string& folder = PreferredOutputDirectory();
  std::error_code error;
  const bool useFolder = !folder.empty() && std::filesystem::is_directory(folder, error);
  FileName = ChooseFile(true, "Output Files (*.opt)|*.opt", "opt", Name,
                        useFolder ? folder : std::string());
  return FileName;
}

std::int32_t TOutputForm::NumberOfActiveSeries() const {
  return Poutput ? Poutput->NumberOfChannels : 0;
}

std::unique_ptr<TOutputForm> TOutputForm::TakeOffLine(TDeadOutputList* list) {
  if (ExperimentRunning) {
    UiPort().ShowMessage("You cannot take a form offline while running", "",
                         TMessageKind::Information);
    return nullptr;
  }
  QORV_ASSERT(Poutput!=0);
  std::unique_ptr<TOutputForm> self = Poutput->ReleaseForm();
  QORV_ASSERT(self.get()==this);
  Poutput = nullptr;
  Pdeadoutputlist = list;
  SetName(Name);
  OffLineEnabled = false;
  AfterOffLine();
  Changed();
  return self;
}

void TOutputForm::CopyOutputData(TOutputForm* target, TOutputForm* source) {
  QORV_ASSERT(target!=0);
  if (!source || !target->CanPaste() || !source->CanCopy()) return;
  target->NumberFormat = source->NumberFormat;
  target->DecimalPlaces = source->DecimalPlaces;
  TTransferData data;
  source->GetTransferData(&data);
  target->SetTransferData(&data);
}

void TOutputForm::SetNumberFormat(std::uint8_t kind, std::int32_t decimals) {
  NumberFormat = kind;
  DecimalPlaces = NumberText::ClampDecimals(decimals);
  RefreshDisplay();
  Changed();
}

void TOutputForm::Hide() {
  if (View) View->HideRequested(*this);
}

void TOutputForm::BringToFront() {
  if (IsVisible()) View->BringToFrontRequested(*this);
}

void TOutputForm::ShowInFront() {
  if (View) View->ShowInFrontRequested(*this);
}

void TOutputForm::SetCreatedHook(std::function<void(TOutputForm&)> hook) {
  CreatedHook() = std::move(hook);
}

void TOutputForm::NotifyCreated(TOutputForm& form) {
  if (CreatedHook()) CreatedHook()(form);
}

void TOutputForm::Changed() {
  ++Generation;
  if (View) View->Changed(*this);
}

void TOutputForm::RequestShow() {
  if (View) View->ShowRequested(*this);
}

void TOutputForm::WriteFormat(TWriteFile& writer) const {
  writer.WriteInteger(DecimalPlaces);
  writer.WriteInteger(NumberFormat);
}

void TOutputForm::ReadFormat(TReadFile& reader) {
  if (reader.GetVersionNumber() < qvV1_4)
    DecimalPlaces = 0;
  else
    ReadFormatPair(reader);
}

void TOutputForm::ReadFormatPair(TReadFile& reader) {
  reader.ReadInteger(DecimalPlaces);
  DecimalPlaces = NumberText::ClampDecimals(DecimalPlaces);
  std::int32_t kind;
  reader.ReadInteger(kind);
  NumberFormat = CheckedNotation(kind);
}

std::uint8_t TOutputForm::CheckedNotation(std::int32_t kind) {
  const auto low = static_cast<std::uint8_t>(kind & 0xFF);
  if (low > ntSCIENTIFIC) throw EReadError(OutputReadError);
  return low;
}

const char* const OutputReadError = "Error reading output";

namespace {
std::string& OutputFolder() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetPreferredOutputDirectory(const std::string& directory) { OutputFolder() = directory; }

const std::string& PreferredOutputDirectory() { return OutputFolder(); }

void SetDeadOutputRenameHook(std::function<void(TDeadOutputList*, TOutputForm*)> hook) {
  RenameHook() = std::move(hook);
}

// TTextComponent

void TTextComponent::GetProperties(TComponentRecord& record) const {
  record.Properties.push_back({"Text", Text});
  record.Properties.push_back({"Color", Color});
  record.Properties.push_back({"Font.Name", Font.Name});
  record.Properties.push_back({"Font.Size", Font.Size});
  record.Properties.push_back({"Font.Color", Font.Color});
  record.Properties.push_back({"Font.Style", Font.Style});
}

void TTextComponent::SetProperties(const TComponentRecord& record) {
  if (const auto* text = record.Find<std::string>("Text")) Text = *text;
  if (const auto* color = record.Find<std::int32_t>("Color")) Color = *color;
  if (const auto* name = record.Find<std::string>("Font.Name")) Font.Name = *name;
  if (const auto* size = record.Find<std::int32_t>("Font.Size")) Font.Size = *size;
  if (const auto* color = record.Find<std::int32_t>("Font.Color")) Font.Color = *color;
  if (const auto* style = record.Find<std::int32_t>("Font.Style")) Font.Style = *style;
}
