// Qorv started on a new experiment with the command dialogs (and the Variables dialog
// behind their New buttons) registered as at start-up: what the command dialogs' tests
// share to add commands through the tool bar and change them by double-click.
#pragma once

#include <QTest>

#include <vector>

#include "main_window_widgets.h"
#include "model/experiment_running.h"
#include "model/ui/model_dialogs.h"
#include "scripts/script.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/block_commands.h"

class TCommandDialogsFixture : public TMainWindowWidgetsTest {
protected:
  TCommandDialogsFixture() {
    RegisterScriptDialogs(Registry);
    RegisterModelDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }
  ~TCommandDialogsFixture() override {
    ExperimentRunning = false;
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
  }
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartQorv());
    Start = FirstBlock();
    ASSERT_NE(Start, nullptr);
    ASSERT_EQ(Exp().GetCurrentBlock(), Start);
    View = TreeView("ExperimentView");
  }
  // The commands of the block, the blank line left out.
  std::vector<TScript*> Commands(TBlock* block) const { return BlockCommands(block); }
  // The block's only command when it is one of that type; null (and a failure when the
  // block holds another number of commands) otherwise.
  template <class TCommand>
  TCommand* OnlyCommand(TBlock* block) const {
    const std::vector<TScript*> commands = Commands(block);
    EXPECT_EQ(commands.size(), 1u);
    return commands.size() == 1 ? dynamic_cast<TCommand*>(commands[0]) : nullptr;
  }
  // The node's text as the experiment tree shows it.
  QString Shown(const TTreeNode* node) const {
    return View->TreeModel()->IndexOf(node).data().toString();
  }
  void DoubleClick(const TTreeNode* node) {
    const QPoint at = PointOf(View, node);
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(View->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(View->viewport(), Qt::LeftButton, {}, at);
  }

  TDialogRegistry Registry;
  TBlock* Start = nullptr;  // the new experiment's start block
  TNodeTreeView* View = nullptr;
};
