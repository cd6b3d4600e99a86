// The import wizard's work without its pages: rows chosen, lines split at a delimiter or
// cut at fixed-width marks, and data sets made of the columns with the list's names.
#include "outputs/import_columns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_ui_port.h"

namespace {

using Lines = std::vector<std::string>;

TEST(ImportColumnsTest, RowsFromTheStartRowToTheEndOrACount) {
  const Lines five{"1,2", "2,4", "3,6", "4,8", "5,10"};
  EXPECT_EQ(ChooseImportLines(five, 0, 0), five);
  EXPECT_EQ(ChooseImportLines(five, 2, 0), (Lines{"2,4", "3,6", "4,8", "5,10"}));
  EXPECT_EQ(ChooseImportLines(five, 2, 2), (Lines{"2,4", "3,6"}));
  EXPECT_EQ(ChooseImportLines(five, 5, 9), Lines{"5,10"});
  EXPECT_EQ(ChooseImportLines({}, 1, 0), Lines{});
}

TEST(ImportColumnsTest, DelimitedLinesFillShortRowsWithEmptyCells) {
  const TImportColumns columns = SplitDelimited({"1;2;3", "4", "5;6"}, ";");
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[0], (Lines{"1", "4", "5"}));
  EXPECT_EQ(columns[1], (Lines{"2", "", "6"}));
  EXPECT_EQ(columns[2], (Lines{"3", "", ""}));
  EXPECT_TRUE(SplitDelimited({"1,2"}, "").empty());
}

TEST(ImportColumnsTest, FixedWidthCutsExactlyAtTheMarks) {
  TFakeUiPort ui;
  const TImportColumns columns = SplitFixedWidth({"  5 1234", "123 5678"}, {3});
  ASSERT_EQ(columns.size(), 2u);
  EXPECT_EQ(columns[0], (Lines{"  5", "123"}));
  EXPECT_EQ(columns[1], (Lines{" 1234", " 5678"}));
  TImportSets sets(columns);
  ASSERT_TRUE(sets.AddXYPairs());
  const TTransferSeries& set = sets.Entry(0);
  ASSERT_EQ(set.GetCount(), 2);
  EXPECT_EQ(set.GetX(0), 5.0f);
  EXPECT_EQ(set.GetX(1), 123.0f);
  EXPECT_EQ(set.GetY(0), 1234.0f);
  EXPECT_EQ(set.GetY(1), 5678.0f);

  // Marks in any order, a repeated one or one past a short line's end.
  const TImportColumns three = SplitFixedWidth({"abcdefgh", "ab"}, {6, 2, 2, 0});
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[0], (Lines{"ab", "ab"}));
  EXPECT_EQ(three[1], (Lines{"cdef", ""}));
  EXPECT_EQ(three[2], (Lines{"gh", ""}));
  EXPECT_EQ(SplitFixedWidth({"abc"}, {}), (TImportColumns{{"abc"}}));
  // Characters, not bytes: "°C" is two characters.
  const TImportColumns units = SplitFixedWidth({"1.5°C 20"}, {5});
  EXPECT_EQ(units[0], Lines{"1.5°C"});
  EXPECT_EQ(units[1], Lines{" 20"});
}

TEST(ImportColumnsTest, PairsAndColumnOneAgainstTheRestNameTheirEntries) {
  TFakeUiPort ui;
  TImportSets pairs(
      SplitDelimited(ChooseImportLines({"1,2", "2,4", "3,6", "4,8", "5,10"}, 2, 0), ","));
  ASSERT_TRUE(pairs.CanPair());
  ASSERT_TRUE(pairs.AddXYPairs());
  ASSERT_EQ(pairs.Count(), 1);
  EXPECT_EQ(pairs.Entry(0).Name, "Import Column 1 vs Column 2");
  EXPECT_EQ(pairs.Entry(0).GetCount(), 4);
  EXPECT_EQ(pairs.Entry(0).GetY(3), 10.0f);

  TImportSets three(SplitDelimited({"1,2,3", "4,5,6"}, ","));
  EXPECT_FALSE(three.CanPair());
  EXPECT_FALSE(three.AddXYPairs());
  ASSERT_TRUE(three.AddColumn1VsRest());
  ASSERT_EQ(three.Count(), 2);
  EXPECT_EQ(three.Entry(0).Name, "Import Column 1 vs2");
  EXPECT_EQ(three.Entry(1).Name, "Import Column 1 vs3");
  EXPECT_EQ(three.Entry(1).GetX(1), 4.0f);
  EXPECT_EQ(three.Entry(1).GetY(1), 6.0f);
  // Choosing again replaces the entries.
  ASSERT_TRUE(three.AddColumn1VsRest());
  EXPECT_EQ(three.Count(), 2);
  EXPECT_TRUE(ui.Texts().empty());
}

TEST(ImportColumnsTest, IndividualEntriesAddUpAndTheCounterNumbersTheRows) {
  TFakeUiPort ui;
  TImportSets sets(SplitDelimited({"9", "8", "7", "6"}, ","));
  ASSERT_TRUE(sets.AddIndividual(0, 1));
  ASSERT_TRUE(sets.AddIndividual(1, 1));
  EXPECT_FALSE(sets.AddIndividual(1, 2));
  ASSERT_EQ(sets.Count(), 2);
  EXPECT_EQ(sets.Entry(0).Name, "Import Counter vs Column 1");
  EXPECT_EQ(sets.Entry(1).Name, "Import Column 1 vs Column 1");
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(sets.Entry(0).GetX(i), float(i));
    EXPECT_EQ(sets.Entry(0).GetY(i), float(9 - i));
  }
  sets.Remove(0);
  ASSERT_EQ(sets.Count(), 1);
  EXPECT_EQ(sets.Entry(0).Name, "Import Column 1 vs Column 1");
  auto data = sets.TakeResult();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->GetTSCount(), 1);
  EXPECT_EQ(sets.Count(), 0);
}

TEST(ImportColumnsTest, ARefusedCellNamesItsColumnAndKeepsEarlierEntries) {
  TFakeUiPort ui;
  TImportSets sets(SplitDelimited({"1,2,3,4", "5,6,x,8"}, ","));
  ASSERT_TRUE(sets.AddIndividual(1, 2));
  EXPECT_FALSE(sets.AddIndividual(1, 3));
  EXPECT_EQ(ui.Texts(),
            (std::vector<std::string>{"'x' is not a valid floating point value Transfer Aborted",
                                      "Error in column 3"}));
  EXPECT_EQ(sets.Count(), 1);
  // Pairs stop at the refused pair, the first kept.
  EXPECT_FALSE(sets.AddXYPairs());
  EXPECT_EQ(sets.Count(), 1);
  EXPECT_EQ(ui.Texts().back(), "Error in column 3");
  // An empty cell is refused too.
  TImportSets ragged(SplitDelimited({"1,2", "3"}, ","));
  EXPECT_FALSE(ragged.AddXYPairs());
  EXPECT_EQ(ui.Texts().back(), "Error in column 2");
}

TEST(ImportColumnsTest, NothingChosenIsNotImported) {
  TFakeUiPort ui;
  TImportSets sets(SplitDelimited({"1,2"}, ","));
  EXPECT_EQ(sets.TakeResult(), nullptr);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                            "Nothing to import.  Please select columns to import or press Cancel"});
}

}  // namespace
