// "Edit Experiment Block": a block's title, its icon and whether it is the start block.
// The icon is one of the program's added icon files (BlockIcons(), shown as a strip of
// 36-pixel cells) or the default icon. Opened for the core's TEditBlockRequest (the
// block's edit operation), which it fills from and writes back to on OK only.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>

#include <memory>
#include <string>

#include "model/block.h"

namespace Ui {
class TEditBlockForm;
}

class TEditBlockForm : public QDialog {
  Q_OBJECT

public:
  // The cell of the strip: the icon with a border of Pborderwidth on each side.
  static constexpr int Pborderwidth = 2;
  static constexpr int Piconwidth = 32;
  static constexpr int CellWidth = 2 * Pborderwidth + Piconwidth;

  // Shows the request's title, icon file and start flag. An icon file that exists and is
  // not listed yet joins the program's icon list.
  TEditBlockForm(TEditBlockRequest& request, QWidget* parent = nullptr);
  ~TEditBlockForm() override;

  // A name whose file does not exist (or cannot be read as a picture) only clears the
  // icon file; any other joins the icon list when not in it (once) and becomes the icon
  // file.
  void AddIconFile(const std::string& name);
  // The start flag; "Set As Start" can be changed only for a block that is not the start
  // block already.
  void SetStartBlock(bool start);
  int GetIconFileCount() const;
  // Empty for an index outside the list.
  std::string GetIconFile(int index) const;

  // The cell selected (left edge / 36); may lie right of the last icon after a click
  // there.
  int SelectedCell() const { return Selection.left() / CellWidth; }

  // Checks the entries; a refusal shows its message and leaves the dialog open.
  // Accepted, the request gets the title, the icon file and the start flag.
  void accept() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void AddClick();
  void DeleteClick();
  void DefaultIconCheckClick();
  void SetAsStartBoxClick();
  void UpdateControls();
  void RebuildStrip();
  void SelectCell(int cell);
  void ShowDefaultImage(bool startBlock);
  void PaintIconBox();
  void Refuse(const char* text);

  std::unique_ptr<Ui::TEditBlockForm> Ui;
  TEditBlockRequest& Request;
  QImage Strip;     // the added icons side by side; null while there are none
  QRect Selection;  // in strip coordinates
  std::string IconFile;
  bool StartFlag = false;
};
