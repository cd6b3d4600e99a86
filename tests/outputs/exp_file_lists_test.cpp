// The lists of data files: their sections byte by byte and read back, damaged sections,
// block export and import (a file already listed takes the imported commands; a failed
// import leaves no file or output behind), the name table, the dialogs' checks, adding
// and editing through the dialogs, and the report.
#include "outputs/exp_file_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "model/data_dialogs.h"
#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/text.h"
#include "model/variable_exp_file.h"
#include "outputs/exp_file_fixture.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/report_lines.h"
#include "scripts/outputs/plot_script.h"
#include "shell/experiment_file.h"

namespace {

const std::string S = std::string(1, PathSeparator);

class ExpFileListsTest : public TDataFileFixture {
protected:
  TBytes SingleRecord(const std::string& path, bool overwrite, bool close, bool name,
                      const TBytes& users) {
    return Cat({StringBytes(ShortFileName(path)), StringBytes(path), B(overwrite), B(close),
                B(name), users});
  }
  TBytes MultiRecord(std::int32_t mode, std::int32_t start, const TBytes& users) {
    return Cat({StringBytes("run_X.txt"), StringBytes(Dir()), StringBytes("run"),
                StringBytes("txt"), I32(mode), I32(start), B(false), B(true), users});
  }
  // The read error of the multiple files' section; "" when it reads.
  std::string LoadError(const TBytes& section) {
    try {
      Multis()->Load(*Reader(section));
    } catch (const EReadError& error) {
      return error.what();
    }
    return "";
  }
};

TEST_F(ExpFileListsTest, SectionsOfExperimentAndBlockFilesReadBackWhole) {
  TSingleExpFile* used = SingleFile("data.txt", false, true, true);
  SingleFile("spare.txt");
  TMultiExpFile* multi = MultiFile(mfOVERWRITE, "7", false, true);
  Output(used, {{X}});
  NewFile(multi);
  const TBytes usedOnce = Cat({I32(1), I32(100)});
  const TBytes usedRecord = SingleRecord(Temp.PathOf("data.txt"), false, true, true, usedOnce);
  EXPECT_EQ(Written([&](TWriteFile& w) { Singles()->Save(w); }),
            Cat({I32(2), usedRecord,
                 SingleRecord(Temp.PathOf("spare.txt"), true, false, false, I32(0))}));
  EXPECT_EQ(Written([&](TWriteFile& w) { Multis()->Save(w); }),
            Cat({I32(1), MultiRecord(mfOVERWRITE, 7, usedOnce)}));

  // A whole experiment file: the files, their users and settings come back (saving again
  // gives the same bytes), the name table and the commands' texts with them.
  std::string error;
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("a.qve"), Exp, Parts, nullptr, error)) << error;
  const TBytes saved = Temp.ReadBytes("a.qve");
  TDrawParts parts;
  auto read = OpenExperimentFile(Temp.PathOf("a.qve"), parts, nullptr, error);
  ASSERT_NE(read, nullptr) << error;
  const auto singles = read->GetSingleExpFileList()->GetFiles();
  ASSERT_EQ(singles.size(), 2u);
  EXPECT_EQ(singles[0]->AExpAttNode->GetText(), "data.txt");
  EXPECT_TRUE(read->GetSingleExpFileList()->Contains(" " + Temp.PathOf("SPARE.txt") + " "));
  const std::string outline = "Output To File (data.txt) | Create New File(run_X.txt) |       ";
  EXPECT_EQ(Outline(read->GetExperimentTree().GetFirstNode()), outline);
  read->SelectFirstBlock();
  ASSERT_TRUE(SaveExperimentFile(Temp.PathOf("a.qve"), *read, parts, nullptr, error)) << error;
  EXPECT_EQ(Temp.ReadBytes("a.qve"), saved);

  // A block export: the two commands (file, x, command 1, file, command 2), then only the
  // files they use, with only the exported users counted.
  Cur = NewBlock("Elsewhere");
  Output(used, {{X}});
  std::vector<TVariable*> exported;
  const TBytes bytes = Written(
      [&](TWriteFile& w) {
        for (int i = 0; i < 2; ++i) ScriptOfNode(Start->AExpNode->Item(i))->Save(w);
        Singles()->SaveBlock(w, Start);
      },
      "w.qrv", &exported);
  const TBytes section = Cat({I32(1), usedRecord});
  ASSERT_GE(bytes.size(), section.size());
  EXPECT_TRUE(std::equal(section.begin(), section.end(), bytes.end() - section.size()));
  // Imported, the block's commands write to the files listed; its variable is the one it
  // was exported from.
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    static_cast<TChangeVarRequest&>(request).ASelectedData = X;
    return 1;
  });
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("s.blk"), Exp, Start, nullptr, error)) << error;
  TBlock* imported = OpenBlockFile(Temp.PathOf("s.blk"), Exp, Parts, {300, 300}, nullptr, error);
  ASSERT_NE(imported, nullptr) << error;
  EXPECT_EQ(Singles()->GetCount(), 2);
  EXPECT_EQ(Multis()->GetCount(), 1);
  EXPECT_EQ(used->GetUserCount(), 3);
  EXPECT_EQ(multi->GetUserCount(), 2);
  EXPECT_EQ(Outline(imported->AExpNode), outline);
}

TEST_F(ExpFileListsTest, AFailedBlockImportLeavesNoOutputOrDataFileBehind) {
  // A block that plots to an output and writes to a single and a numbered file.
  TSingleExpFile* used = SingleFile("data.txt");
  Output(used, {{X}});
  Output(MultiFile(mfMAKENEW), {{X}});
  auto* plot = new TPlotScript(Start, NewNode(Start));
  plot->SetUpYOnly(Exp.GetOutputList()->NewOutput("G", otGRAPH, 1), X, true, 0, nullptr);
  std::string error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("b.blk"), Exp, Start, nullptr, error)) << error;
  const TBytes file = Temp.ReadBytes("b.blk");

  // The other experiment has an output, and the single file, which takes the commands of
  // an import.
  TDrawParts parts;
  TExperiment other;
  TOutput* output = other.GetOutputList()->NewOutput("Kept", otTEXT, 1);
  TSingleExpFileRequest request;
  request.FileName = Temp.PathOf("data.txt");
  TSingleExpFile* listed = other.GetSingleExpFileList()->Create(request);
  const auto asBefore = [&](std::size_t length) {
    EXPECT_EQ(other.GetOutputList()->GetOutputs(), std::vector<TOutput*>{output}) << length;
    EXPECT_EQ(other.GetSingleExpFileList()->GetFiles(), std::vector<TExperimentFile*>{listed})
        << length;
    EXPECT_EQ(other.GetMultiExpFileList()->GetCount(), 0) << length;
    EXPECT_FALSE(listed->HasUsers()) << length;
    EXPECT_EQ(other.GetSingleExpFileList()->Find(Temp.PathOf("data.txt")), listed) << length;
    EXPECT_FALSE(other.HasBlocks()) << length;
    EXPECT_EQ(parts.Count(), 0) << length;
  };
  // Cut anywhere before the device section, the file is refused.
  for (std::size_t length = 0; length + 4 < file.size(); ++length) {
    const TBytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(OpenBlockFile(Temp.WriteBytes("cut.blk", cut), other, parts, {}, nullptr, error),
              nullptr);
    asBefore(length);
  }
  ASSERT_NE(OpenBlockFile(Temp.PathOf("b.blk"), other, parts, {}, nullptr, error), nullptr)
      << error;
  EXPECT_EQ(other.GetOutputList()->GetCount(), 2);
  EXPECT_EQ(other.GetSingleExpFileList()->GetCount(), 1);
  EXPECT_EQ(other.GetMultiExpFileList()->GetCount(), 1);
  EXPECT_EQ(listed->GetUserCount(), 1);
}

TEST_F(ExpFileListsTest, DamagedSectionsEndInReadErrors) {
  EXPECT_EQ(LoadError(I32(1)), "Stream read error");  // no room for the record
  EXPECT_EQ(LoadError(I32(-1)), "Stream read error");
  EXPECT_EQ(LoadError(Cat({I32(1), MultiRecord(3, 0, I32(0))})),
            "Error reading attribute: the mode of the multiple file run_X.txt is 3, not 0, 1 or 2");
  EXPECT_EQ(LoadError(Cat({I32(1), MultiRecord(0, -4, I32(0))})),
            "Error reading attribute: the start number of the multiple file run_X.txt is negative");
  // Users that no reference waits for.
  EXPECT_EQ(LoadError(Cat({I32(1), MultiRecord(0, 0, Cat({I32(1), I32(100)}))})),
            "Error reading attribute");
  const TBytes whole = Cat({I32(1), MultiRecord(0, 0, I32(0))});
  EXPECT_EQ(LoadError(TBytes(whole.begin(), whole.end() - 1)), "Stream read error");
  // Files before version 1.5 have no section: nothing is read.
  auto old = Reader(whole, "Qorv 1.4");
  Multis()->Load(*old);
  EXPECT_EQ(old->BytesLeft(), whole.size());
}

TEST_F(ExpFileListsTest, TheDialogsChecksRefuseWhatCannotBeAFile) {
  SingleFile("taken.txt");
  TSingleExpFileRequest single;
  single.FileName = "  ";
  EXPECT_FALSE(Singles()->CheckEntry(single));
  EXPECT_EQ(single.Focus, TExpFileField::FileName);
  single.FileName = Temp.PathOf("TAKEN.TXT");  // names differing in case are the same
  EXPECT_FALSE(Singles()->CheckEntry(single));
  single.FormerName = UpperText(Temp.PathOf("taken.txt"));  // the edited file keeps its name
  EXPECT_TRUE(Singles()->CheckEntry(single));
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"The filename cannot be empty.", "This filename is already is use."}));

  Ui.Clear();
  MultiFile(mfMAKENEW);
  TMultiExpFileRequest multi;
  const auto refusal = [&](TExpFileField field) {
    EXPECT_FALSE(Multis()->CheckEntry(multi));
    EXPECT_EQ(multi.Focus, field);
  };
  refusal(TExpFileField::Directory);
  multi.Directory = " " + Temp.PathOf("none") + " ";
  refusal(TExpFileField::Directory);
  multi.Directory = Dir() + S + S + S;
  refusal(TExpFileField::BaseName);
  EXPECT_EQ(multi.Directory, Dir());  // cleaned
  multi.BaseName = "run";
  refusal(TExpFileField::Extension);
  multi.Extension = "TXT";
  refusal(TExpFileField::BaseName);
  multi.BaseName = "other";
  EXPECT_TRUE(Multis()->CheckEntry(multi));
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"The directory cannot be empty.",
                    "The directory " + Temp.PathOf("none") + " does not exist.",
                    "The base file name cannot be blank.", "The extension cannot be blank.",
                    "This file name run_X.TXT is already in use.  Please choose another."}));
  EXPECT_EQ(CleanDirectory("a" + S + S + "b" + S), "a" + S + "b");
}

TEST_F(ExpFileListsTest, FilesAreAddedAndEditedThroughTheirDialogs) {
  int shown = 0;
  Ui.SetDialogHandler([&](TDialogRequest& request) {
    ++shown;
    if (auto* single = dynamic_cast<TSingleExpFileRequest*>(&request)) {
      if (single->ShowAdd) {  // two files added, then OK on an empty name: Cancel
        single->FileName = Temp.PathOf("a.txt");
        EXPECT_TRUE(single->List->AddEntry(*single));
        EXPECT_TRUE(single->FileName.empty() && single->Overwrite && single->CloseBetweenWrites);
        single->FileName = Temp.PathOf("b.txt");
        single->Overwrite = false;
        EXPECT_TRUE(single->List->AddEntry(*single));
        return 0;
      }
      EXPECT_EQ(single->FormerName, UpperText(Temp.PathOf("a.txt")));
      single->FileName = " " + Temp.PathOf("c.txt");
      single->WriteFileName = true;
      return 1;
    }
    auto* multi = dynamic_cast<TMultiExpFileRequest*>(&request);
    EXPECT_NE(multi, nullptr);
    if (multi->BaseName.empty()) {
      multi->Directory = Dir();
      multi->BaseName = "run";
      multi->Extension = "dat";
      multi->StartNumber = "12";
      multi->Mode = mfAPPEND;
      return 1;
    }
    multi->BaseName = "scan";
    multi->StartNumber = "x";  // no number: 0
    return 1;
  });
  Singles()->AddNew();
  const auto files = Singles()->GetFiles();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_FALSE(static_cast<TSingleExpFile*>(files[1])->GetOverwrite());
  EXPECT_EQ(files[0]->Edit(), 1);
  EXPECT_EQ(files[0]->GetName(), "c.txt");
  EXPECT_TRUE(files[0]->AbWriteFileName);
  EXPECT_EQ(Singles()->Find(Temp.PathOf("c.txt")), files[0]);
  EXPECT_FALSE(Singles()->Contains(Temp.PathOf("a.txt")));

  Multis()->UserAdd();
  auto* multi = static_cast<TMultiExpFile*>(Multis()->GetFiles().at(0));
  EXPECT_EQ(multi->GetName(), "run_X.dat");
  EXPECT_EQ(multi->GetStartIndex(), 12);
  EXPECT_EQ(multi->GetMode(), mfAPPEND);
  EXPECT_EQ(multi->Edit(), 1);
  EXPECT_EQ(multi->AExpAttNode->GetText(), "scan_X.dat");
  EXPECT_EQ(multi->GetStartIndex(), 0);
  EXPECT_EQ(Multis()->Find(Dir() + S + "scan_X.dat"), multi);
  EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{1, 0}));

  // Nothing is added during a run.
  ExperimentRunning = true;
  Ui.Clear();
  const int before = shown;
  Singles()->UserAdd();
  Singles()->AddNew();
  Multis()->AddNew();
  EXPECT_EQ(shown, before);
  EXPECT_EQ(Ui.Texts(), (TTexts{"Cannot add output while experiment is running",
                                "Cannot add a variable while the experiment is running",
                                "Cannot add a variable while the experiment is running"}));
}

TEST_F(ExpFileListsTest, AMultipleFileIsRefusedDuringARunAsASingleOneIs) {
  int shown = 0;
  Ui.SetDialogHandler([&](TDialogRequest&) { return ++shown, 0; });
  ExperimentRunning = true;
  Multis()->UserAdd();
  Singles()->UserAdd();
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(Ui.Texts(), (TTexts{"Cannot add output while experiment is running",
                                "Cannot add output while experiment is running"}));
  ExperimentRunning = false;
  Multis()->UserAdd();
  EXPECT_EQ(shown, 1);
}

TEST_F(ExpFileListsTest, TheReportListsEachFileWithItsSettings) {
  SingleFile("a.txt", false, true);
  TMultiExpFile* multi = MultiFile(mfAPPEND, "3");
  NewFile(multi);
  NewFile(multi);
  TLines lines;
  Singles()->WriteReport(lines);
  Multis()->WriteReport(lines);
  EXPECT_EQ(lines.Lines, (TTexts{"#" + Temp.PathOf("a.txt"),
                                 "Overwrite? N\tClose? Y\tCommands using: 0",
                                 "#" + Dir() + S + "run_X.txt",
                                 "Append\tClose ? N\tStart Index: 3\tCommands using: 2"}));
  // The file names in bold italics, their settings plainly.
  const TReportStyle name{.Bold = true, .Italic = true};
  EXPECT_EQ(lines.Styles, (std::vector<TReportStyle>{name, {}, name, {}}));
}

}  // namespace
