#include "model/block.h"

#include "model/assertion.h"
#include "model/tree_node.h"

TBlock::TBlock(TExperiment* owner, TTreeNode* node) : TExperimentObject(node), Powner(owner) {
  QORV_ASSERT(Powner!=0);
  if (AExpNode) {
    AExpNode->SetImageIndex(0);
    AExpNode->SetSelectedIndex(1);
  }
}

int TBlock::Edit() {
  return 0;  // the block dialog comes with the block diagram
}

bool TBlock::DrawNode(TNodeStyle&) { return false; }

void TBlock::SetTitle(const std::string& title) {
  Title = title;
  if (AExpNode) AExpNode->SetText(title);
}

TBlock* BlockOfNode(const TTreeNode* node) {
  if (!node) return nullptr;
  while (node->GetParent()) node = node->GetParent();
  return dynamic_cast<TBlock*>(static_cast<TExperimentObject*>(node->GetData()));
}
