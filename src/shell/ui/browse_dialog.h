// "Find Directory": a folder picked in a tree of the machine's folders, or made there
// with "New Directory" (a name typed and added in the folder the tree is in). The drive
// list shows only on machines with more than one root (not on Linux). Every folder
// chooser of the program (UserDialogs().ChooseDirectory) is this dialog.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <string>

class QFileSystemModel;

namespace Ui {
class TBrowseForm;
}

class TBrowseForm : public QDialog {
  Q_OBJECT

public:
  // The caller sets the caption (setWindowTitle) before browsing.
  explicit TBrowseForm(QWidget* parent = nullptr);
  ~TBrowseForm() override;

  // Shows the dialog modally, its tree in directory when that is a folder that exists,
  // else where the last chooser was left. OK answers true with the tree's folder in
  // directory (native separators); Cancel answers false and leaves directory as it was.
  bool BrowseDirectory(std::string& directory);

  // The folder the tree is in (shown beside "Create Directory in ").
  QString CurrentDirectory() const { return Current; }
  // Moves the tree to the folder.
  void SetCurrentDirectory(const QString& path);

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Scrolls the list to its current folder.
  void ShowCurrent();
  void NewButtonClick();
  void OKAddClick();
  void DriveChange(int index);
  // The name edit, "Add" and the two labels of the new-folder line.
  void ShowNewDirectoryControls(bool shown);
  // The drive list follows the tree's folder.
  void ShowDriveOf(const QString& path);
  void Tell(const std::string& text);

  std::unique_ptr<Ui::TBrowseForm> Ui;
  QFileSystemModel* Model = nullptr;  // owned by the dialog
  QString Current;
};
