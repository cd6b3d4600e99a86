#include "support/copy_samples.h"

#include <filesystem>
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
  switch (type) {
    case TScript::SEND: return "Send";
    case TScript::SENDGPIB: return "Send GPIB";
    case TScript::SENDRS232: return "Send RS232";
    case TScript::SERIALPOLL: return "Serial Poll";
    case TScript::READ: return "Read";
    case TScript::PLOT: return "Plot";
    case TScript::CALCULATE: return "Calculate";
    case TScript::WAIT: return "Wait";
    case TScript::LABEL: return "Label";
    case TScript::INCREMENT: return "Increment";
    case TScript::COMMENT: return "Comment";
    case TScript::READFILE: return "Read File";
    case TScript::SENDBINARY: return "Send Binary";
    case TScript::CLEARPLOT: return "Clear Output";
    case TScript::CONCATENATE: return "Concatenate";
    case TScript::CLEARDEVICEBUFFER: return "Clear Device Read Buffer";
    case TScript::OUTPUTTOFILE: return "Output to File";
    case TScript::CREATENEWFILE: return "Create New File";
    case TScript::REPEAT: return "Repeat";
    case TScript::DECISION: return "Decision";
    case TScript::REPUNTIL: return "Repeat Until";
    case TScript::IFTHEN: return "If Then";
    case TScript::ELSE: return "Else";
    case TScript::ENDIF: return "End If";
    default: return "type " + std::to_string(type);
  }
}

namespace {

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

}  // namespace

TCopySamples::TCopySamples(TExperiment& experiment, TDeviceList& devices, TBlock* block,
                           const std::string& folder, const std::string& suffix)
    : Experiment(experiment), Devices(devices), Block(block), Folder(folder), Suffix(suffix) {
  Meter = AddDevice(devices, "Meter" + suffix, std::make_unique<TNATGPIB>(0, 5, nullptr));
  Pump = AddDevice(devices, "Pump" + suffix, std::make_unique<TRS232>(nullptr, 1));
  auto single = [&](int type, const std::string& name) {
    return static_cast<TDataSingle*>(
        experiment.GetDataSingleList()->Add(block, type, 1, name + suffix));
  };
  Count = single(eatINTEGER, "count");
  Volts = single(eatFLOAT, "volts");
  Label = single(eatSTRING, "label");
  Wave = static_cast<TDataArray*>(experiment.GetDataArrayList()->Add(block, eatFLOAT, 8, "wave" + suffix));
  Graph = experiment.GetOutputList()->NewOutput("Graph" + suffix, otGRAPH, 2);
  TSingleExpFileRequest data;
  data.FileName = (std::filesystem::path(folder) / ("data" + suffix + ".txt")).string();
  Data = experiment.GetSingleExpFileList()->Create(data);
  TMultiExpFileRequest runs;
  runs.Directory = folder;
  runs.BaseName = "run" + suffix;
  runs.Extension = "txt";
  runs.StartNumber = "3";
  Runs = experiment.GetMultiExpFileList()->Create(runs);
}

TScript* TCopySamples::Make(int type) {
  TTree& tree = Experiment.GetExperimentTree();
  TBlankScript* blank = Experiment.GetBlankScript();
  auto node = [&] {
    return blank && blank->AExpNode->GetParent() == Block->AExpNode
               ? tree.Insert(blank->AExpNode, "none")
               : tree.AddChild(Block->AExpNode, "none");
  };
  switch (type) {
    case TScript::SEND: {
      auto* send = new TSendScript(Block, node());
      send->SetUpSend(Meter, "VOLT ", true, Volts, ntFIXED, 3, false);
      return send;
    }
    case TScript::SENDGPIB: {
      auto* gpib = new TSendGPIBScript(Block, node());
      gpib->SetUpSendGPIB(Meter, TSendGPIBScript::REN | TSendGPIBScript::DCL);
      return gpib;
    }
    case TScript::SENDRS232: {
      auto* rs232 = new TSendRS232Script(Block, node());
      rs232->SetUpSendRS232(Pump, true, false);
      return rs232;
    }
    case TScript::SERIALPOLL: {
      auto* poll = new TSerialPollScript(Block, node());
      poll->SetUpSerialPoll(Meter, Count);
      return poll;
    }
    case TScript::READ: {
      TReadResponse response;
      response.SetValueType(eatFLOAT);
      auto* read = new TReadScript(Block, node());
      read->SetUpRead(Meter, Volts, response, true, false);
      return read;
    }
    case TScript::PLOT: {
      auto* plot = new TPlotScript(Block, node());
      plot->SetUpXY(Graph, Volts, Count, 1, nullptr);
      return plot;
    }
    case TScript::CALCULATE: {
      auto* calculate = new TCalculateScript(Block, node());
      TCalculateExpression compiled =
          CompileCalculateExpression(
          &Experiment, calculate, "count" + Suffix + "*2.5+wave" + Suffix + "[1]", true);
      calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), Volts);
      return calculate;
    }
    case TScript::WAIT: {
      auto* wait = new TWaitScript(Block, node());
      wait->SetTime(1250);
      return wait;
    }
    case TScript::LABEL: {
      auto* label = new TLabelScript(Block, node());
      label->SetTitle("Top");
      return label;
    }
    case TScript::INCREMENT: {
      auto* increment = new TIncrementScript(Block, node());
      increment->SetUpIncrement(Count, "2");
      return increment;
    }
    case TScript::COMMENT: {
      auto* comment = new TCommentScript(Block, node());
      comment->SetComment("Heat the sample");
      return comment;
    }
    case TScript::READFILE: {
      auto* read = new TReadFileScript(Block, node());
      read->SetUpReadFile((std::filesystem::path(Folder) / "values.txt").string(), Wave, true,
                          false, ",", ";", Count);
      return read;
    }
    case TScript::SENDBINARY: {
      auto* binary = new TSendBinaryScript(Block, node());
      binary->SetUpWithCount(Pump, Wave, TSendBinaryScript::sbFLOAT, 4);
      return binary;
    }
    case TScript::CLEARPLOT: {
      auto* clear = new TClearPlotScript(Block, node());
      clear->SetOutput(Graph);
      return clear;
    }
    case TScript::CONCATENATE: {
      auto* concatenate = new TConcatenateScript(Block, node());
      concatenate->SetUp(ParseConcatenation("n={count" + Suffix + "} v={volts" + Suffix + "}", Experiment, true), Label,
                         ntFIXED, 2, false, true);
      return concatenate;
    }
    case TScript::CLEARDEVICEBUFFER: {
      auto* clear = new TClearDeviceBufferScript(Block, node());
      clear->SetDevice(Pump);
      return clear;
    }
    case TScript::OUTPUTTOFILE: {
      TOutputToFileSettings settings;
      settings.Delimiter = ";";
      settings.Notation = ntFIXED;
      settings.DecimalPlacesText = "2";
      auto* output = new TOutputToFileScript(Block, node());
      output->SetUpFromForm(Data, settings, {{Count, nullptr, -1}, {Volts, nullptr, -1}});
      return output;
    }
    case TScript::CREATENEWFILE: {
      auto* create = new TCreateNewFileScript(Block, node());
      create->SetFile(Runs);
      return create;
    }
    default:
      return nullptr;
  }
}

std::vector<TCopySamples::TNamed> TCopySamples::NamedBy(int type) {
  auto attribute = [](const char* what, TExpAttribute* named) {
    return TNamed{what, [named] { delete named; }};
  };
  auto device = [this](const char* what, TDevice* named) {
    return TNamed{what, [this, named] { Devices.RemoveDevice(named); }};
  };
  switch (type) {
    case TScript::SEND: return {device("device", Meter), attribute("variable", Volts)};
    case TScript::SENDGPIB: return {device("device", Meter)};
    case TScript::SENDRS232: return {device("device", Pump)};
    case TScript::SERIALPOLL: return {device("device", Meter), attribute("variable", Count)};
    case TScript::READ: return {device("device", Meter), attribute("variable", Volts)};
    case TScript::PLOT:
      return {attribute("output", Graph), attribute("Y variable", Volts),
              attribute("X variable", Count)};
    case TScript::CALCULATE:
      return {attribute("result variable", Volts), attribute("variable in the expression", Wave)};
    case TScript::INCREMENT: return {attribute("variable", Count)};
    case TScript::READFILE:
      return {attribute("array", Wave), attribute("count variable", Count)};
    case TScript::SENDBINARY: return {device("device", Pump), attribute("array", Wave)};
    case TScript::CLEARPLOT: return {attribute("output", Graph)};
    case TScript::CONCATENATE:
      return {attribute("target variable", Label), attribute("variable in the text", Volts)};
    case TScript::CLEARDEVICEBUFFER: return {device("device", Pump)};
    case TScript::OUTPUTTOFILE:
      return {attribute("data file", Data), attribute("variable written", Volts)};
    case TScript::CREATENEWFILE: return {attribute("data file", Runs)};
    default: return {};  // Wait, Label, Comment name nothing
  }
}
