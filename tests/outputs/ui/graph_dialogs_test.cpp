// The small dialogs of the output windows: "Set Title" and "Active Scrolling", their
// texts, sizes, validation messages (each keeping the dialog open with the focus on the
// field concerned) and what OK and Cancel take.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

#include "outputs/ui/active_scrolling_dialog.h"
#include "outputs/ui/set_text_dialog.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

TEST(SetTextDialog, AnEmptyTitleIsRefusedAndOkTakesTheTitle) {
  TScriptedUserDialogs dialogs;
  TSetTextForm form;
  EXPECT_EQ(form.windowTitle(), "Set Title");
  EXPECT_EQ(Control<QLabel>(form, "TitleLabel")->text(), "Title");
  EXPECT_GE(form.width(), form.height() * 2) << "a wide, low dialog";

  form.SetText("Old");
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  auto* edit = Control<QLineEdit>(form, "TitleEdit");
  EXPECT_EQ(edit->text(), "Old");
  edit->clear();
  EXPECT_EQ(form.Validate(), "You must enter a title or press Cancel");
  dialogs.ScriptAnswers({mbOK});
  ClickControl(form, "OK");
  EXPECT_TRUE(form.isVisible()) << "the dialog stays open";
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"You must enter a title or press Cancel"});
  EXPECT_TRUE(FocusedInWindow(edit));
  QTest::keyClicks(edit, "Volts");
  ClickControl(form, "OK");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Text(), "Volts");
  EXPECT_EQ(edit->text(), "") << "hiding empties the edit";
  // Every showing starts without a result.
  form.show();
  EXPECT_EQ(form.Text(), "");
  form.reject();
}

TEST(SetTextDialog, TheWindowsTitleQuestionChangesTheTitleOnOkOnly) {
  TScriptedUserDialogs dialogs;
  std::string title = "Graph 1";
  {
    TModalDialogActor<TSetTextForm> actor([](TSetTextForm& form) {
      EXPECT_EQ(Control<QLineEdit>(form, "TitleEdit")->text(), "Graph 1");
      Control<QLineEdit>(form, "TitleEdit")->setText("Changed");
      ClickControl(form, "Cancel");
    });
    EXPECT_FALSE(ExecuteSetTextForm(nullptr, title));
    EXPECT_TRUE(actor.Seen);
  }
  EXPECT_EQ(title, "Graph 1");
  {
    TModalDialogActor<TSetTextForm> actor([](TSetTextForm& form) {
      Control<QLineEdit>(form, "TitleEdit")->setText("Temperatures");
      ClickControl(form, "OK");
    });
    EXPECT_TRUE(ExecuteSetTextForm(nullptr, title));
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(title, "Temperatures");
}

TEST(ActiveScrollingDialog, EachMessageKeepsTheDialogOpenOnItsField) {
  TScriptedUserDialogs dialogs;
  TActiveScrollingForm form;
  EXPECT_EQ(form.windowTitle(), "Active Scrolling");
  EXPECT_EQ(Control<QCheckBox>(form, "DisableScrolling")->text(), "Disable Active Scrolling?");
  form.SetSeries({"Series1", "Series 2"}, 1);
  form.SetPoints(25);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  auto* points = Control<QLineEdit>(form, "PointsEdit");
  auto* series = Control<QComboBox>(form, "SeriesComboBox");
  EXPECT_EQ(points->text(), "25");
  EXPECT_EQ(series->currentText(), "Series 2");

  const auto refused = [&](const QString& text, const std::string& message, QWidget* field) {
    points->setText(text);
    dialogs.ClearCalls();
    dialogs.ScriptAnswers({mbOK});
    ClickControl(form, "Ok");
    EXPECT_TRUE(form.isVisible()) << text.toStdString();
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{message}) << text.toStdString();
    EXPECT_TRUE(FocusedInWindow(field)) << text.toStdString();
  };
  refused("", "You must enter a number of points to scroll", points);
  refused("   ", "You must enter a number of points to scroll", points);
  refused("x", "x is not not a valid number of points, please reenter or press cancel", points);
  refused(" -1 ", "-1 is not not a valid number of points, please reenter or press cancel", points);
  refused("2.5", "2.5 is not not a valid number of points, please reenter or press cancel", points);
  series->setCurrentIndex(-1);
  refused("30", "You must choose a series to scroll with", series);

  // With scrolling disabled nothing is checked.
  points->setText("x");
  ClickControl(form, "DisableScrolling");
  ClickControl(form, "Ok");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(form.ScrollingDisabled());

  // 0 points is accepted (and means scrolling off for the graph).
  form.show();
  Control<QCheckBox>(form, "DisableScrolling")->setChecked(false);
  series->setCurrentIndex(0);
  points->setText(" 0 ");
  ClickControl(form, "Ok");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.Points(), 0);
  EXPECT_EQ(form.SeriesIndex(), 0);
}

TEST(ActiveScrollingDialog, ExecuteClearsTheDisableBox) {
  TActiveScrollingForm form;
  form.SetSeries({"A"}, 0);
  form.SetPoints(5);
  TModalDialogActor<TActiveScrollingForm> actor([](TActiveScrollingForm& dialog) {
    EXPECT_FALSE(Control<QCheckBox>(dialog, "DisableScrolling")->isChecked());
    Control<QCheckBox>(dialog, "DisableScrolling")->setChecked(true);
    ClickControl(dialog, "Ok");
  });
  EXPECT_TRUE(form.Execute());
  EXPECT_TRUE(form.ScrollingDisabled());
  TModalDialogActor<TActiveScrollingForm> again([](TActiveScrollingForm& dialog) {
    EXPECT_FALSE(Control<QCheckBox>(dialog, "DisableScrolling")->isChecked());
    ClickControl(dialog, "Cancel");
  });
  EXPECT_FALSE(form.Execute());
  EXPECT_TRUE(again.Seen);
}

}  // namespace
