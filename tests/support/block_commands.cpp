#include "support/block_commands.h"

#include "model/block.h"
#include "model/tree_node.h"
#include "scripts/script.h"

std::vector<TScript*> BlockCommands(const TBlock* block) {
  std::vector<TScript*> commands;
  for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
    if (TScript* script = ScriptOfNode(node); script && script->GetScriptType() != TScript::BLANK)
      commands.push_back(script);
  return commands;
}
