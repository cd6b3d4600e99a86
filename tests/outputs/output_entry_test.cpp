// The Add Output dialog's checks and Add in the core: the title, the channels of tables
// and graphs, the question about plots that lose their channel, and no change while a
// run is active.
#include "outputs/output_entry.h"

#include <gtest/gtest.h>

#include "model/experiment_running.h"
#include "scripts/outputs/plot_fixture.h"

namespace {

class OutputEntryTest : public TPlotFixture {
protected:
  // The request of a new output with the entries.
  static TOutputDialogRequest Entries(const std::string& title, std::uint8_t kind,
                                      const std::string& channels) {
    TOutputDialogRequest request;
    request.Title = title;
    request.Kind = kind;
    request.ChannelText = channels;
    return request;
  }
  // Whether the entries pass, with the texts shown.
  std::pair<bool, TTexts> Check(TOutputDialogRequest& request) {
    Ui.Clear();
    const bool good = CheckOutputEntry(request);
    return {good, Ui.Texts()};
  }

  TOutputList& List = *Exp.GetOutputList();
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "1.5");
};

TEST_F(OutputEntryTest, TitleThenChannelsOfTablesAndGraphs) {
  const std::string none = "You must enter a number of channels";
  const std::string positive = "The number of channels must be a positive integer greater than 0.";
  const std::string many = "There can be no more than 25 channels in one output.";
  const struct {
    std::string title;
    std::uint8_t kind;
    std::string channels;
    std::string message;
    TOutputField focus;
    std::int32_t taken;
  } cases[] = {
      {"  ", otGRAPH, "2", "You must enter a title", TOutputField::Title, 0},
      {"G", otGRAPH, " ", none, TOutputField::Channels, 0},
      {"G", otGRAPH, "abc", positive, TOutputField::Channels, 0},
      {"G", otTABLE, "0", positive, TOutputField::Channels, 0},
      {"G", otGRAPH, "-4", positive, TOutputField::Channels, 0},
      {"G", otTABLE, "26", many, TOutputField::Channels, 0},
      {"G", otGRAPH, "99999999999", positive, TOutputField::Channels, 0},
      {"G", otGRAPH, " 25 ", "", TOutputField::None, 25},
      {"G", otTABLE, "1", "", TOutputField::None, 1},
      // Text and big number have one channel, whatever the box holds.
      {"T", otTEXT, "abc", "", TOutputField::None, 1},
      {"B", otBIGNUMBER, "12", "", TOutputField::None, 1},
  };
  for (const auto& c : cases) {
    TOutputDialogRequest request = Entries(c.title, c.kind, c.channels);
    const auto [good, texts] = Check(request);
    EXPECT_EQ(good, c.message.empty()) << c.title << "/" << c.channels;
    EXPECT_EQ(texts, c.message.empty() ? TTexts{} : TTexts{c.message}) << c.channels;
    EXPECT_EQ(request.Focus, c.focus) << c.channels;
    if (good) {
      EXPECT_EQ(request.Channels, c.taken) << c.channels;
    }
  }
  TOutputDialogRequest trimmed = Entries("  Graph 1 ", otGRAPH, "3");
  EXPECT_TRUE(CheckOutputEntry(trimmed));
  EXPECT_EQ(trimmed.Title, "Graph 1");
}

TEST_F(OutputEntryTest, AnEditedOutputAsksAboutThePlotsThatLoseTheirChannel) {
  TOutput* graph = Output("G", otGRAPH, 4);
  Plot(graph, Y, true, 0);
  TPlotScript* third = Plot(graph, Y, true, 3);
  const std::string asked = "The following plots use the channels to be deleted:\r\n" +
                            third->GetText() + "\r\nPress OK if you wish the plots to be deleted.";
  TOutputDialogRequest request = Entries("G", otGRAPH, "2");
  request.Output = graph;
  Ui.ScriptAnswers({mbCancel});
  EXPECT_EQ(Check(request), (std::pair{false, TTexts{asked}}));
  EXPECT_EQ(request.Focus, TOutputField::Channels);
  request.ChannelText = "4";  // as many as before: nothing to ask
  EXPECT_EQ(Check(request), (std::pair{true, TTexts{}}));

  // Made a text output, the graph's plots move to its one channel: nothing is asked.
  request = Entries("G", otTEXT, "4");
  request.Output = graph;
  EXPECT_EQ(Check(request), (std::pair{true, TTexts{}}));
  EXPECT_EQ(request.Channels, 1);
  graph->ApplyEdit(request.Kind, request.Title, request.Channels);
  EXPECT_EQ(graph->GetPlotList().size(), 2u);
  EXPECT_EQ(third->GetPlotIndex()->GetIndex(), 0);
}

TEST_F(OutputEntryTest, AddMakesAnOutputOfTheListUnlessARunIsActive) {
  TOutputDialogRequest request = Entries(" Temperatures ", otGRAPH, "3");
  request.List = &List;
  EXPECT_TRUE(AddOutputEntry(request));
  ASSERT_EQ(List.GetCount(), 1);
  TOutput* made = List.GetOutput(0);
  EXPECT_EQ(made->GetName(), "Temperatures");
  EXPECT_EQ(made->Poutputtype, otGRAPH);
  EXPECT_EQ(made->NumberOfChannels, 3);
  EXPECT_TRUE(request.Title.empty());
  EXPECT_EQ(Ui.ExperimentChanges().back(), (std::pair<int, int>{1, 0}));
  // Refused entries make nothing and keep the title.
  request.Title = "Again";
  request.ChannelText = "30";
  EXPECT_FALSE(AddOutputEntry(request));
  EXPECT_EQ(request.Title, "Again");

  Ui.Clear();
  ExperimentRunning = true;
  request.ChannelText = "2";
  EXPECT_FALSE(AddOutputEntry(request));
  EXPECT_TRUE(RefusedOutputChangeWhileRunning());
  ExperimentRunning = false;
  EXPECT_FALSE(RefusedOutputChangeWhileRunning());
  EXPECT_EQ(Ui.Texts(), (TTexts{"You cannot change an output while running an experiment",
                                "You cannot change an output while running an experiment"}));
  EXPECT_EQ(List.GetCount(), 1);
}

}  // namespace
