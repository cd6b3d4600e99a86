// The experiment held in memory: its experiment tree of blocks and commands and its
// attribute tree with the variable lists. Its file body, run preparation, blank line
// and remaining lists join it as they are built.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/tree_node.h"

class TBlankScript;
class TBlock;
class TData;
class TDataSingleList;
class TDataArrayList;

class TExperiment {
public:
  TExperiment();
  ~TExperiment();
  TExperiment(const TExperiment&) = delete;
  TExperiment& operator=(const TExperiment&) = delete;

  TTree& GetExperimentTree() { return ExperimentTree; }
  TTree& GetAttributeTree() { return AttributeTree; }
  TDataSingleList* GetDataSingleList() const { return Pdatasinglelist.get(); }
  TDataArrayList* GetDataArrayList() const { return Pdataarraylist.get(); }

  // Appends a top-level node and a block titled title on it.
  TBlock* AddBlock(const std::string& title);
  // The block that holds the insertion point; none when no block is current.
  TBlock* GetCurrentBlock() const { return Pcurrentblock; }
  void SetCurrentBlock(TBlock* block) { Pcurrentblock = block; }
  // The blank line: the insertion point for new commands; none while removed.
  TBlankScript* GetBlankScript() const { return Pblankscript; }
  void SetBlankScript(TBlankScript* script) { Pblankscript = script; }
  // True while the experiment is being destroyed: blocks then pass no start flag on
  // and show no message.
  bool IsClearing() const { return Clearing; }

  // The single variables of the block, then its array variables.
  void GetBlockVariables(TBlock* block, std::vector<TData*>& list) const;
  // All single variables, then all array variables.
  void GetAllVariables(std::vector<TData*>& list) const;

  // Guards the variables' values between the worker, which writes them during a run,
  // and the main thread, which shows them meanwhile. Recursive, so that a value made
  // on first use inside a locked write takes it again.
  std::recursive_mutex& GetValueLock() { return ValueLock; }

private:
  TTree ExperimentTree;
  TTree AttributeTree;
  std::unique_ptr<TDataSingleList> Pdatasinglelist;
  std::unique_ptr<TDataArrayList> Pdataarraylist;
  TBlock* Pcurrentblock = nullptr;
  TBlankScript* Pblankscript = nullptr;
  bool Clearing = false;
  std::recursive_mutex ValueLock;
};
