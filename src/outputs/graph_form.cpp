#include "outputs/graph_form.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/output.h"

namespace {

std::string Num(std::int32_t value) { return NumberText::IntToText(value); }

// The design-time series of every chart.
TGraphSeries FirstSeries() {
  TGraphSeries series;
  series.Name = "Series1";
  series.XName = "X";
  series.YName = "Y";
  series.Color = 0x0000FF;  // red
  return series;
}

}  // namespace

// TChartSettings

void TChartSettings::GetProperties(TComponentRecord& record) const {
  std::string text;
  for (const std::string& line : Title) text += line + "\r\n";
  record.Properties.push_back({"Title.Text", text});
  record.Properties.push_back({"Legend.Visible", LegendVisible});
  record.Properties.push_back({"BottomAxis.Title", BottomAxisTitle});
  record.Properties.push_back({"LeftAxis.Title", LeftAxisTitle});
}

void TChartSettings::SetProperties(const TComponentRecord& record) {
  if (const auto* text = record.Find<std::string>("Title.Text")) {
    Title.clear();
    std::size_t start = 0;
    while (start < text->size()) {
      std::size_t end = text->find('\n', start);
      if (end == std::string::npos) end = text->size();
      std::string line = text->substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      Title.push_back(line);
      start = end + 1;
    }
  }
  if (const auto* visible = record.Find<bool>("Legend.Visible")) LegendVisible = *visible;
  if (const auto* title = record.Find<std::string>("BottomAxis.Title")) BottomAxisTitle = *title;
  if (const auto* title = record.Find<std::string>("LeftAxis.Title")) LeftAxisTitle = *title;
}

// TXAxisScroll

void TXAxisScroll::Follow(std::int32_t series, std::int32_t points) {
  Start = 0;
  if (series < 0 || points < 1) {
    Series = -1;
    Points = -1;
    Active = false;
    return;
  }
  Series = series;
  Points = points;
  Active = true;
}

// TGraphForm

TGraphForm::TGraphForm(TOutput* output)
    : TPointSeriesForm(output), Pxaxisscroll(std::make_unique<TXAxisScroll>()) {
  Sets.push_back(FirstSeries());
}

TGraphForm::TGraphForm(TDeadOutputList* list) : TPointSeriesForm(list) {
  Sets.push_back(FirstSeries());
}

TGraphForm::TGraphForm(const TGraphForm* source)
    : TPointSeriesForm(source), Pxaxisscroll(std::make_unique<TXAxisScroll>()) {
  QORV_ASSERT(source->Poutput!=0);
  NumberFormat = source->NumberFormat;
  DecimalPlaces = source->DecimalPlaces;
  ChartSettings = source->ChartSettings;
  Bottom = source->Bottom;
  Left = source->Left;
  AxisValuesFormat = source->AxisValuesFormat;
  Sets = source->Sets;
  if (source->Pxaxisscroll) {
    *Pxaxisscroll = *source->Pxaxisscroll;
    if (Pxaxisscroll->Series >= NumberOfActiveSeries()) *Pxaxisscroll = TXAxisScroll();
  }
}

void TGraphForm::DeleteSeries(std::int32_t i) {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  Sets.erase(Sets.begin() + i);
  if (Pxaxisscroll) {
    if (Pxaxisscroll->Series == i)
      *Pxaxisscroll = TXAxisScroll();
    else if (Pxaxisscroll->Series > i)
      --Pxaxisscroll->Series;
  }
  Changed();
}

void TGraphForm::SetName(const std::string& name) {
  // The title is kept as lines: a name with a line break (only a damaged file has one)
  // gives its first line, so that saving and reading back keep the same title.
  const std::string line = name.substr(0, name.find_first_of("\r\n"));
  if (ChartSettings.Title.empty())
    ChartSettings.Title.push_back(line);
  else
    ChartSettings.Title[0] = line;
  TOutputForm::SetName(name);
}

void TGraphForm::ClearDisplay() {
  QORV_ASSERT(Poutput!=0);
  ClearOutput();
  if (Pxaxisscroll) Pxaxisscroll->Start = 0;
}

void TGraphForm::ClearOutput() {
  QORV_ASSERT(Poutput!=0);
  const std::int32_t channels = std::min(NumberOfActiveSeries(), SeriesCount());
  for (std::int32_t i = 0; i < channels; ++i) Sets[static_cast<std::size_t>(i)].Clear();
  Changed();
}

void TGraphForm::AppendTransfer(TTransferData* data, bool notify) {
  QORV_ASSERT(data!=0);
  // A graph holds at most GetMaxSeries() series: the rest are left out, and the user told.
  const std::int32_t room = std::max(0, GetMaxSeries() - SeriesCount());
  const std::int32_t count = std::min(data->GetTSCount(), room);
  if (count < data->GetTSCount())
    UiPort().ShowMessage("A graph holds at most " + Num(GetMaxSeries()) + " series: " +
                             Num(data->GetTSCount() - count) + " series were left out.",
                         "", TMessageKind::Warning);
  for (std::int32_t j = 0; j < count; ++j) {
    const TTransferSeries* in = data->GetSeries(j);
    TGraphSeries series;
    TakePoints(series, *in);
    series.Name = in->XName + " vs " + in->YName;
    series.Notify = notify;
    Sets.push_back(std::move(series));
  }
  Changed();
}

void TGraphForm::SetTransferData(TTransferData* data) {
  Sets.clear();
  if (Pxaxisscroll) *Pxaxisscroll = TXAxisScroll();
  AppendTransfer(data, true);
  // A live window keeps a series for every channel.
  while (IsLive() && SeriesCount() < NumberOfActiveSeries())
    Sets.push_back(NumberedSeries(SeriesCount()));
}

void TGraphForm::ImportData(TTransferData* data) { AppendTransfer(data, false); }

void TGraphSeries::Write(TWriteFile& writer) const {
  writer.WriteString(Name);
  writer.WriteString(XName);
  writer.WriteString(YName);
  writer.WriteBool(LineVisible);
  writer.WriteInteger(LineStyle);
  writer.WriteInteger(LineWidth);
  writer.WriteInteger(Color);
  writer.WriteBool(PointerVisible);
  writer.WriteInteger(PointerStyle);
  writer.WriteInteger(PointerColor);
  writer.WriteInteger(PointerWidth);
  writer.WriteInteger(PointerHeight);
}

void TGraphSeries::Read(TReadFile& reader) {
  Name = reader.ReadString();
  XName = reader.ReadString();
  YName = reader.ReadString();
  reader.ReadBool(LineVisible);
  reader.ReadInteger(LineStyle);
  reader.ReadInteger(LineWidth);
  reader.ReadInteger(Color);
  reader.ReadBool(PointerVisible);
  reader.ReadInteger(PointerStyle);
  reader.ReadInteger(PointerColor);
  reader.ReadInteger(PointerWidth);
  reader.ReadInteger(PointerHeight);
}

void TGraphForm::WriteRecord(TWriteFile& writer, bool withData) {
  WriteHead(writer);
  for (const TGraphAxis* axis : {&Bottom, &Left}) {
    writer.WriteBool(axis->Automatic);
    writer.WriteFloat(static_cast<float>(axis->Minimum));
    writer.WriteFloat(static_cast<float>(axis->Maximum));
  }
  writer.WriteComponent(&ChartSettings);
  WriteSets(writer, withData ? SeriesCount() : NumberOfActiveSeries(), withData);
  if (Pxaxisscroll) {
    writer.WriteBool(Pxaxisscroll->Series >= 0);
    if (Pxaxisscroll->Series >= 0) {
      writer.WriteInteger(Pxaxisscroll->Series);
      writer.WriteInteger(Pxaxisscroll->Points);
    }
  }
}

void TGraphForm::ReadRecord(TReadFile& reader, bool withData) {
  const std::string name = ReadHead(reader);
  for (TGraphAxis* axis : {&Bottom, &Left}) {
    float minimum, maximum;
    reader.ReadBool(axis->Automatic);
    reader.ReadFloat(minimum);
    reader.ReadFloat(maximum);
    if (minimum > maximum) {
      minimum = 0.0f;
      maximum = 10.0f;
    }
    axis->Minimum = minimum;
    axis->Maximum = maximum;
  }
  reader.ReadComponent(&ChartSettings);
  const std::int32_t n = ReadSetCount(reader, withData);
  while (SeriesCount() < n) Sets.emplace_back();
  for (std::int32_t s = 0; s < n; ++s) {
    TGraphSeries& series = Sets[static_cast<std::size_t>(s)];
    series.Read(reader);
    if (withData)
      ReadPoints(reader, series);
    else
      series.Notify = true;
  }
  if (Pxaxisscroll) {
    TXAxisScroll& scroll = *Pxaxisscroll;
    bool on;
    reader.ReadBool(on);
    scroll = TXAxisScroll();
    if (on) {
      std::int32_t series, points;
      reader.ReadInteger(series);
      reader.ReadInteger(points);
      // A negative number of newest points cannot be shown.
      if (points < 0) throw EReadError(OutputReadError);
      // A series that is not there, or no points, read as scrolling off.
      if (series < SeriesCount()) scroll.Follow(series, points);
    }
  }
  SetName(name);
  RefreshDisplay();
}

void TGraphForm::AddPlotPoint(std::int32_t s, double x, double y) {
  TGraphSeries& series = Sets[static_cast<std::size_t>(s)];
  series.AddPoint(x, y);
  // Active scrolling keeps the newest point in the middle of the bottom axis.
  TXAxisScroll* scroll = Pxaxisscroll.get();
  if (!series.Notify || !scroll || !scroll->Active || !scroll->IsSet() || scroll->Series != s ||
      !ExperimentRunning)
    return;
  const std::int32_t i = series.Count() - 1;
  if (i - scroll->Start <= scroll->Points) return;
  scroll->Start = std::clamp(i - scroll->Points / 2, 0, i);
  const double minimum = series.X[static_cast<std::size_t>(scroll->Start)];
  const double maximum = minimum + 2 * (series.X[static_cast<std::size_t>(i)] - minimum);
  // X that did not grow (or is not a number) gives no window to show: the axis stays.
  if (!(maximum > minimum)) return;
  Bottom.Automatic = false;
  Bottom.Minimum = minimum;
  Bottom.Maximum = maximum;
}

void TGraphForm::PointsToDraw(std::int32_t s, double xMin, double xMax, std::int32_t columns,
                              std::vector<TDrawPoint>& out) const {
  out.clear();
  if (s < 0 || s >= SeriesCount()) return;
  const TGraphSeries& series = Sets[static_cast<std::size_t>(s)];
  if (Decimation) return series.PointsToDraw(xMin, xMax, columns, out);
  out.resize(series.X.size());
  for (std::size_t i = 0; i < series.X.size(); ++i) out[i] = {series.X[i], series.Y[i]};
}

void TGraphForm::SetDecimation(bool on) {
  if (on == Decimation) return;
  Decimation = on;
  Changed();
}

void TGraphForm::RefreshDisplay() {
  AxisValuesFormat.clear();
  if (NumberFormat == ntFIXED || NumberFormat == ntSCIENTIFIC)
    AxisValuesFormat =
        "0." + std::string(static_cast<std::size_t>(NumberText::ClampDecimals(DecimalPlaces)), '0');
  if (NumberFormat == ntSCIENTIFIC) AxisValuesFormat += "E-0";
  Changed();
}

TGraphSeries TGraphForm::NumberedSeries(std::int32_t k) const {
  TGraphSeries series;
  series.Name = "Series " + Num(k);
  series.XName = "X Series " + Num(k);
  series.YName = "Y Series" + Num(k);
  series.Notify = true;
  return series;
}

void TGraphForm::InitChannels() {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(SeriesCount()==1);
  QORV_ASSERT(Poutput->NumberOfChannels>=1);
  Sets[0].Notify = true;
  while (SeriesCount() < Poutput->NumberOfChannels)
    Sets.push_back(NumberedSeries(SeriesCount() + 1));
  Changed();
}

void TGraphForm::SetNumberOfChannels(std::int32_t n) {
  QORV_ASSERT(Poutput!=0);
  const std::int32_t c = Poutput->NumberOfChannels;
  if (n == c) return;
  for (std::int32_t k = n; k < c; ++k) DeleteSeries(n);
  for (std::int32_t i = c; i < n; ++i) {
    Sets.insert(Sets.begin() + i, NumberedSeries(i));
    if (Pxaxisscroll && Pxaxisscroll->Series >= i) ++Pxaxisscroll->Series;
  }
  Changed();
}

void TGraphForm::MatchChannels(std::int32_t n) {
  while (SeriesCount() > n) DeleteSeries(SeriesCount() - 1);
  while (SeriesCount() < n) Sets.push_back(NumberedSeries(SeriesCount()));
  Changed();
}
