#include "outputs/ui/copy_row_select_dialog.h"

#include "outputs/row_select.h"
#include "shell/ui/user_dialogs.h"
#include "ui_copy_row_select_dialog.h"

TCopyRowSelectForm::TCopyRowSelectForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TCopyRowSelectForm>()) {
  Ui->setupUi(this);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  connect(Ui->OK, &QPushButton::clicked, this, &TCopyRowSelectForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TCopyRowSelectForm::reject);
}

TCopyRowSelectForm::~TCopyRowSelectForm() = default;

bool TCopyRowSelectForm::Execute(std::int32_t firstRow, std::int32_t lastRow, int helpContext,
                                 std::int32_t lastIndex) {
  Prepare(firstRow, lastRow, helpContext, lastIndex);
  return exec() == QDialog::Accepted;
}

void TCopyRowSelectForm::Prepare(std::int32_t firstRow, std::int32_t lastRow, int helpContext,
                                 std::int32_t lastIndex) {
  StartOnly = false;
  Limit = lastIndex + 1;
  Ui->EndCombo->setCurrentText(QString::fromStdString(EndRowText(lastRow, Limit)));
  Fill(firstRow, helpContext);
}

bool TCopyRowSelectForm::ExecuteStart(std::int32_t firstRow, std::int32_t lastIndex,
                                      std::int32_t minimumRows) {
  StartOnly = true;
  Limit = lastIndex + 1;
  Minimum = minimumRows;
  Fill(firstRow, 60);
  return exec() == QDialog::Accepted;
}

void TCopyRowSelectForm::Fill(std::int32_t firstRow, int helpContext) {
  Ui->EndLabel->setVisible(!StartOnly);
  Ui->EndCombo->setVisible(!StartOnly);
  setProperty("helpContext", helpContext);
  Ui->Help->setProperty("helpContext", helpContext);
  Ui->StartEdit->setText(QString::fromStdString(StartRowText(firstRow)));
  Ui->StartEdit->selectAll();
  Ui->StartEdit->setFocus();
  adjustSize();
}

void TCopyRowSelectForm::OkClick() {
  const std::string start = Ui->StartEdit->text().toStdString();
  const TRowChoice choice = StartOnly
                                ? ChooseStartRow(start, Limit, Minimum)
                                : ChooseRows(start, Ui->EndCombo->currentText().toStdString(), Limit);
  if (!choice.Accepted) {
    UserDialogs().Message(this, MessageBoxOf(choice.Message, "", TMessageKind::Information));
    return;
  }
  First = choice.First;
  Last = choice.Last;
  accept();
}
