// The document session: the start block of every new experiment, the save question,
// New with devices, Open and Save, damaged files, the recent files, block files, files
// dropped on the window and the modified mark.
#include "shell/document_session.h"

#include <filesystem>
#include <fstream>
#include <memory>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "model/data_list.h"
#include "session_fixture.h"

namespace {

const char* const SaveQuestion = "The experiment has been changed, do you wish to save it?";

class DocumentSessionTest : public TSessionFixture {
protected:
  // The start block of a new experiment connected to a second block with a variable,
  // saved as name.
  std::string SavedExperiment(const std::string& name) {
    TBlock* first = StartBlock();
    TBlock* second = AddBlock("Heater", {200, 20});
    Line(first, second);
    Exp().GetDataSingleList()->Add(second, 1, 1, "x");
    EXPECT_TRUE(Session.SaveExperimentFile(Temp.PathOf(name)));
    return Temp.PathOf(name);
  }
  // A device named so, on GPIB address 5, in the session's list.
  TDevice* Meter(const std::string& name = "Meter") {
    TDevice* device = Session.GetDeviceList().NewDevice();
    device->GetCoreDevice().SetName(name);
    device->SetCommunication(std::make_unique<TCECGPIB>(0, 5, nullptr));
    return device;
  }
  void WriteText(const std::string& name, const std::string& text) {
    std::ofstream(Temp.PathOf(name), std::ios::binary) << text;
  }
  // The last question asked, checked for its caption, icon and buttons.
  void ExpectQuestion(const std::string& text, const std::string& caption, TMessageKind kind) {
    ASSERT_FALSE(Ui.Shown().empty());
    const TFakeUiPort::TShown asked = Ui.Shown().back();
    EXPECT_EQ(asked.Text, text);
    EXPECT_EQ(asked.Caption, caption);
    EXPECT_EQ(asked.Kind, kind);
    EXPECT_EQ(asked.Buttons, mbYes | mbNo);
  }
  int Blocks() { return Exp().GetExperimentTree().Count(); }
};

TEST_F(DocumentSessionTest, TheModifiedMarkFollowsMessage2024) {
  EXPECT_FALSE(Session.IsModified());
  TBlock* first = StartBlock();
  AddBlock("Second");
  Session.ExperimentChanged(1, 0);
  EXPECT_TRUE(Session.IsModified());
  EXPECT_EQ(Ui.StatusText(2), "Modified");
  EXPECT_TRUE(Window.CanRun && Window.HasNodes);
  Session.ExperimentChanged(0, 1);
  EXPECT_FALSE(Session.IsModified());
  EXPECT_EQ(Ui.StatusText(2), "");

  // Without an insertion point the first block takes it, so that commands can go there.
  delete Exp().GetBlankScript();
  ASSERT_EQ(Exp().GetCurrentBlock(), nullptr);
  Session.ExperimentChanged(1, 1);
  EXPECT_EQ(Exp().GetCurrentBlock(), first);

  // A new experiment holds its start block: not modified, yet it can run and be saved.
  Ui.ScriptAnswers({mbNo});
  ASSERT_TRUE(Session.NewExperimentClick(false));
  EXPECT_TRUE(Session.FileMenuState().Save);

  // An experiment without nodes is never modified; its run buttons are off.
  DeleteBlock(StartBlock());
  EXPECT_FALSE(Session.IsModified());
  Session.ExperimentChanged(1, 0);
  EXPECT_FALSE(Session.IsModified());
  EXPECT_FALSE(Window.CanRun || Window.HasNodes);
  EXPECT_FALSE(Session.FileMenuState().Save);
  EXPECT_TRUE(Session.FileMenuState().Idle);
}

TEST_F(DocumentSessionTest, EveryNewExperimentStartsWithItsStartBlockAlone) {
  // One box at the origin whose block is the start block and takes the commands at once.
  const auto expectStartBlockAlone = [&](const char* after) {
    ASSERT_EQ(Blocks(), 1) << after;
    TBlock* start = StartBlock();
    EXPECT_TRUE(start->IsStartBlock()) << after;
    EXPECT_EQ(Exp().GetCurrentBlock(), start) << after;
    EXPECT_EQ(Ui.StatusText(1), "Start Block") << after;
    ASSERT_EQ(Session.GetDrawParts().Count(), 1) << after;
    EXPECT_EQ(start->GetDrawBlock()->GetCaption(), "Start Block") << after;
    EXPECT_EQ(start->GetDrawBlock()->GetPosition(), (TPoint{0, 0})) << after;
    EXPECT_FALSE(Session.IsModified()) << after;
    EXPECT_EQ(Window.Bound, &Exp()) << after;
  };
  // A modified experiment of three boxes and a line, replaced next.
  const auto modifiedDiagram = [&] {
    TBlock* second = AddBlock("Second", {200, 0});
    Line(StartBlock(), second);
    AddBlock("Third", {400, 0});
    Session.ExperimentChanged(1, 0);
    ASSERT_EQ(Session.GetDrawParts().Count(), 4);
    Window.CanRun = Window.HasNodes = false;
    Ui.Clear();
  };

  expectStartBlockAlone("construction");
  modifiedDiagram();
  Ui.ScriptAnswers({mbNo});
  ASSERT_TRUE(Session.NewExperimentClick());
  expectStartBlockAlone("new");
  EXPECT_EQ(Ui.Texts(), TTexts{SaveQuestion});
  EXPECT_TRUE(Window.CanRun && Window.HasNodes);

  modifiedDiagram();
  EXPECT_FALSE(Session.OpenExperimentFile(Temp.WriteBytes("bad.qve", StringBytes("Nonsense"))));
  expectStartBlockAlone("failed open");
  EXPECT_EQ(Ui.Texts(), TTexts{"Bad experiment file...aborting read"});
  EXPECT_TRUE(Window.CanRun && Window.HasNodes);

  // An opened file gets no block besides its own: a new experiment saved as it is comes
  // back alike, a larger one with its two blocks.
  const std::string alone = Temp.PathOf("alone.qve");
  ASSERT_TRUE(Session.SaveExperimentFile(alone));
  ASSERT_TRUE(Session.OpenExperimentFile(alone));
  expectStartBlockAlone("opened");
  EXPECT_EQ(Exp().GetFileName(), alone);
  const std::string two = SavedExperiment("two.qve");
  Ui.Clear();
  ASSERT_TRUE(Session.OpenExperimentFile(two));
  ASSERT_EQ(Blocks(), 2);
  EXPECT_EQ(Session.GetDrawParts().Count(), 3);  // the two boxes and their line
  EXPECT_EQ(Exp().GetCurrentBlock(), StartBlock());
  EXPECT_FALSE(BlockOfNode(Exp().GetExperimentTree().Item(1))->IsStartBlock());
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(DocumentSessionTest, YesToTheSaveQuestionGoesOnOnlyOnceTheExperimentIsSaved) {
  const std::string older = SavedExperiment("older.qve");
  const TBytes olderBytes = Temp.ReadBytes("older.qve");
  Session.NewExperimentClick(false);
  AddBlock("Unsaved");
  Session.ExperimentChanged(1, 0);
  TExperiment* unsaved = &Exp();

  // Yes, then Save As cancelled: New, Open, a dropped experiment, Reopen and closing are
  // all abandoned, the experiment still there and still modified.
  const auto abandoned = [&](const std::function<void()>& operation, const char* what) {
    Ui.Clear();
    Ui.ScriptAnswers({mbYes});
    Ui.ScriptFiles({""});
    operation();
    EXPECT_EQ(&Exp(), unsaved) << what;
    EXPECT_TRUE(Session.IsModified()) << what;
    EXPECT_EQ(Ui.Texts(), TTexts{SaveQuestion}) << what;
  };
  abandoned([&] { EXPECT_FALSE(Session.NewExperimentClick()); }, "new");
  abandoned([&] { Session.OpenClick(); }, "open");
  abandoned([&] { Session.WMDropFiles({older}); }, "drop");
  abandoned([&] { Session.ReopenItemClick(0); }, "reopen");
  abandoned([&] { EXPECT_FALSE(Session.FormClose(Run)); }, "close");
  EXPECT_EQ(Ui.FileChoices().size(), 5u);  // only the Save As choices; Open never asked
  EXPECT_EQ(Temp.ReadBytes("older.qve"), olderBytes);

  // Yes, then a file that cannot be written: the same, with the writer's reason.
  Ui.Clear();
  Ui.ScriptAnswers({mbYes});
  Ui.ScriptFiles({Temp.PathOf("missing/dir/x.qve")});
  EXPECT_FALSE(Session.NewExperimentClick());
  EXPECT_EQ(&Exp(), unsaved);
  ASSERT_EQ(Ui.Texts().size(), 2u);
  EXPECT_EQ(Ui.Texts()[1].rfind("Error writing to file:Cannot create file", 0), 0u)
      << Ui.Texts()[1];
  EXPECT_EQ(Exp().GetFileName(), "");

  // Yes with a save that completes goes on; No goes on without saving.
  Ui.ScriptAnswers({mbYes});
  Ui.ScriptFiles({Temp.PathOf("saved.qve")});
  EXPECT_TRUE(Session.FormClose(Run));
  EXPECT_TRUE(std::filesystem::exists(Temp.PathOf("saved.qve")));
  EXPECT_FALSE(Session.IsModified());
  Session.ExperimentChanged(1, 0);
  Ui.ScriptAnswers({mbNo});
  EXPECT_TRUE(Session.NewExperimentClick());
  EXPECT_EQ(Window.Bound, &Exp());
  EXPECT_FALSE(Session.IsModified());
}

TEST_F(DocumentSessionTest, NewAsksWhetherTheDevicesGoToo) {
  Meter();
  // The user's New: No keeps the devices, Yes clears them.
  Ui.ScriptAnswers({mbNo});
  EXPECT_TRUE(Session.NewExperimentClick());
  ExpectQuestion("Do you wish to clear the devices as well?", "Qorv message",
                 TMessageKind::Confirmation);
  EXPECT_EQ(Session.GetDeviceList().Count(), 1u);
  EXPECT_EQ(Session.GetDeviceList().GetExperiment(), &Exp());
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(Session.NewExperimentClick());
  EXPECT_TRUE(Session.GetDeviceList().IsEmpty());
  // Without devices nothing is asked; the program's New clears them unasked.
  Ui.Clear();
  EXPECT_TRUE(Session.NewExperimentClick());
  Meter();
  EXPECT_TRUE(Session.NewExperimentClick(false));
  EXPECT_TRUE(Session.GetDeviceList().IsEmpty());
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_GE(Window.DeviceChanges, 4);
}

TEST_F(DocumentSessionTest, SaveAndOpenThroughTheirChoosersAndKeepTheOldFileOnFailure) {
  Session.Directories.Experiment = Temp.PathOf("experiments");
  AddBlock("First");
  Session.ExperimentChanged(1, 0);
  Ui.ScriptFiles({Temp.PathOf("one.qve")});
  EXPECT_TRUE(Session.SaveClick());  // no file yet: Save As
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  const TFileChoice saveAs = Ui.FileChoices()[0];
  EXPECT_TRUE(saveAs.Save);
  EXPECT_EQ(saveAs.Filter, "Experiment (*.qve) | *.qve");
  EXPECT_EQ(saveAs.DefaultExt, "qve");
  EXPECT_EQ(saveAs.FileName, "Experiment 1");
  EXPECT_EQ(saveAs.InitialDir, Temp.PathOf("experiments"));
  EXPECT_EQ(Exp().GetFileName(), Temp.PathOf("one.qve"));
  EXPECT_EQ(Exp().GetTitle(), "one.qve");
  EXPECT_FALSE(Session.IsModified());
  EXPECT_EQ(Window.Menu, TTexts{"&0 " + Temp.PathOf("one.qve")});

  // Save again writes the same file without a chooser.
  AddBlock("Second");
  Session.ExperimentChanged(1, 0);
  EXPECT_TRUE(Session.SaveClick());
  EXPECT_EQ(Ui.FileChoices().size(), 1u);
  const TBytes saved = Temp.ReadBytes("one.qve");

  // A save that fails leaves the old file, the name, the title and the mark.
  Session.ExperimentChanged(1, 0);
  std::filesystem::create_directory(Temp.PathOf("blocked.qve"));  // cannot be replaced
  Ui.ScriptFiles({Temp.PathOf("blocked.qve")});
  EXPECT_FALSE(Session.SaveAsClick());
  EXPECT_EQ(Ui.Texts().back().rfind("Error writing to file:", 0), 0u);
  EXPECT_EQ(Exp().GetFileName(), Temp.PathOf("one.qve"));
  EXPECT_EQ(Exp().GetTitle(), "one.qve");
  EXPECT_EQ(Ui.Caption(), "Qorv Current Experiment: one.qve");
  EXPECT_TRUE(Session.IsModified());
  EXPECT_TRUE(std::filesystem::is_directory(Temp.PathOf("blocked.qve")));
  EXPECT_EQ(Window.Menu.size(), 1u);
  // An unmodified experiment stays unmodified after a failed save.
  Session.ExperimentChanged(0, 1);
  Ui.ScriptFiles({Temp.PathOf("blocked.qve")});
  EXPECT_FALSE(Session.SaveAsClick());
  EXPECT_FALSE(Session.IsModified());
  EXPECT_EQ(Temp.ReadBytes("one.qve"), saved);

  // Open: the chooser, the file, the recent files.
  Ui.ScriptFiles({Temp.PathOf("one.qve")});
  Session.OpenClick();
  const TFileChoice open = Ui.FileChoices().back();
  EXPECT_FALSE(open.Save);
  EXPECT_EQ(open.Filter, "Experiment (*.qve) | *.qve");
  EXPECT_EQ(open.InitialDir, Temp.PathOf("experiments"));
  EXPECT_EQ(Blocks(), 3);  // the start block and the two added, nothing more
  EXPECT_EQ(Window.Bound, &Exp());
  EXPECT_FALSE(Session.IsModified());
  // A cancelled chooser opens nothing.
  TExperiment* opened = &Exp();
  Ui.ScriptFiles({""});
  Session.OpenClick();
  EXPECT_EQ(&Exp(), opened);
}

TEST_F(DocumentSessionTest, DamagedFilesEndInTheirReadErrors) {
  Meter();
  AddBlock("Kept");
  const auto bytes = [](const std::string& header, const std::string& version) {
    return Cat({StringBytes(header), StringBytes(version)});
  };
  // A bad experiment file: the message, a new experiment with its start block alone, no
  // devices.
  EXPECT_FALSE(
      Session.OpenExperimentFile(Temp.WriteBytes("bad.qve", bytes("Qorv Nonsense", "Qorv 1.5"))));
  EXPECT_EQ(Ui.Texts().back(), "Bad experiment file...aborting read");
  EXPECT_EQ(Blocks(), 1);
  EXPECT_TRUE(Session.GetDeviceList().IsEmpty());
  EXPECT_EQ(Window.Bound, &Exp());
  // A version this program cannot read.
  EXPECT_FALSE(
      Session.OpenExperimentFile(Temp.WriteBytes("new.qve", bytes("Qorv Experiment", "Qorv 1.6"))));
  EXPECT_EQ(Ui.Texts().back(), "Cannot read this version number Qorv 1.6");
  // A missing file.
  EXPECT_FALSE(Session.OpenExperimentFile(Temp.PathOf("none.qve")));
  // Open through the chooser: a failure does not join the recent files.
  Ui.ScriptFiles({Temp.PathOf("bad.qve")});
  Session.OpenClick();
  EXPECT_TRUE(Session.GetReopenList().IsEmpty());

  // A bad block file leaves the experiment as it was.
  TBlock* kept = AddBlock("Kept");
  Exp().SelectBlock(kept->AExpNode);
  Session.ExperimentChanged(0, 1);
  TExperiment* experiment = &Exp();
  const std::string bad = Temp.WriteBytes("bad.blk", bytes("Qorv Nonsense", "Qorv 1.5"));
  EXPECT_EQ(Session.OpenBlockFile(bad, 5, 5), nullptr);
  EXPECT_EQ(Ui.Texts().back(), "Error reading " + bad + ": Bad block file...aborting read");
  EXPECT_EQ(&Exp(), experiment);
  EXPECT_EQ(Session.GetDrawParts().Count(), 2);
  EXPECT_EQ(Exp().GetCurrentBlock(), kept);
  EXPECT_FALSE(Session.IsModified());
}

TEST_F(DocumentSessionTest, RecentFilesComeToTheTopOnceAndGoWhenTheirFileIsGone) {
  const std::string one = SavedExperiment("one.qve");
  EXPECT_TRUE(Session.SaveExperimentFile(one));  // the same path twice: one item
  EXPECT_EQ(Window.Menu, TTexts{"&0 " + one});
  std::filesystem::create_directory(Temp.PathOf("sub"));
  const std::string two = Temp.PathOf("sub/one.qve");
  EXPECT_TRUE(Session.SaveExperimentFile(two));
  EXPECT_EQ(Window.Menu, (TTexts{"&0 " + two, "&1 " + one}));
  EXPECT_TRUE(Session.FileMenuState().Reopen);

  // Reopening opens the file and keeps the order.
  Ui.Clear();
  Session.ReopenItemClick(1);
  EXPECT_EQ(Exp().GetFileName(), one);
  EXPECT_EQ(Blocks(), 2);
  EXPECT_EQ(Window.Menu, (TTexts{"&0 " + two, "&1 " + one}));
  EXPECT_TRUE(Ui.Texts().empty());  // not modified: no question

  // A file that was deleted: the message, and the item goes.
  std::filesystem::remove(two);
  Session.ReopenItemClick(0);
  EXPECT_EQ(Ui.Texts(), TTexts{"File " + two + " no longer exists"});
  EXPECT_EQ(Window.Menu, TTexts{"&1 " + one});
  EXPECT_EQ(Exp().GetFileName(), one);
  // A file that no longer reads: the read error, a new experiment, and the item goes.
  WriteText("one.qve", "damaged");
  Session.ReopenItemClick(0);
  EXPECT_EQ(Ui.Texts().back(), "Bad experiment file...aborting read");
  EXPECT_TRUE(Window.Menu.empty());
  EXPECT_FALSE(Session.FileMenuState().Reopen);
  Session.ReopenItemClick(0);  // nothing left to click

  // Saving at the save question puts the new file at the top; a failed reopen still
  // takes out the item that was clicked.
  const std::string kept = SavedExperiment("kept.qve");
  Session.NewExperimentClick();
  AddBlock("Unsaved");
  Session.ExperimentChanged(1, 0);
  WriteText("kept.qve", "damaged");
  Ui.Clear();
  Ui.ScriptAnswers({mbYes});
  Ui.ScriptFiles({Temp.PathOf("fresh.qve")});
  Session.ReopenItemClick(0);
  EXPECT_EQ(Ui.Texts(), (TTexts{SaveQuestion, "Bad experiment file...aborting read"}));
  EXPECT_EQ(Window.Menu, TTexts{"&0 " + Temp.PathOf("fresh.qve")});
  Session.ClearClick();
  EXPECT_TRUE(Window.Menu.empty());
}

TEST_F(DocumentSessionTest, BlocksSaveToTheirFilesAndOpenWhereAsked) {
  Session.Directories.Block = Temp.PathOf("blocks");
  // Nothing to save without a current block: none in an experiment without blocks.
  DeleteBlock(StartBlock());
  ASSERT_EQ(Exp().GetCurrentBlock(), nullptr);
  EXPECT_FALSE(Session.SaveBlockClick());
  EXPECT_EQ(Ui.Texts().back(), "No Block selected");
  EXPECT_FALSE(Session.SaveAsBlockClick());
  EXPECT_EQ(Ui.Texts().back(), "No Block selected");
  EXPECT_TRUE(Ui.FileChoices().empty());

  TBlock* start = AddBlock("First", {40, 50});  // the start block again
  Ui.ScriptAnswers({mbNo});
  EXPECT_FALSE(Session.SaveBlockClick());
  ExpectQuestion("Save Block Start Block?", "Qorv Message", TMessageKind::Confirmation);
  EXPECT_TRUE(Ui.FileChoices().empty());
  Ui.ScriptAnswers({mbYes});
  Ui.ScriptFiles({Temp.PathOf("start.blk")});
  EXPECT_TRUE(Session.SaveBlockClick());
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  const TFileChoice save = Ui.FileChoices()[0];
  EXPECT_TRUE(save.Save);
  EXPECT_EQ(save.Filter, "Block (*.blk) | *.blk");
  EXPECT_EQ(save.FileName, "Start Block");
  EXPECT_EQ(save.InitialDir, Temp.PathOf("blocks"));
  EXPECT_EQ(start->GetBlockFileName(), Temp.PathOf("start.blk"));
  // Its own file exists now: Save writes there without a chooser.
  Ui.ScriptAnswers({mbYes});
  EXPECT_TRUE(Session.SaveBlockClick());
  EXPECT_EQ(Ui.FileChoices().size(), 1u);
  // A failed Save As keeps the file name of the block.
  std::filesystem::create_directory(Temp.PathOf("blocked.blk"));
  Ui.ScriptAnswers({mbYes});
  Ui.ScriptFiles({Temp.PathOf("blocked.blk")});
  EXPECT_FALSE(Session.SaveAsBlockClick());
  EXPECT_EQ(Ui.Texts().back().rfind("Error writing to file:", 0), 0u);
  EXPECT_EQ(start->GetBlockFileName(), Temp.PathOf("start.blk"));

  // Opened at the point asked for, not where it was saved; the experiment is modified.
  Session.ExperimentChanged(0, 1);
  Ui.ScriptFiles({Temp.PathOf("start.blk")});
  Session.OpenBlockDialog(300, 120);
  EXPECT_FALSE(Ui.FileChoices().back().Save);
  EXPECT_EQ(Ui.FileChoices().back().InitialDir, Temp.PathOf("blocks"));
  ASSERT_EQ(Blocks(), 2);
  TBlock* added = Exp().GetCurrentBlock();
  ASSERT_NE(added, start);
  EXPECT_EQ(added->GetDrawBlock()->GetPosition(), (TPoint{300, 120}));
  EXPECT_FALSE(added->IsStartBlock());
  EXPECT_TRUE(Session.IsModified());
  EXPECT_TRUE(Window.CanRun);

  // Into an experiment without blocks the block becomes the start block.
  Ui.ScriptAnswers({mbNo});
  Session.NewExperimentClick();
  DeleteBlock(StartBlock());
  EXPECT_FALSE(Window.CanRun);
  TBlock* only = Session.OpenBlockFile(Temp.PathOf("start.blk"), 1, 2);
  ASSERT_NE(only, nullptr);
  EXPECT_TRUE(only->IsStartBlock());
  EXPECT_EQ(Exp().GetCurrentBlock(), only);
  EXPECT_TRUE(Window.CanRun);
}

TEST_F(DocumentSessionTest, DroppedFilesOpenByTheirEnding) {
  const std::string experiment = SavedExperiment("drop.qve");
  Ui.ScriptAnswers({mbYes});
  Ui.ScriptFiles({Temp.PathOf("drop.blk")});
  Session.SaveAsBlockClick();
  Session.GetReopenList().Clear();
  TDevice* meter = Meter();
  ASSERT_TRUE(meter->SaveDeviceFile(Temp.PathOf("meter.dev")));
  Meter("Pump");
  ASSERT_TRUE(Session.GetDeviceList().SaveDeviceConfiguration(Temp.PathOf("both.dcg")));
  Ui.ScriptAnswers({mbYes});
  Session.NewExperimentClick();
  Ui.Clear();

  // An experiment dropped with other files: only the experiment opens.
  Session.WMDropFiles({Temp.PathOf("other.txt"), experiment, Temp.PathOf("drop.blk"),
                       Temp.PathOf("meter.dev")});
  EXPECT_EQ(Exp().GetFileName(), experiment);
  EXPECT_EQ(Blocks(), 2);
  EXPECT_TRUE(Session.GetDeviceList().IsEmpty());
  EXPECT_TRUE(Session.GetReopenList().IsEmpty());
  EXPECT_TRUE(Ui.Texts().empty());

  // A block lands at (0, 0); endings are read upper-cased; other files are ignored.
  std::filesystem::copy_file(Temp.PathOf("drop.blk"), Temp.PathOf("lower.Blk"));
  Session.WMDropFiles({Temp.PathOf("lower.Blk"), Temp.PathOf("notes.txt"), "x"});
  ASSERT_EQ(Blocks(), 3);
  EXPECT_EQ(Exp().GetCurrentBlock()->GetDrawBlock()->GetPosition(), (TPoint{0, 0}));
  EXPECT_TRUE(Session.IsModified());
  EXPECT_TRUE(Ui.Texts().empty());

  // Devices: a device file adds one; one that fails to read leaves none; a configuration
  // appends its devices; an output file goes to the window.
  WriteText("bad.dev", "not a device");
  Session.WMDropFiles({Temp.PathOf("bad.dev")});
  EXPECT_EQ(Ui.Texts(), TTexts{"Invalid device file."});
  EXPECT_TRUE(Session.GetDeviceList().IsEmpty());
  Session.WMDropFiles({Temp.PathOf("meter.dev"), Temp.PathOf("both.dcg"), Temp.PathOf("g.opt")});
  ASSERT_EQ(Session.GetDeviceList().Count(), 3u);
  EXPECT_EQ(Session.GetDeviceList().GetDevice(0)->GetName(), "Meter");
  EXPECT_EQ(Session.GetDeviceList().GetDevice(2)->GetName(), "Pump");
  EXPECT_EQ(Window.Outputs, TTexts{Temp.PathOf("g.opt")});

  // A modified experiment asks before a dropped one replaces it.
  Ui.Clear();
  Ui.ScriptAnswers({mbNo});
  Session.WMDropFiles({experiment});
  EXPECT_EQ(Ui.Texts(), TTexts{SaveQuestion});
  EXPECT_EQ(Blocks(), 2);
  EXPECT_TRUE(Session.GetDeviceList().IsEmpty());  // opening clears the devices
}

TEST_F(DocumentSessionTest, NothingOpensOrSavesDuringARun) {
  const std::string path = SavedExperiment("run.qve");
  TBlock* start = BlockOfNode(Exp().GetExperimentTree().Item(0));
  Logged(start, "Waits")->Action = UntilStopped;
  Session.ExperimentChanged(1, 0);
  Run.StartButtonClick();
  WaitForRunning();
  TExperiment* running = &Exp();
  Ui.Clear();
  Session.OpenClick();
  Session.WMDropFiles({path, Temp.PathOf("x.blk")});
  Session.ReopenItemClick(0);
  EXPECT_FALSE(Session.NewExperimentClick());
  Session.OpenBlockDialog(0, 0);
  EXPECT_FALSE(Session.SaveClick());
  EXPECT_FALSE(Session.SaveAsClick());
  EXPECT_FALSE(Session.SaveBlockClick());
  const char* open = "Experiment Running, cannot open a new experiment.";
  const char* save = "Experiment Running, cannot save the experiment.";
  EXPECT_EQ(Ui.Texts(), (TTexts{open, open, open, open, open, save, save, save}));
  EXPECT_TRUE(Ui.FileChoices().empty());
  EXPECT_EQ(&Exp(), running);
  EXPECT_FALSE(Session.FileMenuState().Idle);
  Session.UpdateRunButtons();
  EXPECT_FALSE(Window.CanRun);
  EXPECT_TRUE(Window.HasNodes);

  Run.StopButtonClick();
  WaitForRunEnd();
  Run.TimerTimer();
  EXPECT_TRUE(Session.FileMenuState().Idle);
}

}  // namespace
