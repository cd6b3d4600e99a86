// The experiment's one-command clipboard. It holds a copy record of the command, not the
// command: the record keeps the settings and follows what the command named, and is
// dropped once one of those is gone. Pastes happen at the experiment tree's selection.
#pragma once

class TBlock;
class TCopyScript;
class TExperiment;
class TExperimentObject;
class TScript;

class TExpObjClipboard {
public:
  explicit TExpObjClipboard(TExperiment* experiment);
  // Deletes the held record.
  ~TExpObjClipboard();
  TExpObjClipboard(const TExpObjClipboard&) = delete;
  TExpObjClipboard& operator=(const TExpObjClipboard&) = delete;

  // A command that can go to the clipboard (none: false).
  bool CanCopy(TExperimentObject* object) const;
  // The command's record replaces the one held.
  void Copy(TScript* script);
  // Copy, then the command is deleted.
  void Cut(TScript* script);
  // A record is held, still names everything it needs (a disabled one is dropped here)
  // and may go to the selected node. False without a selection and on a block that is
  // not the current block.
  bool CanPaste();
  // A command of the record's type takes the record's settings: on the current block's
  // node at its end, on the blank line in front of it, on a command in its place once
  // the user agrees. False when the user declines or nothing can be pasted there.
  bool PasteScript();
  TCopyScript* GetCopyScript() const { return Pcopyscript; }
  // The block is being deleted: a record that goes only into it can go nowhere, and
  // would otherwise keep its address.
  void BlockGone(const TBlock* block);

private:
  void CopyScript(TScript* script);
  // Deletes the held record.
  void Drop();

  TExperiment* Pexperiment;
  TCopyScript* Pcopyscript = nullptr;  // owned
};
