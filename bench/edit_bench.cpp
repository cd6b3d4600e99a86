// Single edits in large experiments, each timed alone (manual time, per edit): adding,
// renaming and deleting a variable as the variable dialog and the attribute tree do, and
// adding and deleting a command at the blank line as the command dialogs and the tree's
// Delete do. The experiments hold 10,000 or 100,000 commands in 1,000 blocks, or
// 100,000 in one block (bench_experiments.h); the edits go to the middle block, which is
// the current one. Each edit is undone outside the timing (a deleted variable or command
// is added back, a renamed variable takes its other name next time), so the experiment
// keeps its size.
//
// The renamed variables: one of the block's own used by five commands (what renaming
// costs beside refreshing its users), and the busy one, the block's x, which a quarter
// of the block's commands use (3 or 25 commands in 1,000 blocks, 25,000 in one block),
// whose node texts all change with it.
//
// QORV_BENCH_SKIP_SLOW=1 skips the cases that today's code cannot do in reasonable time;
// QORV_BENCH_ITERATIONS=n times n edits per benchmark instead of the count below.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench_experiments.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/data_name_list.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/increment_script.h"

namespace {

using QorvBench::TShape;
using TClock = std::chrono::steady_clock;

const char* const TooSlow = "skipped: too slow before linear loading";

const std::vector<TShape>& Shapes() {
  static const std::vector<TShape> shapes = {
      {"10000_commands_1000_blocks", 10000, 1000},
      {"100000_commands_1000_blocks", 100000, 1000},
      {"100000_commands_1_block", 100000, 1},
  };
  return shapes;
}

// Today adding a variable among 100,000 commands in 1,000 blocks takes seconds, and
// building that experiment takes minutes.
bool IsSlow(const TShape& shape) { return shape.Commands >= 100000; }

double Seconds(TClock::duration elapsed) {
  return std::chrono::duration<double>(elapsed).count();
}

// A shape's experiment with its middle block current, and in it a variable of its own
// with five users, the one renamed.
class TEditExperiment {
public:
  explicit TEditExperiment(const TShape& shape) : Built(shape) {
    const std::size_t middle = Built.BlockCount() / 2;
    Block = Built.GetBlock(middle);
    Busy = Built.VariablesOf(middle).X;
    BusyName = Busy->GetDataName();
    Experiment().SelectBlock(Block->AExpNode);
    Renamed = static_cast<TDataSingle*>(AddVariable("r", eatINTEGER, "0"));
    for (int i = 0; i < 5; ++i)
      static_cast<TIncrementScript*>(Block->AddScript(TScript::INCREMENT))
          ->SetUpIncrement(Renamed, "1");
  }

  const TShape& GetShape() const { return Built.GetShape(); }
  TExperiment& Experiment() { return Built.GetExperiment(); }
  TDataSingleList& Singles() { return *Experiment().GetDataSingleList(); }

  // The variable dialog in add mode: a name not in use, then the list's Create for the
  // current block.
  TData* AddVariable(const std::string& name, int type, const std::string& initial) {
    if (Singles().GetDataNameList().HasDataName(name)) return nullptr;
    TDataFormRequest request;
    request.Mode = TDataFormRequest::dmADD;
    request.Name = name;
    request.Type = static_cast<std::int8_t>(type);
    request.HasInitialValue = true;
    request.InitialValueText = initial;
    return Singles().Create(Experiment().GetCurrentBlock(), request);
  }
  // The attribute tree's Delete.
  static void DeleteVariable(TData* variable) {
    if (variable->CanDelete()) delete variable;
  }
  // The Calculate dialog's OK at the blank line, which stands at the end of the block.
  TScript* AddCommand() {
    return QorvBench::AddCalculate(Experiment(), Block, Busy, Busy->GetDataName() + "*0.5+1");
  }
  // The tree's Delete on the command, which the click selected.
  void DeleteCommand(TScript* command) {
    Experiment().GetExperimentTree().SetSelected(command->AExpNode);
    Block->DeleteScript(command);
  }

  QorvBench::TBenchExperiment Built;
  TBlock* Block = nullptr;
  TDataSingle* Renamed = nullptr;
  TDataSingle* Busy = nullptr;
  std::string BusyName;
};

// The experiment last asked for, kept for the next benchmark of the same shape.
TEditExperiment* Prepared(benchmark::State& state, const TShape& shape) {
  static std::unique_ptr<TEditExperiment> current;
  if (IsSlow(shape) && QorvBench::SkipSlow()) {
    state.SkipWithError(TooSlow);
    return nullptr;
  }
  if (!current || current->GetShape().Name != shape.Name) {
    current.reset();
    current = std::make_unique<TEditExperiment>(shape);
  }
  // An earlier benchmark may have left the blank line elsewhere.
  current->Experiment().SelectBlock(current->Block->AExpNode);
  return current.get();
}

void BM_EditAddVariable(benchmark::State& state, const TShape& shape) {
  TEditExperiment* edit = Prepared(state, shape);
  if (!edit) return;
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    TData* added = edit->AddVariable("added", eatFLOAT, "2.5");
    state.SetIterationTime(Seconds(TClock::now() - start));
    if (!added) {
      state.SkipWithError("the name is in use");
      break;
    }
    TEditExperiment::DeleteVariable(added);
  }
}

void BM_EditDeleteVariable(benchmark::State& state, const TShape& shape) {
  TEditExperiment* edit = Prepared(state, shape);
  if (!edit) return;
  for (auto _ : state) {
    TData* added = edit->AddVariable("added", eatFLOAT, "2.5");
    if (!added) {
      state.SkipWithError("the name is in use");
      break;
    }
    const TClock::time_point start = TClock::now();
    TEditExperiment::DeleteVariable(added);
    state.SetIterationTime(Seconds(TClock::now() - start));
  }
}

// The variable dialog in edit mode, answered with the other of the variable's two names.
void Rename(benchmark::State& state, TData* variable, const std::string& name) {
  const std::string other = name + "_renamed";
  for (auto _ : state) {
    QorvBench::AnswerVariableDialog(variable->GetDataName() == name ? other : name);
    const TClock::time_point start = TClock::now();
    const int answer = variable->Edit();
    state.SetIterationTime(Seconds(TClock::now() - start));
    if (answer != 1) {
      state.SkipWithError("the variable dialog refused the name");
      break;
    }
  }
  QorvBench::AnswerVariableDialog("");
}

void BM_EditRenameVariable(benchmark::State& state, const TShape& shape) {
  if (TEditExperiment* edit = Prepared(state, shape)) Rename(state, edit->Renamed, "r");
}

void BM_EditRenameBusyVariable(benchmark::State& state, const TShape& shape) {
  if (TEditExperiment* edit = Prepared(state, shape)) Rename(state, edit->Busy, edit->BusyName);
}

void BM_EditAddCommand(benchmark::State& state, const TShape& shape) {
  TEditExperiment* edit = Prepared(state, shape);
  if (!edit) return;
  for (auto _ : state) {
    const TClock::time_point start = TClock::now();
    TScript* added = edit->AddCommand();
    state.SetIterationTime(Seconds(TClock::now() - start));
    edit->DeleteCommand(added);
  }
}

void BM_EditDeleteCommand(benchmark::State& state, const TShape& shape) {
  TEditExperiment* edit = Prepared(state, shape);
  if (!edit) return;
  for (auto _ : state) {
    TScript* added = edit->AddCommand();
    const TClock::time_point start = TClock::now();
    edit->DeleteCommand(added);
    state.SetIterationTime(Seconds(TClock::now() - start));
  }
}

// The benchmarks of a shape follow each other, so that its experiment is built once.
[[maybe_unused]] const bool Registered = [] {
  using TFunction = void (*)(benchmark::State&, const TShape&);
  const std::pair<const char*, TFunction> edits[] = {
      {"BM_EditAddVariable/", &BM_EditAddVariable},
      {"BM_EditRenameVariable/", &BM_EditRenameVariable},
      {"BM_EditRenameBusyVariable/", &BM_EditRenameBusyVariable},
      {"BM_EditDeleteVariable/", &BM_EditDeleteVariable},
      {"BM_EditAddCommand/", &BM_EditAddCommand},
      {"BM_EditDeleteCommand/", &BM_EditDeleteCommand},
  };
  for (const TShape& shape : Shapes())
    for (const auto& [name, function] : edits)
      benchmark::RegisterBenchmark((name + shape.Name).c_str(), function, shape)
          ->UseManualTime()
          ->Unit(benchmark::kMicrosecond)
          ->Iterations(QorvBench::IterationsOr(20));
  return true;
}();

}  // namespace
