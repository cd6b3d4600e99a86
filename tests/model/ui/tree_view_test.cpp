#include <QAbstractItemModelTester>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "model/tree_node.h"
#include "model/ui/tree_delegate.h"
#include "model/ui/tree_model.h"
#include "model/ui/tree_view.h"


namespace {

using TTester = QAbstractItemModelTester;

// The view with the style options of its rows in reach.
class TTestView : public TCoreTreeView {
public:
  QStyleOptionViewItem OptionOf(const QModelIndex& index) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return option;
  }
};

QPoint CentreOf(TCoreTreeView& view, const QModelIndex& index) {
  return view.visualRect(index).center();
}

bool Reddish(const QColor& c) { return c.red() > 180 && c.green() < 110 && c.blue() < 110; }
bool Greenish(const QColor& c) { return c.green() > 120 && c.red() < 120 && c.blue() < 120; }

}  // namespace

TEST(CoreTreeView, SelectionAndExpandedNodesFollowTheCoreBothWays) {
  TTree tree;
  TTreeNode* block = tree.AddChild(nullptr, "Block 1");
  TTreeNode* first = tree.AddChild(block, "Comment");
  TTreeNode* section = tree.AddChild(block, "If-Then");
  TTreeNode* inner = tree.AddChild(section, "Send");
  TTreeNode* second = tree.AddChild(nullptr, "Block 2");
  block->SetExpanded(true);
  tree.SetSelected(first);

  TTreeModel model(&tree);
  TTester tester(&model, TTester::FailureReportingMode::Fatal);
  TCoreTreeView view;
  view.resize(300, 300);
  view.SetTreeModel(&model);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  // What the tree held before the view came is shown at once.
  EXPECT_TRUE(view.isExpanded(model.IndexOf(block)));
  EXPECT_FALSE(view.isExpanded(model.IndexOf(section)));
  EXPECT_EQ(view.SelectedNode(), first);

  // The core selects: the view follows, opening the parents of a hidden node.
  tree.SetSelected(inner);
  EXPECT_EQ(view.SelectedNode(), inner);
  EXPECT_TRUE(section->GetExpanded());
  EXPECT_TRUE(view.isExpanded(model.IndexOf(section)));
  tree.SetSelected(nullptr);
  EXPECT_EQ(view.SelectedNode(), nullptr);

  // The user clicks: the tree's selection follows, and the press is reported.
  QSignalSpy pressed(&view, &TCoreTreeView::NodePressed);
  QSignalSpy doubleClicked(&view, &TCoreTreeView::NodeDoubleClicked);
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CentreOf(view, model.IndexOf(second)));
  EXPECT_EQ(tree.GetSelected(), second);
  ASSERT_EQ(pressed.count(), 1);
  EXPECT_EQ(pressed.last().at(0).value<TTreeNode*>(), second);
  EXPECT_EQ(pressed.last().at(1).value<Qt::MouseButton>(), Qt::LeftButton);
  QTest::mouseClick(view.viewport(), Qt::RightButton, {}, QPoint(150, 290));
  ASSERT_EQ(pressed.count(), 2);
  EXPECT_EQ(pressed.last().at(0).value<TTreeNode*>(), nullptr) << "empty space";
  EXPECT_EQ(pressed.last().at(1).value<Qt::MouseButton>(), Qt::RightButton);
  // A double click edits, it does not fold the node.
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, CentreOf(view, model.IndexOf(section)));
  ASSERT_EQ(doubleClicked.count(), 1);
  EXPECT_EQ(doubleClicked.last().at(0).value<TTreeNode*>(), section);
  EXPECT_TRUE(view.isExpanded(model.IndexOf(section)));
  EXPECT_EQ(tree.GetSelected(), section);
  // The keyboard moves the selection too.
  QTest::keyClick(view.viewport(), Qt::Key_Down);
  EXPECT_EQ(tree.GetSelected(), inner);

  // Expanding and collapsing, from either side.
  view.collapse(model.IndexOf(block));
  EXPECT_FALSE(block->GetExpanded());
  block->SetExpanded(true);
  EXPECT_TRUE(view.isExpanded(model.IndexOf(block)));
  second->SetExpanded(true);  // no children yet: open once they come
  tree.AddChild(second, "Wait");
  EXPECT_TRUE(view.isExpanded(model.IndexOf(second)));

  // The selected node goes: nothing is selected, in the tree or the view.
  section->Delete();
  EXPECT_EQ(tree.GetSelected(), nullptr);
  EXPECT_EQ(view.SelectedNode(), nullptr);
  // A moved selected node stays selected.
  tree.SetSelected(first);
  first->MoveTo(second, TNodeAttachMode::naAddChild);
  EXPECT_EQ(view.SelectedNode(), first);
  EXPECT_EQ(tree.GetSelected(), first);

  view.SetTreeModel(nullptr);
  EXPECT_EQ(view.SelectedNode(), nullptr);
  tree.SetSelected(second);  // a view without the model hears nothing
  EXPECT_EQ(view.SelectedNode(), nullptr);
}

TEST(TreeDelegate, PaintsThePauseMarkAfterTheText) {
  TTree tree;
  TTreeNode* stop = tree.AddChild(nullptr, "Read DMM");
  TTreeNode* paused = tree.AddChild(nullptr, "Plot");
  TTreeNode* plain = tree.AddChild(nullptr, "Wait");
  TTreeNode* indented = tree.AddChild(nullptr, "Send");
  TTreeModel model(&tree, [&](TTreeNode& node, TNodeStyle& style) {
    if (&node == stop) style.Marks = nmPaused;
    else if (&node == paused) style.Marks = nmPaused | nmAborted;
    else if (&node == indented) style.Indent = 2;
    else return false;
    return true;
  });
  TTestView view;
  view.resize(400, 200);
  view.SetTreeModel(&model);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  auto* delegate = qobject_cast<TTreeDelegate*>(view.itemDelegate());
  ASSERT_NE(delegate, nullptr);

  const QModelIndex stopIndex = model.IndexOf(stop);
  const QModelIndex pausedIndex = model.IndexOf(paused);
  const QModelIndex plainIndex = model.IndexOf(plain);
  const QRect stopMark = delegate->MarksRect(view.OptionOf(stopIndex), stopIndex);
  const QRect pausedMark = delegate->MarksRect(view.OptionOf(pausedIndex), pausedIndex);
  EXPECT_TRUE(delegate->MarksRect(view.OptionOf(plainIndex), plainIndex).isEmpty());
  ASSERT_FALSE(stopMark.isEmpty());
  ASSERT_FALSE(pausedMark.isEmpty());
  // After the text, within the row.
  const int textWidth = view.fontMetrics().horizontalAdvance("Read DMM");
  EXPECT_GT(stopMark.left(), view.visualRect(stopIndex).left() + textWidth);
  EXPECT_TRUE(view.visualRect(stopIndex).contains(stopMark));

  const QImage image = view.viewport()->grab().toImage();
  EXPECT_TRUE(Greenish(image.pixelColor(stopMark.center())));
  EXPECT_TRUE(Greenish(image.pixelColor(pausedMark.center())));
  // The same place on an unmarked row shows neither.
  const QPoint besidePlain(stopMark.center().x(), view.visualRect(plainIndex).center().y());
  EXPECT_FALSE(Reddish(image.pixelColor(besidePlain)));
  EXPECT_FALSE(Greenish(image.pixelColor(besidePlain)));
  // The stopped run's row is on red.
  EXPECT_TRUE(Reddish(image.pixelColor(view.visualRect(pausedIndex).right() - 2,
                                       view.visualRect(pausedIndex).center().y())));

  // Marks and extra indentation widen the row.
  const QModelIndex indentedIndex = model.IndexOf(indented);
  const QSize plainSize = delegate->sizeHint(view.OptionOf(plainIndex), plainIndex);
  const QSize indentedSize = delegate->sizeHint(view.OptionOf(indentedIndex), indentedIndex);
  const int wait = view.fontMetrics().horizontalAdvance("Wait");
  const int send = view.fontMetrics().horizontalAdvance("Send");
  EXPECT_EQ(indentedSize.width() - send, plainSize.width() - wait + 2 * view.indentation());
  const QSize stopSize = delegate->sizeHint(view.OptionOf(stopIndex), stopIndex);
  EXPECT_GE(stopSize.width(), textWidth + stopMark.width());
}
