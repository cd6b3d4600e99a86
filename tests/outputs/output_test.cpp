// Outputs and their list: records in experiment and block files, their windows' channels
// and data series, editing (kind and channels), the clear before a run, taking a window
// off-line, the end of a run, the report and the Add Output dialog.
#include <gtest/gtest.h>

#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/variable_output.h"
#include "outputs/output_file.h"
#include "outputs/output_records.h"
#include "outputs/report_lines.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

class TOutputTest : public TPlotFixture {
protected:
  TOutputList& List = *Exp.GetOutputList();
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "1.5");

  // Plot commands whose output reference waits in the reader for identifier 100, as
  // reading a file leaves them; then the output record is read into a reading output.
  TOutput* ReadWithPlots(const std::vector<TPlotScript*>& plots, const TBytes& record,
                         const std::string& version, std::uint64_t* left = nullptr) {
    TBytes bytes;
    for (std::size_t i = 0; i < plots.size(); ++i) bytes = Cat({bytes, I32(100)});
    std::unique_ptr<TReadFile> reader = Reader(Cat({bytes, record}), version);
    for (TPlotScript* plot : plots) {
      plot->GetOutputReference()->SetOutput(nullptr);
      plot->GetOutputReference()->Load(*reader);
      reader->GetVariableList().Add(plot->GetOutputReference());
    }
    TTreeNode* node = Exp.GetAttributeTree().AddChild(List.AExpAttNode, "output");
    auto* output = new TOutput("output", node, TOutput::TForReading{});
    output->Read(*reader);
    if (left) *left = reader->BytesLeft();
    return output;
  }
  std::string ReadError(const TBytes& record) {
    try {
      ReadWithPlots({}, record, "Qorv 1.5");
    } catch (const EReadError& error) {
      return error.what();
    }
    return "";
  }
  static TBytes Record(std::int32_t kind, std::int32_t windowKind, const TBytes& window,
                       std::int32_t users = 0) {
    return Cat({StringBytes("G"), I32(users), users > 0 ? I32(100) : TBytes{}, I32(kind),
                I32(windowKind), window});
  }
  template <class TForm>
  static TTexts Names(const TForm& form) {
    TTexts names;
    for (std::int32_t i = 0; i < form.SeriesCount(); ++i) names.push_back(form.GetSeries(i).Name);
    return names;
  }
  // Pastes one series of one point, t/v (1, 2).
  static void Import(TOutputForm& form) {
    TTransferData data;
    TTransferSeries* series = data.AddSeries("P", 1);
    series->XName = "t";
    series->YName = "v";
    series->SetPoint(0, 1, 2);
    form.ImportData(&data);
  }
};

}  // namespace

TEST_F(TOutputTest, OldFilesGiveEachPlotCommandItsChannel) {
  TOutput* other = Output("D", otGRAPH);
  TPlotScript* first = Plot(other, Y, true, 0);
  TPlotScript* second = Plot(other, Y, true, 0);
  std::uint64_t left = 1;
  TOutput* read = ReadWithPlots({first, second},
                                Record(otGRAPH, otGRAPH, records::GraphRecord("G", 1), 2),
                                "Qorv 1.3", &left);
  EXPECT_EQ(left, 0u);  // no channel count in version 1.3
  EXPECT_EQ(read->NumberOfChannels, 2);
  EXPECT_EQ(read->GetPlotList(), (std::vector<TPlotUser*>{first, second}));
  EXPECT_EQ(first->GetPlotIndex()->GetFixedIndex(), 0);
  EXPECT_EQ(second->GetPlotIndex()->GetFixedIndex(), 1);
  EXPECT_EQ(Graph(read).SeriesCount(), 2);
  // Without Plot commands an old output keeps one channel, and its window one series.
  TOutput* alone =
      ReadWithPlots({}, Record(otGRAPH, otGRAPH, records::GraphRecord("G", 3)), "Qorv 1.3");
  EXPECT_EQ(alone->NumberOfChannels, 1);
  EXPECT_EQ(Graph(alone).SeriesCount(), 1);
  // An output has at most 25 channels: 25 Plot commands fill them, 26 are refused.
  std::vector<TPlotScript*> plots;
  for (int k = 0; k < 26; ++k) plots.push_back(Plot(other, Y, true, 0));
  const auto users = [](std::int32_t count) {
    return Record(otGRAPH, otGRAPH, records::GraphRecord("G", 1), count);
  };
  const std::vector<TPlotScript*> most(plots.begin(), plots.end() - 1);
  TOutput* full = ReadWithPlots(most, users(25), "Qorv 1.3");
  EXPECT_EQ(full->NumberOfChannels, 25);
  EXPECT_EQ(plots[24]->GetPlotIndex()->GetFixedIndex(), 24);
  try {
    ReadWithPlots(plots, users(26), "Qorv 1.3");
    ADD_FAILURE() << "26 channels read";
  } catch (const EReadError& error) {
    EXPECT_EQ(std::string(error.what()), "Error reading output");
  }
}

TEST_F(TOutputTest, ChannelCountIsReadAndTheWindowFollowsIt) {
  const TBytes table =
      Cat({StringBytes("T"), I32(0), I32(0), I32(1), records::DataSet("c", {}, false, true)});
  TOutput* read = ReadWithPlots({}, Cat({Record(otTABLE, otTABLE, table), I32(3)}), "Qorv 1.5");
  EXPECT_EQ(read->Poutputtype, otTABLE);
  EXPECT_EQ(read->NumberOfChannels, 3);
  ASSERT_EQ(Table(read).SeriesCount(), 3);
  EXPECT_EQ(Table(read).GetSeries(0).XName, "Xh");
  EXPECT_TRUE(Table(read).GetSeries(2).IsOutputDataSet);
}

TEST_F(TOutputTest, DamagedRecordsEndInTheReadError) {
  const TBytes text = Cat({StringBytes("G"), records::TextControl("TRichEdit", "", 10), I32(0),
                           I32(0)});
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, otTEXT, text), I32(1)})), "");
  EXPECT_EQ(ReadError(Cat({Record(7, 7, text), I32(1)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(2, 2, text), I32(1)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, 7, text), I32(1)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, otTEXT, text), I32(0)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, otTEXT, text), I32(26)})), "Error reading output");
  EXPECT_NE(ReadError(Cat({StringBytes("G"), I32(-1)})), "");
  EXPECT_NE(ReadError(Record(otTEXT, otTEXT, text)), "");  // no channel count
  std::unique_ptr<TReadFile> list = Reader(Cat({I32(1000), StringBytes("G")}));
  EXPECT_THROW(List.Load(*list), EReadError);
  // The number of newest points a scrolling graph shows is never negative.
  const auto scrolling = [](std::int32_t points) {
    TBytes graph = records::GraphRecord("G", 1);
    graph.back() = 1;  // scrolling on: the series, then the number of points
    return Cat({Record(otGRAPH, otGRAPH, Cat({graph, I32(0), I32(points)})), I32(1)});
  };
  EXPECT_EQ(ReadError(scrolling(1)), "");
  EXPECT_EQ(ReadError(scrolling(0)), "");  // the scrolling dialog accepts 0
  EXPECT_EQ(ReadError(scrolling(-2)), "Error reading output");
  // The list keeps no output of a record it could not read.
  const int before = List.GetCount();
  std::unique_ptr<TReadFile> bad = Reader(Cat({I32(1), scrolling(-2)}));
  EXPECT_THROW(List.Load(*bad), EReadError);
  EXPECT_EQ(List.GetCount(), before);
}

TEST_F(TOutputTest, ActiveScrollingKeepsTheNewestPointsInView) {
  TOutput* out = Output("G", otGRAPH, 1);
  TPlotScript* plot = Plot(out, Y, true);  // X is the counter: 0, 1, 2, ...
  TGraphForm& graph = Graph(out);
  TXAxisScroll& scroll = *graph.GetXAxisScroll();
  scroll.Series = 0;
  scroll.Points = 4;
  scroll.Active = true;
  ExperimentRunning = true;
  // Points 0 to 4 fit; point 5 moves the start to 5 - 4 / 2 and the axis from X of the
  // start to twice the distance to X of point 5.
  for (int k = 0; k < 6; ++k) plot->Execute();
  EXPECT_EQ(scroll.Start, 3);
  EXPECT_FALSE(graph.BottomAxis().Automatic);
  EXPECT_EQ(graph.BottomAxis().Minimum, 3);
  EXPECT_EQ(graph.BottomAxis().Maximum, 7);
  // A width below 1 is scrolling off: the axis stays where it was.
  scroll.Points = -4;
  plot->Execute();
  EXPECT_EQ(scroll.Start, 3);
  EXPECT_EQ(graph.BottomAxis().Minimum, 3);
}

TEST_F(TOutputTest, ListSectionRoundTrips) {
  List.NewOutput("Graph", otGRAPH, 3);
  List.NewOutput("Table", otTABLE, 2)->GetOutputForm()->SetNumberFormat(ntFIXED, 3);
  List.NewOutput("Text", otTEXT, 1);
  auto& big = dynamic_cast<TBigNumForm&>(*List.NewOutput("Big", otBIGNUMBER, 1)->GetOutputForm());
  big.SetLogParameters("log.txt", true, false, true);
  big.SetLogging(true);
  const TBytes bytes = Written([&](TWriteFile& w) { List.Save(w); });
  TOutputList copy(&Exp, Exp.GetAttributeTree().Add(nullptr, ""));
  copy.Load(*Reader(bytes));
  ASSERT_EQ(copy.GetCount(), 4);
  EXPECT_EQ(copy.GetOutput(0)->NumberOfChannels, 3);
  EXPECT_EQ(copy.GetOutput(1)->GetOutputForm()->GetDecimalPlaces(), 3);
  EXPECT_EQ(BigNum(copy.GetOutput(3)).GetLogFileName(), "log.txt");
  EXPECT_EQ(Written([&](TWriteFile& w) { copy.Save(w); }), bytes);
}

TEST_F(TOutputTest, FewerChannelsDeleteOnlyThePlotsThatLoseTheirs) {
  TOutput* out = Output("G", otGRAPH, 4);
  TDataSingle* chan = Single(B1, "C", eatINTEGER, "3");
  Plot(out, Y, true, 0);
  TPlotScript* last = Plot(out, Y, true, 3);
  Plot(out, Y, true, 0, chan);  // a channel variable is never listed
  const std::string asked = "The following plots use the channels to be deleted:\r\n" +
                            last->GetText() + "\r\nPress OK if you wish the plots to be deleted.";
  Ui.SetDialogHandler([](TDialogRequest& request) {
    auto& dialog = dynamic_cast<TOutputDialogRequest&>(request);
    dialog.Channels = 2;
    return dialog.Output->ConfirmFewerChannels(2) ? 1 : 0;
  });
  Ui.ScriptAnswers({mbCancel, mbOK});
  EXPECT_EQ(out->Edit(), 0);
  EXPECT_EQ(out->NumberOfChannels, 4);
  EXPECT_EQ(out->Edit(), 1);
  EXPECT_EQ(Ui.Texts(), (TTexts{asked, asked}));
  EXPECT_EQ(out->NumberOfChannels, 2);
  EXPECT_EQ(out->GetPlotList().size(), 2u);
  EXPECT_EQ(Graph(out).SeriesCount(), 2);
}

TEST_F(TOutputTest, TableChannelChangesKeepLowerSetsAndDropPlotsOfLostChannels) {
  TOutput* out = Output("T", otTABLE, 3);
  TTableForm& table = Table(out);
  std::vector<TPlotScript*> plots;
  for (int k = 0; k < 3; ++k) {
    plots.push_back(Plot(out, Y, true, k));
    Y->GetValue().SetText(std::to_string(k + 1));
    plots.back()->Execute();  // channel k holds the point (0, k + 1)
  }
  TDataSingle* chan = Single(B1, "C", eatINTEGER, "2");
  TPlotScript* byVariable = Plot(out, Y, true, 0, chan);  // checked only when it runs
  Import(table);  // a pasted set after the channels' sets
  std::int32_t wanted = 0;
  Ui.SetDialogHandler([&wanted](TDialogRequest& request) {
    auto& dialog = dynamic_cast<TOutputDialogRequest&>(request);
    dialog.Channels = wanted;
    return dialog.Output->ConfirmFewerChannels(wanted) ? 1 : 0;
  });
  const auto points = [&table](std::int32_t set) { return table.GetSeries(set).Y; };
  const auto channelSets = [&table] {
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < table.SeriesCount(); ++i)
      count += table.GetSeries(i).IsOutputDataSet ? 1 : 0;
    return count;
  };

  // More channels: no question; the sets keep their points, and the new ones, named
  // from the old count on, go before the pasted set.
  wanted = 5;
  EXPECT_EQ(out->Edit(), 1);
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_EQ(Names(table),
            (TTexts{"Series1", "Series2", "Series3", "Series 3", "Series 4", "P"}));
  EXPECT_EQ(table.GetSeries(3).XName, "X S3");
  EXPECT_EQ(table.GetSeries(4).YName, "Y S4");
  EXPECT_EQ(channelSets(), 5);
  EXPECT_EQ(points(2), (std::vector<float>{3}));
  EXPECT_TRUE(points(3).empty());
  EXPECT_EQ(points(5), (std::vector<float>{2}));

  // Fewer: the user is asked about the plot of channel 2 alone; Cancel changes nothing.
  const std::string asked = "The following plots use the channels to be deleted:\r\n" +
                            plots[2]->GetText() +
                            "\r\nPress OK if you wish the plots to be deleted.";
  Ui.ScriptAnswers({mbCancel, mbOK});
  wanted = 2;
  EXPECT_EQ(out->Edit(), 0);
  EXPECT_EQ(out->NumberOfChannels, 5);
  EXPECT_EQ(table.SeriesCount(), 6);
  EXPECT_EQ(out->GetPlotList().size(), 4u);
  // OK: that plot goes, the sets of channels 2 to 4 go, the lower ones and the pasted
  // one stay with their points.
  EXPECT_EQ(out->Edit(), 1);
  EXPECT_EQ(Ui.Texts(), (TTexts{asked, asked}));
  EXPECT_EQ(out->NumberOfChannels, 2);
  EXPECT_EQ(out->GetPlotList(), (std::vector<TPlotUser*>{plots[0], plots[1], byVariable}));
  EXPECT_EQ(Children(B1->AExpNode),
            (TTexts{plots[0]->GetText(), plots[1]->GetText(), byVariable->GetText()}));
  EXPECT_EQ(Names(table), (TTexts{"Series1", "Series2", "P"}));
  EXPECT_EQ(points(0), (std::vector<float>{1}));
  EXPECT_EQ(points(1), (std::vector<float>{2}));
  EXPECT_EQ(points(2), (std::vector<float>{2}));

  // A channel given back starts empty.
  wanted = 3;
  EXPECT_EQ(out->Edit(), 1);
  EXPECT_EQ(Names(table), (TTexts{"Series1", "Series2", "Series 2", "P"}));
  EXPECT_TRUE(points(2).empty());
  EXPECT_EQ(channelSets(), 3);
}

TEST_F(TOutputTest, KindChangesAskCarryDataAndTellThePlots) {
  TOutput* out = Output("G", otGRAPH, 2);
  TDataArray* array = Array(B1, "A", eatINTEGER, 3);
  TPlotScript* point = Plot(out, Y, true, 1);
  PlotArray(out, array);
  point->Execute();
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(out->ConfirmTypeChange(otBIGNUMBER));
  EXPECT_EQ(out->GetPlotList().size(), 2u);
  // To a table: no question, the points go along.
  ASSERT_TRUE(out->ConfirmTypeChange(otTABLE));
  out->ApplyEdit(otTABLE, "T", 2);
  EXPECT_EQ(Table(out).GetSeries(1).Y, (std::vector<float>{1.5f}));
  EXPECT_EQ(Table(out).GetCaption(), "T Active");
  // To a big number: the array plot goes, the point plot moves to channel 0.
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(out->ConfirmTypeChange(otBIGNUMBER));
  out->ApplyEdit(otBIGNUMBER, "B", 1);
  EXPECT_EQ(out->GetPlotList(), (std::vector<TPlotUser*>{point}));
  EXPECT_EQ(point->GetPlotIndex()->GetFixedIndex(), 0);
  EXPECT_EQ(out->GetOutputForm()->GetOutputType(), otBIGNUMBER);
}

TEST_F(TOutputTest, OffLineWindowKeepsItsDataAndTheOutputGoesOn) {
  TOutput* out = Output("G", otGRAPH, 1);
  TPlotScript* plot = Plot(out, Y, true);
  plot->Execute();
  ExperimentRunning = true;
  EXPECT_EQ(out->GetOutputForm()->TakeOffLine(nullptr), nullptr);
  EXPECT_EQ(Ui.Texts(), (TTexts{"You cannot take a form offline while running"}));
  ExperimentRunning = false;
  TOutputForm* live = out->GetOutputForm();
  std::unique_ptr<TOutputForm> gone = live->TakeOffLine(nullptr);
  ASSERT_EQ(gone.get(), live);
  EXPECT_EQ(gone->GetCaption(), "G Inactive");
  EXPECT_FALSE(gone->IsOffLineEnabled());
  plot->Execute();
  EXPECT_NE(out->GetOutputForm(), live);
  EXPECT_EQ(Graph(out).GetCaption(), "G Active");
  EXPECT_EQ(dynamic_cast<TGraphForm&>(*gone).GetSeries(0).Count(), 1);
  // A text output goes on without a window until it needs one, made on the main thread.
  TOutput* text = Output("X", otTEXT);
  std::unique_ptr<TOutputForm> log = text->GetOutputForm()->TakeOffLine(nullptr);
  EXPECT_FALSE(text->HasOutputForm());
  const int before = Ui.HandOvers();
  EXPECT_EQ(Text(text).GetCaption(), "X Active");
  EXPECT_EQ(Ui.HandOvers(), before + 1);
}

TEST_F(TOutputTest, ChannelSeriesAreNamedAndStayAheadOfDataSeries) {
  TGraphForm& made = Graph(Output("M", otGRAPH, 3));
  EXPECT_EQ(Names(made), (TTexts{"Series1", "Series 2", "Series 3"}));
  EXPECT_EQ(made.GetSeries(2).XName, "X Series 3");
  EXPECT_EQ(made.GetSeries(2).YName, "Y Series3");
  EXPECT_EQ(made.Chart().Title[0], "M");
  TTableForm& table = Table(Output("T", otTABLE, 2));
  EXPECT_EQ(Names(table), (TTexts{"Series1", "Series2"}));
  EXPECT_EQ(table.GetSeries(1).XName, "X S2");
  TOutput* out = Output("G", otGRAPH, 1);
  Import(Graph(out));
  out->ApplyEdit(otGRAPH, "G", 3);
  EXPECT_EQ(Names(Graph(out)), (TTexts{"Series1", "Series 1", "Series 2", "t vs v"}));
  out->ApplyEdit(otGRAPH, "G", 1);
  EXPECT_EQ(Names(Graph(out)), (TTexts{"Series1", "t vs v"}));
  // Graphs and tables take at most 25 series.
  EXPECT_FALSE(Graph(Output("F", otGRAPH, 25)).CanAddSeries());
  EXPECT_TRUE(Graph(Output("H", otGRAPH, 24)).CanAddSeries());
  EXPECT_FALSE(Table(Output("U", otTABLE, 25)).CanAddSeries());
  EXPECT_EQ(Text(Output("X", otTEXT)).GetMaxSeries(), -1);
}

TEST_F(TOutputTest, OutputFileOfALiveGraphHoldsEverySeries) {
  TOutput* out = Output("G", otGRAPH, 2);
  Import(Graph(out));
  Graph(out).BottomAxis().Minimum = 5;  // above its maximum: read back as 0 to 10
  Graph(out).BottomAxis().Maximum = 2;
  ASSERT_TRUE(SaveOutputFile(*out->GetOutputForm(), Temp.PathOf("g.opt")));
  auto form = LoadOutputFile(Temp.PathOf("g.opt"), nullptr);
  auto& read = dynamic_cast<TGraphForm&>(*form);
  EXPECT_EQ(Names(read), (TTexts{"Series1", "Series 2", "t vs v"}));
  EXPECT_EQ(read.GetSeries(2).Y, (std::vector<double>{2}));
  EXPECT_EQ(read.BottomAxis().Minimum, 0);
  EXPECT_EQ(read.BottomAxis().Maximum, 10);
  EXPECT_EQ(read.NumberOfActiveSeries(), 0);
}

TEST_F(TOutputTest, TheClearBeforeARunComesOnlyAfterAPlot) {
  TOutput* out = Output("G", otGRAPH, 1);
  TGraphForm& g = Graph(out);
  Plot(out, Y, true)->Execute();
  EXPECT_FALSE(g.IsCleared());
  g.ClearBeforeRun();
  EXPECT_TRUE(g.IsCleared());
  EXPECT_EQ(g.GetSeries(0).Count(), 0);
  TTransferData kept;
  kept.AddSeries("K", 1)->SetPoint(0, 1, 1);
  g.SetTransferData(&kept);
  g.ClearBeforeRun();  // nothing plotted since the last clear: not cleared again
  EXPECT_EQ(g.GetSeries(0).Count(), 1);
}

TEST_F(TOutputTest, BlockSectionHoldsOnlyTheOutputsExportedPlotsUse) {
  TOutput* a = List.NewOutput("A", otGRAPH, 1);
  List.NewOutput("B", otTABLE, 1);
  TOutput* c = List.NewOutput("C", otTEXT, 1);
  TPlotScript* onC = Plot(c, Y, false);
  TPlotScript* onA = Plot(a, Y, true);
  TPlotScript* again = Plot(a, Y, true);
  TScript* other = Stub(B1, "calc");
  std::vector<TVariable*> taken;
  // The block's commands are saved first: each Plot command lists its output reference.
  auto section = [&](std::vector<TScript*> exported) {
    return Written(
        [&](TWriteFile& w) {
          for (TScript* script : exported) {
            w.GetBlockScriptList().push_back(script);
            if (auto* plot = dynamic_cast<TPlotScript*>(script))
              w.GetBlockVariableList()->push_back(plot->GetOutputReference());
          }
          List.SaveBlock(w, B1);
        },
        "b.blk", &taken);
  };
  EXPECT_EQ(section({other}), I32(0));
  // The count, then the records in list order, each once: A first.
  const TBytes both = section({onC, onA, again, other});
  EXPECT_EQ(TBytes(both.begin(), both.begin() + 10), Cat({I32(2), StringBytes("A")}));
  const TBytes justC = section({onC});
  EXPECT_EQ(TBytes(justC.begin(), justC.begin() + 10), Cat({I32(1), StringBytes("C")}));
}

TEST_F(TOutputTest, EndRunReachesEveryWindowAndTheReportListsOutputs) {
  TOutput* table = List.NewOutput("T", otTABLE, 1);
  List.NewOutput("N", otBIGNUMBER, 1);
  Plot(table, Y, true);
  List.EndRun();
  EXPECT_FALSE(Table(table).GetAutoScroll());
  EXPECT_TRUE(List.GetOutput(1)->HasOutputForm());  // made when missing
  TLines report;
  List.WriteReport(report);
  EXPECT_EQ(report.Lines, (TTexts{"#Name\t\tType\tCommands Using", "T\t\tTable\t1",
                                  "N\t\tBignum\t0"}));
}

TEST_F(TOutputTest, AddOutputDialogMakesOutputsButNotWhileRunning) {
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
