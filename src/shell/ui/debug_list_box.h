// The debug window's output log on screen: a list of one fixed-height row per log line,
// each drawn in its colour and font style at its row's top-left corner. It follows its
// TDebugLog however the lines arrive (AddOutput here, or the run writing to the log), and
// with Scroll Output on keeps the newest lines in view.
#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <cstdint>
#include <string>

#include "shell/debug_log.h"

// A log as rows: text for Qt::DisplayRole, the colour for Qt::ForegroundRole and the
// font-style index for StyleRole. Rows are read from the log as they are drawn.
class TDebugLogModel final : public QAbstractListModel, private TDebugLogListener {
  Q_OBJECT

public:
  enum { StyleRole = Qt::UserRole + 1 };

  explicit TDebugLogModel(QObject* parent = nullptr);
  ~TDebugLogModel() override;

  // The log shown (none: no rows); it must outlive the model or be replaced first.
  void SetLog(TDebugLog* log);
  TDebugLog* Log() const { return Plog; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
  void LinesAdded(int first, int count) override;
  void LogCleared() override;

  TDebugLog* Plog = nullptr;
  int Rows = 0;  // the rows announced to the views so far
};

// Draws a row as the log line it is: its colour, its style added to the view's font.
class TDebugLineDelegate final : public QStyledItemDelegate {
  Q_OBJECT

public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The font of a line of the style on base: 0 bold, 1 italic, 2 underline, 3 strike-out;
  // any other style leaves base as it is.
  static QFont StyledFont(const QFont& base, int style);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class TDebugListBox final : public QListView {
  Q_OBJECT

public:
  explicit TDebugListBox(QWidget* parent = nullptr);
  ~TDebugListBox() override;

  // The log shown and written by AddOutput: the list's own until another is given (none
  // goes back to the list's own). A given log must outlive the list or be replaced first.
  void SetLog(TDebugLog* log);
  TDebugLog& Log() const { return *Plog; }

  // Appends a line to the log; the list follows as for any line the log gains.
  void AddOutput(const std::string& text, std::uint32_t colour, std::int8_t style);

  // With Scroll Output on (the default), when the lines from the top line to the end
  // fill the list (their count × the item height is at least the list's height), the
  // first line of each addition becomes the top line as far as the list can scroll.
  // Off, the scroll position stays where it is.
  void SetScrollOutput(bool on) { ScrollOutput = on; }
  bool GetScrollOutput() const { return ScrollOutput; }

  // The fixed height of every row, from the list's font.
  int ItemHeight() const;
  // The row shown at the top, or to be shown once the list has served its events after
  // the lines added last; 0 for an empty list.
  int TopIndex() const;
  // The lines that fit in the list whole.
  int VisibleLines() const;

protected:
  void changeEvent(QEvent* event) override;

private:
  void LinesInserted(int first);
  void ApplyPendingTop();

  TDebugLog OwnLog;
  TDebugLog* Plog = &OwnLog;
  TDebugLogModel* Model;
  bool ScrollOutput = true;
  int PendingTop = -1;  // the top line to scroll to when events are next served; -1 none
};
