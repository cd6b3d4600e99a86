// Bases of the commands that name experiment attributes through references, of those
// that hold a condition, and of the Else and End If lines of a conditional section.
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

// The If-Then, Repeat-Until and Decision commands. Their condition object, its record
// and the answers it gives to VariableNotify and CanReleaseVariable join with the
// conditions.
class TConditionAttributeScript : public TAttributeScript {
public:
  using TAttributeScript::TAttributeScript;

  // A condition only reads its variables.
  bool IsStoredVariable(TVariable* reference) override {
    (void)reference;
    return false;
  }
  // Deletes the condition and refreshes the node text.
  virtual void ClearCondition() = 0;
};

// The Else and End If lines of an If-Then section.
class TEndPointScript : public TScript {
public:
  using TScript::TScript;

  // Opens the dialog of the section's If-Then.
  int Edit() override;
  // With the section's If-Then as top command only the indentation follows as child.
  void MoveNode(TScript* topscript, bool asChild) override;
  // The colour of the lines inside the section: by level + 1.
  std::uint32_t GetNodeColor() override;

  virtual void SetCommentedOutFromStart(bool commentedOut) = 0;
  virtual bool IsElse() = 0;
  // The End If of the section (an End If answers itself).
  virtual TEndPointScript* GetEndIfScript() = 0;
  // The If-Then that opens the section; none while it is not linked.
  virtual TScript* GetIfThenScript() = 0;

  bool AbRunElse = false;
};
