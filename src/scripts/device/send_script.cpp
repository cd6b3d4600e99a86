#include "scripts/device/send_script.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "communication/communication.h"
#include "communication/device.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"
#include "scripts/device/send_copy.h"

namespace {
const char* const DeviceNotDefined = "Device not defined for Send script...aborting read";
const char* const VariableNotDefined = "Variable not defined for Send script...aborting read";
const char* const BadNotation = "Invalid number notation in Send script...aborting read";
}  // namespace

TSendScript::TSendScript(TBlock* block, TTreeNode* node) : TDeviceAttributeScript(block, node) {}

TSendScript::~TSendScript() {
  PSendBuffer.reset();
  Pvariable.reset();
}

void TSendScript::BuildBuffer(const std::string& text) {
  TCommunication& communication = GetCommunication();
  int term1 = 0;
  int term2 = 0;
  if (AbSendTerminators) {
    const TCoreDevice& core = Device->GetCoreDevice();
    term1 = core.GetSendChar1();
    term2 = core.GetSendChar2();
  }
  int length = 0;
  // The new bytes are complete before the held ones go.
  std::unique_ptr<char[]> bytes =
      communication.BuildSendCommand(text, term1, term2, AbSendTerminators, length);
  PSendBuffer = std::move(bytes);
  ASendLength = PSendBuffer ? length : 0;
}

void TSendScript::BuildVariableBuffer() {
  const std::string value = Pvariable->GetValueFormatted(ANotation, ADecimals);
  if (ACommandString.empty())
    BuildBuffer(value);
  else
    BuildBuffer(ACommandString + (AbForceSpace ? " " : "") + value);
}

TScript* TSendScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  if (Pvariable)
    BuildVariableBuffer();
  else if (!PSendBuffer)
    BuildBuffer(ACommandString);
  GetCommunication().Send(PSendBuffer.get(), ASendLength, AbSendTerminators);
  return Pnextscript;
}

TScript* TSendScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  if (Pvariable)
    BuildVariableBuffer();
  else if (!PSendBuffer)
    BuildBuffer(ACommandString);
  TCommunication& communication = GetCommunication();
  trace.push_back("Sending to " + Device->GetName());
  communication.SendTrace(PSendBuffer.get(), ASendLength, AbSendTerminators, trace);
  return Pnextscript;
}

bool TSendScript::SetNextScript() {
  TScript::SetNextScript();
  if (!CommunicationForRun()) return false;
  PSendBuffer.reset();
  ASendLength = 0;
  BuildBuffer(ACommandString);
  if (PSendBuffer) return true;
  UiPort().ShowMessage("Will Not Run, " + GetText() + " command string not defined.", "",
                       TMessageKind::Information);
  return false;
}

void TSendScript::Save(TWriteFile& writer) {
  writer.WriteString(ACommandString);
  writer.WriteBool(Pvariable != nullptr);
  if (Pvariable) {
    QORV_ASSERT_AS(Pvariable->GetData()!=0, "Pvariable->Data!=0");
    SaveReference(writer, *Pvariable);
  }
  writer.WriteBool(AbSendTerminators);
  writer.WriteInteger(static_cast<std::int8_t>(ANotation));
  writer.WriteInteger(ADecimals);
  writer.WriteBool(AbForceSpace);
  TDeviceAttributeScript::Save(writer);
}

void TSendScript::Load(TReadFile& reader) {
  QORV_ASSERT(Pvariable==0);
  TWaitingReferences waiting(reader);
  std::string command = reader.ReadString();
  bool hasVariable = false;
  reader.ReadBool(hasVariable);
  std::unique_ptr<TVariableData> variable;
  if (hasVariable) variable = LoadReference(reader, this);
  bool terminators = true;
  reader.ReadBool(terminators);
  std::int32_t notation = 0;
  reader.ReadInteger(notation);
  // The byte is kept; only the three notations can format a value.
  const auto notationByte = static_cast<std::uint8_t>(notation & 0xFF);
  if (notationByte > ntSCIENTIFIC) throw EReadError(BadNotation);
  std::int32_t decimals = -1;
  reader.ReadInteger(decimals);
  bool forceSpace = false;
  if (reader.GetVersionNumber() >= qvV1_1) reader.ReadBool(forceSpace);
  TDeviceAttributeScript::Load(reader);
  ACommandString = std::move(command);
  Pvariable = std::move(variable);
  AbSendTerminators = terminators;
  ANotation = notationByte;
  ADecimals = std::min(decimals, NumberText::MaxDecimalPlaces);  // -1 (none) kept
  AbForceSpace = forceSpace;
  waiting.Keep();
  UpdateNodeText();
}

void TSendScript::CheckAfterRead() {
  if (!Device) throw EReadError(DeviceNotDefined);
  if (!Pvariable) return;
  if (!Pvariable->GetData()) throw EReadError(VariableNotDefined);
  // An array reference must name an element: one that lost its index variable cannot be
  // sent.
  auto* array = dynamic_cast<TVariableDataArray*>(Pvariable.get());
  if (array && array->GetArrayIndex().IsEntireArray()) throw EReadError(VariableNotDefined);
}

std::string TSendScript::GetText() {
  if (!Device) return "Send Nothing";
  std::string text = Device->GetName() + ": Send(";
  if (!ACommandString.empty() && Pvariable)
    text += ACommandString + " " + Pvariable->GetDescription();
  else if (!ACommandString.empty())
    text += ACommandString;
  else if (Pvariable)
    text += Pvariable->GetDescription();
  return text + (AbSendTerminators ? ") T" : ") NT");
}

void TSendScript::SetUpSend(TDevice* device, const std::string& command, bool addTerminators,
                            TData* variable, std::uint8_t notation, std::int32_t decimals,
                            bool forceSpace) {
  ANotation = notation;
  ADecimals = decimals;
  AbSendTerminators = addTerminators;
  SetVariable(variable);
  ACommandString = command;
  AbForceSpace = forceSpace;
  SetDevice(device);
}

void TSendScript::SetVariable(TData* variable) {
  if (!variable) {
    if (Pvariable) {
      Pvariable.reset();
      ANotation = ntSTANDARD;
      ADecimals = 1;
    }
    return;
  }
  if (Pvariable && Pvariable->IsArray() != variable->IsArray()) Pvariable.reset();
  if (!Pvariable) Pvariable = NewReference(this, variable->IsArray());
  Pvariable->SetData(variable);
  if (variable->GetDataType() != eatFLOAT) {
    ANotation = ntSTANDARD;
    ADecimals = 1;
  }
}

bool TSendScriptRequest::CanOpen() {
  if (Device && !Script) {
    Devices = {Device};
    return true;
  }
  Devices.clear();
  for (TDevice* device : CommandDevices())
    if (device->HasCoreDevice()) Devices.push_back(device);
  if (Script || !Devices.empty()) return true;
  Inform("Can only send commands to devices.  There are no devices defined.");
  return false;
}

TCopyScript* TSendScript::MakeCopyScript() {
  QORV_ASSERT(Device!=0);
  auto* sendcopy = new TCopySend(Device, ACommandString, AbSendTerminators, Pvariable.get(),
                                 ANotation, ADecimals, AbForceSpace);
  QORV_ASSERT(sendcopy!=0);
  return sendcopy;
}

void TSendScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copysend = dynamic_cast<TCopySend*>(copyscript);
  QORV_ASSERT_AS(copysend!=0, "copysend!=0");
  const TCopyVariableData* variable = copysend->CopyVariable.get();
  SetUpSend(copysend->GetDevice(), copysend->CommandString, copysend->SendTerminators,
            variable ? variable->Data : nullptr, copysend->Notation, copysend->Decimals,
            copysend->ForceSpace);
  if (variable) {
    variable->SetUpVariable(Pvariable.get());
    UpdateNodeText();  // the element index shows in the text
  }
}
