#include "scripts/ui/send_rs232_dialog.h"

#include "scripts/ui/device_combo.h"
#include "ui_send_rs232_dialog.h"

TSendRS232Form::TSendRS232Form(TSendRS232ScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 12, parent), Ui(std::make_unique<Ui::TSendRS232Form>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Send RS232");
  SizeFromOk(8, 9);
  SetFirstInput(Ui->DeviceComboBox);
  TDevice* device = request.Device;
  if (TSendRS232Script* command = request.SendRS232()) {
    device = command->GetDevice();
    Ui->TransmitCheckBox->setChecked(command->GetClearTransmit());
    Ui->ReceiveCheckBox->setChecked(command->GetClearReceive());
  } else {
    if (!device && !request.Devices.empty()) device = request.Devices.front();
    Ui->TransmitCheckBox->setChecked(true);
    Ui->ReceiveCheckBox->setChecked(true);
  }
  FillDeviceCombo(*Ui->DeviceComboBox, request.Devices, device);
}

TSendRS232Form::~TSendRS232Form() = default;

void TSendRS232Form::OkClick() {
  TDevice* device = SelectedDevice(*Ui->DeviceComboBox);
  if (!device) return Refuse("You must select a device", Ui->DeviceComboBox);
  const bool transmit = Ui->TransmitCheckBox->isChecked();
  const bool receive = Ui->ReceiveCheckBox->isChecked();
  if (!transmit && !receive)
    return Refuse("You must select at least one or press cancel", Ui->TransmitCheckBox);
  Apply(TScript::SENDRS232, [device, transmit, receive](TScript& command) {
    static_cast<TSendRS232Script&>(command).SetUpSendRS232(device, transmit, receive);
  });
}
