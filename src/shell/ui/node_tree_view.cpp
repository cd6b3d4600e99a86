#include "shell/ui/node_tree_view.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "model/ui/tree_model.h"

TNodeTreeView::TNodeTreeView(QWidget* parent) : TCoreTreeView(parent) {
  setItemsExpandable(false);  // the trees never collapse
  SetAlwaysExpanded(true);
  setRootIsDecorated(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(false);  // drags are the view's own mouse tracking, not QDrag

  Label = new QLabel(viewport());
  Label->setObjectName("DragLabel");
  Label->setFrameShape(QFrame::Box);
  Label->setAutoFillBackground(true);
  Label->setMargin(2);
  Label->hide();
}

void TNodeTreeView::SetTreeModel(TTreeModel* model) {
  ResetPress();
  TCoreTreeView::SetTreeModel(model);
}

TTreeNode* TNodeTreeView::GestureNode(const QPoint& point, bool doubleClick) {
  auto near = [&](const TPress& press) {
    return press.Valid &&
           (press.Point - point).manhattanLength() <= QApplication::startDragDistance();
  };
  const TPress* press = nullptr;
  if (doubleClick && near(PressBefore))
    press = &PressBefore;
  else if (near(LastPress))
    press = &LastPress;
  TTreeNode* node = nullptr;
  if (!press)
    node = NodeAt(point);
  else if (press->Index.isValid() && TreeModel())
    node = TreeModel()->NodeOf(press->Index);
  LastPress = PressBefore = TPress();
  return node;
}

void TNodeTreeView::ResetPress() {
  Pressed = Dragging = Accepted = false;
  Label->hide();
  unsetCursor();
}

void TNodeTreeView::mousePressEvent(QMouseEvent* event) {
  ResetPress();
  setFocus(Qt::MouseFocusReason);
  // The view selects the row (and the core follows); the handler then decides the rest.
  QTreeView::mousePressEvent(event);
  TTreeNode* node = NodeAt(event->position().toPoint());
  PressBefore = LastPress;
  LastPress = {QPersistentModelIndex(indexAt(event->position().toPoint())),
               event->position().toPoint(), true};
  if (Handler) Handler->TreePressed(node, event->button());
  Pressed = node && event->button() == Qt::LeftButton;
}

void TNodeTreeView::mouseMoveEvent(QMouseEvent* event) {
  if (!Pressed || !(event->buttons() & Qt::LeftButton) || !Handler) return;
  const QPoint pos = event->position().toPoint();
  if (!Dragging) {
    if ((pos - LastPress.Point).manhattanLength() < DragThreshold) return;
    // The press's node as it is now: the handler may have changed the tree since.
    TTreeNode* pressed = TreeModel() ? TreeModel()->NodeOf(LastPress.Index) : nullptr;
    const QString text = pressed ? Handler->TreeDragStart(pressed) : QString();
    if (text.isEmpty()) {
      ResetPress();
      return;
    }
    Dragging = true;
    Label->setText(text);
    Label->adjustSize();
    Label->resize(Label->width() + 5, Label->height() + 5);
  }
  Accepted = Handler->TreeDragOver(NodeAt(pos));
  Label->move(pos + QPoint(5, 5));
  Label->show();
  Label->raise();
  setCursor(Accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void TNodeTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (Dragging && Handler) {
    TTreeNode* node = NodeAt(event->position().toPoint());
    const bool accepted = Handler->TreeDragOver(node);
    ResetPress();
    Handler->TreeDragEnd(node, accepted);
    return;
  }
  ResetPress();
  QTreeView::mouseReleaseEvent(event);
}

void TNodeTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  ResetPress();
  TTreeNode* node = GestureNode(event->position().toPoint(), true);
  if (Handler && node && event->button() == Qt::LeftButton) Handler->TreeDoubleClicked(node);
}

void TNodeTreeView::contextMenuEvent(QContextMenuEvent* event) {
  ResetPress();
  // From the keyboard the menu is the selected node's.
  TTreeNode* node = event->reason() == QContextMenuEvent::Mouse ? GestureNode(event->pos(), false)
                                                                : SelectedNode();
  if (Handler) Handler->TreeContextMenu(node, event->globalPos());
}

void TNodeTreeView::keyPressEvent(QKeyEvent* event) {
  if (Dragging && event->key() == Qt::Key_Escape) {
    ResetPress();
    if (Handler) Handler->TreeDragEnd(nullptr, false);
    return;
  }
  const QRect selected = visualRect(currentIndex());
  const bool over =
      selected.isValid() &&
      selected.adjusted(0, 0, 1, 1).contains(viewport()->mapFromGlobal(QCursor::pos()));
  if (Handler && Handler->TreeKey(event, over)) return;
  QTreeView::keyPressEvent(event);
}
