#include "model/experiment.h"

#include "model/assertion.h"
#include "model/block.h"
#include "model/data_list.h"

TExperiment::TExperiment() {
  Pdatasinglelist = std::make_unique<TDataSingleList>(this, AttributeTree.Add(nullptr, "Single Variables"));
  Pdataarraylist = std::make_unique<TDataArrayList>(this, AttributeTree.Add(nullptr, "Array Variables"));
}

TExperiment::~TExperiment() {
  Clearing = true;
  // Variables go before the blocks they name; commands before the variables they use.
  Pdatasinglelist.reset();
  Pdataarraylist.reset();
  while (TTreeNode* node = ExperimentTree.GetFirstNode())
    delete static_cast<TExperimentObject*>(node->GetData());
  QORV_ASSERT(Pblankscript==0);  // the blank line went with its block
}

TBlock* TExperiment::AddBlock(const std::string& title) {
  auto* block = new TBlock(this, ExperimentTree.Add(nullptr, title));
  block->SetTitle(title);
  return block;
}

void TExperiment::GetBlockVariables(TBlock* block, std::vector<TData*>& list) const {
  list.clear();
  Pdatasinglelist->GetDataOfBlock(block, list);
  Pdataarraylist->GetDataOfBlock(block, list);
}

void TExperiment::GetAllVariables(std::vector<TData*>& list) const {
  list.clear();
  std::vector<TData*> arrays;
  Pdatasinglelist->GetAll(list);
  Pdataarraylist->GetAll(arrays);
  list.insert(list.end(), arrays.begin(), arrays.end());
}
