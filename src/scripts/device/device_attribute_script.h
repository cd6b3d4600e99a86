// Base of the commands that talk to a device: the device it uses (or none), the binding
// of loaded commands to the devices of the file, and the communication a run goes
// through.
#pragma once

#include "scripts/attribute_script.h"

class TCommunication;
class TDevice;

class TDeviceAttributeScript : public TAttributeScript {
public:
  using TAttributeScript::TAttributeScript;
  // Leaves its device's list of commands.
  ~TDeviceAttributeScript() override;

  bool IsDeviceScript() override { return true; }

  // Moves the command to the device (or none) and refreshes its node texts.
  void SetDevice(TDevice* device);
  // Forgets the device when it is this one, without leaving its list (the device
  // empties the list itself).
  void ForgetDevice(TDevice* device);
  TDevice* GetDevice() const { return Device; }

  // Reads the base record and joins the reader's device commands, which the devices
  // read after the commands bind by the identifier read here.
  void Load(TReadFile& reader) override;

  // The device's communication. EExperimentError when the command has no device or the
  // device has no communication.
  TCommunication& GetCommunication() const;
  // Before a run: the device's communication, or none after the refusal
  // "Will Not Run, " + the command's text + ": " + why was shown.
  TCommunication* CommunicationForRun();

protected:
  TDevice* Device = nullptr;
};
