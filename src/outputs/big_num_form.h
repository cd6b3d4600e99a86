// The big-number output window (kind 6): the latest plotted value as one line of large
// text, optionally logged to a text file with date and time stamps.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "outputs/output_form.h"

// A moment of the local clock, for the log's stamps.
struct TLogTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

class TBigNumForm : public TOutputForm {
public:
  explicit TBigNumForm(TOutput* output);
  explicit TBigNumForm(TDeadOutputList* list);
  // Closes the log.
  ~TBigNumForm() override;

  std::uint8_t GetOutputType() const override { return 6; }
  // The label becomes empty and the next logged value starts a new file.
  void ClearDisplay() override;
  // Name, the label without its caption, the log settings, decimal places, kind.
  void Write(TWriteFile& writer) override;
  void Read(TReadFile& reader) override;
  // Name, the label with its caption, decimal places, kind.
  void ReadOutputFile(TReadFile& reader) override;
  void WriteOutputFile(TWriteFile& writer) override;
  void PlotValue(TPlotScript* plot) override;
  void PlotValueTrace(TPlotScript* plot, std::vector<std::string>& trace) override;
  // Closes the log; the next logged value starts a new file.
  void EndRun() override;
  void ShowOutput() override { RequestShow(); }
  void ClearOutput() override;

  // The shown value.
  const std::string& GetValue() const { return DataLabel.Text; }
  TTextComponent& GetLabel() { return DataLabel; }

  // The log settings (the "Log Data To File" check and the log dialog's fields).
  bool IsLogging() const { return Logging; }
  void SetLogging(bool on);
  void SetLogParameters(const std::string& fileName, bool timeStamp, bool dateStamp,
                        bool closeBetweenWrites);
  const std::string& GetLogFileName() const { return PLogFileName; }
  bool GetTimeStamp() const { return TimeStamp; }
  bool GetDateStamp() const { return DateStamp; }
  bool GetCloseBetweenWrites() const { return CloseBetweenWrites; }
  // The status panel: empty for a detached window, "Logging to file " + path while
  // logging, else "Logging disabled".
  std::string GetStatusText() const;
  // The clock of the stamps (the local clock unless a test sets one; none resets).
  static void SetClock(std::function<TLogTime()> clock);

private:
  void Show(TPlotScript* plot, std::vector<std::string>* trace);
  void LogValue();
  void CloseLog();
  void ReadFormatAndName(TReadFile& reader, const std::string& name);

  TTextComponent DataLabel{"TLabel"};
  bool Logging = false;  // the check mark of "Log Data To File"
  std::string PLogFileName;
  std::FILE* LogStream = nullptr;
  bool TimeStamp = false;
  bool DateStamp = false;
  bool CloseBetweenWrites = false;
  std::int32_t SavedPosition = 0;
};
