// The Else line of an If-Then section: the commands of the else-section hang under its
// node, and its End If stands after it among its siblings. It runs the else-section only
// when the If-Then's condition failed (or when it is commented out).
#pragma once

#include <string>
#include <vector>

#include "scripts/attribute_script.h"

class TEndIfScript;

class TElseScript : public TEndPointScript {
public:
  TElseScript(TBlock* block, TTreeNode* node);
  // Linked to its End If: its commands go to the end of the then-section and the End If
  // becomes the If-Then's end point. Alone: its commands stay where it stood.
  ~TElseScript() override;

  // After the then-section ran: the End If. Otherwise (the condition failed, or the Else
  // is commented out) the first else-command, or the End If.
  TScript* Execute() override;
  // As Execute, with "else" when the else-section runs, "Comment(else)" when commented
  // out, no line when the else-section is skipped.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return false; }
  // The commands of the else-section prepare themselves; the first refusal is the
  // answer.
  bool SetNextScript() override;
  // The base record alone.
  void Load(TReadFile& reader) override;
  // Within the section: on a then-command or an else-command that closes no section.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // Onto an else-command the commands before it join the then-section; onto a
  // then-command the commands from it on join the else-section.
  void MoveTo(TTreeNode* movenode) override;
  // The first else-command, or the End If.
  TTreeNode* GetNextNode() override;
  // The else-section first; then a read error when no End If was linked.
  void CheckAfterRead() override;
  // The node after the End If.
  TTreeNode* GetFollowingNode() override;
  bool CanHaveChildren() override { return true; }
  bool IsIndented() override { return true; }
  bool ClosesSection() override { return true; }
  std::string GetText() override { return "Else"; }
  int GetScriptType() const override { return ELSE; }
  // Commenting back in an Else whose End If is commented out restores all three lines;
  // otherwise only the Else changes.
  void SetCommentedOut(bool commentedOut) override;
  // From the If-Then: the Else, then the End If.
  void SetCommentedOutFromStart(bool commentedOut) override;
  bool IsElse() override { return true; }
  TEndPointScript* GetEndIfScript() override;
  TScript* GetIfThenScript() override;

  // Links the End If; the Else must have none.
  void SetEndIf(TEndIfScript* endifscript);
  TEndIfScript* GetEndIf() const { return Pendifscript; }
  // The End If is going: the link is dropped.
  void ForgetEndIf() { Pendifscript = nullptr; }
  // Every sibling after the Else up to its End If moves into the else-section.
  void AdoptCommands();
  // Every else-command becomes the last then-command; without a known If-Then each one
  // moves in front of the Else.
  void ReleaseCommands();

private:
  TEndIfScript* Pendifscript = nullptr;
};
