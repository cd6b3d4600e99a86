#include "scripts/copy_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/tree_node.h"

void TCopyScript::Disable() { ADisabled = true; }

void TCopyScript::SetExperiment(TExperiment* experiment) {
  QORV_ASSERT(Pexperiment==0);
  Pexperiment = experiment;
  Enable();
  QORV_ASSERT(!ADisabled);
}

bool TBlockCopyScript::CanPasteAt(TTreeNode* node) {
  if (!Pblock) return true;
  QORV_ASSERT(node!=0);
  TBlock* block = BlockOfNode(node);
  QORV_ASSERT(block!=0);
  return block == Pblock;
}
