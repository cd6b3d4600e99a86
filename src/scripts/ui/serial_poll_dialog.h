// "Serial Poll": the GPIB device to poll and the writable integer variable of the
// command's block that receives the status byte; New makes such a variable on the spot.
#pragma once

#include <memory>

#include "scripts/device/serial_poll_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TSerialPollScriptForm;
}

class TDataSingle;

class TSerialPollScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command: the first device, no variable selected. A command changed: its
  // device (none selected when it is no longer offered) and its variable.
  TSerialPollScriptForm(TSerialPollScriptRequest& request, QWidget* parent = nullptr);
  // A variable made with New that no command took goes with the dialog.
  ~TSerialPollScriptForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;

private:
  // The variable dialog for a new integer variable of the block, or on the one made
  // before during this showing; its entry is selected.
  void NewButtonClick();
  TDataSingle* SelectedVariable() const;

  std::unique_ptr<Ui::TSerialPollScriptForm> Ui;
  TDataSingle* Pnewvariable = nullptr;
};
