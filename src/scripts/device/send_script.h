// The Send command: transmits a command text to its device, a constant text optionally
// followed by the current value of a variable (or of one array element), through the
// device's communication, which turns the text into bytes with the device's send
// terminators. Without a variable the bytes are built once, before the run; with one
// they are built again at every execution, with the value formatted at that moment.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/command_devices.h"
#include "scripts/device/device_attribute_script.h"

class TData;
class TVariableData;

class TSendScript : public TDeviceAttributeScript {
public:
  // No device, empty text, no variable; terminators on; standard notation, decimals -1.
  TSendScript(TBlock* block, TTreeNode* node);
  // Releases the bytes and the variable reference, then leaves the device.
  ~TSendScript() override;

  // Sends the bytes; with a variable they are built first from the text and the value.
  // Failures of the communication stop the run with their EExperimentError.
  TScript* Execute() override;
  // "Sending to <device>", then the communication's own lines.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with a device: the copy record names it.
  bool CanMakeCopyScript() override { return Device != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // Links the next command and builds the bytes of the constant text. False (after its
  // message) when no bytes result.
  bool SetNextScript() override;
  // Text, variable (bool present, bool is an array, the reference's record), terminators,
  // notation, decimals, force space, then the base record. A block export takes the
  // variable along.
  void Save(TWriteFile& writer) override;
  // Reads the record; files before version 1.1 have no force-space flag (false).
  void Load(TReadFile& reader) override;
  // EReadError without a device or when the variable reference found no variable.
  void CheckAfterRead() override;
  // "<device>: Send(<text> <variable>) T" (NT without terminators); "Send Nothing"
  // without a device.
  std::string GetText() override;
  int GetScriptType() const override { return SEND; }
  // Any variable type can be sent, and a retype leaves the command as it is; the
  // command writes no variable.
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }

  // Sets notation, decimals and the terminators flag, then the variable (none for
  // none), the text, the force-space flag, and last the device. The element of an array
  // is chosen afterwards on the reference's index (element 0 until then).
  void SetUpSend(TDevice* device, const std::string& command, bool addTerminators,
                 TData* variable, std::uint8_t notation, std::int32_t decimals,
                 bool forceSpace);
  // None drops a held reference (notation 0, decimals 1). A variable keeps the held
  // reference when it is of the variable's kind, else gets a new one, and binds it; a
  // variable that is not a float resets notation to 0 and decimals to 1.
  void SetVariable(TData* variable);

  const std::string& GetCommandString() const { return ACommandString; }
  TVariableData* GetVariable() const { return Pvariable.get(); }
  bool GetSendTerminators() const { return AbSendTerminators; }
  std::uint8_t GetNotation() const { return ANotation; }
  std::int32_t GetDecimals() const { return ADecimals; }
  bool GetForceSpace() const { return AbForceSpace; }
  // The bytes prepared for the next send (none before the first preparation).
  const char* GetSendBuffer() const { return PSendBuffer.get(); }
  std::int32_t GetSendLength() const { return ASendLength; }

private:
  // The bytes of a text with the device's send terminators (or none), built before
  // the held ones are replaced.
  void BuildBuffer(const std::string& text);
  // With a variable: the bytes of the text and the variable's current value.
  void BuildVariableBuffer();

  std::string ACommandString;
  std::unique_ptr<char[]> PSendBuffer;
  std::int32_t ASendLength = 0;
  std::unique_ptr<TVariableData> Pvariable;
  bool AbSendTerminators = true;
  std::uint8_t ANotation = 0;  // the value's TNotationType
  std::int32_t ADecimals = -1;
  bool AbForceSpace = false;
};

// The Send dialog: the device given alone (the device list's choice), else every device
// of the list; a new command needs one (else the message why).
struct TSendScriptRequest : TDeviceScriptRequest {
  bool CanOpen() override;
  TSendScript* Send() const { return static_cast<TSendScript*>(Script); }
};
