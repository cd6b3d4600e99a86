#include "model/experiment_object.h"

#include "model/tree_node.h"

TExperimentObject::TExperimentObject(TTreeNode* node) : AExpNode(node) {
  if (AExpNode) AExpNode->SetData(this);
}

TExperimentObject::~TExperimentObject() {
  if (DebugNode) DebugNode->SetData(nullptr);  // the debug window owns that node
  if (AExpNode) {
    AExpNode->SetData(nullptr);
    AExpNode->Delete();
  }
}
