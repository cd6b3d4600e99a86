#include "scripts/files/read_file_copy.h"

#include "model/assertion.h"
#include "model/variable_data.h"
#include "scripts/files/read_file_script.h"

TCopyReadFile::TCopyReadFile(TReadFileScript& command)
    : TBlockCopyScript(command.Pblock),
      AFileToRead(command.GetFileToRead()),
      PDelimiter1(command.GetDelimiter1()),
      PDelimiter2(command.GetDelimiter2()),
      DoCleanString(command.GetCleanString()),
      WSDelimiter(command.GetWSDelimiter()) {
  QORV_ASSERT(command.GetReadVariable()!=0&&command.GetReadVariable()->GetData()!=0);
  AArrayCopy.reset(command.GetReadVariable()->MakeCopy(this));
  if (TVariableDataSingle* count = command.GetCountVariable(); count && count->GetData())
    ACountCopy.reset(count->MakeCopy(this));
}

TCopyReadFile::~TCopyReadFile() {
  if (!ADisabled) TCopyReadFile::Disable();
}

void TCopyReadFile::Disable() {
  AArrayCopy->Disable();
  if (ACountCopy) ACountCopy->Disable();
  ADisabled = true;
}

void TCopyReadFile::Enable() {
  QORV_ASSERT(AArrayCopy!=0&&AArrayCopy->Data!=0);
  AArrayCopy->Enable();
  if (ACountCopy) ACountCopy->Enable();
  ADisabled = false;
}

int TCopyReadFile::GetScriptType() { return TScript::READFILE; }

TData* TCopyReadFile::GetArray() const { return AArrayCopy->Data; }

TData* TCopyReadFile::GetCountVariable() const { return ACountCopy ? ACountCopy->Data : nullptr; }
