#include "scripts/ui/script_dialogs.h"

#include "scripts/ui/clear_output_dialog.h"
#include "scripts/ui/create_new_file_dialog.h"
#include "scripts/ui/output_to_file_dialog.h"
#include "scripts/ui/plot_dialog.h"
#include "scripts/ui/repeat_dialog.h"
#include "scripts/ui/wait_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterScriptDialogs(TDialogRegistry& registry) {
  // One line per command dialog; its request type is named in the command table's row.
  registry.RegisterDialog<TWaitScriptRequest, TWaitScriptForm>();
  registry.RegisterDialog<TRepeatScriptRequest, TRepeatScriptForm>();
  registry.RegisterDialog<TPlotScriptRequest, TPlotScriptForm>();
  registry.RegisterDialog<TOutputToFileRequest, TOutputToFileForm>();
  registry.RegisterDialog<TClearScriptRequest, TClearScriptForm>();
  registry.RegisterDialog<TCreateNewFileRequest, TCreateNewFileForm>();
}
