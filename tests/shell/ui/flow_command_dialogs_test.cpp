// The dialogs of the commands that shape a block's flow, driven from the main window as a
// user does: Increment, Label, Comment, If-Then with its condition, and the Decision.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

#include "command_dialogs_fixture.h"
#include "main_window_widgets.h"
#include "expressions/condition.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/variable_data.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/dec_script.h"
#include "scripts/flow/else_script.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_until_script.h"
#include "scripts/script.h"
#include "scripts/script_request.h"
#include "scripts/ui/comment_dialog.h"
#include "scripts/ui/dec_dialog.h"
#include "scripts/ui/if_then_dialog.h"
#include "scripts/ui/increment_dialog.h"
#include "scripts/ui/label_dialog.h"
#include "scripts/ui/repeat_until_dialog.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

// Chooses the item of the combo box by its text, as the keyboard does.
void Choose(QWidget& dialog, const char* combo, const QString& text) {
  auto* box = Control<QComboBox>(dialog, combo);
  const int index = box->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  box->setFocus();
  while (box->currentIndex() < index) QTest::keyClick(box, Qt::Key_Down);
  while (box->currentIndex() > index) QTest::keyClick(box, Qt::Key_Up);
}

QStringList Items(QWidget& dialog, const char* combo) {
  auto* box = Control<QComboBox>(dialog, combo);
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace

class TFlowDialogsTest : public TCommandDialogsFixture {
protected:
  void DoubleClick(const TTreeNode* node) {
    View->expandAll();
    const QPoint at = PointOf(View, node);
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, at);
    QTest::mousePress(View->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(View->viewport(), Qt::LeftButton, {}, at);
  }
  TDataSingle* Single(const std::string& name, int type) {
    auto* variable =
        static_cast<TDataSingle*>(Exp().GetDataSingleList()->Add(Start, type, 1, name));
    Window->RefreshViews();
    return variable;
  }
  TDataArray* Array(const std::string& name, int type, std::int32_t size) {
    auto* variable =
        static_cast<TDataArray*>(Exp().GetDataArrayList()->Add(Start, type, size, name));
    Window->RefreshViews();
    return variable;
  }
  bool Modified() const { return Panel(TQorvForm::spModified) == "Modified"; }
  void ClearModified() { Window->Session().ExperimentChanged(0, 1); }
};

// Increment

using TIncrementActor = TModalDialogActor<TIncrementScriptForm>;

TEST_F(TFlowDialogsTest, TheIncrementDialogListsWritableNumbersAndAddsAndChangesTheCommand) {
  // Without single variables, and with only a string and a read-only one: no dialog.
  Dialogs.ScriptAnswers({mbOK});
  Array("a", eatINTEGER, 4);
  {
    TIncrementActor none([](TIncrementScriptForm&) {});
    Trigger("IncrementButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"No variables to increment."});
  Dialogs.ClearCalls();
  Single("s", eatSTRING);
  TDataSingle* fixed = Single("fixed", eatINTEGER);
  fixed->SetReadOnly(true);
  ASSERT_TRUE(fixed->IsReadOnly());
  Dialogs.ScriptAnswers({mbOK});
  {
    TIncrementActor none([](TIncrementScriptForm&) {});
    Trigger("IncrementButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{
                                 "Only readable integer and float variables can be incremented."});
  Dialogs.ClearCalls();

  TDataSingle* n = Single("n", eatINTEGER);
  TDataSingle* f = Single("f", eatFLOAT);
  ClearModified();
  TIncrementActor add([&](TIncrementScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Increment"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 5);
    EXPECT_EQ(Items(dialog, "ConstantBox"), (QStringList{"n", "f"}));
    EXPECT_EQ(Control<QComboBox>(dialog, "ConstantBox")->currentText(), QString("n"));
    EXPECT_EQ(dialog.focusWidget(), Control<QComboBox>(dialog, "ConstantBox"))
        << (dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "none");
    EXPECT_TRUE(Control<QLineEdit>(dialog, "IncEdit")->text().isEmpty());
    Choose(dialog, "ConstantBox", "f");
    Retype(dialog, "IncEdit", "0.25");
    Press(dialog, "Ok");
  });
  Trigger("IncrementButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* increment = dynamic_cast<TIncrementScript*>(Commands(Start)[0]);
  ASSERT_NE(increment, nullptr);
  EXPECT_EQ(increment->GetVariable()->GetData(), f);
  EXPECT_EQ(increment->GetStep()->GetFloat(), 0.25f);
  EXPECT_EQ(Shown(increment->AExpNode), QString("Increment f by 0.25"));
  EXPECT_TRUE(Modified());

  // A double click shows the command; Cancel leaves it, OK changes it.
  ClearModified();
  TIncrementActor cancel([&](TIncrementScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "ConstantBox")->currentText(), QString("f"));
    EXPECT_EQ(Control<QLineEdit>(dialog, "IncEdit")->text(), QString("0.25"));
    Choose(dialog, "ConstantBox", "n");
    Retype(dialog, "IncEdit", "9");
    Press(dialog, "Cancel");
  });
  DoubleClick(increment->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(Shown(increment->AExpNode), QString("Increment f by 0.25"));
  EXPECT_FALSE(Modified());
  TIncrementActor change([&](TIncrementScriptForm& dialog) {
    Choose(dialog, "ConstantBox", "n");
    Retype(dialog, "IncEdit", "-3");
    Press(dialog, "Ok");
  });
  DoubleClick(increment->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(increment->GetVariable()->GetData(), n);
  EXPECT_EQ(increment->GetStep()->GetInt(), -3);
  EXPECT_EQ(Shown(increment->AExpNode), QString("Increment n by -3"));
  EXPECT_EQ(Commands(Start).size(), 1u);
  EXPECT_TRUE(Modified());

  // An empty amount.
  Dialogs.ScriptAnswers({mbOK});
  bool stayedOpen = false;
  TIncrementActor empty([&](TIncrementScriptForm& dialog) {
    Retype(dialog, "IncEdit", "");
    Press(dialog, "Ok");
    stayedOpen = dialog.isVisible();
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "IncEdit")));
    Press(dialog, "Cancel");
  });
  DoubleClick(increment->AExpNode);
  ASSERT_TRUE(empty.Seen);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"You must enter and amount to increment by."});
}

TEST_F(TFlowDialogsTest, AnIncrementAmountThatDoesNotConvertIsRefusedBeforeAnythingChanges) {
  TDataSingle* n = Single("n", eatINTEGER);
  TDataSingle* f = Single("f", eatFLOAT);
  ClearModified();
  // A new command: nothing is made, the amount has the focus, the dialog stays open.
  Dialogs.ScriptAnswers({mbOK});
  bool stayedOpen = false;
  QString selected;
  TIncrementActor bad([&](TIncrementScriptForm& dialog) {
    Retype(dialog, "IncEdit", "abc");
    Press(dialog, "Ok");
    stayedOpen = dialog.isVisible();
    auto* edit = Control<QLineEdit>(dialog, "IncEdit");
    EXPECT_TRUE(FocusedInWindow(edit));
    selected = edit->selectedText();
    Press(dialog, "Cancel");
  });
  Trigger("IncrementButton");
  ASSERT_TRUE(bad.Seen);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(selected, QString("abc"));
  ASSERT_EQ(Dialogs.Texts().size(), 1u);
  EXPECT_EQ(Dialogs.Texts()[0].rfind("The value is not an integer. Value is abc", 0), 0u);
  Dialogs.ClearCalls();
  EXPECT_TRUE(Commands(Start).empty());
  EXPECT_FALSE(Modified());
  EXPECT_FALSE(n->HasUsers());

  // An edited command keeps its variable and amount.
  auto* increment = AddCommand<TIncrementScript>(Start);
  increment->SetUpIncrement(n, "2");
  Window->RefreshViews();
  ClearModified();
  Dialogs.ScriptAnswers({mbOK});
  TIncrementActor edit([&](TIncrementScriptForm& dialog) {
    Choose(dialog, "ConstantBox", "f");
    Retype(dialog, "IncEdit", "1,5x");
    Press(dialog, "Ok");
    stayedOpen = dialog.isVisible();
    Press(dialog, "Cancel");
  });
  DoubleClick(increment->AExpNode);
  ASSERT_TRUE(edit.Seen);
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(Dialogs.Texts().size(), 1u);
  EXPECT_EQ(Dialogs.Texts()[0].rfind("The value is not an float. Value is 1,5x", 0), 0u);
  EXPECT_EQ(increment->GetVariable()->GetData(), n);
  EXPECT_EQ(increment->GetIncrementText(), "2");
  EXPECT_EQ(Shown(increment->AExpNode), QString("Increment n by 2"));
  EXPECT_FALSE(f->HasUsers());
  EXPECT_FALSE(Modified());
}

// Label and Comment

using TLabelActor = TModalDialogActor<TLabelScriptForm>;
using TCommentActor = TModalDialogActor<TCommentScriptForm>;

TEST_F(TFlowDialogsTest, TheLabelDialogWantsATitleAndTakesBlanks) {
  Dialogs.ScriptAnswers({mbOK});
  bool stayedOpen = false;
  TLabelActor empty([&](TLabelScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Label"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 2);
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "LabelEdit")));
    Press(dialog, "Ok");
    stayedOpen = dialog.isVisible();
    EXPECT_TRUE(FocusedInWindow(Control<QLineEdit>(dialog, "LabelEdit")));
    Press(dialog, "Cancel");
  });
  Trigger("AddLabelCmd");
  ASSERT_TRUE(empty.Seen);
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must enter a label title"});
  EXPECT_TRUE(Commands(Start).empty());

  TLabelActor blanks([](TLabelScriptForm& dialog) {
    Retype(dialog, "LabelEdit", "   ");
    Press(dialog, "Ok");
  });
  Trigger("AddLabelCmd");
  ASSERT_TRUE(blanks.Seen);
  EXPECT_FALSE(blanks.LeftOpen);
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* label = dynamic_cast<TLabelScript*>(Commands(Start)[0]);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetTitle(), "   ");

  TLabelActor cancel([](TLabelScriptForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "LabelEdit")->text(), QString("   "));
    Retype(dialog, "LabelEdit", "Gone");
    Press(dialog, "Cancel");
  });
  DoubleClick(label->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(label->GetTitle(), "   ");
  ClearModified();
  TLabelActor change([](TLabelScriptForm& dialog) {
    Retype(dialog, "LabelEdit", "Top of loop");
    Press(dialog, "Ok");
  });
  DoubleClick(label->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(label->GetTitle(), "Top of loop");
  EXPECT_EQ(Shown(label->AExpNode), QString("Top of loop"));
  EXPECT_EQ(Commands(Start).size(), 1u);
  EXPECT_TRUE(Modified());
}

TEST_F(TFlowDialogsTest, TheCommentDialogTrimsAndRefusesBlanks) {
  for (const QString text : {"", "    "}) {
    Dialogs.ScriptAnswers({mbOK});
    bool stayedOpen = false;
    TCommentActor refused([&](TCommentScriptForm& dialog) {
      Retype(dialog, "CommentEdit", text);
      Press(dialog, "Ok");
      stayedOpen = dialog.isVisible();
      Press(dialog, "Cancel");
    });
    Trigger("AddCommentCmd");
    ASSERT_TRUE(refused.Seen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Dialogs.Texts(),
              std::vector<std::string>{"You must enter a comment or press cancel"});
    Dialogs.ClearCalls();
    EXPECT_TRUE(Commands(Start).empty());
  }

  TCommentActor add([](TCommentScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Comment"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 18);
    Retype(dialog, "CommentEdit", "  warm up first  ");
    Press(dialog, "Ok");
  });
  Trigger("AddCommentCmd");
  ASSERT_TRUE(add.Seen);
  ASSERT_EQ(Commands(Start).size(), 1u);
  auto* comment = dynamic_cast<TCommentScript*>(Commands(Start)[0]);
  ASSERT_NE(comment, nullptr);
  EXPECT_EQ(comment->GetComment(), "warm up first");
  EXPECT_EQ(Shown(comment->AExpNode), QString("Comment: warm up first"));

  TCommentActor cancel([](TCommentScriptForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "CommentEdit")->text(), QString("warm up first"));
    Retype(dialog, "CommentEdit", "other");
    Press(dialog, "Cancel");
  });
  DoubleClick(comment->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(comment->GetComment(), "warm up first");
  TCommentActor change([](TCommentScriptForm& dialog) {
    Retype(dialog, "CommentEdit", "cool down");
    Press(dialog, "Ok");
  });
  DoubleClick(comment->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(Shown(comment->AExpNode), QString("Comment: cool down"));
}

// If-Then and its condition

using TIfThenActor = TModalDialogActor<TIfThenScriptForm>;

namespace {

// The commands under the node, the blank line left out.
std::vector<TScript*> Children(const TTreeNode* node) {
  std::vector<TScript*> commands;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
    if (TScript* script = ScriptOfNode(child); script && script->GetScriptType() != TScript::BLANK)
      commands.push_back(script);
  return commands;
}

// Chooses the constant side and types it.
void CompareWithConstant(QWidget& dialog, const QString& constant) {
  ClickControl(dialog, "ConstantButton");
  Retype(dialog, "ConEdit", constant);
}

}  // namespace

TEST_F(TFlowDialogsTest, AnIfThenNeedsAVariableAndAConstantOfItsType) {
  Dialogs.ScriptAnswers({mbOK});
  {
    TIfThenActor none([](TIfThenScriptForm&) {});
    Trigger("IfThenButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"You must have at least one variable to create this command"});
  Dialogs.ClearCalls();

  Single("n", eatINTEGER);
  Single("f", eatFLOAT);
  Single("s", eatSTRING);
  ClearModified();
  for (const auto& [constant, message] :
       {std::pair<QString, std::string>{"2.5", "2.5 is not a valid Integer"},
        {"x7", "x7 is not a valid Integer"},
        {"  ", "You must enter a value to compare to."}}) {
    SCOPED_TRACE(constant.toStdString());
    Dialogs.ScriptAnswers({mbOK});
    bool stayedOpen = false;
    QWidget* focus = nullptr;
    TIfThenActor actor([&](TIfThenScriptForm& dialog) {
      EXPECT_EQ(Control<QComboBox>(dialog, "Variable1Combo")->currentText(), QString("n"));
      CompareWithConstant(dialog, constant);
      Press(dialog, "Ok");
      stayedOpen = dialog.isVisible();
      focus = dialog.focusWidget();
      EXPECT_EQ(focus, Control<QLineEdit>(dialog, "ConEdit"));
      Press(dialog, "Cancel");
    });
    Trigger("IfThenButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{message});
    Dialogs.ClearCalls();
    EXPECT_TRUE(Commands(Start).empty());
    EXPECT_FALSE(Modified());
  }

  // A float takes "2.5"; the string variable compares for equality only, with strings.
  TIfThenActor add([&](TIfThenScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("If then command"));
    EXPECT_EQ(Control<QLabel>(dialog, "Label2")->text(), QString("If"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 4);
    EXPECT_FALSE(Control<QCheckBox>(dialog, "ElseCheckBox")->isChecked());
    EXPECT_EQ(Items(dialog, "Variable1Combo"), (QStringList{"n", "f", "s"}));
    EXPECT_TRUE(Control<QComboBox>(dialog, "Variable1ArrayCombo")->isHidden());
    EXPECT_EQ(Items(dialog, "Variable2Combo"), QStringList{"f"});
    EXPECT_TRUE(Control<QRadioButton>(dialog, "VariableButton")->isChecked());
    Choose(dialog, "Variable1Combo", "s");
    EXPECT_FALSE(Control<QComboBox>(dialog, "CompareCombo")->isEnabled());
    EXPECT_EQ(Control<QComboBox>(dialog, "CompareCombo")->currentText(), QString("Equal"));
    EXPECT_FALSE(Control<QRadioButton>(dialog, "VariableButton")->isEnabled());
    EXPECT_TRUE(Control<QRadioButton>(dialog, "ConstantButton")->isChecked());
    Choose(dialog, "Variable1Combo", "f");
    EXPECT_TRUE(Control<QComboBox>(dialog, "CompareCombo")->isEnabled());
    EXPECT_EQ(Items(dialog, "Variable2Combo"), QStringList{"n"});
    Choose(dialog, "CompareCombo", "Less Than");
    CompareWithConstant(dialog, "2.5");
    EXPECT_TRUE(Control<QComboBox>(dialog, "Variable2Combo")->isHidden());
    Press(dialog, "Ok");
  });
  Trigger("IfThenButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  const std::vector<TScript*> commands = Commands(Start);
  ASSERT_EQ(commands.size(), 2u);
  auto* ifthen = dynamic_cast<TIfThenScript*>(commands[0]);
  ASSERT_NE(ifthen, nullptr);
  EXPECT_EQ(commands[1]->GetScriptType(), TScript::ENDIF);
  EXPECT_FALSE(ifthen->HasElse());
  EXPECT_EQ(Shown(ifthen->AExpNode), QString("If f<2.5"));
  // The next command goes into the then-section.
  EXPECT_EQ(Exp().GetBlankScript()->AExpNode->GetParent(), ifthen->AExpNode);
  EXPECT_TRUE(Modified());
}

TEST_F(TFlowDialogsTest, IncludeElseAddsAnEmptyElseAndUncheckingItMovesItsCommandsUp) {
  TDataSingle* n = Single("n", eatINTEGER);
  TDataSingle* m = Single("m", eatINTEGER);
  TIfThenActor add([](TIfThenScriptForm& dialog) {
    ClickControl(dialog, "ElseCheckBox");
    Choose(dialog, "CompareCombo", "Greater Than or Equal");
    Press(dialog, "Ok");
  });
  Trigger("IfThenButton");
  ASSERT_TRUE(add.Seen);
  std::vector<TScript*> commands = Commands(Start);
  ASSERT_EQ(commands.size(), 3u);
  auto* ifthen = dynamic_cast<TIfThenScript*>(commands[0]);
  ASSERT_NE(ifthen, nullptr);
  ASSERT_TRUE(ifthen->HasElse());
  EXPECT_EQ(commands[1], ifthen->GetEndPointScript());
  EXPECT_EQ(commands[2], ifthen->GetEndPointScript()->GetEndIfScript());
  EXPECT_EQ(Shown(ifthen->AExpNode), QString("If n>=m"));
  auto* condition = dynamic_cast<TConditionVariable*>(ifthen->GetCondition());
  ASSERT_NE(condition, nullptr);
  EXPECT_EQ(condition->GetVariable1()->GetData(), n);
  EXPECT_EQ(condition->GetVariable2()->GetData(), m);

  // A command in each section.
  TScript* elseLine = commands[1];
  TScript* endIf = commands[2];
  auto* thenCommand = new TCommentScript(Start, ExpTree().Insert(Exp().GetBlankScript()->AExpNode, "none"));
  thenCommand->SetComment("then");
  auto* elseCommand = new TCommentScript(Start, ExpTree().AddChild(elseLine->AExpNode, "none"));
  elseCommand->SetComment("else");
  Window->RefreshViews();

  // A double click on the Else and on the End If opens their If-Then's dialog.
  for (TScript* line : {elseLine, endIf}) {
    SCOPED_TRACE(line->GetText());
    TIfThenActor look([&](TIfThenScriptForm& dialog) {
      EXPECT_TRUE(Control<QCheckBox>(dialog, "ElseCheckBox")->isChecked());
      EXPECT_EQ(Control<QComboBox>(dialog, "Variable1Combo")->currentText(), QString("n"));
      EXPECT_EQ(Control<QComboBox>(dialog, "Variable2Combo")->currentText(), QString("m"));
      EXPECT_EQ(Control<QComboBox>(dialog, "CompareCombo")->currentText(),
                QString("Greater Than or Equal"));
      ClickControl(dialog, "ElseCheckBox");
      Press(dialog, "Cancel");
    });
    DoubleClick(line->AExpNode);
    ASSERT_TRUE(look.Seen);
    EXPECT_TRUE(ifthen->HasElse());
  }
  // The blank line opens nothing.
  {
    TIfThenActor none([](TIfThenScriptForm&) {});
    DoubleClick(Exp().GetBlankScript()->AExpNode);
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Children(elseLine->AExpNode), std::vector<TScript*>{elseCommand});

  // Unchecked: the Else goes, its commands join the end of the then-section.
  ClearModified();
  TIfThenActor drop([](TIfThenScriptForm& dialog) {
    ClickControl(dialog, "ElseCheckBox");
    Press(dialog, "Ok");
  });
  DoubleClick(ifthen->AExpNode);
  ASSERT_TRUE(drop.Seen);
  EXPECT_FALSE(ifthen->HasElse());
  EXPECT_EQ(Commands(Start), (std::vector<TScript*>{ifthen, endIf}));
  EXPECT_EQ(Children(ifthen->AExpNode), (std::vector<TScript*>{thenCommand, elseCommand}));
  EXPECT_EQ(ifthen->GetEndPointScript(), endIf);
  EXPECT_TRUE(Modified());

  // Checked again: an empty Else in front of the End If.
  TIfThenActor again([](TIfThenScriptForm& dialog) {
    ClickControl(dialog, "ElseCheckBox");
    Press(dialog, "Ok");
  });
  DoubleClick(endIf->AExpNode);
  ASSERT_TRUE(again.Seen);
  ASSERT_TRUE(ifthen->HasElse());
  commands = Commands(Start);
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[1]->GetScriptType(), TScript::ELSE);
  EXPECT_EQ(Shown(commands[1]->AExpNode), QString("Else"));
  EXPECT_TRUE(Children(commands[1]->AExpNode).empty());
  EXPECT_EQ(commands[2], endIf);
  EXPECT_EQ(Children(ifthen->AExpNode), (std::vector<TScript*>{thenCommand, elseCommand}));
}

TEST_F(TFlowDialogsTest, TheConditionChecksArrayIndexesAndAsksAboutEqualMixedTypes) {
  TDataArray* a = Array("a", eatINTEGER, 10);
  Single("i", eatINTEGER);
  Single("g", eatFLOAT);
  (void)a;
  struct TCase {
    std::function<void(TIfThenScriptForm&)> Fill;
    std::vector<std::string> Texts;
  };
  const std::vector<TCase> cases = {
      {[](TIfThenScriptForm& d) {
         Choose(d, "Variable1Combo", "a");
         EXPECT_FALSE(Control<QComboBox>(d, "Variable1ArrayCombo")->isHidden());
         Retype(d, "Variable1ArrayCombo", "10");
       },
       {"The maximum index for this array is 9"}},
      {[](TIfThenScriptForm& d) {
         Choose(d, "Variable1Combo", "a");
         Retype(d, "Variable1ArrayCombo", "3");
         Choose(d, "Variable2Combo", "a");
         Retype(d, "Variable2ArrayCombo", " 3 ");
       },
       {"The variables cannot use the same index"}},
      {[](TIfThenScriptForm& d) {
         Choose(d, "Variable1Combo", "i");
         Choose(d, "Variable2Combo", "g");
       },
       {"i and g not the same type.\rIt is not advisable to compare them using equal since that "
        "may never happen.\rDo you really want to do this?"}},
  };
  for (const TCase& test : cases) {
    SCOPED_TRACE(test.Texts[0]);
    Dialogs.ScriptAnswers({test.Texts[0].find("Do you") == std::string::npos ? mbOK : mbNo});
    bool stayedOpen = false;
    TIfThenActor actor([&](TIfThenScriptForm& dialog) {
      test.Fill(dialog);
      Press(dialog, "Ok");
      stayedOpen = dialog.isVisible();
      Press(dialog, "Cancel");
    });
    Trigger("IfThenButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Dialogs.Texts(), test.Texts);
    Dialogs.ClearCalls();
    EXPECT_TRUE(Commands(Start).empty());
  }

  // Greater Than asks nothing; an element against another element of the same array.
  TIfThenActor add([](TIfThenScriptForm& dialog) {
    Choose(dialog, "Variable1Combo", "a");
    Retype(dialog, "Variable1ArrayCombo", "2");
    Choose(dialog, "CompareCombo", "Greater Than");
    Choose(dialog, "Variable2Combo", "a");
    Choose(dialog, "Variable2ArrayCombo", "i");
    Press(dialog, "Ok");
  });
  Trigger("IfThenButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  EXPECT_TRUE(Dialogs.Texts().empty());
  ASSERT_FALSE(Commands(Start).empty());
  auto* ifthen = dynamic_cast<TIfThenScript*>(Commands(Start)[0]);
  ASSERT_NE(ifthen, nullptr);
  auto* condition = dynamic_cast<TConditionVariable*>(ifthen->GetCondition());
  ASSERT_NE(condition, nullptr);
  auto* first = dynamic_cast<TVariableDataArray*>(condition->GetVariable1());
  auto* second = dynamic_cast<TVariableDataArray*>(condition->GetVariable2());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->GetArrayIndex().GetConstant(), 2);
  EXPECT_EQ(second->GetArrayIndex().GetIndexVariable()->GetDataName(), "i");

  // The dialog shows both elements again.
  TIfThenActor look([](TIfThenScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "Variable1ArrayCombo")->currentText(), QString("2"));
    EXPECT_EQ(Control<QComboBox>(dialog, "Variable2ArrayCombo")->currentText(), QString("i"));
    EXPECT_EQ(Control<QComboBox>(dialog, "CompareCombo")->currentText(), QString("Greater Than"));
    Press(dialog, "Cancel");
  });
  DoubleClick(ifthen->AExpNode);
  EXPECT_TRUE(look.Seen);
}

// Decision

using TDecActor = TModalDialogActor<TDecScriptForm>;

TEST_F(TFlowDialogsTest, TheDecisionDialogSetsTheConditionAndSwapsTheBlocks) {
  TBlock* second = AddBlock("Second");
  TBlock* third = AddBlock("Third");
  Start->CreateDecisionScript(second);
  Start->CreateDecisionScript(third);
  TDecScript* decision = Start->GetDecScript();
  ASSERT_NE(decision, nullptr);
  ASSERT_EQ(decision->ATrueBlock, second);
  ASSERT_EQ(decision->AFalseBlock, third);
  Window->RefreshViews();

  // Without variables the condition cannot be written.
  Dialogs.ScriptAnswers({mbOK});
  {
    TDecActor none([](TDecScriptForm&) {});
    DoubleClick(decision->AExpNode);
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"You must have at least one variable to edit this command"});
  Dialogs.ClearCalls();
  // There is no new Decision but the diagram's.
  EXPECT_EQ(NewScript(Exp(), TScript::DECISION), 0);

  Single("n", eatINTEGER);
  ClearModified();
  TDecActor swap([&](TDecScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Decision Command"));
    EXPECT_EQ(Control<QLabel>(dialog, "Label2")->text(), QString("If"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 15);
    EXPECT_EQ(Items(dialog, "BlockCombo"), (QStringList{"Second", "Third"}));
    EXPECT_EQ(Control<QComboBox>(dialog, "BlockCombo")->currentText(), QString("Second"));
    EXPECT_EQ(Control<QComboBox>(dialog, "Variable1Combo")->currentText(), QString("n"));
    // The only variable: nothing to compare it with but a constant.
    EXPECT_TRUE(Control<QRadioButton>(dialog, "ConstantButton")->isChecked());
    Choose(dialog, "BlockCombo", "Third");
    Choose(dialog, "CompareCombo", "Less Than");
    Retype(dialog, "ConEdit", "4");
    Press(dialog, "Ok");
  });
  DoubleClick(decision->AExpNode);
  ASSERT_TRUE(swap.Seen);
  EXPECT_FALSE(swap.LeftOpen);
  EXPECT_EQ(decision->ATrueBlock, third);
  EXPECT_EQ(decision->AFalseBlock, second);
  EXPECT_EQ(Shown(decision->AExpNode), QString("Decision: If n<4 goto Third"));
  EXPECT_TRUE(Modified());

  // Shown again with the true block first; Cancel leaves it, the first block keeps it.
  ClearModified();
  TDecActor cancel([](TDecScriptForm& dialog) {
    EXPECT_EQ(Items(dialog, "BlockCombo"), (QStringList{"Third", "Second"}));
    EXPECT_EQ(Control<QLineEdit>(dialog, "ConEdit")->text(), QString("4"));
    EXPECT_EQ(Control<QComboBox>(dialog, "CompareCombo")->currentText(), QString("Less Than"));
    Choose(dialog, "BlockCombo", "Second");
    Press(dialog, "Cancel");
  });
  DoubleClick(decision->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(decision->ATrueBlock, third);
  EXPECT_FALSE(Modified());
  TDecActor keep([](TDecScriptForm& dialog) {
    Retype(dialog, "ConEdit", "7");
    Press(dialog, "Ok");
  });
  DoubleClick(decision->AExpNode);
  ASSERT_TRUE(keep.Seen);
  EXPECT_EQ(decision->ATrueBlock, third);
  EXPECT_EQ(decision->AFalseBlock, second);
  EXPECT_EQ(Shown(decision->AExpNode), QString("Decision: If n<7 goto Third"));
}

// Repeat-Until

using TRepeatUntilActor = TModalDialogActor<TRepeatUntilScriptForm>;

TEST_F(TFlowDialogsTest, ARepeatUntilGoesBackToItsLabelUntilItsConditionHolds) {
  Single("n", eatINTEGER);
  Dialogs.ScriptAnswers({mbOK});
  {
    TRepeatUntilActor none([](TRepeatUntilScriptForm&) {});
    Trigger("RepUntilButton");
    QTest::qWait(50);
    EXPECT_FALSE(none.Seen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"No labels to repeat from."});
  Dialogs.ClearCalls();

  auto* top = AddCommand<TLabelScript>(Start);
  top->SetTitle("Top");
  auto* inside = AddCommand<TCommentScript>(Start);
  inside->SetComment("inside");
  Window->RefreshViews();
  TRepeatUntilActor add([](TRepeatUntilScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Repeat Until Command"));
    EXPECT_EQ(Control<QLabel>(dialog, "Label1")->text(), QString("Repeat From Label "));
    EXPECT_EQ(Control<QLabel>(dialog, "Label2")->text(), QString("Until "));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 9);
    EXPECT_EQ(Items(dialog, "LabelCombo"), QStringList{"Top"});
    Choose(dialog, "CompareCombo", "Greater Than or Equal");
    Retype(dialog, "ConEdit", "2.5");
    Press(dialog, "Ok");
    // An integer compares with an integer only.
    Retype(dialog, "ConEdit", "10");
    Press(dialog, "Ok");
  });
  Dialogs.ScriptAnswers({mbOK});
  Trigger("RepUntilButton");
  ASSERT_TRUE(add.Seen);
  EXPECT_FALSE(add.LeftOpen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"2.5 is not a valid Integer"});
  const std::vector<TScript*> commands = Commands(Start);
  ASSERT_EQ(commands.size(), 2u);
  auto* until = dynamic_cast<TRepeatUntilScript*>(commands[1]);
  ASSERT_NE(until, nullptr);
  EXPECT_EQ(until->GetLabelScript(), top);
  EXPECT_EQ(inside->AExpNode->GetParent(), top->AExpNode);  // the section is nested
  EXPECT_EQ(Shown(until->AExpNode), QString("Repeat from Top Until n>=10"));

  TRepeatUntilActor change([](TRepeatUntilScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "LabelCombo")->currentText(), QString("Top"));
    EXPECT_EQ(Control<QLineEdit>(dialog, "ConEdit")->text(), QString("10"));
    Retype(dialog, "ConEdit", "3");
    Press(dialog, "Ok");
  });
  DoubleClick(until->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_EQ(until->GetLabelScript(), top);
  EXPECT_EQ(Shown(until->AExpNode), QString("Repeat from Top Until n>=3"));
}
