// "Print Status": shown while a table prints; it starts the table's print job, shows the
// page being printed, closes when the job ends, and its Cancel stops the job after the
// row being printed.
#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

class TTablePrinter;

namespace Ui {
class TPrintStatusForm;
}

class TPrintStatusForm : public QDialog {
  Q_OBJECT

public:
  explicit TPrintStatusForm(QWidget* parent = nullptr);
  ~TPrintStatusForm() override;

  // "Printing " + name; the job starts once the window is up, and the window stays until
  // it ends or is cancelled. Answers the window's result.
  int PrintTable(TTablePrinter& table, const QString& name);
  // The label of a job about to start on the table of that name.
  void Prepare(const QString& name);
  // Stops the job after its current row and closes.
  void CancelClick();
  QString LabelText() const;
  // Escape and closing the window cancel the job as Cancel does.
  void reject() override;

private:
  void TimerTick();

  std::unique_ptr<Ui::TPrintStatusForm> Ui;
  QTimer Timer;
  TTablePrinter* Table = nullptr;
  QString Name;
};
