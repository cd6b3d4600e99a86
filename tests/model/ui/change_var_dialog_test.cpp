// The rename-or-choose dialog through its widgets: a new name typed (trimmed, then
// refused as the Variables dialog refuses names, "2x" among them), an offered variable
// chosen from the list or typed as listed, and the dialog that cannot be cancelled.
#include "model/ui/change_var_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/data.h"
#include "model/data_list.h"
#include "model/ui/model_dialogs.h"
#include "support/experiment_fixture.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/dialog_port.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class ChangeVarDialogTest : public TCommandFixture {
protected:
  static QLineEdit* NameBox(QWidget& dialog) {
    auto* pages = Control<QStackedWidget>(dialog, "PageControl");
    if (pages->currentWidget()->objectName() == "ComboSheet")
      return Control<QComboBox>(dialog, "ComboBox")->lineEdit();
    return Control<QLineEdit>(dialog, "Edit");
  }
  static void Type(QWidget& dialog, const std::string& text) {
    QLineEdit* box = NameBox(dialog);
    box->clear();
    QTest::keyClicks(box, QString::fromStdString(text));
  }
  // Types the name and clicks OK, a refusal expected or not: the texts of the boxes shown.
  TTexts Try(QWidget& dialog, const std::string& name, bool refused = true) {
    Dialogs.ClearCalls();
    Type(dialog, name);
    if (refused) Dialogs.ScriptAnswers({mbOK});
    ClickControl(dialog, "Ok");
    return Dialogs.Texts();
  }

  TScriptedUserDialogs Dialogs;
  TDialogPort Port{RegisterModelDialogs};
  TDataSingleList& Singles = *Exp.GetDataSingleList();
};

TEST_F(ChangeVarDialogTest, ANewNameIsTrimmedAndMustBeFreeAndReferencable) {
  Single(B2, "Temp", eatSTRING);  // of another block, so not offered, but taken
  TModalDialogActor<TChangeVarForm> actor([&](TChangeVarForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Variable to store read data");
    EXPECT_EQ(Control<QLabel>(dialog, "Prompt")->text(), "Variable to store read data");
    EXPECT_EQ(Control<QStackedWidget>(dialog, "PageControl")->currentWidget()->objectName(),
              "EditSheet");
    EXPECT_TRUE(Control<QPushButton>(dialog, "CancelButton")->isVisible());
    auto* help = Control<QPushButton>(dialog, "Help");
    EXPECT_FALSE(help->isEnabled());
    EXPECT_EQ(help->property("helpContext").toInt(), 52);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"   ", "You must enter a variable name"},
        {" temp ", "This variable name is already in use, please use another."},
        {"2x", "There must be at least one letter in the variable name."},
        {"a b", "There can be no blanks in the name."},
        {"a-b", "Invalid characters in variable name."},
    };
    for (const auto& [name, message] : refused) {
      EXPECT_EQ(Try(dialog, name), TTexts{message}) << name;
      EXPECT_TRUE(dialog.isVisible()) << name;
      EXPECT_EQ(dialog.focusWidget(), NameBox(dialog));
    }
    EXPECT_EQ(Try(dialog, "  x_2 ", false), TTexts{});
    EXPECT_FALSE(dialog.isVisible());
  });
  TData* made = Singles.SelectVariable("Variable to store read data", B1, 1, eatINTEGER);
  EXPECT_TRUE(actor.Seen);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->GetName(), "B1: x_2");
  EXPECT_EQ(made->GetDataType(), eatINTEGER);
  EXPECT_EQ(Singles.GetCount(), 2);
}

TEST_F(ChangeVarDialogTest, AnOfferedVariableIsChosenFromTheListOrTypedAsListed) {
  TDataSingle* a = Single(B1, "alpha", eatINTEGER);
  TDataSingle* b = Single(B1, "beta", eatINTEGER);
  Single(B1, "text", eatSTRING);  // of another type: not offered
  const auto choose = [&](std::function<void(TChangeVarForm&)> act) {
    TModalDialogActor<TChangeVarForm> actor(std::move(act));
    return Singles.SelectVariable("Variable to store read bytes", B1, 1, eatINTEGER);
  };
  EXPECT_EQ(choose([&](TChangeVarForm& dialog) {
              auto* combo = Control<QComboBox>(dialog, "ComboBox");
              EXPECT_EQ(Control<QStackedWidget>(dialog, "PageControl")->currentWidget(),
                        Control<QWidget>(dialog, "ComboSheet"));
              ASSERT_EQ(combo->count(), 2);
              EXPECT_EQ(combo->itemText(0), "alpha");
              EXPECT_EQ(combo->currentText(), "") << "nothing is chosen at first";
              combo->setCurrentIndex(1);
              ClickControl(dialog, "Ok");
            }),
            b);
  // Typed as the list names it, in any case, it is that variable, not a taken name.
  EXPECT_EQ(choose([&](TChangeVarForm& dialog) {
              Type(dialog, " ALPHA");
              ClickControl(dialog, "Ok");
            }),
            a);
  // A name typed over a selection is a new variable; Cancel makes none.
  EXPECT_EQ(choose([&](TChangeVarForm& dialog) {
              Control<QComboBox>(dialog, "ComboBox")->setCurrentIndex(0);
              Type(dialog, "gamma");
              ClickControl(dialog, "Ok");
            })->GetName(),
            "B1: gamma");
  EXPECT_EQ(choose([&](TChangeVarForm& dialog) { ClickControl(dialog, "CancelButton"); }),
            nullptr);
  EXPECT_EQ(Singles.GetCount(), 4);
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ChangeVarDialogTest, WithoutCancelTheVariableMustBeRenamed) {
  TChangeVarRequest request;
  request.OfferCancel = false;
  request.NameList = &Singles.GetDataNameList();
  {
    TChangeVarForm dialog(request);
    EXPECT_EQ(dialog.windowTitle(), "Name the variable.");
    dialog.Prepare(true);
    EXPECT_EQ(dialog.windowTitle(), "Rename or Change a variable");
  }
  request.Caption = "Please rename or reassign the variable x";
  TModalDialogActor<TChangeVarForm> actor([&](TChangeVarForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Please rename or reassign the variable x");
    EXPECT_FALSE(Control<QPushButton>(dialog, "CancelButton")->isVisible());
    Dialogs.ScriptAnswers({mbOK, mbOK});
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Dialogs.Texts(), (TTexts{"You must rename the variable", "You must rename the variable"}));
    EXPECT_EQ(Try(dialog, "x1", false), TTexts{});
  });
  EXPECT_EQ(UiPort().OpenDialog(request), 1);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_TRUE(request.NewNameChosen);
  EXPECT_EQ(request.NewName, "x1");
  EXPECT_EQ(request.ASelectedData, nullptr);
}

}  // namespace
