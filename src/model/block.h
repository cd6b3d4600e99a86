// A block of the experiment: a titled list of commands, one top-level node of the
// experiment tree. Its commands, its record and its diagram links join it as they are
// built; here it has what the attribute lists and variables need of it.
#pragma once

#include <cstdint>
#include <string>

#include "model/experiment_object.h"

class TExperiment;

class TBlock : public TExperimentObject {
public:
  // The experiment is required; the node gets the block images (0, selected 1).
  TBlock(TExperiment* owner, TTreeNode* node);

  int Edit() override;
  bool DrawNode(TNodeStyle& style) override;
  TExperimentType GetExperimentType() const override { return aiBLOCK; }

  const std::string& GetTitle() const { return Title; }
  // Keeps the title and shows it on the node.
  void SetTitle(const std::string& title);
  TExperiment* GetExperiment() const { return Powner; }

  // The identifier the block was saved under, as read from a file (-1 when none).
  std::int32_t ReadBlockID() const { return PreadblockID; }
  void SetReadBlockID(std::int32_t identifier) { PreadblockID = identifier; }

private:
  std::string Title = "None";
  TExperiment* Powner;
  std::int32_t PreadblockID = -1;
};

// The block a node of the experiment tree belongs to (the object of its top-level
// ancestor); none for a null node.
TBlock* BlockOfNode(const TTreeNode* node);
