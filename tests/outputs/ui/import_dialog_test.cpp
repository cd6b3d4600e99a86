// The text import wizard driven as a user does: rows chosen, lines split at a delimiter
// or cut at marks set on the ruler, data sets made and taken by OK; its messages. And
// the windows that reach it: the Paste buttons (the outputs' clipboard text read at once,
// other text through the wizard, refused while running) and Import > Text File.
#include "outputs/ui/import_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "model/experiment_running.h"
#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"
#include "outputs/transfer_text.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/table_window.h"
#include "outputs/ui/text_window.h"
#include "shell/ui/qt_ui_port.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

using TTexts = std::vector<std::string>;

class ImportDialogTest : public ::testing::Test {
protected:
  ImportDialogTest() { Previous = SetUiPort(&Port); }
  ~ImportDialogTest() override {
    ExperimentRunning = false;
    SetUiPort(Previous);
  }

  // The wizard shown over the lines, on its first page.
  void Open(std::vector<std::string> lines) {
    Form.SetLines(std::move(lines));
    Form.show();
  }
  void Click(const char* name) {
    auto* button = Control<QPushButton>(Form, name);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  // Page 1 to page 2, split at commas, on to page 4.
  void SplitAtCommas() {
    Click("Next");
    ClickControl(Form, "CommaButton");
    Click("Delimit");
    Click("Next");
  }
  TTexts Entries() {
    TTexts names;
    auto* list = Control<QListWidget>(Form, "SelDataListBox");
    for (int i = 0; i < list->count(); ++i) names.push_back(list->item(i)->text().toStdString());
    return names;
  }

  TScriptedUserDialogs Dialogs;
  TQtUiPort Port;
  TUiPort* Previous = nullptr;
  TImportForm Form;
};

TEST_F(ImportDialogTest, StartRowAndEndTakeTheRowsToTheEndAsXYPairs) {
  Open({"1,2", "2,4", "3,6", "4,8", "5,10"});
  EXPECT_EQ(Form.windowTitle(), "Import");
  EXPECT_EQ(Control<QWidget>(Form, "Help")->property("helpContext").toInt(), 40);
  EXPECT_EQ(Control<QLabel>(Form, "TotalRowLabel")->text(), "5");
  const QAbstractItemModel* lines = Control<QTableView>(Form, "StringGridImport")->model();
  ASSERT_EQ(lines->rowCount(), 5);
  EXPECT_EQ(lines->index(4, 0).data().toString(), "5");
  EXPECT_EQ(lines->index(4, 1).data().toString(), "5,10");
  auto* start = Control<QComboBox>(Form, "StartRowBox");
  auto* rows = Control<QComboBox>(Form, "NumRowsBox");
  EXPECT_EQ(start->currentText(), "All");
  EXPECT_EQ(start->count(), 6);
  EXPECT_FALSE(rows->isEnabled());
  EXPECT_TRUE(Control<QRadioButton>(Form, "DelimitedButton")->isChecked());
  start->setCurrentIndex(2);
  ASSERT_TRUE(rows->isEnabled());
  EXPECT_EQ(rows->currentText(), "End");
  EXPECT_EQ(rows->count(), 4);  // "End", then 1 to 5 - 2

  SplitAtCommas();
  const QAbstractItemModel* grid = Control<QTableView>(Form, "FinalStringGrid")->model();
  ASSERT_EQ(grid->columnCount(), 2);
  EXPECT_EQ(grid->rowCount(), 4);
  EXPECT_EQ(grid->headerData(1, Qt::Horizontal).toString(), "Column 2");
  EXPECT_EQ(grid->index(0, 1).data().toString(), "4");
  EXPECT_TRUE(Control<QRadioButton>(Form, "XYPairs")->isChecked());
  EXPECT_FALSE(Control<QPushButton>(Form, "Next")->isEnabled());
  EXPECT_TRUE(Control<QPushButton>(Form, "Previous")->isEnabled());
  Click("Add");
  EXPECT_EQ(Entries(), TTexts{"Import Column 1 vs Column 2"});
  Click("Ok");
  EXPECT_EQ(Form.result(), QDialog::Accepted);
  auto data = Form.TakeResult();
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->GetTSCount(), 1);
  ASSERT_EQ(data->GetSeries(0)->GetCount(), 4);
  EXPECT_EQ(data->GetSeries(0)->GetX(0), 2.0f);
  EXPECT_EQ(data->GetSeries(0)->GetY(3), 10.0f);
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ImportDialogTest, ThreeColumnsTakeColumnOneAgainstTheRest) {
  Open({"1,2,3", "4,5,6"});
  Control<QComboBox>(Form, "StartRowBox")->setCurrentIndex(1);
  Control<QComboBox>(Form, "NumRowsBox")->setCurrentIndex(1);  // 1 row
  SplitAtCommas();
  EXPECT_FALSE(Control<QRadioButton>(Form, "XYPairs")->isEnabled());
  EXPECT_TRUE(Control<QRadioButton>(Form, "Col1VSrest")->isChecked());
  EXPECT_EQ(Control<QTableView>(Form, "FinalStringGrid")->model()->rowCount(), 1);
  Click("Add");
  EXPECT_EQ(Entries(), (TTexts{"Import Column 1 vs2", "Import Column 1 vs3"}));
  // Removing the chosen entry, then clearing all.
  Control<QListWidget>(Form, "SelDataListBox")->setCurrentRow(0);
  Click("Remove");
  EXPECT_EQ(Entries(), TTexts{"Import Column 1 vs3"});
  Click("Clear");
  EXPECT_TRUE(Entries().empty());
  Dialogs.ScriptAnswers({mbOK});
  Click("Ok");
  EXPECT_EQ(Dialogs.Texts(),
            TTexts{"Nothing to import.  Please select columns to import or press Cancel"});
  EXPECT_TRUE(Form.isVisible());
  EXPECT_EQ(Form.TakeResult(), nullptr);
}

TEST_F(ImportDialogTest, FixedWidthLinesAreCutAtTheMarkSetOnTheRuler) {
  Open({"  5 1234", "123 5678"});
  ClickControl(Form, "FixedButton");
  Click("Next");
  auto* ruler = Control<TImportPaintBox>(Form, "PaintBoxRuler");
  auto* data = Control<TImportPaintBox>(Form, "PaintBoxData");
  ASSERT_TRUE(ruler->isVisible());
  const int width = Form.FixedPage().CharWidth;
  ASSERT_GT(width, 1);
  // A click inside character 3 snaps to the boundary on its left.
  QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(3 * width + width / 2, ruler->height() / 2));
  EXPECT_EQ(Form.FixedPage().Marks, QList<int>{3});
  // A second mark on the data, dragged from 5 to 6, then removed by a double click.
  QTest::mousePress(data, Qt::LeftButton, {}, QPoint(5 * width + 1, 5));
  QTest::mouseMove(data, QPoint(6 * width + 1, 5));
  QTest::mouseRelease(data, Qt::LeftButton, {}, QPoint(6 * width + 1, 5));
  EXPECT_EQ(Form.FixedPage().Marks, (QList<int>{3, 6}));
  QTest::mouseDClick(data, Qt::LeftButton, {}, QPoint(6 * width + 1, 5));
  EXPECT_EQ(Form.FixedPage().Marks, QList<int>{3});
  const QImage picture = ruler->grab().toImage();
  EXPECT_FALSE(picture.isNull());

  Click("Next");
  Click("Add");
  EXPECT_EQ(Entries(), TTexts{"Import Column 1 vs Column 2"});
  Click("Ok");
  auto result = Form.TakeResult();
  ASSERT_NE(result, nullptr);
  const TTransferSeries& set = *result->GetSeries(0);
  ASSERT_EQ(set.GetCount(), 2);
  EXPECT_EQ(set.GetX(0), 5.0f);
  EXPECT_EQ(set.GetX(1), 123.0f);
  EXPECT_EQ(set.GetY(0), 1234.0f);
  EXPECT_EQ(set.GetY(1), 5678.0f);
}

TEST_F(ImportDialogTest, IndividualChoicesAndTheirMessages) {
  Open({"1;2;x", "3;4;5"});
  Click("Next");
  ClickControl(Form, "OtherButton");
  EXPECT_TRUE(Control<QWidget>(Form, "DelimitEdit")->isVisible());
  Dialogs.ScriptAnswers({mbOK});
  Click("Delimit");
  EXPECT_EQ(Dialogs.Texts(), TTexts{"need delimiter"});
  QTest::keyClicks(Control<QWidget>(Form, "DelimitEdit"), ";");
  Click("Delimit");
  EXPECT_EQ(Control<QTableView>(Form, "StringGrid")->model()->columnCount(), 3);
  Click("Next");
  auto* individual = Control<QRadioButton>(Form, "SelectIndividual");
  EXPECT_EQ(individual->text(), "Select Individuallly");
  EXPECT_FALSE(Control<QWidget>(Form, "SelectPanel")->isVisible());
  ClickControl(Form, "SelectIndividual");
  EXPECT_TRUE(Control<QWidget>(Form, "SelectPanel")->isVisible());
  auto* x = Control<QComboBox>(Form, "XComboBox");
  auto* y = Control<QComboBox>(Form, "YComboBox");
  EXPECT_EQ(x->itemText(0), "Counter");
  EXPECT_EQ(x->currentText(), "1");
  EXPECT_EQ(y->currentText(), "2");
  Click("Add");
  x->setCurrentIndex(0);
  Click("Add");
  // Column 3 holds a cell that is no number: the entries before stay.
  y->setCurrentIndex(2);
  Dialogs.ScriptAnswers({mbOK, mbOK});
  Click("Add");
  EXPECT_EQ(Dialogs.Texts().back(), "Error in column 3");
  EXPECT_EQ(Entries(), (TTexts{"Import Column 1 vs Column 2", "Import Counter vs Column 2"}));
  // Back to the delimiter page, and back to the rows.
  Click("Previous");
  EXPECT_TRUE(Control<QWidget>(Form, "StringGrid")->isVisible());
  Click("Previous");
  EXPECT_TRUE(Control<QWidget>(Form, "StringGridImport")->isVisible());
  EXPECT_FALSE(Control<QPushButton>(Form, "Previous")->isEnabled());
}

TEST_F(ImportDialogTest, AClipboardWithoutTextIsRefused) {
  QGuiApplication::clipboard()->setMimeData(new QMimeData);
  Dialogs.ScriptAnswers({mbOK});
  EXPECT_EQ(ImportClipboard(nullptr), nullptr);
  EXPECT_EQ(Dialogs.Texts(),
            TTexts{"Material in the clipboard is not in text format and cannot be copied."});
}

TEST_F(ImportDialogTest, PasteReadsOutputsTextAtOnceAndOtherTextThroughTheWizard) {
  TGraphForm graph(static_cast<TDeadOutputList*>(nullptr));
  TGraphWindow window(graph);
  window.show();
  auto* paste = window.findChild<QAction*>("PasteButton");
  ASSERT_NE(paste, nullptr);
  QGuiApplication::clipboard()->setMimeData(new QMimeData);
  EXPECT_FALSE(paste->isEnabled());
  QGuiApplication::clipboard()->setText(
      "OutputType=5\r\nNumberOfSeries=2\r\na\tb\tc\td\r\n\t\t1\t2\r\n\t\t3\t4\r\n");
  ASSERT_TRUE(paste->isEnabled());
  const int before = graph.SeriesCount();
  paste->trigger();
  ASSERT_EQ(graph.SeriesCount(), before + 2);
  EXPECT_EQ(graph.GetSeries(before).Count(), 0);
  EXPECT_EQ(graph.GetSeries(before + 1).Count(), 2);
  EXPECT_EQ(graph.GetSeries(before + 1).Y[1], 4.0);
  EXPECT_EQ(graph.GetSeries(before + 1).Name, "c vs d");

  // Refused while running.
  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbOK});
  paste->trigger();
  ExperimentRunning = false;
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Cannot paste while running"});
  EXPECT_EQ(graph.SeriesCount(), before + 2);

  // Not the outputs' text: the wizard opens with its lines.
  for (const char* text : {"OutputType=6\r\nNumberOfSeries=1\r\nx\ty\r\n1\t2\r\n",
                           "NumberOfSeries=1\r\nOutputType=5\r\nx\ty\r\n1\t2\r\n",
                           "OutputType=5\r\nNumberOfSeries=0\r\nx\ty\r\n1\t2\r\n"}) {
    QGuiApplication::clipboard()->setText(text);
    int total = 0;
    TModalDialogActor<TImportForm> cancel([&](TImportForm& wizard) {
      total = Control<QLabel>(wizard, "TotalRowLabel")->text().toInt();
      wizard.reject();
    });
    paste->trigger();
    EXPECT_TRUE(cancel.Seen) << text;
    EXPECT_EQ(total, 4) << text;
  }
  EXPECT_EQ(graph.SeriesCount(), before + 2);

  // The wizard's data sets go in too, to at most 25 series.
  std::string wide;
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 48; ++c) wide += (c ? "\t" : "") + std::to_string(c + r);
    wide += "\r\n";
  }
  QGuiApplication::clipboard()->setText(QString::fromStdString(wide));
  TModalDialogActor<TImportForm> pairs([&](TImportForm& wizard) {
    QTest::mouseClick(Control<QPushButton>(wizard, "Next"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Delimit"), Qt::LeftButton);  // tab
    QTest::mouseClick(Control<QPushButton>(wizard, "Next"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Add"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Ok"), Qt::LeftButton);
  });
  Dialogs.ScriptAnswers({mbOK});
  paste->trigger();
  EXPECT_TRUE(pairs.Seen);
  EXPECT_FALSE(pairs.LeftOpen);
  EXPECT_EQ(graph.SeriesCount(), 25);
  // 24 pairs came; the graph had room for 23 - before.
  EXPECT_EQ(Dialogs.Texts().back(), "A graph holds at most 25 series: " +
                                        std::to_string(before + 1) + " series were left out.");
  EXPECT_EQ(graph.GetSeries(before + 2).Count(), 2);
  EXPECT_EQ(graph.GetSeries(before + 2).X[1], 1.0);
  EXPECT_EQ(graph.GetSeries(before + 2).Name, "Column 1 vs Column 2");
}

TEST_F(ImportDialogTest, ImportTextFileGoesThroughTheWizardOrIntoTheText) {
  TTempDir temp;
  {
    std::ofstream file(temp.PathOf("rows.txt"), std::ios::binary);
    file << "1\t10\n2\t20\n3\t30\n";
  }
  TTableForm table(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(table);
  window.show();
  auto* import = window.findChild<QAction*>("ImportTextFile");
  ASSERT_NE(import, nullptr);
  ASSERT_NE(window.findChild<QAction*>("ImportData"), nullptr);
  EXPECT_TRUE(window.findChild<QAction*>("ImportData")->isEnabled());
  auto* paste = window.findChild<QToolButton*>("PasteButton");
  QGuiApplication::clipboard()->setText("1");
  EXPECT_TRUE(paste->isEnabled());

  Dialogs.ScriptFiles({temp.PathOf("missing.txt"), temp.PathOf("rows.txt")});
  Dialogs.ScriptAnswers({mbOK});
  import->trigger();
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Error opening file"});
  TModalDialogActor<TImportForm> pairs([&](TImportForm& wizard) {
    QTest::mouseClick(Control<QPushButton>(wizard, "Next"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Delimit"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Next"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Add"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(wizard, "Ok"), Qt::LeftButton);
  });
  import->trigger();
  ASSERT_TRUE(pairs.Seen);
  EXPECT_EQ(Dialogs.FileChoices().back().Choice.Filter,
            "Text files (*.txt)|*.txt|All Files (*.*)|*.*");
  ASSERT_EQ(table.SeriesCount(), 1);
  EXPECT_EQ(table.GetSeries(0).Name, "Import Column 1 vs Column 2");
  EXPECT_EQ(table.GetSeries(0).Count(), 3);
  EXPECT_EQ(table.GetSeries(0).Y[2], 30.0);

  // The table's Paste button reads the outputs' text into data sets.
  QGuiApplication::clipboard()->setText("OutputType=4\nNumberOfSeries=1\nT\tV\n7\t8\n");
  ASSERT_TRUE(paste->isEnabled());
  QTest::mouseClick(paste, Qt::LeftButton);
  ASSERT_EQ(table.SeriesCount(), 2);
  EXPECT_EQ(table.GetSeries(1).Name, "Set 1");
  EXPECT_EQ(table.GetSeries(1).XName, "T");
  EXPECT_EQ(table.GetSeries(1).X[0], 7.0f);

  // The text window adds the file's text as it is, and pasted sets as text.
  TTextForm text(static_cast<TDeadOutputList*>(nullptr));
  TTextWindow textWindow(text);
  Dialogs.ScriptFiles({temp.PathOf("rows.txt")});
  textWindow.findChild<QAction*>("ImportTextFile")->trigger();
  EXPECT_EQ(text.GetLines(), (TTexts{"1\t10", "2\t20", "3\t30"}));
  textWindow.findChild<QAction*>("PasteButton")->trigger();
  EXPECT_EQ(text.GetLines(), (TTexts{"1\t10", "2\t20", "3\t30", "T\tV", "7\t8"}));
}

}  // namespace
