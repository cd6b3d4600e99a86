#include "scripts/command_table.h"

#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/files/read_file_script.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/flow/dec_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "scripts/outputs/plot_script.h"
#include "scripts/script_request.h"

namespace {

template <class TCommand>
TScript* Make(TBlock* block, TTreeNode* node) {
  return new TCommand(block, node);
}

template <class TRequest>
std::unique_ptr<TScriptRequest> Ask() {
  return std::make_unique<TRequest>();
}

// The Decision (10) is made by the block diagram and only changed through its dialog (its
// request opens no dialog for a new one); the Else (14) and End If (15) are made by the
// If-Then and open the If-Then's dialog.
const std::vector<TCommandKind> Kinds = {
    {TScript::SEND, Make<TSendScript>, Ask<TSendScriptRequest>},
    {TScript::SENDGPIB, Make<TSendGPIBScript>, Ask<TSendGPIBScriptRequest>},
    {TScript::SENDRS232, Make<TSendRS232Script>, Ask<TSendRS232ScriptRequest>},
    {TScript::SERIALPOLL, Make<TSerialPollScript>, Ask<TSerialPollScriptRequest>},
    {TScript::READ, Make<TReadScript>, Ask<TReadScriptRequest>},
    {TScript::PLOT, Make<TPlotScript>, Ask<TPlotScriptRequest>},
    {TScript::CALCULATE, Make<TCalculateScript>, Ask<TCalculateScriptRequest>},
    {TScript::WAIT, Make<TWaitScript>, Ask<TWaitScriptRequest>},
    {TScript::LABEL, Make<TLabelScript>, Ask<TLabelScriptRequest>},
    {TScript::REPEAT, Make<TRepeatScript>, Ask<TRepeatScriptRequest>},
    {TScript::DECISION, Make<TDecScript>, Ask<TDecScriptRequest>},
    {TScript::REPUNTIL, Make<TRepeatUntilScript>, Ask<TRepeatUntilScriptRequest>},
    {TScript::INCREMENT, Make<TIncrementScript>, Ask<TIncrementScriptRequest>},
    {TScript::IFTHEN, Make<TIfThenScript>, Ask<TIfThenScriptRequest>},
    {TScript::ELSE, Make<TElseScript>, nullptr},
    {TScript::ENDIF, Make<TEndIfScript>, nullptr},
    {TScript::COMMENT, Make<TCommentScript>, Ask<TCommentScriptRequest>},
    {TScript::READFILE, Make<TReadFileScript>, Ask<TReadFileScriptRequest>},
    {TScript::SENDBINARY, Make<TSendBinaryScript>, Ask<TSendBinaryScriptRequest>},
    {TScript::CLEARPLOT, Make<TClearPlotScript>, Ask<TClearScriptRequest>},
    {TScript::CONCATENATE, Make<TConcatenateScript>, Ask<TConcatenateScriptRequest>},
    {TScript::CLEARDEVICEBUFFER, Make<TClearDeviceBufferScript>,
     Ask<TClearDeviceBufferScriptRequest>},
    {TScript::OUTPUTTOFILE, Make<TOutputToFileScript>, Ask<TOutputToFileRequest>},
    {TScript::CREATENEWFILE, Make<TCreateNewFileScript>, Ask<TCreateNewFileRequest>},
};

}  // namespace

const std::vector<TCommandKind>& CommandKinds() { return Kinds; }

const TCommandKind* CommandKindOf(int type) {
  for (const TCommandKind& kind : Kinds)
    if (kind.Type == type) return &kind;
  return nullptr;
}
