// Outputs: their records in experiment files, editing (kind and channels) and taking a
// window off-line.
#include <gtest/gtest.h>

#include "model/errors.h"
#include "model/experiment_running.h"
#include "model/number_text.h"
#include "model/variable_output.h"
#include "outputs/output_records.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

class TOutputTest : public TPlotFixture {
protected:
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
      reader->GetVariableList().push_back(plot->GetOutputReference());
    }
    TOutput* output = Reading();
    output->Read(*reader);
    if (left) *left = reader->BytesLeft();
    return output;
  }
  TOutput* Reading() {
    TTreeNode* node = Exp.GetAttributeTree().AddChild(Exp.GetOutputList()->AExpAttNode, "output");
    return new TOutput("output", node, TOutput::TForReading{});
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
  EXPECT_EQ(read->GetPlotList(), (std::vector<TPlotScript*>{first, second}));
  EXPECT_EQ(first->GetPlotIndex()->GetFixedIndex(), 0);
  EXPECT_EQ(second->GetPlotIndex()->GetFixedIndex(), 1);
  EXPECT_EQ(Graph(read).SeriesCount(), 2);
  EXPECT_EQ(Graph(read).GetName(), "G");
  // Without Plot commands an old output keeps one channel, and its window one series.
  TOutput* alone =
      ReadWithPlots({}, Record(otGRAPH, otGRAPH, records::GraphRecord("G", 3)), "Qorv 1.3");
  EXPECT_EQ(alone->NumberOfChannels, 1);
  EXPECT_EQ(Graph(alone).SeriesCount(), 1);
}

TEST_F(TOutputTest, ChannelCountIsReadAndTheWindowFollowsIt) {
  const TBytes table = Cat({StringBytes("T"), I32(0), I32(0), I32(1), B(true), StringBytes("c"),
                            StringBytes("x"), StringBytes("y"), B(true), B(true)});
  TOutput* read = ReadWithPlots({}, Cat({Record(otTABLE, otTABLE, table), I32(3)}), "Qorv 1.5");
  EXPECT_EQ(read->Poutputtype, otTABLE);
  EXPECT_EQ(read->NumberOfChannels, 3);
  ASSERT_EQ(Table(read).DataSetCount(), 3);
  EXPECT_EQ(Table(read).GetDataSet(0).XHeader, "x");
  EXPECT_TRUE(Table(read).GetDataSet(2).IsOutputDataSet);
}

TEST_F(TOutputTest, DamagedRecordsEndInTheReadError) {
  const TBytes text = records::TextRecord("G");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, otTEXT, text), I32(1)})), "");
  EXPECT_EQ(ReadError(Cat({Record(7, 7, text), I32(1)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(2, 2, text), I32(1)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, 7, text), I32(1)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, otTEXT, text), I32(0)})), "Error reading output");
  EXPECT_EQ(ReadError(Cat({Record(otTEXT, otTEXT, text), I32(26)})), "Error reading output");
  EXPECT_NE(ReadError(Cat({StringBytes("G"), I32(-1)})), "");
  EXPECT_NE(ReadError(Record(otTEXT, otTEXT, text)), "");  // no channel count
  std::unique_ptr<TReadFile> list = Reader(Cat({I32(1000), StringBytes("G")}));
  EXPECT_THROW(Exp.GetOutputList()->Load(*list), EReadError);
}

TEST_F(TOutputTest, ListSectionRoundTrips) {
  TOutputList& list = *Exp.GetOutputList();
  list.NewOutput("Graph", otGRAPH, 3);
  list.NewOutput("Table", otTABLE, 2)->GetOutputForm()->SetNumberFormat(ntFIXED, 3);
  list.NewOutput("Text", otTEXT, 1);
  auto& big = dynamic_cast<TBigNumForm&>(*list.NewOutput("Big", otBIGNUMBER, 1)->GetOutputForm());
  big.SetLogParameters("log.txt", true, false, true);
  big.SetLogging(true);
  const TBytes bytes = Written([&](TWriteFile& w) { list.Save(w); });
  TOutputList copy(&Exp, Exp.GetAttributeTree().Add(nullptr, ""));
  copy.Load(*Reader(bytes));
  ASSERT_EQ(copy.GetCount(), 4);
  EXPECT_EQ(copy.GetOutput(0)->NumberOfChannels, 3);
  EXPECT_EQ(Graph(copy.GetOutput(0)).SeriesCount(), 3);
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
  EXPECT_EQ(Table(out).GetDataSet(1).Y, (std::vector<float>{1.5f}));
  EXPECT_EQ(Table(out).GetCaption(), "T Active");
  // To a big number: the array plot goes, the point plot moves to channel 0.
  Ui.ScriptAnswers({mbYes});
  ASSERT_TRUE(out->ConfirmTypeChange(otBIGNUMBER));
  out->ApplyEdit(otBIGNUMBER, "B", 1);
  EXPECT_EQ(out->GetPlotList(), (std::vector<TPlotScript*>{point}));
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
  EXPECT_EQ(dynamic_cast<TGraphForm&>(*gone).GetSeries(0).Count(), 1);
  plot->Execute();
  EXPECT_NE(out->GetOutputForm(), live);
  EXPECT_EQ(Graph(out).GetCaption(), "G Active");
  EXPECT_EQ(dynamic_cast<TGraphForm&>(*gone).GetSeries(0).Count(), 1);
  // A text output goes on without a window until it needs one.
  TOutput* text = Output("X", otTEXT);
  std::unique_ptr<TOutputForm> log = text->GetOutputForm()->TakeOffLine(nullptr);
  EXPECT_FALSE(text->HasOutputForm());
}
