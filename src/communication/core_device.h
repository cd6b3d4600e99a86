// The definition of an instrument without its connection: name, icon, the characters
// appended to every command sent and those that end a read, and the predefined commands
// (each with an optional description of its response). The device record of device,
// configuration, experiment and block files starts with it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/component.h"

class TCoreDevice;
class TReadFile;
class TReadResponse;
class TReport;
class TWriteFile;

// The device icons of the device list; index 0 is the default icon.
using TImageList = std::vector<TIcon>;

// A predefined command of a device: the text sent and, optionally, its response.
class TDeviceScript {
public:
  // No response; the device's send characters are appended.
  explicit TDeviceScript(const std::string& command);
  // Leaves its core device's list; frees the response.
  ~TDeviceScript();
  TDeviceScript(const TDeviceScript&) = delete;
  TDeviceScript& operator=(const TDeviceScript&) = delete;

  // "Send(" + command + ")", then "+" and the response's text when there is one.
  std::string GetText() const;
  // A bold command line, then the response's lines or "No response.".
  void Describe(TReport& report) const;
  // Stores the flag; true while the command has a response.
  void SetSendEndChars(bool sendEndChars);
  bool GetSendEndChars() const { return SendEndChars; }
  // Creates a response when there is none (ending characters are then sent).
  void EnsureResponse();
  TReadResponse* GetResponse() const { return PReadResponse.get(); }
  const std::string& GetCommand() const { return Command; }
  void SetCommand(const std::string& command) { Command = command; }
  TCoreDevice* GetOwner() const { return Owner; }

  // The record: command, send-ending-characters flag, has response, the response.
  void Save(TWriteFile& writer) const;
  // Reads the record into this command; the stored flag is taken unchanged.
  void Load(TReadFile& reader);

private:
  friend class TCoreDevice;

  std::unique_ptr<TReadResponse> PReadResponse;
  std::string Command;
  bool SendEndChars = true;
  TCoreDevice* Owner = nullptr;
};

class TCoreDevice {
public:
  // The image list (required) belongs to the device list.
  explicit TCoreDevice(TImageList* imagelist);
  // Deletes every command.
  ~TCoreDevice();
  TCoreDevice(const TCoreDevice&) = delete;
  TCoreDevice& operator=(const TCoreDevice&) = delete;

  // Null when the index is out of range.
  TDeviceScript* GetScript(int index) const;
  int GetScriptCount() const { return static_cast<int>(Scripts.size()); }
  // A new command with the text, appended.
  TDeviceScript* NewScript(const std::string& command);
  // Takes the command (required) over, appended unless listed already; its index.
  int AddScript(TDeviceScript* script);
  // The command must be listed; it leaves the list and has no owner.
  void RemoveScript(TDeviceScript* script);
  // Appends every command (still owned here) to the list; the command editor works on
  // such a list.
  void CopyScriptsTo(std::vector<TDeviceScript*>& list) const;
  // Takes over every command of the list, in order; their entries become null.
  void TakeScripts(std::vector<TDeviceScript*>& list);

  // Adds the icon to the image list and keeps its index; none gives index 0.
  void SetIcon(const TIcon* icon);
  // Fills the icon from the image list; true when it is the default icon (index 0).
  bool GetIcon(TIcon& icon) const;
  std::int32_t GetIconIndex() const { return AIconIndex; }

  const std::string& GetName() const { return Name; }
  void SetName(const std::string& name) { Name = name; }
  // Character codes; 0 is none.
  std::int32_t GetSendChar1() const { return ASendChar1; }
  std::int32_t GetSendChar2() const { return ASendChar2; }
  std::int32_t GetReadChar1() const { return AReadChar1; }
  std::int32_t GetReadChar2() const { return AReadChar2; }
  void SetSendChar1(std::int32_t code) { ASendChar1 = code; }
  void SetSendChar2(std::int32_t code) { ASendChar2 = code; }
  void SetReadChar1(std::int32_t code) { AReadChar1 = code; }
  void SetReadChar2(std::int32_t code) { AReadChar2 = code; }

  // The core device record.
  void Save(TWriteFile& writer) const;
  // Reads the record, replacing every command. EReadError(InvalidDeviceRecordText) for
  // a character outside 0..255.
  void Load(TReadFile& reader);
  // Printout lines: the EOI line (eoi 0 or 1; none otherwise), the four characters and,
  // with commands, the commands.
  void DescribeCoreDevice(TReport& report, int eoi, bool withCommands) const;
  // "None", "\n", "\r" or "0x" and at least three upper-case hexadecimal digits.
  static std::string CharacterText(std::int32_t code);

private:
  std::vector<TDeviceScript*> Scripts;  // owned
  std::string Name = "None";
  std::int32_t AIconIndex = 0;
  std::int32_t ASendChar1 = 0;
  std::int32_t ASendChar2 = 0;
  std::int32_t AReadChar1 = 0;
  std::int32_t AReadChar2 = 0;
  TImageList* Pimagelist;
};
