// "Send GPIB Commands": a GPIB device and the bus commands to send to it (REN, GTL, DCL,
// IFC, LLO), at least one.
#pragma once

#include <memory>

#include "scripts/device/send_gpib_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TSendGPIBScriptForm;
}

class TSendGPIBScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command: no box checked, the given device (else the first) selected. A command
  // changed: its flags and its device, none selected when it is no longer offered.
  TSendGPIBScriptForm(TSendGPIBScriptRequest& request, QWidget* parent = nullptr);
  ~TSendGPIBScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TSendGPIBScriptForm> Ui;
};
