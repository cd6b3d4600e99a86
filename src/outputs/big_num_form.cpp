#include "outputs/big_num_form.h"

#include <chrono>
#include <ctime>

#include "model/assertion.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/plot_source.h"

namespace {

std::function<TLogTime()>& Clock() {
  static std::function<TLogTime()> clock;
  return clock;
}

TLogTime Now() {
  if (Clock()) return Clock()();
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
          local.tm_min,         local.tm_sec,     static_cast<int>(ms)};
}

std::string Num(int value) { return NumberText::IntToText(value); }

}  // namespace

TBigNumForm::TBigNumForm(TOutput* output) : TOutputForm(output) { DataLabel.Font.Size = 36; }

TBigNumForm::TBigNumForm(TDeadOutputList* list) : TOutputForm(list) { DataLabel.Font.Size = 36; }

TBigNumForm::~TBigNumForm() { CloseLog(); }

void TBigNumForm::SetClock(std::function<TLogTime()> clock) { Clock() = std::move(clock); }

void TBigNumForm::ClearDisplay() {
  DataLabel.Text.clear();
  SavedPosition = 0;
  Changed();
}

void TBigNumForm::ClearOutput() {
  DataLabel.Text.clear();
  Changed();
}

void TBigNumForm::WriteRecord(TWriteFile& writer, bool withData) {
  writer.WriteString(Name);
  // Experiment and block files keep the label without its caption; the label shown stays
  // as it is, also when the write fails.
  TTextComponent label = DataLabel;
  if (!withData) label.Text.clear();
  writer.WriteComponent(&label);
  if (!withData) {
    writer.WriteBool(Logging);
    if (Logging) {
      writer.WriteString(PLogFileName);
      writer.WriteBool(TimeStamp);
      writer.WriteBool(DateStamp);
      writer.WriteBool(CloseBetweenWrites);
    }
  }
  WriteFormat(writer);
}

void TBigNumForm::ReadRecord(TReadFile& reader, bool withData) {
  QORV_ASSERT(!withData||Poutput==0);
  const std::string name = reader.ReadString();
  reader.ReadComponent(&DataLabel);
  if (!withData) {
    reader.ReadBool(Logging);
    if (Logging) {
      PLogFileName = reader.ReadString();
      reader.ReadBool(TimeStamp);
      reader.ReadBool(DateStamp);
      reader.ReadBool(CloseBetweenWrites);
    }
  }
  ReadFormat(reader);
  SetName(name);
}

void TBigNumForm::PlotPoint(TPlotSource* plot, std::vector<std::string>* trace) {
  QORV_ASSERT(plot!=0);
  Cleared = false;
  DataLabel.Text = plot->GetValueText(NumberFormat, DecimalPlaces);
  if (trace) trace->push_back(DataLabel.Text);
  Changed();
  if (Logging && IsLive()) LogValue();
}

void TBigNumForm::LogValue() {
  std::string line;
  const TLogTime time = (DateStamp || TimeStamp) ? Now() : TLogTime{};
  if (DateStamp) line += Num(time.Month) + "/" + Num(time.Day) + "/" + Num(time.Year) + ",";
  if (TimeStamp)
    line += Num(time.Hour) + ":" + Num(time.Minute) + ":" + Num(time.Second) + ":" +
            Num(time.Millisecond) + ",";
  line += DataLabel.Text + "\r\n";
  bool ok = true;
  if (!LogStream) {
    ok = !PLogFileName.empty();
    if (ok && (!CloseBetweenWrites || SavedPosition == 0)) {
      LogStream = std::fopen(PLogFileName.c_str(), "wb");
    } else if (ok) {
      LogStream = std::fopen(PLogFileName.c_str(), "r+b");
      if (LogStream && std::fseek(LogStream, SavedPosition, SEEK_SET) != 0) ok = false;
    }
    ok = ok && LogStream;
  }
  ok = ok && std::fwrite(line.data(), 1, line.size(), LogStream) == line.size() &&
       std::fflush(LogStream) == 0;
  if (ok && CloseBetweenWrites) {
    SavedPosition = static_cast<std::int32_t>(std::ftell(LogStream));
    CloseLog();
  }
  if (!ok) {
    UiPort().ShowMessage("Error Writing to log file, abort writing.", "", TMessageKind::Error);
    CloseLog();
    Logging = false;
    Changed();
  }
}

void TBigNumForm::CloseLog() {
  if (LogStream) std::fclose(LogStream);
  LogStream = nullptr;
}

void TBigNumForm::EndRun() {
  CloseLog();
  SavedPosition = 0;
}

void TBigNumForm::SetLogging(bool on) {
  Logging = on;
  if (!on) CloseLog();
  Changed();
}

void TBigNumForm::SetLogParameters(const std::string& fileName, bool timeStamp, bool dateStamp,
                                   bool closeBetweenWrites) {
  if (fileName != PLogFileName) CloseLog();
  PLogFileName = fileName;
  TimeStamp = timeStamp;
  DateStamp = dateStamp;
  CloseBetweenWrites = closeBetweenWrites;
  Changed();
}

std::string TBigNumForm::GetStatusText() const {
  if (!IsLive()) return "";
  return Logging ? "Logging to file " + PLogFileName : "Logging disabled";
}
