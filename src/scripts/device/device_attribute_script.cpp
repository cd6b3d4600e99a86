#include "scripts/device/device_attribute_script.h"

#include "communication/device.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"

TDeviceAttributeScript::~TDeviceAttributeScript() {
  if (Device) Device->RemoveScript(this);
}

void TDeviceAttributeScript::SetDevice(TDevice* device) {
  if (device != Device) {
    if (Device) Device->RemoveScript(this);
    Device = device;
    if (Device) Device->AddScript(this);
  }
  UpdateNodeText();
}

void TDeviceAttributeScript::ForgetDevice(TDevice* device) {
  if (Device == device) Device = nullptr;
}

void TDeviceAttributeScript::Load(TReadFile& reader) {
  TAttributeScript::Load(reader);
  reader.GetDeviceAttributeScriptList().push_back(this);
}

TCommunication& TDeviceAttributeScript::GetCommunication() const {
  if (!Device) throw EExperimentError("The command has no device.");
  TCommunication* communication = Device->GetCommunication();
  if (!communication)
    throw EExperimentError("The device " + Device->GetName() + " has no communication.");
  return *communication;
}

TCommunication* TDeviceAttributeScript::CommunicationForRun() {
  try {
    return &GetCommunication();
  } catch (const EExperimentError& error) {
    UiPort().ShowMessage("Will Not Run, " + GetText() + ": " + error.GetMessage(), "",
                         TMessageKind::Information);
    return nullptr;
  }
}
