// Paints a tree model's rows as the style does (text, colour, font and image come from
// the standard roles), then the mark no standard role carries: an arrow just after the
// text of the command a paused run executes next; a row's extra indentation moves it
// right. It reads only the model's roles.
#pragma once

#include <QStyledItemDelegate>

class TTreeDelegate final : public QStyledItemDelegate {
  Q_OBJECT

public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Where the marks of a row go: one square of the row's height per mark, left to right,
  // from just after the text. Empty without marks.
  QRect MarksRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
  // The option moved right by the row's extra indentation.
  QStyleOptionViewItem Indented(const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
