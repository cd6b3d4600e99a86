// The main window through its real widgets: what a new user sees at start, and the demo
// opened from the command line and run to its end with Ctrl+G.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTreeView>
#include <QTreeWidget>

#include "main_window_fixture.h"
#include "model/experiment.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"

TEST_F(TMainWindowTest, StartsWithANewExperimentAndItsStartBlock) {
  StartQorv();
  EXPECT_EQ(Window->windowTitle(), QString("Qorv Current Experiment: Experiment 1"));
  EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Stopped"));
  EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Start Block"));
  EXPECT_TRUE(Panel(TQorvForm::spModified).isEmpty());
  // No recent files yet.
  auto* reopen = Window->findChild<QMenu*>("Reopen");
  ASSERT_NE(reopen, nullptr);
  emit Window->findChild<QMenu*>("FileMenu")->aboutToShow();
  EXPECT_FALSE(reopen->isEnabled());
  // The menus' items as they open: the debugger with the start block to run.
  for (const char* menu : {"FileMenu", "ExperimentMenu", "DevicesMenu"})
    emit Window->findChild<QMenu*>(menu)->aboutToShow();
  EXPECT_TRUE(Action("DebugMenuItem")->isEnabled());
  for (const char* console : {"InteractMenuItem", "InteractButton", "ScanMenuItem", "SearchButton"})
    EXPECT_TRUE(Action(console)->isEnabled()) << console;
  EXPECT_TRUE(Action("OpenBlockMenuItem")->isEnabled());
  EXPECT_TRUE(Action("OpenOutputMenuItem")->isEnabled());
  EXPECT_TRUE(Action("BringOutputsToFrontMenuItem")->isEnabled());
  EXPECT_TRUE(Action("PreferencesMenuItem")->isEnabled());
  // No detached output yet.
  EXPECT_FALSE(Window->findChild<QMenu*>("OpenedOutputsMenu")->menuAction()->isEnabled());
  // Stopped: Start and Debug wait for a click, Stop does not.
  EXPECT_TRUE(Action("StartButton")->isEnabled());
  EXPECT_TRUE(Action("StartMenuItem")->isEnabled());
  EXPECT_FALSE(Action("StopButton")->isEnabled());
  EXPECT_FALSE(Action("StopMenuItem")->isEnabled());
  EXPECT_TRUE(Action("DebugButton")->isEnabled());
  EXPECT_EQ(Action("StartMenuItem")->shortcut(), QKeySequence("Ctrl+G"));
  EXPECT_EQ(Action("StopMenuItem")->shortcut(), QKeySequence("Ctrl+S"));
  // The experiment tree shows the start block with the line where commands go.
  auto* tree = Window->findChild<QTreeView*>("ExperimentView");
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(tree->model()->rowCount(), 1);
  const QModelIndex block = tree->model()->index(0, 0);
  EXPECT_EQ(block.data().toString(), QString("Start Block"));
  EXPECT_EQ(tree->model()->rowCount(block), 1);  // the blank line
  auto* devices = Window->findChild<QTreeWidget*>("DeviceView");
  ASSERT_NE(devices, nullptr);
  EXPECT_EQ(devices->topLevelItemCount(), 0);
  EXPECT_EQ(devices->headerItem()->text(0), QString("Device"));
  EXPECT_EQ(devices->headerItem()->text(1), QString("Communication"));
}

TEST_F(TMainWindowTest, TheDemoOpensFromTheCommandLineAndRunsToItsEnd) {
  TDemoInstruments instruments;
  const std::string path = SaveDemo(4, 20);
  StartQorv(QString::fromStdString(path));
  EXPECT_EQ(Window->windowTitle(), QString("Qorv Current Experiment: demo.qve"));
  auto* devices = Window->findChild<QTreeWidget*>("DeviceView");
  ASSERT_EQ(devices->topLevelItemCount(), 2);
  EXPECT_EQ(devices->topLevelItem(0)->text(0), QString("Meter"));
  EXPECT_EQ(devices->topLevelItem(1)->text(0), QString("Thermometer"));

  // Its output windows wait hidden until a run shows them.
  const std::vector<TOutput*> outputs =
      Window->Session().GetExperiment().GetOutputList()->GetOutputs();
  ASSERT_EQ(outputs.size(), 4u);
  for (TOutput* output : outputs) EXPECT_FALSE(output->IsFormVisible()) << output->GetName();
  Dialogs.ScriptAnswers({mbOK});  // "Experiment Complete"
  QTest::keyClick(Window.get(), Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Running"));
  for (TOutput* output : outputs) EXPECT_TRUE(output->IsFormVisible()) << output->GetName();
  EXPECT_FALSE(Action("StartButton")->isEnabled());
  EXPECT_TRUE(Action("StopButton")->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 30000));
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{"Experiment Complete"});
  EXPECT_FALSE(IsRunActive());
  EXPECT_TRUE(Action("StartButton")->isEnabled());
  EXPECT_FALSE(Action("StopButton")->isEnabled());
  // The first block is current again, ready for new commands.
  EXPECT_EQ(Panel(TQorvForm::spBlock), QString("Measure"));

  // The outputs and the data file hold the readings.
  QFile data(QString::fromStdString(Temp.PathOf(DemoDataFileName)));
  ASSERT_TRUE(data.open(QIODevice::ReadOnly));
  EXPECT_EQ(data.readAll().count('\n'), 4);
  TExperiment& experiment = Window->Session().GetExperiment();
  bool graphFilled = false;
  for (TOutput* output : experiment.GetOutputList()->GetOutputs())
    if (output->GetName() == DemoGraphTitle)
      if (auto* graph = dynamic_cast<TGraphForm*>(output->GetOutputForm()))
        graphFilled = graph->SeriesCount() == 2 && graph->GetSeries(0).Count() == 4;
  EXPECT_TRUE(graphFilled);
}
