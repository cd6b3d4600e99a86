// What every output window kind of the table does alike: its window for live and
// detached forms with the Active/Inactive caption, Save and Save As with their names and
// failures, taking a live window off-line into the detached-output list (refused during
// a run), the number format, Clear, the round trip through an ".opt" file reopened by the
// list with the same data and settings, and Clear Output from a run's worker drawn on the
// main thread.
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "model/experiment_running.h"
#include "model/number_text.h"
#include "outputs/dead_output_list.h"
#include "outputs/output_file.h"
#include "outputs/ui/number_format_dialog.h"
#include "outputs/ui/opened_outputs_menu.h"
#include "outputs/ui/output_window.h"
#include "outputs/ui/output_window_kinds.h"
#include "scripts/outputs/clear_output_script.h"
#include "scripts/outputs/plot_fixture.h"
#include "shell/ui/qt_ui_port.h"
#include "support/ui/dialog_driver.h"
#include "support/ui/scripted_user_dialogs.h"
#include "support/ui/worker.h"

namespace {

// Channels of a kind's output: graph and table take several.
std::int32_t ChannelsOf(std::uint8_t kind) { return kind == otGRAPH || kind == otTABLE ? 2 : 1; }

// The message of a failed ".opt" write, by kind.
std::string WriteError(std::uint8_t kind) {
  return kind == otGRAPH ? "Error writing output" : "Error writing to file";
}

class OutputWindowContractTest : public TPlotFixture {
protected:
  OutputWindowContractTest() {
    Previous = SetUiPort(&Port);
    InstallOutputWindows();
    Opened = std::make_unique<TOpenedOutputsMenu>(Menu);
    SetMainDeadOutputList(&Opened->List());
    SetPreferredOutputDirectory("");
  }
  ~OutputWindowContractTest() override {
    Opened.reset();
    ExperimentRunning = false;
    SetUiPort(Previous);
    SetPreferredOutputDirectory("");
  }

  // A live output of the kind with its window, shown, fed by Plot commands with a few
  // values on every channel.
  TOutput* Filled(const TOutputWindowKind& kind) {
    TOutput* output = Output(kind.Name, kind.OutputType, ChannelsOf(kind.OutputType));
    TDataSingle* y = Single(B1, std::string("Y") + char('A' + Outputs++), eatFLOAT, "0");
    for (std::int32_t channel = 0; channel < output->NumberOfChannels; ++channel) {
      TPlotScript* plot = Plot(output, y, true, channel);
      for (const char* value : {"1.25", "-3.5", "2e3"}) {
        y->GetValue().SetText(value);
        plot->Execute();
      }
    }
    output->ShowOutputForm();
    return output;
  }
  static TOutputWindow* WindowOf(TOutputForm* form) {
    return form ? dynamic_cast<TOutputWindow*>(form->GetView()) : nullptr;
  }
  static QAction* Item(TOutputWindow* window, const char* name) {
    auto* item = window->findChild<QAction*>(name);
    EXPECT_NE(item, nullptr) << name;
    return item;
  }
  // Triggers the window's item as its menu does: the menu opens first.
  static void Click(TOutputWindow* window, const char* name) {
    emit window->findChild<QMenu*>("Output")->aboutToShow();
    QAction* item = Item(window, name);
    ASSERT_TRUE(item && item->isEnabled()) << name << " is disabled";
    item->trigger();
  }
  // Save As answered with the path: the boxes it showed (the one expected answered).
  TTexts SaveAs(TOutputWindow* window, const std::string& path, bool refused = false) {
    Dialogs.ClearCalls();
    Dialogs.ScriptFiles({path});
    if (refused) Dialogs.ScriptAnswers({mbOK});
    Click(window, "SaveAs");
    return Dialogs.Texts();
  }
  // What the window shows: the points of graph and table, the text's lines, the big
  // number's value.
  static int Shown(TOutputForm& form) {
    if (auto* text = dynamic_cast<TTextForm*>(&form)) return static_cast<int>(text->GetLines().size());
    if (auto* big = dynamic_cast<TBigNumForm*>(&form)) return big->GetValue().empty() ? 0 : 1;
    TTransferData data;
    form.GetTransferData(&data);
    int points = 0;
    for (std::int32_t i = 0; i < data.GetTSCount(); ++i) points += data.GetSeries(i)->GetCount();
    return points;
  }
  TTexts Files() const {
    TTexts names;
    for (const auto& entry : std::filesystem::directory_iterator(Temp.Path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Entries() const {
    std::string captions;
    for (QAction* item : Menu.actions()) captions += item->text().toStdString() + "|";
    return captions;
  }

  TQtUiPort Port;
  TScriptedUserDialogs Dialogs;
  QMenu Menu;
  std::unique_ptr<TOpenedOutputsMenu> Opened;
  int Outputs = 0;

private:
  TUiPort* Previous = nullptr;
};

}  // namespace

TEST_F(OutputWindowContractTest, EveryKindHasItsWindowLiveAndDetachedWithItsCaption) {
  ASSERT_EQ(OutputWindowKinds().size(), 4u);
  for (const TOutputWindowKind& kind : OutputWindowKinds()) {
    SCOPED_TRACE(kind.Name);
    TOutput* output = Output(kind.Name, kind.OutputType, ChannelsOf(kind.OutputType));
    TOutputForm* live = output->GetOutputForm();
    TOutputWindow* window = WindowOf(live);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Form(), live);
    EXPECT_FALSE(window->isVisible());  // made hidden; shown on request
    output->ShowOutputForm();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(output->IsFormVisible());
    EXPECT_EQ(window->windowTitle(), QString(kind.Name) + " Active");
    emit window->findChild<QMenu*>("Output")->aboutToShow();
    EXPECT_TRUE(Item(window, "OffLine")->isEnabled());
    EXPECT_TRUE(Item(window, "Clear")->isEnabled());
    // Clear is disabled while a run is active, and does nothing if it is reached.
    ExperimentRunning = true;
    emit window->findChild<QMenu*>("Output")->aboutToShow();
    EXPECT_FALSE(Item(window, "Clear")->isEnabled());
    ExperimentRunning = false;
    // Closing only hides: the output keeps its window.
    window->close();
    EXPECT_FALSE(output->IsFormVisible());
    EXPECT_EQ(output->GetOutputForm(), live);

    std::unique_ptr<TOutputForm> detached = MakeDetachedForm(kind.OutputType, &Opened->List());
    TOutputWindow* other = MakeOutputWindow(*detached);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(detached->GetView(), other);
    detached->SetName("Old run");
    other->RefreshNow();
    EXPECT_EQ(other->windowTitle(), QString("Old run Inactive"));
    emit other->findChild<QMenu*>("Output")->aboutToShow();
    EXPECT_FALSE(Item(other, "OffLine")->isEnabled());
  }
}

TEST_F(OutputWindowContractTest, SaveTakesNamesHoldingOptAnywhereAndReportsFailures) {
  const std::string folder = (Temp.Path() / "outputs").string();
  std::filesystem::create_directory(folder);
  for (const TOutputWindowKind& kind : OutputWindowKinds()) {
    SCOPED_TRACE(kind.Name);
    TOutput* output = Filled(kind);
    TOutputWindow* window = WindowOf(output->GetOutputForm());
    ASSERT_NE(window, nullptr);
    const std::string base = Temp.PathOf(kind.Name);

    // The chooser proposes the window's name in the preferred folder, when it exists.
    SetPreferredOutputDirectory(folder);
    EXPECT_TRUE(SaveAs(window, base + ".opt.bak").empty());
    ASSERT_EQ(Dialogs.FileChoices().size(), 1u);
    const TFileChoice asked = Dialogs.FileChoices()[0].Choice;
    EXPECT_TRUE(asked.Save);
    EXPECT_EQ(asked.Filter, "Output Files (*.opt)|*.opt");
    EXPECT_EQ(asked.FileName, kind.Name);
    EXPECT_EQ(asked.InitialDir, folder);
    EXPECT_TRUE(std::filesystem::is_regular_file(base + ".opt.bak"));
    EXPECT_EQ(output->GetOutputForm()->GetFileName(), base + ".opt.bak");
    SetPreferredOutputDirectory(Temp.PathOf("gone"));
    EXPECT_TRUE(SaveAs(window, base + ".opt.txt").empty());
    EXPECT_EQ(Dialogs.FileChoices()[0].Choice.InitialDir, "");
    EXPECT_TRUE(std::filesystem::is_regular_file(base + ".opt.txt"));

    // Save writes the remembered file without asking; Save As asks all the same.
    std::filesystem::remove(base + ".opt.bak");
    Dialogs.ClearCalls();
    Click(window, "Save");
    EXPECT_TRUE(Dialogs.FileChoices().empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(base + ".opt.txt"));

    // ".OPT" in capitals and names without ".opt" are refused; nothing is written.
    const TTexts before = Files();
    for (const std::string& refused : {base + ".OPT", base + ".txt", base + ".op"})
      EXPECT_EQ(SaveAs(window, refused, true), TTexts{"Invalid Extention"}) << refused;
    // A cancelled Save As writes nothing and forgets the file: Save asks next time.
    EXPECT_TRUE(SaveAs(window, "").empty());
    EXPECT_EQ(output->GetOutputForm()->GetFileName(), "");
    Dialogs.ClearCalls();
    Dialogs.ScriptFiles({""});
    Click(window, "Save");
    EXPECT_EQ(Dialogs.FileChoices().size(), 1u);
    EXPECT_EQ(Files(), before);

    // A write that fails shows the kind's message and leaves the window as it was.
    EXPECT_EQ(SaveAs(window, Temp.PathOf("missing/w.opt"), true),
              TTexts{WriteError(kind.OutputType)});
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(output->IsFormVisible());
    EXPECT_EQ(window->windowTitle(), QString(kind.Name) + " Active");
    std::filesystem::remove(base + ".opt.txt");
  }
}

TEST_F(OutputWindowContractTest, OffLineDuringARunOnlyTellsAndAfterwardsDetachesTheWindow) {
  int taken = 0;
  for (const TOutputWindowKind& kind : OutputWindowKinds()) {
    SCOPED_TRACE(kind.Name);
    TOutput* output = Filled(kind);
    TOutputForm* form = output->GetOutputForm();
    TOutputWindow* window = WindowOf(form);
    ASSERT_NE(window, nullptr);
    const QColor background = window->palette().color(QPalette::Window);

    ExperimentRunning = true;
    Dialogs.ClearCalls();
    Dialogs.ScriptAnswers({mbOK});
    Click(window, "OffLine");
    EXPECT_EQ(Dialogs.Texts(), TTexts{"You cannot take a form offline while running"});
    ExperimentRunning = false;
    EXPECT_TRUE(form->IsLive());
    EXPECT_EQ(output->GetOutputForm(), form);
    EXPECT_EQ(Opened->List().Count(), taken);

    Dialogs.ClearCalls();
    Click(window, "OffLine");
    EXPECT_TRUE(Dialogs.Texts().empty());
    ++taken;
    ASSERT_EQ(Opened->List().Count(), taken);
    EXPECT_EQ(Opened->List().GetForm(taken - 1), form);
    EXPECT_FALSE(form->IsLive());
    EXPECT_EQ(form->GetDeadOutputList(), &Opened->List());
    // The same window, visible, marked inactive in caption and colour.
    EXPECT_EQ(WindowOf(form), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString(kind.Name) + " Inactive");
    EXPECT_EQ(window->palette().color(QPalette::Window), TOutputWindow::InactiveCaptionColor());
    EXPECT_NE(background, TOutputWindow::InactiveCaptionColor());
    emit window->findChild<QMenu*>("Output")->aboutToShow();
    EXPECT_FALSE(Item(window, "OffLine")->isEnabled());
    // Graph and table go on with a new window of their own; text and big number get
    // one when they next need it.
    const bool copies = kind.OutputType == otGRAPH || kind.OutputType == otTABLE;
    EXPECT_EQ(output->HasOutputForm(), copies);
    if (copies) {
      EXPECT_NE(WindowOf(output->GetOutputForm()), nullptr);
      EXPECT_NE(WindowOf(output->GetOutputForm()), window);
    }
  }
  EXPECT_EQ(Entries(), "&1 Text...|&2 Table...|&3 Graph...|&4 Big number...|");
  EXPECT_TRUE(Menu.menuAction()->isEnabled());
}

TEST_F(OutputWindowContractTest, EachKindSavedAndReopenedHoldsTheSameDataAndSettings) {
  for (const TOutputWindowKind& kind : OutputWindowKinds()) {
    SCOPED_TRACE(kind.Name);
    TOutput* output = Filled(kind);
    TOutputForm* form = output->GetOutputForm();
    TOutputWindow* window = WindowOf(form);
    ASSERT_NE(window, nullptr);
    // Fixed with 3 decimals through the Number Format item.
    TModalDialogActor<TNumberFormatForm> actor([](TNumberFormatForm& dialog) {
      ClickControl(dialog, "FixedItem");
      Control<QLineEdit>(dialog, "DecEdit")->setText("3");
      ClickControl(dialog, "Ok");
    });
    window->findChild<QAction*>("NumberFormat")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    EXPECT_EQ(form->GetNumberFormat(), ntFIXED);
    EXPECT_EQ(form->GetDecimalPlaces(), 3);

    // Off-line, so that the file holds what a detached window holds, then saved.
    Click(window, "OffLine");
    const std::string saved = Temp.PathOf(std::string(kind.Name) + ".opt");
    EXPECT_TRUE(SaveAs(window, saved).empty());
    // The file carries the window's data: an empty window of the kind writes less.
    std::unique_ptr<TOutputForm> empty = MakeDetachedForm(kind.OutputType, nullptr);
    empty->SetName(kind.Name);
    empty->SetNumberFormat(ntFIXED, 3);
    ASSERT_TRUE(SaveOutputFile(*empty, Temp.PathOf("empty.opt")));
    EXPECT_NE(Temp.ReadBytes(std::string(kind.Name) + ".opt"), Temp.ReadBytes("empty.opt"));

    // Reopened through the list: a new detached window of the kind, shown.
    TOutputForm* reopened = Opened->List().OpenOutputFile(saved);
    ASSERT_NE(reopened, nullptr);
    EXPECT_NE(reopened, form);
    EXPECT_EQ(reopened->GetOutputType(), kind.OutputType);
    EXPECT_EQ(reopened->GetFileName(), saved);
    TOutputWindow* again = WindowOf(reopened);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(again));
    again->RefreshNow();
    EXPECT_EQ(again->windowTitle(), QString(kind.Name) + " Inactive");
    EXPECT_EQ(reopened->GetNumberFormat(), ntFIXED);
    EXPECT_EQ(reopened->GetDecimalPlaces(), 3);
    // Saved again, it writes the same file byte for byte.
    EXPECT_TRUE(SaveAs(again, Temp.PathOf("again.opt")).empty());
    EXPECT_EQ(Temp.ReadBytes("again.opt"), Temp.ReadBytes(std::string(kind.Name) + ".opt"));
  }
  EXPECT_EQ(Opened->List().Count(), 8);
}

TEST_F(OutputWindowContractTest, ClearOutputFromARunsWorkerIsDrawnOnTheMainThread) {
  // A display in front of the window that notes the threads it is called on.
  class TThreadNotingView final : public TOutputView {
  public:
    explicit TThreadNotingView(TOutputWindow& window) : Window(window) {}
    void Changed(TOutputForm& form) override {
      ++Calls;
      if (QThread::currentThread() != QApplication::instance()->thread()) OffMain = true;
      Window.Changed(form);
    }
    void ShowRequested(TOutputForm& form) override { Window.ShowRequested(form); }
    void HideRequested(TOutputForm& form) override { Window.HideRequested(form); }
    bool IsVisible(const TOutputForm& form) const override { return Window.IsVisible(form); }
    void FormDestroyed(TOutputForm& form) override { Window.FormDestroyed(form); }
    TOutputWindow& Window;
    std::atomic<int> Calls{0};
    std::atomic<bool> OffMain{false};
  };

  for (const TOutputWindowKind& kind : OutputWindowKinds()) {
    SCOPED_TRACE(kind.Name);
    TOutput* output = Filled(kind);
    TOutputForm* form = output->GetOutputForm();
    TOutputWindow* window = WindowOf(form);
    ASSERT_NE(window, nullptr);
    EXPECT_GT(Shown(*form), 0);
    TThreadNotingView noting(*window);
    form->SetView(&noting);
    auto* clear = new TClearPlotScript(Cur, NewNode(Cur));
    clear->SetOutput(output);
    ASSERT_TRUE(::RunOnWorker([clear] { clear->Execute(); }));
    form->SetView(window);
    EXPECT_GT(noting.Calls, 0);
    EXPECT_FALSE(noting.OffMain);
    EXPECT_EQ(Shown(*form), 0);
  }
}
