#include "shell/ui/edit_block_dialog.h"

#include <QMouseEvent>
#include <QPen>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include "scripts/experiment_thread.h"
#include "shell/ui/block_icons.h"
#include "shell/ui/user_dialogs.h"
#include "ui_edit_block_dialog.h"

namespace {

const char* const IconFilter = "Icons (*.ico)|*.ico|Pictures (*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.svg)"
                               "|*.png;*.bmp;*.jpg;*.jpeg;*.gif;*.svg";

}  // namespace

TEditBlockForm::TEditBlockForm(TEditBlockRequest& request, QWidget* parent)
    : QDialog(parent), Ui(std::make_unique<Ui::TEditBlockForm>()), Request(request) {
  Ui->setupUi(this);
  const int unit = Ui->Ok->sizeHint().height();
  resize(17 * unit, 9 * unit);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 36);
  Ui->Help->setProperty("helpContext", 36);
  Ui->Help->setEnabled(false);
  Ui->IconBox->installEventFilter(this);
  Ui->IconBox->setFixedHeight(CellWidth + 1);

  connect(Ui->Ok, &QPushButton::clicked, this, &TEditBlockForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TEditBlockForm::reject);
  connect(Ui->Add, &QPushButton::clicked, this, &TEditBlockForm::AddClick);
  connect(Ui->Delete, &QPushButton::clicked, this, &TEditBlockForm::DeleteClick);
  connect(Ui->DefaultIconCheck, &QCheckBox::clicked, this, &TEditBlockForm::DefaultIconCheckClick);
  connect(Ui->SetAsStartBox, &QCheckBox::clicked, this, &TEditBlockForm::SetAsStartBoxClick);

  // What the block's edit operation does before showing the dialog.
  AddIconFile(request.IconFile);
  SetStartBlock(request.SetAsStart);

  // Showing it.
  Ui->SetAsStartBox->setChecked(StartFlag);
  ShowDefaultImage(StartFlag);
  const int selected = BlockIcons().IndexOf(IconFile);
  if (selected >= 0) SelectCell(selected);
  Ui->DefaultIconCheck->setChecked(selected < 0);
  UpdateControls();
  RebuildStrip();
  Ui->BlockEdit->setText(QString::fromStdString(request.Title));
  const bool idle = !IsRunActive();
  Ui->Ok->setEnabled(idle);
  Ui->Add->setEnabled(idle);
}

TEditBlockForm::~TEditBlockForm() = default;

void TEditBlockForm::AddIconFile(const std::string& name) {
  const int index = BlockIcons().AddIconFile(name);
  if (index < 0) {
    IconFile.clear();
    return;
  }
  IconFile = name;
}

void TEditBlockForm::SetStartBlock(bool start) {
  StartFlag = start;
  Ui->SetAsStartBox->setEnabled(!start);
}

int TEditBlockForm::GetIconFileCount() const { return BlockIcons().Count(); }

std::string TEditBlockForm::GetIconFile(int index) const { return BlockIcons().GetIconFile(index); }

void TEditBlockForm::accept() {
  const std::string title = Ui->BlockEdit->text().toStdString();
  if (title.empty()) return Refuse("You must enter a title");
  if (Ui->DefaultIconCheck->isChecked()) {
    IconFile.clear();
  } else if (BlockIcons().Count() == 0) {
    Ui->BlockEdit->clear();
    return Refuse("You add an icon or check Use Default Icon");
  } else {
    const int index = SelectedCell();
    if (index >= BlockIcons().Count()) return Refuse("Please choose an icon again");
    IconFile = BlockIcons().GetIconFile(index);
  }
  StartFlag = Ui->SetAsStartBox->isChecked();
  Request.Title = title;
  Request.IconFile = IconFile;
  Request.SetAsStart = StartFlag;
  QDialog::accept();
}

void TEditBlockForm::Refuse(const char* text) {
  UserDialogs().Message(this, MessageBoxOf(text, "", TMessageKind::Information));
}

void TEditBlockForm::AddClick() {
  TFileChoice choice;
  choice.Filter = IconFilter;
  if (!UserDialogs().ChooseFile(this, choice)) return;
  AddIconFile(choice.FileName);
  RebuildStrip();
  SelectCell(std::max(0, BlockIcons().IndexOf(IconFile)));
  UpdateControls();
  Ui->IconBox->update();
}

void TEditBlockForm::DeleteClick() {
  // A selection right of the last icon names no entry: nothing goes.
  if (!BlockIcons().Remove(SelectedCell())) return;
  RebuildStrip();
  SelectCell(0);
  UpdateControls();
  Ui->IconBox->update();
}

void TEditBlockForm::DefaultIconCheckClick() {
  UpdateControls();
  if (Ui->Delete->isEnabled()) SelectCell(0);
}

void TEditBlockForm::SetAsStartBoxClick() { ShowDefaultImage(Ui->SetAsStartBox->isChecked()); }

void TEditBlockForm::UpdateControls() {
  const bool useDefault = Ui->DefaultIconCheck->isChecked();
  Ui->DefaultImage->setVisible(useDefault);
  Ui->ScrollBox->setVisible(!useDefault);
  Ui->Add->setVisible(!useDefault);
  Ui->Delete->setVisible(!useDefault);
  // Without icons there is nothing to delete.
  Ui->Delete->setEnabled(BlockIcons().Count() > 0);
}

void TEditBlockForm::RebuildStrip() {
  const int count = BlockIcons().Count();
  if (count == 0) {
    Strip = QImage();
  } else {
    Strip = QImage(count * CellWidth, CellWidth, QImage::Format_ARGB32_Premultiplied);
    Strip.fill(palette().color(QPalette::Button));
    QPainter painter(&Strip);
    for (int i = 0; i < count; ++i)
      painter.drawImage(i * CellWidth, Pborderwidth, BlockIcons().Icon(i));
  }
  // The box is at least as wide as the strip; wider boxes leave space right of it.
  Ui->IconBox->setMinimumWidth(Strip.width());
  Ui->IconBox->update();
}

void TEditBlockForm::SelectCell(int cell) {
  Selection = QRect(cell * CellWidth, 0, CellWidth, CellWidth);
}

void TEditBlockForm::ShowDefaultImage(bool startBlock) {
  Ui->DefaultImage->setPixmap(QPixmap::fromImage(DefaultBlockIcon(startBlock)));
}

void TEditBlockForm::PaintIconBox() {
  if (Strip.isNull()) return;
  QPainter painter(Ui->IconBox);
  painter.drawImage(0, 0, Strip);
  painter.setPen(QPen(Qt::black, 2));
  painter.setBrush(Qt::NoBrush);
  // The outline inside the cell: a 2-pixel pen centred on the cell's edges would lose
  // half of it at the box's top and left.
  painter.drawRect(Selection.adjusted(1, 1, -1, -1));
}

bool TEditBlockForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Ui->IconBox) {
    if (event->type() == QEvent::Paint) {
      PaintIconBox();
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
      const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
      SelectCell(std::max(0, x) / CellWidth);
      Ui->IconBox->update();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
