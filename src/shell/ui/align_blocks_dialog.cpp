#include "shell/ui/align_blocks_dialog.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QShowEvent>

#include "shell/draw_parts.h"
#include "ui_align_blocks_dialog.h"

TAlignBlocksForm::TAlignBlocksForm(QWidget* parent)
    : QDialog(parent),
      Ui(std::make_unique<Ui::TAlignBlocksForm>()),
      HortItems(new QButtonGroup(this)),
      VertItems(new QButtonGroup(this)) {
  Ui->setupUi(this);
  const int unit = Ui->OK->sizeHint().height();
  resize(10 * unit, 11 * unit);
  // F1 and Help open the help at the dialog's context; the help wiring enables Help.
  setProperty("helpContext", 49);
  Ui->Help->setProperty("helpContext", 49);
  Ui->Help->setEnabled(false);
  // The item indexes are the core's choices.
  int id = 0;
  for (QRadioButton* item :
       {Ui->HortNoChange, Ui->HortLeftSides, Ui->HortRightSides, Ui->HortCenters})
    HortItems->addButton(item, id++);
  id = 0;
  for (QRadioButton* item : {Ui->VertNoChange, Ui->VertTops, Ui->VertBottoms, Ui->VertCenters})
    VertItems->addButton(item, id++);
  Ui->HortNoChange->setChecked(true);
  Ui->VertNoChange->setChecked(true);
  connect(Ui->OK, &QPushButton::clicked, this, &TAlignBlocksForm::accept);
  connect(Ui->Cancel, &QPushButton::clicked, this, &TAlignBlocksForm::reject);
}

TAlignBlocksForm::~TAlignBlocksForm() = default;

int TAlignBlocksForm::Horizontal() const { return HortItems->checkedId(); }

int TAlignBlocksForm::Vertical() const { return VertItems->checkedId(); }

void TAlignBlocksForm::showEvent(QShowEvent* event) {
  // A window coming back from the task bar is no new showing.
  if (!event->spontaneous()) {
    Ui->HortNoChange->setChecked(true);
    Ui->VertNoChange->setChecked(true);
  }
  QDialog::showEvent(event);
}

bool AlignBlocks(TDrawParts& parts, QWidget* parent) {
  TAlignBlocksForm form(parent);
  if (form.exec() != QDialog::Accepted) return false;
  parts.AlignSelection(form.Vertical(), form.Horizontal());
  return true;
}
