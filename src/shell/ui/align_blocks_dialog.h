// "Align": how the multiselected boxes of the block diagram line up with the first one
// selected. Every showing starts from "No Change" in both groups.
#pragma once

#include <QDialog>

#include <memory>

class QButtonGroup;
class TDrawParts;

namespace Ui {
class TAlignBlocksForm;
}

class TAlignBlocksForm : public QDialog {
  Q_OBJECT

public:
  explicit TAlignBlocksForm(QWidget* parent = nullptr);
  ~TAlignBlocksForm() override;

  // The item chosen in "Hortizontal ": 0 no change, 1 left sides, 2 right sides,
  // 3 centres.
  int Horizontal() const;
  // The item chosen in "Vertical": 0 no change, 1 tops, 2 bottoms, 3 centres.
  int Vertical() const;

protected:
  void showEvent(QShowEvent* event) override;

private:
  std::unique_ptr<Ui::TAlignBlocksForm> Ui;
  QButtonGroup* HortItems;
  QButtonGroup* VertItems;
};

// The editor's "Align Blocks": the Align dialog, shown modally above parent; on OK the
// diagram aligns its multiselection with the choices (TDrawParts::AlignSelection, which
// answers "Nothing to align" itself). Answers whether OK was pressed.
bool AlignBlocks(TDrawParts& parts, QWidget* parent);
