// The copy record of a Clear Output command: the output. While enabled it is registered
// with the output, which disables it when deleted or given another kind.
#pragma once

#include "scripts/copy_script.h"

class TOutput;

class TCopyClearOutput : public TBlockCopyScript {
public:
  // The output is required; the record goes to any block.
  explicit TCopyClearOutput(TOutput* output);
  ~TCopyClearOutput() override;
  // Releases the output and forgets it.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;
  // None once disabled.
  TOutput* GetOutput() const { return AOutput; }

private:
  TOutput* AOutput;
};
