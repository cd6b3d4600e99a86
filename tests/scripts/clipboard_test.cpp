// The experiment's one-command clipboard and the copy records it holds: copy, cut and
// paste at the tree's selection and the overwrite question; the record of every command
// type (settings kept twice over a cut, the block rule); deleting, retyping or changing
// the kind of anything a held record names disables it, and a disabled record touches
// nothing afterwards (the sanitizer checks its destruction); the Output to File record
// without a variable list; a pasted experiment saved, reopened and run on the simulated
// bus gives the data of the original.
#include "scripts/exp_obj_clipboard.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "communication/read_response.h"
#include "expressions/math_expression.h"
#include "model/data.h"
#include "model/variable_data.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/copy_script.h"
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/device_fixture.h"
#include "scripts/device/read_script.h"
#include "scripts/device/send_binary_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
#include "scripts/files/output_to_file_copy.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/files/read_file_script.h"
#include "scripts/flow/blank_script.h"
#include "scripts/flow/calculate_copy.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "shell/experiment_file.h"
#include "support/block_commands.h"
#include "support/copy_samples.h"

namespace {

class ClipboardTest : public TDeviceFixture {
protected:
  void SetUp() override {
    B1->SetAsStartBlock();
    Exp.SelectBlock(B1->AExpNode);  // B1 holds the blank line
  }
  TExpObjClipboard& Clip() { return Exp.GetClipboard(); }
  TTreeNode* BlankNode() { return Exp.GetBlankScript()->AExpNode; }
  // The command on the node just before the blank line.
  TScript* BeforeBlank() { return ScriptOfNode(BlankNode()->GetPrevSibling()); }
  // Pastes on the node; the command made, none when nothing was pasted.
  TScript* PasteOn(TTreeNode* node) {
    Tree.SetSelected(node);
    if (!Clip().PasteScript()) return nullptr;
    return BeforeBlank();
  }
  // The command's record as a file holds it.
  TBytes Record(TScript* script) { return Written(std::vector<TScript*>{script}); }
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

  TSingleExpFile* SingleFile(const std::string& name) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    request.Overwrite = true;
    return Exp.GetSingleExpFileList()->Create(request);
  }
  TCopySample Sample(int type, const std::string& suffix = "") {
    return TCopySamples(Exp, Devices, B1, Temp.Path().string(), suffix).MakeFirst(type);
  }
  // The record each thing the command names points at: its copy link.
  static std::vector<TCopyScript*> Links(const TCopySample& named) {
    std::vector<TCopyScript*> links;
    for (TExpAttribute* name : named.Names) links.push_back(name->GetCopyScript());
    if (named.Device) links.push_back(named.Device->GetCopyScript());
    return links;
  }
};

TEST_F(ClipboardTest, CopyAndPasteFollowTheSelection) {
  TExpObjClipboard& clip = Clip();
  EXPECT_EQ(&clip, &Exp.GetClipboard());  // one clipboard, made once
  EXPECT_EQ(clip.GetCopyScript(), nullptr);
  Tree.SetSelected(B1->AExpNode);
  EXPECT_FALSE(clip.CanPaste());  // nothing held
  EXPECT_FALSE(clip.PasteScript());

  // What may be copied: commands that say so, never blocks or the blank line (section
  // lines: tree_clipboard_test).
  TCommentScript* note = Comment("note");
  TLabelScript* label = Label("Top");
  EXPECT_FALSE(clip.CanCopy(nullptr));
  EXPECT_FALSE(clip.CanCopy(B1));
  EXPECT_FALSE(clip.CanCopy(Exp.GetBlankScript()));
  EXPECT_TRUE(clip.CanCopy(note));
  EXPECT_TRUE(clip.CanCopy(label));

  auto* wait = Make<TWaitScript>();
  wait->SetTime(250);
  clip.Copy(wait);
  TCopyScript* record = clip.GetCopyScript();
  ASSERT_NE(record, nullptr);
  EXPECT_FALSE(record->Disabled());
  EXPECT_EQ(record->GetExperiment(), &Exp);
  EXPECT_EQ(record->GetScriptType(), TScript::WAIT);

  // No selection, or a block that is not the current one: nothing is offered.
  Tree.SetSelected(nullptr);
  EXPECT_FALSE(clip.CanPaste());
  EXPECT_FALSE(clip.PasteScript());
  Tree.SetSelected(B2->AExpNode);
  EXPECT_FALSE(clip.CanPaste());
  EXPECT_FALSE(clip.PasteScript());
  EXPECT_TRUE(Children(B2->AExpNode).empty());

  // On the current block: at its end, in front of the blank line, without a question.
  const std::size_t lines = Children(B1->AExpNode).size();
  Tree.SetSelected(B1->AExpNode);
  EXPECT_TRUE(clip.CanPaste());
  ASSERT_TRUE(clip.PasteScript());
  TTexts texts = Children(B1->AExpNode);
  ASSERT_EQ(texts.size(), lines + 1);
  EXPECT_EQ(texts[lines - 1], "Wait 250 milliseconds");
  EXPECT_EQ(texts.back(), BlankNode()->GetText());
  EXPECT_EQ(clip.GetCopyScript(), record);  // still held for the next paste

  // On the blank line: in front of it, the blank line stays, no question either.
  TScript* pasted = PasteOn(BlankNode());
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->GetText(), "Wait 250 milliseconds");
  EXPECT_NE(pasted, wait);
  EXPECT_EQ(Children(B1->AExpNode).size(), lines + 2);
  EXPECT_TRUE(Ui.Shown().empty());

  // On a command: asked first; No changes nothing.
  Ui.ScriptAnswers({mbNo});
  const TTexts beforeNo = Children(B1->AExpNode);
  Tree.SetSelected(note->AExpNode);
  EXPECT_TRUE(clip.CanPaste());
  EXPECT_FALSE(clip.PasteScript());
  EXPECT_EQ(Children(B1->AExpNode), beforeNo);
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown().back().Text,
            "This will overwrite the old script.\r\nDo you still wish to do this?");
  EXPECT_EQ(Ui.Shown().back().Caption, "Qorv Message");
  EXPECT_EQ(Ui.Shown().back().Buttons, mbYes | mbNo);
  // Yes replaces it in place.
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(clip.PasteScript());
  TTexts afterYes = beforeNo;
  afterYes[0] = "Wait 250 milliseconds";
  EXPECT_EQ(Children(B1->AExpNode), afterYes);
  EXPECT_EQ(Ui.Shown().size(), 2u);

  // A new copy replaces the held record.
  clip.Copy(label);
  EXPECT_EQ(clip.GetCopyScript()->GetScriptType(), TScript::LABEL);
}

TEST_F(ClipboardTest, EveryRecordPastesItsCommandTwiceAfterACutAndKeepsItsBlockRule) {
  TCopySamples samples(Exp, Devices, B1, Temp.Path().string());
  for (int type : CopyableCommandTypes()) {
    const std::vector<TCopySample> made = samples.Make(type);
    ASSERT_FALSE(made.empty()) << CommandName(type) << " has no sample";
    const bool bound = BlockBoundTypes().count(type) > 0;
    for (const TCopySample& sample : made) {
      TScript* original = sample.Command;
      const std::string text = original->GetText();
      SCOPED_TRACE(CommandName(type) + ": " + text);
      const TBytes record = Record(original);
      {
        std::unique_ptr<TCopyScript> made(original->MakeCopyScript());
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(made->Disabled());  // until an experiment takes it
      }
      ASSERT_TRUE(Clip().CanCopy(original));

      // A cut: the command goes, its record stays whole with everything it names.
      Clip().Cut(original);
      ASSERT_NE(Clip().GetCopyScript(), nullptr);
      EXPECT_FALSE(Clip().GetCopyScript()->Disabled());
      EXPECT_EQ(Clip().GetCopyScript()->GetScriptType(), type);
      // Two pastes give two commands of the same text and record, each on its own.
      TScript* first = PasteOn(BlankNode());
      TScript* second = PasteOn(BlankNode());
      ASSERT_TRUE(first && second);
      EXPECT_NE(first, second);
      for (TScript* pasted : {first, second}) {
        EXPECT_EQ(pasted->GetScriptType(), type);
        EXPECT_EQ(pasted->GetText(), text);
        EXPECT_EQ(pasted->AExpNode->GetText(), text);
        EXPECT_EQ(pasted->Pblock, B1);
        EXPECT_EQ(Record(pasted), record);
      }
      delete first;
      EXPECT_EQ(Record(second), record);
      EXPECT_FALSE(Clip().GetCopyScript()->Disabled());

      // Into another block: only records not bound to their block.
      Exp.SelectBlock(B2->AExpNode);
      Tree.SetSelected(B2->AExpNode);
      const std::size_t inB2 = Children(B2->AExpNode).size();
      EXPECT_EQ(Clip().CanPaste(), !bound);
      EXPECT_EQ(Clip().PasteScript(), !bound);
      EXPECT_EQ(Children(B2->AExpNode).size(), inB2 + (bound ? 0 : 1));
      if (!bound) {
        EXPECT_EQ(BeforeBlank()->GetText(), text);
        EXPECT_EQ(BeforeBlank()->Pblock, B2);
        EXPECT_EQ(Record(BeforeBlank()), record);
      }
      Exp.SelectBlock(B1->AExpNode);
    }
  }
}

// Deleting each thing a record names is swept below; here what changes a named thing
// without deleting it, and what leaves the record alone.
TEST_F(ClipboardTest, RetypingWhatARecordNamesOrChangingItsKindDisablesIt) {
  // A number that stays a number keeps the commands but not the record: the record's
  // settings were made for the old type.
  const TCopySample increment = Sample(TScript::INCREMENT, "1");
  std::unique_ptr<TCopyScript> copy = Copy(increment.Command);
  ASSERT_TRUE(static_cast<TData*>(increment.Names[0])->SetDataType(eatINTEGER));
  EXPECT_TRUE(copy->Disabled());
  EXPECT_EQ(increment.Names[0]->GetCopyScript(), nullptr);
  EXPECT_EQ(static_cast<TIncrementScript*>(increment.Command)->GetVariable()->GetData(),
            increment.Names[0]);
  copy.reset();

  const TCopySample calculate = Sample(TScript::CALCULATE, "2");
  copy = Copy(calculate.Command);
  ASSERT_TRUE(static_cast<TData*>(calculate.Names[0])->SetDataType(eatFLOAT));  // a
  EXPECT_TRUE(copy->Disabled());
  for (TExpAttribute* name : calculate.Names) EXPECT_EQ(name->GetCopyScript(), nullptr);
  copy.reset();
  // The command itself is whole and copies again.
  copy = Copy(calculate.Command);
  EXPECT_EQ(Paste(*copy, B1)->GetText(), calculate.Command->GetText());

  TDataArray* arr = Array(B1, "A", eatINTEGER, 4);
  TOutput* graph = Exp.GetOutputList()->NewOutput("G", otGRAPH, 1);
  // Whether the clipboard still offers the held record at the blank line; a dropped
  // record leaves the clipboard empty.
  const auto offered = [&] {
    Tree.SetSelected(BlankNode());
    const bool can = Clip().CanPaste();
    EXPECT_EQ(Clip().GetCopyScript() != nullptr, can);
    return can;
  };

  // Send Binary: its array retyped.
  auto* whole = Make<TSendBinaryScript>();
  whole->SetUpWholeArray(Scope, arr, TSendBinaryScript::sbINT32);
  Clip().Copy(whole);
  EXPECT_TRUE(offered());
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(arr->SetDataType(eatFLOAT));
  EXPECT_FALSE(offered());

  // Clear Output: the output's kind or fewer channels, not its name or more channels.
  auto* clear = Make<TClearPlotScript>();
  clear->SetOutput(graph);
  Clip().Copy(clear);
  graph->ApplyEdit(otGRAPH, "Renamed", 1);
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otTABLE, "Renamed", 1);
  EXPECT_FALSE(offered());
  Clip().Copy(clear);
  graph->ApplyEdit(otTABLE, "Renamed", 3);
  EXPECT_TRUE(offered());
  graph->ApplyEdit(otTABLE, "Renamed", 2);  // fewer channels
  EXPECT_FALSE(offered());

  // What the record does not name leaves it alone.
  auto* gpib = Make<TSendGPIBScript>();
  gpib->SetUpSendGPIB(Meter, TSendGPIBScript::DCL);
  Clip().Copy(gpib);
  delete Single(B1, "u");
  Devices.RemoveDevice(Scope);
  EXPECT_TRUE(offered());

  // A record that names nothing outlives every deletion.
  Clip().Copy(Comment("stays"));
  Devices.RemoveDevice(Meter);
  Devices.RemoveDevice(Pump);
  delete arr;
  delete graph;
  EXPECT_TRUE(offered());
}

TEST_F(ClipboardTest, TheRecordGoesWithItsExperimentAndLetsGoOfTheDevice) {
  // The held record goes with its experiment and no longer names the device (New in the
  // window: main_window_clipboard_test).
  auto other = std::make_unique<TExperiment>();
  TBlock* block = other->AddBlock("Start Block");
  other->SelectBlock(block->AExpNode);
  TTreeNode* node = other->GetExperimentTree().Insert(other->GetBlankScript()->AExpNode, "none");
  auto* gpib = new TSendGPIBScript(block, node);
  gpib->SetUpSendGPIB(Meter, TSendGPIBScript::GTL);
  other->GetClipboard().Copy(gpib);
  EXPECT_NE(Meter->GetCopyScript(), nullptr);
  other.reset();
  EXPECT_EQ(Meter->GetCopyScript(), nullptr);
}

TEST_F(ClipboardTest, ANewCopyLetsGoOfEverythingTheHeldRecordNamed) {
  // Copying again deletes the held record while it is still enabled: it must let go of
  // every name itself (a link left behind would point at freed memory).
  TCopySamples samples(Exp, Devices, B1, Temp.Path().string(), "_held");
  const TCopySample comment = samples.MakeFirst(TScript::COMMENT);
  for (int type : CopyableCommandTypes())
    for (const TCopySample& held : samples.Make(type)) {
      const std::string text = held.Command->GetText();
      Clip().Copy(held.Command);
      const std::size_t count = held.Names.size() + (held.Device ? 1 : 0);
      EXPECT_EQ(Links(held), std::vector<TCopyScript*>(count, Clip().GetCopyScript())) << text;
      Clip().Copy(comment.Command);
      EXPECT_EQ(Links(held), std::vector<TCopyScript*>(count, nullptr)) << text;
    }
}

// A record bound to its block goes when the block goes: it could be pasted nowhere, and
// a block made later at the same address would take it.
TEST_F(ClipboardTest, DeletingTheBlockOfABoundRecordDropsIt) {
  for (int type : CopyableCommandTypes()) {
    SCOPED_TRACE(CommandName(type));
    TBlock* block = NewBlock("B3");
    TCopySamples samples(Exp, Devices, block, Temp.Path().string(), "_" + std::to_string(type));
    Clip().Copy(samples.MakeFirst(type).Command);
    ASSERT_NE(Clip().GetCopyScript(), nullptr);
    delete block;
    EXPECT_EQ(Clip().GetCopyScript() == nullptr, BlockBoundTypes().count(type) > 0);
  }
}

TEST_F(ClipboardTest, DeletingAnythingARecordNamesDisablesIt) {
  int round = 0;
  for (int type : CopyableCommandTypes()) {
    bool more = true;
    for (std::size_t variant = 0; more; ++variant) {
      for (std::size_t deleted = 0;; ++deleted) {
        // Each deletion on a fresh set: deleting a name takes its users along.
        TCopySamples samples(Exp, Devices, B1, Temp.Path().string(), "_" + std::to_string(++round));
        const std::vector<TCopySample> made = samples.Make(type);
        ASSERT_GT(made.size(), variant) << CommandName(type) << " has no sample";
        more = variant + 1 < made.size();
        TCopySample named = made[variant];
        const std::size_t count = named.Names.size() + (named.Device ? 1 : 0);
        if (deleted >= count) break;
        const std::string text = named.Command->GetText();
        std::unique_ptr<TCopyScript> copy = Copy(named.Command);
        EXPECT_EQ(Links(named), std::vector<TCopyScript*>(count, copy.get())) << text;

        samples.Delete(named, deleted);
        EXPECT_TRUE(copy->Disabled()) << text << " without name " << deleted;
        // Nothing that is left still points at the record; destroying it (under the
        // sanitizer) reads nothing that was deleted.
        EXPECT_EQ(Links(named), std::vector<TCopyScript*>(count - 1, nullptr)) << text;
        copy.reset();
      }
    }
  }
  EXPECT_GT(round, static_cast<int>(CopyableCommandTypes().size()));
}

TEST_F(ClipboardTest, ADisabledCalculateRecordHoldsNoVariable) {
  const TCopySample calculate = Sample(TScript::CALCULATE);
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

TEST_F(ClipboardTest, AnOutputToFileRecordWithoutVariablesEnablesAsAnEmptyList) {
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

TEST_F(ClipboardTest, APastedExperimentSavedReopenedAndRunGivesTheSameData) {
  // Send the query, read the curve (the same three 2-byte numbers each time) and the
  // bytes, count, calculate, join a text, write a line of the results, read a file of
  // values, poll the meter; then the commands free of their block: put the meter remote,
  // empty the scope's buffer, wait.
  TDataArray* curve = Array(B1, "curve", eatINTEGER, 5);
  TDataSingle* bytes = Single(B1, "bytes", eatINTEGER);
  TDataSingle* loop = Single(B1, "loop", eatINTEGER);
  TDataSingle* sum = Single(B1, "sum", eatFLOAT);
  TDataSingle* text = Single(B1, "text", eatSTRING);
  TDataArray* back = Array(B1, "back", eatFLOAT, 12);
  TDataSingle* found = Single(B1, "found", eatINTEGER);
  TDataSingle* status = Single(B1, "status", eatINTEGER);
  TSingleExpFile* file = SingleFile("data.txt");
  std::ofstream(Temp.PathOf("in.txt"), std::ios::binary) << "1.5,2.5\r\n-3\r\n";

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
  Make<TSerialPollScript>()->SetUpSerialPoll(Meter, status);
  Make<TSendGPIBScript>()->SetUpSendGPIB(Meter, TSendGPIBScript::REN);
  Make<TClearDeviceBufferScript>()->SetDevice(Scope);
  Make<TWaitScript>()->SetTime(20);
  Line(B1, B2);

  const auto run = [&](TExperiment& experiment) {
    std::vector<TData*> all;
    experiment.GetAllVariables(all);
    for (TData* variable : all) variable->ResetValue();
    experiment.SelectFirstBlock();
    Sim.ClearLog();
    EXPECT_EQ(RunOnWorker(experiment.Run(), [&] { experiment.ResetOutputsAndFiles(); }),
              TTexts{"Experiment Complete"});
    std::string values;
    for (TData* variable : all)  // a poll clears the meter's request bit: status varies
      if (variable->GetDataName() != "status")
        values += variable->GetDataName() + "=" + variable->GetValueText() + ";";
    const TBytes written = Temp.ReadBytes("data.txt");
    // The calls the commands make, less the devices' opening and handles.
    std::string bus;
    for (const std::string& line : Sim.Log())
      for (const char* call : {"'CURVE?'", "\"REN\"", "cec_serial_poll 5", "ibrd "})
        if (line.find(call) != std::string::npos) bus += std::string(call) + ";";
    return values + "|" + std::string(written.begin(), written.end()) + "|" + bus;
  };
  const std::string first = run(Exp);
  EXPECT_NE(first.find("found=3;"), std::string::npos) << first;
  EXPECT_NE(first.find("bytes=6;"), std::string::npos) << first;
  // The text and the line follow the sum, which follows the curve read.
  const std::string summed = sum->GetValueText() + ".00";
  EXPECT_NE(sum->GetValueText(), "0");
  EXPECT_NE(first.find("text=#1.00: " + summed + ";"), std::string::npos) << first;
  EXPECT_NE(first.find("|1.00," + summed + ","), std::string::npos) << first;
  EXPECT_NE(first.find("|'CURVE?';cec_serial_poll 5;\"REN\";ibrd ;"), std::string::npos) << first;

  // Every command after the Send copied and pasted, the original deleted, in order: those
  // bound to their block at its end, the others into the next block.
  std::vector<TScript*> originals;
  for (TScript* command : BlockCommands(B1))
    if (command != send) originals.push_back(command);
  ASSERT_EQ(originals.size(), 10u);
  for (TScript* original : originals) {
    std::unique_ptr<TCopyScript> copy(original->MakeCopyScript());
    copy->SetExperiment(&Exp);
    Paste(*copy, BlockBoundTypes().count(original->GetScriptType()) ? B1 : B2);
    delete original;
  }
  EXPECT_EQ(BlockCommands(B2).size(), 3u);
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
