// The command dialogs' base: its buttons, OK disabled during a run, and the OK's last
// step, which makes or changes the command, marks the experiment modified and closes, or
// on a failure of the set-up shows why, takes back the command it made and stays open.
#include "scripts/ui/script_form.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/block.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "scripts/flow/wait_script.h"
#include "support/block_commands.h"
#include "support/fake_ui_port.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

// A Wait dialog whose set-up is the test's.
class TTestForm : public TScriptForm {
public:
  TTestForm(TWaitScriptRequest& request, std::function<void(TWaitScript&)> setUp)
      : TScriptForm(request, 13, nullptr), SetUpWait(std::move(setUp)) {}

protected:
  void OkClick() override {
    Closed = Apply(TScript::WAIT, [this](TScript& s) { SetUpWait(static_cast<TWaitScript&>(s)); });
  }

public:
  std::function<void(TWaitScript&)> SetUpWait;
  bool Closed = false;
};

class ScriptFormTest : public ::testing::Test {
protected:
  ScriptFormTest() {
    Previous = SetUiPort(&Ui);
    Block = Exp.AddBlock("B");
    Exp.SelectBlock(nullptr);
    Request.Experiment = &Exp;
    Request.Block = Block;
    Ui.Clear();  // what making the experiment reported
  }
  ~ScriptFormTest() override {
    ExperimentRunning = false;
    SetUiPort(Previous);
  }
  // The commands of the block, the blank line left out.
  std::vector<TScript*> Commands() const { return BlockCommands(Block); }
  void PressOk(TTestForm& form) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(Control<QPushButton>(form, "Ok"), Qt::LeftButton);
  }

  TFakeUiPort Ui;
  TScriptedUserDialogs Dialogs;
  TExperiment Exp;
  TBlock* Block = nullptr;
  TWaitScriptRequest Request;
  TUiPort* Previous = nullptr;
};

const auto Failing = [](TWaitScript& wait) {
  wait.SetTime(77);  // half done when it fails
  throw EExperimentError("The time cannot be set");
};

TEST_F(ScriptFormTest, TheBaseButtonsAndOkDuringARun) {
  TTestForm form(Request, [](TWaitScript&) {});
  for (const char* name : {"Panel1", "Ok", "Cancel", "Help"})
    EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
  auto* help = Control<QPushButton>(form, "Help");
  EXPECT_EQ(help->property("helpContext").toInt(), 13);
  EXPECT_FALSE(help->isEnabled());
  EXPECT_TRUE(Control<QPushButton>(form, "Ok")->isDefault());

  ExperimentRunning = true;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_FALSE(Control<QPushButton>(form, "Ok")->isEnabled());
  form.hide();
  ExperimentRunning = false;
  form.show();
  EXPECT_TRUE(Control<QPushButton>(form, "Ok")->isEnabled());
}

TEST_F(ScriptFormTest, AFailingSetUpTakesBackTheNewCommandAndKeepsTheDialogOpen) {
  Dialogs.ScriptAnswers({mbOK});
  TTestForm form(Request, Failing);
  PressOk(form);
  EXPECT_FALSE(form.Closed);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"The time cannot be set"});
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(Request.Script, nullptr);
  EXPECT_TRUE(Ui.ExperimentChanges().empty());
  EXPECT_EQ(Exp.GetCurrentBlock(), Block);  // the blank line is still there

  // Corrected, the same dialog makes the command.
  form.SetUpWait = [](TWaitScript& wait) { wait.SetTime(300); };
  QTest::mouseClick(Control<QPushButton>(form, "Ok"), Qt::LeftButton);
  EXPECT_TRUE(form.Closed);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(Request.Script, Commands()[0]);
  EXPECT_EQ(Commands()[0]->GetText(), "Wait 300 milliseconds");
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(ScriptFormTest, AFailingSetUpLeavesAnEditedCommandInItsBlock) {
  auto* wait = static_cast<TWaitScript*>(AddScriptToSelectedBlock(Exp, TScript::WAIT));
  wait->SetTime(20);
  Request.Script = wait;
  Ui.Clear();
  Dialogs.ScriptAnswers({mbOK});
  TTestForm form(Request, Failing);
  PressOk(form);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(Commands(), std::vector<TScript*>{wait});
  EXPECT_EQ(Request.Script, wait);
  EXPECT_TRUE(Ui.ExperimentChanges().empty());
}

}  // namespace
