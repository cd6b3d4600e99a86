#include "scripts/ui/script_dialogs.h"

#include "scripts/ui/calculate_dialog.h"
#include "scripts/ui/comment_dialog.h"
#include "scripts/ui/concatenate_dialog.h"
#include "scripts/ui/dec_dialog.h"
#include "scripts/ui/if_then_dialog.h"
#include "scripts/ui/increment_dialog.h"
#include "scripts/ui/label_dialog.h"
#include "scripts/ui/repeat_dialog.h"
#include "scripts/ui/repeat_until_dialog.h"
#include "scripts/ui/wait_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterScriptDialogs(TDialogRegistry& registry) {
  // One line per command dialog; its request type is named in the command table's row.
  registry.RegisterDialog<TWaitScriptRequest, TWaitScriptForm>();
  registry.RegisterDialog<TRepeatScriptRequest, TRepeatScriptForm>();
  registry.RegisterDialog<TCalculateScriptRequest, TCalculateScriptForm>();
  registry.RegisterDialog<TConcatenateScriptRequest, TConcatenateScriptForm>();
  registry.RegisterDialog<TIncrementScriptRequest, TIncrementScriptForm>();
  registry.RegisterDialog<TLabelScriptRequest, TLabelScriptForm>();
  registry.RegisterDialog<TCommentScriptRequest, TCommentScriptForm>();
  registry.RegisterDialog<TIfThenScriptRequest, TIfThenScriptForm>();
  registry.RegisterDialog<TDecScriptRequest, TDecScriptForm>();
  registry.RegisterDialog<TRepeatUntilScriptRequest, TRepeatUntilScriptForm>();
}
