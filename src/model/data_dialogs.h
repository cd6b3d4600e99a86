// What the variable dialogs are asked, and what they answer, through the UI port.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/ui_port.h"

class TBlock;
class TData;
class TDataList;
class TDataNameList;

// The variable dialog ("Variables"): edits one variable (Edit mode), or adds variables
// to a list in a block until closed (Add mode: the dialog calls the list's Create for
// each variable added with Add; closed with OK, the list makes one more from the
// answer). The entries are checked with CheckDataEntries (variable_checks.h). Answers 1
// when closed with OK; Name holds the remembered name until then.
struct TDataFormRequest : TDialogRequest {
  enum TMode { dmEDIT, dmADD };
  TMode Mode = dmEDIT;
  bool ShowArraySize = false;

  // Shown, and read back after OK.
  std::string Name;
  bool HasInitialValue = false;
  std::string InitialValueText;
  std::int8_t Type = 0;
  std::int32_t ArraySize = 10;
  bool ReadOnly = false;

  bool StringAllowed = true;
  bool IntegerAllowed = true;
  bool FloatAllowed = true;
  bool ReadOnlyAllowed = true;
  TDataNameList* NameList = nullptr;  // checked for duplicate names
  TDataList* List = nullptr;          // Add mode only
  TBlock* Block = nullptr;            // Add mode only
  std::int32_t MinimumArraySize = -1;  // -1 when none
};

// The rename-or-choose dialog: a new name that is not in the name list (checked with
// CheckNewVariableName, variable_checks.h), or one of the offered variables. Without
// OfferCancel it cannot be closed but by OK. Answers 1 when closed with OK.
struct TChangeVarRequest : TDialogRequest {
  bool OfferCancel = true;
  std::string Caption;
  TDataNameList* NameList = nullptr;
  // The variables offered, by the text shown for each.
  std::vector<std::pair<std::string, TData*>> Choices;

  // The answer: a new name, or the chosen variable.
  bool NewNameChosen = false;
  std::string NewName;
  TData* ASelectedData = nullptr;
};
