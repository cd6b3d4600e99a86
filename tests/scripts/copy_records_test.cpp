// Copy records of every command type: deleting or retyping anything a held record names
// disables it, and a disabled record touches nothing afterwards (the sanitizer checks its
// destruction); the Output to File record without a variable list; a pasted experiment
// saved, reopened and run gives the data of the original.
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
#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/device/send_gpib_script.h"
#include "scripts/device/send_script.h"
#include "scripts/device/serial_poll_script.h"
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
#include "scripts/flow/wait_script.h"
#include "scripts/outputs/plot_script.h"
#include "shell/experiment_file.h"
#include "support/block_commands.h"
#include "support/copy_samples.h"

namespace {

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

  TSingleExpFile* SingleFile(const std::string& name) {
    TSingleExpFileRequest request;
    request.FileName = Temp.PathOf(name);
    request.Overwrite = true;
    return Exp.GetSingleExpFileList()->Create(request);
  }
  void Touch(const std::string& name, const std::string& text) const {
    std::ofstream(Temp.PathOf(name), std::ios::binary) << text;
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

TEST_F(CopyRecordTest, DeletingAnythingARecordNamesDisablesIt) {
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

TEST_F(CopyRecordTest, ADisabledCalculateRecordHoldsNoVariable) {
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

TEST_F(CopyRecordTest, RetypingWhatARecordNamesDisablesIt) {
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
  Make<TSerialPollScript>()->SetUpSerialPoll(Meter, status);
  Make<TSendGPIBScript>()->SetUpSendGPIB(Meter, TSendGPIBScript::REN);
  Make<TClearDeviceBufferScript>()->SetDevice(Scope);
  Make<TWaitScript>()->SetTime(20);
  B1->SetAsStartBlock();
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
  for (TTreeNode* node = B1->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
    if (ScriptOfNode(node) != send) originals.push_back(ScriptOfNode(node));
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
