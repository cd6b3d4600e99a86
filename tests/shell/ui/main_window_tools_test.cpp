// The main window's smaller tools through its real widgets: Start and Stop floated onto
// the tool window and back (with the menu items and keys that follow them), the menu's
// Start and Debug following their buttons as blocks come and go, the current-value box,
// and the shrink button.
#include <QFile>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>

#include "main_window_widgets.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/value_array.h"
#include "scripts/flow/wait_script.h"
#include "shell/draw_block.h"
#include "shell/ui/draw_block_editor.h"
#include "shell/ui/icons.h"
#include "shell/ui/tool_form.h"

namespace {

// The tool bar's button of an action: what the user sees and clicks.
QWidget* ButtonOf(QMainWindow* window, const char* action) {
  auto* bar = window->findChild<QToolBar*>("MainToolBar");
  auto* item = window->findChild<QAction*>(action);
  return bar && item ? bar->widgetForAction(item) : nullptr;
}

}  // namespace

TEST_F(TMainWindowWidgetsTest, FloatMovesStartAndStopToAToolWindowThatFollowsTheRun) {
  StartQorv();
  // A run that lasts until it is stopped.
  AddCommand<TWaitScript>(FirstBlock())->SetTime(600000);
  QWidget* startOnBar = ButtonOf(Window.get(), "StartButton");
  ASSERT_NE(startOnBar, nullptr);
  EXPECT_TRUE(startOnBar->isVisible());
  EXPECT_EQ(Window->ToolWindow(), nullptr);  // made at the first float

  Trigger("FloatButton");
  TToolForm* tool = Window->ToolWindow();
  ASSERT_NE(tool, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return tool->isVisible(); }));
  EXPECT_FALSE(Action("StartButton")->isVisible());
  EXPECT_FALSE(Action("StopButton")->isVisible());
  EXPECT_TRUE(WaitUntil([&] { return !startOnBar->isVisible(); }));
  EXPECT_TRUE(tool->StartButton()->isEnabled());
  EXPECT_FALSE(tool->StopButton()->isEnabled());

  // The tool window's Start runs the experiment; its buttons show the run.
  QTest::mouseClick(tool->StartButton(), Qt::LeftButton);
  ASSERT_TRUE(IsRunActive());
  EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Running"));
  EXPECT_FALSE(tool->StartButton()->isEnabled());
  EXPECT_TRUE(tool->StopButton()->isEnabled());

  // Docked and floated again during the run: the buttons still show it.
  Trigger("FloatButton");
  EXPECT_TRUE(Action("StartButton")->isVisible());
  EXPECT_FALSE(Action("StartButton")->isEnabled());
  EXPECT_TRUE(Action("StopButton")->isEnabled());
  EXPECT_FALSE(tool->isVisible());
  Trigger("FloatButton");
  ASSERT_TRUE(WaitUntil([&] { return tool->isVisible(); }));
  EXPECT_EQ(Window->ToolWindow(), tool);  // one tool window, bound once
  EXPECT_FALSE(tool->StartButton()->isEnabled());
  EXPECT_TRUE(tool->StopButton()->isEnabled());

  // Its Stop ends the run; the buttons come back to the stopped state.
  Dialogs.ScriptAnswers({mbOK});  // "Aborted"
  QTest::mouseClick(tool->StopButton(), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 20000));
  EXPECT_TRUE(tool->StartButton()->isEnabled());
  EXPECT_FALSE(tool->StopButton()->isEnabled());

  // Closing the tool window docks the buttons back, in the stopped state.
  ASSERT_TRUE(tool->close());
  EXPECT_TRUE(WaitUntil([&] { return startOnBar->isVisible(); }));
  EXPECT_TRUE(Action("StartButton")->isEnabled());
  EXPECT_FALSE(Action("StopButton")->isEnabled());
  // A run started from the tool bar now shows there, not on the hidden tool window.
  Dialogs.ScriptAnswers({mbOK});
  Trigger("StartButton");
  EXPECT_TRUE(Action("StopButton")->isEnabled());
  EXPECT_FALSE(tool->isVisible());
  Trigger("StopButton");
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 20000));
}

// While Start and Stop float, the Experiment menu's items and their keys follow the run
// as the buttons do, however often the menu is opened.
TEST_F(TMainWindowWidgetsTest, FloatedStartAndStopKeepTheMenuItemsAndTheirKeys) {
  StartQorv();
  AddCommand<TWaitScript>(FirstBlock())->SetTime(600000);
  Trigger("FloatButton");
  ASSERT_TRUE(WaitUntil([&] { return Window->ToolWindow()->isVisible(); }));
  // The user works in the main window again.
  Window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
  auto menuShows = [&](bool stopped) {
    emit Window->findChild<QMenu*>("ExperimentMenu")->aboutToShow();
    EXPECT_EQ(Action("StartMenuItem")->isEnabled(), stopped);
    EXPECT_EQ(Action("StopMenuItem")->isEnabled(), !stopped);
    EXPECT_EQ(Action("DebugMenuItem")->isEnabled(), stopped);
  };
  auto waitStopped = [&] {
    return WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 20000);
  };

  const struct {
    const char* How;
    std::function<void()> Start, Stop;
  } rounds[] = {
      {"Ctrl+G and Ctrl+S",
       [&] { QTest::keyClick(Window.get(), Qt::Key_G, Qt::ControlModifier); },
       [&] { QTest::keyClick(Window.get(), Qt::Key_S, Qt::ControlModifier); }},
      {"the menu items", [&] { Trigger("StartMenuItem"); }, [&] { Trigger("StopMenuItem"); }},
  };
  for (const auto& round : rounds) {
    SCOPED_TRACE(round.How);
    menuShows(true);
    round.Start();
    ASSERT_TRUE(IsRunActive());
    menuShows(false);
    Dialogs.ScriptAnswers({mbOK});  // "Aborted"
    round.Stop();
    ASSERT_TRUE(waitStopped());
  }
  menuShows(true);
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Aborted", "Aborted"}));
  EXPECT_TRUE(Window->ToolWindow()->isVisible());
}

// Outside a run the Experiment menu's Start and Debug are enabled as their buttons are:
// the last block deleted disables them, a first block added or a new experiment enables
// them again.
TEST_F(TMainWindowWidgetsTest, TheMenusStartAndDebugFollowTheirButtonsAsBlocksComeAndGo) {
  StartQorv();
  auto runnable = [&](bool can) {
    emit Window->findChild<QMenu*>("ExperimentMenu")->aboutToShow();
    for (const char* item : {"StartButton", "StartMenuItem", "DebugButton", "DebugMenuItem"})
      EXPECT_EQ(Action(item)->isEnabled(), can) << item;
  };
  // "Delete" of the diagram's pop-up on the only box.
  auto deleteTheBlock = [&] {
    ASSERT_EQ(Parts().Count(), 1);
    const TPoint centre = dynamic_cast<TDrawBlock&>(*Parts().GetPart(0)).GetCenter();
    QMenu* popup = RightClick(Window->BlockEditor(), {centre.X, centre.Y}, "DrawBlockPopup");
    Dialogs.ScriptAnswers({mbOK});
    ClickItem(popup, "DeleteItem");
    ASSERT_FALSE(Exp().HasBlocks());
  };
  runnable(true);
  deleteTheBlock();
  runnable(false);
  Trigger("NewBlockMenuItem");
  runnable(true);
  deleteTheBlock();
  runnable(false);
  // An experiment without blocks is not asked about.
  emit Window->findChild<QMenu*>("FileMenu")->aboutToShow();
  Trigger("NewExperimentMenuItem");
  runnable(true);
  const std::string none = "There are no blocks, the experiment will not run.";
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{none, none}));
}

TEST_F(TMainWindowWidgetsTest, CurrentValueBoxShowsSavesAndClearsVariables) {
  StartQorv();
  TBlock* block = FirstBlock();
  TData* array = Exp().GetDataArrayList()->Add(block, eatINTEGER, 3, "A");
  TValueArray& elements = static_cast<TDataArray*>(array)->GetValueArray();
  for (int index = 0; index < 3; ++index)
    elements.SetElementText(std::to_string(index + 1), index);
  TData* single = Exp().GetDataSingleList()->Add(block, eatINTEGER, 1, "x");
  single->SetInitialValue("5");

  TNodeTreeView* view = TreeView("ExpAttView");
  auto* box = Window->findChild<QListWidget*>("DataListBox");
  ASSERT_TRUE(view && box);
  EXPECT_FALSE(box->isVisible());
  auto boxLines = [&] {
    QStringList lines;
    for (int row = 0; row < box->count(); ++row) lines << box->item(row)->text();
    return lines;
  };
  auto menuText = [&] {
    emit Window->findChild<QMenu*>("ExperimentMenu")->aboutToShow();
    return Action("ShowCurrentValueMenuItem")->text();
  };
  EXPECT_EQ(menuText(), QString("Show &Current Value List Box"));

  // A list's own node offers no current value.
  QMenu* popup = RightClick(view->viewport(), PointOf(view, array->AExpAttNode->GetParent()),
                            "ExpAttPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(ShownItems(popup).contains("ShowCurrentValueDataItem"));
  popup->hide();
  EXPECT_FALSE(box->isVisible());

  popup = RightClick(view->viewport(), PointOf(view, array->AExpAttNode), "ExpAttPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(ShownItems(popup).contains("ShowCurrentValueDataItem"));
  ClickItem(popup, "ShowCurrentValueDataItem");
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(boxLines(), (QStringList{"A", "1", "2", "3"}));
  EXPECT_EQ(menuText(), QString("Hide &Current Value List Box"));

  // A single variable's line goes on top of those already there.
  popup = RightClick(view->viewport(), PointOf(view, single->AExpAttNode), "ExpAttPopup");
  ASSERT_NE(popup, nullptr);
  ClickItem(popup, "ShowCurrentValueDataItem");
  EXPECT_EQ(boxLines(), (QStringList{"x 5", "A", "1", "2", "3"}));

  // The box's own menu: Save writes the lines, one each; Hide hides the box, and the
  // menu item shows it again with its lines; Clear empties it.
  const std::string path = Temp.PathOf("values.txt");
  Dialogs.ScriptFiles({path});
  const auto boxMenu = [&] {
    return RightClick(box->viewport(), box->visualItemRect(box->item(0)).center(),
                      "ViewValuePopup");
  };
  QMenu* menu = boxMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ShownItems(menu), (QStringList{"Clear", "Save", "Hide"}));
  ClickItem(menu, "Save");
  QFile saved(QString::fromStdString(path));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly | QIODevice::Text));
  EXPECT_EQ(QString::fromUtf8(saved.readAll()).split('\n', Qt::SkipEmptyParts),
            (QStringList{"x 5", "A", "1", "2", "3"}));
  ClickItem(boxMenu(), "Hide");
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(menuText(), QString("Show &Current Value List Box"));
  Trigger("ShowCurrentValueMenuItem");
  EXPECT_EQ(boxLines().size(), 5);
  ClickItem(boxMenu(), "Clear");
  EXPECT_EQ(box->count(), 0);
  EXPECT_TRUE(box->isVisible());
}

TEST_F(TMainWindowWidgetsTest, ShrinkTwiceGivesBackTheHeightTheWindowHad) {
  StartQorv();
  Window->resize(Window->width(), 500);
  ASSERT_TRUE(WaitUntil([&] { return Window->height() == 500; }));
  const int width = Window->width();
  auto* bar = Window->findChild<QToolBar*>("MainToolBar");
  ASSERT_NE(bar, nullptr);

  Trigger("ShrinkButton");
  ASSERT_TRUE(WaitUntil([&] { return Window->height() < 500; }));
  // Only the menu and the tool bars are left.
  EXPECT_LE(Window->height(), Window->menuBar()->height() + bar->height() + 10);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(Window->findChild<QWidget*>("ExperimentView")->isVisible());
  EXPECT_EQ(Action("ShrinkButton")->toolTip(), QString("Restore Qorv Main View"));
  // The button's picture tells which way it goes.
  const auto picture = [&](const QIcon& icon) { return icon.pixmap(24, 24).toImage(); };
  EXPECT_EQ(picture(Action("ShrinkButton")->icon()), picture(QorvIcon("restore")));

  Trigger("ShrinkButton");
  ASSERT_TRUE(WaitUntil([&] { return Window->height() == 500; }));
  EXPECT_EQ(Window->width(), width);
  EXPECT_EQ(Action("ShrinkButton")->toolTip(), QString("Hide Qorv Main View"));
  EXPECT_EQ(picture(Action("ShrinkButton")->icon()), picture(QorvIcon("shrink")));

  // Again from another height: the height kept is the one before each shrink.
  Window->resize(width, 420);
  ASSERT_TRUE(WaitUntil([&] { return Window->height() == 420; }));
  Trigger("ShrinkButton");
  ASSERT_TRUE(WaitUntil([&] { return Window->height() < 420; }));
  Trigger("ShrinkButton");
  EXPECT_TRUE(WaitUntil([&] { return Window->height() == 420; }));
}
