// The tree model against the core's tree: Qt's model tester (in its fatal mode) watches
// every signal while the core edits the tree, the model's rows, parents and persistent
// indexes are compared with the tree after each edit, and a view showing the model keeps
// the core's selection and expanded nodes.
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/tree_node.h"
#include "model/ui/tree_model.h"
#include "model/ui/tree_view.h"

namespace {

using TTester = QAbstractItemModelTester;

// The model shows exactly the tree: rows, nodes, parents and texts, at every level.
void ExpectMirrors(const TTreeModel& model, TTree& tree, TTreeNode* parentNode = nullptr,
                   const QModelIndex& parent = {}) {
  const int count = parentNode ? parentNode->Count() : tree.Count();
  ASSERT_EQ(model.rowCount(parent), count);
  ASSERT_EQ(model.hasChildren(parent), count > 0);
  for (int row = 0; row < count; ++row) {
    const QModelIndex index = model.index(row, 0, parent);
    TTreeNode* node = parentNode ? parentNode->Item(row) : tree.Item(row);
    ASSERT_EQ(model.NodeOf(index), node) << "row " << row;
    ASSERT_EQ(model.parent(index), parent);
    ASSERT_EQ(model.IndexOf(node), index);
    ASSERT_EQ(index.data().toString().toStdString(), node->GetText());
    ExpectMirrors(model, tree, node, index);
  }
}

std::vector<TTreeNode*> AllNodes(TTree& tree) {
  std::vector<TTreeNode*> nodes;
  for (TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNext()) nodes.push_back(node);
  return nodes;
}

std::vector<std::string> Texts(const TTreeNode* parent, TTree& tree) {
  std::vector<std::string> texts;
  const int count = parent ? parent->Count() : tree.Count();
  for (int i = 0; i < count; ++i)
    texts.push_back((parent ? parent->Item(i) : tree.Item(i))->GetText());
  return texts;
}

// A solid square icon of the colour, to tell images apart.
QIcon Solid(const QColor& colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(colour);
  return QIcon(pixmap);
}

QColor CentreOf(const QIcon& icon, QIcon::Mode mode) {
  return icon.pixmap(16, 16, mode).toImage().pixelColor(8, 8);
}

}  // namespace

TEST(TreeModel, AnnouncesInsertsRemovalsMovesAndReordersAsTheyHappen) {
  TTree tree;
  TTreeModel model(&tree);
  TTester tester(&model, TTester::FailureReportingMode::Fatal);
  QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

  TTreeNode* block = tree.AddChild(nullptr, "block");
  std::vector<TTreeNode*> lines;
  for (const char* text : {"a", "b", "c", "d", "e"}) lines.push_back(tree.AddChild(block, text));
  TTreeNode* a = lines[0];
  TTreeNode* b = lines[1];
  TTreeNode* d = lines[3];
  TTreeNode* e = lines[4];
  TTreeNode* other = tree.Add(block, "other");
  tree.AddChildFirst(other, "x");
  tree.Insert(block, "first");
  EXPECT_EQ(inserted.count(), 9);
  ASSERT_EQ(inserted.last().at(1).toInt(), 0);  // "first" went in at the top
  ExpectMirrors(model, tree);
  const QPersistentModelIndex keepA = model.IndexOf(a);
  const QPersistentModelIndex keepE = model.IndexOf(e);

  // Down within one parent: Qt's destination is the row after the new place.
  a->MoveTo(d, TNodeAttachMode::naInsert);
  EXPECT_EQ(Texts(block, tree), (std::vector<std::string>{"b", "c", "a", "d", "e"}));
  ASSERT_EQ(moved.count(), 1);
  EXPECT_EQ(moved.last().at(1).toInt(), 0);
  EXPECT_EQ(moved.last().at(4).toInt(), 3);
  EXPECT_EQ(keepA.row(), 2);
  ExpectMirrors(model, tree);
  // Up within one parent, to the ends and across parents.
  e->MoveTo(b, TNodeAttachMode::naInsert);
  b->MoveTo(d, TNodeAttachMode::naAdd);  // to the end of its own siblings
  d->MoveTo(e, TNodeAttachMode::naAddFirst);
  EXPECT_EQ(Texts(block, tree), (std::vector<std::string>{"d", "e", "c", "a", "b"}));
  EXPECT_EQ(keepE.row(), 1);
  a->MoveTo(other, TNodeAttachMode::naAddChild);
  e->MoveTo(other, TNodeAttachMode::naAddChildFirst);
  EXPECT_EQ(Texts(other, tree), (std::vector<std::string>{"e", "x", "a"}));
  EXPECT_EQ(model.parent(keepA), model.IndexOf(other));
  EXPECT_EQ(keepA.row(), 2);
  ExpectMirrors(model, tree);
  // A node with children, to the top level and back under another node.
  other->MoveTo(tree.Item(0), TNodeAttachMode::naInsert);
  ExpectMirrors(model, tree);
  other->MoveTo(d, TNodeAttachMode::naAddChild);
  ExpectMirrors(model, tree);
  EXPECT_EQ(model.parent(model.parent(keepA)), model.IndexOf(d));
  const int moves = moved.count();
  EXPECT_EQ(moves, 8);

  // Back to its own place: the tree takes it out and in again, Qt sees no move.
  EXPECT_EQ(Texts(block, tree), (std::vector<std::string>{"d", "c", "b"}));
  b->MoveTo(d, TNodeAttachMode::naAdd);
  d->MoveTo(block, TNodeAttachMode::naAddChildFirst);
  EXPECT_EQ(moved.count(), moves);
  ExpectMirrors(model, tree);

  // Reordered children keep their persistent indexes on their nodes.
  const QPersistentModelIndex keepB = model.IndexOf(b);
  block->SortChildren([](TTreeNode* l, TTreeNode* r) { return l->GetText() < r->GetText(); });
  EXPECT_EQ(Texts(block, tree), (std::vector<std::string>{"b", "c", "d"}));
  ExpectMirrors(model, tree);
  EXPECT_EQ(keepB.row(), 0);
  EXPECT_EQ(model.NodeOf(keepB), b);
  EXPECT_EQ(model.NodeOf(keepA), a);
  const QPersistentModelIndex keepBlock = model.IndexOf(block);
  tree.AddChild(nullptr, "zz");
  ExpectMirrors(model, tree);

  // Texts, images and expanded state reach the views as data changes.
  const int changes = changed.count();
  b->SetText("b2");
  b->SetImageIndex(3);
  b->SetExpanded(true);
  EXPECT_EQ(changed.count(), changes + 3);
  EXPECT_EQ(changed.last().at(0).value<QModelIndex>(), model.IndexOf(b));
  EXPECT_EQ(model.IndexOf(b).data().toString(), "b2");

  // Removal of a node with a subtree, of children, of everything.
  d->Delete();
  EXPECT_FALSE(keepA.isValid());
  ExpectMirrors(model, tree);
  block->DeleteChildren();
  ExpectMirrors(model, tree);
  EXPECT_TRUE(keepBlock.isValid());
  tree.Clear();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_FALSE(keepBlock.isValid());
  EXPECT_GE(removed.count(), 5);
}

TEST(TreeModel, RandomEditsKeepModelViewAndTreeInStep) {
  TTree tree;
  TTreeModel model(&tree);
  TTester tester(&model, TTester::FailureReportingMode::Fatal);
  TCoreTreeView view;
  view.SetTreeModel(&model);
  view.resize(300, 400);
  view.show();
  std::map<TTreeNode*, QPersistentModelIndex> kept;
  std::mt19937 random(20240611);
  int next = 0;
  const auto pick = [&](const std::vector<TTreeNode*>& nodes) {
    return nodes[std::uniform_int_distribution<std::size_t>(0, nodes.size() - 1)(random)];
  };
  for (int step = 0; step < 1500; ++step) {
    std::vector<TTreeNode*> nodes = AllNodes(tree);
    const int choice = nodes.size() < 5 ? 0 : std::uniform_int_distribution<int>(0, 99)(random);
    const std::string text = "n" + std::to_string(++next);
    if (choice < 35) {
      TTreeNode* node = nodes.empty() || choice < 5 ? nullptr : pick(nodes);
      TTreeNode* added = choice % 3 == 0 ? tree.AddChild(node, text)
                         : choice % 3 == 1 ? tree.Insert(node, text)
                                           : tree.AddChildFirst(node, text);
      if (next % 4 == 0) kept[added] = model.IndexOf(added);
    } else if (choice < 65) {
      TTreeNode* node = pick(nodes);
      TTreeNode* destination = pick(nodes);
      if (destination == node || destination->HasAsParent(node)) continue;
      node->MoveTo(destination, static_cast<TNodeAttachMode>(choice % 5));
    } else if (choice < 75) {
      TTreeNode* node = pick(nodes);
      for (auto it = kept.begin(); it != kept.end();)
        it = (it->first == node || it->first->HasAsParent(node)) ? kept.erase(it) : std::next(it);
      node->Delete();
    } else if (choice < 82) {
      TTreeNode* node = pick(nodes);
      // Short keys so that ties keep their order.
      node->SortChildren(
          [](TTreeNode* l, TTreeNode* r) { return l->GetText().size() < r->GetText().size(); });
    } else if (choice < 88) {
      tree.SetSelected(choice % 2 ? pick(nodes) : nullptr);
    } else if (choice < 94) {
      TTreeNode* node = pick(nodes);
      node->SetExpanded(!node->GetExpanded());
    } else if (choice < 99) {
      pick(nodes)->SetText(text);
    } else {
      // The user picks a node in the view.
      view.setCurrentIndex(model.IndexOf(pick(nodes)));
    }
    ASSERT_NO_FATAL_FAILURE(ExpectMirrors(model, tree)) << "step " << step;
    for (const auto& [node, index] : kept) {
      ASSERT_TRUE(index.isValid());
      ASSERT_EQ(model.NodeOf(index), node);
      ASSERT_EQ(index.row(), node->GetIndex());
    }
    ASSERT_EQ(view.SelectedNode(), tree.GetSelected()) << "step " << step;
    if (step % 100 == 0) {
      for (TTreeNode* node : AllNodes(tree))
        ASSERT_EQ(view.isExpanded(model.IndexOf(node)), node->GetExpanded()) << "step " << step;
      view.grab();  // paints every visible row through the delegate
    }
  }
  EXPECT_GT(AllNodes(tree).size(), 20u);
  tree.Clear();
  EXPECT_EQ(view.SelectedNode(), nullptr);
  // A model given another tree (none) forgets the first.
  model.SetTree(nullptr);
  EXPECT_EQ(model.rowCount(), 0);
  tree.AddChild(nullptr, "unseen");
  EXPECT_EQ(model.rowCount(), 0);
}

TEST(TreeModel, RolesComeFromTheNodesAndTheirStyles) {
  TTree tree;
  TTreeModel model(&tree);
  TTester tester(&model, TTester::FailureReportingMode::Fatal);
  TTreeNode* plain = tree.AddChild(nullptr, "plain");
  TTreeNode* block = tree.AddChild(nullptr, "Block 1");
  block->SetImageIndex(0);
  block->SetSelectedIndex(1);
  TTreeNode* comment = tree.AddChild(block, "Comment: check");
  TTreeNode* commented = tree.AddChild(block, "Wait 10 ms");
  TTreeNode* indented = tree.AddChild(block, "Send");
  TTreeNode* stopped = tree.AddChild(block, "Read");
  stopped->SetImageIndex(7);  // beyond the images

  const QModelIndex plainIndex = model.IndexOf(plain);
  EXPECT_EQ(plainIndex.data(Qt::DisplayRole).toString(), "plain");
  EXPECT_FALSE(plainIndex.data(Qt::DecorationRole).isValid()) << "no images yet";
  EXPECT_EQ(model.IndexOf(comment).data(TTreeModel::NodeRole).value<quintptr>(),
            reinterpret_cast<quintptr>(comment));

  // Images: a node's own and its selected one; the room is kept for nodes without.
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  model.SetImages({Solid(Qt::red), Solid(Qt::green), Solid(Qt::blue)});
  EXPECT_EQ(changed.count(), 2) << "the top level and the block's lines";
  const QIcon blockIcon = model.IndexOf(block).data(Qt::DecorationRole).value<QIcon>();
  EXPECT_EQ(CentreOf(blockIcon, QIcon::Normal), QColor(Qt::red));
  // Selected, the selected image in the look the style gives selected rows' images.
  EXPECT_EQ(CentreOf(blockIcon, QIcon::Selected), CentreOf(Solid(Qt::green), QIcon::Selected));
  EXPECT_NE(CentreOf(blockIcon, QIcon::Selected), CentreOf(Solid(Qt::red), QIcon::Selected));
  for (TTreeNode* node : {plain, stopped}) {
    const QIcon blank = model.IndexOf(node).data(Qt::DecorationRole).value<QIcon>();
    ASSERT_FALSE(blank.isNull()) << node->GetText();
    EXPECT_EQ(blank.actualSize(QSize(24, 24)), QSize(24, 24));
    EXPECT_EQ(qAlpha(blank.pixmap(16, 16).toImage().pixel(8, 8)), 0);
  }
  EXPECT_FALSE(model.IndexOf(plain).data(Qt::ForegroundRole).isValid());
  EXPECT_FALSE(model.IndexOf(plain).data(Qt::FontRole).isValid());
  EXPECT_EQ(model.IndexOf(plain).data(TTreeModel::MarksRole).toUInt(), 0u);

  // The styler speaks for the nodes it draws, as the commands' DrawNode does.
  model.SetStyler([&](TTreeNode& node, TNodeStyle& style) {
    if (&node == comment) {
      style.Italic = true;
      style.ImageIndex = node.GetImageIndex();
    } else if (&node == commented) {
      style.Text = "/*" + node.GetText() + "*/";
      style.Italic = true;
    } else if (&node == indented) {
      style.Colour = 0xFF0000;  // blue in the core's blue-green-red order
      style.Bold = true;
      style.Indent = 1;
    } else if (&node == stopped) {
      style.Colour = 0x0000FF;
      style.ImageIndex = 2;
      style.Marks = nmPaused | nmAborted;
    } else if (&node == block) {
      style.ImageIndex = 1;  // the current block shows its selected image
    } else {
      return false;
    }
    return true;
  });
  EXPECT_EQ(changed.count(), 4);
  EXPECT_EQ(model.IndexOf(comment).data().toString(), "Comment: check");
  EXPECT_TRUE(model.IndexOf(comment).data(Qt::FontRole).value<QFont>().italic());
  EXPECT_FALSE(model.IndexOf(comment).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(model.IndexOf(commented).data().toString(), "/*Wait 10 ms*/");
  EXPECT_EQ(model.IndexOf(indented).data(Qt::ForegroundRole).value<QBrush>().color(),
            QColor(0, 0, 255));
  EXPECT_TRUE(model.IndexOf(indented).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(model.IndexOf(indented).data(TTreeModel::IndentRole).toInt(), 1);
  EXPECT_EQ(model.IndexOf(stopped).data(Qt::ForegroundRole).value<QBrush>().color(),
            QColor(255, 0, 0));
  EXPECT_EQ(model.IndexOf(stopped).data(TTreeModel::MarksRole).toUInt(),
            unsigned(nmPaused | nmAborted));
  EXPECT_EQ(model.IndexOf(stopped).data(Qt::BackgroundRole).value<QBrush>().color(),
            QColor(255, 0, 0));
  EXPECT_FALSE(model.IndexOf(indented).data(Qt::BackgroundRole).isValid());
  const QIcon stoppedIcon = model.IndexOf(stopped).data(Qt::DecorationRole).value<QIcon>();
  EXPECT_EQ(CentreOf(stoppedIcon, QIcon::Normal), QColor(Qt::blue));
  const QIcon current = model.IndexOf(block).data(Qt::DecorationRole).value<QIcon>();
  EXPECT_EQ(CentreOf(current, QIcon::Normal), QColor(Qt::green));
  EXPECT_EQ(CentreOf(current, QIcon::Selected), CentreOf(Solid(Qt::green), QIcon::Selected));
  EXPECT_EQ(model.IndexOf(plain).data().toString(), "plain") << "not drawn: the default drawing";

  // A change of the core reaches the row, with the node's expanded state.
  QSignalSpy nodeChanged(&model, &TTreeModel::CoreNodeChanged);
  block->SetExpanded(true);
  ASSERT_EQ(nodeChanged.count(), 1);
  EXPECT_EQ(nodeChanged.last().at(0).value<QModelIndex>(), model.IndexOf(block));
  EXPECT_TRUE(nodeChanged.last().at(1).toBool());
  commented->SetText("Wait 20 ms");
  EXPECT_EQ(model.IndexOf(commented).data().toString(), "/*Wait 20 ms*/");
}
