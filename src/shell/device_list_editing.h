// The decisions of the main window's device list: which pop-up items show and which are
// enabled for the selected device and the run state, the captions of the device's own
// commands under "Device Commands...", the add-command items of "Commands..." with the
// kind of device each serves, and when the Delete key deletes. The window applies the
// answers to its menu and calls the device operations of the items.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "shell/tree_editing.h"

class TDevice;

// Which devices an add-command item of "Commands..." serves.
enum class TDeviceLink { Any, Gpib, NotGpib };

struct TDeviceCommandKind {
  const char* Caption;  // the item's text
  const char* Name;     // the command's name in "Cannot add <name> while running ..."
  TDeviceLink Link;
};

// The items of "Commands...", in menu order.
extern const std::array<TDeviceCommandKind, 8> DeviceCommandKinds;

struct TDeviceMenuState {
  // No selection: "Add Device", "Open Device", "Open Device Configuration",
  // "Scan For Devices".
  TMenuItemState NoDeviceAction;
  // A selected device: each item of the device.
  TMenuItemState AddEditCommands;  // "Add/Edit Device Commands"; during a run it refuses
  TMenuItemState DeviceCommands;   // "Device Commands...", enabled when the device has some
  TMenuItemState Commands;         // "Commands..."
  TMenuItemState Interact;
  TMenuItemState Save;
  TMenuItemState SaveAs;
  TMenuItemState Edit;  // enabled during a run as well: the dialog shows the settings
  TMenuItemState Delete;
  TMenuItemState Reset;
  // The device's commands, one item each, by their short texts.
  std::vector<std::string> DeviceCommandCaptions;
  // Per item of DeviceCommandKinds: whether it serves the selected device.
  std::array<bool, DeviceCommandKinds.size()> CommandEnabled{};
};

// The pop-up's items for the selected device (none: no selection).
TDeviceMenuState DevicePopupMenuPopup(const TDevice* selected);

// Whether the device's communication is GPIB; false without one.
bool IsGpibDevice(const TDevice& device);

// The Delete key deletes the selected device only while no run is active and the mouse
// pointer lies inside its row.
bool DeviceKeyDeletes(bool selected, bool pointerInside);
