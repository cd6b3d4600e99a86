#include "communication/ui/communication_dialogs.h"

#include "communication/communications_tree.h"
#include "communication/device_settings.h"
#include "communication/ui/device_dialog.h"
#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/device_scripts_dialog.h"
#include "communication/ui/reassign_device_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterCommunicationDialogs(TDialogRegistry& registry) {
  registry.RegisterDialog<TDeviceFormRequest, TDeviceForm>();
  registry.RegisterDialog<TDeviceScriptsRequest, TAddDeviceScriptsForm>();
  registry.RegisterDialog<TDeviceOccupiedRequest, TDeviceOccupiedForm>();
  registry.RegisterDialog<TReassignDeviceRequest, TReassignDeviceForm>();
}
