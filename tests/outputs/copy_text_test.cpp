// Copy ranges and their clipboard text: the range's rows and texts, one-row ranges, the
// three kinds, empty fields past a shorter range, the clipboard's size limit.
#include "outputs/copy_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/table_form.h"
#include "support/fake_ui_port.h"

namespace {

class CopyTextTest : public ::testing::Test {
protected:
  CopyTextTest() {
    TTableDataSet& a = Form.NewDataSet("A", false);
    a.XName = "Xa";
    a.YName = "Ya";
    for (int i = 0; i < 3; ++i) a.AddPoint(i, 0.5 + i);
    TTableDataSet& b = Form.NewDataSet("B", false);
    b.XName = "Xb";
    b.YName = "Yb";
    for (int i = 0; i < 5; ++i) b.AddPoint(10 + i, 20 + i);
  }
  std::vector<std::string> Lines(const std::vector<TCopyObject>& ranges, TCopyKind kind) {
    std::vector<std::string> lines{"left over"};
    EXPECT_TRUE(BuildCopyText(ranges, kind, TTableCopySource(Form), lines));
    return lines;
  }

  TFakeUiPort Ui;
  TTableForm Form{static_cast<TDeadOutputList*>(nullptr)};
};

TEST(CopyObjectTest, RowsMoveWithinTheSetAndARangeMayBeOneRow) {
  TCopyObject range(2, 9, "Sweep");
  EXPECT_EQ(range.SetIndex(), 2);
  EXPECT_EQ(range.RowCount(), 10);
  EXPECT_EQ(range.GetRangeText(), "Sweep 1 to 10");
  EXPECT_EQ(range.GetListText(), "Sweep 1 to 10 (10 rows)");
  range.SetLastRow(4);
  range.SetFirstRow(2);
  EXPECT_EQ(range.GetListText(), "Sweep 3 to 5 (3 rows)");
  // Out of the set: refused.
  range.SetFirstRow(-1);
  range.SetFirstRow(10);
  range.SetLastRow(10);
  range.SetLastRow(1);
  EXPECT_EQ(range.GetRangeText(), "Sweep 3 to 5");
  // A first row past the last row takes the last row to the set's end.
  range.SetFirstRow(7);
  EXPECT_EQ(range.GetRangeText(), "Sweep 8 to 10");
  // One row: the set's last row alone, and a last row equal to the first.
  range.SetFirstRow(9);
  EXPECT_EQ(range.GetListText(), "Sweep 10 to 10 (1 rows)");
  range.SetFirstRow(3);
  range.SetLastRow(3);
  EXPECT_EQ(range.RowCount(), 1);
  // A set of one point is one row.
  EXPECT_EQ(TCopyObject(0, 0, "One").GetRangeText(), "One 1 to 1");
}

TEST_F(CopyTextTest, KindsGiveTheirHeadersDelimitersAndEmptyFieldsPastShortRanges) {
  const std::vector<TCopyObject> both{TCopyObject(0, 2, "A"), TCopyObject(1, 4, "B")};
  EXPECT_EQ(Lines(both, ckTAB),
            (std::vector<std::string>{"Xa\tYa\tXb\tYb", "0\t0.5\t10\t20", "1\t1.5\t11\t21",
                                      "2\t2.5\t12\t22", "\t\t13\t23", "\t\t14\t24"}));
  EXPECT_EQ(Lines(both, ckCOMMA)[4], ",,13,23");
  const std::vector<std::string> output = Lines({TCopyObject(0, 2, "A")}, ckOUTPUT);
  EXPECT_EQ(JoinCopyLines(output),
            "OutputType=4\r\nNumberOfSeries=1\r\nXa\tYa\r\n0\t0.5\r\n1\t1.5\r\n2\t2.5\r\n");
  // Ranges start at their first rows, in the order chosen, one row included.
  TCopyObject tail(1, 4, "B");
  tail.SetFirstRow(4);
  TCopyObject middle(0, 2, "A");
  middle.SetFirstRow(1);
  middle.SetLastRow(1);
  EXPECT_EQ(Lines({tail, middle}, ckCOMMA),
            (std::vector<std::string>{"Xb,Yb,Xa,Ya", "14,24,1,1.5"}));
  Form.SetNumberFormat(ntFIXED, 1);
  EXPECT_EQ(Lines({middle}, ckTAB)[1], "1.0\t1.5");
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(CopyTextTest, TwoRangesOf4000RowsFitTheClipboardAndOf4001DoNot) {
  TTableDataSet& c = Form.NewDataSet("C", false);
  for (int i = 0; i < 4001; ++i) c.AddPoint(i, i);
  TCopyObject full(2, 4000, "C");
  TCopyObject fewer(2, 4000, "C");
  fewer.SetLastRow(3999);
  std::vector<std::string> lines;
  ASSERT_TRUE(BuildCopyText({fewer, fewer}, ckOUTPUT, TTableCopySource(Form), lines));
  EXPECT_EQ(lines.size(), 3u + 4000u);
  EXPECT_EQ(lines.back(), "3999\t3999\t3999\t3999");
  EXPECT_TRUE(Ui.Texts().empty());
  // One more row: refused, nothing left in the lines.
  EXPECT_FALSE(BuildCopyText({full, fewer}, ckTAB, TTableCopySource(Form), lines));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Too much data to put on the clipboard"});
  // One range of 8000 rows is as much as two of 4000.
  EXPECT_TRUE(CopyTextFits(8000, 1));
  EXPECT_FALSE(CopyTextFits(8001, 1));
}

}  // namespace
