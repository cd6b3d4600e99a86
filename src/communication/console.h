// Opening the interactive console: on every device of the experiment, one preselected,
// refused while a run's worker talks to the instruments (the debug window's console
// then runs its steps on the main thread, between the run's steps).
#pragma once

#include <vector>

#include "model/ui_port.h"

class TAllowedColors;
class TDevice;
class TDeviceList;

// The console dialog: the devices (in list order), the one to select first (none or
// not listed: the first), and whether its exchanges run on the calling thread.
struct TInteractRequest : TDialogRequest {
  std::vector<TDevice*> Devices;
  TDevice* Preselected = nullptr;
  bool OnMainThread = false;
};

// "Change Colors": the role assignment to edit (kept only when accepted).
struct TChangeColorsRequest : TDialogRequest {
  TAllowedColors* Colors = nullptr;
};

// Shows the console on the list's devices; "No devices to interact with" without any.
// Refused (false, nothing shown) while a run is active unless fromDebugWindow.
bool Interact(TDeviceList& devices, TDevice* preselected, bool fromDebugWindow = false);

// The colour assignment of the console for this program's life (defaults at start).
TAllowedColors& ConsoleColors();
