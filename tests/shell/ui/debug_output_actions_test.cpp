// The "Debug Output" menu: enabled only while the log has lines; copy, save with CR LF,
// the printed document and a PDF, and clear.
#include "shell/ui/debug_output_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_ui_port.h"
#include "support/temp_dir.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class TDebugOutputActionsTest : public ::testing::Test {
protected:
  QAction* Item(int index) const { return Menu.actions().at(index); }
  void FillLog() {
    Log.Add("Start Block", DebugBlockColour, DebugStyleUnderline);
    Log.Add("Wait 1 s", DebugCommandColour, DebugStyleNone);
    Log.Add("Slept 1 s", DebugTraceColour, DebugStyleItalic);
    Log.Add("Experiment Aborted", DebugAbortColour, DebugStyleBold);
  }

  TScriptedUserDialogs Dialogs;
  TFakeUiPort Ui;
  TTempDir Temp;
  TDebugLog Log;
  QWidget Window;
  QMenu Menu;
  TDebugOutputActions* Actions =  // owned by Window
      new TDebugOutputActions(Log, Menu, &Window, [] { return std::string("demo.qve"); });
};

}  // namespace

TEST_F(TDebugOutputActionsTest, EnabledWhileTheLogHasLinesCopyAndClear) {
  ASSERT_EQ(Menu.actions().size(), 4);
  EXPECT_EQ(Item(0)->text(), "Copy To Clipboard");
  EXPECT_EQ(Item(3)->text(), "Clear");
  const auto enabled = [&] {
    int count = 0;
    for (QAction* action : Menu.actions()) count += action->isEnabled();
    return count;
  };
  EXPECT_EQ(enabled(), 0);
  FillLog();
  EXPECT_EQ(enabled(), 4);
  QApplication::clipboard()->setText("old");
  Item(0)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Start Block\nWait 1 s\nSlept 1 s\nExperiment Aborted\n");
  Item(3)->trigger();
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_EQ(enabled(), 0);
}

TEST_F(TDebugOutputActionsTest, SaveAsksForATextFileAndWritesCrLfLines) {
  FillLog();
  Dialogs.ScriptFiles({Temp.PathOf("debug"), ""});
  Item(1)->trigger();
  ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
  EXPECT_TRUE(Dialogs.FileChoices()[0].Choice.Save);
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.Filter, "Text (*.txt)|*.txt");
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.DefaultExt, ".txt");
  const TBytes bytes = Temp.ReadBytes("debug.txt");  // the extension added
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "Start Block\r\nWait 1 s\r\nSlept 1 s\r\nExperiment Aborted\r\n");
  Item(1)->trigger();  // cancelled: nothing written
  EXPECT_EQ(Temp.Entries(), 1u);
}

TEST_F(TDebugOutputActionsTest, PrintsTheHeadingAndEveryLineInItsStyleWithoutColour) {
  FillLog();
  QTextDocument document;
  document.setMetaInformation(QTextDocument::DocumentTitle, "stale");
  BuildDebugLogDocument(document, Log, "Pressure sweep");
  EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle), QString());
  EXPECT_EQ(document.toPlainText(),
            "Debug Output from: Pressure sweep\n\nStart Block\nWait 1 s\nSlept 1 s\n"
            "Experiment Aborted");
  std::vector<QTextCharFormat> formats;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    if (!block.text().isEmpty()) formats.push_back(block.begin().fragment().charFormat());
  ASSERT_EQ(formats.size(), 5u);
  EXPECT_EQ(formats[0].fontWeight(), QFont::Bold);
  EXPECT_TRUE(formats[1].fontUnderline());
  EXPECT_FALSE(formats[2].fontUnderline() || formats[2].fontItalic() ||
               formats[2].fontWeight() == QFont::Bold);
  EXPECT_TRUE(formats[3].fontItalic());
  EXPECT_EQ(formats[4].fontWeight(), QFont::Bold);
  for (const QTextCharFormat& format : formats)
    EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));

  Dialogs.ScriptPrints({Temp.PathOf("debug.pdf"), ""});
  Item(2)->trigger();
  Item(2)->trigger();  // cancelled: nothing printed
  QFile pdf(QString::fromStdString(Temp.PathOf("debug.pdf")));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GT(bytes.size(), 1000);
  EXPECT_EQ(Dialogs.PrintCalls(), 2);
  EXPECT_EQ(Temp.Entries(), 1u);
  EXPECT_TRUE(Ui.Texts().empty());
}
