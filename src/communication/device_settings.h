// What the device dialog ("Add or Edit a Device") shows and edits: name, icon, location,
// time-out, terminating characters, EOI and the serial settings, with their defaults,
// the dialog's checks and messages, and how the entries reach a device. The dialog reads
// and writes TDeviceSettings; everything it decides goes through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/component.h"
#include "model/ui_port.h"

class TCoreDevice;
class TDevice;
class TDeviceList;
class THolderDevice;

struct TDeviceSettings {
  std::string Name;
  // The shown icon is the image list's default; Icon is a picture chosen since.
  bool DefaultIcon = true;
  bool IconChanged = false;
  TIcon Icon;
  // A location of the communications tree; none while a group node or nothing is
  // selected.
  THolderDevice* Location = nullptr;
  // The time-out in microseconds as long as it is enabled; disabled applies 0.
  bool TimeOutEnabled = true;
  std::int64_t TimeOut = 1000000;
  // Character codes; -1 while the box has no selection (nothing is applied then).
  std::int32_t SendChar1 = -1;
  std::int32_t SendChar2 = -1;
  std::int32_t ReadChar1 = -1;
  std::int32_t ReadChar2 = -1;
  bool EOI = true;
  // The serial settings (shown for a COM location only).
  std::string BaudRate = "19200";
  int StopBits = 1;
  int ParityIndex = 0;
  int InputHandshakeIndex = 0;
  int OutputHandshakeIndex = 0;

  std::int64_t AppliedTimeOut() const { return TimeOutEnabled ? TimeOut : 0; }
};

// The device dialog: a new device (Device null; the dialog's OK and Add create devices
// through the list) or an existing one (OK writes Settings back for the caller to apply).
struct TDeviceFormRequest : TDialogRequest {
  TDeviceList* List = nullptr;
  TDevice* Device = nullptr;
  TDeviceSettings Settings;
};

// The command editor ("Edit Device Scripts") on a core device. Changed tells whether
// the device's commands changed: one taken by OK, or one of its own changed or deleted
// (which stay even after Cancel).
struct TDeviceScriptsRequest : TDialogRequest {
  TCoreDevice* Device = nullptr;
  bool Changed = false;
};

// A refused entry: the message and the objectName of the control that gets the focus.
struct TEntryRefusal {
  std::string Message;
  std::string Control;
};

// The bounds of a baud rate.
constexpr std::int32_t MinBaudRate = 10;
constexpr std::int32_t MaxBaudRate = 115200;

// A new device: empty name, no location, default icon, 1 s, the serial defaults.
TDeviceSettings NewDeviceSettings();
// The device's own settings: its time-out exactly as its communication keeps it, shown
// disabled when it is 0.
TDeviceSettings DeviceSettingsOf(const TDevice& device);
// A location (or none) is selected: the characters and EOI of the device that holds it,
// or the location's defaults in boxes without a selection (GPIB: send none, read LF,
// EOI on; COM: send CR, read CR, EOI off).
void SelectLocation(TDeviceSettings& settings, THolderDevice* location);
// A second character follows its first: without a first one (none or no selection) it
// is none.
void GateSecondCharacters(TDeviceSettings& settings);

// The checks of OK and Add in order (name, location, baud rate); none when they pass.
std::optional<TEntryRefusal> CheckDeviceSettings(const TDeviceSettings& settings);
// The last step before applying: a location held by a device other than the edited one
// asks whether to overwrite it. True when free or overwritten.
bool ConfirmLocation(const TDeviceSettings& settings, const TDevice* edited);
// Applies the checked entries: a device still on the location goes first (its commands
// move to this device when the user wants them), then name, icon, characters, location,
// time-out and the GPIB or serial settings.
void ApplyDeviceSettings(TDevice& device, const TDeviceSettings& settings);

// The 256 entries of the character boxes: "None", then the decimal codes or "Ox" and
// two hexadecimal digits; 10 and 13 followed by "  (\n)" and "  (\r)".
const std::vector<std::string>& CharacterItems(bool hexadecimal);
// The labels of the NI time-out codes 0..17.
const std::vector<std::string>& NatTimeOutNames();
