// The graph output window (kind 5): the output's channels as line series of one chart,
// and data series from paste or import after them. The chart's drawing, zoom, mouse
// and exports belong to the user interface; the series, axes and settings live here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/output_form.h"

// The chart's colour value for the automatic colour of a series.
constexpr std::int32_t AutoColor = 0x20000000;

// One line series: its settings and points.
struct TGraphSeries {
  std::string Title;
  std::string XName;
  std::string YName;
  bool LineVisible = true;
  std::int32_t LineStyle = 0;  // solid
  std::int32_t LineWidth = 1;
  std::int32_t Color = AutoColor;
  bool PointerVisible = false;
  std::int32_t PointerStyle = 0;  // rectangle
  std::int32_t PointerColor = AutoColor;
  std::int32_t PointerWidth = 4;
  std::int32_t PointerHeight = 4;
  bool ColorEachPoint = false;
  bool Notify = false;  // tells the window of each point added (active scrolling)
  std::vector<double> X;
  std::vector<double> Y;

  std::int32_t Count() const { return static_cast<std::int32_t>(X.size()); }
  void Clear() {
    X.clear();
    Y.clear();
  }
};

struct TGraphAxis {
  bool Automatic = true;
  double Minimum = 0.0;
  double Maximum = 0.0;
};

// The chart's component record ("TChart"): "Title.Text" (the title lines, each ended by
// CR LF), "Legend.Visible", "BottomAxis.Title", "LeftAxis.Title", in that order.
class TChartSettings : public TComponent {
public:
  std::string GetClassName() const override { return "TChart"; }
  void GetProperties(TComponentRecord& record) const override;
  void SetProperties(const TComponentRecord& record) override;

  std::vector<std::string> Title{"TChart"};
  bool LegendVisible = false;
  std::string BottomAxisTitle;
  std::string LeftAxisTitle;
};

// Keeps the newest points of one series in view during a run (live windows only).
struct TXAxisScroll {
  std::int32_t Series = -1;  // the followed series' position; -1: off
  std::int32_t Points = -1;  // the width of the window in points
  std::int32_t Start = 0;    // the first point of the window
  bool Active = false;       // the scroll button is on
};

class TGraphForm : public TOutputForm {
public:
  explicit TGraphForm(TOutput* output);
  explicit TGraphForm(TDeadOutputList* list);
  // The chart's settings, axes, series with their points and the x-axis scrolling of a
  // live source; it belongs to the source's output.
  explicit TGraphForm(const TGraphForm* source);

  std::uint8_t GetOutputType() const override { return 5; }
  // The base's, then the chart title's first line.
  void SetName(const std::string& name) override;
  // Live only: the channels' series lose their points; the x-axis scrolling restarts.
  void ClearDisplay() override;
  void GetTransferData(TTransferData* data) override;
  void SetTransferData(TTransferData* data) override;
  bool CanPaste() const override { return true; }
  bool CanCopy() const override { return !IsLive() || NumberOfActiveSeries() > 0; }
  void ImportData(TTransferData* data) override;
  std::int32_t GetMaxSeries() const override { return 25; }
  bool CanAddSeries() const override { return GetMaxSeries() > SeriesCount(); }
  // The record with the channels' series, without points.
  void Write(TWriteFile& writer) override;
  void Read(TReadFile& reader) override;
  // The record with every series and its points.
  void ReadOutputFile(TReadFile& reader) override;
  void WriteOutputFile(TWriteFile& writer) override;
  void PlotValue(TPlotScript* plot) override;
  void PlotArray(TPlotScript* plot, TVariableData* array) override;
  void PlotValueTrace(TPlotScript* plot, std::vector<std::string>& trace) override;
  void PlotArrayTrace(TPlotScript* plot, TVariableData* array,
                      std::vector<std::string>& trace) override;
  // The axes' values format from the number format.
  void RefreshDisplay() override;
  void SetNumberOfChannels(std::int32_t n) override;
  void InitChannels() override;
  void ShowOutput() override { RequestShow(); }
  // Rows x 2 columns per chosen range of series points.
  bool ExportMatLab(TMatExportMatrix& matrix) override;
  // Live only: the channels' series lose their points (data series keep theirs).
  void ClearOutput() override;
  std::string WriteErrorText() const override { return "Error writing output"; }
  void MatchChannels(std::int32_t n) override;

  std::int32_t SeriesCount() const { return static_cast<std::int32_t>(Series.size()); }
  const TGraphSeries& GetSeries(std::int32_t i) const;
  TGraphSeries& GetSeries(std::int32_t i);
  // Deletes a series (the user's Delete of a data series).
  void DeleteSeries(std::int32_t i);
  TGraphAxis& BottomAxis() { return Bottom; }
  TGraphAxis& LeftAxis() { return Left; }
  TChartSettings& Chart() { return ChartSettings; }
  // The values format of the four axes ("", "0.00", "0.00E-0").
  const std::string& GetAxisValuesFormat() const { return AxisValuesFormat; }
  // The x-axis scrolling; none for a detached window.
  TXAxisScroll* GetXAxisScroll() { return Pxaxisscroll.get(); }

protected:
  void AfterOffLine() override { Pxaxisscroll.reset(); }

private:
  TGraphSeries& Channel(TPlotScript* plot);
  void AddPoint(std::int32_t series, double x, double y);
  void PlotPoint(TPlotScript* plot, std::vector<std::string>* trace);
  void AddArray(TPlotScript* plot, TVariableData* array, std::vector<std::string>* trace);
  TGraphSeries NumberedSeries(std::int32_t k) const;
  void WriteRecord(TWriteFile& writer, bool withData);
  void ReadRecord(TReadFile& reader, bool withData);
  void AppendTransfer(TTransferData* data, bool notify);

  TChartSettings ChartSettings;
  TGraphAxis Bottom;
  TGraphAxis Left;
  std::string AxisValuesFormat;
  std::vector<TGraphSeries> Series;
  std::unique_ptr<TXAxisScroll> Pxaxisscroll;
};
