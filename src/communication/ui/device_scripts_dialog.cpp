#include "communication/ui/device_scripts_dialog.h"

#include <QListWidget>
#include <QMenu>

#include "communication/core_device.h"
#include "communication/read_response.h"
#include "model/attribute_type.h"
#include "shell/ui/user_dialogs.h"
#include "ui_device_scripts_dialog.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TAddDeviceScriptsForm::TAddDeviceScriptsForm(TDeviceScriptsRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TAddDeviceScriptsForm>()), Request(request) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 50);
  Ui->Help->setProperty("helpContext", 50);
  Ui->Help->setEnabled(false);

  connect(Ui->Ok, &QPushButton::clicked, this, &TAddDeviceScriptsForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TAddDeviceScriptsForm::reject);
  connect(Ui->Add, &QPushButton::clicked, this, &TAddDeviceScriptsForm::AddClick);
  connect(Ui->ScriptList, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { EditLine(Ui->ScriptList->row(item)); });
  connect(Ui->ScriptList, &QWidget::customContextMenuRequested, this,
          &TAddDeviceScriptsForm::ListMenu);
  connect(Ui->IsResponseYesRadio, &QRadioButton::toggled, this,
          &TAddDeviceScriptsForm::UpdateEditorControls);
  connect(Ui->BinaryRadio, &QRadioButton::clicked, this, &TAddDeviceScriptsForm::ReadAsClicked);
  connect(Ui->AsciiRadio, &QRadioButton::clicked, this, &TAddDeviceScriptsForm::ReadAsClicked);
  connect(Ui->ConstantRadio, &QRadioButton::clicked, this,
          &TAddDeviceScriptsForm::PointsKindClicked);
  connect(Ui->VariableRadio, &QRadioButton::clicked, this,
          &TAddDeviceScriptsForm::PointsKindClicked);

  TCoreDevice* device = Request.Device;
  if (device) device->CopyScriptsTo(Scripts);
  for (TDeviceScript* script : Scripts) Ui->ScriptList->addItem(Text(script->GetText()));
  ResetEditor();
  const int unit = Ui->Ok->sizeHint().height();
  resize(std::max(20 * unit, sizeHint().width()), sizeHint().height());
}

TAddDeviceScriptsForm::~TAddDeviceScriptsForm() {
  // Never left behind, however the dialog went.
  for (TDeviceScript* script : Scripts)
    if (script && !script->GetOwner()) delete script;
}

// --- The editor ---

TDeviceScriptEntry TAddDeviceScriptsForm::EntryFromControls() const {
  TDeviceScriptEntry entry;
  entry.Command = Ui->CommandEdit->text().toStdString();
  entry.IsResponse = Ui->IsResponseYesRadio->isChecked();
  entry.SendEndChars = Ui->SendEndCharsCheck->isChecked();
  entry.ValueType = Ui->IntegerRadio->isChecked() ? eatINTEGER
                    : Ui->FloatRadio->isChecked() ? eatFLOAT
                                                  : eatSTRING;
  entry.ReadAs = Ui->BinaryRadio->isChecked() ? rtBINARY : rtASCII;
  entry.BytesPerPoint = Ui->BytesEdit->text().toStdString();
  entry.StoreByteCount = Ui->StoreByteCountCheck->isChecked();
  entry.PointsFromVariable = Ui->VariableRadio->isChecked();
  entry.Points = Ui->PointsEdit->text().toStdString();
  entry.Delimiter = Ui->DelimiterEdit->text().toStdString();
  entry.LeftToRight = !Ui->RightToLeftRadio->isChecked();
  return entry;
}

void TAddDeviceScriptsForm::ShowEntry(const TDeviceScriptEntry& entry) {
  Ui->CommandEdit->setText(Text(entry.Command));
  (entry.IsResponse ? Ui->IsResponseYesRadio : Ui->IsResponseNoRadio)->setChecked(true);
  Ui->SendEndCharsCheck->setChecked(entry.SendEndChars);
  (entry.ValueType == eatINTEGER ? Ui->IntegerRadio
   : entry.ValueType == eatFLOAT ? Ui->FloatRadio
                                 : Ui->StringRadio)
      ->setChecked(true);
  (entry.ReadAs == rtBINARY ? Ui->BinaryRadio : Ui->AsciiRadio)->setChecked(true);
  Ui->BytesEdit->setText(Text(entry.BytesPerPoint));
  Ui->StoreByteCountCheck->setChecked(entry.StoreByteCount);
  (entry.PointsFromVariable ? Ui->VariableRadio : Ui->ConstantRadio)->setChecked(true);
  Ui->PointsEdit->setText(Text(entry.Points));
  Ui->DelimiterEdit->setText(Text(entry.Delimiter));
  (entry.LeftToRight ? Ui->LeftToRightRadio : Ui->RightToLeftRadio)->setChecked(true);
  UpdateEditorControls();
}

void TAddDeviceScriptsForm::ResetEditor() {
  Editing = -1;
  ShowEntry(TDeviceScriptEntry());
  Ui->Add->setText("&Add");
  Ui->CommandEdit->setFocus();
}

void TAddDeviceScriptsForm::UpdateEditorControls() {
  const bool response = Ui->IsResponseYesRadio->isChecked();
  Ui->SendEndCharsCheck->setEnabled(!response);
  Ui->ResponseGroup->setEnabled(response);
  const bool binary = Ui->BinaryRadio->isChecked();
  Ui->ByteOrderGroup->setEnabled(binary);
  Ui->DelimiterLabel->setEnabled(!binary);
  Ui->DelimiterEdit->setEnabled(!binary);
  const bool variable = Ui->VariableRadio->isChecked();
  Ui->PointsLabel->setText(variable ? "Size of Read Command" : "Number of Points to Read");
  Ui->ArrayVariableNote->setVisible(variable);
}

void TAddDeviceScriptsForm::ReadAsClicked() {
  const bool binary = Ui->BinaryRadio->isChecked();
  Ui->BytesEdit->setText(binary ? "4" : "100");
  if (!binary) Ui->DelimiterEdit->setText(";");
  UpdateEditorControls();
}

void TAddDeviceScriptsForm::PointsKindClicked() {
  Ui->PointsEdit->setText(Ui->VariableRadio->isChecked() ? "10" : "1");
  UpdateEditorControls();
}

void TAddDeviceScriptsForm::Refuse(const TEntryRefusal& refusal) {
  UserDialogs().Message(this, MessageBoxOf(refusal.Message, "", TMessageKind::Information));
  if (QWidget* control = findChild<QWidget*>(Text(refusal.Control))) control->setFocus();
}

void TAddDeviceScriptsForm::AddClick() {
  const TDeviceScriptEntry entry = EntryFromControls();
  if (const std::optional<TEntryRefusal> refused = CheckDeviceScriptEntry(entry)) {
    Refuse(*refused);
    return;
  }
  TDeviceScript* script = nullptr;
  if (Editing >= 0) {
    script = Scripts[Editing];
  } else {
    script = new TDeviceScript(entry.Command);
    Scripts.push_back(script);
    Ui->ScriptList->addItem(QString());
  }
  ApplyDeviceScriptEntry(*script, entry);
  const int row = Editing >= 0 ? Editing : static_cast<int>(Scripts.size()) - 1;
  Ui->ScriptList->item(row)->setText(Text(script->GetText()));
  // A command of the device changes at once; a new one only when OK takes it.
  if (script->GetOwner()) Request.Changed = true;
  ResetEditor();
}

// --- The list ---

void TAddDeviceScriptsForm::EditLine(int row) {
  if (row < 0 || row >= static_cast<int>(Scripts.size())) return;
  Editing = row;
  Ui->ScriptList->setCurrentRow(row);
  ShowEntry(DeviceScriptEntryOf(*Scripts[row]));
  Ui->Add->setText("&UpDate");
  Ui->CommandEdit->setFocus();
}

void TAddDeviceScriptsForm::DeleteLine(int row) {
  if (row < 0 || row >= static_cast<int>(Scripts.size())) return;
  if (Scripts[row]->GetOwner()) Request.Changed = true;
  delete Scripts[row];  // a command of the device leaves it
  Scripts.erase(Scripts.begin() + row);
  delete Ui->ScriptList->takeItem(row);
  if (Editing == row)
    ResetEditor();
  else if (Editing > row)
    --Editing;
}

void TAddDeviceScriptsForm::ListMenu(const QPoint& at) {
  QListWidgetItem* item = Ui->ScriptList->itemAt(at);
  // The entries show only over a selected line.
  if (!item || !item->isSelected()) return;
  const int row = Ui->ScriptList->row(item);
  QMenu menu(this);
  QAction* edit = menu.addAction("&Edit");
  edit->setObjectName("EditMenuItem");
  QAction* remove = menu.addAction("&Delete");
  remove->setObjectName("DeleteMenuItem");
  QAction* chosen = menu.exec(Ui->ScriptList->viewport()->mapToGlobal(at));
  if (chosen == edit) EditLine(row);
  if (chosen == remove) DeleteLine(row);
}

// --- Closing ---

void TAddDeviceScriptsForm::accept() {
  if (Request.Device) {
    for (TDeviceScript* script : Scripts)
      if (!script->GetOwner()) Request.Changed = true;
    Request.Device->TakeScripts(Scripts);
  }
  QDialog::accept();
}

void TAddDeviceScriptsForm::done(int result) {
  for (TDeviceScript*& script : Scripts)
    if (script && !script->GetOwner()) {
      delete script;
      script = nullptr;
    }
  Scripts.clear();
  Ui->ScriptList->clear();
  QDialog::done(result);
}
