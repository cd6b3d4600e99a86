// The device commands of the document session: new devices through the device dialog,
// device files and device configuration files through the choosers.
#include "communication/device.h"
#include "model/experiment.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "shell/document_session.h"

namespace {

const char* const DeviceFilter = "Device (*.dev) | *.dev";
const char* const ConfigurationFilter = "Device Configuration(*.dcg) | *.dcg";

}  // namespace

void TDocumentSession::AddDeviceClick() {
  if (IsRunActive()) return;
  Devices.AddDevice();
  View.DevicesChanged();
}

void TDocumentSession::OpenDeviceClick() {
  if (IsRunActive()) return;
  const std::string path = ChooseFile(false, DeviceFilter, "dev", "", Directories.Device);
  if (!path.empty()) OpenDeviceFile(path);
}

bool TDocumentSession::OpenDeviceFile(const std::string& path) {
  TDevice* device = Devices.NewDevice();
  const bool added = device->LoadDeviceFile(path, Devices.GetPlacer());
  if (added)
    UiPort().ExperimentChanged(1, 0);  // the experiment file holds its devices
  else
    Devices.RemoveDevice(device);
  View.DevicesChanged();
  return added;
}

void TDocumentSession::OpenDeviceConfigurationClick() {
  if (IsRunActive()) return;
  const std::string path =
      ChooseFile(false, ConfigurationFilter, "dcg", "", Directories.Device);
  if (path.empty()) return;
  Devices.LoadDeviceConfiguration(path);
  View.DevicesChanged();
}

bool TDocumentSession::SaveDeviceConfigurationClick() {
  if (IsRunActive()) return false;
  if (Devices.IsEmpty()) {
    Inform("No Devices to save.");
    return false;
  }
  const std::string path = ChooseFile(true, ConfigurationFilter, "dcg",
                                      Experiment->GetTitle() + "Devices", Directories.Device);
  return !path.empty() && Devices.SaveDeviceConfiguration(path);
}

bool TDocumentSession::SaveDeviceClick(TDevice& device) {
  if (IsRunActive()) return false;
  std::string path = device.GetFileName();
  if (path.empty()) path = ChooseFile(true, DeviceFilter, "dev", device.GetName(), Directories.Device);
  return !path.empty() && device.SaveDeviceFile(path);
}

bool TDocumentSession::SaveAsDeviceClick(TDevice& device) {
  if (IsRunActive()) return false;
  const std::string path = ChooseFile(true, DeviceFilter, "dev", "", Directories.Device);
  return !path.empty() && device.SaveDeviceFile(path);
}
