// The Calculate dialog through the main window: the calculator keys, the variable list,
// the result variable and its element, new result variables, the engine's rejections
// with the offending characters selected, and the unit of the trigonometric functions.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "command_dialogs_fixture.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment_running.h"
#include "model/ui/model_dialogs.h"
#include "model/ui/variable_dialog.h"
#include "model/variable_data.h"
#include "scripts/flow/calculate_script.h"
#include "scripts/ui/calculate_dialog.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/ui/dialog_registry.h"
#include "support/ui/dialog_driver.h"

namespace {

using TCalculateActor = TModalDialogActor<TCalculateScriptForm>;

QLineEdit* EditOf(TCalculateScriptForm& dialog) { return Control<QLineEdit>(dialog, "CalculateEdit"); }

// Replaces the expression with the typed text.
void TypeExpression(TCalculateScriptForm& dialog, const QString& text) {
  QLineEdit* edit = EditOf(dialog);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

// Double-clicks the list's item as the mouse does.
void DoubleClickItem(QListWidget* list, int row) {
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

// Chooses the result entry shown with the text ("I: x").
void ChooseResult(TCalculateScriptForm& dialog, const QString& text) {
  auto* box = Control<QComboBox>(dialog, "VarComboBox");
  const int index = box->findText(text);
  ASSERT_GT(index, -1) << text.toStdString();
  box->setCurrentIndex(index);
}

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

}  // namespace

class TCalculateDialogTest : public TCommandDialogsFixture {
protected:
  // x integer, y float, s string, fixed read-only float, arr float array of 10, in the
  // first block.
  void MakeVariables() {
    X = Exp().GetDataSingleList()->Add(Start, eatINTEGER, 1, "x");
    Y = Exp().GetDataSingleList()->Add(Start, eatFLOAT, 1, "y");
    Exp().GetDataSingleList()->Add(Start, eatSTRING, 1, "s");
    TData* fixed = Exp().GetDataSingleList()->Add(Start, eatFLOAT, 1, "fixed");
    fixed->SetReadOnly(true);
    ASSERT_TRUE(fixed->IsReadOnly());
    Arr = Exp().GetDataArrayList()->Add(Start, eatFLOAT, 10, "arr");
  }
  std::vector<TCalculateScript*> Calculations() const {
    std::vector<TCalculateScript*> found;
    for (TTreeNode* node = Start->AExpNode->GetFirstChild(); node; node = node->GetNextSibling())
      if (auto* calculate = dynamic_cast<TCalculateScript*>(ScriptOfNode(node)))
        found.push_back(calculate);
    return found;
  }
  // A Calculate of the expression into the result entry, made through the button with
  // the unit given.
  TCalculateScript* AddCalculation(const QString& text, const QString& result,
                                   const char* unit = "DegButton") {
    TCalculateActor actor([&](TCalculateScriptForm& dialog) {
      Press(dialog, unit);
      TypeExpression(dialog, text);
      ChooseResult(dialog, result);
      Press(dialog, "Ok");
    });
    Trigger("CalculatorButton");
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    const std::vector<TCalculateScript*> all = Calculations();
    return all.empty() ? nullptr : all.back();
  }
  // Opens the dialog for a new command, types the text and presses OK with the result
  // entry; answers whether it stayed open and what the box selected (or the caret).
  struct TRejection {
    bool StayedOpen = false;
    QString Selected;
    int Caret = -1;
    bool Focused = false;
  };
  TRejection Reject(const QString& text, const QString& result, TScript* edited = nullptr) {
    TRejection seen;
    Dialogs.ScriptAnswers({mbOK});
    TCalculateActor actor([&](TCalculateScriptForm& dialog) {
      TypeExpression(dialog, text);
      ChooseResult(dialog, result);
      Press(dialog, "Ok");
      seen.StayedOpen = dialog.isVisible();
      seen.Selected = EditOf(dialog)->selectedText();
      seen.Caret = EditOf(dialog)->cursorPosition();
      seen.Focused = (dialog.focusWidget() == EditOf(dialog));
      Press(dialog, "Cancel");
    });
    if (edited)
      edited->Edit();
    else
      Trigger("CalculatorButton");
    EXPECT_TRUE(actor.Seen);
    return seen;
  }

  TData* X = nullptr;
  TData* Y = nullptr;
  TData* Arr = nullptr;
};

TEST_F(TCalculateDialogTest, TheCalculatorButtonAddsACalculationThatADoubleClickChanges) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  ASSERT_TRUE(Action("CalculatorButton")->isEnabled());
  TCalculateActor actor([&](TCalculateScriptForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString("Calculator"));
    EXPECT_EQ(Control<QPushButton>(dialog, "Help")->property("helpContext").toInt(), 3);
    EXPECT_TRUE(EditOf(dialog)->text().isEmpty());
    EXPECT_TRUE((dialog.focusWidget() == EditOf(dialog)));
    // Strings are no operands; read-only variables and strings take no result.
    auto* list = Control<QListWidget>(dialog, "VarListView");
    QStringList listed;
    for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
    EXPECT_EQ(listed, (QStringList{"x", "y", "fixed", "arr"}));
    auto* results = Control<QComboBox>(dialog, "VarComboBox");
    EXPECT_EQ(Items(results), (QStringList{"I: x", "F: y", "F: arr"}));
    EXPECT_EQ(results->currentIndex(), 0);
    EXPECT_FALSE(Control<QComboBox>(dialog, "ArrayComboBox")->isVisible());
    EXPECT_EQ(Items(Control<QComboBox>(dialog, "ArrayComboBox")), (QStringList{"x"}));
    EXPECT_TRUE(Control<QRadioButton>(dialog, "SingleButton")->isChecked());

    // The keys build "2*y" with the list; x takes the result.
    Press(dialog, "SpeedButton2");
    Press(dialog, "MultiplySP");
    DoubleClickItem(list, 1);
    EXPECT_EQ(EditOf(dialog)->text(), QString("2*y"));
    Press(dialog, "Ok");
  });
  Trigger("CalculatorButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  std::vector<TCalculateScript*> all = Calculations();
  ASSERT_EQ(all.size(), 1u);
  TCalculateScript* calculate = all[0];
  EXPECT_EQ(calculate->GetStoredData(), X);
  EXPECT_EQ(calculate->GetExpressionText(), "2*y");
  EXPECT_EQ(Shown(calculate->AExpNode), QString("Calculate(x=2*y)"));
  EXPECT_EQ(calculate->AExpNode->GetNextSibling(), Exp().GetBlankScript()->AExpNode);
  ASSERT_NE(calculate->GetMathList(), nullptr);
  EXPECT_TRUE(calculate->GetMathList()->HasMathList());

  // A double click shows it; the result becomes the element arr[x].
  TCalculateActor change([&](TCalculateScriptForm& dialog) {
    EXPECT_EQ(EditOf(dialog)->text(), QString("2*y"));
    EXPECT_EQ(Control<QComboBox>(dialog, "VarComboBox")->currentText(), QString("I: x"));
    TypeExpression(dialog, "y + 1");
    ChooseResult(dialog, "F: arr");
    auto* index = Control<QComboBox>(dialog, "ArrayComboBox");
    EXPECT_TRUE(index->isVisible());
    EXPECT_TRUE(index->currentText().isEmpty());
    QTest::keyClicks(index, "x");
    Press(dialog, "Ok");
  });
  DoubleClick(calculate->AExpNode);
  ASSERT_TRUE(change.Seen);
  EXPECT_FALSE(change.LeftOpen);
  EXPECT_EQ(calculate->GetStoredData(), Arr);
  auto* element = dynamic_cast<TVariableDataArray*>(calculate->GetStoredVariable());
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(Shown(calculate->AExpNode), QString("Calculate(arr[x]=y+1)"));

  // Shown again with its element; Cancel leaves it.
  TCalculateActor cancel([&](TCalculateScriptForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "VarComboBox")->currentText(), QString("F: arr"));
    EXPECT_EQ(Control<QComboBox>(dialog, "ArrayComboBox")->currentText(), QString("x"));
    TypeExpression(dialog, "7");
    Press(dialog, "Cancel");
  });
  DoubleClick(calculate->AExpNode);
  ASSERT_TRUE(cancel.Seen);
  EXPECT_EQ(Shown(calculate->AExpNode), QString("Calculate(arr[x]=y+1)"));
  EXPECT_EQ(Calculations().size(), 1u);
  EXPECT_TRUE(Dialogs.Boxes().empty());
}

TEST_F(TCalculateDialogTest, TheKeysInsertAtTheCaret) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  TCalculateActor actor([&](TCalculateScriptForm& dialog) {
    QLineEdit* edit = EditOf(dialog);
    Press(dialog, "sinSP");
    EXPECT_EQ(edit->text(), QString("sin( )"));
    EXPECT_EQ(edit->cursorPosition(), 5);  // between the blank and ")"
    Press(dialog, "SpeedButton9");
    Press(dialog, "ANDSP");
    Press(dialog, "SpeedButtonOX");
    Press(dialog, "SpeedButtonF");
    EXPECT_EQ(edit->text(), QString("sin( 9&0XF)"));
    Press(dialog, "BackButton");
    EXPECT_EQ(edit->text(), QString("sin( 9&0X)"));
    Press(dialog, "Home");
    Press(dialog, "ParenSP");
    EXPECT_EQ(edit->text(), QString("( )sin( 9&0X)"));
    EXPECT_EQ(edit->cursorPosition(), 2);
    Press(dialog, "End");
    EXPECT_EQ(edit->cursorPosition(), edit->text().size());
    auto* list = Control<QListWidget>(dialog, "VarListView");
    DoubleClickItem(list, 3);
    EXPECT_EQ(edit->text(), QString("( )sin( 9&0X)arr[ ]"));
    EXPECT_EQ(edit->cursorPosition(), edit->text().size() - 1);  // inside the brackets
    Press(dialog, "ClearButton");
    EXPECT_TRUE(edit->text().isEmpty());
    // Choosing the unit starts again.
    QTest::keyClicks(edit, "tan(y)");
    Press(dialog, "RadButton");
    EXPECT_TRUE(edit->text().isEmpty());
    QTest::keyClicks(edit, "tan(y)");
    Press(dialog, "DegButton");
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_TRUE(Control<QToolButton>(dialog, "DegButton")->isChecked());
    EXPECT_FALSE(Control<QToolButton>(dialog, "RadButton")->isChecked());
    Press(dialog, "Cancel");
  });
  Trigger("CalculatorButton");
  ASSERT_TRUE(actor.Seen);
  EXPECT_TRUE(Calculations().empty());
}

TEST_F(TCalculateDialogTest, TheDialogRefusesAnEmptyExpressionAMissingResultAndABadIndex) {
  // No numeric variable yet: nothing can take the result.
  Exp().GetDataSingleList()->Add(Start, eatSTRING, 1, "s");
  Dialogs.ScriptAnswers({mbOK, mbOK});
  bool open[2] = {false, false};
  TCalculateActor none([&](TCalculateScriptForm& dialog) {
    TypeExpression(dialog, "   ");
    Press(dialog, "Ok");
    open[0] = dialog.isVisible();
    TypeExpression(dialog, "1+2");
    Press(dialog, "Ok");
    open[1] = dialog.isVisible();
    Press(dialog, "Cancel");
  });
  Trigger("CalculatorButton");
  ASSERT_TRUE(none.Seen);
  EXPECT_TRUE(open[0] && open[1]);
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{"No expression", "You must add a variable or array."}));
  Dialogs.ClearCalls();

  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  Dialogs.ScriptAnswers({mbOK});
  bool stayed = false;
  bool indexFocused = false;
  TCalculateActor index([&](TCalculateScriptForm& dialog) {
    TypeExpression(dialog, "y");
    ChooseResult(dialog, "F: arr");
    QTest::keyClicks(Control<QComboBox>(dialog, "ArrayComboBox"), "10");
    Press(dialog, "Ok");
    stayed = dialog.isVisible();
    indexFocused = (dialog.focusWidget() == Control<QComboBox>(dialog, "ArrayComboBox"));
    Press(dialog, "Cancel");
  });
  Trigger("CalculatorButton");
  ASSERT_TRUE(index.Seen);
  EXPECT_TRUE(stayed);
  EXPECT_TRUE(indexFocused);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"The maximum index for this array is 9"});
  EXPECT_TRUE(Calculations().empty());
}

TEST_F(TCalculateDialogTest, ARejectedExpressionSelectsItsFaultAndLeavesNoCommand) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  // Blanks before the fault: the selection is on the typed text.
  TRejection close = Reject("x + ( y * )", "F: y");
  EXPECT_TRUE(close.StayedOpen);
  EXPECT_TRUE(close.Focused);
  EXPECT_EQ(close.Selected, QString(")"));
  EXPECT_EQ(close.Caret, 11);
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{
                "Error :Operators can only follow operands and close parens."});
  Dialogs.ClearCalls();
  EXPECT_TRUE(Calculations().empty());
  EXPECT_EQ(Exp().GetBlankScript()->AExpNode->GetPrevSibling(), nullptr);

  // A literal too large for its operand: refused, marked whole.
  TRejection literal = Reject("y  +  99999999999 * 2", "F: y");
  EXPECT_TRUE(literal.StayedOpen);
  EXPECT_EQ(literal.Selected, QString("99999999999"));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Error :Invalid String."});
  Dialogs.ClearCalls();
  EXPECT_TRUE(Calculations().empty());

  // A fault with no place: the caret at the end, nothing selected.
  TRejection uneven = Reject("( y + 1", "F: y");
  EXPECT_TRUE(uneven.StayedOpen);
  EXPECT_TRUE(uneven.Selected.isEmpty());
  EXPECT_EQ(uneven.Caret, 7);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Error :Uneven Parenthesis."});
  Dialogs.ClearCalls();
  EXPECT_TRUE(Calculations().empty());
}

TEST_F(TCalculateDialogTest, ARejectedChangeLeavesTheCommandAsItWas) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  TCalculateScript* calculate = AddCalculation("y*3", "I: x");
  ASSERT_NE(calculate, nullptr);
  TQorvMathList* list = calculate->GetMathList();
  TMathExpression* expression = calculate->GetExpression();
  Window->Session().ExperimentChanged(0, 1);

  TRejection rejected = Reject("y * 3 + 99999999999", "F: y", calculate);
  EXPECT_TRUE(rejected.StayedOpen);
  EXPECT_EQ(rejected.Selected, QString("99999999999"));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Error :Invalid String."});
  // Still the same command, compiled as before, into x.
  ASSERT_EQ(Calculations(), std::vector<TCalculateScript*>{calculate});
  EXPECT_EQ(calculate->GetMathList(), list);
  EXPECT_EQ(calculate->GetExpression(), expression);
  EXPECT_EQ(calculate->GetStoredData(), X);
  EXPECT_EQ(Shown(calculate->AExpNode), QString("Calculate(x=y*3)"));
  EXPECT_NE(Panel(TQorvForm::spModified), QString("Modified"));
}

TEST_F(TCalculateDialogTest, AnEditShowsTheUnitTheCommandWasCompiledIn) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  TCalculateScript* radians = AddCalculation("sin(y)", "F: y", "RadButton");
  ASSERT_NE(radians, nullptr);
  ASSERT_EQ(TrigonometricRadians(*radians->GetMathList()), std::optional<bool>(true));
  TCalculateScript* plain = AddCalculation("y+1", "I: x", "DegButton");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(TrigonometricRadians(*plain->GetMathList()), std::nullopt);

  // The toggles now show degrees; changing only the result keeps radians.
  bool radDown = false;
  TCalculateActor change([&](TCalculateScriptForm& dialog) {
    radDown = Control<QToolButton>(dialog, "RadButton")->isChecked();
    EXPECT_EQ(EditOf(dialog)->text(), QString("sin(y)"));
    ChooseResult(dialog, "I: x");
    Press(dialog, "Ok");
  });
  radians->Edit();
  ASSERT_TRUE(change.Seen);
  EXPECT_TRUE(radDown);
  EXPECT_EQ(radians->GetStoredData(), X);
  EXPECT_EQ(TrigonometricRadians(*radians->GetMathList()), std::optional<bool>(true));

  // Without a trigonometric function the toggles keep what they show; a nested one
  // counts.
  TCalculateScript* nested = AddCalculation("abs(2*cos(y))", "F: y", "DegButton");
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(TrigonometricRadians(*nested->GetMathList()), std::optional<bool>(false));
  for (const char* unit : {"RadButton", "DegButton"}) {
    SCOPED_TRACE(unit);
    TCalculateActor choose([&](TCalculateScriptForm& dialog) {
      Press(dialog, unit);
      Press(dialog, "Cancel");
    });
    Trigger("CalculatorButton");
    ASSERT_TRUE(choose.Seen);
    bool kept = false;
    TCalculateActor look([&](TCalculateScriptForm& dialog) {
      kept = Control<QToolButton>(dialog, unit)->isChecked();
      Press(dialog, "Cancel");
    });
    plain->Edit();
    ASSERT_TRUE(look.Seen);
    EXPECT_TRUE(kept);
  }
  // Radians down, the degree command shows degrees.
  TCalculateActor choose([&](TCalculateScriptForm& dialog) {
    Press(dialog, "RadButton");
    Press(dialog, "Cancel");
  });
  Trigger("CalculatorButton");
  bool degDown = false;
  TCalculateActor look([&](TCalculateScriptForm& dialog) {
    degDown = Control<QToolButton>(dialog, "DegButton")->isChecked();
    Press(dialog, "Ok");
  });
  nested->Edit();
  ASSERT_TRUE(look.Seen);
  EXPECT_TRUE(degDown);
  EXPECT_EQ(TrigonometricRadians(*nested->GetMathList()), std::optional<bool>(false));
}

TEST_F(TCalculateDialogTest, TheVariableButtonMakesAResultVariableThatCancelTakesBack) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  const int singles = Exp().GetDataSingleList()->GetCount();
  const int arrays = Exp().GetDataArrayList()->GetCount();
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "OK" : "Cancel");
    TCalculateActor actor([&](TCalculateScriptForm& dialog) {
      {
        TModalDialogActor<TDataForm> form([](TDataForm& variable) {
          EXPECT_FALSE(Control<QRadioButton>(variable, "StringButton")->isEnabled());
          EXPECT_TRUE(Control<QRadioButton>(variable, "FloatButton")->isChecked());
          QTest::keyClicks(Control<QLineEdit>(variable, "VarName"), "z");
          QTest::mouseClick(Control<QPushButton>(variable, "OK"), Qt::LeftButton);
        });
        Press(dialog, "VariableButton");
        ASSERT_TRUE(form.Seen);
      }
      EXPECT_EQ(Control<QComboBox>(dialog, "VarComboBox")->currentText(), QString("F: z"));
      EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), singles + 1);
      // An array instead: the unused single goes.
      Press(dialog, "ArrayButton");
      {
        TModalDialogActor<TDataForm> form([](TDataForm& variable) {
          QTest::keyClicks(Control<QLineEdit>(variable, "VarName"), "za");
          QTest::mouseClick(Control<QPushButton>(variable, "OK"), Qt::LeftButton);
        });
        Press(dialog, "VariableButton");
        ASSERT_TRUE(form.Seen);
      }
      EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), singles);
      EXPECT_EQ(Exp().GetDataArrayList()->GetCount(), arrays + 1);
      EXPECT_EQ(Control<QComboBox>(dialog, "VarComboBox")->currentText(), QString("F: za"));
      EXPECT_TRUE(Control<QComboBox>(dialog, "ArrayComboBox")->isVisible());
      TypeExpression(dialog, "y");
      QTest::keyClicks(Control<QComboBox>(dialog, "ArrayComboBox"), "2");
      Press(dialog, keep ? "Ok" : "Cancel");
    });
    Trigger("CalculatorButton");
    ASSERT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    EXPECT_EQ(Exp().GetDataSingleList()->GetCount(), singles);
    EXPECT_EQ(Exp().GetDataArrayList()->GetCount(), arrays + (keep ? 1 : 0));
    EXPECT_EQ(Calculations().size(), keep ? 1u : 0u);
  }
  ASSERT_EQ(Calculations().size(), 1u);
  EXPECT_EQ(Shown(Calculations()[0]->AExpNode), QString("Calculate(za[2]=y)"));
}

TEST_F(TCalculateDialogTest, DuringARunACalculationCanBeLookedAtNotChanged) {
  ASSERT_NO_FATAL_FAILURE(MakeVariables());
  TCalculateScript* calculate = AddCalculation("y/2", "I: x");
  ASSERT_NE(calculate, nullptr);
  ExperimentRunning = true;
  bool okEnabled = true;
  bool variableEnabled = true;
  TCalculateActor look([&](TCalculateScriptForm& dialog) {
    EXPECT_EQ(EditOf(dialog)->text(), QString("y/2"));
    okEnabled = Control<QPushButton>(dialog, "Ok")->isEnabled();
    variableEnabled = Control<QPushButton>(dialog, "VariableButton")->isEnabled();
    Press(dialog, "Cancel");
  });
  calculate->Edit();
  ASSERT_TRUE(look.Seen);
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(variableEnabled);
  ExperimentRunning = false;
}
