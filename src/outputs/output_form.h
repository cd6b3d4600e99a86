// The output window contract: what every output window (graph, table, big number, text)
// holds and does, without a display. A window is live (owned by one TOutput and fed by
// Plot commands) or detached (opened from an output file or taken off-line). The Qt
// windows render these objects and hear of their changes through a TOutputView.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/component.h"

class TOutput;
class TDeadOutputList;
class TPlotSource;
class TValueArray;
class TVariableData;
class TReadFile;
class TWriteFile;

// One named run of x/y points moving between windows (copy, paste, import, kind change).
class TTransferSeries {
public:
  TTransferSeries(const std::string& name, std::int32_t count);

  // Ignored for an index outside 0..count-1.
  void SetPoint(std::int32_t i, float x, float y);
  // 0.0 for an index out of range.
  float GetX(std::int32_t i) const;
  float GetY(std::int32_t i) const;
  // Only the first call counts: the series keeps its first n points (none for 0).
  void Truncate(std::int32_t n);
  std::int32_t GetCount() const { return ACount; }
  bool IsTruncated() const { return Truncated; }
  // Both lists hold count strings: each pair, trimmed, becomes a point. A conversion
  // error shows its message followed by " Transfer Aborted" and gives false; failedY
  // then tells whether the Y string was the one refused.
  bool ReadStrings(const std::vector<std::string>& xs, const std::vector<std::string>& ys,
                   bool* failedY = nullptr);

  std::string Name;
  std::string XName;
  std::string YName;

private:
  std::int32_t ACount;
  bool Truncated = false;
  std::vector<float> X;
  std::vector<float> Y;
};

class TTransferData {
public:
  TTransferSeries* AddSeries(const std::string& name, std::int32_t count);
  void Add(std::unique_ptr<TTransferSeries> series) { Series.push_back(std::move(series)); }
  std::int32_t GetTSCount() const { return static_cast<std::int32_t>(Series.size()); }
  TTransferSeries* GetSeries(std::int32_t i) { return Series[static_cast<std::size_t>(i)].get(); }
  // Delimited text: the header of names, then one line per point index, CR LF ended;
  // empty when no series holds a point. Numbers in the notation with decimals.
  std::string ToText(int notation, int decimals, const std::string& delimiter) const;
  // Reads n data sets "Set 1".."Set n" from delimited lines of x/y pairs (the reader of
  // the outputs' clipboard text, transfer_text.h); false after a refused field.
  bool ParseText(std::int32_t n, const std::vector<std::string>& lines,
                 const std::string& delimiter);

private:
  std::vector<std::unique_ptr<TTransferSeries>> Series;
};

class TOutputForm;

// The font of a window's text: kept in the window's component records.
struct TFontSettings {
  std::string Name = "Arial";
  std::int32_t Size = 10;          // points
  std::int32_t Color = 0x000000;   // 0x00BBGGRR
  std::int32_t Style = 0;          // bit 0 bold, 1 italic, 2 underline, 3 strike-out
};

// A text control's component record ("TLabel", "TRichEdit"): its text, background
// colour and font, as properties "Text", "Color", "Font.Name", "Font.Size",
// "Font.Color", "Font.Style" in that order. Properties missing from a record keep
// their values.
class TTextComponent : public TComponent {
public:
  explicit TTextComponent(std::string className) : ClassName(std::move(className)) {}
  std::string GetClassName() const override { return ClassName; }
  void GetProperties(TComponentRecord& record) const override;
  void SetProperties(const TComponentRecord& record) override;

  std::string Text;
  std::int32_t Color = 0xFFFFFF;
  TFontSettings Font;

private:
  std::string ClassName;
};

// The display side of a window, implemented by the user interface. Every call comes on
// the main thread.
class TOutputView {
public:
  virtual ~TOutputView() = default;
  // Data, settings or caption changed: redraw.
  virtual void Changed(TOutputForm& form) = 0;
  virtual void ShowRequested(TOutputForm& form) = 0;
  virtual void HideRequested(TOutputForm& form) = 0;
  virtual bool IsVisible(const TOutputForm& form) const = 0;
  // A visible window comes to the front, without taking the focus.
  virtual void BringToFrontRequested(TOutputForm& form) { (void)form; }
  // The window shows, when hidden, and comes to the front, without taking the focus.
  virtual void ShowInFrontRequested(TOutputForm& form) { (void)form; }
  // The form is being destroyed; the view lets go of it.
  virtual void FormDestroyed(TOutputForm& form) = 0;
};

// What a kind's matrix export fills: the chosen row ranges of its data sets (input), and
// the matrix of rows x 2 columns per range, column by column (output).
struct TMatExportMatrix {
  struct TRange {
    std::int32_t DataSet = 0;
    std::int32_t First = 0;
    std::int32_t Last = -1;
  };
  std::vector<TRange> Ranges;
  std::int32_t Rows = 0;
  std::int32_t Columns = 0;
  std::vector<double> Values;
};

class TOutputForm {
public:
  // Live window of an output.
  explicit TOutputForm(TOutput* output);
  // Detached window of the detached-output list (none in a headless reader).
  explicit TOutputForm(TDeadOutputList* list);
  // Copy of a window's owners, file name and off-line state; the name stays "".
  explicit TOutputForm(const TOutputForm* source);
  virtual ~TOutputForm();
  TOutputForm(const TOutputForm&) = delete;
  TOutputForm& operator=(const TOutputForm&) = delete;

  // The 24 operations of the contract, in order.
  virtual std::uint8_t GetOutputType() const = 0;
  // Keeps the name; the caption becomes name + " Active" or name + " Inactive".
  virtual void SetName(const std::string& name);
  virtual void ClearDisplay() = 0;
  virtual void GetTransferData(TTransferData* data);
  virtual void SetTransferData(TTransferData* data);
  virtual bool CanPaste() const { return false; }
  virtual bool CanCopy() const { return false; }
  virtual void ImportData(TTransferData* data);
  virtual std::int32_t GetMaxSeries() const { return -1; }
  virtual bool CanAddSeries() const { return true; }
  // The window's record in experiment and block files (no data).
  virtual void Write(TWriteFile& writer) { WriteRecord(writer, false); }
  virtual void Read(TReadFile& reader) { ReadRecord(reader, false); }
  // The output-file body with data, into a detached window, which takes the file's name.
  virtual void ReadOutputFile(TReadFile& reader);
  // A Plot command's point or entire array, without and with its trace lines.
  virtual void PlotValue(TPlotSource* plot) { PlotPoint(plot, nullptr); }
  virtual void PlotArray(TPlotSource* plot, TVariableData* array) {
    PlotElements(plot, array, nullptr);
  }
  virtual void PlotValueTrace(TPlotSource* plot, std::vector<std::string>& trace) {
    PlotPoint(plot, &trace);
  }
  virtual void PlotArrayTrace(TPlotSource* plot, TVariableData* array,
                              std::vector<std::string>& trace) {
    PlotElements(plot, array, &trace);
  }
  virtual void RefreshDisplay() {}
  // The same from a run's worker: the point or the entire array reaches the window on the
  // main thread after everything handed over before. The base hands PlotValue or
  // PlotArray over and waits; graph and table read the point on the worker and queue
  // only its adding (plot_queue.h). stopped (none: never) tells a worker that waits for
  // the queue's room that its run was stopped. Failures are thrown here, before anything
  // of the Plot reaches the window.
  virtual void PlotValueFromRun(TPlotSource* plot, bool (*stopped)());
  virtual void PlotArrayFromRun(TPlotSource* plot, TVariableData* array, bool (*stopped)());
  // Live windows only.
  virtual void SetNumberOfChannels(std::int32_t n);
  virtual void InitChannels();
  virtual void EndRun() {}
  // Asks the view to show the window.
  virtual void ShowOutput() { RequestShow(); }
  virtual bool ExportMatLab(TMatExportMatrix& matrix);
  // Clear Output: empties what the window shows (the channels of graph and table).
  virtual void ClearOutput() = 0;

  // The output-file body (with data) after the framing.
  virtual void WriteOutputFile(TWriteFile& writer) { WriteRecord(writer, true); }
  // The message of a failed output-file write.
  virtual std::string WriteErrorText() const { return "Error writing to file"; }
  // After the record was read: the window holds exactly n channel sets (graph, table).
  virtual void MatchChannels(std::int32_t n) { (void)n; }

  // Before a run (each Plot command's run preparation): clears the display unless it
  // was cleared since the last plot; then marks it cleared.
  void ClearBeforeRun();
  // SetName, then the owner's rename (the output, or the detached list's entry).
  void Rename(const std::string& name);
  // The remembered output file when it exists, else AskOutputFileName().
  std::string GetOutputFileName();
  // The save chooser ("Output Files (*.opt)|*.opt", the name proposed, the preferred
  // output folder when it exists); the answer, "" when cancelled, is remembered.
  std::string AskOutputFileName();
  // The owning output's number of channels, 0 when detached.
  std::int32_t NumberOfActiveSeries() const;
  // Takes the live window off-line into the list: the output goes on with a copy (graph,
  // table) or without a window (text, big number), and the caller (the list) receives
  // this window. While a run is active only the message "You cannot take a form offline
  // while running" is shown and the answer is none.
  std::unique_ptr<TOutputForm> TakeOffLine(TDeadOutputList* list);
  // Takes the source's number format and, when both allow it, its data.
  static void CopyOutputData(TOutputForm* target, TOutputForm* source);

  bool IsLive() const { return Poutput != nullptr; }
  const std::string& GetName() const { return Name; }
  const std::string& GetCaption() const { return Caption; }
  TOutput* GetOutput() const { return Poutput; }
  TDeadOutputList* GetDeadOutputList() const { return Pdeadoutputlist; }
  const std::string& GetFileName() const { return FileName; }
  void SetFileName(const std::string& fileName) { FileName = fileName; }
  std::uint8_t GetNumberFormat() const { return NumberFormat; }
  std::int32_t GetDecimalPlaces() const { return DecimalPlaces; }
  // Takes a number format (the Number Format item) and refreshes the display; the
  // decimals are clamped as numbers are shown (ClampDecimals).
  void SetNumberFormat(std::uint8_t kind, std::int32_t decimals);
  bool IsCleared() const { return Cleared; }
  bool IsOffLineEnabled() const { return OffLineEnabled; }

  // The view that renders this window (not owned; none headless).
  void SetView(TOutputView* view) { View = view; }
  TOutputView* GetView() const { return View; }
  bool IsVisible() const { return View && View->IsVisible(*this); }
  // Counts the changes (data, settings, caption): a window that polls it redraws only
  // when it moved.
  std::uint64_t GetGeneration() const { return Generation; }
  void Hide();
  // A visible window comes to the front; a hidden one stays hidden.
  void BringToFront();
  // The window shows and comes to the front; the focus stays where it is.
  void ShowInFront();
  // Called for every window made, so that the user interface can attach its view.
  static void SetCreatedHook(std::function<void(TOutputForm&)> hook);
  static void NotifyCreated(TOutputForm& form);

protected:
  // Counts the change and tells the view.
  void Changed();
  void RequestShow();
  // Kind's part of the off-line step, after the window became detached.
  virtual void AfterOffLine() {}
  // The kind's record: without data in experiment and block files, with it in output
  // files.
  virtual void WriteRecord(TWriteFile& writer, bool withData) = 0;
  virtual void ReadRecord(TReadFile& reader, bool withData) = 0;
  // Shows a Plot command's point; its line goes to the trace when one is given.
  virtual void PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) = 0;
  // Shows each element of a Plot command's entire array (nothing by default).
  virtual void PlotElements(TPlotSource* plot, TVariableData* array,
                            std::vector<std::string>* trace);
  // The values of the entire array a Plot command plots; none while the array has none.
  static TValueArray* ArrayValues(TVariableData* array);
  // Writes and reads the number-format pair (decimals, then kind). ReadFormat finds it
  // only in files of version 1.4 on (older ones: 0 decimals); ReadFormatPair always.
  // The decimals read are clamped as numbers are shown (ClampDecimals).
  void WriteFormat(TWriteFile& writer) const;
  void ReadFormat(TReadFile& reader);
  void ReadFormatPair(TReadFile& reader);
  // The low byte of a stored number-format kind; EReadError for one that is no notation.
  static std::uint8_t CheckedNotation(std::int32_t kind);

  std::string Name;
  std::string Caption;
  TOutput* Poutput = nullptr;
  TDeadOutputList* Pdeadoutputlist = nullptr;
  std::string FileName;
  std::uint8_t NumberFormat = 0;
  std::int32_t DecimalPlaces = 0;
  bool Cleared = false;
  bool OffLineEnabled = false;

private:
  TOutputView* View = nullptr;
  std::uint64_t Generation = 0;
};

// The folder in which output files are first offered (the preferences' output folder).
void SetPreferredOutputDirectory(const std::string& directory);
const std::string& PreferredOutputDirectory();

// The read error of a damaged output record.
extern const char* const OutputReadError;

// The detached-output list's rename of a window's entry; the user interface sets it.
void SetDeadOutputRenameHook(std::function<void(TDeadOutputList*, TOutputForm*)> hook);
