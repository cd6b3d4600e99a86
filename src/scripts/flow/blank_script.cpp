#include "scripts/flow/blank_script.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/tree_node.h"

TBlankScript::TBlankScript(TBlock* block, TTreeNode* node, TExperiment* experiment)
    : TScript(block, node), Pexperiment(experiment) {
  if (AExpNode) {
    AExpNode->SetImageIndex(2);
    AExpNode->SetSelectedIndex(2);
  }
  if (Pblock) Pblock->SetBlankScript(this);
}

TBlankScript::~TBlankScript() {
  if (Pexperiment && Pexperiment->GetBlankScript() == this) Pexperiment->SetBlankScript(nullptr);
  if (Pblock && Pblock->GetBlankScript() == this) Pblock->SetBlankScript(nullptr);
}

void TBlankScript::SetBlock() {
  if (Pblock && Pblock->GetBlankScript() == this) Pblock->SetBlankScript(nullptr);
  TScript::SetBlock();
  Pblock->SetBlankScript(this);
}

void TBlankScript::ClearExperiment() {
  QORV_ASSERT(Pexperiment!=0);
  Pexperiment = nullptr;
}
