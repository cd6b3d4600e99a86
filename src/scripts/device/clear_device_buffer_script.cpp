#include "scripts/device/clear_device_buffer_script.h"

#include "communication/communication.h"
#include "communication/device.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/ui_port.h"
#include "scripts/device/clear_device_buffer_copy.h"

namespace {

constexpr int PieceSize = 100;             // bytes per read
constexpr std::int64_t AskEvery = 1000;    // bytes between questions

std::string Decimal(std::int64_t value) { return NumberText::IntToText(value); }

// The user's choice after total bytes, asked on the main thread while the caller waits.
TMessageButton AskToGoOn(std::int64_t total) {
  const std::string text =
      "Zyq has already read " + Decimal(total) + " bytes.\r" +
      "Do you wish to continue reading (Yes), move on to the rest of the experiment(No) or\r" +
      "or abort the experiment(Cancel)";
  TMessageButton answer = mbCancel;
  UiPort().RunInMainThread([&] {
    answer = UiPort().Ask(text, "Qorv Warning", TMessageKind::Warning, mbYes | mbNo | mbCancel);
  });
  return answer;
}

}  // namespace

void TClearDeviceBufferScript::Clear(std::vector<std::string>* trace) {
  TCommunication& communication = GetCommunication();
  const std::string name = Device->GetName();
  char scratch[PieceSize];
  std::int64_t limit = AskEvery;
  int count = 0;
  communication.Read(scratch, PieceSize, -1, count);  // the time-out tells nothing here
  std::int64_t total = count;
  while (count > 0 && total < limit) {
    count = 0;
    communication.Read(scratch, PieceSize, -1, count);
    total += count;
    if (total < limit) continue;
    const TMessageButton answer = AskToGoOn(total);
    if (answer == mbYes) {
      limit += AskEvery;
      if (trace) trace->push_back("Cleared " + Decimal(total) + " from read buffer of " + name);
    } else if (answer == mbNo) {
      if (trace) trace->push_back("Skipping rest of bytes from" + name);
      return;
    } else {
      if (trace) trace->push_back("Aborting experiment on Clear Buffer");
      throw EExperimentError("User aborted Clear Device.");
    }
  }
  if (trace) trace->push_back("Cleared " + Decimal(total) + " bytes from read buffer of " + name);
}

TScript* TClearDeviceBufferScript::Execute() {
  if (!AbCommentedOut && Device) Clear(nullptr);
  return Pnextscript;
}

TScript* TClearDeviceBufferScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (!AbCommentedOut && Device) Clear(&trace);
  return Pnextscript;
}

void TClearDeviceBufferScript::Load(TReadFile& reader) {
  TDeviceAttributeScript::Load(reader);
  UpdateNodeText();
}

std::string TClearDeviceBufferScript::GetText() {
  return Device ? "Clear Read Buffer: " + Device->GetName() : "Clear Nothing";
}

bool TClearDeviceBufferScriptRequest::CanOpen() {
  Devices = CommandDevices();
  if (Script) {
    if (Devices.size() != 1) return true;
    Inform("There is only one device to clear, there is nothing to edit.");
    return false;
  }
  TDevice* device = Device;
  if (!device && Devices.empty()) {
    Inform("There are no devices to clear.");
    return false;
  }
  if (!device && Devices.size() == 1) device = Devices.front();
  if (!device) return true;  // the user chooses
  QORV_ASSERT(Experiment!=0);
  auto* made = static_cast<TClearDeviceBufferScript*>(
      AddScriptToSelectedBlock(*Experiment, TScript::CLEARDEVICEBUFFER));
  made->SetDevice(device);
  Script = made;
  MadeWithoutDialog = true;
  UiPort().ExperimentChanged(1, 0);
  return false;
}

TCopyScript* TClearDeviceBufferScript::MakeCopyScript() {
  QORV_ASSERT(Device!=0);
  return new TCopyClearDeviceBuffer(Device);
}

void TClearDeviceBufferScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copybuffer = dynamic_cast<TCopyClearDeviceBuffer*>(copyscript);
  QORV_ASSERT_AS(copybuffer!=0, "copybuffer!=0");
  SetDevice(copybuffer->GetDevice());
}
