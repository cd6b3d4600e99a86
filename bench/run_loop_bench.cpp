// The run loop's own cost per command executed: a block of many commands run to its end
// on the worker thread, with a UI port that runs hand-overs directly and shows nothing.
// Instruments take milliseconds per command; the engine must stay far below a
// microsecond so that it is never the bottleneck.
//
// The loop is a block of Increment commands for now. The Repeat and Calculate commands
// come later: a Repeat loop of Increment and Calculate commands joins here then (see the
// note in RunLoop below).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "model/tree_node.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/increment_script.h"

namespace {

// Shows nothing; hand-overs run on the worker at once.
class TQuietUiPort final : public TUiPort {
public:
  void ShowMessage(const std::string&, const std::string&, TMessageKind) override {}
  TMessageButton Ask(const std::string&, const std::string&, TMessageKind,
                     TMessageButtons) override {
    return mbOK;
  }
  void RunInMainThread(const std::function<void()>& fn) override { fn(); }
  void ExperimentChanged(int, int) override {}
  int OpenDialog(TDialogRequest&) override { return 0; }
  void RefreshViews() override {}
  void SetCaption(const std::string&) override {}
  void SetStatusText(int, const std::string&) override {}
};

// A command that only answers its successor: what remains is the engine's own cost.
class TPassScript final : public TScript {
public:
  using TScript::TScript;
  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "pass"; }
  int GetScriptType() const override { return COMMENT; }
};

// Runs a block of `state.range(0)` commands to its end once per iteration and reports
// the wall-clock time per command executed (thread start and join included; the work
// is on the worker, so the benchmarks use real time).
template <typename Fill>
void RunLoop(benchmark::State& state, Fill fill) {
  TQuietUiPort ui;
  TUiPort* previous = SetUiPort(&ui);
  {
    TExperiment experiment;
    TBlock* block = experiment.AddBlock("Bench");
    const auto commands = static_cast<std::int32_t>(state.range(0));
    fill(experiment, block, commands);
    // Note: a Repeat of Increment and Calculate commands replaces this straight block
    // once those commands exist; the count then is the commands executed, passes
    // included.
    for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      ScriptOfNode(node)->SetNextScript();
    for (auto _ : state) {
      TExperimentThread thread;
      thread.SetFirstBlock(block);
      thread.Start();
      thread.Join();
    }
    ExperimentRunning = false;
    state.counters["per_command"] = benchmark::Counter(
        static_cast<double>(commands),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  }
  SetUiPort(previous);
}

void BM_RunLoopIncrement(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int32_t commands) {
    auto* n = static_cast<TDataSingle*>(
        experiment.GetDataSingleList()->Add(block, eatINTEGER, 1, "n"));
    auto* x = static_cast<TDataSingle*>(
        experiment.GetDataSingleList()->Add(block, eatFLOAT, 1, "x"));
    TTree& tree = experiment.GetExperimentTree();
    for (std::int32_t i = 0; i < commands; ++i) {
      auto* increment = new TIncrementScript(block, tree.AddChild(block->AExpNode, "none"));
      if (i % 2 == 0)
        increment->SetUpIncrement(n, "1");
      else
        increment->SetUpIncrement(x, "0.5");
    }
  });
}
BENCHMARK(BM_RunLoopIncrement)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunLoopEngineOnly(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int32_t commands) {
    TTree& tree = experiment.GetExperimentTree();
    for (std::int32_t i = 0; i < commands; ++i)
      new TPassScript(block, tree.AddChild(block->AExpNode, "pass"));
  });
}
BENCHMARK(BM_RunLoopEngineOnly)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
