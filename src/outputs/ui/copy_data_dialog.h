// "Copy Data To Clipboard": the row ranges offered by a window ("Series") and those chosen
// to copy ("Series To Copy"), moved between the lists by the arrow buttons or a double
// click, ordered by Move Up and Move Down, each chosen range's rows changed by "Edit
// Points"; and how the text is made ("Output", "Comma delimited", "Tab delimited").
// The table's Copy button and the graph's copy items use it through
// CopyRangesToClipboard.
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "outputs/copy_object.h"
#include "outputs/copy_text.h"

class QListWidget;
class QListWidgetItem;

namespace Ui {
class TCopyDataForm;
}

class TCopyDataForm : public QDialog {
  Q_OBJECT

public:
  explicit TCopyDataForm(QWidget* parent = nullptr);
  ~TCopyDataForm() override;

  // Empties both lists.
  void Clear();
  // Adds a range to "Series", shown by its range text.
  void Offer(const TCopyObject& range);
  // No range offered: "No data to copy" and false. One range offered, or takeAll: every
  // offered range is chosen first. Then the dialog runs; true for OK.
  bool Execute(bool takeAll);
  // The chosen ranges in their order, and how to copy them.
  std::vector<TCopyObject> Chosen() const;
  TCopyKind CopyKind() const;
  // The lines, each ended by CR LF, as the clipboard's text.
  static void PutOnClipboard(const std::vector<std::string>& lines);

  // The buttons and the menu item, for the window's user and for tests.
  void AddAllClick();
  void AddOneClick();
  void RemoveAllClick();
  void RemoveOneClick();
  void MoveUpClick();
  void MoveDownClick();
  // The row dialog for the first selected chosen range; its text follows the new rows.
  void EditPointsClick();

  QListWidget* SeriesBox() const;
  QListWidget* SeriesCopyBox() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Moves the items of from (only the selected ones unless all) to the end of to.
  void MoveItems(QListWidget* from, QListWidget* to, bool all);
  void MoveChosen(int step);
  TCopyObject& RangeOf(const QListWidgetItem* item);
  const TCopyObject& RangeOf(const QListWidgetItem* item) const;

  std::unique_ptr<Ui::TCopyDataForm> Ui;
  std::vector<TCopyObject> Ranges;  // the items' ranges, by the index each item carries
};

// The dialog over the offered ranges (every one chosen at once with takeAll): true on OK
// with at least one range chosen, ranges then holding the chosen ones in their order and
// kind the "Copy to clipboard as" choice; false, both unchanged, otherwise.
bool ChooseCopyRanges(QWidget* parent, std::vector<TCopyObject>& ranges, bool takeAll,
                      TCopyKind& kind);

// The whole copy of a window: the dialog over the offered ranges (all chosen at once with
// takeAll), then the chosen ranges' text of the chosen kind from source on the clipboard.
// Answers whether text reached the clipboard (not after Cancel, an empty choice, or the
// clipboard's size limit).
bool CopyRangesToClipboard(QWidget* parent, const std::vector<TCopyObject>& offered, bool takeAll,
                           const TCopyTextSource& source);
