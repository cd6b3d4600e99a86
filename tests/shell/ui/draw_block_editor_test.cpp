// The block-diagram editor as a user sees and handles it: the boxes, lines and
// arrowheads painted where the core's geometry puts them, the selection outline, a click
// that selects and makes the block current, Ctrl+click multiselection, a box dragged past
// the threshold (with its outline during the drag only), and the editing items with the
// Delete key's pointer rule.
#include "shell/ui/draw_block_editor.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/block.h"
#include "model/experiment.h"
#include "model/experiment_running.h"
#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"
#include "main_window_fixture.h"

namespace {

const QColor Background(Qt::white);
const QColor Face(0xc0, 0xc0, 0xc0);

QColor Inverted(const QColor& colour) {
  return QColor(255 - colour.red(), 255 - colour.green(), 255 - colour.blue());
}

QPoint Centre(const TDrawBlock* box) { return {box->GetCenter().X, box->GetCenter().Y}; }

class DrawBlockEditorTest : public ::testing::Test {
protected:
  DrawBlockEditorTest() {
    Area.resize(600, 400);
    Editor = new TDrawBlockEditor(Area.viewport());
    Area.setWidget(Editor);
    QPalette colours = Editor->palette();
    colours.setColor(QPalette::Window, Background);
    colours.setColor(QPalette::Button, Face);
    Editor->setPalette(colours);
    // The demo's diagram: the start block, a second block, a line between them.
    First = Parts.AddBlock("Measure", {40, 60});
    Experiment.AddBlock(First);
    Second = Parts.AddBlock("Summary", {260, 60});
    Experiment.AddBlock(Second);
    Line = Parts.Connect(First, Second);
    Editor->SetDiagram(&Parts, &Experiment);
    Area.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Area));
    Ui.Clear();
  }
  ~DrawBlockEditorTest() override { Editor->SetDiagram(nullptr, nullptr); }

  QColor Pixel(QPoint point) { return Editor->grab().toImage().pixelColor(point); }

  TFakeUiPort Ui;
  TDrawParts Parts;
  TExperiment Experiment;  // its blocks take their boxes along
  QScrollArea Area;
  TDrawBlockEditor* Editor = nullptr;
  TDrawBlock* First = nullptr;
  TDrawBlock* Second = nullptr;
  TDrawLine* Line = nullptr;
};

TEST_F(DrawBlockEditorTest, PaintsTheBoxesAndTheArrowWhereTheCoreHasThem) {
  // With the same caption the start block is 10 pixels larger each way.
  Second->SetTitle(First->GetCaption());
  EXPECT_TRUE(First->GetBlock()->IsStartBlock());
  EXPECT_EQ(First->GetWidth(), Second->GetWidth() + 10);
  EXPECT_EQ(First->GetHeight(), Second->GetHeight() + 10);

  const QImage image = Editor->grab().toImage();
  for (const TDrawBlock* box : {First, Second}) {
    const TRect r = box->GetRect();
    // The face fills the box up to its last column and row, and no further.
    EXPECT_EQ(image.pixelColor(r.Right - 1, r.Top + 1), Face) << box->GetCaption();
    EXPECT_EQ(image.pixelColor(r.Right, r.Top + 1), Background) << box->GetCaption();
    EXPECT_EQ(image.pixelColor(r.Left + 1, r.Bottom - 1), Face) << box->GetCaption();
    EXPECT_EQ(image.pixelColor(r.Left + 1, r.Bottom), Background) << box->GetCaption();
  }
  // The arrowhead: a black half on the first wing's side, a grey half on the second's.
  const TPoint tip = Line->GetEndPoint(), base = Line->GetArrowBase();
  const TPoint w1 = Line->GetArrowWing1(), w2 = Line->GetArrowWing2();
  EXPECT_EQ(tip.X, Second->GetRect().Left);
  EXPECT_EQ(image.pixelColor((tip.X + base.X + w1.X) / 3, (tip.Y + base.Y + w1.Y) / 3),
            QColor(Qt::black));
  EXPECT_EQ(image.pixelColor((tip.X + base.X + w2.X) / 3, (tip.Y + base.Y + w2.Y) / 3),
            QColor(0x80, 0x80, 0x80));

  // The selected box: a 5-pixel band inside it, inverted.
  Second->SetSelected(true);
  const TRect r = Second->GetRect();
  const QImage selected = Editor->grab().toImage();
  EXPECT_EQ(selected.pixelColor(r.Left, r.Top + 20), Inverted(Face));
  EXPECT_EQ(selected.pixelColor(r.Left + 5, r.Top + 20), Face);
}

TEST_F(DrawBlockEditorTest, GrowsWithTheDiagramButNeverBelowTheVisibleArea) {
  EXPECT_EQ(Editor->size(), Area.viewport()->size());
  Second->SetPosition({900, 700});
  Editor->Redraw();
  EXPECT_EQ(Editor->width(), Second->GetRect().Right + 1);
  EXPECT_EQ(Editor->height(), Second->GetRect().Bottom + 1);
  Area.resize(1200, 1000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Editor->size() == Area.viewport()->size(); }, 10000));
}

TEST_F(DrawBlockEditorTest, AClickSelectsThePartAndMakesItsBlockCurrent) {
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(Second));
  EXPECT_TRUE(Second->IsSelected());
  EXPECT_FALSE(First->IsSelected());
  EXPECT_EQ(Experiment.GetCurrentBlock(), Second->GetBlock());

  // Empty space deselects; the current block stays.
  QTest::mouseClick(Editor, Qt::LeftButton, {}, QPoint(500, 350));
  EXPECT_EQ(Editor->GetSelectedDrawPart(), nullptr);
  EXPECT_EQ(Experiment.GetCurrentBlock(), Second->GetBlock());

  // Ctrl+click gathers boxes, the box selected before first; a plain click ends it.
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(First));
  QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(Second));
  ASSERT_EQ(Parts.GetMultiSelection().size(), 2u);
  EXPECT_EQ(Parts.GetMultiSelection()[0], First);
  // Ctrl with the right button does not toggle, and a right click keeps it.
  QTest::mouseClick(Editor, Qt::RightButton, Qt::ControlModifier, Centre(Second));
  EXPECT_EQ(Parts.GetMultiSelection().size(), 2u);
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(Second));
  EXPECT_FALSE(Parts.HasMultiSelection());
  EXPECT_FALSE(First->IsSelected());
}

TEST_F(DrawBlockEditorTest, ABoxMovesOnlyPastTheThresholdWithItsOutlineDuringTheDrag) {
  const TPoint before = Second->GetPosition();
  const QPoint press = Centre(Second);
  QTest::mousePress(Editor, Qt::LeftButton, {}, press);
  QTest::mouseMove(Editor, press + QPoint(5, 4));  // 9 pixels
  QTest::mouseRelease(Editor, Qt::LeftButton, {}, press + QPoint(5, 4));
  EXPECT_EQ(Second->GetPosition(), before);
  EXPECT_TRUE(Ui.ExperimentChanges().empty());

  const QPoint offset(30, 60);
  QTest::mousePress(Editor, Qt::LeftButton, {}, press);
  QTest::mouseMove(Editor, press + QPoint(10, 20));
  QTest::mouseMove(Editor, press + offset);
  // The outline's right side, beside where the box will stand, inverts the background.
  const QPoint outline(before.X + offset.x() + Second->GetWidth(),
                       before.Y + offset.y() + Second->GetHeight() / 2);
  EXPECT_EQ(Pixel(outline), Inverted(Background));
  EXPECT_EQ(Second->GetPosition(), before);  // nothing moves before the drop
  QTest::mouseRelease(Editor, Qt::LeftButton, {}, press + offset);
  EXPECT_EQ(Second->GetPosition(), (TPoint{before.X + offset.x(), before.Y + offset.y()}));
  EXPECT_EQ(Pixel(outline), Background);
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
  // The line follows the box.
  EXPECT_EQ(Line->GetPoints().back(), Second->GetCenter());

  // A drop outside the editor changes nothing.
  const TPoint moved = Second->GetPosition();
  QTest::mousePress(Editor, Qt::LeftButton, {}, Centre(Second));
  QTest::mouseMove(Editor, QPoint(-40, 20));
  QTest::mouseRelease(Editor, Qt::LeftButton, {}, QPoint(-40, 20));
  EXPECT_EQ(Second->GetPosition(), moved);
}

// Connect is a drag from the box: the rubber line shows only past the threshold counted
// from where the mouse was at "Connect", and only another box takes the drop.
TEST_F(DrawBlockEditorTest, ConnectDragsARubberLineThatOnlyAnotherBoxTakes) {
  QMenu& popup = *Editor->PopupMenu();
  QAction* connectItem = popup.findChild<QAction*>("ConnectItem");
  const QPoint from = Centre(Second);
  // Straight down from Second's centre, well below the box: empty space.
  const QPoint below = from + QPoint(0, 200);
  const QPoint onLine = from + QPoint(0, 150);
  // "Connect" chosen on Second with the mouse at the point.
  auto startConnect = [&](QPoint mouse) {
    QTest::mouseClick(Editor, Qt::RightButton, {}, from);
    Editor->PopupPopupMenu();
    ASSERT_TRUE(connectItem->isVisible() && connectItem->isEnabled());
    QCursor::setPos(Editor->mapToGlobal(mouse));
    connectItem->trigger();
  };
  auto lines = [&] { return Second->GetLines().size(); };
  const auto before = lines();
  const QPoint firstCentre = Centre(First);
  Ui.Clear();

  // The threshold counts from where the mouse was at "Connect": 9 pixels from there onto
  // First is no drag yet, so the release there connects nothing.
  startConnect(firstCentre - QPoint(5, 4));
  QTest::mouseMove(Editor, firstCentre);
  QTest::mouseClick(Editor, Qt::LeftButton, {}, firstCentre);
  EXPECT_EQ(lines(), before);
  EXPECT_EQ(Parts.Count(), 3);

  // Past the threshold the line follows the mouse from the box's centre; a drop on empty
  // space takes it away and connects nothing.
  startConnect(from);
  QTest::mouseMove(Editor, from + QPoint(0, 10));
  QTest::mouseMove(Editor, below);
  EXPECT_EQ(Pixel(onLine), Inverted(Background));
  QTest::mouseClick(Editor, Qt::LeftButton, {}, below);
  EXPECT_EQ(Pixel(onLine), Background);
  EXPECT_EQ(lines(), before);
  EXPECT_EQ(Parts.Count(), 3);

  // A drop back on the source box is refused too.
  startConnect(from);
  QTest::mouseMove(Editor, below);
  QTest::mouseMove(Editor, from + QPoint(3, 3));
  QTest::mouseClick(Editor, Qt::LeftButton, {}, from + QPoint(3, 3));
  EXPECT_EQ(Parts.Count(), 3);

  // Escape ends the drag: the line goes, and a later click on First is a plain click.
  startConnect(from);
  QTest::mouseMove(Editor, below);
  EXPECT_EQ(Pixel(onLine), Inverted(Background));
  QTest::keyClick(Editor, Qt::Key_Escape);
  EXPECT_EQ(Pixel(onLine), Background);
  QTest::mouseMove(Editor, firstCentre);
  QTest::mouseClick(Editor, Qt::LeftButton, {}, firstCentre);
  EXPECT_EQ(Parts.Count(), 3);
  EXPECT_TRUE(First->IsSelected());
  First->SetSelected(false);
  EXPECT_TRUE(Ui.ExperimentChanges().empty());

  // Dragged with the button held from the box and released on First: connected, once.
  startConnect(from);
  QTest::mousePress(Editor, Qt::LeftButton, {}, from);
  QTest::mouseMove(Editor, below, 0);
  QTest::mouseMove(Editor, firstCentre);
  QTest::mouseRelease(Editor, Qt::LeftButton, {}, firstCentre);
  ASSERT_EQ(Parts.Count(), 4);
  const auto* line = dynamic_cast<TDrawLine*>(Parts.GetPart(3));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetBlock1(), Second);
  EXPECT_EQ(line->GetBlock2(), First);
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(Pixel(onLine), Background);
  QTest::mouseMove(Editor, below);
  EXPECT_EQ(Pixel(onLine), Background);  // no line follows the mouse any more
}

// The pop-up's items by place; Connect by a line drawn to another box; Add Block at
// (0, 0) with the pointer outside; Delete by key only with the pointer over the part;
// Set As Start; the changing items refused during a run while a box still moves.
TEST_F(DrawBlockEditorTest, EditsTheDiagramThroughThePopUpAndTheDeleteKey) {
  QMenu& popup = *Editor->PopupMenu();
  auto item = [&](const char* name) { return popup.findChild<QAction*>(name); };
  auto visible = [&](const char* name) { return item(name)->isVisible(); };

  QTest::mouseClick(Editor, Qt::RightButton, {}, QPoint(500, 350));
  Editor->PopupPopupMenu();
  EXPECT_TRUE(visible("AddBlockItem"));
  EXPECT_FALSE(visible("DeleteItem") || visible("ConnectItem") || visible("SetAsStartItem"));

  QTest::mouseClick(Editor, Qt::RightButton, {}, Centre(First));
  Editor->PopupPopupMenu();
  EXPECT_FALSE(visible("AddBlockItem"));
  EXPECT_TRUE(visible("DeleteItem") && visible("ConnectItem") && visible("SetAsStartItem"));
  EXPECT_TRUE(item("ConnectItem")->isEnabled());
  EXPECT_TRUE(item("SetAsStartItem")->isChecked());

  // Second -> First: the line dragged from Second and dropped on First connects.
  QTest::mouseClick(Editor, Qt::RightButton, {}, Centre(Second));
  Editor->PopupPopupMenu();
  EXPECT_FALSE(item("SetAsStartItem")->isChecked());
  QCursor::setPos(Editor->mapToGlobal(Centre(Second)));
  item("ConnectItem")->trigger();
  QTest::mouseMove(Editor, Centre(First));
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(First));
  ASSERT_EQ(Parts.Count(), 4);
  ASSERT_EQ(Parts.GetPart(3)->GetType(), TDrawPart::depLINE);
  const auto* back = static_cast<TDrawLine*>(Parts.GetPart(3));
  EXPECT_EQ(back->GetBlock1(), Second);
  EXPECT_EQ(back->GetBlock2(), First);

  // With the pointer outside, the new box goes to (0, 0), counted with the lines.
  QCursor::setPos(Editor->mapToGlobal(QPoint(-200, -200)));
  Ui.Clear();
  Editor->AddBlockClick();
  ASSERT_EQ(Parts.Count(), 5);
  auto* added = static_cast<TDrawBlock*>(Parts.GetPart(4));
  EXPECT_EQ(added->GetPosition(), (TPoint{0, 0}));
  EXPECT_EQ(added->GetBlock()->GetTitle(), "Block 4");
  EXPECT_EQ(Ui.ExperimentChanges(), (std::vector<std::pair<int, int>>{{1, 0}}));

  // Delete acts only with the pointer over the selected part.
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(added));
  QCursor::setPos(Editor->mapToGlobal(QPoint(500, 350)));
  QTest::keyClick(Editor, Qt::Key_Delete);
  EXPECT_EQ(Parts.Count(), 5);
  QCursor::setPos(Editor->mapToGlobal(Centre(added)));
  QTest::keyClick(Editor, Qt::Key_Delete);
  EXPECT_EQ(Parts.IndexOf(added), -1);

  // Set As Start moves the flag and the larger box with it.
  const std::int32_t side = Second->GetWidth();
  QTest::mouseClick(Editor, Qt::RightButton, {}, Centre(Second));
  Editor->PopupPopupMenu();
  item("SetAsStartItem")->trigger();
  EXPECT_TRUE(Second->GetBlock()->IsStartBlock());
  EXPECT_FALSE(First->GetBlock()->IsStartBlock());
  EXPECT_EQ(Second->GetWidth(), side + 10);

  // During a run nothing changes the experiment, but a box still moves.
  ExperimentRunning = true;
  QTest::mouseClick(Editor, Qt::RightButton, {}, Centre(First));
  Editor->PopupPopupMenu();
  for (const char* name : {"DeleteItem", "ConnectItem", "SetAsStartItem"})
    EXPECT_FALSE(item(name)->isEnabled()) << name;
  Editor->AddBlockClick();
  Editor->SetAsStartClick();
  QCursor::setPos(Editor->mapToGlobal(Centre(First)));
  QTest::keyClick(Editor, Qt::Key_Delete);
  EXPECT_EQ(Parts.Count(), 4);
  EXPECT_FALSE(First->GetBlock()->IsStartBlock());
  const TPoint before = First->GetPosition();
  QTest::mousePress(Editor, Qt::LeftButton, {}, Centre(First));
  QTest::mouseMove(Editor, Centre(First) + QPoint(0, 40));
  QTest::mouseRelease(Editor, Qt::LeftButton, {}, Centre(First) + QPoint(0, 40));
  ExperimentRunning = false;
  EXPECT_EQ(First->GetPosition(), (TPoint{before.X, before.Y + 40}));
}

class DrawBlockEditorWindowTest : public TMainWindowTest {};

// The window's diagram area shows the open experiment's diagram, and the next one's
// after New.
TEST_F(DrawBlockEditorWindowTest, ShowsTheOpenExperimentsDiagram) {
  TDemoInstruments instruments;  // where the demo's devices sit
  StartQorv(QString::fromStdString(SaveDemo()));
  TDrawBlockEditor& editor = *Window->BlockEditor();
  TDrawParts& parts = Window->Session().GetDrawParts();
  ASSERT_EQ(parts.Count(), 3);
  const auto* line = dynamic_cast<TDrawLine*>(parts.GetPart(2));
  ASSERT_NE(line, nullptr);
  const TPoint tip = line->GetEndPoint(), base = line->GetArrowBase();
  const TPoint wing = line->GetArrowWing1();
  EXPECT_EQ(editor.grab().toImage().pixelColor((tip.X + base.X + wing.X) / 3,
                                               (tip.Y + base.Y + wing.Y) / 3),
            QColor(Qt::black));

  ASSERT_TRUE(Window->Session().NewExperimentClick(false));
  ASSERT_EQ(parts.Count(), 1);
  const auto* box = static_cast<TDrawBlock*>(parts.GetPart(0));
  QTest::mouseClick(&editor, Qt::LeftButton, {}, Centre(box));
  EXPECT_TRUE(parts.GetPart(0)->IsSelected());
  EXPECT_EQ(Panel(TQorvForm::spBlock), "Start Block");
}

}  // namespace
