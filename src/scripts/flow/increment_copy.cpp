#include "scripts/flow/increment_copy.h"

#include <utility>

#include "model/assertion.h"
#include "model/data.h"
#include "model/variable_data.h"
#include "scripts/script.h"

TCopyIncrement::TCopyIncrement(TBlock* block, TVariableDataSingle& variable, std::string step)
    : TBlockCopyScript(block), AVariable(variable.MakeCopy(this)), AText(std::move(step)) {}

TCopyIncrement::~TCopyIncrement() {
  if (!ADisabled) TCopyIncrement::Disable();
}

void TCopyIncrement::Disable() {
  AVariable->Disable();
  ADisabled = true;
}

void TCopyIncrement::Enable() {
  QORV_ASSERT(AVariable!=0&&AVariable->Data!=0);
  AVariable->Enable();
  ADisabled = false;
}

int TCopyIncrement::GetScriptType() { return TScript::INCREMENT; }

TDataSingle* TCopyIncrement::GetVariable() const {
  return dynamic_cast<TDataSingle*>(AVariable->Data);
}
