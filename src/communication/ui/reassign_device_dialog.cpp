#include "communication/ui/reassign_device_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QRadioButton>

#include "shell/ui/user_dialogs.h"
#include "ui_reassign_device_dialog.h"

TReassignDeviceForm::TReassignDeviceForm(TReassignDeviceRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TReassignDeviceForm>()), Request(request) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 54);
  Ui->Help->setProperty("helpContext", 54);
  Ui->Help->setEnabled(false);
  connect(Ui->Ok, &QPushButton::clicked, this, &TReassignDeviceForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TReassignDeviceForm::reject);

  const TCommunicationsTree* tree = request.Tree;
  const int rows = tree ? tree->GroupCount() : 0;
  for (int row = 0; row < rows; ++row) {
    const THolderCommunication& group = tree->GetGroup(row);
    auto* radio = new QRadioButton(QString::fromStdString(group.GetText()), Ui->RowsBox);
    radio->setObjectName(QString("GroupRadio%1").arg(row));
    auto* list = new QComboBox(Ui->RowsBox);
    list->setObjectName(QString("GroupCombo%1").arg(row));
    list->setMinimumContentsLength(22);
    list->setPlaceholderText("Choose a location");
    for (THolderDevice* location : tree->FreeLocations(group))
      list->addItem(QString::fromStdString(location->GetText()),
                    QVariant::fromValue(static_cast<void*>(location)));
    // A node without a free location offers nothing to choose.
    radio->setEnabled(list->count() > 0);
    Ui->RowsLayout->addWidget(radio, row, 0);
    Ui->RowsLayout->addWidget(list, row, 1);
    connect(radio, &QRadioButton::toggled, this, [this, row](bool checked) {
      if (checked) RowChecked(row);
    });
    Radios.push_back(radio);
    Lists.push_back(list);
  }
  if (!request.DeviceName.empty())
    Ui->PromptLabel->setText(
        QString::fromStdString("Choose a free location for " + request.DeviceName + ":"));
  Ui->NoneLabel->setVisible(rows == 0);
  // The first row that has a free location is checked.
  for (int row = 0; row < rows; ++row)
    if (Radios[row]->isEnabled()) {
      Radios[row]->setChecked(true);
      RowChecked(row);
      break;
    }
}

TReassignDeviceForm::~TReassignDeviceForm() = default;

void TReassignDeviceForm::RowChecked(int row) {
  // Only the checked row's list can be chosen from, and nothing is chosen yet.
  for (std::size_t i = 0; i < Lists.size(); ++i) {
    Lists[i]->setEnabled(static_cast<int>(i) == row);
    Lists[i]->setCurrentIndex(-1);
  }
}

THolderDevice* TReassignDeviceForm::GetSelectedNode() const {
  for (std::size_t i = 0; i < Radios.size(); ++i)
    if (Radios[i]->isChecked() && Lists[i]->currentIndex() >= 0)
      return static_cast<THolderDevice*>(Lists[i]->currentData().value<void*>());
  return nullptr;
}

void TReassignDeviceForm::accept() {
  THolderDevice* selected = GetSelectedNode();
  if (!selected) {
    UserDialogs().Message(this, MessageBoxOf("You must choose a communication or press Cancel", "",
                                             TMessageKind::Information));
    return;
  }
  Request.Selected = selected;
  QDialog::accept();
}
