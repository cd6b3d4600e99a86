// The copy record of a Send GPIB command: the device and the bus commands.
#pragma once

#include <cstdint>

#include "scripts/device/device_copy.h"
#include "scripts/script.h"

class TCopySendGPIB : public TDeviceCopyScript {
public:
  TCopySendGPIB(TDevice* device, std::uint8_t busCommands)
      : TDeviceCopyScript(nullptr, device), BusCommands(busCommands) {}
  ~TCopySendGPIB() override {
    if (!ADisabled) Disable();
  }
  int GetScriptType() override { return TScript::SENDGPIB; }

  const std::uint8_t BusCommands;
};
