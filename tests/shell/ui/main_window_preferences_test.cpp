// The main window's "&Preferences", "&About" and the four default folders: the folders
// checked and browsed in the dialog, then where the file choosers start, kept until the
// next start; no preferences during a run.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <filesystem>
#include <string>
#include <vector>

#include "main_window_steps.h"
#include "outputs/output_form.h"
#include "shell/ui/about_box.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/preferences_dialog.h"
#include "shell/ui/shell_dialogs.h"
#include "support/ui/dialog_driver.h"

namespace {

using TTexts = std::vector<std::string>;

class MainWindowPreferencesTest : public TWindowStepsTest {
protected:
  // The shell's dialogs, as start-up registers them.
  MainWindowPreferencesTest() {
    RegisterShellDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }
  ~MainWindowPreferencesTest() override {
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
    SetPreferredOutputDirectory("");
  }

  std::string Folder(const std::string& name) {
    std::filesystem::create_directory(Temp.PathOf(name));
    return Temp.PathOf(name);
  }
  static void Type(QWidget& dialog, const char* name, const std::string& text) {
    auto* edit = Control<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  static std::string Text(QWidget& dialog, const char* name) {
    return Control<QLineEdit>(dialog, name)->text().toStdString();
  }
  // Presses OK; a refusal is answered. The messages shown and the control focused.
  std::pair<TTexts, std::string> PressOK(QWidget& dialog, bool refused) {
    Dialogs.ClearCalls();
    if (refused) Dialogs.ScriptAnswers({mbOK});
    ClickControl(dialog, "Ok");
    QWidget* focus = dialog.focusWidget();
    return {Dialogs.Texts(), focus ? focus->objectName().toStdString() : ""};
  }
  // Browses with the button, the folder chooser answering answer (empty: cancelled);
  // answers the chooser's caption and the folder it started from.
  std::pair<std::string, std::string> Browse(QWidget& dialog, const char* button,
                                             const std::string& answer) {
    Dialogs.ClearCalls();
    Dialogs.ScriptFiles({answer});
    ClickControl(dialog, button);
    const auto calls = Dialogs.DirectoryChoices();
    EXPECT_EQ(calls.size(), 1u);
    if (calls.empty()) return {};
    EXPECT_TRUE(calls[0].HadParent);
    return {calls[0].Caption, calls[0].Directory};
  }

  TDialogRegistry Registry;
};

TEST_F(MainWindowPreferencesTest, TheFoldersAreCheckedThenUsedByTheFileChoosersAndKept) {
  StartQorv();
  const std::string out = Folder("out"), dev = Folder("dev"), exp = Folder("exp"),
                    blk = Folder("blk");
  const std::string missing = Temp.PathOf("missing");
  TModalDialogActor<TExperimentPreferencesForm> actor([&](TExperimentPreferencesForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    EXPECT_EQ(dialog.property("helpContext").toInt(), 27);
    auto* help = Control<QPushButton>(dialog, "Help");
    EXPECT_EQ(help->property("helpContext").toInt(), 27);
    EXPECT_TRUE(help->isEnabled());  // the main window's help wiring enables it
    const int unit = Control<QPushButton>(dialog, "Ok")->sizeHint().height();
    EXPECT_GE(dialog.width(), 19 * unit);
    for (const auto& [label, text] :
         {std::pair{"OutputLabel", "Output Directory"}, std::pair{"DeviceLabel", "Device Directory"},
          std::pair{"ExpLabel", "Experiment Directory"}, std::pair{"BlockLabel", "Block Directory"}})
      EXPECT_EQ(Control<QLabel>(dialog, label)->text(), text);
    for (const char* button : {"OutputBrowse", "DeviceBrowse", "ExpBrowse", "BlockBrowse"}) {
      EXPECT_EQ(Control<QToolButton>(dialog, button)->text(), "...");
      EXPECT_EQ(Control<QToolButton>(dialog, button)->toolTip(), "Browse");
    }
    for (const char* edit : {"OutputEdit", "DeviceEdit", "ExpEdit", "BlockEdit"})
      EXPECT_EQ(Text(dialog, edit), "") << edit;

    // A folder that is not there is named and focused, in the order of the edits.
    Type(dialog, "DeviceEdit", missing);
    Type(dialog, "BlockEdit", missing + "2");
    EXPECT_EQ(PressOK(dialog, true),
              (std::pair{TTexts{"The directory " + missing + " does not exist"},
                         std::string("DeviceEdit")}));

    // The browse buttons: each chooser captioned for its folder, starting at the edit's.
    EXPECT_EQ(Browse(dialog, "DeviceBrowse", dev), (std::pair{std::string("Find Device Directory"), missing}));
    EXPECT_EQ(Text(dialog, "DeviceEdit"), dev);
    EXPECT_EQ(PressOK(dialog, true),
              (std::pair{TTexts{"The directory " + missing + "2 does not exist"},
                         std::string("BlockEdit")}));
    EXPECT_EQ(Browse(dialog, "BlockBrowse", blk),
              (std::pair{std::string("Find Block Directory"), missing + "2"}));
    EXPECT_EQ(Browse(dialog, "OutputBrowse", out),
              (std::pair{std::string("Find Output Directory"), std::string()}));
    Type(dialog, "ExpEdit", exp);
    EXPECT_EQ(Browse(dialog, "ExpBrowse", ""),  // cancelled: the edit keeps its text
              (std::pair{std::string("Find Experiment Directory"), exp}));
    EXPECT_EQ(Text(dialog, "ExpEdit"), exp);
    EXPECT_EQ(Text(dialog, "OutputEdit"), out);
    EXPECT_EQ(Text(dialog, "BlockEdit"), blk);
    EXPECT_EQ(PressOK(dialog, false).first, TTexts{});
  });
  Trigger("PreferencesMenuItem");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);

  // Every chooser starts in its folder: experiments, blocks, outputs (opened and saved
  // from their windows) and devices.
  Dialogs.ClearCalls();
  Dialogs.ScriptFiles({"", "", "", ""});
  Trigger("OpenMenuItem");
  Trigger("SaveAsMenuItem");
  Trigger("OpenBlockMenuItem");
  Trigger("OpenOutputMenuItem");
  const auto choices = Dialogs.FileChoices();
  ASSERT_EQ(choices.size(), 4u);
  EXPECT_EQ(choices[0].Choice.InitialDir, exp);
  EXPECT_EQ(choices[1].Choice.InitialDir, exp);
  EXPECT_TRUE(choices[1].Choice.Save);
  EXPECT_EQ(choices[2].Choice.InitialDir, blk);
  EXPECT_EQ(choices[3].Choice.InitialDir, out);
  EXPECT_EQ(PreferredOutputDirectory(), out);
  EXPECT_EQ(Window->Session().Directories.Device, dev);

  // Kept with the settings: the next start shows them and uses them.
  CloseWindow();
  SetPreferredOutputDirectory("");
  StartQorv();
  EXPECT_EQ(PreferredOutputDirectory(), out);
  TModalDialogActor<TExperimentPreferencesForm> again([&](TExperimentPreferencesForm& dialog) {
    EXPECT_EQ(Text(dialog, "OutputEdit"), out);
    EXPECT_EQ(Text(dialog, "DeviceEdit"), dev);
    EXPECT_EQ(Text(dialog, "ExpEdit"), exp);
    EXPECT_EQ(Text(dialog, "BlockEdit"), blk);
    // Cancel keeps them even with an edit emptied.
    Type(dialog, "ExpEdit", "");
    ClickControl(dialog, "Cancel");
  });
  Trigger("PreferencesMenuItem");
  EXPECT_TRUE(again.Seen);
  EXPECT_EQ(Window->Session().Directories.Experiment, exp);

  // An emptied folder is accepted: the choosers then start wherever they like.
  TModalDialogActor<TExperimentPreferencesForm> emptied([&](TExperimentPreferencesForm& dialog) {
    Type(dialog, "ExpEdit", "");
    EXPECT_EQ(PressOK(dialog, false).first, TTexts{});
  });
  Trigger("PreferencesMenuItem");
  EXPECT_FALSE(emptied.LeftOpen);
  Dialogs.ClearCalls();
  Dialogs.ScriptFiles({""});
  Trigger("OpenMenuItem");
  ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.InitialDir, "");
}

TEST_F(MainWindowPreferencesTest, ARunShowsItsMessageInsteadOfThePreferences) {
  StartQorv();
  AddWait(10000);
  Trigger("StartButton");
  ASSERT_TRUE(WaitUntil([] { return ExperimentRunning.load(); }, 10000)) << "no run began";
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbOK});
  TModalDialogActor<TExperimentPreferencesForm> actor([](TExperimentPreferencesForm&) {});
  Trigger("PreferencesMenuItem");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Experiment running, you cannot change preferences."});
  QTest::qWait(50);
  EXPECT_FALSE(actor.Seen);
}

TEST_F(MainWindowPreferencesTest, AboutShowsTheAboutBox) {
  StartQorv();
  TModalDialogActor<TAboutBox> actor([](TAboutBox& box) {
    EXPECT_EQ(box.windowTitle(), "About Qorv");
    ClickControl(box, "OKButton");
  });
  Trigger("AboutMenuItem");
  EXPECT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
}

}  // namespace
