// The graph window's channels, data series and record.
#include <gtest/gtest.h>

#include "outputs/output_file.h"
#include "outputs/output_records.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

class TGraphFormTest : public TPlotFixture {
protected:
  static TTexts Titles(const TGraphForm& g) {
    TTexts titles;
    for (std::int32_t i = 0; i < g.SeriesCount(); ++i) titles.push_back(g.GetSeries(i).Title);
    return titles;
  }
  static void Import(TGraphForm& g) {
    TTransferData data;
    TTransferSeries* series = data.AddSeries("P", 1);
    series->XName = "t";
    series->YName = "v";
    series->SetPoint(0, 1, 2);
    g.ImportData(&data);
  }
};

}  // namespace

TEST_F(TGraphFormTest, ChannelSeriesAreNamedAndStayAheadOfDataSeries) {
  TGraphForm& made = Graph(Output("M", otGRAPH, 3));
  EXPECT_EQ(Titles(made), (TTexts{"Series1", "Series 2", "Series 3"}));
  EXPECT_EQ(made.GetSeries(2).XName, "X Series 3");
  EXPECT_EQ(made.GetSeries(2).YName, "Y Series3");
  EXPECT_EQ(made.Chart().Title[0], "M");
  TOutput* out = Output("G", otGRAPH, 1);
  Import(Graph(out));
  out->ApplyEdit(otGRAPH, "G", 3);
  EXPECT_EQ(Titles(Graph(out)), (TTexts{"Series1", "Series 1", "Series 2", "t vs v"}));
  out->ApplyEdit(otGRAPH, "G", 1);
  EXPECT_EQ(Titles(Graph(out)), (TTexts{"Series1", "t vs v"}));
}

TEST_F(TGraphFormTest, OutputFileOfALiveGraphHoldsEverySeries) {
  TOutput* out = Output("G", otGRAPH, 2);
  Import(Graph(out));
  Graph(out).BottomAxis().Minimum = 5;  // above its maximum: read back as 0 to 10
  Graph(out).BottomAxis().Maximum = 2;
  ASSERT_TRUE(SaveOutputFile(*out->GetOutputForm(), Temp.PathOf("g.opt")));
  auto form = LoadOutputFile(Temp.PathOf("g.opt"), nullptr);
  auto& read = dynamic_cast<TGraphForm&>(*form);
  EXPECT_EQ(Titles(read), (TTexts{"Series1", "Series 2", "t vs v"}));
  EXPECT_EQ(read.GetSeries(2).Y, (std::vector<double>{2}));
  EXPECT_EQ(read.BottomAxis().Minimum, 0);
  EXPECT_EQ(read.BottomAxis().Maximum, 10);
  EXPECT_FALSE(read.IsLive());
  EXPECT_EQ(read.NumberOfActiveSeries(), 0);
}
