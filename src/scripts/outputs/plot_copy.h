// The clipboard image of a Plot command: copies of Y (required), of X and of the channel
// variable (when there are), the output, the counter flag and the fixed channel (-1 when
// a variable gives it). It belongs to the block of the copied command, whose variables it
// names.
#pragma once

#include <cstdint>
#include <memory>

#include "scripts/copy_script.h"

class TCopyVariableData;
class TDataSingle;
class TOutput;
class TPlotScript;

class TCopyPlot : public TBlockCopyScript {
public:
  // The command must have Y and its output.
  explicit TCopyPlot(TPlotScript& command);
  ~TCopyPlot() override;

  // Leaves the output and every variable, and forgets them.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  // The copies of X and of the channel variable: none when the command had none.
  const TCopyVariableData* GetVariableX() const { return AVariableX.get(); }
  const TCopyVariableData& GetVariableY() const { return *AVariableY; }
  // The channel variable; none for a fixed channel or once disabled.
  TDataSingle* GetChannelVariable() const;
  // The output; none once disabled.
  TOutput* GetOutput() const { return AOutput; }

  const bool AbUseCounter;
  const std::int32_t AChannel;

private:
  std::unique_ptr<TCopyVariableData> AVariableX;
  std::unique_ptr<TCopyVariableData> AVariableY;
  std::unique_ptr<TCopyVariableData> AChannelCopy;
  TOutput* AOutput;
};
