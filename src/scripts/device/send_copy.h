// The copy record of a Send command: the device, the text, the variable part (a copy of
// the reference, none without one) and how the value is written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/variable_data.h"
#include "scripts/device/device_copy.h"

class TCopySend : public TDeviceCopyScript {
public:
  // Copies the variable reference (none: no variable part).
  TCopySend(TDevice* device, std::string command, bool sendTerminators, TVariableData* variable,
            std::uint8_t notation, std::int32_t decimals, bool forceSpace);
  ~TCopySend() override;
  // Also the variable copy lets go of its variables.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  const std::string CommandString;
  const bool SendTerminators;
  const std::unique_ptr<TCopyVariableData> CopyVariable;  // none: no variable part
  const std::uint8_t Notation;
  const std::int32_t Decimals;
  const bool ForceSpace;
};
