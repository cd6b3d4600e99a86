#include "outputs/text_form.h"

#include "model/assertion.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value_array.h"
#include "model/write_file.h"
#include "outputs/plot_source.h"

TTextForm::TTextForm(TOutput* output) : TOutputForm(output) {}

TTextForm::TTextForm(TDeadOutputList* list) : TOutputForm(list) {}

void TTextForm::ClearDisplay() {
  Lines.clear();
  ++ResetCount;
  Changed();
}

std::string TTextForm::GetText() const {
  std::string text;
  for (const std::string& line : Lines) text += line + "\r\n";
  return text;
}

void TTextForm::AddText(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines.push_back(line);
    start = end + 1;
  }
  Changed();
}

void TTextForm::SetTransferData(TTransferData* data) {
  Lines.clear();
  ++ResetCount;
  ImportData(data);
}

void TTextForm::ImportData(TTransferData* data) {
  QORV_ASSERT(data!=0);
  AddText(data->ToText(NumberFormat, DecimalPlaces, "\t"));
}

void TTextForm::WriteRecord(TWriteFile& writer, bool withData) {
  writer.WriteString(Name);
  RichEdit.Text = withData ? GetText() : "";
  writer.WriteComponent(&RichEdit);
  RichEdit.Text.clear();
  WriteFormat(writer);
}

void TTextForm::ReadRecord(TReadFile& reader, bool withData) {
  const std::string name = reader.ReadString();
  reader.ReadComponent(&RichEdit);
  if (withData) {
    Lines.clear();
    ++ResetCount;
    AddText(RichEdit.Text);
  }
  RichEdit.Text.clear();
  ReadFormat(reader);
  SetName(name);
}

void TTextForm::AddLine(const std::string& line, std::vector<std::string>* trace) {
  Lines.push_back(line);
  if (trace) trace->push_back(line);
}

void TTextForm::PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) {
  QORV_ASSERT(plot!=0);
  Cleared = false;
  AddLine(plot->GetValueText(NumberFormat, DecimalPlaces), trace);
  Changed();
}

void TTextForm::PlotElements(TPlotSource* plot, TVariableData* array,
                             std::vector<std::string>* trace) {
  QORV_ASSERT(plot!=0);
  Cleared = false;
  TValueArray* values = ArrayValues(array);
  if (!values) return;
  for (std::int32_t i = 0; i < values->GetSize(); ++i) {
    std::string line = plot->GetUseCounter() ? NumberText::IntToText(i) + ", " : "";
    AddLine(line + values->GetElementTextFormatted(NumberFormat, DecimalPlaces, i), trace);
  }
  Changed();
}
