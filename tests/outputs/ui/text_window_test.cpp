// The text window: lines added during a run appended (never the whole text set again)
// and followed while the view is at the end; Clear, the font, Save As Text, the clipboard
// and printing to PDF with the pages the layout gives.
#include "outputs/ui/text_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/number_text.h"
#include "scripts/experiment_thread.h"
#include "scripts/outputs/plot_fixture.h"
#include "shell/ui/qt_ui_port.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class TTextWindowTest : public TPlotFixture {
protected:
  QAction* Item(const char* name) const {
    auto* action = Window.findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  void Plot(const std::string& value) {
    Y->GetValue().SetText(value);
    Shown->Execute();
  }
  QString Shown_() const { return Window.TextControl()->toPlainText(); }
  QScrollBar* Bar() const { return Window.TextControl()->verticalScrollBar(); }
  // Pages of a PDF file: its page objects.
  static int Pages(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
  }

  TScriptedUserDialogs Dialogs;
  TDataSingle* Y = Single(B1, "Y", eatFLOAT, "1");
  TOutput* Out = Output("Log", otTEXT);
  TPlotScript* Shown = TPlotFixture::Plot(Out, Y, false);
  TTextForm& Lines = Text(Out);
  TTextWindow Window{Lines};
};

}  // namespace

TEST_F(TTextWindowTest, ARunAppendsItsLinesAndFollowsTheNewest) {
  // A run of 300 Plot commands on the worker, handed over to the main thread as runs do.
  TDataSingle* n = Single(B1, "N", eatINTEGER, "0");
  TLabelScript* loop = Label("Loop");
  Increment(n);
  TPlotFixture::Plot(Out, n, false);
  Repeat(loop, 300);
  Window.resize(300, 200);
  Window.show();
  // Every change of the document during the run only adds: nothing is removed.
  int removed = 0;
  QObject::connect(Window.TextControl()->document(), &QTextDocument::contentsChange,
                   [&removed](int, int charsRemoved, int) { removed += charsRemoved; });
  int redrawsDuringRun = 0;
  QObject::connect(Window.TextControl()->document(), &QTextDocument::contentsChange,
                   [&redrawsDuringRun] { ++redrawsDuringRun; });
  Prepare(B1);
  {
    TQtUiPort port;
    Thread = std::make_unique<TExperimentThread>();
    Thread->SetFirstBlock(B1);
    Thread->Start();
    EXPECT_TRUE(QTest::qWaitFor([this] { return Thread->Finished(); }, 20000));
    Thread->Join();
  }
  QString expected = "1";  // the first Plot, before the loop
  for (int i = 1; i <= 300; ++i) expected += "\n" + QString::number(i);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Shown_() == expected; }, 10000));
  EXPECT_EQ(removed, 0);
  EXPECT_GE(redrawsDuringRun, 1);
  EXPECT_GT(Bar()->maximum(), 0);
  EXPECT_EQ(Bar()->value(), Bar()->maximum());

  // Scrolled back to read, the view stays where the user put it; at the end, it follows.
  Bar()->setValue(0);
  Plot("301");
  Window.RefreshNow();
  EXPECT_EQ(Bar()->value(), 0);
  EXPECT_TRUE(Shown_().endsWith("\n300\n301"));
  Bar()->setValue(Bar()->maximum());
  Plot("302");
  Window.RefreshNow();
  EXPECT_EQ(Bar()->value(), Bar()->maximum());
}

TEST_F(TTextWindowTest, AClearedTextStartsAgainEvenWhenMoreLinesFollowBeforeTheRedraw) {
  Plot("1");
  Plot("2");
  Window.RefreshNow();
  EXPECT_EQ(Shown_(), "1\n2");
  // Cleared for a new run, then three lines before the window draws: only those show.
  Lines.ClearBeforeRun();
  Plot("7");
  Plot("8");
  Plot("9");
  Window.RefreshNow();
  EXPECT_EQ(Shown_(), "7\n8\n9");
  // Empty lines count as lines.
  Lines.AddText("\r\nlast");
  Window.RefreshNow();
  EXPECT_EQ(Shown_(), "7\n8\n9\n\nlast");
}

TEST_F(TTextWindowTest, ClearAsksFirstAndNoKeepsTheText) {
  Plot("1");
  Window.RefreshNow();
  Ui.ScriptAnswers({mbNo, mbYes});
  Item("Clear")->trigger();
  EXPECT_EQ(Shown_(), "1");
  ASSERT_EQ(Ui.Shown().size(), 1u);
  const TFakeUiPort::TShown question = Ui.Shown()[0];
  EXPECT_EQ(question.Text,
            "Warning, you will lose all your data if you press yes!\rDo you wish to continue?");
  EXPECT_EQ(question.Caption, "Qorv Warning");
  EXPECT_EQ(question.Kind, TMessageKind::Warning);
  EXPECT_EQ(question.Buttons, static_cast<TMessageButtons>(mbYes | mbNo));
  Item("Clear")->trigger();
  EXPECT_EQ(Shown_(), "");
  EXPECT_TRUE(Lines.GetLines().empty());
}

TEST_F(TTextWindowTest, TheFontButtonAndItemChangeTheTextsFont) {
  EXPECT_EQ(Window.findChild<QToolBar*>("ToolBar")->actions().size(), 9);  // 5 and 4 spacers
  // Paste follows the clipboard (import_dialog_test.cpp).
  QGuiApplication::clipboard()->setMimeData(new QMimeData);
  EXPECT_FALSE(Item("PasteButton")->isEnabled());
  EXPECT_FALSE(Item("HelpButton")->isEnabled());
  EXPECT_EQ(Item("FontButton")->toolTip(), "Change Font");
  Dialogs.ScriptFonts({QFont("DejaVu Sans Mono", 14), std::nullopt});
  Item("FontButton")->trigger();
  EXPECT_EQ(Window.TextControl()->font().family(), "DejaVu Sans Mono");
  EXPECT_EQ(Window.TextControl()->font().pointSize(), 14);
  EXPECT_EQ(Lines.GetRichEdit().Font.Name, "DejaVu Sans Mono");
  EXPECT_EQ(Lines.GetRichEdit().Font.Size, 14);
  Item("FontMenuItem")->trigger();  // cancelled
  EXPECT_EQ(Window.TextControl()->font().pointSize(), 14);
  ASSERT_EQ(Dialogs.FontCalls().size(), 2u);
  EXPECT_EQ(Dialogs.FontCalls()[1].family(), "DejaVu Sans Mono");
}

TEST_F(TTextWindowTest, SavesAsTextAndCopiesTheWholeText) {
  Plot("1.5");
  Plot("2.5");
  Ui.ScriptFiles({Temp.PathOf("out.txt")});
  Item("SaveAsText")->trigger();
  const TBytes bytes = Temp.ReadBytes("out.txt");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "1.5\r\n2.5\r\n");
  EXPECT_EQ(Item("SaveAsText")->text(), "Save As &Text");
  QApplication::clipboard()->clear();
  Item("CopyToClipboard")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "1.5\n2.5");
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(TTextWindowTest, PrintsTheLinesOnThePagesTheirLineHeightGives) {
  // The page the print dialog sets up, and the line height worked out by hand: the font's
  // 10 points scaled from the screen to the printer, times 1.4; 8 line heights of each
  // page hold no text (4 at the top, 4 at the bottom).
  QPrinter probe(QPrinter::HighResolution);
  probe.setOutputFormat(QPrinter::PdfFormat);
  const double screenDpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  const int lineHeight =
      static_cast<int>(std::round(10.0 * probe.logicalDpiY() / std::round(screenDpi)) * 1.4);
  const int perPage = probe.height() / lineHeight - 8;
  ASSERT_GT(perPage, 10);
  for (int i = 0; i < 2 * perPage + 1; ++i) Lines.AddText("line " + std::to_string(i));

  Dialogs.ScriptPrints({Temp.PathOf("text.pdf"), "", Temp.PathOf("full.pdf")});
  Item("PrintButton")->trigger();
  EXPECT_EQ(Pages(Temp.PathOf("text.pdf")), 3);
  // Cancelled: nothing printed.
  Item("Print")->trigger();
  EXPECT_EQ(Dialogs.PrintCalls(), 2);
  EXPECT_EQ(Temp.Entries(), 1u);
  // Exactly two pages full.
  Lines.ClearDisplay();
  for (int i = 0; i < 2 * perPage; ++i) Lines.AddText("line " + std::to_string(i));
  Item("Print")->trigger();
  EXPECT_EQ(Pages(Temp.PathOf("full.pdf")), 2);
}

TEST_F(TTextWindowTest, ATinyFontAndAnEmptyTextStillPrint) {
  Lines.GetRichEdit().Font.Size = 0;
  for (int i = 0; i < 50; ++i) Lines.AddText(std::to_string(i));
  Dialogs.ScriptPrints({Temp.PathOf("tiny.pdf")});
  Item("Print")->trigger();
  EXPECT_EQ(Pages(Temp.PathOf("tiny.pdf")), 1);
  // Nothing to print but the caption: one page.
  Lines.ClearDisplay();
  Dialogs.ScriptPrints({Temp.PathOf("empty.pdf")});
  Item("Print")->trigger();
  EXPECT_EQ(Pages(Temp.PathOf("empty.pdf")), 1);
}
