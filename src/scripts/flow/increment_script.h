// The Increment command: adds a constant step to a single integer or float variable
// each time it runs. The step is a value of the variable's type, held as a value, not
// as an expression.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TDataSingle;
class TValueNum;
class TVariableDataSingle;

class TIncrementScript : public TAttributeScript {
public:
  // No variable and no step.
  TIncrementScript(TBlock* block, TTreeNode* node);
  ~TIncrementScript() override;

  // Adds the step to the variable's current value, looked up now: a retype between the
  // preparation and the run (or during debugging) replaces the value object.
  TScript* Execute() override;
  // As Execute, with the lines "<name>=<value>+<step>" and
  // "Current value of <name>=<new value>".
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyIncrement with the block, the variable and the step text.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyIncrement: its variable and step text.
  void SetUp(TCopyScript* copyscript) override;
  // Run preparation: the variable starts from its initial value.
  bool SetNextScript() override;
  // The record: int32 step type (1 integer, 2 float), the step's text, the variable
  // reference, the base record. A block export also takes the reference along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the reference waits in the reader until its variable is read.
  // EReadError for an unknown step type or a step that does not convert.
  void Load(TReadFile& reader) override;
  // Only within its own block.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // EReadError when the reference names no usable variable; a step read with another
  // type than the variable's takes the variable's type.
  void CheckAfterRead() override;
  // "Increment <name> by <step>"; "none" without a variable.
  std::string GetText() override;
  int GetScriptType() const override { return INCREMENT; }
  TData* GetStoredData() override;
  // Integer and float variables only.
  bool VariableNotify(TVariable* reference, int type) override;
  // After a retype: a string variable is let go; for the other numeric type the step
  // is converted, keeping its number.
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override;

  // Sets the variable (integer or float) and the step from its text; the text must
  // convert to the variable's type (else EExperimentError from the value, and the
  // command keeps its variable and step). The dialog's OK and the paste use it.
  void SetUpIncrement(TDataSingle* variable, const std::string& text);
  // The step the text gives for a variable of the type (integer, else float);
  // EExperimentError with the value's message when the text does not convert.
  static std::unique_ptr<TValueNum> MakeStep(int type, const std::string& text);
  // Binds the variable; a step of another type is replaced by a step of 0 of the
  // variable's type.
  void SetIncrementVariable(TDataSingle* variable);
  // The step in standard notation; empty without a step.
  std::string GetIncrementText() const;

  TVariableDataSingle* GetVariable() const { return Pvariable.get(); }
  const TValueNum* GetStep() const { return Pvalue.get(); }

private:
  // The variable named, none when the reference is missing or unbound.
  TDataSingle* Variable() const;
  // The step takes the variable's type, keeping its number.
  void ConvertStep(int type);

  std::unique_ptr<TVariableDataSingle> Pvariable;  // the incremented variable
  std::unique_ptr<TValueNum> Pvalue;               // the step, of the variable's type
};

// The Increment dialog of a new command or of the command changed.
struct TIncrementScriptRequest : TScriptRequest {
  TIncrementScript* Increment() const { return static_cast<TIncrementScript*>(Script); }
  // Finds the variables: without single variables in the block "No variables to
  // increment.", without a writable integer or float one "Only readable integer and float
  // variables can be incremented.".
  bool CanOpen() override;

  // The block's single integer and float variables that are not read-only.
  std::vector<TDataSingle*> Variables;
};
