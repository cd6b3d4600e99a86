#include "scripts/ui/new_variable.h"

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/ui_port.h"

TData* NewVariableWithDialog(TExperiment& experiment, TBlock* block, const TNewVariableKind& kind) {
  QORV_ASSERT(block!=0);
  TDataList* list = kind.Array ? static_cast<TDataList*>(experiment.GetDataArrayList())
                               : static_cast<TDataList*>(experiment.GetDataSingleList());
  QORV_ASSERT(list!=0);
  TDataFormRequest request;
  request.Mode = TDataFormRequest::dmEDIT;
  request.ShowArraySize = kind.Array;
  request.ArraySize = 10;
  request.ReadOnlyAllowed = kind.ReadOnlyAllowed;
  if (kind.IntegerOnly) {
    request.Type = eatINTEGER;
    request.StringAllowed = false;
    request.FloatAllowed = false;
  }
  request.NameList = &list->GetDataNameList();
  if (UiPort().OpenDialog(request) != 1) return nullptr;
  return list->Create(block, request);
}
