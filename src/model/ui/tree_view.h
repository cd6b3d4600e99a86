// A tree view over a TTreeModel whose selection and expanded nodes are the core's: the
// core's TTree::SetSelected and TTreeNode::SetExpanded show in the view (a node the core
// selects is scrolled to, its collapsed parents opened in the tree too), and the user's
// selection, expanding and collapsing are written back into the tree. Presses and double
// clicks are reported with the node under the mouse.
#pragma once

#include <QTreeView>

class TTreeModel;
class TTreeNode;

class TCoreTreeView : public QTreeView {
  Q_OBJECT

public:
  // No header, one selected node, rows of one height, TTreeDelegate painting; a double
  // click reports the node instead of toggling it.
  explicit TCoreTreeView(QWidget* parent = nullptr);

  // Shows the model (none: nothing) and takes over the tree's selection and expanded
  // nodes. The view does not own the model.
  void SetTreeModel(TTreeModel* model);
  TTreeModel* TreeModel() const { return Model; }
  // Every node shown open, whatever the core's expanded state, and nothing the view does
  // collapses one (the main window's trees never collapse).
  void SetAlwaysExpanded(bool always);

  // The selected node; none without a selection.
  TTreeNode* SelectedNode() const;
  // The node at a point of the viewport; none over empty space.
  TTreeNode* NodeAt(const QPoint& point) const;

signals:
  // A mouse press, after the selection has followed it: the node under the mouse (none
  // over empty space) and the button.
  void NodePressed(TTreeNode* node, Qt::MouseButton button);
  void NodeDoubleClicked(TTreeNode* node);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  // The core's selection shown in the view.
  void ShowCoreSelection();
  void SelectIndex(const QModelIndex& index);
  // The core's expanded state of the node (and below it when deep) shown in the view.
  void ShowExpanded(const QModelIndex& index, bool deep);
  void UserSelectionChanged();
  void UserExpanded(const QModelIndex& index, bool expanded);

  TTreeModel* Model = nullptr;
  bool Syncing = false;
  bool AlwaysExpanded = false;  // the view follows the core: its signals are not the user's
};
