#include "scripts/ui/send_binary_dialog.h"

#include <string>
#include <vector>

#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/ui/array_index_combo.h"
#include "model/ui_port.h"
#include "model/variable_data.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/device_combo.h"
#include "ui_send_binary_dialog.h"

namespace {

QVariant Holding(TData* variable) {
  return QVariant::fromValue(reinterpret_cast<quintptr>(variable));
}

TData* Held(const QComboBox& box, int index) {
  return index < 0 ? nullptr : reinterpret_cast<TData*>(box.itemData(index).value<quintptr>());
}

// The variable dialog for a new variable of the list in the block: integer, and float
// when allowed.
TData* NewVariable(TDataList& list, TBlock* block, bool floatAllowed, bool readOnlyAllowed) {
  TDataFormRequest entries;
  entries.Mode = TDataFormRequest::dmEDIT;
  entries.ShowArraySize = list.GetListKind() != 1;
  entries.Type = eatINTEGER;
  entries.StringAllowed = false;
  entries.FloatAllowed = floatAllowed;
  entries.ReadOnlyAllowed = readOnlyAllowed;
  entries.NameList = &list.GetDataNameList();
  if (UiPort().OpenDialog(entries) != 1) return nullptr;
  return list.Create(block, entries);
}

}  // namespace

TSendBinaryForm::TSendBinaryForm(TSendBinaryScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 63, parent), Ui(std::make_unique<Ui::TSendBinaryForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Send Binary Data");
  SizeFromOk(9, 16);
  SetFirstInput(Ui->DeviceCombo);

  // The arrays that can be sent (a string array cannot), and the counts.
  std::vector<TData*> variables;
  if (request.Experiment) request.Experiment->GetAllVariables(variables);
  Ui->DataPointBox->addItem(TEntireArray::Text(), Holding(nullptr));
  for (TData* variable : variables) {
    if (variable->IsArray() && variable->GetDataType() != eatSTRING)
      Ui->DataBox->addItem(ArrayText(variable), Holding(variable));
    else if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      Ui->DataPointBox->addItem(QString::fromStdString(variable->GetDataName()), Holding(variable));
  }
  Ui->DataPointBox->setCurrentIndex(-1);
  Ui->DataPointBox->setEditText(QString());

  TDevice* device = request.Device;
  if (TSendBinaryScript* command = request.SendBinary()) {
    device = command->GetDevice();
    if (TVariableDataArray* array = command->GetSendArray())
      Ui->DataBox->setCurrentIndex(Ui->DataBox->findData(Holding(array->GetData())));
    if (TVariableDataSingle* count = command->GetPointCountVariable())
      Ui->DataPointBox->setCurrentIndex(Ui->DataPointBox->findData(Holding(count->GetData())));
    else if (command->GetPointCount() > 0)
      Ui->DataPointBox->setEditText(
          QString::fromStdString(NumberText::IntToText(command->GetPointCount())));
    else
      Ui->DataPointBox->setCurrentIndex(0);
    if (command->GetBinaryType() == TSendBinaryScript::sbINT16)
      Ui->Int16Button->setChecked(true);
    else
      Ui->Int32Button->setChecked(true);
  } else {
    if (!device && !request.Devices.empty()) device = request.Devices.front();
    Ui->DataBox->setCurrentIndex(Ui->DataBox->count() > 0 ? 0 : -1);
  }
  FillDeviceCombo(*Ui->DeviceCombo, request.Devices, device);
  DataBoxChange();

  connect(Ui->DataBox, &QComboBox::currentIndexChanged, this, [this] { DataBoxChange(); });
  connect(Ui->NewArray, &QPushButton::clicked, this, [this] { NewArrayClick(); });
  connect(Ui->NewDataPoints, &QPushButton::clicked, this, [this] { NewDataPointsClick(); });
}

TSendBinaryForm::~TSendBinaryForm() {
  delete Pnewarray;
  delete Pnewpoints;
}

void TSendBinaryForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  const bool idle = !IsRunActive();
  Ui->NewArray->setEnabled(idle);
  Ui->NewDataPoints->setEnabled(idle);
  Ui->DataPointBox->setEnabled(idle);
}

QString TSendBinaryForm::ArrayText(TData* array) const {
  return QString::fromStdString(array->GetName() + "[" + NumberText::IntToText(array->GetSize()) +
                                "]");
}

TDataArray* TSendBinaryForm::SelectedArray() const {
  return static_cast<TDataArray*>(Held(*Ui->DataBox, Ui->DataBox->currentIndex()));
}

void TSendBinaryForm::DataBoxChange() {
  TData* array = SelectedArray();
  Ui->IntegerCount->setVisible(array && array->GetDataType() == eatINTEGER);
  Ui->FloatLabel->setVisible(array && array->GetDataType() == eatFLOAT);
}

void TSendBinaryForm::NewArrayClick() {
  if (IsRunActive() || !Request.Experiment || !Request.Block) return;
  if (!Pnewarray) {
    Pnewarray = NewVariable(*Request.Experiment->GetDataArrayList(), Request.Block, true, false);
    if (!Pnewarray) return;
    Ui->DataBox->addItem(ArrayText(Pnewarray), Holding(Pnewarray));
  } else {
    Pnewarray->Edit();
  }
  const int index = Ui->DataBox->findData(Holding(Pnewarray));
  Ui->DataBox->setItemText(index, ArrayText(Pnewarray));
  Ui->DataBox->setCurrentIndex(index);
  DataBoxChange();
}

void TSendBinaryForm::NewDataPointsClick() {
  if (IsRunActive() || !Request.Experiment || !Request.Block) return;
  if (!Pnewpoints) {
    Pnewpoints = NewVariable(*Request.Experiment->GetDataSingleList(), Request.Block, false, true);
    if (!Pnewpoints) return;
    Ui->DataPointBox->addItem(QString::fromStdString(Pnewpoints->GetDataName()),
                              Holding(Pnewpoints));
  } else {
    Pnewpoints->Edit();
  }
  const int index = Ui->DataPointBox->findData(Holding(Pnewpoints));
  Ui->DataPointBox->setItemText(index, QString::fromStdString(Pnewpoints->GetDataName()));
  Ui->DataPointBox->setCurrentIndex(index);
}

void TSendBinaryForm::OkClick() {
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return Refuse("You must select a device", Ui->DeviceCombo);
  TDataArray* array = SelectedArray();
  if (!array) return Refuse("You must select an array to send", Ui->DataBox);

  // The count: an entry named by the text (the entire array or a count variable), or a
  // number of points from 1 to the array's size.
  const QString text = Ui->DataPointBox->currentText().trimmed();
  if (text.isEmpty()) return Refuse("The number of points cannot be empth", Ui->DataPointBox);
  const int entry = Ui->DataPointBox->findText(text, Qt::MatchExactly);
  TData* countVariable = Held(*Ui->DataPointBox, entry);
  std::int32_t count = -1;
  if (entry < 0) {
    if (!NumberText::TextToInt(text.toStdString(), count) || count < 1)
      return Refuse("You must enter a valid number of points (greater than zero)",
                    Ui->DataPointBox);
    if (count > array->GetSize())
      return Refuse("Number of points exceeds array size.", Ui->DataPointBox);
  } else if (countVariable && countVariable->GetDataType() != eatINTEGER) {
    // The new count variable, retyped through its dialog.
    return Refuse("You must enter a valid number of points (greater than zero)", Ui->DataPointBox);
  }

  std::uint8_t type = TSendBinaryScript::sbFLOAT;
  if (array->GetDataType() == eatINTEGER)
    type = Ui->Int16Button->isChecked() ? TSendBinaryScript::sbINT16 : TSendBinaryScript::sbINT32;
  else if (array->GetDataType() != eatFLOAT)  // the new array, retyped through its dialog
    return Refuse("You must select an array to send", Ui->DataBox);
  Apply(TScript::SENDBINARY, [&](TScript& made) {
    auto& send = static_cast<TSendBinaryScript&>(made);
    if (countVariable)
      send.SetUpWithCountVariable(device, array, type, static_cast<TDataSingle*>(countVariable));
    else if (count > 0)
      send.SetUpWithCount(device, array, type, count);
    else
      send.SetUpWholeArray(device, array, type);
    if (array == Pnewarray) Pnewarray = nullptr;  // the command uses them
    if (countVariable && countVariable == Pnewpoints) Pnewpoints = nullptr;
  });
}
