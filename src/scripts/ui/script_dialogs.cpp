#include "scripts/ui/script_dialogs.h"

#include "scripts/ui/calculate_dialog.h"
#include "scripts/ui/clear_device_buffer_dialog.h"
#include "scripts/ui/clear_output_dialog.h"
#include "scripts/ui/comment_dialog.h"
#include "scripts/ui/concatenate_dialog.h"
#include "scripts/ui/create_new_file_dialog.h"
#include "scripts/ui/dec_dialog.h"
#include "scripts/ui/if_then_dialog.h"
#include "scripts/ui/increment_dialog.h"
#include "scripts/ui/label_dialog.h"
#include "scripts/ui/output_to_file_dialog.h"
#include "scripts/ui/plot_dialog.h"
#include "scripts/ui/read_dialog.h"
#include "scripts/ui/read_file_dialog.h"
#include "scripts/ui/repeat_dialog.h"
#include "scripts/ui/repeat_until_dialog.h"
#include "scripts/ui/send_and_read_dialog.h"
#include "scripts/ui/send_binary_dialog.h"
#include "scripts/ui/send_dialog.h"
#include "scripts/ui/send_gpib_dialog.h"
#include "scripts/ui/send_rs232_dialog.h"
#include "scripts/ui/serial_poll_dialog.h"
#include "scripts/ui/wait_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterScriptDialogs(TDialogRegistry& registry) {
  // One line per command dialog; its request type is named in the command table's row.
  registry.RegisterDialog<TWaitScriptRequest, TWaitScriptForm>();
  registry.RegisterDialog<TRepeatScriptRequest, TRepeatScriptForm>();
  registry.RegisterDialog<TSendScriptRequest, TSendScriptForm>();
  registry.RegisterDialog<TSendGPIBScriptRequest, TSendGPIBScriptForm>();
  registry.RegisterDialog<TSendRS232ScriptRequest, TSendRS232Form>();
  registry.RegisterDialog<TSerialPollScriptRequest, TSerialPollScriptForm>();
  registry.RegisterDialog<TSendBinaryScriptRequest, TSendBinaryForm>();
  registry.RegisterDialog<TClearDeviceBufferScriptRequest, TClearDeviceBufferScriptForm>();
  registry.RegisterDialog<TCalculateScriptRequest, TCalculateScriptForm>();
  registry.RegisterDialog<TConcatenateScriptRequest, TConcatenateScriptForm>();
  registry.RegisterDialog<TReadScriptRequest, TReadScriptForm>();
  registry.RegisterDialog<TSendAndReadRequest, TSendAndReadForm>();
  registry.RegisterDialog<TReadFileScriptRequest, TReadFromFileForm>();
  registry.RegisterDialog<TIncrementScriptRequest, TIncrementScriptForm>();
  registry.RegisterDialog<TLabelScriptRequest, TLabelScriptForm>();
  registry.RegisterDialog<TCommentScriptRequest, TCommentScriptForm>();
  registry.RegisterDialog<TIfThenScriptRequest, TIfThenScriptForm>();
  registry.RegisterDialog<TDecScriptRequest, TDecScriptForm>();
  registry.RegisterDialog<TRepeatUntilScriptRequest, TRepeatUntilScriptForm>();
  registry.RegisterDialog<TPlotScriptRequest, TPlotScriptForm>();
  registry.RegisterDialog<TOutputToFileRequest, TOutputToFileForm>();
  registry.RegisterDialog<TClearScriptRequest, TClearScriptForm>();
  registry.RegisterDialog<TCreateNewFileRequest, TCreateNewFileForm>();
}
