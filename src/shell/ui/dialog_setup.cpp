#include "shell/ui/dialog_setup.h"

#include "shell/ui/dialog_registry.h"

void RegisterDialogs(TDialogRegistry& registry) {
  // One line per subsystem, each declared in its ui/ folder, for example
  //   RegisterModelDialogs(registry);    (src/model/ui/model_dialogs.h)
  // No subsystem has a dialog yet.
  (void)registry;
}
