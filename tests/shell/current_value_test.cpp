// The current-value box: the lines of single and array variables, comma text, values read
// while a run writes them, and saving the box to a text file.
#include "shell/current_value.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "model/attribute_type.h"
#include "model/data_list.h"
#include "model/value.h"
#include "model/value_array.h"
#include "support/experiment_fixture.h"

namespace {

TBytes Bytes(const std::string& text) { return TBytes(text.begin(), text.end()); }

class CurrentValueTest : public TExperimentFixture {
protected:
  TBlock* Block = AddBlock("B");
};

TEST_F(CurrentValueTest, CommaTextSplitsAtCommasAndBlanksOutsideQuotes) {
  EXPECT_EQ(SplitCommaText("A 1,2,3"), (TTexts{"A", "1", "2", "3"}));
  EXPECT_EQ(SplitCommaText("  s \"a b\",\"c,d\" , \"say \"\"hi\"\"\""),
            (TTexts{"s", "a b", "c,d", "say \"hi\""}));
  EXPECT_EQ(SplitCommaText("a,,b"), (TTexts{"a", "", "b"}));  // an empty element stays
  EXPECT_EQ(SplitCommaText(",a"), (TTexts{"", "a"}));
  EXPECT_EQ(SplitCommaText("a,"), TTexts{"a"});
  EXPECT_EQ(SplitCommaText("\"open"), TTexts{"open"});  // an unclosed quote ends the text
  EXPECT_EQ(SplitCommaText("\t\r\n"), TTexts{});
  EXPECT_EQ(SplitCommaText(""), TTexts{});
}

TEST_F(CurrentValueTest, ArraysGiveALineForTheNameAndEachElement) {
  TDataArray* a = Array(Block, "A", eatINTEGER, 3);
  EXPECT_EQ(CurrentValueLines(*a), TTexts{"A"});  // no element written yet
  for (int i = 0; i < 3; ++i) a->GetValueArray().SetElementNumber(i + 1, i);
  EXPECT_EQ(CurrentValueLines(*a), (TTexts{"A", "1", "2", "3"}));
  TDataSingle* x = Single(Block, "x", eatFLOAT);
  EXPECT_EQ(CurrentValueLines(*x), TTexts{"x No current value"});
  TDataSingle* s = Single(Block, "s", eatSTRING);
  s->GetValue().SetText("two words, a comma");
  EXPECT_EQ(CurrentValueLines(*s), TTexts{"s two words, a comma"});  // one line, unsplit

  // Each variable shown goes in front of the lines already in the box.
  TCurrentValueBox box;
  box.Show(*s);
  box.Show(*a);
  EXPECT_EQ(box.GetLines(), (TTexts{"A", "1", "2", "3", "s two words, a comma"}));
  box.Clear();
  EXPECT_TRUE(box.GetLines().empty());
}

TEST_F(CurrentValueTest, ValuesReadDuringARunAreNeverHalfWritten) {
  TDataArray* a = Array(Block, "A", eatINTEGER, 50);
  for (std::int32_t i = 0; i < 50; ++i) a->GetValueArray().SetElementNumber(-1, i);
  std::atomic<bool> stop{false};
  // The run writes every element of the array as one value, again and again.
  std::thread run([&] {
    for (std::int32_t round = 0; !stop; ++round) {
      const auto lock = a->LockValues();
      for (std::int32_t i = 0; i < 50; ++i) a->GetValueArray().SetElementNumber(round, i);
    }
  });
  bool whole = true;
  for (int read = 0; read < 200 && whole; ++read) {
    const TTexts lines = CurrentValueLines(*a);
    whole = lines.size() == 51 && std::count(lines.begin() + 1, lines.end(), lines[1]) == 50;
    EXPECT_TRUE(whole) << "read " << read;
  }
  stop = true;
  run.join();
}

TEST_F(CurrentValueTest, TheBoxSavesToATextFileWhole) {
  TDataArray* a = Array(Block, "A", eatINTEGER, 2);
  a->GetValueArray().SetElementNumber(7, 0);
  a->GetValueArray().SetElementNumber(8, 1);
  TCurrentValueBox box;
  box.Show(*a);
  Ui.ScriptFiles({Temp.PathOf("values.txt")});
  EXPECT_TRUE(box.Save(Temp.PathOf("dir")));
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  const TFileChoice choice = Ui.FileChoices()[0];
  EXPECT_TRUE(choice.Save);
  EXPECT_EQ(choice.Filter, "Text (*.txt) | *.txt");
  EXPECT_EQ(choice.DefaultExt, "txt");
  EXPECT_EQ(choice.InitialDir, Temp.PathOf("dir"));
  EXPECT_EQ(Temp.ReadBytes("values.txt"), Bytes("A\r\n7\r\n8\r\n"));

  // Cancelled: nothing written. An empty box gives an empty file.
  Ui.ScriptFiles({""});
  EXPECT_FALSE(box.Save(""));
  TCurrentValueBox empty;
  Ui.ScriptFiles({Temp.PathOf("empty.txt")});
  EXPECT_TRUE(empty.Save(""));
  EXPECT_TRUE(std::filesystem::exists(Temp.PathOf("empty.txt")));
  EXPECT_EQ(std::filesystem::file_size(Temp.PathOf("empty.txt")), 0u);

  // A file that cannot be written leaves what was there and says why.
  std::filesystem::create_directory(Temp.PathOf("taken.txt"));
  const std::size_t entries = Temp.Entries();
  Ui.ScriptFiles({Temp.PathOf("taken.txt"), Temp.PathOf("no/such/dir.txt")});
  EXPECT_FALSE(box.Save(""));
  EXPECT_FALSE(box.Save(""));
  ASSERT_EQ(Ui.Texts().size(), 2u);
  EXPECT_EQ(Ui.Texts()[0].rfind("Error writing to file:Cannot write file", 0), 0u) << Ui.Texts()[0];
  EXPECT_EQ(Ui.Texts()[1].rfind("Error writing to file:Cannot create file", 0), 0u)
      << Ui.Texts()[1];
  EXPECT_TRUE(std::filesystem::is_directory(Temp.PathOf("taken.txt")));
  EXPECT_EQ(Temp.Entries(), entries);  // no half-written file left beside it
  EXPECT_EQ(Temp.ReadBytes("values.txt"), Bytes("A\r\n7\r\n8\r\n"));
}

}  // namespace
