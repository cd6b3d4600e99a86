#include "outputs/text_form.h"

#include "model/assertion.h"
#include "model/data.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/outputs/plot_script.h"

TTextForm::TTextForm(TOutput* output) : TOutputForm(output) {}

TTextForm::TTextForm(TDeadOutputList* list) : TOutputForm(list) {}

void TTextForm::ClearDisplay() {
  Lines.clear();
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
  QORV_ASSERT(data!=0);
  Lines.clear();
  AddText(data->ToText(NumberFormat, DecimalPlaces, "\t"));
}

void TTextForm::ImportData(TTransferData* data) {
  QORV_ASSERT(data!=0);
  AddText(data->ToText(NumberFormat, DecimalPlaces, "\t"));
}

void TTextForm::WriteRecord(TWriteFile& writer, bool withText) {
  writer.WriteString(Name);
  RichEdit.Text = withText ? GetText() : "";
  writer.WriteComponent(&RichEdit);
  RichEdit.Text.clear();
  WriteFormat(writer);
}

void TTextForm::ReadRecord(TReadFile& reader, bool withText) {
  const std::string name = reader.ReadString();
  reader.ReadComponent(&RichEdit);
  if (withText) {
    Lines.clear();
    AddText(RichEdit.Text);
  }
  RichEdit.Text.clear();
  ReadFormat(reader);
  SetName(name);
}

void TTextForm::Write(TWriteFile& writer) { WriteRecord(writer, false); }

void TTextForm::Read(TReadFile& reader) { ReadRecord(reader, false); }

void TTextForm::WriteOutputFile(TWriteFile& writer) { WriteRecord(writer, true); }

void TTextForm::ReadOutputFile(TReadFile& reader) {
  ReadRecord(reader, true);
  FileName = reader.GetFileName();
}

void TTextForm::AddLine(const std::string& line, std::vector<std::string>* trace) {
  Lines.push_back(line);
  if (trace) trace->push_back(line);
}

void TTextForm::PlotValue(TPlotScript* plot) {
  QORV_ASSERT(plot!=0);
  Cleared = false;
  AddLine(plot->GetValueText(NumberFormat, DecimalPlaces), nullptr);
  Changed();
}

void TTextForm::PlotValueTrace(TPlotScript* plot, std::vector<std::string>& trace) {
  QORV_ASSERT(plot!=0);
  Cleared = false;
  AddLine(plot->GetValueText(NumberFormat, DecimalPlaces), &trace);
  Changed();
}

void TTextForm::AddArray(TPlotScript* plot, TVariableData* array,
                         std::vector<std::string>* trace) {
  QORV_ASSERT(plot!=0&&array!=0);
  Cleared = false;
  auto* data = dynamic_cast<TDataArray*>(array->GetData());
  QORV_ASSERT(data!=0);
  if (!data->HasValueArray()) return;
  TValueArray& values = data->GetValueArray();
  for (std::int32_t i = 0; i < values.GetSize(); ++i) {
    std::string line = plot->GetUseCounter() ? NumberText::IntToText(i) + ", " : "";
    AddLine(line + values.GetElementTextFormatted(NumberFormat, DecimalPlaces, i), trace);
  }
  Changed();
}

void TTextForm::PlotArray(TPlotScript* plot, TVariableData* array) {
  AddArray(plot, array, nullptr);
}

void TTextForm::PlotArrayTrace(TPlotScript* plot, TVariableData* array,
                               std::vector<std::string>& trace) {
  AddArray(plot, array, &trace);
}
