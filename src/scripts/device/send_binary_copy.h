// The copy record of a Send Binary command: the device, copies of the array reference
// and of the count variable's (none with a constant count or the whole array), the
// constant count and the binary type.
#pragma once

#include <cstdint>
#include <memory>

#include "model/variable_data.h"
#include "scripts/device/device_copy.h"

class TCopySendBinary : public TDeviceCopyScript {
public:
  // Copies the array reference (required) and the count variable's (may be none).
  TCopySendBinary(TDevice* device, TVariableData* sendArray, TVariableData* countVariable,
                  std::int32_t count, std::uint8_t binaryType);
  ~TCopySendBinary() override;
  // Also both variable copies let go of their variables.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  const std::unique_ptr<TCopyVariableData> SendArray;
  const std::unique_ptr<TCopyVariableData> CountVariable;  // none: count or whole array
  const std::int32_t Count;                                // -1: none
  const std::uint8_t BinaryType;
};
