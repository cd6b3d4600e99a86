#include "scripts/ui/send_and_read_dialog.h"

#include <QComboBox>

#include <exception>
#include <vector>

#include "communication/core_device.h"
#include "communication/device.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/ui/array_index_combo.h"
#include "model/variable_data.h"
#include "outputs/ui/number_format_dialog.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_script.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/new_variable.h"
#include "scripts/ui/device_combo.h"
#include "scripts/ui/read_dialog.h"
#include "ui_send_and_read_dialog.h"

namespace {

QString Decimal(std::int64_t value) { return QString::fromStdString(NumberText::IntToText(value)); }

}  // namespace

TSendAndReadForm::TSendAndReadForm(TSendAndReadRequest& request, QWidget* parent)
    : TScriptForm(request, 11, parent), Ui(std::make_unique<Ui::TSendAndReadForm>()),
      Pcomboselection(std::make_unique<TVariableArrayComboSelection>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Send and Read");
  SizeFromOk(18, 14);
  QORV_ASSERT(request.Experiment!=0&&request.Block!=0);
  Ui->ReadSettings->SetWhitespaceText("Whitespace is a delimiter?");

  FillDevices(*Ui->DeviceCombo, request.Device);
  if (Ui->DeviceCombo->currentIndex() < 0 && Ui->DeviceCombo->count() > 0)
    Ui->DeviceCombo->setCurrentIndex(0);
  std::vector<TData*> variables;
  request.Experiment->GetAllVariables(variables);
  for (TData* variable : variables) {
    Ui->SendVar->addItem(QString::fromStdString(variable->GetName()),
                         QVariant::fromValue(static_cast<void*>(variable)));
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      TVariableArrayComboSelection::AddIndexVariableItem(*Ui->SendArrayComboBox,
                                                         static_cast<TDataSingle*>(variable));
  }
  Ui->SendVar->addItem("No Variable");
  Ui->SendVar->setCurrentIndex(Ui->SendVar->count() - 1);
  Ui->ReadSettings->Fill(*request.Experiment, request.Block);
  Ui->ReadSettings->StartNew();
  DeviceChanged();
  SendVariableChanged();
  ShowFormat();
  Ui->Pages->setCurrentWidget(Ui->SendPage);

  connect(Ui->DeviceCombo, &QComboBox::currentIndexChanged, this, [this] { DeviceChanged(); });
  connect(Ui->SendVar, &QComboBox::currentIndexChanged, this, [this] { SendVariableChanged(); });
  connect(Ui->FloatFormatButton, &QAbstractButton::clicked, this, [this] { ChangeFormat(); });
  connect(Ui->AddVar, &QAbstractButton::clicked, this, [this] { AddSendVariable(); });
  SetFirstInput(Ui->SendCmd);
}

TSendAndReadForm::~TSendAndReadForm() { delete Pnewsenddata; }

void TSendAndReadForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  const bool running = IsRunActive();
  Ui->ReadSettings->SetRunning(running);
  Ui->AddVar->setEnabled(!running);
}

void TSendAndReadForm::DeviceChanged() {
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return;
  Ui->Term1->setText(Decimal(device->GetCoreDevice().GetSendChar1()));
  Ui->Term2->setText(Decimal(device->GetCoreDevice().GetSendChar2()));
}

TData* TSendAndReadForm::SendVariable() const {
  return EntryVariable(*Ui->SendVar, Ui->SendVar->currentIndex());
}

void TSendAndReadForm::SendVariableChanged() {
  TData* variable = SendVariable();
  const bool array = variable && variable->IsArray();
  Ui->SendArrayComboBox->setVisible(array);
  if (array) {
    Ui->SendArrayComboBox->setCurrentIndex(-1);
    Ui->SendArrayComboBox->setEditText("");
  }
  const bool isFloat = variable && variable->GetDataType() == eatFLOAT;
  Ui->FloatFormatButton->setVisible(isFloat);
  Ui->FloatFormatLabel->setVisible(isFloat);
}

void TSendAndReadForm::ShowFormat() {
  QString text = "Format: ";
  if (FloatNotation == 0)
    text += "Standard";
  else
    text += QString(FloatNotation == 1 ? "Fixed " : "Scientific ") + Decimal(FloatPlaces) +
            " places after the decimal";
  Ui->FloatFormatLabel->setText(text);
}

void TSendAndReadForm::ChangeFormat() {
  TNumberFormatForm format(this);
  if (!format.Execute(FloatNotation, FloatPlaces)) return;
  FloatNotation = format.Kind();
  FloatPlaces = format.DecimalPlaces();
  ShowFormat();
}

void TSendAndReadForm::AddSendVariable() {
  QORV_ASSERT(Request.Experiment!=0);
  // A variable sent is only read: it may be read-only.
  TData* variable = NewVariableWithDialog(*Request.Experiment, Request.Block,
                                          {Ui->ArraySingleButton->isChecked(), false, true});
  if (!variable) return;
  if (Pnewsenddata) {  // one not-yet-used new variable at a time
    const int old = Ui->SendVar->findData(QVariant::fromValue(static_cast<void*>(Pnewsenddata)));
    if (old >= 0) Ui->SendVar->removeItem(old);
    delete Pnewsenddata;
  }
  Pnewsenddata = variable;
  // In front of the "No Variable" entry.
  const int at = Ui->SendVar->count() - 1;
  Ui->SendVar->insertItem(at, QString::fromStdString(variable->GetName()),
                          QVariant::fromValue(static_cast<void*>(variable)));
  Ui->SendVar->setCurrentIndex(at);
  SendVariableChanged();
}

void TSendAndReadForm::RefuseOn(QWidget* page, const std::string& text, QWidget* control) {
  Ui->Pages->setCurrentWidget(page);
  Refuse(text, control);
}

void TSendAndReadForm::OkClick() {
  TDevice* device = SelectedDevice(*Ui->DeviceCombo);
  if (!device) return RefuseOn(Ui->SendPage, "You must select a device", Ui->DeviceCombo);
  const std::string command = TrimText(Ui->SendCmd->text().toStdString());
  TData* sendVariable = SendVariable();
  if (sendVariable && sendVariable->IsArray()) {
    std::string message;
    if (!Pcomboselection->ValidateIndex(*Ui->SendArrayComboBox, sendVariable->GetSize(), message))
      return RefuseOn(Ui->SendPage, message, Ui->SendArrayComboBox);
  }
  if (!sendVariable && command.empty())
    return RefuseOn(Ui->SendPage,
                    "You must define either a command string or select a variable to send.",
                    Ui->SendCmd);
  TReadPage& read = *Ui->ReadSettings;
  if (auto refusal = read.Check()) return RefuseOn(Ui->ReadSettings, refusal->Text, refusal->Control);

  TData* readVariable = read.Variable();
  const TReadResponse response = read.Response();
  const bool clean = read.CleanString();
  const bool whitespace = read.WhitespaceDelimiter();
  // The Send first, then the Read through Apply (made after it, in front of the blank
  // line); a failure of either takes back what was made.
  TSendScript* send = nullptr;
  try {
    send = static_cast<TSendScript*>(AddScriptToSelectedBlock(*Request.Experiment, TScript::SEND));
    send->SetUpSend(device, command, true, sendVariable, FloatNotation, FloatPlaces,
                    Ui->ForceSpaceCheck->isChecked());
    if (sendVariable && sendVariable->IsArray()) {
      auto* reference = static_cast<TVariableDataArray*>(send->GetVariable());
      QORV_ASSERT(reference!=0);
      Pcomboselection->ReadIndex(*Ui->SendArrayComboBox, reference->GetArrayIndex());
    }
  } catch (const std::exception& error) {
    if (send) send->Pblock->DeleteScript(send);
    return Refuse(error.what(), nullptr);
  }
  const bool made = Apply(TScript::READ, [&](TScript& readScript) {
    static_cast<TReadScript&>(readScript).SetUpRead(device, readVariable, response, clean,
                                                    whitespace);
  });
  if (!made) {
    send->Pblock->DeleteScript(send);
    return;
  }
  if (Pnewsenddata == sendVariable) Pnewsenddata = nullptr;
  read.KeepUsed();
  read.ClearLinks();
}
