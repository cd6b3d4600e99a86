// The list of outputs: the block file's section, the end of a run, the report and the
// Add Output dialog.
#include <gtest/gtest.h>

#include "model/experiment_running.h"
#include "model/report.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

class TOutputListTest : public TPlotFixture {
protected:
  TOutputList& List = *Exp.GetOutputList();
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "1.5");

  std::vector<TVariable*> Exported;
};

struct TLines : TReport {
  void AddHeading(const std::string& line) override { Lines.push_back("#" + line); }
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  TTexts Lines;
};

std::int32_t CountOf(const TBytes& bytes) {
  return static_cast<std::int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24);
}

}  // namespace

TEST_F(TOutputListTest, BlockSectionHoldsOnlyTheOutputsExportedPlotsUse) {
  TOutput* a = List.NewOutput("A", otGRAPH, 1);
  List.NewOutput("B", otTABLE, 1);
  TOutput* c = List.NewOutput("C", otTEXT, 1);
  TPlotScript* onC = Plot(c, Y, false);
  TPlotScript* onA = Plot(a, Y, true);
  TPlotScript* again = Plot(a, Y, true);
  TScript* other = Stub(B1, "calc");
  auto section = [&](std::vector<TScript*> exported) {
    return Written(
        [&](TWriteFile& w) {
          for (TScript* script : exported) w.GetBlockScriptList().push_back(script);
          List.SaveBlock(w, B1);
        },
        "b.blk", &Exported);
  };
  EXPECT_EQ(section({other}), I32(0));
  const TBytes both = section({onC, onA, again, other});
  EXPECT_EQ(CountOf(both), 2);
  // Records in list order: A first, each once.
  EXPECT_EQ(TBytes(both.begin() + 4, both.begin() + 4 + StringBytes("A").size()), StringBytes("A"));
  const TBytes justC = section({onC});
  EXPECT_EQ(CountOf(justC), 1);
  EXPECT_EQ(TBytes(justC.begin() + 4, justC.begin() + 10), StringBytes("C"));
}

TEST_F(TOutputListTest, EndRunReachesEveryWindowAndTheReportListsOutputs) {
  TOutput* table = List.NewOutput("T", otTABLE, 1);
  List.NewOutput("N", otBIGNUMBER, 1);
  Plot(table, Y, true);
  List.EndRun();
  EXPECT_FALSE(Table(table).GetAutoScroll());
  EXPECT_TRUE(List.GetOutput(1)->HasOutputForm());  // made when missing
  EXPECT_EQ(List.GetOutput(2), nullptr);
  TLines report;
  List.WriteReport(report);
  EXPECT_EQ(report.Lines, (TTexts{"#Name\t\tType\tCommands Using", "T\t\tTable\t1",
                                  "N\t\tBignum\t0"}));
}

TEST_F(TOutputListTest, AddOutputDialogMakesOutputsButNotWhileRunning) {
  Ui.SetDialogHandler([](TDialogRequest& request) {
    auto& dialog = dynamic_cast<TOutputDialogRequest&>(request);
    dialog.Title = "New";
    dialog.Kind = otTABLE;
    dialog.Channels = 3;
    return 1;
  });
  List.AddNew();
  ASSERT_EQ(List.GetCount(), 1);
  EXPECT_EQ(List.GetOutput(0)->NumberOfChannels, 3);
  EXPECT_EQ(List.GetOutput(0)->AExpAttNode->GetText(), "New");
  EXPECT_TRUE(List.AExpAttNode->GetExpanded());
  ExperimentRunning = true;
  List.AddNew();
  List.UserAdd();
  EXPECT_EQ(Ui.Texts(), (TTexts{"Cannot add output while experiment is running",
                                "Cannot add output while experiment is running"}));
  EXPECT_EQ(List.GetCount(), 1);
}
