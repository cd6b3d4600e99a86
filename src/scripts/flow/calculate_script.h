// The Calculate command: evaluates an arithmetic or bitwise expression over the
// experiment's variables and stores the result in a variable, a single variable or one
// element of an array. It holds the expression twice: compiled, as the list it evaluates,
// and as the typed text with its variable references, for the node text, the trace and
// re-editing. The result always reaches the variable through its text, so the variable's
// own text conversion decides what is stored (2.9 into an integer stores 2).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "expressions/math_expression.h"
#include "expressions/math_list.h"
#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TExperiment;
class TVariableData;

class TCalculateScript : public TAttributeScript {
public:
  // No expression, no list and no variable.
  TCalculateScript(TBlock* block, TTreeNode* node);
  // Deletes the list, the stored reference, then the expression text; their references
  // leave their variables while the command is still whole.
  ~TCalculateScript() override;

  // Evaluates the list and sets the result's text into the stored variable. Errors of
  // the evaluation and of the conversion (EExperimentError) pass through as they are.
  TScript* Execute() override;
  // Commented out: "Comment (" + the expression with current values + ")". Otherwise
  // "(" + the expression with current values + ")", the calculation, then the stored
  // variable's new value text.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyCalculate with the block, the compiled list, the text and the stored reference.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyCalculate: the list and the text rebuilt for this command, the stored
  // variable with the copied element choice.
  void SetUp(TCopyScript* copyscript) override;
  // The default, then the list readies itself for the run.
  bool SetNextScript() override;
  // The base record, the expression text, the compiled list, bool "stored variable is an
  // array", the stored reference. A block export also takes the stored reference along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the references wait in the reader until their variables are read.
  // A damaged record ends the load with EReadError and leaves nothing waiting.
  void Load(TReadFile& reader) override;
  // Only within its own block.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // EReadError when the stored reference, a variable of the expression text or a
  // variable operand of the list names no variable, or an array reference among them
  // names the entire array rather than one element.
  void CheckAfterRead() override;
  // "Calculate(" + stored variable + "=" + expression + ")", with the current names.
  std::string GetText() override;
  int GetScriptType() const override { return CALCULATE; }
  TData* GetStoredData() override;
  // Integer and float variables only.
  bool VariableNotify(TVariable* reference, int type) override;
  // After a retype: a variable that became a string is let go (and the command goes).
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override;

  // The dialog's OK (and the paste): takes both objects, which the command owns from
  // now on, binds the stored variable and refreshes the node text. All three are
  // required.
  void SetUpCalculate(std::unique_ptr<TQorvMathList> mathlist,
                      std::unique_ptr<TMathExpression> expression, TData* variable);
  // Keeps the stored reference when it is of the variable's kind (array or single),
  // otherwise makes one of that kind; then binds it.
  void SetStoredVariable(TData* variable);
  // The stored reference; none before the set-up. For an array, its index chooses the
  // element.
  TVariableData* GetStoredVariable() const { return Pstoredvariable.get(); }
  // The expression with the current names; empty without an expression.
  std::string GetExpressionText();

  TQorvMathList* GetMathList() const { return Pmathlist.get(); }
  TMathExpression* GetExpression() const { return AExpression.get(); }

private:
  // Evaluates and stores the result's text.
  void Calculate();

  std::unique_ptr<TMathExpression> AExpression;    // the typed text and its references
  std::unique_ptr<TQorvMathList> Pmathlist;        // the compiled expression
  std::unique_ptr<TVariableData> Pstoredvariable;  // where the result goes
};

// An expression compiled for a Calculate command: its list and its text, both owned by
// the command they were made for.
struct TCalculateExpression {
  std::unique_ptr<TQorvMathList> List;
  std::unique_ptr<TMathExpression> Text;
};

// Compiles an expression typed for the command as its dialog does: tokenized against the
// experiment's variables (trigonometric arguments in radians when the flag is set, else
// in degrees), then built into a list. Rejected text throws TMathTokenException, and
// nothing of it stays bound to a variable. The result goes to SetUpCalculate.
TCalculateExpression CompileCalculateExpression(TExperiment* experiment, TCalculateScript* command,
                                                const std::string& text, bool radians);

// The unit of the compiled list's trigonometric functions, its arguments' included: true
// for radians, false for degrees, none when it calls no sine, cosine or tangent. The
// dialog shows it, so that changing anything else keeps the unit the command was made in.
std::optional<bool> TrigonometricRadians(const TQorvMathList& list);

// The Calculate dialog of a new command or of the command changed.
struct TCalculateScriptRequest : TScriptRequest {
  TCalculateScript* Calculate() const { return static_cast<TCalculateScript*>(Script); }
};
