#include "scripts/device/send_binary_copy.h"

#include "model/assertion.h"
#include "scripts/script.h"

TCopySendBinary::TCopySendBinary(TDevice* device, TVariableData* sendArray,
                                 TVariableData* countVariable, std::int32_t count,
                                 std::uint8_t binaryType)
    : TDeviceCopyScript(nullptr, device),
      SendArray(sendArray ? sendArray->MakeCopy(this) : nullptr),
      CountVariable(countVariable ? countVariable->MakeCopy(this) : nullptr),
      Count(count),
      BinaryType(binaryType) {
  QORV_ASSERT_AS(SendArray!=0, "sendarray!=0");
}

TCopySendBinary::~TCopySendBinary() {
  if (!ADisabled) Disable();
}

void TCopySendBinary::Disable() {
  SendArray->Disable();
  if (CountVariable) CountVariable->Disable();
  TDeviceCopyScript::Disable();
}

void TCopySendBinary::Enable() {
  TDeviceCopyScript::Enable();
  SendArray->Enable();
  if (CountVariable) CountVariable->Enable();
}

int TCopySendBinary::GetScriptType() { return TScript::SENDBINARY; }
