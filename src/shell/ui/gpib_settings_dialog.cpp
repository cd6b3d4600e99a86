#include "shell/ui/gpib_settings_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "shell/ui/user_dialogs.h"
#include "ui_gpib_settings_dialog.h"

TGPIBAdvancedForm::TGPIBAdvancedForm(TGpibSettingsRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TGPIBAdvancedForm>()), Request(request) {
  Ui->setupUi(this);
  setProperty("helpContext", 26);
  Ui->Help->setProperty("helpContext", 26);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  connect(Ui->OK, &QPushButton::clicked, this, &TGPIBAdvancedForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TGPIBAdvancedForm::reject);
  connect(Ui->AutoDetectCheckBox, &QCheckBox::clicked, this, &TGPIBAdvancedForm::AutoDetectClick);

  Ui->NationalEdit->setText(QString::number(request.Settings.NationalCards));
  Ui->CECEdit->setText(QString::number(request.Settings.CECCards));
  Ui->AutoDetectCheckBox->setChecked(request.Settings.AutoDetect);
  AutoDetectClick();

  const int unit = Ui->OK->sizeHint().height();
  resize(std::max(13 * unit, sizeHint().width()), std::max(8 * unit, sizeHint().height()));
}

TGPIBAdvancedForm::~TGPIBAdvancedForm() = default;

void TGPIBAdvancedForm::AutoDetectClick() {
  const bool counted = !Ui->AutoDetectCheckBox->isChecked();
  for (QWidget* control :
       std::initializer_list<QWidget*>{Ui->NatLabel, Ui->NationalEdit, Ui->CECLabel, Ui->CECEdit})
    control->setEnabled(counted);
}

void TGPIBAdvancedForm::accept() {
  TGpibSettings settings = Request.Settings;
  const std::optional<TGpibRefusal> refused =
      TakeGpibEntries(Ui->AutoDetectCheckBox->isChecked(), Ui->NationalEdit->text().toStdString(),
                      Ui->CECEdit->text().toStdString(), settings);
  if (refused) {
    UserDialogs().Message(this, MessageBoxOf(refused->Message, "", TMessageKind::Information));
    QLineEdit* edit = refused->Field == TGpibField::National ? Ui->NationalEdit : Ui->CECEdit;
    edit->setFocus();
    return;
  }
  Request.Settings = settings;
  QDialog::accept();
}
