#include "scripts/script.h"

#include "model/tree_node.h"

TScript::TScript(TBlock* block, TTreeNode* node) : TExperimentObject(node), Pblock(block) {
  if (AExpNode) {
    AExpNode->SetImageIndex(-1);
    AExpNode->SetSelectedIndex(-1);
  }
}

void TScript::UpdateNodeText() {
  const std::string text = GetText();
  for (TTreeNode* node : {AExpNode, DebugNode}) {
    if (!node) continue;
    node->SetText(text);
    if (TTreeNode* parent = node->GetParent()) parent->SetExpanded(true);
  }
}
