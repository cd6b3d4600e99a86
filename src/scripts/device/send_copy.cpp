#include "scripts/device/send_copy.h"

#include <utility>

#include "scripts/script.h"

TCopySend::TCopySend(TDevice* device, std::string command, bool sendTerminators,
                     TVariableData* variable, std::uint8_t notation, std::int32_t decimals,
                     bool forceSpace)
    : TDeviceCopyScript(nullptr, device),
      CommandString(std::move(command)),
      SendTerminators(sendTerminators),
      CopyVariable(variable ? variable->MakeCopy(this) : nullptr),
      Notation(notation),
      Decimals(decimals),
      ForceSpace(forceSpace) {}

TCopySend::~TCopySend() {
  if (!ADisabled) Disable();
}

void TCopySend::Disable() {
  if (CopyVariable) CopyVariable->Disable();
  TDeviceCopyScript::Disable();
}

void TCopySend::Enable() {
  TDeviceCopyScript::Enable();
  if (CopyVariable) CopyVariable->Enable();
}

int TCopySend::GetScriptType() { return TScript::SEND; }
