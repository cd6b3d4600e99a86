// The Clear Output dialog of a new command or of the command changed: the output whose
// window a run clears.
#pragma once

#include <memory>

#include "scripts/outputs/clear_output_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TClearScriptForm;
}

class TClearScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // Lists the request's outputs: the first selected for a new command, the command's own
  // when changing one.
  TClearScriptForm(TClearScriptRequest& request, QWidget* parent = nullptr);
  ~TClearScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TClearScriptForm> Ui;
  TClearScriptRequest& Clear;
};
