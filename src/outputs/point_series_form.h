// What the graph and table windows share: their channels are series of x/y points (the
// output's channels first, then series from paste and import), which Plot commands fill,
// transfer data copies, the matrix export reads and the records frame alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "outputs/output_form.h"
#include "outputs/plot_queue.h"

class TValueNumberArray;

// One series of x/y points with its names; T is the precision the window keeps.
template <class T>
struct TPointSeries {
  std::string Name;
  std::string XName;
  std::string YName;
  std::vector<T> X;
  std::vector<T> Y;

  // Counts the changes other than added points (Clear, Truncate), by which summaries of
  // the points know to start over. Change X and Y only through these operations.
  std::uint64_t Revision = 0;

  std::int32_t Count() const { return static_cast<std::int32_t>(X.size()); }
  void AddPoint(double x, double y) {
    Grow(X);
    Grow(Y);
    X.push_back(static_cast<T>(x));
    Y.push_back(static_cast<T>(y));
  }
  void Clear() {
    X.clear();
    Y.clear();
    ++Revision;
  }
  // Room for n more points (a count known ahead: a file's, a transfer's).
  void Reserve(std::int32_t n) {
    if (n <= 0) return;
    X.reserve(X.size() + static_cast<std::size_t>(n));
    Y.reserve(Y.size() + static_cast<std::size_t>(n));
  }
  // Keeps the first n points.
  void Truncate(std::int32_t n) {
    if (n < 0 || n >= Count()) return;
    X.resize(static_cast<std::size_t>(n));
    Y.resize(static_cast<std::size_t>(n));
    ++Revision;
  }

private:
  // Long runs hold millions of points: growing by half, not doubling, keeps the unused
  // capacity under half of the points.
  static void Grow(std::vector<T>& values) {
    if (values.size() < values.capacity()) return;
    values.reserve(values.size() + values.size() / 2 + 16);
  }
};

// TSet is a TPointSeries with the kind's settings, and Write(TWriteFile&) const and
// Read(TReadFile&) for them, RecordBytes being the fewest bytes they take.
template <class TSet>
class TPointSeriesForm : public TOutputForm, private TPlotQueueTarget {
public:
  using TOutputForm::TOutputForm;

  void GetTransferData(TTransferData* data) override;
  bool CanPaste() const override { return true; }
  bool CanCopy() const override { return !IsLive() || NumberOfActiveSeries() > 0; }
  std::int32_t GetMaxSeries() const override { return 25; }
  bool CanAddSeries() const override { return GetMaxSeries() > SeriesCount(); }
  // Rows x 2 columns per chosen range of series points, column by column.
  bool ExportMatLab(TMatExportMatrix& matrix) override;
  // The point, or each element of the array, read here and queued for the main thread.
  void PlotValueFromRun(TPlotSource* plot, bool (*stopped)()) override;
  void PlotArrayFromRun(TPlotSource* plot, TVariableData* array, bool (*stopped)()) override;

  std::int32_t SeriesCount() const { return static_cast<std::int32_t>(Sets.size()); }
  const TSet& GetSeries(std::int32_t i) const;
  TSet& GetSeries(std::int32_t i);

protected:
  // The point (x, y) or (counter, y) goes to the channel's series; with a trace, the
  // value text.
  void PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) override;
  // Each element as the point (index, value); with a trace, "index, value text". A text
  // array: EExperimentError "The array " + name + " holds text and cannot be plotted.",
  // nothing plotted.
  void PlotElements(TPlotSource* plot, TVariableData* array,
                    std::vector<std::string>* trace) override;
  // Adds a plotted point to a series.
  virtual void AddPlotPoint(std::int32_t series, double x, double y);
  // Whether the export of rows x ranges may go on: "Too many points to save in one
  // matlab matrix" beyond 500000 rows x ranges.
  virtual bool MatrixFits(std::int32_t rows, std::int32_t ranges) const;

  // The record opens with the name and the number format; ReadHead answers the name.
  void WriteHead(TWriteFile& writer) const;
  std::string ReadHead(TReadFile& reader);
  // The count, then each of the first count series: its settings, with data its points.
  void WriteSets(TWriteFile& writer, std::int32_t count, bool withData) const;
  // The count of series a record holds, checked against the bytes left.
  static std::int32_t ReadSetCount(TReadFile& reader, bool withData);
  // The point count and points of a series record with data, which replace the series'
  // points.
  static void ReadPoints(TReadFile& reader, TSet& set);
  // The series takes the transfer series' axis names and points.
  static void TakePoints(TSet& set, const TTransferSeries& series);

  std::vector<TSet> Sets;

private:
  // The series of the Plot command's channel.
  std::int32_t Channel(TPlotSource* plot) const;
  // The numbers of an entire array a Plot plots; none while it has no values. A text
  // array: EExperimentError "The array " + name + " holds text and cannot be plotted.".
  static TValueNumberArray* PlottedElements(TVariableData* array);
  // A queued point of a run: added as PlotPoint adds it; the redraw comes per batch.
  void AddQueuedPoint(std::int32_t series, double x, double y) override;
  void QueuedPointsAdded() override { Changed(); }
};
