// The End If line: closes an If-Then section. It knows the If-Then and the Else (if
// any); its record names both, and reading it rebuilds the section: the Else and the
// If-Then read earlier in the block take the commands between the lines.
#pragma once

#include <string>
#include <vector>

#include "scripts/attribute_script.h"

class TElseScript;
class TIfThenScript;

class TEndIfScript : public TEndPointScript {
public:
  TEndIfScript(TBlock* block, TTreeNode* node);
  // The Else (if any) gives its commands to the then-section and goes; the If-Then (if
  // any) releases its commands in front of itself and goes.
  ~TEndIfScript() override;

  TScript* Execute() override { return Pnextscript; }
  // "endif"; commented out "Comment(endif)".
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return false; }
  // The If-Then's identifier, whether there is an Else, the Else's identifier (only
  // then), the base record.
  void Save(TWriteFile& writer) override;
  // Finds the If-Then and the Else among the siblings read before and rebuilds the
  // section. EReadError when one of them is not there (or is already linked).
  void Load(TReadFile& reader) override;
  // Within the block, after the section's last opening line (the Else, else the
  // If-Then): on a later sibling, on a command of the last section, or (at level 1) on
  // the block's node; never on a line that closes a section.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // Onto a later sibling (or the block's node) the last section grows up to it (to the
  // end of the block); onto a command of the last section it ends before it.
  void MoveTo(TTreeNode* movenode) override;
  // A read error when no If-Then was linked.
  void CheckAfterRead() override;
  bool IsIndented() override { return true; }
  bool ClosesSection() override { return true; }
  std::string GetText() override { return "End If"; }
  int GetScriptType() const override { return ENDIF; }
  // Reaches the If-Then, which comments out (or in) all three lines.
  void SetCommentedOut(bool commentedOut) override;
  // From the Else or the If-Then: only the End If's own flag.
  void SetCommentedOutFromStart(bool commentedOut) override;
  bool IsElse() override { return false; }
  TEndPointScript* GetEndIfScript() override { return this; }
  TScript* GetIfThenScript() override;

  // Links the If-Then when unset, then adds an Else in front of the End If (include,
  // none yet) or removes the Else, whose commands go to the end of the then-section.
  // The If-Then's end point follows. True.
  bool SetElse(TIfThenScript* ifthen, bool include);
  // Links the section's lines, which stand in order (If-Then, Else, End If) among the
  // same siblings, none of them linked yet: the commands between them become the
  // sections. Reading an End If does this; so does a section built line by line.
  void LinkSection(TIfThenScript* ifthen, TElseScript* elsescript);
  TIfThenScript* GetIfThen() const { return Pifthenscript; }
  TElseScript* GetElseScript() const { return Pelsescript; }
  // The If-Then or the Else is going: the link is dropped.
  void ForgetIfThen() { Pifthenscript = nullptr; }
  void ForgetElse() { Pelsescript = nullptr; }

private:
  // The line the last section hangs under: the Else, else the If-Then.
  TScript* SectionStart() const;

  TElseScript* Pelsescript = nullptr;
  TIfThenScript* Pifthenscript = nullptr;
};
