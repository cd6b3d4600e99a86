// What the tests of the main window's trees, pop-up menus and tool windows share: the
// experiment built through the core, and the mouse on tree nodes and menu items.
#pragma once

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>

#include <ostream>
#include <string>

#include "main_window_fixture.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "model/ui/tree_model.h"
#include "scripts/flow/blank_script.h"
#include "shell/draw_parts.h"
#include "shell/ui/node_tree_view.h"

// Texts in failure messages as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

class TMainWindowWidgetsTest : public TMainWindowTest {
protected:
  TExperiment& Exp() const { return Window->Session().GetExperiment(); }
  TTree& ExpTree() const { return Exp().GetExperimentTree(); }
  TDrawParts& Parts() const { return Window->Session().GetDrawParts(); }
  TBlock* FirstBlock() const { return BlockOfNode(ExpTree().GetFirstNode()); }

  // A block in a new box of the diagram, titled as the box, after the others.
  TBlock* AddBlock(const std::string& caption) {
    const int boxes = Parts().Count();
    return Exp().AddBlock(Parts().AddBlock(caption, {40 + 200 * boxes, 60}));
  }
  // A command of the class at the end of the block, in front of the blank line when it
  // stands there, as the command tool bar adds one.
  template <class T>
  T* AddCommand(TBlock* block) {
    TBlankScript* blank = Exp().GetBlankScript();
    TTreeNode* node = blank && blank->AExpNode->GetParent() == block->AExpNode
                          ? ExpTree().Insert(blank->AExpNode, "none")
                          : ExpTree().AddChild(block->AExpNode, "none");
    return new T(block, node);
  }

  TNodeTreeView* TreeView(const char* name) const {
    auto* view = Window->findChild<TNodeTreeView*>(name);
    EXPECT_NE(view, nullptr) << name;
    return view;
  }
  // The middle of the node's row in the view's viewport.
  static QPoint PointOf(TNodeTreeView* view, const TTreeNode* node) {
    const QRect rect = view->visualRect(view->TreeModel()->IndexOf(node));
    EXPECT_TRUE(rect.isValid()) << "the node has no row on the screen";
    return rect.center();
  }
  // A point of the viewport below every row.
  static QPoint BelowAllRows(TNodeTreeView* view) {
    QModelIndex last = view->model()->index(view->model()->rowCount() - 1, 0);
    while (view->model()->rowCount(last) > 0)
      last = view->model()->index(view->model()->rowCount(last) - 1, 0, last);
    const QPoint point(view->visualRect(last).center().x(), view->visualRect(last).bottom() + 30);
    EXPECT_LT(point.y(), view->viewport()->height()) << "the view shows no empty space";
    return point;
  }

  static void LeftClick(TNodeTreeView* view, const QPoint& point) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
  }
  // A right click at the point; answers the pop-up menu of the name once it shows, else
  // none. QTest's mouse events bypass the window that makes the context-menu event of a
  // right click: it is sent here as the window sends it.
  QMenu* RightClick(QWidget* widget, const QPoint& point, const char* popupName) {
    auto* popup = Window->findChild<QMenu*>(popupName);
    EXPECT_NE(popup, nullptr) << popupName;
    if (!popup) return nullptr;
    popup->hide();
    QTest::mouseClick(widget, Qt::RightButton, {}, point);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, point, widget->mapToGlobal(point));
    QSpontaneKeyEvent::setSpontaneous(&menuEvent);
    QCoreApplication::sendEvent(widget, &menuEvent);
    return WaitUntil([&] { return popup->isVisible(); }, 10000) ? popup : nullptr;
  }
  // The object names (or, without one, the texts) of the items a menu shows.
  static QStringList ShownItems(const QMenu* menu) {
    QStringList items;
    for (QAction* item : menu->actions())
      if (item->isVisible() && !item->isSeparator())
        items << (item->objectName().isEmpty() ? item->text() : item->objectName());
    return items;
  }
  static QAction* Item(const QMenu* menu, const QString& nameOrText) {
    for (QAction* item : menu->actions())
      if (item->objectName() == nameOrText || item->text() == nameOrText) return item;
    ADD_FAILURE() << "no item " << nameOrText.toStdString();
    return nullptr;
  }
  // Clicks the item of the open menu, which then closes.
  static void ClickItem(QMenu* menu, const QString& nameOrText) {
    ASSERT_NE(menu, nullptr) << "no menu showed for " << nameOrText.toStdString();
    QAction* item = Item(menu, nameOrText);
    ASSERT_TRUE(item && item->isVisible() && item->isEnabled()) << nameOrText.toStdString();
    const QRect rect = menu->actionGeometry(item);
    ASSERT_TRUE(rect.isValid());
    QTest::mouseClick(menu, Qt::LeftButton, {}, rect.center());
    EXPECT_TRUE(WaitUntil([&] { return !menu->isVisible(); }, 10000));
  }
};
