// What the Plot, Output to File, Clear Output and Create-new-file dialogs are given, and
// the Create-new-file command made for a multiple file without its dialog.
#include <gtest/gtest.h>

#include "model/data_list.h"
#include "model/experiment.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/flow/blank_script.h"
#include "scripts/files/create_new_file_script.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/outputs/clear_output_script.h"
#include "scripts/outputs/plot_script.h"
#include "support/experiment_fixture.h"

namespace {

class OutputCommandRequestsTest : public TCommandFixture {
protected:
  OutputCommandRequestsTest() {
    Ui.SetDialogHandler([this](TDialogRequest& request) {
      if (auto* create = dynamic_cast<TCreateNewFileRequest*>(&request)) Files = create->Files;
      if (auto* plot = dynamic_cast<TPlotScriptRequest*>(&request)) {
        Outputs = plot->Outputs;
        FirstOutput = plot->FirstOutput;
        FirstY = plot->FirstY;
      }
      ++Opened;
      return 0;
    });
  }
  TMultiExpFile* MultiFile(const char* base) {
    TMultiExpFileRequest request;
    request.Directory = Temp.Path().string();
    request.BaseName = base;
    request.Extension = "txt";
    return Exp.GetMultiExpFileList()->Create(request);
  }

  int Opened = 0;
  std::vector<TMultiExpFile*> Files;
  std::vector<TOutput*> Outputs;
  TOutput* FirstOutput = nullptr;
  TData* FirstY = nullptr;
};

TEST_F(OutputCommandRequestsTest, CreateNewFileAsksForTheBlockFirstOnBothWays) {
  TMultiExpFile* run = MultiFile("run");
  const std::size_t changes = Ui.ExperimentChanges().size();
  // No block receives new commands: nothing is made, nothing opens, no assertion.
  EXPECT_EQ(CreateScriptFor(Exp, *run), nullptr);
  EXPECT_EQ(NewScript(Exp, TScript::CREATENEWFILE), 0);
  EXPECT_EQ(Opened, 0);
  EXPECT_EQ(Ui.Texts(), (TTexts{"You must select a block before you can add a script.",
                                "You must select a block before you can add a script."}));
  EXPECT_EQ(Ui.ExperimentChanges().size(), changes);

  Exp.SelectBlock(B1->AExpNode);
  const std::size_t selected = Ui.ExperimentChanges().size();
  TCreateNewFileScript* made = CreateScriptFor(Exp, *run);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->Pblock, B1);
  EXPECT_EQ(made->GetFile(), run);
  EXPECT_EQ(made->AExpNode->GetNextSibling(), Exp.GetBlankScript()->AExpNode);
  ASSERT_EQ(Ui.ExperimentChanges().size(), selected + 1);
  EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{1, 0}));
  TMultiExpFile* scan = MultiFile("scan");
  EXPECT_EQ(NewScript(Exp, TScript::CREATENEWFILE), 0);
  EXPECT_EQ(Opened, 1);
  EXPECT_EQ(Files, (std::vector<TMultiExpFile*>{run, scan}));
}

TEST_F(OutputCommandRequestsTest, PlotLeavesOutFullAndUnfitOutputs) {
  Exp.SelectBlock(B1->AExpNode);
  TData* word = Exp.GetDataSingleList()->Add(B1, eatSTRING, 1, "word");
  TOutput* graph = Exp.GetOutputList()->NewOutput("Chart", otGRAPH, 1);
  TOutput* big = Exp.GetOutputList()->NewOutput("Big", otBIGNUMBER, 1);
  // Only strings: a graph cannot plot them, the big number can.
  EXPECT_EQ(NewScriptFor(Exp, TScript::PLOT, word), 0);
  EXPECT_EQ(Outputs, std::vector<TOutput*>{big});
  EXPECT_EQ(FirstOutput, big);
  EXPECT_EQ(FirstY, word);
  // The graph named but not offered: its own message, no dialog.
  EXPECT_EQ(NewScriptFor(Exp, TScript::PLOT, graph), 0);
  EXPECT_EQ(Opened, 1);
  EXPECT_EQ(Ui.Texts(), TTexts{"The output Chart cannot plot any of variables.  Cannot create "
                               "plot command"});
  // A string named where only graphs are: none can plot it.
  Exp.GetDataSingleList()->Add(B1, eatINTEGER, 1, "n");
  EXPECT_EQ(NewScriptFor(Exp, TScript::PLOT, graph), 0);
  EXPECT_EQ(FirstOutput, graph);
  EXPECT_EQ(Outputs, (std::vector<TOutput*>{graph, big}));
}

TEST_F(OutputCommandRequestsTest, ClearOutputAndOutputToFileRefuseWithoutWhatTheyList) {
  Exp.SelectBlock(B1->AExpNode);
  EXPECT_EQ(NewScript(Exp, TScript::CLEARPLOT), 0);
  EXPECT_EQ(NewScript(Exp, TScript::OUTPUTTOFILE), 0);
  EXPECT_EQ(Opened, 0);
  EXPECT_EQ(Ui.Texts(),
            (TTexts{"There are no output to clear, cannot create a clear output command",
                    "There are no variables to output, cannot create an output to file command"}));
}

}  // namespace
