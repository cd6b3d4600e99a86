#include "outputs/ui/print_table_dialog.h"

#include "shell/ui/user_dialogs.h"
#include "ui_print_table_dialog.h"

TPrintTableForm::TPrintTableForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TPrintTableForm>()) {
  Ui->setupUi(this);
  setProperty("helpContext", 64);
  Ui->Help->setProperty("helpContext", 64);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  connect(Ui->CheckAll, &QPushButton::clicked, this, &TPrintTableForm::CheckAllClick);
  connect(Ui->UncheckAll, &QPushButton::clicked, this, &TPrintTableForm::UncheckAllClick);
  connect(Ui->Print, &QPushButton::clicked, this, &TPrintTableForm::PrintClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TPrintTableForm::reject);
  resize(sizeHint().expandedTo(QSize(380, 300)));
}

TPrintTableForm::~TPrintTableForm() = default;

QListWidget* TPrintTableForm::ColumnListBox() const { return Ui->ColumnListBox; }

void TPrintTableForm::Clear() { Ui->ColumnListBox->clear(); }

void TPrintTableForm::AddColumn(const QString& text, bool checked) {
  auto* item = new QListWidgetItem(text, Ui->ColumnListBox);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int TPrintTableForm::ColumnCount() const { return Ui->ColumnListBox->count(); }

bool TPrintTableForm::IsChecked(int i) const {
  return Ui->ColumnListBox->item(i)->checkState() == Qt::Checked;
}

void TPrintTableForm::CheckEvery(bool checked) {
  for (int i = 0; i < ColumnCount(); ++i)
    Ui->ColumnListBox->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TPrintTableForm::Execute(QPrinter& printer) {
  if (ColumnCount() == 0) {
    UserDialogs().Message(parentWidget(), MessageBoxOf("No data to print", "", TMessageKind::Information));
    return false;
  }
  Printer = &printer;
  const bool printed = exec() == QDialog::Accepted;
  Printer = nullptr;
  return printed;
}

void TPrintTableForm::PrintClick() {
  bool any = false;
  for (int i = 0; i < ColumnCount() && !any; ++i) any = IsChecked(i);
  if (!any) {
    UserDialogs().Message(this, MessageBoxOf("You must select some columns to print or press cancel.",
                                             "", TMessageKind::Information));
    return;
  }
  if (Printer && UserDialogs().SetUpPrinter(this, *Printer))
    accept();
  else
    reject();
}
