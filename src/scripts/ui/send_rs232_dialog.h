// "Send RS232": an RS-232 device and which of its port's buffers to clear, at least one.
#pragma once

#include <memory>

#include "scripts/device/send_rs232_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TSendRS232Form;
}

class TSendRS232Form : public TScriptForm {
  Q_OBJECT

public:
  // A new command: both boxes checked, the given device (else the first) selected. A
  // command changed: its flags and its device, none selected when it is no longer
  // offered.
  TSendRS232Form(TSendRS232ScriptRequest& request, QWidget* parent = nullptr);
  ~TSendRS232Form() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TSendRS232Form> Ui;
};
