#include "outputs/ui/multi_file_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include "model/assertion.h"
#include "model/text.h"
#include "outputs/exp_file_lists.h"
#include "shell/ui/add_button.h"
#include "shell/ui/user_dialogs.h"
#include "ui_multi_file_dialog.h"

TMultiExpFileForm::TMultiExpFileForm(TMultiExpFileRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TMultiExpFileForm>()), Request(request) {
  QORV_ASSERT(request.List!=0);
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 74);
  Ui->Help->setProperty("helpContext", 74);
  Ui->Help->setEnabled(false);
  connect(Ui->OK, &QPushButton::clicked, this, &TMultiExpFileForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TMultiExpFileForm::reject);
  connect(Ui->AddBtn, &QPushButton::clicked, this, &TMultiExpFileForm::AddClick);
  connect(Ui->Browse, &QToolButton::clicked, this, &TMultiExpFileForm::BrowseClick);
  // At most three letters of extension and five digits of number.
  Ui->ExtEdit->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[A-Za-z]{0,3}"), Ui->ExtEdit));
  Ui->StartFileNumber->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[0-9]{0,5}"), Ui->StartFileNumber));

  ShowAddButton(*Ui->AddBtn, *Ui->OK, request.ShowAdd);
  ShowEntries();

  const int unit = Ui->OK->sizeHint().height();
  resize(20 * unit, sizeHint().height());
  Ui->Directory->setFocus();
}

TMultiExpFileForm::~TMultiExpFileForm() = default;

QRadioButton* TMultiExpFileForm::ModeButton(int mode) const {
  switch (mode) {
    case mfAPPEND: return Ui->AppendRadio;
    case mfOVERWRITE: return Ui->OverwriteRadio;
    default: return Ui->MakeNewRadio;
  }
}

void TMultiExpFileForm::ShowEntries() {
  Ui->Directory->setText(QString::fromStdString(Request.Directory));
  Ui->BaseEdit->setText(QString::fromStdString(Request.BaseName));
  Ui->ExtEdit->setText(QString::fromStdString(Request.Extension));
  Ui->StartFileNumber->setText(QString::fromStdString(Request.StartNumber));
  ModeButton(Request.Mode)->setChecked(true);
  Ui->WriteFileNameCheck->setChecked(Request.WriteFileName);
  Ui->CloseCheck->setChecked(Request.CloseBetweenWrites);
}

void TMultiExpFileForm::TakeEntries() {
  Request.Directory = Ui->Directory->text().toStdString();
  Request.BaseName = Ui->BaseEdit->text().toStdString();
  Request.Extension = Ui->ExtEdit->text().toStdString();
  Request.StartNumber = Ui->StartFileNumber->text().toStdString();
  Request.Mode = Ui->AppendRadio->isChecked()      ? mfAPPEND
                 : Ui->OverwriteRadio->isChecked() ? mfOVERWRITE
                                                   : mfMAKENEW;
  Request.WriteFileName = Ui->WriteFileNameCheck->isChecked();
  Request.CloseBetweenWrites = Ui->CloseCheck->isChecked();
}

void TMultiExpFileForm::FocusRefused() {
  QLineEdit* box = nullptr;
  switch (Request.Focus) {
    case TExpFileField::Directory: box = Ui->Directory; break;
    case TExpFileField::BaseName: box = Ui->BaseEdit; break;
    case TExpFileField::Extension: box = Ui->ExtEdit; break;
    case TExpFileField::FileName:
    case TExpFileField::None: return;
  }
  box->setFocus();
  box->selectAll();
}

void TMultiExpFileForm::accept() {
  if (Request.ShowAdd && TrimText(Ui->Directory->text().toStdString()).empty()) {
    reject();
    return;
  }
  TakeEntries();
  const bool good = Request.List->CheckEntry(Request);
  // The check cleaned the folder's separators: the box shows what is used.
  Ui->Directory->setText(QString::fromStdString(Request.Directory));
  if (!good) {
    FocusRefused();
    return;
  }
  QDialog::accept();
}

void TMultiExpFileForm::AddClick() {
  TakeEntries();
  if (!Request.List->AddEntry(Request)) {
    Ui->Directory->setText(QString::fromStdString(Request.Directory));
    FocusRefused();
    return;
  }
  ShowEntries();  // emptied for the next file
  Ui->Directory->setFocus();
}

void TMultiExpFileForm::BrowseClick() {
  std::string directory = TrimText(Ui->Directory->text().toStdString());
  if (!UserDialogs().ChooseDirectory(this, "Find Directory", directory)) return;
  Ui->Directory->setText(QString::fromStdString(directory));
}
