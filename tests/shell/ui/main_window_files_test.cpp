// Experiment and block files through the main window: the save question, the recent
// files across a restart, files dropped on its widgets, damaged files, and the settings
// kept between sessions.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QSettings>

#include <filesystem>

#include "main_window_steps.h"
#include "shell/draw_block.h"
#include "shell/ui/block_icons.h"
#include "support/gpib_sim.h"

namespace {

using TTexts = std::vector<std::string>;

class MainWindowFilesTest : public TWindowStepsTest {
protected:
  // The boxes asked since the calls were last cleared; the calls are cleared.
  TTexts Asked() {
    const TTexts texts = Dialogs.Texts();
    Dialogs.ClearCalls();
    return texts;
  }
  std::string WriteFile(const std::string& name, const TBytes& bytes) {
    return Temp.WriteBytes(name, bytes);
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
  std::string Caption() const { return Window->windowTitle().toStdString(); }
};

TEST_F(MainWindowFilesTest, TheSaveQuestionComesFirstAndAnUnfinishedSaveKeepsEverything) {
  StartQorv();
  AddWait(10);
  const std::string other = Temp.PathOf("other.qve");
  SaveAs(other);
  const TTexts recent{"&0 " + other};
  Trigger("NewExperimentMenuItem");  // not modified, no devices: nothing asked
  EXPECT_TRUE(Asked().empty());
  AddWait(20);
  AddMeter();
  TExperiment* unsaved = &Exp();

  // Yes, then Save As cancelled: the operation that asked is abandoned.
  struct TStep {
    const char* What;
    std::function<void()> Do;
  };
  const TStep steps[] = {
      {"Open", [&] { Trigger("OpenButton"); }},
      {"Reopen", [&] { ReopenItem(0)->trigger(); }},
      {"a dropped experiment",
       [&] {
         // The drop ends before the question: the program the file came from does not
         // wait for the user.
         EXPECT_TRUE(SendDrop({other}));
         EXPECT_TRUE(Dialogs.Boxes().empty());
         QCoreApplication::processEvents();
       }},
      {"closing", [&] { EXPECT_FALSE(Window->close()); }},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.What);
    Dialogs.ScriptAnswers({mbYes});
    Dialogs.ScriptFiles({""});
    step.Do();
    const auto boxes = Dialogs.Boxes();
    const auto choices = Dialogs.FileChoices();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Box.Text, QString(SaveQuestion));
    EXPECT_EQ(boxes[0].Box.Caption, QString("Qorv Warning"));
    EXPECT_EQ(boxes[0].Box.Kind, TMessageKind::Warning);
    EXPECT_EQ(boxes[0].Box.Buttons, mbYes | mbNo);
    // Only the Save As chooser; nothing opened after it.
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_TRUE(choices[0].Choice.Save);
    Dialogs.ClearCalls();
    EXPECT_EQ(&Exp(), unsaved);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(ShownDevices(), 1);
    EXPECT_EQ(ReopenCaptions(), recent);
    EXPECT_TRUE(Window->isVisible());
  }

  // Yes, and the save fails: the window stays open with everything in it.
  std::filesystem::create_directory(Temp.PathOf("blocked.qve"));  // cannot be replaced
  Dialogs.ScriptAnswers({mbYes, mbOK});
  Dialogs.ScriptFiles({Temp.PathOf("blocked.qve")});
  EXPECT_FALSE(Window->close());
  TTexts texts = Asked();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].rfind("Error writing to file:", 0), 0u) << texts[1];
  EXPECT_TRUE(Window->isVisible());
  EXPECT_EQ(&Exp(), unsaved);

  // No: Open, Reopen and a drop open the file without saving.
  for (const TStep& step : {steps[0], steps[1], steps[2]}) {
    SCOPED_TRACE(step.What);
    AddWait(40);
    Dialogs.ScriptAnswers({mbNo});
    if (step.What == std::string("Open")) Dialogs.ScriptFiles({other});
    step.Do();
    EXPECT_EQ(Asked(), TTexts{SaveQuestion});
    EXPECT_EQ(Exp().GetFileName(), other);
    EXPECT_FALSE(Modified());
  }

  // Closing: Yes saves, then the window closes; the settings written at closing know
  // the file just saved.
  Trigger("NewExperimentMenuItem");
  AddWait(70);
  const std::string last = Temp.PathOf("last.qve");
  Dialogs.ScriptAnswers({mbYes});
  Dialogs.ScriptFiles({last});
  EXPECT_TRUE(Window->close());
  EXPECT_EQ(Asked(), TTexts{SaveQuestion});
  EXPECT_TRUE(std::filesystem::is_regular_file(last));
  Window.reset();
  EXPECT_EQ(QSettings("Orvelle", "Qorv").value("Experiment0").toString().toStdString(),
            "&0 " + last);
}

TEST_F(MainWindowFilesTest, AnExperimentSavedReopensInTheNextSession) {
  StartQorv();
  AddWait(30);
  const std::string one = Temp.PathOf("one.qve");
  SaveAs(one);
  EXPECT_EQ(Caption(), "Qorv Current Experiment: one.qve");
  // Saving the same path again, by Save and by Save As, keeps a single item.
  AddWait(5);
  Trigger("SaveButton");
  EXPECT_EQ(Dialogs.FileChoices().size(), 1u);
  SaveAs(one);
  EXPECT_EQ(ReopenCaptions(), TTexts{"&0 " + one});
  // A name as users give them must come back from the settings as it went in.
  const std::string two = Temp.PathOf("run 2, Messung; a=b \xc3\xbc.qve");
  SaveAs(two);
  EXPECT_TRUE(Asked().empty());

  CloseWindow();
  StartQorv();
  EXPECT_EQ(ReopenCaptions(), (TTexts{"&0 " + two, "&1 " + one}));
  ReopenItem(1)->trigger();
  EXPECT_TRUE(Asked().empty());
  EXPECT_EQ(Caption(), "Qorv Current Experiment: one.qve");
  EXPECT_EQ(Exp().GetExperimentTree().GetFirstNode()->Count(), 3);  // two Waits, the blank
  EXPECT_FALSE(Modified());
  EXPECT_EQ(ReopenCaptions(), (TTexts{"&0 " + two, "&1 " + one}));  // not reordered

  // Opening another file puts it at the top as "&0 " and renumbers the rest.
  const std::string three = Temp.PathOf("three.qve");
  std::filesystem::copy_file(one, three);
  Dialogs.ScriptFiles({three});
  Trigger("OpenButton");
  EXPECT_EQ(ReopenCaptions(), (TTexts{"&0 " + three, "&1 " + two, "&2 " + one}));

  // Deleted files: the message, and the item goes; the others keep their captions; the
  // menu is disabled when the last goes; the experiment that was open stays.
  for (const std::string& path : {one, two, three}) std::filesystem::remove(path);
  Dialogs.ScriptAnswers({mbOK, mbOK, mbOK});
  ReopenItem(1)->trigger();
  EXPECT_EQ(ReopenCaptions(), (TTexts{"&0 " + three, "&2 " + one}));
  EXPECT_TRUE(ReopenEnabled());
  ReopenItem(1)->trigger();
  ReopenItem(0)->trigger();
  EXPECT_EQ(Asked(), (TTexts{"File " + two + " no longer exists",
                             "File " + one + " no longer exists",
                             "File " + three + " no longer exists"}));
  EXPECT_FALSE(ReopenEnabled());
  EXPECT_EQ(Exp().GetFileName(), three);

  // "&Clear" forgets every recent file.
  SaveAs(Temp.PathOf("four.qve"));
  EXPECT_TRUE(ReopenEnabled());
  Trigger("ClearReopenMenuItem");
  EXPECT_FALSE(ReopenEnabled());
}

TEST_F(MainWindowFilesTest, FilesDroppedOnAnyPartOfTheWindowOpenByTheirEnding) {
  TGpibSim bus("cec-board 0\n");  // where the dropped devices sit
  StartQorv();
  AddWait(10);
  // The start block's box away from the corner, so that a dropped copy shows where it
  // lands; saved as a block file through the tree's pop-up menu.
  TDrawParts& parts = Window->Session().GetDrawParts();
  static_cast<TDrawBlock*>(parts.GetPart(0))->SetPosition({150, 90});
  const std::string block = Temp.PathOf("start.blk");
  Dialogs.ScriptAnswers({mbYes});
  Dialogs.ScriptFiles({block});
  Action("SaveAsBlockItem")->trigger();
  EXPECT_EQ(Asked(), TTexts{"Save Block Start Block?"});
  const std::string experiment = Temp.PathOf("drop.qve");
  SaveAs(experiment);
  const std::string device = Temp.PathOf("meter.dev");
  ASSERT_TRUE(AddMeter()->SaveDeviceFile(device));
  const std::string other = Temp.PathOf("other.dev");
  ASSERT_TRUE(AddMeter("Other", 6)->SaveDeviceFile(other));
  Dialogs.ScriptAnswers({mbYes});  // the devices go too
  Trigger("NewExperimentMenuItem");
  Asked();
  const TTexts recent = ReopenCaptions();

  // An experiment dropped with a block: only the experiment opens, nothing is asked and
  // the recent files stay as they were.
  std::filesystem::copy_file(experiment, Temp.PathOf("copy.QVE"));
  EXPECT_TRUE(Drop({Temp.PathOf("copy.QVE"), block}));
  EXPECT_TRUE(Asked().empty());
  EXPECT_EQ(Exp().GetFileName(), Temp.PathOf("copy.QVE"));
  EXPECT_EQ(parts.Count(), 1);
  EXPECT_EQ(ReopenCaptions(), recent);

  // The tree, the editor and the device list pass the files dropped on them to the
  // window. A block lands at (0, 0), not where it was saved, and becomes current.
  EXPECT_TRUE(Drop({block}, "ExperimentView"));
  ASSERT_EQ(parts.Count(), 2);
  auto* landed = static_cast<TDrawBlock*>(parts.GetPart(1));
  EXPECT_EQ(landed->GetPosition(), (TPoint{0, 0}));
  EXPECT_EQ(Exp().GetCurrentBlock(), landed->GetBlock());
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(Drop({device}, "EditScrollBox"));
  EXPECT_TRUE(Drop({other}, "DeviceView"));
  EXPECT_TRUE(Asked().empty());
  EXPECT_EQ(ShownDevices(), 2);
}

TEST_F(MainWindowFilesTest, DamagedFilesAreReportedAndTheProgramStaysUsable) {
  StartQorv();
  AddMeter();
  AddWait(10);
  const auto file = [](const std::string& header, const std::string& version) {
    return Cat({StringBytes(header), StringBytes(version)});
  };
  const std::string badExperiment = WriteFile("bad.qve", file("Qorv Nonsense", "Qorv 1.5"));
  const std::string next = WriteFile("next.qve", file("Qorv Experiment", "Qorv 1.6"));
  const std::string badBlock = WriteFile("bad.blk", file("Qorv Nonsense", "Qorv 1.5"));
  const std::string nextBlock = WriteFile("next.blk", file("Qorv Block", "Qorv 1.6"));

  // A bad experiment file: the message, a new empty experiment, no devices shown.
  Dialogs.ScriptAnswers({mbNo, mbOK});
  Dialogs.ScriptFiles({badExperiment});
  Trigger("OpenButton");
  const auto boxes = Dialogs.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].Box.Text, QString("Bad experiment file...aborting read"));
  EXPECT_EQ(boxes[1].Box.Caption, QString("Qorv"));
  Dialogs.ClearCalls();
  EXPECT_EQ(Exp().GetExperimentTree().GetFirstNode()->Count(), 1);  // the blank line only
  EXPECT_EQ(ShownDevices(), 0);
  EXPECT_EQ(Caption(), "Qorv Current Experiment: " + Exp().GetTitle());
  EXPECT_TRUE(ReopenCaptions().empty());
  Dialogs.ScriptAnswers({mbOK});
  EXPECT_TRUE(Drop({next}));
  EXPECT_EQ(Asked(), TTexts{"Cannot read this version number Qorv 1.6"});

  // A saved experiment whose first diagram part has its type spoiled.
  AddWait(10);
  const std::string saved = Temp.PathOf("good.qve");
  SaveAs(saved);
  TBytes bytes = Temp.ReadBytes("good.qve");
  const auto typeAt = static_cast<long>(StringBytes("Qorv Experiment").size() +
                                        StringBytes("Qorv 1.5").size() + 4);
  ASSERT_EQ(TBytes(bytes.begin() + typeAt, bytes.begin() + typeAt + 4), Le32(0));  // a box
  const TBytes spoiled = Le32(7);
  std::copy(spoiled.begin(), spoiled.end(), bytes.begin() + typeAt);
  const std::string damaged = WriteFile("damaged.qve", bytes);
  Dialogs.ScriptAnswers({mbOK});
  Dialogs.ScriptFiles({damaged});
  Trigger("OpenButton");
  EXPECT_EQ(Asked(), TTexts{"Error reading drawblocks"});
  EXPECT_EQ(Window->Session().GetDrawParts().Count(), 1);
  EXPECT_EQ(ReopenCaptions(), TTexts{"&0 " + saved});

  // Bad block files leave the experiment as it was.
  AddWait(20);
  TExperiment* before = &Exp();
  Dialogs.ScriptAnswers({mbOK, mbOK});
  Dialogs.ScriptFiles({badBlock});
  OpenMenu("FileMenu");
  Trigger("OpenBlockMenuItem");
  EXPECT_TRUE(Drop({nextBlock}));
  EXPECT_EQ(Asked(),
            (TTexts{"Error reading " + badBlock + ": Bad block file...aborting read",
                    "Error reading " + nextBlock + ": Cannot read this version number Qorv 1.6"}));
  EXPECT_EQ(&Exp(), before);
  EXPECT_EQ(Exp().GetExperimentTree().GetFirstNode()->Count(), 2);  // the Wait, the blank
  EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Start Block"));

  // Named on the command line: a damaged file is reported and a new experiment made; a
  // missing one is passed over in silence. Either runs.
  CloseWithoutQuestions();
  Dialogs.ScriptAnswers({mbOK});
  StartQorv(QString::fromStdString(damaged));
  EXPECT_EQ(Asked(), TTexts{"Error reading drawblocks"});
  EXPECT_TRUE(Exp().GetFileName().empty());
  CloseWindow();
  StartQorv(QString::fromStdString(Temp.PathOf("missing.qve")));
  EXPECT_TRUE(Asked().empty());
  EXPECT_EQ(TreeBlocks(), TTexts{"Start Block"});
  AddWait(10);
  RunToTheEnd();
}

TEST_F(MainWindowFilesTest, SettingsAreWrittenAtClosingAndReadByTheNextWindow) {
  // Three CEC boards and an NI board: the counts configured below are all present.
  TGpibSim bus("cec-board 0\ncec-board 1\ncec-board 2\nni-board 0\n");
  QSettings stored("Orvelle", "Qorv");
  // No settings yet: auto-detect on, one board of each kind, no recent files.
  StartQorv();
  EXPECT_FALSE(ReopenEnabled());
  CloseWindow();
  stored.sync();
  EXPECT_EQ(stored.value("AutoDetect").toString(), QString("1"));  // an integer, not "true"
  EXPECT_EQ(stored.value("NumberofNationalCards").toInt(), 1);
  EXPECT_EQ(stored.value("NumberofCECCards").toInt(), 1);
  EXPECT_EQ(stored.value("NumberOfFiles").toInt(), 0);
  EXPECT_TRUE(stored.contains("BlockDirectory"));
  EXPECT_TRUE(stored.value("BlockDirectory").toString().isEmpty());

  // Settings of an earlier session: three recent files, the first one gone since.
  const auto folder = [&](const char* name) {
    std::filesystem::create_directory(Temp.PathOf(name));
    return QString::fromStdString(Temp.PathOf(name));
  };
  const std::string a = Temp.PathOf("a.qve");
  const std::string b = Temp.PathOf("b.qve");
  StartQorv();
  AddWait(10);
  SaveAs(a);
  SaveAs(b);
  CloseWindow();
  stored.clear();
  stored.setValue("AutoDetect", 0);
  stored.setValue("NumberofCECCards", 3);
  stored.setValue("NumberOfFiles", 3);
  stored.setValue("Experiment0", QString::fromStdString("&0 " + Temp.PathOf("gone.qve")));
  stored.setValue("Experiment1", QString::fromStdString("&1 " + a));
  stored.setValue("Experiment2", QString::fromStdString("&2 " + b));
  stored.setValue("ExperimentDirectory", folder("experiments"));
  stored.setValue("BlockDirectory", folder("blocks"));
  // Two icon files of the block dialog, the first gone since.
  const std::string oven = Temp.PathOf("oven.bmp");
  QImage(8, 8, QImage::Format_RGB32).save(QString::fromStdString(oven));
  stored.setValue("NumberOfIconFiles", 2);
  stored.setValue("IconFileName0", QString::fromStdString(Temp.PathOf("gone.ico")));
  stored.setValue("IconFileName1", QString::fromStdString(oven));
  stored.sync();

  StartQorv();
  // The block dialog lists the icon that exists and one added in this session.
  EXPECT_EQ(BlockIcons().IconFiles(), TTexts{oven});
  const std::string lamp = Temp.PathOf("lamp.png");
  QImage(8, 8, QImage::Format_RGB32).save(QString::fromStdString(lamp));
  BlockIcons().AddIconFile(lamp);
  // The files that exist, with their stored captions: not renumbered.
  EXPECT_EQ(ReopenCaptions(), (TTexts{"&1 " + a, "&2 " + b}));
  // The choosers start in the stored folders.
  Dialogs.ClearCalls();
  Dialogs.ScriptFiles({"", ""});
  Trigger("OpenButton");
  OpenMenu("FileMenu");
  Trigger("OpenBlockMenuItem");
  const auto choices = Dialogs.FileChoices();
  ASSERT_EQ(choices.size(), 2u);
  EXPECT_EQ(choices[0].Choice.InitialDir, Temp.PathOf("experiments"));
  EXPECT_EQ(choices[1].Choice.InitialDir, Temp.PathOf("blocks"));
  CloseWindow();

  // Written back as read; fewer recent files than before leave the higher one in place.
  stored.sync();
  EXPECT_EQ(stored.value("AutoDetect").toString(), QString("0"));
  EXPECT_EQ(stored.value("NumberofCECCards").toInt(), 3);
  EXPECT_EQ(stored.value("NumberOfFiles").toInt(), 2);
  EXPECT_EQ(stored.value("Experiment0").toString().toStdString(), "&1 " + a);
  EXPECT_EQ(stored.value("Experiment1").toString().toStdString(), "&2 " + b);
  EXPECT_EQ(stored.value("Experiment2").toString().toStdString(), "&2 " + b);
  EXPECT_EQ(stored.value("BlockDirectory").toString(), folder("blocks"));
  EXPECT_EQ(stored.value("NumberOfIconFiles").toInt(), 2);
  EXPECT_EQ(stored.value("IconFileName0").toString().toStdString(), oven);
  EXPECT_EQ(stored.value("IconFileName1").toString().toStdString(), lamp);
}

}  // namespace
