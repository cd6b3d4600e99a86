#include "scripts/device/send_gpib_script.h"

#include "communication/communication.h"
#include "communication/device.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "model/assertion.h"
#include "scripts/device/send_gpib_copy.h"

namespace {
const char* const FlagNames[] = {"REN", "GTL", "DCL", "IFC", "LLO"};
constexpr int FlagCount = 5;
}  // namespace

TSendGPIBScript::TSendGPIBScript(TBlock* block, TTreeNode* node)
    : TDeviceAttributeScript(block, node) {}

TSendGPIBScript::~TSendGPIBScript() { PSendBuffer.reset(); }

TScript* TSendGPIBScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  TCommunication& communication = GetCommunication();
  if (!PSendBuffer && !PrepareBuffer(communication))
    throw EExperimentError(GetText() + " needs a GPIB device.");
  communication.Send(PSendBuffer.get(), ASendLength, true);
  return Pnextscript;
}

TScript* TSendGPIBScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  TCommunication& communication = GetCommunication();
  if (!PSendBuffer && !PrepareBuffer(communication))
    throw EExperimentError(GetText() + " needs a GPIB device.");
  trace.push_back("Sending to " + Device->GetName());
  communication.SendTrace(PSendBuffer.get(), ASendLength, true, trace);
  return Pnextscript;
}

bool TSendGPIBScript::PrepareBuffer(TCommunication& communication) {
  PSendBuffer.reset();
  ASendLength = -1;
  auto* gpib = dynamic_cast<TGPIB*>(&communication);
  if (!gpib) return false;
  int length = 0;
  PSendBuffer = gpib->BusCommandString(ABusCommands, length);
  ASendLength = length;
  return true;
}

bool TSendGPIBScript::SetNextScript() {
  TScript::SetNextScript();
  TCommunication* communication = CommunicationForRun();
  if (!communication) return false;
  if (PrepareBuffer(*communication)) return true;
  UiPort().ShowMessage("Will Not Run, " + GetText() + " needs a GPIB device.", "",
                       TMessageKind::Information);
  return false;
}

void TSendGPIBScript::Save(TWriteFile& writer) {
  for (int i = 0; i < FlagCount; ++i) writer.WriteBool((ABusCommands & (1 << i)) != 0);
  TDeviceAttributeScript::Save(writer);
}

void TSendGPIBScript::Load(TReadFile& reader) {
  std::uint8_t flags = 0;
  for (int i = 0; i < FlagCount; ++i) {
    bool set = false;
    reader.ReadBool(set);
    if (set) flags |= static_cast<std::uint8_t>(1 << i);
  }
  TDeviceAttributeScript::Load(reader);
  ABusCommands = flags;
  UpdateNodeText();
}

void TSendGPIBScript::CheckAfterRead() {
  if (!Device) throw EReadError("Device not defined for SendGPIB script command...aborting read");
}

std::string TSendGPIBScript::GetText() {
  if (!Device) return "Send GPIB Nothing";
  std::string names;
  for (int i = 0; i < FlagCount; ++i)
    if (ABusCommands & (1 << i)) names += (names.empty() ? "" : " ") + std::string(FlagNames[i]);
  return Device->GetName() + ": Send GPIB Commands(" + names + ")";
}

void TSendGPIBScript::SetUpSendGPIB(TDevice* device, std::uint8_t busCommands) {
  ABusCommands = busCommands;
  SetDevice(device);
}

bool TSendGPIBScriptRequest::CanOpen() {
  Devices = GpibCommandDevices();
  return Script || OfferedDevices(Devices,
                                  "Commands can only be sent to devices.  There are no devices.",
                                  "GPIB commands can only be sent to GPIB Devices. There are no "
                                  "GPIB devices.");
}

TCopyScript* TSendGPIBScript::MakeCopyScript() {
  QORV_ASSERT(Device!=0);
  return new TCopySendGPIB(Device, ABusCommands);
}

void TSendGPIBScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* sendgpibscript = dynamic_cast<TCopySendGPIB*>(copyscript);
  QORV_ASSERT_AS(sendgpibscript!=0, "sendgpibscript!=0");
  SetUpSendGPIB(sendgpibscript->GetDevice(), sendgpibscript->BusCommands);
}
