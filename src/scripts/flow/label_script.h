// The Label command: a titled line that a Repeat (or a Repeat-Until) jumps back to.
// While a Repeat is linked the Label opens a section: the commands between the Label
// and its Repeat hang under the Label's node, and the Repeat, the next sibling of the
// Label's node, closes the section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scripts/script.h"
#include "scripts/script_request.h"

class TLabelScript : public TScript {
public:
  TLabelScript(TBlock* block, TTreeNode* node);
  // Destroys the linked Repeat, which releases the section's commands to the Label's
  // level first.
  ~TLabelScript() override;

  TScript* Execute() override { return Pnextscript; }
  // "Repeating from " + the Repeat's text, or "Nothing repeats here"; also when the
  // Label is commented out.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // With commands in its section: the first of them runs next, and each prepares
  // itself; the first refusal is the answer.
  bool SetNextScript() override;
  // The title, then the base record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // Moving to another block deletes the Repeat, which releases the section's commands
  // where they stand.
  void SetBlock() override;
  // With a Repeat: only within the block, before the Repeat, on a sibling or on a
  // command of the section, never on a line that closes a section.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // With a Repeat the section's start moves: onto one of its commands the commands
  // before it leave the section; onto an earlier sibling the siblings from there on
  // join it. Without one, the default drop.
  void MoveTo(TTreeNode* movenode) override;
  // The first command of the section, when there is one.
  TTreeNode* GetNextNode() override;
  // The commands of the section resolve what they read.
  void CheckAfterRead() override;
  // Deleting the Label deletes its Repeat: the node after the pair (or the section's
  // first command) takes the selection.
  TTreeNode* GetFollowingNode() override;
  bool CanHaveChildren() override { return ARepeatScript != nullptr; }
  bool IsIndented() override;
  bool OpensSection() override { return ARepeatScript != nullptr; }
  // Coloured as the section's lines while a Repeat is linked.
  std::uint32_t GetNodeColor() override;
  std::string GetText() override { return ATitle; }
  int GetScriptType() const override { return LABEL; }
  // Without a Repeat the flag is always cleared; with one the Repeat follows.
  void SetCommentedOut(bool commentedOut) override;
  bool CanCommentOut() override { return ARepeatScript != nullptr; }
  TScript* GetRepeatScript() const override { return ARepeatScript; }

  // Links a Repeat (or Repeat-Until) that stands after the Label among its siblings:
  // the siblings between them become the Label's section.
  void SetRepeat(TScript* repeatscript);
  // Unlinks the Repeat: the section's commands move back to the Label's level, in front
  // of the Repeat; a commented-out Label is commented back in.
  void ClearRepeat();
  // The Repeat's comment-out reaches the Label through this.
  void SetCommentedOutFromRepeat(bool commentedOut) { AbCommentedOut = commentedOut; }
  // Sets the title and refreshes the Label's and the Repeat's node texts.
  void SetTitle(const std::string& title);
  const std::string& GetTitle() const { return ATitle; }

private:
  TScript* ARepeatScript = nullptr;
  std::string ATitle = "None";
};

// What the Repeat and the Repeat-Until share as the line that closes a Label's section:
// the link to the Label, drops and moves, indentation, colour and comment-out. The base
// is TScript for the Repeat and the condition command base for the Repeat-Until; the
// functions are compiled for these two in label_script.cpp.
template <class TBase>
class TLabelLoopEnd : public TBase {
public:
  using TBase::TBase;

  // Within the block, after the Label: on a later sibling or on a command of the
  // section, never on a line that closes a section.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // Onto a later sibling the section grows up to it; onto a command of the section the
  // section ends before it.
  void MoveTo(TTreeNode* movenode) override;
  // With its own Label only the indentation follows as child.
  void MoveNode(TScript* topscript, bool asChild) override;
  bool IsIndented() override { return true; }
  bool ClosesSection() override { return true; }
  // Coloured as the section's lines: by level + 1.
  std::uint32_t GetNodeColor() override;
  // The Label follows.
  void SetCommentedOut(bool commentedOut) override;

  TLabelScript* GetLabelScript() const { return Plabelscript; }

protected:
  // The Label releases the section's commands to its own level. For the destructor of
  // the command, which calls it while the command's own functions still answer.
  void ReleaseLabel();
  // Links the Label (the previous one releases this line); the commands between them
  // become the Label's section.
  void LinkLabel(TLabelScript* label);
  // Reading the record: links the Label read earlier in the block, the first line among
  // the siblings before this one whose identifier read is labelID. EReadError with the
  // message when that line is no Label or has a closing line already, or when there is
  // none.
  void LoadLabel(TReadFile& reader, std::int32_t labelID, const char* notFound);

  TLabelScript* Plabelscript = nullptr;
};

// The Label dialog of a new command or of the command changed.
struct TLabelScriptRequest : TScriptRequest {
  TLabelScript* Label() const { return static_cast<TLabelScript*>(Script); }
};
