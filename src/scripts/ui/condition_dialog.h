// The condition dialog that the If-Then, Repeat-Until and Decision dialogs derive from:
// a variable (an array with its element) compared with a second variable or with a
// constant. The derived dialog adds its own panel, fills the controls from its command
// (Fill), checks them in its OK (Validate) and writes the condition into its command
// inside its Apply (ApplyCondition).
#pragma once

#include <memory>
#include <vector>

#include "model/ui/array_index_combo.h"
#include "scripts/flow/condition_request.h"
#include "scripts/ui/script_form.h"

class QComboBox;
class TData;

namespace Ui {
class TConditionAttributeForm;
}

class TConditionAttributeForm : public TScriptForm {
  Q_OBJECT

public:
  // conditionLabel: "Until " or "If", in front of the first variable.
  TConditionAttributeForm(TConditionScriptRequest& request, int helpContext,
                          const char* conditionLabel, QWidget* parent);
  ~TConditionAttributeForm() override;

protected:
  // Puts the dialog's own controls above or below the condition.
  void AddPanel(QWidget* panel, bool above);
  // The controls from the command's condition, or a new condition's (the first
  // variable) when it has none.
  void Fill(TConditionAttributeScript* command);
  // Checks the controls; a failure has shown its message and put the focus.
  bool Validate();
  // Writes the condition the controls show into the command (after Validate).
  void ApplyCondition(TConditionAttributeScript& command);
  QWidget* ConditionFirstInput() const;

private:
  void Variable1ComboChange();
  void VarConClick();
  void Variable2ComboChange();
  TData* Variable1() const;
  TData* Variable2() const;
  bool Refused(const std::string& text, QWidget* focus);
  bool IndexRefused(QComboBox& box, TData* variable);

  std::unique_ptr<Ui::TConditionAttributeForm> Cond;
  TConditionScriptRequest& Condition;
  std::vector<TData*> StringVariables;
  std::vector<TData*> NumericVariables;
  TVariableArrayComboSelection IndexSelection;
};
