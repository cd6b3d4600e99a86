#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "shell/ui/browse_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/user_dialogs.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"
#include "support/ui/worker.h"

namespace {

TFileChoice Choice(bool save, std::string filter, std::string ext, std::string name = "",
                   std::string dir = "") {
  TFileChoice choice;
  choice.Save = save;
  choice.Filter = std::move(filter);
  choice.DefaultExt = std::move(ext);
  choice.FileName = std::move(name);
  choice.InitialDir = std::move(dir);
  return choice;
}

// Waits for the next modal file dialog and acts on it; notes what it showed. Any other
// modal window that comes up meanwhile (the chooser's own complaints) is noted and
// closed, so that a test fails instead of waiting for ever.
class TFileDialogCloser {
public:
  explicit TFileDialogCloser(std::function<void(QFileDialog&)> act) : Act(std::move(act)) {
    QObject::connect(&Timer, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (dialog && !Seen) {
        Seen = true;
        Filters = dialog->nameFilters();
        Directory = dialog->directory().absolutePath();
        Suffix = dialog->defaultSuffix();
        Mode = dialog->acceptMode();
        Act(*dialog);
        Acted.start();
      } else if (dialog && Acted.hasExpired(5000)) {
        Unexpected << "the chooser stayed open";
        dialog->reject();
      } else if (modal && !dialog) {
        Unexpected << modal->windowTitle();
        modal->close();
      }
    });
    Timer.start(10);
  }

  bool Seen = false;
  QStringList Filters;
  QString Directory, Suffix;
  QFileDialog::AcceptMode Mode = QFileDialog::AcceptOpen;
  QStringList Unexpected;

private:
  QTimer Timer;
  QElapsedTimer Acted;
  std::function<void(QFileDialog&)> Act;
};

// Types a name into the chooser's name field in the folder, as a user does. (selectFile
// leaves the field alone while it has the focus, and then the list's selection, made
// when the folder has been read, decides.)
void TypeName(QFileDialog& dialog, const QString& folder, const QString& name) {
  dialog.setDirectory(folder);
  auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(edit, nullptr);
  edit->setText(name);
}

}  // namespace

TEST(UserDialogs, ScriptedSeamRecordsEveryCallAndAnswersFromItsScript) {
  TUserDialogs* const before = &UserDialogs();
  {
    TScriptedUserDialogs dialogs;
    EXPECT_EQ(&UserDialogs(), &dialogs);
    dialogs.ScriptAnswers({mbNo, mbRetry});
    dialogs.ScriptFiles({"/data/run 1.qve", ""});

    const TMessageBox save = QuestionBoxOf("Save the experiment?", "", TMessageKind::Confirmation,
                                           mbYes | mbNo | mbCancel, mbNone);
    EXPECT_EQ(UserDialogs().Message(nullptr, save), mbNo);
    QWidget parent;
    EXPECT_EQ(UserDialogs().Message(&parent, QuestionBoxOf("Timed out", "Qorv Message",
                                                           TMessageKind::Error,
                                                           mbAbort | mbRetry | mbIgnore, mbNone)),
              mbRetry);

    TFileChoice open = Choice(false, "Experiment (*.qve) | *.qve", "qve", "", "/data");
    EXPECT_TRUE(UserDialogs().ChooseFile(nullptr, open));
    EXPECT_EQ(open.FileName, "/data/run 1.qve");
    TFileChoice saveAs = Choice(true, "Block (*.blk) | *.blk", "blk", "Block 1");
    EXPECT_FALSE(UserDialogs().ChooseFile(&parent, saveAs));  // "" cancels
    EXPECT_EQ(saveAs.FileName, "Block 1") << "a cancelled choice keeps the proposed name";

    const auto boxes = dialogs.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Box.Caption, "Qorv");
    EXPECT_EQ(boxes[0].Box.Text, "Save the experiment?");
    EXPECT_EQ(boxes[0].Box.Kind, TMessageKind::Confirmation);
    EXPECT_EQ(boxes[0].Box.Buttons, mbYes | mbNo | mbCancel);
    EXPECT_EQ(boxes[0].Box.Default, mbYes);
    EXPECT_EQ(boxes[0].Box.Escape, mbCancel);
    EXPECT_FALSE(boxes[0].HadParent);
    EXPECT_TRUE(boxes[0].OnMainThread);
    EXPECT_EQ(boxes[1].Box.Caption, "Qorv Message");
    EXPECT_EQ(boxes[1].Box.Kind, TMessageKind::Error);
    EXPECT_TRUE(boxes[1].HadParent);
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"Save the experiment?", "Timed out"}));

    const auto files = dialogs.FileChoices();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_FALSE(files[0].Choice.Save);
    EXPECT_EQ(files[0].Choice.Filter, "Experiment (*.qve) | *.qve");
    EXPECT_EQ(files[0].Choice.InitialDir, "/data");
    EXPECT_EQ(files[0].Choice.FileName, "") << "recorded as asked, before the answer";
    EXPECT_TRUE(files[1].Choice.Save);
    EXPECT_EQ(files[1].Choice.FileName, "Block 1");
    EXPECT_TRUE(files[1].HadParent);

    dialogs.ClearCalls();
    EXPECT_TRUE(dialogs.Boxes().empty());
    EXPECT_TRUE(dialogs.FileChoices().empty());
  }
  EXPECT_EQ(&UserDialogs(), before) << "the seam in use before comes back";
}

TEST(UserDialogs, ScriptedSeamFailsTheTestOnWhatWasNotScripted) {
  const TMessageBox question =
      QuestionBoxOf("Delete the output?", "", TMessageKind::Warning, mbYes | mbNo, mbNone);
  TMessageButton answer = mbYes;
  EXPECT_NONFATAL_FAILURE(
      {
        TScriptedUserDialogs dialogs;
        answer = UserDialogs().Message(nullptr, question);
      },
      "unscripted message box \"Qorv\": Delete the output?");
  EXPECT_EQ(answer, mbNo) << "an unscripted question takes the safe way out";

  TFileChoice choice = Choice(true, "Output (*.opt) | *.opt", "opt", "Graph 1");
  bool chosen = true;
  EXPECT_NONFATAL_FAILURE(
      {
        TScriptedUserDialogs dialogs;
        chosen = UserDialogs().ChooseFile(nullptr, choice);
      },
      "unscripted file chooser (save): Output (*.opt) | *.opt");
  EXPECT_FALSE(chosen);
  EXPECT_EQ(choice.FileName, "Graph 1");

  EXPECT_NONFATAL_FAILURE(
      {
        TScriptedUserDialogs dialogs;
        dialogs.ScriptAnswers({mbCancel});
        UserDialogs().Message(nullptr, question);
      },
      "is not a button of: Delete the output?");
  EXPECT_NONFATAL_FAILURE(
      {
        TScriptedUserDialogs dialogs;
        dialogs.ScriptAnswers({mbYes, mbNo});
        UserDialogs().Message(nullptr, question);
      },
      "1 scripted answer(s) never asked for");
  EXPECT_NONFATAL_FAILURE(
      {
        TScriptedUserDialogs dialogs;
        dialogs.ScriptFiles({"/tmp/x.opt"});
      },
      "1 scripted file(s) never asked for");
}

TEST(UserDialogs, BoxesTakeTheButtonsTheirQuestionsAskFor) {
  const TMessageBox message = MessageBoxOf("Run finished", "", TMessageKind::Information);
  EXPECT_EQ(message.Caption, "Qorv");
  EXPECT_EQ(message.Buttons, TMessageButtons(mbOK));
  EXPECT_EQ(message.Default, mbOK);
  EXPECT_EQ(message.Escape, mbOK);
  EXPECT_EQ(MessageBoxOf("x", "Qorv Warning", TMessageKind::Warning).Caption, "Qorv Warning");

  struct TCase {
    TMessageButtons Buttons;
    TMessageButton Asked;
    TMessageButtons Shown;
    TMessageButton Default, Escape;
  };
  const TCase cases[] = {
      {mbYes | mbNo | mbCancel, mbNone, mbYes | mbNo | mbCancel, mbYes, mbCancel},
      {mbYes | mbNo | mbCancel, mbNo, mbYes | mbNo | mbCancel, mbNo, mbCancel},
      {mbYes | mbNo, mbCancel, mbYes | mbNo, mbYes, mbNo},  // a default not offered
      {mbOK | mbCancel, mbNone, mbOK | mbCancel, mbOK, mbCancel},
      {mbAbort | mbRetry | mbIgnore, mbNone, mbAbort | mbRetry | mbIgnore, mbRetry, mbIgnore},
      {mbAbort | mbIgnore, mbNone, mbAbort | mbIgnore, mbAbort, mbIgnore},
      {mbNone, mbNone, mbOK, mbOK, mbOK},
      {1u << 12, mbNone, mbOK, mbOK, mbOK},  // no button the core knows
      {mbNo | (1u << 20), mbNone, mbNo, mbNo, mbNo},
  };
  for (const TCase& c : cases) {
    const TMessageBox box = QuestionBoxOf("q", "", TMessageKind::Confirmation, c.Buttons, c.Asked);
    EXPECT_EQ(box.Buttons, c.Shown) << "buttons " << c.Buttons;
    EXPECT_EQ(box.Default, c.Default) << "buttons " << c.Buttons << " asked " << c.Asked;
    EXPECT_EQ(box.Escape, c.Escape) << "buttons " << c.Buttons;
  }
}

TEST(UserDialogs, FiltersAndExtensionsOfTheCoreBecomeQtFilters) {
  EXPECT_EQ(NameFiltersOf("Experiment (*.qve) | *.qve"), QStringList{"Experiment (*.qve)"});
  EXPECT_EQ(NameFiltersOf("Text files (*.txt)|*.TXT | All Files (*.*) | *.*"),
            (QStringList{"Text files (*.TXT)", "All Files (*)"}));
  EXPECT_EQ(NameFiltersOf("All (*.bmp;*.emf;*.wmf)|*.bmp;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp"),
            (QStringList{"All (*.bmp *.emf *.wmf)", "Bitmaps (*.bmp)"}));
  EXPECT_EQ(NameFiltersOf("Output(*.txt)|*.txt"), QStringList{"Output (*.txt)"});
  EXPECT_EQ(NameFiltersOf("Rich Text  (*.rtf)|*.rtf"), QStringList{"Rich Text (*.rtf)"});
  // An unclosed bracket in a description, and a last description without patterns.
  EXPECT_EQ(NameFiltersOf("Text (*.txt)|*.txt|All Files (*.*|*.*"),
            (QStringList{"Text (*.txt)", "All Files (*)"}));
  EXPECT_EQ(NameFiltersOf("Icons (*.ico)|*.ico|Broken"), QStringList{"Icons (*.ico)"});
  EXPECT_EQ(NameFiltersOf("(*.txt)|*.txt"), QStringList{"*.txt"});
  EXPECT_EQ(NameFiltersOf("Nothing| ; "), QStringList{});
  EXPECT_EQ(NameFiltersOf(""), QStringList{});

  EXPECT_EQ(ExtensionOf("qve"), "qve");
  EXPECT_EQ(ExtensionOf(".txt"), "txt");
  EXPECT_EQ(ExtensionOf("*.opt"), "opt");
  EXPECT_EQ(ExtensionOf(""), "");

  EXPECT_EQ(WithDefaultExtension("/home/lab/run", "qve"), "/home/lab/run.qve");
  EXPECT_EQ(WithDefaultExtension("/home/lab/run", "*.opt"), "/home/lab/run.opt");
  EXPECT_EQ(WithDefaultExtension("/home/lab/run.txt", "qve"), "/home/lab/run.txt");
  EXPECT_EQ(WithDefaultExtension("/home/lab.d/run", ".txt"), "/home/lab.d/run.txt");
  EXPECT_EQ(WithDefaultExtension("C:\\lab\\run", "dev"), "C:\\lab\\run.dev");
  EXPECT_EQ(WithDefaultExtension("/home/lab/run.", "qve"), "/home/lab/run.");
  EXPECT_EQ(WithDefaultExtension("/home/lab/run", ""), "/home/lab/run");
  EXPECT_EQ(WithDefaultExtension("/home/lab/", "qve"), "/home/lab/");
  EXPECT_EQ(WithDefaultExtension("", "qve"), "");
}

TEST(UserDialogs, TheQtPortAsksThroughTheSeamFromAnyThread) {
  TQtUiPort port;
  TQorvForm window;
  TScriptedUserDialogs dialogs;
  dialogs.ScriptAnswers({mbOK, mbNo});
  port.ShowMessage("Run finished", "Qorv Message", TMessageKind::Information);
  EXPECT_EQ(
      port.Ask("Save the experiment?", "", TMessageKind::Confirmation, mbYes | mbNo | mbCancel),
      mbNo);
  port.AttachWindow(&window);
  dialogs.ScriptFiles({"/lab/run2"});
  TFileChoice choice = Choice(true, "Experiment (*.qve) | *.qve", "qve", "Experiment 1", "/lab");
  EXPECT_TRUE(port.ChooseFile(choice));
  EXPECT_EQ(choice.FileName, "/lab/run2") << "the seam answers the path as chosen";

  // From a worker: the boxes show on the main thread, the answers reach the worker.
  dialogs.ScriptAnswers({mbOK, mbIgnore});
  dialogs.ScriptFiles({"/lab/data.txt"});
  TMessageButton answer = mbNone;
  bool chosen = false;
  TFileChoice open = Choice(false, "Text (*.txt)|*.txt", "txt");
  ASSERT_TRUE(RunOnWorker([&] {
    port.ShowMessage("Température hors limites", "", TMessageKind::Error);
    answer = port.Ask("Device timed out", "Qorv Message", TMessageKind::Error,
                      mbAbort | mbRetry | mbIgnore, mbAbort);
    chosen = port.ChooseFile(open);
  }));
  EXPECT_EQ(answer, mbIgnore);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(open.FileName, "/lab/data.txt");

  const auto boxes = dialogs.Boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].Box.Caption, "Qorv Message");
  EXPECT_EQ(boxes[0].Box.Buttons, TMessageButtons(mbOK));
  EXPECT_FALSE(boxes[0].HadParent) << "no window attached yet";
  EXPECT_EQ(boxes[1].Box.Caption, "Qorv");
  EXPECT_EQ(boxes[1].Box.Default, mbYes);
  EXPECT_EQ(boxes[2].Box.Text, QString::fromUtf8("Température hors limites"));
  EXPECT_EQ(boxes[2].Box.Kind, TMessageKind::Error);
  EXPECT_TRUE(boxes[2].HadParent) << "above the main window";
  EXPECT_EQ(boxes[3].Box.Default, mbAbort);
  EXPECT_EQ(boxes[3].Box.Escape, mbIgnore);
  for (const auto& box : boxes) EXPECT_TRUE(box.OnMainThread) << box.Box.Text.toStdString();
  const auto files = dialogs.FileChoices();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(files[0].Choice.Save);
  EXPECT_EQ(files[0].Choice.FileName, "Experiment 1");
  EXPECT_TRUE(files[0].HadParent);
  EXPECT_FALSE(files[1].Choice.Save);
  EXPECT_TRUE(files[1].OnMainThread);
}

TEST(UserDialogs, TheQtFileChooserShowsTheChoiceAndAddsTheExtension) {
  TTempDir temp;
  const std::string path = temp.Path().string();
  const QString dir = QString::fromStdString(path);
  TQtUserDialogs qt;
  {
    // Save: the filter, the folder and the suffix shown; a name without extension gets it.
    TFileChoice choice = Choice(true, "Experiment (*.qve) | *.qve|All Files (*.*)|*.*", "qve",
                                "Experiment 1", path);
    TFileDialogCloser closer([&](QFileDialog& dialog) {
      TypeName(dialog, dir, "result");
      static_cast<QDialog&>(dialog).accept();  // as the Open or Save button does
    });
    EXPECT_TRUE(qt.ChooseFile(nullptr, choice));
    ASSERT_TRUE(closer.Seen);
    EXPECT_EQ(closer.Mode, QFileDialog::AcceptSave);
    EXPECT_EQ(closer.Filters, (QStringList{"Experiment (*.qve)", "All Files (*)"}));
    EXPECT_EQ(QDir(closer.Directory), QDir(dir));
    EXPECT_EQ(closer.Suffix, "qve");
    EXPECT_EQ(choice.FileName, path + "/result.qve");
    EXPECT_TRUE(closer.Unexpected.isEmpty()) << closer.Unexpected.join(", ").toStdString();
  }
  {
    // Cancelled: false, the proposed name kept.
    TFileChoice choice = Choice(true, "Block (*.blk) | *.blk", "blk", "Block 1", path);
    TFileDialogCloser closer([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_FALSE(qt.ChooseFile(nullptr, choice));
    EXPECT_TRUE(closer.Seen);
    EXPECT_EQ(choice.FileName, "Block 1");
    EXPECT_TRUE(closer.Unexpected.isEmpty()) << closer.Unexpected.join(", ").toStdString();
  }
  {
    // Open: an existing file as it is, extension or none; a folder that does not exist
    // is not used.
    temp.WriteBytes("readings", {'1', '\n'});
    TFileChoice choice = Choice(false, "Text files (*.txt)|*.txt", "txt", "",
                                path + "/missing");
    TFileDialogCloser closer([&](QFileDialog& dialog) {
      dialog.setNameFilter("All (*)");
      TypeName(dialog, dir, "readings");
      static_cast<QDialog&>(dialog).accept();  // as the Open or Save button does
    });
    EXPECT_TRUE(qt.ChooseFile(nullptr, choice));
    EXPECT_EQ(closer.Mode, QFileDialog::AcceptOpen);
    EXPECT_NE(QDir(closer.Directory), QDir(dir + "/missing"));
    EXPECT_EQ(choice.FileName, path + "/readings");
    EXPECT_EQ(closer.Suffix, "");
    EXPECT_TRUE(closer.Unexpected.isEmpty()) << closer.Unexpected.join(", ").toStdString();
  }
}

TEST(UserDialogs, TheQtFolderChooserIsFindDirectoryStartingInTheFolder) {
  TTempDir temp;
  const std::string path = temp.Path().string();
  std::filesystem::create_directory(temp.PathOf("sub"));
  TQtUserDialogs qt;
  {
    std::string directory = temp.PathOf("sub");
    QString caption, started;
    TModalDialogActor<TBrowseForm> actor([&](TBrowseForm& dialog) {
      caption = dialog.windowTitle();
      started = dialog.CurrentDirectory();
      ClickControl(dialog, "Ok");
    });
    EXPECT_TRUE(qt.ChooseDirectory(nullptr, "Find Output Directory", directory));
    ASSERT_TRUE(actor.Seen);
    EXPECT_EQ(caption, "Find Output Directory");
    EXPECT_EQ(QDir(started), QDir(QString::fromStdString(temp.PathOf("sub"))));
    EXPECT_EQ(directory, temp.PathOf("sub"));
  }
  {
    // Cancelled: the folder given stays; a folder that does not exist is not started in.
    std::string directory = temp.PathOf("missing");
    QString started;
    TModalDialogActor<TBrowseForm> actor([&](TBrowseForm& dialog) {
      started = dialog.CurrentDirectory();
      ClickControl(dialog, "Cancel");
    });
    EXPECT_FALSE(qt.ChooseDirectory(nullptr, "Find Directory", directory));
    EXPECT_TRUE(actor.Seen);
    EXPECT_NE(QDir(started), QDir(QString::fromStdString(temp.PathOf("missing"))));
    EXPECT_EQ(directory, temp.PathOf("missing"));
  }
}
