#include "outputs/table_form.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/plot_index.h"
#include "scripts/outputs/plot_script.h"

namespace {

// Bytes of the smallest data-set record: flag, three empty strings, two flags.
constexpr std::size_t MinDataSetBytes = 1 + 3 * 4 + 2;

std::string Num(std::int32_t value) { return NumberText::IntToText(value); }

}  // namespace

TTableForm::TTableForm(TOutput* output) : TOutputForm(output), AutoScroll(AutoScrollChecked) {}

TTableForm::TTableForm(TDeadOutputList* list) : TOutputForm(list) {}

TTableForm::TTableForm(const TTableForm* source) : TOutputForm(source) {
  NumberFormat = source->NumberFormat;
  DecimalPlaces = source->DecimalPlaces;
  DataSets = source->DataSets;
  AutoScrollChecked = source->AutoScrollChecked;
  AutoScroll = source->AutoScroll;
}

const TTableDataSet& TTableForm::GetDataSet(std::int32_t i) const {
  QORV_ASSERT(i>=0&&i<DataSetCount());
  return DataSets[static_cast<std::size_t>(i)];
}

TTableDataSet& TTableForm::NewDataSet(const std::string& name, bool isOutput) {
  auto at = DataSets.end();
  if (isOutput)
    at = std::find_if(DataSets.begin(), DataSets.end(),
                      [](const TTableDataSet& set) { return !set.IsOutputDataSet; });
  TTableDataSet set;
  set.Name = name;
  set.IsOutputDataSet = isOutput;
  return *DataSets.insert(at, set);
}

void TTableForm::DeleteDataSet(std::int32_t i) {
  QORV_ASSERT(i>=0&&i<DataSetCount());
  DataSets.erase(DataSets.begin() + i);
  Changed();
}

std::int32_t TTableForm::MaxDataCount() const {
  std::int32_t count = 0;
  for (const TTableDataSet& set : DataSets) count = std::max(count, set.DataCount());
  return count;
}

std::string TTableForm::GetXText(std::int32_t set, std::int32_t i) const {
  const TTableDataSet& data = GetDataSet(set);
  if (i < 0 || i >= data.DataCount()) return "";
  return NumberText::FormatNumber(data.X[static_cast<std::size_t>(i)], NumberFormat, DecimalPlaces);
}

std::string TTableForm::GetYText(std::int32_t set, std::int32_t i) const {
  const TTableDataSet& data = GetDataSet(set);
  if (i < 0 || i >= data.DataCount()) return "";
  return NumberText::FormatNumber(data.Y[static_cast<std::size_t>(i)], NumberFormat, DecimalPlaces);
}

void TTableForm::SetAutoScrollChecked(bool checked) {
  AutoScrollChecked = checked;
  AutoScroll = checked;
  Changed();
}

void TTableForm::ClearDisplay() {
  QORV_ASSERT(Poutput!=0);
  for (TTableDataSet& set : DataSets)
    if (set.IsOutputDataSet) set.Clear();
  Changed();
}

void TTableForm::GetTransferData(TTransferData* data) {
  QORV_ASSERT(data!=0&&data->GetTSCount()==0);
  for (const TTableDataSet& set : DataSets) {
    TTransferSeries* series = data->AddSeries(set.Name, set.DataCount());
    series->XName = set.XHeader;
    series->YName = set.YHeader;
    for (std::int32_t i = 0; i < set.DataCount(); ++i)
      series->SetPoint(i, set.X[static_cast<std::size_t>(i)], set.Y[static_cast<std::size_t>(i)]);
  }
}

void TTableForm::SetTransferData(TTransferData* data) {
  QORV_ASSERT(data!=0);
  DataSets.clear();
  for (std::int32_t j = 0; j < data->GetTSCount(); ++j) {
    TTransferSeries* series = data->GetSeries(j);
    TTableDataSet& set = NewDataSet(series->Name, IsLive() && j < NumberOfActiveSeries());
    set.XHeader = series->XName;
    set.YHeader = series->YName;
    for (std::int32_t i = 0; i < series->GetCount(); ++i)
      set.AddPoint(series->GetX(i), series->GetY(i));
  }
  // A live window keeps a data set for every channel.
  for (std::int32_t k = OutputSetCount(); IsLive() && k < NumberOfActiveSeries(); ++k)
    AddChannelSet(k);
  Changed();
}

void TTableForm::ImportData(TTransferData* data) {
  QORV_ASSERT(data!=0);
  for (std::int32_t j = 0; j < data->GetTSCount(); ++j) {
    TTransferSeries* series = data->GetSeries(j);
    TTableDataSet& set = NewDataSet(series->Name, false);
    set.XHeader = series->XName;
    set.YHeader = series->YName;
    for (std::int32_t i = 0; i < series->GetCount(); ++i)
      set.AddPoint(series->GetX(i), series->GetY(i));
  }
  AutoScroll = AutoScrollChecked;
  Changed();
}

void TTableForm::WriteRecord(TWriteFile& writer, bool withData) {
  writer.WriteString(Name);
  writer.WriteInteger(DecimalPlaces);
  writer.WriteInteger(NumberFormat);
  writer.WriteInteger(DataSetCount());
  for (const TTableDataSet& set : DataSets) {
    writer.WriteBool(set.IsOutputDataSet);
    writer.WriteString(set.Name);
    writer.WriteString(set.XHeader);
    writer.WriteString(set.YHeader);
    writer.WriteBool(set.ShowX);
    writer.WriteBool(set.ShowY);
    if (!withData) continue;
    writer.WriteInteger(set.DataCount());
    for (std::int32_t i = 0; i < set.DataCount(); ++i) {
      writer.WriteFloat(set.X[static_cast<std::size_t>(i)]);
      writer.WriteFloat(set.Y[static_cast<std::size_t>(i)]);
    }
  }
}

void TTableForm::ReadRecord(TReadFile& reader, bool withData) {
  const std::string name = reader.ReadString();
  reader.ReadInteger(DecimalPlaces);
  std::int32_t kind;
  reader.ReadInteger(kind);
  NumberFormat = CheckedNotation(kind);
  DataSets.clear();
  const std::int32_t count = reader.ReadCount(MinDataSetBytes + (withData ? 4 : 0));
  for (std::int32_t s = 0; s < count; ++s) {
    bool isOutput;
    reader.ReadBool(isOutput);
    const std::string setName = reader.ReadString();
    TTableDataSet& set = NewDataSet(setName, isOutput && !withData);
    set.XHeader = reader.ReadString();
    set.YHeader = reader.ReadString();
    reader.ReadBool(set.ShowX);
    reader.ReadBool(set.ShowY);
    if (!withData) continue;
    const std::int32_t points = reader.ReadCount(8);
    for (std::int32_t i = 0; i < points; ++i) {
      float x, y;
      reader.ReadFloat(x);
      reader.ReadFloat(y);
      set.AddPoint(x, y);
    }
  }
  SetName(name);
  RefreshDisplay();
}

void TTableForm::Write(TWriteFile& writer) { WriteRecord(writer, false); }

void TTableForm::Read(TReadFile& reader) { ReadRecord(reader, false); }

void TTableForm::WriteOutputFile(TWriteFile& writer) { WriteRecord(writer, true); }

void TTableForm::ReadOutputFile(TReadFile& reader) {
  ReadRecord(reader, true);
  FileName = reader.GetFileName();
}

TTableDataSet& TTableForm::Channel(TPlotScript* plot) {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(plot!=0);
  const std::int32_t c = plot->GetPlotIndex()->GetIndex();
  QORV_ASSERT(c>-1&&c<DataSetCount());
  return DataSets[static_cast<std::size_t>(c)];
}

void TTableForm::PlotPoint(TPlotScript* plot, std::vector<std::string>* trace) {
  Cleared = false;
  TTableDataSet& set = Channel(plot);
  double x, y;
  plot->GetXY(x, y);
  set.AddPoint(static_cast<float>(x), static_cast<float>(y));
  if (trace) trace->push_back(plot->GetValueText(NumberFormat, DecimalPlaces));
  Changed();
}

void TTableForm::PlotValue(TPlotScript* plot) { PlotPoint(plot, nullptr); }

void TTableForm::PlotValueTrace(TPlotScript* plot, std::vector<std::string>& trace) {
  PlotPoint(plot, &trace);
}

void TTableForm::AddArray(TPlotScript* plot, TVariableData* array,
                          std::vector<std::string>* trace) {
  Cleared = false;
  TTableDataSet& set = Channel(plot);
  QORV_ASSERT(array!=0);
  auto* data = dynamic_cast<TDataArray*>(array->GetData());
  QORV_ASSERT(data!=0);
  if (!data->HasValueArray()) return;
  auto* values = dynamic_cast<TValueNumberArray*>(&data->GetValueArray());
  QORV_ASSERT(values!=0);
  for (std::int32_t i = 0; i < values->GetSize(); ++i) {
    set.AddPoint(static_cast<float>(i), values->GetElementFloat(i));
    if (trace)
      trace->push_back(NumberText::FormatNumber(i, ntSTANDARD, 0) + ", " +
                       values->GetElementText(i));
  }
  Changed();
}

void TTableForm::PlotArray(TPlotScript* plot, TVariableData* array) {
  AddArray(plot, array, nullptr);
}

void TTableForm::PlotArrayTrace(TPlotScript* plot, TVariableData* array,
                                std::vector<std::string>& trace) {
  AddArray(plot, array, &trace);
}

void TTableForm::AddChannelSet(std::int32_t k) {
  TTableDataSet& set = NewDataSet("Series " + Num(k), true);
  set.XHeader = "X S" + Num(k);
  set.YHeader = "Y S" + Num(k);
}

void TTableForm::InitChannels() {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(Poutput->NumberOfChannels>=1);
  while (DataSetCount() < Poutput->NumberOfChannels) {
    const std::int32_t k = DataSetCount() + 1;
    TTableDataSet& set = NewDataSet("Series" + Num(k), true);
    set.XHeader = "X S" + Num(k);
    set.YHeader = "Y S" + Num(k);
  }
  Changed();
}

void TTableForm::SetNumberOfChannels(std::int32_t n) {
  QORV_ASSERT(Poutput!=0);
  const std::int32_t c = Poutput->NumberOfChannels;
  if (n == c) return;
  for (std::int32_t k = n; k < c; ++k) DataSets.erase(DataSets.begin() + n);
  for (std::int32_t k = c; k < n; ++k) AddChannelSet(k);
  Changed();
}

std::int32_t TTableForm::OutputSetCount() const {
  std::int32_t count = 0;
  while (count < DataSetCount() && DataSets[static_cast<std::size_t>(count)].IsOutputDataSet)
    ++count;
  return count;
}

void TTableForm::MatchChannels(std::int32_t n) {
  std::int32_t have = OutputSetCount();
  for (; have > n; --have) DataSets.erase(DataSets.begin() + n);
  for (; have < n; ++have) AddChannelSet(have);
  Changed();
}

void TTableForm::EndRun() {
  AutoScroll = false;
  Changed();
}

bool TTableForm::ExportMatLab(TMatExportMatrix& matrix) {
  const auto n = static_cast<std::int32_t>(matrix.Ranges.size());
  QORV_ASSERT(n>=1);
  const std::int32_t rows = matrix.Ranges[0].Last - matrix.Ranges[0].First + 1;
  QORV_ASSERT(rows>=1);
  if (static_cast<std::int64_t>(rows) * n > 500000) {
    UiPort().ShowMessage("Too many points to save in one matlab matrix", "",
                         TMessageKind::Information);
    return false;
  }
  matrix.Rows = rows;
  matrix.Columns = 2 * n;
  matrix.Values.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(2 * n), 0.0);
  for (std::int32_t j = 0; j < n; ++j) {
    const TMatExportMatrix::TRange& range = matrix.Ranges[static_cast<std::size_t>(j)];
    const TTableDataSet& set = GetDataSet(range.DataSet);
    for (std::int32_t r = 0; r < rows && range.First + r <= range.Last; ++r) {
      const std::int32_t i = range.First + r;
      if (i < 0 || i >= set.DataCount()) continue;
      const auto at = static_cast<std::size_t>(i);
      matrix.Values[static_cast<std::size_t>(2 * j * rows + r)] = set.X[at];
      matrix.Values[static_cast<std::size_t>((2 * j + 1) * rows + r)] = set.Y[at];
    }
  }
  return true;
}

void TTableForm::AfterOffLine() {
  if (ExperimentRunning) return;
  for (TTableDataSet& set : DataSets) {
    if (!set.IsOutputDataSet) break;
    set.IsOutputDataSet = false;
  }
}
