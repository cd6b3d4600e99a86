#include "shell/device_list_editing.h"

#include "communication/communication.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "scripts/experiment_thread.h"

const std::array<TDeviceCommandKind, 8> DeviceCommandKinds{{
    {"Send", "send command", TDeviceLink::Any},
    {"Read", "read command", TDeviceLink::Any},
    {"Send and Read", "send and read commands", TDeviceLink::Any},
    {"Send GPIB", "send GPIB command", TDeviceLink::Gpib},
    {"Send Binary", "send binary command", TDeviceLink::Any},
    {"Serial Poll", "serial poll command", TDeviceLink::Gpib},
    {"Send RS232", "send RS232 clear command", TDeviceLink::NotGpib},
    {"Clear Device Read Buffer", "Clear device read buffer command", TDeviceLink::Any},
}};

bool IsGpibDevice(const TDevice& device) {
  const TCommunication* communication = device.GetCommunication();
  return communication && communication->IsGPIB();
}

TDeviceMenuState DevicePopupMenuPopup(const TDevice* selected) {
  const bool idle = !IsRunActive();
  const bool device = selected != nullptr;
  TDeviceMenuState menu;
  menu.NoDeviceAction = {!device, idle};
  // The command editor says itself why it refuses during a run; the device files wait
  // for the run's end, as the device operations do.
  menu.AddEditCommands = {device, true};
  menu.Commands = {device, idle};
  menu.Interact = {device, idle};
  menu.Save = {device, idle};
  menu.SaveAs = {device, idle};
  menu.Edit = {device, true};
  menu.Delete = {device, idle};
  // A reset closes the connection that a running command may be using.
  menu.Reset = {device, idle};
  menu.DeviceCommands = {device, false};
  if (!selected) return menu;

  const TCoreDevice& core = selected->GetCoreDevice();
  menu.DeviceCommands.Enabled = idle && core.GetScriptCount() > 0;
  for (int index = 0; index < core.GetScriptCount(); ++index)
    menu.DeviceCommandCaptions.push_back(core.GetScript(index)->GetText());
  const bool gpib = IsGpibDevice(*selected);
  for (std::size_t index = 0; index < DeviceCommandKinds.size(); ++index) {
    const TDeviceLink link = DeviceCommandKinds[index].Link;
    menu.CommandEnabled[index] = link == TDeviceLink::Any || (link == TDeviceLink::Gpib) == gpib;
  }
  return menu;
}

bool DeviceKeyDeletes(bool selected, bool pointerInside) {
  return selected && pointerInside && !IsRunActive();
}
