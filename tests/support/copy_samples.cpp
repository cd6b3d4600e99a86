#include "support/copy_samples.h"

#include <filesystem>
#include <map>
#include <memory>
#include <utility>

#include "communication/core_device.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/nat_gpib.h"
#include "communication/read_response.h"
#include "communication/rs232.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/exp_attribute.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/tree_node.h"
#include "model/variable_data.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/command_table.h"
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
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "scripts/outputs/plot_script.h"

const std::set<int>& BlockBoundTypes() {
  static const std::set<int> types = {TScript::READ,       TScript::READFILE,  TScript::SERIALPOLL,
                                      TScript::INCREMENT,  TScript::PLOT,      TScript::CALCULATE,
                                      TScript::OUTPUTTOFILE, TScript::CONCATENATE};
  return types;
}

std::string CommandName(int type) {
  static const std::map<int, std::string> names = {
      {TScript::SEND, "Send"}, {TScript::SENDGPIB, "Send GPIB"}, {TScript::SENDRS232, "Send RS232"},
      {TScript::SERIALPOLL, "Serial Poll"}, {TScript::READ, "Read"}, {TScript::PLOT, "Plot"},
      {TScript::CALCULATE, "Calculate"}, {TScript::WAIT, "Wait"}, {TScript::LABEL, "Label"},
      {TScript::INCREMENT, "Increment"}, {TScript::COMMENT, "Comment"},
      {TScript::READFILE, "Read File"}, {TScript::SENDBINARY, "Send Binary"},
      {TScript::CLEARPLOT, "Clear Output"}, {TScript::CONCATENATE, "Concatenate"},
      {TScript::CLEARDEVICEBUFFER, "Clear Device Read Buffer"},
      {TScript::OUTPUTTOFILE, "Output to File"}, {TScript::CREATENEWFILE, "Create New File"},
      {TScript::REPEAT, "Repeat"}, {TScript::DECISION, "Decision"},
      {TScript::REPUNTIL, "Repeat Until"}, {TScript::IFTHEN, "If Then"}, {TScript::ELSE, "Else"},
      {TScript::ENDIF, "End If"}};
  const auto name = names.find(type);
  return name != names.end() ? name->second : "type " + std::to_string(type);
}

namespace {

const std::set<int>& SectionLines() {
  static const std::set<int> types = {TScript::REPEAT, TScript::DECISION, TScript::REPUNTIL,
                                      TScript::IFTHEN, TScript::ELSE,     TScript::ENDIF};
  return types;
}

std::vector<int> TableTypes(bool sectionLines) {
  std::vector<int> types;
  for (const TCommandKind& kind : CommandKinds())
    if ((SectionLines().count(kind.Type) > 0) == sectionLines) types.push_back(kind.Type);
  return types;
}

TDevice* AddDevice(TDeviceList& devices, const std::string& name,
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

TVariableArrayIndex& Index(TVariableData* reference) {
  return static_cast<TVariableDataArray*>(reference)->GetArrayIndex();
}

}  // namespace

std::vector<int> CopyableCommandTypes() { return TableTypes(false); }

std::vector<int> SectionLineTypes() { return TableTypes(true); }

TCopySamples::TCopySamples(TExperiment& experiment, TDeviceList& devices, TBlock* block,
                           const std::string& folder, const std::string& suffix)
    : Experiment(experiment), Devices(devices), Block(block), Folder(folder), Suffix(suffix) {
  Meter = AddDevice(devices, "Meter" + suffix, std::make_unique<TNATGPIB>(0, 5, nullptr));
  Pump = AddDevice(devices, "Pump" + suffix, std::make_unique<TRS232>(nullptr, 1));
}

TTreeNode* TCopySamples::Node() {
  TTree& tree = Experiment.GetExperimentTree();
  TBlankScript* blank = Experiment.GetBlankScript();
  return blank && blank->AExpNode->GetParent() == Block->AExpNode
             ? tree.Insert(blank->AExpNode, "none")
             : tree.AddChild(Block->AExpNode, "none");
}

TDataSingle* TCopySamples::Single(const std::string& name, int type, const std::string& initial) {
  auto* variable = static_cast<TDataSingle*>(
      Experiment.GetDataSingleList()->Add(Block, type, 1, name + Suffix));
  if (!initial.empty()) variable->SetInitialValue(initial);
  return variable;
}

TDataArray* TCopySamples::Array(const std::string& name, int type, std::int32_t size) {
  return static_cast<TDataArray*>(
      Experiment.GetDataArrayList()->Add(Block, type, size, name + Suffix));
}

std::vector<TCopySample> TCopySamples::Make(int type) {
  std::vector<TCopySample> made;
  for (const auto& recipe : Recipes(type)) made.push_back(recipe());
  return made;
}

TCopySample TCopySamples::MakeFirst(int type) {
  const auto recipes = Recipes(type);
  return recipes.empty() ? TCopySample{} : recipes.front()();
}

void TCopySamples::Delete(TCopySample& sample, std::size_t nth) {
  if (nth < sample.Names.size()) {
    delete sample.Names[nth];
    sample.Names.erase(sample.Names.begin() + static_cast<std::ptrdiff_t>(nth));
  } else {
    Devices.RemoveDevice(sample.Device);
    sample.Device = nullptr;
  }
}

std::vector<std::function<TCopySample()>> TCopySamples::Recipes(int type) {
  const std::string x = Suffix;
  switch (type) {
    case TScript::SEND:
      return {
          [this] {  // the text alone
            auto* send = new TSendScript(Block, Node());
            send->SetUpSend(Meter, "VOLT?", false, nullptr, ntSTANDARD, -1, false);
            return TCopySample{send, {}, Meter};
          },
          [this] {  // an element chosen by a variable
            TDataArray* floats = Array("sent", eatFLOAT, 5);
            TDataSingle* index = Single("index", eatINTEGER, "2");
            auto* send = new TSendScript(Block, Node());
            send->SetUpSend(Meter, "SET", true, floats, ntSCIENTIFIC, 3, true);
            Index(send->GetVariable()).SetIndexVariable(index);
            send->UpdateNodeText();
            return TCopySample{send, {floats, index}, Meter};
          }};
    case TScript::SENDGPIB:
      return {[this] {
        auto* gpib = new TSendGPIBScript(Block, Node());
        gpib->SetUpSendGPIB(Meter, TSendGPIBScript::REN | TSendGPIBScript::DCL);
        return TCopySample{gpib, {}, Meter};
      }};
    case TScript::SENDRS232:
      return {[this] {
        auto* rs232 = new TSendRS232Script(Block, Node());
        rs232->SetUpSendRS232(Pump, true, false);
        return TCopySample{rs232, {}, Pump};
      }};
    case TScript::SERIALPOLL:
      return {[this] {
        TDataSingle* status = Single("status", eatINTEGER);
        auto* poll = new TSerialPollScript(Block, Node());
        poll->SetUpSerialPoll(Meter, status);
        return TCopySample{poll, {status}, Meter};
      }};
    case TScript::READ:
      return {
          [this] {  // into a string, as it comes
            TDataSingle* text = Single("text", eatSTRING);
            auto* read = new TReadScript(Block, Node());
            read->SetUpRead(Meter, text, TReadResponse(), false, true);
            return TCopySample{read, {text}, Meter};
          },
          [this] {  // into an array: the points from a variable, the bytes counted, binary
            TDataArray* wave = Array("wave", eatINTEGER, 8);
            TDataSingle* points = Single("points", eatINTEGER, "3");
            TDataSingle* bytes = Single("bytes", eatINTEGER);
            TReadResponse response(8);
            response.SetReadAs(rtBINARY, true);
            response.SetBytesPerPoint(2);
            response.SetLeftToRight(false);
            response.SetNumberOfPointsData(points);
            response.SetByteCountData(bytes);
            auto* read = new TReadScript(Block, Node());
            read->SetUpRead(Meter, wave, response, true, false);
            return TCopySample{read, {wave, points, bytes}, Meter};
          }};
    case TScript::PLOT:
      return {
          [this, x] {  // an element by a variable against one at a constant, on the
                       // channel a variable gives
            TOutput* graph = Experiment.GetOutputList()->NewOutput("Graph" + x, otGRAPH, 2);
            TDataArray* ys = Array("ys", eatFLOAT, 5);
            TDataArray* xs = Array("xs", eatINTEGER, 5);
            TDataSingle* at = Single("at", eatINTEGER, "1");
            TDataSingle* channel = Single("channel", eatINTEGER);
            auto* plot = new TPlotScript(Block, Node());
            plot->SetUpXY(graph, ys, xs, -1, channel);
            Index(plot->GetVariableY()).SetIndexVariable(at);
            Index(plot->GetVariableX()).SetIndexConstant(3);
            return TCopySample{plot, {graph, ys, xs, at, channel}};
          },
          [this, x] {  // an entire array against the counter on channel 1
            TOutput* second = Experiment.GetOutputList()->NewOutput("Second" + x, otGRAPH, 2);
            TDataArray* trace = Array("trace", eatFLOAT, 4);
            auto* plot = new TPlotScript(Block, Node());
            plot->SetUpYOnly(second, trace, true, 1, nullptr);
            Index(plot->GetVariableY()).ClearIndex();
            return TCopySample{plot, {second, trace}};
          }};
    case TScript::CALCULATE:
      return {[this, x] {  // into an element chosen by a variable, over singles and elements
        TDataSingle* a = Single("a", eatINTEGER, "2");
        TDataSingle* b = Single("b", eatFLOAT, "1.5");
        TDataSingle* k = Single("k", eatINTEGER, "2");
        TDataSingle* n = Single("n", eatINTEGER, "1");
        TDataArray* table = Array("table", eatFLOAT, 5);
        auto* calculate = new TCalculateScript(Block, Node());
        TCalculateExpression compiled = CompileCalculateExpression(
            &Experiment, calculate,
            "a" + x + "+b" + x + "*table" + x + "[k" + x + "]-sin(table" + x + "[2])", false);
        calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), table);
        Index(calculate->GetStoredVariable()).SetIndexVariable(n);
        return TCopySample{calculate, {a, b, k, n, table}};
      }};
    case TScript::WAIT:
      return {[this] {
        auto* wait = new TWaitScript(Block, Node());
        wait->SetTime(1250);
        return TCopySample{wait, {}, nullptr};
      }};
    case TScript::LABEL:
      return {[this] {
        auto* label = new TLabelScript(Block, Node());
        label->SetTitle("Top");
        return TCopySample{label, {}, nullptr};
      }};
    case TScript::INCREMENT:
      return {[this] {  // a float by a fraction
        TDataSingle* level = Single("level", eatFLOAT, "1");
        auto* increment = new TIncrementScript(Block, Node());
        increment->SetUpIncrement(level, "0.25");
        return TCopySample{increment, {level}};
      }};
    case TScript::COMMENT:
      return {[this] {
        auto* comment = new TCommentScript(Block, Node());
        comment->SetComment("Heat the sample");
        return TCopySample{comment, {}, nullptr};
      }};
    case TScript::READFILE:
      return {[this] {  // with a count variable and two delimiters
        TDataArray* values = Array("values", eatFLOAT, 6);
        TDataSingle* count = Single("count", eatINTEGER);
        auto* read = new TReadFileScript(Block, Node());
        read->SetUpReadFile((std::filesystem::path(Folder) / "values.txt").string(), values, true,
                            false, ",", ";", count);
        return TCopySample{read, {values, count}};
      }};
    case TScript::SENDBINARY:
      return {
          [this] {  // a count
            TDataArray* floats = Array("floats", eatFLOAT, 8);
            auto* binary = new TSendBinaryScript(Block, Node());
            binary->SetUpWithCount(Pump, floats, TSendBinaryScript::sbFLOAT, 4);
            return TCopySample{binary, {floats}, Pump};
          },
          [this] {  // counted by a variable
            TDataArray* ints = Array("ints", eatINTEGER, 4);
            TDataSingle* many = Single("many", eatINTEGER, "3");
            auto* binary = new TSendBinaryScript(Block, Node());
            binary->SetUpWithCountVariable(Meter, ints, TSendBinaryScript::sbINT16, many);
            return TCopySample{binary, {ints, many}, Meter};
          },
          [this] {  // the whole array
            TDataArray* words = Array("words", eatINTEGER, 4);
            auto* binary = new TSendBinaryScript(Block, Node());
            binary->SetUpWholeArray(Meter, words, TSendBinaryScript::sbINT32);
            return TCopySample{binary, {words}, Meter};
          }};
    case TScript::CLEARPLOT:
      return {[this, x] {
        TOutput* chart = Experiment.GetOutputList()->NewOutput("Chart" + x, otGRAPH, 2);
        auto* clear = new TClearPlotScript(Block, Node());
        clear->SetOutput(chart);
        return TCopySample{clear, {chart}};
      }};
    case TScript::CONCATENATE:
      return {
          [this, x] {  // literals and variables, one an element, into a string
            TDataSingle* label = Single("label", eatSTRING);
            TDataSingle* f = Single("f", eatFLOAT, "2.5");
            TDataSingle* i = Single("i", eatINTEGER, "1");
            TDataArray* names = Array("names", eatSTRING, 3);
            auto* concatenate = new TConcatenateScript(Block, Node());
            concatenate->SetUp(
                ParseConcatenation("f={f" + x + "}, n={names" + x + "[i" + x + "]}!", Experiment,
                                   true),
                label, 1, 2, false, false);
            return TCopySample{concatenate, {label, f, i, names}};
          },
          [this, x] {  // into an element chosen by a variable
            TDataArray* sums = Array("sums", eatINTEGER, 3);
            TDataSingle* j = Single("j", eatINTEGER, "2");
            auto* concatenate = new TConcatenateScript(Block, Node());
            concatenate->SetUp(ParseConcatenation("1{j" + x + "}", Experiment, true), sums, 0, 0,
                               true, true);
            Index(concatenate->GetVariable()).SetIndexVariable(j);
            return TCopySample{concatenate, {sums, j}};
          }};
    case TScript::CLEARDEVICEBUFFER:
      return {[this] {
        auto* clear = new TClearDeviceBufferScript(Block, Node());
        clear->SetDevice(Pump);
        return TCopySample{clear, {}, Pump};
      }};
    case TScript::OUTPUTTOFILE:
      return {[this, x] {  // a single, elements by a constant and by a variable, an array
        TSingleExpFileRequest request;
        request.FileName = (std::filesystem::path(Folder) / ("out" + x + ".txt")).string();
        request.Overwrite = true;
        TSingleExpFile* out = Experiment.GetSingleExpFileList()->Create(request);
        TDataSingle* volts = Single("out_volts", eatFLOAT, "0.5");
        TDataSingle* row = Single("row", eatINTEGER, "1");
        TDataArray* grid = Array("grid", eatINTEGER, 3);
        auto* output = new TOutputToFileScript(Block, Node());
        output->SetUpFromForm(out, {true, false, ";", 1, true, "3"},
                              {{volts}, {grid, nullptr, 2}, {grid, row}, {grid}});
        return TCopySample{output, {out, volts, row, grid}};
      }};
    case TScript::CREATENEWFILE:
      return {[this, x] {
        TMultiExpFileRequest runs;
        runs.Directory = Folder;
        runs.BaseName = "run" + x;
        runs.Extension = "txt";
        runs.StartNumber = "3";
        TMultiExpFile* numbered = Experiment.GetMultiExpFileList()->Create(runs);
        auto* create = new TCreateNewFileScript(Block, Node());
        create->SetFile(numbered);
        return TCopySample{create, {numbered}};
      }};
    default:
      return {};
  }
}
