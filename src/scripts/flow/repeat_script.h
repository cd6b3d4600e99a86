// The Repeat command: closes the section of its Label and runs the section's commands
// a fixed number of times, jumping back to the Label until the count is reached.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scripts/flow/label_script.h"
#include "scripts/script_request.h"

class TRepeatScript : public TLabelLoopEnd<TScript> {
public:
  TRepeatScript(TBlock* block, TTreeNode* node);
  // The Label releases the section's commands to its own level.
  ~TRepeatScript() override;

  // Commented out: the next command. Otherwise the Label until the pass count is
  // reached, then the next command (and the counter starts again at 1).
  TScript* Execute() override;
  // As Execute, with "Counter at " + counter + " :" and "Finished repeat" or
  // "Go to " + the Label's text.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return false; }
  // The default, and the counter starts at 1.
  bool SetNextScript() override;
  // The Label's identifier, the count, then the base record.
  void Save(TWriteFile& writer) override;
  // Links the Label read earlier in the block (it nests the commands between them).
  // EReadError when the identifier names no free Label among the Repeat's siblings.
  void Load(TReadFile& reader) override;
  // As the Repeat-Until moves; dropped on its own line nothing happens, not even a
  // repaint.
  void MoveTo(TTreeNode* movenode) override;
  // EReadError for a Repeat without Label.
  void CheckAfterRead() override;
  // "Repeat " + the Label's title + " " + count + " times".
  std::string GetText() override;
  int GetScriptType() const override { return REPEAT; }

  // Links the Label (the previous one releases this Repeat), sets the count and starts
  // the counter at 1.
  void SetLabel(TLabelScript* labelscript, std::int32_t count);
  std::int32_t GetRepeatCount() const { return ARepeatCount; }
  // The pass now running: 1 before a run.
  std::int32_t GetRepeatCounter() const { return ARepeatCounter; }

private:
  // Counts the pass; answers true when the Repeat jumps back to its Label.
  bool CountPass();

  std::int32_t ARepeatCount = 0;
  std::int32_t ARepeatCounter = 1;
};

// The Repeat dialog of a new command or of the command changed.
struct TRepeatScriptRequest : TScriptRequest {
  TRepeatScript* Repeat() const { return static_cast<TRepeatScript*>(Script); }
  // Finds the Labels: for a new command, none gives "No labels to repeat from.".
  bool CanOpen() override;

  // The Labels the Repeat may go back to (TBlock::GetRepeatLabels), its own included.
  std::vector<TScript*> Labels;
};
