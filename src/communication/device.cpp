#include "communication/device.h"

#include <algorithm>
#include <exception>
#include <new>

#include "communication/communication.h"
#include "communication/device_list.h"
#include "communication/device_placement.h"
#include "communication/device_settings.h"
#include "communication/holder.h"
#include "communication/read_response.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "scripts/copy_script.h"
#include "scripts/device/device_attribute_script.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_script.h"
#include "scripts/experiment_thread.h"

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
  if (Pcopyscript) Pcopyscript->Disable();
  QORV_ASSERT(Pcopyscript==0);
  ReleaseHolder();
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

void TDevice::SetCopyScript(TCopyScript* script) {
  QORV_ASSERT(script!=0);
  if (!Pcopyscript) Pcopyscript = script;
  QORV_ASSERT(Pcopyscript==script);
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
  ReleaseHolder();
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

void TDevice::SetHolder(THolderDevice* location) {
  QORV_ASSERT(location!=0);
  if (location == Pholderdevice) return;
  std::unique_ptr<TCommunication> aside;
  if (Pholderdevice) {
    ReleaseHolder();
    aside = std::move(Pcommunication);
  } else if (Pcommunication && !location->Matches(*Pcommunication)) {
    aside = std::move(Pcommunication);
  }
  location->AssignDevice(this);
  Pholderdevice = location;
  if (!Pcommunication) Pcommunication = location->MakeCommunication(aside.get());
}

void TDevice::ReleaseHolder() {
  if (!Pholderdevice) return;
  Pholderdevice->AssignDevice(nullptr);
  Pholderdevice = nullptr;
}

void TDevice::ForgetHolder(THolderDevice* location) {
  if (Pholderdevice == location) Pholderdevice = nullptr;
}

bool TDevice::Edit() {
  TDeviceFormRequest request;
  request.List = Plist;
  request.Device = this;
  request.Settings = DeviceSettingsOf(*this);
  THolderDevice* current = Pholderdevice;
  if (current) current->SetCurrentLocation(true);
  const bool accepted = UiPort().OpenDialog(request) == 1;
  // The dialog may have closed on a location still held by the device: unmark it before
  // anything moves.
  if (current && current->GetDevice() == this) current->SetCurrentLocation(false);
  if (!accepted) return false;
  ApplyDeviceSettings(*this, request.Settings);
  UpdateListItem();
  UiPort().ExperimentChanged(1, 0);
  return true;
}

void TDevice::EditCommands() {
  if (IsRunActive()) {
    UiPort().ShowMessage("Cannot edit these when the experiment is running", "",
                         TMessageKind::Information);
    return;
  }
  TDeviceScriptsRequest request;
  request.Device = &GetCoreDevice();
  UiPort().OpenDialog(request);
  if (request.Changed) UiPort().ExperimentChanged(1, 0);
}

namespace {

// The variables of a list, to tell a variable the user made at a prompt from one chosen.
std::vector<TData*> VariablesOf(const TDataList& list) {
  std::vector<TData*> variables;
  list.GetAll(variables);
  return variables;
}

bool IsNew(TData* variable, const std::vector<TData*>& before) {
  return std::find(before.begin(), before.end(), variable) == before.end();
}

}  // namespace

bool TDevice::AddCommandToBlock(int index, TExperiment& experiment) {
  const TDeviceScript* command = GetCoreDevice().GetScript(index);
  QORV_ASSERT(command!=0);
  TBlock* block = experiment.GetCurrentBlock();
  if (!block) return false;
  TDataList& singles = *experiment.GetDataSingleList();
  TDataList& arrays = *experiment.GetDataArrayList();
  // The prompts fill a copy: declining one never changes the device's own command.
  std::unique_ptr<TReadResponse> response;
  if (command->GetResponse()) response = std::make_unique<TReadResponse>(*command->GetResponse());
  TData* data = nullptr;
  if (response) {
    TDataList& targets = response->GetIsArray() ? arrays : singles;
    const std::vector<TData*> before = VariablesOf(targets);
    data = targets.SelectVariable("Variable to store read data", block,
                                  response->GetIsArray() ? response->GetArraySize() : 1,
                                  response->GetValueType());
    if (!data) return false;
    const bool madeHere = IsNew(data, before);
    // A variable made at the first prompt goes again when a later prompt is declined.
    const auto decline = [&] {
      if (madeHere) delete data;
      return false;
    };
    TData* count = nullptr;
    bool countMadeHere = false;
    if (response->GetStoreByteCount()) {
      const std::vector<TData*> singlesBefore = VariablesOf(singles);
      count = singles.SelectVariable("Variable to store read bytes", block, 1, eatINTEGER);
      if (count) {
        countMadeHere = IsNew(count, singlesBefore);
        response->SetByteCountData(count);
      } else {
        response->SetByteCountFromVariable(false);
      }
    }
    if (response->GetNumberOfPointsFromData()) {
      TData* points =
          singles.SelectVariable("Variable to store number of read points.", block, 1, eatINTEGER);
      if (!points) {
        if (countMadeHere && count != data) delete count;
        return decline();
      }
      response->SetNumberOfPointsData(points);
    }
  }
  auto* send = static_cast<TSendScript*>(block->AddScript(TScript::SEND));
  QORV_ASSERT(send!=0);
  send->SetUpSend(this, command->GetCommand(), command->GetSendEndChars(), nullptr, ntSTANDARD, 1,
                  false);
  if (data) {
    auto* read = static_cast<TReadScript*>(block->AddScript(TScript::READ));
    QORV_ASSERT(read!=0);
    read->SetUpRead(this, data, *response, true, true);
  }
  UiPort().ExperimentChanged(1, 0);
  return true;
}

bool TDevice::Reset() {
  if (IsRunActive() || !Pcommunication) return false;
  Pcommunication->Close();
  return true;
}
