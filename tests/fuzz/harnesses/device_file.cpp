// Device files (".dev") through TDevice::LoadDeviceFile into a new device of a device
// list, as the device list's Load does; a device the load refuses is removed by its
// caller, as there. A device that loads is saved, loaded into another device and saved
// again: both saves must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "communication/device.h"
#include "communication/device_list.h"
#include "model/experiment.h"
#include "support/harness.h"
#include "support/scratch.h"

namespace {

// Loads the file into a new device: the device, or none when it was refused and removed.
TDevice* Load(TDeviceList& list, const std::string& path) {
  TDevice* device = list.NewDevice();
  if (device->LoadDeviceFile(path, list.GetPlacer())) return device;
  list.RemoveDevice(device);
  return nullptr;
}

std::string Save(TDevice& device) {
  FUZZ_CHECK(device.SaveDeviceFile(scratch::PathOf("saved.dev")));
  return scratch::Read("saved.dev");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  TExperiment experiment;
  TDeviceList list(&experiment);
  TDevice* device = Load(list, scratch::Write("input.dev", data, size));
  if (!device) {
    FUZZ_CHECK(list.IsEmpty());
    return 0;
  }
  const std::string first = Save(*device);
  TDevice* again = Load(list, scratch::PathOf("saved.dev"));
  FUZZ_CHECK(again != nullptr);
  FUZZ_CHECK(Save(*again) == first);
  return 0;
}
