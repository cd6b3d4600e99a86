#include "communication/device.h"

#include <algorithm>
#include <exception>
#include <new>

#include "communication/communication.h"
#include "communication/device_placement.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/device/device_attribute_script.h"

namespace {

const char* const DeviceHeader = "Qorv Device";
const char* const InvalidDeviceFile = "Invalid device file.";

void ShowError(const std::string& text) { UiPort().ShowMessage(text, "", TMessageKind::Error); }

std::int32_t IdOf(TWriteFile& writer, TDeviceAttributeScript* script) {
  return writer.GetObjectId(static_cast<TScript*>(script));
}

}  // namespace

TDevice::TDevice(TImageList* imagelist) {
  if (imagelist) Pcoredevice = std::make_unique<TCoreDevice>(imagelist);
}

TDevice::~TDevice() {
  Pcommunication.reset();
  Pcoredevice.reset();
  while (!Scripts.Empty()) delete Scripts.Back();  // each leaves the list
}

void TDevice::UpdateListItem() {
  ListItem.Caption = Pcoredevice ? Pcoredevice->GetName() : "No name";
  ListItem.Communication = Pcommunication ? Pcommunication->GetName() : "No communication";
  ListItem.ImageIndex = Pcoredevice ? Pcoredevice->GetIconIndex() : 0;
  for (TDeviceAttributeScript* script : Scripts.Items()) script->UpdateNodeText();
  UiPort().RefreshViews();
}

void TDevice::AddScript(TDeviceAttributeScript* script) {
  QORV_ASSERT(script!=0);
  QORV_ASSERT_AS(!Scripts.Contains(script), "Pscriptlist->IndexOf(script)<0");
  Scripts.Insert(script);
}

void TDevice::RemoveScript(TDeviceAttributeScript* script) {
  QORV_ASSERT_AS(Scripts.Contains(script), "Pscriptlist->IndexOf(script)>=0");
  Scripts.Erase(script);
}

TCoreDevice& TDevice::GetCoreDevice() const {
  QORV_ASSERT(Pcoredevice!=0);
  return *Pcoredevice;
}

std::string TDevice::GetName() const { return Pcoredevice ? Pcoredevice->GetName() : "None"; }

std::string TDevice::GetDisplayName() const {
  if (!Pcoredevice || !Pcommunication) return "None";
  return Pcommunication->GetName() + ": " + Pcoredevice->GetName();
}

void TDevice::SetCommunication(std::unique_ptr<TCommunication> communication) {
  Pcommunication = std::move(communication);
}

bool TDevice::SaveDeviceFile(const std::string& fileName) {
  QORV_ASSERT(!fileName.empty());
  try {
    TWriteFile writer(fileName);
    writer.WriteFileHeader(DeviceHeader);
    SaveDeviceRecord(writer);
    writer.Commit();
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  FileName = fileName;
  return true;
}

bool TDevice::LoadDeviceFile(const std::string& fileName, TDevicePlacer& placer) {
  try {
    TReadFile reader(fileName);
    std::string header;
    try {
      header = reader.ReadString();
    } catch (const EReadError&) {
      throw EReadError(InvalidDeviceFile);  // too short for a header
    }
    if (header != DeviceHeader) throw EReadError(InvalidDeviceFile);
    const std::string version = reader.ReadString();
    reader.SetVersion(version);
    if (!QorvVersion->CanReadVersion(version))
      throw EReadError("Cannot read version " + version);
    LoadDeviceRecord(reader);
  } catch (const EReadError& failure) {
    const bool invalid = std::string(failure.what()) == InvalidDeviceRecordText;
    ShowError(invalid ? InvalidDeviceFile : failure.what());
    return false;
  } catch (const std::bad_alloc&) {
    ShowError(OutOfMemoryReadError(InvalidDeviceFile));
    return false;
  } catch (const std::exception& failure) {
    ShowError(failure.what());
    return false;
  }
  const bool placed = placer.PlaceDevice(*this);
  FileName = fileName;
  UpdateListItem();
  return placed;
}

void TDevice::SaveDeviceRecord(TWriteFile& writer) const {
  QORV_ASSERT(Pcoredevice!=0);
  // A device whose file failed to load part-way has none until its caller removes it;
  // the save fails with a message rather than ending the program.
  if (!Pcommunication) throw EFileError("The device " + GetName() + " has no communication.");
  Pcoredevice->Save(writer);
  writer.WriteInteger(Pcommunication->GetType());
  Pcommunication->Save(writer);
}

void TDevice::LoadDeviceRecord(TReadFile& reader) {
  QORV_ASSERT(Pcoredevice!=0);
  Pcoredevice->Load(reader);
  std::int32_t kind;
  reader.ReadInteger(kind);
  std::unique_ptr<TCommunication> communication = CreateCommunication(kind);
  communication->Load(reader);
  Pcommunication = std::move(communication);
}

void TDevice::SaveDevice(TWriteFile& writer) const {
  SaveDeviceRecord(writer);
  writer.WriteInteger(static_cast<std::int32_t>(Scripts.Size()));
  for (TDeviceAttributeScript* script : Scripts.Items()) writer.WriteInteger(IdOf(writer, script));
}

void TDevice::SaveUsedDevice(TWriteFile& writer) const {
  if (!writer.IsBlockExport() || writer.GetBlockScriptList().empty()) return;
  std::vector<TScript*>& exported = writer.GetBlockScriptList();
  std::vector<TDeviceAttributeScript*> used;
  std::vector<TScript*> others;
  for (TScript* script : exported) {
    auto* command = script->IsDeviceScript() ? static_cast<TDeviceAttributeScript*>(script) : nullptr;
    if (command && command->GetDevice() == this)
      used.push_back(command);
    else
      others.push_back(script);
  }
  exported.swap(others);
  SaveDeviceRecord(writer);
  writer.WriteInteger(static_cast<std::int32_t>(used.size()));
  for (TDeviceAttributeScript* script : used) writer.WriteInteger(IdOf(writer, script));
}

void TDevice::LoadDevice(TReadFile& reader) {
  LoadDeviceRecord(reader);
  const std::int32_t count = reader.ReadCount(4);
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t id;
    reader.ReadInteger(id);
    if (id <= 0) throw EReadError(InvalidDeviceRecordText);
    if (TDeviceAttributeScript* match = reader.FindDeviceAttributeScript(id)) match->SetDevice(this);
  }
}

void TDevice::Detach(bool transfer, std::vector<TDeviceAttributeScript*>& list) {
  if (!transfer) return;
  for (TDeviceAttributeScript* script : Scripts.Items()) {
    script->ForgetDevice(this);
    list.push_back(script);
  }
  Scripts.Clear();
}

void TDevice::AdoptScripts(std::vector<TDeviceAttributeScript*>& list) {
  for (TDeviceAttributeScript* script : list) script->SetDevice(this);
  list.clear();
}
