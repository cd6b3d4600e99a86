// "Wait": the pause of a Wait command in milliseconds, greater than 0.
#pragma once

#include <memory>

#include "scripts/flow/wait_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TWaitScriptForm;
}

class TWaitScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command's box is empty; an edited command's shows its time.
  TWaitScriptForm(TWaitScriptRequest& request, QWidget* parent = nullptr);
  ~TWaitScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TWaitScriptForm> Ui;
};
