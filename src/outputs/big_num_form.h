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
  // Closes the log; the next logged value starts a new file.
  void EndRun() override;
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

protected:
  // Name, the label, the log settings (not in output files), decimal places, kind; the
  // label's caption only in output files.
  void WriteRecord(TWriteFile& writer, bool withData) override;
  void ReadRecord(TReadFile& reader, bool withData) override;
  void PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) override;

private:
  void LogValue();
  void CloseLog();

  TTextComponent DataLabel{"TLabel"};
  bool Logging = false;  // the check mark of "Log Data To File"
  std::string PLogFileName;
  std::FILE* LogStream = nullptr;
  bool TimeStamp = false;
  bool DateStamp = false;
  bool CloseBetweenWrites = false;
  std::int32_t SavedPosition = 0;
};
