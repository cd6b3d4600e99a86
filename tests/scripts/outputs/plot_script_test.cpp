// The Plot command: a run on the worker fills graph series (counter, X variable,
// arrays), a table and a big number; each run clears once and counts from 0; channels
// out of range (an index variable below 0 included) stop the run; the texts, the value
// texts and the lines of text windows; retypes; the record byte by byte, read back, old
// files, damaged ones and the checks after reading.
#include "scripts/outputs/plot_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/number_text.h"
#include "model/value_array.h"
#include "plot_fixture.h"
#include "scripts/flow/label_script.h"

namespace {

const TBytes False{0}, True{1};
using TPoints = std::vector<double>;

class PlotScriptTest : public TPlotFixture {};

TEST_F(PlotScriptTest, ARunFillsGraphTableAndBigNumber) {
  TOutput* g = Output("G", otGRAPH, 3);
  TOutput* t = Output("T", otTABLE, 2);
  TOutput* n = Output("N", otBIGNUMBER);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
  TDataSingle* j = Single(B1, "j", eatINTEGER, "10");
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 3);
  for (int k = 0; k < 3; ++k)
    arr->GetValueArray().SetElementText(NumberText::IntToText(k) + ".5", k);

  TLabelScript* loop = Label("L");
  Increment(i);
  Increment(j, "2");
  TPlotScript* counted = Plot(g, i, true, 0);
  PlotXY(g, i, j, 1);
  PlotXY(t, i, j, 0);
  Plot(n, i, false);
  TPlotScript* array = PlotArray(g, arr, 2);
  PlotArray(t, arr, 1);
  Repeat(loop, 3);

  for (int run = 0; run < 2; ++run) {  // each run clears once and counts from 0 again
    EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
    const TGraphForm& graph = Graph(g);
    EXPECT_EQ(graph.GetSeries(0).X, (TPoints{0, 1, 2}));
    EXPECT_EQ(graph.GetSeries(0).Y, (TPoints{1, 2, 3}));
    EXPECT_EQ(graph.GetSeries(1).X, (TPoints{12, 14, 16}));
    EXPECT_EQ(graph.GetSeries(1).Y, (TPoints{1, 2, 3}));
    // An array goes against its indexes, whatever the counter, and counts as one point.
    EXPECT_EQ(graph.GetSeries(2).X, (TPoints{0, 1, 2, 0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(graph.GetSeries(2).Y, (TPoints{0.5, 1.5, 2.5, 0.5, 1.5, 2.5, 0.5, 1.5, 2.5}));
    EXPECT_EQ(array->GetPointCounter(), 3);
    EXPECT_EQ(counted->GetPointCounter(), 3);
    const TTableForm& table = Table(t);
    EXPECT_EQ(table.GetSeries(0).X, (std::vector<float>{12, 14, 16}));
    EXPECT_EQ(table.GetSeries(0).Y, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(table.GetSeries(1).Y.size(), 9u);
    EXPECT_EQ(table.GetSeries(1).Y[4], 1.5f);
    EXPECT_EQ(table.GetYText(0, 2), "3");
    EXPECT_EQ(table.GetYText(0, 3), "");  // beyond the set's points
    EXPECT_EQ(BigNum(n).GetValue(), "3");
  }
  // The trace of an array: a line per element, its index and its text.
  EXPECT_EQ(TraceOf(array), (TTexts{"0, 0.5", "1, 1.5", "2, 2.5"}));
}

TEST_F(PlotScriptTest, ChannelsOutOfRangeStopTheRunAndPlotNothing) {
  TOutput* g = Output("G", otGRAPH, 3);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "1");
  TDataSingle* c = Single(B1, "c", eatINTEGER, "3");
  TPlotScript* plot = Plot(g, i, true, 0, c);
  EXPECT_EQ(plot->GetText(), "G(c): Plot(Counter, i)");
  for (const char* value : {"3", "-1"}) {
    c->SetInitialValue(value);
    EXPECT_EQ(RunB1(), TTexts{"The plot index of G(c): Plot(Counter, i) is invalid."}) << value;
    EXPECT_EQ(plot->GetPointCounter(), 0) << value;
    for (int s = 0; s < 3; ++s) EXPECT_EQ(Graph(g).GetSeries(s).Count(), 0) << value;
  }
  c->SetInitialValue("2");
  EXPECT_EQ(RunB1(), TTexts{"Experiment Complete"});
  EXPECT_EQ(Graph(g).GetSeries(2).Count(), 1);
  // A fixed channel read from a file is checked the same way, in the trace as well.
  plot->GetPlotIndex()->SetIndex(3);
  TTexts trace;
  EXPECT_THROW(plot->ExecuteTrace(trace), EExperimentError);
  EXPECT_TRUE(trace.empty());
  plot->SetCommentedOut(true);
  EXPECT_EQ(TraceOf(plot), TTexts{"Comment(G(3): Plot(Counter, i))"});
  EXPECT_EQ(plot->Execute(), plot->Pnextscript);
}

TEST_F(PlotScriptTest, TextsValueTextsAndTextWindowLines) {
  TOutput* graph = Output("Graph 1", otGRAPH, 2);
  TDataSingle* volts = Single(B1, "Volts", eatFLOAT, "7");
  TDataSingle* time = Single(B1, "Time", eatFLOAT, "2.5");
  TDataSingle* chan = Single(B1, "Chan", eatINTEGER, "0");
  EXPECT_EQ(Plot(graph, volts, true)->GetText(), "Graph 1(0): Plot(Counter, Volts)");
  EXPECT_EQ(PlotXY(graph, volts, time, 0, chan)->GetText(), "Graph 1(Chan): Plot(Time, Volts)");
  EXPECT_EQ(Plot(graph, volts, false)->GetText(), "Graph 1(0): Plot(Volts)");
  EXPECT_EQ((new TPlotScript(B1, NewNode(B1)))->GetText(), "none");

  // Value texts: "X, Y", "counter, Y" or "Y"; text windows show them as lines.
  TOutput* text = Output("X", otTEXT);
  TPlotScript* withX = PlotXY(text, volts, time);
  TPlotScript* counted = Plot(text, volts, true);
  TPlotScript* alone = Plot(text, volts, false);
  counted->SetNextScript();
  for (int k = 0; k < 3; ++k) counted->Execute();
  EXPECT_EQ(withX->GetValueText(ntFIXED, 1), "2.5, 7.0");
  EXPECT_EQ(counted->GetValueText(ntFIXED, 1), "3, 7.0");
  EXPECT_EQ(alone->GetValueText(ntFIXED, 1), "7.0");
  EXPECT_EQ(Text(text).GetLines(), (TTexts{"0, 7", "1, 7", "2, 7"}));
  // Without X the counter is X, whatever the flag says.
  double x = -1, y = -1;
  alone->GetXY(x, y);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(y, 7.0);
  TOutput* big = Output("B", otBIGNUMBER);
  PlotXY(big, volts, time)->Execute();
  EXPECT_EQ(BigNum(big).GetValue(), "2.5, 7");

  // The window's number format; an array gives a line per element, led by its index
  // with the counter.
  TDataArray* names = Array(B1, "N", eatSTRING, 3);
  for (int i = 0; i < 3; ++i) names->GetValueArray().SetElementText(std::string(1, 'a' + i), i);
  Text(text).ClearOutput();
  Text(text).SetNumberFormat(ntFIXED, 2);
  alone->Execute();
  PlotArray(text, names)->Execute();
  EXPECT_EQ(Text(text).GetLines(), (TTexts{"7.00", "a", "b", "c"}));
  Text(text).ClearOutput();
  EXPECT_EQ(TraceOf(PlotArray(text, names, 0, true)), (TTexts{"0, a", "1, b", "2, c"}));
  EXPECT_EQ(Text(text).GetText(), "0, a\r\n1, b\r\n2, c\r\n");
}

TEST_F(PlotScriptTest, RetypesAndKindChanges) {
  TOutput* g = Output("G", otGRAPH, 2);
  TOutput* n = Output("N", otBIGNUMBER);
  TDataSingle* v = Single(B1, "v", eatINTEGER);
  TDataSingle* c = Single(B1, "c", eatINTEGER);
  TDataArray* arr = Array(B1, "arr", eatINTEGER, 2);
  TPlotScript* onGraph = Plot(g, v, false, 0, c);
  TPlotScript* onBigNum = Plot(n, v, false);
  TPlotScript* array = PlotArray(g, arr, 1);
  EXPECT_FALSE(onGraph->VariableNotify(onGraph->GetVariableY(), eatSTRING));
  EXPECT_TRUE(onBigNum->VariableNotify(onBigNum->GetVariableY(), eatSTRING));
  EXPECT_TRUE(onGraph->VariableNotify(onGraph->GetVariableY(), eatFLOAT));
  TVariable* channel = onGraph->GetPlotIndex()->GetVariableReference();
  EXPECT_TRUE(onGraph->VariableNotify(channel, eatINTEGER));
  EXPECT_FALSE(onGraph->VariableNotify(channel, eatFLOAT));
  EXPECT_TRUE(array->VariableNotify(array->GetOutputReference(), otTEXT));

  // A string Y is refused by a graph; a text output takes it.
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(v->SetDataType(eatSTRING));
  // Graph to Text: every command on channel 0; back to Graph: the counter is X.
  g->ApplyEdit(otTEXT, "G", 1);
  EXPECT_EQ(onGraph->GetText(), "G(0): Plot(v)");
  g->ApplyEdit(otGRAPH, "G", 1);
  EXPECT_EQ(onGraph->GetText(), "G(0): Plot(Counter, v)");

  // With a number X, a whole text array lets a text output become a graph or a table;
  // their run refuses the array and plots nothing.
  TOutput* x = Output("X", otTEXT);
  TDataArray* words = Array(B1, "W", eatSTRING, 2);
  words->GetValueArray().SetElementText("a", 0);
  TPlotScript* textArray = PlotXY(x, words, c);
  static_cast<TVariableDataArray*>(textArray->GetVariableY())->GetArrayIndex().ClearIndex();
  for (std::uint8_t kind : {otGRAPH, otTABLE}) {
    ASSERT_TRUE(x->ConfirmTypeChange(kind));  // no question
    x->ApplyEdit(kind, "X", 1);
    try {
      textArray->Execute();
      ADD_FAILURE() << "plotted";
    } catch (const EExperimentError& error) {
      EXPECT_EQ(error.GetMessage(), "The array W holds text and cannot be plotted.");
    }
    const std::int32_t points = kind == otGRAPH ? Graph(x).GetSeries(0).Count()
                                                : Table(x).GetSeries(0).Count();
    EXPECT_EQ(points, 0);
  }
}

TEST_F(PlotScriptTest, TheRecordByteByByteAndReadBack) {
  TOutput* g = Output("G", otGRAPH, 3);
  TDataSingle* i = Single(B1, "i", eatINTEGER, "4");
  TDataSingle* j = Single(B1, "j", eatFLOAT, "1.5");
  TDataSingle* c = Single(B1, "c", eatINTEGER, "1");
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 2);
  // Counter flag, output, Y with its kind, X (none), the channel, then the base part;
  // identifiers in the order the writer first meets the objects, from 100.
  EXPECT_EQ(Written({Plot(g, i, true, 1)}),
            Cat({True, I32(100), False, I32(101), False, False, I32(1), I32(102), False}));
  EXPECT_EQ(Written({PlotXY(g, i, j, 2)}), Cat({False, I32(100), False, I32(101), True, False,
                                                I32(102), False, I32(2), I32(103), False}));
  TPlotScript* array = PlotArray(g, arr);
  array->GetPlotIndex()->SetVariable(c);
  const TBytes arrayRecord = Cat({False, I32(100), True, I32(101), False, False,  // entire
                                  False, True, I32(102), I32(103), False});
  std::vector<TVariable*> exported;
  EXPECT_EQ(Written({array}, &exported), arrayRecord);
  const std::vector<TVariable*> taken{array->GetOutputReference(), array->GetVariableY(),
                                      array->GetPlotIndex()->GetVariableReference()};
  for (TVariable* reference : taken)
    EXPECT_NE(std::find(exported.begin(), exported.end(), reference), exported.end());

  // Read back: every reference waits for its object, then the record is written again.
  std::vector<TVariable*> waiting;
  TPlotScript* back = ReadOne<TPlotScript>(arrayRecord, &waiting);
  ASSERT_EQ(waiting.size(), 4u);  // output, the array's index, the array, the channel
  EXPECT_TRUE(waiting[0]->ResolveLoadedLink(g, 100));
  EXPECT_TRUE(waiting[2]->ResolveLoadedLink(arr, 101));
  EXPECT_TRUE(waiting[3]->ResolveLoadedLink(c, 102));
  EXPECT_EQ(CheckError(back), "");
  EXPECT_EQ(back->AExpNode->GetText(), "G(c): Plot(arr[...])");
  EXPECT_TRUE(back->PlotsEntireArray());
  EXPECT_EQ(Written({back}), arrayRecord);
  EXPECT_NE(std::find(g->GetPlotList().begin(), g->GetPlotList().end(), back),
            g->GetPlotList().end());

  // Before 1.4 an int32 and two strings stand for the channel, and no commented flag.
  const TBytes old = Cat({True, I32(100), False, I32(101), False, I32(7), StringBytes("a"),
                          StringBytes("b"), I32(102)});
  std::unique_ptr<TReadFile> reader = Reader(old, "Qorv 1.3");
  auto* oldPlot = new TPlotScript(B1, NewNode(B1));
  oldPlot->Load(*reader);
  EXPECT_EQ(reader->BytesLeft(), 0u);
  EXPECT_TRUE(oldPlot->GetUseCounter());
  EXPECT_EQ(oldPlot->GetPlotIndex()->GetFixedIndex(), -1);
}

TEST_F(PlotScriptTest, DamagedRecordsAndChecksAfterReading) {
  TOutput* g = Output("G", otGRAPH, 3);
  TDataSingle* i = Single(B1, "i", eatINTEGER);
  const TBytes head = Cat({False, I32(100), False, I32(101)});
  const TBytes xyRecord = Cat({head, True, False, I32(102), False, I32(0), I32(103), False});
  const std::string y = "Y variable in Plot script is not set...aborting read";
  const std::string x = "X variable in Plot script is not set...aborting read";
  const std::string out = "Output in Plot script is not set...aborting read";
  struct TBinding {
    bool output, y, x;
    std::string error;
  } bindings[] = {{true, true, true, ""},     {false, false, false, y},
                  {true, true, false, x},     {false, true, true, out}};
  std::vector<TVariable*> waiting;
  for (const TBinding& binding : bindings) {
    TPlotScript* back = ReadOne<TPlotScript>(xyRecord, &waiting);
    ASSERT_EQ(waiting.size(), 3u);
    if (binding.output) waiting[0]->ResolveLoadedLink(g, 100);
    if (binding.y) waiting[1]->ResolveLoadedLink(i, 101);
    if (binding.x) waiting[2]->ResolveLoadedLink(i, 102);
    EXPECT_EQ(CheckError(back), binding.error);
  }
  // A channel variable that found no variable would stop the program at the first plot.
  TPlotScript* channel = ReadOne<TPlotScript>(Cat({head, False, True, I32(102), I32(103), False}),
                                              &waiting);
  waiting[0]->ResolveLoadedLink(g, 100);
  waiting[1]->ResolveLoadedLink(i, 101);
  EXPECT_EQ(CheckError(channel), "Plot index variable in Plot script is not set...aborting read");

  // X is one value of an array, never the entire array, which the point would read an
  // element of; an index variable the file does not hold would leave the entire array.
  TDataArray* arr = Array(B1, "arr", eatFLOAT, 3);
  TDataSingle* n = Single(B1, "n", eatINTEGER, "2");
  const TBytes tail = Cat({False, I32(0), I32(104), False});  // the channel, the base part
  const struct { const char* what; TBytes index; bool indexFound; std::string error; } xs[] = {
      {"a constant", Cat({False, True, I32(1)}), false, ""},
      {"an index variable", Cat({True, I32(103), False}), true, ""},
      {"the entire array", Cat({False, False}), false, x},
      {"an index variable not found", Cat({True, I32(103), False}), false, x},
  };
  for (const auto& test : xs) {
    TPlotScript* back =
        ReadOne<TPlotScript>(Cat({head, True, True, I32(102), test.index, tail}), &waiting);
    ASSERT_EQ(waiting.size(), 4u);  // the output, Y, X's index, X
    waiting[0]->ResolveLoadedLink(g, 100);
    waiting[1]->ResolveLoadedLink(i, 101);
    if (test.indexFound) {
      EXPECT_TRUE(waiting[2]->ResolveLoadedLink(n, 103));
    }
    EXPECT_TRUE(waiting[3]->ResolveLoadedLink(arr, 102));
    EXPECT_EQ(CheckError(back), test.error) << test.what;
  }
  // Y may be the entire array, but not by an index variable the file does not hold.
  for (const bool indexFound : {true, false}) {
    TPlotScript* back = ReadOne<TPlotScript>(
        Cat({False, I32(100), True, I32(101), True, I32(103), False, False, tail}), &waiting);
    ASSERT_EQ(waiting.size(), 3u);  // the output, Y's index, Y
    waiting[0]->ResolveLoadedLink(g, 100);
    if (indexFound) {
      EXPECT_TRUE(waiting[1]->ResolveLoadedLink(n, 103));
    }
    EXPECT_TRUE(waiting[2]->ResolveLoadedLink(arr, 101));
    EXPECT_EQ(CheckError(back), indexFound ? "" : y);
    EXPECT_EQ(back->PlotsEntireArray(), !indexFound);  // what it would have plotted
  }

  const TBytes damaged[] = {
      {}, Cat({True}), Cat({True, I32(100)}), head, Cat({head, True}),
      Cat({head, False, True}),                  // a short channel variable
      Cat({head, False, False, I32(0)}),         // no base part
      Cat({head, True, True, I32(102), False}),  // a short X index
  };
  for (std::size_t k = 0; k < std::size(damaged); ++k) {
    EXPECT_THROW(ReadOne<TPlotScript>(damaged[k], &waiting), EReadError) << "case " << k;
    EXPECT_TRUE(waiting.empty()) << "case " << k;
  }
}

}  // namespace
