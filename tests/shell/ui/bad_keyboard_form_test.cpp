#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include "model/number_text.h"
#include "shell/ui/bad_keyboard_form.h"
#include "shell/ui/qt_ui_port.h"

namespace {

// Puts back the decimal separator every other test reads numbers with.
class BadKeyboardForm : public ::testing::Test {
protected:
  void TearDown() override { NumberText::SetDecimalSeparator('.'); }
};

}  // namespace

TEST_F(BadKeyboardForm, SaysWhatIsWrongOnABorderlessCentredWindow) {
  TBadKeyboardForm form;
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  const char* lines[] = {"Your Regional Options are incompatible with Qorv.",
                         "Qorv will run, but you will not be able to read any",
                         "files saved by Qorv.  You must change your settings",
                         "such that the decimal symbol is a period and the",
                         "Digit Grouping symbol is a comma."};
  for (int i = 0; i < 5; ++i) {
    auto* label = form.findChild<QLabel*>(QString("Label%1").arg(i + 1));
    ASSERT_NE(label, nullptr) << i;
    EXPECT_EQ(label->text(), QString(lines[i]));
  }
  auto* ok = form.findChild<QPushButton*>("OKButton");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), QString("OK"));

  form.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QRect available = form.screen()->availableGeometry();
  EXPECT_LE(std::abs(form.frameGeometry().center().x() - available.center().x()), 1);
  EXPECT_LE(std::abs(form.frameGeometry().center().y() - available.center().y()), 1);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(BadKeyboardForm, WarnsOnceWhenTheDecimalSymbolIsNotAPeriod) {
  std::vector<QString> shown;
  auto record = [&shown](QDialog& dialog) {
    shown.push_back(QString::fromLatin1(dialog.metaObject()->className()));
  };

  NumberText::SetDecimalSeparator(
      DecimalSeparatorOf(QLocale(QLocale::English, QLocale::UnitedStates)));
  EXPECT_TRUE(TBadKeyboardForm::NumbersConvert());
  EXPECT_TRUE(CheckRegionalSettings(record));
  EXPECT_TRUE(shown.empty());

  for (const QLocale& comma : {QLocale(QLocale::German, QLocale::Germany),
                               QLocale(QLocale::French, QLocale::France)}) {
    shown.clear();
    NumberText::SetDecimalSeparator(DecimalSeparatorOf(comma));
    EXPECT_FALSE(TBadKeyboardForm::NumbersConvert()) << comma.name().toStdString();
    EXPECT_FALSE(CheckRegionalSettings(record));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], QString("TBadKeyboardForm"));
  }
}
