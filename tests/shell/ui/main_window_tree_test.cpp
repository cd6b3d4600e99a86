// The experiment tree of the main window with the mouse, its pop-up menu and its keys:
// the items of each kind of node, the Delete key's pointer rule, nodes that never
// collapse, and drags, as the user does them.
#include <QCursor>
#include <QLabel>

#include "main_window_widgets.h"
#include "shell/ui/dialog_registry.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/script.h"

namespace {

// The texts of a node's children, the blank line as "|".
QStringList ChildTexts(const TTreeNode* node) {
  QStringList texts;
  for (const TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
    const TScript* script = ScriptOfNode(child);
    texts << (script && script->GetExperimentType() == aiBLANK
                  ? QString("|")
                  : QString::fromStdString(child->GetText()));
  }
  return texts;
}

// The titles of the blocks, top to bottom.
QStringList BlockTitles(const TTree& tree) {
  QStringList titles;
  for (const TTreeNode* node = tree.GetFirstNode(); node; node = node->GetNextSibling())
    titles << QString::fromStdString(node->GetText());
  return titles;
}

}  // namespace

class TExperimentTreeTest : public TMainWindowWidgetsTest {
protected:
  // The window with the start block holding three waits and a comment, then the blank
  // line, and a second block holding one wait.
  void SetUpTree() {
    StartQorv();
    Start = FirstBlock();
    W100 = Wait(Start, 100);
    W200 = Wait(Start, 200);
    W300 = Wait(Start, 300);
    Note = AddCommand<TCommentScript>(Start);
    Note->SetComment("note");
    Second = AddBlock("Second");
    Parts().Connect(Start->GetDrawBlock(), Second->GetDrawBlock());  // a run goes on there
    W400 = Wait(Second, 400);
    View = TreeView("ExperimentView");
    ASSERT_NE(View, nullptr);
    ASSERT_EQ(ChildTexts(Start->AExpNode),
              (QStringList{"Wait 100 milliseconds", "Wait 200 milliseconds",
                           "Wait 300 milliseconds", "Comment: note", "|"}));
    ASSERT_EQ(BlockTitles(ExpTree()), (QStringList{"Start Block", "Second"}));
    Window->Session().ExperimentChanged(0, 1);
  }
  TWaitScript* Wait(TBlock* block, int milliseconds) {
    auto* wait = AddCommand<TWaitScript>(block);
    wait->SetTime(milliseconds);
    return wait;
  }
  TTreeNode* BlankNode() const { return Exp().GetBlankScript()->AExpNode; }
  QMenu* RightClickNode(const TTreeNode* node) {
    return RightClick(View->viewport(), PointOf(View, node), "ExpObjPopup");
  }
  // The text the view shows for the node.
  QString Shown(const TTreeNode* node) const {
    return View->TreeModel()->IndexOf(node).data().toString();
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
  void ClearModified() { Window->Session().ExperimentChanged(0, 1); }

  TBlock* Start = nullptr;
  TBlock* Second = nullptr;
  TWaitScript* W100 = nullptr;
  TWaitScript* W200 = nullptr;
  TWaitScript* W300 = nullptr;
  TWaitScript* W400 = nullptr;
  TCommentScript* Note = nullptr;
  TNodeTreeView* View = nullptr;
};

TEST_F(TExperimentTreeTest, PopupOffersTheItemsOfTheNodeAndEditsTheTree) {
  ASSERT_NO_FATAL_FAILURE(SetUpTree());
  const QStringList commandItems{"EditExpObjItem", "DeleteExpObjItem", "CommentOutItem",
                                 "InsertMenu", "CutScriptItem", "CopyScriptItem",
                                 "PasteScriptItem"};
  const QStringList blockItems{"EditExpObjItem", "DeleteExpObjItem", "SetAsStartItem",
                               "SaveBlockItem", "SaveAsBlockItem", "AddScriptMenu"};
  const QStringList blankItems{"PasteScriptItem", "BlankToBeginItem", "BlankToEndItem",
                               "AddScriptMenu"};

  QMenu* popup = RightClickNode(W100->AExpNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), commandItems);
  EXPECT_EQ(Item(popup, "CommentOutItem")->text(), QString("Comment Out"));
  popup->hide();
  // A command that cannot be commented out does not offer it.
  popup = RightClickNode(Note->AExpNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), (QStringList{"EditExpObjItem", "DeleteExpObjItem", "InsertMenu",
                                            "CutScriptItem", "CopyScriptItem", "PasteScriptItem"}));
  popup->hide();
  popup = RightClickNode(Second->AExpNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), blockItems);
  EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Second"));  // the block pressed is current
  popup->hide();
  popup = RightClickNode(BlankNode());
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup), blankItems);
  popup->hide();
  // Empty space: none of the node items.
  popup = RightClick(View->viewport(), BelowAllRows(View), "ExpObjPopup");
  QMenu* menu = Window->findChild<QMenu*>("ExpObjPopup");
  for (const QString& name : commandItems + blockItems + blankItems)
    EXPECT_FALSE(Item(menu, name)->isVisible()) << name.toStdString();
  if (popup) popup->hide();
  EXPECT_TRUE(Dialogs.Boxes().empty());

  // Comment Out, then Restore: the command's flag, its node's text and the item's caption.
  popup = RightClickNode(W200->AExpNode);
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, "CommentOutItem");
  EXPECT_TRUE(W200->AbCommentedOut);
  EXPECT_EQ(Shown(W200->AExpNode), QString("/*Wait 200 milliseconds*/"));
  EXPECT_TRUE(Modified());
  ClearModified();
  popup = RightClickNode(W200->AExpNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Item(popup, "CommentOutItem")->text(), QString("Restore"));
  ClickItem(popup, "CommentOutItem");
  EXPECT_FALSE(W200->AbCommentedOut);
  EXPECT_EQ(Shown(W200->AExpNode), QString("Wait 200 milliseconds"));
  EXPECT_TRUE(Modified());

  // To Beginning and To End move the blank line within its block.
  popup = RightClickNode(BlankNode());
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, "BlankToBeginItem");
  EXPECT_EQ(ChildTexts(Start->AExpNode),
            (QStringList{"|", "Wait 100 milliseconds", "Wait 200 milliseconds",
                         "Wait 300 milliseconds", "Comment: note"}));
  popup = RightClickNode(BlankNode());
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, "BlankToEndItem");
  EXPECT_EQ(ChildTexts(Start->AExpNode),
            (QStringList{"Wait 100 milliseconds", "Wait 200 milliseconds",
                         "Wait 300 milliseconds", "Comment: note", "|"}));

  // Delete a block: its box and the line to it leave the diagram, without a question.
  ClearModified();
  const TDrawBlock* box = Second->GetDrawBlock();
  ASSERT_GE(Parts().IndexOf(box), 0);
  ASSERT_EQ(Parts().Count(), 3);  // two boxes and the line between them
  popup = RightClickNode(Second->AExpNode);
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, "DeleteExpObjItem");
  EXPECT_EQ(View->model()->rowCount(), 1);
  EXPECT_EQ(Parts().IndexOf(box), -1);
  EXPECT_EQ(Parts().Count(), 1);
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TExperimentTreeTest, KeysAndDoubleClicksActOnTheNodeMeant) {
  ASSERT_NO_FATAL_FAILURE(SetUpTree());
  LeftClick(View, PointOf(View, W200->AExpNode));
  ASSERT_EQ(ExpTree().GetSelected(), W200->AExpNode);
  const QRect selected = View->visualRect(View->TreeModel()->IndexOf(W200->AExpNode));

  // Offscreen the pointer goes where it is put.
  const QPoint away = View->viewport()->mapToGlobal(PointOf(View, W400->AExpNode));
  QCursor::setPos(away);
  ASSERT_EQ(QCursor::pos(), away);
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(ChildTexts(Start->AExpNode).size(), 5);
  EXPECT_FALSE(Modified());
  // Just below the row, as on the row under it: still not over the selection.
  QCursor::setPos(View->viewport()->mapToGlobal(selected.bottomLeft() + QPoint(0, 2)));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(ChildTexts(Start->AExpNode).size(), 5);

  // On the row's edge: the command goes.
  QCursor::setPos(View->viewport()->mapToGlobal(selected.topLeft()));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(ChildTexts(Start->AExpNode),
            (QStringList{"Wait 100 milliseconds", "Wait 300 milliseconds", "Comment: note", "|"}));
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());

  // A double click opens the dialog of the node clicked, also when its press brought
  // the blank line out of a block above it and the rows moved up.
  std::vector<std::string> edited;
  TDialogRegistry dialogs;
  dialogs.Register<TEditBlockRequest>([&](TEditBlockRequest& request, QWidget*) {
    edited.push_back(request.Title);
    return 0;  // Cancel
  });
  Port.SetDialogRegistry(&dialogs);
  ASSERT_EQ(Exp().GetCurrentBlock(), Start);
  // As the window delivers a double click: press, release, press, double click, release.
  const QPoint onSecond = PointOf(View, Second->AExpNode);
  QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, onSecond);
  QTest::mousePress(View->viewport(), Qt::LeftButton, {}, onSecond);
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, onSecond);
  QTest::mouseRelease(View->viewport(), Qt::LeftButton, {}, onSecond);
  Port.SetDialogRegistry(nullptr);
  EXPECT_EQ(edited, std::vector<std::string>{"Second"});
  EXPECT_EQ(Exp().GetCurrentBlock(), Second);
  EXPECT_EQ(ExpTree().GetSelected(), Second->AExpNode);

  // A block cannot be collapsed: not with the keys, not by the view itself.
  LeftClick(View, PointOf(View, Start->AExpNode));
  const QModelIndex block = View->TreeModel()->IndexOf(Start->AExpNode);
  ASSERT_TRUE(View->isExpanded(block));
  QTest::keyClick(View, Qt::Key_Left);
  QTest::keyClick(View, Qt::Key_Minus);
  EXPECT_TRUE(View->isExpanded(block));
  View->collapse(block);
  EXPECT_TRUE(WaitUntil([&] { return View->isExpanded(block); }, 10000));
  EXPECT_TRUE(Start->AExpNode->GetExpanded());
}

TEST_F(TExperimentTreeTest, DragsMoveCommandsTheBlankLineAndBlocks) {
  ASSERT_NO_FATAL_FAILURE(SetUpTree());
  QWidget* viewport = View->viewport();
  QLabel* label = View->findChild<QLabel*>("DragLabel");
  ASSERT_NE(label, nullptr);

  // Less than 10 pixels: no drag, and the release is a click.
  QPoint from = PointOf(View, W100->AExpNode);
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QTest::mouseMove(viewport, from + QPoint(4, 5));
  EXPECT_FALSE(View->IsDragging());
  EXPECT_FALSE(label->isVisible());
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(4, 5));
  EXPECT_EQ(ChildTexts(Start->AExpNode)[0], QString("Wait 100 milliseconds"));
  EXPECT_FALSE(Modified());

  // Past 10 pixels the label shows the node's text beside the mouse; dropped on a
  // command of its block, the command goes in front of it.
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QTest::mouseMove(viewport, from + QPoint(0, 6));
  EXPECT_FALSE(View->IsDragging());
  const QPoint onW300 = PointOf(View, W300->AExpNode);
  QTest::mouseMove(viewport, onW300);
  EXPECT_TRUE(View->IsDragging());
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), QString("Wait 100 milliseconds"));
  EXPECT_EQ(label->pos(), onW300 + QPoint(5, 5));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, onW300);
  EXPECT_FALSE(label->isVisible());
  EXPECT_EQ(ChildTexts(Start->AExpNode),
            (QStringList{"Wait 200 milliseconds", "Wait 100 milliseconds",
                         "Wait 300 milliseconds", "Comment: note", "|"}));
  EXPECT_TRUE(Modified());
  ClearModified();

  // A command dropped on empty space is refused: nothing moves.
  const QStringList startLines = ChildTexts(Start->AExpNode);
  const QStringList secondLines = ChildTexts(Second->AExpNode);
  from = PointOf(View, W300->AExpNode);
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QTest::mouseMove(viewport, BelowAllRows(View));
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(View->cursor().shape(), Qt::ForbiddenCursor);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, BelowAllRows(View));
  EXPECT_FALSE(label->isVisible());
  EXPECT_EQ(ChildTexts(Start->AExpNode), startLines);
  EXPECT_EQ(ChildTexts(Second->AExpNode), secondLines);
  EXPECT_FALSE(Modified());

  // The blank line's label reads "New Script"; dropped in the other block, that block
  // becomes the current one.
  from = PointOf(View, BlankNode());
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QTest::mouseMove(viewport, PointOf(View, W400->AExpNode));
  EXPECT_EQ(label->text(), QString("New Script"));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, PointOf(View, W400->AExpNode));
  EXPECT_EQ(ChildTexts(Second->AExpNode), (QStringList{"|", "Wait 400 milliseconds"}));
  EXPECT_EQ(Exp().GetCurrentBlock(), Second);
  EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Second"));

  // Blocks: one dropped on the first block becomes the first; one dropped below every
  // node becomes the last.
  TBlock* third = AddBlock("Third");
  Wait(third, 500);
  from = PointOf(View, third->AExpNode);
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QTest::mouseMove(viewport, PointOf(View, Start->AExpNode));
  EXPECT_EQ(label->text(), QString("Third"));
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, PointOf(View, Start->AExpNode));
  EXPECT_EQ(BlockTitles(ExpTree()), (QStringList{"Third", "Start Block", "Second"}));
  EXPECT_TRUE(Modified());
  ClearModified();

  from = PointOf(View, third->AExpNode);
  QTest::mousePress(viewport, Qt::LeftButton, {}, from);
  QTest::mouseMove(viewport, BelowAllRows(View));
  EXPECT_EQ(View->cursor().shape(), Qt::DragMoveCursor);
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, BelowAllRows(View));
  EXPECT_EQ(BlockTitles(ExpTree()), (QStringList{"Start Block", "Second", "Third"}));
  EXPECT_TRUE(Modified());
  // The block keeps its commands, and the blank line that the press brought into it.
  EXPECT_EQ(ChildTexts(third->AExpNode), (QStringList{"Wait 500 milliseconds", "|"}));
  EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Third"));
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TExperimentTreeTest, NothingIsDraggedOrEditedDuringARun) {
  ASSERT_NO_FATAL_FAILURE(SetUpTree());
  W100->SetTime(600000);  // the run waits here until it is stopped
  Trigger("StartButton");
  ASSERT_TRUE(IsRunActive());
  QWidget* viewport = View->viewport();
  QLabel* label = View->findChild<QLabel*>("DragLabel");
  ASSERT_NE(label, nullptr);
  const QStringList startLines = ChildTexts(Start->AExpNode);

  for (const TTreeNode* node : {W200->AExpNode, Second->AExpNode}) {
    const QPoint from = PointOf(View, node);
    const QPoint to = PointOf(View, W400->AExpNode) + QPoint(0, 30);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, to);
    EXPECT_FALSE(View->IsDragging());
    EXPECT_FALSE(label->isVisible());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
  }
  EXPECT_EQ(ChildTexts(Start->AExpNode), startLines);
  EXPECT_EQ(BlockTitles(ExpTree()), (QStringList{"Start Block", "Second"}));

  // The pop-up offers the items but the editing ones are disabled; the Delete key over
  // the selected command does nothing.
  QMenu* popup = RightClickNode(W200->AExpNode);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(ShownItems(popup),
            (QStringList{"EditExpObjItem", "DeleteExpObjItem", "CommentOutItem", "InsertMenu",
                         "CutScriptItem", "CopyScriptItem", "PasteScriptItem"}));
  for (const char* item : {"CutScriptItem", "CopyScriptItem", "PasteScriptItem"})
    EXPECT_FALSE(Item(popup, item)->isEnabled()) << item;
  EXPECT_FALSE(Item(popup, "DeleteExpObjItem")->isEnabled());
  EXPECT_FALSE(Item(popup, "InsertMenu")->isEnabled());
  EXPECT_FALSE(Item(popup, "CommentOutItem")->isEnabled());
  popup->hide();
  LeftClick(View, PointOf(View, W200->AExpNode));
  QCursor::setPos(View->viewport()->mapToGlobal(PointOf(View, W200->AExpNode)));
  QTest::keyClick(View, Qt::Key_Delete);
  EXPECT_EQ(ChildTexts(Start->AExpNode), startLines);
  EXPECT_FALSE(Modified());

  Dialogs.ScriptAnswers({mbOK});  // "Aborted"
  Trigger("StopButton");
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 20000));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Aborted"});
}
