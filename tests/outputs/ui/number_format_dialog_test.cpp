// "Number Format": its controls, the decimals shown only for Fixed and Scientific, the
// checks of OK with their messages, the decimals kept to what numbers are shown with,
// and Cancel.
#include "outputs/ui/number_format_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/number_text.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TTexts = std::vector<std::string>;

class NumberFormatDialogTest : public ::testing::Test {
protected:
  // The dialog as Execute fills it, shown without being modal.
  void Show(std::uint8_t kind, std::int32_t decimals) {
    Dialog.SetFormat(kind, decimals);
    Dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
  }
  QLineEdit* DecEdit() { return Control<QLineEdit>(Dialog, "DecEdit"); }
  bool DecimalsShown() {
    const bool label = Control<QLabel>(Dialog, "DecLabel")->isVisible();
    EXPECT_EQ(label, DecEdit()->isVisible());
    return label;
  }
  // OK with the decimals typed: the boxes shown.
  TTexts Ok(const QString& decimals, bool refused) {
    Dialogs.ClearCalls();
    if (refused) Dialogs.ScriptAnswers({mbOK});
    DecEdit()->setText(decimals);
    ClickControl(Dialog, "Ok");
    return Dialogs.Texts();
  }

  TScriptedUserDialogs Dialogs;
  TNumberFormatForm Dialog;
};

}  // namespace

TEST_F(NumberFormatDialogTest, ShowsTheDecimalsOnlyForFixedAndScientific) {
  Show(ntSTANDARD, 4);
  EXPECT_EQ(Dialog.windowTitle(), QString("Number Format"));
  EXPECT_EQ(Control<QGroupBox>(Dialog, "NumberFormatGroup")->title(), QString("Number Format"));
  EXPECT_EQ(Control<QLabel>(Dialog, "DecLabel")->text(), QString("Number of Decimal Places:"));
  EXPECT_EQ(Control<QRadioButton>(Dialog, "StandardItem")->text(), QString("Standard"));
  EXPECT_EQ(Control<QRadioButton>(Dialog, "FixedItem")->text(), QString("Fixed"));
  EXPECT_EQ(Control<QRadioButton>(Dialog, "ScientificItem")->text(), QString("Scientific"));
  // The three notations stand side by side.
  EXPECT_EQ(Control<QRadioButton>(Dialog, "StandardItem")->y(),
            Control<QRadioButton>(Dialog, "ScientificItem")->y());
  EXPECT_TRUE(Control<QRadioButton>(Dialog, "StandardItem")->isChecked());
  EXPECT_FALSE(DecimalsShown());
  EXPECT_EQ(DecEdit()->text(), QString("4"));
  ClickControl(Dialog, "ScientificItem");
  EXPECT_TRUE(DecimalsShown());
  ClickControl(Dialog, "FixedItem");
  EXPECT_TRUE(DecimalsShown());
  ClickControl(Dialog, "StandardItem");
  EXPECT_FALSE(DecimalsShown());
  // Standard answers 0 decimals whatever the hidden entry holds.
  ClickControl(Dialog, "Ok");
  EXPECT_EQ(Dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Dialog.Kind(), ntSTANDARD);
  EXPECT_EQ(Dialog.DecimalPlaces(), 0);
  EXPECT_TRUE(Dialogs.Texts().empty());

  Show(ntSCIENTIFIC, 2);
  EXPECT_TRUE(Control<QRadioButton>(Dialog, "ScientificItem")->isChecked());
  EXPECT_TRUE(DecimalsShown());
}

TEST_F(NumberFormatDialogTest, OkRefusesDecimalsThatAreNoCountAndKeepsTheDialogOpen) {
  Show(ntFIXED, 2);
  const std::string integer = "You must enter an integer number of decimal places greater than zero";
  EXPECT_EQ(Ok("", true), TTexts{"You must enter a number of decimal places"});
  EXPECT_EQ(Ok("   ", true), TTexts{"You must enter a number of decimal places"});
  for (const char* bad : {"-1", "x", "1.5", "2x", "99999999999"}) {
    EXPECT_EQ(Ok(bad, true), TTexts{integer}) << bad;
    EXPECT_TRUE(Dialog.isVisible()) << bad;
    EXPECT_TRUE(FocusedInWindow(DecEdit())) << bad;
  }
  // 0 is a count; the answers are taken only now.
  EXPECT_TRUE(Ok("0", false).empty());
  EXPECT_EQ(Dialog.result(), QDialog::Accepted);
  EXPECT_EQ(Dialog.Kind(), ntFIXED);
  EXPECT_EQ(Dialog.DecimalPlaces(), 0);

  // More places than numbers are shown with are kept to that.
  Show(ntSCIENTIFIC, 2);
  EXPECT_TRUE(Ok(" 25 ", false).empty());
  EXPECT_EQ(Dialog.Kind(), ntSCIENTIFIC);
  EXPECT_EQ(Dialog.DecimalPlaces(), NumberText::MaxDecimalPlaces);
}

TEST_F(NumberFormatDialogTest, ExecuteAnswersOkWithTheChoiceAndCancelWithNothing) {
  {
    TModalDialogActor<TNumberFormatForm> actor([](TNumberFormatForm& dialog) {
      ClickControl(dialog, "ScientificItem");
      Control<QLineEdit>(dialog, "DecEdit")->setText("5");
      ClickControl(dialog, "Ok");
    });
    EXPECT_TRUE(Dialog.Execute(ntFIXED, 1));
    EXPECT_TRUE(actor.Seen);
    EXPECT_EQ(Dialog.Kind(), ntSCIENTIFIC);
    EXPECT_EQ(Dialog.DecimalPlaces(), 5);
  }
  TModalDialogActor<TNumberFormatForm> actor([](TNumberFormatForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "DecEdit")->text(), QString("3"));
    ClickControl(dialog, "StandardItem");
    ClickControl(dialog, "Cancel");
  });
  EXPECT_FALSE(Dialog.Execute(ntFIXED, 3));
  EXPECT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
}
