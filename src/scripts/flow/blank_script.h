// The blank line: the experiment's single insertion point for new commands. It stands
// in the current block, is never saved and never runs.
#pragma once

#include <string>
#include <vector>

#include "scripts/script.h"

class TExperiment;

class TBlankScript : public TScript {
public:
  // The node shows image 2; the line registers as the block's blank line.
  TBlankScript(TBlock* block, TTreeNode* node, TExperiment* experiment);
  // Clears the experiment's and the block's references to the line.
  ~TBlankScript() override;

  int Edit() override { return 0; }
  TExperimentType GetExperimentType() const override { return aiBLANK; }
  TScript* Execute() override { return nullptr; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return nullptr; }
  bool CanMakeCopyScript() override { return false; }
  // The blank line has no record.
  void Save(TWriteFile&) override {}
  void Load(TReadFile&) override {}
  // Leaves the old block's blank line and becomes the new block's.
  void SetBlock() override;
  std::string GetText() override { return "          "; }
  int GetScriptType() const override { return BLANK; }
  bool CanCommentOut() override { return false; }

  // The experiment lets go of the line (before removing it).
  void ClearExperiment();
  TExperiment* GetExperiment() const { return Pexperiment; }

private:
  TExperiment* Pexperiment;
};
