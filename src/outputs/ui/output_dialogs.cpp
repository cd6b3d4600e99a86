#include "outputs/ui/output_dialogs.h"

#include "outputs/exp_file.h"
#include "outputs/output.h"
#include "outputs/ui/add_output_dialog.h"
#include "outputs/ui/multi_file_dialog.h"
#include "outputs/ui/single_file_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterOutputDialogs(TDialogRegistry& registry) {
  registry.RegisterDialog<TOutputDialogRequest, TAddOutputForm>();
  registry.RegisterDialog<TSingleExpFileRequest, TSingleExpFileForm>();
  registry.RegisterDialog<TMultiExpFileRequest, TMultiExpFileForm>();
}
