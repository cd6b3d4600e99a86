#include "shell/ui/shell_dialogs.h"

#include "communication/gpib_settings.h"
#include "model/block.h"
#include "shell/preferences.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/edit_block_dialog.h"
#include "shell/ui/gpib_settings_dialog.h"
#include "shell/ui/preferences_dialog.h"

void RegisterShellDialogs(TDialogRegistry& registry) {
  registry.RegisterDialog<TEditBlockRequest, TEditBlockForm>();
  registry.RegisterDialog<TGpibSettingsRequest, TGPIBAdvancedForm>();
  registry.RegisterDialog<TExperimentPreferencesRequest, TExperimentPreferencesForm>();
}
