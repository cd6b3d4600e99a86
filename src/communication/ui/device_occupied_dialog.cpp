#include "communication/ui/device_occupied_dialog.h"

#include <algorithm>

#include "ui_device_occupied_dialog.h"

TDeviceOccupiedForm::TDeviceOccupiedForm(TDeviceOccupiedRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TDeviceOccupiedForm>()), Request(request) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 53);
  Ui->Help->setProperty("helpContext", 53);
  Ui->Help->setEnabled(false);
  // No close button: the dialog ends with a choice.
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  Ui->CommunicationLabel->setText(QString::fromStdString(request.CommunicationName));
  Ui->OccupantLabel->setText(
      QString::fromStdString("Is already being used by " + request.OccupantName));
  connect(Ui->Ok, &QPushButton::clicked, this, &TDeviceOccupiedForm::accept);
  for (QRadioButton* radio : {Ui->OverwriteRadio, Ui->ReassignRadio, Ui->SkipRadio})
    connect(radio, &QRadioButton::toggled, this, &TDeviceOccupiedForm::ChoiceChanged);
  Ui->OverwriteRadio->setChecked(true);
  ChoiceChanged();
  const int unit = Ui->Ok->sizeHint().height();
  resize(std::max(10 * unit, sizeHint().width()), std::max(11 * unit, sizeHint().height()));
}

TDeviceOccupiedForm::~TDeviceOccupiedForm() = default;

void TDeviceOccupiedForm::ChoiceChanged() {
  // "Transfer Scripts?" belongs to Overwrite: shown, and ticked, only with it.
  const bool overwrite = Ui->OverwriteRadio->isChecked();
  Ui->TransferScriptsCheck->setVisible(overwrite);
  if (overwrite) Ui->TransferScriptsCheck->setChecked(true);
}

void TDeviceOccupiedForm::accept() {
  Request.Choice = Ui->OverwriteRadio->isChecked()  ? TDeviceOccupiedRequest::dcOVERWRITE
                   : Ui->ReassignRadio->isChecked() ? TDeviceOccupiedRequest::dcREASSIGN
                                                    : TDeviceOccupiedRequest::dcSKIP;
  Request.TransferScripts =
      Request.Choice == TDeviceOccupiedRequest::dcOVERWRITE && Ui->TransferScriptsCheck->isChecked();
  QDialog::accept();
}
