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

// The Decision (10) is made by the block diagram, the Else (14) and End If (15) by the
// If-Then: none of them is added through a dialog of its own.
const std::vector<TCommandKind> Kinds = {
    {TScript::SEND, Make<TSendScript>, nullptr},
    {TScript::SENDGPIB, Make<TSendGPIBScript>, nullptr},
    {TScript::SENDRS232, Make<TSendRS232Script>, nullptr},
    {TScript::SERIALPOLL, Make<TSerialPollScript>, nullptr},
    {TScript::READ, Make<TReadScript>, nullptr},
    {TScript::PLOT, Make<TPlotScript>, Ask<TPlotScriptRequest>},
    {TScript::CALCULATE, Make<TCalculateScript>, nullptr},
    {TScript::WAIT, Make<TWaitScript>, Ask<TWaitScriptRequest>},
    {TScript::LABEL, Make<TLabelScript>, nullptr},
    {TScript::REPEAT, Make<TRepeatScript>, Ask<TRepeatScriptRequest>},
    {TScript::DECISION, Make<TDecScript>, nullptr},
    {TScript::REPUNTIL, Make<TRepeatUntilScript>, nullptr},
    {TScript::INCREMENT, Make<TIncrementScript>, nullptr},
    {TScript::IFTHEN, Make<TIfThenScript>, nullptr},
    {TScript::ELSE, Make<TElseScript>, nullptr},
    {TScript::ENDIF, Make<TEndIfScript>, nullptr},
    {TScript::COMMENT, Make<TCommentScript>, nullptr},
    {TScript::READFILE, Make<TReadFileScript>, nullptr},
    {TScript::SENDBINARY, Make<TSendBinaryScript>, nullptr},
    {TScript::CLEARPLOT, Make<TClearPlotScript>, Ask<TClearScriptRequest>},
    {TScript::CONCATENATE, Make<TConcatenateScript>, nullptr},
    {TScript::CLEARDEVICEBUFFER, Make<TClearDeviceBufferScript>, nullptr},
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
