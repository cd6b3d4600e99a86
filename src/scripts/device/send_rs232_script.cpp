#include "scripts/device/send_rs232_script.h"

#include "communication/device.h"
#include "communication/rs232.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "model/assertion.h"
#include "scripts/device/send_rs232_copy.h"

TRS232& TSendRS232Script::GetRS232() {
  auto* rs232 = dynamic_cast<TRS232*>(&GetCommunication());
  if (!rs232) throw EExperimentError(GetText() + " needs an RS232 device.");
  return *rs232;
}

TScript* TSendRS232Script::Execute() {
  if (!AbCommentedOut) GetRS232().ClearBuffers(AbClearTransmit, AbClearReceive);
  return Pnextscript;
}

TScript* TSendRS232Script::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  TRS232& rs232 = GetRS232();
  std::string line = Device->GetName() + ": ";
  if (AbClearTransmit) line += " clearing transmit buffer";
  if (AbClearTransmit && AbClearReceive) line += " and ";
  if (AbClearReceive) line += "clearing receive buffer";
  trace.push_back(line);
  rs232.ClearBuffers(AbClearTransmit, AbClearReceive);
  return Pnextscript;
}

bool TSendRS232Script::SetNextScript() {
  TScript::SetNextScript();
  TCommunication* communication = CommunicationForRun();
  if (!communication) return false;
  if (dynamic_cast<TRS232*>(communication)) return true;
  UiPort().ShowMessage("Will Not Run, " + GetText() + " needs an RS232 device.", "",
                       TMessageKind::Information);
  return false;
}

void TSendRS232Script::Save(TWriteFile& writer) {
  writer.WriteBool(AbClearTransmit);
  writer.WriteBool(AbClearReceive);
  TDeviceAttributeScript::Save(writer);
}

void TSendRS232Script::Load(TReadFile& reader) {
  bool transmit = false;
  bool receive = false;
  reader.ReadBool(transmit);
  reader.ReadBool(receive);
  TDeviceAttributeScript::Load(reader);
  AbClearTransmit = transmit;
  AbClearReceive = receive;
  UpdateNodeText();
}

void TSendRS232Script::CheckAfterRead() {
  if (!Device) throw EReadError("Device not defined for SendRS232 script command...aborting read");
}

std::string TSendRS232Script::GetText() {
  if (!Device) return "Send RS232 Nothing";
  std::string text = Device->GetName() + ": Send RS232(";
  if (AbClearTransmit) text += "Clear Transmit";
  if (AbClearReceive) text += AbClearTransmit ? ", Clear Receive" : "Clear Receive";
  return text + ")";
}

void TSendRS232Script::SetUpSendRS232(TDevice* device, bool clearTransmit, bool clearReceive) {
  AbClearTransmit = clearTransmit;
  AbClearReceive = clearReceive;
  SetDevice(device);
}

bool TSendRS232ScriptRequest::CanOpen() {
  Devices = Rs232CommandDevices();
  return Script || OfferedDevices(Devices,
                                  "Commands can only be sent to devices.  There are no devices.",
                                  "These commands can only be sent to RS232 Devices. There are "
                                  "no RS232 devices.");
}

TCopyScript* TSendRS232Script::MakeCopyScript() {
  QORV_ASSERT(Device!=0);
  return new TCopySendRS232(Device, AbClearTransmit, AbClearReceive);
}

void TSendRS232Script::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copysend = dynamic_cast<TCopySendRS232*>(copyscript);
  QORV_ASSERT_AS(copysend!=0, "copysend!=0");
  SetUpSendRS232(copysend->GetDevice(), copysend->ClearTransmit, copysend->ClearReceive);
}
