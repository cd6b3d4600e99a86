// A variable made from a command dialog's "Add" or "New" button: the variable dialog for
// the block, then the variable in the experiment's single or array list.
#pragma once

class TBlock;
class TData;
class TExperiment;

struct TNewVariableKind {
  bool Array = false;
  bool IntegerOnly = false;     // a count or a number of points
  bool ReadOnlyAllowed = false; // false for a variable a command writes
};

// None when the dialog was cancelled.
TData* NewVariableWithDialog(TExperiment& experiment, TBlock* block, const TNewVariableKind& kind);
