// The preferences: the four default folders checked in order, the browse captions, the
// folders taken by the session and the output windows, and no change during a run.
#include "shell/preferences.h"

#include <filesystem>

#include "outputs/output_form.h"
#include "session_fixture.h"

namespace {

class PreferencesTest : public TSessionFixture {
protected:
  PreferencesTest() { SetPreferredOutputDirectory(""); }
  ~PreferencesTest() override { SetPreferredOutputDirectory(""); }

  std::string Folder(const std::string& name) {
    std::filesystem::create_directory(Temp.PathOf(name));
    return Temp.PathOf(name);
  }
  // Serves the preferences dialog: records the folders it was shown and answers with
  // the folders given (OK) or cancels.
  void ServeDialog(bool ok, const TSessionDirectories& answer = {}) {
    Ui.SetDialogHandler([this, ok, answer](TDialogRequest& request) {
      auto* preferences = dynamic_cast<TExperimentPreferencesRequest*>(&request);
      EXPECT_NE(preferences, nullptr);
      if (!preferences) return 0;
      Shown.push_back(preferences->Directories);
      if (!ok) return 0;
      preferences->Directories = answer;
      return 1;
    });
  }
  std::vector<TSessionDirectories> Shown;
};

bool Same(const TSessionDirectories& a, const TSessionDirectories& b) {
  return a.Output == b.Output && a.Device == b.Device && a.Experiment == b.Experiment &&
         a.Block == b.Block;
}

TEST_F(PreferencesTest, EachFolderIsEmptyOrExistsCheckedInOrder) {
  EXPECT_FALSE(CheckPreferenceDirectories({}).has_value());
  const TSessionDirectories real{Folder("out"), Folder("dev"), Folder("exp"), Folder("blk")};
  EXPECT_FALSE(CheckPreferenceDirectories(real).has_value());

  const std::string missing = Temp.PathOf("missing");
  const std::string file = Temp.WriteBytes("plain.txt", {'x'});
  struct TCase {
    TSessionDirectories Entries;
    std::string Message;
    TPreferenceField Field;
  };
  const TCase cases[] = {
      {{missing, "", "", ""}, "The directory " + missing + " does not exist", TPreferenceField::Output},
      // The first failing entry in the order output, device, experiment, block.
      {{real.Output, missing + "2", "", missing + "3"},
       "The directory " + missing + "2 does not exist", TPreferenceField::Device},
      {{"", "", file, missing}, "The directory " + file + " does not exist",
       TPreferenceField::Experiment},
      {{"", "", "", " "}, "The directory   does not exist", TPreferenceField::Block},
  };
  for (const TCase& entry : cases) {
    const auto refused = CheckPreferenceDirectories(entry.Entries);
    ASSERT_TRUE(refused.has_value()) << entry.Message;
    EXPECT_EQ(refused->Message, entry.Message);
    EXPECT_EQ(refused->Field, entry.Field) << entry.Message;
  }

  EXPECT_STREQ(BrowseCaption(TPreferenceField::Output), "Find Output Directory");
  EXPECT_STREQ(BrowseCaption(TPreferenceField::Device), "Find Device Directory");
  EXPECT_STREQ(BrowseCaption(TPreferenceField::Experiment), "Find Experiment Directory");
  EXPECT_STREQ(BrowseCaption(TPreferenceField::Block), "Find Block Directory");
}

TEST_F(PreferencesTest, OKGivesTheFoldersToTheSessionAndTheOutputWindows) {
  const TSessionDirectories before{Folder("a"), "", Folder("b"), ""};
  ApplyDirectories(Session, before);
  EXPECT_EQ(PreferredOutputDirectory(), before.Output);

  // Cancel changes nothing.
  ServeDialog(false);
  PreferencesClick(Session);
  ASSERT_EQ(Shown.size(), 1u);
  EXPECT_TRUE(Same(Shown[0], before));
  EXPECT_TRUE(Same(Session.Directories, before));
  EXPECT_EQ(PreferredOutputDirectory(), before.Output);

  const TSessionDirectories after{Folder("out"), Folder("dev"), "", Folder("blk")};
  ServeDialog(true, after);
  PreferencesClick(Session);
  EXPECT_TRUE(Same(Session.Directories, after));
  EXPECT_EQ(PreferredOutputDirectory(), after.Output);
  EXPECT_TRUE(Ui.Texts().empty());

  // The session's choosers start there: the experiment chooser in the (now empty)
  // experiment folder, the block chooser in the block folder.
  Ui.ScriptFiles({"", ""});
  Session.OpenClick();
  Session.OpenBlockDialog(0, 0);
  const std::vector<TFileChoice> choices = Ui.FileChoices();
  ASSERT_EQ(choices.size(), 2u);
  EXPECT_EQ(choices[0].InitialDir, "");
  EXPECT_EQ(choices[1].InitialDir, after.Block);
}

TEST_F(PreferencesTest, ARunRefusesThePreferences) {
  ServeDialog(true, {Folder("out"), "", "", ""});
  TBlock* start = StartBlock();
  Logged(start, "Waits")->Action = UntilStopped;
  Session.ExperimentChanged(1, 0);
  Run.StartButtonClick();
  WaitForRunning();
  Ui.Clear();
  PreferencesClick(Session);
  EXPECT_EQ(Ui.Texts(), TTexts{"Experiment running, you cannot change preferences."});
  EXPECT_TRUE(Shown.empty()) << "the dialog is not shown during a run";
  EXPECT_EQ(Session.Directories.Output, "");

  Run.StopButtonClick();
  WaitForRunEnd();
  Run.TimerTimer();
  Ui.Clear();
  PreferencesClick(Session);
  EXPECT_EQ(Shown.size(), 1u);
  EXPECT_EQ(Session.Directories.Output, Temp.PathOf("out"));
}

}  // namespace
