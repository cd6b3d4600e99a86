// "GPIB Settings" through its widgets, opened by "Change Settings": the counts shown and
// typed only without "Auto Detect", the refusals with their messages and focus, and what
// OK and Cancel give back.
#include "shell/ui/gpib_settings_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "communication/gpib_settings.h"
#include "shell/ui/shell_dialogs.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/dialog_port.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TTexts = std::vector<std::string>;

class GpibSettingsDialogTest : public ::testing::Test {
protected:
  static void Type(QWidget& dialog, const char* name, const QString& text) {
    auto* edit = Control<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  static QString Text(QWidget& dialog, const char* name) {
    return Control<QLineEdit>(dialog, name)->text();
  }
  // Presses OK; a refusal is answered. The messages shown and the control focused.
  std::pair<TTexts, std::string> PressOK(QWidget& dialog, bool refused) {
    Dialogs.ClearCalls();
    if (refused) Dialogs.ScriptAnswers({mbOK});
    ClickControl(dialog, "OK");
    QWidget* focus = dialog.focusWidget();
    return {Dialogs.Texts(), focus ? focus->objectName().toStdString() : ""};
  }
  static bool CountsEnabled(QWidget& dialog) {
    bool all = true, none = true;
    for (const char* name : {"NatLabel", "NationalEdit", "CECLabel", "CECEdit"}) {
      const bool enabled = Control<QWidget>(dialog, name)->isEnabled();
      all = all && enabled;
      none = none && !enabled;
    }
    EXPECT_TRUE(all || none) << "the counts and their labels are enabled together";
    return all;
  }

  TScriptedUserDialogs Dialogs;
  TDialogPort Port{RegisterShellDialogs};
};

TEST_F(GpibSettingsDialogTest, ShowsTheSettingsAndTypesCountsOnlyWithoutAutoDetect) {
  TGpibSettings settings{true, 1, 1};
  TModalDialogActor<TGPIBAdvancedForm> actor([&](TGPIBAdvancedForm& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "GPIB Settings");
    EXPECT_EQ(Control<QLabel>(dialog, "NatLabel")->text(), "Number of National Boards");
    EXPECT_EQ(Control<QLabel>(dialog, "CECLabel")->text(), "Number of Capitol Boards");
    EXPECT_EQ(Control<QCheckBox>(dialog, "AutoDetectCheckBox")->text(), "Auto Detect");
    auto* help = Control<QPushButton>(dialog, "Help");
    EXPECT_EQ(help->property("helpContext").toInt(), 26);
    EXPECT_EQ(dialog.property("helpContext").toInt(), 26);
    EXPECT_FALSE(help->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(dialog, "OK")->isDefault());
    const int unit = Control<QPushButton>(dialog, "OK")->sizeHint().height();
    EXPECT_GE(dialog.width(), 13 * unit);
    EXPECT_GE(dialog.height(), 8 * unit);

    EXPECT_EQ(Text(dialog, "NationalEdit"), "1");
    EXPECT_EQ(Text(dialog, "CECEdit"), "1");
    EXPECT_TRUE(Control<QCheckBox>(dialog, "AutoDetectCheckBox")->isChecked());
    EXPECT_FALSE(CountsEnabled(dialog));
    ClickControl(dialog, "AutoDetectCheckBox");
    EXPECT_TRUE(CountsEnabled(dialog));
    ClickControl(dialog, "AutoDetectCheckBox");
    EXPECT_FALSE(CountsEnabled(dialog));
    ClickControl(dialog, "AutoDetectCheckBox");
    Type(dialog, "NationalEdit", "2");
    Type(dialog, "CECEdit", "4");  // four CEC boards are allowed
    EXPECT_EQ(PressOK(dialog, false).first, TTexts{});
  });
  EXPECT_TRUE(EditGpibSettings(settings, false));
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(settings, (TGpibSettings{false, 2, 4}));

  // Shown again: the counts as they are now, typed.
  TModalDialogActor<TGPIBAdvancedForm> again([&](TGPIBAdvancedForm& dialog) {
    EXPECT_EQ(Text(dialog, "NationalEdit"), "2");
    EXPECT_EQ(Text(dialog, "CECEdit"), "4");
    EXPECT_FALSE(Control<QCheckBox>(dialog, "AutoDetectCheckBox")->isChecked());
    EXPECT_TRUE(CountsEnabled(dialog));
    Type(dialog, "CECEdit", "0");
    ClickControl(dialog, "Cancel");
  });
  EXPECT_FALSE(EditGpibSettings(settings, false));
  EXPECT_TRUE(again.Seen);
  EXPECT_EQ(settings, (TGpibSettings{false, 2, 4}));
}

TEST_F(GpibSettingsDialogTest, RefusedCountsAreNamedAndFocusedAndNothingIsTakenUntilOK) {
  const std::string most = std::to_string(TGpibSettings::MaxNationalCards);
  const std::string past = std::to_string(TGpibSettings::MaxNationalCards + 1);
  TGpibSettings settings{true, 1, 1};
  TModalDialogActor<TGPIBAdvancedForm> actor([&](TGPIBAdvancedForm& dialog) {
    ClickControl(dialog, "AutoDetectCheckBox");  // counts typed
    Type(dialog, "CECEdit", "5");
    EXPECT_EQ(PressOK(dialog, true),
              (std::pair{TTexts{"Cannot use any more than 4 CEC boards at one time"},
                         std::string("CECEdit")}));
    Type(dialog, "CECEdit", "");
    Type(dialog, "NationalEdit", "-1");
    EXPECT_EQ(PressOK(dialog, true), (std::pair{TTexts{"Invalid Value"}, std::string("NationalEdit")}));
    Type(dialog, "NationalEdit", QString::fromStdString(past));
    EXPECT_EQ(PressOK(dialog, true), (std::pair{TTexts{"Invalid Value"}, std::string("NationalEdit")}));
    Type(dialog, "NationalEdit", QString::fromStdString(most));
    Type(dialog, "CECEdit", "four");
    EXPECT_EQ(PressOK(dialog, true), (std::pair{TTexts{"Invalid Value"}, std::string("CECEdit")}));
    ClickControl(dialog, "Cancel");
  });
  // A refusal leaves the dialog open; Cancel after it keeps every setting, the flag too.
  EXPECT_FALSE(EditGpibSettings(settings, false));
  EXPECT_TRUE(actor.Seen);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(settings, (TGpibSettings{true, 1, 1}));

  TModalDialogActor<TGPIBAdvancedForm> fixed([&](TGPIBAdvancedForm& dialog) {
    ClickControl(dialog, "AutoDetectCheckBox");
    Type(dialog, "CECEdit", "5");
    EXPECT_EQ(PressOK(dialog, true).second, "CECEdit");
    Type(dialog, "NationalEdit", QString::fromStdString(most));
    Type(dialog, "CECEdit", "");  // none
    EXPECT_EQ(PressOK(dialog, false).first, TTexts{});
  });
  EXPECT_TRUE(EditGpibSettings(settings, false));
  EXPECT_FALSE(fixed.LeftOpen);
  EXPECT_EQ(settings, (TGpibSettings{false, TGpibSettings::MaxNationalCards, 0}));
}

TEST_F(GpibSettingsDialogTest, AutoDetectAcceptsAnyCountsAndKeepsThoseBefore) {
  TGpibSettings settings{false, 3, 2};
  Dialogs.ScriptAnswers({mbOK});  // the warning: devices exist
  TModalDialogActor<TGPIBAdvancedForm> actor([&](TGPIBAdvancedForm& dialog) {
    EXPECT_EQ(Dialogs.Texts(),
              TTexts{"Any changes made will result in ALL GPIB devices being deleted."});
    Type(dialog, "NationalEdit", "lots");
    Type(dialog, "CECEdit", "9");
    ClickControl(dialog, "AutoDetectCheckBox");
    EXPECT_FALSE(CountsEnabled(dialog));
    EXPECT_EQ(PressOK(dialog, false).first, TTexts{});
  });
  EXPECT_TRUE(EditGpibSettings(settings, true));
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(settings, (TGpibSettings{true, 3, 2}));
}

}  // namespace
