#include "scripts/ui/send_dialog.h"

#include <string>
#include <vector>

#include "communication/core_device.h"
#include "communication/device.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/variable_data.h"
#include "outputs/ui/number_format_dialog.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/device_combo.h"
#include "ui_send_dialog.h"

namespace {

QVariant Holding(TData* variable) {
  return QVariant::fromValue(reinterpret_cast<quintptr>(variable));
}

}  // namespace

TSendScriptForm::TSendScriptForm(TSendScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 10, parent), Ui(std::make_unique<Ui::TSendScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Send");
  SizeFromOk(10, 17);
  SetFirstInput(Ui->EditSendCmd);

  // The variables, then "No Variable"; the integer singles as index candidates.
  std::vector<TData*> variables;
  if (request.Experiment) request.Experiment->GetAllVariables(variables);
  for (TData* variable : variables) {
    Ui->ConCombo->addItem(QString::fromStdString(variable->GetName()), Holding(variable));
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      TVariableArrayComboSelection::AddIndexVariableItem(*Ui->VarArrayComboBox,
                                                         static_cast<TDataSingle*>(variable));
  }
  Ui->ConCombo->addItem("No Variable", Holding(nullptr));

  TDevice* device = request.Devices.empty() ? nullptr : request.Devices.front();
  TSendScript* command = request.Send();
  TData* variable = nullptr;
  if (command) {
    device = command->GetDevice();
    Ui->EditSendCmd->setText(QString::fromStdString(command->GetCommandString()));
    if (TVariableData* reference = command->GetVariable()) variable = reference->GetData();
    Ui->SendTermCharCheck->setChecked(command->GetSendTerminators());
    Ui->ForceSpaceCheck->setChecked(command->GetForceSpace());
    ANotation = command->GetNotation();
    ADecimals = command->GetDecimals();
  } else {
    Ui->SendTermCharCheck->setChecked(true);
  }
  FillDeviceCombo(*Ui->DeviceCombo, request.Devices, device);
  DeviceComboChange();
  Ui->ConCombo->setCurrentIndex(EntryOf(variable));
  ConComboChange();
  if (command && variable && variable->IsArray())
    Pcomboselection.ShowIndex(
        *Ui->VarArrayComboBox,
        static_cast<TVariableDataArray*>(command->GetVariable())->GetArrayIndex());
  ShowFormat();

  connect(Ui->DeviceCombo, &QComboBox::currentIndexChanged, this, [this] { DeviceComboChange(); });
  connect(Ui->ConCombo, &QComboBox::currentIndexChanged, this, [this] { ConComboChange(); });
  connect(Ui->FloatFormatButton, &QPushButton::clicked, this, [this] { FloatFormatButtonClick(); });
  connect(Ui->AddVar, &QPushButton::clicked, this, [this] { AddVarClick(); });
}

TSendScriptForm::~TSendScriptForm() { delete Pnewvariable; }

void TSendScriptForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  Ui->AddVar->setEnabled(!IsRunActive());
}

int TSendScriptForm::EntryOf(TData* variable) const {
  return Ui->ConCombo->findData(Holding(variable));
}

TData* TSendScriptForm::SelectedVariable() const {
  const int index = Ui->ConCombo->currentIndex();
  return index < 0 ? nullptr
                   : reinterpret_cast<TData*>(Ui->ConCombo->itemData(index).value<quintptr>());
}

void TSendScriptForm::DeviceComboChange() {
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  const bool known = device && device->HasCoreDevice();
  Ui->Term1->setText(
      known ? QString::fromStdString(NumberText::IntToText(device->GetCoreDevice().GetSendChar1()))
            : QString());
  Ui->Term2->setText(
      known ? QString::fromStdString(NumberText::IntToText(device->GetCoreDevice().GetSendChar2()))
            : QString());
}

void TSendScriptForm::ConComboChange() {
  TData* variable = SelectedVariable();
  const bool array = variable && variable->IsArray();
  const bool isFloat = variable && variable->GetDataType() == eatFLOAT;
  Ui->VarArrayComboBox->setVisible(array);
  Ui->FloatFormatButton->setVisible(isFloat);
  Ui->FloatFormatLabel->setVisible(isFloat);
  if (array) {
    Ui->VarArrayComboBox->setCurrentIndex(-1);
    Ui->VarArrayComboBox->setEditText(QString());
  }
}

void TSendScriptForm::ShowFormat() {
  QString text = "Format: ";
  const QString places =
      QString::fromStdString(NumberText::IntToText(ADecimals)) + " places after the decimal";
  if (ANotation == ntFIXED)
    text += "Fixed " + places;
  else if (ANotation == ntSCIENTIFIC)
    text += "Scientific " + places;
  else
    text += "Standard";
  Ui->FloatFormatLabel->setText(text);
}

void TSendScriptForm::FloatFormatButtonClick() {
  TNumberFormatForm format(this);
  if (!format.Execute(ANotation, ADecimals)) return;
  ANotation = format.Kind();
  ADecimals = format.DecimalPlaces();
  ShowFormat();
}

void TSendScriptForm::AddVarClick() {
  if (IsRunActive() || !Request.Experiment) return;
  const bool array = Ui->ArrayButton->isChecked();
  TDataList* list = array ? static_cast<TDataList*>(Request.Experiment->GetDataArrayList())
                          : static_cast<TDataList*>(Request.Experiment->GetDataSingleList());
  if (Pnewvariable && Pnewvariable->IsArray() == array) {
    Pnewvariable->Edit();
    Ui->ConCombo->setItemText(EntryOf(Pnewvariable),
                              QString::fromStdString(Pnewvariable->GetName()));
  } else {
    TBlock* block = GetTargetBlock(*Request.Experiment);
    if (!block) return;
    TData* made = list->AddWithDialog(block, true);
    if (!made) return;   // the one made before stays
    if (Pnewvariable) {  // of the other kind: replaced
      Ui->ConCombo->removeItem(EntryOf(Pnewvariable));
      delete Pnewvariable;
    }
    Pnewvariable = made;
    Ui->ConCombo->insertItem(Ui->ConCombo->count() - 1, QString::fromStdString(made->GetName()),
                             Holding(made));
  }
  Ui->ConCombo->setCurrentIndex(EntryOf(Pnewvariable));
  ConComboChange();
}

void TSendScriptForm::OkClick() {
  TData* variable = SelectedVariable();
  if (variable && variable->IsArray()) {
    std::string message;
    if (!Pcomboselection.ValidateIndex(*Ui->VarArrayComboBox, variable->GetSize(), message))
      return Refuse(message, Ui->VarArrayComboBox);
  }
  const std::string text = TrimText(Ui->EditSendCmd->text().toStdString());
  if (text.empty() && !variable)
    return Refuse("You must select a variable or enter a string to send.", Ui->EditSendCmd);
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return Refuse("You must select a device", Ui->DeviceCombo);
  const bool terminators = Ui->SendTermCharCheck->isChecked();
  const bool forceSpace = Ui->ForceSpaceCheck->isChecked();
  Apply(TScript::SEND, [&](TScript& made) {
    auto& send = static_cast<TSendScript&>(made);
    send.SetUpSend(device, text, terminators, variable, ANotation, ADecimals, forceSpace);
    if (variable && variable->IsArray())
      Pcomboselection.ReadIndex(
          *Ui->VarArrayComboBox,
          static_cast<TVariableDataArray*>(send.GetVariable())->GetArrayIndex());
    if (variable && variable == Pnewvariable) Pnewvariable = nullptr;  // the command uses it
  });
}
