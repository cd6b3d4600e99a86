// The Repeat-Until command: closes the section of its Label and, when reached, runs the
// section again from the Label until its condition holds. No counter and no limit: a
// condition that never holds repeats until the run is stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/flow/condition_request.h"
#include "scripts/flow/label_script.h"

class TRepeatUntilScript : public TLabelLoopEnd<TConditionAttributeScript> {
public:
  TRepeatUntilScript(TBlock* block, TTreeNode* node);
  // The Label releases the section's commands to its own level.
  ~TRepeatUntilScript() override;

  // Commented out: the next command. Otherwise the next command when the condition
  // holds, else the Label.
  TScript* Execute() override;
  // As Execute, with the condition's values + " evaluates to" + " true." and
  // "Repeat finished", or + " false." and "GoTo: " + the Label's text.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return false; }
  // The Label's identifier, the condition part, the base record.
  void Save(TWriteFile& writer) override;
  // Links the Label read earlier in the block (it nests the commands between them).
  // EReadError when the identifier names no free Label among the siblings.
  void Load(TReadFile& reader) override;
  // Read errors for a missing Label, a missing condition, or a condition that cannot
  // be evaluated.
  void CheckAfterRead() override;
  // "Repeat from " + the Label's title ("none" without) + " Until " + the condition's
  // text (left out without a condition).
  std::string GetText() override;
  int GetScriptType() const override { return REPUNTIL; }

  // Links the Label (the previous one releases this command); the commands between
  // them become the Label's section.
  void SetLabel(TLabelScript* label);

private:
  // The condition's answer; EExperimentError without a condition.
  bool Holds();
};

// The Repeat-Until dialog of a new command or of the command changed.
struct TRepeatUntilScriptRequest : TConditionScriptRequest {
  TRepeatUntilScript* RepeatUntil() const { return static_cast<TRepeatUntilScript*>(Script); }
  // Finds the Labels first: none gives "No labels to repeat from."; then the variables
  // as every condition dialog.
  bool CanOpen() override;

  // The Labels the command may go back to (TBlock::GetRepeatLabels), its own included.
  std::vector<TScript*> Labels;
};
