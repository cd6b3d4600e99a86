// The outputs' clipboard text: written with its two heading lines and read back into the
// same data sets; text that is not such text, or cannot be read, is refused (the Paste
// buttons then hand it to the import wizard).
#include "outputs/transfer_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/copy_text.h"
#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "support/fake_ui_port.h"

namespace {

using Lines = std::vector<std::string>;

TEST(TransferTextTest, LinesEndAtLfOrCrLf) {
  EXPECT_EQ(SplitTextLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitTextLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitTextLines(""), Lines{});
  EXPECT_EQ(SplitTextLines("x\ry\n"), Lines{"x\ry"});
  EXPECT_EQ(SplitFields("\t\t1\t", "\t"), (Lines{"", "", "1", ""}));
  EXPECT_EQ(SplitFields("1::2", "::"), (Lines{"1", "2"}));
}

TEST(TransferTextTest, TruncateKeepsTheFirstPointsAndCutAtZeroLeavesNone) {
  TTransferSeries cut("c", 3);
  cut.SetPoint(0, 1, 2);
  cut.Truncate(0);
  EXPECT_EQ(cut.GetCount(), 0);
  EXPECT_EQ(cut.GetX(0), 0.0f);
  cut.Truncate(2);  // only the first call counts
  EXPECT_EQ(cut.GetCount(), 0);

  TTransferSeries kept("k", 3);
  for (int i = 0; i < 3; ++i) kept.SetPoint(i, float(i), float(10 * i));
  kept.Truncate(2);
  EXPECT_EQ(kept.GetCount(), 2);
  EXPECT_EQ(kept.GetY(1), 10.0f);
  EXPECT_EQ(kept.GetX(5), 0.0f);
}

TEST(TransferTextTest, TwoEmptyFieldsEndTheFirstSetAtNoPoints) {
  TFakeUiPort ui;
  auto data = ReadOutputTransferText(
      "OutputType=5\r\nNumberOfSeries=2\r\na\tb\tc\td\r\n\t\t1\t2\r\n\t\t3\t4\r\n");
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->GetTSCount(), 2);
  EXPECT_EQ(data->GetSeries(0)->Name, "Set 1");
  EXPECT_EQ(data->GetSeries(0)->GetCount(), 0);
  const TTransferSeries& second = *data->GetSeries(1);
  EXPECT_EQ(second.Name, "Set 2");
  ASSERT_EQ(second.GetCount(), 2);
  EXPECT_EQ(second.XName, "c");
  EXPECT_EQ(second.YName, "d");
  EXPECT_EQ(second.GetX(0), 1.0f);
  EXPECT_EQ(second.GetY(1), 4.0f);
  EXPECT_TRUE(ui.Texts().empty());
}

TEST(TransferTextTest, CopiedSetsPasteBackTheSame) {
  TFakeUiPort ui;
  TTransferData data;
  TTransferSeries* a = data.AddSeries("A", 1);
  a->XName = "Time";
  a->YName = "Volts";
  a->SetPoint(0, 0.5f, -2.25f);
  TTransferSeries* b = data.AddSeries("B", 3);
  b->XName = "X S2";
  b->YName = "Y S2";
  for (int i = 0; i < 3; ++i) b->SetPoint(i, float(i), 1.5f * float(i) + 1e6f);
  const std::string text = OutputTransferText(4, data, ntSTANDARD, 7);
  const std::string head = "OutputType=4\r\nNumberOfSeries=2\r\nTime\tVolts\tX S2\tY S2\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  // The first set's row past its point is an empty pair.
  EXPECT_NE(text.find("\r\n\t\t1\t"), std::string::npos);

  for (const std::string& copied : {text, OutputTransferText(5, data, ntSTANDARD, 7)}) {
    auto back = ReadOutputTransferText(copied);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetTSCount(), 2);
    for (int s = 0; s < 2; ++s) {
      const TTransferSeries& in = *data.GetSeries(s);
      const TTransferSeries& out = *back->GetSeries(s);
      EXPECT_EQ(out.XName, in.XName);
      EXPECT_EQ(out.YName, in.YName);
      ASSERT_EQ(out.GetCount(), in.GetCount());
      for (int i = 0; i < in.GetCount(); ++i) {
        EXPECT_EQ(out.GetX(i), in.GetX(i));
        EXPECT_EQ(out.GetY(i), in.GetY(i));
      }
    }
  }
  // LF alone reads the same.
  std::string lf = text;
  std::erase(lf, '\r');
  auto back = ReadOutputTransferText(lf);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetSeries(1)->GetCount(), 3);
  EXPECT_TRUE(ui.Texts().empty());
}

TEST(TransferTextTest, AGraphsSetsPasteIntoATableAndBack) {
  TFakeUiPort ui;
  TTransferData made;
  TTransferSeries* a = made.AddSeries("A", 3);
  a->XName = "t";
  a->YName = "V";
  for (int i = 0; i < 3; ++i) a->SetPoint(i, 0.25f * float(i), -3.5f + float(i));
  TTransferSeries* b = made.AddSeries("B", 2);
  b->XName = "t";
  b->YName = "I";
  b->SetPoint(0, 1e-7f, 6.02e23f);
  b->SetPoint(1, -0.0f, 123456.789f);
  TGraphForm graph(static_cast<TDeadOutputList*>(nullptr));
  graph.ImportData(&made);
  const int first = graph.SeriesCount() - 2;

  TTransferData copied;
  graph.GetTransferData(&copied);
  auto pasted =
      ReadOutputTransferText(OutputTransferText(graph.GetOutputType(), copied, ntSTANDARD, 0));
  ASSERT_NE(pasted, nullptr);
  TTableForm table(static_cast<TDeadOutputList*>(nullptr));
  table.ImportData(pasted.get());
  ASSERT_EQ(table.SeriesCount(), copied.GetTSCount());
  for (int s = 0; s < 2; ++s) {
    const TTransferSeries& in = *made.GetSeries(s);
    const TTableDataSet& out = table.GetSeries(first + s);
    EXPECT_EQ(out.XName, in.XName);
    EXPECT_EQ(out.YName, in.YName);
    ASSERT_EQ(out.Count(), in.GetCount());
    for (int i = 0; i < in.GetCount(); ++i) {
      EXPECT_EQ(out.X[std::size_t(i)], in.GetX(i));
      EXPECT_EQ(out.Y[std::size_t(i)], in.GetY(i));
    }
  }
  // And from the table into a graph again.
  TTransferData again;
  table.GetTransferData(&again);
  auto back =
      ReadOutputTransferText(OutputTransferText(table.GetOutputType(), again, ntSTANDARD, 0));
  ASSERT_NE(back, nullptr);
  TGraphForm other(static_cast<TDeadOutputList*>(nullptr));
  const int before = other.SeriesCount();
  other.ImportData(back.get());
  ASSERT_EQ(other.SeriesCount(), before + table.SeriesCount());
  EXPECT_EQ(other.GetSeries(before + first + 1).Y[0], made.GetSeries(1)->GetY(0));
  EXPECT_EQ(other.GetSeries(before + first + 1).Name, "t vs I");
  EXPECT_TRUE(ui.Texts().empty());
}

TEST(TransferTextTest, TheTablesCopyForAnotherOutputPastesBackTheSameSets) {
  TFakeUiPort ui;
  TTableForm table(static_cast<TDeadOutputList*>(nullptr));
  TTableDataSet& a = table.NewDataSet("A", false);
  a.XName = "X S1";
  a.YName = "Y S1";
  for (int i = 0; i < 5; ++i) a.AddPoint(float(i) / 3, float(i * i) - 0.125f);
  TTableDataSet& b = table.NewDataSet("B", false);
  b.AddPoint(7, 8);
  std::vector<std::string> lines;
  ASSERT_TRUE(BuildCopyText({TCopyObject(0, 4, "A"), TCopyObject(1, 0, "B")}, ckOUTPUT,
                            TTableCopySource(table), lines));
  auto pasted = ReadOutputTransferText(JoinCopyLines(lines));
  ASSERT_NE(pasted, nullptr);
  ASSERT_EQ(pasted->GetTSCount(), 2);
  for (int s = 0; s < 2; ++s) {
    const TTableDataSet& in = table.GetSeries(s);
    const TTransferSeries& out = *pasted->GetSeries(s);
    EXPECT_EQ(out.XName, in.XName);
    EXPECT_EQ(out.YName, in.YName);
    ASSERT_EQ(out.GetCount(), in.Count());
    for (int i = 0; i < in.Count(); ++i) {
      EXPECT_EQ(out.GetX(i), in.X[std::size_t(i)]);
      EXPECT_EQ(out.GetY(i), in.Y[std::size_t(i)]);
    }
  }
}

TEST(TransferTextTest, OtherTextIsLeftToTheWizard) {
  TFakeUiPort ui;
  const std::string rows = "x\ty\r\n1\t2\r\n";
  EXPECT_EQ(ReadOutputTransferText("OutputType=6\r\nNumberOfSeries=1\r\n" + rows), nullptr);
  EXPECT_EQ(ReadOutputTransferText("NumberOfSeries=1\r\nOutputType=5\r\n" + rows), nullptr);
  EXPECT_EQ(ReadOutputTransferText("OutputType=5\r\nNumberOfSeries=1\r\nx\ty\r\n"), nullptr);
  EXPECT_EQ(ReadOutputTransferText("1\t2\r\n3\t4\r\n5\t6\r\n7\t8\r\n"), nullptr);
  // The number of sets: from 1 to 25, and no more than the header names.
  for (const char* n : {"0", "-1", "x", "", "26", "2", " 1", "99999999999"})
    EXPECT_EQ(
        ReadOutputTransferText("OutputType=5\r\nNumberOfSeries=" + std::string(n) + "\r\n" + rows),
        nullptr)
        << n;
  EXPECT_TRUE(ui.Texts().empty());

  std::string wide = "OutputType=4\r\nNumberOfSeries=25\r\n";
  for (int i = 0; i < 25; ++i) wide += i ? "\tx\ty" : "x\ty";
  auto all = ReadOutputTransferText(wide + "\r\n1\t2\r\n");
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->GetTSCount(), 25);
  EXPECT_EQ(all->GetSeries(0)->GetCount(), 1);
  EXPECT_EQ(all->GetSeries(24)->GetCount(), 0);
}

TEST(TransferTextTest, ARefusedFieldShowsWhyAndReadsNothing) {
  TFakeUiPort ui;
  const std::string head = "OutputType=5\r\nNumberOfSeries=1\r\nx\ty\r\n";
  EXPECT_EQ(ReadOutputTransferText(head + "1\t2\r\n1\tabc\r\n"), nullptr);
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"'abc' is not a valid floating point value"});
  // An x value without its y value is refused, not read as 0.
  EXPECT_EQ(ReadOutputTransferText(head + "1\t2\r\n3\t\r\n"), nullptr);
  EXPECT_EQ(ReadOutputTransferText(head + "1\t2\r\n3\r\n"), nullptr);
  EXPECT_EQ(ui.Texts().size(), 3u);
  // Beyond a float's range.
  EXPECT_EQ(ReadOutputTransferText(head + "1e39\t2\r\n"), nullptr);
}

TEST(TransferTextTest, ARowWithFewerPairsEndsTheLaterSets) {
  TFakeUiPort ui;
  TTransferData data;
  ASSERT_TRUE(data.ParseText(
      3, {" 1 , 2 ,3,4,5,6", "7,8,9,10", "11,12,,,13,14", "15,16,17,18,19,20"}, ","));
  EXPECT_EQ(data.GetSeries(0)->GetCount(), 4);
  EXPECT_EQ(data.GetSeries(0)->GetX(0), 1.0f);  // fields are trimmed
  EXPECT_EQ(data.GetSeries(1)->GetCount(), 2);
  // Ended at row 1, the later rows' pairs are not taken.
  EXPECT_EQ(data.GetSeries(2)->GetCount(), 1);
  EXPECT_EQ(data.GetSeries(2)->GetY(0), 6.0f);
  EXPECT_EQ(data.GetSeries(2)->GetX(1), 0.0f);
  TTransferData none;
  EXPECT_FALSE(none.ParseText(0, {"1,2"}, ","));
  EXPECT_FALSE(none.ParseText(1, {"1,2"}, ""));
}

TEST(TransferTextTest, AnEndedSetReadsNoLaterFieldsNotEvenBadOnes) {
  TFakeUiPort ui;
  TTransferData data;
  // Set 1 ends at row 1; its field in row 2 is not read, so it cannot fail the parse.
  ASSERT_TRUE(data.ParseText(2, {"1,2,3,4", ",,5,6", "abc,8,9,10"}, ","));
  EXPECT_TRUE(ui.Texts().empty());
  EXPECT_EQ(data.GetSeries(0)->GetCount(), 1);
  ASSERT_EQ(data.GetSeries(1)->GetCount(), 3);
  EXPECT_EQ(data.GetSeries(1)->GetX(2), 9.0f);
  EXPECT_EQ(data.GetSeries(1)->GetY(2), 10.0f);
}

}  // namespace
