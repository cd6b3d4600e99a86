#include "communication/ui/interactive_form.h"

#include <QFontMetrics>
#include <QTableWidgetItem>

#include "communication/communication.h"
#include "communication/device.h"
#include "model/assertion.h"
#include "model/ui/bgr_color.h"
#include "shell/ui/user_dialogs.h"
#include "ui_interactive_form.h"

namespace {

constexpr int HelpContext = 24;
constexpr int FirstRows = 4;  // the header row aside

}  // namespace

TInteractiveForm::TInteractiveForm(TInteractRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TInteractiveForm>()), Request(request) {
  Ui->setupUi(this);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setProperty("helpContext", HelpContext);
  Ui->Help->setProperty("helpContext", HelpContext);
  Ui->Help->setEnabled(false);  // the help wiring enables it when the dialog shows

  connect(Ui->SendButton, &QPushButton::clicked, this, &TInteractiveForm::SendButtonClick);
  connect(Ui->DoneButton, &QPushButton::clicked, this, &TInteractiveForm::reject);
  connect(Ui->CancelButton, &QPushButton::clicked, this, [this] { Cancel = true; });
  connect(Ui->EditButton, &QPushButton::clicked, this, &TInteractiveForm::EditButtonClick);
  connect(Ui->ColorsItem, &QAction::triggered, this, &TInteractiveForm::ColorsClick);
  connect(Ui->SendCheckBox, &QCheckBox::toggled, Ui->CommandEdit, &QWidget::setEnabled);
  connect(Ui->ReadCheckBox, &QCheckBox::toggled, this, [this](bool on) {
    Ui->BytesEdit->setEnabled(on);
    Ui->BytesLabel->setEnabled(on);
  });

  // The device box; the preselected device (else the first) is current.
  int selected = 0;
  for (std::size_t i = 0; i < Request.Devices.size(); ++i) {
    TDevice* device = Request.Devices[i];
    Ui->DeviceComboBox->addItem(QString::fromStdString(device->GetDisplayName()),
                                QVariant::fromValue(static_cast<void*>(device)));
    if (device == Request.Preselected) selected = static_cast<int>(i);
  }
  Ui->DeviceComboBox->setCurrentIndex(selected);
  connect(Ui->DeviceComboBox, &QComboBox::currentIndexChanged, this,
          &TInteractiveForm::DeviceChanged);
  DeviceChanged(selected);

  Ui->SendCheckBox->setChecked(true);
  Ui->CommandEdit->clear();
  Ui->CommandEdit->setEnabled(true);
  Ui->ReadCheckBox->setChecked(false);
  Ui->BytesEdit->setText("100");
  Ui->BytesEdit->setEnabled(false);
  Ui->BytesLabel->setEnabled(false);
  Ui->PageControl->setCurrentWidget(Ui->DeviceSheet);
  Ui->LogGrid->setRowCount(FirstRows);
  Ui->LogGrid->setColumnWidth(iuACTION, 160);
  Ui->LogGrid->setColumnWidth(iuRESULT, 300);
  SetBusy(false);
}

TInteractiveForm::~TInteractiveForm() {
  Cancel = true;
  WaitForWorker();
}

void TInteractiveForm::DeviceChanged(int index) {
  Pcurrentdevice = static_cast<TDevice*>(Ui->DeviceComboBox->itemData(index).value<void*>());
  const TCommunication* comm = Pcurrentdevice ? Pcurrentdevice->GetCommunication() : nullptr;
  const bool gpib = comm != nullptr && comm->IsGPIB();
  Ui->PageControl->setTabEnabled(Ui->PageControl->indexOf(Ui->GPIBSheet), gpib);
  for (QCheckBox* box : {Ui->RENCheckBox, Ui->GTLCheckBox, Ui->DCLCheckBox, Ui->IFCCheckBox,
                         Ui->LLOCheckBox})
    box->setEnabled(gpib);
  if (!gpib) Ui->PageControl->setCurrentWidget(Ui->DeviceSheet);
}

void TInteractiveForm::EditButtonClick() {
  if (!Pcurrentdevice || Busy) return;
  Pcurrentdevice->Edit();
  const int index = Ui->DeviceComboBox->currentIndex();
  Ui->DeviceComboBox->setItemText(index, QString::fromStdString(Pcurrentdevice->GetDisplayName()));
  DeviceChanged(index);  // the communication may have changed its kind
}

void TInteractiveForm::ColorsClick() {
  TChangeColorsRequest request;
  request.Colors = &ConsoleColors();
  if (UiPort().OpenDialog(request) == 1) Repaint();
}

void TInteractiveForm::Refuse(const std::string& message, QWidget* focus) {
  UserDialogs().Message(this, MessageBoxOf(message, "", TMessageKind::Information));
  if (focus) focus->setFocus();
}

void TInteractiveForm::SendButtonClick() {
  if (Busy || !Pcurrentdevice) return;
  TDevice* device = Pcurrentdevice;
  if (Ui->PageControl->currentWidget() == Ui->GPIBSheet) {
    int flags = 0;
    const std::pair<QCheckBox*, int> boxes[] = {
        {Ui->RENCheckBox, TGPIB::busREN}, {Ui->GTLCheckBox, TGPIB::busGTL},
        {Ui->DCLCheckBox, TGPIB::busDCL}, {Ui->IFCCheckBox, TGPIB::busIFC},
        {Ui->LLOCheckBox, TGPIB::busLLO}};
    for (const auto& [box, flag] : boxes)
      if (box->isChecked()) flags |= flag;
    if (flags == 0) return;
    Start([device, flags] { return RunConsoleGpibStep(*device, flags); });
    return;
  }
  TConsoleDeviceStep step;
  std::string message;
  TConsoleFocus focus = TConsoleFocus::None;
  if (!CheckConsoleDeviceStep(Ui->SendCheckBox->isChecked(), Ui->CommandEdit->text().toStdString(),
                              Ui->ReadCheckBox->isChecked(), Ui->BytesEdit->text().toStdString(),
                              step, message, focus)) {
    Refuse(message, focus == TConsoleFocus::Command     ? Ui->CommandEdit
                    : focus == TConsoleFocus::ByteCount ? Ui->BytesEdit
                                                        : nullptr);
    return;
  }
  const bool showAll = Ui->ShowAllInteractionsItem->isChecked();
  Start([this, device, step, showAll] { return RunConsoleDeviceStep(*device, step, showAll, Cancel); });
}

void TInteractiveForm::Start(std::function<std::vector<TConsoleRow>()> step) {
  Cancel = false;
  if (Request.OnMainThread) {
    // The debug window during a run: between the run's steps, on this thread.
    Finish(step());
    return;
  }
  SetBusy(true);
  Worker = std::thread([this, step = std::move(step)] {
    const std::vector<TConsoleRow> rows = step();
    QMetaObject::invokeMethod(this, [this, rows] { Finish(rows); }, Qt::QueuedConnection);
  });
}

void TInteractiveForm::WaitForWorker() {
  if (Worker.joinable()) Worker.join();
}

void TInteractiveForm::Finish(const std::vector<TConsoleRow>& rows) {
  WaitForWorker();
  SetBusy(false);
  const int before = Pcolorstrings[iuACTION].Count();
  const int background = Background ? acBACK1 : acBACK2;
  QFontMetrics metrics(Ui->LogGrid->font());
  for (const TConsoleRow& row : rows) {
    Pcolorstrings[iuACTION].Add(row.Action, acACTION, background);
    Pcolorstrings[iuRESULT].Add(row.Result, row.ResultRole, background);
    const int width = metrics.horizontalAdvance(QString::fromStdString(row.Result)) + 10;
    if (width > Ui->LogGrid->columnWidth(iuRESULT)) Ui->LogGrid->setColumnWidth(iuRESULT, width);
  }
  if (!rows.empty()) Background = !Background;
  const int lines = Pcolorstrings[iuACTION].Count();
  while (lines >= Ui->LogGrid->rowCount()) Ui->LogGrid->setRowCount(Ui->LogGrid->rowCount() + 5);
  Repaint();
  if (lines > 0) Ui->LogGrid->scrollToItem(Ui->LogGrid->item(before > 0 ? before - 1 : 0, 0),
                                           QAbstractItemView::PositionAtTop);
  emit ExchangeFinished();
}

void TInteractiveForm::Repaint() {
  for (int column : {iuACTION, iuRESULT}) {
    const TColorString& lines = Pcolorstrings[column];
    for (int row = 0; row < lines.Count(); ++row) {
      const TColorString::SColoredString line = lines.Get(row);
      auto* item = new QTableWidgetItem(QString::fromStdString(line.Text));
      item->setForeground(BgrColor(line.Foreground));
      item->setBackground(BgrColor(line.Background));
      Ui->LogGrid->setItem(row, column, item);
    }
  }
}

void TInteractiveForm::SetBusy(bool busy) {
  Busy = busy;
  Ui->BusyBar->setVisible(busy);
  Ui->CancelButton->setVisible(busy);
  Ui->SendButton->setEnabled(!busy);
  Ui->EditButton->setEnabled(!busy);
  Ui->DeviceComboBox->setEnabled(!busy);
}

void TInteractiveForm::reject() {
  if (Busy) {
    Cancel = true;
    WaitForWorker();  // the exchange ends at its next step or its bounded read
  }
  QDialog::reject();
}
