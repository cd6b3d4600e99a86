// The graph's series as text: the clipboard text of its ranges for another output and as
// comma or tab text, its size limit, the comma and tab files, and the ranges of a band
// of X values.
#include "outputs/graph_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "model/number_text.h"
#include "outputs/graph_form.h"
#include "outputs/value_format.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

class GraphTextTest : public ::testing::Test {
protected:
  GraphTextTest() {
    Form.SetName("Sweep");
    while (Form.SeriesCount() > 0) Form.DeleteSeries(0);
  }
  // A series named by its value lists, with the points (x0 + i, y0 + i).
  TGraphSeries& Add(const std::string& x, const std::string& y, int count, double x0,
                    double y0) {
    TTransferData data;
    TTransferSeries* series = data.AddSeries(x + " vs " + y, std::max(count, 1));
    series->XName = x;
    series->YName = y;
    Form.ImportData(&data);
    TGraphSeries& added = Form.GetSeries(Form.SeriesCount() - 1);
    added.Clear();
    for (int i = 0; i < count; ++i) added.AddPoint(x0 + i, y0 + i);
    return added;
  }
  // The rows first to last of series s.
  TCopyObject Range(std::int32_t s, std::int32_t first, std::int32_t last) const {
    TCopyObject range(s, Form.GetSeries(s).Count() - 1, Form.GetSeries(s).Name);
    range.SetFirstRow(first);
    range.SetLastRow(last);
    return range;
  }
  bool Copy(const std::vector<TCopyObject>& ranges, TCopyKind kind) {
    return BuildCopyText(ranges, kind, TGraphCopySource(Form), Lines);
  }
  std::string File(const std::string& name) const {
    const TBytes bytes = Temp.ReadBytes(name);
    return std::string(bytes.begin(), bytes.end());
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TGraphForm Form{static_cast<TDeadOutputList*>(nullptr)};
  std::vector<std::string> Lines;
};

TEST_F(GraphTextTest, ClipboardTextForAnotherOutputHasTheExactLayout) {
  TGraphSeries& s = Add("X", "Y", 0, 0, 0);
  s.AddPoint(0, 1.5);
  s.AddPoint(1, 2.5);
  s.AddPoint(2, 3.5);
  ASSERT_TRUE(Copy(WholeSeriesRanges(Form), ckOUTPUT));
  EXPECT_EQ(JoinCopyLines(Lines),
            "OutputType=4\r\nNumberOfSeries=1\r\nX\tY\r\n0\t1.5\r\n1\t2.5\r\n2\t3.5\r\n");
  // Comma kind: no type lines, both values in the series' format, which the number
  // format (the axes') leaves alone: copied data is never rounded.
  Form.SetNumberFormat(ntFIXED, 0);
  ASSERT_TRUE(Copy({Range(0, 1, 2)}, ckCOMMA));
  EXPECT_EQ(Lines, (std::vector<std::string>{"X,Y", "1,2.5", "2,3.5"}));
  // A one-row range is a range.
  Form.SetNumberFormat(ntSCIENTIFIC, 2);
  ASSERT_TRUE(Copy({Range(0, 2, 2)}, ckTAB));
  EXPECT_EQ(Lines, (std::vector<std::string>{"X\tY", "2\t3.5"}));
  // Rows and series the graph does not hold give empty texts, never a fault.
  TGraphCopySource source(Form);
  EXPECT_EQ(source.XText(0, 3), "");
  EXPECT_EQ(source.YText(1, 0), "");
  EXPECT_EQ(source.XName(-1), "");
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(GraphTextTest, ShorterRangesGiveBlankFieldsInTheLaterRows) {
  Add("a", "b", 3, 1, 11);
  Add("c", "d", 5, 10, 20);
  ASSERT_TRUE(Copy(WholeSeriesRanges(Form), ckTAB));
  ASSERT_EQ(Lines.size(), 6u);
  EXPECT_EQ(Lines[0], "a\tb\tc\td");
  EXPECT_EQ(Lines[3], "3\t13\t12\t22");
  EXPECT_EQ(Lines[4], " \t \t13\t23");
  EXPECT_EQ(Lines[5], " \t \t14\t24");
  // The chosen order, not the chart's, and the range's own start.
  ASSERT_TRUE(Copy({Range(1, 3, 4), Range(0, 0, 0)}, ckCOMMA));
  EXPECT_EQ(Lines, (std::vector<std::string>{"c,d,a,b", "13,23,1,11", "14,24, , "}));
}

TEST_F(GraphTextTest, TwoRangesOf4000RowsFitTheClipboardAnd4001DoNot) {
  Add("x1", "y1", 4001, 0, 0);
  Add("x2", "y2", 4001, 0, 0);
  ASSERT_TRUE(Copy({Range(0, 0, 3999), Range(1, 1, 4000)}, ckOUTPUT));
  EXPECT_EQ(Lines.size(), 4003u);
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_FALSE(Copy(WholeSeriesRanges(Form), ckOUTPUT));
  EXPECT_TRUE(Lines.empty());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Too much data to put on the clipboard"});
}

TEST_F(GraphTextTest, TheCommaFileIsWrittenInBlocksOfAHundredRows) {
  Add("x", "y", 250, 0, 0.5);
  Add("u", "v", 2, 7, 8);
  // Three blocks: 100, 100 and 50 rows.
  std::vector<std::size_t> blocks;
  std::int32_t first = 0;
  while (first >= 0) {
    first = GraphCommaRows(Form, Lines, ",", 250, first);
    blocks.push_back(Lines.size());
  }
  EXPECT_EQ(blocks, (std::vector<std::size_t>{100, 100, 50}));
  EXPECT_EQ(Lines.back(), "249,249.5, , ");
  EXPECT_EQ(GraphCommaRows(Form, Lines, ",", 200, 100), -1);

  Ui.ScriptFiles({"", Temp.PathOf("rows.dat"), Temp.PathOf("rows.txt.bak"), Temp.PathOf("rows.txt")});
  EXPECT_FALSE(ExportGraphComma(Form));  // cancelled
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  EXPECT_EQ(Ui.FileChoices()[0].Filter, "Text Files (*.txt)|*.txt");
  EXPECT_EQ(Ui.FileChoices()[0].FileName, "Sweep");
  // The suffix decides, not a ".txt" inside the name.
  EXPECT_FALSE(ExportGraphComma(Form));
  EXPECT_FALSE(ExportGraphComma(Form));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"InvalidExtension", "InvalidExtension"}));
  EXPECT_EQ(Temp.Entries(), 0u);
  Form.SetNumberFormat(ntFIXED, 1);
  const std::string format = Form.GetAxisValuesFormat();
  ASSERT_TRUE(ExportGraphComma(Form));
  const std::string text = File("rows.txt");
  EXPECT_EQ(text.substr(0, 19), "0,0.5,7,8\r\n1,1.5,8,");
  EXPECT_EQ(text.substr(text.size() - 16), "\n249,249.5, , \r\n");
  EXPECT_EQ(Form.GetAxisValuesFormat(), format);  // the series' settings are untouched
}

TEST_F(GraphTextTest, TheNumberFormatChangesTheTabFileButNeverTheCommaFile) {
  TGraphSeries& s = Add("X", "Y", 0, 0, 0);
  s.AddPoint(0, 1.5);
  s.AddPoint(10, 20);
  s.AddPoint(0.125, 1234567.875);
  const std::string comma = "0,1.5\r\n10,20\r\n0.125,1234567.875\r\n";
  for (const auto& [kind, places, tab] :
       {std::tuple{ntSTANDARD, 0, "0\t1.5\r\n10\t20\r\n0.125\t1234567.875\r\n"},
        std::tuple{ntFIXED, 2, "0.00\t1.50\r\n10.00\t20.00\r\n0.13\t1234568.00\r\n"},
        std::tuple{ntSCIENTIFIC, 1, "0.0E0\t1.5E0\r\n1.0E1\t2.0E1\r\n1.3E-1\t1.2E6\r\n"}}) {
    Form.SetNumberFormat(kind, places);
    Ui.ScriptFiles({Temp.PathOf("comma.txt"), Temp.PathOf("tab.txt")});
    ASSERT_TRUE(ExportGraphComma(Form));
    ASSERT_TRUE(ExportGraphTab(Form));
    EXPECT_EQ(File("comma.txt"), comma) << int{kind};
    EXPECT_EQ(File("tab.txt"), tab) << int{kind};
  }
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(GraphTextTest, ACommaFreeFormatKeepsTheNotation) {
  EXPECT_EQ(CommaFreeFormat("#,##0.00"), "###0.00");
  EXPECT_EQ(CommaFreeFormat("0.00E-0"), "0.00E-0");
  EXPECT_EQ(FormatValue(1234.5, CommaFreeFormat("0,.00")), FormatValue(1234.5, "0.00"));
  EXPECT_EQ(FormatValue(1234.5, "0.00"), "1234.50");
  EXPECT_EQ(FormatValue(1234.5, "not a format"), "1234.5");
}

TEST_F(GraphTextTest, TheTabFileNeedsOnlyOneSeriesWithAPoint) {
  Add("x", "y", 0, 0, 0);
  EXPECT_FALSE(ExportGraphTab(Form));
  EXPECT_FALSE(ExportGraphComma(Form));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Nothing to save", "Nothing to save"}));
  EXPECT_TRUE(Ui.FileChoices().empty());
  Ui.Clear();
  // The first series empty, the later ones not: saved, the missing points as blanks.
  Add("u", "v", 2, 7, 8);
  Add("p", "q", 1, 1, 2);
  Ui.ScriptFiles({Temp.PathOf("a.csv"), Temp.PathOf("tab.TXT")});
  EXPECT_FALSE(ExportGraphTab(Form));
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Invalid Extention"});
  ASSERT_TRUE(ExportGraphTab(Form));
  EXPECT_EQ(File("tab.TXT"), "\t \t7\t8\t1\t2\r\n\t \t8\t9\t\t \r\n");
  EXPECT_EQ(Ui.FileChoices().back().Filter, "Tab Text Files (*.txt)|*.txt");
}

TEST_F(GraphTextTest, ABandCoversThePointsBetweenItsEdges) {
  Add("x", "y", 10, 0, 0);  // X 0..9
  Add("u", "v", 3, 20, 0);  // X 20..22, outside the band
  Add("p", "q", 5, 4, 0);   // X 4..8
  std::vector<TCopyObject> ranges = BandRanges(Form, 6.5, 2.5);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0].SetIndex(), 0);
  EXPECT_EQ(ranges[0].FirstRow(), 3);
  EXPECT_EQ(ranges[0].LastRow(), 6);
  EXPECT_EQ(ranges[0].Name(), "x vs y");
  EXPECT_EQ(ranges[1].SetIndex(), 2);
  EXPECT_EQ(ranges[1].FirstRow(), 0);
  EXPECT_EQ(ranges[1].LastRow(), 2);
  // A band around one point takes that one row.
  ranges = BandRanges(Form, 20.7, 21.2);
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0].SetIndex(), 1);
  EXPECT_EQ(ranges[0].RowCount(), 1);
  EXPECT_EQ(ranges[0].FirstRow(), 1);
  // A band between points of every series takes nothing.
  EXPECT_TRUE(BandRanges(Form, 9.2, 9.8).empty());

  const std::vector<double> x{1, 2, 4, 8};
  EXPECT_EQ(FindPoint(x, 4, 0), 2);
  EXPECT_EQ(FindPoint(x, 3, 0), 2);
  EXPECT_EQ(FindPoint(x, 0, 0), 0);
  EXPECT_EQ(FindPoint(x, 9, 0), 3);
  EXPECT_EQ(FindPoint(x, 1, 2), 2);
  EXPECT_EQ(FindPoint(x, 1, 4), -1);
  EXPECT_EQ(FindPoint({}, 1, 0), -1);
}

}  // namespace
