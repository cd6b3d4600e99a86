// The table's data sets as its window edits them: at most 25 sets, the user told how many
// were left out; Clear empties every set; columns hidden and sets moved; the rewrite count
// that tells a view whether it has only new points to draw; a new run follows the newest
// row again while "Auto Scroll" is checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/table_form.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

using TTexts = std::vector<std::string>;

// Transfer data of count series named "P0", "P1", ..., each with one point (s, s).
TTransferData Series(int count) {
  TTransferData data;
  for (int s = 0; s < count; ++s)
    data.AddSeries("P" + NumberText::IntToText(s), 1)->SetPoint(0, float(s), float(s));
  return data;
}

TTexts Names(const TTableForm& form) {
  TTexts names;
  for (int s = 0; s < form.SeriesCount(); ++s) names.push_back(form.GetSeries(s).Name);
  return names;
}

class TableDataSetsTest : public TPlotFixture {};

TEST_F(TableDataSetsTest, AddingStopsAt25SetsAndTellsHowManyWereLeftOut) {
  TTableForm& live = Table(Output("T", otTABLE, 3));
  TTransferData many = Series(27);
  live.SetTransferData(&many);
  ASSERT_EQ(live.SeriesCount(), 25);
  EXPECT_EQ(live.GetSeries(24).Name, "P24");
  EXPECT_TRUE(live.GetSeries(2).IsOutputDataSet);
  EXPECT_FALSE(live.GetSeries(3).IsOutputDataSet);
  EXPECT_EQ(Ui.Texts(), TTexts{"A table holds at most 25 data sets: 2 data sets were left out."});

  TTableForm detached(static_cast<TDeadOutputList*>(nullptr));
  TTransferData first = Series(24), next = Series(2), exact = Series(25);
  Ui.Clear();
  detached.ImportData(&first);
  EXPECT_TRUE(Ui.Texts().empty());
  detached.ImportData(&next);
  EXPECT_EQ(detached.SeriesCount(), 25);
  EXPECT_EQ(detached.GetSeries(24).Name, "P0");
  EXPECT_EQ(Ui.Texts(), TTexts{"A table holds at most 25 data sets: 1 data set was left out."});
  // A full table takes nothing more; exactly 25 in an empty one is no message.
  Ui.Clear();
  detached.ImportData(&next);
  EXPECT_EQ(Ui.Texts(), TTexts{"A table holds at most 25 data sets: 2 data sets were left out."});
  Ui.Clear();
  detached.SetTransferData(&exact);
  EXPECT_EQ(detached.SeriesCount(), 25);
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(TableDataSetsTest, ClearEmptiesEverySetAndHiddenColumnsAndMovesKeepTheSetsData) {
  TOutput* t = Output("T", otTABLE, 2);
  TTableForm& form = Table(t);
  TTransferData pasted = Series(3);
  form.ImportData(&pasted);
  form.GetSeries(0).AddPoint(1, 2);
  EXPECT_EQ(Names(form), (TTexts{"Series1", "Series2", "P0", "P1", "P2"}));

  // Moves go among the plain sets only: P2 to P0's place shifts P0 and P1 right.
  form.MoveDataSet(4, 2);
  EXPECT_EQ(Names(form), (TTexts{"Series1", "Series2", "P2", "P0", "P1"}));
  EXPECT_EQ(form.GetSeries(2).Y, std::vector<float>{2});
  form.MoveDataSet(2, 4);
  EXPECT_EQ(Names(form), (TTexts{"Series1", "Series2", "P0", "P1", "P2"}));

  form.ShowColumn(3, true, false);
  form.ShowColumn(4, false, false);
  EXPECT_FALSE(form.GetSeries(3).ShowX);
  EXPECT_TRUE(form.GetSeries(3).ShowY);
  EXPECT_FALSE(form.GetSeries(4).ShowY);
  form.ShowColumn(3, true, true);
  EXPECT_TRUE(form.GetSeries(3).ShowX);

  // Clear Output keeps the pasted sets' points; the window's Clear does not.
  form.ClearOutput();
  EXPECT_EQ(form.GetSeries(0).Count(), 0);
  EXPECT_EQ(form.GetSeries(2).Count(), 1);
  form.ClearAllData();
  EXPECT_EQ(form.SeriesCount(), 5);
  EXPECT_EQ(form.MaxDataCount(), 0);
}

TEST_F(TableDataSetsTest, PlottedPointsAreNoRewriteAndEverythingElseIs) {
  TOutput* t = Output("T", otTABLE, 2);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  Increment(i);
  Plot(t, i, true, 0);
  Plot(t, i, true, 1);
  TTableForm& form = Table(t);
  Prepare(B1);  // clears before the run: a rewrite
  std::uint64_t count = form.GetRewriteCount();
  for (int k = 0; k < 3; ++k)
    for (TScript* s = B1->GetFirstScript(); s; s = s->Execute()) {}
  EXPECT_EQ(form.MaxDataCount(), 3);
  EXPECT_EQ(form.GetRewriteCount(), count);

  auto rewrites = [&](const char* what, auto change) {
    const std::uint64_t before = form.GetRewriteCount();
    change();
    EXPECT_GT(form.GetRewriteCount(), before) << what;
  };
  TTransferData pasted = Series(1);
  rewrites("number format", [&] { form.SetNumberFormat(ntFIXED, 2); });
  rewrites("import", [&] { form.ImportData(&pasted); });
  rewrites("hide", [&] { form.ShowColumn(2, true, false); });
  rewrites("delete", [&] { form.DeleteDataSet(2); });
  rewrites("clear output", [&] { form.ClearOutput(); });
  rewrites("clear", [&] { form.ClearAllData(); });
  rewrites("channels", [&] { form.SetNumberOfChannels(1); });
  rewrites("transfer", [&] { form.SetTransferData(&pasted); });
  rewrites("new set", [&] { form.NewDataSet("N", false); });
  count = form.GetRewriteCount();
  form.SetAutoScrollChecked(false);
  form.EndRun();
  EXPECT_EQ(form.GetRewriteCount(), count);
}

TEST_F(TableDataSetsTest, ANewRunFollowsAgainWhileAutoScrollIsChecked) {
  TOutput* t = Output("T", otTABLE, 1);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  Plot(t, i, true, 0);
  TTableForm& form = Table(t);
  EXPECT_TRUE(form.IsAutoScrollChecked());
  EXPECT_TRUE(form.GetAutoScroll());
  for (bool checked : {true, false}) {
    form.SetAutoScrollChecked(checked);
    Run(B1);
    form.EndRun();
    EXPECT_FALSE(form.GetAutoScroll());
    EXPECT_EQ(form.IsAutoScrollChecked(), checked);
    Run(B1);  // the run's start clears the plotted points
    EXPECT_EQ(form.GetAutoScroll(), checked);
    EXPECT_EQ(form.MaxDataCount(), 1);
  }
}

}  // namespace
