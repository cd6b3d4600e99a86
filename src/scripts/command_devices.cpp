#include "scripts/command_devices.h"

#include "communication/communication.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "model/ui_port.h"

namespace {
TDeviceList* Devices = nullptr;
}

void SetCommandDevices(TDeviceList* devices) { Devices = devices; }

std::vector<TDevice*> CommandDevices() {
  std::vector<TDevice*> list;
  if (Devices) Devices->GetDevices(list);
  return list;
}

namespace {

std::vector<TDevice*> DevicesWhere(bool gpib) {
  std::vector<TDevice*> list;
  for (TDevice* device : CommandDevices())
    if (TCommunication* communication = device->GetCommunication();
        communication && communication->IsGPIB() == gpib)
      list.push_back(device);
  return list;
}

}  // namespace

std::vector<TDevice*> GpibCommandDevices() { return DevicesWhere(true); }
std::vector<TDevice*> Rs232CommandDevices() { return DevicesWhere(false); }

bool OfferedDevices(const std::vector<TDevice*>& ofKind, const char* noDevices,
                    const char* noneOfKind) {
  if (!ofKind.empty()) return true;
  Inform(CommandDevices().empty() ? noDevices : noneOfKind);
  return false;
}
