#include "scripts/ui/new_result_variable.h"

#include <QComboBox>

#include <utility>

#include "model/assertion.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/ui_port.h"
#include "scripts/ui/combo_items.h"

bool TNewResultVariable::Click(TExperiment& experiment, TBlock* block, bool array,
                               const TDataFormRequest& types) {
  if (!Made || Made->IsArray() != array) {
    TDataList* datalist = array ? static_cast<TDataList*>(experiment.GetDataArrayList())
                                : static_cast<TDataList*>(experiment.GetDataSingleList());
    QORV_ASSERT(datalist!=0);
    TDataFormRequest form = types;
    form.Mode = TDataFormRequest::dmEDIT;
    form.ShowArraySize = array;
    form.ReadOnlyAllowed = false;
    form.NameList = &datalist->GetDataNameList();
    // Cancelled: a variable of the other kind made before stays.
    if (UiPort().OpenDialog(form) != 1) return false;
    Drop();
    Made = datalist->Create(block, form);
    QORV_ASSERT(Made!=0);
    Results.addItem(Text(Made), ItemOf(Made));
  } else {
    Made->Edit();
    const int index = Results.findData(ItemOf(Made));
    QORV_ASSERT(index>-1);
    Results.setItemText(index, Text(Made));
  }
  const int index = Results.findData(ItemOf(Made));
  QORV_ASSERT(index>-1);
  Results.setCurrentIndex(index);
  return true;
}

void TNewResultVariable::Keep(const TData* used) {
  if (used == Made) Made = nullptr;
}

void TNewResultVariable::Drop() {
  if (!Made) return;
  const int index = Results.findData(ItemOf(Made));
  if (index > -1) Results.removeItem(index);
  delete std::exchange(Made, nullptr);
}
