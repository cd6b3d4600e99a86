// "Read": the device read from, the variable read into and how the response is taken
// (TReadPage). OK sets the command up through TReadScript::SetUpRead.
#pragma once

#include <memory>

#include "scripts/device/read_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TReadScriptForm;
}

class QComboBox;
class TDevice;

class TReadScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command starts with the request's device (else the first) and the block's first
  // variable; an edited one shows its settings.
  TReadScriptForm(TReadScriptRequest& request, QWidget* parent = nullptr);
  ~TReadScriptForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;

private:
  std::unique_ptr<Ui::TReadScriptForm> Ui;
};

// Lists the session's devices by display name; selects the device given, or none when it
// is not listed (a command's device may no longer be offered).
void FillDevices(QComboBox& combo, TDevice* selected);
