// The big-number window: the value in its number format, the clipboard, the font, the
// window's size, the log menu and dialog as they drive the form's log, and the detached
// window that never logs.
#include "outputs/ui/big_num_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/experiment_running.h"
#include "outputs/output_file.h"
#include "outputs/ui/log_to_file_dialog.h"
#include "outputs/ui/set_text_dialog.h"
#include "scripts/experiment_thread.h"
#include "scripts/outputs/plot_fixture.h"
#include "shell/ui/qt_ui_port.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class TBigNumWindowTest : public TPlotFixture {
protected:
  TBigNumWindowTest() {
    TBigNumForm::SetClock([] { return TLogTime{2002, 7, 3, 9, 5, 7, 40}; });
  }
  ~TBigNumWindowTest() override { TBigNumForm::SetClock({}); }

  QAction* Item(const char* name) const {
    auto* action = Window.findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  // Plots the value and lets the window draw it.
  void Show(const std::string& value) {
    Y->GetValue().SetText(value);
    Shown->Execute();
    Window.RefreshNow();
    QApplication::processEvents();  // the new size reaches the shown window
  }
  // Runs B1 on the worker, its Plot commands handed over to the main thread, and ends
  // the run as the main window does.
  void RunB1Served() {
    Prepare(B1);
    TQtUiPort port;
    Thread = std::make_unique<TExperimentThread>();
    Thread->SetFirstBlock(B1);
    Thread->Start();
    EXPECT_TRUE(QTest::qWaitFor([this] { return Thread->Finished(); }, 20000));
    Thread->Join();
    Exp.ResetOutputsAndFiles();
    ExperimentRunning = false;
  }
  std::string Log() const {
    const TBytes bytes = Temp.ReadBytes("log.txt");
    return {bytes.begin(), bytes.end()};
  }
  // The log dialog, answered with the file and the boxes checked as given.
  std::unique_ptr<TModalDialogActor<TLogToFileForm>> AnswerLog(const std::string& path,
                                                               bool date, bool time,
                                                               bool close) {
    return std::make_unique<TModalDialogActor<TLogToFileForm>>([=](TLogToFileForm& dialog) {
      Control<QLineEdit>(dialog, "FileNameEdit")->setText(QString::fromStdString(path));
      Control<QCheckBox>(dialog, "DateStamp")->setChecked(date);
      Control<QCheckBox>(dialog, "TimeStamp")->setChecked(time);
      Control<QCheckBox>(dialog, "CloseFileBox")->setChecked(close);
      ClickControl(dialog, "OK");
    });
  }

  TScriptedUserDialogs Dialogs;
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "2.5");
  TOutput* Out = Output("Volts", otBIGNUMBER);
  TPlotScript* Shown = Plot(Out, Y, false);
  TBigNumForm& Big = BigNum(Out);
  TBigNumWindow Window{Big};
};

}  // namespace

TEST_F(TBigNumWindowTest, ShowsTheValueInItsFormatAndKeepsItInView) {
  EXPECT_EQ(Window.windowTitle(), "Volts Active");
  EXPECT_EQ(Window.minimumSize(), QSize(290, 80));
  EXPECT_EQ(Window.Label()->font().pointSize(), 36);
  Big.SetNumberFormat(1, 2);
  Window.show();
  Show("2.5");
  EXPECT_EQ(Window.Label()->text(), "2.50");
  // A value wider than the window makes it grow; a narrower one leaves it as it is.
  const QSize before = Window.size();
  Show("-1234567");
  EXPECT_EQ(Window.Label()->text(), "-1234567.00");
  const int needed = Window.Label()->fontMetrics().horizontalAdvance("-1234567.00");
  EXPECT_GE(Window.centralWidget()->width(), needed);
  EXPECT_GT(Window.width(), before.width());
  const QSize wide = Window.size();
  Show("1");
  EXPECT_EQ(Window.Label()->text(), "1.00");
  EXPECT_EQ(Window.size(), wide);
  // The menu: no import, and the kind's items under "&BigNum".
  EXPECT_FALSE(Item("ImportData")->isVisible());
  const QMenu* specific = Window.findChild<QMenu*>("Specific");
  ASSERT_NE(specific, nullptr);
  EXPECT_EQ(specific->title(), "&BigNum");
  EXPECT_EQ(Item("Title")->text(), "&Title");
  EXPECT_EQ(Item("FontMenuItem")->text(), "&Font");
  EXPECT_EQ(Item("LogToFile")->text(), "Log Data To File");
  EXPECT_EQ(Item("BigNumHelp")->text(), "&BigNum Help");
  EXPECT_FALSE(Item("BigNumHelp")->isEnabled());
}

TEST_F(TBigNumWindowTest, CopiesTheShownValueAndRefusesAnEmptyDisplay) {
  QApplication::clipboard()->setText("before");
  Item("CopyToClipboard")->trigger();
  EXPECT_EQ(Ui.Texts(), (TTexts{"No data to put in clipboard."}));
  EXPECT_EQ(QApplication::clipboard()->text(), "before");
  Show("12.5");
  Item("CopyToClipboard")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "12.5");
  EXPECT_EQ(Ui.Texts().size(), 1u);
}

TEST_F(TBigNumWindowTest, TheFontDialogRestylesTheLabelAndFitsTheWindowToIt) {
  Window.show();
  Show("2.5");
  QFont chosen("DejaVu Serif", 60);
  chosen.setBold(true);
  Dialogs.ScriptFonts({chosen, std::nullopt});
  Item("FontMenuItem")->trigger();
  ASSERT_EQ(Dialogs.FontCalls().size(), 1u);
  EXPECT_EQ(Dialogs.FontCalls()[0].pointSize(), 36);  // opened with the label's font
  EXPECT_EQ(Window.Label()->font().family(), "DejaVu Serif");
  EXPECT_EQ(Window.Label()->font().pointSize(), 60);
  EXPECT_TRUE(Window.Label()->font().bold());
  // The window record keeps the font.
  EXPECT_EQ(Big.GetLabel().Font.Name, "DejaVu Serif");
  EXPECT_EQ(Big.GetLabel().Font.Size, 60);
  EXPECT_EQ(Big.GetLabel().Font.Style, 1);
  // The client area is the label's size and 5 more, or the window's minimum.
  const QSize label = Window.Label()->fontMetrics().size(Qt::TextSingleLine, "2.5");
  EXPECT_GE(Window.centralWidget()->width(), label.width() + 5);
  EXPECT_GE(Window.centralWidget()->height(), label.height() + 5);
  EXPECT_LE(Window.centralWidget()->height(), label.height() + 40);
  // Cancelled: nothing changes.
  Item("FontMenuItem")->trigger();
  EXPECT_EQ(Window.Label()->font().pointSize(), 60);
}

TEST_F(TBigNumWindowTest, EnablingWithoutAFileAsksForOneAndLogsStampedLines) {
  EXPECT_EQ(Window.StatusText(), "Logging disabled");
  EXPECT_FALSE(Item("LogToFile")->isChecked());
  EXPECT_EQ(Item("EnableLogging")->text(), "Enable Logging");
  EXPECT_FALSE(Item("EditLogParameters")->isEnabled());

  const std::string path = Temp.PathOf("log.txt");
  {
    auto answer = AnswerLog(path, true, true, false);
    Item("EnableLogging")->trigger();
    EXPECT_TRUE(answer->Seen);
    EXPECT_FALSE(answer->LeftOpen);
  }
  EXPECT_TRUE(Big.IsLogging());
  EXPECT_EQ(Big.GetLogFileName(), path);
  EXPECT_TRUE(Big.GetDateStamp());
  EXPECT_TRUE(Big.GetTimeStamp());
  EXPECT_FALSE(Big.GetCloseBetweenWrites());
  EXPECT_EQ(Window.StatusText(), QString::fromStdString("Logging to file " + path));
  EXPECT_TRUE(Item("LogToFile")->isChecked());
  EXPECT_EQ(Item("EnableLogging")->text(), "Disable Logging");
  EXPECT_TRUE(Item("EditLogParameters")->isEnabled());

  // A run of Y, then N counted up three times.
  Big.SetNumberFormat(1, 2);
  TDataSingle* n = Single(B1, "N", eatINTEGER, "0");
  TLabelScript* loop = Label("Loop");
  Increment(n);
  Plot(Out, n, false);
  Repeat(loop, 3);
  Window.show();
  RunB1Served();
  const std::string stamp = "7/3/2002,9:5:7:40,";
  EXPECT_EQ(Log(), stamp + "2.50\r\n" + stamp + "1.00\r\n" + stamp + "2.00\r\n" + stamp +
                       "3.00\r\n");
  // The next run, with one decimal place, replaces the file.
  Big.SetNumberFormat(1, 1);
  RunB1Served();
  const std::string second =
      stamp + "2.5\r\n" + stamp + "1.0\r\n" + stamp + "2.0\r\n" + stamp + "3.0\r\n";
  EXPECT_EQ(Log(), second);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Window.Label()->text() == "3.0"; }, 10000));

  // Disabled: the status says so and nothing more is logged.
  Item("EnableLogging")->trigger();
  EXPECT_FALSE(Big.IsLogging());
  EXPECT_EQ(Window.StatusText(), "Logging disabled");
  Show("5");
  EXPECT_EQ(Window.Label()->text(), "5.0");
  EXPECT_EQ(Log(), second);
  // Enabled again with the file known: no dialog.
  Item("EnableLogging")->trigger();
  EXPECT_EQ(Window.StatusText(), QString::fromStdString("Logging to file " + path));
}

TEST_F(TBigNumWindowTest, TheLogDialogSetsCloseBetweenWritesAndCancelKeepsOrDropsLogging) {
  // Cancelled with no file known: logging goes off again.
  {
    TModalDialogActor<TLogToFileForm> cancel([](TLogToFileForm& dialog) { dialog.reject(); });
    Item("EnableLogging")->trigger();
    EXPECT_TRUE(cancel.Seen);
  }
  EXPECT_FALSE(Big.IsLogging());
  EXPECT_EQ(Window.StatusText(), "Logging disabled");

  {
    auto answer = AnswerLog(Temp.PathOf("log.txt"), false, false, true);
    Item("EnableLogging")->trigger();
  }
  ASSERT_TRUE(Big.GetCloseBetweenWrites());
  Show("1");
  Show("2");
  EXPECT_EQ(Log(), "1\r\n2\r\n");  // the file closed between the values
  // Cancelled with a file known: logging stays on, the dialog opened with its settings.
  {
    TModalDialogActor<TLogToFileForm> cancel([this](TLogToFileForm& dialog) {
      EXPECT_EQ(Control<QLineEdit>(dialog, "FileNameEdit")->text().toStdString(),
                Temp.PathOf("log.txt"));
      EXPECT_TRUE(Control<QCheckBox>(dialog, "CloseFileBox")->isChecked());
      EXPECT_FALSE(Control<QCheckBox>(dialog, "DateStamp")->isChecked());
      dialog.reject();
    });
    Item("EditLogParameters")->trigger();
    EXPECT_TRUE(cancel.Seen);
  }
  EXPECT_TRUE(Big.IsLogging());
  Show("3");
  EXPECT_EQ(Log(), "1\r\n2\r\n3\r\n");
}

TEST_F(TBigNumWindowTest, AFailedLogSwitchesTheMenuOffAndTheValueStays) {
  Big.SetLogParameters(Temp.PathOf("missing/log.txt"), false, false, false);
  Big.SetLogging(true);
  Window.RefreshNow();
  EXPECT_TRUE(Item("LogToFile")->isChecked());
  Show("2.5");
  EXPECT_EQ(Ui.Texts(), (TTexts{"Error Writing to log file, abort writing."}));
  EXPECT_FALSE(Item("LogToFile")->isChecked());
  EXPECT_EQ(Window.StatusText(), "Logging disabled");
  EXPECT_EQ(Window.Label()->text(), "2.5");
}

TEST_F(TBigNumWindowTest, TheTitleItemRenamesTheOutput) {
  TModalDialogActor<TSetTextForm> actor([](TSetTextForm& form) {
    EXPECT_EQ(Control<QLineEdit>(form, "TitleEdit")->text(), "Volts");
    Control<QLineEdit>(form, "TitleEdit")->setText("Amps");
    ClickControl(form, "OK");
  });
  Item("Title")->trigger();
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(Out->GetName(), "Amps");
  EXPECT_EQ(Window.windowTitle(), "Amps Active");
}

TEST_F(TBigNumWindowTest, ADetachedWindowShowsItsValueButNeverLogs) {
  Show("7.25");
  ASSERT_TRUE(SaveOutputFile(Big, Temp.PathOf("b.opt")));
  const std::unique_ptr<TOutputForm> detached = LoadOutputFile(Temp.PathOf("b.opt"), nullptr);
  TBigNumWindow window(static_cast<TBigNumForm&>(*detached));
  window.show();
  EXPECT_EQ(window.Label()->text(), "7.25");
  EXPECT_EQ(window.windowTitle(), "Volts Inactive");
  EXPECT_EQ(window.StatusText(), "");
  EXPECT_FALSE(window.findChild<QAction*>("LogToFile")->isEnabled());
  EXPECT_FALSE(window.findChild<QAction*>("OffLine")->isEnabled());
  window.EnableLoggingClick();
  EXPECT_FALSE(static_cast<TBigNumForm&>(*detached).IsLogging());
}
