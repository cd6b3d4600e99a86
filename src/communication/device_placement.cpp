#include "communication/device_placement.h"

#include "communication/device.h"

bool TDefaultDevicePlacer::PlaceDevice(TDevice& device) {
  return device.GetCommunication() != nullptr;
}
