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
#include "shell/draw_parts.h"
#include "support/fake_ui_port.h"

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
  ASSERT_TRUE(Experiment.GetExperimentTree().GetFirstNode() != nullptr);
  EXPECT_TRUE(First->GetBlock()->IsStartBlock());
  EXPECT_EQ(First->GetWidth(), Second->GetWidth() + 10);
  EXPECT_EQ(First->GetHeight(), Second->GetHeight() + 10);
  EXPECT_GE(Second->GetWidth(), 50);
  EXPECT_EQ(Second->GetWidth() % 2, 0);

  const QImage image = Editor->grab().toImage();
  for (const TDrawBlock* box : {First, Second}) {
    const TRect r = box->GetRect();
    // The face fills the box up to its last column and row, and no further.
    EXPECT_EQ(image.pixelColor(r.Left, r.Top + 1), Face) << box->GetCaption();
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
  // The shaft between the boxes.
  const TPoint start = Line->GetStartPoint();
  EXPECT_EQ(start.X, First->GetRect().Right);
  EXPECT_EQ(image.pixelColor((start.X + base.X) / 2, (start.Y + base.Y) / 2),
            QColor(0x80, 0x80, 0x80));

  // The selected box: a 5-pixel band inside it, inverted.
  Second->SetSelected(true);
  const TRect r = Second->GetRect();
  const QImage selected = Editor->grab().toImage();
  EXPECT_EQ(selected.pixelColor(r.Left, r.Top + 20), Inverted(Face));
  EXPECT_EQ(selected.pixelColor(r.Left + 4, r.Top + 20), Inverted(Face));
  EXPECT_EQ(selected.pixelColor(r.Left + 5, r.Top + 20), Face);
  EXPECT_EQ(selected.pixelColor(r.Left - 1, r.Top + 20), Background);

}

TEST_F(DrawBlockEditorTest, GrowsWithTheDiagramButNeverBelowTheVisibleArea) {
  EXPECT_EQ(Editor->size(), Area.viewport()->size());
  Second->SetPosition({900, 700});
  Editor->Redraw();
  EXPECT_EQ(Editor->width(), Second->GetRect().Right + 1);
  EXPECT_EQ(Editor->height(), Second->GetRect().Bottom + 1);
  Area.resize(1200, 1000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Editor->size() == Area.viewport()->size(); }, 2000));
}

TEST_F(DrawBlockEditorTest, AClickSelectsThePartAndMakesItsBlockCurrent) {
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(Second));
  EXPECT_TRUE(Second->IsSelected());
  EXPECT_FALSE(First->IsSelected());
  EXPECT_EQ(Experiment.GetCurrentBlock(), Second->GetBlock());

  // The line, between the boxes.
  const QPoint onLine((Line->GetStartPoint().X + Line->GetEndPoint().X) / 2,
                      Line->GetStartPoint().Y);
  QTest::mouseClick(Editor, Qt::LeftButton, {}, onLine);
  EXPECT_EQ(Editor->GetSelectedDrawPart(), Line);
  EXPECT_FALSE(Second->IsSelected());

  // Empty space deselects; the current block stays.
  QTest::mouseClick(Editor, Qt::LeftButton, {}, QPoint(500, 350));
  EXPECT_EQ(Editor->GetSelectedDrawPart(), nullptr);
  EXPECT_EQ(Experiment.GetCurrentBlock(), Second->GetBlock());

  // Ctrl+click gathers boxes, the box selected before first; a plain click ends it.
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(First));
  QTest::mouseClick(Editor, Qt::LeftButton, Qt::ControlModifier, Centre(Second));
  ASSERT_EQ(Parts.GetMultiSelection().size(), 2u);
  EXPECT_EQ(Parts.GetMultiSelection()[0], First);
  EXPECT_TRUE(First->IsSelected() && Second->IsSelected());
  // Ctrl with the right button does not toggle, and a right click keeps it.
  QTest::mouseClick(Editor, Qt::RightButton, Qt::ControlModifier, Centre(Second));
  EXPECT_EQ(Parts.GetMultiSelection().size(), 2u);
  QTest::mouseClick(Editor, Qt::LeftButton, {}, Centre(Second));
  EXPECT_FALSE(Parts.HasMultiSelection());
  EXPECT_TRUE(Second->IsSelected());
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

}  // namespace
