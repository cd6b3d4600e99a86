// "Calculator": the Calculate command's expression, typed or built with the keypads and
// the variable list, the variable (or array element) that receives the result, and the
// unit of the trigonometric functions. OK compiles the text through the expression
// engine; a rejected text stays in the box with the offending characters selected.
#pragma once

#include <memory>

#include "scripts/flow/calculate_script.h"
#include "scripts/ui/new_result_variable.h"
#include "scripts/ui/script_form.h"

class QString;
class TBlock;
class TData;
class TVariableArrayComboSelection;

namespace Ui {
class TCalculateScriptForm;
}

class TCalculateScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command starts with an empty expression and the first result variable; an
  // edited command shows its expression, result and, when it calls a trigonometric
  // function, the unit it was compiled in.
  TCalculateScriptForm(TCalculateScriptRequest& request, QWidget* parent = nullptr);
  ~TCalculateScriptForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;
  // A variable made with the Variable button and not used by OK leaves the experiment.
  void hideEvent(QHideEvent* event) override;

private:
  // The variable list and the result choices for the block.
  void FillLists(TBlock* block);
  // Inserts the text at the caret, then moves the caret back by the count.
  void InsertText(const QString& text, int back = 0);
  // The result variable chosen: an array shows the empty element index.
  void VarComboChange();
  TData* ChosenVariable() const;
  // Selects what the engine rejected: start and length count the characters of the
  // text without its blanks; a negative start puts the caret at the end.
  void SelectRejected(int start, int length);
  void ConnectKeys();
  // The Variable button: a new single or array result variable, or the one made before
  // edited again.
  void VariableClick();

  std::unique_ptr<Ui::TCalculateScriptForm> Ui;
  std::unique_ptr<TVariableArrayComboSelection> Pcomboselection;
  TBlock* Block = nullptr;  // the command's block, or the new command's
  std::unique_ptr<TNewResultVariable> NewVariable;
};
