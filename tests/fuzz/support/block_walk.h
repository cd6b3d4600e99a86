// Runs the commands of a block as the run engine's walk does, on the calling thread:
// every top-level command prepares its successor, then Execute (or ExecuteTrace) goes
// from the first command for at most a number of steps. Errors that stop a run
// (EExperimentError) end the walk; anything else goes to the caller.
#pragma once

#include <vector>
#include <string>

class TBlock;

void WalkBlock(TBlock* block, int steps, bool traced, std::vector<std::string>* trace = nullptr);
