#include "scripts/device/device_copy.h"

#include "communication/device.h"
#include "model/assertion.h"

TDeviceCopyScript::TDeviceCopyScript(TBlock* block, TDevice* device)
    : TBlockCopyScript(block), Pdevice(device) {
  QORV_ASSERT(Pdevice!=0);
}

TDeviceCopyScript::~TDeviceCopyScript() {
  QORV_ASSERT_AS(ADisabled || Pdevice == nullptr, "ADisabled");
}

void TDeviceCopyScript::Disable() {
  if (Pdevice && Pdevice->GetCopyScript() == this) Pdevice->ClearCopyScript();
  Pdevice = nullptr;
  TCopyScript::Disable();
}

void TDeviceCopyScript::Enable() {
  QORV_ASSERT(Pdevice!=0);
  Pdevice->SetCopyScript(this);
  ADisabled = false;
}
