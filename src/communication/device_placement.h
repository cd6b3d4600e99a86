// Where a device read from a file goes: the communications tree decides whether the
// device gets a location (free, overwritten or reassigned by the user) and stays, or is
// dropped.
#pragma once

class TDevice;

class TDevicePlacer {
public:
  virtual ~TDevicePlacer() = default;
  // True when the device has a location and stays in the device list; false drops it.
  virtual bool PlaceDevice(TDevice& device) = 0;
};

// The placement used until the communications tree exists: every device that has a
// communication keeps it as its location.
class TDefaultDevicePlacer : public TDevicePlacer {
public:
  bool PlaceDevice(TDevice& device) override;
};
