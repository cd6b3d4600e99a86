// Plot commands fill each kind's data; Clear Output and the clear before a run empty it.
#include <gtest/gtest.h>

#include "model/number_text.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

using TPoints = std::vector<double>;

class TOutputPlotTest : public TPlotFixture {
protected:
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "1.5");
  TDataSingle* X = Single(B1, "X", eatFLOAT, "10");
  TDataArray* A = Array(B1, "A", eatINTEGER, 3);

  void SetY(const std::string& text) { Y->GetValue().SetText(text); }
  void FillA() {
    for (int i = 0; i < 3; ++i) A->GetValueArray().SetElementText(std::to_string(7 * i), i);
  }
};

}  // namespace

TEST_F(TOutputPlotTest, GraphChannelsTakeCounterXAndArrayPoints) {
  TOutput* out = Output("G", otGRAPH, 2);
  TPlotScript* counted = Plot(out, Y, true, 0);
  TPlotScript* xy = PlotXY(out, Y, X, 1);
  TPlotScript* array = PlotArray(out, A, 1);
  counted->Execute();
  SetY("2.5");
  counted->Execute();
  xy->Execute();
  FillA();
  array->Execute();
  const TGraphForm& g = Graph(out);
  EXPECT_EQ(g.GetSeries(0).X, (TPoints{0, 1}));
  EXPECT_EQ(g.GetSeries(0).Y, (TPoints{1.5, 2.5}));
  EXPECT_EQ(g.GetSeries(1).X, (TPoints{10, 0, 1, 2}));
  EXPECT_EQ(g.GetSeries(1).Y, (TPoints{2.5, 0, 7, 14}));
  EXPECT_FALSE(g.IsCleared());
  TTexts trace;
  array->ExecuteTrace(trace);
  EXPECT_EQ(trace, (TTexts{"0, 0", "1, 7", "2, 14"}));
}

TEST_F(TOutputPlotTest, TableChannelsTakePointsAndArrays) {
  TOutput* out = Output("T", otTABLE, 2);
  TPlotScript* xy = PlotXY(out, Y, X, 0);
  TPlotScript* array = PlotArray(out, A, 1);
  xy->Execute();
  FillA();
  array->Execute();
  const TTableForm& t = Table(out);
  EXPECT_EQ(t.GetDataSet(0).X, (std::vector<float>{10}));
  EXPECT_EQ(t.GetDataSet(0).Y, (std::vector<float>{1.5f}));
  EXPECT_EQ(t.GetDataSet(1).Y, (std::vector<float>{0, 7, 14}));
  EXPECT_EQ(t.GetYText(0, 0), "1.5");
  EXPECT_EQ(t.GetYText(0, 1), "");
  EXPECT_EQ(t.GetDataSet(0).Name, "Series1");  // named as the channels are made
  EXPECT_EQ(t.GetDataSet(1).XHeader, "X S2");
  EXPECT_EQ(TraceOf(array), (TTexts{"0, 0", "1, 7", "2, 14"}));
}

TEST_F(TOutputPlotTest, BigNumberAndTextShowValueTexts) {
  TOutput* big = Output("B", otBIGNUMBER);
  TOutput* text = Output("X", otTEXT);
  TPlotScript* shown = PlotXY(big, Y, X);
  TPlotScript* logged = Plot(text, Y, false);
  TDataArray* names = Array(B1, "N", eatSTRING, 3);
  for (int i = 0; i < 3; ++i) names->GetValueArray().SetElementText(std::string(1, 'a' + i), i);
  TPlotScript* lines = PlotArray(text, names);
  shown->Execute();
  EXPECT_EQ(BigNum(big).GetValue(), "10, 1.5");
  Text(text).SetNumberFormat(ntFIXED, 2);
  SetY("2.5");
  logged->Execute();
  lines->Execute();
  EXPECT_EQ(Text(text).GetLines(), (TTexts{"2.50", "a", "b", "c"}));
  Text(text).ClearOutput();
  lines->SetUpYOnly(text, names, true, 0, nullptr);
  static_cast<TVariableDataArray*>(lines->GetVariableY())->GetArrayIndex().ClearIndex();
  EXPECT_EQ(TraceOf(lines), (TTexts{"0, a", "1, b", "2, c"}));
  EXPECT_EQ(Text(text).GetText(), "0, a\r\n1, b\r\n2, c\r\n");
}

TEST_F(TOutputPlotTest, ClearOutputEmptiesWhatTheWindowShows) {
  TOutput* graph = Output("G", otGRAPH, 1);
  TOutput* table = Output("T", otTABLE, 1);
  TOutput* big = Output("B", otBIGNUMBER);
  for (TOutput* out : {graph, table, big}) Plot(out, Y, true)->Execute();
  TTransferData pasted;
  pasted.AddSeries("P", 1)->SetPoint(0, 1, 2);
  Graph(graph).ImportData(&pasted);
  Table(table).ImportData(&pasted);
  for (TOutput* out : {graph, table, big}) out->GetOutputForm()->ClearOutput();
  EXPECT_EQ(Graph(graph).GetSeries(0).Count(), 0);
  EXPECT_EQ(Graph(graph).GetSeries(1).Count(), 1);  // data series keep their points
  EXPECT_EQ(Table(table).GetDataSet(0).DataCount(), 0);
  EXPECT_EQ(Table(table).GetDataSet(1).DataCount(), 1);
  EXPECT_EQ(BigNum(big).GetValue(), "");
}

TEST_F(TOutputPlotTest, ClearBeforeRunClearsOncePerPlottedRun) {
  TOutput* out = Output("G", otGRAPH, 1);
  TPlotScript* first = Plot(out, Y, true);
  TPlotScript* second = Plot(out, Y, true);
  TGraphForm& g = Graph(out);
  first->Execute();
  g.ClearBeforeRun();
  EXPECT_TRUE(g.IsCleared());
  EXPECT_EQ(g.GetSeries(0).Count(), 0);
  second->Execute();
  EXPECT_FALSE(g.IsCleared());
  g.ClearBeforeRun();
  EXPECT_EQ(g.GetSeries(0).Count(), 0);
  TTransferData kept;
  kept.AddSeries("K", 1)->SetPoint(0, 1, 1);
  g.SetTransferData(&kept);
  g.ClearBeforeRun();  // nothing plotted since the last clear: not cleared again
  EXPECT_EQ(g.GetSeries(0).Count(), 1);
}

TEST_F(TOutputPlotTest, GraphsAndTablesTakeAtMost25Series) {
  EXPECT_FALSE(Graph(Output("G", otGRAPH, 25)).CanAddSeries());
  EXPECT_TRUE(Graph(Output("H", otGRAPH, 24)).CanAddSeries());
  EXPECT_FALSE(Table(Output("T", otTABLE, 25)).CanAddSeries());
  TOutput* text = Output("X", otTEXT);
  EXPECT_TRUE(Text(text).CanAddSeries());
  EXPECT_EQ(Text(text).GetMaxSeries(), -1);
}
