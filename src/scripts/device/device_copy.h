// The part of a device command's copy record that follows the device: while enabled it
// is registered with the device, which disables it when the device is deleted.
#pragma once

#include "scripts/copy_script.h"

class TDevice;

class TDeviceCopyScript : public TBlockCopyScript {
public:
  // The device is required; block none: the record goes to any block.
  TDeviceCopyScript(TBlock* block, TDevice* device);
  // Nothing may still be registered: the records release in their own destructors.
  ~TDeviceCopyScript() override;

  // Releases the device and forgets it.
  void Disable() override;
  // Registers with the device.
  void Enable() override;
  // None once disabled.
  TDevice* GetDevice() const { return Pdevice; }

protected:
  TDevice* Pdevice;
};
