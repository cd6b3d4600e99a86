// "Row Select": the first and last rows of a copy or export range, typed from 1 to the
// number of points of the range's data set ("End" for its last row); or only the first
// row of a range whose length is fixed.
#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>

namespace Ui {
class TCopyRowSelectForm;
}

class TCopyRowSelectForm : public QDialog {
  Q_OBJECT

public:
  explicit TCopyRowSelectForm(QWidget* parent = nullptr);
  ~TCopyRowSelectForm() override;

  // Start and end: the range's rows (0-based) in a set whose last index is given; true
  // on OK, the chosen rows then in FirstRow() and LastRow().
  bool Execute(std::int32_t firstRow, std::int32_t lastRow, int helpContext,
               std::int32_t lastIndex);
  // Start only (the end hidden): at least minimumRows rows must follow from the start
  // to the set's last row.
  bool ExecuteStart(std::int32_t firstRow, std::int32_t lastIndex, std::int32_t minimumRows);
  // Fills the fields as Execute does, without showing the dialog.
  void Prepare(std::int32_t firstRow, std::int32_t lastRow, int helpContext, std::int32_t lastIndex);
  std::int32_t FirstRow() const { return First; }
  std::int32_t LastRow() const { return Last; }

  // OK: the fields checked; a refusal says why and the dialog stays open.
  void OkClick();

private:
  void Fill(std::int32_t firstRow, int helpContext);

  std::unique_ptr<Ui::TCopyRowSelectForm> Ui;
  bool StartOnly = false;
  std::int32_t Limit = 0;
  std::int32_t Minimum = 0;
  std::int32_t First = 0;
  std::int32_t Last = 0;
};
