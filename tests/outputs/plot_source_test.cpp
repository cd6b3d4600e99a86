// Windows fed through the plot-source interface by a fake source, without an
// experiment: each kind takes the point of its channel, counts the change, and gives
// its trace line.
#include <gtest/gtest.h>

#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"
#include "support/fake_plot_source.h"
#include "support/fake_ui_port.h"

namespace {

class PlotSourceTest : public ::testing::Test {
protected:
  TFakeUiPort Ui;
};

TEST_F(PlotSourceTest, GraphAndTableTakeThePointsOfTheirChannel) {
  std::unique_ptr<TOutput> g = MakeLiveOutput("G", otGRAPH, 3);
  auto& graph = dynamic_cast<TGraphForm&>(*g->GetOutputForm());
  TFakePlotSource second(1);
  std::uint64_t generation = graph.GetGeneration();
  second.Plot(graph, 1.5, -2);
  EXPECT_GT(graph.GetGeneration(), generation);
  generation = graph.GetGeneration();
  second.Plot(graph, 7);  // X is the counter: 1
  EXPECT_GT(graph.GetGeneration(), generation);
  EXPECT_EQ(graph.GetSeries(1).X, (std::vector<double>{1.5, 1}));
  EXPECT_EQ(graph.GetSeries(1).Y, (std::vector<double>{-2, 7}));
  EXPECT_EQ(graph.GetSeries(0).Count(), 0);
  EXPECT_EQ(graph.GetSeries(2).Count(), 0);
  std::vector<TDrawPoint> drawn;
  graph.PointsToDraw(1, 0, 2, 100, drawn);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[1].Y, 7);

  std::unique_ptr<TOutput> t = MakeLiveOutput("T", otTABLE, 2);
  auto& table = dynamic_cast<TTableForm&>(*t->GetOutputForm());
  table.SetNumberFormat(ntFIXED, 1);
  TFakePlotSource first(0);
  EXPECT_EQ(first.PlotTrace(table, 2, 0.25), (std::vector<std::string>{"2.0, 0.3"}));
  first.Plot(table, 3, 0.5);
  EXPECT_EQ(table.GetSeries(0).Y, (std::vector<float>{0.25f, 0.5f}));
  EXPECT_EQ(table.GetXText(0, 1), "3.0");
  EXPECT_EQ(table.GetSeries(1).Count(), 0);
}

TEST_F(PlotSourceTest, BigNumberAndTextShowTheValueText) {
  std::unique_ptr<TOutput> n = MakeLiveOutput("N", otBIGNUMBER);
  auto& big = dynamic_cast<TBigNumForm&>(*n->GetOutputForm());
  big.SetNumberFormat(ntFIXED, 2);
  TFakePlotSource source;
  source.Plot(big, 2.5);
  EXPECT_EQ(big.GetValue(), "2.50");

  std::unique_ptr<TOutput> x = MakeLiveOutput("X", otTEXT);
  auto& text = dynamic_cast<TTextForm&>(*x->GetOutputForm());
  text.SetNumberFormat(ntFIXED, 1);
  TFakePlotSource lines;
  lines.UseCounter = true;
  lines.Plot(text, 4);
  lines.Plot(text, 1, 5);
  EXPECT_EQ(text.GetLines(), (std::vector<std::string>{"0, 4.0", "1.0, 5.0"}));
  const std::uint64_t generation = text.GetGeneration();
  EXPECT_EQ(lines.PlotTrace(text, 2, 6), (std::vector<std::string>{"2.0, 6.0"}));
  EXPECT_GT(text.GetGeneration(), generation);
}

}  // namespace
