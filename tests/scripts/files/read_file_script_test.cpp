// The Read File command: values cut out of text files into number and string arrays, the
// count, files longer than the array, empty or large, missing and unreadable files and
// conversion errors ending the run, the trace and node texts, retypes, and the record
// byte by byte with files of version 1.3 and unresolved references.
#include "scripts/files/read_file_script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"

namespace {

const TTexts Complete = {"Experiment Complete"};

TTexts Elements(TDataArray* array, int count) {
  TTexts texts;
  for (int i = 0; i < count; ++i) texts.push_back(array->GetValueArray().GetElementText(i));
  return texts;
}
std::vector<float> Floats(TDataArray* array, int count) {
  std::vector<float> values;
  for (int i = 0; i < count; ++i)
    values.push_back(static_cast<TValueFloatArray&>(array->GetValueArray()).GetElementFloat(i));
  return values;
}

class ReadFileTest : public TCommandFixture {
protected:
  std::string File(const std::string& name, const std::string& text) {
    std::ofstream(Temp.PathOf(name), std::ios::binary) << text;
    return Temp.PathOf(name);
  }
  // The command alone in B1.
  TReadFileScript* ReadFile(const std::string& path, TDataArray* array, TDataSingle* count,
                            const std::string& delimiter1 = "", const std::string& delimiter2 = "",
                            bool ws = false, bool clean = true) {
    while (TScript* command = B1->GetFirstScript()) delete command;
    auto* read = new TReadFileScript(Cur, NewNode(Cur));
    read->SetUpReadFile(path, array, ws, clean, delimiter1, delimiter2, count);
    return read;
  }
  std::string Counted() { return Count->GetValue().GetText(); }

  TDataSingle* Count = Single(B1, "m", eatINTEGER, "-1");
  TDataArray* Ff = Array(B1, "ff", eatFLOAT, 10);
  TDataArray* Ints = Array(B1, "ints", eatINTEGER, 2);
};

TEST_F(ReadFileTest, ValuesAreCutOutByDelimitersControlsAndBlanks) {
  const auto read = [&](const std::string& text, TDataArray* array, const std::string& d1 = "",
                        const std::string& d2 = "", bool ws = false, bool clean = true) {
    ReadFile(File("in.txt", text), array, Count, d1, d2, ws, clean);
    EXPECT_EQ(RunB1(), Complete) << text;
  };
  read("1.5, 2.5\r\n3.5\n", Ff, ",");  // blanks always delimit in a number array
  EXPECT_EQ(Counted(), "3");
  EXPECT_EQ(Floats(Ff, 4), (std::vector<float>{1.5f, 2.5f, 3.5f, 0.0f}));
  read("1.0D+03;x=7V|2", Ff, ";", "|");
  EXPECT_EQ(Floats(Ff, 3), (std::vector<float>{1000.0f, 7.0f, 2.0f}));
  read("1.0D+03", Ff, "", "", false, false);  // D stays D
  EXPECT_EQ(Floats(Ff, 1), std::vector<float>{1.0f});
  TDataArray* words = Array(B1, "words", eatSTRING, 4);
  read("a b;c d", words, ";");
  EXPECT_EQ(Elements(words, 4), (TTexts{"a b", "c d", "", ""}));
  read("a b;c d", words, ";", "", true);
  EXPECT_EQ(Elements(words, 4), (TTexts{"a", "b", "c", "d"}));

  // More values than the array holds; an empty file keeps the array; a large file.
  read("1 2 3 4", Ints);
  EXPECT_EQ(Elements(Ints, 2), (TTexts{"1", "2"}));
  EXPECT_EQ(Counted(), "2");
  read("", Ints);
  EXPECT_EQ(Elements(Ints, 2), (TTexts{"1", "2"}));
  EXPECT_EQ(Counted(), "0");
  TDataArray* big = Array(B1, "big", eatINTEGER, 30000);
  std::string text;
  for (int i = 0; i < 30000; ++i) text += std::to_string(i) + "\r\n";
  read(text, big);
  EXPECT_EQ(Counted(), "30000");
  EXPECT_EQ(big->GetValueArray().GetElementText(29999), "29999");
}

TEST_F(ReadFileTest, FileAndConversionErrorsEndTheRun) {
  const std::string missing = Temp.PathOf("missing.txt");
  TReadFileScript* command = ReadFile(missing, Ff, Count);
  EXPECT_EQ(RunB1(), TTexts{"Aborting...file " + missing + " does not exist."});
  TTexts trace;
  EXPECT_EQ(ErrorOf([&] { command->ExecuteTrace(trace); }),
            "Aborting...file " + missing + " does not exist.");
  EXPECT_TRUE(trace.empty());
  ReadFile(File("bad.txt", "12 9999999999"), Ints, Count);
  EXPECT_EQ(RunB1(), TTexts{"The value is not an integer. Value is 9999999999."});
  EXPECT_EQ(Ints->GetValueArray().GetElementText(0), "12");
  if (std::filesystem::exists("/proc/self/mem")) {  // there, but reading fails
    ReadFile("/proc/self/mem", Ints, Count);
    EXPECT_EQ(RunB1(), TTexts{"Aborting...Cannot read file /proc/self/mem."});
  }
  EXPECT_EQ(Counted(), "-1");
}

TEST_F(ReadFileTest, TraceTextsAndRetypes) {
  EXPECT_EQ(ReadFile("", Ff, nullptr)->GetText(), "Read Nothing");
  TReadFileScript* command = ReadFile(File("values.txt", "1 2 3"), Ff, Count);
  EXPECT_EQ(command->AExpNode->GetText(), "Read values.txt into ff SC(m)");
  Prepare(B1);
  EXPECT_EQ(TraceOf(command),
            (TTexts{"Storing data count in m.", "Number of values read/array size: 3/10"}));
  command->SetCountVariable(nullptr);
  EXPECT_EQ(TraceOf(command),
            (TTexts{"Not storing data count.", "Number of values read/array size: 3/10"}));
  command->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(command), TTexts{"Comment(Read values.txt into ff SCN)"});
  File("values.txt", "9");
  EXPECT_EQ(command->Execute(), command->Pnextscript);
  EXPECT_EQ(Floats(Ff, 1), std::vector<float>{1.0f});

  command = ReadFile(File("v.txt", "1"), Ints, Count);
  EXPECT_EQ(command->Edit(), 0);
  EXPECT_TRUE(command->GetWSDelimiter());  // an integer array reads blanks as delimiters
  Ints->SetDataType(eatSTRING);            // the array may take any type
  EXPECT_EQ(B1->GetFirstScript(), command);
  Ui.ScriptAnswers({mbYes});
  Count->SetDataType(eatFLOAT);  // the count may not: the command goes
  EXPECT_EQ(B1->GetFirstScript(), nullptr);
}

TEST_F(ReadFileTest, RecordsRoundTripAndRefuseUnresolvedReferences) {
  const std::string path = File("values.txt", "1");
  TReadFileScript* command = ReadFile(path, Ff, Count, ",", "", false, true);
  const TBytes record = Cat({I32(100), B(false), B(true), I32(0), B(true), I32(101),
                             StringBytes(path), B(true), StringBytes(","), B(false), B(true),
                             B(false), I32(102), B(false)});
  std::vector<TVariable*> exported;
  EXPECT_EQ(Written({command}, &exported), record);
  EXPECT_EQ(exported, (std::vector<TVariable*>{command->GetReadVariable(),
                                               command->GetCountVariable()}));
  const auto reread = [&](const TBytes& bytes, TData* array, TData* count,
                          const std::string& version = "Qorv 1.5") {
    std::vector<TVariable*> waiting;
    auto* read = ReadOne<TReadFileScript>(bytes, &waiting, version);
    for (TVariable* reference : waiting) {
      if (array) reference->ResolveLoadedLink(array, 100);
      if (count) reference->ResolveLoadedLink(count, 101);
    }
    return read;
  };
  TReadFileScript* again = reread(record, Ff, Count);
  EXPECT_EQ(CheckError(again), "");
  EXPECT_EQ(Written({again}), record);
  const std::string undefined = "Variable not defined for read file command...aborting read";
  EXPECT_EQ(CheckError(reread(record, nullptr, Count)), undefined);
  EXPECT_EQ(CheckError(reread(record, Count, Count)), undefined);  // not an array
  EXPECT_EQ(CheckError(reread(record, Ff, nullptr)),
            "Count variable not defined for read file command...aborting read");
  // Version 1.3: no options (both on), no commented-out flag; a second delimiter alone.
  TReadFileScript* older = reread(Cat({I32(100), B(false), B(true), I32(0), B(false),
                                       StringBytes(path), B(false), B(true), StringBytes(":"),
                                       I32(101)}),
                                  Ff, nullptr, "Qorv 1.3");
  EXPECT_TRUE(older->GetCleanString() && older->GetWSDelimiter());
  EXPECT_EQ(older->GetDelimiter1() + "|" + older->GetDelimiter2(), "|:");
  EXPECT_EQ(older->GetText(), "Read values.txt into ff SCN");
}

}  // namespace
