// "Add Output" through its widgets, opened by the core's output list and output edit:
// each kind with its channel rules and messages, Add for several outputs, editing with
// the question about plots on channels that go and about a kind they cannot take, and
// no change during a run.
#include "outputs/ui/add_output_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/experiment_running.h"
#include "outputs/ui/output_dialogs.h"
#include "scripts/outputs/plot_fixture.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/dialog_port.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class AddOutputDialogTest : public TPlotFixture {
protected:
  static void Type(QWidget& dialog, const char* name, const std::string& text) {
    auto* edit = Control<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  static QString Text(QWidget& dialog, const char* name) {
    return Control<QLineEdit>(dialog, name)->text();
  }
  // Clicks the button, a refusal expected or not: the texts shown and the control that
  // has the focus after.
  std::pair<TTexts, std::string> Press(QWidget& dialog, const char* button, bool refused) {
    Dialogs.ClearCalls();
    if (refused) Dialogs.ScriptAnswers({mbOK});
    ClickControl(dialog, button);
    QWidget* focus = dialog.focusWidget();
    return {Dialogs.Texts(), focus ? focus->objectName().toStdString() : ""};
  }
  // What an output is: name, kind and channels.
  static std::tuple<std::string, int, int> Made(TOutput* output) {
    return {output->GetName(), output->Poutputtype, output->NumberOfChannels};
  }

  TScriptedUserDialogs Dialogs;
  TDialogPort Port{RegisterOutputDialogs};
  TOutputList& List = *Exp.GetOutputList();
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "1.5");
};

TEST_F(AddOutputDialogTest, EachKindWithItsChannels) {
  const std::string none = "You must enter a number of channels";
  const std::string positive = "The number of channels must be a positive integer greater than 0.";
  const std::string many = "There can be no more than 25 channels in one output.";
  const struct {
    const char* radio;
    std::string title, channels;
    std::vector<std::pair<std::string, std::string>> refusals;  // channel text, message
    std::tuple<std::string, int, int> made;
  } cases[] = {
      {"TextRadio", "Log", "", {}, {"Log", otTEXT, 1}},
      {"BigNumRadio", "Now", "", {}, {"Now", otBIGNUMBER, 1}},
      {"TableRadio", "Points", "25", {{"", none}, {"0", positive}, {"26", many}},
       {"Points", otTABLE, 25}},
      {"GraphRadio", "Plot", " 3 ", {{"abc", positive}, {"-2", positive}}, {"Plot", otGRAPH, 3}},
  };
  for (const auto& c : cases) {
    TModalDialogActor<TAddOutputForm> actor([&](TAddOutputForm& dialog) {
      EXPECT_EQ(dialog.windowTitle(), "Add Output");
      // A new output starts as text, one channel that cannot be changed.
      EXPECT_TRUE(Control<QRadioButton>(dialog, "TextRadio")->isChecked());
      EXPECT_FALSE(Control<QLineEdit>(dialog, "ChannelEdit")->isEnabled());
      EXPECT_FALSE(Control<QLabel>(dialog, "ChannelLabel")->isEnabled());
      EXPECT_EQ(Text(dialog, "ChannelEdit"), "1");
      EXPECT_FALSE(Control<QPushButton>(dialog, "Add")->isVisible());
      EXPECT_TRUE(Control<QPushButton>(dialog, "OK")->isDefault());
      EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 17);
      EXPECT_EQ(Press(dialog, "OK", true),
                (std::pair{TTexts{"You must enter a title"}, std::string("OutputTitle")}));
      ClickControl(dialog, c.radio);
      const bool channels = Control<QLineEdit>(dialog, "ChannelEdit")->isEnabled();
      EXPECT_EQ(channels, !c.refusals.empty()) << c.radio;
      for (const auto& [text, message] : c.refusals) {
        Type(dialog, "OutputTitle", c.title);
        Type(dialog, "ChannelEdit", text);
        EXPECT_EQ(Press(dialog, "OK", true), (std::pair{TTexts{message}, std::string("ChannelEdit")}))
            << text;
      }
      Type(dialog, "OutputTitle", c.title);
      if (channels) Type(dialog, "ChannelEdit", c.channels);
      EXPECT_EQ(Press(dialog, "OK", false).first, TTexts{});
      EXPECT_FALSE(dialog.isVisible());
    });
    List.AddNew();
    EXPECT_FALSE(actor.LeftOpen);
    ASSERT_NE(List.GetOutput(List.GetCount() - 1), nullptr);
    EXPECT_EQ(Made(List.GetOutput(List.GetCount() - 1)), c.made) << c.radio;
  }
  EXPECT_EQ(List.GetCount(), 4);
}

TEST_F(AddOutputDialogTest, AddMakesSeveralAndOkTheLast) {
  TModalDialogActor<TAddOutputForm> actor([&](TAddOutputForm& dialog) {
    auto* add = Control<QPushButton>(dialog, "Add");
    EXPECT_TRUE(add->isVisible() && add->isDefault());
    Type(dialog, "OutputTitle", "A");
    ClickControl(dialog, "GraphRadio");
    Type(dialog, "ChannelEdit", "2");
    EXPECT_EQ(Press(dialog, "Add", false), (std::pair{TTexts{}, std::string("OutputTitle")}));
    EXPECT_EQ(List.GetCount(), 1);
    EXPECT_EQ(Text(dialog, "OutputTitle"), "");  // emptied for the next one
    EXPECT_TRUE(Control<QRadioButton>(dialog, "GraphRadio")->isChecked());
    EXPECT_EQ(Press(dialog, "Add", true).first, TTexts{"You must enter a title"});
    Type(dialog, "OutputTitle", "B");
    ClickControl(dialog, "TextRadio");
    EXPECT_EQ(Text(dialog, "ChannelEdit"), "1");
    Press(dialog, "Add", false);
    Type(dialog, "OutputTitle", "C");
    ClickControl(dialog, "OK");
    EXPECT_FALSE(dialog.isVisible());
  });
  List.AddMany();
  EXPECT_FALSE(actor.LeftOpen);
  ASSERT_EQ(List.GetCount(), 3);
  EXPECT_EQ(Made(List.GetOutput(0)), (std::tuple{std::string("A"), otGRAPH, 2}));
  EXPECT_EQ(Made(List.GetOutput(1)), (std::tuple{std::string("B"), otTEXT, 1}));
  EXPECT_EQ(Made(List.GetOutput(2)), (std::tuple{std::string("C"), otTEXT, 1}));

  // OK on an empty title closes without another output and without a word.
  TModalDialogActor<TAddOutputForm> empty([&](TAddOutputForm& dialog) {
    Type(dialog, "OutputTitle", "   ");
    EXPECT_EQ(Press(dialog, "OK", false).first, TTexts{});
    EXPECT_FALSE(dialog.isVisible());
  });
  List.UserAdd();
  EXPECT_TRUE(empty.Seen);
  EXPECT_EQ(List.GetCount(), 3);
}

TEST_F(AddOutputDialogTest, EditingAsksAboutPlotsOnChannelsThatGo) {
  TOutput* graph = Output("G", otGRAPH, 4);
  Plot(graph, Y, true, 0);
  TPlotScript* last = Plot(graph, Y, true, 3);
  const std::string asked = "The following plots use the channels to be deleted:\r\n" +
                            last->GetText() + "\r\nPress OK if you wish the plots to be deleted.";
  TModalDialogActor<TAddOutputForm> actor([&](TAddOutputForm& dialog) {
    EXPECT_TRUE(Control<QRadioButton>(dialog, "GraphRadio")->isChecked());
    EXPECT_EQ(Text(dialog, "OutputTitle"), "G");
    EXPECT_EQ(Text(dialog, "ChannelEdit"), "4");
    Type(dialog, "OutputTitle", "Two");
    Type(dialog, "ChannelEdit", "2");
    Dialogs.ScriptAnswers({mbCancel});
    EXPECT_EQ(Press(dialog, "OK", false), (std::pair{TTexts{asked}, std::string("ChannelEdit")}));
    EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, "Qorv Warning");
    EXPECT_TRUE(dialog.isVisible()) << "Cancel keeps the dialog open";
    Dialogs.ScriptAnswers({mbOK});
    ClickControl(dialog, "OK");
  });
  EXPECT_EQ(graph->Edit(), 1);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(graph->GetName(), "Two");
  EXPECT_EQ(graph->NumberOfChannels, 2);
  EXPECT_EQ(graph->GetPlotList().size(), 1u);
}

TEST_F(AddOutputDialogTest, AKindThePlotsCannotTakeAsksAndNoChangesNothing) {
  TOutput* graph = Output("G", otGRAPH, 2);
  PlotArray(graph, Array(B1, "A", eatFLOAT, 5));  // a big number shows no entire array
  const auto editToBigNumber = [&] {
    return TModalDialogActor<TAddOutputForm>([](TAddOutputForm& dialog) {
      ClickControl(dialog, "BigNumRadio");
      EXPECT_EQ(Text(dialog, "ChannelEdit"), "1");
      ClickControl(dialog, "OK");
    });
  };
  Dialogs.ScriptAnswers({mbNo});
  {
    auto actor = editToBigNumber();
    EXPECT_EQ(graph->Edit(), 0);
  }
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  const TMessageBox box = Dialogs.Boxes()[0].Box;
  EXPECT_EQ(box.Caption, "Qorv Message");
  EXPECT_EQ(box.Text.toStdString(),
            "The output type you have selected does not support one or more of the plot "
            "commands. \r\nDo you wish to delete the plot(s) (Yes) or abort (No).");
  EXPECT_EQ(box.Buttons, mbYes | mbNo);
  EXPECT_EQ(graph->Poutputtype, otGRAPH);
  EXPECT_EQ(graph->NumberOfChannels, 2);
  EXPECT_EQ(graph->GetPlotList().size(), 1u);

  Dialogs.ScriptAnswers({mbYes});
  {
    auto actor = editToBigNumber();
    EXPECT_EQ(graph->Edit(), 1);
  }
  EXPECT_EQ(graph->Poutputtype, otBIGNUMBER);
  EXPECT_EQ(graph->NumberOfChannels, 1);
  EXPECT_TRUE(graph->GetPlotList().empty());
}

TEST_F(AddOutputDialogTest, NothingChangesDuringARun) {
  TOutput* graph = Output("G", otGRAPH, 2);
  const std::string refused = "You cannot change an output while running an experiment";
  ExperimentRunning = true;
  TModalDialogActor<TAddOutputForm> actor([&](TAddOutputForm& dialog) {
    Type(dialog, "OutputTitle", "H");
    EXPECT_EQ(Press(dialog, "OK", true).first, TTexts{refused});
    EXPECT_FALSE(dialog.isVisible()) << "closed as cancelled";
  });
  EXPECT_EQ(graph->Edit(), 0);
  EXPECT_EQ(graph->GetName(), "G");

  // The list does not even open its dialog; an Add in a dialog open before the run stays.
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK, mbOK});
  List.AddNew();
  List.AddMany();
  EXPECT_EQ(Dialogs.Texts(), (TTexts{"Cannot add output while experiment is running",
                                     "Cannot add output while experiment is running"}));
  TOutputDialogRequest request;
  request.List = &List;
  TAddOutputForm dialog(request);
  dialog.show();
  Type(dialog, "OutputTitle", "During");
  EXPECT_EQ(Press(dialog, "Add", true).first, TTexts{refused});
  EXPECT_TRUE(dialog.isVisible());
  ExperimentRunning = false;
  EXPECT_EQ(List.GetCount(), 1);
}

}  // namespace
