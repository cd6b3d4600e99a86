#include "shell/ui/debug_list_box.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMetaObject>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "outputs/ui/font_settings.h"

TDebugLogModel::TDebugLogModel(QObject* parent) : QAbstractListModel(parent) {}

TDebugLogModel::~TDebugLogModel() {
  if (Plog) Plog->RemoveListener(this);
}

void TDebugLogModel::SetLog(TDebugLog* log) {
  if (log == Plog) return;
  beginResetModel();
  if (Plog) Plog->RemoveListener(this);
  Plog = log;
  if (Plog) Plog->AddListener(this);
  Rows = Plog ? Plog->Count() : 0;
  endResetModel();
}

int TDebugLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Rows;
}

QVariant TDebugLogModel::data(const QModelIndex& index, int role) const {
  if (!Plog || !index.isValid() || index.row() >= Rows) return {};
  const TDebugFormat& line = Plog->Line(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(line.Text);
    case Qt::ForegroundRole:
      return ColorOf(static_cast<std::int32_t>(line.Colour));
    case StyleRole:
      return static_cast<int>(line.Style);
    default:
      return {};
  }
}

void TDebugLogModel::LinesAdded(int, int) {
  // The log already holds the lines; the views learn of them between begin and end. All
  // the lines not yet announced, so that a line added while another listener is told
  // cannot leave a gap.
  const int count = Plog->Count();
  if (count <= Rows) return;
  beginInsertRows(QModelIndex(), Rows, count - 1);
  Rows = count;
  endInsertRows();
}

void TDebugLogModel::LogCleared() {
  beginResetModel();
  Rows = 0;
  endResetModel();
}

QFont TDebugLineDelegate::StyledFont(const QFont& base, int style) {
  QFont font = base;
  switch (style) {
    case DebugStyleBold:
      font.setBold(true);
      break;
    case DebugStyleItalic:
      font.setItalic(true);
      break;
    case DebugStyleUnderline:
      font.setUnderline(true);
      break;
    case DebugStyleStrikeOut:
      font.setStrikeOut(true);
      break;
    default:
      break;
  }
  return font;
}

void TDebugLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  painter->save();
  // The row spans the whole width however long the line is.
  QRect row = option.rect;
  if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
    row.setRight(std::max(row.right(), view->viewport()->width() - 1));
  const bool selected = option.state & QStyle::State_Selected;
  if (selected) painter->fillRect(row, option.palette.highlight());
  const QFont font = StyledFont(option.font, index.data(TDebugLogModel::StyleRole).toInt());
  painter->setFont(font);
  const QColor colour = index.data(Qt::ForegroundRole).value<QColor>();
  painter->setPen(selected ? option.palette.highlightedText().color()
                           : (colour.isValid() ? colour : QColor(Qt::black)));
  // At the row's top-left corner, unclipped by the item's own width.
  painter->drawText(QPoint(row.left() + 2, row.top() + QFontMetrics(font).ascent()),
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QSize TDebugLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  // Every row alike: no line is measured, however many there are.
  int width = 1;
  if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
    width = std::max(1, view->viewport()->width());
  return {width, QFontMetrics(option.font).height()};
}

TDebugListBox::TDebugListBox(QWidget* parent) : QListView(parent), Model(new TDebugLogModel(this)) {
  setUniformItemSizes(true);
  setVerticalScrollMode(ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setEditTriggers(NoEditTriggers);
  setSelectionMode(SingleSelection);
  setItemDelegate(new TDebugLineDelegate(this));
  Model->SetLog(Plog);
  setModel(Model);
  connect(Model, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex&, int first, int) { LinesInserted(first); });
  connect(Model, &QAbstractItemModel::modelReset, this, [this] { PendingTop = -1; });
}

TDebugListBox::~TDebugListBox() {
  // The model may outlive this object's members for a moment: let go of the log first.
  Model->SetLog(nullptr);
}

void TDebugListBox::SetLog(TDebugLog* log) {
  Plog = log ? log : &OwnLog;
  Model->SetLog(Plog);
}

void TDebugListBox::AddOutput(const std::string& text, std::uint32_t colour, std::int8_t style) {
  Plog->Add(text, colour, style);
}

int TDebugListBox::ItemHeight() const { return QFontMetrics(font()).height(); }

int TDebugListBox::TopIndex() const {
  if (PendingTop >= 0) return PendingTop;
  const QModelIndex top = indexAt(QPoint(1, 1));
  return top.isValid() ? top.row() : 0;
}

int TDebugListBox::VisibleLines() const {
  return std::max(0, viewport()->height() / std::max(1, ItemHeight()));
}

void TDebugListBox::LinesInserted(int first) {
  if (!ScrollOutput) return;
  const int count = Model->rowCount();
  if (static_cast<long long>(count - TopIndex()) * ItemHeight() < viewport()->height()) return;
  // The top line as far as the list can scroll. It is set once, after all the lines
  // added meanwhile: laying the rows out for every line would cost the whole log's
  // length each time.
  if (PendingTop < 0)
    QMetaObject::invokeMethod(this, &TDebugListBox::ApplyPendingTop, Qt::QueuedConnection);
  PendingTop = std::clamp(first, 0, std::max(0, count - VisibleLines()));
}

void TDebugListBox::ApplyPendingTop() {
  if (PendingTop < 0) return;
  const int top = PendingTop;
  PendingTop = -1;
  executeDelayedItemsLayout();
  if (top < Model->rowCount()) scrollTo(Model->index(top, 0), PositionAtTop);
}

void TDebugListBox::changeEvent(QEvent* event) {
  QListView::changeEvent(event);
  // The rows' height follows the font.
  if (event->type() == QEvent::FontChange) scheduleDelayedItemsLayout();
}
