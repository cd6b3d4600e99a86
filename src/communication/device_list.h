// The experiment's devices, in the order of the device list: creating and deleting
// them, device configuration files (".dcg"), the device sections of experiment files
// (every device) and block files (the devices the exported commands use), and the list
// the command dialogs choose a device from. Every device read from a file is placed
// before it stays; one that cannot be placed is dropped with its commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "communication/communications_tree.h"
#include "communication/core_device.h"
#include "communication/device_placement.h"

class TDevice;
class TDeviceAttributeScript;
struct TDeviceSettings;
class TExperiment;
class TReadFile;
class TReport;
class TWriteFile;

class TDeviceList {
public:
  // The image list starts with the default icon.
  explicit TDeviceList(TExperiment* experiment = nullptr);
  // Deletes every device, and with each the commands that use it.
  ~TDeviceList();
  TDeviceList(const TDeviceList&) = delete;

  TDeviceList& operator=(const TDeviceList&) = delete;

  // A blank device at the end of the list: a core device, no communication.
  TDevice* NewDevice();
  // The device dialog for a new device (its OK and Add make the devices).
  void AddDevice();
  // A new device at the end of the list with the device dialog's checked entries.
  TDevice* AddDeviceFromDialog(const TDeviceSettings& settings);

  // Which devices a file read adds: a mark taken before, and the removal of every
  // device made since (and of no other).
  std::uint64_t MarkDevices() const { return NextSerial; }
  void RemoveDevicesSince(std::uint64_t mark);

  // The machine's ports and boards (see TCommunicationsTree). Once built, the devices
  // read from files are placed on it; before, a device keeps its communication.
  TCommunicationsTree& GetCommunicationsTree() { return Tree; }
  void BuildCommunicationsTree(TGpibSettings& settings);
  // Deletes the device (listed) and the commands that use it, without asking.
  void RemoveDevice(TDevice* device);

  // The configuration file (the name is required); an error is shown with its message
  // and answers false.
  bool SaveDeviceConfiguration(const std::string& fileName) const;
  // Appends the devices of the configuration file; a device placed marks the experiment
  // modified. An error is shown with its message and answers false; the device being
  // read then goes, those read before it stay.
  bool LoadDeviceConfiguration(const std::string& fileName);

  // Experiment files: the count, then every device with the identifiers of its commands.
  void SaveDevices(TWriteFile& writer) const;
  // Block files: the devices the exported commands use; none without an export.
  // EFileError "Error writing device list" for any error.
  void SaveUsedDevices(TWriteFile& writer) const;
  // Reads what either wrote, after the commands, binding the commands read to their
  // devices; nothing at the end of the file. A device whose record fails is removed
  // before the error goes on (InvalidDeviceRecordText for a record that cannot be right).
  void LoadDevices(TReadFile& reader);

  // Empties the list and appends every device in order.
  void GetDevices(std::vector<TDevice*>& list) const;
  // Asks, then deletes the device with the commands that use it and marks the experiment
  // modified; true when deleted.
  bool DeleteDevice(TDevice* device);
  // The device's place goes to another device: empties the list, asks whether the
  // commands move into it (when it has commands) and deletes the device.
  void ReplaceDevice(TDevice* device, std::vector<TDeviceAttributeScript*>& list);
  // Deletes every device, after a question when asked to; true when cleared. A clearing
  // asked about marks the experiment modified when it removes a device.
  bool ClearDevices(bool ask);
  bool IsEmpty() const { return Devices.empty(); }
  std::size_t Count() const { return Devices.size(); }
  TDevice* GetDevice(std::size_t index) const { return Devices.at(index).get(); }

  // The printout of every device; "No devices" without one.
  void Describe(TReport& report, bool withCommands) const;

  void SetExperiment(TExperiment* experiment) { Pexperiment = experiment; }
  TExperiment* GetExperiment() const { return Pexperiment; }
  TImageList& GetImageList() { return ImageList; }
  const TImageList& GetImageList() const { return ImageList; }
  // The placement of devices read from files (none: the default placement).
  void SetPlacer(TDevicePlacer* placer) { Pplacer = placer ? placer : &DefaultPlacer; }
  // The placement in use: the one set, else the communications tree once it is built.
  TDevicePlacer& GetPlacer() {
    return Pplacer == &DefaultPlacer && Tree.IsBuilt() ? Tree : *Pplacer;
  }

private:
  // Places the device read; one not placed goes.
  bool Place(TDevice* device);
  // Takes the device's commands out of the reader's list of commands read.
  static void ForgetReadScripts(TDevice* device, TReadFile& reader);

  // Before the devices, so that it goes after them.
  TCommunicationsTree Tree{*this};
  std::vector<std::unique_ptr<TDevice>> Devices;
  std::uint64_t NextSerial = 1;
  TImageList ImageList;
  TExperiment* Pexperiment;
  TDefaultDevicePlacer DefaultPlacer;
  TDevicePlacer* Pplacer = &DefaultPlacer;
  // The reader of the devices section being read: any device deleted meanwhile (one not
  // placed, or one a placement overwrites) takes its commands out of its list first, so
  // that no later identifier reaches a deleted command.
  TReadFile* Reading = nullptr;
};
