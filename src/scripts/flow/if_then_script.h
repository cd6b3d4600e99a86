// The If-Then command: opens a conditional section. The commands of the then-section
// hang under its node; its end point (the Else when there is one, else the End If)
// stands after it among its siblings. When its condition fails the run jumps to the end
// point; the end point learns at every pass whether the else-section is to run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/flow/condition_request.h"

class TEndIfScript;

class TIfThenScript : public TConditionAttributeScript {
public:
  TIfThenScript(TBlock* block, TTreeNode* node);
  // The Else gives its commands to the then-section, the If-Then releases them all in
  // front of itself, and its End If (with the Else) is destroyed.
  ~TIfThenScript() override;

  // Commented out: the next command. Otherwise the first then-command (or the end point)
  // when the condition holds, else the end point; the end point learns the result.
  TScript* Execute() override;
  // As Execute, with the condition's values + " evaluates to" + " true." or " false.".
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return false; }
  // The commands of the then-section prepare themselves; the first refusal is the
  // answer.
  bool SetNextScript() override;
  // The condition part, then the base record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // Within its block, before its end point: on an earlier sibling or on a command of the
  // then-section, never on a line that closes a section.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // Onto a then-command the commands before it leave the section; onto an earlier
  // sibling the siblings from there on join it.
  void MoveTo(TTreeNode* movenode) override;
  // The first then-command, or the end point.
  TTreeNode* GetNextNode() override;
  // The then-section first; then read errors for a missing condition, a condition that
  // cannot be evaluated, or a missing End If.
  void CheckAfterRead() override;
  // The node after the End If.
  TTreeNode* GetFollowingNode() override;
  bool CanHaveChildren() override { return true; }
  bool IsIndented() override { return true; }
  bool OpensSection() override { return true; }
  // Coloured as the section's lines: by level + 1.
  std::uint32_t GetNodeColor() override;
  // "If " + the condition's text; "none" without a condition.
  std::string GetText() override;
  int GetScriptType() const override { return IFTHEN; }
  // The Else and the End If follow.
  void SetCommentedOut(bool commentedOut) override;

  // The If-Then dialog's "Include Else Command": adds the End If (at the insertion
  // point, just after a new If-Then) when there is none yet, then adds or removes the
  // Else. A removed Else leaves its commands at the end of the then-section.
  bool SetIncludeElse(bool include);
  bool HasElse() const;
  // The Else, or the End If without Else; none until linked.
  TEndPointScript* GetEndPointScript() const { return Pendpointscript; }
  // The End If and the Else keep this link in step with theirs.
  void SetEndPointScript(TEndPointScript* endpoint) { Pendpointscript = endpoint; }
  // Every sibling after the If-Then up to its end point moves into the then-section.
  void AdoptCommands();
  // Every then-command moves in front of the If-Then.
  void ReleaseCommands();

private:
  // The condition's answer, told to the end point.
  bool Evaluate();

  TEndPointScript* Pendpointscript = nullptr;
};

// The If-Then dialog of a new command or of the command changed (also through its Else
// and End If).
struct TIfThenScriptRequest : TConditionScriptRequest {
  TIfThenScript* IfThen() const { return static_cast<TIfThenScript*>(Script); }
};
