// "Repeat": the Label a Repeat goes back to and how many times the section runs.
#pragma once

#include <memory>

#include "scripts/flow/repeat_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TRepeatScriptForm;
}

class TRepeatScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // Lists the request's Labels; an edited command shows its Label and count, a new one
  // the first Label and an empty count.
  TRepeatScriptForm(TRepeatScriptRequest& request, QWidget* parent = nullptr);
  ~TRepeatScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TRepeatScriptForm> Ui;
  TRepeatScriptRequest& Repeat;
};
