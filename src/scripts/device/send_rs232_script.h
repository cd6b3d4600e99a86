// The Send RS232 command: clears the transmit buffer, the receive buffer or both of an
// RS-232 device's serial port.
#pragma once

#include <string>
#include <vector>

#include "scripts/command_devices.h"
#include "scripts/device/device_attribute_script.h"

class TRS232;

class TSendRS232Script : public TDeviceAttributeScript {
public:
  // No device, nothing to clear.
  using TDeviceAttributeScript::TDeviceAttributeScript;

  // Clears the chosen buffers of the port. EExperimentError when the device is not on
  // RS-232, and the port's failures.
  TScript* Execute() override;
  // "<device>: " with " clearing transmit buffer", " and ", "clearing receive buffer"
  // as chosen; then clears as Execute does.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with a device: the copy record names it.
  bool CanMakeCopyScript() override { return Device != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // Links the next command; a device that is no longer on RS-232 refuses the run after
  // its message.
  bool SetNextScript() override;
  // bool clear transmit, bool clear receive, then the base record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // EReadError without a device.
  void CheckAfterRead() override;
  // "<device>: Send RS232(Clear Transmit, Clear Receive)"; "Send RS232 Nothing" without
  // a device.
  std::string GetText() override;
  int GetScriptType() const override { return SENDRS232; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }

  // Both flags, then the device.
  void SetUpSendRS232(TDevice* device, bool clearTransmit, bool clearReceive);

  bool GetClearTransmit() const { return AbClearTransmit; }
  bool GetClearReceive() const { return AbClearReceive; }

private:
  // The device's serial communication; EExperimentError for any other kind.
  TRS232& GetRS232();

  bool AbClearTransmit = false;
  bool AbClearReceive = false;
};

// The Send RS232 dialog: the RS-232 devices. A new command needs one (else the message
// why); a command changed opens also when its device is no longer offered.
struct TSendRS232ScriptRequest : TDeviceScriptRequest {
  bool CanOpen() override;
  TSendRS232Script* SendRS232() const { return static_cast<TSendRS232Script*>(Script); }
};
