// "Save As Text" of the text window: exactly the window's text, written whole or not at
// all, with the chooser and messages of the window.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "outputs/text_file.h"
#include "outputs/text_form.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

class TTextFileTest : public ::testing::Test {
protected:
  TTextFileTest() { Text.AddText("1.50\r\n2.50\r\nlast"); }

  std::string Read(const std::string& name) const {
    const TBytes bytes = Temp.ReadBytes(name);
    return {bytes.begin(), bytes.end()};
  }
  TBytes Bytes(const std::string& text) const { return {text.begin(), text.end()}; }

  TFakeUiPort Ui;
  TTempDir Temp;
  TTextForm Text{static_cast<TDeadOutputList*>(nullptr)};
};

}  // namespace

TEST_F(TTextFileTest, ReplacesALongerFileWithExactlyTheText) {
  Temp.WriteBytes("log.txt", Bytes(std::string(5000, 'x')));
  EXPECT_TRUE(SaveTextFile(Text, Temp.PathOf("log.txt")));
  EXPECT_EQ(Read("log.txt"), "1.50\r\n2.50\r\nlast\r\n");
  EXPECT_EQ(Temp.Entries(), 1u);  // no temporary file left beside it
  // ".txt" anywhere in the name will do; an empty window makes an empty file.
  TTextForm empty{static_cast<TDeadOutputList*>(nullptr)};
  EXPECT_TRUE(SaveTextFile(empty, Temp.PathOf("e.txt.bak")));
  EXPECT_EQ(Temp.ReadBytes("e.txt.bak"), TBytes{});
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(TTextFileTest, TheChooserAsksForATextFileAndCancelWritesNothing) {
  Ui.ScriptFiles({""});
  EXPECT_EQ(AskTextFileName(), "");
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  const TFileChoice choice = Ui.FileChoices()[0];
  EXPECT_TRUE(choice.Save);
  EXPECT_EQ(choice.Filter, "Output(*.txt)|*.txt");
  EXPECT_EQ(choice.DefaultExt, "*.txt");
  EXPECT_EQ(choice.FileName, "");
  EXPECT_FALSE(SaveTextFile(Text, ""));
  EXPECT_EQ(Temp.Entries(), 0u);
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(TTextFileTest, BadNamesAndFailedWritesAreReportedAndKeepTheOldFile) {
  // The extension test is case-sensitive.
  EXPECT_FALSE(SaveTextFile(Text, Temp.PathOf("LOG.TXT")));
  EXPECT_FALSE(SaveTextFile(Text, Temp.PathOf("missing/log.txt")));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Invalid Extention", "Cannot Open File"}));
  EXPECT_EQ(Temp.Entries(), 0u);

  // The file may not grow past 1 KiB: the write fails, and the file saved before stays.
  Ui.Clear();
  Temp.WriteBytes("log.txt", Bytes("before"));
  Text.AddText(std::string(4096, '7'));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1024;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = SaveTextFile(Text, Temp.PathOf("log.txt"));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved);
  ASSERT_EQ(Ui.Texts().size(), 1u);
  EXPECT_EQ(Ui.Texts()[0].rfind("Error writing to file: ", 0), 0u) << Ui.Texts()[0];
  EXPECT_EQ(Read("log.txt"), "before");
  EXPECT_EQ(Temp.Entries(), 1u);
}
