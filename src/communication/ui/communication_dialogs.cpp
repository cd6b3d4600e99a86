#include "communication/ui/communication_dialogs.h"

#include "communication/communications_tree.h"
#include "communication/device_settings.h"
#include "communication/ui/change_color_form.h"
#include "communication/ui/device_dialog.h"
#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/device_scripts_dialog.h"
#include "communication/ui/interactive_form.h"
#include "communication/ui/scan_for_devices_form.h"
#include "communication/ui/reassign_device_dialog.h"
#include "shell/ui/dialog_registry.h"

void RegisterCommunicationDialogs(TDialogRegistry& registry) {
  registry.RegisterDialog<TDeviceFormRequest, TDeviceForm>();
  registry.RegisterDialog<TDeviceScriptsRequest, TAddDeviceScriptsForm>();
  registry.RegisterDialog<TDeviceOccupiedRequest, TDeviceOccupiedForm>();
  registry.RegisterDialog<TReassignDeviceRequest, TReassignDeviceForm>();
  registry.RegisterDialog<TInteractRequest, TInteractiveForm>();
  registry.RegisterDialog<TChangeColorsRequest, TInteractiveChangeColorForm>();
  registry.RegisterDialog<TScanForDevicesRequest, TScanForDevicesForm>();
}
