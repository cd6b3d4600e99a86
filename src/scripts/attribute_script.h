// Bases of the commands that name experiment attributes through references, and of
// those that hold a condition.
#pragma once

#include <cstdint>

#include "scripts/script.h"

class TVariable;

class TAttributeScript : public TScript {
public:
  using TScript::TScript;

  // May the reference keep its variable when the variable takes this type.
  virtual bool VariableNotify(TVariable* reference, int type) = 0;
  // After a retype: true when the reference lets its variable go.
  virtual bool CanReleaseVariable(TVariable* reference) = 0;
  // True when the command stores into the variable of this reference.
  virtual bool IsStoredVariable(TVariable* reference) = 0;
  // True when the command must be deleted with the attribute this reference names.
  virtual bool RemoveVariable(TVariable* reference) {
    (void)reference;
    return true;
  }
  // A Read command answers the number of points it reads (0 for one value); the
  // variable dialog keeps an array at least that large.
  virtual std::int32_t GetPointsRead() const { return 0; }
};

class TConditionAttributeScript : public TAttributeScript {
public:
  using TAttributeScript::TAttributeScript;

  // Deletes the condition and refreshes the node text.
  virtual void ClearCondition() = 0;
};
