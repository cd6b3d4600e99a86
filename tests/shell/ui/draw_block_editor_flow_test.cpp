// The block-diagram editor in the main window, building an experiment's flow with the
// mouse: lines that give next blocks and Decisions, Add Block's place and caption, the
// path check at Start, the pop-up's items by place (with the block items handed to the
// window), bends, Align on a multiselection, the block dialog through "Edit", a
// diagram that comes back from its file as it was drawn, and the diagram during a run.
#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "main_window_steps.h"
#include "model/block.h"
#include "model/experiment.h"
#include "scripts/flow/dec_script.h"
#include "shell/draw_parts.h"
#include "shell/ui/align_blocks_dialog.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/draw_block_editor.h"
#include "shell/ui/edit_block_dialog.h"
#include "shell/ui/shell_dialogs.h"
#include "support/fake_ui_port.h"
#include "support/ui/dialog_driver.h"

namespace {

QPoint Centre(const TDrawBlock* box) { return {box->GetCenter().X, box->GetCenter().Y}; }

QPoint Middle(const TDrawLine* line) {
  const TPoint a = line->GetStartPoint(), b = line->GetEndPoint();
  return {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}

class DrawBlockEditorFlowTest : public TWindowStepsTest {
protected:
  void SetUp() override {
    StartQorv();
    Editor = Window->BlockEditor();
    Editor->window()->activateWindow();
  }
  void TearDown() override { Port.SetDialogRegistry(nullptr); }

  // The block dialog as the application registers it, until the test ends.
  void UseBlockDialog() {
    RegisterShellDialogs(Registry);
    Port.SetDialogRegistry(&Registry);
  }

  TDrawParts& Parts() { return Window->Session().GetDrawParts(); }
  TExperiment& Experiment() { return Window->Session().GetExperiment(); }
  TDrawBlock* Box(int index) { return dynamic_cast<TDrawBlock*>(Parts().GetPart(index)); }
  TDrawLine* LastLine() { return dynamic_cast<TDrawLine*>(Parts().GetPart(Parts().Count() - 1)); }
  QAction* Item(const char* name) { return Editor->PopupMenu()->findChild<QAction*>(name); }

  // A right click at the point, then the pop-up prepared as it opens.
  void OpenPopup(QPoint point) {
    QTest::mouseClick(Editor, Qt::RightButton, {}, point);
    Editor->PopupMenu()->hide();
    Editor->PopupPopupMenu();
  }
  // The names of the pop-up's visible items.
  std::vector<std::string> Visible() {
    std::vector<std::string> names;
    for (QAction* item : Editor->PopupMenu()->actions())
      if (item->isVisible() && !item->isSeparator()) names.push_back(item->objectName().toStdString());
    return names;
  }
  // "Block" of "&New" with the pointer outside the editor; the box then moved.
  TDrawBlock* AddBlockAt(TPoint position) {
    QCursor::setPos(Editor->mapToGlobal(QPoint(-300, -300)));
    const int before = Parts().Count();
    Trigger("NewBlockMenuItem");
    EXPECT_EQ(Parts().Count(), before + 1);
    TDrawBlock* box = Box(before);
    EXPECT_EQ(box->GetPosition(), (TPoint{0, 0}));
    EXPECT_EQ(box->GetCaption(), "Block " + std::to_string(before));
    box->SetPosition(position);
    Editor->Redraw();
    return box;
  }
  TDrawLine* Connect(TDrawBlock* from, TDrawBlock* to) {
    OpenPopup(Centre(from));
    EXPECT_TRUE(Item("ConnectItem")->isEnabled());
    // Chosen with the mouse over the source; the line is dragged to the target and dropped.
    QCursor::setPos(Editor->mapToGlobal(Centre(from)));
    Item("ConnectItem")->trigger();
    QTest::mouseMove(Editor, Centre(to));
    QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(to));
    TDrawLine* line = LastLine();
    EXPECT_TRUE(line && line->GetBlock1() == from && line->GetBlock2() == to);
    return line;
  }
  // Pressed at one point, moved past the threshold and released at the other.
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(Editor, Qt::LeftButton, {}, from);
    QTest::mouseMove(Editor, from + (to - from) / 2);
    QTest::mouseMove(Editor, to);
    QTest::mouseRelease(Editor, Qt::LeftButton, {}, to);
  }
  // Start, until the worker has set the running flag.
  void StartRun() {
    Trigger("StartButton");
    ASSERT_TRUE(WaitUntil([] { return ExperimentRunning.load(); }, 10000)) << "no run began";
  }
  void StopRun() {
    Dialogs.ScriptAnswers({mbOK});  // "Aborted"
    Trigger("StopButton");
    ASSERT_TRUE(WaitUntil([&] { return Panel(TQorvForm::spRunState) == "Stopped"; }, 20000));
  }
  void DeleteLine(TDrawLine* line) {
    OpenPopup(Middle(line));
    ASSERT_TRUE(line->IsSelected());
    Item("DeleteItem")->trigger();
  }

  TDrawBlockEditor* Editor = nullptr;
  TDialogRegistry Registry;
};

TEST_F(DrawBlockEditorFlowTest, ASecondLineMakesADecisionThatDeletingEitherLineUndoes) {
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  // In a diagram of one box there is nothing to connect to.
  OpenPopup(Centre(start));
  EXPECT_TRUE(Item("ConnectItem")->isVisible());
  EXPECT_FALSE(Item("ConnectItem")->isEnabled());

  TDrawBlock* one = AddBlockAt({260, 20});
  TBlock* s = start->GetBlock();
  TDrawLine* toOne = Connect(start, one);
  EXPECT_EQ(s->GetNextBlock(), one->GetBlock());
  EXPECT_EQ(s->GetDecScript(), nullptr);
  // Counted with the line: Start Block, Block 1, one line.
  TDrawBlock* three = AddBlockAt({260, 220});
  EXPECT_EQ(three->GetCaption(), "Block 3");

  Connect(start, three);
  TDecScript* decision = s->GetDecScript();
  ASSERT_NE(decision, nullptr);
  EXPECT_EQ(decision->AExpNode->GetParent(), s->AExpNode);
  EXPECT_EQ(s->AExpNode->Count(), 2);  // the Decision and the blank line
  // Two outgoing lines: no third.
  OpenPopup(Centre(start));
  EXPECT_FALSE(Item("ConnectItem")->isEnabled());

  DeleteLine(toOne);
  EXPECT_EQ(s->GetDecScript(), nullptr);
  EXPECT_EQ(s->GetNextBlock(), three->GetBlock());
  EXPECT_EQ(s->AExpNode->Count(), 1);  // the blank line

  // Again, deleting the other line this time.
  Connect(start, one);
  ASSERT_NE(s->GetDecScript(), nullptr);
  TDrawLine* toThree = nullptr;
  for (TDrawLine* line : start->GetLines())
    if (line->GetBlock2() == three) toThree = line;
  ASSERT_NE(toThree, nullptr);
  DeleteLine(toThree);
  EXPECT_EQ(s->GetDecScript(), nullptr);
  EXPECT_EQ(s->GetNextBlock(), one->GetBlock());
}

TEST_F(DrawBlockEditorFlowTest, ABlockWithoutAPathToItStopsStartWithItsName) {
  Box(0)->SetPosition({20, 20});
  AddBlockAt({260, 20});
  Dialogs.ScriptAnswers({mbOK});
  Trigger("StartButton");
  ASSERT_TRUE(WaitUntil([&] { return !Dialogs.Texts().empty(); }));
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Error: Block Block 1 has no paths to it."}));
  EXPECT_FALSE(IsRunActive());
  EXPECT_EQ(Panel(TQorvForm::spRunState), QString("Stopped"));
  EXPECT_TRUE(Action("StartButton")->isEnabled());
  EXPECT_FALSE(Action("StopButton")->isEnabled());
}

TEST_F(DrawBlockEditorFlowTest, ThePopUpOffersItsItemsByPlaceAndHandsBlockFilesToTheWindow) {
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  TDrawBlock* one = AddBlockAt({260, 20});
  TDrawLine* line = Connect(start, one);
  using Names = std::vector<std::string>;

  OpenPopup({500, 300});
  EXPECT_EQ(Visible(), (Names{"AddBlockItem", "OpenBlockItem"}));
  OpenPopup(Middle(line));
  EXPECT_EQ(Visible(), (Names{"DeleteItem"}));
  OpenPopup(Centre(one));
  EXPECT_EQ(Visible(), (Names{"ConnectItem", "EditItem", "DeleteItem", "SetAsStartItem",
                              "SaveBlockItem", "SaveAsBlockItem"}));
  EXPECT_FALSE(Item("SetAsStartItem")->isChecked());
  OpenPopup(Centre(start));
  EXPECT_TRUE(Item("SetAsStartItem")->isChecked());
  // A multiselection: only Align, even on a right click over one of its boxes.
  QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(one));
  OpenPopup(Centre(one));
  EXPECT_EQ(Visible(), (Names{"AlignBlocksItem"}));
  QTest::mouseClick(Editor, Qt::LeftButton, {}, QPoint(500, 300));

  // Save As of the block under the menu, then Open Block where the menu was opened.
  const std::string blockFile = Temp.PathOf("one.blk");
  OpenPopup(Centre(one));
  Dialogs.ScriptAnswers({mbYes});
  Dialogs.ScriptFiles({blockFile});
  Item("SaveAsBlockItem")->trigger();
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Save Block Block 1?"}));
  OpenPopup({420, 250});
  Dialogs.ScriptFiles({blockFile});
  Item("OpenBlockItem")->trigger();
  ASSERT_EQ(Parts().Count(), 4);
  EXPECT_EQ(Box(3)->GetPosition(), (TPoint{420, 250}));
  EXPECT_EQ(Box(3)->GetCaption(), "Block 1");

  // During a run the items that change the experiment wait; Align does not.
  ExperimentRunning = true;
  OpenPopup(Centre(one));
  for (const char* name : {"ConnectItem", "EditItem", "DeleteItem", "SetAsStartItem",
                           "SaveBlockItem", "SaveAsBlockItem"})
    EXPECT_FALSE(Item(name)->isEnabled()) << name;
  OpenPopup({500, 300});
  EXPECT_FALSE(Item("AddBlockItem")->isEnabled());
  EXPECT_FALSE(Item("OpenBlockItem")->isEnabled());
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(start));
  QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(one));
  OpenPopup(Centre(one));
  EXPECT_TRUE(Item("AlignBlocksItem")->isEnabled());
  ExperimentRunning = false;
}

// A bend added by dragging a line, moved, then dragged back onto the straight line,
// which takes it out; a double click on a line opens nothing and drags a bend.
TEST_F(DrawBlockEditorFlowTest, BendsAreAddedMovedAndTakenOutByDragging) {
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  TDrawBlock* one = AddBlockAt({300, 20});
  TDrawLine* line = Connect(start, one);

  const QPoint middle = Middle(line);
  const QPoint bend = middle + QPoint(0, 120);
  auto drag = [&](QPoint from, QPoint to) {
    QTest::mousePress(Editor, Qt::LeftButton, {}, from);
    QTest::mouseMove(Editor, from + (to - from) / 2);
    QTest::mouseMove(Editor, to);
    QTest::mouseRelease(Editor, Qt::LeftButton, {}, to);
  };
  drag(middle, bend);
  ASSERT_EQ(line->GetPoints().size(), 3u);
  EXPECT_EQ(line->GetPoints()[1], (TPoint{bend.x(), bend.y()}));
  const QPoint moved = bend + QPoint(30, 20);
  drag(bend, moved);
  ASSERT_EQ(line->GetPoints().size(), 3u);
  EXPECT_EQ(line->GetPoints()[1], (TPoint{moved.x(), moved.y()}));
  // Back between the two centres: the line is straight again.
  const TPoint a = start->GetCenter(), b = one->GetCenter();
  drag(moved, QPoint((a.X + b.X) / 2, (a.Y + b.Y) / 2));
  EXPECT_EQ(line->GetPoints().size(), 2u);

  // A double click on the line: the press that follows it drags a bend, nothing opens.
  TFakeUiPort fake;
  int dialogs = 0;
  fake.SetDialogHandler([&](TDialogRequest&) { return ++dialogs, 0; });
  QTest::mouseClick(Editor, Qt::LeftButton, {}, middle);
  QMouseEvent twice(QEvent::MouseButtonDblClick, middle, Editor->mapToGlobal(middle),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Editor, &twice);
  // The button stays down while the mouse moves.
  for (const QPoint point : {middle + QPoint(0, 40), bend}) {
    QMouseEvent move(QEvent::MouseMove, point, Editor->mapToGlobal(point), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Editor, &move);
  }
  QMouseEvent release(QEvent::MouseButtonRelease, bend, Editor->mapToGlobal(bend),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(Editor, &release);
  EXPECT_TRUE(line->IsSelected());
  EXPECT_EQ(line->GetPoints().size(), 3u);
  EXPECT_EQ(dialogs, 0);
}

TEST_F(DrawBlockEditorFlowTest, TheDiagramComesBackFromItsFileAsItWasDrawn) {
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  TDrawBlock* one = AddBlockAt({300, 20});
  TDrawBlock* two = AddBlockAt({300, 260});
  // (A Decision is saved only with its condition, which its own dialog sets.)
  TDrawLine* bent = Connect(start, two);
  const QPoint bend(60, 320);
  QTest::mousePress(Editor, Qt::LeftButton, {}, Middle(bent));
  QTest::mouseMove(Editor, Middle(bent) + QPoint(-20, 20));
  QTest::mouseMove(Editor, bend);
  QTest::mouseRelease(Editor, Qt::LeftButton, {}, bend);
  Connect(two, one);
  QImage red(32, 32, QImage::Format_ARGB32);
  red.fill(Qt::red);
  const std::string icon = Temp.PathOf("red.png");
  ASSERT_TRUE(red.save(QString::fromStdString(icon)));
  one->SetIconFile(icon);
  ASSERT_EQ(bent->GetPoints().size(), 3u);

  struct TDrawn {
    int Type;
    std::string Caption;  // a box's; a line's two boxes
    TPoint Position;
    std::vector<TPoint> Points;
    bool operator==(const TDrawn&) const = default;
  };
  auto drawn = [&] {
    std::vector<TDrawn> parts;
    for (int i = 0; i < Parts().Count(); ++i) {
      TDrawPart* part = Parts().GetPart(i);
      if (auto* box = dynamic_cast<TDrawBlock*>(part))
        parts.push_back({0, box->GetCaption() + "|" + box->GetIconFile(), box->GetPosition(), {}});
      else if (auto* line = dynamic_cast<TDrawLine*>(part))
        parts.push_back({1, line->GetBlock1()->GetCaption() + ">" + line->GetBlock2()->GetCaption(),
                         line->GetEndPoint(), line->GetPoints()});
    }
    return parts;
  };
  const std::vector<TDrawn> before = drawn();
  const std::string path = Temp.PathOf("flow.qve");
  ASSERT_TRUE(Window->Session().SaveExperimentFile(path));
  ASSERT_TRUE(Window->Session().NewExperimentClick(false));
  ASSERT_TRUE(Window->Session().OpenExperimentFile(path));
  ASSERT_EQ(Parts().Count(), static_cast<int>(before.size()));
  EXPECT_TRUE(drawn() == before);
  EXPECT_EQ(Box(0)->GetBlock()->GetNextBlock(), Box(2)->GetBlock());
  EXPECT_EQ(Box(2)->GetBlock()->GetNextBlock(), Box(1)->GetBlock());
  // Every arrowhead is painted again where the core puts it.
  const QImage image = Editor->grab().toImage();
  for (int i = 0; i < Parts().Count(); ++i)
    if (auto* line = dynamic_cast<TDrawLine*>(Parts().GetPart(i))) {
      const TPoint tip = line->GetEndPoint(), base = line->GetArrowBase();
      const TPoint wing = line->GetArrowWing1();
      EXPECT_EQ(image.pixelColor((tip.X + base.X + wing.X) / 3, (tip.Y + base.Y + wing.Y) / 3),
                QColor(Qt::black))
          << i;
    }
}

}  // namespace

// Align lines the multiselection up with the box selected first, one choice at a time;
// every showing of the dialog starts from "No Change".
TEST_F(DrawBlockEditorFlowTest, AlignLinesTheMultiselectionUpWithItsFirstBox) {
  TDrawBlock* start = Box(0);
  start->SetPosition({40, 20});
  TDrawBlock* one = AddBlockAt({260, 20});
  TDrawBlock* two = AddBlockAt({420, 250});
  // Ctrl+click on the boxes in order, the pop-up over the last, Align with the choices.
  auto align = [&](std::vector<TDrawBlock*> boxes, std::vector<const char*> choices) {
    QTest::mouseClick(Editor, Qt::LeftButton, {}, QPoint(5, 380));  // empty: clears it
    for (TDrawBlock* box : boxes)
      QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(box));
    ASSERT_EQ(Parts().GetMultiSelection().size(), boxes.size());
    OpenPopup(Centre(boxes.back()));
    ASSERT_EQ(Visible(), (std::vector<std::string>{"AlignBlocksItem"}));
    bool fresh = false;
    TModalDialogActor<TAlignBlocksForm> actor([&](TAlignBlocksForm& form) {
      fresh = form.Horizontal() == 0 && form.Vertical() == 0;
      for (const char* choice : choices) ClickControl(form, choice);
      ClickControl(form, "OK");
    });
    Item("AlignBlocksItem")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
    EXPECT_TRUE(fresh) << "both groups on No Change";
  };

  // Tops: Block 2 rises to Block 1's top and keeps its left side.
  align({one, two}, {"VertTops"});
  EXPECT_EQ(two->GetPosition(), (TPoint{420, 20}));
  EXPECT_EQ(one->GetPosition(), (TPoint{260, 20}));
  EXPECT_EQ(start->GetPosition(), (TPoint{40, 20}));

  // Left Sides, with Block 2 selected first: Block 1 moves under it, not the other way.
  two->SetPosition({420, 250});
  align({two, one}, {"HortLeftSides"});
  EXPECT_EQ(one->GetPosition(), (TPoint{420, 20}));
  EXPECT_EQ(two->GetPosition(), (TPoint{420, 250}));

  // Centers on a box at the left edge: Block 2 (as wide) comes to x 0; the start block,
  // wider, would go left of the edge and stays where it is.
  one->SetPosition({0, 150});
  two->SetPosition({300, 250});
  Editor->Redraw();
  ASSERT_EQ(two->GetWidth(), one->GetWidth());
  ASSERT_GT(start->GetWidth(), one->GetWidth());
  align({one, two, start}, {"HortCenters"});
  EXPECT_EQ(two->GetPosition(), (TPoint{0, 250}));
  EXPECT_EQ(one->GetPosition(), (TPoint{0, 150}));
  EXPECT_EQ(start->GetPosition(), (TPoint{40, 20}));

  // One box has nothing to line up with.
  Dialogs.ScriptAnswers({mbOK});
  align({two}, {"VertTops", "HortLeftSides"});
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Nothing to align"}));
  EXPECT_EQ(two->GetPosition(), (TPoint{0, 250}));
}

// "Edit" opens the block dialog for the box the pop-up was opened over.
TEST_F(DrawBlockEditorFlowTest, EditOpensTheBlockDialogOfTheBoxUnderThePopUp) {
  UseBlockDialog();
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  TDrawBlock* one = AddBlockAt({260, 20});

  // The start block stays the start block: its "Set As Start" is checked and disabled.
  OpenPopup(Centre(start));
  ASSERT_TRUE(Item("EditItem")->isVisible() && Item("EditItem")->isEnabled());
  bool checked = false, enabled = true;
  QString title;
  {
    TModalDialogActor<TEditBlockForm> actor([&](TEditBlockForm& form) {
      checked = Control<QCheckBox>(form, "SetAsStartBox")->isChecked();
      enabled = Control<QCheckBox>(form, "SetAsStartBox")->isEnabled();
      title = Control<QLineEdit>(form, "BlockEdit")->text();
      ClickControl(form, "Cancel");
    });
    Item("EditItem")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(title, "Start Block");
  EXPECT_TRUE(checked);
  EXPECT_FALSE(enabled);

  // Block 1: an empty title is refused and the dialog stays; then the new title is taken.
  OpenPopup(Centre(one));
  Dialogs.ScriptAnswers({mbOK});
  bool stayed = false;
  {
    TModalDialogActor<TEditBlockForm> actor([&](TEditBlockForm& form) {
      auto* edit = Control<QLineEdit>(form, "BlockEdit");
      EXPECT_EQ(edit->text(), "Block 1");
      EXPECT_FALSE(Control<QCheckBox>(form, "SetAsStartBox")->isChecked());
      EXPECT_TRUE(Control<QCheckBox>(form, "SetAsStartBox")->isEnabled());
      edit->clear();
      ClickControl(form, "Ok");
      stayed = form.isVisible();
      QTest::keyClicks(edit, "Heating");
      ClickControl(form, "Ok");
    });
    Item("EditItem")->trigger();
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"You must enter a title"}));
  EXPECT_TRUE(stayed);
  EXPECT_EQ(one->GetBlock()->GetTitle(), "Heating");
  EXPECT_EQ(one->GetCaption(), "Heating");
  EXPECT_FALSE(one->GetBlock()->IsStartBlock());
  EXPECT_TRUE(start->GetBlock()->IsStartBlock());
}

// The layout is saved with the experiment: a box moved, a bend dragged and an Align
// during a run mark it modified as they do when stopped, so that closing after the run
// asks to save it and the layout comes back from the file.
TEST_F(DrawBlockEditorFlowTest, TheLayoutChangedDuringARunIsMarkedAndSaved) {
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  TDrawBlock* one = AddBlockAt({300, 20});
  TDrawLine* line = Connect(start, one);
  AddWait(600000);  // a run that lasts until it is stopped
  const std::string path = Temp.PathOf("layout.qve");
  ASSERT_TRUE(Window->Session().SaveExperimentFile(path));
  StartRun();
  ASSERT_TRUE(Panel(TQorvForm::spModified).isEmpty());

  Drag(Centre(one), Centre(one) + QPoint(0, 100));
  EXPECT_EQ(one->GetPosition(), (TPoint{300, 120}));
  EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified")) << "box moved";
  Window->Session().ExperimentChanged(0, 1);

  const QPoint bend = Middle(line) + QPoint(0, 150);
  Drag(Middle(line), bend);
  ASSERT_EQ(line->GetPoints().size(), 3u);
  EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified")) << "bend dragged";
  Window->Session().ExperimentChanged(0, 1);

  QTest::mouseClick(Editor, Qt::LeftButton, {}, QPoint(5, 380));
  QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(start));
  QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(one));
  OpenPopup(Centre(one));
  ASSERT_TRUE(Item("AlignBlocksItem")->isEnabled());
  TModalDialogActor<TAlignBlocksForm> actor([](TAlignBlocksForm& form) {
    ClickControl(form, "VertTops");
    ClickControl(form, "OK");
  });
  Item("AlignBlocksItem")->trigger();
  EXPECT_TRUE(actor.Seen);
  EXPECT_EQ(one->GetPosition(), (TPoint{300, 20}));
  EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified")) << "aligned";
  const std::vector<TPoint> bent = line->GetPoints();

  StopRun();
  EXPECT_EQ(Panel(TQorvForm::spModified), QString("Modified"));
  Dialogs.ClearCalls();
  Dialogs.ScriptAnswers({mbYes});
  CloseWindow();
  EXPECT_EQ(Dialogs.Texts(), std::vector<std::string>{SaveQuestion});
  StartQorv(QString::fromStdString(path));
  Editor = Window->BlockEditor();
  ASSERT_EQ(Parts().Count(), 3);
  for (int i = 0; i < Parts().Count(); ++i) {
    TDrawPart* part = Parts().GetPart(i);
    if (auto* box = dynamic_cast<TDrawBlock*>(part); box && box->GetCaption() == "Block 1") {
      EXPECT_EQ(box->GetPosition(), (TPoint{300, 20}));
    } else if (auto* saved = dynamic_cast<TDrawLine*>(part)) {
      EXPECT_EQ(saved->GetPoints(), bent);
    }
  }
}

// A double click on a box during a run shows its block's dialog, which takes no change.
TEST_F(DrawBlockEditorFlowTest, ADoubleClickDuringARunShowsTheBlockWithoutOk) {
  UseBlockDialog();
  TDrawBlock* start = Box(0);
  start->SetPosition({20, 20});
  TDrawBlock* one = AddBlockAt({300, 20});
  Connect(start, one);
  AddWait(600000);
  StartRun();

  bool okEnabled = true, addEnabled = true, cancelEnabled = false, stayed = false;
  QString title;
  {
    TModalDialogActor<TEditBlockForm> actor([&](TEditBlockForm& form) {
      title = Control<QLineEdit>(form, "BlockEdit")->text();
      okEnabled = Control<QPushButton>(form, "Ok")->isEnabled();
      addEnabled = Control<QPushButton>(form, "Add")->isEnabled();
      cancelEnabled = Control<QPushButton>(form, "Cancel")->isEnabled();
      Retype(form, "BlockEdit", "Heating");
      ClickControl(form, "Ok");
      stayed = form.isVisible();
      ClickControl(form, "Cancel");
    });
    QTest::mouseDClick(Editor, Qt::LeftButton, {}, Centre(one));
    EXPECT_TRUE(actor.Seen);
    EXPECT_FALSE(actor.LeftOpen);
  }
  EXPECT_EQ(title, "Block 1");
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(addEnabled);
  EXPECT_TRUE(cancelEnabled);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(one->GetBlock()->GetTitle(), "Block 1");
  EXPECT_TRUE(IsRunActive());
  StopRun();
}
