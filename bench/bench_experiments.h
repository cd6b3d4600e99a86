// What the file and edit benchmarks share: a UI port that shows nothing, experiments of
// a given shape built through the core's own operations (boxes and blocks as the user
// adds them, commands through the block's insertion point as their dialogs add them),
// a cache that keeps one built experiment between benchmarks, and the switches read
// from the environment.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/draw_parts.h"

class TBlock;
class TCalculateScript;
class TDataSingle;
class TExperiment;

namespace QorvBench {

// How the commands of a shape stand.
enum class TLayout {
  Blocks,       // spread evenly over the blocks, straight at block level
  IfThen,       // one block: one If-Then ... End If whose then-section holds them all
  LabelRepeat,  // one block: one Label ... Repeat whose section holds them all
};

struct TShape {
  std::string Name;  // the part of the benchmark's name after the slash
  std::int32_t Commands;
  std::int32_t Blocks;
  TLayout Layout = TLayout::Blocks;
};

// The variables every block has of its own.
struct TBlockVariables {
  TDataSingle* X = nullptr;  // float, "x<k>": Calculate x = x*0.5+1
  TDataSingle* N = nullptr;  // integer, "n<k>": Increment n by 1
  TDataSingle* Y = nullptr;  // float with an initial value, "y<k>": Calculate y = y+n/2
};

// Installs the quiet UI port once for the whole program; it is never taken away, so
// experiments kept until the program ends still have a port when they go.
void UseQuietUi();
// The variable dialog answers OK with this name, refusing (as the dialog does) a name
// another variable has; with an empty name it is cancelled.
void AnswerVariableDialog(const std::string& name);

// Set when QORV_BENCH_SKIP_SLOW=1: the cases today's quadratic code cannot do in
// reasonable time are skipped.
bool SkipSlow();
// QORV_BENCH_ITERATIONS=n replaces the iteration counts (n >= 1), e.g. 1 to time a
// single open of a case that takes minutes; otherwise the given count.
std::int64_t IterationsOr(std::int64_t count);

// A directory of its own under the system's temporary directory, removed when the
// program ends.
const std::string& TempDir();

// The block diagram and the experiment of a shape. The diagram outlives the
// experiment: the blocks take their boxes along.
class TBenchExperiment {
public:
  explicit TBenchExperiment(const TShape& shape);
  ~TBenchExperiment();
  TBenchExperiment(const TBenchExperiment&) = delete;
  TBenchExperiment& operator=(const TBenchExperiment&) = delete;

  const TShape& GetShape() const { return Shape; }
  TDrawParts& GetParts() { return Parts; }
  TExperiment& GetExperiment() { return *Experiment; }
  TBlock* GetBlock(std::size_t index) const { return Blocks[index]; }
  std::size_t BlockCount() const { return Blocks.size(); }
  const TBlockVariables& VariablesOf(std::size_t index) const { return Variables[index]; }

private:
  TShape Shape;
  TDrawParts Parts;
  std::unique_ptr<TExperiment> Experiment;
  std::vector<TBlock*> Blocks;
  std::vector<TBlockVariables> Variables;
};

// Keeps the experiment last built, so that the benchmarks of one shape (and their
// repetitions) build it once; another shape replaces it.
class TExperimentCache {
public:
  TBenchExperiment& Get(const TShape& shape);

private:
  std::unique_ptr<TBenchExperiment> Built;
};

// A Calculate command at the insertion point of the block (the blank line must stand
// in it), set up as its dialog's OK does: the text compiled against the experiment's
// variables, the result stored into the target.
TCalculateScript* AddCalculate(TExperiment& experiment, TBlock* block, TDataSingle* target,
                               const std::string& text);

// The names of the block's variables: x<k>, n<k>, y<k>.
std::string VariableName(char letter, std::size_t block);

}  // namespace QorvBench
