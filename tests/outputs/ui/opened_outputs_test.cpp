// Output windows from the main window: "&Output" of "O&pen..." and dropped ".opt" files
// opening detached windows under "&Opened Outputs" with their numbered entries and
// sub-items, damaged files, windows taken off-line joining the list, "Show" of the
// attribute tree, "&Bring Outputs To Front" (also at a run's start and end), the
// preferred output folder from the settings, and closing the main window.
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "outputs/dead_output_list.h"
#include "outputs/output.h"
#include "outputs/output_file.h"
#include "outputs/output_list.h"
#include "outputs/ui/output_window.h"
#include "shell/settings.h"
#include "shell/ui/main_window_steps.h"
#include "shell/ui/main_window_widgets.h"
#include "shell/ui/qt_settings_store.h"

namespace {

using TTexts = std::vector<std::string>;

TOutputWindow* WindowOf(TOutputForm* form) {
  return form ? dynamic_cast<TOutputWindow*>(form->GetView()) : nullptr;
}

// A display in front of a window that notes when it was brought to the front.
class TRaiseNotingView final : public TOutputView {
public:
  TRaiseNotingView(TOutputForm& form, TTexts& raised)
      : Form(form), Window(*WindowOf(&form)), Raised(raised) {
    Form.SetView(this);
  }
  ~TRaiseNotingView() override { Form.SetView(&Window); }
  void Changed(TOutputForm& form) override { Window.Changed(form); }
  void ShowRequested(TOutputForm& form) override { Window.ShowRequested(form); }
  void HideRequested(TOutputForm& form) override { Window.HideRequested(form); }
  bool IsVisible(const TOutputForm& form) const override { return Window.IsVisible(form); }
  void BringToFrontRequested(TOutputForm& form) override {
    Raised.push_back(form.GetName());
    Window.BringToFrontRequested(form);
  }
  void ShowInFrontRequested(TOutputForm& form) override {
    Raised.push_back(form.GetName());
    Window.ShowInFrontRequested(form);
  }
  void FormDestroyed(TOutputForm& form) override { Window.FormDestroyed(form); }

private:
  TOutputForm& Form;
  TOutputWindow& Window;
  TTexts& Raised;
};

class OpenedOutputsTest : public TWindowStepsTest {
protected:
  // An output file of a detached window of the kind named so.
  std::string OutputFile(const std::string& file, std::uint8_t kind, const std::string& name) {
    std::unique_ptr<TOutputForm> form = MakeDetachedForm(kind, nullptr);
    form->SetName(name);
    const std::string path = Temp.PathOf(file);
    EXPECT_TRUE(SaveOutputFile(*form, path));
    return path;
  }
  void OpenOutput(const std::string& path) {
    Dialogs.ScriptFiles({path});
    OpenMenu("FileMenu");
    Trigger("OpenOutputMenuItem");
  }
  QMenu* Opened() { return Menu("OpenedOutputsMenu"); }
  TTexts Entries() {
    TTexts captions;
    for (QAction* item : Opened()->actions()) captions.push_back(item->text().toStdString());
    return captions;
  }
  // The entry's submenu at the place, opened as the user opens it.
  QMenu* Entry(int place) {
    const QList<QAction*> items = Opened()->actions();
    QMenu* entry = place < items.size() ? items[place]->menu() : nullptr;
    EXPECT_NE(entry, nullptr) << "no entry " << place;
    if (entry) emit entry->aboutToShow();
    return entry;
  }
  static QAction* SubItem(QMenu* entry, const char* name) {
    auto* item = entry ? entry->findChild<QAction*>(name) : nullptr;
    EXPECT_NE(item, nullptr) << name;
    return item;
  }
  TOutput* NewOutput(const std::string& name, std::uint8_t kind) {
    return Exp().GetOutputList()->NewOutput(name, kind, 1);
  }
};

}  // namespace

TEST_F(OpenedOutputsTest, OpenedFilesAreListedByNumberWithTheirSubItems) {
  // The output folder of the settings is where output files are opened and saved.
  const std::string folder = (Temp.Path() / "outputs").string();
  std::filesystem::create_directory(folder);
  {
    TIniregQorv settings;
    settings.SetOutputDirectory(folder);
    TQtSettingsStore store;
    settings.Write(store);
  }
  StartQorv();
  EXPECT_EQ(PreferredOutputDirectory(), folder);
  ASSERT_NE(Window->GetDeadOutputList(), nullptr);
  EXPECT_EQ(MainDeadOutputList(), Window->GetDeadOutputList());
  EXPECT_FALSE(Opened()->menuAction()->isEnabled());
  const std::string volts = OutputFile("volts.opt", otGRAPH, "Volts");
  const std::string log = OutputFile("log.opt", otTEXT, "Log");

  OpenOutput(volts);
  ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
  const TFileChoice asked = Dialogs.FileChoices()[0].Choice;
  EXPECT_FALSE(asked.Save);
  EXPECT_EQ(asked.Filter, "Output (*.opt) | *.opt");
  EXPECT_EQ(asked.DefaultExt, "opt");
  EXPECT_EQ(asked.FileName, "");
  EXPECT_EQ(asked.InitialDir, folder);
  // A dropped ".opt" opens the same way.
  EXPECT_TRUE(Drop({log}));
  EXPECT_TRUE(Dialogs.Texts().empty());
  EXPECT_EQ(Entries(), (TTexts{"&1 Volts...", "&2 Log..."}));
  EXPECT_TRUE(Opened()->menuAction()->isEnabled());
  TDeadOutputList& list = *Window->GetDeadOutputList();
  ASSERT_EQ(list.Count(), 2);
  QPointer<TOutputWindow> first = WindowOf(list.GetForm(0));
  QPointer<TOutputWindow> second = WindowOf(list.GetForm(1));
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(first));
  EXPECT_EQ(first->windowTitle(), QString("Volts Inactive"));
  EXPECT_TRUE(second->isVisible());

  // "&Show" is checked while the window shows; "&Bring To Front" is for a shown one.
  QMenu* entry = Entry(1);
  EXPECT_EQ(SubItem(entry, "ShowOpenedOutput")->text(), QString("&Show"));
  EXPECT_EQ(SubItem(entry, "BringOpenedOutputToFront")->text(), QString("&Bring To Front"));
  EXPECT_EQ(SubItem(entry, "DeleteOpenedOutput")->text(), QString("&Delete"));
  EXPECT_TRUE(SubItem(entry, "ShowOpenedOutput")->isChecked());
  EXPECT_TRUE(SubItem(entry, "BringOpenedOutputToFront")->isEnabled());
  SubItem(entry, "ShowOpenedOutput")->trigger();
  EXPECT_FALSE(second->isVisible());
  entry = Entry(1);
  EXPECT_FALSE(SubItem(entry, "ShowOpenedOutput")->isChecked());
  EXPECT_FALSE(SubItem(entry, "BringOpenedOutputToFront")->isEnabled());
  SubItem(entry, "ShowOpenedOutput")->trigger();
  EXPECT_TRUE(second->isVisible());

  // Deleting the first takes its window; the second keeps its number.
  SubItem(Entry(0), "DeleteOpenedOutput")->trigger();
  EXPECT_TRUE(WaitUntil([&] { return first.isNull(); }, 10000));
  EXPECT_EQ(Entries(), TTexts{"&2 Log..."});
  EXPECT_TRUE(Opened()->menuAction()->isEnabled());
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(WindowOf(list.GetForm(0)), second.data());

  // A damaged file is reported with its path and listed nowhere.
  const std::string damaged = Temp.WriteBytes("damaged.opt", Cat({StringBytes("Qorv Output")}));
  Dialogs.ScriptAnswers({mbOK});
  OpenOutput(damaged);
  EXPECT_EQ(Dialogs.Texts().back(), "Error openning " + damaged);
  EXPECT_EQ(Entries(), TTexts{"&2 Log..."});
  EXPECT_EQ(list.Count(), 1);

  // Deleting the last entry disables the menu.
  SubItem(Entry(0), "DeleteOpenedOutput")->trigger();
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(Opened()->menuAction()->isEnabled());
  EXPECT_TRUE(WaitUntil([&] { return second.isNull(); }, 10000));
}

TEST_F(OpenedOutputsTest, AWindowTakenOffLineJoinsTheListAndTheMainWindowsCloseTakesItsWindows) {
  StartQorv();
  TOutput* graph = NewOutput("Scan", otGRAPH);
  TOutput* log = NewOutput("Log", otTEXT);
  graph->ShowOutputForm();
  log->ShowOutputForm();
  TOutputForm* live = graph->GetOutputForm();
  QPointer<TOutputWindow> window = WindowOf(live);
  ASSERT_TRUE(window);
  emit window->findChild<QMenu*>("Output")->aboutToShow();
  window->findChild<QAction*>("OffLine")->trigger();
  EXPECT_EQ(Entries(), TTexts{"&1 Scan..."});
  EXPECT_EQ(Window->GetDeadOutputList()->GetForm(0), live);
  EXPECT_EQ(window->windowTitle(), QString("Scan Inactive"));
  // The output goes on with a window of its own, hidden until asked for.
  ASSERT_NE(graph->GetOutputForm(), live);
  EXPECT_FALSE(graph->IsFormVisible());
  // Renaming the detached window renames its entry.
  live->Rename("Old scan");
  EXPECT_EQ(Entries(), TTexts{"Old scan"});

  // Closing the main window deletes the detached windows and hides the live ones.
  const std::string extra = OutputFile("extra.opt", otBIGNUMBER, "Extra");
  EXPECT_TRUE(Drop({extra}));
  QPointer<TOutputWindow> opened = WindowOf(Window->GetDeadOutputList()->GetForm(1));
  QPointer<TOutputWindow> logWindow = WindowOf(log->GetOutputForm());
  ASSERT_TRUE(opened && logWindow);
  EXPECT_TRUE(logWindow->isVisible());
  Window->Session().ExperimentChanged(0, 1);  // nothing to ask
  Window->close();
  EXPECT_EQ(Window->GetDeadOutputList(), nullptr);
  EXPECT_EQ(MainDeadOutputList(), nullptr);
  EXPECT_TRUE(WaitUntil([&] { return window.isNull() && opened.isNull(); }, 10000));
  EXPECT_TRUE(Entries().empty());
  ASSERT_TRUE(logWindow);
  EXPECT_FALSE(logWindow->isVisible());
}

TEST_F(OpenedOutputsTest, OutputsShowInFrontFromTheMenuAndAtARunsStartAndEndKeepingTheKeys) {
  StartQorv();
  AddWait(300);  // long enough to look at the run's controls
  TOutput* shown = NewOutput("Shown", otGRAPH);
  TOutput* hidden = NewOutput("Hidden", otTABLE);
  TOutput* none = NewOutput("None", otTEXT);
  shown->ShowOutputForm();
  hidden->GetOutputForm();
  EXPECT_FALSE(none->HasOutputForm());
  EXPECT_TRUE(Drop({OutputFile("a.opt", otBIGNUMBER, "Detached"),
                    OutputFile("b.opt", otBIGNUMBER, "Put away")}));
  TDeadOutputList& list = *Window->GetDeadOutputList();
  ASSERT_EQ(list.Count(), 2);
  list.GetForm(1)->Hide();

  TTexts raised;
  std::vector<std::unique_ptr<TRaiseNotingView>> noting;
  for (TOutputForm* form : {shown->GetOutputForm(), hidden->GetOutputForm(), list.GetForm(0),
                            list.GetForm(1)})
    noting.push_back(std::make_unique<TRaiseNotingView>(*form, raised));
  Window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
  OpenMenu("ExperimentMenu");
  Trigger("BringOutputsToFrontMenuItem");
  EXPECT_EQ(raised, (TTexts{"Shown", "Hidden", "Detached"}));
  // The experiment's hidden window shows; a hidden detached one stays hidden; none is made.
  EXPECT_TRUE(hidden->IsFormVisible());
  EXPECT_FALSE(list.GetForm(1)->IsVisible());
  EXPECT_FALSE(none->HasOutputForm());

  // Start with the keys: the windows show at the start and the end, and the keys stay with
  // the main window, so Ctrl+S could stop the run.
  hidden->HideOutputForm();
  raised.clear();
  Dialogs.ScriptAnswers({mbOK});  // "Experiment Complete"
  QTest::keyClick(Window.get(), Qt::Key_G, Qt::ControlModifier);
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Running"; }, 5000));
  EXPECT_TRUE(hidden->IsFormVisible());
  EXPECT_TRUE(Window->isActiveWindow());
  ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 10000));
  EXPECT_EQ(Dialogs.Texts(), TTexts{"Experiment Complete"});
  EXPECT_EQ(raised, (TTexts{"Shown", "Hidden", "Detached", "Shown", "Hidden", "Detached"}));
  Window->Session().ExperimentChanged(0, 1);
}

namespace {

class OutputShowTest : public TMainWindowWidgetsTest {};

}  // namespace

TEST_F(OutputShowTest, ShowOfTheAttributeTreeShowsAndHidesTheOutputsWindow) {
  StartQorv();
  TOutput* output = Exp().GetOutputList()->NewOutput("Volts", otGRAPH, 2);
  TNodeTreeView* view = TreeView("ExpAttView");
  ASSERT_NE(view, nullptr);
  Window->RefreshViews();

  QMenu* popup = RightClick(view->viewport(), PointOf(view, output->AExpAttNode), "ExpAttPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(ShownItems(popup).contains("ShowOutputItem"));
  EXPECT_EQ(Item(popup, "ShowOutputItem")->text(), QString("Show"));
  EXPECT_FALSE(Item(popup, "ShowOutputItem")->isChecked());
  ClickItem(popup, "ShowOutputItem");
  EXPECT_TRUE(output->IsFormVisible());
  TOutputWindow* window = WindowOf(output->GetOutputForm());
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->windowTitle(), QString("Volts Active"));

  // Checked while the window shows; choosing it then hides the window.
  popup = RightClick(view->viewport(), PointOf(view, output->AExpAttNode), "ExpAttPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(Item(popup, "ShowOutputItem")->isChecked());
  ClickItem(popup, "ShowOutputItem");
  EXPECT_FALSE(output->IsFormVisible());

  // A double click on the output shows its window too.
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, PointOf(view, output->AExpAttNode));
  EXPECT_TRUE(output->IsFormVisible());
  // The list's own node offers no Show.
  popup = RightClick(view->viewport(), PointOf(view, output->AExpAttNode->GetParent()),
                     "ExpAttPopup");
  ASSERT_NE(popup, nullptr);
  EXPECT_FALSE(ShownItems(popup).contains("ShowOutputItem"));
  popup->hide();
  Window->Session().ExperimentChanged(0, 1);
}
