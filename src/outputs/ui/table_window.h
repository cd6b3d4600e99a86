// The window of the table: the output's channels and the pasted and imported data sets
// as X/Y column pairs in a grid over every row, which follows the newest row while "Auto
// Scroll" is on. The data sets, their records and files are the form's; the window shows
// them and turns the user's clicks into the form's operations.
#pragma once

#include <QStringList>
#include <QTimer>

#include <cstdint>

#include "outputs/ui/output_window.h"

class QMenu;
class QTableView;
class QToolBar;
class QToolButton;
class TTableForm;
class TTableModel;
class TTablePrinter;

class TTableWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TTableWindow(TTableForm& form);

  // The grid and its model (tests, printing).
  QTableView* Grid() const { return View; }
  TTableModel* Model() const { return Rows; }

  // "Auto Scroll" and the Scroll button: the check turns over; on, the newest row comes
  // into view at once and is followed.
  void AutoScrollClick();
  // "Warning, you will lose all your data ..." (Yes, No); Yes empties every data set.
  void ClearClick() override;
  // "Save As Type": the rows as comma or tab delimited text.
  void CommaTextClick();
  void TabTextClick();
  void RefreshTableClick();
  // The Copy button and "&Copy To Clipboard": the copy dialog over a range of every data
  // set with points, the chosen ranges' text on the clipboard.
  void CopyButtonClick();
  // The Print button and "&Print": the columns chosen, the print dialog, then the table
  // printed while the print-status window shows its pages.
  void PrintClick();
  // "Labels": the title (the window's name), the table's font, and the data sets' names,
  // headers and shown columns.
  void LabelsClick();
  // The table's print job (tests follow its pages).
  TTablePrinter* Printer() const { return TablePrinter; }

  // The column menu's items: hide a column of the grid; delete the plain data set at a
  // position after "You are about to delete ..." (Yes, No); move a plain data set: the
  // next click on a plain data set's column puts it there (Escape or a click elsewhere
  // gives up).
  void HideColumnClick(int column);
  void DeleteDataSetClick(std::int32_t set);
  void MoveDataSetClick(std::int32_t set);
  // Fills the menu of a column ("Hide Column", "Move Data Set", "Delete Data Set", the
  // last two only for a plain data set); false, and nothing added, outside the columns.
  bool FillColumnMenu(QMenu& menu, int column);
  // The set being moved; -1 when none is.
  std::int32_t MovingDataSet() const { return Moving; }
  // Drops the set being moved on the column: true when it moved there.
  bool DropMovingDataSet(int column);

  // Showing a live window makes it follow again when "Auto Scroll" is checked (a run's
  // start and end bring the windows to the front).
  void ShowRequested(TOutputForm& form) override;

  // The Scroll button's image: 3 while "Auto Scroll" is checked, 2 when not.
  int ScrollImage() const { return ShownImage; }
  bool IsFollowing() const { return FollowTimer.isActive(); }

  // How often the newest row is brought into view while following.
  static constexpr int FollowIntervalMs = 500;

protected:
  void Refresh() override;
  void AfterOffLine() override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildToolBar();
  void BuildMenus();
  void BuildGrid();
  // The check, the Scroll button's image and hint, and the timer from the form's state.
  void ShowScrollState();
  // Live windows have the scroll controls; detached ones do not.
  void ShowScrollControls();
  // The timer's step: brings the newest row into view when rows came since the last.
  void FollowNewest();
  // Brings the newest row into view while auto scroll is on (the program's own scroll,
  // not the user's).
  void BringNewestIntoView(bool always);
  // The grid moved: when it was the user, during a run, away from the newest row, auto
  // scroll goes off.
  void GridScrolled(int value);
  // The grid keys move from the rows in view: the current cell, when it is out of view
  // (the grid followed the newest rows), comes to the last row shown first.
  void KeysFromWhatIsShown();
  void ColumnMenuRequested(const QPoint& at, int column);
  // Column widths that fit the headers and the numbers of the window's format.
  void FitColumns();
  void EndMove();

  // The screen width of a data set's column in the grid; -1 when the grid does not show it.
  int ShownColumnWidth(std::int32_t set, bool x) const;

  TTableForm& Kind;
  TTablePrinter* TablePrinter = nullptr;
  TTableModel* Rows = nullptr;
  QTableView* View = nullptr;
  QToolBar* Tools = nullptr;
  QToolButton* SaveButton = nullptr;
  QToolButton* PasteButton = nullptr;
  QToolButton* CopyButton = nullptr;
  QToolButton* ScrollButton = nullptr;
  QToolButton* PrintButton = nullptr;
  QToolButton* HelpButton = nullptr;
  QAction* ScrollButtonAction = nullptr;
  QMenu* SaveAsTypeMenu = nullptr;
  QAction* CommaTextItem = nullptr;
  QAction* TabTextItem = nullptr;
  QAction* MatLabItem = nullptr;
  QAction* RefreshItem = nullptr;
  QAction* PrintItem = nullptr;
  QAction* LabelsItem = nullptr;
  QAction* AutoScrollItem = nullptr;
  QAction* TableHelpItem = nullptr;
  QTimer FollowTimer;
  int ShownImage = 0;
  bool OwnScroll = false;
  int FollowedRows = -1;  // the rows there were when the newest was last brought into view
  std::int32_t Moving = -1;
  // What the column widths were fitted to: the headers and the number format.
  QStringList FittedTo;
};
