#include "communication/device_settings.h"

#include <cstdio>

#include "communication/communication.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/holder.h"
#include "communication/rs232.h"
#include "model/assertion.h"
#include "model/number_text.h"
#include "model/text.h"
#include "scripts/device/device_attribute_script.h"

namespace {

std::vector<std::string> MakeCharacterItems(bool hexadecimal) {
  std::vector<std::string> items{"None"};
  for (int code = 1; code < 256; ++code) {
    std::string item;
    if (hexadecimal) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02X", code);
      item = std::string("Ox") + digits;
    } else {
      item = NumberText::IntToText(code);
    }
    if (code == 10) item += "  (\\n)";
    if (code == 13) item += "  (\\r)";
    items.push_back(item);
  }
  return items;
}

void DefaultCharacter(std::int32_t& box, std::int32_t code) {
  if (box < 0) box = code;
}

}  // namespace

TDeviceSettings NewDeviceSettings() { return TDeviceSettings(); }

TDeviceSettings DeviceSettingsOf(const TDevice& device) {
  TDeviceSettings settings;
  const TCoreDevice& core = device.GetCoreDevice();
  settings.Name = core.GetName();
  settings.DefaultIcon = core.GetIcon(settings.Icon);
  settings.Location = device.GetHolder();
  settings.SendChar1 = core.GetSendChar1();
  settings.SendChar2 = core.GetSendChar2();
  settings.ReadChar1 = core.GetReadChar1();
  settings.ReadChar2 = core.GetReadChar2();
  if (const TCommunication* communication = device.GetCommunication()) {
    settings.TimeOut = communication->GetTimeOut();
    settings.TimeOutEnabled = settings.TimeOut != 0;
    if (communication->IsGPIB()) {
      settings.EOI = static_cast<const TGPIB*>(communication)->GetEOI();
    } else {
      const TRS232Param& line = static_cast<const TRS232*>(communication)->RS232Param;
      settings.EOI = false;
      settings.BaudRate = NumberText::IntToText(line.BaudRate);
      settings.StopBits = line.StopBits;
      settings.ParityIndex = line.ParityIndex;
      settings.InputHandshakeIndex = line.InputHandshakeIndex;
      settings.OutputHandshakeIndex = line.OutputHandshakeIndex;
    }
  }
  GateSecondCharacters(settings);
  return settings;
}

void SelectLocation(TDeviceSettings& settings, THolderDevice* location) {
  settings.Location = location;
  if (!location) return;
  const bool gpib = location->GetCommType() != RS232;
  if (const TDevice* holder = location->GetDevice()) {
    const TCoreDevice& core = holder->GetCoreDevice();
    settings.SendChar1 = core.GetSendChar1();
    settings.SendChar2 = core.GetSendChar2();
    settings.ReadChar1 = core.GetReadChar1();
    settings.ReadChar2 = core.GetReadChar2();
    const TCommunication* communication = holder->GetCommunication();
    if (gpib && communication && communication->IsGPIB())
      settings.EOI = static_cast<const TGPIB*>(communication)->GetEOI();
  } else if (gpib) {
    DefaultCharacter(settings.SendChar1, 0);
    DefaultCharacter(settings.SendChar2, 0);
    DefaultCharacter(settings.ReadChar1, 10);
    DefaultCharacter(settings.ReadChar2, 0);
    settings.EOI = true;
  } else {
    DefaultCharacter(settings.SendChar1, 13);
    DefaultCharacter(settings.SendChar2, 0);
    DefaultCharacter(settings.ReadChar1, 13);
    DefaultCharacter(settings.ReadChar2, 0);
  }
  if (!gpib) settings.EOI = false;
  GateSecondCharacters(settings);
}

void GateSecondCharacters(TDeviceSettings& settings) {
  if (settings.SendChar1 <= 0) settings.SendChar2 = 0;
  if (settings.ReadChar1 <= 0) settings.ReadChar2 = 0;
}

std::optional<TEntryRefusal> CheckDeviceSettings(const TDeviceSettings& settings) {
  if (TrimText(settings.Name).empty())
    return TEntryRefusal{"You must give the device a name or press cancel", "NameEdit"};
  if (!settings.Location)
    return TEntryRefusal{"You must pick a communication or press cancel", "CommunicationTree"};
  if (settings.Location->GetCommType() == RS232) {
    std::int32_t baud = 0;
    if (!NumberText::TextToInt(TrimText(settings.BaudRate), baud) || baud < MinBaudRate ||
        baud > MaxBaudRate)
      return TEntryRefusal{"The baud rate must be an integer value between " +
                               NumberText::IntToText(MinBaudRate) + " and " +
                               NumberText::IntToText(MaxBaudRate) + ".",
                           "BaudRateCombo"};
  }
  return std::nullopt;
}

bool ConfirmLocation(const TDeviceSettings& settings, const TDevice* edited) {
  QORV_ASSERT(settings.Location!=0);
  const TDevice* occupant = settings.Location->GetDevice();
  if (!occupant || occupant == edited) return true;
  return UiPort().Ask(std::string("Communication is already in use by another device.\r") +
                          "Selecting this communication will overwrite this device.\r" +
                          "Pressing Yes will overwrite.",
                      "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) == mbYes;
}

void ApplyDeviceSettings(TDevice& device, const TDeviceSettings& settings) {
  QORV_ASSERT(settings.Location!=0);
  std::vector<TDeviceAttributeScript*> pending;
  TDevice* occupant = settings.Location->GetDevice();
  if (occupant && occupant != &device) {
    QORV_ASSERT(device.GetList()!=0);
    device.GetList()->ReplaceDevice(occupant, pending);
  }
  TCoreDevice& core = device.GetCoreDevice();
  core.SetName(TrimText(settings.Name));
  if (!settings.DefaultIcon && settings.IconChanged) core.SetIcon(&settings.Icon);
  if (settings.SendChar1 >= 0) core.SetSendChar1(settings.SendChar1);
  if (settings.SendChar2 >= 0) core.SetSendChar2(settings.SendChar1 > 0 ? settings.SendChar2 : 0);
  if (settings.ReadChar1 >= 0) core.SetReadChar1(settings.ReadChar1);
  if (settings.ReadChar2 >= 0) core.SetReadChar2(settings.ReadChar1 > 0 ? settings.ReadChar2 : 0);
  device.SetHolder(settings.Location);
  TCommunication* communication = device.GetCommunication();
  QORV_ASSERT(communication!=0);
  communication->SetTimeOut(settings.AppliedTimeOut());
  if (communication->IsGPIB()) {
    static_cast<TGPIB*>(communication)->SetEOI(settings.EOI);
  } else {
    auto* serial = static_cast<TRS232*>(communication);
    std::int32_t baud = serial->RS232Param.BaudRate;
    NumberText::TextToInt(TrimText(settings.BaudRate), baud);
    serial->RS232Param.BaudRate = baud;
    serial->RS232Param.StopBits = settings.StopBits == 2 ? 2 : 1;
    serial->RS232Param.ParityIndex = static_cast<std::uint8_t>(settings.ParityIndex);
    serial->RS232Param.InputHandshakeIndex = static_cast<std::uint8_t>(settings.InputHandshakeIndex);
    serial->RS232Param.OutputHandshakeIndex =
        static_cast<std::uint8_t>(settings.OutputHandshakeIndex);
    serial->ConfigurePort(false);
  }
  device.AdoptScripts(pending);
}

const std::vector<std::string>& CharacterItems(bool hexadecimal) {
  static const std::vector<std::string> decimal = MakeCharacterItems(false);
  static const std::vector<std::string> hex = MakeCharacterItems(true);
  return hexadecimal ? hex : decimal;
}

const std::vector<std::string>& NatTimeOutNames() {
  static const std::vector<std::string> names{
      "No timeout", "10 microseconds", "30 microseconds", "100 microseconds",
      "300 microseconds", "1 ms", "3 ms", "10 ms", "30 ms", "100 ms", "300 ms", "1 s", "3 s",
      "10 s", "30 s", "100 s", "300 s", "1000 s"};
  return names;
}
