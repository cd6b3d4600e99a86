#include "scripts/ui/clear_device_buffer_dialog.h"

#include "scripts/ui/device_combo.h"
#include "ui_clear_device_buffer_dialog.h"

TClearDeviceBufferScriptForm::TClearDeviceBufferScriptForm(TClearDeviceBufferScriptRequest& request,
                                                           QWidget* parent)
    : TScriptForm(request, 69, parent), Ui(std::make_unique<Ui::TClearDeviceBufferScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("ClearDevice Buffer");
  SizeFromOk(5, 10);
  SetFirstInput(Ui->DeviceCombo);
  TDevice* device = request.Devices.empty() ? nullptr : request.Devices.front();
  if (TClearDeviceBufferScript* command = request.ClearBuffer()) device = command->GetDevice();
  FillDeviceCombo(*Ui->DeviceCombo, request.Devices, device);
}

TClearDeviceBufferScriptForm::~TClearDeviceBufferScriptForm() = default;

void TClearDeviceBufferScriptForm::OkClick() {
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return Refuse("You must choose a device.", Ui->DeviceCombo);
  Apply(TScript::CLEARDEVICEBUFFER, [device](TScript& command) {
    static_cast<TClearDeviceBufferScript&>(command).SetDevice(device);
  });
}
