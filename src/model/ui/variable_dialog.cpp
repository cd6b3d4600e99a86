#include "model/ui/variable_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data_list.h"
#include "model/number_text.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/add_button.h"
#include "ui_variable_dialog.h"

TDataForm::TDataForm(TDataFormRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TDataForm>()), Request(request) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 14);
  Ui->Help->setProperty("helpContext", 14);
  Ui->Help->setEnabled(false);
  Ui->Cancel->setAutoDefault(false);
  Ui->Help->setAutoDefault(false);
  connect(Ui->OK, &QPushButton::clicked, this, &TDataForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TDataForm::reject);
  connect(Ui->Add, &QPushButton::clicked, this, &TDataForm::AddClick);

  Ui->ArraySizeLabel->setVisible(request.ShowArraySize);
  Ui->ArraySizeEdit->setVisible(request.ShowArraySize);
  if (request.ShowArraySize) SetArraySize(request.ArraySize);
  SetVariableName(request.Name);
  SetDataType(request.Type);
  SetInitialValueText(request.InitialValueText);
  SetStringAllowed(request.StringAllowed);
  SetIntegerAllowed(request.IntegerAllowed);
  SetFloatAllowed(request.FloatAllowed);
  SetReadOnlyAllowed(request.ReadOnlyAllowed);
  if (request.ReadOnlyAllowed) SetReadOnlyChecked(request.ReadOnly);
  // A type that may not be chosen leaves the first one that may.
  if (!TypeButton(request.Type)->isEnabled())
    for (int type = eatSTRING; type <= eatFLOAT; ++type)
      if (TypeButton(type)->isEnabled()) {
        SetDataType(type);
        break;
      }

  const bool adding = request.Mode == TDataFormRequest::dmADD;
  ShowAddButton(*Ui->Add, *Ui->OK, adding);
  const bool idle = !IsRunActive();
  Ui->OK->setEnabled(idle);
  Ui->Add->setEnabled(idle);

  const int unit = Ui->OK->sizeHint().height();
  resize(16 * unit, sizeHint().height());
  Ui->VarName->setFocus();
}

TDataForm::~TDataForm() = default;

void TDataForm::SetVariableName(const std::string& name) {
  Ui->VarName->setText(QString::fromStdString(name));
}

QRadioButton* TDataForm::TypeButton(int type) const {
  switch (type) {
    case eatSTRING: return Ui->StringButton;
    case eatINTEGER: return Ui->IntButton;
    case eatFLOAT: return Ui->FloatButton;
    default: break;
  }
  QORV_ASSERT((type>=eatSTRING)&&(type<=eatFLOAT));
  return nullptr;
}

void TDataForm::SetDataType(int type) { TypeButton(type)->setChecked(true); }

void TDataForm::SetInitialValueText(const std::string& text) {
  Ui->IniValueEdit->setText(QString::fromStdString(text));
}

void TDataForm::SetTypeAllowed(int type, bool allowed) {
  QRadioButton* button = TypeButton(type);
  button->setEnabled(allowed);
  if (!allowed && button->isChecked()) {
    // An exclusive group keeps one button checked; the disabled one lets go of it.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
  }
}

void TDataForm::SetStringAllowed(bool allowed) { SetTypeAllowed(eatSTRING, allowed); }
void TDataForm::SetIntegerAllowed(bool allowed) { SetTypeAllowed(eatINTEGER, allowed); }
void TDataForm::SetFloatAllowed(bool allowed) { SetTypeAllowed(eatFLOAT, allowed); }

void TDataForm::SetReadOnlyAllowed(bool allowed) {
  Ui->ReadOnlyBox->setEnabled(allowed);
  if (!allowed) Ui->ReadOnlyBox->setChecked(false);
}

void TDataForm::SetReadOnlyChecked(bool checked) { Ui->ReadOnlyBox->setChecked(checked); }

void TDataForm::SetArraySize(int size) {
  Ui->ArraySizeEdit->setText(QString::fromStdString(NumberText::IntToText(size)));
}

TDataFormEntries TDataForm::Entries() const {
  TDataFormEntries entries;
  entries.Name = Ui->VarName->text().toStdString();
  entries.InitialValue = Ui->IniValueEdit->text().toStdString();
  entries.Type = -1;
  for (int type = eatSTRING; type <= eatFLOAT; ++type)
    if (TypeButton(type)->isChecked()) entries.Type = type;
  entries.ArraySize = Ui->ArraySizeEdit->text().toStdString();
  entries.ReadOnly = Ui->ReadOnlyBox->isEnabled() && Ui->ReadOnlyBox->isChecked();
  return entries;
}

bool TDataForm::Validate() {
  QWidget* focus = nullptr;
  switch (CheckDataEntries(Request, Entries())) {
    case TDataFormField::None: return true;
    case TDataFormField::Name: focus = Ui->VarName; break;
    case TDataFormField::ArraySize: focus = Ui->ArraySizeEdit; break;
    case TDataFormField::InitialValue: focus = Ui->IniValueEdit; break;
  }
  focus->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) edit->selectAll();
  return false;
}

void TDataForm::accept() {
  if (Request.Mode == TDataFormRequest::dmADD && Ui->VarName->text().isEmpty()) {
    reject();
    return;
  }
  if (!Validate()) return;
  TakeDataEntries(Request, Entries());
  UiPort().ExperimentChanged(1, 0);
  QDialog::accept();
}

void TDataForm::AddClick() {
  QORV_ASSERT(Request.List!=0);
  QORV_ASSERT(Request.Block!=0);
  if (!Validate()) return;
  TakeDataEntries(Request, Entries());
  Request.List->Create(Request.Block, Request);
  Ui->VarName->clear();
  Ui->IniValueEdit->clear();
  Request.Name.clear();  // the remembered name: the next variable is a new one
  Ui->ReadOnlyBox->setChecked(false);
  Ui->VarName->setFocus();
  UiPort().ExperimentChanged(1, 0);
}
