// "Send Binary Data": the device, the integer or float array to send (New makes one), how
// an integer array goes (2 or 4 bytes per value), and how many values: the entire array,
// a constant, or an integer variable (New makes one).
#pragma once

#include <memory>

#include "scripts/device/send_binary_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TSendBinaryForm;
}

class TData;

class TSendBinaryForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command: the given device (else the first), the first array, the count asked
  // for. A command changed: its settings.
  TSendBinaryForm(TSendBinaryScriptRequest& request, QWidget* parent = nullptr);
  // The variables made with New that no command took go with the dialog.
  ~TSendBinaryForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;

private:
  // The byte choice for an integer array, the float label for a float one.
  void DataBoxChange();
  void NewArrayClick();
  void NewDataPointsClick();
  TDataArray* SelectedArray() const;
  QString ArrayText(TData* array) const;

  std::unique_ptr<Ui::TSendBinaryForm> Ui;
  TData* Pnewarray = nullptr;
  TData* Pnewpoints = nullptr;
};
