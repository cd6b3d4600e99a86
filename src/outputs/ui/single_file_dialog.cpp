#include "outputs/ui/single_file_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

#include <filesystem>

#include "model/assertion.h"
#include "model/text.h"
#include "outputs/exp_file_lists.h"
#include "shell/ui/add_button.h"
#include "shell/ui/user_dialogs.h"
#include "ui_single_file_dialog.h"

namespace {

const char* const DataFileFilter =
    "Text Files (*.txt)|*.txt|Data Files (*.dat;*.csv)|*.dat;*.csv|All Files (*.*)|*.*";

}  // namespace

TSingleExpFileForm::TSingleExpFileForm(TSingleExpFileRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TSingleExpFileForm>()), Request(request) {
  QORV_ASSERT(request.List!=0);
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 73);
  Ui->Help->setProperty("helpContext", 73);
  Ui->Help->setEnabled(false);
  connect(Ui->OK, &QPushButton::clicked, this, &TSingleExpFileForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TSingleExpFileForm::reject);
  connect(Ui->AddBtn, &QPushButton::clicked, this, &TSingleExpFileForm::AddClick);
  connect(Ui->Browse, &QToolButton::clicked, this, &TSingleExpFileForm::BrowseClick);

  ShowAddButton(*Ui->AddBtn, *Ui->OK, request.ShowAdd);
  ShowEntries();

  const int unit = Ui->OK->sizeHint().height();
  resize(20 * unit, sizeHint().height());
  Ui->FileName->setFocus();
}

TSingleExpFileForm::~TSingleExpFileForm() = default;

void TSingleExpFileForm::ShowEntries() {
  Ui->FileName->setText(QString::fromStdString(Request.FileName));
  Ui->OverwriteCheck->setChecked(Request.Overwrite);
  Ui->CloseCheck->setChecked(Request.CloseBetweenWrites);
  Ui->WriteFileNameCheck->setChecked(Request.WriteFileName);
}

void TSingleExpFileForm::TakeEntries() {
  Request.FileName = Ui->FileName->text().toStdString();
  Request.Overwrite = Ui->OverwriteCheck->isChecked();
  Request.CloseBetweenWrites = Ui->CloseCheck->isChecked();
  Request.WriteFileName = Ui->WriteFileNameCheck->isChecked();
}

void TSingleExpFileForm::FocusRefused() {
  if (Request.Focus == TExpFileField::None) return;
  Ui->FileName->setFocus();
  Ui->FileName->selectAll();
}

void TSingleExpFileForm::accept() {
  if (Request.ShowAdd && TrimText(Ui->FileName->text().toStdString()).empty()) {
    reject();
    return;
  }
  TakeEntries();
  if (!Request.List->CheckEntry(Request)) {
    FocusRefused();
    return;
  }
  QDialog::accept();
}

void TSingleExpFileForm::AddClick() {
  TakeEntries();
  if (!Request.List->AddEntry(Request)) {
    FocusRefused();
    return;
  }
  ShowEntries();  // emptied for the next file
  Ui->FileName->setFocus();
}

void TSingleExpFileForm::BrowseClick() {
  // An open chooser: the file is appended to or overwritten by the run, never replaced
  // here, so there is nothing to confirm; a new name is typed into the box.
  TFileChoice choice;
  choice.Filter = DataFileFilter;
  const std::string name = TrimText(Ui->FileName->text().toStdString());
  if (!name.empty()) {
    const std::filesystem::path path(name);
    choice.InitialDir = path.parent_path().string();
    choice.FileName = path.filename().string();
  }
  if (!UserDialogs().ChooseFile(this, choice) || choice.FileName.empty()) return;
  Ui->FileName->setText(QString::fromStdString(choice.FileName));
}
