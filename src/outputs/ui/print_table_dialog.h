// "Print Table": the columns to print as a check list (two entries per data set, X then
// Y), then the print dialog; Print with nothing checked is refused.
#pragma once

#include <QDialog>

#include <memory>

class QListWidget;
class QPrinter;

namespace Ui {
class TPrintTableForm;
}

class TPrintTableForm : public QDialog {
  Q_OBJECT

public:
  explicit TPrintTableForm(QWidget* parent = nullptr);
  ~TPrintTableForm() override;

  void Clear();
  void AddColumn(const QString& text, bool checked);
  int ColumnCount() const;
  bool IsChecked(int i) const;
  // No column: "No data to print" and false. Else the dialog runs; true when Print was
  // pressed and the print dialog set up printer.
  bool Execute(QPrinter& printer);

  void CheckAllClick() { CheckEvery(true); }
  void UncheckAllClick() { CheckEvery(false); }
  void PrintClick();
  QListWidget* ColumnListBox() const;

private:
  void CheckEvery(bool checked);

  std::unique_ptr<Ui::TPrintTableForm> Ui;
  QPrinter* Printer = nullptr;
};
