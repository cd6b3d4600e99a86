#include "model/ui/change_var_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include "model/text.h"
#include "model/ui_port.h"
#include "model/variable_checks.h"
#include "ui_change_var_dialog.h"

TChangeVarForm::TChangeVarForm(TChangeVarRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TChangeVarForm>()), Request(request) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 52);
  Ui->Help->setProperty("helpContext", 52);
  Ui->Help->setEnabled(false);
  connect(Ui->Ok, &QPushButton::clicked, this, &TChangeVarForm::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &TChangeVarForm::reject);
  // A new name is typed as it is: completing it to a listed name would choose that one.
  Ui->ComboBox->setCompleter(nullptr);

  Prepare(request.OfferCancel);
  if (!request.Caption.empty()) setWindowTitle(QString::fromStdString(request.Caption));
  // The caption says what the name is for; a long one is cut in the title bar.
  Ui->Prompt->setText(windowTitle());
  for (int i = 0; i < static_cast<int>(request.Choices.size()); ++i)
    Ui->ComboBox->addItem(QString::fromStdString(request.Choices[i].first), i);
  Ui->ComboBox->setCurrentIndex(-1);
  Ui->ComboBox->setEditText(QString());

  const bool offered = Ui->ComboBox->count() > 0;
  Ui->PageControl->setCurrentWidget(offered ? Ui->ComboSheet : Ui->EditSheet);
  Request.ASelectedData = nullptr;
  Request.NewNameChosen = false;
  Request.NewName.clear();

  const int unit = Ui->Ok->sizeHint().height();
  resize(16 * unit, sizeHint().height());
  if (offered)
    Ui->ComboBox->setFocus();
  else
    Ui->Edit->setFocus();
}

TChangeVarForm::~TChangeVarForm() = default;

void TChangeVarForm::Prepare(bool offerCancel) {
  Ui->CancelButton->setVisible(offerCancel);
  setWindowTitle(offerCancel ? "Rename or Change a variable" : "Name the variable.");
}

int TChangeVarForm::ChosenItem() const {
  if (Ui->PageControl->currentWidget() != Ui->ComboSheet) return -1;
  const QString text = Ui->ComboBox->currentText();
  const int selected = Ui->ComboBox->currentIndex();
  if (selected >= 0 && Ui->ComboBox->itemText(selected) == text) return selected;
  // A variable typed as the list names it is that variable, not a taken name.
  return Ui->ComboBox->findText(text.trimmed(), Qt::MatchFixedString);
}

void TChangeVarForm::accept() {
  const int chosen = ChosenItem();
  if (chosen >= 0) {
    const int choice = Ui->ComboBox->itemData(chosen).toInt();
    Request.ASelectedData = Request.Choices[static_cast<std::size_t>(choice)].second;
    Request.NewNameChosen = false;
    Request.NewName.clear();
    QDialog::accept();
    return;
  }
  QLineEdit* box = Ui->PageControl->currentWidget() == Ui->ComboSheet ? Ui->ComboBox->lineEdit()
                                                                       : Ui->Edit;
  const std::string typed = box->text().toStdString();
  if (!CheckNewVariableName(Request.NameList, typed)) {
    box->setFocus();
    box->selectAll();
    return;
  }
  Request.ASelectedData = nullptr;
  Request.NewNameChosen = true;
  Request.NewName = TrimText(typed);
  QDialog::accept();
}

void TChangeVarForm::reject() {
  if (Ui->CancelButton->isHidden()) {
    Inform("You must rename the variable");
    return;
  }
  QDialog::reject();
}
