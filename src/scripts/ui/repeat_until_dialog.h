// "Repeat Until Command": the Label a Repeat-Until goes back to and the condition that
// ends the repeating.
#pragma once

#include <memory>

#include "scripts/flow/repeat_until_script.h"
#include "scripts/ui/condition_dialog.h"

namespace Ui {
class TRepeatUntilScriptForm;
}

class TRepeatUntilScriptForm : public TConditionAttributeForm {
  Q_OBJECT

public:
  // Lists the request's Labels: an edited command shows its Label and condition, a new
  // one the first Label and a new condition.
  TRepeatUntilScriptForm(TRepeatUntilScriptRequest& request, QWidget* parent = nullptr);
  ~TRepeatUntilScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TRepeatUntilScriptForm> Ui;
  TRepeatUntilScriptRequest& RepeatUntil;
};
