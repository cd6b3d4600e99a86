// "Decision Command": the condition of a block's Decision and the block the run goes to
// when it holds (the other of the two blocks when it does not).
#pragma once

#include <memory>

#include "scripts/flow/dec_script.h"
#include "scripts/ui/condition_dialog.h"

namespace Ui {
class TDecScriptForm;
}

class TDecScriptForm : public TConditionAttributeForm {
  Q_OBJECT

public:
  // Lists the true block, then the false block, the true one selected; the condition
  // from the command (a Decision without one shows a new condition's).
  TDecScriptForm(TDecScriptRequest& request, QWidget* parent = nullptr);
  ~TDecScriptForm() override;

protected:
  // The block chosen becomes the true block: choosing the false one swaps the two.
  void OkClick() override;

private:
  std::unique_ptr<Ui::TDecScriptForm> Ui;
  TDecScriptRequest& Decision;
};
