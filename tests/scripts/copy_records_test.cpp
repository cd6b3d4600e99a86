// The clipboard records of the commands that name variables (Read, Read File, Increment,
// Plot, Calculate, Output to File, Concatenate) and of Create New File: a paste gives the
// same command as the copy, twice and after the copied command is gone; records stay in
// their block; deleting or retyping anything a held record names disables it, and a
// disabled record touches nothing afterwards; a pasted experiment saved, reopened and run
// on the simulated bus gives the data of the original.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "communication/read_response.h"
#include "expressions/math_expression.h"
#include "model/data.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/copy_script.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_script.h"
#include "scripts/exp_obj_clipboard.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/files/output_to_file_copy.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/files/read_file_script.h"
#include "scripts/flow/calculate_copy.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/outputs/plot_script.h"
#include "shell/experiment_file.h"

namespace {

// A command and everything it names: variables, outputs and data files, and its device.
struct TNamed {
  TScript* Command = nullptr;
  std::vector<TExpAttribute*> Names;
  TDevice* Device = nullptr;
};

class CopyRecordTest : public TDeviceFixture {
protected:
  // The record of the command as the clipboard takes it: made disabled, then enabled by
  // the experiment.
  std::unique_ptr<TCopyScript> Copy(TScript* command) {
    EXPECT_TRUE(command->CanMakeCopyScript());
    std::unique_ptr<TCopyScript> record(command->MakeCopyScript());
    EXPECT_NE(record, nullptr);
    if (!record) return record;
    EXPECT_TRUE(record->Disabled());
    record->SetExperiment(&Exp);
    EXPECT_FALSE(record->Disabled());
    EXPECT_EQ(record->GetExperiment(), &Exp);
    EXPECT_EQ(record->GetScriptType(), command->GetScriptType());
    return record;
  }
  // A command of the record's type at the end of the block, set up from the record.
  TScript* Paste(TCopyScript& record, TBlock* block) {
    TScript* command = TBlock::CreateScriptByType(block, record.GetScriptType(), NewNode(block));
    command->SetUp(&record);
    return command;
  }

  TOutput* Output(const std::string& name, std::int32_t channels = 2) {
    TTreeNode* node = Exp.GetAttributeTree().AddChild(Exp.GetOutputList()->AExpAttNode, name);
    return new TOutput(name, node, otGRAPH, channels);
  }
  TSingleExpFile* SingleFile(const std::string& name) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    request.Overwrite = true;
    return Exp.GetSingleExpFileList()->Create(request);
  }
  void Touch(const std::string& name, const std::string& text) const {
    std::ofstream(Temp.PathOf(name), std::ios::binary) << text;
  }
  TMultiExpFile* MultiFile(const std::string& base) {
    TMultiExpFileRequest request;
    request.Directory = Temp.Path().string();
    request.BaseName = base;
    request.Extension = "txt";
    request.StartNumber = "0";
    request.Mode = 0;
    return Exp.GetMultiExpFileList()->Create(request);
  }
  static TVariableArrayIndex& Index(TVariableData* reference) {
    return static_cast<TVariableDataArray*>(reference)->GetArrayIndex();
  }

  // One command of each kind, each naming fresh variables (their names end in the
  // suffix), devices, outputs or data files, and the list of what it names.
  std::vector<TNamed> MakeAll(const std::string& x) {
    std::vector<TNamed> all;
    auto single = [&](const std::string& name, int type, const std::string& initial = "") {
      return Single(B1, name + x, type, initial);
    };
    auto array = [&](const std::string& name, int type, std::int32_t size) {
      return Array(B1, name + x, type, size);
    };
    TDevice* meter = NewDevice("Meter" + x, std::make_unique<TCECGPIB>(0, 5, nullptr), 13, 10);

    // Read into a string.
    TDataSingle* text = single("text", eatSTRING);
    auto* readText = Make<TReadScript>();
    readText->SetUpRead(meter, text, TReadResponse(), false, true);
    all.push_back({readText, {text}, meter});

    // Read into an array: the points from a variable, the bytes read counted, binary.
    TDataArray* wave = array("wave", eatINTEGER, 8);
    TDataSingle* points = single("points", eatINTEGER, "3");
    TDataSingle* bytes = single("bytes", eatINTEGER);
    TReadResponse response(8);
    response.SetReadAs(rtBINARY, true);
    response.SetBytesPerPoint(2);
    response.SetLeftToRight(false);
    response.SetNumberOfPointsData(points);
    response.SetByteCountData(bytes);
    auto* readWave = Make<TReadScript>();
    readWave->SetUpRead(meter, wave, response, true, false);
    all.push_back({readWave, {wave, points, bytes}, meter});

    // Read File with a count variable and two delimiters.
    TDataArray* values = array("values", eatFLOAT, 6);
    TDataSingle* count = single("count", eatINTEGER);
    auto* readFile = Make<TReadFileScript>();
    readFile->SetUpReadFile(Temp.PathOf("in.txt"), values, true, false, ",", ";", count);
    all.push_back({readFile, {values, count}});

    // Increment of a float by a fraction.
    TDataSingle* level = single("level", eatFLOAT, "1");
    auto* increment = Make<TIncrementScript>();
    increment->SetUpIncrement(level, "0.25");
    all.push_back({increment, {level}});

    // Plot of an element by an index variable against an element at a constant, on the
    // channel a variable gives; Plot of an entire array against the counter on channel 1.
    TOutput* graph = Output("Graph" + x);
    TDataArray* ys = array("ys", eatFLOAT, 5);
    TDataArray* xs = array("xs", eatINTEGER, 5);
    TDataSingle* at = single("at", eatINTEGER, "1");
    TDataSingle* channel = single("channel", eatINTEGER);
    auto* plotXY = Make<TPlotScript>();
    plotXY->SetUpXY(graph, ys, xs, -1, channel);
    Index(plotXY->GetVariableY()).SetIndexVariable(at);
    Index(plotXY->GetVariableX()).SetIndexConstant(3);
    all.push_back({plotXY, {graph, ys, xs, at, channel}});
    TOutput* second = Output("Second" + x);
    TDataArray* trace = array("trace", eatFLOAT, 4);
    auto* plotArray = Make<TPlotScript>();
    plotArray->SetUpYOnly(second, trace, true, 1, nullptr);
    Index(plotArray->GetVariableY()).ClearIndex();
    all.push_back({plotArray, {second, trace}});

    // Calculate into an element chosen by a variable, over singles and elements.
    TDataSingle* a = single("a", eatINTEGER, "2");
    TDataSingle* b = single("b", eatFLOAT, "1.5");
    TDataSingle* k = single("k", eatINTEGER, "2");
    TDataSingle* n = single("n", eatINTEGER, "1");
    TDataArray* table = array("table", eatFLOAT, 5);
    auto* calculate = Make<TCalculateScript>();
    TCalculateExpression compiled = CompileCalculateExpression(
        &Exp, calculate, "a" + x + "+b" + x + "*table" + x + "[k" + x + "]-sin(table" + x + "[2])",
        false);
    calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), table);
    Index(calculate->GetStoredVariable()).SetIndexVariable(n);
    all.push_back({calculate, {a, b, k, n, table}});

    // Output to File: a single, elements by constant and by variable, an entire array.
    TSingleExpFile* out = SingleFile("out" + x + ".txt");
    TDataSingle* volts = single("volts", eatFLOAT, "0.5");
    TDataSingle* row = single("row", eatINTEGER, "1");
    TDataArray* grid = array("grid", eatINTEGER, 3);
    auto* output = Make<TOutputToFileScript>();
    output->SetUpFromForm(out, {true, false, ";", 1, true, "3"},
                          {{volts}, {grid, nullptr, 2}, {grid, row}, {grid}});
    all.push_back({output, {out, volts, row, grid}});

    // Concatenate of literals and variables into a string, and into an element.
    TDataSingle* label = single("label", eatSTRING);
    TDataSingle* f = single("f", eatFLOAT, "2.5");
    TDataSingle* i = single("i", eatINTEGER, "1");
    TDataArray* names = array("names", eatSTRING, 3);
    auto* concatenate = Make<TConcatenateScript>();
    concatenate->SetUp(ParseConcatenation("f={f" + x + "}, n={names" + x + "[i" + x + "]}!", Exp, true),
                       label, 1, 2, false, false);
    all.push_back({concatenate, {label, f, i, names}});
    TDataArray* sums = array("sums", eatINTEGER, 3);
    TDataSingle* j = single("j", eatINTEGER, "2");
    auto* intoElement = Make<TConcatenateScript>();
    intoElement->SetUp(ParseConcatenation("1{j" + x + "}", Exp, true), sums, 0, 0, true, true);
    Index(intoElement->GetVariable()).SetIndexVariable(j);
    all.push_back({intoElement, {sums, j}});

    // Create New File.
    TMultiExpFile* numbered = MultiFile("run" + x);
    auto* newFile = Make<TCreateNewFileScript>();
    newFile->SetFile(numbered);
    all.push_back({newFile, {numbered}});
    return all;
  }

  // The record each thing the command names points at: its copy link.
  static std::vector<TCopyScript*> Links(const TNamed& named) {
    std::vector<TCopyScript*> links;
    for (TExpAttribute* name : named.Names) links.push_back(name->GetCopyScript());
    if (named.Device) links.push_back(named.Device->GetCopyScript());
    return links;
  }
};

TEST_F(CopyRecordTest, APasteGivesTheSameCommandTwiceAndAfterACut) {
  for (const TNamed& named : MakeAll("")) {
    TScript* original = named.Command;
    const std::string text = original->GetText();
    const TBytes record = Written({original});
    std::unique_ptr<TCopyScript> copy = Copy(original);
    ASSERT_NE(copy, nullptr);

    TScript* pasted = Paste(*copy, B1);
    EXPECT_EQ(pasted->GetScriptType(), original->GetScriptType()) << text;
    EXPECT_EQ(pasted->GetText(), text);
    EXPECT_EQ(pasted->AExpNode->GetText(), text);
    EXPECT_EQ(Written({pasted}), record) << text;
    EXPECT_TRUE(pasted->Pblock == B1);

    // A cut: the command goes and the record stays whole; two pastes give two commands
    // that each read the variables by themselves.
    delete original;
    EXPECT_FALSE(copy->Disabled()) << text;
    TScript* again = Paste(*copy, B1);
    EXPECT_NE(again, pasted);
    EXPECT_EQ(again->GetText(), text);
    EXPECT_EQ(Written({again}), record) << text;
    delete pasted;
    EXPECT_EQ(Written({again}), record) << text;
    EXPECT_FALSE(copy->Disabled()) << text;
  }
}

TEST_F(CopyRecordTest, RecordsNamingVariablesGoOnlyIntoTheirOwnBlock) {
  TTreeNode* elsewhere = NewNode(B2);
  TTreeNode* here = NewNode(B1);
  for (const TNamed& named : MakeAll("")) {
    std::unique_ptr<TCopyScript> copy = Copy(named.Command);
    const bool anywhere = named.Command->GetScriptType() == TScript::CREATENEWFILE;
    EXPECT_TRUE(copy->CanPasteAt(here)) << named.Command->GetText();
    EXPECT_TRUE(copy->CanPasteAt(B1->AExpNode)) << named.Command->GetText();
    EXPECT_TRUE(copy->CanPasteAt(named.Command->AExpNode)) << named.Command->GetText();
    EXPECT_EQ(copy->CanPasteAt(elsewhere), anywhere) << named.Command->GetText();
    EXPECT_EQ(copy->CanPasteAt(B2->AExpNode), anywhere) << named.Command->GetText();
  }
  // The file the command moves on belongs to the experiment: into another block it runs
  // the same.
  std::vector<TNamed> all = MakeAll("2");
  std::unique_ptr<TCopyScript> copy = Copy(all.back().Command);
  TScript* pasted = Paste(*copy, B2);
  EXPECT_EQ(pasted->GetText(), all.back().Command->GetText());
  EXPECT_EQ(Written({pasted}), Written({all.back().Command}));
}

TEST_F(CopyRecordTest, DeletingAnythingARecordNamesDisablesIt) {
  const std::size_t kinds = MakeAll("").size();
  int round = 0;
  for (std::size_t kind = 0; kind < kinds; ++kind) {
    for (std::size_t deleted = 0;; ++deleted) {
      TNamed named = MakeAll("_" + std::to_string(++round))[kind];
      const std::size_t count = named.Names.size() + (named.Device ? 1 : 0);
      if (deleted >= count) break;
      const std::string text = named.Command->GetText();
      std::unique_ptr<TCopyScript> copy = Copy(named.Command);
      EXPECT_EQ(Links(named), std::vector<TCopyScript*>(count, copy.get())) << text;

      // The device goes through its list, as the user deletes it.
      if (deleted < named.Names.size()) {
        delete named.Names[deleted];
        named.Names.erase(named.Names.begin() + static_cast<std::ptrdiff_t>(deleted));
      } else {
        Devices.RemoveDevice(named.Device);
        named.Device = nullptr;
      }
      EXPECT_TRUE(copy->Disabled()) << text << " without name " << deleted;
      // Nothing that is left still points at the record; destroying it (below, under
      // the sanitizer) reads nothing that was deleted.
      EXPECT_EQ(Links(named), std::vector<TCopyScript*>(count - 1, nullptr)) << text;
      copy.reset();
    }
  }
  EXPECT_GT(round, static_cast<int>(kinds));
}

TEST_F(CopyRecordTest, TheClipboardPastesEachRecordOverACommandOfItsBlock) {
  TExpObjClipboard& clipboard = Exp.GetClipboard();
  for (const TNamed& named : MakeAll("")) {
    const std::string text = named.Command->GetText();
    const TBytes record = Written({named.Command});
    const bool anywhere = named.Command->GetScriptType() == TScript::CREATENEWFILE;
    // A cut: the command goes, its record stays with everything it names.
    clipboard.Cut(named.Command);
    ASSERT_NE(clipboard.GetCopyScript(), nullptr);
    EXPECT_FALSE(clipboard.GetCopyScript()->Disabled());
    Cur = B2;
    TScript* other = Comment("other");
    Cur = B1;
    TScript* first = Comment("first");
    TScript* second = Comment("second");

    Tree.SetSelected(nullptr);
    EXPECT_FALSE(clipboard.CanPaste());
    Tree.SetSelected(B1->AExpNode);  // no blank line: not the block new commands go to
    EXPECT_FALSE(clipboard.CanPaste());
    Tree.SetSelected(other->AExpNode);
    EXPECT_EQ(clipboard.CanPaste(), anywhere) << text;
    Tree.SetSelected(first->AExpNode);
    ASSERT_TRUE(clipboard.CanPaste()) << text;
    Ui.ScriptAnswers({mbNo});
    EXPECT_FALSE(clipboard.PasteScript());
    EXPECT_EQ(ScriptOfNode(B1->AExpNode->GetLastChild()), second);
    Ui.ScriptAnswers({mbYes, mbYes});
    ASSERT_TRUE(clipboard.PasteScript());
    Tree.SetSelected(second->AExpNode);
    ASSERT_TRUE(clipboard.PasteScript());
    // Two commands of the same settings in place of the two lines.
    TScript* pastedSecond = ScriptOfNode(B1->AExpNode->GetLastChild());
    TScript* pastedFirst = ScriptOfNode(B1->AExpNode->GetLastChild()->GetPrevSibling());
    ASSERT_TRUE(pastedFirst && pastedSecond);
    EXPECT_NE(pastedFirst, pastedSecond);
    for (TScript* pasted : {pastedFirst, pastedSecond}) {
      EXPECT_EQ(pasted->GetText(), text);
      EXPECT_EQ(Written({pasted}), record) << text;
    }
    EXPECT_NE(clipboard.GetCopyScript(), nullptr);  // for the next paste
    delete other;
  }

  // A held record whose variable goes is dropped at the next question, and nothing is
  // pasted.
  std::vector<TNamed> more = MakeAll("2");
  TNamed calculate = more[6];
  ASSERT_EQ(calculate.Command->GetScriptType(), TScript::CALCULATE);
  clipboard.Copy(calculate.Command);
  Tree.SetSelected(more[0].Command->AExpNode);
  EXPECT_TRUE(clipboard.CanPaste());
  delete calculate.Names[4];  // the table the result goes to
  EXPECT_NE(clipboard.GetCopyScript(), nullptr);
  EXPECT_FALSE(clipboard.CanPaste());
  EXPECT_EQ(clipboard.GetCopyScript(), nullptr);
  EXPECT_FALSE(clipboard.PasteScript());
  EXPECT_EQ(ScriptOfNode(more[0].Command->AExpNode), more[0].Command);
}

TEST_F(CopyRecordTest, ADisabledCalculateRecordHoldsNoVariable) {
  TNamed calculate;
  for (const TNamed& named : MakeAll(""))
    if (named.Command->GetScriptType() == TScript::CALCULATE) calculate = named;
  ASSERT_NE(calculate.Command, nullptr);
  std::unique_ptr<TCopyScript> copy = Copy(calculate.Command);
  auto* record = dynamic_cast<TCopyCalculate*>(copy.get());
  ASSERT_NE(record, nullptr);
  // The text's copies name the variables of the text, also those of sin's argument.
  ASSERT_NE(record->GetExpression(), nullptr);
  ASSERT_NE(record->GetExpression()->GetList(), nullptr);
  int named = 0;
  for (const auto& entry : *record->GetExpression()->GetList())
    if (entry.Variable) {
      ++named;
      EXPECT_NE(entry.Variable->Data, nullptr);
    }
  EXPECT_EQ(named, 4);  // a, b, table[k], table[2]

  delete calculate.Names[1];  // b: the command goes with it
  EXPECT_TRUE(copy->Disabled());
  EXPECT_EQ(record->GetStoredData(), nullptr);
  for (const auto& entry : *record->GetExpression()->GetList())
    if (entry.Variable) {
      EXPECT_EQ(entry.Variable->Data, nullptr);
      EXPECT_EQ(entry.Variable->ACounter, nullptr);
    }
  for (TExpAttribute* name : calculate.Names) {
    if (name != calculate.Names[1]) {
      EXPECT_EQ(name->GetCopyScript(), nullptr);
    }
  }
}

TEST_F(CopyRecordTest, RetypingWhatARecordNamesDisablesIt) {
  // A number that stays a number keeps the commands but not the record: the record's
  // settings were made for the old type.
  std::vector<TNamed> all = MakeAll("");
  TNamed increment = all[3], calculate = all[6];
  ASSERT_EQ(increment.Command->GetScriptType(), TScript::INCREMENT);
  ASSERT_EQ(calculate.Command->GetScriptType(), TScript::CALCULATE);
  std::unique_ptr<TCopyScript> copy = Copy(increment.Command);
  ASSERT_TRUE(static_cast<TData*>(increment.Names[0])->SetDataType(eatINTEGER));
  EXPECT_TRUE(copy->Disabled());
  EXPECT_EQ(increment.Names[0]->GetCopyScript(), nullptr);
  EXPECT_EQ(static_cast<TIncrementScript*>(increment.Command)->GetVariable()->GetData(),
            increment.Names[0]);
  copy.reset();

  copy = Copy(calculate.Command);
  ASSERT_TRUE(static_cast<TData*>(calculate.Names[0])->SetDataType(eatFLOAT));  // a
  EXPECT_TRUE(copy->Disabled());
  for (TExpAttribute* name : calculate.Names) EXPECT_EQ(name->GetCopyScript(), nullptr);
  copy.reset();
  // The command itself is whole and copies again.
  copy = Copy(calculate.Command);
  EXPECT_EQ(Paste(*copy, B1)->GetText(), calculate.Command->GetText());
}

TEST_F(CopyRecordTest, AnOutputToFileRecordWithoutVariablesEnablesAsAnEmptyList) {
  TSingleExpFile* file = SingleFile("empty.txt");
  std::vector<std::unique_ptr<TVariableData>> none;
  auto copy = std::make_unique<TCopyOutputToFile>(B1, false, true, ",", 2, 4, file, none);
  EXPECT_FALSE(copy->HasVarList());
  copy->SetExperiment(&Exp);
  EXPECT_FALSE(copy->Disabled());
  EXPECT_EQ(file->GetCopyScript(), copy.get());
  EXPECT_TRUE(copy->GetVarList().empty());

  // Pasted, the command takes the settings and the file, with no entry.
  auto* pasted = static_cast<TOutputToFileScript*>(Paste(*copy, B1));
  EXPECT_EQ(pasted->GetExpFile(), file);
  EXPECT_EQ(pasted->GetCount(), 0u);
  EXPECT_TRUE(pasted->GetDateStamp());
  EXPECT_FALSE(pasted->GetTimeStamp());
  EXPECT_EQ(pasted->GetNotation(), 2);
  EXPECT_EQ(pasted->GetDecimalPlaces(), 4);

  copy->Disable();
  EXPECT_EQ(file->GetCopyScript(), nullptr);
  EXPECT_EQ(copy->GetExpFile(), nullptr);
  EXPECT_FALSE(copy->HasVarList());
}

TEST_F(CopyRecordTest, APastedExperimentSavedReopenedAndRunGivesTheSameData) {
  // Send the query, read the curve (the same three 2-byte numbers each time) and the
  // bytes, count, calculate, join a text, write a line of the results, read a file of
  // values.
  TDataArray* curve = Array(B1, "curve", eatINTEGER, 5);
  TDataSingle* bytes = Single(B1, "bytes", eatINTEGER);
  TDataSingle* loop = Single(B1, "loop", eatINTEGER);
  TDataSingle* sum = Single(B1, "sum", eatFLOAT);
  TDataSingle* text = Single(B1, "text", eatSTRING);
  TDataArray* back = Array(B1, "back", eatFLOAT, 12);
  TDataSingle* found = Single(B1, "found", eatINTEGER);
  TSingleExpFile* file = SingleFile("data.txt");
  Touch("in.txt", "1.5,2.5\r\n-3\r\n");

  auto* send = Make<TSendScript>();
  send->SetUpSend(Meter, "CURVE?", true, nullptr, 0, -1, false);
  TReadResponse response(3);
  response.SetReadAs(rtBINARY, true);
  response.SetBytesPerPoint(2);
  response.SetByteCountData(bytes);
  Make<TReadScript>()->SetUpRead(Meter, curve, response, true, true);
  Make<TIncrementScript>()->SetUpIncrement(loop, "1");
  auto* calculate = Make<TCalculateScript>();
  TCalculateExpression compiled =
      CompileCalculateExpression(&Exp, calculate, "sum+curve[loop]*loop/2", true);
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), sum);
  Make<TConcatenateScript>()->SetUp(ParseConcatenation("#{loop}: {sum}", Exp, true), text, 1, 2,
                                    false, false);
  Make<TOutputToFileScript>()->SetUpFromForm(file, {false, false, ",", 1, true, "2"},
                                             {{loop}, {sum}, {curve, loop}, {curve, nullptr, 0}});
  Make<TReadFileScript>()->SetUpReadFile(Temp.PathOf("in.txt"), back, false, true, ",", "",
                                         found);
  B1->SetAsStartBlock();
  Line(B1, B2);

  const auto run = [&](TExperiment& experiment) {
    std::vector<TData*> all;
    experiment.GetAllVariables(all);
    for (TData* variable : all) variable->ResetValue();
    experiment.SelectFirstBlock();
    EXPECT_EQ(RunOnWorker(experiment.Run(), [&] { experiment.ResetOutputsAndFiles(); }),
              TTexts{"Experiment Complete"});
    std::string values;
    for (TData* variable : all)
      values += variable->GetDataName() + "=" + variable->GetValueText() + ";";
    const TBytes written = Temp.ReadBytes("data.txt");
    return values + "|" + std::string(written.begin(), written.end());
  };
  const std::string first = run(Exp);
  EXPECT_NE(first.find("found=3;"), std::string::npos) << first;
  EXPECT_NE(first.find("bytes=6;"), std::string::npos) << first;
  // The text and the line follow the sum, which follows the curve read.
  const std::string summed = sum->GetValueText() + ".00";
  EXPECT_NE(sum->GetValueText(), "0");
  EXPECT_NE(first.find("text=#1.00: " + summed + ";"), std::string::npos) << first;
  EXPECT_NE(first.find("|1.00," + summed + ","), std::string::npos) << first;

  // Every command after the Send copied and pasted after the last, the original deleted,
  // in order.
  std::vector<TScript*> originals;
  for (TTreeNode* node = B1->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
    if (ScriptOfNode(node) != send) originals.push_back(ScriptOfNode(node));
  ASSERT_EQ(originals.size(), 6u);
  for (TScript* original : originals) {
    std::unique_ptr<TCopyScript> copy(original->MakeCopyScript());
    copy->SetExperiment(&Exp);
    Paste(*copy, B1);
    delete original;
  }
  EXPECT_EQ(run(Exp), first);

  std::string error;
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("e.qve"), Exp, Parts, &Devices, error)) << error;
  PumpPort().Close();
  TDeviceList devices(nullptr);
  TDrawParts parts;
  std::unique_ptr<TExperiment> reopened =
      OpenExperimentFile(Temp.PathOf("e.qve"), parts, &devices, error);
  ASSERT_NE(reopened, nullptr) << error;
  EXPECT_EQ(run(*reopened), first);
}

}  // namespace
