// The Create-new-file command: runs that number a series of files and continue it, the
// trace, comment-out, the user's No to the search for a number ending the run with its
// message, the record byte by byte with unresolved and wrong references, and the file's
// deletion.
#include "scripts/files/create_new_file_script.h"

#include <gtest/gtest.h>

#include <string>

#include "model/errors.h"
#include "model/value.h"
#include "model/variable_exp_file.h"
#include "outputs/exp_file_fixture.h"

namespace {

const std::string NotSet = "Experiment file in New File Script is not set...aborting read";

class CreateNewFileTest : public TDataFileFixture {};

TEST_F(CreateNewFileTest, RunsWriteToTheNextFreeNumbersAndContinueTheSeries) {
  TMultiExpFile* file = MultiFile(mfMAKENEW);
  Files(0, 3);
  Output(file, {{X}});
  TCreateNewFileScript* command = NewFile(file);
  Output(file, {{X}});
  EXPECT_EQ(RunAll(), TTexts{"Experiment Complete"});
  EXPECT_EQ(Text("run_4.txt"), "5\r\n");
  EXPECT_EQ(Text("run_5.txt"), "5\r\n");
  EXPECT_EQ(Text("run_3.txt"), "old\r\n");
  EXPECT_EQ(file->GetStartIndex(), 5);
  X->GetValue().SetText("6");
  RunAll();
  EXPECT_EQ(Text("run_6.txt"), "6\r\n");
  EXPECT_EQ(Text("run_7.txt"), "6\r\n");
  EXPECT_EQ(command->AExpNode->GetText(), "Create New File(run_X.txt)");
}

TEST_F(CreateNewFileTest, OtherModesMoveOnByOneAndTheTraceNamesTheNewFile) {
  TMultiExpFile* file = MultiFile(mfOVERWRITE, "2");
  TCreateNewFileScript* command = NewFile(file);
  EXPECT_TRUE(file->PrepareRun());
  EXPECT_EQ(TraceOf(command),
            TTexts{"Creating new file " + Dir() + PathSeparator + "run_3.txt"});
  EXPECT_EQ(command->Execute(), command->Pnextscript);
  EXPECT_EQ(file->GetCurrentIndex(), 4);
  command->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(command), TTexts{});
  command->Execute();
  EXPECT_EQ(file->GetCurrentIndex(), 4);
}

TEST_F(CreateNewFileTest, NoToTheSearchEndsTheRunWithItsMessage) {
  TMultiExpFile* file = MultiFile(mfMAKENEW);
  Files(1, 31);
  Output(file, {{X}});
  NewFile(file);
  Ui.ScriptAnswers({mbNo});
  EXPECT_EQ(RunAll(), (TTexts{"Cannot find a filename that has not been used. Continue looking?",
                              "No file"}));
  const TFakeUiPort::TShown question = Ui.Shown().at(0);
  EXPECT_EQ(question.Caption, "Qorv Warning");
  EXPECT_EQ(question.Buttons, mbYes | mbNo);
  EXPECT_EQ(Text("run_0.txt"), "5\r\n");
  EXPECT_EQ(file->GetStartIndex(), 0);  // the number goes back to the start
}

TEST_F(CreateNewFileTest, TheRecordNamesTheFileThenTheCommand) {
  TMultiExpFile* file = MultiFile(mfMAKENEW);
  TCreateNewFileScript* command = NewFile(file);
  const TBytes record = Cat({I32(100), I32(101), B(false)});
  EXPECT_EQ(Written({command}), record);

  std::vector<TVariable*> waiting;
  auto* read = ReadOne<TCreateNewFileScript>(record, &waiting);
  ASSERT_EQ(waiting.size(), 1u);
  EXPECT_EQ(CheckError(read), NotSet);
  EXPECT_EQ(read->AExpNode->GetText(), "Create New File()");
  EXPECT_FALSE(waiting[0]->ResolveLoadedLink(file, 99));
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(file, 100));
  EXPECT_EQ(CheckError(read), "");
  EXPECT_EQ(read->AExpNode->GetText(), "Create New File(run_X.txt)");
  EXPECT_EQ(read->PreadscriptID, 101);

  // A reference that names a single file cannot move it on.
  auto* wrong = ReadOne<TCreateNewFileScript>(record, &waiting);
  ASSERT_TRUE(waiting[0]->ResolveLoadedLink(SingleFile("one.txt"), 100));
  EXPECT_EQ(CheckError(wrong), NotSet);
  EXPECT_THROW(ReadOne<TCreateNewFileScript>(I32(100)), EReadError);

  // Deleting the file deletes its commands.
  EXPECT_EQ(file->GetUserCount(), 2);
  EXPECT_EQ(Times(Children(Start->AExpNode), "Create New File(run_X.txt)"), 2);
  delete file;
  EXPECT_EQ(Times(Children(Start->AExpNode), "Create New File(run_X.txt)"), 0);
  EXPECT_EQ(Times(Children(Start->AExpNode), "Create New File()"), 1);
}

}  // namespace
