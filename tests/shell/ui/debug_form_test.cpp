// The debug window as a user drives it: Step and Start with the log's colours and the
// selection, stops set with F5, Stop and the red node, the end, traced variables, Stop
// during a long Wait, a data-file folder that disappears (a command's run error, then a
// refused run), the same data files as a normal run, and the Debug Output menu's
// enabling. Close and Escape during a Wait: the main window's debug test.
#include "shell/ui/debug_form.h"

#include <QAction>
#include <QElapsedTimer>
#include <QListWidget>

#include <deque>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

#include "communication/device_list.h"
#include "model/ui/tree_model.h"
#include "model/value.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/flow/increment_script.h"
#include "scripts/flow/label_script.h"
#include "scripts/flow/repeat_script.h"
#include "shell/ui/debug_list_box.h"
#include "shell/ui/node_tree_view.h"
#include "support/debug_fixture.h"
#include "support/sanitized.h"
#include "support/ui/dialog_driver.h"

namespace {

class DebugFormTest : public TDebugFixture {
protected:
  ~DebugFormTest() override { Form.reset(); }

  void Open() {
    Form = std::make_unique<TDebugForm>();
    ASSERT_TRUE(Form->Prepare(Exp, Devices));
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  }
  QToolButton* Button(const char* name) { return Control<QToolButton>(*Form, name); }
  void Click(const char* name) {
    QToolButton* button = Button(name);
    ASSERT_TRUE(button && button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  QAction* Item(const char* name) { return Form->findChild<QAction*>(name); }
  bool WaitPaused() {
    return QTest::qWaitFor([this] { return Button("PauseButton")->isChecked(); }, 10000);
  }
  bool WaitStopped() {
    return QTest::qWaitFor([this] { return Button("StopButton")->isChecked(); }, 10000);
  }
  TTexts LogTexts() { return Texts(Form->Log()); }
  // The list box's row of the line with the text, as drawn: its colour and style.
  QModelIndex Row(const std::string& text) {
    const TTexts texts = LogTexts();
    const auto found = std::find(texts.begin(), texts.end(), text);
    EXPECT_NE(found, texts.end()) << "no log line " << text;
    auto* list = Control<TDebugListBox>(*Form, "DebugListBox");
    return list->model()->index(static_cast<int>(found - texts.begin()), 0);
  }
  QColor RowColour(const std::string& text) { return Row(text).data(Qt::ForegroundRole).value<QColor>(); }
  int RowStyle(const std::string& text) { return Row(text).data(TDebugLogModel::StyleRole).toInt(); }
  TNodeTreeView* CommandView() { return Control<TNodeTreeView>(*Form, "DebugTreeView"); }
  QModelIndex IndexOf(TExperimentObject* object) {
    return CommandView()->TreeModel()->IndexOf(object->DebugNode);
  }
  QColor Background(TExperimentObject* object) {
    return IndexOf(object).data(Qt::BackgroundRole).value<QBrush>().color();
  }
  TTreeNode* SelectedNode() { return CommandView()->SelectedNode(); }
  QAction* DebugOutputItem() { return Form->findChild<QMenu*>("DebugOutputMenu")->actions().first(); }
  // An Output to File of the variable, without stamps.
  TOutputToFileScript* Output(TExperimentFile* file, TData* variable) {
    auto* output = new TOutputToFileScript(Start, NewNode(Start));
    TOutputToFileEntry entry;
    entry.Data = variable;
    output->SetUpFromForm(file, TOutputToFileSettings{}, {entry});
    return output;
  }

  TDeviceList Devices;
  std::unique_ptr<TDebugForm> Form;
};

TEST_F(DebugFormTest, StepStopAndStartLogInColourAndPauseOnTheNextCommandOrAStop) {
  Cmd("A");
  TTracedStub* b = Cmd("B");
  TTracedStub* c = Cmd("C");
  Cmd("D");
  Open();
  EXPECT_EQ(Form->windowTitle(), QString("Debug Experiment"));
  EXPECT_TRUE(Button("StopButton")->isChecked());
  EXPECT_FALSE(Button("PauseButton")->isEnabled());
  EXPECT_FALSE(Item("StopMenuItem")->isEnabled());
  EXPECT_FALSE(Item("PauseMenuItem")->isEnabled());
  EXPECT_TRUE(Item("ScrollOutputMenuItem")->isChecked());
  auto* list = Control<TDebugListBox>(*Form, "DebugListBox");
  Item("ScrollOutputMenuItem")->trigger();
  EXPECT_FALSE(list->GetScrollOutput());
  Item("ScrollOutputMenuItem")->trigger();
  EXPECT_TRUE(list->GetScrollOutput());
  // The log's items wait for lines (copy, save and print: the menu's own test).
  EXPECT_FALSE(DebugOutputItem()->isEnabled());

  Click("StepButton");
  ASSERT_TRUE(WaitPaused());
  EXPECT_EQ(Ran, TTexts{"A"});
  EXPECT_EQ(LogTexts(), (TTexts{"Start Block", "A", "A did", "A done"}));
  EXPECT_EQ(list->model()->rowCount(), 4);
  EXPECT_EQ(RowColour("Start Block"), QColor("#0000FF"));
  EXPECT_EQ(RowStyle("Start Block"), 2);  // underlined
  EXPECT_EQ(RowColour("A"), QColor("#008000"));
  EXPECT_EQ(RowStyle("A"), -1);
  EXPECT_EQ(RowColour("A did"), QColor("#000000"));
  EXPECT_EQ(RowStyle("A did"), 1);  // italic
  // Paused: the second command is selected, and drawn as the next one.
  EXPECT_EQ(SelectedNode(), b->DebugNode);
  EXPECT_TRUE(IndexOf(b).data(TTreeModel::MarksRole).toUInt() & nmPaused);
  EXPECT_TRUE(Button("StartButton")->isEnabled());
  EXPECT_TRUE(Item("StartMenuItem")->isEnabled());
  EXPECT_TRUE(DebugOutputItem()->isEnabled());

  Click("StepButton");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Ran.size() == 2 && SelectedNode() == c->DebugNode; }));
  QTest::qWait(150);  // no further tick comes
  EXPECT_EQ(Ran, (TTexts{"A", "B"}));
  EXPECT_EQ(LogTexts(), (TTexts{"Start Block", "A", "A did", "A done", "B", "B did", "B done"}));

  Click("StopButton");
  EXPECT_EQ(LogTexts().back(), "Experiment Aborted");
  EXPECT_EQ(RowColour("Experiment Aborted"), QColor("#FF0000"));
  EXPECT_EQ(RowStyle("Experiment Aborted"), 0);  // bold
  EXPECT_EQ(Background(c), QColor("#FF0000"));
  EXPECT_TRUE(Button("StopButton")->isChecked());
  EXPECT_FALSE(Button("PauseButton")->isEnabled());

  // A stop (F5) on the third command: its image, and the pop-up offers to remove it.
  CommandView()->setFocus();
  Form->Engine().GetDebugTree()->GetTree().SetSelected(c->DebugNode);
  QTest::keyClick(CommandView(), Qt::Key_F5);
  EXPECT_EQ(c->DebugNode->GetImageIndex(), 3);
  EXPECT_FALSE(IndexOf(c).data(Qt::DecorationRole).value<QIcon>().isNull());
  Form->UpdateDebugPopup();
  EXPECT_EQ(Item("AddStopItem")->text(), QString("Remove Stop"));
  EXPECT_TRUE(Item("CommentOutItem")->isVisible());
  EXPECT_EQ(Item("CommentOutItem")->text(), QString("Comment Out"));
  // Blocks have no items.
  Form->Engine().GetDebugTree()->GetTree().SetSelected(Start->DebugNode);
  Form->UpdateDebugPopup();
  EXPECT_FALSE(Item("AddStopItem")->isVisible());
  EXPECT_FALSE(Item("DebugEditItem")->isVisible());

  // Start is a new run, unmarked, that runs two commands and pauses on the stop; then on
  // to the end.
  Ran.clear();
  Click("StartButton");
  EXPECT_EQ(IndexOf(c).data(Qt::BackgroundRole).value<QBrush>(), QBrush());
  ASSERT_TRUE(WaitPaused());
  EXPECT_EQ(LogTexts().front(), "Start Block");
  EXPECT_EQ(Ran, (TTexts{"A", "B"}));
  EXPECT_EQ(SelectedNode(), c->DebugNode);
  Item("StartMenuItem")->trigger();
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(Ran, (TTexts{"A", "B", "C", "D"}));
  EXPECT_EQ(LogTexts().back(), "Experiment Finished");
  EXPECT_EQ(RowColour("Experiment Finished"), QColor("#000080"));
  EXPECT_EQ(RowStyle("Experiment Finished"), 0);
}

TEST_F(DebugFormTest, ATracedVariableShowsThreeNewValuesThroughALoopOfThree) {
  TDataSingle* count = Single(Start, "n", eatINTEGER, "0");
  TLabelScript* label = Label("Loop");
  TIncrementScript* increment = Increment(count, "1", label);
  Repeat(label, 3);
  Open();
  Form->UpdateTracePopup();
  EXPECT_FALSE(Item("ClearAllTracesItem")->isEnabled());
  TTreeMirror* attributes = Form->Engine().GetAttributeTree();
  TTreeNode* node = attributes->CopyOf(count->AExpAttNode);
  ASSERT_NE(node, nullptr);
  attributes->GetTree().SetSelected(node);
  Form->UpdateAttributePopup();
  EXPECT_TRUE(Item("TraceItem")->isVisible());
  EXPECT_EQ(Item("TraceItem")->text(), QString("Trace"));
  EXPECT_FALSE(Item("ShowItem")->isVisible());
  Item("TraceItem")->trigger();
  Form->UpdateAttributePopup();
  EXPECT_EQ(Item("TraceItem")->text(), QString("Remove Trace"));
  auto* attributeView = Control<TNodeTreeView>(*Form, "AttributeDebugView");
  EXPECT_TRUE(attributeView->TreeModel()->IndexOf(node).data(Qt::FontRole).value<QFont>().italic());
  Form->UpdateTracePopup();
  EXPECT_TRUE(Item("ClearAllTracesItem")->isEnabled());

  Click("StartButton");
  ASSERT_TRUE(WaitStopped());
  auto* traces = Control<QListWidget>(*Form, "TraceListBox");
  ASSERT_EQ(traces->count(), 3);
  const std::string tail = ": " + increment->GetText();
  EXPECT_EQ(traces->item(0)->text().toStdString(), "n New value 3" + tail);
  EXPECT_EQ(traces->item(1)->text().toStdString(), "n New value 2" + tail);
  EXPECT_EQ(traces->item(2)->text().toStdString(), "n New value 1" + tail);

  Item("ClearAllTracesItem")->trigger();
  Form->UpdateTracePopup();
  EXPECT_FALSE(Item("ClearAllTracesItem")->isEnabled());
  EXPECT_EQ(traces->count(), 3);  // the lines stay until Clear View
  Item("ClearViewItem")->trigger();
  EXPECT_EQ(traces->count(), 0);

  // Traced again, a second run's lines come in at the top as the engine holds them.
  Form->UpdateAttributePopup();
  Item("TraceItem")->trigger();
  Click("StartButton");
  ASSERT_TRUE(WaitStopped());
  const std::deque<std::string>& lines = Form->Engine().GetTraces().Lines();
  ASSERT_EQ(lines.size(), 3u);
  ASSERT_EQ(traces->count(), 3);
  for (int row = 0; row < traces->count(); ++row)
    EXPECT_EQ(traces->item(row)->text().toStdString(), lines[static_cast<std::size_t>(row)]);
  EXPECT_EQ(traces->item(0)->text().toStdString(), "n New value 3" + tail);
}

TEST_F(DebugFormTest, StopDuringALongWaitEndsItWithinItsSlice) {
  TWaitScript* wait = Wait(5000);
  Cmd("After");
  Open();
  const long long limit = Sanitized() ? 2000 : 600;
  QElapsedTimer clock;
  qint64 stopAt = -1;
  Click("StartButton");
  clock.start();
  // The user clicks Stop 300 ms into the Wait; the window serves it between slices.
  QTimer::singleShot(300, Form.get(), [&] {
    stopAt = 300;
    QTest::mouseClick(Button("StopButton"), Qt::LeftButton);
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Form->Engine().IsRunActive() && stopAt > 0; }, 10000));
  EXPECT_LE(clock.elapsed() - stopAt, limit);
  EXPECT_EQ(Times(LogTexts(), "Slept 5000ms"), 0);
  EXPECT_EQ(LogTexts().back(), "Experiment Aborted");
  EXPECT_EQ(Background(wait), QColor("#FF0000"));
  EXPECT_EQ(Ran, TTexts{});

  // The next Start begins a new run.
  TWaitScript::SetSleeper([](std::int32_t) {});
  Click("StartButton");
  EXPECT_EQ(LogTexts().front(), "Start Block");
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(LogTexts().front(), "Start Block");
  EXPECT_EQ(Times(LogTexts(), "Start Block"), 1);
  EXPECT_EQ(Ran, TTexts{"After"});
}

TEST_F(DebugFormTest, AFolderRemovedWhilePausedLogsTheWriteErrorAndAborts) {
  const std::filesystem::path folder = Temp.Path() / "data";
  std::filesystem::create_directories(folder);
  TSingleExpFileRequest request;
  request.FileName = (folder / "out.txt").string();
  request.CloseBetweenWrites = true;
  TSingleExpFile* file = Exp.GetSingleExpFileList()->Create(request);
  TDataSingle* count = Single(Start, "n", eatINTEGER, "0");
  Increment(count);
  Output(file, count);
  Increment(count);
  TOutputToFileScript* second = Output(file, count);
  Open();
  for (int step = 0; step < 3; ++step) {
    Click("StepButton");
    ASSERT_TRUE(WaitPaused());
  }
  ASSERT_EQ(SelectedNode(), second->DebugNode);
  std::filesystem::remove_all(folder);
  Click("StartButton");
  ASSERT_TRUE(WaitStopped());
  const TTexts texts = LogTexts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[texts.size() - 3], second->GetText());
  EXPECT_EQ(RowColour(texts[texts.size() - 2]), QColor("#FF0000"));
  EXPECT_EQ(RowStyle(texts[texts.size() - 2]), 0);
  EXPECT_EQ(texts.back(), "Experiment Aborted");
  EXPECT_EQ(Background(second), QColor("#FF0000"));
  // The window stays usable: a new run with the folder back writes both lines.
  std::filesystem::create_directories(folder);
  Click("StartButton");
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(LogTexts().back(), "Experiment Finished");
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(Temp.ReadBytes("data/out.txt"), (TBytes{'1', '\r', '\n', '2', '\r', '\n'}));
  // A run the preparation refuses (the folder gone) leaves the window idle with the
  // check's message.
  std::filesystem::remove_all(folder);
  Ui.Clear();
  Click("StartButton");
  EXPECT_TRUE(Button("StopButton")->isChecked());
  EXPECT_FALSE(Form->RunTimer().isActive());
  ASSERT_EQ(Ui.Texts().size(), 1u);
  EXPECT_NE(Ui.Texts()[0].find("does not exist"), std::string::npos) << Ui.Texts()[0];
}

TEST_F(DebugFormTest, ADebugRunWritesWhatANormalRunWritesAndMovesTheFileNumberOn) {
  TMultiExpFileRequest request;
  request.List = Exp.GetMultiExpFileList();
  request.Directory = Temp.Path().string();
  request.BaseName = "run";
  request.Extension = "txt";
  request.Mode = mfMAKENEW;
  request.CloseBetweenWrites = false;
  TMultiExpFile* file = Exp.GetMultiExpFileList()->Create(request);
  TDataSingle* count = Single(Start, "n", eatINTEGER, "0");
  for (int i = 0; i < 3; ++i) {
    Increment(count);
    Output(file, count);
  }
  // A normal run on the worker, ended as the main window ends it.
  TBlock* first = StartRun();
  ASSERT_EQ(first, Start);
  RunOnWorker(first);
  Exp.ResetOutputsAndFiles();
  Exp.SelectFirstBlock();
  EXPECT_EQ(file->GetStartIndex(), 0);
  const TBytes normal = Temp.ReadBytes("run_0.txt");
  ASSERT_FALSE(normal.empty());

  count->ResetValue();
  Open();
  Click("StartButton");
  ASSERT_TRUE(WaitStopped());
  EXPECT_EQ(LogTexts().back(), "Experiment Finished");
  // Closed at the end, complete, in the next numbered file, as a second normal run would.
  EXPECT_FALSE(file->IsOpen());
  EXPECT_EQ(file->GetStartIndex(), 1);
  EXPECT_EQ(Temp.ReadBytes("run_1.txt"), normal);
  EXPECT_EQ(Temp.ReadBytes("run_0.txt"), normal);
}

}  // namespace
