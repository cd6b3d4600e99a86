#include "communication/device_list.h"

#include <algorithm>
#include <exception>
#include <new>
#include <unordered_set>

#include "communication/communication.h"
#include "communication/device.h"
#include "communication/device_settings.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/report.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/device/device_attribute_script.h"

namespace {

const char* const ConfigurationHeader = "Qorv Device Configuration";
const char* const InvalidConfiguration = "Invalid device configuration file";
const char* const QuestionCaption = "Qorv message";

void ShowError(const std::string& text) { UiPort().ShowMessage(text, "", TMessageKind::Error); }

// Yes or No, with the button Enter presses.
bool AskYes(const std::string& question, TMessageButton defaultButton) {
  return UiPort().Ask(question, QuestionCaption, TMessageKind::Warning, mbYes | mbNo,
                      defaultButton) == mbYes;
}

}  // namespace

namespace {

}  // namespace

TDeviceList::TDeviceList(TExperiment* experiment) : ImageList(1), Pexperiment(experiment) {}

TDeviceList::~TDeviceList() {
  while (!Devices.empty()) Devices.pop_back();
}

TDevice* TDeviceList::NewDevice() {
  Devices.push_back(std::make_unique<TDevice>(&ImageList));
  TDevice* device = Devices.back().get();
  device->Plist = this;
  device->Serial = NextSerial++;
  return device;
}

void TDeviceList::AddDevice() {
  TDeviceFormRequest request;
  request.List = this;
  request.Settings = NewDeviceSettings();
  UiPort().OpenDialog(request);
}

TDevice* TDeviceList::AddDeviceFromDialog(const TDeviceSettings& settings) {
  TDevice* device = NewDevice();
  ApplyDeviceSettings(*device, settings);
  device->UpdateListItem();
  return device;
}

void TDeviceList::RemoveDevicesSince(std::uint64_t mark) {
  std::vector<TDevice*> added;
  for (const auto& device : Devices)
    if (device->GetSerial() >= mark) added.push_back(device.get());
  for (TDevice* device : added) RemoveDevice(device);
}

void TDeviceList::BuildCommunicationsTree(TGpibSettings& settings) {
  Tree.Build(settings);
  // Devices read before the tree existed find their locations now.
  for (const auto& device : Devices)
    if (!device->GetHolder() && device->GetCommunication())
      if (THolderDevice* location = Tree.FindLocation(*device->GetCommunication()))
        if (!location->GetDevice()) device->SetHolder(location);
}

void TDeviceList::RemoveDevice(TDevice* device) {
  const auto found = std::find_if(Devices.begin(), Devices.end(),
                                  [device](const auto& listed) { return listed.get() == device; });
  QORV_ASSERT_AS(found!=Devices.end(), "device->DeviceItem!=0");
  if (Reading) ForgetReadScripts(device, *Reading);
  std::unique_ptr<TDevice> gone = std::move(*found);
  Devices.erase(found);
  gone.reset();  // with the commands that use it
  UiPort().RefreshViews();
}

bool TDeviceList::SaveDeviceConfiguration(const std::string& fileName) const {
  QORV_ASSERT(!fileName.empty());
  try {
    TWriteFile writer(fileName);
    writer.WriteFileHeader(ConfigurationHeader);
    writer.WriteInteger(static_cast<std::int32_t>(Devices.size()));
    for (const auto& device : Devices) device->SaveDeviceRecord(writer);
    writer.Commit();
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  return true;
}

bool TDeviceList::LoadDeviceConfiguration(const std::string& fileName) {
  bool placed = false;
  TDevice* reading = nullptr;  // the device whose record is being read
  bool read = true;
  try {
    TReadFile reader(fileName);
    reader.ReadFileHeader(ConfigurationHeader, InvalidConfiguration);
    std::int32_t count;
    reader.ReadInteger(count);
    for (std::int32_t i = 0; i < count; ++i) {
      TDevice* device = NewDevice();
      reading = device;
      device->LoadDeviceRecord(reader);
      reading = nullptr;
      placed = Place(device) || placed;
    }
  } catch (const std::exception& failure) {
    // Only the device being read goes: those read before it stay.
    if (reading) RemoveDevice(reading);
    const bool invalid = dynamic_cast<const EReadError*>(&failure) &&
                         std::string(failure.what()) == InvalidDeviceRecordText;
    if (dynamic_cast<const std::bad_alloc*>(&failure))
      ShowError(OutOfMemoryReadError(InvalidConfiguration));
    else
      ShowError(invalid ? InvalidConfiguration : failure.what());
    read = false;
  }
  // The experiment file holds the devices: a device placed changes it.
  if (placed) UiPort().ExperimentChanged(1, 0);
  return read;
}

void TDeviceList::SaveDevices(TWriteFile& writer) const {
  writer.WriteInteger(static_cast<std::int32_t>(Devices.size()));
  for (const auto& device : Devices) device->SaveDevice(writer);
}

void TDeviceList::SaveUsedDevices(TWriteFile& writer) const {
  try {
    std::vector<TDevice*> used;
    if (writer.IsBlockExport())
      for (TScript* script : writer.GetBlockScriptList()) {
        if (!script->IsDeviceScript()) continue;
        TDevice* device = static_cast<TDeviceAttributeScript*>(script)->GetDevice();
        if (device && std::find(used.begin(), used.end(), device) == used.end())
          used.push_back(device);
      }
    writer.WriteInteger(static_cast<std::int32_t>(used.size()));
    for (TDevice* device : used) device->SaveUsedDevice(writer);
  } catch (const std::exception&) {
    throw EFileError("Error writing device list");
  }
}

void TDeviceList::LoadDevices(TReadFile& reader) {
  if (reader.BytesLeft() == 0) return;  // no device section: the count reads as -1
  std::int32_t count;
  reader.ReadInteger(count);
  Reading = &reader;
  try {
    for (std::int32_t i = 0; i < count; ++i) {
      TDevice* device = NewDevice();
      try {
        device->LoadDevice(reader);
      } catch (...) {
        RemoveDevice(device);
        throw;
      }
      Place(device);
    }
  } catch (...) {
    Reading = nullptr;
    throw;
  }
  Reading = nullptr;
}

bool TDeviceList::Place(TDevice* device) {
  if (!GetPlacer().PlaceDevice(*device)) {
    RemoveDevice(device);
    return false;
  }
  device->UpdateListItem();
  return true;
}

void TDeviceList::ForgetReadScripts(TDevice* device, TReadFile& reader) {
  std::vector<TDeviceAttributeScript*>& read = reader.GetDeviceAttributeScriptList();
  const std::vector<TDeviceAttributeScript*> scripts = device->GetScripts();
  const std::unordered_set<TDeviceAttributeScript*> going(scripts.begin(), scripts.end());
  std::erase_if(read, [&going](TDeviceAttributeScript* script) { return going.count(script) > 0; });
}

void TDeviceList::GetDevices(std::vector<TDevice*>& list) const {
  list.clear();
  for (const auto& device : Devices) list.push_back(device.get());
}

bool TDeviceList::DeleteDevice(TDevice* device) {
  QORV_ASSERT(device!=0);
  std::string question = "Do you really want to delete this device.\r";
  if (device->HasScripts())
    question += device->GetName() + " has scripts that are using it." +
                "  Those scripts will be deleted with the device.\r";
  question += "Press Yes to delete.";
  if (!AskYes(question, mbNo)) return false;
  RemoveDevice(device);
  UiPort().ExperimentChanged(1, 0);
  return true;
}

void TDeviceList::ReplaceDevice(TDevice* device, std::vector<TDeviceAttributeScript*>& list) {
  QORV_ASSERT(device!=0);
  list.clear();
  const bool transfer =
      device->HasScripts() &&
      AskYes(device->GetName() + " has scripts that are using it." +
             "  Do you want these scripts transfered to the replacing device.\r" +
             "Press Yes to transfer the scripts.",
             mbYes);
  device->Detach(transfer, list);
  RemoveDevice(device);
}

bool TDeviceList::ClearDevices(bool ask) {
  if (ask && !AskYes(std::string("This will clear all devices in the experiment.\r") +
                     "Any scripts that are using these devices will be deleted as well." +
                     "Press Yes to delete.",
                     mbNo))
    return false;
  // The user's clearing changes the experiment; the program's comes with a new or
  // opened experiment.
  const bool changes = ask && !Devices.empty();
  while (!Devices.empty()) RemoveDevice(Devices.back().get());
  QORV_ASSERT(IsEmpty());
  if (changes) UiPort().ExperimentChanged(1, 0);
  return true;
}

void TDeviceList::Describe(TReport& report, bool withCommands) const {
  QORV_ASSERT(Pexperiment!=0);
  if (Devices.empty()) report.AddLine("No devices");
  for (const auto& device : Devices) {
    report.AddLine("");
    report.AddHeading("Device:\t" + device->GetName());
    report.AddHeading("\tCommunication Parameters:");
    TCommunication* communication = device->GetCommunication();
    if (communication) communication->Describe(report);
    report.AddHeading("\tCommand Syntax:");
    int eoi = -1;
    if (communication && communication->IsGPIB())
      eoi = static_cast<TGPIB*>(communication)->GetEOI() ? 1 : 0;
    device->GetCoreDevice().DescribeCoreDevice(report, eoi, withCommands);
  }
}
