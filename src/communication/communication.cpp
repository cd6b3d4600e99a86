#include "communication/communication.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/write_file.h"

const char* const InvalidDeviceRecordText = "Invalid device record";

std::string TCommunication::BuildReadCommand() { return {}; }

std::int64_t TCommunication::GetTimeOut() const {
  return static_cast<std::int64_t>(ATimeOut) * 1000;
}

std::int64_t TCommunication::TimeOutToDisplay(std::int64_t microseconds, bool& seconds) {
  seconds = false;
  if (microseconds == 0) return 0;
  std::int64_t ms = microseconds / 1000;
  if (ms == 0) ms = 1;
  if (ms >= 1000) {
    seconds = true;
    return ms / 1000;
  }
  return ms;
}

std::int64_t TCommunication::TimeOutFromDisplay(std::int64_t value, bool seconds) {
  if (value == 0) return 0;
  return seconds ? value * 1000000 : value * 1000;
}

std::string TCommunication::MillisecondTimeOutText(std::int32_t milliseconds) {
  if (milliseconds == 0) return "None";
  if (milliseconds >= 1000) return std::to_string(milliseconds / 1000) + " seconds";
  return std::to_string(milliseconds) + " milliseconds";
}

std::int32_t TCommunication::MicrosecondsToMilliseconds(std::int64_t microseconds) {
  if (microseconds <= 0) return 0;
  const std::int64_t ms = std::max<std::int64_t>(microseconds / 1000, 1);
  constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::min(ms, most));
}

std::unique_ptr<char[]> TCommunication::CommandBuffer(const std::string& bytes, bool countNul,
                                                      int& length) {
  auto buffer = std::make_unique<char[]>(bytes.size() + 1);
  std::memcpy(buffer.get(), bytes.data(), bytes.size());
  buffer[bytes.size()] = '\0';
  length = static_cast<int>(bytes.size()) + (countNul ? 1 : 0);
  return buffer;
}

std::string TCommunication::WithTerminators(std::string text, int terminator1,
                                            int terminator2) {
  if (terminator1 > 0) {
    text += static_cast<char>(terminator1);
    if (terminator2 > 0) text += static_cast<char>(terminator2);
  }
  return text;
}

void TGPIB::SaveSettings(TWriteFile& writer) const {
  writer.WriteInteger(ABoardAddress);
  writer.WriteInteger(ADeviceAddress);
  writer.WriteInteger(ATimeOut);
  writer.WriteBool(EOI);
}

void TGPIB::LoadSettings(TReadFile& reader, std::int32_t maxTimeOut) {
  QORV_ASSERT(ABoardAddress == -1 && ADeviceAddress == -1);
  // The highest GPIB primary address.
  constexpr std::int32_t maxAddress = 30;
  std::int32_t board = 0;
  std::int32_t address = 0;
  std::int32_t timeOut = 0;
  bool eoi = false;
  reader.ReadInteger(board);
  reader.ReadInteger(address);
  reader.ReadInteger(timeOut);
  reader.ReadBool(eoi);
  if (board < 0 || address < 0 || address > maxAddress || timeOut < 0 || timeOut > maxTimeOut)
    throw EReadError(InvalidDeviceRecordText);
  ABoardAddress = board;
  ADeviceAddress = address;
  ATimeOut = timeOut;
  EOI = eoi;
}

void TGPIB::DescribeSettings(TReport& report, const std::string& type,
                             const std::string& timeOut) const {
  report.AddLine("\t\tType:\t" + type);
  report.AddLine("\t\tBoard Address:\t" + std::to_string(ABoardAddress));
  report.AddLine("\t\tDevice Address:\t" + std::to_string(ADeviceAddress));
  report.AddLine("\t\tTime Out:\t" + timeOut);
}

std::string TGPIB::BusCommandText(int flags) {
  static const struct { int Flag; const char* Word; } words[] = {
      {busREN, "REN"}, {busGTL, "GTL"}, {busDCL, "DCL"}, {busIFC, "IFC"}, {busLLO, "LLO"}};
  std::string text;
  for (const auto& word : words) {
    if (!(flags & word.Flag)) continue;
    if (!text.empty()) text += ' ';
    text += word.Word;
  }
  return text;
}

std::string HexDigits(std::uint32_t value, int minDigits) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*X", std::clamp(minDigits, 1, 8), value);
  return digits;
}
