// MAT import: arrays read lazily, refused or empty ones named, the "Read As" choices
// making the entries with their texts and rows, the entries becoming transfer series that
// graph and table windows import.
#include "outputs/mat_import.h"

#include <gtest/gtest.h>
#include <matio.h>

#include <memory>
#include <string>
#include <vector>

#include "outputs/graph_form.h"
#include "outputs/mat_file.h"
#include "outputs/output_form.h"
#include "outputs/table_form.h"
#include "support/fake_ui_port.h"
#include "support/scipy_files.h"
#include "support/temp_dir.h"

namespace {

using TEntries = std::vector<std::unique_ptr<TMatLabData>>;

// The fixtures' A (A(r, c) = 10 r + c + 0.5, 4 x 3) as a MAT 7.3 file, which SciPy does
// not write.
bool WriteVersion73(const std::string& path) {
  std::vector<double> values;
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 4; ++r) values.push_back(10 * r + c + 0.5);
  mat_t* file = Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT73);
  if (!file) return false;
  size_t dims[2] = {4, 3};
  matvar_t* var = Mat_VarCreate("A", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims, values.data(), 0);
  const bool written = var && Mat_VarWrite(file, var, MAT_COMPRESSION_NONE) == 0;
  Mat_VarFree(var);
  return Mat_Close(file) == 0 && written;
}

class MatImportTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(SciPyMissing(), "");
    ASSERT_EQ(MakeSciPyFixtures(Temp.Path().string()), "");
  }
  std::vector<std::string> Texts(const TEntries& entries) const {
    std::vector<std::string> texts;
    for (const auto& e : entries) texts.push_back(e->EntryText());
    return texts;
  }

  TFakeUiPort Ui;
  TTempDir Temp;
};

TEST_F(MatImportTest, PairsColumnOneAndRowChoicesMakeTheEntriesAndSeries) {
  TImportMatLab p(Temp.PathOf("pairs.mat"), "P");
  ASSERT_TRUE(p.Read());
  EXPECT_EQ(p.GetColumnPreview(2),
            (std::vector<std::string>{"1000", "1001", "1002", "1003", "1004", "1005", "1006",
                                      "1007", "1008", "1009"}));
  EXPECT_TRUE(p.GetColumnPreview(4).empty());
  std::int32_t first = -1, count = -1;
  MatChosenRows(p.Rows(), 0, 0, first, count);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(count, 100);
  TEntries entries;
  AddMatDataSets(p, TMatReadAs::XYPairs, -1, -1, first, count, entries);
  EXPECT_EQ(Texts(entries),
            (std::vector<std::string>{"P :1 vs 2: Rows 1 to 100", "P :3 vs 4: Rows 1 to 100"}));
  const std::unique_ptr<TTransferData> data = MakeMatTransfer(entries);
  ASSERT_EQ(data->GetTSCount(), 2);
  TTransferSeries* second = data->GetSeries(1);
  EXPECT_EQ(second->Name, "P :3 vs 4: Rows 1 to 100");
  EXPECT_EQ(second->XName, "P :2");
  EXPECT_EQ(second->YName, "P :3");
  ASSERT_EQ(second->GetCount(), 100);
  EXPECT_EQ(second->GetX(99), 1099.0f);
  EXPECT_EQ(second->GetY(99), 49.5f);

  entries.clear();
  AddMatDataSets(p, TMatReadAs::Column1IsX, -1, -1, first, count, entries);
  EXPECT_EQ(Texts(entries),
            (std::vector<std::string>{"P :1 vs 2: Rows 1 to 100", "P :1 vs 3: Rows 1 to 100",
                                      "P :1 vs 4: Rows 1 to 100"}));

  // Start row 90 with "End": rows 90 to 100; start 5 with the end item 3 (row 8): 4 rows.
  entries.clear();
  MatChosenRows(p.Rows(), 90, 0, first, count);
  AddMatDataSets(p, TMatReadAs::Individually, 3, 1, first, count, entries);
  MatChosenRows(p.Rows(), 5, 3, first, count);
  AddMatDataSets(p, TMatReadAs::Individually, 0, 2, first, count, entries);
  EXPECT_EQ(Texts(entries),
            (std::vector<std::string>{"P :4 vs 2: Rows 90 to 100", "P :1 vs 3: Rows 5 to 8"}));
  const std::unique_ptr<TTransferData> rows = MakeMatTransfer(entries);
  ASSERT_EQ(rows->GetSeries(0)->GetCount(), 11);
  EXPECT_EQ(rows->GetSeries(0)->GetX(0), 44.5f);
  EXPECT_EQ(rows->GetSeries(0)->GetY(10), 198.0f);
  ASSERT_EQ(rows->GetSeries(1)->GetCount(), 4);
  EXPECT_EQ(rows->GetSeries(1)->GetY(0), 1004.0f);
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_EQ(MakeMatTransfer({}), nullptr);
}

TEST_F(MatImportTest, RefusalsAddNothingAndSayWhy) {
  TImportMatLab a(Temp.PathOf("v5.mat"), "A");
  TEntries entries;
  AddMatDataSets(a, TMatReadAs::XYPairs, -1, -1, 0, 4, entries);
  AddMatDataSets(a, TMatReadAs::Individually, -1, 1, 0, 4, entries);
  AddMatDataSets(a, TMatReadAs::Individually, 0, -1, 0, 4, entries);
  Ui.ScriptAnswers({mbNo, mbYes});
  AddMatDataSets(a, TMatReadAs::Individually, 1, 1, 0, 4, entries);
  EXPECT_TRUE(entries.empty());
  AddMatDataSets(a, TMatReadAs::Individually, 1, 1, 0, 4, entries);
  EXPECT_EQ(Texts(entries), (std::vector<std::string>{"A :2 vs 2: Rows 1 to 4"}));
  EXPECT_EQ(Ui.Texts(),
            (std::vector<std::string>{
                "Uneven number of columns, please choose another method.",
                "You must select a X Column.", "You must select a YColumn.",
                "The X column and Y column are the same, do you really wish to do this?",
                "The X column and Y column are the same, do you really wish to do this?"}));
  EXPECT_EQ(Ui.Shown()[3].Caption, "Import Data Warning");

  Ui.Clear();
  entries.clear();
  TImportMatLab e(Temp.PathOf("v5.mat"), "E");
  EXPECT_FALSE(e.Read());
  AddMatDataSets(e, TMatReadAs::Column1IsX, -1, -1, 0, 0, entries);
  TImportMatLab s(Temp.PathOf("v5.mat"), "S");
  AddMatDataSets(s, TMatReadAs::XYPairs, -1, -1, 0, 1, entries);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Array E is empty", "Array E is empty",
                                                  "Array S cannot be imported: it holds text."}));
  EXPECT_TRUE(s.GetColumnPreview(0).empty());
}

TEST_F(MatImportTest, EveryVersionImportsIntoAGraphAndATable) {
  ASSERT_TRUE(WriteVersion73(Temp.PathOf("v73.mat")));
  for (const char* name : {"v4.mat", "v5.mat", "v5z.mat", "v73.mat"}) {
    TImportMatLab array(Temp.PathOf(name), "A");
    TEntries entries;
    AddMatDataSets(array, TMatReadAs::Column1IsX, -1, -1, 0, 4, entries);
    ASSERT_EQ(entries.size(), 2u) << name;
    std::unique_ptr<TTransferData> data = MakeMatTransfer(entries);
    TGraphForm graph{static_cast<TDeadOutputList*>(nullptr)};
    TTableForm table{static_cast<TDeadOutputList*>(nullptr)};
    // Imported series follow those the window holds already.
    const std::int32_t g = graph.SeriesCount(), t = table.SeriesCount();
    graph.ImportData(data.get());
    table.ImportData(data.get());
    ASSERT_EQ(graph.SeriesCount(), g + 2) << name;
    ASSERT_EQ(table.SeriesCount(), t + 2) << name;
    EXPECT_EQ(graph.GetSeries(g + 1).Y, (std::vector<double>{2.5, 12.5, 22.5, 32.5})) << name;
    EXPECT_EQ(graph.GetSeries(g + 1).Name, "A :0 vs A :2");
    EXPECT_EQ(table.GetSeries(t).X, (std::vector<float>{0.5f, 10.5f, 20.5f, 30.5f})) << name;
    EXPECT_EQ(table.GetSeries(t).Name, "A :1 vs 2: Rows 1 to 4");
  }
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(MatImportTest, AddingStopsAtTheSeriesAWindowHolds) {
  const std::string path = Temp.PathOf("wide.mat");
  ASSERT_TRUE(WriteMatArray(path, "W", 2, 60, std::vector<double>(120, 1.0)));
  TImportMatLab wide(path, "W");
  TEntries entries;
  AddMatDataSets(wide, TMatReadAs::XYPairs, -1, -1, 0, 2, entries);
  EXPECT_EQ(entries.size(), 25u);
  EXPECT_EQ(entries.back()->EntryText(), "W :49 vs 50: Rows 1 to 2");
  AddMatDataSets(wide, TMatReadAs::Individually, 0, 1, 0, 2, entries);
  EXPECT_EQ(entries.size(), 25u);
  EXPECT_EQ(Ui.Texts(),
            (std::vector<std::string>{"At most 25 data sets can be imported: 5 were left out.",
                                      "At most 25 data sets can be imported: 1 were left out."}));
}

TEST_F(MatImportTest, IntegerAndComplexArraysImportAsDoublesAndRealParts) {
  TImportMatLab i(Temp.PathOf("v5.mat"), "I");
  TImportMatLab c(Temp.PathOf("v5.mat"), "C");
  TEntries entries;
  AddMatDataSets(i, TMatReadAs::XYPairs, -1, -1, 0, 3, entries);
  AddMatDataSets(c, TMatReadAs::XYPairs, -1, -1, 0, 1, entries);
  const std::unique_ptr<TTransferData> data = MakeMatTransfer(entries);
  ASSERT_EQ(data->GetTSCount(), 2);
  EXPECT_EQ(data->GetSeries(0)->GetX(2), 5.0f);
  EXPECT_EQ(data->GetSeries(0)->GetY(2), -6.0f);
  EXPECT_EQ(data->GetSeries(1)->GetX(0), 1.5f);
  EXPECT_EQ(data->GetSeries(1)->GetY(0), -3.25f);
}

}  // namespace
