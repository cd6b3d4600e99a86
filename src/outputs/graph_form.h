// The graph output window (kind 5): the output's channels as line series of one chart,
// and data series from paste or import after them. The chart's drawing, zoom, mouse
// and exports belong to the user interface; the series, axes and settings live here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/draw_index.h"
#include "outputs/point_series_form.h"

// The chart's colour value for the automatic colour of a series.
constexpr std::int32_t AutoColor = 0x20000000;
// The value format of every series' points: the general one. The number format sets only
// the axes' values format (RefreshDisplay), never the series'.
inline constexpr char SeriesValueFormat[] = "";

// One line series: its settings and points.
struct TGraphSeries : TPointSeries<double> {
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

  // The record's fields: the three names, the line, colour and marker settings.
  void Write(TWriteFile& writer) const;
  void Read(TReadFile& reader);
  static constexpr std::size_t RecordBytes = 3 * 4 + 1 + 3 * 4 + 1 + 4 * 4;

  // The points to draw for a view (see TDrawIndex); main thread only.
  void PointsToDraw(double xMin, double xMax, std::int32_t columns,
                    std::vector<TDrawPoint>& out) const {
    Index.PointsToDraw(X, Y, Revision, xMin, xMax, columns, out);
  }
  // The bytes of the points' summaries.
  std::size_t IndexBytes() const { return Index.AllocatedBytes(); }

private:
  mutable TDrawIndex Index;
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

  // Follows the series with a window of that many points and switches the button on; a
  // series below 0 or a width below 1 (the dialog accepts 0) switches scrolling off.
  void Follow(std::int32_t series, std::int32_t points);
  // A series is followed (the scroll button can be used).
  bool IsSet() const { return Series >= 0 && Points > 0; }
};

class TGraphForm : public TPointSeriesForm<TGraphSeries> {
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
  void SetTransferData(TTransferData* data) override;
  void ImportData(TTransferData* data) override;
  // The axes' values format from the number format.
  void RefreshDisplay() override;
  void SetNumberOfChannels(std::int32_t n) override;
  void InitChannels() override;
  // Live only: the channels' series lose their points (data series keep theirs).
  void ClearOutput() override;
  std::string WriteErrorText() const override { return "Error writing output"; }
  void MatchChannels(std::int32_t n) override;

  // Deletes a series (the user's Delete of a data series).
  void DeleteSeries(std::int32_t i);
  TGraphAxis& BottomAxis() { return Bottom; }
  TGraphAxis& LeftAxis() { return Left; }
  TChartSettings& Chart() { return ChartSettings; }
  // The values format of the four axes ("", "0.00", "0.00E-0").
  const std::string& GetAxisValuesFormat() const { return AxisValuesFormat; }
  // The x-axis scrolling; none for a detached window.
  TXAxisScroll* GetXAxisScroll() { return Pxaxisscroll.get(); }
  // The points of series s to draw for the x range [xMin, xMax] spread over `columns`
  // pixel columns, in arrival order (out is cleared first; nothing for a series that
  // does not exist). Decimated (see TDrawIndex) unless decimation is off: then every
  // point of the series. Main thread only.
  void PointsToDraw(std::int32_t series, double xMin, double xMax, std::int32_t columns,
                    std::vector<TDrawPoint>& out) const;
  // Decimation is on by default; off is for comparing (not saved).
  void SetDecimation(bool on);
  bool GetDecimation() const { return Decimation; }

protected:
  void AfterOffLine() override { Pxaxisscroll.reset(); }
  // Name, number format, axes, chart, the series (without data only the channels',
  // without points), then the x-axis scrolling of a live window.
  void WriteRecord(TWriteFile& writer, bool withData) override;
  void ReadRecord(TReadFile& reader, bool withData) override;
  // Active scrolling keeps the newest point of the followed series in view.
  void AddPlotPoint(std::int32_t series, double x, double y) override;

private:
  TGraphSeries NumberedSeries(std::int32_t k) const;
  void AppendTransfer(TTransferData* data, bool notify);

  TChartSettings ChartSettings;
  TGraphAxis Bottom;
  TGraphAxis Left;
  std::string AxisValuesFormat;
  std::unique_ptr<TXAxisScroll> Pxaxisscroll;
  bool Decimation = true;
};
