#include "communication/communications_tree.h"

#include <algorithm>

#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/rs232.h"
#include "model/assertion.h"
#include "model/ui_port.h"
#include "scripts/device/device_attribute_script.h"

namespace {

std::string MissingBoardText(TCommType kind, int board) {
  return (kind == CEC_GPIB ? "CEC board " : "National board ") + std::to_string(board) +
         " not found.";
}

}  // namespace

TCommunicationsTree::TCommunicationsTree(TDeviceList& devices) : Devices(devices) {}

TCommunicationsTree::~TCommunicationsTree() = default;

void TCommunicationsTree::Build(TGpibSettings& settings) {
  Groups.clear();  // each location releases its device
  ProbeSerialPorts();
  // Automatic detection leaves the configured counts as they are.
  const int cec = ProbeBoards(CEC_GPIB, settings.AutoDetect, settings.CECCards);
  const int nat = ProbeBoards(NAT_GPIB, settings.AutoDetect, settings.NationalCards);
  if (!settings.AutoDetect) {
    settings.CECCards = cec;
    settings.NationalCards = nat;
  }
  Settings = settings;
  Built = true;
  Changed();
}

void TCommunicationsTree::ChangeGpibSettings(TGpibSettings& settings) {
  std::vector<TDevice*> gone;
  for (const auto& group : Groups) {
    if (group->GetCommType() == RS232) continue;
    for (int i = 0; i < group->LocationCount(); ++i)
      if (TDevice* device = group->GetLocation(i).GetDevice()) gone.push_back(device);
  }
  for (TDevice* device : gone) Devices.RemoveDevice(device);  // with its commands
  if (!gone.empty()) UiPort().ExperimentChanged(1, 0);
  std::erase_if(Groups, [](const auto& group) { return group->GetCommType() != RS232; });
  settings.NationalCards = ProbeBoards(NAT_GPIB, settings.AutoDetect, settings.NationalCards);
  settings.CECCards = ProbeBoards(CEC_GPIB, settings.AutoDetect, settings.CECCards);
  Settings = settings;
  Built = true;
  Changed();
}

void TCommunicationsTree::ProbeSerialPorts() {
  THolderCommunication* ports = nullptr;
  for (int index = 0; index < TRS232::PortCount; ++index) {
    if (!THolderCommunication::ProbePort(RS232, index)) continue;
    if (!ports) {
      Groups.push_back(std::make_unique<THolderCommunication>(RS232, -1));
      ports = Groups.back().get();
    }
    ports->AddLocation(index);
  }
}

int TCommunicationsTree::ProbeBoards(TCommType kind, bool autoDetect, int count) {
  if (autoDetect) {
    if (!THolderCommunication::ProbePort(kind, 0)) return 0;
    AddBoard(kind, 0);
    return 1;
  }
  for (int board = 0; board < count; ++board) {
    if (!THolderCommunication::ProbePort(kind, board)) {
      Inform(MissingBoardText(kind, board));
      return board;
    }
    AddBoard(kind, board);
  }
  return std::max(count, 0);
}

void TCommunicationsTree::AddBoard(TCommType kind, int board) {
  Groups.push_back(std::make_unique<THolderCommunication>(kind, board));
  for (int address = FirstGpibAddress; address <= LastGpibAddress; ++address)
    Groups.back()->AddLocation(address);
}

THolderDevice* TCommunicationsTree::FindLocation(const TCommunication& communication) const {
  for (const auto& group : Groups) {
    if (group->GetCommType() != communication.GetType()) continue;
    for (int i = 0; i < group->LocationCount(); ++i)
      if (group->GetLocation(i).Matches(communication)) return &group->GetLocation(i);
  }
  return nullptr;
}

std::vector<THolderDevice*> TCommunicationsTree::FreeLocations(
    const THolderCommunication& group) const {
  std::vector<THolderDevice*> free;
  for (int i = 0; i < group.LocationCount(); ++i)
    if (!group.GetLocation(i).GetDevice()) free.push_back(&group.GetLocation(i));
  return free;
}

bool TCommunicationsTree::PlaceDevice(TDevice& device) {
  const TCommunication* communication = device.GetCommunication();
  QORV_ASSERT(communication!=0);
  THolderDevice* location = FindLocation(*communication);
  if (!location) {
    Inform("The communication used by this device is not present on this machine.\r It was at " +
           communication->GetName());
    return Reassign(device);
  }
  TDevice* occupant = location->GetDevice();
  if (!occupant) {
    device.SetHolder(location);
    Changed();
    return true;
  }
  if (occupant == &device) return true;
  TDeviceOccupiedRequest request;
  request.CommunicationName = communication->GetName();
  request.OccupantName = occupant->GetName();
  // Without a dialog (no user interface) nothing is overwritten.
  if (UiPort().OpenDialog(request) != 1) return false;
  switch (request.Choice) {
    case TDeviceOccupiedRequest::dcOVERWRITE: {
      std::vector<TDeviceAttributeScript*> moved;
      occupant->Detach(request.TransferScripts, moved);
      Devices.RemoveDevice(occupant);  // with the commands that stayed on it
      device.SetHolder(location);
      device.AdoptScripts(moved);
      Changed();
      return true;
    }
    case TDeviceOccupiedRequest::dcREASSIGN:
      return Reassign(device);
    default:
      return false;
  }
}

bool TCommunicationsTree::Reassign(TDevice& device) {
  TReassignDeviceRequest request;
  request.Tree = this;
  request.DeviceName = device.GetName();
  if (UiPort().OpenDialog(request) != 1 || !request.Selected) return false;
  QORV_ASSERT(request.Selected->GetDevice()==0);
  device.SetHolder(request.Selected);
  Changed();
  return true;
}
