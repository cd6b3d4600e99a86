// Active scrolling of a graph's x-axis during a run, the scrolling record as it is read
// back, and the cap on the series a graph takes from transfer data.
#include <gtest/gtest.h>

#include <string>

#include "model/experiment_running.h"
#include "model/number_text.h"
#include "outputs/output_records.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

class GraphScrollTest : public TPlotFixture {
protected:
  void TearDown() override {
    ExperimentRunning = false;
    TPlotFixture::TearDown();
  }
  // Plots the point (x, y) with the XY command.
  void PlotPoint(double x, double y) {
    X->GetValue().SetText(NumberText::FormatNumber(x, ntSTANDARD, 0));
    Y->GetValue().SetText(NumberText::FormatNumber(y, ntSTANDARD, 0));
    XY->Execute();
  }
  static TTransferData Transfer(int series) {
    TTransferData data;
    for (int s = 0; s < series; ++s) {
      TTransferSeries* one = data.AddSeries("S", 1);
      one->XName = "x" + std::to_string(s);
      one->YName = "y";
      one->SetPoint(0, static_cast<float>(s), 1);
    }
    return data;
  }

  TOutput* Out = Output("G", otGRAPH, 2);
  TGraphForm& Form = Graph(Out);
  TXAxisScroll& Scroll = *Form.GetXAxisScroll();
  TDataSingle* X = Single(B1, "X", eatFLOAT, "0");
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "0");
  TPlotScript* XY = PlotXY(Out, Y, X, 1);
};

TEST_F(GraphScrollTest, PointAfterTheWindowRecentresOnTheNewestPoint) {
  Scroll.Follow(1, 100);
  EXPECT_TRUE(Scroll.IsSet());
  EXPECT_TRUE(Scroll.Active);
  ExperimentRunning = true;
  // X of point k is 3k + 2: points 0 to 100 fit the window of 100 points.
  for (int k = 0; k <= 100; ++k) PlotPoint(3.0 * k + 2, k);
  EXPECT_TRUE(Form.BottomAxis().Automatic);
  EXPECT_EQ(Scroll.Start, 0);
  // Point 101 starts the window at 101 - 100 / 2 = 51; the axis runs from X of point 51
  // over twice the distance to X of point 101, which sits in the middle.
  PlotPoint(3.0 * 101 + 2, 101);
  EXPECT_EQ(Scroll.Start, 51);
  EXPECT_FALSE(Form.BottomAxis().Automatic);
  EXPECT_EQ(Form.BottomAxis().Minimum, 3.0 * 51 + 2);
  EXPECT_EQ(Form.BottomAxis().Maximum, (3.0 * 51 + 2) + 2 * (3.0 * 101 - 3.0 * 51));
  // Nothing moves again until the window is passed once more.
  for (int k = 102; k <= 151; ++k) PlotPoint(3.0 * k + 2, k);
  EXPECT_EQ(Scroll.Start, 51);
  PlotPoint(3.0 * 152 + 2, 152);
  EXPECT_EQ(Scroll.Start, 102);

  // The button off, or no run: the axis stays.
  Form.BottomAxis() = TGraphAxis();
  Scroll.Active = false;
  for (int k = 0; k < 200; ++k) PlotPoint(k, k);
  EXPECT_TRUE(Form.BottomAxis().Automatic);
  Scroll.Active = true;
  ExperimentRunning = false;
  for (int k = 0; k < 200; ++k) PlotPoint(k, k);
  EXPECT_TRUE(Form.BottomAxis().Automatic);
}

TEST_F(GraphScrollTest, NoPointsOrXThatDoesNotGrowNeverScroll) {
  ExperimentRunning = true;
  // A width of 0, which the dialog accepts, is scrolling off.
  Scroll.Follow(1, 0);
  EXPECT_FALSE(Scroll.IsSet());
  EXPECT_FALSE(Scroll.Active);
  EXPECT_EQ(Scroll.Series, -1);
  for (int k = 0; k < 20; ++k) PlotPoint(k, k);
  EXPECT_TRUE(Form.BottomAxis().Automatic);
  Scroll.Follow(-1, 10);
  EXPECT_FALSE(Scroll.IsSet());

  // The same X again and again: a window from X to X is no window, the axis stays; so it
  // does for X that goes back.
  Form.ClearDisplay();
  Scroll.Follow(1, 4);
  for (int k = 0; k < 10; ++k) PlotPoint(7, k);
  EXPECT_TRUE(Form.BottomAxis().Automatic);
  Form.ClearDisplay();
  for (int k = 0; k < 10; ++k) PlotPoint(100 - k, k);
  EXPECT_TRUE(Form.BottomAxis().Automatic);
  // Growing X again re-centres.
  for (int k = 0; k < 10; ++k) PlotPoint(200 + k, k);
  EXPECT_FALSE(Form.BottomAxis().Automatic);
  EXPECT_GT(Form.BottomAxis().Maximum, Form.BottomAxis().Minimum);
}

TEST_F(GraphScrollTest, TheScrollingRecordReadsBackAndOffWhenItCannotBeFollowed) {
  const auto read = [this](std::int32_t series, std::int32_t points) {
    TBytes record = records::GraphRecord("G", 2);
    record.back() = 1;  // scrolling on: the series, then the number of points
    Form.Read(*Reader(Cat({record, I32(series), I32(points)})));
    return Scroll;
  };
  TXAxisScroll scroll = read(1, 30);
  EXPECT_EQ(scroll.Series, 1);
  EXPECT_EQ(scroll.Points, 30);
  EXPECT_TRUE(scroll.Active) << "saved on, read on";
  scroll = read(2, 30);  // there is no third series
  EXPECT_FALSE(scroll.IsSet());
  EXPECT_FALSE(scroll.Active);
  scroll = read(0, 0);
  EXPECT_FALSE(scroll.IsSet());

  // Written and read again: the same settings.
  Scroll.Follow(0, 12);
  const TBytes bytes = Written([this](TWriteFile& w) { Form.Write(w); });
  Scroll.Follow(-1, 0);
  Form.Read(*Reader(bytes));
  EXPECT_EQ(Scroll.Series, 0);
  EXPECT_EQ(Scroll.Points, 12);

  // Losing the followed channel switches scrolling off.
  Scroll.Follow(1, 12);
  Out->NumberOfChannels = 2;
  Form.SetNumberOfChannels(1);
  EXPECT_FALSE(Scroll.IsSet());
}

TEST_F(GraphScrollTest, TransferDataStopsAtTwentyFiveSeriesAndTellsHowManyWereLeftOut) {
  TTransferData some = Transfer(20);
  Form.ImportData(&some);
  EXPECT_EQ(Form.SeriesCount(), 22);
  EXPECT_TRUE(Ui.Texts().empty());
  TTransferData more = Transfer(5);
  Form.ImportData(&more);
  EXPECT_EQ(Form.SeriesCount(), 25);
  EXPECT_EQ(Form.GetSeries(24).Name, "x2 vs y");  // the first three of the five
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Text, "A graph holds at most 25 series: 2 series were left out.");
  TTransferData full = Transfer(30);
  Ui.Clear();
  Form.SetTransferData(&full);
  EXPECT_EQ(Form.SeriesCount(), 25);
  EXPECT_EQ(Ui.Texts(),
            std::vector<std::string>{"A graph holds at most 25 series: 5 series were left out."});
}

}  // namespace
