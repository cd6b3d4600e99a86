// The table output window (kind 4): the output's channels as data sets of X/Y column
// pairs, with pasted and imported data sets after them. The grid that shows a window of
// the rows belongs to the user interface; the data sets live here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outputs/output_form.h"

// One data set: its points (4-byte floats) and how its columns are shown.
struct TTableDataSet {
  bool IsOutputDataSet = false;  // the set of a channel of the output
  std::string Name;
  std::string XHeader;
  std::string YHeader;
  bool ShowX = true;
  bool ShowY = true;
  bool PrintX = true;
  bool PrintY = true;
  std::vector<float> X;
  std::vector<float> Y;

  std::int32_t DataCount() const { return static_cast<std::int32_t>(X.size()); }
  void AddPoint(float x, float y) {
    X.push_back(x);
    Y.push_back(y);
  }
  void Clear() {
    X.clear();
    Y.clear();
  }
};

class TTableForm : public TOutputForm {
public:
  explicit TTableForm(TOutput* output);
  explicit TTableForm(TDeadOutputList* list);
  // Number format and every data set of the source, with their points.
  explicit TTableForm(const TTableForm* source);

  std::uint8_t GetOutputType() const override { return 4; }
  // Live only: the channels' data sets lose their points.
  void ClearDisplay() override;
  void GetTransferData(TTransferData* data) override;
  void SetTransferData(TTransferData* data) override;
  bool CanPaste() const override { return true; }
  bool CanCopy() const override { return !IsLive() || NumberOfActiveSeries() > 0; }
  void ImportData(TTransferData* data) override;
  std::int32_t GetMaxSeries() const override { return 25; }
  bool CanAddSeries() const override { return GetMaxSeries() > DataSetCount(); }
  // The record without points; Read keeps the channel marks read.
  void Write(TWriteFile& writer) override;
  void Read(TReadFile& reader) override;
  // The record with points, every set read as a plain data set.
  void ReadOutputFile(TReadFile& reader) override;
  void WriteOutputFile(TWriteFile& writer) override;
  void PlotValue(TPlotScript* plot) override;
  void PlotArray(TPlotScript* plot, TVariableData* array) override;
  void PlotValueTrace(TPlotScript* plot, std::vector<std::string>& trace) override;
  void PlotArrayTrace(TPlotScript* plot, TVariableData* array,
                      std::vector<std::string>& trace) override;
  void RefreshDisplay() override { Changed(); }
  void SetNumberOfChannels(std::int32_t n) override;
  void InitChannels() override;
  // Auto-scroll goes off.
  void EndRun() override;
  void ShowOutput() override { RequestShow(); }
  // Rows x 2 columns per chosen range; "Too many points to save in one matlab matrix"
  // and false beyond 500000 values.
  bool ExportMatLab(TMatExportMatrix& matrix) override;
  void ClearOutput() override { ClearDisplay(); }
  void MatchChannels(std::int32_t n) override;

  std::int32_t DataSetCount() const { return static_cast<std::int32_t>(DataSets.size()); }
  const TTableDataSet& GetDataSet(std::int32_t i) const;
  // A new set; a channel's set goes before the first plain set.
  TTableDataSet& NewDataSet(const std::string& name, bool isOutput);
  void DeleteDataSet(std::int32_t i);
  // The largest point count of all sets.
  std::int32_t MaxDataCount() const;
  // A cell's text in the window's number format; empty beyond the set's points.
  std::string GetXText(std::int32_t set, std::int32_t i) const;
  std::string GetYText(std::int32_t set, std::int32_t i) const;
  // The "Auto Scroll" check and the table's own auto-scroll state.
  bool IsAutoScrollChecked() const { return AutoScrollChecked; }
  void SetAutoScrollChecked(bool checked);
  bool GetAutoScroll() const { return AutoScroll; }

protected:
  // The channel marks go, unless a run is active.
  void AfterOffLine() override;

private:
  void PlotPoint(TPlotScript* plot, std::vector<std::string>* trace);
  void AddArray(TPlotScript* plot, TVariableData* array, std::vector<std::string>* trace);
  TTableDataSet& Channel(TPlotScript* plot);
  void WriteRecord(TWriteFile& writer, bool withData);
  void ReadRecord(TReadFile& reader, bool withData);
  std::int32_t OutputSetCount() const;
  void AddChannelSet(std::int32_t k);

  std::vector<TTableDataSet> DataSets;
  bool AutoScrollChecked = true;
  bool AutoScroll = false;
};
