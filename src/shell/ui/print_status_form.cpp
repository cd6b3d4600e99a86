#include "shell/ui/print_status_form.h"

#include "model/assertion.h"
#include "outputs/ui/table_printer.h"
#include "ui_print_status_form.h"

TPrintStatusForm::TPrintStatusForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TPrintStatusForm>()) {
  Ui->setupUi(this);
  Timer.setObjectName("Timer");
  Timer.setInterval(100);
  Timer.setSingleShot(true);
  connect(&Timer, &QTimer::timeout, this, &TPrintStatusForm::TimerTick);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TPrintStatusForm::CancelClick);
  // 10 by 5 times the Cancel button's height, but never smaller than its controls need.
  const int unit = Ui->Cancel->sizeHint().height();
  resize(QSize(10 * unit, 5 * unit).expandedTo(minimumSizeHint()));
}

TPrintStatusForm::~TPrintStatusForm() = default;

QString TPrintStatusForm::LabelText() const { return Ui->PrintLabel->text(); }

int TPrintStatusForm::PrintTable(TTablePrinter& table, const QString& name) {
  Table = &table;
  Prepare(name);
  // The job ends the window; started once the window is up, it runs inside its loop.
  const QMetaObject::Connection finished =
      connect(&table, &TTablePrinter::Finished, this, [this] {
        Timer.stop();
        accept();
      });
  Timer.start();
  QMetaObject::invokeMethod(&table, [&table] { table.OnPrintTable(); }, Qt::QueuedConnection);
  const int result = exec();
  disconnect(finished);
  Timer.stop();
  Table = nullptr;
  return result;
}

void TPrintStatusForm::Prepare(const QString& name) {
  Name = name;
  Ui->PrintLabel->setText("Printing " + name);
}

void TPrintStatusForm::TimerTick() {
  if (!Table) return;
  if (Table->PageNumber() >= 0) {
    Ui->PrintLabel->setText(Name + ": printing page " + QString::number(Table->PageNumber()));
    Timer.start();
  } else if (!Table->IsPrinting()) {
    // Not begun yet: the job is queued behind the window's showing.
    Timer.start();
  }
}

void TPrintStatusForm::CancelClick() {
  Timer.stop();
  if (Table) Table->OnCancelPrintTable();
  accept();
}

void TPrintStatusForm::reject() {
  Timer.stop();
  if (Table) Table->OnCancelPrintTable();
  QDialog::reject();
}
