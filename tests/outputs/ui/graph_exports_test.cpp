// The graph window's exports: whole series and a band of X copied as clipboard text, the
// kinds of the copy dialog, the comma and tab files from the menu, the chart as PNG,
// SVG, PDF and on the clipboard, printing, and copy mode's refusal during a run.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "graph_window_fixture.h"
#include "model/experiment_running.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/copy_data_dialog.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/output_window_kinds.h"
#include "support/temp_dir.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class GraphExportsTest : public TGraphWindowFixture {
protected:
  GraphExportsTest() : TGraphWindowFixture("Sweep") {}
  // Runs the action with the copy dialog answered: the kind's radio button, then OK (or
  // Cancel); answers whether the dialog showed.
  bool CopyWith(const std::function<void()>& action, const char* radio = "OutputRadio",
                const char* button = "OK") {
    TModalDialogActor<TCopyDataForm> actor([&](TCopyDataForm& dialog) {
      Control<QRadioButton>(dialog, radio)->setChecked(true);
      ClickControl(dialog, button);
    });
    action();
    EXPECT_FALSE(actor.LeftOpen);
    return actor.Seen;
  }
  QAction* Item(const char* name) const { return Window->findChild<QAction*>(name); }
  QByteArray Bytes(const std::string& path) const {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QPoint PixelOf(double x) const {
    const TLineSeries* series = Window->Chart().GetSeries(0);
    return QPoint(static_cast<int>(std::lround(series->XValueToScreen(x))),
                  Window->Chart().PlotRect().center().y());
  }

  TTempDir Temp;
};

TEST_F(GraphExportsTest, TheTextCopyOfTheWholeSeriesIsForAnotherOutput) {
  ASSERT_NE(Window, nullptr);
  TGraphSeries& channel = Form->GetSeries(0);
  channel.XName = "X";
  channel.YName = "Y";
  channel.AddPoint(0, 1.5);
  channel.AddPoint(1, 2.5);
  channel.AddPoint(2, 3.5);
  Show();
  QApplication::clipboard()->clear();
  EXPECT_TRUE(CopyWith([&] { Item("TextClip")->trigger(); }));
  EXPECT_EQ(QApplication::clipboard()->text(),
            "OutputType=4\r\nNumberOfSeries=1\r\nX\tY\r\n0\t1.5\r\n1\t2.5\r\n2\t3.5\r\n");

  // Tab delimited: ranges of 3 and 5 rows.
  Import("c", "d", 5, 10, 20);
  EXPECT_TRUE(CopyWith([&] { Item("TextClip")->trigger(); }, "TabRadio"));
  const QStringList rows = QApplication::clipboard()->text().split("\r\n");
  ASSERT_GE(rows.size(), 6);
  EXPECT_EQ(rows[0], "X\tY\tc\td");
  EXPECT_EQ(rows[4], " \t \t13\t23");
  // Cancelled: the clipboard keeps what it had.
  QApplication::clipboard()->setText("kept");
  EXPECT_TRUE(CopyWith([&] { Item("TextClip")->trigger(); }, "OutputRadio", "Cancel"));
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  // Too much for the clipboard: refused, nothing put there.
  Import("e", "f", 4001, 0, 0);
  EXPECT_TRUE(CopyWith([&] { Item("TextClip")->trigger(); }));
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Too much data to put on the clipboard"});
}

TEST_F(GraphExportsTest, ABandDraggedInCopyModeCopiesTheRowsBetweenItsEdges) {
  Import("x", "y", 11, 0, 100);  // X 0..10
  Show();
  QWidget* plot = Window->Chart().PlotWidget();
  QApplication::clipboard()->clear();
  Item("CopyButton")->trigger();
  EXPECT_TRUE(Window->InCopyMode());
  EXPECT_FALSE(Item("ZoomInButton")->isEnabled());
  QTest::mousePress(plot, Qt::LeftButton, {}, PixelOf(6.6));
  QTest::mouseMove(plot, PixelOf(4));
  QWidget* band = plot->findChild<QWidget*>("BandRight");
  ASSERT_NE(band, nullptr);
  EXPECT_TRUE(band->isVisible());
  EXPECT_EQ(band->width(), 5);
  QTest::mouseMove(plot, PixelOf(3.4));
  EXPECT_TRUE(CopyWith([&] { QTest::mouseRelease(plot, Qt::LeftButton, {}, PixelOf(3.4)); }));
  // Rows of X 4, 5 and 6, for another output; copy mode ends with the band.
  EXPECT_EQ(QApplication::clipboard()->text(),
            "OutputType=4\r\nNumberOfSeries=1\r\nx\ty\r\n4\t104\r\n5\t105\r\n6\t106\r\n");
  EXPECT_FALSE(Window->InCopyMode());
  EXPECT_FALSE(band->isVisible());
  EXPECT_TRUE(Item("ZoomInButton")->isEnabled());
  EXPECT_TRUE(Item("CursorButton")->isChecked());

  // A band around one point copies that one row.
  Item("CopyButton")->trigger();
  QTest::mousePress(plot, Qt::LeftButton, {}, PixelOf(7.8));
  QTest::mouseMove(plot, PixelOf(8.2));
  EXPECT_TRUE(CopyWith([&] { QTest::mouseRelease(plot, Qt::LeftButton, {}, PixelOf(8.2)); }));
  EXPECT_EQ(QApplication::clipboard()->text(),
            "OutputType=4\r\nNumberOfSeries=1\r\nx\ty\r\n8\t108\r\n");

  // A click without a drag copies nothing; the cursor button ends copy mode.
  QApplication::clipboard()->setText("kept");
  Item("CopyButton")->trigger();
  QTest::mouseClick(plot, Qt::LeftButton, {}, PixelOf(5));
  EXPECT_EQ(QApplication::clipboard()->text(), "kept");
  EXPECT_TRUE(Window->InCopyMode());
  Item("CursorButton")->trigger();
  EXPECT_FALSE(Window->InCopyMode());

  // During a run copy mode is refused.
  ExperimentRunning = true;
  Item("CopyButton")->trigger();
  ExperimentRunning = false;
  EXPECT_FALSE(Window->InCopyMode());
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"Cannot copy while running"});
}

TEST_F(GraphExportsTest, TheTextFilesComeFromTheSaveAsTypeItems) {
  Form->GetSeries(0).AddPoint(1, 2);
  Import("x", "y", 2, 5, 6);
  const std::string comma = Temp.PathOf("c.txt"), tab = Temp.PathOf("t.txt");
  Ui.ScriptFiles({comma, tab});
  Item("CommaDelimited")->trigger();
  Item("TabDelimited")->trigger();
  EXPECT_EQ(Bytes(comma), "1,2,5,6\r\n , ,6,7\r\n");
  EXPECT_EQ(Bytes(tab), "1\t2\t5\t6\r\n\t \t6\t7\r\n");
  EXPECT_TRUE(Ui.Texts().empty());
}

TEST_F(GraphExportsTest, TheChartIsSavedAsAPictureOfTheKindItsSuffixNames) {
  Import("x", "y", 20, 0, 0);
  Show();
  const std::string png = Temp.PathOf("chart.png"), svg = Temp.PathOf("chart.svg"),
                    bare = Temp.PathOf("bare"), pdf = Temp.PathOf("chart.pdf");
  // A name that holds ".png" but ends otherwise, and one without a suffix under "All".
  Dialogs.ScriptFiles({png, svg, bare, pdf, Temp.PathOf("chart.png.txt"), Temp.PathOf("none"), ""});
  Dialogs.ScriptFilterIndexes({1, 6, 2, 5, 2, 1, 1});
  for (int i = 0; i < 7; ++i) Item("Graphic")->trigger();
  EXPECT_TRUE(Bytes(png).startsWith("\x89PNG\r\n"));
  EXPECT_TRUE(Bytes(svg).contains("<svg"));
  EXPECT_TRUE(Bytes(bare + ".png").startsWith("\x89PNG")) << "the PNG filter's extension";
  EXPECT_TRUE(Bytes(pdf).startsWith("%PDF"));
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Invalid Extention", "Invalid Extention"}));
  EXPECT_EQ(Temp.Entries(), 4u);
  ASSERT_FALSE(Dialogs.FileChoices().empty());
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.FileName, "Sweep");
  EXPECT_EQ(Dialogs.FileChoices()[0].Choice.Filter, TGraphWindow::PictureFilter);

  // The clipboard: a bitmap, then SVG in place of a metafile.
  Item("BitmapClip")->trigger();
  EXPECT_FALSE(QApplication::clipboard()->image().isNull());
  Item("SvgClip")->trigger();
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->data("image/svg+xml").contains("<svg"));

  // Printing: to the printer chosen, nothing when the dialog is cancelled.
  const std::string printed = Temp.PathOf("printed.pdf");
  Dialogs.ScriptPrints({printed, ""});
  Item("Print")->trigger();
  Item("PrintButton")->trigger();
  EXPECT_TRUE(Bytes(printed).startsWith("%PDF"));
  EXPECT_EQ(Dialogs.PrintCalls(), 2);
}

}  // namespace
