#include "outputs/point_series_form.h"

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "outputs/graph_form.h"
#include "outputs/plot_source.h"
#include "outputs/table_form.h"

template <class TSet>
const TSet& TPointSeriesForm<TSet>::GetSeries(std::int32_t i) const {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  return Sets[static_cast<std::size_t>(i)];
}

template <class TSet>
TSet& TPointSeriesForm<TSet>::GetSeries(std::int32_t i) {
  QORV_ASSERT(i>=0&&i<SeriesCount());
  return Sets[static_cast<std::size_t>(i)];
}

template <class TSet>
void TPointSeriesForm<TSet>::GetTransferData(TTransferData* data) {
  QORV_ASSERT(data!=0&&data->GetTSCount()==0);
  for (const TSet& set : Sets) {
    TTransferSeries* out = data->AddSeries(set.Name, set.Count());
    out->XName = set.XName;
    out->YName = set.YName;
    for (std::int32_t i = 0; i < set.Count(); ++i)
      out->SetPoint(i, static_cast<float>(set.X[static_cast<std::size_t>(i)]),
                    static_cast<float>(set.Y[static_cast<std::size_t>(i)]));
  }
}

template <class TSet>
void TPointSeriesForm<TSet>::TakePoints(TSet& set, const TTransferSeries& series) {
  set.XName = series.XName;
  set.YName = series.YName;
  set.Reserve(series.GetCount());
  for (std::int32_t i = 0; i < series.GetCount(); ++i) set.AddPoint(series.GetX(i), series.GetY(i));
}

template <class TSet>
bool TPointSeriesForm<TSet>::MatrixFits(std::int32_t rows, std::int32_t ranges) const {
  if (static_cast<std::int64_t>(rows) * ranges <= 500000) return true;
  UiPort().ShowMessage("Too many points to save in one matlab matrix", "",
                       TMessageKind::Information);
  return false;
}

template <class TSet>
bool TPointSeriesForm<TSet>::ExportMatLab(TMatExportMatrix& matrix) {
  const auto n = static_cast<std::int32_t>(matrix.Ranges.size());
  QORV_ASSERT(n>=1);
  const std::int32_t rows = matrix.Ranges[0].Last - matrix.Ranges[0].First + 1;
  QORV_ASSERT(rows>=1);
  if (!MatrixFits(rows, n)) return false;
  matrix.Rows = rows;
  matrix.Columns = 2 * n;
  matrix.Values.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(2 * n), 0.0);
  for (std::int32_t j = 0; j < n; ++j) {
    const TMatExportMatrix::TRange& range = matrix.Ranges[static_cast<std::size_t>(j)];
    const TSet& set = GetSeries(range.DataSet);
    for (std::int32_t r = 0; r < rows && range.First + r <= range.Last; ++r) {
      const std::int32_t i = range.First + r;
      if (i < 0 || i >= set.Count()) continue;
      const auto at = static_cast<std::size_t>(i);
      matrix.Values[static_cast<std::size_t>(2 * j * rows + r)] = set.X[at];
      matrix.Values[static_cast<std::size_t>((2 * j + 1) * rows + r)] = set.Y[at];
    }
  }
  return true;
}

template <class TSet>
std::int32_t TPointSeriesForm<TSet>::Channel(TPlotSource* plot) const {
  QORV_ASSERT(Poutput!=0);
  QORV_ASSERT(plot!=0);
  const std::int32_t c = plot->GetChannel();
  QORV_ASSERT(c>=0&&c<SeriesCount());
  return c;
}

template <class TSet>
void TPointSeriesForm<TSet>::AddPlotPoint(std::int32_t series, double x, double y) {
  Sets[static_cast<std::size_t>(series)].AddPoint(x, y);
}

template <class TSet>
void TPointSeriesForm<TSet>::PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) {
  Cleared = false;
  const std::int32_t s = Channel(plot);
  double x, y;
  plot->GetXY(x, y);
  AddPlotPoint(s, x, y);
  if (trace) trace->push_back(plot->GetValueText(NumberFormat, DecimalPlaces));
  Changed();
}

template <class TSet>
TValueNumberArray* TPointSeriesForm<TSet>::PlottedElements(TVariableData* array) {
  // A text array may reach here after a kind change or from a file: a run error, as
  // nothing of it can be a point.
  TData* data = array->GetData();
  QORV_ASSERT(data!=0);
  if (data->GetDataType() == eatSTRING)
    throw EExperimentError("The array " + data->GetDataName() +
                           " holds text and cannot be plotted.");
  TValueArray* elements = ArrayValues(array);
  if (!elements) return nullptr;
  auto* values = dynamic_cast<TValueNumberArray*>(elements);
  QORV_ASSERT(values!=0);
  return values;
}

template <class TSet>
void TPointSeriesForm<TSet>::PlotElements(TPlotSource* plot, TVariableData* array,
                                          std::vector<std::string>* trace) {
  const std::int32_t s = Channel(plot);
  TValueNumberArray* values = PlottedElements(array);
  Cleared = false;
  if (!values) return;
  for (std::int32_t i = 0; i < values->GetSize(); ++i) {
    AddPlotPoint(s, i, values->GetElementFloat(i));
    if (trace) trace->push_back(NumberText::IntToText(i) + ", " + values->GetElementText(i));
  }
  Changed();
}

// The run's worker reads only the Plot command and its variables here: the series are
// the main thread's, which adds the points (AddQueuedPoint) and checks their channel.
template <class TSet>
void TPointSeriesForm<TSet>::PlotValueFromRun(TPlotSource* plot, bool (*stopped)()) {
  QORV_ASSERT(plot!=0);
  const std::int32_t s = plot->GetChannel();
  double x, y;
  plot->GetXY(x, y);
  PlotQueue().Add(this, s, &x, &y, 1, stopped);
}

template <class TSet>
void TPointSeriesForm<TSet>::PlotArrayFromRun(TPlotSource* plot, TVariableData* array,
                                              bool (*stopped)()) {
  QORV_ASSERT(plot!=0);
  const std::int32_t s = plot->GetChannel();
  QORV_ASSERT(s>=0);
  TValueNumberArray* values = PlottedElements(array);
  const std::int32_t n = values ? values->GetSize() : 0;
  std::vector<double> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (std::int32_t i = 0; i < n; ++i) {
    x[static_cast<std::size_t>(i)] = i;
    y[static_cast<std::size_t>(i)] = values->GetElementFloat(i);
  }
  PlotQueue().Add(this, s, x.data(), y.data(), x.size(), stopped);
}

template <class TSet>
void TPointSeriesForm<TSet>::AddQueuedPoint(std::int32_t series, double x, double y) {
  QORV_ASSERT(Poutput!=0);
  Cleared = false;
  if (series < 0) return;  // an entire array without values
  QORV_ASSERT(series<SeriesCount());
  AddPlotPoint(series, x, y);
}

template <class TSet>
void TPointSeriesForm<TSet>::WriteHead(TWriteFile& writer) const {
  writer.WriteString(Name);
  WriteFormat(writer);
}

template <class TSet>
std::string TPointSeriesForm<TSet>::ReadHead(TReadFile& reader) {
  std::string name = reader.ReadString();
  ReadFormatPair(reader);
  return name;
}

template <class TSet>
void TPointSeriesForm<TSet>::WriteSets(TWriteFile& writer, std::int32_t count,
                                       bool withData) const {
  QORV_ASSERT(count<=SeriesCount());
  writer.WriteInteger(count);
  for (std::int32_t s = 0; s < count; ++s) {
    const TSet& set = Sets[static_cast<std::size_t>(s)];
    set.Write(writer);
    if (!withData) continue;
    writer.WriteInteger(set.Count());
    for (std::int32_t i = 0; i < set.Count(); ++i) {
      writer.WriteFloat(static_cast<float>(set.X[static_cast<std::size_t>(i)]));
      writer.WriteFloat(static_cast<float>(set.Y[static_cast<std::size_t>(i)]));
    }
  }
}

template <class TSet>
std::int32_t TPointSeriesForm<TSet>::ReadSetCount(TReadFile& reader, bool withData) {
  return reader.ReadCount(TSet::RecordBytes + (withData ? 4 : 0));
}

template <class TSet>
void TPointSeriesForm<TSet>::ReadPoints(TReadFile& reader, TSet& set) {
  const std::int32_t points = reader.ReadCount(8);
  // The record holds the series' points: they replace any the series had.
  set.Clear();
  set.Reserve(points);
  for (std::int32_t i = 0; i < points; ++i) {
    float x, y;
    reader.ReadFloat(x);
    reader.ReadFloat(y);
    set.AddPoint(x, y);
  }
}

template class TPointSeriesForm<TGraphSeries>;
template class TPointSeriesForm<TTableDataSet>;
