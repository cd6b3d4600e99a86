// A block of the experiment: one box of the block diagram and one top-level node of the
// experiment tree. It owns its commands (the nodes below its node), makes commands by
// type number, links to the block that follows (or holds the Decision that picks one of
// two), prepares its commands for a run and writes and reads the block record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/experiment_object.h"
#include "model/ui_port.h"

class TBlankScript;
class TDecScript;
class TDrawBlock;
class TExperiment;
class TReadFile;
class TReport;
class TScript;
class TWriteFile;

// The block dialog "Edit Experiment Block": what it shows and what OK (answer 1) gives
// back.
struct TEditBlockRequest : public TDialogRequest {
  std::string Title;
  std::string IconFile;
  bool SetAsStart = false;
};

class TBlock : public TExperimentObject {
public:
  // The experiment is required; the node gets the block images (0, selected 1). A box
  // given is told that it shows this block.
  TBlock(TExperiment* owner, TTreeNode* node, TDrawBlock* box = nullptr);
  // Destroys the box (with its lines) and every command, passes the start flag on
  // (unless the experiment is being cleared) and destroys the block's variables.
  ~TBlock() override;

  // The block dialog; answers its result.
  int Edit() override;
  // The current block (the one holding the blank line) draws its node with the
  // selected image.
  bool DrawNode(TNodeStyle& style) override;
  TExperimentType GetExperimentType() const override { return aiBLOCK; }

  // The command of a type, owned by the block, on the node; none for a type without a
  // class. Types 0 to 24 are commands (the command table, scripts/command_table.h); the
  // blank line (16) is never made here.
  static TScript* CreateScriptByType(TBlock* block, int type, TTreeNode* node);
  // A new command just before the blank line, which must stand in this block; none for
  // a type without a class.
  TScript* AddScript(int type);
  // A new command just before the given one.
  TScript* InsertScript(int type, TScript* before);
  // A new command in place of the given one (which stays when it cannot be deleted).
  TScript* ReplaceScript(int type, TScript* script);
  // Destroys the command; a Decision is refused with a message, the blank line stays.
  void DeleteScript(TScript* script);
  // A command dropped on the block's node: just before the blank line when it stands
  // here, else at the end of the block.
  void MoveScript(TScript* script);

  TScript* GetFirstScript() const;
  TBlock* GetNextBlock() const { return Pnextblock; }
  bool HasNextBlock() const { return Pnextblock != nullptr; }
  // The block a run continues with: the one the Decision chose in this run, else the
  // next block.
  TBlock* GetRunNextBlock() const;
  bool HasBlankScript() const { return Pblankscript != nullptr; }
  TBlankScript* GetBlankScript() const { return Pblankscript; }
  // The blank line registers and leaves through this.
  void SetBlankScript(TBlankScript* script) { Pblankscript = script; }
  TDecScript* GetDecScript() const { return PdecScript; }
  // A Decision being destroyed leaves the block.
  void ForgetDecScript(const TDecScript* script);

  const std::string& GetTitle() const { return Title; }
  // Keeps the title and shows it on the node.
  void SetTitle(const std::string& title);
  TExperiment* GetExperiment() const { return Powner; }
  TDrawBlock* GetDrawBlock() const { return Pdrawblock; }
  // The box is being destroyed.
  void ClearDrawBlock();
  const std::string& GetBlockFileName() const { return BlockFileName; }
  // A block file save that failed puts the name of the file still on disk back.
  void SetBlockFileName(const std::string& fileName) { BlockFileName = fileName; }

  bool IsStartBlock() const { return StartFlag; }
  // The one start block: the block that had the flag loses it; both boxes redraw.
  void SetAsStartBlock();

  // A successor from a line of the diagram read with the file: the first becomes the
  // next block, the second goes with it to the Decision read with the block.
  // EReadError for a second one without a Decision.
  void AddNextBlock(TBlock* block);
  // After a load: the box passes the blocks its outgoing lines reach.
  void SetBlockPaths();
  // A line was drawn to another block's box: the first gives the next block, the
  // second a Decision choosing between the two.
  void CreateDecisionScript(TBlock* block);
  // An outgoing line was removed: a Decision gives way to the block that stays.
  void RemoveNextBlock(TBlock* block);

  // The Label commands a Repeat may use: those before the given command's node (or
  // before the blank line's) among its siblings that no other Repeat uses, then the
  // free Labels among the given Label's children.
  void GetRepeatLabels(std::vector<TScript*>& list, TScript* script, TScript* labelscript);
  // Refreshes the node text of the Decision only, or of every command.
  void RefreshTexts(bool decisionOnly);
  // The title line, then one line per command in run order (the blank line left out).
  void ListScripts(TReport& report);
  // After a whole document is read: every command directly under the block resolves
  // what it read.
  void CheckAfterRead();
  // Run preparation: every top-level command prepares its next command, then the box
  // checks that a line reaches the block. False refuses the run.
  bool PrepareForRun();

  // The block record of experiment files.
  void Save(TWriteFile& writer);
  // The block record of block files: no start flag, no Decision record.
  void SaveBlock(TWriteFile& writer);
  // Reads the block record; the first box of the list that claims the block becomes its
  // box, gives its caption as title and leaves the list.
  void Load(TReadFile& reader, std::vector<TDrawBlock*>& boxes);
  // Reads a block file's record into this block, which has its box already.
  void LoadBlock(TReadFile& reader);

  // The identifier the block was saved under, as read from a file (-1 when none).
  std::int32_t ReadBlockID() const { return PreadblockID; }
  void SetReadBlockID(std::int32_t identifier) { PreadblockID = identifier; }

private:
  // The commands of a record; a block file's Decision entries have no record.
  void ReadScripts(TReadFile& reader, bool blockFile);
  // Writes the commands in run order; a block export writes no Decision record.
  void WriteScripts(TWriteFile& writer, bool blockExport);
  // The top-level nodes of the experiment tree, as blocks.
  std::vector<TBlock*> Blocks() const;

  std::string BlockFileName;
  std::string Title = "None";
  TDrawBlock* Pdrawblock;
  bool StartFlag = false;
  TBlock* Pnextblock = nullptr;
  TDecScript* PdecScript = nullptr;
  TExperiment* Powner;
  TBlankScript* Pblankscript = nullptr;
  std::int32_t PreadblockID = -1;
};

// The block a node of the experiment tree belongs to (the object of its top-level
// ancestor); none for a null node.
TBlock* BlockOfNode(const TTreeNode* node);
