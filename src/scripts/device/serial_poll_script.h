// The Serial Poll command: serial-polls a GPIB device and stores its status byte, 0 to
// 255, in a single integer variable.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scripts/command_devices.h"
#include "scripts/device/device_attribute_script.h"

class TDataSingle;
class TVariableDataSingle;

class TSerialPollScript : public TDeviceAttributeScript {
public:
  // No device, no variable.
  TSerialPollScript(TBlock* block, TTreeNode* node);
  // Releases the variable reference, then leaves the device.
  ~TSerialPollScript() override;

  // Polls and stores the status byte. EExperimentError when the device is not on GPIB,
  // and the poll's failures.
  TScript* Execute() override;
  // "Serial polling: <device>", the poll's own lines, then the store.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with a device and a variable: the copy record names it.
  bool CanMakeCopyScript() override { return Device != nullptr && AVariable != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // Links the next command; a device that is no longer on GPIB refuses the run after its
  // message.
  bool SetNextScript() override;
  // The variable reference's record, then the base record. A block export takes the
  // variable along.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // EReadError when the variable is missing (checked first) or without a device.
  void CheckAfterRead() override;
  // "status=Serial Poll: DMM"; the parts of a missing variable or device are left out.
  std::string GetText() override;
  int GetScriptType() const override { return SERIALPOLL; }
  TData* GetStoredData() override;
  // Only an integer can take the status byte; once the variable is no longer one, the
  // command goes with it.
  bool VariableNotify(TVariable* reference, int type) override;
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override;

  // Binds the variable (required), then the device (required).
  void SetUpSerialPoll(TDevice* device, TDataSingle* variable);

  TVariableDataSingle* GetVariable() const { return AVariable.get(); }

private:
  // Polls through the device's GPIB communication and stores the byte.
  template <typename Poll>
  void PollAndStore(Poll poll);

  std::unique_ptr<TVariableDataSingle> AVariable;
};

// The Serial Poll dialog: the GPIB devices, or the device given alone. A new command
// needs one (else the message why); a command changed opens also when its device is no
// longer offered.
struct TSerialPollScriptRequest : TDeviceScriptRequest {
  bool CanOpen() override;
  TSerialPollScript* SerialPoll() const { return static_cast<TSerialPollScript*>(Script); }
};
