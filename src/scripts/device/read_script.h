// The Read command: reads one response from its device and stores it in a variable, a
// single variable or the first points of an array (a fixed number of points or the value
// of an integer variable), optionally storing the number of bytes read in an integer
// variable. Its read descriptor decodes the response (ASCII or binary) into the target.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "communication/read_data.h"
#include "scripts/device/device_attribute_script.h"
#include "scripts/script_request.h"

class TData;
class TReadResponse;
class TVariableData;
class TVariableDataSingle;

class TReadScript : public TDeviceAttributeScript, public TReadDataOwner {
public:
  // No target, no byte-count variable, no descriptor; both text options on.
  TReadScript(TBlock* block, TTreeNode* node);
  // Deletes the references (each leaves its variable) and the descriptor, then leaves the
  // device.
  ~TReadScript() override;

  // Reads the response into the target. EExperimentError for more points than the array
  // holds, for a time-out without a byte-count variable, and for a decoding error (the
  // variable's name + " read error: " + its text); the communication's errors pass on.
  TScript* Execute() override;
  // As Execute, after "Reading from " + the device's name, with the communication's trace.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyRead with the block, the device, the variables, the response and the options.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyRead: SetUpRead with its device, target, response and options.
  void SetUp(TCopyScript* copyscript) override;
  // The listing line, then an italic line one level deeper describing the read.
  void AddTextLine(TReport& report) override;
  // The default, then the descriptor takes the device's read terminators and makes its
  // decoder (EExperimentError for a binary read of more than 4 bytes per point); an
  // integer or float array target turns the whitespace option on for good.
  bool SetNextScript() override;
  // bool array target, the target reference, bool byte count, [its reference], the
  // descriptor, bool D to E, bool whitespace, the base record. A block export takes the
  // references along.
  void Save(TWriteFile& writer) override;
  // Reads the record (the options only from files of version 1.4 on; older ones set
  // both); the references wait in the reader for their variables, the command for its
  // device. EReadError for an ASCII array read without a delimiter.
  void Load(TReadFile& reader) override;
  // Only within its own block.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // EReadError when the target, the byte-count or the points reference names no
  // variable, or the command has no device.
  void CheckAfterRead() override;
  // [device name + ": "] + "Read ASCII" / "Read Binary" + "(" + variable [+ points] + ")".
  std::string GetText() override;
  int GetScriptType() const override { return READ; }
  TData* GetStoredData() override;
  TData* GetSecondStoredData() override;
  // The byte-count and points references keep integer variables only.
  bool VariableNotify(TVariable* reference, int type) override;
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override;
  // The fixed number of points of an array read; 0 for a single read or points taken
  // from a variable.
  std::int32_t GetPointsRead() const override;

  // TReadDataOwner
  TAttributeScript* GetReadScript() override { return this; }
  bool GetDToE() const override { return DoCleanString; }
  bool GetWhitespaceIsDelimiter() const override { return WSDelimiter; }

  // The dialogs' OK (and a device's predefined command): target, byte-count variable
  // (when the response stores it), descriptor settings from the response, both options,
  // then the device. The variable is required.
  void SetUpRead(TDevice* device, TData* variable, const TReadResponse& response,
                 bool cleanString, bool wsDelimiter);
  // Binds the target; a reference (and descriptor) of the other kind goes first.
  void SetVariable(TData* variable);
  // Binds the byte-count variable; none drops it.
  void SetReadCountVariable(TData* variable);
  // The descriptor, made for the target's kind when missing (an array: delimiter ";",
  // 10 points).
  TReadData* MakeReadData();
  // The command's settings for the dialog.
  void FillResponse(TReadResponse& response);

  TVariableData* GetVariable() const { return Pvariable.get(); }
  TVariableDataSingle* GetReadCountVariable() const { return Preadcountvar.get(); }
  TReadData* GetReadData() const { return Preaddata.get(); }
  bool GetCleanString() const { return DoCleanString; }
  bool GetWSDelimiter() const { return WSDelimiter; }

private:
  // Points to read, checked against the target's size (array storage made first).
  std::int32_t CheckSize();
  // The character that ends an ASCII read; -1 (none) for a binary read.
  int ReadTerminator() const;
  // Reads into the descriptor's buffer, stores the byte count or refuses a time-out,
  // then decodes. A null trace: the plain read.
  void ReadResponse(std::vector<std::string>* trace);
  // The points reference of an array descriptor; none otherwise.
  TVariableDataSingle* PointsReference() const;

  std::unique_ptr<TVariableData> Pvariable;
  std::unique_ptr<TVariableDataSingle> Preadcountvar;
  std::unique_ptr<TReadData> Preaddata;
  bool DoCleanString = true;
  bool WSDelimiter = true;
};

// The Read dialog of a new command or of the command changed.
struct TReadScriptRequest : TScriptRequest {
  TReadScript* Read() const { return static_cast<TReadScript*>(Script); }
  // A new command needs a device to read from: without one, "There are no devices to
  // read from." and no dialog.
  bool CanOpen() override;
};

// Whether the session's device list has a device; without one, says "There are no
// devices to read from.".
bool HasDevicesToReadFrom();
