#include "model/var_list_object.h"

#include "model/assertion.h"
#include "model/data.h"
#include "model/number_text.h"
#include "model/variable_data.h"

void TVarListObject::SetIndexVariable(TDataSingle* variable) {
  QORV_ASSERT(variable!=0);
  IndexVariable = variable;
  IndexConstant = -1;
  EntireArray = false;
}

void TVarListObject::SetIndexConstant(std::int32_t index) {
  QORV_ASSERT(index>=0);
  IndexVariable = nullptr;
  IndexConstant = index;
  EntireArray = false;
}

void TVarListObject::ClearIndex() {
  IndexVariable = nullptr;
  IndexConstant = -1;
  EntireArray = true;
}

void TVarListObject::SetData(TData* variable) {
  if (!variable) return;
  Pdata = variable;
  if (!variable->IsArray()) {
    IndexVariable = nullptr;
    IndexConstant = -1;
    EntireArray = false;
  }
}

void TVarListObject::SetFromVariable(TVariableData& reference) {
  QORV_ASSERT(reference.GetData()!=0);
  SetData(reference.GetData());
  auto* array = dynamic_cast<TVariableDataArray*>(&reference);
  if (!array) return;
  TVariableArrayIndex& index = array->GetArrayIndex();
  if (index.GetIndexVariable())
    SetIndexVariable(index.GetIndexVariable());
  else if (index.GetConstant() < 0)
    ClearIndex();
  else
    SetIndexConstant(index.GetIndex());
}

std::unique_ptr<TVariableData> TVarListObject::CreateVariable(TAttributeScript* command) const {
  QORV_ASSERT(Pdata!=0);
  QORV_ASSERT(command!=0);
  std::unique_ptr<TVariableData> reference;
  if (Pdata->IsArray()) {
    auto array = std::make_unique<TVariableDataArray>(command);
    TVariableArrayIndex& index = array->GetArrayIndex();
    if (IndexVariable)
      index.SetIndexVariable(IndexVariable);
    else if (IndexConstant >= 0)
      index.SetIndexConstant(IndexConstant);
    else
      index.ClearIndex();
    reference = std::move(array);
  } else {
    reference = std::make_unique<TVariableDataSingle>(command);
  }
  reference->SetData(Pdata);
  return reference;
}

std::string TVarListObject::GetText() const {
  if (!Pdata) return std::string();
  std::string text = Pdata->GetName();
  if (!Pdata->IsArray()) return text;
  if (IndexVariable) return text + "[" + IndexVariable->GetDataName() + "]";
  if (IndexConstant < 0) return text + "[Entire Array]";
  return text + "[" + NumberText::IntToText(IndexConstant) + "]";
}
