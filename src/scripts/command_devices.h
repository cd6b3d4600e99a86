// The device list that device-command dialogs offer devices from: the session's, which
// the session names while it lives. The commands themselves only know their device.
#pragma once

#include <vector>

class TDevice;
class TDeviceList;

// None clears it (the session going).
void SetCommandDevices(TDeviceList* devices);
// Every device of the list, in its order; none without a list.
std::vector<TDevice*> CommandDevices();

// The devices of the list on a GPIB board (a device without a communication is left out).
std::vector<TDevice*> GpibCommandDevices();
// The devices of the list on an RS-232 port.
std::vector<TDevice*> Rs232CommandDevices();
// The devices of the kind a new command offers; without one the message that says so:
// noDevices when the list is empty, noneOfKind when none is of the kind.
bool OfferedDevices(const std::vector<TDevice*>& ofKind, const char* noDevices,
                    const char* noneOfKind);

#include "scripts/script_request.h"

// The request of a device command's dialog: the devices it offers, found by CanOpen.
struct TDeviceScriptRequest : TScriptRequest {
  std::vector<TDevice*> Devices;
};
