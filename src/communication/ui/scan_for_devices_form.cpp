#include "communication/ui/scan_for_devices_form.h"

#include <QListWidgetItem>

#include "communication/communications_tree.h"
#include "communication/device_list.h"
#include "communication/holder.h"
#include "model/assertion.h"
#include "shell/ui/user_dialogs.h"
#include "ui_scan_for_devices_form.h"

namespace {

constexpr int HelpContext = 25;

THolderDevice* LocationOf(const QListWidgetItem* item) {
  return static_cast<THolderDevice*>(item->data(Qt::UserRole).value<void*>());
}

}  // namespace

TScanForDevicesForm::TScanForDevicesForm(TScanForDevicesRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TScanForDevicesForm>()), Request(request) {
  QORV_ASSERT(request.List != nullptr);
  Ui->setupUi(this);
  setProperty("helpContext", HelpContext);
  Ui->Help->setProperty("helpContext", HelpContext);
  Ui->Help->setEnabled(false);  // the help wiring enables it when the dialog shows
  connect(Ui->SearchButton, &QPushButton::clicked, this, &TScanForDevicesForm::SearchClick);
  connect(Ui->CheckAllButton, &QPushButton::clicked, this, &TScanForDevicesForm::CheckAllClick);
  connect(Ui->ApplyButton, &QPushButton::clicked, this, &TScanForDevicesForm::ApplyClick);
  connect(Ui->OKButton, &QPushButton::clicked, this, &TScanForDevicesForm::accept);
  connect(Ui->CancelButton, &QPushButton::clicked, this, &TScanForDevicesForm::reject);
  connect(Ui->StopButton, &QPushButton::clicked, this, [this] { Cancel = true; });
  Ui->ScanProgress->setVisible(false);
  Ui->StopButton->setVisible(false);
  FillCommunications();
}

TScanForDevicesForm::~TScanForDevicesForm() { StopScan(); }

void TScanForDevicesForm::FillCommunications() {
  Ui->CommunicationComboBox->clear();
  for (THolderCommunication* board : ScannableBoards(Request.List->GetCommunicationsTree()))
    Ui->CommunicationComboBox->addItem(QString::fromStdString(board->GetText()),
                                       QVariant::fromValue(static_cast<void*>(board)));
  Ui->CommunicationComboBox->setCurrentIndex(Ui->CommunicationComboBox->count() > 0 ? 0 : -1);
  Ui->DeviceListBox->clear();
  Ui->ApplyButton->setEnabled(false);
  Ui->CheckAllButton->setEnabled(false);
}

void TScanForDevicesForm::SearchClick() {
  if (Scanning) return;
  const int index = Ui->CommunicationComboBox->currentIndex();
  if (index < 0) {
    UserDialogs().Message(this, MessageBoxOf("You must select a communication to search", "",
                                             TMessageKind::Information));
    return;
  }
  auto* board =
      static_cast<THolderCommunication*>(Ui->CommunicationComboBox->itemData(index).value<void*>());
  Ui->DeviceListBox->clear();
  Ui->ApplyButton->setEnabled(false);
  Ui->CheckAllButton->setEnabled(false);
  Cancel = false;
  Scanning = true;
  for (QWidget* control : std::initializer_list<QWidget*>{
           Ui->SearchButton, Ui->CommunicationComboBox, Ui->OKButton})
    control->setEnabled(false);
  Ui->ScanProgress->setRange(0, board->LocationCount());
  Ui->ScanProgress->setValue(0);
  Ui->ScanProgress->setVisible(true);
  Ui->StopButton->setVisible(true);
  TScanProgress progress;
  progress.Found = [this](const TScanItem& item) {
    QMetaObject::invokeMethod(this, [this, item] { AddItem(item); }, Qt::QueuedConnection);
  };
  progress.Asked = [this](int done) {
    QMetaObject::invokeMethod(this, [this, done] { Ui->ScanProgress->setValue(done); },
                              Qt::QueuedConnection);
  };
  Worker = std::thread([this, board, progress] {
    AutoDetectNatDevices(*board, Cancel, progress);
    QMetaObject::invokeMethod(this, [this] { Finished(); }, Qt::QueuedConnection);
  });
}

void TScanForDevicesForm::AddItem(const TScanItem& item) {
  auto* row = new QListWidgetItem(QString::fromStdString(item.Text), Ui->DeviceListBox);
  row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
  row->setCheckState(Qt::Unchecked);
  row->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(item.Location)));
}

void TScanForDevicesForm::StopScan() {
  Cancel = true;
  if (Worker.joinable()) Worker.join();
}

void TScanForDevicesForm::Finished() {
  if (!Scanning) return;  // closed meanwhile
  if (Worker.joinable()) Worker.join();
  Scanning = false;
  Ui->ScanProgress->setVisible(false);
  Ui->StopButton->setVisible(false);
  for (QWidget* control : std::initializer_list<QWidget*>{
           Ui->SearchButton, Ui->CommunicationComboBox, Ui->OKButton})
    control->setEnabled(true);
  const bool found = Ui->DeviceListBox->count() > 0;
  Ui->ApplyButton->setEnabled(found);
  Ui->CheckAllButton->setEnabled(found);
  if (!found && !Cancel.load())
    UserDialogs().Message(this, MessageBoxOf("No devices found.  Make sure the devices are powered up.",
                                             "", TMessageKind::Information));
  emit ScanFinished();
}

void TScanForDevicesForm::CheckAllClick() {
  for (int i = 0; i < Ui->DeviceListBox->count(); ++i)
    Ui->DeviceListBox->item(i)->setCheckState(Qt::Checked);
}

void TScanForDevicesForm::ApplyClick() {
  if (Scanning) return;
  for (int i = 0; i < Ui->DeviceListBox->count();) {
    QListWidgetItem* item = Ui->DeviceListBox->item(i);
    if (item->checkState() != Qt::Checked) {
      ++i;
      continue;
    }
    // An occupied location gets nothing; the item goes all the same.
    if (THolderDevice* location = LocationOf(item))
      AddScannedDevice(*Request.List, *location, item->text().toStdString());
    delete item;
  }
  Ui->ApplyButton->setEnabled(Ui->DeviceListBox->count() > 0);
}

void TScanForDevicesForm::accept() {
  if (Scanning) return;
  if (Ui->ApplyButton->isEnabled()) ApplyClick();
  QDialog::accept();
}

void TScanForDevicesForm::reject() {
  if (Scanning) {
    StopScan();
    Scanning = false;  // the finishing call that is still queued does nothing
    Ui->ScanProgress->setVisible(false);
    Ui->StopButton->setVisible(false);
  }
  QDialog::reject();
}
