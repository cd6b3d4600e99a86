#include "outputs/table_form.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/value_format.h"

namespace {

std::string Num(std::int32_t value) { return NumberText::IntToText(value); }

}  // namespace

void TTableDataSet::Write(TWriteFile& writer) const {
  writer.WriteBool(IsOutputDataSet);
  writer.WriteString(Name);
  writer.WriteString(XName);
  writer.WriteString(YName);
  writer.WriteBool(ShowX);
  writer.WriteBool(ShowY);
}

void TTableDataSet::Read(TReadFile& reader) {
  reader.ReadBool(IsOutputDataSet);
  Name = reader.ReadString();
  XName = reader.ReadString();
  YName = reader.ReadString();
  reader.ReadBool(ShowX);
  reader.ReadBool(ShowY);
}

TTableForm::TTableForm(TOutput* output)
    : TPointSeriesForm(output), AutoScroll(AutoScrollChecked) {}

TTableForm::TTableForm(TDeadOutputList* list) : TPointSeriesForm(list) {}

TTableForm::TTableForm(const TTableForm* source) : TPointSeriesForm(source) {
  NumberFormat = source->NumberFormat;
  DecimalPlaces = source->DecimalPlaces;
  Sets = source->Sets;
  AutoScrollChecked = source->AutoScrollChecked;
  AutoScroll = source->AutoScroll;
}

void TTableForm::Rewritten() {
  ++Rewrites;
  Changed();
}

TTableDataSet& TTableForm::NewDataSet(const std::string& name, bool isOutput) {
  TTableDataSet set;
  set.Name = name;
  set.IsOutputDataSet = isOutput;
  TTableDataSet& added = InsertDataSet(std::move(set));
  Rewritten();
  return added;
}

TTableDataSet& TTableForm::InsertDataSet(TTableDataSet set) {
  auto at = Sets.end();
  if (set.IsOutputDataSet)
    at = std::find_if(Sets.begin(), Sets.end(),
                      [](const TTableDataSet& each) { return !each.IsOutputDataSet; });
  return *Sets.insert(at, std::move(set));
}

void TTableForm::DeleteDataSet(std::int32_t i) {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  Sets.erase(Sets.begin() + i);
  Rewritten();
}

void TTableForm::ClearAllData() {
  for (TTableDataSet& set : Sets) set.Clear();
  Rewritten();
}

void TTableForm::ShowColumn(std::int32_t set, bool x, bool show) {
  TTableDataSet& data = GetSeries(set);
  (x ? data.ShowX : data.ShowY) = show;
  Rewritten();
}

void TTableForm::MoveDataSet(std::int32_t from, std::int32_t to) {
  QORV_ASSERT(!GetSeries(from).IsOutputDataSet);
  QORV_ASSERT(!GetSeries(to).IsOutputDataSet);
  if (from == to) return;
  TTableDataSet moved = std::move(Sets[static_cast<std::size_t>(from)]);
  Sets.erase(Sets.begin() + from);
  Sets.insert(Sets.begin() + to, std::move(moved));
  Rewritten();
}

std::int32_t TTableForm::MaxDataCount() const {
  std::int32_t count = 0;
  for (const TTableDataSet& set : Sets) count = std::max(count, set.Count());
  return count;
}

std::string TTableForm::GetXText(std::int32_t set, std::int32_t i) const {
  const TTableDataSet& data = GetSeries(set);
  if (i < 0 || i >= data.Count()) return "";
  return FormatValue(data.X[static_cast<std::size_t>(i)], TValueFormat{NumberFormat, DecimalPlaces});
}

std::string TTableForm::GetYText(std::int32_t set, std::int32_t i) const {
  const TTableDataSet& data = GetSeries(set);
  if (i < 0 || i >= data.Count()) return "";
  return FormatValue(data.Y[static_cast<std::size_t>(i)], TValueFormat{NumberFormat, DecimalPlaces});
}

void TTableForm::SetAutoScrollChecked(bool checked) {
  AutoScrollChecked = checked;
  AutoScroll = checked;
  Changed();
}

void TTableForm::ClearDisplay() {
  QORV_ASSERT(Poutput!=0);
  for (TTableDataSet& set : Sets)
    if (set.IsOutputDataSet) set.Clear();
  AutoScroll = AutoScrollChecked;
  Rewritten();
}

void TTableForm::AddTransferSet(const TTransferSeries& series, bool isOutput) {
  TakePoints(NewDataSet(series.Name, isOutput), series);
}

template <class TIsOutput>
void TTableForm::AddTransferSets(TTransferData& data, TIsOutput isOutput) {
  const std::int32_t room = std::max(GetMaxSeries() - SeriesCount(), 0);
  const std::int32_t count = std::min(data.GetTSCount(), room);
  for (std::int32_t j = 0; j < count; ++j) AddTransferSet(*data.GetSeries(j), isOutput(j));
  const std::int32_t left = data.GetTSCount() - count;
  if (left > 0)
    UiPort().ShowMessage("A table holds at most " + Num(GetMaxSeries()) + " data sets: " +
                             Num(left) + (left == 1 ? " data set was" : " data sets were") +
                             " left out.",
                         "", TMessageKind::Warning);
}

void TTableForm::SetTransferData(TTransferData* data) {
  QORV_ASSERT(data!=0);
  Sets.clear();
  AddTransferSets(*data, [this](std::int32_t j) { return IsLive() && j < NumberOfActiveSeries(); });
  // A live window keeps a data set for every channel.
  for (std::int32_t k = OutputSetCount(); IsLive() && k < NumberOfActiveSeries(); ++k)
    AddChannelSet(k);
  Rewritten();
}

void TTableForm::ImportData(TTransferData* data) {
  QORV_ASSERT(data!=0);
  AddTransferSets(*data, [](std::int32_t) { return false; });
  AutoScroll = AutoScrollChecked;
  Rewritten();
}

void TTableForm::WriteRecord(TWriteFile& writer, bool withData) {
  WriteHead(writer);
  WriteSets(writer, SeriesCount(), withData);
}

void TTableForm::ReadRecord(TReadFile& reader, bool withData) {
  const std::string name = ReadHead(reader);
  Sets.clear();
  const std::int32_t count = ReadSetCount(reader, withData);
  for (std::int32_t s = 0; s < count; ++s) {
    TTableDataSet set;
    set.Read(reader);
    set.IsOutputDataSet = set.IsOutputDataSet && !withData;
    if (withData) ReadPoints(reader, set);
    InsertDataSet(std::move(set));
  }
  SetName(name);
  RefreshDisplay();
}

void TTableForm::AddChannelSet(std::int32_t k, const char* name) {
  TTableDataSet& set = NewDataSet(name + Num(k), true);
  set.XName = "X S" + Num(k);
  set.YName = "Y S" + Num(k);
}

void TTableForm::InitChannels() {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(Poutput->NumberOfChannels>=1);
  while (SeriesCount() < Poutput->NumberOfChannels) AddChannelSet(SeriesCount() + 1, "Series");
  Rewritten();
}

void TTableForm::SetNumberOfChannels(std::int32_t n) {
  QORV_ASSERT(Poutput!=0);
  const std::int32_t c = Poutput->NumberOfChannels;
  if (n == c) return;
  for (std::int32_t k = n; k < c; ++k) Sets.erase(Sets.begin() + n);
  for (std::int32_t k = c; k < n; ++k) AddChannelSet(k);
  Rewritten();
}

std::int32_t TTableForm::OutputSetCount() const {
  std::int32_t count = 0;
  while (count < SeriesCount() && Sets[static_cast<std::size_t>(count)].IsOutputDataSet) ++count;
  return count;
}

void TTableForm::MatchChannels(std::int32_t n) {
  std::int32_t have = OutputSetCount();
  for (; have > n; --have) Sets.erase(Sets.begin() + n);
  for (; have < n; ++have) AddChannelSet(have);
  Rewritten();
}

void TTableForm::EndRun() {
  AutoScroll = false;
  Changed();
}

bool TTableForm::MatrixFits(std::int32_t rows, std::int32_t ranges) const {
  if (static_cast<std::int64_t>(rows) * ranges <= 500000) return true;
  UiPort().ShowMessage("Too many points to save in one matlab matrix", "",
                       TMessageKind::Information);
  return false;
}

void TTableForm::AfterOffLine() {
  if (ExperimentRunning) return;
  for (TTableDataSet& set : Sets) {
    if (!set.IsOutputDataSet) break;
    set.IsOutputDataSet = false;
  }
}
