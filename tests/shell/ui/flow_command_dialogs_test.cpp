// The dialogs of the commands that shape a block's flow, driven from the main window as a
// user does: Increment, Label, Comment, If-Then with its condition, and the Decision.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "main_window_widgets.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/variable_data.h"
#include "scripts/flow/comment_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/script.h"
#include "scripts/ui/comment_dialog.h"
#include "scripts/ui/increment_dialog.h"
#include "scripts/ui/label_dialog.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

// Replaces the text of the line edit by typing.
void Retype(QWidget& dialog, const char* edit, const QString& text) {
  auto* line = Control<QLineEdit>(dialog, edit);
  line->selectAll();
  QTest::keyClick(line, Qt::Key_Delete);
  QTest::keyClicks(line, text);
}

void Press(QWidget& dialog, const char* button) {
  QTest::mouseClick(Control<QPushButton>(dialog, button), Qt::LeftButton);
}

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

class TFlowDialogsTest : public TMainWindowWidgetsTest {
protected:
  TFlowDialogsTest() {
    RegisterScriptDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }
  ~TFlowDialogsTest() override {
    CloseWithoutQuestions();
    Port.SetDialogRegistry(nullptr);
  }
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartQorv());
    Start = FirstBlock();
    ASSERT_NE(Start, nullptr);
    View = TreeView("ExperimentView");
  }
  std::vector<TScript*> Commands(TBlock* block) const {
    std::vector<TScript*> commands;
    for (TTreeNode* node = block->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      if (TScript* script = ScriptOfNode(node); script && script->GetScriptType() != TScript::BLANK)
        commands.push_back(script);
    return commands;
  }
  QString Shown(const TTreeNode* node) const {
    return View->TreeModel()->IndexOf(node).data().toString();
  }
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

  TDialogRegistry Registry;
  TBlock* Start = nullptr;
  TNodeTreeView* View = nullptr;
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
    EXPECT_TRUE(Control<QLineEdit>(dialog, "IncEdit")->hasFocus());
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
    EXPECT_TRUE(edit->hasFocus());
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
    EXPECT_TRUE(Control<QLineEdit>(dialog, "LabelEdit")->hasFocus());
    Press(dialog, "Ok");
    stayedOpen = dialog.isVisible();
    EXPECT_TRUE(Control<QLineEdit>(dialog, "LabelEdit")->hasFocus());
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
