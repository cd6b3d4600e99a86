// The copy record of a Clear Device Buffer command: the device alone.
#pragma once

#include "scripts/device/device_copy.h"
#include "scripts/script.h"

class TCopyClearDeviceBuffer : public TDeviceCopyScript {
public:
  explicit TCopyClearDeviceBuffer(TDevice* device) : TDeviceCopyScript(nullptr, device) {}
  ~TCopyClearDeviceBuffer() override {
    if (!ADisabled) Disable();
  }
  int GetScriptType() override { return TScript::CLEARDEVICEBUFFER; }
};
