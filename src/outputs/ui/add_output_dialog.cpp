#include "outputs/ui/add_output_dialog.h"

#include <QPushButton>
#include <QRadioButton>

#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "outputs/output_entry.h"
#include "shell/ui/add_button.h"
#include "ui_add_output_dialog.h"

TAddOutputForm::TAddOutputForm(TOutputDialogRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TAddOutputForm>()), Request(request) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 17);
  Ui->Help->setProperty("helpContext", 17);
  Ui->Help->setEnabled(false);
  connect(Ui->OK, &QPushButton::clicked, this, &TAddOutputForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TAddOutputForm::reject);
  connect(Ui->Add, &QPushButton::clicked, this, &TAddOutputForm::AddClick);
  for (QRadioButton* button : {Ui->TextRadio, Ui->BigNumRadio, Ui->TableRadio, Ui->GraphRadio})
    connect(button, &QRadioButton::clicked, this, &TAddOutputForm::KindClick);

  const bool several = request.List != nullptr;
  ShowAddButton(*Ui->Add, *Ui->OK, several);
  if (request.Output) {
    SetType(request.Kind);
    SetTitle(request.Title);
    SetChannels(request.Channels);
  } else {
    // A new output starts as text, the channels remembered for a table or graph.
    SetChannels(request.Channels);
    Ui->TextRadio->setChecked(true);
    KindClick();
  }

  const int unit = Ui->OK->sizeHint().height();
  resize(12 * unit, sizeHint().height());
  Ui->OutputTitle->setFocus();
}

TAddOutputForm::~TAddOutputForm() = default;

QRadioButton* TAddOutputForm::KindButton(std::uint8_t kind) const {
  switch (kind) {
    case otTABLE: return Ui->TableRadio;
    case otGRAPH: return Ui->GraphRadio;
    case otBIGNUMBER: return Ui->BigNumRadio;
    default: return Ui->TextRadio;
  }
}

void TAddOutputForm::SetType(std::uint8_t kind) {
  KindButton(kind)->setChecked(true);
  KindClick();
}

void TAddOutputForm::SetTitle(const std::string& title) {
  Ui->OutputTitle->setText(QString::fromStdString(title));
}

void TAddOutputForm::SetChannels(std::int32_t n) {
  if (n > 0) Ui->ChannelEdit->setText(QString::fromStdString(NumberText::IntToText(n)));
}

std::uint8_t TAddOutputForm::CheckedKind() const {
  if (Ui->TableRadio->isChecked()) return otTABLE;
  if (Ui->GraphRadio->isChecked()) return otGRAPH;
  if (Ui->BigNumRadio->isChecked()) return otBIGNUMBER;
  return otTEXT;
}

void TAddOutputForm::KindClick() {
  const std::uint8_t kind = CheckedKind();
  const bool channels = kind == otTABLE || kind == otGRAPH;
  Ui->ChannelEdit->setEnabled(channels);
  Ui->ChannelLabel->setEnabled(channels);
  if (!channels) Ui->ChannelEdit->setText("1");
}

void TAddOutputForm::TakeEntries() {
  Request.Title = Ui->OutputTitle->text().toStdString();
  Request.Kind = CheckedKind();
  Request.ChannelText = Ui->ChannelEdit->text().toStdString();
}

void TAddOutputForm::FocusRefused() {
  switch (Request.Focus) {
    case TOutputField::Title: Ui->OutputTitle->setFocus(); break;
    case TOutputField::Channels:
      Ui->ChannelEdit->setFocus();
      Ui->ChannelEdit->selectAll();
      break;
    case TOutputField::None: break;
  }
}

void TAddOutputForm::accept() {
  if (Request.List && TrimText(Ui->OutputTitle->text().toStdString()).empty()) {
    reject();
    return;
  }
  if (RefusedOutputChangeWhileRunning()) {
    reject();
    return;
  }
  TakeEntries();
  if (!CheckOutputEntry(Request)) {
    FocusRefused();
    return;
  }
  UiPort().ExperimentChanged(1, 0);
  QDialog::accept();
}

void TAddOutputForm::AddClick() {
  TakeEntries();
  if (!AddOutputEntry(Request)) {
    FocusRefused();
    return;
  }
  Ui->OutputTitle->clear();
  Ui->OutputTitle->setFocus();
}
