// "If then command": the If-Then's condition and whether its section has an Else.
#pragma once

#include <memory>

#include "scripts/flow/if_then_script.h"
#include "scripts/ui/condition_dialog.h"

namespace Ui {
class TIfThenScriptForm;
}

class TIfThenScriptForm : public TConditionAttributeForm {
  Q_OBJECT

public:
  // A new command: no Else, the first variable; an edited one shows its Else and its
  // condition.
  TIfThenScriptForm(TIfThenScriptRequest& request, QWidget* parent = nullptr);
  ~TIfThenScriptForm() override;

protected:
  // A new If-Then comes with its End If (and Else); a changed one gains an empty Else or
  // loses its Else, whose commands join the end of the then-section. The blank line then
  // moves into the then-section, where the next commands go.
  void OkClick() override;

private:
  std::unique_ptr<Ui::TIfThenScriptForm> Ui;
};
