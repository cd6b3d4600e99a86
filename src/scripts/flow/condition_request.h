// What the condition dialogs (If-Then, Repeat-Until, Decision) share: every variable of
// the experiment, which the first variable and the second are chosen from.
#pragma once

#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TData;

struct TConditionScriptRequest : TScriptRequest {
  TConditionAttributeScript* Conditional() const {
    return static_cast<TConditionAttributeScript*>(Script);
  }
  // Lists the variables (single ones, then arrays). Without any: "You must have at least
  // one variable to create this command" for a new command, "... to edit this command"
  // for one changed, and no dialog.
  bool CanOpen() override;

  std::vector<TData*> Variables;
};
