#include "shell/ui/dialog_setup.h"

#include "shell/ui/dialog_registry.h"
#include "shell/ui/shell_dialogs.h"

void RegisterDialogs(TDialogRegistry& registry) {
  // One line per subsystem, each declared in its ui/ folder.
  RegisterShellDialogs(registry);
}
