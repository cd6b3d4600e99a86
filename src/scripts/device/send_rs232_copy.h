// The copy record of a Send RS232 command: the device and which buffers to clear.
#pragma once

#include "scripts/device/device_copy.h"
#include "scripts/script.h"

class TCopySendRS232 : public TDeviceCopyScript {
public:
  TCopySendRS232(TDevice* device, bool clearTransmit, bool clearReceive)
      : TDeviceCopyScript(nullptr, device),
        ClearTransmit(clearTransmit),
        ClearReceive(clearReceive) {}
  ~TCopySendRS232() override {
    if (!ADisabled) Disable();
  }
  int GetScriptType() override { return TScript::SENDRS232; }

  const bool ClearTransmit;
  const bool ClearReceive;
};
