// "Send": the device, the text to send with its terminators, and perhaps a variable (an
// array's element, a float's number format) sent after the text; Add makes a variable on
// the spot.
#pragma once

#include <cstdint>
#include <memory>

#include "model/ui/array_index_combo.h"
#include "scripts/device/send_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TSendScriptForm;
}

class TData;

class TSendScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command: the given device (else the first), terminators on, no variable,
  // standard format. A command changed: its settings.
  TSendScriptForm(TSendScriptRequest& request, QWidget* parent = nullptr);
  // A variable made with Add that no command took goes with the dialog.
  ~TSendScriptForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;

private:
  void DeviceComboChange();
  // The index box for an array, the format for a float.
  void ConComboChange();
  void FloatFormatButtonClick();
  void AddVarClick();
  void ShowFormat();
  TData* SelectedVariable() const;
  int EntryOf(TData* variable) const;

  std::unique_ptr<Ui::TSendScriptForm> Ui;
  TVariableArrayComboSelection Pcomboselection;
  TData* Pnewvariable = nullptr;
  std::uint8_t ANotation = 0;
  std::int32_t ADecimals = 0;
};
