// Cut, Copy and Paste in the main window's experiment tree, as the user reaches them: the
// pop-up items "Cut", "Copy", "Paste" and the "Paste" of "Insert...", and Ctrl+X, Ctrl+C
// and Ctrl+V over the selected node; a command bound to its block copied within it and
// refused by another; copies dropped with the device they name and with the experiment;
// nothing offered during a run.
#include <QCursor>
#include <QTreeWidget>

#include <vector>

#include "communication/device_list.h"
#include "main_window_widgets.h"
#include "scripts/flow/wait_script.h"
#include "scripts/script.h"
#include "support/block_commands.h"
#include "support/copy_samples.h"

namespace {

class ClipboardWindowTest : public TMainWindowWidgetsTest {
protected:
  void Begin() {
    ASSERT_NO_FATAL_FAILURE(StartQorv());
    Start = FirstBlock();
    ASSERT_NE(Start, nullptr);
    View = TreeView("ExperimentView");
    ASSERT_NE(View, nullptr);
  }
  TTreeNode* BlankNode() const { return Exp().GetBlankScript()->AExpNode; }
  QMenu* RightClickNode(const TTreeNode* node) {
    return RightClick(View->viewport(), PointOf(View, node), "ExpObjPopup");
  }
  QMenu* Popup() const { return Window->findChild<QMenu*>("ExpObjPopup"); }
  // The item of the pop-up menu as the last right click left it.
  bool Offered(const char* name) const {
    QAction* item = Window->findChild<QAction*>(name);
    EXPECT_NE(item, nullptr) << name;
    return item && item->isVisible() && item->isEnabled();
  }
  // Clicks the item of the pop-up of the node.
  void Choose(const TTreeNode* node, const char* item) {
    QMenu* popup = RightClickNode(node);
    ASSERT_NE(popup, nullptr);
    ClickItem(popup, item);
  }
  // Clicks the "Paste" of the node's "Insert...".
  void PasteInsert(const TTreeNode* node) {
    QMenu* popup = RightClickNode(node);
    ASSERT_NE(popup, nullptr);
    QAction* item = Window->findChild<QAction*>("PasteInsertItem");
    ASSERT_TRUE(item && item->isVisible() && item->isEnabled());
    item->trigger();
    popup->hide();
  }
  // A shortcut with the pointer over the node, which the click selected.
  void KeyOver(const TTreeNode* node, Qt::Key key) {
    LeftClick(View, PointOf(View, node));
    ASSERT_EQ(ExpTree().GetSelected(), node);
    QCursor::setPos(View->viewport()->mapToGlobal(PointOf(View, node)));
    QTest::keyClick(View, key, Qt::ControlModifier);
  }
  QString Shown(const TTreeNode* node) const {
    return View->TreeModel()->IndexOf(node).data().toString();
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
  void ClearModified() { Window->Session().ExperimentChanged(0, 1); }
  TWaitScript* Wait(TBlock* block, int milliseconds) {
    auto* wait = AddCommand<TWaitScript>(block);
    wait->SetTime(milliseconds);
    return wait;
  }

  TBlock* Start = nullptr;
  TNodeTreeView* View = nullptr;
};

// A Read, which goes only into its own block (the block rule of every type: the core's
// clipboard test).
TEST_F(ClipboardWindowTest, CopyAndPasteThroughThePopupMenuAndTheKeys) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  TBlock* second = AddBlock("Second");
  TScript* sample = TCopySamples(Exp(), Window->Session().GetDeviceList(), Start,
                                 Temp.Path().string())
                        .MakeFirst(TScript::READ)
                        .Command;
  Window->RefreshViews();
  const QString text = QString::fromStdString(sample->GetText());
  ClearModified();

  ASSERT_NE(RightClickNode(sample->AExpNode), nullptr);
  EXPECT_TRUE(Offered("CopyScriptItem") && Offered("CutScriptItem"));
  EXPECT_FALSE(Offered("PasteScriptItem") || Offered("PasteInsertItem"));  // nothing held
  ClickItem(Popup(), "CopyScriptItem");
  EXPECT_TRUE(Modified());

  Choose(BlankNode(), "PasteScriptItem");
  std::vector<TScript*> commands = BlockCommands(Start);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(Shown(commands[1]->AExpNode), text);

  // Ctrl+V over the original: the copy goes in front of it, without a question.
  ASSERT_NO_FATAL_FAILURE(KeyOver(sample->AExpNode, Qt::Key_V));
  commands = BlockCommands(Start);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[1], sample);
  EXPECT_EQ(Shown(commands[0]->AExpNode), text);
  EXPECT_TRUE(Dialogs.Boxes().empty());

  // The other block: pressing its node makes it current; its blank line does not take
  // the copy, by menu or key.
  ASSERT_NE(RightClickNode(second->AExpNode), nullptr);
  Popup()->hide();
  ASSERT_EQ(Exp().GetCurrentBlock(), second);
  ASSERT_NE(RightClickNode(BlankNode()), nullptr);
  EXPECT_FALSE(Offered("PasteScriptItem"));
  Popup()->hide();
  ASSERT_NO_FATAL_FAILURE(KeyOver(BlankNode(), Qt::Key_V));
  EXPECT_TRUE(BlockCommands(second).empty());
  EXPECT_EQ(BlockCommands(Start).size(), 3u);
}

TEST_F(ClipboardWindowTest, CtrlXThenTwoPastesGiveTwoAlikeAndTheKeysWantThePointer) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  TWaitScript* w100 = Wait(Start, 100);
  TWaitScript* w250 = Wait(Start, 250);
  Window->RefreshViews();
  ClearModified();

  // Away from the selection Ctrl+X does nothing.
  LeftClick(View, PointOf(View, w250->AExpNode));
  QCursor::setPos(View->viewport()->mapToGlobal(PointOf(View, w100->AExpNode)));
  QTest::keyClick(View, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(BlockCommands(Start).size(), 2u);
  EXPECT_FALSE(Modified());

  ASSERT_NO_FATAL_FAILURE(KeyOver(w250->AExpNode, Qt::Key_X));
  ASSERT_EQ(BlockCommands(Start).size(), 1u);
  EXPECT_TRUE(Modified());
  ASSERT_NO_FATAL_FAILURE(KeyOver(BlankNode(), Qt::Key_V));
  ASSERT_NO_FATAL_FAILURE(KeyOver(BlankNode(), Qt::Key_V));
  const std::vector<TScript*> commands = BlockCommands(Start);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0], w100);
  EXPECT_EQ(Shown(commands[1]->AExpNode), QString("Wait 250 milliseconds"));
  EXPECT_EQ(Shown(commands[2]->AExpNode), QString("Wait 250 milliseconds"));
  EXPECT_EQ(static_cast<TWaitScript*>(commands[2])->GetText(), "Wait 250 milliseconds");

  // Ctrl+C over a command copies it.
  ASSERT_NO_FATAL_FAILURE(KeyOver(w100->AExpNode, Qt::Key_C));
  ASSERT_NO_FATAL_FAILURE(KeyOver(BlankNode(), Qt::Key_V));
  EXPECT_EQ(Shown(BlockCommands(Start).back()->AExpNode), QString("Wait 100 milliseconds"));
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(ClipboardWindowTest, PasteOntoACommandAsksAndInsertPasteDoesNot) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  TWaitScript* w100 = Wait(Start, 100);
  TWaitScript* w200 = Wait(Start, 200);
  Window->RefreshViews();
  Choose(w100->AExpNode, "CopyScriptItem");

  // The pop-up of a command offers both pastes.
  ASSERT_NE(RightClickNode(w200->AExpNode), nullptr);
  EXPECT_TRUE(Offered("PasteScriptItem") && Offered("PasteInsertItem"));
  EXPECT_EQ(Window->findChild<QMenu*>("InsertMenu")->actions().first()->objectName(),
            QString("PasteInsertItem"));
  Popup()->hide();

  // The question in a message box (No: tree_clipboard_test and the core's test).
  Dialogs.ScriptAnswers({mbYes});
  Choose(w200->AExpNode, "PasteScriptItem");
  ASSERT_EQ(Dialogs.Texts().size(), 1u);
  EXPECT_EQ(Dialogs.Texts()[0].rfind("This will overwrite the old script.", 0), 0u);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, QString("Qorv Message"));
  ASSERT_EQ(BlockCommands(Start).size(), 2u);
  EXPECT_EQ(Shown(BlockCommands(Start)[1]->AExpNode), QString("Wait 100 milliseconds"));

  TScript* last = BlockCommands(Start)[1];
  ASSERT_NO_FATAL_FAILURE(PasteInsert(last->AExpNode));
  ASSERT_EQ(BlockCommands(Start).size(), 3u);
  EXPECT_EQ(BlockCommands(Start)[2], last);
  EXPECT_EQ(Dialogs.Texts().size(), 1u);  // no question this time
}

TEST_F(ClipboardWindowTest, DeletingTheCopysDeviceOrANewExperimentLeavesNothingToPaste) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  TCopySamples samples(Exp(), Window->Session().GetDeviceList(), Start, Temp.Path().string());
  TScript* gpib = samples.MakeFirst(TScript::SENDGPIB).Command;
  TScript* wait = samples.MakeFirst(TScript::WAIT).Command;
  Window->RefreshViews();

  // The Send GPIB's device, through the device list.
  Choose(gpib->AExpNode, "CopyScriptItem");
  auto* devices = Window->findChild<QTreeWidget*>("DeviceView");
  ASSERT_NE(devices, nullptr);
  QTreeWidgetItem* meter = nullptr;
  for (int row = 0; row < devices->topLevelItemCount(); ++row)
    if (devices->topLevelItem(row)->text(0) == "Meter") meter = devices->topLevelItem(row);
  ASSERT_NE(meter, nullptr);
  Dialogs.ScriptAnswers({mbYes});
  QMenu* popup = RightClick(devices->viewport(), devices->visualItemRect(meter).center(),
                            "DevicePopupMenu");
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, "DeleteDeviceItem");
  ASSERT_EQ(BlockCommands(Start), (std::vector<TScript*>{wait}));
  ASSERT_NE(RightClickNode(wait->AExpNode), nullptr);
  EXPECT_FALSE(Offered("PasteScriptItem") || Offered("PasteInsertItem"));
  Popup()->hide();

  // A copy that names nothing lives until the experiment goes.
  Choose(wait->AExpNode, "CopyScriptItem");
  ASSERT_NE(RightClickNode(BlankNode()), nullptr);
  EXPECT_TRUE(Offered("PasteScriptItem"));
  Popup()->hide();
  Dialogs.ScriptAnswers({mbNo, mbYes});  // not saved; the devices cleared too
  Trigger("NewExperimentMenuItem");
  Start = FirstBlock();
  ASSERT_NE(Start, nullptr);
  ASSERT_NE(RightClickNode(BlankNode()), nullptr);
  EXPECT_FALSE(Offered("PasteScriptItem"));
  Popup()->hide();
  ASSERT_NO_FATAL_FAILURE(KeyOver(BlankNode(), Qt::Key_V));
  EXPECT_TRUE(BlockCommands(Start).empty());
}

TEST_F(ClipboardWindowTest, NothingIsOfferedDuringARun) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  TWaitScript* w100 = Wait(Start, 100);
  Window->RefreshViews();
  Choose(w100->AExpNode, "CopyScriptItem");
  ClearModified();
  ExperimentRunning = true;
  ASSERT_NE(RightClickNode(w100->AExpNode), nullptr);
  for (const char* item :
       {"CutScriptItem", "CopyScriptItem", "PasteScriptItem", "PasteInsertItem"}) {
    QAction* action = Window->findChild<QAction*>(item);
    ASSERT_NE(action, nullptr) << item;
    EXPECT_TRUE(action->isVisible()) << item;  // shown, but greyed
    EXPECT_FALSE(action->isEnabled()) << item;
  }
  Popup()->hide();
  ASSERT_NO_FATAL_FAILURE(KeyOver(w100->AExpNode, Qt::Key_X));
  ASSERT_NO_FATAL_FAILURE(KeyOver(w100->AExpNode, Qt::Key_V));
  ExperimentRunning = false;
  EXPECT_EQ(BlockCommands(Start), (std::vector<TScript*>{w100}));
  EXPECT_FALSE(Modified());
}

}  // namespace
