// The Send GPIB command: sends a set of GPIB bus commands (REN, GTL, DCL, IFC, LLO)
// through a GPIB device's board. The device's GPIB communication prepares the bytes
// once, before the run; each execution sends them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/command_devices.h"
#include "scripts/device/device_attribute_script.h"

class TSendGPIBScript : public TDeviceAttributeScript {
public:
  // The bus-command flags, one bit each.
  enum : std::uint8_t { REN = 1, GTL = 2, DCL = 4, IFC = 8, LLO = 16 };

  // No device, no bus command.
  TSendGPIBScript(TBlock* block, TTreeNode* node);
  ~TSendGPIBScript() override;

  // Sends the prepared bytes with EOI. Failures of the communication stop the run.
  TScript* Execute() override;
  // "Sending to <device>", then the communication's own lines.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with a device: the copy record names it.
  bool CanMakeCopyScript() override { return Device != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // Links the next command and lets the device's GPIB communication prepare the bytes.
  // A device that is no longer on GPIB refuses the run after its message.
  bool SetNextScript() override;
  // Five bools (REN, GTL, DCL, IFC, LLO), then the base record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // EReadError without a device.
  void CheckAfterRead() override;
  // "<device>: Send GPIB Commands(REN LLO)"; "Send GPIB Nothing" without a device.
  std::string GetText() override;
  int GetScriptType() const override { return SENDGPIB; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }

  // The flags, then the device.
  void SetUpSendGPIB(TDevice* device, std::uint8_t busCommands);

  std::uint8_t GetBusCommands() const { return ABusCommands; }
  const char* GetSendBuffer() const { return PSendBuffer.get(); }
  std::int32_t GetSendLength() const { return ASendLength; }

private:
  // Releases the held bytes and lets the communication, when it is a GPIB one, prepare
  // new ones; false for any other kind.
  bool PrepareBuffer(TCommunication& communication);

  std::unique_ptr<char[]> PSendBuffer;
  std::int32_t ASendLength = -1;
  std::uint8_t ABusCommands = 0;
};

// The Send GPIB Commands dialog: the GPIB devices. A new command needs one (else the
// message why); a command changed opens also when its device is no longer offered.
struct TSendGPIBScriptRequest : TDeviceScriptRequest {
  bool CanOpen() override;
  TSendGPIBScript* SendGPIB() const { return static_cast<TSendGPIBScript*>(Script); }
};
