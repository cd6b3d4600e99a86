// Bases of the commands that name experiment attributes through references, of those
// that hold a condition, and of the Else and End If lines of a conditional section.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "scripts/script.h"

class TCondition;
class TData;
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

// The If-Then, Repeat-Until and Decision commands: each owns one condition, none until
// the condition dialog sets it or a record is read.
class TConditionAttributeScript : public TAttributeScript {
public:
  TConditionAttributeScript(TBlock* block, TTreeNode* node);
  // Deletes the condition.
  ~TConditionAttributeScript() override;

  // The condition answers both questions of a variable's retype; it must exist.
  bool VariableNotify(TVariable* reference, int type) override;
  bool CanReleaseVariable(TVariable* reference) override;
  // A condition only reads its variables.
  bool IsStoredVariable(TVariable* reference) override {
    (void)reference;
    return false;
  }

  // Compares variable 1 with variable 2 (comparison 0 to 4); a condition with a constant
  // is replaced. The node text is refreshed.
  void SetVariableCondition(TData* data1, TData* data2, int comparison);
  // Compares variable 1 with the constant text, typed as the variable; the text must not
  // be empty. A condition with a second variable is replaced. The node text is refreshed.
  void SetConstantCondition(TData* data1, const std::string& constant2, int comparison);
  // Deletes the condition and refreshes the node text. (Test doubles count the calls.)
  virtual void ClearCondition();
  // The condition part of the command record: whether there is a condition, then its
  // type and its record.
  void SaveCondition(TWriteFile& writer);
  // Reads the condition part into a command without condition. EReadError for a
  // condition type other than 0 or 1 and for the condition's own read errors.
  void LoadCondition(TReadFile& reader);

  bool HasCondition() const { return ACondition != nullptr; }
  TCondition* GetCondition() const { return ACondition.get(); }

protected:
  std::unique_ptr<TCondition> ACondition;
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
