// The table window: Plot commands fill its grid (every row, column pairs per data set,
// rows labelled from 1), the newest row followed while "Auto Scroll" is on; a user's
// scroll during a run switches it off, checking it follows again, the end of a run stops
// it; number formats, headers, hidden columns, the column menu, the Clear and delete
// questions; a grid of 100,000 rows costs only what it shows.
#include "outputs/ui/table_window.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "model/experiment_running.h"
#include "model/number_text.h"
#include "outputs/ui/output_window_kinds.h"
#include "outputs/ui/table_model.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/label_script.h"
#include "scripts/outputs/plot_fixture.h"
#include "shell/ui/qt_ui_port.h"
#include "support/ui/scripted_user_dialogs.h"

// Texts in failure messages as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace std::chrono_literals;

class TableWindowTest : public TPlotFixture {
protected:
  TableWindowTest() { InstallOutputWindows(); }

  void TearDown() override {
    // The windows go before the experiment takes their forms along.
    for (QPointer<TTableWindow>& window : Windows) delete window.data();
    TPlotFixture::TearDown();
  }

  // A table output of the channels, its window shown.
  TTableWindow* ShownTable(int channels = 3) {
    T = Output("Readings", otTABLE, channels);
    Window = dynamic_cast<TTableWindow*>(Table(T).GetView());
    EXPECT_NE(Window, nullptr);
    Windows.emplace_back(Window);
    Window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(Window));
    return Window;
  }

  // The loop of B1: i counts 1, 2, ...; j = i / 2. Channel 0 plots (i, j), channel 1
  // (counter, i), channel 2 (j, i), as far as the output has them. It never ends by
  // itself: a run of it goes on until Stop, however fast the build.
  void PlotLoop() {
    TDataSingle* i = Single(B1, "i", eatINTEGER, "0");
    TDataSingle* j = Single(B1, "j", eatFLOAT, "0");
    TLabelScript* loop = Label("L");
    Increment(i);
    Increment(j, "0.5");
    PlotXY(T, j, i, 0);
    if (T->NumberOfChannels > 1) Plot(T, i, true, 1);
    if (T->NumberOfChannels > 2) PlotXY(T, i, j, 2);
    Until(loop, i, "0", LT);
  }
  // Walks the loop on this thread until every channel holds the rows (the first call
  // prepares the run, which clears the table).
  void PlotUntil(int rows) {
    if (!Next) {
      Prepare(B1);
      Next = B1->GetFirstScript();
    }
    while (Next && Form().GetSeries(T->NumberOfChannels - 1).Count() < rows) Next = Next->Execute();
  }

  TTableForm& Form() { return Table(T); }
  QTableView* Grid() { return Window->Grid(); }
  TTableModel* Model() { return Window->Model(); }
  QString Cell(int row, int column) { return Model()->index(row, column).data().toString(); }
  QStringList Headers() {
    QStringList headers;
    for (int c = 0; c < Model()->columnCount(); ++c)
      headers << Model()->headerData(c, Qt::Horizontal).toString();
    return headers;
  }
  QToolButton* Button(const char* name) { return Window->findChild<QToolButton*>(name); }
  QAction* Item(const char* name) { return Window->findChild<QAction*>(name); }
  // The last row of the grid lies wholly in its viewport.
  bool NewestRowInView() {
    QCoreApplication::processEvents();
    const int last = Model()->rowCount() - 1;
    if (last < 0) return false;
    const QRect row = Grid()->visualRect(Model()->index(last, 0));
    return row.isValid() && Grid()->viewport()->rect().contains(row);
  }
  // Lets the follow timer's steps fall due: every timer due before the last step's time
  // has fired when this returns, as timers fire in the order they fall due.
  void PassFollowSteps(int steps) {
    QTimer last;
    last.setSingleShot(true);
    last.start(steps * TTableWindow::FollowIntervalMs);
    ASSERT_TRUE(QTest::qWaitFor([&last] { return !last.isActive(); }, 60000));
  }
  bool AtBottom() {
    const QScrollBar* bar = Grid()->verticalScrollBar();
    return bar->maximum() > 0 && bar->value() == bar->maximum();
  }
  // What the user sees of "Auto Scroll": the check, the Scroll button's image and hint.
  void ExpectAutoScrollShown(bool on) {
    EXPECT_EQ(Item("AutoScroll")->isChecked(), on);
    EXPECT_EQ(Window->ScrollImage(), on ? 3 : 2);
    EXPECT_EQ(Button("ScrollButton")->toolTip().toStdString(),
              on ? "Disable Active Scrolling" : "Enable Active Scrolling");
    EXPECT_EQ(Form().IsAutoScrollChecked(), on);
  }

  TScriptedUserDialogs Dialogs;
  TOutput* T = nullptr;
  TTableWindow* Window = nullptr;
  std::vector<QPointer<TTableWindow>> Windows;
  TScript* Next = nullptr;
};

TEST_F(TableWindowTest, PlotsFillEveryChannelsColumnsAndTheNewestRowIsFollowed) {
  ShownTable(3);
  QAbstractItemModelTester tester(Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  PlotLoop();
  ExperimentRunning = true;
  QSignalSpy inserted(Model(), &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(Model(), &QAbstractItemModel::modelReset);
  PlotUntil(500);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 500; }, 10000));

  EXPECT_EQ(Headers(), (QStringList{"X S1", "Y S1", "X S2", "Y S2", "X S3", "Y S3"}));
  EXPECT_EQ(Model()->headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(), "Series2");
  // Row 0 holds the first points, row 499 the last: i = 500, j = 250, counter 499.
  EXPECT_EQ((QStringList{Cell(0, 0), Cell(0, 1), Cell(0, 2), Cell(0, 3), Cell(0, 4), Cell(0, 5)}),
            (QStringList{"1", "0.5", "0", "1", "0.5", "1"}));
  EXPECT_EQ((QStringList{Cell(499, 0), Cell(499, 1), Cell(499, 2), Cell(499, 3)}),
            (QStringList{"500", "250", "499", "500"}));
  EXPECT_EQ(Model()->headerData(0, Qt::Vertical).toString(), "1");
  EXPECT_EQ(Model()->headerData(499, Qt::Vertical).toString(), "500");
  EXPECT_EQ(Model()->index(7, 1).data(Qt::TextAlignmentRole).toInt(),
            int(Qt::AlignRight | Qt::AlignVCenter));
  // Growth is announced as rows inserted, never as a reset of what is shown.
  EXPECT_GE(inserted.count(), 1);
  EXPECT_EQ(reset.count(), 0);

  // The timer brings the newest row into view, again as rows keep coming.
  EXPECT_TRUE(Window->IsFollowing());
  EXPECT_TRUE(QTest::qWaitFor([&] { return NewestRowInView(); }, 10000));
  PlotUntil(900);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 900 && NewestRowInView(); }, 10000));
  ExpectAutoScrollShown(true);
}

TEST_F(TableWindowTest, AUserScrollDuringARunStopsFollowingUntilAutoScrollIsCheckedAgain) {
  ShownTable(3);
  PlotLoop();
  ExperimentRunning = true;
  PlotUntil(5);
  Window->RefreshNow();
  // A cell the user chose at the start, out of view once the grid follows.
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                    Grid()->visualRect(Model()->index(0, 1)).center());
  EXPECT_EQ(Grid()->currentIndex(), Model()->index(0, 1));
  PlotUntil(400);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 400 && NewestRowInView(); }, 10000));
  ExpectAutoScrollShown(true);

  // The user pages up from the rows shown: auto scroll goes off, and shows it.
  const int bottom = Grid()->verticalScrollBar()->value();
  QTest::keyClick(Grid(), Qt::Key_PageUp);
  EXPECT_LT(Grid()->verticalScrollBar()->value(), bottom);
  EXPECT_GT(Grid()->verticalScrollBar()->value(), 0);
  EXPECT_EQ(Grid()->currentIndex().column(), 1);
  ExpectAutoScrollShown(false);
  QTest::keyClick(Grid(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(Grid()->verticalScrollBar()->value(), 0);
  ExpectAutoScrollShown(false);
  EXPECT_FALSE(Form().GetAutoScroll());
  EXPECT_FALSE(Window->IsFollowing());
  PlotUntil(700);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 700; }));
  PassFollowSteps(2);
  EXPECT_EQ(Grid()->verticalScrollBar()->value(), 0);  // left where the user put it

  // The Scroll button checks it again: the newest row at once, and after it the next.
  QTest::mouseClick(Button("ScrollButton"), Qt::LeftButton);
  ExpectAutoScrollShown(true);
  EXPECT_TRUE(NewestRowInView());
  PlotUntil(1000);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 1000 && NewestRowInView(); }, 10000));

  // The scroll bar moved by the user switches it off as well; the menu item checks it.
  Grid()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  ExpectAutoScrollShown(false);
  Item("AutoScroll")->trigger();
  ExpectAutoScrollShown(true);
  EXPECT_TRUE(NewestRowInView());

  // The end of the run stops following; the check stays for the next run, which follows
  // again from its start.
  ExperimentRunning = false;
  Exp.GetOutputList()->EndRun();
  EXPECT_FALSE(Form().GetAutoScroll());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Window->IsFollowing(); }));
  ExpectAutoScrollShown(true);
  Grid()->scrollToTop();  // no run: a scroll is no reason to switch anything off
  ExpectAutoScrollShown(true);
  Next = nullptr;
  ExperimentRunning = true;
  PlotUntil(300);
  EXPECT_TRUE(Form().GetAutoScroll());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 300 && NewestRowInView(); }, 10000));
}

TEST_F(TableWindowTest, AnIdleTableLeavesTheUsersScrollAlone) {
  ShownTable(1);
  TTransferData imported;
  TTransferSeries* series = imported.AddSeries("Imported", 300);
  for (int i = 0; i < 300; ++i) series->SetPoint(i, float(i), float(i));
  Form().ImportData(&imported);
  // New rows outside a run are followed once; then the user looks where he likes.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Model()->rowCount() == 300 && NewestRowInView(); }, 10000));
  Grid()->scrollToTop();
  PassFollowSteps(2);
  EXPECT_EQ(Grid()->verticalScrollBar()->value(), 0);
  ExpectAutoScrollShown(true);
}

TEST_F(TableWindowTest, ARunOnTheWorkerFillsTheTableAndAUserScrollSwitchesAutoScrollOff) {
  ShownTable(3);
  PlotLoop();
  TQtUiPort port;
  TUiPort* const previous = SetUiPort(&port);
  Dialogs.ScriptAnswers({mbOK});  // "Aborted"
  Prepare(B1);
  TExperimentThread thread;
  thread.SetFirstBlock(B1);
  thread.Start();

  // Each phase begins on what the grid shows. Away from the newest row, the grid waits
  // for two of the follow timer's steps and for new rows: a timer still following would
  // have moved it by then, as timers fire in the order they fall due.
  enum { Filling, ScrolledAway, Following, Done } phase = Filling;
  int rowsWhenScrolled = 0;
  bool offShown = false, stayedAway = false, followedAgain = false;
  QTimer followSteps;  // started at the user's scroll
  followSteps.setSingleShot(true);
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  WaitServingHandOvers([&] {
    if (phase == Filling && Model()->rowCount() > 300 && AtBottom()) {
      QTest::keyClick(Grid(), Qt::Key_Home, Qt::ControlModifier);
      offShown = !Item("AutoScroll")->isChecked() && Window->ScrollImage() == 2 &&
                 !Window->IsFollowing();
      rowsWhenScrolled = Model()->rowCount();
      followSteps.start(2 * TTableWindow::FollowIntervalMs);
      phase = ScrolledAway;
    } else if (phase == ScrolledAway && !followSteps.isActive() &&
               Model()->rowCount() > rowsWhenScrolled) {
      stayedAway = Grid()->verticalScrollBar()->value() == 0;
      Button("ScrollButton")->click();
      rowsWhenScrolled = Model()->rowCount();
      phase = Following;
    } else if (phase == Following && Model()->rowCount() > rowsWhenScrolled &&
               NewestRowInView()) {
      // Rows came after the click's own jump to the newest: the timer followed them.
      followedAgain = true;
      thread.Terminate();
      phase = Done;
    }
    if (std::chrono::steady_clock::now() > deadline) thread.Terminate();
    return thread.Finished();
  });
  thread.Join();
  SetUiPort(previous);
  EXPECT_EQ(phase, Done);
  EXPECT_TRUE(offShown);
  EXPECT_TRUE(stayedAway);
  EXPECT_TRUE(followedAgain);
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Aborted"});
  // Every point the run plotted is a row, the channels side by side.
  Window->RefreshNow();
  EXPECT_EQ(Model()->rowCount(), Form().MaxDataCount());
  const int counted = Form().GetSeries(1).Count();
  EXPECT_EQ(Cell(counted - 1, 2).toInt(), counted - 1);
}

TEST_F(TableWindowTest, RewrittenCellsAreRedrawnInPlace) {
  ShownTable(3);
  PlotLoop();
  PlotUntil(3);
  Window->RefreshNow();
  QSignalSpy changed(Model(), &QAbstractItemModel::dataChanged);
  QSignalSpy reset(Model(), &QAbstractItemModel::modelReset);
  Form().SetNumberFormat(ntFIXED, 3);
  Window->RefreshNow();
  EXPECT_EQ((QStringList{Cell(0, 0), Cell(0, 1), Cell(2, 1)}), (QStringList{"1.000", "0.500", "1.500"}));
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(reset.count(), 0);
  Form().SetNumberFormat(ntSCIENTIFIC, 2);
  Window->RefreshNow();
  EXPECT_EQ((QStringList{Cell(0, 0), Cell(1, 0), Cell(0, 1)}), (QStringList{"1.00E0", "2.00E0", "5.00E-1"}));

  // Clear Output and as many new points between two redraws: the same rows, new texts.
  Form().SetNumberFormat(ntSTANDARD, 0);
  Window->RefreshNow();
  changed.clear();
  Form().ClearOutput();
  PlotUntil(3);
  Window->RefreshNow();
  EXPECT_EQ(Model()->rowCount(), 3);
  EXPECT_EQ((QStringList{Cell(0, 0), Cell(2, 0), Cell(2, 5)}), (QStringList{"4", "6", "6"}));
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(reset.count(), 0);
}

TEST_F(TableWindowTest, HiddenColumnsTakeNoPlaceAndTheColumnMenuOffersWhatTheSetAllows) {
  ShownTable(2);
  TTransferData pasted;
  TTransferSeries* series = pasted.AddSeries("Pasted", 2);
  series->XName = "Time";
  series->YName = "Volts";
  series->SetPoint(0, 1, 10);
  series->SetPoint(1, 2, 20);
  Form().ImportData(&pasted);
  Window->RefreshNow();
  EXPECT_EQ(Headers(), (QStringList{"X S1", "Y S1", "X S2", "Y S2", "Time", "Volts"}));

  QMenu channelMenu, plainMenu, outside;
  ASSERT_TRUE(Window->FillColumnMenu(channelMenu, 1));
  ASSERT_TRUE(Window->FillColumnMenu(plainMenu, 5));
  EXPECT_FALSE(Window->FillColumnMenu(outside, 6));
  EXPECT_TRUE(outside.actions().isEmpty());
  auto visible = [](QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions())
      if (action->isVisible()) texts << action->text();
    return texts;
  };
  EXPECT_EQ(visible(channelMenu), QStringList{"Hide Column"});
  EXPECT_EQ(visible(plainMenu), (QStringList{"Hide Column", "Move Data Set", "Delete Data Set"}));

  // Hiding "Y S1" moves the columns after it left; the form keeps the flag for its files.
  channelMenu.findChild<QAction*>("HideColumn")->trigger();
  EXPECT_EQ(Headers(), (QStringList{"X S1", "X S2", "Y S2", "Time", "Volts"}));
  EXPECT_FALSE(Form().GetSeries(0).ShowY);
  EXPECT_EQ(Cell(1, 4), "20");
  EXPECT_EQ(Model()->ColumnOf(0, false), -1);
  EXPECT_EQ(Model()->ColumnOf(2, true), 3);
  Window->HideColumnClick(3);
  Window->HideColumnClick(3);
  EXPECT_EQ(Headers(), (QStringList{"X S1", "X S2", "Y S2"}));
  EXPECT_EQ(Model()->rowCount(), 2);  // a set wholly hidden keeps its rows

  // Hiding a column keeps the rows in view where they were.
  for (int i = 0; i < 300; ++i) Form().GetSeries(1).AddPoint(i, i);
  Window->RefreshNow();
  QCoreApplication::processEvents();
  Grid()->scrollTo(Model()->index(200, 0), QAbstractItemView::PositionAtTop);
  const int top = Grid()->rowAt(0);
  ASSERT_GT(top, 150);
  Window->HideColumnClick(0);
  QCoreApplication::processEvents();
  EXPECT_EQ(Headers(), (QStringList{"X S2", "Y S2"}));
  EXPECT_EQ(Grid()->rowAt(0), top);
}

TEST_F(TableWindowTest, ClearAndDeleteAskFirstWithTheirCaptions) {
  ShownTable(1);
  PlotLoop();
  PlotUntil(5);
  TTransferData pasted;
  pasted.AddSeries("Pasted", 1)->SetPoint(0, 3, 4);
  pasted.AddSeries("Other", 1)->SetPoint(0, 5, 6);
  Form().ImportData(&pasted);
  Window->RefreshNow();
  ASSERT_EQ(Model()->columnCount(), 6);

  Dialogs.ScriptAnswers({mbNo, mbYes});
  Item("Clear")->trigger();
  EXPECT_EQ(Model()->rowCount(), 5);
  Item("Clear")->trigger();
  ASSERT_EQ(Dialogs.Boxes().size(), 2u);
  for (const auto& call : Dialogs.Boxes()) {
    EXPECT_EQ(call.Box.Caption, "Qorv Warning");
    EXPECT_EQ(call.Box.Text,
              "Warning, you will lose all your data if you press yes!\rDo you wish to continue?");
    EXPECT_EQ(call.Box.Buttons, mbYes | mbNo);
    EXPECT_EQ(call.Box.Kind, TMessageKind::Warning);
  }
  // Yes empties every set, the pasted ones too; the sets and columns stay.
  EXPECT_EQ(Model()->rowCount(), 0);
  EXPECT_EQ(Model()->columnCount(), 6);
  for (int s = 0; s < 3; ++s) EXPECT_EQ(Form().GetSeries(s).Count(), 0) << s;

  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbNo, mbYes});
  Window->DeleteDataSetClick(1);
  EXPECT_EQ(Form().SeriesCount(), 3);
  Window->DeleteDataSetClick(1);
  ASSERT_EQ(Dialogs.Boxes().size(), 2u);
  EXPECT_EQ(Dialogs.Boxes()[1].Box.Caption, "Qorv Table warning");
  EXPECT_EQ(Dialogs.Boxes()[1].Box.Text, "You are about to delete Pasted.\rDo you really want to do this?");
  ASSERT_EQ(Form().SeriesCount(), 2);
  EXPECT_EQ(Form().GetSeries(1).Name, "Other");
  EXPECT_EQ(Model()->columnCount(), 4);
}

TEST_F(TableWindowTest, APlainDataSetMovesWhereTheNextClickPutsIt) {
  ShownTable(1);
  TTransferData pasted;
  for (const char* name : {"A", "B", "C"}) {
    TTransferSeries* series = pasted.AddSeries(name, 1);
    series->XName = std::string("X") + name;
    series->YName = std::string("Y") + name;
  }
  Form().ImportData(&pasted);
  Window->RefreshNow();
  auto click = [&](int column) {
    const QRect cell = Grid()->visualRect(Model()->index(0, column));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  };
  // C onto A: C takes A's place, A and B shift right.
  Window->MoveDataSetClick(3);
  EXPECT_EQ(Window->MovingDataSet(), 3);
  click(Model()->ColumnOf(1, false));
  EXPECT_EQ(Window->MovingDataSet(), -1);
  EXPECT_EQ(Headers(), (QStringList{"X S1", "Y S1", "XC", "YC", "XA", "YA", "XB", "YB"}));
  // Onto the channel's column: refused; Escape gives up.
  Window->MoveDataSetClick(2);
  click(0);
  EXPECT_EQ(Form().GetSeries(2).Name, "A");
  Window->MoveDataSetClick(2);
  QTest::keyClick(Grid(), Qt::Key_Escape);
  EXPECT_EQ(Window->MovingDataSet(), -1);
  // A channel's set never starts a move.
  Window->MoveDataSetClick(0);
  EXPECT_EQ(Window->MovingDataSet(), -1);
}

TEST_F(TableWindowTest, ToolBarAndMenusAsTheWindowOffersThem) {
  // Paste is enabled while the clipboard holds text (import_dialog_test.cpp).
  QGuiApplication::clipboard()->setMimeData(new QMimeData);
  ShownTable(1);
  EXPECT_EQ(Window->findChild<QMenu*>("Specific")->title(), "Table");
  const std::vector<std::pair<const char*, const char*>> hints{
      {"SaveButton", "Save Table"}, {"PasteButton", "Copy From Clipboard"},
      {"CopyButton", "Select Data To Copy"}, {"ScrollButton", "Disable Active Scrolling"},
      {"PrintButton", "Print"}, {"HelpButton", "Help"}};
  for (const auto& [name, hint] : hints) {
    ASSERT_NE(Button(name), nullptr) << name;
    EXPECT_EQ(Button(name)->toolTip(), hint) << name;
    EXPECT_EQ(Button(name)->isEnabled(), name != std::string("PasteButton") &&
                                             name != std::string("HelpButton"))
        << name;
  }
  const std::vector<std::pair<const char*, bool>> items{
      {"SaveAsType", true}, {"CommaText", true}, {"TabText", true}, {"MatLab", true},
      {"CopyToClipboard", true}, {"RefreshTable", true}, {"Print", true}, {"Labels", true},
      {"AutoScroll", true}, {"TableHelp", false}};
  for (const auto& [name, enabled] : items) {
    ASSERT_NE(Item(name), nullptr) << name;
    EXPECT_EQ(Item(name)->isEnabled(), enabled) << name;
  }
  EXPECT_EQ(Item("SaveAsType")->text(), "Save As &Type");
  EXPECT_TRUE(Item("AutoScroll")->isCheckable());
  ExpectAutoScrollShown(true);

  // The Save button saves the table as an output file; Comma Text writes its rows.
  PlotLoop();
  PlotUntil(2);
  Ui.ScriptFiles({Temp.PathOf("t.opt"), Temp.PathOf("t.txt")});
  QTest::mouseClick(Button("SaveButton"), Qt::LeftButton);
  EXPECT_EQ(Form().GetFileName(), Temp.PathOf("t.opt"));
  EXPECT_TRUE(std::ifstream(Temp.PathOf("t.opt")).good());
  Item("CommaText")->trigger();
  std::ifstream text(Temp.PathOf("t.txt"), std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(text)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, "1,0.5\r\n2,1\r\n");
}

TEST_F(TableWindowTest, ADetachedWindowHasNoScrollControls) {
  TTableForm detached(static_cast<TDeadOutputList*>(nullptr));
  TTableWindow window(detached);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_FALSE(window.findChild<QToolButton*>("ScrollButton")->isVisible());
  EXPECT_FALSE(window.findChild<QAction*>("AutoScroll")->isVisible());
  EXPECT_FALSE(window.IsFollowing());
}

TEST_F(TableWindowTest, AHundredThousandRowsCostOnlyWhatIsShown) {
  ShownTable(3);
  PlotLoop();
  ExperimentRunning = true;
  Prepare(B1);  // the run's clearing comes before the data
  TTransferData data;
  constexpr int Rows = 100000;
  for (int s = 0; s < 3; ++s) {
    TTransferSeries* series = data.AddSeries("S" + std::to_string(s), Rows);
    for (int i = 0; i < Rows; ++i) series->SetPoint(i, static_cast<float>(i), static_cast<float>(s));
  }
  Form().SetTransferData(&data);
  Window->RefreshNow();
  ASSERT_EQ(Model()->rowCount(), Rows);
  ASSERT_EQ(Model()->columnCount(), 6);

  // Asking for the size and for cells never walks the data sets.
  Model()->ResetCounts();
  long sum = 0;
  for (int k = 0; k < 100000; ++k) sum += Model()->rowCount() + Model()->columnCount();
  EXPECT_EQ(sum, 100000L * (Rows + 6));
  EXPECT_EQ(Model()->SetScans(), 0);
  EXPECT_EQ(Cell(Rows - 1, 0), "99999");
  EXPECT_EQ(Model()->CellTexts(), 1);

  // Painting the end of the grid makes only the texts of the rows in view.
  Model()->ResetCounts();
  Grid()->scrollToBottom();
  Window->grab();
  const int shown = Grid()->viewport()->height() / Grid()->verticalHeader()->defaultSectionSize() + 2;
  EXPECT_GT(Model()->CellTexts(), 0);
  EXPECT_LE(Model()->CellTexts(), 2 * shown * 6);
  EXPECT_EQ(Model()->SetScans(), 0);

  // Points added: one walk over the sets, one insert of the new row.
  QSignalSpy inserted(Model(), &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(Model(), &QAbstractItemModel::modelReset);
  QSignalSpy changed(Model(), &QAbstractItemModel::dataChanged);
  Model()->ResetCounts();
  Next = B1->GetFirstScript();
  while (Form().MaxDataCount() == Rows) Next = Next->Execute();
  Window->RefreshNow();
  EXPECT_EQ(Model()->rowCount(), Rows + 1);
  EXPECT_EQ(Model()->SetScans(), 1);
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), Rows);
  EXPECT_EQ(reset.count(), 0);
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(TableWindowTest, TheNumbersAndHeadersInViewFitTheirColumns) {
  ShownTable(3);
  TTransferData data;
  const char* const names[3][2] = {
      {"Time (s)", "Voltage (V)"}, {"Time (s)", "Current (mA)"}, {"Setpoint (K)", "Temperature (K)"}};
  for (int s = 0; s < 3; ++s) {
    TTransferSeries* series = data.AddSeries("Series" + std::to_string(s + 1), 500);
    series->XName = names[s][0];
    series->YName = names[s][1];
    for (int i = 0; i < 500; ++i)
      series->SetPoint(i, s == 2 ? 4.2f + 0.25f * static_cast<float>(i) : 0.5f * static_cast<float>(i),
                       s == 0 ? 1.0f / static_cast<float>(i + 3) : 250.0f - 3.7f * static_cast<float>(i));
  }
  Form().SetTransferData(&data);
  // Each format, at the top and at the end: no text in view is cut.
  const std::vector<std::pair<std::uint8_t, int>> formats{{ntSTANDARD, 0}, {ntFIXED, 4}, {ntSCIENTIFIC, 3}};
  for (const auto& [notation, decimals] : formats) {
    Form().SetNumberFormat(notation, decimals);
    Window->RefreshNow();
    for (bool end : {false, true}) {
      if (end) Grid()->scrollToBottom(); else Grid()->scrollToTop();
      QCoreApplication::processEvents();
      const QFontMetrics metrics = Grid()->fontMetrics();
      const QFontMetrics headerMetrics = Grid()->horizontalHeader()->fontMetrics();
      for (int row = Grid()->rowAt(0); row >= 0 && row <= Grid()->rowAt(Grid()->viewport()->height() - 1); ++row)
        for (int c = 0; c < Model()->columnCount(); ++c)
          EXPECT_LT(metrics.horizontalAdvance(Cell(row, c)) + 6, Grid()->columnWidth(c))
              << Cell(row, c).toStdString() << " in " << c;
      for (int c = 0; c < Model()->columnCount(); ++c)
        EXPECT_LT(headerMetrics.horizontalAdvance(Headers()[c]) + 6, Grid()->columnWidth(c)) << c;
      const QString label = Model()->headerData(Grid()->rowAt(0), Qt::Vertical).toString();
      EXPECT_LE(headerMetrics.horizontalAdvance(label), Grid()->verticalHeader()->width()) << label.toStdString();
    }
    // A picture for a look at the window, when asked for.
    if (const char* folder = std::getenv("QORV_TABLE_SHOT")) {
      Grid()->scrollToTop();
      Window->grab().save(QString("%1/table_window_%2.png").arg(folder).arg(int(notation)));
    }
  }
}

}  // namespace
