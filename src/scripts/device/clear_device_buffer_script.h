// The Clear Device Buffer command: reads and discards what its device still has to
// send, 100 bytes at a time, until a read brings nothing; after every further 1000 bytes
// the user chooses to read on, to go on with the experiment or to abort the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scripts/command_devices.h"
#include "scripts/device/device_attribute_script.h"

class TClearDeviceBufferScript : public TDeviceAttributeScript {
public:
  using TDeviceAttributeScript::TDeviceAttributeScript;

  // Discards the device's pending input (nothing without a device). The question goes
  // to the main thread and the worker waits; Cancel is EExperimentError
  // "User aborted Clear Device.".
  TScript* Execute() override;
  // As Execute, with a line on how the clearing ended (none when commented out).
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only with a device: the copy record names it.
  bool CanMakeCopyScript() override { return Device != nullptr; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // The base record; the node shows the text of a command without device too.
  void Load(TReadFile& reader) override;
  // "Clear Read Buffer: " + the device's name, or "Clear Nothing".
  std::string GetText() override;
  int GetScriptType() const override { return CLEARDEVICEBUFFER; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }

private:
  // Reads until a read brings nothing, asking after every 1000 bytes. A null trace: no
  // lines.
  void Clear(std::vector<std::string>* trace);
};

// The Clear Device Buffer dialog: every device of the list. A new command for the
// device given, or for the one device there is, is made at once without the dialog (the
// target block was found first); with no device: "There are no devices to clear.". A
// command is not changed when there is only one device.
struct TClearDeviceBufferScriptRequest : TDeviceScriptRequest {
  bool CanOpen() override;
  TClearDeviceBufferScript* ClearBuffer() const {
    return static_cast<TClearDeviceBufferScript*>(Script);
  }
};
