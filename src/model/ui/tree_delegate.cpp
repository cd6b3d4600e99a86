#include "model/ui/tree_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QTreeView>

#include <bit>
#include <cmath>

#include "model/node_style.h"
#include "model/ui/tree_model.h"

namespace {

constexpr unsigned paintedMarks = nmPaused;
constexpr int markGap = 2;

unsigned MarksOf(const QModelIndex& index) {
  return index.data(TTreeModel::MarksRole).toUInt() & paintedMarks;
}

int IndentationOf(const QStyleOptionViewItem& option) {
  const auto* tree = qobject_cast<const QTreeView*>(option.widget);
  return tree ? tree->indentation() : 20;
}

// A green arrow pointing at the text: the run goes on from here.
void PaintPaused(QPainter& painter, const QRectF& square) {
  const double inset = square.width() / 8.0;
  const QRectF box = square.adjusted(inset, inset, -inset, -inset);
  const double middle = box.center().y();
  QPainterPath arrow;
  arrow.moveTo(box.left(), middle - box.height() / 5.0);
  arrow.lineTo(box.center().x(), middle - box.height() / 5.0);
  arrow.lineTo(box.center().x(), box.top());
  arrow.lineTo(box.right(), middle);
  arrow.lineTo(box.center().x(), box.bottom());
  arrow.lineTo(box.center().x(), middle + box.height() / 5.0);
  arrow.lineTo(box.left(), middle + box.height() / 5.0);
  arrow.closeSubpath();
  painter.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 1.0));
  painter.setBrush(QColor(0x43, 0xa0, 0x47));
  painter.drawPath(arrow);
}

}  // namespace

QStyleOptionViewItem TTreeDelegate::Indented(const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
  QStyleOptionViewItem moved(option);
  const int indent = index.data(TTreeModel::IndentRole).toInt();
  if (indent > 0) moved.rect.setLeft(moved.rect.left() + indent * IndentationOf(option));
  return moved;
}

QRect TTreeDelegate::MarksRect(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int count = std::popcount(MarksOf(index));
  if (count == 0) return {};
  QStyleOptionViewItem item = Indented(option, index);
  initStyleOption(&item, index);
  const QWidget* widget = item.widget;
  const QStyle* style = widget ? widget->style() : QApplication::style();
  const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const int side = std::max(6, item.rect.height() - 4);
  const int width = count * side + (count - 1) * markGap;
  int left = textRect.left() + margin + QFontMetrics(item.font).horizontalAdvance(item.text) +
             margin + markGap;
  // A narrow row keeps the marks in sight over the end of the text.
  left = std::max(textRect.left(), std::min(left, item.rect.right() + 1 - width));
  return QRect(left, item.rect.top() + (item.rect.height() - side) / 2, width, side);
}

void TTreeDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  const QStyleOptionViewItem item = Indented(option, index);
  QStyledItemDelegate::paint(painter, item, index);
  const unsigned marks = MarksOf(index);
  if (marks == 0) return;
  const QRect area = MarksRect(option, index);
  const int side = area.height();
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  if (marks & nmPaused) PaintPaused(*painter, QRectF(area.left(), area.top(), side, side));
  painter->restore();
}

QSize TTreeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  const int indent = index.data(TTreeModel::IndentRole).toInt();
  if (indent > 0) size.rwidth() += indent * IndentationOf(option);
  const int count = std::popcount(MarksOf(index));
  if (count > 0) size.rwidth() += count * (size.height() - 4 + markGap) + markGap;
  return size;
}
