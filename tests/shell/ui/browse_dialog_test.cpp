// "Find Directory" through its widgets: where it starts, a new folder made in the folder
// shown (or refused, or reported), OK and Cancel, and no drive list on this machine.
#include "shell/ui/browse_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TTexts = std::vector<std::string>;

bool Shown(QWidget& dialog, const char* name) { return Control<QWidget>(dialog, name)->isVisible(); }

// The folder and every folder above it, up to the root.
QStringList FoldersOnTheWay(const QString& folder) {
  QDir dir(QDir::cleanPath(folder));
  QStringList folders{dir.absolutePath()};
  while (dir.cdUp()) folders << dir.absolutePath();
  return folders;
}

// The four controls of the new-folder line, all shown or all hidden.
bool NewLineShown(QWidget& dialog) {
  const bool shown = Shown(dialog, "NewDirectory");
  for (const char* name : {"OKAdd", "DirLabel1", "DirLabel2"})
    EXPECT_EQ(Shown(dialog, name), shown) << name;
  return shown;
}

class BrowseDialogTest : public ::testing::Test {
protected:
  std::string Dir() const { return Temp.Path().string(); }
  void Add(TBrowseForm& dialog, const std::string& name, bool answered) {
    Dialogs.ClearCalls();
    if (answered) Dialogs.ScriptAnswers({mbOK});
    auto* edit = Control<QLineEdit>(dialog, "NewDirectory");
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(name));
    ClickControl(dialog, "OKAdd");
  }
  static std::string Current(const TBrowseForm& dialog) {
    return QDir::toNativeSeparators(dialog.CurrentDirectory()).toStdString();
  }

  TTempDir Temp;
  TScriptedUserDialogs Dialogs;
};

TEST_F(BrowseDialogTest, MakesANewFolderWhereTheListIsAndChoosesIt) {
  std::filesystem::create_directory(Temp.PathOf("data"));
  std::string directory = Temp.PathOf("data");
  QStringList loaded;
  QFileSystemModel* model = nullptr;
  TModalDialogActor<TBrowseForm> actor([&](TBrowseForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Find Directory");
    EXPECT_EQ(dialog.property("helpContext").toInt(), 51);
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 51);
    EXPECT_EQ(Control<QToolButton>(dialog, "NewButton")->toolTip(), "New Directory");
    EXPECT_EQ(Control<QLabel>(dialog, "DirLabel1")->text(), "Create Directory in ");
    EXPECT_EQ(Control<QPushButton>(dialog, "OKAdd")->text(), "Add");
    // One root on this machine: no drive to choose.
    EXPECT_FALSE(Shown(dialog, "DriveComboBox"));
    EXPECT_TRUE(Shown(dialog, "DirectoryListBox"));
    EXPECT_EQ(Current(dialog), Temp.PathOf("data"));
    EXPECT_FALSE(NewLineShown(dialog));
    // The folder is in sight however deep it lies, once the folders above it have filled
    // in: the list loads them in the background, then sorts them in from a timer of its
    // own. The sort is brought forward and the list checked straight after it: the
    // dialog keeps the folder in sight as the rows move, and a wait could let a later
    // load scroll the list back and hide a miss.
    const QStringList onTheWay = FoldersOnTheWay(QString::fromStdString(Temp.PathOf("data")));
    const auto filledIn = [&] {
      return std::all_of(onTheWay.begin(), onTheWay.end(),
                         [&](const QString& folder) { return loaded.contains(folder); });
    };
    ASSERT_TRUE(QTest::qWaitFor(filledIn, 30000)) << loaded.join(", ").toStdString();
    model->sort(0);
    auto* list = Control<QTreeView>(dialog, "DirectoryListBox");
    EXPECT_TRUE(list->viewport()->rect().contains(list->visualRect(list->currentIndex())));

    ClickControl(dialog, "NewButton");
    EXPECT_TRUE(NewLineShown(dialog));
    EXPECT_EQ(dialog.focusWidget(), Control<QWidget>(dialog, "NewDirectory"));
    EXPECT_EQ(Control<QLabel>(dialog, "DirLabel2")->text().toStdString(), Temp.PathOf("data"));
    EXPECT_TRUE(Control<QPushButton>(dialog, "OKAdd")->isDefault());

    // A name holding a separator of either kind is refused, selected for retyping.
    const std::string refusal =
        "You must create a directory in " + Temp.PathOf("data") + " or select another directory";
    for (const std::string name : {"runs/2024", "runs\\2024"}) {
      Add(dialog, name, true);
      EXPECT_EQ(Dialogs.Texts(), TTexts{refusal});
      EXPECT_TRUE(NewLineShown(dialog));
      auto* edit = Control<QLineEdit>(dialog, "NewDirectory");
      EXPECT_EQ(dialog.focusWidget(), edit);
      EXPECT_EQ(edit->selectedText().toStdString(), name);
    }
    EXPECT_FALSE(std::filesystem::exists(Temp.PathOf("data/runs")));

    Add(dialog, "runs", false);
    EXPECT_TRUE(Dialogs.Texts().empty());
    EXPECT_TRUE(std::filesystem::is_directory(Temp.PathOf("data/runs")));
    EXPECT_FALSE(NewLineShown(dialog));
    EXPECT_EQ(Current(dialog), Temp.PathOf("data/runs"));
    ClickControl(dialog, "Ok");
  });
  TBrowseForm form;
  // Connected before the dialog runs its event loop, so no load is missed.
  model = form.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  QObject::connect(model, &QFileSystemModel::directoryLoaded,
                   [&](const QString& folder) { loaded << QDir::cleanPath(folder); });
  EXPECT_TRUE(form.BrowseDirectory(directory));
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(directory, Temp.PathOf("data/runs"));
}

TEST_F(BrowseDialogTest, AFolderThatCannotBeMadeIsReportedAndAnEmptyNameMakesNone) {
  std::filesystem::create_directory(Temp.PathOf("taken"));
  std::string directory = Dir();
  TModalDialogActor<TBrowseForm> actor([&](TBrowseForm& dialog) {
    ClickControl(dialog, "NewButton");
    Add(dialog, "taken", true);
    EXPECT_EQ(Dialogs.Texts(), TTexts{"Error creating " + Temp.PathOf("taken")});
    EXPECT_FALSE(NewLineShown(dialog));
    EXPECT_EQ(Current(dialog), Dir());

    ClickControl(dialog, "NewButton");
    EXPECT_TRUE(Control<QLineEdit>(dialog, "NewDirectory")->text().isEmpty());
    Add(dialog, "", false);
    EXPECT_TRUE(Dialogs.Texts().empty());
    EXPECT_FALSE(NewLineShown(dialog));

    // Going back to the list puts the new-folder line away.
    ClickControl(dialog, "NewButton");
    EXPECT_TRUE(NewLineShown(dialog));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* list = Control<QTreeView>(dialog, "DirectoryListBox");
    list->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(dialog.focusWidget(), list);
    EXPECT_FALSE(NewLineShown(dialog));
    EXPECT_EQ(Current(dialog), Dir());
    ClickControl(dialog, "Cancel");
  });
  TBrowseForm form;
  EXPECT_FALSE(form.BrowseDirectory(directory));
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(directory, Dir());
  EXPECT_EQ(Temp.Entries(), 1u) << "nothing but the folder there before";
}

TEST_F(BrowseDialogTest, WithoutAnExistingFolderTheListStaysWhereItWasLeft) {
  std::filesystem::create_directory(Temp.PathOf("left"));
  {
    std::string directory = Temp.PathOf("left");
    TModalDialogActor<TBrowseForm> actor([](TBrowseForm& dialog) { ClickControl(dialog, "Cancel"); });
    TBrowseForm form;
    EXPECT_FALSE(form.BrowseDirectory(directory));
  }
  for (const std::string& given : {std::string(), Temp.PathOf("missing")}) {
    SCOPED_TRACE(given);
    std::string directory = given;
    TModalDialogActor<TBrowseForm> actor([&](TBrowseForm& dialog) {
      EXPECT_EQ(Current(dialog), Temp.PathOf("left"));
      ClickControl(dialog, "Ok");
    });
    TBrowseForm form;
    EXPECT_TRUE(form.BrowseDirectory(directory));
    EXPECT_EQ(directory, Temp.PathOf("left"));
  }
}

}  // namespace
