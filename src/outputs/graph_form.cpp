#include "outputs/graph_form.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/data.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/plot_index.h"
#include "scripts/outputs/plot_script.h"

namespace {

// Bytes of the smallest series record without points: three empty strings, the line,
// colour and marker fields.
constexpr std::size_t MinSeriesBytes = 3 * 4 + 1 + 3 * 4 + 1 + 4 * 4;

std::string Num(std::int32_t value) { return NumberText::IntToText(value); }

// The design-time series of every chart.
TGraphSeries FirstSeries() {
  TGraphSeries series;
  series.Title = "Series1";
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

// TGraphForm

TGraphForm::TGraphForm(TOutput* output)
    : TOutputForm(output), Series{FirstSeries()}, Pxaxisscroll(std::make_unique<TXAxisScroll>()) {}

TGraphForm::TGraphForm(TDeadOutputList* list) : TOutputForm(list), Series{FirstSeries()} {}

TGraphForm::TGraphForm(const TGraphForm* source)
    : TOutputForm(source), Pxaxisscroll(std::make_unique<TXAxisScroll>()) {
  QORV_ASSERT(source->Poutput!=0);
  NumberFormat = source->NumberFormat;
  DecimalPlaces = source->DecimalPlaces;
  ChartSettings = source->ChartSettings;
  Bottom = source->Bottom;
  Left = source->Left;
  AxisValuesFormat = source->AxisValuesFormat;
  Series = source->Series;
  if (source->Pxaxisscroll) {
    *Pxaxisscroll = *source->Pxaxisscroll;
    if (Pxaxisscroll->Series >= NumberOfActiveSeries()) *Pxaxisscroll = TXAxisScroll();
  }
}

const TGraphSeries& TGraphForm::GetSeries(std::int32_t i) const {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  return Series[static_cast<std::size_t>(i)];
}

TGraphSeries& TGraphForm::GetSeries(std::int32_t i) {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  return Series[static_cast<std::size_t>(i)];
}

void TGraphForm::DeleteSeries(std::int32_t i) {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  Series.erase(Series.begin() + i);
  if (Pxaxisscroll) {
    if (Pxaxisscroll->Series == i)
      *Pxaxisscroll = TXAxisScroll();
    else if (Pxaxisscroll->Series > i)
      --Pxaxisscroll->Series;
  }
  Changed();
}

void TGraphForm::SetName(const std::string& name) {
  if (ChartSettings.Title.empty())
    ChartSettings.Title.push_back(name);
  else
    ChartSettings.Title[0] = name;
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
  for (std::int32_t i = 0; i < channels; ++i) Series[static_cast<std::size_t>(i)].Clear();
  Changed();
}

void TGraphForm::GetTransferData(TTransferData* data) {
  QORV_ASSERT(data!=0&&data->GetTSCount()==0);
  for (const TGraphSeries& series : Series) {
    TTransferSeries* out = data->AddSeries(series.Title, series.Count());
    out->XName = series.XName;
    out->YName = series.YName;
    for (std::int32_t i = 0; i < series.Count(); ++i)
      out->SetPoint(i, static_cast<float>(series.X[static_cast<std::size_t>(i)]),
                    static_cast<float>(series.Y[static_cast<std::size_t>(i)]));
  }
}

void TGraphForm::AppendTransfer(TTransferData* data, bool notify) {
  QORV_ASSERT(data!=0);
  for (std::int32_t j = 0; j < data->GetTSCount(); ++j) {
    const TTransferSeries* in = data->GetSeries(j);
    TGraphSeries series;
    series.XName = in->XName;
    series.YName = in->YName;
    series.Title = in->XName + " vs " + in->YName;
    series.Notify = notify;
    for (std::int32_t i = 0; i < in->GetCount(); ++i) {
      series.X.push_back(in->GetX(i));
      series.Y.push_back(in->GetY(i));
    }
    Series.push_back(std::move(series));
  }
  Changed();
}

void TGraphForm::SetTransferData(TTransferData* data) {
  Series.clear();
  if (Pxaxisscroll) *Pxaxisscroll = TXAxisScroll();
  AppendTransfer(data, true);
  // A live window keeps a series for every channel.
  while (IsLive() && SeriesCount() < NumberOfActiveSeries())
    Series.push_back(NumberedSeries(SeriesCount()));
}

void TGraphForm::ImportData(TTransferData* data) { AppendTransfer(data, false); }

void TGraphForm::WriteRecord(TWriteFile& writer, bool withData) {
  writer.WriteString(Name);
  writer.WriteInteger(DecimalPlaces);
  writer.WriteInteger(static_cast<std::int8_t>(NumberFormat));
  for (const TGraphAxis* axis : {&Bottom, &Left}) {
    writer.WriteBool(axis->Automatic);
    writer.WriteFloat(static_cast<float>(axis->Minimum));
    writer.WriteFloat(static_cast<float>(axis->Maximum));
  }
  writer.WriteComponent(&ChartSettings);
  const std::int32_t n = withData ? SeriesCount() : NumberOfActiveSeries();
  QORV_ASSERT(n<=SeriesCount());
  writer.WriteInteger(n);
  for (std::int32_t s = 0; s < n; ++s) {
    const TGraphSeries& series = Series[static_cast<std::size_t>(s)];
    writer.WriteString(series.Title);
    writer.WriteString(series.XName);
    writer.WriteString(series.YName);
    writer.WriteBool(series.LineVisible);
    writer.WriteInteger(series.LineStyle);
    writer.WriteInteger(series.LineWidth);
    writer.WriteInteger(series.Color);
    writer.WriteBool(series.PointerVisible);
    writer.WriteInteger(series.PointerStyle);
    writer.WriteInteger(series.PointerColor);
    writer.WriteInteger(series.PointerWidth);
    writer.WriteInteger(series.PointerHeight);
    if (!withData) continue;
    writer.WriteInteger(series.Count());
    for (std::int32_t i = 0; i < series.Count(); ++i) {
      writer.WriteFloat(static_cast<float>(series.X[static_cast<std::size_t>(i)]));
      writer.WriteFloat(static_cast<float>(series.Y[static_cast<std::size_t>(i)]));
    }
  }
  if (Pxaxisscroll) {
    writer.WriteBool(Pxaxisscroll->Series >= 0);
    if (Pxaxisscroll->Series >= 0) {
      writer.WriteInteger(Pxaxisscroll->Series);
      writer.WriteInteger(Pxaxisscroll->Points);
    }
  }
}

void TGraphForm::ReadRecord(TReadFile& reader, bool withData) {
  const std::string name = reader.ReadString();
  reader.ReadInteger(DecimalPlaces);
  std::int32_t kind;
  reader.ReadInteger(kind);
  NumberFormat = CheckedNotation(kind);
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
  const std::int32_t n = reader.ReadCount(MinSeriesBytes + (withData ? 4 : 0));
  while (SeriesCount() < n) Series.emplace_back();
  for (std::int32_t s = 0; s < n; ++s) {
    TGraphSeries& series = Series[static_cast<std::size_t>(s)];
    series.Title = reader.ReadString();
    series.XName = reader.ReadString();
    series.YName = reader.ReadString();
    reader.ReadBool(series.LineVisible);
    reader.ReadInteger(series.LineStyle);
    reader.ReadInteger(series.LineWidth);
    reader.ReadInteger(series.Color);
    reader.ReadBool(series.PointerVisible);
    reader.ReadInteger(series.PointerStyle);
    reader.ReadInteger(series.PointerColor);
    reader.ReadInteger(series.PointerWidth);
    reader.ReadInteger(series.PointerHeight);
    if (!withData) {
      series.Notify = true;
      continue;
    }
    const std::int32_t points = reader.ReadCount(8);
    for (std::int32_t i = 0; i < points; ++i) {
      float x, y;
      reader.ReadFloat(x);
      reader.ReadFloat(y);
      series.X.push_back(x);
      series.Y.push_back(y);
    }
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
      if (series >= 0 && series < SeriesCount()) {
        scroll.Series = series;
        scroll.Points = points;
      }
    }
  }
  SetName(name);
  RefreshDisplay();
}

void TGraphForm::Write(TWriteFile& writer) { WriteRecord(writer, false); }

void TGraphForm::Read(TReadFile& reader) { ReadRecord(reader, false); }

void TGraphForm::WriteOutputFile(TWriteFile& writer) { WriteRecord(writer, true); }

void TGraphForm::ReadOutputFile(TReadFile& reader) {
  ReadRecord(reader, true);
  FileName = reader.GetFileName();
}

TGraphSeries& TGraphForm::Channel(TPlotScript* plot) {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(plot!=0);
  const std::int32_t c = plot->GetPlotIndex()->GetIndex();
  QORV_ASSERT(c>=0&&c<SeriesCount());
  return Series[static_cast<std::size_t>(c)];
}

void TGraphForm::AddPoint(std::int32_t s, double x, double y) {
  TGraphSeries& series = Series[static_cast<std::size_t>(s)];
  series.X.push_back(x);
  series.Y.push_back(y);
  // Active scrolling keeps the newest point in the middle of the bottom axis.
  TXAxisScroll* scroll = Pxaxisscroll.get();
  if (!series.Notify || !scroll || !scroll->Active || scroll->Series != s || !ExperimentRunning)
    return;
  const std::int32_t i = series.Count() - 1;
  if (i - scroll->Start <= scroll->Points) return;
  Bottom.Automatic = false;
  scroll->Start = i - scroll->Points / 2;
  const double minimum = series.X[static_cast<std::size_t>(scroll->Start)];
  Bottom.Minimum = minimum;
  Bottom.Maximum = minimum + 2 * (series.X[static_cast<std::size_t>(i)] - minimum);
}

void TGraphForm::PlotPoint(TPlotScript* plot, std::vector<std::string>* trace) {
  Cleared = false;
  TGraphSeries& series = Channel(plot);
  double x, y;
  plot->GetXY(x, y);
  AddPoint(static_cast<std::int32_t>(&series - Series.data()), x, y);
  if (trace) trace->push_back(plot->GetValueText(NumberFormat, DecimalPlaces));
  Changed();
}

void TGraphForm::PlotValue(TPlotScript* plot) { PlotPoint(plot, nullptr); }

void TGraphForm::PlotValueTrace(TPlotScript* plot, std::vector<std::string>& trace) {
  PlotPoint(plot, &trace);
}

void TGraphForm::AddArray(TPlotScript* plot, TVariableData* array,
                          std::vector<std::string>* trace) {
  Cleared = false;
  const auto s = static_cast<std::int32_t>(&Channel(plot) - Series.data());
  QORV_ASSERT(array!=0);
  auto* data = dynamic_cast<TDataArray*>(array->GetData());
  QORV_ASSERT(data!=0);
  if (!data->HasValueArray()) return;
  auto* values = dynamic_cast<TValueNumberArray*>(&data->GetValueArray());
  QORV_ASSERT(values!=0);
  for (std::int32_t i = 0; i < values->GetSize(); ++i) {
    AddPoint(s, i, values->GetElementFloat(i));
    if (trace) trace->push_back(NumberText::IntToText(i) + ", " + values->GetElementText(i));
  }
  Changed();
}

void TGraphForm::PlotArray(TPlotScript* plot, TVariableData* array) {
  AddArray(plot, array, nullptr);
}

void TGraphForm::PlotArrayTrace(TPlotScript* plot, TVariableData* array,
                                std::vector<std::string>& trace) {
  AddArray(plot, array, &trace);
}

void TGraphForm::RefreshDisplay() {
  AxisValuesFormat.clear();
  if (NumberFormat == ntFIXED || NumberFormat == ntSCIENTIFIC)
    AxisValuesFormat =
        "0." + std::string(static_cast<std::size_t>(std::max(DecimalPlaces, 0)), '0');
  if (NumberFormat == ntSCIENTIFIC) AxisValuesFormat += "E-0";
  Changed();
}

TGraphSeries TGraphForm::NumberedSeries(std::int32_t k) const {
  TGraphSeries series;
  series.Title = "Series " + Num(k);
  series.XName = "X Series " + Num(k);
  series.YName = "Y Series" + Num(k);
  series.Notify = true;
  return series;
}

void TGraphForm::InitChannels() {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(SeriesCount()==1);
  QORV_ASSERT(Poutput->NumberOfChannels>=1);
  Series[0].Notify = true;
  while (SeriesCount() < Poutput->NumberOfChannels)
    Series.push_back(NumberedSeries(SeriesCount() + 1));
  Changed();
}

void TGraphForm::SetNumberOfChannels(std::int32_t n) {
  QORV_ASSERT(Poutput!=0);
  const std::int32_t c = Poutput->NumberOfChannels;
  if (n == c) return;
  for (std::int32_t k = n; k < c; ++k) DeleteSeries(n);
  for (std::int32_t i = c; i < n; ++i) {
    Series.insert(Series.begin() + i, NumberedSeries(i));
    if (Pxaxisscroll && Pxaxisscroll->Series >= i) ++Pxaxisscroll->Series;
  }
  Changed();
}

void TGraphForm::MatchChannels(std::int32_t n) {
  while (SeriesCount() > n) DeleteSeries(SeriesCount() - 1);
  while (SeriesCount() < n) Series.push_back(NumberedSeries(SeriesCount()));
  Changed();
}

bool TGraphForm::ExportMatLab(TMatExportMatrix& matrix) {
  const auto n = static_cast<std::int32_t>(matrix.Ranges.size());
  QORV_ASSERT(n>=1);
  const std::int32_t rows = matrix.Ranges[0].Last - matrix.Ranges[0].First + 1;
  QORV_ASSERT(rows>=1);
  matrix.Rows = rows;
  matrix.Columns = 2 * n;
  matrix.Values.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(2 * n), 0.0);
  for (std::int32_t j = 0; j < n; ++j) {
    const TMatExportMatrix::TRange& range = matrix.Ranges[static_cast<std::size_t>(j)];
    const TGraphSeries& series = GetSeries(range.DataSet);
    for (std::int32_t r = 0; r < rows && range.First + r <= range.Last; ++r) {
      const std::int32_t i = range.First + r;
      if (i < 0 || i >= series.Count()) continue;
      const auto at = static_cast<std::size_t>(i);
      matrix.Values[static_cast<std::size_t>(2 * j * rows + r)] = series.X[at];
      matrix.Values[static_cast<std::size_t>((2 * j + 1) * rows + r)] = series.Y[at];
    }
  }
  return true;
}
