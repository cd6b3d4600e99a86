// The Concatenate command: joins literal text and variable values into a text and
// stores it in a target variable. Variable values are formatted, when the command runs,
// with the command's notation and decimal places.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/script_request.h"

class TConcatenateString;
class TVariableData;

class TConcatenateScript : public TAttributeScript {
public:
  TConcatenateScript(TBlock* block, TTreeNode* node);
  // The pieces' references and the target reference leave their variables.
  ~TConcatenateScript() override;

  // Sets the target to the joined texts of the pieces (no trimming at run time).
  TScript* Execute() override;
  // Commented out: "Comment:(" + text + ")"; otherwise "Concatenating " + the
  // expression, then the text stored.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  // A TCopyConcatenate with the block, the pieces, the target, the format and the options.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyConcatenate: the pieces, the target with its element choice, the format
  // and the options.
  void SetUp(TCopyScript* copyscript) override;
  // The base record, the pieces, the trim and variable-check flags, the notation, the
  // decimal places, then the target as bool "is an array" and its reference record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // Only within its own block.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // The target and every variable piece must have found their variables.
  void CheckAfterRead() override;
  // "Concatenate(" + target + "=" + expression + ")".
  std::string GetText() override;
  int GetScriptType() const override { return CONCATENATE; }
  TData* GetStoredData() override;
  // A variable keeps its Concatenate only as a string variable.
  bool VariableNotify(TVariable* reference, int type) override;
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override;

  // The dialog's OK: the pieces made from the parse pieces, the target variable, the
  // number format and the two flags; refreshes the node text.
  void SetUp(const TParsePieces& pieces, TData* target, std::int32_t notation,
             std::int32_t decimals, bool disableVariableCheck, bool trimResult);
  // Keeps the target reference when it is of the variable's kind (array or single),
  // otherwise makes one of that kind; then binds it.
  void SetVariable(TData* data);
  // The expression text; empty when there are no pieces.
  std::string GetExpressionText();

  TVariableData* GetVariable() const { return Pvariable.get(); }
  TConcatenateString* GetConcatenateString() const { return PcsString.get(); }
  std::int32_t GetNotation() const { return ANotation; }
  std::int32_t GetDecimalPlaces() const { return ADecimalPlaces; }
  bool GetTrimResult() const { return AbTrimResult; }
  bool GetDisableVariableCheck() const { return AbDisableVariableCheck; }

private:
  // The pieces, made on first use.
  TConcatenateString& Pieces();
  // Joins the pieces and stores the text; answers it.
  std::string Concatenate();

  std::unique_ptr<TConcatenateString> PcsString;
  std::unique_ptr<TVariableData> Pvariable;
  bool AbTrimResult = true;
  bool AbDisableVariableCheck = false;
  std::int32_t ANotation = 0;
  std::int32_t ADecimalPlaces = 0;
};

// The Concatenate dialog of a new command or of the command changed.
struct TConcatenateScriptRequest : TScriptRequest {
  TConcatenateScript* Concatenate() const { return static_cast<TConcatenateScript*>(Script); }
};
