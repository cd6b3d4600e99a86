// MAT export: the ranges moved between the lists keep one row count, the save checks
// (array names other readers can use) and asks before overwriting, the matrix of X and Y
// columns reaches SciPy as written, and a failed write says so, reports no success and
// leaves the file as it was.
#include "outputs/mat_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "outputs/graph_form.h"
#include "outputs/output_form.h"
#include "outputs/table_form.h"
#include "support/fake_ui_port.h"
#include "support/scipy_files.h"
#include "support/temp_dir.h"

namespace {

const char* const EqualRows =
    "The remaining items cannot be moved because MatLab arrays\r"
    "require that all series have the same number of rows";

// A file's bytes; empty when it is missing.
std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Titles(const std::vector<TCopyObject>& ranges) {
  std::vector<std::string> titles;
  for (const TCopyObject& r : ranges) titles.push_back(r.Name());
  return titles;
}

class MatExportTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(SciPyMissing(), ""); }
  // A table with data sets of the given point counts, set s holding (s + i, 10 s - i).
  void Fill(const std::vector<int>& counts) {
    for (std::size_t s = 0; s < counts.size(); ++s) {
      TTableDataSet& set = Table.NewDataSet("S" + std::to_string(s), false);
      for (int i = 0; i < counts[s]; ++i)
        set.AddPoint(static_cast<double>(s) + i, 10.0 * static_cast<double>(s) - i);
      Lists.Offer(set.Name, static_cast<std::int32_t>(s), counts[s]);
    }
  }
  std::string Bytes(const std::string& name) const {
    const TBytes b = Temp.ReadBytes(name);
    return std::string(b.begin(), b.end());
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TTableForm Table{static_cast<TDeadOutputList*>(nullptr)};
  TMatExportLists Lists;
};

TEST_F(MatExportTest, RangesOfAnotherRowCountStayWithOneMessage) {
  Fill({100, 120, 100, 0});
  ASSERT_EQ(Lists.Series.size(), 3u) << "a series without points is not offered";
  EXPECT_EQ(Lists.Series[1].GetListText(), "S1 1 to 120 (120 rows)");
  Lists.AddAll();
  EXPECT_EQ(Titles(Lists.SeriesSave), (std::vector<std::string>{"S0", "S2"}));
  EXPECT_EQ(Titles(Lists.Series), (std::vector<std::string>{"S1"}));
  EXPECT_EQ(Lists.PointSpread, 100);
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{EqualRows}));

  EXPECT_EQ(Lists.MoveDown(0), 1);
  EXPECT_EQ(Lists.MoveDown(1), 1);
  EXPECT_EQ(Titles(Lists.SeriesSave), (std::vector<std::string>{"S2", "S0"}));
  Lists.RemoveSelected({0, 1, 7});
  EXPECT_EQ(Lists.PointSpread, -1);
  EXPECT_EQ(Titles(Lists.Series), (std::vector<std::string>{"S1", "S2", "S0"}));

  // "Add Selected": the first sets the row count, the other count stays, one message.
  Ui.Clear();
  Lists.AddSelected({2, 0, 1});
  EXPECT_EQ(Titles(Lists.SeriesSave), (std::vector<std::string>{"S1"}));
  EXPECT_EQ(Titles(Lists.Series), (std::vector<std::string>{"S2", "S0"}));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{EqualRows}));
  Lists.RemoveAll();
  EXPECT_TRUE(Lists.SeriesSave.empty());
  EXPECT_EQ(Lists.PointSpread, -1);
}

TEST_F(MatExportTest, EditedRangesKeepTheCommonRowCount) {
  Fill({10, 10, 6});
  Lists.EditPoints(0, false, 2, 4);
  EXPECT_EQ(Lists.Series[0].GetListText(), "S0 3 to 5 (3 rows)");
  EXPECT_FALSE(Lists.EditsStartOnly(0, false));
  Lists.AddSelected({0});
  EXPECT_EQ(Lists.PointSpread, 3);
  // A lone chosen range sets the common count; with two, only the start moves.
  EXPECT_FALSE(Lists.EditsStartOnly(0, true));
  Lists.EditPoints(0, true, 0, 5);
  EXPECT_EQ(Lists.PointSpread, 6);
  Lists.AddAll();
  EXPECT_EQ(Titles(Lists.SeriesSave), (std::vector<std::string>{"S0", "S2"}));
  EXPECT_EQ(Titles(Lists.Series), (std::vector<std::string>{"S1"}));
  EXPECT_TRUE(Lists.EditsStartOnly(1, true));
  Lists.EditPoints(0, true, 4, 0);
  EXPECT_EQ(Lists.SeriesSave[0].GetListText(), "S0 5 to 10 (6 rows)");
  Lists.EditPoints(0, true, 5, 0);  // 6 rows from row 6 would pass row 10: refused
  EXPECT_EQ(Lists.SeriesSave[0].GetListText(), "S0 5 to 10 (6 rows)");
  EXPECT_EQ(Lists.PointSpread, 6);
}

TEST_F(MatExportTest, TwoRangesOfThreeRowsReachSciPyAsAThreeByFourMatrix) {
  Fill({3, 5});
  Lists.EditPoints(1, false, 1, 3);
  Lists.AddAll();
  const std::string path = Temp.PathOf("out.mat");
  ASSERT_TRUE(Lists.Save(Table, "  Data ", " " + path));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Data saved to " + path + " array Data."}));
  // Columns: X and Y of S0 rows 0-2, then X and Y of S1 rows 1-3.
  EXPECT_EQ(SciPyLoad(path), "Data 3 x 4: 0.0 1.0 2.0 0.0 -1.0 -2.0 2.0 3.0 4.0 9.0 8.0 7.0\n");

  // Written twice: one array, the later one.
  Ui.Clear();
  Lists.RemoveAll();
  Lists.AddSelected({0});
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(Lists.Save(Table, "Data", path));
  EXPECT_EQ(SciPyLoad(path), "Data 3 x 2: 0.0 1.0 2.0 0.0 -1.0 -2.0\n");
  EXPECT_EQ(Ui.Texts().front(),
            "The name Data is already in use.\r"
            "The data will be overwritten if you continue.  Do you wish to continue?");
}

TEST_F(MatExportTest, AnArrayOfTheSameNameInAnotherCaseIsAskedAbout) {
  Fill({2});
  Lists.AddAll();
  const std::string path = Temp.PathOf("data.mat");
  ASSERT_TRUE(WriteMatLabMatrix(path, "DATA", 1, 1, {5}));
  const std::string before = Bytes("data.mat");
  Ui.ScriptAnswers({mbNo, mbYes});
  EXPECT_FALSE(Lists.Save(Table, "Data", path));
  EXPECT_EQ(Bytes("data.mat"), before);
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Caption, "Qorv Warning");
  EXPECT_EQ(Ui.Shown()[0].Buttons, mbYes | mbNo);
  EXPECT_TRUE(Lists.Save(Table, "Data", path));
  EXPECT_EQ(SciPyLoad(path), "DATA 1 x 1: 5.0\nData 2 x 2: 0.0 1.0 0.0 -1.0\n");
}

TEST_F(MatExportTest, RefusalsAndFailuresWriteNothingAndReportNoSuccess) {
  EXPECT_FALSE(Lists.Save(Table, "Data", Temp.PathOf("x.mat")));
  Fill({2});
  Lists.AddAll();
  EXPECT_FALSE(Lists.Save(Table, "  ", Temp.PathOf("x.mat")));
  EXPECT_FALSE(Lists.Save(Table, "Data", " "));
  EXPECT_EQ(Ui.Texts(),
            (std::vector<std::string>{"Nothing to save.", "You must enter an array name",
                                      "You must enter a file name"}));

  // A read-only MAT file, a text file and a folder that does not exist.
  const std::string readOnly = Temp.PathOf("ro.mat");
  ASSERT_TRUE(WriteMatLabMatrix(readOnly, "Old", 1, 1, {1}));
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  const std::string text = Temp.WriteBytes("text.mat", TBytes{'a', 'b', 'c'});
  for (const std::string& path : {readOnly, text, Temp.PathOf("none/new.mat")}) {
    const std::string before = FileBytes(path);
    Ui.Clear();
    EXPECT_FALSE(Lists.Save(Table, "Data", path)) << path;
    ASSERT_FALSE(Ui.Texts().empty());
    EXPECT_EQ(Ui.Texts().front(), "Error creating/openning file.") << path;
    for (const std::string& shown : Ui.Texts())
      EXPECT_EQ(shown.find("Data saved to"), std::string::npos) << shown;
    EXPECT_EQ(FileBytes(path), before) << path;
  }
  EXPECT_EQ(Temp.Entries(), 2u) << "no copy left behind";
}

TEST_F(MatExportTest, AnArrayNameOtherReadersCannotUseIsRefusedAndNothingWritten) {
  Fill({2});
  Lists.AddAll();
  const std::string path = Temp.PathOf("names.mat");
  const std::string longest(63, 'a');
  for (const std::string& name : {std::string("my data"), std::string("2nd"), std::string("_x"),
                                  std::string("volts-1"), std::string("d\xc3\xa9" "bit"),
                                  longest + "b"}) {
    Ui.Clear();
    EXPECT_FALSE(Lists.Save(Table, name, path)) << name;
    ASSERT_EQ(Ui.Shown().size(), 1u) << name;
    EXPECT_EQ(Ui.Texts()[0], "The array name " + name +
                                 " cannot be used: it must begin with a letter, hold only "
                                 "letters, digits and \"_\", and have at most 63 characters");
    EXPECT_EQ(Ui.Shown()[0].Caption, "");
    EXPECT_EQ(Ui.Shown()[0].Kind, TMessageKind::Information);
    EXPECT_FALSE(std::filesystem::exists(path)) << name;
  }
  EXPECT_EQ(Lists.SeriesSave.size(), 1u) << "the chosen ranges stay";
  // Trimmed first; letters, digits and "_" up to 63 characters are written.
  for (const std::string& name : {std::string(" Run_2 "), "Z" + std::string(62, '_')}) {
    EXPECT_TRUE(Lists.Save(Table, name, path)) << name;
  }
  EXPECT_EQ(SciPyLoad(path), "Run_2 2 x 2: 0.0 1.0 0.0 -1.0\nZ" + std::string(62, '_') +
                                 " 2 x 2: 0.0 1.0 0.0 -1.0\n");
}

TEST_F(MatExportTest, AGraphRefusesMoreThan500000ValuePairs) {
  TGraphForm graph{static_cast<TDeadOutputList*>(nullptr)};
  TTransferData data;
  for (int s = 0; s < 3; ++s) {
    TTransferSeries* series = data.AddSeries("G" + std::to_string(s), 200000);
    for (int i = 0; i < 200000; ++i) series->SetPoint(i, static_cast<float>(i), 1.0f);
  }
  graph.ImportData(&data);
  for (int s = 0; s < 3; ++s) Lists.Offer("G", s, 200000);
  Lists.AddAll();
  EXPECT_FALSE(Lists.Save(graph, "Big", Temp.PathOf("big.mat")));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Too many points to save in one matlab matrix"}));
  EXPECT_FALSE(std::filesystem::exists(Temp.PathOf("big.mat")));

  Ui.Clear();
  Lists.Prepare();
  for (int s = 0; s < 2; ++s) Lists.Offer("G", s, 200000);
  Lists.AddAll();
  EXPECT_TRUE(Lists.Save(graph, "Big", Temp.PathOf("big.mat")));
}

}  // namespace
