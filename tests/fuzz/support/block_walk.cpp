#include "support/block_walk.h"

#include "model/block.h"
#include "model/errors.h"
#include "model/tree_node.h"
#include "scripts/script.h"
#include "support/harness.h"

void WalkBlock(TBlock* block, int steps, bool traced, std::vector<std::string>* trace) {
  for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
    if (TScript* script = ScriptOfNode(node)) FUZZ_CHECK(script->SetNextScript());
  std::vector<std::string> lines;
  try {
    for (TScript* script = block->GetFirstScript(); script && steps-- > 0;)
      script = traced ? script->ExecuteTrace(trace ? *trace : lines) : script->Execute();
  } catch (const EExperimentError&) {
  }
}
