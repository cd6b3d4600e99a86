#include "model/ui/tree_view.h"

#include <QMouseEvent>
#include <QScopedValueRollback>

#include "model/tree_node.h"
#include "model/ui/tree_delegate.h"
#include "model/ui/tree_model.h"

TCoreTreeView::TCoreTreeView(QWidget* parent) : QTreeView(parent) {
  setHeaderHidden(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setUniformRowHeights(true);  // an experiment may hold 100,000 commands
  setExpandsOnDoubleClick(false);  // a double click edits the node's object
  setItemDelegate(new TTreeDelegate(this));
  connect(this, &QTreeView::expanded, this,
          [this](const QModelIndex& index) { UserExpanded(index, true); });
  connect(this, &QTreeView::collapsed, this,
          [this](const QModelIndex& index) { UserExpanded(index, false); });
}

void TCoreTreeView::SetTreeModel(TTreeModel* model) {
  if (Model) disconnect(Model, nullptr, this, nullptr);
  Model = model;
  {
    QScopedValueRollback syncing(Syncing, true);
    setModel(model);
  }
  if (!model) return;
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { UserSelectionChanged(); });
  connect(model, &TTreeModel::CoreSelectionChanged, this, [this] { ShowCoreSelection(); });
  connect(model, &TTreeModel::CoreNodeChanged, this,
          [this](const QModelIndex& index) { ShowExpanded(index, false); });
  connect(model, &QAbstractItemModel::rowsInserted, this,
          [this](const QModelIndex& parent, int first, int last) {
            ShowExpanded(parent, false);
            for (int row = first; row <= last; ++row)
              ShowExpanded(Model->index(row, 0, parent), true);
          });
  connect(model, &QAbstractItemModel::rowsMoved, this,
          [this](const QModelIndex&, int, int, const QModelIndex& destination) {
            // A moved node keeps its expanded state in the view as in the tree.
            ShowExpanded(destination, false);
            ShowCoreSelection();
          });
  connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { ShowCoreSelection(); });
  connect(model, &QAbstractItemModel::layoutChanged, this, [this] { ShowCoreSelection(); });
  connect(model, &QAbstractItemModel::modelReset, this, [this] {
    ShowExpanded({}, true);
    ShowCoreSelection();
  });
  ShowExpanded({}, true);
  ShowCoreSelection();
}

TTreeNode* TCoreTreeView::SelectedNode() const {
  if (!Model || !selectionModel()) return nullptr;
  const QModelIndexList selected = selectionModel()->selectedRows();
  return selected.isEmpty() ? nullptr : Model->NodeOf(selected.front());
}

TTreeNode* TCoreTreeView::NodeAt(const QPoint& point) const {
  return Model ? Model->NodeOf(indexAt(point)) : nullptr;
}

void TCoreTreeView::mousePressEvent(QMouseEvent* event) {
  QTreeView::mousePressEvent(event);
  emit NodePressed(NodeAt(event->position().toPoint()), event->button());
}

void TCoreTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (TTreeNode* node = NodeAt(event->position().toPoint())) emit NodeDoubleClicked(node);
}

void TCoreTreeView::ShowCoreSelection() {
  if (!Model || !Model->Tree()) return;
  TTreeNode* selected = Model->Tree()->GetSelected();
  if (SelectedNode() != selected) SelectIndex(Model->IndexOf(selected));
}

void TCoreTreeView::SelectIndex(const QModelIndex& index) {
  if (!index.isValid()) {
    QScopedValueRollback syncing(Syncing, true);
    selectionModel()->clear();
    return;
  }
  // A selected node is shown: its collapsed parents open, in the tree as in the view.
  for (TTreeNode* parent = Model->NodeOf(index)->GetParent(); parent; parent = parent->GetParent())
    if (!parent->GetExpanded()) parent->SetExpanded(true);
  QScopedValueRollback syncing(Syncing, true);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
  scrollTo(index);
}

void TCoreTreeView::SetAlwaysExpanded(bool always) {
  AlwaysExpanded = always;
  ShowExpanded({}, true);
}

void TCoreTreeView::ShowExpanded(const QModelIndex& index, bool deep) {
  if (!Model) return;
  if (TTreeNode* node = Model->NodeOf(index)) {
    const bool expanded = AlwaysExpanded || node->GetExpanded();
    if (isExpanded(index) != expanded) {
      QScopedValueRollback syncing(Syncing, true);
      setExpanded(index, expanded);
    }
  }
  if (!deep) return;
  const int rows = Model->rowCount(index);
  for (int row = 0; row < rows; ++row) ShowExpanded(Model->index(row, 0, index), true);
}

void TCoreTreeView::UserSelectionChanged() {
  if (Syncing || !Model || !Model->Tree() || Model->IsChanging()) return;
  TTreeNode* selected = SelectedNode();
  if (Model->Tree()->GetSelected() == selected) return;
  QScopedValueRollback syncing(Syncing, true);
  Model->Tree()->SetSelected(selected);
}

void TCoreTreeView::UserExpanded(const QModelIndex& index, bool expanded) {
  if (Syncing || !Model || Model->IsChanging()) return;
  if (AlwaysExpanded) {
    // Whatever collapsed the node (the view's own calls), it opens again.
    if (!expanded) {
      QScopedValueRollback syncing(Syncing, true);
      expand(index);
    }
    return;
  }
  TTreeNode* node = Model->NodeOf(index);
  if (!node || node->GetExpanded() == expanded) return;
  QScopedValueRollback syncing(Syncing, true);
  node->SetExpanded(expanded);
}
