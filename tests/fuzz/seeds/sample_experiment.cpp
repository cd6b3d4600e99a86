#include "seeds/sample_experiment.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/nat_gpib.h"
#include "communication/read_response.h"
#include "communication/rs232.h"
#include "expressions/comparison.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/tree_node.h"
#include "model/number_text.h"
#include "outputs/big_num_form.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_rs232_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/files/read_file_script.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/flow/dec_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "scripts/outputs/plot_script.h"

namespace {

// Builds commands at the end of a block, or of a command's lines, in front of the blank
// line when it stands there: where the user's insertion point puts them.
class TBuilder {
public:
  TBuilder(TExperiment& experiment, TBlock* block) : Experiment(experiment), Block(block) {}

  TTreeNode* Node(TScript* parent = nullptr) {
    TTree& tree = Experiment.GetExperimentTree();
    TTreeNode* lines = parent ? parent->AExpNode : Block->AExpNode;
    TBlankScript* blank = Experiment.GetBlankScript();
    if (blank && blank->AExpNode->GetParent() == lines) return tree.Insert(blank->AExpNode, "none");
    return tree.AddChild(lines, "none");
  }
  template <class T>
  T* Make(TScript* parent = nullptr) {
    return new T(Block, Node(parent));
  }

  TExperiment& Experiment;
  TBlock* Block;
};

TDataSingle* Single(TExperiment& experiment, TBlock* block, int type, const char* name,
                    const char* initial) {
  TData* single = experiment.GetDataSingleList()->Add(block, type, 1, name);
  if (*initial) single->SetInitialValue(initial);
  return static_cast<TDataSingle*>(single);
}

TDataArray* Array(TExperiment& experiment, TBlock* block, int type, const char* name,
                  std::int32_t size, const char* initial) {
  TData* array = experiment.GetDataArrayList()->Add(block, type, size, name);
  if (*initial) array->SetInitialValue(initial);
  return static_cast<TDataArray*>(array);
}

void Calculate(TBuilder& b, TData* target, const std::string& text, TScript* parent = nullptr) {
  auto* calculate = b.Make<TCalculateScript>(parent);
  TCalculateExpression compiled = CompileCalculateExpression(&b.Experiment, calculate, text, true);
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), target);
}

struct TVariablesUsed {
  TDataSingle* I;
  TDataSingle* N;
  TDataSingle* F;
  TDataSingle* S;
  TDataArray* Ai;
  TDataArray* Af;
  TDataArray* As;
};

struct TAttributes {
  TOutput* Graph;
  TOutput* Text;
  TOutput* Table;
  TOutput* Big;
  TExperimentFile* Single;
  TMultiExpFile* Multiple;
};

TAttributes AddAttributes(TExperiment& experiment) {
  TOutputList& outputs = *experiment.GetOutputList();
  TAttributes made{};
  made.Graph = outputs.NewOutput("Graph", otGRAPH, 2);
  made.Text = outputs.NewOutput("Log", otTEXT, 1);
  made.Table = outputs.NewOutput("Table", otTABLE, 2);
  made.Big = outputs.NewOutput("Volts", otBIGNUMBER, 1);
  made.Graph->GetOutputForm()->SetNumberFormat(ntFIXED, 3);
  made.Table->GetOutputForm()->SetNumberFormat(ntSCIENTIFIC, 2);
  made.Text->GetOutputForm()->SetNumberFormat(ntFIXED, 1);
  auto* big = static_cast<TBigNumForm*>(made.Big->GetOutputForm());
  big->SetLogParameters("volts.log", true, true, false);
  big->SetLogging(true);

  TSingleExpFileRequest single;
  single.FileName = "data.txt";
  single.WriteFileName = true;
  made.Single = experiment.GetSingleExpFileList()->Create(single);
  TMultiExpFileRequest multiple;
  multiple.Directory = ".";
  multiple.BaseName = "run";
  multiple.Extension = "csv";
  multiple.StartNumber = "2";
  multiple.Mode = mfAPPEND;
  made.Multiple = experiment.GetMultiExpFileList()->Create(multiple);
  return made;
}

// Flow, calculation, file and output commands of every type.
void AddPlainCommands(TBuilder& b, const TVariablesUsed& v, const TAttributes& a) {
  b.Make<TCommentScript>()->SetComment("Seed experiment: every command type");
  Calculate(b, v.F, "i*2.5+sin(f)-af[1]/4");
  auto* label = b.Make<TLabelScript>();
  label->SetTitle("Loop");
  b.Make<TIncrementScript>()->SetUpIncrement(v.I, "1");
  Calculate(b, v.Ai, "ai[n]+float(binary(i*2)&0X1F|0X3)");
  b.Make<TConcatenateScript>()->SetUp(ParseConcatenation("i={i} f={f} a={as[n]}", b.Experiment, true),
                                      v.S, ntFIXED, 2, false, true);
  b.Make<TPlotScript>()->SetUpXY(a.Graph, v.F, v.I, 1, nullptr);
  b.Make<TPlotScript>()->SetUpYOnly(a.Graph, v.Af, false, 0, v.N);
  b.Make<TPlotScript>()->SetUpYOnly(a.Text, v.S, true, 0, nullptr);
  b.Make<TPlotScript>()->SetUpYOnly(a.Table, v.I, true, 0, nullptr);
  b.Make<TPlotScript>()->SetUpYOnly(a.Big, v.F, false, 0, nullptr);
  b.Make<TRepeatScript>()->SetLabel(label, 3);

  auto* ifthen = b.Make<TIfThenScript>();
  ifthen->SetConstantCondition(v.I, "2", TComparison::GREATERTHAN);
  TOutputToFileSettings settings;
  settings.Delimiter = ";";
  settings.Notation = ntSCIENTIFIC;
  settings.DecimalPlacesText = "4";
  b.Make<TOutputToFileScript>(ifthen)->SetUpFromForm(a.Single, settings,
                                                      {{v.I, nullptr, -1}, {v.Af, v.N, -1}, {v.S, nullptr, -1}});
  auto* otherwise = b.Make<TElseScript>();
  b.Make<TWaitScript>(otherwise)->SetTime(5);
  b.Make<TEndIfScript>()->LinkSection(ifthen, otherwise);

  auto* again = b.Make<TLabelScript>();
  again->SetTitle("Until");
  b.Make<TIncrementScript>()->SetUpIncrement(v.N, "1");
  auto* until = b.Make<TRepeatUntilScript>();
  until->SetLabel(again);
  until->SetVariableCondition(v.N, v.I, TComparison::GREATEREQUAL);

  b.Make<TReadFileScript>()->SetUpReadFile("values.txt", v.Af, true, true, ",", ";", v.N);
  b.Make<TCreateNewFileScript>()->SetFile(a.Multiple);
  b.Make<TOutputToFileScript>()->SetUpFromForm(a.Multiple, TOutputToFileSettings{},
                                               {{v.Ai, nullptr, 2}, {v.F, nullptr, -1}});
  b.Make<TClearPlotScript>()->SetOutput(a.Table);
}

// A device command of every type, over the devices of the list.
void AddDeviceCommands(TBuilder& b, const TVariablesUsed& v, TDeviceList& devices) {
  TDevice* serial = devices.GetDevice(0);
  TDevice* cec = devices.GetDevice(1);
  TDevice* ni = devices.GetDevice(2);
  b.Make<TSendScript>()->SetUpSend(ni, "MEAS? ", true, v.F, ntFIXED, 3, false);
  TReadResponse single;
  single.SetValueType(eatFLOAT);
  b.Make<TReadScript>()->SetUpRead(ni, v.F, single, true, false);
  TReadResponse curve(4);
  curve.SetValueType(eatINTEGER);
  curve.SetReadAs(rtBINARY, true);
  curve.SetBytesPerPoint(2);
  curve.SetLeftToRight(false);
  b.Make<TReadScript>()->SetUpRead(cec, v.Ai, curve, false, true);
  b.Make<TSerialPollScript>()->SetUpSerialPoll(cec, v.I);
  b.Make<TSendGPIBScript>()->SetUpSendGPIB(cec, 3);
  b.Make<TSendRS232Script>()->SetUpSendRS232(serial, true, false);
  b.Make<TSendBinaryScript>()->SetUpWithCountVariable(serial, v.Af, TSendBinaryScript::sbFLOAT, v.N);
  b.Make<TClearDeviceBufferScript>()->SetDevice(serial);
}

}  // namespace

void AddSampleDevices(TDeviceList& devices) {
  const std::vector<std::uint8_t> image{0x89, 'P', 'N', 'G', 0, 0xFF};
  const auto add = [&devices](const char* name, std::unique_ptr<TCommunication> communication) {
    TDevice* device = devices.NewDevice();
    TCoreDevice& core = device->GetCoreDevice();
    core.SetName(name);
    core.SetSendChar1(13);
    core.SetSendChar2(10);
    core.SetReadChar1(10);
    core.NewScript("*IDN?")->EnsureResponse();
    core.NewScript("*RST")->SetSendEndChars(false);
    device->SetCommunication(std::move(communication));
    return device;
  };
  add("Pump", std::make_unique<TRS232>(nullptr, 1));
  auto cec = std::make_unique<TCECGPIB>(0, 7, nullptr);
  cec->SetEOI(true);
  TDevice* digitiser = add("Digitiser", std::move(cec));
  const TIcon icon{image};
  digitiser->GetCoreDevice().SetIcon(&icon);
  add("Meter", std::make_unique<TNATGPIB>(0, 5, nullptr));
}

TSampleExperiment::TSampleExperiment(bool withDevices) {
  First = Experiment.AddBlock(Parts.AddBlock("Start", {10, 20}));
  Second = Experiment.AddBlock(Parts.AddBlock("Measure", {200, 20}));
  Third = Experiment.AddBlock(Parts.AddBlock("Finish", {200, 300}));
  TVariablesUsed v{};
  v.I = Single(Experiment, First, eatINTEGER, "i", "0");
  v.N = Single(Experiment, First, eatINTEGER, "n", "1");
  v.F = Single(Experiment, Second, eatFLOAT, "f", "2.5");
  v.S = Single(Experiment, Second, eatSTRING, "s", "");
  v.Ai = Array(Experiment, First, eatINTEGER, "ai", 4, "7");
  v.Af = Array(Experiment, Second, eatFLOAT, "af", 8, "0.5");
  v.As = Array(Experiment, Third, eatSTRING, "as", 3, "x");
  const TAttributes attributes = AddAttributes(Experiment);

  TBuilder first(Experiment, First);
  AddPlainCommands(first, v, attributes);
  TBuilder second(Experiment, Second);
  if (withDevices) {
    AddSampleDevices(Devices);
    AddDeviceCommands(second, v, Devices);
  } else {
    second.Make<TWaitScript>()->SetTime(20);
    Calculate(second, v.I, "i-1");
  }
  TBuilder third(Experiment, Third);
  Calculate(third, v.F, "sqrt(abs(f))*exp(-1)+log(100)+ln(2)+tan(0.1)+cos(0)");
  Parts.Connect(First->GetDrawBlock(), Second->GetDrawBlock());
  Parts.Connect(First->GetDrawBlock(), Third->GetDrawBlock());
  First->GetDecScript()->SetConstantCondition(v.I, "5", TComparison::LESSTHAN);
  Parts.Connect(Second->GetDrawBlock(), Third->GetDrawBlock());
}
