// The table output window (kind 4): the output's channels as data sets of X/Y column
// pairs, with pasted and imported data sets after them. The grid that shows a window of
// the rows belongs to the user interface; the data sets live here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "outputs/point_series_form.h"

// One data set: its points (4-byte floats) and how its columns are shown; its axis
// names are the column headers.
struct TTableDataSet : TPointSeries<float> {
  bool IsOutputDataSet = false;  // the set of a channel of the output
  bool ShowX = true;
  bool ShowY = true;
  bool PrintX = true;
  bool PrintY = true;

  // The record's fields: the channel mark, the name, the headers, the two show flags.
  void Write(TWriteFile& writer) const;
  void Read(TReadFile& reader);
  static constexpr std::size_t RecordBytes = 1 + 3 * 4 + 2;
};

class TTableForm : public TPointSeriesForm<TTableDataSet> {
public:
  explicit TTableForm(TOutput* output);
  explicit TTableForm(TDeadOutputList* list);
  // Number format and every data set of the source, with their points.
  explicit TTableForm(const TTableForm* source);

  std::uint8_t GetOutputType() const override { return 4; }
  // Live only: the channels' data sets lose their points; a new run (which clears them
  // first) follows the newest row again when "Auto Scroll" is checked.
  void ClearDisplay() override;
  // Both stop at the most data sets a table holds and tell the user how many were left
  // out.
  void SetTransferData(TTransferData* data) override;
  void ImportData(TTransferData* data) override;
  void RefreshDisplay() override { Rewritten(); }
  void SetNumberOfChannels(std::int32_t n) override;
  void InitChannels() override;
  // Auto-scroll goes off.
  void EndRun() override;
  void ClearOutput() override { ClearDisplay(); }
  void MatchChannels(std::int32_t n) override;

  // A new set; a channel's set goes before the first plain set.
  TTableDataSet& NewDataSet(const std::string& name, bool isOutput);
  void DeleteDataSet(std::int32_t i);
  // Every set loses its points, channels and others (the window's Clear).
  void ClearAllData();
  // Shows or hides the X or the Y column of a set.
  void ShowColumn(std::int32_t set, bool x, bool show);
  // Moves the plain set at from to the place of the plain set at to; the sets between
  // shift by one. Channels' sets never move.
  void MoveDataSet(std::int32_t from, std::int32_t to);
  // The largest point count of all sets.
  std::int32_t MaxDataCount() const;
  // A cell's text in the window's number format; empty beyond the set's points.
  std::string GetXText(std::int32_t set, std::int32_t i) const;
  std::string GetYText(std::int32_t set, std::int32_t i) const;
  // The "Auto Scroll" check and the table's own auto-scroll state.
  bool IsAutoScrollChecked() const { return AutoScrollChecked; }
  void SetAutoScrollChecked(bool checked);
  bool GetAutoScroll() const { return AutoScroll; }
  // Counts the changes other than points added at the end of sets (sets added, removed,
  // moved, cleared or replaced, headers, the number format): a view that last drew at
  // the same count has only the new points to draw.
  std::uint64_t GetRewriteCount() const { return Rewrites; }

protected:
  // The channel marks go, unless a run is active.
  void AfterOffLine() override;
  // Name, number format, every data set (with data: with its points, every set read as
  // a plain data set; without: the channel marks read are kept).
  void WriteRecord(TWriteFile& writer, bool withData) override;
  void ReadRecord(TReadFile& reader, bool withData) override;
  // "Too many points to save in one matlab matrix" beyond 500000 values.
  bool MatrixFits(std::int32_t rows, std::int32_t ranges) const override;

private:
  std::int32_t OutputSetCount() const;
  // The channel set numbered k, named name + k ("Series 2"; a new window's "Series2").
  void AddChannelSet(std::int32_t k, const char* name = "Series ");
  // Inserts the set; a channel's set goes before the first plain set.
  TTableDataSet& InsertDataSet(TTableDataSet set);
  // A set of the transfer series' name and points.
  void AddTransferSet(const TTransferSeries& series, bool isOutput);
  // The first count series of the transfer data, and the user told of those beyond the
  // most sets the table holds; isOutput says which become channels' sets.
  template <class TIsOutput>
  void AddTransferSets(TTransferData& data, TIsOutput isOutput);
  // Counts a rewrite and tells the view.
  void Rewritten();

  bool AutoScrollChecked = true;
  bool AutoScroll = false;
  std::uint64_t Rewrites = 0;
};
