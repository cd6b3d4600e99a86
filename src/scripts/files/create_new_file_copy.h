// The clipboard image of a Create New File command: the multiple file it moves on. It
// names no variable, so it may go to any block.
#pragma once

#include "scripts/copy_script.h"

class TMultiExpFile;
class TTreeNode;

class TCopyCreateNewFile : public TBlockCopyScript {
public:
  // The file is required.
  TCopyCreateNewFile(TBlock* block, TMultiExpFile* file);
  ~TCopyCreateNewFile() override;

  // Any block takes it.
  bool CanPasteAt(TTreeNode* node) override;
  bool IsBoundTo(const TBlock*) const override { return false; }
  // Leaves the file and forgets it.
  void Disable() override;
  void Enable() override;
  int GetScriptType() override;

  // The file; none once disabled.
  TMultiExpFile* GetFile() const { return Pexpfile; }

private:
  TMultiExpFile* Pexpfile;
};
