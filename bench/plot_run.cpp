#include "plot_run.h"

#include <chrono>
#include <utility>
#include <vector>

#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "model/tree_node.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/table_form.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/outputs/plot_script.h"

namespace QorvBench {

void THandOverUiPort::RunInMainThread(const std::function<void()>& fn) {
  if (InPlace || std::this_thread::get_id() == Main) {
    fn();
    return;
  }
  bool served = false;
  std::exception_ptr error;
  std::unique_lock<std::mutex> lock(Lock);
  Tasks.push_back({[&fn] { fn(); }, &served, &error});
  Wake.notify_all();
  Wake.wait(lock, [&served] { return served; });
  if (error) std::rethrow_exception(error);
}

void THandOverUiPort::PostToMainThread(std::function<void()> fn) {
  if (InPlace || std::this_thread::get_id() == Main) {
    fn();
    return;
  }
  std::lock_guard<std::mutex> lock(Lock);
  Tasks.push_back({std::move(fn)});
  Wake.notify_all();
}

void THandOverUiPort::Serve(const std::function<bool()>& done) {
  std::unique_lock<std::mutex> lock(Lock);
  for (;;) {
    Wake.wait_for(lock, std::chrono::milliseconds(1), [this] { return !Tasks.empty(); });
    if (!Tasks.empty()) {
      TTask task = std::move(Tasks.front());
      Tasks.pop_front();
      lock.unlock();
      std::exception_ptr error;
      try {
        task.Fn();
      } catch (...) {
        error = std::current_exception();
      }
      lock.lock();
      if (task.Served) {
        *task.Error = error;
        *task.Served = true;
        Wake.notify_all();
      }
      continue;
    }
    if (done()) return;
  }
}

namespace {

TTreeNode* NewNode(TExperiment& experiment, TBlock* block) {
  return experiment.GetExperimentTree().AddChild(block->AExpNode, "none");
}

TDataSingle* AddSingle(TExperiment& experiment, TBlock* block, int type, const std::string& name) {
  return static_cast<TDataSingle*>(experiment.GetDataSingleList()->Add(block, type, 1, name));
}

}  // namespace

TPlotRun::TPlotRun(TPlotInto into, std::int32_t points) : Into(into), PointCount(points) {
  THandOverUiPort port;  // variables and outputs may ask the port while they are made
  TUiPort* previous = SetUiPort(&port);
  Experiment = std::make_unique<TExperiment>();
  TExperiment& experiment = *Experiment;
  Block = experiment.AddBlock("Plot");
  TDataSingle* n = AddSingle(experiment, Block, eatINTEGER, "n");
  TDataSingle* y = AddSingle(experiment, Block, eatFLOAT, "y");
  if (into != TPlotInto::Nothing) {
    const std::string name = into == TPlotInto::Graph ? "Graph" : "Table";
    TTreeNode* node =
        experiment.GetAttributeTree().AddChild(experiment.GetOutputList()->AExpAttNode, name);
    Output = new TOutput(name, node, into == TPlotInto::Graph ? otGRAPH : otTABLE, 1);
  }
  auto* label = new TLabelScript(Block, NewNode(experiment, Block));
  label->SetTitle("Loop");
  (new TIncrementScript(Block, NewNode(experiment, Block)))->SetUpIncrement(n, "1");
  auto* calculate = new TCalculateScript(Block, NewNode(experiment, Block));
  TCalculateExpression compiled =
      CompileCalculateExpression(&experiment, calculate, "sin(n/5000)+0.1*sin(n/7)", true);
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), y);
  if (Output) (new TPlotScript(Block, NewNode(experiment, Block)))->SetUpXY(Output, y, n, 0, nullptr);
  (new TRepeatScript(Block, NewNode(experiment, Block)))->SetLabel(label, points);
  SetUiPort(previous);
}

TPlotRun::~TPlotRun() {
  THandOverUiPort port;
  TUiPort* previous = SetUiPort(&port);
  Experiment.reset();
  SetUiPort(previous);
}

std::string TPlotRun::Run(bool inPlace) {
  THandOverUiPort port(inPlace);
  RunWith(port, [&port](const std::function<bool()>& finished) { port.Serve(finished); });
  return port.LastMessage;
}

void TPlotRun::RunWith(TUiPort& port,
                       const std::function<void(const std::function<bool()>& finished)>& serve) {
  TUiPort* previous = SetUiPort(&port);
  // The run's preparation: each Plot command clears its window once.
  for (TTreeNode* node = Block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
    ScriptOfNode(node)->SetNextScript();
  {
    TExperimentThread thread;
    thread.SetFirstBlock(Block);
    thread.Start();
    serve([&thread] { return thread.Finished(); });
    thread.Join();
  }
  ExperimentRunning = false;  // as the main window does after the join
  SetUiPort(previous);
}

TGraphForm* TPlotRun::Graph() const {
  return Output && Output->HasOutputForm() ? dynamic_cast<TGraphForm*>(Output->GetOutputForm())
                                           : nullptr;
}

TTableForm* TPlotRun::Table() const {
  return Output && Output->HasOutputForm() ? dynamic_cast<TTableForm*>(Output->GetOutputForm())
                                           : nullptr;
}

double GraphBytesPerPoint(const TGraphForm& graph) {
  const TGraphSeries& series = graph.GetSeries(0);
  if (series.Count() == 0) return 0.0;
  std::vector<TDrawPoint> out;
  series.PointsToDraw(series.X.front(), series.X.back(), 1000, out);
  const std::size_t bytes =
      (series.X.capacity() + series.Y.capacity()) * sizeof(double) + series.IndexBytes();
  return static_cast<double>(bytes) / series.Count();
}

double TableBytesPerPoint(const TTableForm& table) {
  const TTableDataSet& set = table.GetSeries(0);
  if (set.Count() == 0) return 0.0;
  const std::size_t bytes = (set.X.capacity() + set.Y.capacity()) * sizeof(float);
  return static_cast<double>(bytes) / set.Count();
}

}  // namespace QorvBench
