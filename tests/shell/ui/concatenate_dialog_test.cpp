// The Concatenate dialog through the main window: the target and its element, the
// variable list and the special characters, the number format, the two options, the
// refusals and new target variables.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "command_dialogs_fixture.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment_running.h"
#include "model/ui/model_dialogs.h"
#include "model/ui/variable_dialog.h"
#include "model/variable_data.h"
#include "outputs/ui/number_format_dialog.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/ui/concatenate_dialog.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

using TConcatenateActor = TModalDialogActor<TConcatenateScriptForm>;

QLineEdit* EditOf(TConcatenateScriptForm& dialog) {
  return Control<QLineEdit>(dialog, "StringEdit");
}

void TypeText(TConcatenateScriptForm& dialog, const QString& text) {
  QLineEdit* edit = EditOf(dialog);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

void ChooseTarget(TConcatenateScriptForm& dialog, const QString& text) {
  auto* box = Control<QComboBox>(dialog, "VarComboBox");
  const int index = box->findText(text);
  ASSERT_GT(index, -1) << text.toStdString();
  box->setCurrentIndex(index);
}

void DoubleClickItem(QListWidget* list, int row) {
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace

class TConcatenateDialogTest : public TCommandDialogsFixture {
protected:
  // i integer, y float, s string, fixed read-only string, names string array of 4.
  void MakeVariables() {
    I = Exp().GetDataSingleList()->Add(Start, eatINTEGER, 1, "i");
    Exp().GetDataSingleList()->Add(Start, eatFLOAT, 1, "y");
    S = Exp().GetDataSingleList()->Add(Start, eatSTRING, 1, "s");
    TData* fixed = Exp().GetDataSingleList()->Add(Start, eatSTRING, 1, "fixed");
    fixed->SetReadOnly(true);
    ASSERT_TRUE(fixed->IsReadOnly());
    Names = Exp().GetDataArrayList()->Add(Start, eatSTRING, 4, "names");
  }
  std::vector<TConcatenateScript*> Concatenations() const {
    std::vector<TConcatenateScript*> found;
    for (TTreeNode* node = Start->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      if (auto* concatenate = dynamic_cast<TConcatenateScript*>(ScriptOfNode(node)))
        found.push_back(concatenate);
    return found;
  }
  TConcatenateScript* AddConcatenation(const QString& text) {
    TConcatenateActor actor([&](TConcatenateScriptForm& dialog) {
      TypeText(dialog, text);
      ChooseTarget(dialog, "s");
      Press(dialog, "Ok");
    });
    Trigger("ConcatenateBtn");
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    const std::vector<TConcatenateScript*> all = Concatenations();
    return all.empty() ? nullptr : all.back();
  }

  TData* I = nullptr;
  TData* S = nullptr;
  TData* Names = nullptr;
};

TEST_F(TConcatenateDialogTest, TheButtonAddsAConcatenationThatADoubleClickChanges) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  ASSERT_TRUE(Action("ConcatenateBtn")->isEnabled());
  TConcatenateActor actor([&](TConcatenateScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Concatenate String"));
    EXPECT_TRUE((dialog.focusWidget() == EditOf(dialog)));
    EXPECT_TRUE(Control<QCheckBox>(dialog, "TrimResultBox")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "DisableValidVarBox")->isChecked());
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(),
              QString("Float number format: Standard"));
    auto* targets = Control<QComboBox>(dialog, "VarComboBox");
    EXPECT_EQ(Items(targets), (QStringList{"s", "names"}));
    EXPECT_EQ(targets->currentText(), QString("s"));
    EXPECT_FALSE(Control<QComboBox>(dialog, "ArrayComboBox")->isVisible());
    auto* list = Control<QListWidget>(dialog, "VariableListBox");
    QStringList listed;
    for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
    EXPECT_EQ(listed, (QStringList{"I i", "F y", "S s", "S fixed", "S names[...]"}));

    QTest::keyClicks(EditOf(dialog), "  y=");
    DoubleClickItem(list, 1);
    EXPECT_EQ(EditOf(dialog)->text(), QString("  y={y}"));
    QTest::keyClicks(EditOf(dialog), " at ");
    DoubleClickItem(list, 4);
    EXPECT_EQ(EditOf(dialog)->text(), QString("  y={y} at {names[ ]}"));
    EXPECT_EQ(EditOf(dialog)->cursorPosition(), EditOf(dialog)->text().size() - 2);
    QTest::keyClick(EditOf(dialog), Qt::Key_Backspace);
    QTest::keyClicks(EditOf(dialog), "i");
    QTest::keyClick(EditOf(dialog), Qt::Key_End);
    // The Fixed format with 3 places.
    TModalDialogActor<TNumberFormatForm> format([](TNumberFormatForm& form) {
      Press(form, "FixedItem");
      auto* places = Control<QLineEdit>(form, "DecEdit");
      places->selectAll();
      QTest::keyClicks(places, "3");
      Press(form, "Ok");
    });
    Press(dialog, "ChangeFormat");
    EXPECT_TRUE(format.Seen);
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(),
              QString("Float number format: Fixed 3 places after the decimal"));
    Press(dialog, "Ok");
  });
  Trigger("ConcatenateBtn");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  std::vector<TConcatenateScript*> all = Concatenations();
  ASSERT_EQ(all.size(), 1u);
  TConcatenateScript* concatenate = all[0];
  EXPECT_EQ(concatenate->GetStoredData(), S);
  // Trimmed: the leading blanks are no part of the first piece.
  EXPECT_EQ(concatenate->GetExpressionText(), "y={y} at {names[i]}");
  EXPECT_EQ(concatenate->GetNotation(), 1);
  EXPECT_EQ(concatenate->GetDecimalPlaces(), 3);
  EXPECT_TRUE(concatenate->GetTrimResult());
  EXPECT_FALSE(concatenate->GetDisableVariableCheck());
  EXPECT_EQ(Shown(concatenate->AExpNode), QString("Concatenate(s=y={y} at {names[i]})"));
  EXPECT_EQ(concatenate->AExpNode->GetNextSibling(), Exp().GetBlankScript()->AExpNode);

  // Changed: into the element names[2], without checking, untrimmed.
  TConcatenateActor change([&](TConcatenateScriptForm& dialog) {
    EXPECT_EQ(EditOf(dialog)->text(), QString("y={y} at {names[i]}"));
    EXPECT_EQ(Control<QLabel>(dialog, "FloatFormatLabel")->text(),
              QString("Float number format: Fixed 3 places after the decimal"));
    ChooseTarget(dialog, "names");
    auto* index = Control<QComboBox>(dialog, "ArrayComboBox");
    EXPECT_TRUE(index->isVisible());
    EXPECT_TRUE(index->currentText().isEmpty());
    QTest::keyClicks(index, "2");
    Press(dialog, "DisableValidVarBox");
    Press(dialog, "TrimResultBox");
    TypeText(dialog, "{nothing} and {i} ");
    Press(dialog, "Ok");
  });
  DoubleClick(concatenate->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(concatenate->GetStoredData(), Names);
  EXPECT_TRUE(concatenate->GetDisableVariableCheck());
  EXPECT_FALSE(concatenate->GetTrimResult());
  EXPECT_EQ(Shown(concatenate->AExpNode), QString("Concatenate(names[2]={nothing} and {i} )"));

  // Shown again with its element; Cancel leaves it.
  TConcatenateActor cancel([&](TConcatenateScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "ArrayComboBox")->currentText(), QString("2"));
    EXPECT_TRUE(Control<QCheckBox>(dialog, "DisableValidVarBox")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(dialog, "TrimResultBox")->isChecked());
    TypeText(dialog, "other");
    Press(dialog, "Cancel");
  });
  DoubleClick(concatenate->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(Shown(concatenate->AExpNode), QString("Concatenate(names[2]={nothing} and {i} )"));
  EXPECT_EQ(Concatenations().size(), 1u);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TConcatenateDialogTest, TheSpecialCharactersNeverInsertANul) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  TConcatenateActor actor([&](TConcatenateScriptForm& dialog) {
    auto* codes = Control<QComboBox>(dialog, "SpecialCharBox");
    ASSERT_EQ(codes->count(), 254);
    EXPECT_EQ(codes->itemText(0), QString("1"));
    EXPECT_EQ(codes->itemText(codes->count() - 1), QString("254"));
    for (int i = 0; i < codes->count(); ++i) EXPECT_NE(codes->itemText(i), QString("0"));
    // The first entry, the one shown at first.
    EXPECT_EQ(codes->currentIndex(), 0);
    Press(dialog, "AddBtn");
    codes->setCurrentIndex(codes->findText("65"));
    EXPECT_EQ(Control<QLabel>(dialog, "ShowSPCharLabel")->text(), QString("A"));
    Press(dialog, "AddBtn");
    codes->setCurrentIndex(codes->findText("9"));
    Press(dialog, "AddBtn");
    EXPECT_EQ(EditOf(dialog)->text(), QString("\x01" "A\t"));
    EXPECT_FALSE(EditOf(dialog)->text().contains(QChar(0)));
    Press(dialog, "Ok");
  });
  Trigger("ConcatenateBtn");
  ASSERT_TRUE(actor.Seen);
  ASSERT_EQ(Concatenations().size(), 1u);
  // A special character at the end stays: only blanks are trimmed.
  EXPECT_EQ(Concatenations()[0]->GetExpressionText(), std::string("\x01" "A\t"));
}

TEST_F(TConcatenateDialogTest, TheDialogAsksAboutAnEmptyTextAndRefusesBadTargetsAndNames) {
  // No string variable: nothing can take the text.
  Exp().GetDataSingleList()->Add(Start, eatINTEGER, 1, "n");
  Dialogs.ScriptAnswers({mbOK});
  bool stayed = false;
  TConcatenateActor none([&](TConcatenateScriptForm& dialog) {
    TypeText(dialog, "abc");
    Press(dialog, "Ok");
    stayed = dialog.isVisible();
    Press(dialog, "Cancel");
  });
  Trigger("ConcatenateBtn");
  ASSERT_TRUE(none.Seen);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must add a variable or array."});
  Dialogs.ClearCalls();

  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  // Blanks only, trimmed: asked; No keeps the dialog open, Yes makes the empty text.
  Dialogs.ScriptAnswers({mbNo, mbYes});
  bool open[2] = {false, false};
  TConcatenateActor empty([&](TConcatenateScriptForm& dialog) {
    TypeText(dialog, "   ");
    Press(dialog, "Ok");
    open[0] = dialog.isVisible();
    Press(dialog, "Ok");
    open[1] = dialog.isVisible();
  });
  Trigger("ConcatenateBtn");
  ASSERT_TRUE(empty.Seen);
  EXPECT_TRUE(open[0]);
  EXPECT_FALSE(open[1]);
  ASSERT_EQ(Dialogs.Boxes().size(), 2u);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Text,
            QString("The expression is empty, do you really want an empty string?"));
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, QString("Qorv Warning"));
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Buttons, mbYes | mbNo);
  Dialogs.ClearCalls();
  ASSERT_EQ(Concatenations().size(), 1u);
  TConcatenateScript* concatenate = Concatenations()[0];
  EXPECT_EQ(Shown(concatenate->AExpNode), QString("Concatenate(s=)"));

  // A name that is no variable, and an element outside the array: refused, the command
  // as it was.
  Window->Session().ExperimentChanged(0, 1);
  Dialogs.ScriptAnswers({mbOK, mbOK});
  bool refused[2] = {false, false};
  TConcatenateActor names([&](TConcatenateScriptForm& dialog) {
    TypeText(dialog, "x={nothing}");
    Press(dialog, "Ok");
    refused[0] = dialog.isVisible();
    TypeText(dialog, "x");
    ChooseTarget(dialog, "names");
    QTest::keyClicks(Control<QComboBox>(dialog, "ArrayComboBox"), "4");
    Press(dialog, "Ok");
    refused[1] = dialog.isVisible() && (dialog.focusWidget() == Control<QComboBox>(dialog, "ArrayComboBox"));
    Press(dialog, "Cancel");
  });
  concatenate->Edit();
  ASSERT_TRUE(names.Seen);
  EXPECT_TRUE(refused[0]);
  EXPECT_TRUE(refused[1]);
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"nothing is is not a variable.",
                                                       "The maximum index for this array is 3"}));
  EXPECT_EQ(Shown(concatenate->AExpNode), QString("Concatenate(s=)"));
  EXPECT_EQ(concatenate->GetStoredData(), S);
  EXPECT_NE(Panel(TQorvForm::spModified), QString("Modified"));
}

TEST_F(TConcatenateDialogTest, TheVariableButtonMakesAStringTargetThatCancelTakesBack) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  const int singles = Exp().GetDataSingleList()->GetCount();
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "OK" : "Cancel");
    TConcatenateActor actor([&](TConcatenateScriptForm& dialog) {
      TModalDialogActor<TDataForm> form([](TDataForm& variable) {
        EXPECT_TRUE(Control<QRadioButton>(variable, "StringButton")->isChecked());
        EXPECT_FALSE(Control<QRadioButton>(variable, "IntButton")->isEnabled());
        EXPECT_FALSE(Control<QRadioButton>(variable, "FloatButton")->isEnabled());
        QTest::keyClicks(Control<QLineEdit>(variable, "VarName"), "label");
        QTest::mouseClick(Control<QPushButton>(variable, "OK"), Qt::LeftButton);
      });
      Press(dialog, "VariableButton");
      ASSERT_TRUE(form.Seen);
      EXPECT_EQ(Control<QComboBox>(dialog, "VarComboBox")->currentText(), QString("label"));
      EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), singles + 1);
      TypeText(dialog, "v{i}");
      Press(dialog, keep ? "Ok" : "Cancel");
    });
    Trigger("ConcatenateBtn");
    ASSERT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), singles + (keep ? 1 : 0));
  }
  ASSERT_EQ(Concatenations().size(), 1u);
  EXPECT_EQ(Shown(Concatenations()[0]->AExpNode), QString("Concatenate(label=v{i})"));
}

TEST_F(TConcatenateDialogTest, DuringARunAConcatenationCanBeLookedAtNotChanged) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  TConcatenateScript* concatenate = AddConcatenation("n={i}");
  ASSERT_NE(concatenate, nullptr);
  ExperimentRunning = true;
  bool okEnabled = true;
  bool variableEnabled = true;
  TConcatenateActor look([&](TConcatenateScriptForm& dialog) {
    EXPECT_EQ(EditOf(dialog)->text(), QString("n={i}"));
    okEnabled = Control<QPushButton>(dialog, "Ok")->isEnabled();
    variableEnabled = Control<QPushButton>(dialog, "VariableButton")->isEnabled();
    Press(dialog, "Cancel");
  });
  concatenate->Edit();
  ASSERT_TRUE(look.Seen);
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(variableEnabled);
  ExperimentRunning = false;
}
