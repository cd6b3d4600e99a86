// The Output to File command: the lines it writes (stamps without leading zeros, from a
// fixed and from the real clock; fields joined by position, notations, elements and
// entire arrays), comment-out and trace, a failure stopping the run with its message and
// nothing written lost, the record byte by byte, damaged records and unresolved
// references, and what deleting a variable or the file does to it.
#include "scripts/files/output_to_file_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/data_list.h"
#include "model/errors.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_exp_file.h"
#include "outputs/exp_file_fixture.h"
#include "support/local_clock.h"

namespace {

const std::string FileNotSet = "Experiment file in OutputToFileScript is not set...aborting read";
const std::string Missing = "Variable missing in OutputToFileScript...aborting read";

class OutputToFileTest : public TDataFileFixture {
protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) Arr->GetValueArray().SetElementText(std::to_string(10 + i), i);
  }
  static TOutputToFileSettings Settings(const std::string& delimiter, std::uint8_t notation = 0,
                                        const std::string& decimals = "1", bool date = false,
                                        bool time = false) {
    return {time, date, delimiter, notation, true, decimals};
  }
  // The line one run of the command writes to a fresh file.
  std::string LineOf(const std::vector<TOutputToFileEntry>& entries,
                     const TOutputToFileSettings& settings) {
    TSingleExpFile* file = SingleFile("line" + std::to_string(++Made) + ".txt");
    TOutputToFileScript* command = Output(file, entries, settings);
    command->Execute();
    file->Close();
    delete command;
    const std::string text = Text("line" + std::to_string(Made) + ".txt");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    return text.substr(0, text.size() - 2);
  }

  TDataSingle* F = Single(Start, "f", eatFLOAT, "2.5");
  TDataSingle* Str = Single(Start, "s", eatSTRING);
  TDataSingle* K = Single(Start, "k", eatINTEGER, "2");
  TDataArray* Arr = Array(Start, "arr", eatINTEGER, 3);
  int Made = 0;
};

TEST_F(OutputToFileTest, LinesHoldStampsAndValuesJoinedByPosition) {
  const TOutputToFileEntry x{X}, f{F}, s{Str}, element{Arr, nullptr, 1}, indexed{Arr, K},
      entire{Arr};
  EXPECT_EQ(LineOf({x, element, entire}, Settings(",", 0, "1", true, true)),
            "3/7/2024,9:5:3:27,5,11,10,11,12");
  EXPECT_EQ(LineOf({x, f}, Settings(",")), "5,2.5");  // no stamp, no leading delimiter
  EXPECT_EQ(LineOf({x}, Settings(";", 0, "1", false, true)), "9:5:3:27;5");
  EXPECT_EQ(LineOf({f}, Settings("\t", 0, "1", true)), "3/7/2024\t2.5");
  EXPECT_EQ(LineOf({x, f, indexed}, Settings(" ", 1, "2")), "5.00 2.50 12.00");
  EXPECT_EQ(LineOf({f, x}, Settings(",", 2, "2")), "2.50E+0,5.00E+0");
  // An empty text keeps its field: the columns never shift.
  EXPECT_EQ(LineOf({s, x}, Settings(",")), ",5");
  EXPECT_EQ(LineOf({x, s, s}, Settings(",")), "5,,");
  Clock = {1999, 12, 31, 23, 59, 58, 999};
  EXPECT_EQ(LineOf({s}, Settings(",", 0, "1", true, true)), "12/31/1999,23:59:58:999,");
  Arr->SetSize(1);
  Arr->GetValueArray().SetElementText("4", 0);
  EXPECT_EQ(LineOf({entire}, Settings(",")), "4");
}

TEST_F(OutputToFileTest, StampsWithoutATestClockReadTheLocalTime) {
  // The fixed clock of the other cases leaves the system clock's path untried: without
  // it the stamps must lie between local readings taken before and after the write.
  TOutputToFileScript::SetClock({});
  const TLocalReading before = LocalNow();
  const std::string line = LineOf({{X}}, Settings(";", 0, "1", true, true));
  const TLocalReading after = LocalNow();
  std::string rest;
  ASSERT_TRUE(StampedBetween(line, ';', before, after, rest));
  EXPECT_EQ(rest, "5");
}

TEST_F(OutputToFileTest, CommentedOutWritesNothingAndTheTraceShowsTheLine) {
  TSingleExpFile* file = SingleFile("t.txt");
  TOutputToFileScript* command = Output(file, {{X}, {F}});
  EXPECT_EQ(TraceOf(command), TTexts{"5,2.5"});
  command->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(command), TTexts{});
  EXPECT_EQ(command->Execute(), command->Pnextscript);
  file->Close();
  EXPECT_EQ(Text("t.txt"), "5,2.5\r\n");
}

TEST_F(OutputToFileTest, AFailureStopsTheRunAndKeepsEveryLineWritten) {
  // The file stays open between writes: the end-of-run step closes it on every path.
  TMultiExpFile* file = MultiFile(mfMAKENEW);
  TOutputToFileScript* command = Output(file, {{X}});
  TLogStub* fail = Logged(Start, "fail");
  fail->Action = [] { throw EExperimentError("Device timed out"); };
  EXPECT_EQ(RunAll(), TTexts{"Device timed out"});
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(Text("run_0.txt"), "5\r\n");

  // Stop after three lines of a loop.
  delete fail;
  TLogStub* stop = Logged(Start, "stop");
  int lines = 0;
  stop->Action = [&] {
    if (++lines == 3) Thread->Terminate();
  };
  stop->Next = command;
  EXPECT_EQ(RunAll(), TTexts{"Aborted"});
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(Text("run_1.txt"), "5\r\n5\r\n5\r\n");

  // A write that fails ends the run with the file's message.
  delete stop;
  const std::string sub = Temp.PathOf("sub");
  std::filesystem::create_directory(sub);
  file->SetNames(sub, "run", "txt");
  file->AbCloseBetweenWrites = true;
  TLogStub* removal = Logged(Start, "remove");
  removal->Action = [&] { std::filesystem::remove_all(sub); };
  removal->Next = command;
  // The series goes on at the number the last run reached.
  const std::string name = sub + PathSeparator + "run_1.txt";
  EXPECT_EQ(RunAll(), TTexts{"Error Writing to file, " + name + "abort writing."});
  EXPECT_FALSE(file->IsOpen());
}

TEST_F(OutputToFileTest, TheRecordIsWrittenInOrderAndReadBack) {
  TSingleExpFile* file = SingleFile("r.txt");
  TOutputToFileScript* command =
      Output(file, {{X}, {Arr, K}}, Settings(";", 2, "3", true, false));
  // Identifiers in order of first use: the file, x, arr, k, the command.
  const TBytes record =
      Cat({B(false), B(true), StringBytes(";"), I32(2), I32(3), I32(100), I32(2), B(false),
           I32(101), B(true), I32(102), B(true), I32(103), B(false), I32(104), B(false)});
  EXPECT_EQ(Written({command}), record);

  std::vector<TVariable*> waiting;
  auto* read = ReadOne<TOutputToFileScript>(record, &waiting);
  ASSERT_EQ(waiting.size(), 4u);  // the file, x, arr and arr's index
  EXPECT_EQ(CheckError(read), FileNotSet);
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(file, 100));
  EXPECT_EQ(CheckError(read), Missing);
  for (TVariable* reference : waiting) {
    reference->ResolveLoadedLink(X, 101);
    reference->ResolveLoadedLink(Arr, 102);
    reference->ResolveLoadedLink(K, 103);
  }
  EXPECT_EQ(CheckError(read), "");
  EXPECT_EQ(read->AExpNode->GetText(), "Output To File (r.txt)");
  EXPECT_EQ(read->PreadscriptID, 104);
  EXPECT_EQ(Written({read}), record);

  // An element whose index variable the file does not hold would be written as the
  // entire array: refused.
  auto* noIndex = ReadOne<TOutputToFileScript>(record, &waiting);
  for (TVariable* reference : waiting) {
    reference->ResolveLoadedLink(file, 100);
    reference->ResolveLoadedLink(X, 101);
    reference->ResolveLoadedLink(Arr, 102);
  }
  EXPECT_EQ(CheckError(noIndex), Missing);

  // A notation outside 0 to 2, no entries, a short record.
  const auto error = [&](const TBytes& bytes) {
    try {
      ReadOne<TOutputToFileScript>(bytes);
    } catch (const EReadError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(error(Cat({B(false), B(false), StringBytes(","), I32(3)})),
            "Invalid number notation in OutputToFileScript...aborting read");
  EXPECT_EQ(error(Cat({B(false), B(false), StringBytes(","), I32(0), I32(1), I32(100), I32(0),
                       I32(101), B(false)})),
            Missing);
  EXPECT_EQ(error(TBytes(record.begin(), record.end() - 1)), "Stream read error");
}

TEST_F(OutputToFileTest, DeletedVariablesLeaveTheListAndTheLastOrTheFileTakesTheCommand) {
  TSingleExpFile* file = SingleFile("d.txt");
  TOutputToFileScript* command = Output(file, {{X}, {Arr, K}, {F}});
  delete K;  // the element indexed by k goes with its index
  EXPECT_EQ(command->GetCount(), 2u);
  delete X;
  ASSERT_EQ(command->GetEntries().size(), 1u);
  EXPECT_EQ(command->GetEntries()[0].Data, F);
  delete F;
  EXPECT_EQ(Outline(Start->AExpNode), "      ");  // the command went with its last variable

  TOutputToFileScript* second = Output(file, {{Arr}});
  EXPECT_EQ(second->GetEntries()[0].Index, -1);  // the entire array
  EXPECT_EQ(file->GetUserCount(), 1);
  delete file;
  EXPECT_EQ(Outline(Start->AExpNode), "      ");
}

}  // namespace
