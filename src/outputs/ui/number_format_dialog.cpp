#include "outputs/ui/number_format_dialog.h"

#include <QButtonGroup>
#include <QRadioButton>

#include "model/number_text.h"
#include "shell/ui/user_dialogs.h"
#include "ui_number_format_dialog.h"

TNumberFormatForm::TNumberFormatForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TNumberFormatForm>()), Items(new QButtonGroup(this)) {
  Ui->setupUi(this);
  const int unit = Ui->Ok->sizeHint().height();
  resize(13 * unit, 7 * unit);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 33);
  Ui->Help->setProperty("helpContext", 33);
  Ui->Help->setEnabled(false);
  // The item indexes are the notations.
  Items->addButton(Ui->StandardItem, ntSTANDARD);
  Items->addButton(Ui->FixedItem, ntFIXED);
  Items->addButton(Ui->ScientificItem, ntSCIENTIFIC);
  connect(Items, &QButtonGroup::idClicked, this, &TNumberFormatForm::GroupClick);
  connect(Ui->Ok, &QPushButton::clicked, this, &TNumberFormatForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TNumberFormatForm::reject);
  SetFormat(ntSTANDARD, 0);
}

TNumberFormatForm::~TNumberFormatForm() = default;

bool TNumberFormatForm::Execute(std::uint8_t kind, std::int32_t decimals) {
  SetFormat(kind, decimals);
  return exec() == QDialog::Accepted;
}

void TNumberFormatForm::SetFormat(std::uint8_t kind, std::int32_t decimals) {
  AKind = kind <= ntSCIENTIFIC ? kind : std::uint8_t{ntSTANDARD};
  ADecimalPlaces = decimals;
  Ui->DecEdit->setText(QString::fromStdString(NumberText::IntToText(decimals)));
  Items->button(AKind)->setChecked(true);
  GroupClick();
}

void TNumberFormatForm::GroupClick() {
  const bool decimals = Items->checkedId() != ntSTANDARD;
  Ui->DecLabel->setVisible(decimals);
  Ui->DecEdit->setVisible(decimals);
}

void TNumberFormatForm::accept() {
  const auto kind = static_cast<std::uint8_t>(Items->checkedId());
  std::int32_t decimals = 0;
  if (!Ui->DecEdit->isHidden()) {
    const std::string text = Ui->DecEdit->text().trimmed().toStdString();
    if (text.empty()) return Refuse("You must enter a number of decimal places");
    if (!NumberText::TextToInt(text, decimals) || decimals < 0)
      return Refuse("You must enter an integer number of decimal places greater than zero");
  }
  AKind = kind;
  // More places than a number has digits would only pad it.
  ADecimalPlaces = NumberText::ClampDecimals(decimals);
  QDialog::accept();
}

void TNumberFormatForm::Refuse(const char* text) {
  UserDialogs().Message(this, MessageBoxOf(text, "", TMessageKind::Information));
  Ui->DecEdit->setFocus();
  Ui->DecEdit->selectAll();
}
