#include "shell/ui/shell_dialogs.h"

#include "model/block.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/edit_block_dialog.h"

void RegisterShellDialogs(TDialogRegistry& registry) {
  registry.RegisterDialog<TEditBlockRequest, TEditBlockForm>();
}
