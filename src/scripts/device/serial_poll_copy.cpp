#include "scripts/device/serial_poll_copy.h"

#include "model/assertion.h"
#include "model/data.h"
#include "scripts/script.h"

TCopySerialPoll::TCopySerialPoll(TBlock* block, TDevice* device, TDataSingle* variable)
    : TDeviceCopyScript(block, device), ADataSingle(variable), Pattribute(variable) {
  QORV_ASSERT(Pblock!=0);
  QORV_ASSERT_AS(ADataSingle!=0, "datasingle!=0");
}

TCopySerialPoll::~TCopySerialPoll() {
  if (!ADisabled) Disable();
}

void TCopySerialPoll::Disable() {
  if (Pattribute && Pattribute->GetCopyScript() == this) Pattribute->ClearCopyScript();
  Pattribute = nullptr;
  ADataSingle = nullptr;
  TDeviceCopyScript::Disable();
}

void TCopySerialPoll::Enable() {
  QORV_ASSERT(ADataSingle!=0);
  TDeviceCopyScript::Enable();
  Pattribute->SetCopyScript(this);
}

int TCopySerialPoll::GetScriptType() { return TScript::SERIALPOLL; }
