#include "examples/demo_experiment.h"

#include <filesystem>
#include <memory>
#include <utility>

#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/nat_gpib.h"
#include "communication/read_response.h"
#include "communication/rs232.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/number_text.h"
#include "model/tree_node.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/table_form.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_script.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/plot_script.h"
#include "shell/experiment_file.h"

namespace {

// Makes commands at the end of a block, in front of the blank line when it stands there:
// where the user's insertion point puts them.
class TCommands {
public:
  TCommands(TExperiment& experiment, TBlock* block) : Experiment(experiment), Block(block) {}

  template <class T>
  T* Make() {
    TTree& tree = Experiment.GetExperimentTree();
    TBlankScript* blank = Experiment.GetBlankScript();
    TTreeNode* node = blank && blank->AExpNode->GetParent() == Block->AExpNode
                          ? tree.Insert(blank->AExpNode, "none")
                          : tree.AddChild(Block->AExpNode, "none");
    return new T(Block, node);
  }

  void Comment(const std::string& text) { Make<TCommentScript>()->SetComment(text); }
  void Calculate(TData* target, const std::string& text) {
    auto* calculate = Make<TCalculateScript>();
    TCalculateExpression compiled = CompileCalculateExpression(&Experiment, calculate, text, true);
    calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), target);
  }
  void Send(TDevice* device, const std::string& text) {
    Make<TSendScript>()->SetUpSend(device, text, true, nullptr, ntSTANDARD, -1, false);
  }
  // One ASCII value of the variable's type.
  void Read(TDevice* device, TData* variable) {
    TReadResponse response;
    response.SetValueType(variable->GetDataType());
    Make<TReadScript>()->SetUpRead(device, variable, response, true, false);
  }
  void Query(TDevice* device, const std::string& text, TData* variable) {
    Send(device, text);
    Read(device, variable);
  }

private:
  TExperiment& Experiment;
  TBlock* Block;
};

TDataSingle* Single(TExperiment& experiment, TBlock* block, int type, const std::string& name,
                    const std::string& initial = "") {
  TData* single = experiment.GetDataSingleList()->Add(block, type, 1, name);
  if (!initial.empty()) single->SetInitialValue(initial);
  return static_cast<TDataSingle*>(single);
}

// A device that sends CR LF after each command and reads up to LF.
TDevice* NewDevice(TDeviceList& devices, const std::string& name,
                   std::unique_ptr<TCommunication> communication) {
  TDevice* device = devices.NewDevice();
  TCoreDevice& core = device->GetCoreDevice();
  core.SetName(name);
  core.SetSendChar1(13);
  core.SetSendChar2(10);
  core.SetReadChar1(10);
  device->SetCommunication(std::move(communication));
  device->UpdateListItem();
  return device;
}

}  // namespace

TDemoExperiment::TDemoExperiment(const TDemoSettings& settings) {
  // The diagram: two boxes side by side, a line from the first to the second.
  TDrawBlock* measureBox = Parts.AddBlock("Measure", {40, 60});
  TBlock* measure = Experiment.AddBlock(measureBox);  // the start block
  measureBox->SetTitle("Measure");
  TDrawBlock* summaryBox = Parts.AddBlock("Summary", {260, 60});
  TBlock* summary = Experiment.AddBlock(summaryBox);
  Parts.Connect(measureBox, summaryBox);

  TDevice* meter = NewDevice(Devices, "Meter", std::make_unique<TNATGPIB>(0, 5, nullptr));
  TDevice* thermometer =
      NewDevice(Devices, "Thermometer", std::make_unique<TRS232>(nullptr, 0));
  // An instrument that never answers stops the run after 2 s, not after the default
  // 1,000 s.
  thermometer->GetCommunication()->SetTimeOut(2'000'000);

  TDataSingle* meterId = Single(Experiment, measure, eatSTRING, "meterId");
  TDataSingle* thermometerId = Single(Experiment, measure, eatSTRING, "thermometerId");
  TDataSingle* n = Single(Experiment, measure, eatINTEGER, "n", "0");
  TDataSingle* volts = Single(Experiment, measure, eatFLOAT, "volts");
  TDataSingle* temperature = Single(Experiment, measure, eatFLOAT, "temperature");
  TDataSingle* power = Single(Experiment, measure, eatFLOAT, "power");
  TDataSingle* sum = Single(Experiment, measure, eatFLOAT, "sum", "0");
  TDataSingle* mean = Single(Experiment, summary, eatFLOAT, "mean");
  TDataSingle* result = Single(Experiment, summary, eatSTRING, "result");

  TOutputList& outputs = *Experiment.GetOutputList();
  TOutput* graph = outputs.NewOutput(DemoGraphTitle, otGRAPH, 2);
  auto& chart = static_cast<TGraphForm&>(*graph->GetOutputForm());
  chart.SetNumberFormat(ntFIXED, 3);
  chart.Chart().LegendVisible = true;
  chart.Chart().BottomAxisTitle = "Reading";
  chart.Chart().LeftAxisTitle = "Volts, deg C";
  chart.GetSeries(0).Name = "Meter (V)";
  chart.GetSeries(1).Name = "Thermometer (deg C)";
  TOutput* table = outputs.NewOutput(DemoTableTitle, otTABLE, 3);
  auto& columns = static_cast<TTableForm&>(*table->GetOutputForm());
  columns.SetNumberFormat(ntFIXED, 3);
  const char* const headers[] = {"Volts", "deg C", "mW"};
  for (std::int32_t set = 0; set < 3; ++set) {
    columns.GetSeries(set).XName = "Reading";
    columns.GetSeries(set).YName = headers[set];
  }
  TOutput* big = outputs.NewOutput(DemoBigNumberTitle, otBIGNUMBER, 1);
  big->GetOutputForm()->SetNumberFormat(ntFIXED, 2);
  TOutput* log = outputs.NewOutput(DemoLogTitle, otTEXT, 1);

  TSingleExpFileRequest request;
  request.FileName = (std::filesystem::path(settings.DataDirectory) / DemoDataFileName).string();
  request.Overwrite = true;  // each run writes the file afresh
  request.CloseBetweenWrites = false;
  request.WriteFileName = false;
  TExperimentFile* data = Experiment.GetSingleExpFileList()->Create(request);

  TCommands first(Experiment, measure);
  first.Comment("Who is there: the meter on GPIB, the thermometer on COM1");
  first.Send(meter, "*RST");
  first.Query(meter, "*IDN?", meterId);
  first.Query(thermometer, "*IDN?", thermometerId);
  first.Make<TPlotScript>()->SetUpYOnly(log, meterId, false, 0, nullptr);
  first.Make<TPlotScript>()->SetUpYOnly(log, thermometerId, false, 0, nullptr);
  first.Calculate(sum, "0");
  auto* loop = first.Make<TLabelScript>();
  loop->SetTitle("Readings");
  first.Make<TIncrementScript>()->SetUpIncrement(n, "1");
  first.Query(meter, "MEAS?", volts);
  first.Query(thermometer, "TEMP?", temperature);
  first.Calculate(power, "volts*volts/50*1000");  // milliwatts into 50 ohms
  first.Calculate(sum, "sum+temperature");
  first.Make<TPlotScript>()->SetUpXY(graph, volts, n, 0, nullptr);
  first.Make<TPlotScript>()->SetUpXY(graph, temperature, n, 1, nullptr);
  first.Make<TPlotScript>()->SetUpXY(table, volts, n, 0, nullptr);
  first.Make<TPlotScript>()->SetUpXY(table, temperature, n, 1, nullptr);
  first.Make<TPlotScript>()->SetUpXY(table, power, n, 2, nullptr);
  first.Make<TPlotScript>()->SetUpYOnly(big, temperature, false, 0, nullptr);
  TOutputToFileSettings line;
  line.Delimiter = "\t";  // never the decimal separator, whatever the region
  line.Notation = ntFIXED;
  line.DecimalPlacesText = "3";
  first.Make<TOutputToFileScript>()->SetUpFromForm(
      data, line, {{n, nullptr, -1}, {volts, nullptr, -1}, {temperature, nullptr, -1},
                   {power, nullptr, -1}});
  first.Make<TWaitScript>()->SetTime(settings.WaitMilliseconds);
  // Linking the Repeat takes the commands since the Label into its section.
  first.Make<TRepeatScript>()->SetLabel(loop, settings.Readings);

  TCommands second(Experiment, summary);
  second.Calculate(mean, "sum/n");
  second.Make<TConcatenateScript>()->SetUp(
      ParseConcatenation("Mean temperature {mean} deg C", Experiment, true),
      result, ntFIXED, 2, false, true);
  second.Make<TPlotScript>()->SetUpYOnly(log, result, false, 0, nullptr);

  Experiment.SelectBlock(measure->AExpNode);
}

bool TDemoExperiment::Save(const std::string& path, std::string& error) {
  return SaveExperimentFile(path, Experiment, Parts, &Devices, error);
}
