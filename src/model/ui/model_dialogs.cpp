#include "model/ui/model_dialogs.h"

#include "model/data_dialogs.h"
#include "model/ui/change_var_dialog.h"
#include "model/ui/variable_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterModelDialogs(TDialogRegistry& registry) {
  registry.RegisterDialog<TDataFormRequest, TDataForm>();
  registry.RegisterDialog<TChangeVarRequest, TChangeVarForm>();
}
