// The Variable button of the Calculate and Concatenate dialogs: a new variable of the
// command's block for the result, made through the Variables dialog and listed in the
// result box at once. It stays the dialog's own until OK uses it; otherwise it leaves
// the experiment when the dialog closes. A second press edits it again; a press for the
// other kind (single or array) makes a new one, which replaces it only once the
// Variables dialog was accepted.
#pragma once

#include <QString>

class QComboBox;
class TBlock;
class TData;
class TExperiment;
struct TDataFormRequest;

class TNewResultVariable {
public:
  using TItemText = QString (*)(TData*);

  // The result box and the text of a variable's item in it.
  TNewResultVariable(QComboBox& results, TItemText text) : Results(results), Text(text) {}
  ~TNewResultVariable() { Drop(); }
  TNewResultVariable(const TNewResultVariable&) = delete;
  TNewResultVariable& operator=(const TNewResultVariable&) = delete;

  // The button: the types the variable may take are the form's. True when the result
  // box now selects the new (or edited) variable; false when the user cancelled.
  bool Click(TExperiment& experiment, TBlock* block, bool array, const TDataFormRequest& form);
  // OK used the variable: it stays in the experiment.
  void Keep(const TData* used);
  // The variable not used leaves the box and the experiment.
  void Drop();

private:
  QComboBox& Results;
  TItemText Text;
  TData* Made = nullptr;
};
