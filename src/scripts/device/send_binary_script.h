// The Send Binary command: sends the first N values of an integer or float array to a
// device as raw little-endian binary data: 2-byte integers (the low 16 bits of each
// value), 4-byte integers or 4-byte IEEE single floats. N is the whole array, a
// constant, or the current value of an integer variable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/command_devices.h"
#include "scripts/device/device_attribute_script.h"

class TDataArray;
class TDataSingle;
class TVariableDataArray;
class TVariableDataSingle;

class TSendBinaryScript : public TDeviceAttributeScript {
public:
  // How the values go out.
  enum : std::uint8_t { sbINT16 = 0, sbINT32 = 1, sbFLOAT = 2 };

  // No device, no array, the whole array, floats.
  TSendBinaryScript(TBlock* block, TTreeNode* node);
  // Releases both references, then leaves the device.
  ~TSendBinaryScript() override;

  // Sends the values. EExperimentError for a number of points below 1 or above the
  // array's size, an array never written, a binary type that does not fit the array,
  // and the communication's failures.
  TScript* Execute() override;
  // "Sending <array> to <device>", the communication's lines, then
  // "Sent <N> points, <bytes> bytes.".
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with a device and an array: the copy record names it.
  bool CanMakeCopyScript() override { return Device != nullptr && PSendArray != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // The array reference's record, bool count variable [its record], int32 count, int32
  // binary type, then the base record. A block export takes both variables along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the binary type is kept in its byte as read.
  void Load(TReadFile& reader) override;
  // EReadError when a variable is missing (checked first) or without a device.
  void CheckAfterRead() override;
  // "Gen: SendBinary(wave[...], IEEE Floating Point)"; empty without a device.
  std::string GetText() override;
  int GetScriptType() const override { return SENDBINARY; }
  // The array takes integers and floats, the count only integers.
  bool VariableNotify(TVariable* reference, int type) override;
  // After a retype: true when the variable's new type is refused (the command goes).
  // An array that stays takes the binary type of its new type: 4-byte integers or
  // floats. The count variable never changes the binary type.
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable*) override { return false; }

  // The first count values (count > 0).
  void SetUpWithCount(TDevice* device, TDataArray* array, std::uint8_t binaryType,
                      std::int32_t count);
  // As many values as the integer variable holds when the command runs.
  void SetUpWithCountVariable(TDevice* device, TDataArray* array, std::uint8_t binaryType,
                              TDataSingle* countVariable);
  void SetUpWholeArray(TDevice* device, TDataArray* array, std::uint8_t binaryType);

  TVariableDataArray* GetSendArray() const { return PSendArray.get(); }
  TVariableDataSingle* GetPointCountVariable() const { return PPointCountVariable.get(); }
  std::int32_t GetPointCount() const { return PPointCount; }
  std::uint8_t GetBinaryType() const { return ABinaryType; }

private:
  // The array (required), the type and the device: the step every set-up ends with.
  void SetUpArray(TDevice* device, TDataArray* array, std::uint8_t binaryType);
  // Checks the number of points and builds the bytes to send; N is the number of points.
  std::vector<char> BuildBytes(std::int32_t& points);

  std::unique_ptr<TVariableDataArray> PSendArray;
  std::unique_ptr<TVariableDataSingle> PPointCountVariable;
  std::int32_t PPointCount = -1;
  std::uint8_t ABinaryType = sbFLOAT;
};

// The Send Binary Data dialog: every device of the list; a new command needs one (else
// the message why).
struct TSendBinaryScriptRequest : TDeviceScriptRequest {
  bool CanOpen() override;
  TSendBinaryScript* SendBinary() const { return static_cast<TSendBinaryScript*>(Script); }
};
