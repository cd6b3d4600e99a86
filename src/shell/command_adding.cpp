#include "shell/command_adding.h"

#include "model/assertion.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/command_table.h"
#include "scripts/device/send_and_read_request.h"
#include "shell/can_add_command.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/blank_script.h"
#include "scripts/script.h"
#include "scripts/script_request.h"

namespace {

const std::vector<TAddCommand> Rows = {
    {"AddLabelCmd", "Add a label", "label command", "Label", TScript::LABEL, false},
    {"AddCommentCmd", "Add Comment", "comment command", "Comment", TScript::COMMENT, false},
    {"RepeatButton", "Repeat Command", "repeat command", "Repeat", TScript::REPEAT, false},
    {"WaitButton", "Add Wait Command", "wait command", "Wait", TScript::WAIT, false},
    {"IncrementButton", "Increment a constant", "increment command", "Increment",
     TScript::INCREMENT, false},
    {"IfThenButton", "If then script", "if then command", "If Then", TScript::IFTHEN, false},
    {"CalculatorButton", "Calculate", "calculator command", "Calculate", TScript::CALCULATE, false},
    {"RepUntilButton", "Repeat Until", "repeat until command", "Repeat Until", TScript::REPUNTIL,
     false},
    {"PlotButton", "Plot a variable to an output", "plot command", "Plot", TScript::PLOT, false},
    {"ReadButton", "Read from a device", "read command", "Read", TScript::READ, true},
    {"SendButton", "Send a command to a device", "send command", "Send", TScript::SEND, true},
    {"SendReadButton", "Send a command to and read from a device", "send and read commands",
     "Send and Read", SendAndReadType, true},
    {"SendGPIBButton", "Send GPIB commands.", "send GPIB command", "Send GPIB", TScript::SENDGPIB,
     true},
    {"SendBinaryButton", "Send binary data to a device", "send binary command", "Send Binary",
     TScript::SENDBINARY, true},
    {"SerialPollButton", "Serial Poll", "serial poll command", "Serial Poll", TScript::SERIALPOLL,
     true},
    {"SendRS232Button", "Send RS232 Clear Buffer Command", "send RS232 clear command",
     "Send RS232", TScript::SENDRS232, true},
    {"ReadFileButton", "Read From File", "Read From File command", "Read From File",
     TScript::READFILE, false},
    {"ClearOutputBtn", "Clear an Output", "Clear Output command", "Clear Output",
     TScript::CLEARPLOT, false},
    {"ConcatenateBtn", "Concatenate a String", "Concatenate command", "String Concatenate",
     TScript::CONCATENATE, false},
    {"ClearBuffer", "Clear a device's read buffer", "Clear device read buffer command",
     "Clear Device Read Buffer", TScript::CLEARDEVICEBUFFER, true},
    {"OutToFile", "Output variables to File", "Output To File command", "Output To File",
     TScript::OUTPUTTOFILE, false},
    {"MakeNewFileBtn", "Create A New File", "Create New File command", "Create New File",
     TScript::CREATENEWFILE, false},
};

// Where the blank line stood, to put it back exactly.
struct TBlankPlace {
  TTreeNode* Parent = nullptr;
  TTreeNode* Next = nullptr;
};

void PutBlankBack(TExperiment& experiment, const TBlankPlace& place) {
  TBlankScript* blank = experiment.GetBlankScript();
  if (!blank || !place.Parent) return;
  if (place.Next)
    blank->AExpNode->MoveTo(place.Next, TNodeAttachMode::naInsert);
  else
    blank->AExpNode->MoveTo(place.Parent, TNodeAttachMode::naAddChild);
  blank->SetBlock();
  experiment.GetExperimentTree().SetSelected(blank->AExpNode);
}

// The row's new-command entry; the Send-and-Read pair has its own.
int OpenNew(TExperiment& experiment, int type, TDevice* device) {
  if (type == SendAndReadType) return NewSendAndRead(experiment, device);
  return NewScript(experiment, type, device);
}

}  // namespace

const std::vector<TAddCommand>& AddCommands() { return Rows; }

const TAddCommand* AddCommandOf(const std::string& button) {
  for (const TAddCommand& row : Rows)
    if (button == row.Button) return &row;
  return nullptr;
}

bool HasAddDialog(const TAddCommand& row) {
  if (row.Type == SendAndReadType) return true;
  const TCommandKind* kind = CommandKindOf(row.Type);
  return kind && kind->Dialog;
}

int AddCommandClick(TExperiment& experiment, const TAddCommand& row, TAddSender sender,
                    TTreeNode* selected, TDevice* device) {
  if (!CanAddCommand(row.Name)) return 0;
  if (sender == TAddSender::DeviceItem) {
    QORV_ASSERT(row.Device&&device!=0);
    return OpenNew(experiment, row.Type, device);
  }
  if (sender != TAddSender::InsertItem) return OpenNew(experiment, row.Type, nullptr);

  QORV_ASSERT(ScriptOfNode(selected)!=0);
  TBlankPlace place;
  if (TBlankScript* blank = experiment.GetBlankScript()) {
    place.Parent = blank->AExpNode->GetParent();
    place.Next = blank->AExpNode->GetNextSibling();
  }
  experiment.MoveBlankScript(selected);
  const int result = OpenNew(experiment, row.Type, nullptr);
  if (result != 1) PutBlankBack(experiment, place);
  return result;
}
