// "Single File" and "Multiple File" through their widgets, opened by the core's data-file
// lists and files: what a new file starts with, the checks in order with their messages
// and focus, Browse, Add for several files, editing, and no new file during a run.
#include "outputs/ui/multi_file_dialog.h"
#include "outputs/ui/single_file_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/experiment_running.h"
#include "model/text.h"
#include "outputs/exp_file_lists.h"
#include "outputs/ui/output_dialogs.h"
#include "support/experiment_fixture.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/dialog_port.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class DataFileDialogsTest : public TCommandFixture {
protected:
  static void Type(QWidget& dialog, const char* name, const std::string& text) {
    auto* edit = Control<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  static std::string Text(QWidget& dialog, const char* name) {
    return Control<QLineEdit>(dialog, name)->text().toStdString();
  }
  static bool Checked(QWidget& dialog, const char* name) {
    return Control<QAbstractButton>(dialog, name)->isChecked();
  }
  std::pair<TTexts, std::string> Press(QWidget& dialog, const char* button, bool refused) {
    Dialogs.ClearCalls();
    if (refused) Dialogs.ScriptAnswers({mbOK});
    ClickControl(dialog, button);
    QWidget* focus = dialog.focusWidget();
    return {Dialogs.Texts(), focus ? focus->objectName().toStdString() : ""};
  }
  std::string Dir() const { return Temp.Path().string(); }

  TScriptedUserDialogs Dialogs;
  TDialogPort Port{RegisterOutputDialogs};
  TSingleExpFileList& Singles = *Exp.GetSingleExpFileList();
  TMultiExpFileList& Multis = *Exp.GetMultiExpFileList();
  const std::string S{PathSeparator};
};

TEST_F(DataFileDialogsTest, ASingleFileIsNamedOnceInItsList) {
  const std::string taken = Temp.PathOf("taken.txt");
  TSingleExpFileRequest existing;
  existing.FileName = taken;
  Singles.Create(existing);
  const std::string chosen = Temp.PathOf("run.dat");
  std::vector<TFileChoice> choices;
  TModalDialogActor<TSingleExpFileForm> actor([&](TSingleExpFileForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Single File");
    EXPECT_EQ(Text(dialog, "FileName"), "");
    EXPECT_TRUE(Checked(dialog, "OverwriteCheck") && Checked(dialog, "CloseCheck"));
    EXPECT_FALSE(Checked(dialog, "WriteFileNameCheck"));
    EXPECT_FALSE(Control<QPushButton>(dialog, "AddBtn")->isVisible());
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 73);
    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"The filename cannot be empty."}, std::string("FileName")}));
    Type(dialog, "FileName", " " + UpperText(taken));  // the same file, whatever the case
    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"This filename is already is use."}, std::string("FileName")}));
    // Browse: a cancelled chooser keeps the name, a chosen file replaces it.
    Dialogs.ScriptFiles({"", chosen});
    ClickControl(dialog, "Browse");
    EXPECT_EQ(Text(dialog, "FileName"), " " + UpperText(taken));
    ClickControl(dialog, "Browse");
    EXPECT_EQ(Text(dialog, "FileName"), chosen);
    for (const auto& call : Dialogs.FileChoices()) choices.push_back(call.Choice);
    ClickControl(dialog, "OverwriteCheck");
    ClickControl(dialog, "WriteFileNameCheck");
    EXPECT_EQ(Press(dialog, "OK", false).first, TTexts{});
  });
  Singles.UserAdd();
  EXPECT_FALSE(actor.LeftOpen);
  ASSERT_EQ(choices.size(), 2u);
  // An open chooser: a run appends to the file or starts it afresh, so choosing an
  // existing one asks nothing about replacing it.
  EXPECT_FALSE(choices[0].Save);
  EXPECT_FALSE(choices[1].Save);
  ASSERT_EQ(Singles.GetCount(), 2);
  auto* made = static_cast<TSingleExpFile*>(Singles.GetFiles()[1]);
  EXPECT_EQ(made->GetFileName(), chosen);
  EXPECT_EQ(made->GetName(), "run.dat");
  EXPECT_FALSE(made->GetOverwrite());
  EXPECT_TRUE(made->AbWriteFileName && made->AbCloseBetweenWrites);

  // Edited, the file keeps its own name without a word.
  TModalDialogActor<TSingleExpFileForm> edit([&](TSingleExpFileForm& dialog) {
    EXPECT_EQ(Text(dialog, "FileName"), chosen);
    EXPECT_FALSE(Checked(dialog, "OverwriteCheck"));
    ClickControl(dialog, "CloseCheck");
    EXPECT_EQ(Press(dialog, "OK", false).first, TTexts{});
  });
  EXPECT_EQ(made->Edit(), 1);
  EXPECT_FALSE(made->AbCloseBetweenWrites);
}

TEST_F(DataFileDialogsTest, AddMakesSeveralSingleFiles) {
  TModalDialogActor<TSingleExpFileForm> actor([&](TSingleExpFileForm& dialog) {
    auto* add = Control<QPushButton>(dialog, "AddBtn");
    EXPECT_TRUE(add->isVisible() && add->isDefault());
    Type(dialog, "FileName", Temp.PathOf("a.txt"));
    ClickControl(dialog, "OverwriteCheck");
    ClickControl(dialog, "CloseCheck");
    EXPECT_EQ(Press(dialog, "AddBtn", false), (std::pair{TTexts{}, std::string("FileName")}));
    // Emptied for the next file, overwrite and close on again.
    EXPECT_EQ(Text(dialog, "FileName"), "");
    EXPECT_TRUE(Checked(dialog, "OverwriteCheck") && Checked(dialog, "CloseCheck"));
    Type(dialog, "FileName", Temp.PathOf("b.txt"));
    Press(dialog, "AddBtn", false);
    ClickControl(dialog, "OK");  // on an empty name: no third file
    EXPECT_FALSE(dialog.isVisible());
  });
  Singles.AddNew();
  ASSERT_EQ(Singles.GetCount(), 2);
  auto* first = static_cast<TSingleExpFile*>(Singles.GetFiles()[0]);
  EXPECT_EQ(first->GetName(), "a.txt");
  EXPECT_FALSE(first->GetOverwrite() || first->AbCloseBetweenWrites);
  EXPECT_EQ(Singles.GetFiles()[1]->GetName(), "b.txt");
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(DataFileDialogsTest, AMultipleFileIsCheckedInOrder) {
  TMultiExpFileRequest existing;
  existing.List = &Multis;
  existing.Directory = Dir();
  existing.BaseName = "run";
  existing.Extension = "txt";
  Multis.Create(existing);
  const std::string missing = Temp.PathOf("none");
  TModalDialogActor<TMultiExpFileForm> actor([&](TMultiExpFileForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Multiple File");
    EXPECT_EQ(Text(dialog, "Directory") + Text(dialog, "BaseEdit") + Text(dialog, "ExtEdit"), "");
    EXPECT_EQ(Text(dialog, "StartFileNumber"), "0");
    EXPECT_TRUE(Checked(dialog, "MakeNewRadio") && Checked(dialog, "CloseCheck"));
    EXPECT_FALSE(Checked(dialog, "WriteFileNameCheck"));
    EXPECT_FALSE(Control<QPushButton>(dialog, "AddBtn")->isVisible());
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 74);

    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"The directory cannot be empty."}, std::string("Directory")}));
    Type(dialog, "Directory", missing);
    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"The directory " + missing + " does not exist."},
                         std::string("Directory")}));
    // Doubled separators and those at the end go; the box shows what is used.
    const std::string messy = Dir() + S + S + ".." + S + Temp.Path().filename().string() + S;
    Type(dialog, "Directory", messy);
    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"The base file name cannot be blank."}, std::string("BaseEdit")}));
    EXPECT_EQ(Text(dialog, "Directory"), CleanDirectory(messy));
    Type(dialog, "Directory", Dir());
    Type(dialog, "BaseEdit", " run ");
    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"The extension cannot be blank."}, std::string("ExtEdit")}));
    // Three letters at most: digits and a fourth letter are not taken.
    Type(dialog, "ExtEdit", "T1xTs");
    EXPECT_EQ(Text(dialog, "ExtEdit"), "TxT");
    EXPECT_EQ(Press(dialog, "OK", true),
              (std::pair{TTexts{"This file name run_X.TxT is already in use.  Please choose another."},
                         std::string("BaseEdit")}));
    Type(dialog, "BaseEdit", "scan");
    Type(dialog, "StartFileNumber", "12a345678");  // five digits at most
    EXPECT_EQ(Text(dialog, "StartFileNumber"), "12345");
    ClickControl(dialog, "AppendRadio");
    ClickControl(dialog, "WriteFileNameCheck");
    EXPECT_EQ(Press(dialog, "OK", false).first, TTexts{});
  });
  Multis.UserAdd();
  EXPECT_FALSE(actor.LeftOpen);
  ASSERT_EQ(Multis.GetCount(), 2);
  auto* made = static_cast<TMultiExpFile*>(Multis.GetFiles()[1]);
  EXPECT_EQ(made->GetName(), "scan_X.TxT");
  EXPECT_EQ(made->GetDirectory(), Dir());
  EXPECT_EQ(made->GetStartIndex(), 12345);
  EXPECT_EQ(made->GetMode(), mfAPPEND);
  EXPECT_TRUE(made->AbWriteFileName && made->AbCloseBetweenWrites);

  // Edited: shown as it is, its own name not taken; Browse chooses the folder.
  const std::string other = Temp.PathOf("other");
  std::filesystem::create_directory(other);
  Dialogs.ScriptFiles({other});
  TModalDialogActor<TMultiExpFileForm> edit([&](TMultiExpFileForm& dialog) {
    EXPECT_EQ(Text(dialog, "BaseEdit"), "scan");
    EXPECT_EQ(Text(dialog, "StartFileNumber"), "12345");
    EXPECT_TRUE(Checked(dialog, "AppendRadio"));
    EXPECT_EQ(Press(dialog, "OK", false).first, TTexts{});
  });
  EXPECT_EQ(made->Edit(), 1);
  TModalDialogActor<TMultiExpFileForm> browse([&](TMultiExpFileForm& dialog) {
    ClickControl(dialog, "Browse");
    EXPECT_EQ(Text(dialog, "Directory"), other);
    ClickControl(dialog, "OverwriteRadio");
    ClickControl(dialog, "OK");
  });
  EXPECT_EQ(made->Edit(), 1);
  ASSERT_EQ(Dialogs.DirectoryChoices().size(), 1u);
  EXPECT_EQ(Dialogs.DirectoryChoices()[0].Caption, "Find Directory");
  EXPECT_EQ(Dialogs.DirectoryChoices()[0].Directory, Dir());
  EXPECT_EQ(made->GetDirectory(), other);
  EXPECT_EQ(made->GetMode(), mfOVERWRITE);
}

TEST_F(DataFileDialogsTest, AddMakesSeveralMultipleFiles) {
  TModalDialogActor<TMultiExpFileForm> actor([&](TMultiExpFileForm& dialog) {
    EXPECT_TRUE(Control<QPushButton>(dialog, "AddBtn")->isDefault());
    Type(dialog, "Directory", Dir());
    Type(dialog, "BaseEdit", "a");
    Type(dialog, "ExtEdit", "dat");
    Type(dialog, "StartFileNumber", "7");
    EXPECT_EQ(Press(dialog, "AddBtn", false), (std::pair{TTexts{}, std::string("Directory")}));
    EXPECT_EQ(Text(dialog, "Directory") + Text(dialog, "BaseEdit") + Text(dialog, "ExtEdit"), "");
    EXPECT_EQ(Text(dialog, "StartFileNumber"), "0");
    Type(dialog, "Directory", Dir());
    Type(dialog, "BaseEdit", "b");
    Type(dialog, "ExtEdit", "dat");
    ClickControl(dialog, "OK");  // good entries: one more file
  });
  Multis.AddNew();
  ASSERT_EQ(Multis.GetCount(), 2);
  EXPECT_EQ(static_cast<TMultiExpFile*>(Multis.GetFiles()[0])->GetStartIndex(), 7);
  EXPECT_EQ(Multis.GetFiles()[1]->GetName(), "b_X.dat");
  TModalDialogActor<TMultiExpFileForm> empty([&](TMultiExpFileForm& dialog) {
    Type(dialog, "BaseEdit", "c");
    ClickControl(dialog, "OK");  // no directory: closed, nothing made, nothing said
    EXPECT_FALSE(dialog.isVisible());
  });
  Multis.AddNew();
  EXPECT_EQ(Multis.GetCount(), 2);
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(DataFileDialogsTest, AMultipleFileIsRefusedDuringARun) {
  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbOK, mbOK});
  TModalDialogActor<QDialog> none([](QDialog&) {});  // closes a dialog that should not open
  Multis.UserAdd();
  Singles.UserAdd();
  EXPECT_FALSE(none.Seen);
  EXPECT_EQ(Dialogs.Texts(), (TTexts{"Cannot add output while experiment is running",
                                     "Cannot add output while experiment is running"}));
  EXPECT_EQ(Multis.GetCount(), 0);
  ExperimentRunning = false;
}

}  // namespace
