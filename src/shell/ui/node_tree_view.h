// A tree view over the core's tree nodes (the experiment tree, the attribute tree): it
// never collapses, reports presses, double clicks, context menus and keys to its
// handler, and drags a node with the mouse once it has moved 10 pixels, showing a small
// floating label with the node's text. The handler (the main window, through the core)
// decides what each of these does; the view keeps only the press and drag state.
#pragma once

#include <QPersistentModelIndex>
#include <QPoint>
#include <QString>

#include "model/ui/tree_view.h"

class QKeyEvent;
class QLabel;
class TTreeNode;

class TNodeTreeHandler {
public:
  virtual ~TNodeTreeHandler() = default;
  // A press on a node (none on empty space); double clicks come on their own.
  virtual void TreePressed(TTreeNode* node, Qt::MouseButton button) = 0;
  virtual void TreeDoubleClicked(TTreeNode* node) = 0;
  virtual void TreeContextMenu(TTreeNode* node, const QPoint& globalPos) = 0;
  // A drag is about to start on the node: the floating label's text, or empty to refuse.
  virtual QString TreeDragStart(TTreeNode* node) { (void)node; return {}; }
  // The mouse is over the node (none: below every node) during a drag: accepted?
  virtual bool TreeDragOver(TTreeNode* node) { (void)node; return false; }
  // The drag ended over the node (none: below every node); accepted as the last
  // TreeDragOver answered, false for a drag given up with Escape.
  virtual void TreeDragEnd(TTreeNode* node, bool accepted) { (void)node, (void)accepted; }
  // A key on the tree; pointerOverSelection tells whether the mouse pointer lies inside
  // the selected node's rectangle. Answers whether the key was used.
  virtual bool TreeKey(QKeyEvent* event, bool pointerOverSelection) = 0;
};

class TNodeTreeView : public TCoreTreeView {
  Q_OBJECT

public:
  // The distance the mouse must move with a button held before a drag starts.
  static constexpr int DragThreshold = 10;

  explicit TNodeTreeView(QWidget* parent = nullptr);

  void SetHandler(TNodeTreeHandler* handler) { Handler = handler; }
  // Shows the model (every node stays expanded); a press in progress is forgotten.
  void SetTreeModel(TTreeModel* model);
  // True while a drag is under way; its label is then visible.
  bool IsDragging() const { return Dragging; }
  QLabel* DragLabel() const { return Label; }

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // No expand or collapse marks: the trees never collapse.
  void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
  // Forgets the press and hides the label: after a drop, Escape, or a menu or dialog
  // opened from the view, so no stale node is kept.
  void ResetPress();

  // A press's node, kept across the changes its handler makes: a press that makes
  // another block current moves the blank line, and the rows below move with it, so the
  // menu or the double click that ends the gesture must not look at its point again (it
  // would find the next row's node). Invalid once the node is gone.
  struct TPress {
    QPersistentModelIndex Index;
    QPoint Point;
    bool Valid = false;
  };
  // The node that the gesture ending at the point began on: the earliest of the last two
  // presses made there (a double click's second press already sees the moved rows),
  // else the node at the point. Forgets both presses.
  TTreeNode* GestureNode(const QPoint& point, bool doubleClick);

  TNodeTreeHandler* Handler = nullptr;
  QLabel* Label = nullptr;
  TPress LastPress;
  TPress PressBefore;  // the press before LastPress
  bool Pressed = false;  // the left button went down on a node: a drag may follow
  bool Dragging = false;
  bool Accepted = false;
};
