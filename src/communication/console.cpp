#include "communication/console.h"

#include "communication/console_colors.h"
#include "communication/device_list.h"
#include "scripts/experiment_thread.h"

bool Interact(TDeviceList& devices, TDevice* preselected, bool fromDebugWindow) {
  const bool runActive = IsRunActive();
  if (runActive && !fromDebugWindow) return false;
  TInteractRequest request;
  devices.GetDevices(request.Devices);
  if (request.Devices.empty()) {
    UiPort().ShowMessage("No devices to interact with", "", TMessageKind::Information);
    return false;
  }
  request.Preselected = preselected;
  // The debug window steps its run on this thread: its console does too, between steps.
  request.OnMainThread = runActive || fromDebugWindow;
  UiPort().OpenDialog(request);
  return true;
}

TAllowedColors& ConsoleColors() {
  static TAllowedColors colors;
  return colors;
}
