#include "shell/ui/browse_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

#include "shell/new_directory.h"
#include "shell/ui/user_dialogs.h"
#include "ui_browse_dialog.h"

namespace {

// Where the tree was left when the last chooser closed; a chooser given no folder that
// exists starts there, as one dialog kept for the whole run would.
QString& LastDirectory() {
  static QString last = QDir::currentPath();
  return last;
}

QString Cleaned(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

bool SameRoot(const QString& root, const QString& path) {
  return path.startsWith(root, Qt::CaseInsensitive);
}

}  // namespace

TBrowseForm::TBrowseForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TBrowseForm>()) {
  Ui->setupUi(this);
  setProperty("helpContext", 51);
  Ui->Help->setProperty("helpContext", 51);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  Ui->NewButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));

  Model = new QFileSystemModel(this);
  Model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  Model->setReadOnly(true);
  Model->setRootPath(QDir::rootPath());
  QTreeView* tree = Ui->DirectoryListBox;
  tree->setModel(Model);
  for (int column = 1; column < Model->columnCount(); ++column) tree->hideColumn(column);
  connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& index) {
            if (!index.isValid()) return;
            Current = Model->filePath(index);
            Ui->DirLabel2->setText(QDir::toNativeSeparators(Current));
            ShowDriveOf(Current);
          });

  // The folders above the current one fill in as they load, moving it down: keep it in
  // sight. The model sorts what it loaded only later, from a timer of its own, after it
  // told of the load: the sort moves the folder again.
  connect(Model, &QFileSystemModel::directoryLoaded, this, &TBrowseForm::ShowCurrent);
  connect(Model, &QAbstractItemModel::layoutChanged, this, &TBrowseForm::ShowCurrent);

  // One root (Linux and the like): no drive to choose.
  for (const QFileInfo& drive : QDir::drives()) Ui->DriveComboBox->addItem(drive.absoluteFilePath());
  Ui->DriveComboBox->setVisible(Ui->DriveComboBox->count() > 1);
  connect(Ui->DriveComboBox, &QComboBox::activated, this, &TBrowseForm::DriveChange);

  connect(Ui->NewButton, &QToolButton::clicked, this, &TBrowseForm::NewButtonClick);
  connect(Ui->OKAdd, &QPushButton::clicked, this, &TBrowseForm::OKAddClick);
  connect(Ui->Ok, &QPushButton::clicked, this, &TBrowseForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TBrowseForm::reject);
  tree->installEventFilter(this);
  Ui->DriveComboBox->installEventFilter(this);

  ShowNewDirectoryControls(false);
  const int unit = Ui->Ok->sizeHint().height();
  resize(11 * unit, 17 * unit);
  SetCurrentDirectory(LastDirectory());
}

TBrowseForm::~TBrowseForm() = default;

bool TBrowseForm::BrowseDirectory(std::string& directory) {
  const QString given = QString::fromStdString(directory);
  if (!given.isEmpty() && QFileInfo(given).isDir()) SetCurrentDirectory(given);
  const bool chosen = exec() == QDialog::Accepted && !Current.isEmpty();
  LastDirectory() = Current;
  if (chosen) directory = QDir::toNativeSeparators(Current).toStdString();
  return chosen;
}

void TBrowseForm::SetCurrentDirectory(const QString& path) {
  const QModelIndex index = Model->index(Cleaned(path));
  if (!index.isValid()) return;
  QTreeView* tree = Ui->DirectoryListBox;
  tree->setCurrentIndex(index);
  tree->expand(index);
  ShowCurrent();
}

void TBrowseForm::ShowCurrent() {
  QTreeView* tree = Ui->DirectoryListBox;
  tree->scrollTo(tree->currentIndex());
}

void TBrowseForm::showEvent(QShowEvent* event) {
  Ui->NewDirectory->clear();
  ShowNewDirectoryControls(false);
  QDialog::showEvent(event);
  // Scrolling waits for the list's first layout.
  QTimer::singleShot(0, this, &TBrowseForm::ShowCurrent);
}

bool TBrowseForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn &&
      (watched == Ui->DirectoryListBox || watched == Ui->DriveComboBox))
    ShowNewDirectoryControls(false);
  return QDialog::eventFilter(watched, event);
}

void TBrowseForm::ShowNewDirectoryControls(bool shown) {
  for (QWidget* control : std::initializer_list<QWidget*>{Ui->NewDirectory, Ui->OKAdd,
                                                         Ui->DirLabel1, Ui->DirLabel2})
    control->setVisible(shown);
  // Enter adds the folder while its name is being typed, else it is OK.
  Ui->OKAdd->setDefault(shown);
  Ui->Ok->setDefault(!shown);
}

void TBrowseForm::NewButtonClick() {
  Ui->NewDirectory->clear();
  ShowNewDirectoryControls(true);
  Ui->NewDirectory->setFocus();
}

void TBrowseForm::OKAddClick() {
  const TNewDirectory made =
      MakeNewDirectory(QDir::toNativeSeparators(Current).toStdString(),
                       Ui->NewDirectory->text().toStdString());
  switch (made.Outcome) {
    case TNewDirectory::ndREFUSED:
      Tell(made.Message);
      Ui->NewDirectory->setFocus();
      Ui->NewDirectory->selectAll();
      return;
    case TNewDirectory::ndCREATED:
      SetCurrentDirectory(QString::fromStdString(made.Path));
      break;
    case TNewDirectory::ndFAILED:
      Tell(made.Message);
      break;
    case TNewDirectory::ndEMPTY:
      break;
  }
  ShowNewDirectoryControls(false);
}

void TBrowseForm::DriveChange(int index) {
  const QString root = Ui->DriveComboBox->itemText(index);
  const QFileInfo info(root);
  if (info.isDir() && info.isReadable() && QDir(root).exists()) {
    SetCurrentDirectory(root);
    return;
  }
  Tell("Drive " + root.left(1).toStdString() + " is not accessable or not ready.");
  ShowDriveOf(Current);
}

void TBrowseForm::ShowDriveOf(const QString& path) {
  QComboBox* drives = Ui->DriveComboBox;
  for (int i = 0; i < drives->count(); ++i)
    if (SameRoot(drives->itemText(i), path)) {
      drives->setCurrentIndex(i);
      return;
    }
}

void TBrowseForm::Tell(const std::string& text) {
  UserDialogs().Message(this, MessageBoxOf(text, "", TMessageKind::Information));
}
