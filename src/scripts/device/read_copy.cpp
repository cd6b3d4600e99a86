#include "scripts/device/read_copy.h"

#include "communication/read_data.h"
#include "model/assertion.h"
#include "model/data.h"
#include "model/variable_data.h"
#include "scripts/device/read_script.h"

TCopyRead::TCopyRead(TReadScript& command)
    : TDeviceCopyScript(command.Pblock, command.GetDevice()),
      DoCleanString(command.GetCleanString()),
      WSDelimiter(command.GetWSDelimiter()) {
  QORV_ASSERT(command.GetVariable()!=0&&command.GetVariable()->GetData()!=0);
  ACopyVariable.reset(command.GetVariable()->MakeCopy(this));
  if (TVariableDataSingle* bytes = command.GetReadCountVariable(); bytes && bytes->GetData())
    PReadBytesVar.reset(bytes->MakeCopy(this));
  if (auto* array = dynamic_cast<TReadDataArray*>(command.GetReadData()))
    if (TVariableDataSingle* points = array->GetDataNumPoints(); points && points->GetData())
      PReadPointsVar.reset(points->MakeCopy(this));
  command.FillResponse(AResponse);
  // The variables are named by the copies alone, which let them go when disabled.
  AResponse.ClearDataLinks();
}

TCopyRead::~TCopyRead() {
  if (!ADisabled) TCopyRead::Disable();
}

void TCopyRead::Disable() {
  ACopyVariable->Disable();
  if (PReadBytesVar) PReadBytesVar->Disable();
  if (PReadPointsVar) PReadPointsVar->Disable();
  TDeviceCopyScript::Disable();
}

void TCopyRead::Enable() {
  QORV_ASSERT(ACopyVariable!=0&&ACopyVariable->Data!=0);
  ACopyVariable->Enable();
  if (PReadBytesVar) PReadBytesVar->Enable();
  if (PReadPointsVar) PReadPointsVar->Enable();
  TDeviceCopyScript::Enable();
}

int TCopyRead::GetScriptType() { return TScript::READ; }

TReadResponse TCopyRead::GetResponse() const {
  QORV_ASSERT(!ADisabled);
  TReadResponse response = AResponse;
  if (response.GetStoreByteCount()) {
    QORV_ASSERT(PReadBytesVar!=0&&PReadBytesVar->Data!=0);
    response.SetByteCountData(PReadBytesVar->Data);
  }
  if (response.GetNumberOfPointsFromData()) {
    QORV_ASSERT(PReadPointsVar!=0&&PReadPointsVar->Data!=0);
    response.SetNumberOfPointsData(PReadPointsVar->Data);
  }
  return response;
}

TData* TCopyRead::GetVariable() const { return ACopyVariable->Data; }
