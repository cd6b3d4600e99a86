// The clipboard image of an Increment command: the variable it steps and the step text.
// It belongs to the block of the copied command, whose variables it names.
#pragma once

#include <memory>
#include <string>

#include "scripts/copy_script.h"

class TCopyVariableData;
class TDataSingle;
class TVariableDataSingle;

class TCopyIncrement : public TBlockCopyScript {
public:
  TCopyIncrement(TBlock* block, TVariableDataSingle& variable, std::string step);
  ~TCopyIncrement() override;

  // Leaves the variable and forgets it.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  // The copied variable; none once disabled.
  TDataSingle* GetVariable() const;
  const std::string& GetStep() const { return AText; }

private:
  std::unique_ptr<TCopyVariableData> AVariable;
  std::string AText;
};
