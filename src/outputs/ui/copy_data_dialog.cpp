#include "outputs/ui/copy_data_dialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

#include "outputs/ui/copy_row_select_dialog.h"
#include "shell/ui/user_dialogs.h"
#include "ui_copy_data_dialog.h"

TCopyDataForm::TCopyDataForm(QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TCopyDataForm>()) {
  Ui->setupUi(this);
  setProperty("helpContext", 57);
  Ui->Help->setProperty("helpContext", 57);
  Ui->Help->setEnabled(false);  // the help wiring enables it
  connect(Ui->AddAll, &QPushButton::clicked, this, &TCopyDataForm::AddAllClick);
  connect(Ui->AddOne, &QPushButton::clicked, this, &TCopyDataForm::AddOneClick);
  connect(Ui->RemoveAll, &QPushButton::clicked, this, &TCopyDataForm::RemoveAllClick);
  connect(Ui->RemoveOne, &QPushButton::clicked, this, &TCopyDataForm::RemoveOneClick);
  connect(Ui->MoveUp, &QPushButton::clicked, this, &TCopyDataForm::MoveUpClick);
  connect(Ui->MoveDown, &QPushButton::clicked, this, &TCopyDataForm::MoveDownClick);
  connect(Ui->OK, &QPushButton::clicked, this, &TCopyDataForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TCopyDataForm::reject);
  // A double click moves just the entry clicked to the other list.
  for (QListWidget* list : {Ui->SeriesBox, Ui->SeriesCopyBox}) {
    connect(list, &QListWidget::itemDoubleClicked, this, [this, list](QListWidgetItem* item) {
      list->clearSelection();
      item->setSelected(true);
      MoveItems(list, list == Ui->SeriesBox ? Ui->SeriesCopyBox : Ui->SeriesBox, false);
    });
  }
  Ui->SeriesCopyBox->viewport()->installEventFilter(this);
  resize(sizeHint().expandedTo(QSize(520, 340)));
}

TCopyDataForm::~TCopyDataForm() = default;

QListWidget* TCopyDataForm::SeriesBox() const { return Ui->SeriesBox; }
QListWidget* TCopyDataForm::SeriesCopyBox() const { return Ui->SeriesCopyBox; }

void TCopyDataForm::Clear() {
  Ui->SeriesBox->clear();
  Ui->SeriesCopyBox->clear();
  Ranges.clear();
}

void TCopyDataForm::Offer(const TCopyObject& range) {
  auto* item = new QListWidgetItem(QString::fromStdString(range.GetRangeText()));
  item->setData(Qt::UserRole, static_cast<int>(Ranges.size()));
  Ranges.push_back(range);
  Ui->SeriesBox->addItem(item);
}

TCopyObject& TCopyDataForm::RangeOf(const QListWidgetItem* item) {
  return Ranges.at(static_cast<std::size_t>(item->data(Qt::UserRole).toInt()));
}

const TCopyObject& TCopyDataForm::RangeOf(const QListWidgetItem* item) const {
  return Ranges.at(static_cast<std::size_t>(item->data(Qt::UserRole).toInt()));
}

bool TCopyDataForm::Execute(bool takeAll) {
  if (Ui->SeriesBox->count() == 0 && Ui->SeriesCopyBox->count() == 0) {
    UserDialogs().Message(parentWidget(), MessageBoxOf("No data to copy", "", TMessageKind::Information));
    return false;
  }
  if (takeAll || Ui->SeriesBox->count() == 1) AddAllClick();
  return exec() == QDialog::Accepted;
}

std::vector<TCopyObject> TCopyDataForm::Chosen() const {
  std::vector<TCopyObject> chosen;
  for (int i = 0; i < Ui->SeriesCopyBox->count(); ++i) chosen.push_back(RangeOf(Ui->SeriesCopyBox->item(i)));
  return chosen;
}

TCopyKind TCopyDataForm::CopyKind() const {
  if (Ui->CommaRadio->isChecked()) return ckCOMMA;
  if (Ui->TabRadio->isChecked()) return ckTAB;
  return ckOUTPUT;
}

void TCopyDataForm::PutOnClipboard(const std::vector<std::string>& lines) {
  QApplication::clipboard()->setText(QString::fromStdString(JoinCopyLines(lines)));
}

void TCopyDataForm::MoveItems(QListWidget* from, QListWidget* to, bool all) {
  std::vector<int> rows;
  for (int i = 0; i < from->count(); ++i)
    if (all || from->item(i)->isSelected()) rows.push_back(i);
  to->clearSelection();
  std::vector<QListWidgetItem*> taken;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) taken.push_back(from->takeItem(*row));
  for (auto item = taken.rbegin(); item != taken.rend(); ++item) {
    to->addItem(*item);
    (*item)->setSelected(false);
  }
}

void TCopyDataForm::AddAllClick() { MoveItems(Ui->SeriesBox, Ui->SeriesCopyBox, true); }
void TCopyDataForm::AddOneClick() { MoveItems(Ui->SeriesBox, Ui->SeriesCopyBox, false); }
void TCopyDataForm::RemoveAllClick() { MoveItems(Ui->SeriesCopyBox, Ui->SeriesBox, true); }
void TCopyDataForm::RemoveOneClick() { MoveItems(Ui->SeriesCopyBox, Ui->SeriesBox, false); }

void TCopyDataForm::MoveUpClick() { MoveChosen(-1); }
void TCopyDataForm::MoveDownClick() { MoveChosen(1); }

void TCopyDataForm::MoveChosen(int step) {
  QListWidget* list = Ui->SeriesCopyBox;
  int row = -1;  // the last selected entry
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) row = i;
  const int to = row + step;
  if (row < 0 || to < 0 || to >= list->count()) return;
  QListWidgetItem* item = list->takeItem(row);
  list->insertItem(to, item);
  list->clearSelection();
  item->setSelected(true);
  list->setCurrentItem(item);
}

void TCopyDataForm::EditPointsClick() {
  QListWidget* list = Ui->SeriesCopyBox;
  QListWidgetItem* item = nullptr;
  for (int i = 0; i < list->count() && !item; ++i)
    if (list->item(i)->isSelected()) item = list->item(i);
  if (!item) return;
  TCopyObject& range = RangeOf(item);
  TCopyRowSelectForm rows(this);
  if (!rows.Execute(range.FirstRow(), range.LastRow(), 61, range.LastIndex())) return;
  range.SetFirstRow(rows.FirstRow());
  range.SetLastRow(rows.LastRow());
  item->setText(QString::fromStdString(range.GetRangeText()));
}

bool TCopyDataForm::eventFilter(QObject* watched, QEvent* event) {
  // A right click on a selected chosen range: only it stays selected, and its menu opens.
  if (watched == Ui->SeriesCopyBox->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      QListWidgetItem* item = Ui->SeriesCopyBox->itemAt(mouse->position().toPoint());
      if (item && item->isSelected()) {
        Ui->SeriesCopyBox->clearSelection();
        item->setSelected(true);
        QMenu menu(this);
        QAction* edit = menu.addAction("Edit Points", this, &TCopyDataForm::EditPointsClick);
        edit->setObjectName("EditPoints");
        menu.exec(mouse->globalPosition().toPoint());
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool ChooseCopyRanges(QWidget* parent, std::vector<TCopyObject>& ranges, bool takeAll,
                      TCopyKind& kind) {
  TCopyDataForm dialog(parent);
  for (const TCopyObject& range : ranges) dialog.Offer(range);
  if (!dialog.Execute(takeAll)) return false;
  std::vector<TCopyObject> chosen = dialog.Chosen();
  if (chosen.empty()) return false;
  ranges = std::move(chosen);
  kind = dialog.CopyKind();
  return true;
}

bool CopyRangesToClipboard(QWidget* parent, const std::vector<TCopyObject>& offered, bool takeAll,
                           const TCopyTextSource& source) {
  std::vector<TCopyObject> ranges = offered;
  TCopyKind kind = ckOUTPUT;
  if (!ChooseCopyRanges(parent, ranges, takeAll, kind)) return false;
  std::vector<std::string> lines;
  if (!BuildCopyText(ranges, kind, source, lines)) return false;
  TCopyDataForm::PutOnClipboard(lines);
  return true;
}
