// Data files: their names, the lines they receive, when a write creates, truncates or
// appends, how a run numbers a multiple file in each mode and continues it, the search
// for an unused number, the check before a run, the end of a run and write failures.
#include "outputs/exp_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#include "model/errors.h"
#include "outputs/exp_file_fixture.h"
#include "outputs/output.h"
#include "outputs/output_list.h"

namespace {

const std::string S = std::string(1, PathSeparator);

class ExpFileTest : public TDataFileFixture {
protected:
  // Makes the file a user's, so that the check before a run prepares it.
  void Use(TExperimentFile* file) { Output(file, {{X}}); }
  // The run's preparation, lines, then its end, as a run does them.
  void RunWriting(TExperimentFile* file, std::initializer_list<const char*> lines) {
    EXPECT_TRUE(file->PrepareRun());
    for (const char* line : lines) file->WriteLine(line);
    file->Close();
  }
};

TEST_F(ExpFileTest, NamesOfSingleAndMultipleFiles) {
  EXPECT_EQ(ShortFileName("a" + S + "b" + S + "c.txt"), "c.txt");
  EXPECT_EQ(ShortFileName("c.txt"), "c.txt");
  EXPECT_EQ(ShortFileName(""), "");
  EXPECT_EQ(ShortFileName("a" + S + "b" + S), "b" + S);  // the last character is not looked at
  TSingleExpFile* single = SingleFile("data.txt");
  EXPECT_EQ(single->AExpAttNode->GetText(), "data.txt");
  EXPECT_EQ(single->GetFullName(), Temp.PathOf("data.txt"));
  TMultiExpFile* multi = MultiFile(mfMAKENEW, "7");
  EXPECT_EQ(multi->GetName(), "run_X.txt");
  EXPECT_EQ(multi->GetFullName(), Dir() + S + "run_X.txt");
  Use(multi);
  EXPECT_TRUE(multi->PrepareRun());
  EXPECT_EQ(multi->GetFileName(), Dir() + S + "run_7.txt");
}

TEST_F(ExpFileTest, SingleFileOverwritesOncePerRunOrAppends) {
  TSingleExpFile* fresh = SingleFile("fresh.txt", true, true, true);
  Use(fresh);
  Touch("fresh.txt", "older content\r\n");
  const std::string named = Temp.PathOf("fresh.txt") + "\r\n";
  RunWriting(fresh, {"1", "2", "3"});
  EXPECT_EQ(Text("fresh.txt"), named + "1\r\n2\r\n3\r\n");
  RunWriting(fresh, {"4"});  // the next run starts it afresh
  EXPECT_EQ(Text("fresh.txt"), named + "4\r\n");

  TSingleExpFile* appended = SingleFile("log.txt", false, false, true);
  Use(appended);
  Touch("log.txt", "old\r\n");
  RunWriting(appended, {"a", "b"});
  EXPECT_EQ(Text("log.txt"), "old\r\na\r\nb\r\n");  // no name line in an appended file
  std::filesystem::remove(Temp.PathOf("log.txt"));
  RunWriting(appended, {"c"});
  EXPECT_EQ(Text("log.txt"), Temp.PathOf("log.txt") + "\r\nc\r\n");
}

TEST_F(ExpFileTest, MakeNewModeMovesOnOnlyPastFilesWritten) {
  TMultiExpFile* file = MultiFile(mfMAKENEW, "0", true);
  Use(file);
  Files(0, 1);
  EXPECT_TRUE(file->PrepareRun());
  file->WriteLine("a");
  file->WriteLine("b");  // closed between writes: reopened, not truncated
  file->StartNewFile();
  EXPECT_EQ(file->GetCurrentIndex(), 3);
  file->StartNewFile();  // a number never written is kept
  EXPECT_EQ(file->GetCurrentIndex(), 3);
  file->WriteLine("c");
  file->Close();
  EXPECT_EQ(Text("run_2.txt"), "a\r\nb\r\n");
  EXPECT_EQ(Text("run_3.txt"), "c\r\n");
  EXPECT_EQ(file->GetStartIndex(), 3);
}

TEST_F(ExpFileTest, OnlyAFilePreparedForTheRunMovesItsStartNumber) {
  TMultiExpFile* unused = MultiFile(mfMAKENEW, "3");
  Files(3, 5);
  EXPECT_TRUE(unused->PrepareRun());  // no users: not prepared
  unused->Close();
  EXPECT_EQ(unused->GetStartIndex(), 3);
  Use(unused);
  EXPECT_TRUE(unused->PrepareRun());
  unused->Close();  // prepared, though never written: it moves past the used numbers
  EXPECT_EQ(unused->GetStartIndex(), 6);
}

TEST_F(ExpFileTest, OverwriteAndAppendModesAdvanceByOne) {
  TMultiExpFile* overwrite = MultiFile(mfOVERWRITE, "2", false, true);
  Use(overwrite);
  Files(2, 3);
  RunWriting(overwrite, {"a"});
  EXPECT_EQ(Text("run_2.txt"), Dir() + S + "run_2.txt\r\na\r\n");
  EXPECT_TRUE(overwrite->PrepareRun());
  overwrite->WriteLine("b");
  overwrite->StartNewFile();  // to 3, which exists: truncated at its first write
  overwrite->WriteLine("c");
  overwrite->StartNewFile();
  overwrite->Close();
  EXPECT_EQ(Text("run_2.txt"), Dir() + S + "run_2.txt\r\nb\r\n");
  EXPECT_EQ(Text("run_3.txt"), Dir() + S + "run_3.txt\r\nc\r\n");
  EXPECT_EQ(overwrite->GetCurrentIndex(), 4);
  EXPECT_EQ(overwrite->GetStartIndex(), 2);  // only make-new moves the start

  TMultiExpFile* append = MultiFile(mfAPPEND, "0", true, true, "log");
  Use(append);
  Touch("log_0.txt", "old\r\n");
  RunWriting(append, {"a"});
  EXPECT_TRUE(append->PrepareRun());
  append->WriteLine("b");
  append->StartNewFile();
  append->WriteLine("c");
  append->Close();
  EXPECT_EQ(Text("log_0.txt"), "old\r\na\r\nb\r\n");
  EXPECT_EQ(Text("log_1.txt"), Dir() + S + "log_1.txt\r\nc\r\n");
}

TEST_F(ExpFileTest, TheSearchAsksAfterEveryThirtyOneUsedNumbers) {
  TMultiExpFile* file = MultiFile(mfMAKENEW, "0");
  Use(file);
  Files(0, 29);  // 30 used numbers: found without a question
  EXPECT_TRUE(file->PrepareRun());
  EXPECT_EQ(file->GetCurrentIndex(), 30);
  EXPECT_TRUE(Ui.Shown().empty());
  Files(30, 30);  // 31: one question
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(file->PrepareRun());
  EXPECT_EQ(file->GetCurrentIndex(), 31);
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Text, "Cannot find a filename that has not been used. Continue looking?");
  EXPECT_EQ(Ui.Shown()[0].Caption, "Qorv Warning");
  EXPECT_EQ(Ui.Shown()[0].Buttons, mbYes | mbNo);
  Ui.Clear();
  Files(31, 62);  // the second question comes after 31 more
  Ui.ScriptAnswers({mbYes, mbYes});
  EXPECT_TRUE(file->PrepareRun());
  EXPECT_EQ(file->GetCurrentIndex(), 63);
  EXPECT_EQ(Ui.Texts().size(), 2u);
}

TEST_F(ExpFileTest, ARunWithoutAFileNumberIsRefusedWithItsReason) {
  TMultiExpFile* file = MultiFile(mfMAKENEW, "0");
  Use(file);
  Files(0, 30);
  Ui.ScriptAnswers({mbNo});
  Exp.SelectFirstBlock();
  EXPECT_EQ(Exp.Run(), nullptr);
  EXPECT_FALSE(Exp.IsRunning());
  ASSERT_EQ(Ui.Shown().size(), 2u);
  EXPECT_EQ(Ui.Shown()[1].Text, "No file");  // a message, after the question
  EXPECT_EQ(Ui.Shown()[1].Buttons, mbNone);
  EXPECT_EQ(file->GetCurrentIndex(), 0);
  EXPECT_EQ(Exp.GetCurrentBlock(), Start);  // the blank line is back
  // No number is left after the last one: refused as well, with a message.
  Ui.Clear();
  file->SetStartIndex(std::numeric_limits<std::int32_t>::max());
  Touch("run_" + std::to_string(std::numeric_limits<std::int32_t>::max()) + ".txt");
  EXPECT_EQ(Exp.Run(), nullptr);
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Buttons, mbNone);
}

TEST_F(ExpFileTest, TheEndOfARunClosesTheFilesAfterTheOutputsAlsoWhenTheyFail) {
  TMultiExpFile* file = MultiFile(mfOVERWRITE);
  Use(file);
  ASSERT_TRUE(file->PrepareRun());
  file->WriteLine("kept");
  Exp.GetOutputList()->NewOutput("G", otGRAPH, 1);  // its window is made at the end of the run
  // The window cannot be made: the hand-over fails.
  struct TFailingHandOver : TFakeUiPort {
    std::function<void()> Meanwhile;
    void RunInMainThread(const std::function<void()>&) override {
      Meanwhile();
      throw std::runtime_error("no main thread");
    }
  } ui;
  bool openMeanwhile = false;
  ui.Meanwhile = [&] { openMeanwhile = file->IsOpen(); };
  EXPECT_THROW(Exp.ResetOutputsAndFiles(), std::runtime_error);
  EXPECT_TRUE(openMeanwhile);  // the outputs came first
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(Text("run_0.txt"), "kept\r\n");
}

TEST_F(ExpFileTest, TheCheckBeforeARunRefusesMissingDirectories) {
  const std::string missing = Temp.PathOf("missing");
  TSingleExpFileRequest request;
  request.FileName = missing + S + "a.txt";
  TSingleExpFile* single = Singles()->Create(request);
  EXPECT_TRUE(single->PrepareRun());  // no users: not checked
  Use(single);
  EXPECT_FALSE(single->PrepareRun());
  TMultiExpFile* multi = MultiFile(mfMAKENEW);
  Use(multi);
  multi->SetNames(missing, "run", "txt");
  EXPECT_FALSE(multi->PrepareRun());
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"Directory " + missing + S + " does not exist.  Cannot run experiment.",
                    "Directory " + missing + " does not exist.  Cannot run experiment."}));
  request.FileName = "plain.txt";  // no folder: nothing to check
  TSingleExpFile* plain = Singles()->Create(request);
  Use(plain);
  EXPECT_TRUE(plain->PrepareRun());
}

TEST_F(ExpFileTest, AFailedWriteRaisesItsMessageAndTheNextWriteStartsAfresh) {
  TMultiExpFile* file = MultiFile(mfOVERWRITE);
  Use(file);
  EXPECT_TRUE(file->PrepareRun());
  file->WriteLine("kept");
  EXPECT_EQ(Text("run_0.txt"), "kept\r\n");  // on disk while the file is open
  file->SetNames(Temp.PathOf("gone"), "run", "txt");
  file->StartNewFile();
  try {
    file->WriteLine("lost");
    ADD_FAILURE() << "no failure";
  } catch (const EFileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Error Writing to file, " + Temp.PathOf("gone") + S + "run_1.txtabort writing.");
  }
  EXPECT_FALSE(file->IsOpen());
  std::filesystem::create_directory(Temp.PathOf("gone"));
  file->WriteLine("again");
  file->Close();
  EXPECT_EQ(Text("gone" + S + "run_1.txt"), "again\r\n");
}

}  // namespace
