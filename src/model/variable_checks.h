// The checks of the variable dialogs: the names a variable may have, the entries of the
// Variables dialog, and the name typed into the rename-or-choose dialog. A refusal is
// shown as a plain message (a value's own message for a bad initial value); the dialogs
// then keep themselves open with the focus in the control named.
#pragma once

#include <string>

class TDataNameList;
struct TDataFormRequest;

// Why no expression could name a variable of this name (taken as it is: the callers
// trim it first): "There can be no blanks in the name.", "Invalid characters in variable
// name." (anything but letters A-Z and a-z, digits and '_') or "There must be at least
// one letter in the variable name." (the first character is no letter). Empty when the
// name is good.
std::string VariableNameFault(const std::string& name);

// The Variables dialog's controls that a refusal puts the focus in.
enum class TDataFormField { None, Name, ArraySize, InitialValue };

// The Variables dialog's entries as the controls hold them.
struct TDataFormEntries {
  std::string Name;
  std::string InitialValue;
  int Type = 0;
  std::string ArraySize;  // looked at only when the request shows the size
  bool ReadOnly = false;  // the read-only box is enabled and checked
};

// Checks the entries in the dialog's order against the request: its name list, its Name
// as the remembered name (a variable keeps its own name), its size box and minimum size.
// The first refusal is shown and its control answered; None when the entries are good.
// Array sizes run from 2 to MaxArraySize, the bound that reading files keeps too.
TDataFormField CheckDataEntries(const TDataFormRequest& request, const TDataFormEntries& entries);

// Takes good entries into the request as its answer: the trimmed name, the initial value
// (HasInitialValue when it is not empty), the type, the size and the read-only flag.
void TakeDataEntries(TDataFormRequest& request, const TDataFormEntries& entries);

// The rename-or-choose dialog's check of a typed name, which it takes trimmed: not empty
// ("You must enter a variable name"), not in the name list ("This variable name is
// already in use, please use another."), and a name as the Variables dialog allows it.
// A refusal is shown; answers whether the name is good.
bool CheckNewVariableName(const TDataNameList* names, const std::string& typed);
