#include "communication/gpib_settings.h"

#include <cstdint>

#include "model/number_text.h"

namespace {

const char* const InvalidValue = "Invalid Value";
const char* const TooManyCEC = "Cannot use any more than 4 CEC boards at one time";
const char* const DevicesWillGo = "Any changes made will result in ALL GPIB devices being deleted.";

// A count as typed: empty is 0; otherwise a whole number from 0 to most.
bool CountOf(const std::string& text, int most, int& count) {
  if (text.empty()) {
    count = 0;
    return true;
  }
  std::int32_t value = 0;
  if (!NumberText::TextToInt(text, value) || value < 0 || value > most) return false;
  count = value;
  return true;
}

}  // namespace

std::optional<TGpibRefusal> TakeGpibEntries(bool autoDetect, const std::string& national,
                                            const std::string& cec, TGpibSettings& settings) {
  if (autoDetect) {
    settings.AutoDetect = true;
    return std::nullopt;
  }
  int nationalCount = 0;
  if (!CountOf(national, TGpibSettings::MaxNationalCards, nationalCount))
    return TGpibRefusal{InvalidValue, TGpibField::National};
  // Any whole number of 0 or more passes here, so that five or more CEC boards are
  // told the real limit.
  int cecCount = 0;
  if (!CountOf(cec, INT32_MAX, cecCount)) return TGpibRefusal{InvalidValue, TGpibField::CEC};
  if (cecCount > TGpibSettings::MaxCECCards) return TGpibRefusal{TooManyCEC, TGpibField::CEC};
  settings.AutoDetect = false;
  settings.NationalCards = nationalCount;
  settings.CECCards = cecCount;
  return std::nullopt;
}

bool EditGpibSettings(TGpibSettings& settings, bool devicesExist) {
  if (devicesExist) Inform(DevicesWillGo);
  TGpibSettingsRequest request;
  request.Settings = settings;
  if (UiPort().OpenDialog(request) != 1 || request.Settings == settings) return false;
  settings = request.Settings;
  return true;
}
