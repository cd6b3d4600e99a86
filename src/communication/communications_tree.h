// The communications tree: the serial ports and GPIB boards present on this machine
// with their locations, the device dialog's choice of where a device sits. It places the
// devices read from files (free, overwritten or reassigned by the user) and removes the
// GPIB nodes, with their devices, when the GPIB settings change.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "communication/device_placement.h"
#include "communication/gpib_settings.h"
#include "communication/holder.h"
#include "model/ui_port.h"

class TCommunicationsTree;
class TDeviceList;

// "Device Address Occupied": a device read from a file meets its location held.
struct TDeviceOccupiedRequest : TDialogRequest {
  enum TChoice { dcOVERWRITE = 0, dcREASSIGN = 1, dcSKIP = 2 };
  std::string CommunicationName;  // the communication's GetName
  std::string OccupantName;       // the device holding the location
  // The answer.
  int Choice = dcOVERWRITE;
  bool TransferScripts = true;  // only while Overwrite is chosen
};

// "Reassign Device To...": a free location of any node, or none.
struct TReassignDeviceRequest : TDialogRequest {
  const TCommunicationsTree* Tree = nullptr;
  std::string DeviceName;  // the device to place
  // The answer (after OK).
  THolderDevice* Selected = nullptr;
};

class TCommunicationsTree : public TDevicePlacer {
public:
  // The GPIB addresses of a board node.
  static constexpr int FirstGpibAddress = 1;
  static constexpr int LastGpibAddress = 29;

  explicit TCommunicationsTree(TDeviceList& devices);
  ~TCommunicationsTree() override;
  TCommunicationsTree(const TCommunicationsTree&) = delete;
  TCommunicationsTree& operator=(const TCommunicationsTree&) = delete;

  // Probes the ports and the boards the settings name and makes their nodes anew; a
  // configured board that is missing is reported and cuts the count of its kind to the
  // boards found before it (automatic detection changes no count). The devices placed
  // before lose their locations.
  void Build(TGpibSettings& settings);
  bool IsBuilt() const { return Built; }
  // The GPIB settings of the last Build or ChangeGpibSettings, counts as cut.
  const TGpibSettings& GetGpibSettings() const { return Settings; }

  // The new GPIB settings take effect: every GPIB node goes with the devices on it (and
  // their commands; the experiment is then modified), then the boards are probed as
  // Build does; with automatic detection each count becomes 1 or 0 by the presence of
  // board 0.
  void ChangeGpibSettings(TGpibSettings& settings);

  int GroupCount() const { return static_cast<int>(Groups.size()); }
  THolderCommunication& GetGroup(int index) const { return *Groups.at(index); }
  // The location the communication reaches, among the nodes of its kind; none when its
  // port or board is not present.
  THolderDevice* FindLocation(const TCommunication& communication) const;
  // The free locations of a node, in order.
  std::vector<THolderDevice*> FreeLocations(const THolderCommunication& group) const;

  // The placement of a device read from a file (it has a communication): a free
  // location takes it; a held one asks whether to overwrite, reassign or skip; one not
  // present says so and offers a reassignment. False drops the device.
  bool PlaceDevice(TDevice& device) override;

  // Counts every change of the nodes or of what they hold, for the views.
  unsigned Generation() const { return Changes; }
  void Changed() { ++Changes; }

private:
  void ProbeSerialPorts();
  // Probes the boards of a kind: board 0 only with automatic detection (a missing one
  // said nothing), else up to count boards, stopping at the first missing one with its
  // message. Answers the number of boards found.
  int ProbeBoards(TCommType kind, bool autoDetect, int count);
  void AddBoard(TCommType kind, int board);
  // The reassign dialog; true with the device on the location chosen.
  bool Reassign(TDevice& device);

  TDeviceList& Devices;
  std::vector<std::unique_ptr<THolderCommunication>> Groups;
  bool Built = false;
  TGpibSettings Settings;
  unsigned Changes = 0;
};
