// "BigNum Log To File": OK's checks of the file name with their messages, the browse
// button's chooser, and the settings read back trimmed.
#include "outputs/ui/log_to_file_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_ui_port.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"

namespace {

using TTexts = std::vector<std::string>;

class TLogToFileFormTest : public ::testing::Test {
protected:
  TLogToFileFormTest() {
    Dialog.show();
    QApplication::setActiveWindow(&Dialog);
  }
  QLineEdit* Edit() { return Control<QLineEdit>(Dialog, "FileNameEdit"); }
  // Types the name and presses OK: the message shown, "" when the dialog closed with OK.
  std::string Ok(const std::string& name) {
    Ui.Clear();
    Dialog.show();
    Edit()->setText(QString::fromStdString(name));
    Control<QWidget>(Dialog, "DateStamp")->setFocus();
    ClickControl(Dialog, "OK");
    if (Dialog.isVisible()) {
      EXPECT_TRUE(FocusedInWindow(Edit())) << name;
      EXPECT_EQ(Ui.Texts().size(), 1u);
      return Ui.Texts().empty() ? "?" : Ui.Texts().back();
    }
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(Ui.Texts().empty());
    return "";
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TLogToFileForm Dialog;
};

}  // namespace

TEST_F(TLogToFileFormTest, OkTakesOnlyAFileInAnExistingFolder) {
  EXPECT_EQ(Dialog.windowTitle(), "BigNum Log To File");
  const std::string folder = Temp.Path().string() + "/";
  EXPECT_EQ(Ok("   "), "You must enter a filename.");
  EXPECT_EQ(Ok(folder + "missing/log.txt"), "The directory " + folder + "missing/ does not exist");
  EXPECT_EQ(Ok(folder), "You must include a filename with the path.");
  EXPECT_EQ(Ok("log.txt"), "The directory  does not exist");
  EXPECT_EQ(Ok("  " + folder + "log.txt "), "");
  EXPECT_EQ(Dialog.Parameters().FileName, folder + "log.txt");
}

TEST_F(TLogToFileFormTest, ShowsAndReadsBackTheSettings) {
  Dialog.SetParameters({"/data/run.txt", true, false, true});
  EXPECT_EQ(Edit()->text(), "/data/run.txt");
  EXPECT_TRUE(Control<QCheckBox>(Dialog, "TimeStamp")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(Dialog, "DateStamp")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(Dialog, "CloseFileBox")->isChecked());
  EXPECT_EQ(Control<QCheckBox>(Dialog, "DateStamp")->text(), "Date Stamp?");
  EXPECT_EQ(Control<QCheckBox>(Dialog, "TimeStamp")->text(), "Time Stamp?");
  EXPECT_EQ(Control<QCheckBox>(Dialog, "CloseFileBox")->text(), "Close File Between Writes?");
  ClickControl(Dialog, "DateStamp");
  ClickControl(Dialog, "TimeStamp");
  const TLogParameters read = Dialog.Parameters();
  EXPECT_EQ(read.FileName, "/data/run.txt");
  EXPECT_TRUE(read.DateStamp);
  EXPECT_FALSE(read.TimeStamp);
  EXPECT_TRUE(read.CloseBetweenWrites);
}

TEST_F(TLogToFileFormTest, BrowsePutsTheChosenFileIntoTheEdit) {
  Dialog.SetParameters({Temp.PathOf("old.txt"), false, false, false});
  Ui.ScriptFiles({Temp.PathOf("new.txt"), ""});
  ClickControl(Dialog, "BrowseButton");
  EXPECT_EQ(Edit()->text().toStdString(), Temp.PathOf("new.txt"));
  ASSERT_EQ(Ui.FileChoices().size(), 1u);
  const TFileChoice choice = Ui.FileChoices()[0];
  EXPECT_EQ(choice.Filter, "Text (*.txt)|*.txt|All Files (*.*|*.*");
  EXPECT_EQ(choice.DefaultExt, ".txt");
  EXPECT_EQ(choice.FileName, Temp.PathOf("old.txt"));
  EXPECT_EQ(choice.InitialDir, Temp.Path().string());
  // Cancelled: the edit keeps its name.
  ClickControl(Dialog, "BrowseButton");
  EXPECT_EQ(Edit()->text().toStdString(), Temp.PathOf("new.txt"));
}
