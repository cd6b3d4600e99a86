// The table's text files: rows of X and Y per data set in the window's number format,
// empty fields past a set's points, no header; the file name asked for, ".txt" required,
// a failed write reported; the scientific pattern's texts in cells, files and clipboard.
#include "outputs/table_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/copy_text.h"
#include "outputs/output_form.h"
#include "outputs/table_form.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

class TableTextTest : public ::testing::Test {
protected:
  TableTextTest() {
    Form.SetName("Sweep");
    TTableDataSet& a = Form.NewDataSet("A", false);
    a.AddPoint(0.5, -2);
    a.AddPoint(1, 3.25);
    a.AddPoint(1.5, 100);
    Form.NewDataSet("B", false).AddPoint(7, 8);
  }
  std::string Text(const std::string& name) const {
    const TBytes bytes = Temp.ReadBytes(name);
    return std::string(bytes.begin(), bytes.end());
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TTableForm Form{static_cast<TDeadOutputList*>(nullptr)};
};

TEST_F(TableTextTest, RowsHoldEverySetWithEmptyFieldsPastItsPoints) {
  EXPECT_EQ(TableTextRows(Form, 0, 3, ","), "0.5,-2,7,8\r\n1,3.25,,\r\n1.5,100,,\r\n");
  Form.SetNumberFormat(ntFIXED, 2);
  EXPECT_EQ(TableTextRows(Form, 1, 1, "\t"), "1.00\t3.25\t\t\r\n");
  EXPECT_EQ(TableTextRows(Form, 3, 0, ","), "");
}

TEST_F(TableTextTest, TheScientificPatternSignsOnlyANegativeExponent) {
  TTableDataSet& c = Form.NewDataSet("C", false);
  c.XName = "X";
  c.YName = "Y";
  c.AddPoint(0, 1.25);
  c.AddPoint(0.25, 299);
  Form.SetNumberFormat(ntSCIENTIFIC, 2);
  // Cells, text files and the clipboard all show the pattern's texts.
  EXPECT_EQ(Form.GetXText(2, 0), "0.00E0");
  EXPECT_EQ(Form.GetYText(2, 0), "1.25E0");
  EXPECT_EQ(Form.GetXText(2, 1), "2.50E-1");
  EXPECT_EQ(Form.GetYText(2, 1), "2.99E2");
  EXPECT_EQ(TableTextRows(Form, 0, 2, ","),
            "5.00E-1,-2.00E0,7.00E0,8.00E0,0.00E0,1.25E0\r\n1.00E0,3.25E0,,,2.50E-1,2.99E2\r\n");
  std::vector<std::string> lines;
  TCopyObject range(2, 1, "C");
  ASSERT_TRUE(BuildCopyText({range}, ckTAB, TTableCopySource(Form), lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"X\tY", "0.00E0\t1.25E0", "2.50E-1\t2.99E2"}));
  // So does the transfer text the text window shows.
  TTransferData data;
  Form.GetTransferData(&data);
  const std::string transfer = data.ToText(ntSCIENTIFIC, 2, "\t");
  EXPECT_NE(transfer.find("\t8.00E0\t0.00E0\t1.25E0\r\n"), std::string::npos) << transfer;
  EXPECT_NE(transfer.find("\t\t2.50E-1\t2.99E2\r\n"), std::string::npos) << transfer;
  EXPECT_EQ(transfer.find('+'), std::string::npos) << transfer;
}

TEST_F(TableTextTest, TheFileIsAskedForAndWrittenWholeOrNotAtAll) {
  // Cancelled: nothing; the chooser offers the window's name and text files.
  Ui.ScriptFiles({"", Temp.PathOf("rows.dat"), Temp.PathOf("rows.txt")});
  EXPECT_FALSE(ExportTableText(Form, ","));
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  EXPECT_TRUE(Ui.FileChoices()[0].Save);
  EXPECT_EQ(Ui.FileChoices()[0].Filter, "Comma Text Files (*.txt)|*.txt");
  EXPECT_EQ(Ui.FileChoices()[0].FileName, "Sweep");
  EXPECT_FALSE(ExportTableText(Form, ","));
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Invalid Extention"});
  EXPECT_EQ(Temp.Entries(), 0u);
  EXPECT_TRUE(ExportTableText(Form, "\t"));
  EXPECT_EQ(Text("rows.txt"), "0.5\t-2\t7\t8\r\n1\t3.25\t\t\r\n1.5\t100\t\t\r\n");

  // Rows past the first blocks all arrive, in order.
  TTableDataSet& a = Form.NewDataSet("C", false);
  for (int i = 0; i < 250; ++i) a.AddPoint(i, 0);
  Ui.ScriptFiles({Temp.PathOf("long.txt")});
  EXPECT_TRUE(ExportTableText(Form, ","));
  const std::string text = Text("long.txt");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 250);
  EXPECT_NE(text.find("\r\n,,,,249,0\r\n"), std::string::npos);

  // A write that fails says so.
  Ui.Clear();
  Ui.ScriptFiles({Temp.PathOf("missing/rows.txt")});
  EXPECT_FALSE(ExportTableText(Form, ","));
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Error writing to file"});
}

}  // namespace
