#include "communication/ui/device_dialog.h"

#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>

#include "communication/communication.h"
#include "communication/communications_tree.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/gpib_settings.h"
#include "communication/holder.h"
#include "communication/nat_gpib.h"
#include "communication/rs232.h"
#include "model/number_text.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/icons.h"
#include "shell/ui/user_dialogs.h"
#include "ui_device_dialog.h"

namespace {

const char* const PictureFilter =
    "Pictures (*.ico;*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.svg)|*.ico;*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.svg";
const char* const ParityNames[TRS232::ParityCount] = {"None", "Odd", "Even", "Space", "Mark"};
const int BaudRates[] = {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200};

// The holder a tree item stands for.
constexpr int HolderRole = Qt::UserRole;

THolder* HolderOf(const QTreeWidgetItem* item) {
  return item ? static_cast<THolder*>(item->data(0, HolderRole).value<void*>()) : nullptr;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TDeviceForm::TDeviceForm(TDeviceFormRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TDeviceForm>()), Request(request),
      Entries(request.Settings) {
  Ui->setupUi(this);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 22);
  Ui->Help->setProperty("helpContext", 22);
  Ui->Help->setEnabled(false);
  for (int rate : BaudRates) Ui->BaudRateCombo->addItem(QString::number(rate));
  // A rate typed is taken as typed, never completed to a listed one ("9" is not 9600).
  Ui->BaudRateCombo->setCompleter(nullptr);
  for (const char* parity : ParityNames) Ui->ParityCombo->addItem(parity);
  for (const char* handshake : TRS232::HandshakeNames) {
    Ui->ReceiverHandshakeCombo->addItem(handshake);
    Ui->TransmitterHandshakeCombo->addItem(handshake);
  }

  connect(Ui->Ok, &QPushButton::clicked, this, &TDeviceForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TDeviceForm::reject);
  connect(Ui->Add, &QPushButton::clicked, this, &TDeviceForm::AddClick);
  connect(Ui->ChangeIconButton, &QPushButton::clicked, this, &TDeviceForm::ChangeIconClick);
  connect(Ui->ChangeSettingsButton, &QPushButton::clicked, this,
          &TDeviceForm::ChangeSettingsClick);
  connect(Ui->CommunicationTree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { LocationChanged(item); });
  connect(Ui->TimeOutSlider, &QSlider::valueChanged, this, &TDeviceForm::TimeOutControlChanged);
  // The box beside the slider types a position exactly.
  connect(Ui->TimeOutSpin, &QSpinBox::valueChanged, Ui->TimeOutSlider, &QSlider::setValue);
  Ui->CommunicationTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Ui->CommunicationTree->header()->setStretchLastSection(false);
  connect(Ui->SecondsRadio, &QRadioButton::toggled, this, &TDeviceForm::TimeOutControlChanged);
  connect(Ui->NatTimeOutSlider, &QSlider::valueChanged, this, &TDeviceForm::NatTimeOutChanged);
  connect(Ui->TimeOutEnableRadio, &QRadioButton::toggled, this, [this](bool enabled) {
    if (Showing) return;
    Entries.TimeOutEnabled = enabled;
    ShowTimeOut();
  });
  connect(Ui->ViewAsHexRadio, &QRadioButton::toggled, this, [this] {
    ReadEntries();
    FillCharacterBoxes();
  });
  for (QComboBox* first : {Ui->SendChar1Combo, Ui->ReadChar1Combo})
    connect(first, &QComboBox::currentIndexChanged, this, [this] {
      if (!Showing) GateSecondBoxes();
    });

  BuildTree();
  // New devices: Add is the default button; existing ones: OK.
  Ui->Add->setVisible(IsNew());
  Ui->Add->setDefault(IsNew());
  Ui->Ok->setDefault(!IsNew());
  ShowEntries();
  SelectTreeLocation(Entries.Location);
  // Changes are refused while a run is active.
  const bool idle = !IsRunActive();
  for (QWidget* control :
       std::initializer_list<QWidget*>{Ui->Ok, Ui->Add, Ui->ChangeIconButton, Ui->SendChar1Combo,
                                       Ui->ReadChar1Combo})
    control->setEnabled(idle);
  // The boards change only while a new device is made (editing one holds its location).
  Ui->ChangeSettingsButton->setEnabled(idle && IsNew());
  GateSecondBoxes();

  // Room for the serial settings, which only a COM location shows.
  const bool serialShown = Ui->RS232Group->isVisibleTo(this);
  Ui->RS232Group->setVisible(true);
  const QSize hint = sizeHint();
  Ui->RS232Group->setVisible(serialShown);
  const int unit = Ui->Ok->sizeHint().height();
  setFixedSize(std::max(24 * unit, hint.width()), std::max(18 * unit, hint.height()));
  Ui->NameEdit->setFocus();
}

TDeviceForm::~TDeviceForm() = default;

const TDeviceSettings& TDeviceForm::Settings() {
  ReadEntries();
  return Entries;
}

// --- The tree ---

void TDeviceForm::BuildTree() {
  QTreeWidget* tree = Ui->CommunicationTree;
  const QSignalBlocker blocker(tree);
  tree->clear();
  TCommunicationsTree& nodes = Request.List->GetCommunicationsTree();
  for (int g = 0; g < nodes.GroupCount(); ++g) {
    THolderCommunication& group = nodes.GetGroup(g);
    auto* top = new QTreeWidgetItem(tree);
    top->setData(0, HolderRole, QVariant::fromValue(static_cast<void*>(&group)));
    QFont bold = top->font(0);
    bold.setBold(true);
    top->setFont(0, bold);
    for (int i = 0; i < group.LocationCount(); ++i) {
      auto* item = new QTreeWidgetItem(top);
      item->setData(0, HolderRole,
                    QVariant::fromValue(static_cast<void*>(&group.GetLocation(i))));
    }
    top->setExpanded(true);
  }
  RefreshTreeTexts();
}

void TDeviceForm::RefreshTreeTexts() {
  QTreeWidget* tree = Ui->CommunicationTree;
  for (int g = 0; g < tree->topLevelItemCount(); ++g) {
    QTreeWidgetItem* top = tree->topLevelItem(g);
    top->setText(0, Text(HolderOf(top)->GetText()));
    for (int i = 0; i < top->childCount(); ++i) {
      QTreeWidgetItem* item = top->child(i);
      auto* location = static_cast<THolderDevice*>(HolderOf(item));
      item->setText(0, Text(location->GetText()));
      // A held location stands out, so a free one is easy to find.
      QFont font = item->font(0);
      font.setItalic(location->GetDevice() != nullptr);
      item->setFont(0, font);
    }
  }
}

void TDeviceForm::SelectTreeLocation(const THolder* location) {
  QTreeWidget* tree = Ui->CommunicationTree;
  QTreeWidgetItem* found = nullptr;
  for (int g = 0; g < tree->topLevelItemCount() && location && !found; ++g)
    for (int i = 0; i < tree->topLevelItem(g)->childCount() && !found; ++i)
      if (HolderOf(tree->topLevelItem(g)->child(i)) == location)
        found = tree->topLevelItem(g)->child(i);
  tree->setCurrentItem(found);
  if (found) tree->scrollToItem(found);
  LocationChanged(found);
}

void TDeviceForm::LocationChanged(QTreeWidgetItem* item) {
  THolder* holder = HolderOf(item);
  ReadEntries();
  SelectLocation(Entries, holder && holder->IsDevice() ? static_cast<THolderDevice*>(holder)
                                                       : nullptr);
  ShowEntries();
}

// --- Entries and controls ---

void TDeviceForm::ReadEntries() {
  if (Showing) return;
  Entries.Name = Ui->NameEdit->text().toStdString();
  Entries.SendChar1 = Ui->SendChar1Combo->currentIndex();
  Entries.SendChar2 = Ui->SendChar2Combo->currentIndex();
  Entries.ReadChar1 = Ui->ReadChar1Combo->currentIndex();
  Entries.ReadChar2 = Ui->ReadChar2Combo->currentIndex();
  Entries.EOI = Ui->EOICheck->isChecked();
  Entries.BaudRate = Ui->BaudRateCombo->currentText().toStdString();
  Entries.StopBits = Ui->StopBits2Radio->isChecked() ? 2 : 1;
  Entries.ParityIndex = std::max(0, Ui->ParityCombo->currentIndex());
  Entries.InputHandshakeIndex = std::max(0, Ui->ReceiverHandshakeCombo->currentIndex());
  Entries.OutputHandshakeIndex = std::max(0, Ui->TransmitterHandshakeCombo->currentIndex());
}

void TDeviceForm::ShowEntries() {
  Showing = true;
  Ui->NameEdit->setText(Text(Entries.Name));
  FillCharacterBoxes();
  Ui->EOICheck->setChecked(Entries.EOI);
  Ui->BaudRateCombo->setCurrentText(Text(Entries.BaudRate));
  (Entries.StopBits == 2 ? Ui->StopBits2Radio : Ui->StopBits1Radio)->setChecked(true);
  Ui->ParityCombo->setCurrentIndex(Entries.ParityIndex);
  Ui->ReceiverHandshakeCombo->setCurrentIndex(Entries.InputHandshakeIndex);
  Ui->TransmitterHandshakeCombo->setCurrentIndex(Entries.OutputHandshakeIndex);
  ShowIcon();
  ShowLocationControls();
  ShowTimeOut();
  Showing = false;
  GateSecondBoxes();
}

void TDeviceForm::ShowLocationControls() {
  const THolderDevice* location = Entries.Location;
  Ui->AddressLabel->setText(location ? Text(location->GetText()) : "No device address");
  Ui->SettingsBox->setEnabled(location != nullptr);
  const bool serial = location && location->GetCommType() == RS232;
  const bool gpib = location && !serial;
  Ui->RS232Group->setVisible(serial);
  Ui->EOICheck->setEnabled(gpib);
  if (serial) Ui->EOICheck->setChecked(false);
  const bool nat = location && location->GetCommType() == NAT_GPIB;
  Ui->TimeOutPages->setCurrentWidget(nat ? Ui->NatTimeOutPage : Ui->CecTimeOutPage);
}

void TDeviceForm::ShowTimeOut() {
  const bool wasShowing = Showing;
  Showing = true;
  const bool enabled = Entries.TimeOutEnabled;
  (enabled ? Ui->TimeOutEnableRadio : Ui->TimeOutDisableRadio)->setChecked(true);
  // A time-out of 0 has no position: the controls show 1 s until one is chosen.
  const std::int64_t shown = Entries.TimeOut > 0 ? Entries.TimeOut : 1000000;
  bool seconds = false;
  const std::int64_t value = TCommunication::TimeOutToDisplay(shown, seconds);
  Ui->TimeOutSlider->setValue(static_cast<int>(std::clamp<std::int64_t>(value, 1, 1000)));
  Ui->TimeOutSpin->setValue(Ui->TimeOutSlider->value());
  (seconds ? Ui->SecondsRadio : Ui->MillisecondsRadio)->setChecked(true);
  Ui->TimeOutLabel->setText(enabled ? QString("Timeout %1 %2")
                                          .arg(Ui->TimeOutSlider->value())
                                          .arg(seconds ? "seconds" : "milliseconds")
                                    : QString("Timeout disabled"));
  const int code = TNATGPIB::TimeOutCode(shown);
  Ui->NatTimeOutSlider->setValue(code);
  Ui->NatTimeOutLabel->setText(enabled ? Text(NatTimeOutNames().at(code)) : "Timeout disabled");
  for (QWidget* control : std::initializer_list<QWidget*>{
           Ui->TimeOutSlider, Ui->TimeOutSpin, Ui->SecondsRadio, Ui->MillisecondsRadio,
           Ui->NatTimeOutSlider})
    control->setEnabled(enabled);
  Showing = wasShowing;
}

void TDeviceForm::TimeOutControlChanged() {
  if (Showing) return;
  Entries.TimeOut = TCommunication::TimeOutFromDisplay(Ui->TimeOutSlider->value(),
                                                       Ui->SecondsRadio->isChecked());
  ShowTimeOut();
}

void TDeviceForm::NatTimeOutChanged(int code) {
  if (Showing) return;
  Entries.TimeOut = TNATGPIB::TimeOutMicroseconds(code);
  ShowTimeOut();
}

void TDeviceForm::ShowIcon() {
  QPixmap picture;
  if (!Entries.DefaultIcon && !Entries.Icon.Image.empty())
    picture.loadFromData(Entries.Icon.Image.data(), static_cast<uint>(Entries.Icon.Image.size()));
  if (picture.isNull()) picture = QorvIcon("tree-device").pixmap(32, 32);
  Ui->IconImage->setPixmap(picture.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TDeviceForm::FillCharacterBoxes() {
  const std::vector<std::string>& items = CharacterItems(Ui->ViewAsHexRadio->isChecked());
  const int codes[] = {Entries.SendChar1, Entries.SendChar2, Entries.ReadChar1, Entries.ReadChar2};
  QComboBox* boxes[] = {Ui->SendChar1Combo, Ui->SendChar2Combo, Ui->ReadChar1Combo,
                        Ui->ReadChar2Combo};
  for (int b = 0; b < 4; ++b) {
    const QSignalBlocker blocker(boxes[b]);
    boxes[b]->clear();
    for (const std::string& item : items) boxes[b]->addItem(Text(item));
    boxes[b]->setCurrentIndex(codes[b]);
  }
}

void TDeviceForm::GateSecondBoxes() {
  const bool idle = !IsRunActive();
  const std::pair<QComboBox*, QComboBox*> pairs[] = {{Ui->SendChar1Combo, Ui->SendChar2Combo},
                                                     {Ui->ReadChar1Combo, Ui->ReadChar2Combo}};
  for (const auto& [first, second] : pairs) {
    const bool gated = first->currentIndex() > 0;
    second->setEnabled(gated && idle);
    if (!gated && second->currentIndex() != 0) second->setCurrentIndex(0);
  }
}

// --- Buttons ---

void TDeviceForm::Refuse(const TEntryRefusal& refusal) {
  UserDialogs().Message(this, MessageBoxOf(refusal.Message, "", TMessageKind::Information));
  if (QWidget* control = findChild<QWidget*>(Text(refusal.Control))) control->setFocus();
}

bool TDeviceForm::Validate() {
  ReadEntries();
  if (const std::optional<TEntryRefusal> refused = CheckDeviceSettings(Entries)) {
    Refuse(*refused);
    return false;
  }
  return ConfirmLocation(Entries, Request.Device);
}

void TDeviceForm::accept() {
  if (IsRunActive()) return;
  ReadEntries();
  if (IsNew()) {
    // An untouched dialog closes without making anything.
    if (Entries.Name.empty() && !Entries.Location) return QDialog::accept();
    if (!Validate()) return;
    Request.List->AddDeviceFromDialog(Entries);
    UiPort().ExperimentChanged(1, 0);
    return QDialog::accept();
  }
  if (!Validate()) return;
  Request.Settings = Entries;
  QDialog::accept();
}

void TDeviceForm::AddClick() {
  if (IsRunActive() || !Validate()) return;
  Request.List->AddDeviceFromDialog(Entries);
  UiPort().ExperimentChanged(1, 0);
  ResetForNewDevice();
}

void TDeviceForm::ResetForNewDevice() {
  Entries = NewDeviceSettings();
  RefreshTreeTexts();
  ShowEntries();
  SelectTreeLocation(nullptr);
  Ui->NameEdit->setFocus();
}

void TDeviceForm::ChangeIconClick() {
  TFileChoice choice;
  choice.Filter = PictureFilter;
  if (!UserDialogs().ChooseFile(this, choice)) return;
  QFile file(Text(choice.FileName));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = file.readAll();
  QPixmap picture;
  if (!picture.loadFromData(bytes)) {
    UserDialogs().Message(this, MessageBoxOf("The file " + choice.FileName + " is not a picture.",
                                             "", TMessageKind::Information));
    return;
  }
  ReadEntries();
  Entries.Icon.Image.assign(bytes.begin(), bytes.end());
  Entries.DefaultIcon = false;
  Entries.IconChanged = true;
  ShowIcon();
}

void TDeviceForm::ChangeSettingsClick() {
  if (IsRunActive()) return;
  TCommunicationsTree& tree = Request.List->GetCommunicationsTree();
  TGpibSettings settings = tree.GetGpibSettings();
  if (!EditGpibSettings(settings, !Request.List->IsEmpty())) return;
  ReadEntries();
  // The GPIB locations go with their nodes: only a serial location stays selected.
  if (Entries.Location && Entries.Location->GetCommType() != RS232) Entries.Location = nullptr;
  tree.ChangeGpibSettings(settings);
  BuildTree();
  SelectTreeLocation(Entries.Location);
}
