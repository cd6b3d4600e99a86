// The Clear Output command: in a run it empties a graph's and a table's channels (their
// data series keep their points) and a big number in order with the plots around it,
// through the hand-over to the main thread; its trace, comment-out and texts; the record
// byte by byte, read back and refused without its output; block files take its output
// along.
#include "scripts/outputs/clear_output_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/errors.h"
#include "plot_fixture.h"
#include "shell/experiment_file.h"

namespace {

class ClearOutputScriptTest : public TPlotFixture {
protected:
  TClearPlotScript* Clear(TOutput* output) {
    auto* clear = new TClearPlotScript(Cur, NewNode(Cur));
    clear->SetOutput(output);
    return clear;
  }
};

TEST_F(ClearOutputScriptTest, ARunEmptiesTheOutputsInOrderWithThePlots) {
  TOutput* g = Output("G", otGRAPH, 2);
  TOutput* t = Output("T", otTABLE, 1);
  TOutput* n = Output("N", otBIGNUMBER);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "5");
  Plot(g, i, true, 0);
  Plot(t, i, true);
  Plot(n, i, false);
  Clear(g);
  Clear(t);
  Clear(n);
  TPlotScript* after = Plot(g, i, true, 1);  // after the clear: stays
  TTransferData pasted;
  pasted.AddSeries("P", 1)->SetPoint(0, 1, 2);
  Graph(g).ImportData(&pasted);
  Table(t).ImportData(&pasted);
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_EQ(Graph(g).GetSeries(0).Count(), 0);
  EXPECT_EQ(Graph(g).GetSeries(1).Count(), 1);
  EXPECT_EQ(Graph(g).GetSeries(2).Count(), 1);  // a data series
  EXPECT_EQ(Table(t).GetSeries(0).Count(), 0);
  EXPECT_EQ(Table(t).GetSeries(1).Count(), 1);
  EXPECT_EQ(BigNum(n).GetValue(), "");

  // The clear is handed to the main thread, wherever it is called from; its trace.
  TClearPlotScript* clear = Clear(g);
  EXPECT_EQ(clear->AExpNode->GetText(), "Clear G");
  const int before = Ui.HandOvers();
  EXPECT_EQ(clear->Execute(), clear->Pnextscript);
  EXPECT_EQ(Ui.HandOvers(), before + 1);
  EXPECT_EQ(Graph(g).GetSeries(1).Count(), 0);
  after->Execute();
  EXPECT_EQ(TraceOf(clear), TTexts{"Clearing output G"});
  EXPECT_EQ(Graph(g).GetSeries(1).Count(), 0);
  after->Execute();
  clear->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(clear), TTexts{"Comment(Clear G)"});
  clear->Execute();
  EXPECT_EQ(Graph(g).GetSeries(1).Count(), 1);  // commented out: nothing cleared
}

TEST_F(ClearOutputScriptTest, TheRecordReadBackAndRefusedWithoutItsOutput) {
  TOutput* g = Output("G", otTABLE);
  const TBytes record = Cat({I32(100), I32(101), TBytes{0}});  // output, then the base part
  EXPECT_EQ(Written({Clear(g)}), record);
  std::vector<TVariable*> waiting;
  TClearPlotScript* back = ReadOne<TClearPlotScript>(record, &waiting);
  EXPECT_EQ(back->GetText(), "none");  // no output yet
  EXPECT_EQ(back->PreadscriptID, 101);
  ASSERT_EQ(waiting, std::vector<TVariable*>{back->GetOutputReference()});
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(g, 100));
  EXPECT_EQ(CheckError(back), "");
  EXPECT_EQ(back->AExpNode->GetText(), "Clear G");
  EXPECT_EQ(Written({back}), record);

  const std::string missing = "Output in Clear Plot script is not set...aborting read";
  EXPECT_EQ(ReadingError(record, {TScript::CLEARPLOT}, nullptr, 0), missing);
  for (const TBytes& damaged : {TBytes{}, I32(100), Cat({I32(100), I32(101)})}) {
    EXPECT_THROW(ReadOne<TClearPlotScript>(damaged, &waiting), EReadError);
    EXPECT_TRUE(waiting.empty());
  }
}

TEST_F(ClearOutputScriptTest, BlockFilesTakeTheClearedOutputAlong) {
  // One block plots to an output and clears it; another only clears one.
  TOutput* g = Output("G", otGRAPH);
  TOutput* n = Output("N", otBIGNUMBER);
  Plot(g, Single(B1, "i", eatINTEGER, "5"), true);
  Clear(g);
  Cur = B2;
  Clear(n);
  std::string error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("both.blk"), Exp, B1, nullptr, error)) << error;
  ASSERT_TRUE(SaveBlockFile(Temp.PathOf("clear.blk"), Exp, B2, nullptr, error)) << error;

  // Each goes into an experiment of its own, which runs it.
  TDrawParts parts;
  TExperiment first, second;
  const auto run = [](TExperiment& exp) {
    TTexts ran;
    TBlock* start = exp.Run();
    EXPECT_NE(start, nullptr);
    for (TScript* s = start ? start->GetFirstScript() : nullptr; s; s = s->Execute())
      ran.push_back(s->GetText());
    exp.SelectFirstBlock();
    return ran;
  };
  ASSERT_NE(OpenBlockFile(Temp.PathOf("both.blk"), first, parts, {}, nullptr, error), nullptr)
      << error;
  ASSERT_NE(OpenBlockFile(Temp.PathOf("clear.blk"), second, parts, {}, nullptr, error), nullptr)
      << error;
  ASSERT_EQ(first.GetOutputList()->GetCount(), 1);
  ASSERT_EQ(second.GetOutputList()->GetCount(), 1);
  TOutput* graph = first.GetOutputList()->GetOutput(0);
  TOutput* number = second.GetOutputList()->GetOutput(0);
  EXPECT_EQ(graph->GetName(), "G");
  EXPECT_EQ(graph->GetUserCount(), 2);
  EXPECT_EQ(number->GetName(), "N");
  EXPECT_EQ(number->GetUserCount(), 1);
  EXPECT_EQ(run(first), (TTexts{"G(0): Plot(Counter, i)", "Clear G"}));
  EXPECT_EQ(Graph(graph).GetSeries(0).Count(), 0);
  BigNum(number).GetLabel().Text = "7";
  EXPECT_EQ(run(second), TTexts{"Clear N"});
  EXPECT_EQ(BigNum(number).GetValue(), "");

  // A block file whose Clear Output finds no output is refused when it is opened, and
  // leaves nothing behind.
  TBytes bytes = Temp.ReadBytes("clear.blk");
  const TBytes section = Cat({I32(1), StringBytes("N")});
  const auto at = std::search(bytes.begin(), bytes.end(), section.begin(), section.end());
  ASSERT_NE(at, bytes.end());
  bytes.erase(at, bytes.end());
  for (int i = 0; i < 6; ++i) bytes = Cat({bytes, I32(0)});  // every section empty
  EXPECT_EQ(OpenBlockFile(Temp.WriteBytes("none.blk", bytes), second, parts, {}, nullptr, error),
            nullptr);
  EXPECT_EQ(error, "Output in Clear Plot script is not set...aborting read");
  EXPECT_EQ(second.GetExperimentTree().Count(), 1);
  EXPECT_EQ(parts.Count(), 2);
  EXPECT_EQ(second.GetOutputList()->GetCount(), 1);
}

}  // namespace
