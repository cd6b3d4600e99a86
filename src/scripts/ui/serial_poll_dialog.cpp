#include "scripts/ui/serial_poll_dialog.h"

#include <vector>

#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/ui_port.h"
#include "model/variable_data.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/device_combo.h"
#include "ui_serial_poll_dialog.h"

namespace {

QVariant Holding(TDataSingle* variable) {
  return QVariant::fromValue(reinterpret_cast<quintptr>(variable));
}

}  // namespace

TSerialPollScriptForm::TSerialPollScriptForm(TSerialPollScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 23, parent), Ui(std::make_unique<Ui::TSerialPollScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Serial Poll");
  SizeFromOk(8, 13);
  SetFirstInput(Ui->DeviceComboBox);
  connect(Ui->NewButton, &QPushButton::clicked, this, [this] { NewButtonClick(); });

  // The block's integer variables that a command may write.
  std::vector<TData*> variables;
  if (request.Experiment && request.Block)
    request.Experiment->GetBlockVariables(request.Block, variables);
  for (TData* variable : variables)
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER && !variable->IsReadOnly())
      Ui->DataComboBox->addItem(QString::fromStdString(variable->GetDataName()),
                                Holding(static_cast<TDataSingle*>(variable)));
  Ui->DataComboBox->setCurrentIndex(-1);

  TDevice* device = request.Devices.empty() ? nullptr : request.Devices.front();
  if (TSerialPollScript* command = request.SerialPoll()) {
    device = command->GetDevice();
    if (TVariableDataSingle* reference = command->GetVariable())
      Ui->DataComboBox->setCurrentIndex(
          Ui->DataComboBox->findData(Holding(static_cast<TDataSingle*>(reference->GetData()))));
  }
  FillDeviceCombo(*Ui->DeviceComboBox, request.Devices, device);
}

TSerialPollScriptForm::~TSerialPollScriptForm() { delete Pnewvariable; }

void TSerialPollScriptForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  Ui->NewButton->setEnabled(!IsRunActive());
}

TDataSingle* TSerialPollScriptForm::SelectedVariable() const {
  const int index = Ui->DataComboBox->currentIndex();
  return index < 0
             ? nullptr
             : reinterpret_cast<TDataSingle*>(Ui->DataComboBox->itemData(index).value<quintptr>());
}

void TSerialPollScriptForm::NewButtonClick() {
  if (IsRunActive() || !Request.Experiment || !Request.Block) return;
  TDataList* list = Request.Experiment->GetDataSingleList();
  if (!Pnewvariable) {
    TDataFormRequest entries;
    entries.Mode = TDataFormRequest::dmEDIT;
    entries.Type = eatINTEGER;
    entries.StringAllowed = false;
    entries.FloatAllowed = false;
    entries.ReadOnlyAllowed = false;
    entries.NameList = &list->GetDataNameList();
    if (UiPort().OpenDialog(entries) != 1) return;
    Pnewvariable = static_cast<TDataSingle*>(list->Create(Request.Block, entries));
    Ui->DataComboBox->addItem(QString::fromStdString(Pnewvariable->GetDataName()),
                              Holding(Pnewvariable));
  } else {
    Pnewvariable->Edit();
  }
  const int index = Ui->DataComboBox->findData(Holding(Pnewvariable));
  Ui->DataComboBox->setItemText(index, QString::fromStdString(Pnewvariable->GetDataName()));
  Ui->DataComboBox->setCurrentIndex(index);
}

void TSerialPollScriptForm::OkClick() {
  // A command whose device left GPIB shows none: one is asked for, as with no variable.
  TDevice* device = SelectedDevice(*Ui->DeviceComboBox);
  if (!device) return Refuse("You must select a device", Ui->DeviceComboBox);
  TDataSingle* variable = SelectedVariable();
  if (!variable) return Refuse("You must add or select a variable", Ui->DataComboBox);
  if (variable->GetDataType() != eatINTEGER)  // the new one, retyped through its dialog
    return Refuse("You must add or select a variable", Ui->DataComboBox);
  Apply(TScript::SERIALPOLL, [this, device, variable](TScript& command) {
    static_cast<TSerialPollScript&>(command).SetUpSerialPoll(device, variable);
    if (variable == Pnewvariable) Pnewvariable = nullptr;  // the command uses it
  });
}
