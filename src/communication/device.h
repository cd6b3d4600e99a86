// An instrument of the experiment: its definition (the core device) bound to the
// communication that reaches it, to its entry in the device list and to the device
// commands of the experiment that use it. Deleting a device deletes those commands.
// A device is written to and read from a device file of its own (".dev").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "communication/core_device.h"
#include "model/ordered_set.h"

class TCommunication;
class TCopyScript;
class TDeviceAttributeScript;
class TDeviceList;
class TDevicePlacer;
class TExperiment;
class THolderDevice;
class TReadFile;
class TWriteFile;

// What the device list shows for a device.
struct TDeviceListItem {
  std::string Caption;        // the device name, or "No name"
  std::string Communication;  // the communication's name, or "No communication"
  std::int32_t ImageIndex = 0;
};

class TDevice {
public:
  // Makes the core device when an image list is given; no communication.
  explicit TDevice(TImageList* imagelist);
  // Disables a copy record naming the device, then deletes the communication, the core
  // device and every command that uses the device.
  ~TDevice();
  TDevice(const TDevice&) = delete;
  TDevice& operator=(const TDevice&) = delete;

  // Computes the list entry's texts again, refreshes the node texts of the commands
  // that use the device and repaints the views.
  void UpdateListItem();
  const TDeviceListItem& GetListItem() const { return ListItem; }

  // The command (required, not listed yet) uses the device.
  void AddScript(TDeviceAttributeScript* script);
  // The command (listed) no longer uses the device.
  void RemoveScript(TDeviceAttributeScript* script);
  bool HasScripts() const { return !Scripts.Empty(); }
  std::vector<TDeviceAttributeScript*> GetScripts() const { return Scripts.Items(); }

  // The clipboard's copy record of a command that uses this device (one at a time).
  void SetCopyScript(TCopyScript* script);
  void ClearCopyScript() { Pcopyscript = nullptr; }
  TCopyScript* GetCopyScript() const { return Pcopyscript; }

  // The core device (required).
  TCoreDevice& GetCoreDevice() const;
  bool HasCoreDevice() const { return Pcoredevice != nullptr; }
  // The core device's name; "None" without one.
  std::string GetName() const;
  // The communication's name + ": " + the device name; "None" without either.
  std::string GetDisplayName() const;
  TCommunication* GetCommunication() const { return Pcommunication.get(); }
  void SetCommunication(std::unique_ptr<TCommunication> communication);
  // The device file last read or written; empty before.
  const std::string& GetFileName() const { return FileName; }

  // Writes the device file (the name is required); an error is shown with its message
  // and answers false.
  bool SaveDeviceFile(const std::string& fileName);
  // Reads the device file into the device and places it. An error is shown with its
  // message and answers false, the device keeping what it had read; otherwise the
  // placement's answer. The reader is closed in every case. A device that answers false
  // is removed by its caller.
  bool LoadDeviceFile(const std::string& fileName, TDevicePlacer& placer);

  // The device record: the core device record, the communication's kind and settings.
  void SaveDeviceRecord(TWriteFile& writer) const;
  // EReadError(InvalidDeviceRecordText) for an unknown kind or settings out of range.
  void LoadDeviceRecord(TReadFile& reader);
  // The record, then the identifiers of the commands that use the device.
  void SaveDevice(TWriteFile& writer) const;
  // Only for a block export with commands: the record, then the identifiers of the
  // exported commands that use the device, which leave the export's command list.
  void SaveUsedDevice(TWriteFile& writer) const;
  // The record, then the identifiers: each binds the first device command read from
  // the file under it; one without a match is skipped. An identifier not above 0 is
  // EReadError(InvalidDeviceRecordText).
  void LoadDevice(TReadFile& reader);

  // The device leaves the list; with transfer its commands go to the list, forgetting
  // the device.
  void Detach(bool transfer, std::vector<TDeviceAttributeScript*>& list);
  // Every command of the list uses this device; the list is emptied.
  void AdoptScripts(std::vector<TDeviceAttributeScript*>& list);

  // Binds the device to a location of the communications tree (required). A device
  // without one takes it and keeps a communication that reaches it (else the location
  // makes one from the old); a device that moves releases its old location and gets a
  // new communication made from the old one.
  void SetHolder(THolderDevice* location);
  THolderDevice* GetHolder() const { return Pholderdevice; }
  // The location is free again; the device keeps its communication.
  void ReleaseHolder();
  // The location is going: the device forgets it.
  void ForgetHolder(THolderDevice* location);

  // The device dialog on this device (its location marked as the current one); OK
  // applies the dialog to the device. Answers whether it was applied.
  bool Edit();
  // The command editor on the core device; refused during a run.
  void EditCommands();
  // Predefined command index goes into the experiment's current block: a Send command
  // and, when it has a response, a Read command into the variable the user chooses.
  // Answers whether commands were added.
  bool AddCommandToBlock(int index, TExperiment& experiment);
  // Closes the communication, which the next exchange opens again; refused (false)
  // during a run or without a communication.
  bool Reset();

  // The device list that made the device (none for a device of its own).
  TDeviceList* GetList() const { return Plist; }
  // Devices are numbered in the order their list made them.
  std::uint64_t GetSerial() const { return Serial; }

private:
  friend class TDeviceList;

  std::string FileName;
  std::unique_ptr<TCoreDevice> Pcoredevice;
  std::unique_ptr<TCommunication> Pcommunication;
  TOrderedSet<TDeviceAttributeScript> Scripts;  // not owned
  TDeviceListItem ListItem;
  THolderDevice* Pholderdevice = nullptr;  // not owned
  TDeviceList* Plist = nullptr;
  std::uint64_t Serial = 0;
  TCopyScript* Pcopyscript = nullptr;  // not owned
};
