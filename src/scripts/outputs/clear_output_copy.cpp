#include "scripts/outputs/clear_output_copy.h"

#include "model/assertion.h"
#include "outputs/output.h"
#include "scripts/script.h"

TCopyClearOutput::TCopyClearOutput(TOutput* output) : TBlockCopyScript(nullptr), AOutput(output) {
  QORV_ASSERT(AOutput!=0);
}

TCopyClearOutput::~TCopyClearOutput() {
  if (!ADisabled) Disable();
}

void TCopyClearOutput::Disable() {
  if (AOutput && AOutput->GetCopyScript() == this) AOutput->ClearCopyScript();
  AOutput = nullptr;
  TCopyScript::Disable();
}

void TCopyClearOutput::Enable() {
  QORV_ASSERT(AOutput!=0);
  AOutput->SetCopyScript(this);
  ADisabled = false;
}

int TCopyClearOutput::GetScriptType() { return TScript::CLEARPLOT; }
