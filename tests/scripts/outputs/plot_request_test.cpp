// What the Plot dialog is offered when outputs are full: a graph that cannot take one more
// series is left out, except for the command that already plots to it.
#include <gtest/gtest.h>

#include "model/data_list.h"
#include "model/experiment.h"
#include "scripts/outputs/plot_fixture.h"
#include "scripts/script_request.h"

namespace {

class PlotRequestTest : public TPlotFixture {
protected:
  PlotRequestTest() {
    Ui.SetDialogHandler([this](TDialogRequest& request) {
      if (auto* plot = dynamic_cast<TPlotScriptRequest*>(&request)) Offered = plot->Outputs;
      ++Opened;
      return 0;
    });
  }
  int Opened = 0;
  std::vector<TOutput*> Offered;
};

TEST_F(PlotRequestTest, FullGraphsAreNotOfferedButACommandKeepsItsOwn) {
  Exp.SelectBlock(B1->AExpNode);
  TData* y = Exp.GetDataSingleList()->Add(B1, eatFLOAT, 1, "y");
  // A graph of as many series as a window shows is full.
  TOutput* first = Output("First", otGRAPH, MaxChannels);
  TOutput* second = Output("Second", otGRAPH);
  ASSERT_FALSE(Graph(first).CanAddSeries());
  ASSERT_TRUE(Graph(second).CanAddSeries());
  EXPECT_EQ(NewScript(Exp, TScript::PLOT), 0);
  EXPECT_EQ(Offered, std::vector<TOutput*>{second});

  TPlotScript* last = Plot(second, y, true);
  second->ApplyEdit(otGRAPH, "Second", MaxChannels);
  ASSERT_FALSE(Graph(second).CanAddSeries());
  Offered.clear();
  EXPECT_EQ(NewScript(Exp, TScript::PLOT), 0);
  EXPECT_EQ(Opened, 1);
  EXPECT_EQ(Ui.Texts(), TTexts{"All available outputs that can plot the variables have the "
                               "maximum number plotscripts"});
  // Changing a command of a full graph still offers that graph.
  EXPECT_EQ(last->Edit(), 0);
  EXPECT_EQ(Opened, 2);
  EXPECT_EQ(Offered, std::vector<TOutput*>{second});
}

}  // namespace
