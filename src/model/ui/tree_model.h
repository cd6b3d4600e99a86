// A QAbstractItemModel over a tree the core owns (the experiment tree, the attribute
// tree, the debug window's tree): one column, an index carries its TTreeNode, and every
// change the core makes reaches the views through the tree's notifications, announced
// to Qt exactly as it happens. The model keeps no copy of the tree.
#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QList>

#include <functional>
#include <vector>

#include "model/node_style.h"
#include "model/tree_node.h"

class TTreeModel final : public QAbstractItemModel, private TTreeObserver {
  Q_OBJECT

public:
  // What the standard roles cannot say.
  enum TRole {
    MarksRole = Qt::UserRole + 1,  // the node's TNodeMark bits (unsigned int)
    IndentRole,                    // extra indentation in tree levels (int)
    NodeRole,                      // the TTreeNode itself (quintptr)
  };

  // Decides how a node is drawn: true with the style filled in, false for the default
  // drawing (the node's text and image, the view's colour and font).
  using TStyler = std::function<bool(TTreeNode& node, TNodeStyle& style)>;

  // Watches the tree (none: an empty model) until the model is destroyed or given
  // another tree. The tree must outlive the model or be taken from it first (SetTree).
  explicit TTreeModel(TTree* tree, TStyler styler = {}, QObject* parent = nullptr);
  ~TTreeModel() override;
  TTreeModel(const TTreeModel&) = delete;
  TTreeModel& operator=(const TTreeModel&) = delete;

  // Shows another tree (none: empty), as a reset of the model. Call it with none before
  // the tree is destroyed: the tree destroys its nodes without notifications.
  void SetTree(TTree* tree);
  TTree* Tree() const { return CoreTree; }
  void SetStyler(TStyler styler);

  // The tree's image list: images[i] is image index i of the core's nodes. A node's
  // selected image (TTreeNode::GetSelectedIndex) shows while its row is selected. With
  // images, a node without a valid image keeps the image's room empty, so that texts
  // line up as in the tree the core describes.
  void SetImages(const QList<QIcon>& images);

  TTreeNode* NodeOf(const QModelIndex& index) const;
  // The index of a node of the tree; invalid for none.
  QModelIndex IndexOf(const TTreeNode* node) const;
  // True between the "about to" and the "done" notification of an insert, removal or
  // move: views must not write back into the tree meanwhile.
  bool IsChanging() const { return Changing != 0; }

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
  // The core selected a node (invalid index: it cleared the selection). Told after any
  // structural change in progress has been announced in full.
  void CoreSelectionChanged(const QModelIndex& selected);
  // A node's text, images or expanded state changed in the core.
  void CoreNodeChanged(const QModelIndex& index, bool expanded);

private:
  // TTreeObserver
  void NodeAboutToInsert(TTreeNode* parent, int index) override;
  void NodeInserted(TTreeNode* node) override;
  void NodeAboutToRemove(TTreeNode* node) override;
  void NodeRemoved(TTreeNode* parent, int index) override;
  void NodeAboutToMove(TTreeNode* node, TTreeNode* newParent, int newIndex) override;
  void NodeMoved(TTreeNode* node) override;
  void NodeChanged(TTreeNode* node) override;
  void SelectionChanged(TTreeNode* selected) override;
  void ChildrenReordered(TTreeNode* parent) override;

  void CheckThread() const;
  void EndChange();
  // The style the styler gives; drawn false: the default drawing.
  bool StyleOf(TTreeNode& node, TNodeStyle& style) const;
  QIcon IconOf(int image, int selectedImage) const;
  // dataChanged for every row below parent, for a change that touches all rows.
  void AllRowsChanged(const QModelIndex& parent, const QList<int>& roles);

  TTree* CoreTree = nullptr;
  TStyler Styler;
  QList<QIcon> Images;
  QIcon NoImage;  // keeps an image's room empty
  mutable QHash<quint64, QIcon> CombinedIcons;  // by image and selected image
  int Changing = 0;
  // How each move in progress was announced: a move back to its own place is no move
  // for Qt and is not announced.
  enum class TMoveAnnounced { Nothing, Move, Reset };
  std::vector<TMoveAnnounced> Moves;
  bool SelectionPending = false;
};

// How the experiment tree and the debug window's tree draw a node: its object
// (TExperimentObject) decides through DrawNode; a node without an object is drawn by
// default.
bool ExperimentNodeStyle(TTreeNode& node, TNodeStyle& style);
// How the attribute tree draws a node: a variable decides through DrawNode (read-only
// variables in blue); every other node is drawn by default.
bool AttributeNodeStyle(TTreeNode& node, TNodeStyle& style);
