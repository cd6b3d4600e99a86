#include "scripts/device/serial_poll_script.h"

#include <cstddef>
#include <utility>

#include "communication/communication.h"
#include "communication/device.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"
#include "scripts/device/serial_poll_copy.h"

TSerialPollScript::TSerialPollScript(TBlock* block, TTreeNode* node)
    : TDeviceAttributeScript(block, node) {}

TSerialPollScript::~TSerialPollScript() { AVariable.reset(); }

template <typename Poll>
void TSerialPollScript::PollAndStore(Poll poll) {
  auto* gpib = dynamic_cast<TGPIB*>(&GetCommunication());
  if (!gpib) throw EExperimentError(GetText() + " needs a GPIB device.");
  QORV_ASSERT(AVariable!=0&&AVariable->GetData()!=0);
  // The status byte is unsigned, whatever the board hands over.
  AVariable->SetValueNumber(poll(*gpib) & 0xFF);
}

TScript* TSerialPollScript::Execute() {
  if (!AbCommentedOut) PollAndStore([](TGPIB& gpib) { return gpib.SerialPoll(); });
  return Pnextscript;
}

TScript* TSerialPollScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  PollAndStore([this, &trace](TGPIB& gpib) {
    trace.push_back("Serial polling: " + Device->GetName());
    return gpib.SerialPollTrace(trace);
  });
  return Pnextscript;
}

bool TSerialPollScript::SetNextScript() {
  TScript::SetNextScript();
  TCommunication* communication = CommunicationForRun();
  if (!communication) return false;
  if (communication->IsGPIB()) return true;
  UiPort().ShowMessage("Will Not Run, " + GetText() + " needs a GPIB device.", "",
                       TMessageKind::Information);
  return false;
}

void TSerialPollScript::Save(TWriteFile& writer) {
  QORV_ASSERT(AVariable!=0);
  AVariable->Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(AVariable.get());
  TDeviceAttributeScript::Save(writer);
}

void TSerialPollScript::Load(TReadFile& reader) {
  QORV_ASSERT(AVariable==0);
  TWaitingReferences waiting(reader);
  auto variable = std::make_unique<TVariableDataSingle>(this);
  variable->Load(reader);
  waiting.List().Add(variable.get());
  TDeviceAttributeScript::Load(reader);
  AVariable = std::move(variable);
  waiting.Keep();
  UpdateNodeText();
}

void TSerialPollScript::CheckAfterRead() {
  // The status byte goes into an integer: a file naming any other variable is refused.
  if (!AVariable || !AVariable->GetData() || AVariable->GetData()->GetDataType() != eatINTEGER)
    throw EReadError("Variable not defined for Serial Poll...aborting read");
  if (!Device) throw EReadError("Device not defined for Serial Poll...aborting read");
}

std::string TSerialPollScript::GetText() {
  std::string text;
  if (AVariable && AVariable->GetData()) text = AVariable->GetName() + "=";
  text += "Serial Poll: ";
  if (Device) text += Device->GetName();
  return text;
}

TData* TSerialPollScript::GetStoredData() { return AVariable ? AVariable->GetData() : nullptr; }

bool TSerialPollScript::VariableNotify(TVariable*, int type) { return type == eatINTEGER; }

bool TSerialPollScript::CanReleaseVariable(TVariable* reference) {
  QORV_ASSERT_AS(reference!=0&&reference==AVariable.get(), "variable!=0&&variable==AVariable");
  QORV_ASSERT(AVariable->GetData()!=0);
  return AVariable->GetData()->GetDataType() != eatINTEGER;
}

bool TSerialPollScript::IsStoredVariable(TVariable* reference) {
  return reference != nullptr && reference == AVariable.get();
}

void TSerialPollScript::SetUpSerialPoll(TDevice* device, TDataSingle* variable) {
  QORV_ASSERT_AS(variable!=0&&device!=0, "datasingle!=0&&device!=0");
  if (!AVariable) AVariable = std::make_unique<TVariableDataSingle>(this);
  AVariable->SetData(variable);
  SetDevice(device);
}

bool TSerialPollScriptRequest::CanOpen() {
  if (Device && !Script) {
    Devices = {Device};  // the device list's choice, offered alone
    return true;
  }
  Devices = GpibCommandDevices();
  return Script || OfferedDevices(Devices,
                                  "Commands can only be sent to devices.  There are no devices.",
                                  "A Serial Poll can only be conducted on GPIB Devices. There "
                                  "are no GPIB devices.");
}

TCopyScript* TSerialPollScript::MakeCopyScript() {
  QORV_ASSERT(Device!=0);
  QORV_ASSERT(AVariable!=0);
  auto* variable = dynamic_cast<TDataSingle*>(AVariable->GetData());
  return new TCopySerialPoll(Pblock, Device, variable);
}

void TSerialPollScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copysp = dynamic_cast<TCopySerialPoll*>(copyscript);
  QORV_ASSERT_AS(copysp!=0, "copysp!=0");
  SetUpSerialPoll(copysp->GetDevice(), copysp->GetVariable());
}
