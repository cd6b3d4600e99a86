#include "scripts/ui/send_gpib_dialog.h"

#include <utility>

#include "scripts/ui/device_combo.h"
#include "ui_send_gpib_dialog.h"

TSendGPIBScriptForm::TSendGPIBScriptForm(TSendGPIBScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 12, parent), Ui(std::make_unique<Ui::TSendGPIBScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Send GPIB Commands");
  SizeFromOk(11, 10);
  SetFirstInput(Ui->DeviceCombo);
  TDevice* device = request.Device;
  if (TSendGPIBScript* command = request.SendGPIB()) {
    device = command->GetDevice();
    const std::uint8_t flags = command->GetBusCommands();
    Ui->RENButton->setChecked(flags & TSendGPIBScript::REN);
    Ui->GTLButton->setChecked(flags & TSendGPIBScript::GTL);
    Ui->DCLButton->setChecked(flags & TSendGPIBScript::DCL);
    Ui->IFCButton->setChecked(flags & TSendGPIBScript::IFC);
    Ui->LLOButton->setChecked(flags & TSendGPIBScript::LLO);
  } else if (!device && !request.Devices.empty()) {
    device = request.Devices.front();
  }
  FillDeviceCombo(*Ui->DeviceCombo, request.Devices, device);
}

TSendGPIBScriptForm::~TSendGPIBScriptForm() = default;

void TSendGPIBScriptForm::OkClick() {
  std::uint8_t flags = 0;
  const std::pair<QCheckBox*, std::uint8_t> boxes[] = {{Ui->RENButton, TSendGPIBScript::REN},
                                                       {Ui->GTLButton, TSendGPIBScript::GTL},
                                                       {Ui->DCLButton, TSendGPIBScript::DCL},
                                                       {Ui->IFCButton, TSendGPIBScript::IFC},
                                                       {Ui->LLOButton, TSendGPIBScript::LLO}};
  for (const auto& [box, flag] : boxes)
    if (box->isChecked()) flags |= flag;
  // The commands first: they are what the dialog is about.
  if (flags == 0) return Refuse("You must select a GPIB command", Ui->RENButton);
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return Refuse("You must select a device", Ui->DeviceCombo);
  Apply(TScript::SENDGPIB, [device, flags](TScript& command) {
    static_cast<TSendGPIBScript&>(command).SetUpSendGPIB(device, flags);
  });
}
