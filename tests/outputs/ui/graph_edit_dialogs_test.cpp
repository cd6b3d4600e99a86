// The graph's editing dialogs: "Graph Titles" (titles, alignment, angles, fonts),
// "Set Graph Attributes" (ranges, increments, log scales and every refusal) and "Plot
// Attributes" (line, markers, colours, titles and deletion), alone and through the graph
// window that fills them and applies their result.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <qcustomplot.h>

#include <string>
#include <vector>

#include "graph_window_fixture.h"
#include "model/experiment_running.h"
#include "outputs/graph_form.h"
#include "outputs/ui/chart.h"
#include "outputs/ui/graph_attributes_dialog.h"
#include "outputs/ui/graph_titles_dialog.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/output_window_kinds.h"
#include "outputs/ui/plot_attributes_dialog.h"
#include "support/fake_ui_port.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"

namespace {

class GraphEditDialogsTest : public TGraphWindowFixture {
protected:
  GraphEditDialogsTest() : TGraphWindowFixture("Cooling") {}
};

TEST(GraphTitlesDialog, AnglesGoByQuartersAndFontsByTheFontDialog) {
  TScriptedUserDialogs dialogs;
  TGraphTitlesForm form;
  EXPECT_EQ(form.windowTitle(), "Graph Titles");
  EXPECT_EQ(form.property("helpContext").toInt(), 42);
  EXPECT_EQ(Control<QRadioButton>(form, "Centered")->text(), "Centered");
  form.YAngle = 90;
  form.XAngle = 0;
  form.XTitle = "Time";
  form.show();
  EXPECT_TRUE(Control<QRadioButton>(form, "YAngle90")->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(form, "XAngle0")->isChecked());
  EXPECT_EQ(Control<QLineEdit>(form, "XAxisEdit")->text(), "Time");
  Control<QRadioButton>(form, "YAngle270")->setChecked(true);
  Control<QRadioButton>(form, "XAngle180")->setChecked(true);
  Control<QRadioButton>(form, "LeftJustified")->setChecked(true);

  QFont chosen("Serif", 17);
  dialogs.ScriptFonts({chosen, std::nullopt});
  ClickControl(form, "TitleFontButton");
  EXPECT_EQ(form.TitleFont(), chosen);
  EXPECT_EQ(Control<QLabel>(form, "TitleFontLabel")->text(), chosen.family());
  ClickControl(form, "XAxisFontButton");  // cancelled: unchanged
  EXPECT_EQ(form.XAxisFont(), QFont());
  ClickControl(form, "OK");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.YAngle, 270);
  EXPECT_EQ(form.XAngle, 180);
  EXPECT_EQ(form.Alignment, 0);
}

TEST_F(GraphEditDialogsTest, TitlesChangedInTheDialogReachTheChartAndTheWindowsName) {
  Show();
  const QFont axisFont("Sans", 13);
  Dialogs.ScriptFonts({axisFont});
  {
    TModalDialogActor<TGraphTitlesForm> actor([](TGraphTitlesForm& dialog) {
      Control<QPlainTextEdit>(dialog, "GraphTitleMemo")->setPlainText("Nitrogen\nRun 2");
      Control<QLineEdit>(dialog, "XAxisEdit")->setText("Time (s)");
      Control<QLineEdit>(dialog, "YAxisEdit")->setText("Temperature (K)");
      Control<QRadioButton>(dialog, "RightJustified")->setChecked(true);
      ClickControl(dialog, "YAxisFontButton");
      ClickControl(dialog, "OK");
    });
    Window->findChild<QAction*>("GraphTitles")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(Form->Chart().Title, (std::vector<std::string>{"Nitrogen", "Run 2"}));
  EXPECT_EQ(Form->Chart().BottomAxisTitle, "Time (s)");
  EXPECT_EQ(Form->Chart().LeftAxisTitle, "Temperature (K)");
  EXPECT_EQ(Window->Chart().Title(), (QStringList{"Nitrogen", "Run 2"}));
  EXPECT_EQ(Window->Chart().LeftAxis().TitleCaption(), "Temperature (K)");
  EXPECT_EQ(Window->Chart().LeftAxis().TitleFont(), axisFont);
  EXPECT_EQ(Window->Chart().TitleAlignment(), Qt::AlignRight);
  EXPECT_EQ(Form->GetName(), "Nitrogen");
  EXPECT_EQ(Out->GetName(), "Nitrogen");
  ASSERT_FALSE(Ui.ExperimentChanges().empty());
  EXPECT_EQ(Ui.ExperimentChanges().back(), std::make_pair(1, 0));

  // Cancel changes nothing; the dialog shows what the chart has.
  TModalDialogActor<TGraphTitlesForm> actor([](TGraphTitlesForm& dialog) {
    EXPECT_EQ(Control<QLineEdit>(dialog, "XAxisEdit")->text(), "Time (s)");
    EXPECT_TRUE(Control<QRadioButton>(dialog, "RightJustified")->isChecked());
    Control<QLineEdit>(dialog, "XAxisEdit")->setText("Other");
    ClickControl(dialog, "Cancel");
  });
  Window->findChild<QAction*>("EditLabels")->trigger();
  EXPECT_EQ(Form->Chart().BottomAxisTitle, "Time (s)");
}

TEST(GraphAttributesDialog, EveryRefusalKeepsTheDialogOpenOnItsField) {
  TScriptedUserDialogs dialogs;
  TGraphAttributesForm form;
  EXPECT_EQ(form.windowTitle(), "Set Graph Attributes");
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_FALSE(Control<QLineEdit>(form, "XLowRange")->isVisible()) << "automatic at start";
  auto* xLow = Control<QLineEdit>(form, "XLowRange");
  auto* xHigh = Control<QLineEdit>(form, "XHighRange");
  auto* yLow = Control<QLineEdit>(form, "YLowRange");
  auto* xInc = Control<QLineEdit>(form, "IncrementX");
  ClickControl(form, "AutoMinimumX");
  EXPECT_TRUE(xLow->isVisible()) << "an unchecked box shows its edit";
  struct TCase {
    std::function<void()> Set;
    const char* Message;
    QLineEdit* Focus;
  };
  const TCase cases[] = {
      {[] {}, "You must enter a lower x value", xLow},
      {[&] { xLow->setText("abc"); }, "The value abc is not a valid float value", xLow},
      {[&] { xLow->setText("5"); ClickControl(form, "AutoMaximumX"); },
       "You must enter a high x value", xHigh},
      {[&] { xHigh->setText("5"); }, "The low value cannot be greater than or equal to the high value", xLow},
      {[&] { xHigh->setText("4"); }, "The low value cannot be greater than or equal to the high value", xLow},
      {[&] { xHigh->setText("50"); ClickControl(form, "AutoMinimumY"); },
       "You must enter a lower y value", yLow},
      {[&] { yLow->setText("1"); ClickControl(form, "AutoIncrementX"); },
       "The value  is not a valid float value", xInc},
      {[&] { xInc->setText("0"); }, "The value 0 is not a valid float value", xInc},
      {[&] { xInc->setText("-2"); }, "The value -2 is not a valid float value", xInc},
      {[&] { xInc->setText("2.5"); xLow->setText("0"); ClickControl(form, "LogScaleX"); },
       "Cannot use log scale, x axis minimum is less than or equal to zero", xLow},
      {[&] { xLow->setText("0.1"); yLow->setText("-3"); ClickControl(form, "LogScaleY"); },
       "Cannot use log scale, y axis minimum is less than or equal to zero", yLow},
  };
  for (const TCase& c : cases) {
    c.Set();
    dialogs.ClearCalls();
    dialogs.ScriptAnswers({mbOK});
    ClickControl(form, "OK");
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.Message});
    EXPECT_TRUE(form.isVisible()) << c.Message;
    EXPECT_TRUE(FocusedInWindow(c.Focus)) << c.Message;
  }
  yLow->setText("2");
  ClickControl(form, "OK");
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(form.XLow, 0.1f);
  EXPECT_FLOAT_EQ(form.XHigh, 50);
  EXPECT_FLOAT_EQ(form.YLow, 2);
  EXPECT_FLOAT_EQ(form.XIncrement, 2.5f);
  EXPECT_FLOAT_EQ(form.YIncrement, 0);
}

TEST_F(GraphEditDialogsTest, AxesChangedInTheDialogReachTheChartAndRefuseLogScaleOverZero) {
  Import("x", "y", 11, 0, 1);  // X 0..10, Y 1..11
  Show();
  {
    TModalDialogActor<TGraphAttributesForm> actor([](TGraphAttributesForm& dialog) {
      EXPECT_TRUE(Control<QCheckBox>(dialog, "AutoMinimumX")->isChecked());
      ClickControl(dialog, "AutoMinimumX");
      ClickControl(dialog, "AutoMaximumX");
      Control<QLineEdit>(dialog, "XLowRange")->setText("2");
      Control<QLineEdit>(dialog, "XHighRange")->setText("8");
      ClickControl(dialog, "AutoIncrementX");
      Control<QLineEdit>(dialog, "IncrementX")->setText("0.5");
      ClickControl(dialog, "LogScaleY");
      ClickControl(dialog, "OK");
    });
    Window->findChild<QAction*>("GraphAttributes")->trigger();
    EXPECT_FALSE(actor.LeftOpen);
  }
  Window->RefreshNow();
  TChart& chart = Window->Chart();
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Minimum(), 2);
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Maximum(), 8);
  EXPECT_DOUBLE_EQ(chart.BottomAxis().Increment(), 0.5);
  EXPECT_TRUE(chart.LeftAxis().Logarithmic()) << "the Y values are all above zero";
  EXPECT_FALSE(Form->BottomAxis().Automatic);
  EXPECT_DOUBLE_EQ(Form->BottomAxis().Minimum, 2);
  EXPECT_DOUBLE_EQ(Form->BottomAxis().Maximum, 8);
  EXPECT_TRUE(Ui.Texts().empty());
  ASSERT_FALSE(Ui.ExperimentChanges().empty());

  // The dialog shows the axis as set; an automatic X minimum over X = 0 refuses log.
  {
    TModalDialogActor<TGraphAttributesForm> actor([](TGraphAttributesForm& dialog) {
      EXPECT_FALSE(Control<QCheckBox>(dialog, "AutoMinimumX")->isChecked());
      EXPECT_EQ(Control<QLineEdit>(dialog, "XLowRange")->text(), "2");
      EXPECT_EQ(Control<QLineEdit>(dialog, "IncrementX")->text(), "0.5");
      EXPECT_TRUE(Control<QCheckBox>(dialog, "LogScaleY")->isChecked());
      ClickControl(dialog, "AutoMinimumX");
      ClickControl(dialog, "AutoMaximumX");
      ClickControl(dialog, "LogScaleX");
      ClickControl(dialog, "OK");
    });
    Window->findChild<QAction*>("EditRange")->trigger();
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(Ui.Texts(), std::vector<std::string>{"X Axis values cannot be less than zero to use the log scale"});
  EXPECT_FALSE(chart.BottomAxis().Logarithmic());
  EXPECT_TRUE(chart.LeftAxis().Logarithmic());
  EXPECT_TRUE(Form->BottomAxis().Automatic);
}

TEST_F(GraphEditDialogsTest, DuringARunActiveScrollingGoesOffOnlyWhenTheUserAgrees) {
  Import("x", "y", 3, 1, 1);
  Show();
  TXAxisScroll* scroll = Form->GetXAxisScroll();
  ASSERT_NE(scroll, nullptr);
  scroll->Follow(0, 10);
  ASSERT_TRUE(scroll->Active);
  Ui.Clear();
  ExperimentRunning = true;
  Dialogs.ScriptAnswers({mbNo, mbYes});
  Window->GraphAttributesClick();  // No: no dialog, scrolling stays on
  EXPECT_TRUE(scroll->Active);
  {
    TModalDialogActor<TGraphAttributesForm> actor(
        [](TGraphAttributesForm& dialog) { ClickControl(dialog, "Cancel"); });
    Window->GraphAttributesClick();
    EXPECT_TRUE(actor.Seen);
  }
  ExperimentRunning = false;
  EXPECT_FALSE(scroll->Active);
  ASSERT_EQ(Dialogs.Boxes().size(), 2u);
  EXPECT_EQ(Dialogs.Texts()[0], "Scrolling must be turned off to view this while running an "
                                "experiment. Do you wish to continue?");
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Caption, "Graph Message");
  EXPECT_TRUE(Ui.ExperimentChanges().empty()) << "Cancel changes nothing";
}

TEST(GraphWindowDialogs, ADetachedGraphWithOneEmptySeriesHasNoPlotsToEdit) {
  TScriptedUserDialogs dialogs;
  TFakeUiPort ui;
  TGraphForm form{static_cast<TDeadOutputList*>(nullptr)};
  ASSERT_EQ(form.SeriesCount(), 1);
  TGraphWindow window(form);
  window.PlotAttributesClick();
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"No plots to edit"});
}

TEST_F(GraphEditDialogsTest, AnIncrementGivingMoreThan500TicksFallsBackToAutomaticTicks) {
  Show();
  TChart& chart = Window->Chart();
  chart.BottomAxis().SetAutomatic(false);
  chart.BottomAxis().SetMinMax(0, 1000);
  chart.BottomAxis().SetIncrement(2);  // 501 ticks
  chart.RepaintNow();
  EXPECT_EQ(chart.BottomAxis().Axis()->tickVector().size(), 501);
  chart.BottomAxis().SetIncrement(1.9);  // 527 ticks: the chart's own choice instead
  chart.RepaintNow();
  EXPECT_LT(chart.BottomAxis().Axis()->tickVector().size(), 20);
  EXPECT_GT(chart.BottomAxis().Axis()->tickVector().size(), 2);
}

TEST_F(GraphEditDialogsTest, PlotAttributesChangeTheSeriesMarkersLineAndTitle) {
  Form->GetSeries(0).AddPoint(0, 0);
  Import("x", "y", 3, 0, 1);
  Show();
  const std::int32_t channelColor = Form->GetSeries(0).Color;
  Ui.Clear();
  const QColor lineColor(10, 200, 30);
  Dialogs.ScriptColors({lineColor});
  Dialogs.ScriptAnswers({mbOK});
  Window->PrepareSeriesPopup(1);
  {
    TModalDialogActor<TPlotAttributesForm> actor([&](TPlotAttributesForm& dialog) {
      auto* combo = Control<QComboBox>(dialog, "PlotComboBox");
      EXPECT_EQ(combo->count(), 2);
      EXPECT_EQ(combo->currentIndex(), 1) << "the series right-clicked";
      EXPECT_EQ(Control<QLineEdit>(dialog, "PlotEdit")->text(), "x vs y");
      EXPECT_TRUE(Control<QPushButton>(dialog, "DeleteButton")->isEnabled());
      ClickControl(dialog, "PointVisible");
      EXPECT_TRUE(Control<QComboBox>(dialog, "PointStyle")->isEnabled());
      Control<QComboBox>(dialog, "PointStyle")->setCurrentIndex(psCircle);
      auto* width = Control<QLineEdit>(dialog, "PointWidthEdit");
      width->setText("abc");
      emit width->editingFinished();
      EXPECT_EQ(width->text(), "1");
      Control<QSpinBox>(dialog, "PointHeightUpDown")->setValue(7);
      EXPECT_EQ(Control<QLineEdit>(dialog, "PointHeightEdit")->text(), "7");
      auto* lineWidth = Control<QLineEdit>(dialog, "LineWidthEdit");
      lineWidth->setText("2");
      emit lineWidth->editingFinished();
      EXPECT_FALSE(Control<QComboBox>(dialog, "LineStyle")->isEnabled());
      ClickControl(dialog, "LineColorButton");
      EXPECT_EQ(dialog.LineColor(), lineColor);
      Control<QLineEdit>(dialog, "PlotEdit")->clear();
      ClickControl(dialog, "Apply");
      EXPECT_TRUE(dialog.isVisible());
      Control<QLineEdit>(dialog, "PlotEdit")->setText("Cooled");
      ClickControl(dialog, "OK");
    });
    Window->findChild<QAction*>("EditSeries")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"You must give the series a title"});
  const TGraphSeries& series = Form->GetSeries(1);
  EXPECT_TRUE(series.PointerVisible);
  EXPECT_EQ(series.PointerStyle, psCircle);
  EXPECT_EQ(series.PointerWidth, 1);
  EXPECT_EQ(series.PointerHeight, 7);
  EXPECT_EQ(series.LineWidth, 2);
  EXPECT_EQ(series.Color, ColorValueOf(lineColor));
  EXPECT_EQ(series.Name, "Cooled");
  EXPECT_EQ(Form->GetSeries(0).Color, channelColor) << "the other series is untouched";
  EXPECT_EQ(Window->Chart().GetSeries(1)->Title(), "Cooled");
  EXPECT_EQ(Window->Chart().GetSeries(1)->Pointer().Style, psCircle);
  EXPECT_EQ(Window->Chart().GetSeries(1)->SeriesColor(), lineColor);
  ASSERT_FALSE(Ui.ExperimentChanges().empty()) << "the settings are saved with the experiment";
  EXPECT_EQ(Ui.ExperimentChanges().back(), std::make_pair(1, 0));

  // From the menu: the first series, a channel, which cannot be deleted.
  TModalDialogActor<TPlotAttributesForm> actor([](TPlotAttributesForm& dialog) {
    EXPECT_EQ(Control<QComboBox>(dialog, "PlotComboBox")->currentIndex(), 0);
    EXPECT_FALSE(Control<QPushButton>(dialog, "DeleteButton")->isEnabled());
    EXPECT_TRUE(Control<QComboBox>(dialog, "LineStyle")->isEnabled()) << "width 1";
    ClickControl(dialog, "Cancel");
  });
  Window->findChild<QAction*>("PlotAttributes")->trigger();
  EXPECT_TRUE(actor.Seen);
}

TEST(PlotAttributesDialog, ASizeEditBecomesAWholeNumberAsItIsTyped) {
  TScriptedUserDialogs dialogs;
  TGraphForm form{static_cast<TDeadOutputList*>(nullptr)};
  ASSERT_GE(form.SeriesCount(), 1);
  TPlotAttributesForm dialog;
  dialog.AddSeries("Series1", 0);
  TModalDialogActor<TPlotAttributesForm> actor([&](TPlotAttributesForm& shown) {
    ClickControl(shown, "PointVisible");
    // Typed over the selected text, key by key, with the focus still in the edit.
    auto type = [&](const char* name, const QString& keys) {
      auto* edit = Control<QLineEdit>(shown, name);
      edit->setFocus();
      edit->selectAll();
      QTest::keyClicks(edit, keys);
      EXPECT_TRUE(FocusedInWindow(edit)) << name;
      return edit->text();
    };
    EXPECT_EQ(type("PointWidthEdit", "abc"), "1");
    EXPECT_EQ(Control<QSpinBox>(shown, "PointWidthUpDown")->value(), 1);
    EXPECT_EQ(type("PointHeightEdit", "12"), "12");
    EXPECT_EQ(Control<QSpinBox>(shown, "PointHeightUpDown")->value(), 12);
    EXPECT_EQ(type("PointHeightEdit", "x"), "1");
    // The line width decides at once whether a line style can be chosen.
    EXPECT_EQ(type("LineWidthEdit", "3"), "3");
    EXPECT_FALSE(Control<QComboBox>(shown, "LineStyle")->isEnabled());
    EXPECT_EQ(type("LineWidthEdit", "-"), "1");
    EXPECT_TRUE(Control<QComboBox>(shown, "LineStyle")->isEnabled());
    EXPECT_EQ(type("LineWidthEdit", "4"), "4");
    ClickControl(shown, "OK");
  });
  EXPECT_EQ(dialog.ShowFor(form, 0, 0), QDialog::Accepted);
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(form.GetSeries(0).PointerWidth, 1);
  EXPECT_EQ(form.GetSeries(0).PointerHeight, 1);
  EXPECT_EQ(form.GetSeries(0).LineWidth, 4);
}

TEST(PlotAttributesDialog, DeletingTheLastSeriesClosesTheDialogAsCancel) {
  TScriptedUserDialogs dialogs;
  TGraphForm form{static_cast<TDeadOutputList*>(nullptr)};
  while (form.SeriesCount() > 0) form.DeleteSeries(0);
  TTransferData data;
  for (const char* name : {"a", "b"}) {
    TTransferSeries* series = data.AddSeries(name, 1);
    series->XName = name;
    series->YName = "y";
    series->SetPoint(0, 1, 2);
  }
  form.ImportData(&data);
  ASSERT_EQ(form.SeriesCount(), 2);
  TPlotAttributesForm dialog;
  dialog.AddSeries("a vs y", 0);
  dialog.AddSeries("b vs y", 1);
  dialogs.ScriptAnswers({mbNo, mbYes, mbYes});
  TModalDialogActor<TPlotAttributesForm> actor([&](TPlotAttributesForm& shown) {
    auto* combo = Control<QComboBox>(shown, "PlotComboBox");
    ClickControl(shown, "DeleteButton");  // answered No
    EXPECT_EQ(form.SeriesCount(), 2);
    ClickControl(shown, "DeleteButton");
    EXPECT_EQ(form.SeriesCount(), 1);
    EXPECT_EQ(form.GetSeries(0).Name, "a vs y") << "the series shown went";
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(Control<QLineEdit>(shown, "PlotEdit")->text(), "a vs y");
    ClickControl(shown, "DeleteButton");
    EXPECT_FALSE(shown.isVisible());
  });
  EXPECT_EQ(dialog.ShowFor(form, 1, 0), QDialog::Rejected);
  EXPECT_FALSE(actor.LeftOpen);
  EXPECT_EQ(form.SeriesCount(), 0);
  ASSERT_EQ(dialogs.Texts().size(), 3u);
  EXPECT_EQ(dialogs.Texts()[0], "You are about to delete series b vs y. Do you really want to do this");
  EXPECT_EQ(dialogs.Boxes()[0].Box.Caption, "Qorv Warning");
  // With nothing to list the dialog is not shown.
  dialogs.ScriptAnswers({mbOK});
  EXPECT_EQ(dialog.ShowFor(form, -1, 0), QDialog::Rejected);
  EXPECT_EQ(dialogs.Texts().back(), "No attributes to change");
}

}  // namespace
