// A command's image on the one-command clipboard: the command's type and settings, and
// registrations with the variables, outputs, data files and devices the command named.
// Whatever it names that is deleted or retyped disables it; a disabled record holds no
// link to anything and is dropped instead of being pasted.
#pragma once

class TBlock;
class TExperiment;
class TTreeNode;

class TCopyScript {
public:
  virtual ~TCopyScript() = default;
  // May the record be pasted at the selected node of the experiment tree.
  virtual bool CanPasteAt(TTreeNode* node) = 0;
  // Releases every registration and reference; the record is disabled afterwards.
  virtual void Disable();
  // Registers again with what the record names; the record is enabled afterwards.
  virtual void Enable() = 0;
  // The type of the command to make on paste.
  virtual int GetScriptType() = 0;
  // True when the record goes only into that block.
  virtual bool IsBoundTo(const TBlock* block) const {
    (void)block;
    return false;
  }
  // The clipboard takes the record: keeps the experiment (none before) and enables.
  void SetExperiment(TExperiment* experiment);
  bool Disabled() const { return ADisabled; }
  TExperiment* GetExperiment() const { return Pexperiment; }

protected:
  bool ADisabled = true;
  TExperiment* Pexperiment = nullptr;
};

// A record that names variables, which belong to one block: it goes only into the block
// it was copied from (none: any block).
class TBlockCopyScript : public TCopyScript {
public:
  explicit TBlockCopyScript(TBlock* block) : Pblock(block) {}
  bool CanPasteAt(TTreeNode* node) override;
  bool IsBoundTo(const TBlock* block) const override { return Pblock && Pblock == block; }

protected:
  TBlock* Pblock;
};
