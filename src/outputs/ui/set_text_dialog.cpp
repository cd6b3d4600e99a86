#include "outputs/ui/set_text_dialog.h"

#include <QHideEvent>
#include <QShowEvent>


#include "shell/ui/user_dialogs.h"
#include "ui_set_text_dialog.h"

TSetTextForm::TSetTextForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TSetTextForm>()) {
  Ui->setupUi(this);
  // 14 by 4 times the OK button's height, but never smaller than its controls need.
  const int unit = Ui->OK->sizeHint().height();
  const QSize wanted(14 * unit, 4 * unit);
  resize(wanted.expandedTo(minimumSizeHint()));
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 34);
  Ui->Help->setProperty("helpContext", 34);
  Ui->Help->setEnabled(false);
  connect(Ui->OK, &QPushButton::clicked, this, &TSetTextForm::OkClick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TSetTextForm::reject);
}

TSetTextForm::~TSetTextForm() = default;

void TSetTextForm::SetText(const QString& text) { Ui->TitleEdit->setText(text); }

QString TSetTextForm::Validate() const {
  if (Ui->TitleEdit->text().isEmpty()) return QStringLiteral("You must enter a title or press Cancel");
  return {};
}

void TSetTextForm::OkClick() {
  const QString problem = Validate();
  if (!problem.isEmpty()) {
    UserDialogs().Message(this, MessageBoxOf(problem.toStdString(), "", TMessageKind::Information));
    Ui->TitleEdit->setFocus();
    return;
  }
  Result = Ui->TitleEdit->text();
  accept();
}

void TSetTextForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    Result.clear();
    Ui->TitleEdit->selectAll();
    Ui->TitleEdit->setFocus();
  }
  QDialog::showEvent(event);
}

void TSetTextForm::hideEvent(QHideEvent* event) {
  if (!event->spontaneous()) Ui->TitleEdit->clear();
  QDialog::hideEvent(event);
}

bool ExecuteSetTextForm(QWidget* parent, std::string& title) {
  TSetTextForm form(parent);
  form.SetText(QString::fromStdString(title));
  if (form.exec() != QDialog::Accepted) return false;
  title = form.Text().toStdString();
  return true;
}
