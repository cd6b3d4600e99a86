// The Decision command: the last line of a block whose box has two outgoing lines. It
// picks the block that follows, the true block or the false block, by its condition.
// The choice is kept apart from the block's next block: the run follows it
// (TBlock::GetRunNextBlock) once the block's commands end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scripts/attribute_script.h"
#include "scripts/flow/condition_request.h"

class TDecScript : public TConditionAttributeScript {
public:
  // The factory's: no condition, no blocks (a record is about to be read).
  TDecScript(TBlock* block, TTreeNode* node);
  // When a second line leaves the block's box: the old next block is the true block,
  // the new one the false block.
  TDecScript(TBlock* block, TTreeNode* node, TBlock* trueBlock, TBlock* falseBlock);
  // The block forgets its Decision.
  ~TDecScript() override;

  // Chooses the block that follows by the condition; answers the next command. Without
  // a condition EExperimentError. A Decision is never commented out.
  TScript* Execute() override;
  // As Execute, with the condition's values + " evaluates to" + " true." or " false.",
  // then "Next block is " + the chosen block's title.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return false; }
  // Forgets the previous run's choice; without a condition tells the user and refuses
  // the run.
  bool SetNextScript() override;
  // Base record, true block's identifier, false block's identifier, condition part.
  // Saving requires both blocks.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  // Only within its own block.
  bool CanMoveTo(TBlock* block, TTreeNode* node) override;
  // Read errors for a Decision without condition, with a condition whose variables were
  // not all found or cannot be compared, or without its two blocks.
  void CheckAfterRead() override;
  // "Decision: If " + condition + " goto " + true block's title; "Decision: Not Defined"
  // without a condition or a block.
  std::string GetText() override;
  int GetScriptType() const override { return DECISION; }
  // A Decision is never commented out: the flag is always cleared.
  void SetCommentedOut(bool commentedOut) override;
  bool CanCommentOut() override { return false; }
  // Loses the condition and keeps its node: false.
  bool RemoveVariable(TVariable* reference) override;

  // The block must be one of the two; the false block swaps places with the true one.
  void SetTrueBlock(TBlock* block);
  // After a file is read: the block's two successors take the true and false places by
  // the identifiers the record stored. EReadError when they do not match them.
  void ResolveBlocks(TBlock* blk1, TBlock* blk2);

  // The run-time choice, kept apart from the block's next block: the true block when
  // the condition held, else the false block. Reset by SetNextScript before each run.
  void ChooseBlock(bool condition);
  // None until the Decision ran in the current run.
  TBlock* GetChosenBlock() const { return Pchosenblock; }

  TBlock* ATrueBlock = nullptr;
  TBlock* AFalseBlock = nullptr;
  std::int32_t PtrueblockID = -1;   // the identifiers read, until resolved
  std::int32_t PfalseblockID = -1;

private:
  // Evaluates the condition and keeps the choice; answers the condition's result.
  bool Decide();
  // "You must define the Decision Scipt in " + the block's title + ".".
  std::string NotDefinedMessage() const;

  TBlock* Pchosenblock = nullptr;
};

// The Decision dialog: only for a Decision the block diagram made (there is no new
// entry), with its two blocks.
struct TDecScriptRequest : TConditionScriptRequest {
  TDecScript* Decision() const { return static_cast<TDecScript*>(Script); }
  // Refuses a new command silently; then the variables as every condition dialog.
  bool CanOpen() override;
};
