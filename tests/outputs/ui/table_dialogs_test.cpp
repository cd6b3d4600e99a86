// The table's copy, print and labels dialogs driven as a user does: ranges chosen and
// their rows edited, the clipboard's text of each kind, the size limit; the columns to
// print, the printed pages read back from the PDF (numbers, title, a cancel through the
// print-status window); names, headers and shown columns changed and refused.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "outputs/table_form.h"
#include "outputs/ui/copy_data_dialog.h"
#include "outputs/ui/copy_row_select_dialog.h"
#include "outputs/ui/print_table_dialog.h"
#include "outputs/ui/table_labels_dialog.h"
#include "outputs/ui/table_printer.h"
#include "outputs/ui/table_window.h"
#include "shell/ui/print_status_form.h"
#include "shell/ui/qt_ui_port.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class TableDialogsTest : public ::testing::Test {
protected:
  TableDialogsTest() {
    Previous = SetUiPort(&Port);
    Form.SetName("Readings");
    AddSet("A", 3, 0, 0.5);
    AddSet("B", 5, 10, 20);
    QApplication::clipboard()->setText("before");
  }
  ~TableDialogsTest() override { SetUiPort(Previous); }

  TTableDataSet& AddSet(const std::string& name, int points, double x0, double y0) {
    TTableDataSet& set = Form.NewDataSet(name, false);
    set.XName = "X" + name;
    set.YName = "Y" + name;
    for (int i = 0; i < points; ++i) set.AddPoint(x0 + i, y0 + i);
    Window.RefreshNow();
    return set;
  }
  QAction* Item(const char* name) const {
    auto* action = Window.findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  void ClickButton(const char* name) {
    auto* button = Window.findChild<QToolButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    button->click();
  }
  static QString Clipboard() { return QApplication::clipboard()->text(); }
  // B holds that many more rows, (100 + i, i), and the print dialog prints to that PDF
  // file; answers its path.
  std::string ScriptPrintOf(int rows, const char* file) {
    for (int i = 0; i < rows; ++i) Form.GetSeries(1).AddPoint(100 + i, i);
    Window.RefreshNow();
    const std::string pdf = Temp.PathOf(file);
    Dialogs.ScriptPrints({pdf});
    return pdf;
  }
  // The text of one page of a PDF (all pages for 0), by pdftotext.
  static QString PdfText(const std::string& path, int page = 0) {
    QStringList arguments{"-layout"};
    if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    arguments << QString::fromStdString(path) << "-";
    QProcess process;
    process.start("pdftotext", arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  static QString PdfInfo(const std::string& path) {
    QProcess process;
    process.start("pdfinfo", {QString::fromStdString(path)});
    EXPECT_TRUE(process.waitForFinished(30000));
    return QString::fromUtf8(process.readAllStandardOutput());
  }
  static int PdfPages(const std::string& path) {
    for (const QString& line : PdfInfo(path).split('\n'))
      if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
  }

  TScriptedUserDialogs Dialogs;
  TQtUiPort Port;
  TUiPort* Previous = nullptr;
  TTempDir Temp;
  TTableForm Form{static_cast<TDeadOutputList*>(nullptr)};
  TTableWindow Window{Form};
};

TEST_F(TableDialogsTest, ChosenRangesReachTheClipboardAsTheKindChosen) {
  EXPECT_TRUE(Item("CopyToClipboard")->isEnabled());
  // Tab delimited, both ranges, the longer one second.
  TModalDialogActor<TCopyDataForm> tab([](TCopyDataForm& dialog) {
    EXPECT_EQ(dialog.SeriesBox()->count(), 2);
    EXPECT_EQ(dialog.SeriesBox()->item(1)->text(), "B 1 to 5");
    EXPECT_EQ(dialog.SeriesCopyBox()->count(), 0);
    ClickControl(dialog, "AddAll");
    ClickControl(dialog, "TabRadio");
    ClickControl(dialog, "OK");
  });
  ClickButton("CopyButton");
  ASSERT_TRUE(tab.Seen);
  EXPECT_FALSE(tab.LeftOpen);
  const QStringList lines = Clipboard().split("\r\n");
  ASSERT_EQ(lines.size(), 7);
  EXPECT_EQ(lines[0], "XA\tYA\tXB\tYB");
  EXPECT_EQ(lines[4], "\t\t13\t23");
  EXPECT_EQ(lines[6], "");

  // Cancel leaves the clipboard alone.
  QApplication::clipboard()->setText("kept");
  TModalDialogActor<TCopyDataForm> cancelled([](TCopyDataForm& dialog) {
    ClickControl(dialog, "AddAll");
    ClickControl(dialog, "Cancel");
  });
  Item("CopyToClipboard")->trigger();
  EXPECT_TRUE(cancelled.Seen);
  EXPECT_EQ(Clipboard(), "kept");
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(TableDialogsTest, ARowRangeIsCopiedAfterTheRowDialogRefusesBadRows) {
  // Only B has points: its range is chosen before the dialog shows.
  Form.GetSeries(0).Clear();
  Window.RefreshNow();
  Dialogs.ScriptAnswers({mbOK, mbOK});
  std::vector<std::string> shownText;
  TModalDialogActor<TCopyDataForm> copy([&](TCopyDataForm& dialog) {
    EXPECT_EQ(dialog.SeriesBox()->count(), 0);
    ASSERT_EQ(dialog.SeriesCopyBox()->count(), 1);
    TModalDialogActor<TCopyRowSelectForm> rows([](TCopyRowSelectForm& select) {
      auto* start = Control<QLineEdit>(select, "StartEdit");
      auto* end = Control<QComboBox>(select, "EndCombo");
      EXPECT_EQ(start->text(), "1");
      EXPECT_EQ(end->currentText(), "End");
      // Past the set's 5 points, and an end before the start: refused, still open.
      start->setText("6");
      ClickControl(select, "OK");
      start->setText("4");
      end->setCurrentText("3");
      ClickControl(select, "OK");
      EXPECT_TRUE(select.isVisible());
      end->setCurrentText(" end");
      ClickControl(select, "OK");
    });
    dialog.SeriesCopyBox()->item(0)->setSelected(true);
    dialog.EditPointsClick();
    EXPECT_TRUE(rows.Seen);
    EXPECT_FALSE(rows.LeftOpen);
    shownText.push_back(dialog.SeriesCopyBox()->item(0)->text().toStdString());
    ClickControl(dialog, "OK");
  });
  ClickButton("CopyButton");
  ASSERT_TRUE(copy.Seen);
  EXPECT_EQ(shownText, std::vector<std::string>{"B 4 to 5"});
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{
                "The start row must be an integer value greater than 0 and less than 6",
                "The end row must be an integer value greater than 4"}));
  EXPECT_EQ(Clipboard(), "OutputType=4\r\nNumberOfSeries=1\r\nXB\tYB\r\n13\t23\r\n14\t24\r\n");

  // The last row alone.
  TModalDialogActor<TCopyDataForm> last([](TCopyDataForm& dialog) {
    TModalDialogActor<TCopyRowSelectForm> rows([](TCopyRowSelectForm& select) {
      Control<QLineEdit>(select, "StartEdit")->setText("5");
      ClickControl(select, "OK");
    });
    dialog.SeriesCopyBox()->item(0)->setSelected(true);
    dialog.EditPointsClick();
    ClickControl(dialog, "CommaRadio");
    ClickControl(dialog, "OK");
  });
  ClickButton("CopyButton");
  EXPECT_EQ(Clipboard(), "XB,YB\r\n14,24\r\n");
}

TEST_F(TableDialogsTest, TooMuchDataNeverReachesTheClipboardAndAnEmptyTableHasNothing) {
  for (int i = 0; i < 4001 - 3; ++i) Form.GetSeries(0).AddPoint(i, i);
  for (int i = 0; i < 4001 - 5; ++i) Form.GetSeries(1).AddPoint(i, i);
  Dialogs.ScriptAnswers({mbOK});
  TModalDialogActor<TCopyDataForm> copy([](TCopyDataForm& dialog) {
    ClickControl(dialog, "AddAll");
    ClickControl(dialog, "OK");
  });
  ClickButton("CopyButton");
  EXPECT_TRUE(copy.Seen);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Too much data to put on the clipboard"});
  EXPECT_EQ(Clipboard(), "before");

  Dialogs.ClearCalls();
  Form.DeleteDataSet(1);
  Form.DeleteDataSet(0);
  Dialogs.ScriptAnswers({mbOK, mbOK});
  ClickButton("CopyButton");
  ClickButton("PrintButton");
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Nothing to copy", "Nothing to print"}));
}

TEST(CopyDataFormTest, EntriesMoveBetweenAndWithinTheLists) {
  TScriptedUserDialogs dialogs;
  TCopyDataForm dialog;
  auto texts = [](QListWidget* list) {
    std::vector<std::string> shown;
    for (int i = 0; i < list->count(); ++i) shown.push_back(list->item(i)->text().toStdString());
    return shown;
  };
  // Nothing offered: refused without showing.
  dialogs.ScriptAnswers({mbOK});
  EXPECT_FALSE(dialog.Execute(false));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"No data to copy"});

  for (const char* name : {"P", "Q", "R"}) dialog.Offer(TCopyObject(0, 9, name));
  dialog.SeriesBox()->item(0)->setSelected(true);
  dialog.SeriesBox()->item(2)->setSelected(true);
  dialog.AddOneClick();
  EXPECT_EQ(texts(dialog.SeriesCopyBox()), (std::vector<std::string>{"P 1 to 10", "R 1 to 10"}));
  // A double click moves just that entry.
  QListWidgetItem* q = dialog.SeriesBox()->item(0);
  emit dialog.SeriesBox()->itemDoubleClicked(q);
  EXPECT_EQ(dialog.SeriesBox()->count(), 0);
  ASSERT_EQ(dialog.SeriesCopyBox()->count(), 3);
  // Q (last) up to the top, then nowhere further.
  dialog.SeriesCopyBox()->item(2)->setSelected(true);
  dialog.MoveUpClick();
  dialog.MoveUpClick();
  dialog.MoveUpClick();
  EXPECT_EQ(texts(dialog.SeriesCopyBox())[0], "Q 1 to 10");
  EXPECT_TRUE(dialog.SeriesCopyBox()->item(0)->isSelected());
  dialog.MoveDownClick();
  EXPECT_EQ(texts(dialog.SeriesCopyBox()), (std::vector<std::string>{"P 1 to 10", "Q 1 to 10", "R 1 to 10"}));
  std::vector<TCopyObject> chosen = dialog.Chosen();
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_EQ(chosen[1].Name(), "Q");
  dialog.SeriesCopyBox()->clearSelection();
  dialog.SeriesCopyBox()->item(1)->setSelected(true);
  dialog.RemoveOneClick();
  EXPECT_EQ(texts(dialog.SeriesBox()), std::vector<std::string>{"Q 1 to 10"});
  dialog.RemoveAllClick();
  EXPECT_EQ(dialog.SeriesBox()->count(), 3);
  EXPECT_TRUE(dialog.Chosen().empty());
  EXPECT_EQ(dialog.CopyKind(), ckOUTPUT);
  dialog.Clear();
  EXPECT_EQ(dialog.SeriesBox()->count(), 0);
}

TEST(CopyDataFormTest, ARightClickOnAChosenRangeEditsItsPoints) {
  TScriptedUserDialogs dialogs;
  TCopyDataForm dialog;
  dialog.Offer(TCopyObject(0, 9, "P"));
  dialog.Offer(TCopyObject(1, 4, "Q"));
  dialog.AddAllClick();
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QListWidget* chosen = dialog.SeriesCopyBox();
  chosen->item(0)->setSelected(true);
  chosen->item(1)->setSelected(true);
  QStringList offered;
  TModalDialogActor<TCopyRowSelectForm> rows([](TCopyRowSelectForm& select) {
    EXPECT_EQ(select.property("helpContext").toInt(), 61);
    EXPECT_EQ(Control<QComboBox>(select, "EndCombo")->currentText(), "End");
    Control<QLineEdit>(select, "StartEdit")->setText("2");
    Control<QComboBox>(select, "EndCombo")->setCurrentText("3");
    ClickControl(select, "OK");
  });
  QTimer::singleShot(50, [&offered] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) offered << action->text();
    QAction* edit = menu->findChild<QAction*>("EditPoints");
    menu->hide();
    if (edit) edit->trigger();
  });
  QTest::mouseClick(chosen->viewport(), Qt::RightButton, {},
                    chosen->visualItemRect(chosen->item(1)).center());
  EXPECT_EQ(offered, QStringList{"Edit Points"});
  EXPECT_TRUE(rows.Seen);
  EXPECT_FALSE(chosen->item(0)->isSelected());
  EXPECT_EQ(chosen->item(0)->text(), "P 1 to 10");
  EXPECT_EQ(chosen->item(1)->text(), "Q 2 to 3");
  EXPECT_EQ(dialog.Chosen()[1].RowCount(), 2);
}

TEST(CopyDataFormTest, TakingAllChoosesEveryRangeBeforeTheDialogShows) {
  TScriptedUserDialogs dialogs;
  std::vector<TCopyObject> ranges{TCopyObject(0, 9, "P"), TCopyObject(2, 4, "R")};
  TCopyKind kind = ckOUTPUT;
  TModalDialogActor<TCopyDataForm> taken([](TCopyDataForm& dialog) {
    EXPECT_EQ(dialog.SeriesBox()->count(), 0);
    EXPECT_EQ(dialog.SeriesCopyBox()->count(), 2);
    dialog.SeriesCopyBox()->item(0)->setSelected(true);
    ClickControl(dialog, "MoveDown");
    ClickControl(dialog, "TabRadio");
    ClickControl(dialog, "OK");
  });
  ASSERT_TRUE(ChooseCopyRanges(nullptr, ranges, true, kind));
  EXPECT_EQ(kind, ckTAB);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0].Name(), "R");
  EXPECT_EQ(ranges[0].SetIndex(), 2);
  // Everything handed back: an empty choice is no choice.
  TModalDialogActor<TCopyDataForm> emptied([](TCopyDataForm& dialog) {
    ClickControl(dialog, "RemoveAll");
    ClickControl(dialog, "OK");
  });
  EXPECT_FALSE(ChooseCopyRanges(nullptr, ranges, true, kind));
  EXPECT_EQ(ranges.size(), 2u);
  EXPECT_EQ(kind, ckTAB);
}

TEST(CopyRowSelectFormTest, StartOnlyHidesTheEndAndKeepsTheMinimumRows) {
  TScriptedUserDialogs dialogs;
  dialogs.ScriptAnswers({mbOK});
  TCopyRowSelectForm select;
  TModalDialogActor<TCopyRowSelectForm> actor([](TCopyRowSelectForm& dialog) {
    EXPECT_FALSE(Control<QComboBox>(dialog, "EndCombo")->isVisible());
    EXPECT_EQ(dialog.property("helpContext").toInt(), 60);
    auto* start = Control<QLineEdit>(dialog, "StartEdit");
    EXPECT_EQ(start->text(), "3");
    start->setText("92");  // 9 rows left of 100, 10 wanted
    ClickControl(dialog, "OK");
    start->setText("91");
    ClickControl(dialog, "OK");
  });
  ASSERT_TRUE(select.ExecuteStart(2, 99, 10));
  EXPECT_EQ(select.FirstRow(), 90);
  EXPECT_EQ(select.LastRow(), 99);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"There must be at least 10 rows"});
}

TEST_F(TableDialogsTest, APrintedTableNumbersEveryPageAndIsTitledByTheWindow) {
  // Rows enough for several pages; A's X column is left out.
  for (int i = 0; i < 200; ++i) Form.GetSeries(1).AddPoint(100 + i, 0.25 * i);
  Window.RefreshNow();
  const std::string pdf = Temp.PathOf("table.pdf");
  Dialogs.ScriptAnswers({mbOK});
  Dialogs.ScriptPrints({pdf});
  TModalDialogActor<TPrintTableForm> columns([](TPrintTableForm& dialog) {
    ASSERT_EQ(dialog.ColumnCount(), 4);
    EXPECT_EQ(dialog.ColumnListBox()->item(1)->text(), "A: YA");
    ClickControl(dialog, "UncheckAll");
    ClickControl(dialog, "Print");  // nothing checked: refused
    EXPECT_TRUE(dialog.isVisible());
    ClickControl(dialog, "CheckAll");
    dialog.ColumnListBox()->item(0)->setCheckState(Qt::Unchecked);
    ClickControl(dialog, "Print");
  });
  std::vector<QString> labels;
  QObject::connect(Window.Printer(), &TTablePrinter::PageStarted, [&labels] {
    if (auto* status = dynamic_cast<TPrintStatusForm*>(QApplication::activeModalWidget()))
      labels.push_back(status->LabelText());
  });
  ClickButton("PrintButton");
  ASSERT_TRUE(columns.Seen);
  EXPECT_EQ(Dialogs.Texts(),
            std::vector<std::string>{"You must select some columns to print or press cancel."});
  EXPECT_FALSE(Form.GetSeries(0).PrintX);
  EXPECT_TRUE(Form.GetSeries(0).PrintY);
  EXPECT_EQ(Window.Printer()->PageNumber(), -1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  const int pages = PdfPages(pdf);
  ASSERT_GE(pages, 3);
  ASSERT_EQ(labels.size(), static_cast<std::size_t>(pages));
  EXPECT_TRUE(labels[0] == "Printing Readings" || labels[0].startsWith("Readings: printing page"));
  EXPECT_TRUE(PdfInfo(pdf).contains(QRegularExpression("Title:\\s+Qorv: Readings\\n")));
  for (int page = 1; page <= pages; ++page) {
    const QString text = PdfText(pdf, page);
    EXPECT_TRUE(text.contains(QRegularExpression("\\bPage " + QString::number(page) + "\\s*$"))) << page;
    EXPECT_TRUE(text.contains("XB") && text.contains("YB")) << page;
    EXPECT_EQ(text.contains("Readings"), page == 1) << page;
  }
  // A's X header is not printed, its Y header is; B's last row is on the last page.
  const QString all = PdfText(pdf);
  EXPECT_FALSE(all.contains("XA"));
  EXPECT_TRUE(all.contains("YA"));
  EXPECT_TRUE(PdfText(pdf, pages).contains(QRegularExpression("\\b299\\s+49\\.75\\b")));
}

TEST_F(TableDialogsTest, ACancelDuringPageThreeLeavesItUnnumbered) {
  const std::string pdf = ScriptPrintOf(300, "cancelled.pdf");
  TModalDialogActor<TPrintTableForm> columns([](TPrintTableForm& dialog) { ClickControl(dialog, "Print"); });
  bool cancelled = false;
  QObject::connect(Window.Printer(), &TTablePrinter::PageStarted, [&cancelled](int page) {
    auto* status = dynamic_cast<TPrintStatusForm*>(QApplication::activeModalWidget());
    if (page != 3 || !status) return;
    ClickControl(*status, "Cancel");
    cancelled = true;
  });
  ClickButton("PrintButton");
  ASSERT_TRUE(cancelled);
  EXPECT_EQ(Window.Printer()->PageNumber(), -1);
  EXPECT_FALSE(Window.Printer()->IsPrinting());
  ASSERT_EQ(PdfPages(pdf), 3);
  EXPECT_TRUE(PdfText(pdf, 1).contains("Page 1"));
  EXPECT_TRUE(PdfText(pdf, 2).contains("Page 2"));
  const QString third = PdfText(pdf, 3);
  EXPECT_FALSE(third.contains("Page"));
  EXPECT_TRUE(third.contains("XB"));  // the page began: its frame and headers are there
}

TEST_F(TableDialogsTest, ALongPrintLetsEventsThroughEveryPageAndACancelClickStopsIt) {
  const std::string pdf = ScriptPrintOf(3000, "long.pdf");
  TModalDialogActor<TPrintTableForm> columns([](TPrintTableForm& dialog) { ClickControl(dialog, "Print"); });
  // Each page posts a timer, as a user's click arrives: it must run before the next page
  // is done. On page 20 the timer clicks Cancel.
  constexpr int CancelPage = 20;
  int late = 0;
  int clickedOn = -1;
  QObject::connect(Window.Printer(), &TTablePrinter::PageStarted, [&](int page) {
    auto* status = dynamic_cast<TPrintStatusForm*>(QApplication::activeModalWidget());
    if (!status || page > CancelPage) return;
    QTimer::singleShot(0, status, [&, page, status] {
      const int now = Window.Printer()->PageNumber();
      late = std::max(late, now - page);
      if (page != CancelPage) return;
      clickedOn = now;
      ClickControl(*status, "Cancel");
    });
  });
  ClickButton("PrintButton");
  ASSERT_TRUE(columns.Seen);
  EXPECT_LE(late, 1) << "events waited while pages printed";
  ASSERT_GE(clickedOn, CancelPage);
  EXPECT_FALSE(Window.Printer()->IsPrinting());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  const int pages = PdfPages(pdf);
  EXPECT_EQ(pages, clickedOn) << "the job stops on the page the click came in";
  EXPECT_TRUE(PdfText(pdf, pages - 1).contains("Page " + QString::number(pages - 1)));
  EXPECT_FALSE(PdfText(pdf, pages).contains("Page")) << "the cancelled page is unnumbered";
}

TEST_F(TableDialogsTest, WithNoColumnChosenNoDocumentIsStarted) {
  for (std::int32_t s = 0; s < Form.SeriesCount(); ++s) {
    Form.GetSeries(s).PrintX = false;
    Form.GetSeries(s).PrintY = false;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(Temp.PathOf("none.pdf")));
  Window.Printer()->SetUp(&printer, "Readings", Window.Grid()->font(), {});
  EXPECT_FALSE(Window.Printer()->OnPrintTable());
  EXPECT_EQ(Temp.Entries(), 0u);
  EXPECT_EQ(Window.Printer()->PageNumber(), -1);
  // A set that prints only its Y column prints its values under its Y header alone.
  Form.GetSeries(1).PrintY = true;
  EXPECT_TRUE(Window.Printer()->OnPrintTable());
  const QString text = PdfText(Temp.PathOf("none.pdf"));
  EXPECT_TRUE(text.contains("YB"));
  EXPECT_FALSE(text.contains("XB"));
  EXPECT_TRUE(text.contains("24"));
  EXPECT_FALSE(text.contains("14"));
}

TEST_F(TableDialogsTest, LabelsRenameTheSetsAndTheTable) {
  Dialogs.ScriptAnswers({mbOK, mbOK});
  QFont chosen("Monospace", 13);
  Dialogs.ScriptFonts({chosen});
  // Apply with an empty Y label is refused; then B renamed with its X column hidden; the
  // change stays although the dialog is cancelled.
  TModalDialogActor<TTableLabelsForm> first([](TTableLabelsForm& dialog) {
    auto* series = Control<QComboBox>(dialog, "SeriesList");
    EXPECT_EQ(series->count(), 2);
    EXPECT_EQ(Control<QLineEdit>(dialog, "TableTitle")->text(), "Readings");
    EXPECT_EQ(Control<QLineEdit>(dialog, "SeriesEdit")->text(), "A");
    series->setCurrentIndex(1);
    EXPECT_EQ(Control<QLineEdit>(dialog, "XEdit")->text(), "XB");
    Control<QLineEdit>(dialog, "YEdit")->clear();
    ClickControl(dialog, "Apply");
    Control<QLineEdit>(dialog, "YEdit")->setText("Volts");
    Control<QLineEdit>(dialog, "SeriesEdit")->setText("Sweep");
    ClickControl(dialog, "ShowX");
    ClickControl(dialog, "Apply");
    EXPECT_EQ(series->itemText(1), "Sweep");
    ClickControl(dialog, "Cancel");
  });
  Item("Labels")->trigger();
  ASSERT_TRUE(first.Seen);
  EXPECT_EQ(Form.GetSeries(1).Name, "Sweep");
  EXPECT_EQ(Form.GetSeries(1).YName, "Volts");
  EXPECT_FALSE(Form.GetSeries(1).ShowX);
  EXPECT_TRUE(Form.GetSeries(1).ShowY);
  EXPECT_EQ(Form.GetName(), "Readings");

  // "Show Series" unchecked hides both of A's columns; an empty title is refused; the
  // font chosen becomes the table's.
  TModalDialogActor<TTableLabelsForm> second([](TTableLabelsForm& dialog) {
    ClickControl(dialog, "ShowSeries");
    EXPECT_FALSE(Control<QLineEdit>(dialog, "XEdit")->isEnabled());
    auto* title = Control<QLineEdit>(dialog, "TableTitle");
    title->clear();
    ClickControl(dialog, "OK");
    EXPECT_TRUE(dialog.isVisible());
    title->setText("Run 2");
    ClickControl(dialog, "FontButton");
    ClickControl(dialog, "OK");
  });
  Item("Labels")->trigger();
  EXPECT_FALSE(second.LeftOpen);
  EXPECT_FALSE(Form.GetSeries(0).ShowX || Form.GetSeries(0).ShowY);
  EXPECT_EQ(Form.GetName(), "Run 2");
  EXPECT_EQ(Window.Grid()->font().family(), chosen.family());
  EXPECT_EQ(Window.Grid()->font().pointSize(), 13);
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"You must enter a label for the y values.",
                                                       "You must enter a title for the table."}));
}

}  // namespace
