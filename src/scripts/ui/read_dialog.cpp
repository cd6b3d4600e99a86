#include "scripts/ui/read_dialog.h"

#include <QComboBox>

#include <vector>

#include "communication/device.h"
#include "communication/device_list.h"
#include "model/assertion.h"
#include "scripts/command_devices.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/device_combo.h"
#include "ui_read_dialog.h"

void FillDevices(QComboBox& combo, TDevice* selected) {
  FillDeviceCombo(combo, CommandDevices(), selected);
}

TReadScriptForm::TReadScriptForm(TReadScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 7, parent), Ui(std::make_unique<Ui::TReadScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Read");
  SizeFromOk(14, 14);
  QORV_ASSERT(request.Experiment!=0&&request.Block!=0);
  TReadPage& page = *Ui->ReadSettings;
  page.Fill(*request.Experiment, request.Block);
  if (TReadScript* read = request.Read()) {
    FillDevices(*Ui->DeviceCombo, read->GetDevice());
    page.StartEdit(*read);
  } else {
    FillDevices(*Ui->DeviceCombo, request.Device);
    if (Ui->DeviceCombo->currentIndex() < 0 && Ui->DeviceCombo->count() > 0)
      Ui->DeviceCombo->setCurrentIndex(0);
    page.StartNew();
  }
  SetFirstInput(page.FirstInput());
}

TReadScriptForm::~TReadScriptForm() = default;

void TReadScriptForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  Ui->ReadSettings->SetRunning(IsRunActive());
}

void TReadScriptForm::OkClick() {
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return Refuse("You must select a device", Ui->DeviceCombo);
  TReadPage& page = *Ui->ReadSettings;
  if (auto refusal = page.Check()) return Refuse(refusal->Text, refusal->Control);
  TData* variable = page.Variable();
  const TReadResponse& response = page.Response();
  const bool clean = page.CleanString();
  const bool whitespace = page.WhitespaceDelimiter();
  if (!Apply(TScript::READ, [&](TScript& read) {
        static_cast<TReadScript&>(read).SetUpRead(device, variable, response, clean, whitespace);
      }))
    return;
  page.KeepUsed();
  page.ClearLinks();
}
