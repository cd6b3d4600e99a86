// The "Debug Output" menu of the debug window: enabled only while the log has lines;
// copy, save with CR LF, print (the document it prints and a PDF) and clear.
#include "shell/ui/debug_output_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
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
  TDebugOutputActionsTest() {
    Actions = new TDebugOutputActions(Log, Menu, &Window, [this] { return Title; });
  }
  QAction* Item(const char* text) const {
    for (QAction* action : Menu.actions())
      if (action->text() == text) return action;
    ADD_FAILURE() << "no item " << text;
    return nullptr;
  }
  void FillLog() {
    Log.Add("Start Block", DebugBlockColour, DebugStyleUnderline);
    Log.Add("Wait 1 s", DebugCommandColour, DebugStyleNone);
    Log.Add("Slept 1 s", DebugTraceColour, DebugStyleItalic);
    Log.Add("Experiment Aborted", DebugAbortColour, DebugStyleBold);
    Log.Add("gone", DebugTraceColour, DebugStyleStrikeOut);
  }
  std::string Read(const std::string& name) const {
    const TBytes bytes = Temp.ReadBytes(name);
    return {bytes.begin(), bytes.end()};
  }

  TScriptedUserDialogs Dialogs;
  TFakeUiPort Ui;
  TTempDir Temp;
  TDebugLog Log;
  QWidget Window;
  QMenu Menu;
  std::string Title = "demo.qve";
  TDebugOutputActions* Actions;  // owned by Window
};

}  // namespace

TEST_F(TDebugOutputActionsTest, ItemsAreEnabledOnlyWhileTheLogHasLines) {
  std::vector<QString> texts;
  for (QAction* action : Menu.actions()) texts.push_back(action->text());
  EXPECT_EQ(texts, (std::vector<QString>{"Copy To Clipboard", "Save To File", "Print", "Clear"}));
  const auto enabled = [&] {
    std::vector<bool> states;
    for (QAction* action : Menu.actions()) states.push_back(action->isEnabled());
    return states;
  };
  const std::vector<bool> none(4, false), all(4, true);
  EXPECT_EQ(enabled(), none);
  Log.Add("Start Block", DebugBlockColour, DebugStyleUnderline);
  EXPECT_EQ(enabled(), all);
  Item("Clear")->trigger();
  EXPECT_EQ(Log.Count(), 0);
  EXPECT_EQ(enabled(), none);
  // A disabled item does nothing when triggered.
  QApplication::clipboard()->setText("kept");
  Item("Copy To Clipboard")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  Log.Add({{"a", 0, 1}, {"b", 0, 1}});
  EXPECT_EQ(enabled(), all);
  Log.Clear();  // cleared by the run's start
  EXPECT_EQ(enabled(), none);

  // Actions of the form's own bound likewise; the menu may go before the binding.
  {
    auto* menu = new QMenu;
    TDebugOutputActions::TActions given;
    given.Copy = menu->addAction("Copy To Clipboard");
    given.Clear = menu->addAction("Clear");
    TDebugOutputActions bound(Log, given, nullptr, nullptr);
    EXPECT_FALSE(given.Copy->isEnabled());
    Log.Add("x", 0, -1);
    EXPECT_TRUE(given.Copy->isEnabled());
    EXPECT_TRUE(given.Clear->isEnabled());
    delete menu;
    Log.Clear();  // must not touch the deleted actions
  }
  Log.Add("y", 0, -1);
  EXPECT_EQ(enabled(), all);
}

TEST_F(TDebugOutputActionsTest, CopyPutsOneLinePerLineOnTheClipboard) {
  FillLog();
  QApplication::clipboard()->setText("old");
  Item("Copy To Clipboard")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Start Block\nWait 1 s\nSlept 1 s\nExperiment Aborted\ngone\n");
}

TEST_F(TDebugOutputActionsTest, SaveAsksForATextFileAndWritesCrLfLines) {
  FillLog();
  Dialogs.ScriptFiles({Temp.PathOf("debug.txt"), "", Temp.PathOf("noext")});
  Item("Save To File")->trigger();
  ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
  const TFileChoice asked = Dialogs.FileChoices()[0].Choice;
  EXPECT_TRUE(asked.Save);
  EXPECT_EQ(asked.Filter, "Text (*.txt)|*.txt");
  EXPECT_EQ(asked.DefaultExt, ".txt");
  EXPECT_TRUE(Dialogs.FileChoices()[0].HadParent);
  EXPECT_EQ(Read("debug.txt"),
            "Start Block\r\nWait 1 s\r\nSlept 1 s\r\nExperiment Aborted\r\ngone\r\n");
  // Cancelled: nothing written.
  Item("Save To File")->trigger();
  EXPECT_EQ(Temp.Entries(), 1u);
  // A name without an extension gets ".txt".
  EXPECT_TRUE(SaveDebugLog(&Window, Log));
  EXPECT_EQ(Read("noext.txt"), Read("debug.txt"));
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(TDebugOutputActionsTest, ThePrintedDocumentHasTheHeadingAndEveryLineInItsStyle) {
  FillLog();
  QTextDocument document;
  document.setMetaInformation(QTextDocument::DocumentTitle, "stale");
  document.setPlainText("left over");
  BuildDebugLogDocument(document, Log, "Pressure sweep");
  EXPECT_EQ(document.metaInformation(QTextDocument::DocumentTitle), QString());
  std::vector<QTextBlock> blocks;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    blocks.push_back(block);
  ASSERT_EQ(blocks.size(), 7u);
  EXPECT_EQ(blocks[0].text(), "Debug Output from: Pressure sweep");
  EXPECT_EQ(blocks[1].text(), "");
  const std::vector<QString> texts{"Start Block", "Wait 1 s", "Slept 1 s", "Experiment Aborted",
                                   "gone"};
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(blocks[i + 2].text(), texts[i]);

  // The format of the first character of each block.
  const auto format = [&](std::size_t block) {
    QTextCursor cursor(blocks[block]);
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat();
  };
  EXPECT_EQ(format(0).fontWeight(), QFont::Bold);
  const QTextCharFormat underline = format(2), plain = format(3), italic = format(4),
                        bold = format(5), strike = format(6);
  EXPECT_TRUE(underline.fontUnderline());
  EXPECT_NE(underline.fontWeight(), QFont::Bold);
  EXPECT_FALSE(plain.fontUnderline() || plain.fontItalic() || plain.fontStrikeOut());
  EXPECT_NE(plain.fontWeight(), QFont::Bold);
  EXPECT_TRUE(italic.fontItalic());
  EXPECT_FALSE(italic.fontUnderline());
  EXPECT_EQ(bold.fontWeight(), QFont::Bold);
  EXPECT_FALSE(bold.fontItalic());
  EXPECT_TRUE(strike.fontStrikeOut());
  // No colour is printed, not even the red of an abort.
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    for (auto it = blocks[i].begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      EXPECT_FALSE(f.hasProperty(QTextFormat::ForegroundBrush)) << i;
    }
  }
}

TEST_F(TDebugOutputActionsTest, PrintWritesAPdfAndCancelPrintsNothing) {
  FillLog();
  for (int i = 0; i < 300; ++i) Log.Add("trace line " + std::to_string(i), 0, 1);
  Dialogs.ScriptPrints({Temp.PathOf("debug.pdf"), ""});
  Item("Print")->trigger();
  QFile pdf(QString::fromStdString(Temp.PathOf("debug.pdf")));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_GT(bytes.size(), 1000);
  // Several pages for 300 lines.
  EXPECT_GT(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page(?!s)")), 1);
  Item("Print")->trigger();
  EXPECT_EQ(Dialogs.PrintCalls(), 2);
  EXPECT_EQ(Temp.Entries(), 1u);
  EXPECT_TRUE(Ui.Texts().empty());
}
