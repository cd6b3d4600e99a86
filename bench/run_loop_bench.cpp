// The run loop's own cost per command executed: experiments run to their end on the
// worker thread, with a UI port that runs hand-overs directly and shows nothing.
// Instruments take milliseconds per command; the engine must stay far below a
// microsecond so that it is never the bottleneck.
//
// The main figure is a Label ... Repeat loop of Increment and Calculate commands; a
// straight block of Increment commands and one of commands that do nothing show the
// commands' share and the walk's own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <utility>
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
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"

namespace {

// Shows nothing but keeps the last message; hand-overs run on the worker at once.
class TQuietUiPort final : public TUiPort {
public:
  void ShowMessage(const std::string& text, const std::string&, TMessageKind) override {
    LastMessage = text;
  }
  TMessageButton Ask(const std::string&, const std::string&, TMessageKind,
                     TMessageButtons, TMessageButton) override {
    return mbOK;
  }
  void RunInMainThread(const std::function<void()>& fn) override { fn(); }
  void ExperimentChanged(int, int) override {}
  int OpenDialog(TDialogRequest&) override { return 0; }
  void RefreshViews() override {}
  void SetCaption(const std::string&) override {}
  void SetStatusText(int, const std::string&) override {}

  std::string LastMessage;
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

// Runs a block filled by `fill` to its end once per iteration and reports the
// wall-clock time per command executed (thread start and join included; the work is on
// the worker, so the benchmarks use real time). `fill` answers how many commands one
// run executes.
template <typename Fill>
void RunLoop(benchmark::State& state, Fill fill) {
  TQuietUiPort ui;
  TUiPort* previous = SetUiPort(&ui);
  {
    TExperiment experiment;
    TBlock* block = experiment.AddBlock("Bench");
    const std::int64_t executed = fill(experiment, block, state.range(0));
    for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      ScriptOfNode(node)->SetNextScript();
    for (auto _ : state) {
      TExperimentThread thread;
      thread.SetFirstBlock(block);
      thread.Start();
      thread.Join();
      if (ui.LastMessage != ExperimentCompleteText) {
        state.SkipWithError(("the run ended with: " + ui.LastMessage).c_str());
        break;
      }
    }
    ExperimentRunning = false;
    state.counters["per_command"] = benchmark::Counter(
        static_cast<double>(executed),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  }
  SetUiPort(previous);
}

TDataSingle* AddSingle(TExperiment& experiment, TBlock* block, int type, const std::string& name) {
  return static_cast<TDataSingle*>(experiment.GetDataSingleList()->Add(block, type, 1, name));
}

// A Calculate command at the end of the block, set up as its dialog does.
void AddCalculate(TExperiment& experiment, TBlock* block, TData* target, const std::string& text) {
  TTree& tree = experiment.GetExperimentTree();
  auto* calculate = new TCalculateScript(block, tree.AddChild(block->AExpNode, "none"));
  TCalculateExpression compiled = CompileCalculateExpression(&experiment, calculate, text, true);
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), target);
}

// Label, Increment n, Calculate x, Increment t, Calculate k, Repeat `passes` times: six
// commands executed per pass (the Label and the Repeat included). Over any number of
// runs x stays near 2 and k (about 4 + n / 1000) within the integer range, so that no
// run ends on a conversion error.
void BM_RunLoopRepeat(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int64_t passes) {
    TDataSingle* n = AddSingle(experiment, block, eatINTEGER, "n");
    TDataSingle* t = AddSingle(experiment, block, eatFLOAT, "t");
    TDataSingle* x = AddSingle(experiment, block, eatFLOAT, "x");
    TDataSingle* k = AddSingle(experiment, block, eatINTEGER, "k");
    TTree& tree = experiment.GetExperimentTree();
    auto* label = new TLabelScript(block, tree.AddChild(block->AExpNode, "none"));
    label->SetTitle("Loop");
    auto* stepN = new TIncrementScript(block, tree.AddChild(block->AExpNode, "none"));
    stepN->SetUpIncrement(n, "1");
    AddCalculate(experiment, block, x, "x*0.5+1+n/1000000");
    auto* stepT = new TIncrementScript(block, tree.AddChild(block->AExpNode, "none"));
    stepT->SetUpIncrement(t, "0.25");
    AddCalculate(experiment, block, k, "2*x+n/1000");
    auto* repeat = new TRepeatScript(block, tree.AddChild(block->AExpNode, "none"));
    repeat->SetLabel(label, static_cast<std::int32_t>(passes));
    return passes * 6;
  });
}
BENCHMARK(BM_RunLoopRepeat)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A straight block of Calculate commands, into a float and an integer in turn: the
// Calculate command's own share (evaluation and the result's trip through its text).
void BM_RunLoopCalculate(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int64_t commands) {
    TDataSingle* x = AddSingle(experiment, block, eatFLOAT, "x");
    TDataSingle* k = AddSingle(experiment, block, eatINTEGER, "k");
    for (std::int64_t i = 0; i < commands; ++i) {
      if (i % 2 == 0)
        AddCalculate(experiment, block, x, "x*0.5+1");
      else
        AddCalculate(experiment, block, k, "2*x+k/1000");
    }
    return commands;
  });
}
BENCHMARK(BM_RunLoopCalculate)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same two Calculate commands as the straight block, in a Label ... Repeat loop run
// `passes` times: four commands executed per pass. Beside BM_RunLoopCalculate it shows
// what 10,000 distinct commands cost over two that are run again and again.
void BM_RunLoopCalculateShortLoop(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int64_t passes) {
    TDataSingle* x = AddSingle(experiment, block, eatFLOAT, "x");
    TDataSingle* k = AddSingle(experiment, block, eatINTEGER, "k");
    TTree& tree = experiment.GetExperimentTree();
    auto* label = new TLabelScript(block, tree.AddChild(block->AExpNode, "none"));
    label->SetTitle("Loop");
    AddCalculate(experiment, block, x, "x*0.5+1");
    AddCalculate(experiment, block, k, "2*x+k/1000");
    auto* repeat = new TRepeatScript(block, tree.AddChild(block->AExpNode, "none"));
    repeat->SetLabel(label, static_cast<std::int32_t>(passes));
    return passes * 4;
  });
}
BENCHMARK(BM_RunLoopCalculateShortLoop)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunLoopIncrement(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int64_t commands) {
    auto* n = static_cast<TDataSingle*>(
        experiment.GetDataSingleList()->Add(block, eatINTEGER, 1, "n"));
    auto* x = static_cast<TDataSingle*>(
        experiment.GetDataSingleList()->Add(block, eatFLOAT, 1, "x"));
    TTree& tree = experiment.GetExperimentTree();
    for (std::int64_t i = 0; i < commands; ++i) {
      auto* increment = new TIncrementScript(block, tree.AddChild(block->AExpNode, "none"));
      if (i % 2 == 0)
        increment->SetUpIncrement(n, "1");
      else
        increment->SetUpIncrement(x, "0.5");
    }
    return commands;
  });
}
BENCHMARK(BM_RunLoopIncrement)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RunLoopEngineOnly(benchmark::State& state) {
  RunLoop(state, [](TExperiment& experiment, TBlock* block, std::int64_t commands) {
    TTree& tree = experiment.GetExperimentTree();
    for (std::int64_t i = 0; i < commands; ++i)
      new TPassScript(block, tree.AddChild(block->AExpNode, "pass"));
    return commands;
  });
}
BENCHMARK(BM_RunLoopEngineOnly)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
