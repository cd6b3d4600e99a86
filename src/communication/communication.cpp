#include "communication/communication.h"

#include <algorithm>
#include <cstdio>
#include <limits>

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
