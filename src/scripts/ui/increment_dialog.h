// "Increment": the variable an Increment command steps and the amount it adds.
#pragma once

#include <memory>

#include "scripts/flow/increment_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TIncrementScriptForm;
}

class TIncrementScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // Lists the request's variables; an edited command shows its variable and amount, a
  // new one the first variable and an empty amount.
  TIncrementScriptForm(TIncrementScriptRequest& request, QWidget* parent = nullptr);
  ~TIncrementScriptForm() override;

protected:
  // The amount is converted with the chosen variable's type before any command is made
  // or changed: a text that does not convert is refused with the conversion's message.
  void OkClick() override;

private:
  std::unique_ptr<Ui::TIncrementScriptForm> Ui;
  TIncrementScriptRequest& Increment;
};
