// "Variables" through its widgets, opened by the core as the attribute tree opens it:
// the checks in order with their messages and focus, array sizes up to the bound of file
// reading, Add Many, editing (a retype that users refuse asks first, No changing
// nothing), deleting a used variable, and OK during a run.
#include "model/ui/variable_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment_running.h"
#include "model/ui/model_dialogs.h"
#include "model/value_array.h"
#include "scripts/flow/increment_script.h"
#include "support/experiment_fixture.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/dialog_port.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class VariableDialogTest : public TCommandFixture {
protected:
  VariableDialogTest() { Exp.SelectBlock(B1->AExpNode); }

  static void Type(QWidget& dialog, const char* name, const std::string& text) {
    auto* edit = Control<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  static QString Text(QWidget& dialog, const char* name) {
    return Control<QLineEdit>(dialog, name)->text();
  }
  // Clicks OK (or Add): the texts of the boxes it showed, and the control that has the
  // focus after it.
  std::pair<TTexts, std::string> Press(QWidget& dialog, const char* button) {
    Dialogs.ClearCalls();
    ClickControl(dialog, button);
    QWidget* focus = dialog.focusWidget();
    return {Dialogs.Texts(), focus ? focus->objectName().toStdString() : ""};
  }
  std::vector<TData*> All(TDataList& list) {
    std::vector<TData*> all;
    list.GetAll(all);
    return all;
  }

  TScriptedUserDialogs Dialogs;
  TDialogPort Port{RegisterModelDialogs};
  TDataSingleList& Singles = *Exp.GetDataSingleList();
  TDataArrayList& Arrays = *Exp.GetDataArrayList();
};

TEST_F(VariableDialogTest, EntriesAreCheckedInOrderAndNothingIsMadeBeforeOk) {
  Single(B1, "Temp", eatFLOAT);
  TModalDialogActor<TDataForm> actor([&](TDataForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Variables");
    EXPECT_TRUE(Control<QRadioButton>(dialog, "StringButton")->isChecked());
    EXPECT_FALSE(Control<QPushButton>(dialog, "Add")->isVisible());
    EXPECT_TRUE(Control<QPushButton>(dialog, "OK")->isDefault());
    EXPECT_FALSE(Control<QLineEdit>(dialog, "ArraySizeEdit")->isVisible());
    EXPECT_FALSE(Control<QLabel>(dialog, "ArraySizeLabel")->isVisible());
    // Help is there, for the help window to come.
    auto* help = Control<QPushButton>(dialog, "Help");
    EXPECT_TRUE(help->isVisible() && !help->isEnabled());
    EXPECT_EQ(help->property("helpContext").toInt(), 14);

    const struct {
      std::string name, initial;
      const char* type;
      bool readOnly;
      std::string message, focus;
    } steps[] = {
        {"", "", "StringButton", false,
         "You must enter a name for the variable or press cancel.", "VarName"},
        {" temp", "", "StringButton", false, "There is already a variable with this name.",
         "VarName"},
        {"a b", "", "StringButton", false, "There can be no blanks in the name.", "VarName"},
        {"a$", "", "StringButton", false, "Invalid characters in variable name.", "VarName"},
        {"2x", "", "StringButton", false,
         "There must be at least one letter in the variable name.", "VarName"},
        {"n", "abc", "IntButton", false, "The value abc is not an integer.", "IniValueEdit"},
        {"n", "x", "FloatButton", false, "The value x is not a float value", "IniValueEdit"},
        {"n", "", "IntButton", true, "A read only variable MUST have an initial value.",
         "IniValueEdit"},
    };
    for (const auto& step : steps) {
      Type(dialog, "VarName", step.name);
      Type(dialog, "IniValueEdit", step.initial);
      ClickControl(dialog, step.type);
      Control<QCheckBox>(dialog, "ReadOnlyBox")->setChecked(step.readOnly);
      Dialogs.ScriptAnswers({mbOK});
      EXPECT_EQ(Press(dialog, "OK"), (std::pair{TTexts{step.message}, step.focus})) << step.name;
      EXPECT_TRUE(dialog.isVisible()) << step.name;
      EXPECT_EQ(Singles.GetCount(), 1) << "nothing is made before OK succeeds";
    }
    Type(dialog, "VarName", " n1 ");
    Type(dialog, "IniValueEdit", "12");
    EXPECT_EQ(Press(dialog, "OK").first, TTexts{});
  });
  TData* made = Singles.AddWithDialog(B1, true);
  EXPECT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetName(), "B1: n1");
  EXPECT_EQ(made->GetDataType(), eatINTEGER);
  EXPECT_EQ(made->GetInitialValueText(), "12");
  EXPECT_TRUE(made->IsReadOnly());
}

TEST_F(VariableDialogTest, ArraySizesAreRefusedBelowTwoAndAboveTheLargestArray) {
  const std::string size = "The array size must be an integer value greater than one.";
  TModalDialogActor<TDataForm> actor([&](TDataForm& dialog) {
    EXPECT_TRUE(Control<QLineEdit>(dialog, "ArraySizeEdit")->isVisible());
    EXPECT_EQ(Text(dialog, "ArraySizeEdit"), "10");  // proposed
    Type(dialog, "VarName", "big");
    ClickControl(dialog, "FloatButton");
    Type(dialog, "IniValueEdit", "1.5");
    for (const std::string text : {"1", "abc", "", "4294967296"}) {
      Type(dialog, "ArraySizeEdit", text);
      Dialogs.ScriptAnswers({mbOK});
      EXPECT_EQ(Press(dialog, "OK"), (std::pair{TTexts{size}, std::string("ArraySizeEdit")}))
          << text;
    }
    Type(dialog, "ArraySizeEdit", "16777217");
    Dialogs.ScriptAnswers({mbOK});
    EXPECT_EQ(Press(dialog, "OK").first,
              TTexts{"The array size must be an integer value greater than one and no more than "
                     "16777216."});
    EXPECT_EQ(Arrays.GetCount(), 0);
    Type(dialog, "ArraySizeEdit", "16777216");
    EXPECT_EQ(Press(dialog, "OK").first, TTexts{});
  });
  TData* made = Arrays.AddWithDialog(B1, true);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetSize(), MaxArraySize);
  // The elements are made at their first use, not by the dialog.
  EXPECT_FALSE(static_cast<TDataArray*>(made)->GetValueArray().HasStorage());
  EXPECT_EQ(made->GetInitialValueText(), "1.5");
}

TEST_F(VariableDialogTest, AddManyMakesEachVariableAndOkTheLast) {
  TModalDialogActor<TDataForm> actor([&](TDataForm& dialog) {
    auto* add = Control<QPushButton>(dialog, "Add");
    EXPECT_TRUE(add->isVisible() && add->isDefault());
    EXPECT_FALSE(Control<QPushButton>(dialog, "OK")->isDefault());
    Type(dialog, "VarName", "a1");
    Type(dialog, "ArraySizeEdit", "4");
    ClickControl(dialog, "IntButton");
    Type(dialog, "IniValueEdit", "7");
    EXPECT_EQ(Press(dialog, "Add"), (std::pair{TTexts{}, std::string("VarName")}));
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Arrays.GetCount(), 1);
    // Emptied for the next; the type and the size stay.
    EXPECT_EQ(Text(dialog, "VarName"), "");
    EXPECT_EQ(Text(dialog, "IniValueEdit"), "");
    EXPECT_TRUE(Control<QRadioButton>(dialog, "IntButton")->isChecked());

    Type(dialog, "VarName", "A1");  // the list knows it now
    Dialogs.ScriptAnswers({mbOK});
    EXPECT_EQ(Press(dialog, "Add").first, TTexts{"There is already a variable with this name."});
    Type(dialog, "VarName", "a2");
    ClickControl(dialog, "StringButton");
    Press(dialog, "Add");
    Type(dialog, "VarName", "a3");
    Type(dialog, "ArraySizeEdit", "3");
    ClickControl(dialog, "OK");
    EXPECT_FALSE(dialog.isVisible());
  });
  Arrays.AddNew();
  EXPECT_FALSE(actor.LeftOpen);
  const std::vector<TData*> made = All(Arrays);
  ASSERT_EQ(made.size(), 3u);
  EXPECT_EQ(made[0]->GetName(), "B1: a1");
  EXPECT_EQ(made[0]->GetInitialValueText(), "7");
  EXPECT_EQ(made[0]->GetSize(), 4);
  EXPECT_EQ(made[1]->GetDataType(), eatSTRING);
  EXPECT_EQ(made[2]->GetName(), "B1: a3");
  EXPECT_EQ(made[2]->GetSize(), 3);

  // OK on an empty name closes without a variable and without a word.
  TModalDialogActor<TDataForm> empty([&](TDataForm& dialog) {
    Type(dialog, "VarName", "a4");
    Press(dialog, "Add");
    ClickControl(dialog, "OK");
    EXPECT_FALSE(dialog.isVisible());
  });
  Arrays.AddNew();
  EXPECT_EQ(Arrays.GetCount(), 4);
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(VariableDialogTest, RetypingAUsedVariableAsksAndNoChangesNothing) {
  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  const int lines = B1->AExpNode->Count();
  TIncrementScript* increment = Increment(n, "2");  // cannot take a string
  const std::string question =
      "This variable is used by commands which cannot accept this variable type.\r"
      "Continuing will result in the deletion of those scripts.  Do you wish to continue?";
  bool first = true;
  const auto editTo = [&](const char* type) {
    return TModalDialogActor<TDataForm>([this, type, &first](TDataForm& dialog) {
      if (std::exchange(first, false)) {
        EXPECT_EQ(Text(dialog, "VarName"), "n");
        EXPECT_TRUE(Control<QRadioButton>(dialog, "IntButton")->isChecked());
        EXPECT_EQ(Text(dialog, "IniValueEdit"), "3");
        // Increment stores into n: it cannot be read-only.
        EXPECT_FALSE(Control<QCheckBox>(dialog, "ReadOnlyBox")->isEnabled());
      }
      Type(dialog, "VarName", "renamed");
      Type(dialog, "IniValueEdit", "");
      ClickControl(dialog, type);
      ClickControl(dialog, "OK");
    });
  };
  {
    Dialogs.ScriptAnswers({mbNo});
    auto actor = editTo("StringButton");
    EXPECT_EQ(n->Edit(), 1);
  }
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  const TMessageBox box = Dialogs.Boxes()[0].Box;
  EXPECT_EQ(box.Text.toStdString(), question);
  EXPECT_EQ(box.Caption, "Qorv Warning");
  EXPECT_EQ(box.Kind, TMessageKind::Warning);
  EXPECT_EQ(box.Buttons, mbYes | mbNo);
  // No: neither the type nor the name nor the command changed.
  EXPECT_EQ(n->GetDataType(), eatINTEGER);
  EXPECT_EQ(n->GetName(), "B1: n");
  EXPECT_EQ(n->GetInitialValueText(), "3");
  EXPECT_EQ(B1->AExpNode->Count(), lines + 1);
  EXPECT_EQ(increment->GetText(), "Increment n by 2");
  {
    Dialogs.ScriptAnswers({mbNo});
    auto actor = editTo("StringButton");
    EXPECT_EQ(n->Edit(), 1);
  }
  EXPECT_EQ(n->GetName(), "B1: n");  // the same again: the question every time

  // A type the command takes asks nothing; Yes to a string deletes the command.
  {
    auto actor = editTo("FloatButton");
    EXPECT_EQ(n->Edit(), 1);
  }
  EXPECT_EQ(n->GetDataType(), eatFLOAT);
  EXPECT_EQ(Dialogs.Boxes().size(), 2u);
  EXPECT_EQ(B1->AExpNode->Count(), lines + 1);
  n->SetDataName("n");
  Dialogs.ScriptAnswers({mbYes});
  {
    auto actor = editTo("StringButton");
    EXPECT_EQ(n->Edit(), 1);
  }
  EXPECT_EQ(n->GetDataType(), eatSTRING);
  EXPECT_EQ(n->GetName(), "B1: renamed");
  EXPECT_EQ(B1->AExpNode->Count(), lines);
  EXPECT_FALSE(n->HasUsers());
}

TEST_F(VariableDialogTest, DeletingAUsedVariableAsksAndNoKeepsBoth) {
  TDataSingle* n = Single(B1, "n", eatINTEGER, "3");
  const int lines = B1->AExpNode->Count();
  Increment(n, "2");
  const auto remove = [](TData* variable) {
    if (!variable->CanDelete()) return false;
    delete variable;
    return true;
  };
  Dialogs.ScriptAnswers({mbNo});
  EXPECT_FALSE(remove(n));
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  const TMessageBox box = Dialogs.Boxes()[0].Box;
  EXPECT_EQ(box.Text, "Deleting this may delete one or more scripts.  Do you really want to do this?");
  EXPECT_EQ(box.Caption, "Qorv Message");
  EXPECT_EQ(box.Buttons, mbYes | mbNo);
  EXPECT_EQ(Singles.GetCount(), 1);
  EXPECT_EQ(B1->AExpNode->Count(), lines + 1);

  Dialogs.ScriptAnswers({mbYes});
  EXPECT_TRUE(remove(n));
  EXPECT_EQ(Singles.GetCount(), 0);
  EXPECT_EQ(B1->AExpNode->Count(), lines);
  // An unused variable goes without a question.
  EXPECT_TRUE(remove(Single(B1, "free")));
  EXPECT_EQ(Dialogs.Boxes().size(), 2u);
}

TEST_F(VariableDialogTest, OkWaitsForTheRunToEndAndNotAllowedChoicesAreDisabled) {
  TDataFormRequest request;
  request.NameList = &Singles.GetDataNameList();
  request.Type = eatSTRING;
  request.StringAllowed = false;  // a command that counts: no strings
  request.ReadOnlyAllowed = false;
  request.ReadOnly = true;
  ExperimentRunning = true;
  TDataForm dialog(request);
  dialog.show();
  EXPECT_FALSE(Control<QPushButton>(dialog, "OK")->isEnabled());
  auto* strings = Control<QRadioButton>(dialog, "StringButton");
  EXPECT_FALSE(strings->isEnabled() || strings->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(dialog, "IntButton")->isChecked());
  auto* readOnly = Control<QCheckBox>(dialog, "ReadOnlyBox");
  EXPECT_FALSE(readOnly->isEnabled() || readOnly->isChecked());
  ExperimentRunning = false;
}

}  // namespace
