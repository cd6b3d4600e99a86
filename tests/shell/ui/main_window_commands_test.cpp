// Adding and changing commands from the main window through their dialogs: the command
// tool bar, "Insert..." on a command, a double click on a command, the refusal during a
// run, and the Wait and Repeat dialogs' checks, as a user does them.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

#include "command_dialogs_fixture.h"
#include "main_window_widgets.h"
#include "model/experiment_running.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "scripts/flow/wait_script.h"
#include "scripts/script.h"
#include "scripts/ui/repeat_dialog.h"
#include "scripts/ui/script_dialogs.h"
#include "scripts/ui/wait_dialog.h"
#include "shell/command_adding.h"
#include "shell/ui/command_actions.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

using TWaitActor = TModalDialogActor<TWaitScriptForm>;

// Types the text into the Wait box, replacing what it shows, and presses the button.
void TypeAndPress(TWaitScriptForm& dialog, const QString& text, const char* button) {
  auto* edit = Control<QLineEdit>(dialog, "WaitEdit");
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
  QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

}  // namespace

class TCommandDialogsTest : public TCommandDialogsFixture {
protected:
  // A Wait of the time added through the tool button.
  TWaitScript* AddWait(const QString& time) {
    TWaitActor actor([&](TWaitScriptForm& dialog) { TypeAndPress(dialog, time, "Ok"); });
    Trigger("WaitButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    const std::vector<TScript*> commands = Commands(Start);
    return commands.empty() ? nullptr : dynamic_cast<TWaitScript*>(commands.back());
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
};

TEST_F(TCommandDialogsTest, TheWaitButtonAddsAWaitThatADoubleClickChanges) {
  QAction* button = Action("WaitButton");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->toolTip(), QString("Add Wait Command"));
  auto* bar = Window->findChild<QToolBar*>("CmdToolBar");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->windowTitle(), QString("Command Speed Bar"));
  EXPECT_TRUE(bar->actions().contains(button));
  // A command whose dialog is still to come cannot be added yet.
  for (const TAddCommand& row : AddCommands())
    EXPECT_EQ(Action(row.Button)->isEnabled(), HasAddDialog(row)) << row.Button;

  TWaitScriptForm* seen = nullptr;
  TWaitActor actor([&](TWaitScriptForm& dialog) {
    seen = &dialog;
    EXPECT_EQ(dialog.windowTitle(), QString("Wait"));
    EXPECT_TRUE(Control<QLineEdit>(dialog, "WaitEdit")->text().isEmpty());
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "WaitEdit")));
    auto* help = Control<QPushButton>(dialog, "Help");
    EXPECT_EQ(help->property("helpContext").toInt(), 13);
    EXPECT_TRUE(Control<QPushButton>(dialog, "Ok")->isEnabled());
    QTest::keyClicks(Control<QLineEdit>(dialog, "WaitEdit"), "1500");
    QTest::mouseClick(Control<QPushButton>(dialog, "Ok"), Qt::LeftButton);
  });
  Trigger("WaitButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  auto* wait = OnlyCommand<TWaitScript>(Start);
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(wait->GetTime(), 1500);
  EXPECT_EQ(Shown(wait->AExpNode), QString("Wait 1500 milliseconds"));
  // In front of the blank line, which keeps the insertion point.
  EXPECT_EQ(wait->AExpNode->GetNextSibling(), Exp().GetBlankScript()->AExpNode);
  EXPECT_TRUE(Modified());

  // A double click opens the dialog on the command; OK changes it.
  Window->Session().ExperimentChanged(0, 1);
  TWaitActor change([&](TWaitScriptForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "WaitEdit")->text(), QString("1500"));
    TypeAndPress(dialog, "40", "Ok");
  });
  DoubleClick(wait->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(wait->GetTime(), 40);
  EXPECT_EQ(Shown(wait->AExpNode), QString("Wait 40 milliseconds"));
  EXPECT_EQ(Commands(Start).size(), 1u);
  EXPECT_TRUE(Modified());

  // Cancel leaves it as it was, unmarked.
  Window->Session().ExperimentChanged(0, 1);
  TWaitActor cancel([&](TWaitScriptForm& dialog) { TypeAndPress(dialog, "99", "Cancel"); });
  DoubleClick(wait->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_FALSE(cancel.LeftOpen);
  EXPECT_EQ(wait->GetTime(), 40);
  EXPECT_EQ(Shown(wait->AExpNode), QString("Wait 40 milliseconds"));
  EXPECT_FALSE(Modified());
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TCommandDialogsTest, TheWaitDialogRefusesATimeThatIsNotAbove0) {
  for (const QString text : {"0", "-5", "abc", ""}) {
    SCOPED_TRACE(text.toStdString());
    Dialogs.ScriptAnswers({mbOK});
    bool stayedOpen = false;
    QString selected;
    TWaitActor actor([&](TWaitScriptForm& dialog) {
      TypeAndPress(dialog, text, "Ok");
      stayedOpen = dialog.isVisible();
      auto* edit = Control<QLineEdit>(dialog, "WaitEdit");
      EXPECT_TRUE(FocusedInWindow(edit));
      selected = edit->selectedText();
      QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
    });
    Trigger("WaitButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(selected, text);  // the whole text, ready to be typed over
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must enter a time greater than 0"});
    Dialogs.ClearCalls();
    EXPECT_TRUE(Commands(Start).empty());
    EXPECT_FALSE(Modified());
  }
}

TEST_F(TCommandDialogsTest, DuringARunTheWaitButtonRefusesAndOkIsDisabled) {
  TWaitScript* wait = AddWait("25");
  ASSERT_NE(wait, nullptr);
  Window->Session().ExperimentChanged(0, 1);

  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbOK});
  {
    TWaitActor none([](TWaitScriptForm&) {});
    Trigger("WaitButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"Cannot add wait command while running an experiment."});
  // The command can be looked at, not changed.
  bool okEnabled = true;
  TWaitActor look([&](TWaitScriptForm& dialog) {
    okEnabled = Control<QPushButton>(dialog, "Ok")->isEnabled();
    EXPECT_EQ(Control<QLineEdit>(dialog, "WaitEdit")->text(), QString("25"));
    QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
  });
  wait->Edit();
  EXPECT_TRUE(look.Seen);
  EXPECT_FALSE(okEnabled);
  ExperimentRunning = false;
  EXPECT_EQ(Commands(Start).size(), 1u);
  EXPECT_EQ(wait->GetTime(), 25);
}

TEST_F(TCommandDialogsTest, InsertPutsTheNewCommandInFrontOfTheCommandAndCancelLeavesTheBlankLine) {
  TWaitScript* first = AddWait("100");
  TWaitScript* second = AddWait("200");
  ASSERT_TRUE(first && second);
  TTreeNode* blank = Exp().GetBlankScript()->AExpNode;
  ASSERT_EQ(second->AExpNode->GetNextSibling(), blank);

  // The submenu shows for a command, not for a block.
  QMenu* popup = RightClick(View->viewport(), PointOf(View, Start->AExpNode), "ExpObjPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(Item(popup, "InsertMenu")->isVisible());
  popup->close();
  popup = RightClick(View->viewport(), PointOf(View, second->AExpNode), "ExpObjPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Item(popup, "InsertMenu")->isVisible());
  EXPECT_TRUE(Item(popup, "InsertMenu")->isEnabled());
  popup->close();
  ASSERT_EQ(ExpTree().GetSelected(), second->AExpNode);

  TWaitActor cancel([](TWaitScriptForm& dialog) { TypeAndPress(dialog, "5", "Cancel"); });
  Trigger("InsertWaitButton");
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(Commands(Start), (std::vector<TScript*>{first, second}));
  EXPECT_EQ(second->AExpNode->GetNextSibling(), blank);
  EXPECT_EQ(ExpTree().GetSelected(), blank);

  popup = RightClick(View->viewport(), PointOf(View, second->AExpNode), "ExpObjPopup");
  ASSERT_NE(popup, nullptr);
  popup->close();
  TWaitActor ok([](TWaitScriptForm& dialog) { TypeAndPress(dialog, "150", "Ok"); });
  Trigger("InsertWaitButton");
  ASSERT_TRUE(ok.Seen);
  const std::vector<TScript*> commands = Commands(Start);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0], first);
  EXPECT_EQ(commands[1]->GetText(), "Wait 150 milliseconds");
  EXPECT_EQ(Shown(commands[1]->AExpNode), QString("Wait 150 milliseconds"));
  EXPECT_EQ(commands[2], second);
}

namespace {

using TRepeatActor = TModalDialogActor<TRepeatScriptForm>;

void TypeCountAndPress(TRepeatScriptForm& dialog, const QString& count, const char* button) {
  auto* edit = Control<QLineEdit>(dialog, "CountEdit");
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, count);
  QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

}  // namespace

TEST_F(TCommandDialogsTest, TheRepeatButtonNeedsALabelAndACountAbove0) {
  // Without a Label there is nothing to repeat from: no dialog.
  Dialogs.ScriptAnswers({mbOK});
  {
    TRepeatActor none([](TRepeatScriptForm&) {});
    Trigger("RepeatButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"No labels to repeat from."});
  Dialogs.ClearCalls();

  auto* top = AddCommand<TLabelScript>(Start);
  top->SetTitle("Top");
  TWaitScript* wait = AddWait("10");
  ASSERT_NE(wait, nullptr);
  Window->Session().ExperimentChanged(0, 1);

  for (const QString count : {"0", "-1", "x"}) {
    SCOPED_TRACE(count.toStdString());
    Dialogs.ScriptAnswers({mbOK});
    bool stayedOpen = false;
    TRepeatActor actor([&](TRepeatScriptForm& dialog) {
      TypeCountAndPress(dialog, count, "Ok");
      stayedOpen = dialog.isVisible();
      EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "CountEdit")));
      QTest::mouseClick(Control<QPushButton>(dialog, "Cancel"), Qt::LeftButton);
    });
    Trigger("RepeatButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Dialogs.Texts(),
              std::vector<std::string>{"You must enter an integer value greater than 0"});
    Dialogs.ClearCalls();
    EXPECT_EQ(Commands(Start), (std::vector<TScript*>{top, wait}));
    EXPECT_FALSE(Modified());
  }

  TRepeatActor add([&](TRepeatScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Repeat"));
    auto* labels = Control<QComboBox>(dialog, "LabelBox");
    EXPECT_EQ(labels->count(), 1);
    EXPECT_EQ(labels->currentText().toStdString(), top->GetText());
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "CountEdit")));  // one Label only
    TypeCountAndPress(dialog, "3", "Ok");
  });
  Trigger("RepeatButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  auto* repeat = dynamic_cast<TRepeatScript*>(Commands(Start).back());
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(repeat->GetLabelScript(), top);
  EXPECT_EQ(repeat->GetRepeatCount(), 3);
  EXPECT_EQ(Shown(repeat->AExpNode).toStdString(), repeat->GetText());
  EXPECT_EQ(wait->AExpNode->GetParent(), top->AExpNode);  // the section is nested
  EXPECT_TRUE(Modified());

  // A double click shows its count; Cancel leaves it, OK changes it.
  TRepeatActor cancel([](TRepeatScriptForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "CountEdit")->text(), QString("3"));
    TypeCountAndPress(dialog, "8", "Cancel");
  });
  DoubleClick(repeat->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(repeat->GetRepeatCount(), 3);
  TRepeatActor change([](TRepeatScriptForm& dialog) { TypeCountAndPress(dialog, "5", "Ok"); });
  DoubleClick(repeat->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(repeat->GetRepeatCount(), 5);
  EXPECT_EQ(repeat->GetLabelScript(), top);
  EXPECT_EQ(Shown(repeat->AExpNode).toStdString(), repeat->GetText());
}

TEST_F(TCommandDialogsTest, AddScriptOnABlockAddsAtTheEndOfThatBlock) {
  TBlock* second = AddBlock("Second");
  QMenu* popup = RightClick(View->viewport(), PointOf(View, second->AExpNode), "ExpObjPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Item(popup, "AddScriptMenu")->isVisible());
  EXPECT_FALSE(Item(popup, "InsertMenu")->isVisible());
  popup->close();
  ASSERT_EQ(Exp().GetCurrentBlock(), second);  // the press made it current

  TWaitActor actor([](TWaitScriptForm& dialog) { TypeAndPress(dialog, "70", "Ok"); });
  Trigger("AddWaitButton");
  ASSERT_TRUE(actor.Seen);
  const std::vector<TScript*> commands = Commands(second);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->GetText(), "Wait 70 milliseconds");
  EXPECT_TRUE(Commands(Start).empty());
  for (const TAddCommand& row : AddCommands())
    EXPECT_EQ(Action((std::string("Add") + row.Button).c_str())->isEnabled(), HasAddDialog(row))
        << row.Button;
}

TEST_F(TCommandDialogsTest, TheDeviceCommandsMenuOffersTheDeviceCommandsOnly) {
  QMenu menu;
  FillDeviceCommandsMenu(menu, Window->Session(), [] { return nullptr; });
  QStringList names;
  for (QAction* item : menu.actions()) {
    names << item->objectName();
    // Offered exactly when the command has its dialog.
    const TAddCommand* row = AddCommandOf(item->objectName().mid(7).toStdString());
    ASSERT_NE(row, nullptr) << item->objectName().toStdString();
    EXPECT_EQ(item->isEnabled(), HasAddDialog(*row)) << item->objectName().toStdString();
  }
  // In the device list's order.
  EXPECT_EQ(names, (QStringList{"CommandSendButton", "CommandReadButton", "CommandSendReadButton",
                                "CommandSendGPIBButton", "CommandSendBinaryButton",
                                "CommandSerialPollButton", "CommandSendRS232Button",
                                "CommandClearBuffer"}));
}
