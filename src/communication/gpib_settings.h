// The GPIB board settings that building the communications tree uses: whether board 0
// of each kind is detected automatically or, if not, how many National Instruments and
// CEC boards there are. They are edited in the "GPIB Settings" dialog (reached from the
// device dialog's "Change Settings") and kept between runs with the other settings.
#pragma once

#include <optional>
#include <string>

#include "model/ui_port.h"

struct TGpibSettings {
  // The CEC board library drives at most four boards at one time.
  static constexpr int MaxCECCards = 4;
  // The GPIB library serves boards 0 to 15 (the Linux GPIB driver's limit, below the
  // NI-488.2 interface names GPIB0 to GPIB99).
  static constexpr int MaxNationalCards = 16;

  bool AutoDetect = true;
  int NationalCards = 1;
  int CECCards = 1;

  bool operator==(const TGpibSettings&) const = default;
};

// "GPIB Settings": the settings in; on OK the settings confirmed.
struct TGpibSettingsRequest : TDialogRequest {
  TGpibSettings Settings;
};

// The control a refused entry of the dialog focuses.
enum class TGpibField { National, CEC };

struct TGpibRefusal {
  std::string Message;
  TGpibField Field;
};

// OK of the dialog with its entries as typed. With "Auto Detect" checked only the flag
// is taken and the counts stay. Otherwise each non-empty count must be a whole number
// from 0 up to its kind's most (else "Invalid Value"), and the CEC count below five
// ("Cannot use any more than 4 CEC boards at one time"); an empty count means 0.
// Answers the first refusal, leaving settings as they were, or none with settings
// taken from the entries.
std::optional<TGpibRefusal> TakeGpibEntries(bool autoDetect, const std::string& national,
                                            const std::string& cec, TGpibSettings& settings);

// "Change Settings" of the device dialog: with devices in the list the warning that
// changes delete every GPIB device, then the dialog. True when it closed with OK and the
// settings changed (they are then in settings): the caller then replaces the GPIB nodes
// of the communications tree, probing the boards as at start-up.
bool EditGpibSettings(TGpibSettings& settings, bool devicesExist);
