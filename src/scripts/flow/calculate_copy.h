// The clipboard image of a Calculate command: the compiled expression and its text, each
// naming the variables it uses by copies, and the result variable with its element
// choice. It belongs to the block of the copied command, whose variables it names.
#pragma once

#include <memory>

#include "scripts/copy_script.h"

class TCopyVariableData;
class TData;
class TMathExpression;
class TMathExpressionCopy;
class TQorvMathList;
class TVariableData;
class TZyqMathListCopy;

class TCopyCalculate : public TBlockCopyScript {
public:
  // The compiled list and the result reference are required; the text may be none.
  TCopyCalculate(TBlock* block, const TQorvMathList& list, TMathExpression* expression,
                 TVariableData& stored);
  ~TCopyCalculate() override;

  // Leaves every variable it names (result, compiled list and text) and forgets them all,
  // so that nothing it keeps afterwards points at a variable.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  // The result variable; none once disabled.
  TData* GetStoredData() const;
  const TCopyVariableData& GetStoredCopy() const { return *Pcopyvariable; }
  const TZyqMathListCopy& GetMathList() const { return *Pmathlist; }
  // The text's copy; none when the command had no text.
  const TMathExpressionCopy* GetExpression() const { return AExpression.get(); }

private:
  // Enables (true) or disables the copies of the text's variables.
  void SetExpressionLinks(bool enabled);

  std::unique_ptr<TCopyVariableData> Pcopyvariable;
  std::unique_ptr<TMathExpressionCopy> AExpression;
  std::unique_ptr<TZyqMathListCopy> Pmathlist;
};
