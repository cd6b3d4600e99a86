// "Label": the title of a Label command, the mark a Repeat goes back to.
#pragma once

#include <memory>

#include "scripts/flow/label_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TLabelScriptForm;
}

class TLabelScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command's box is empty; an edited command's shows its text.
  TLabelScriptForm(TLabelScriptRequest& request, QWidget* parent = nullptr);
  ~TLabelScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TLabelScriptForm> Ui;
};
