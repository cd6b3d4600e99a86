#include "shell/ui/dialog_setup.h"

#include "communication/ui/communication_dialogs.h"
#include "model/ui/model_dialogs.h"
#include "outputs/ui/output_dialogs.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/shell_dialogs.h"

void RegisterDialogs(TDialogRegistry& registry) {
  // One line per subsystem, each declared in its ui/ folder.
  RegisterShellDialogs(registry);
  RegisterModelDialogs(registry);
  RegisterOutputDialogs(registry);
  RegisterCommunicationDialogs(registry);
  RegisterScriptDialogs(registry);
}
