// The commands of a block as its tree shows them, for tests that edit the tree.
#pragma once

#include <vector>

class TBlock;
class TScript;

// The block's commands in tree order, the blank line left out.
std::vector<TScript*> BlockCommands(const TBlock* block);
