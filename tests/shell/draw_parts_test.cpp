// The block diagram's model: box and line geometry, the arrowhead, hit tests, bend
// dragging, the successor links the lines keep, the path check, multiselection and
// alignment, and the diagram record with its damaged forms.
#include "shell/draw_parts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "model/block.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "scripts/flow/dec_script.h"
#include "support/fake_ui_port.h"
#include "support/temp_dir.h"

namespace {

class TRecordingView : public TDrawPartsView {
public:
  void Redraw() override { ++Redraws; }
  TPoint CursorPoint() const override { return Cursor; }
  int Redraws = 0;
  TPoint Cursor;
};

class DrawPartsTest : public ::testing::Test {
protected:
  // A box showing a new block of the experiment, titled as the caption.
  TDrawBlock* AddBox(const std::string& caption, TPoint at) {
    TDrawBlock* box = Parts.AddBlock(caption, at);
    new TBlock(&Experiment, Experiment.GetExperimentTree().Add(nullptr, caption), box);
    box->SetTitle(caption);
    return box;
  }
  // A box without a block, rendered at the given size, its centre at the point.
  TDrawBlock* AddShape(TPoint centre, std::int32_t side = 50) {
    TDrawBlock* box = Parts.AddBlock("shape", {centre.X - side / 2, centre.Y - side / 2});
    box->SetSize(side, side);
    return box;
  }
  TDrawLine* Line(TDrawBlock* from, TDrawBlock* to) {
    TDrawLine* line = Parts.Connect(from, to);
    line->UpdateGeometry();
    return line;
  }
  std::string Written(const std::string& name, TDrawParts& parts) {
    TWriteFile file(Temp.PathOf(name));
    parts.Save(&file);
    file.Commit();
    return Temp.PathOf(name);
  }

  TFakeUiPort Ui;
  TTempDir Temp;
  TRecordingView View;
  TDrawParts Parts{&View};
  TExperiment Experiment;  // destroyed first: its blocks take their boxes along
};

using TPoints = std::vector<TPoint>;

// The start point leaves the first box's border and the tip meets the second's, on the
// line between the centres, truncated toward the first centre's axis.
TEST_F(DrawPartsTest, LineEndsAreClippedAtTheBoxBordersAndCarryTheArrowhead) {
  struct TCase {
    TPoint Centre2;
    TPoint Start, End;
  };
  // Box 1 is the 50-pixel square around (0, 0).
  const TCase cases[] = {
      {{125, 0}, {25, 0}, {100, 0}},        // level: right side to left side
      {{-125, 0}, {-25, 0}, {-100, 0}},     // level, leftwards
      {{0, 125}, {0, 25}, {0, 100}},        // plumb: bottom to top
      {{0, -125}, {0, -25}, {0, -100}},     // plumb, upwards
      {{200, 100}, {25, 12}, {175, 88}},    // shallow: y 12.5 and 87.5 truncated
      {{100, 100}, {25, 25}, {75, 75}},     // diagonal: corner to corner
      {{50, 200}, {6, 25}, {44, 175}},      // steep: x 6.25 and 43.75 truncated
  };
  for (const TCase& c : cases) {
    TDrawBlock* box1 = AddShape({0, 0});
    TDrawBlock* box2 = AddShape(c.Centre2);
    TDrawLine* line = Line(box1, box2);
    EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, c.Centre2}));
    EXPECT_EQ(line->GetStartPoint(), c.Start) << c.Centre2.X << "," << c.Centre2.Y;
    EXPECT_EQ(line->GetEndPoint(), c.End) << c.Centre2.X << "," << c.Centre2.Y;
    Parts.DeletePart(box1);
    Parts.DeletePart(box2);
  }
  EXPECT_EQ(Parts.Count(), 0);

  // The arrowhead stands 15 pixels back from the tip, its wings at 30 degrees.
  const struct {
    TPoint Centre2, Base, Wing1, Wing2;
  } heads[] = {{{125, 0}, {85, 0}, {77, 12}, {77, -12}},   // tip at (100, 0)
               {{0, 125}, {0, 85}, {-12, 77}, {12, 77}}};  // tip at (0, 100)
  for (const auto& h : heads) {
    TDrawLine* line = Line(AddShape({0, 0}), AddShape(h.Centre2));
    EXPECT_EQ(line->GetArrowBase(), h.Base);
    EXPECT_EQ(line->GetArrowWing1(), h.Wing1);
    EXPECT_EQ(line->GetArrowWing2(), h.Wing2);
  }
}

TEST_F(DrawPartsTest, SegmentHitTest) {
  struct TCase {
    int X, Y, X1, Y1, X2, Y2;
    bool On;
  };
  const TCase cases[] = {
      // The segment (0, 0)-(30, 40) is 50 long: 40x - 30y over 50 is the distance.
      {15, 5, 0, 0, 30, 40, true},    // 9 pixels away
      {20, 10, 0, 0, 30, 40, false},  // 10 pixels away
      {15, 20, 0, 0, 30, 40, true},   // on it
      {31, 40, 0, 0, 30, 40, false},  // beyond its x range
      // A vertical segment: x up to 3 beside it, y within its own range.
      {53, 50, 50, 0, 50, 100, true},
      {47, 50, 50, 0, 50, 100, true},
      {54, 50, 50, 0, 50, 100, false},
      {46, 50, 50, 0, 50, 100, false},
      {50, 101, 50, 0, 50, 100, false},
      // A horizontal one likewise in y.
      {50, -3, 0, 0, 100, 0, true},
      {50, 4, 0, 0, 100, 0, false},
      // Both ends at one place: no segment.
      {5, 5, 5, 5, 5, 5, false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TDrawLine::IsOnSegment(c.X, c.Y, c.X1, c.Y1, c.X2, c.Y2), c.On)
        << c.X << "," << c.Y << " on " << c.X1 << "," << c.Y1 << "-" << c.X2 << "," << c.Y2;
}

// Pressing on a line and dragging inserts a bend; dragging the bend back onto the
// straight line deletes it. The line is hit along its segments and at its bends, never
// inside its boxes.
TEST_F(DrawPartsTest, BendsAreMadeMovedAndDeletedByDragging) {
  TDrawBlock* box1 = AddShape({0, 0});
  TDrawBlock* box2 = AddShape({125, 0});
  TDrawLine* line = Line(box1, box2);
  EXPECT_TRUE(line->Contains(60, 3));
  EXPECT_FALSE(line->Contains(60, 4));   // beyond the 3-pixel widening of a level line
  EXPECT_FALSE(line->Contains(20, 0));   // inside box 1
  EXPECT_EQ(line->FindBendPoint(60, 0), -1);

  View.Redraws = 0;
  line->StartDrag(60, 0);
  TPoint first, second;
  ASSERT_TRUE(line->GetDragReferences(first, second));  // the neighbours of the new bend
  EXPECT_EQ(first, (TPoint{0, 0}));
  EXPECT_EQ(second, (TPoint{125, 0}));
  line->EndDrag(60, 80, true);
  EXPECT_EQ(View.Redraws, 1);
  EXPECT_FALSE(line->GetDragReferences(first, second));
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {60, 80}, {125, 0}}));
  // Both ends were clipped towards the bend: the line leaves box 1's bottom at
  // x = trunc(60 * 25 / 80) and enters box 2's bottom at x = 125 - trunc(65 * 25 / 80).
  EXPECT_EQ(line->GetStartPoint(), (TPoint{18, 25}));
  EXPECT_EQ(line->GetEndPoint(), (TPoint{105, 25}));
  EXPECT_EQ(line->FindBendPoint(65, 85), 1);  // bounds included
  EXPECT_EQ(line->FindBendPoint(66, 80), -1);
  EXPECT_TRUE(line->Contains(40, 54));          // on the first leg
  EXPECT_FALSE(line->Contains(60, 0));          // where the straight line was
  EXPECT_EQ(line->GetRect(), (TRect{0, 0, 125, 80}));

  // A drag that is not accepted changes nothing; a move elsewhere keeps the bend.
  line->StartDrag(62, 78);
  line->EndDrag(62, 3, false);
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {60, 80}, {125, 0}}));
  line->StartDrag(60, 80);
  line->EndDrag(60, -80, true);
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {60, -80}, {125, 0}}));
  EXPECT_EQ(line->GetStartPoint(), (TPoint{18, -25}));

  // Back onto the line between its neighbours: the bend goes and the ends are
  // clipped as for a straight line.
  line->StartDrag(60, -80);
  line->EndDrag(62, 3, true);
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {125, 0}}));
  EXPECT_EQ(line->GetStartPoint(), (TPoint{25, 0}));
  EXPECT_EQ(line->GetEndPoint(), (TPoint{100, 0}));
  EXPECT_EQ(line->GetArrowBase(), (TPoint{85, 0}));
}

// The drawn first leg starts at the box border, so its x range is widened where the leg
// from the centre is not: a press the line accepts there may lie beside every segment
// the drag walks. It starts no drag rather than failing.
TEST_F(DrawPartsTest, PressBesideTheWalkedSegmentsStartsNoDrag) {
  TDrawLine* line = Line(AddShape({0, 0}), AddShape({10, 400}));
  line->StartDrag(5, 100);
  line->EndDrag(10, 200, true);
  ASSERT_EQ(line->GetStartPoint(), (TPoint{1, 25}));  // x = trunc(10 * 25 / 200)
  ASSERT_TRUE(line->Contains(12, 100));
  line->StartDrag(12, 100);
  TPoint first, second;
  EXPECT_FALSE(line->GetDragReferences(first, second));
  line->EndDrag(40, 100, true);
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {10, 200}, {10, 400}}));
}

TEST_F(DrawPartsTest, MovingABoxRebuildsItsLinesAndDropsStraightenedBends) {
  TDrawBlock* box1 = AddShape({0, 0});
  TDrawBlock* box2 = AddShape({200, 0});
  TDrawLine* line = Line(box1, box2);
  line->StartDrag(100, 0);
  line->EndDrag(100, 100, true);
  // Box 2 is dragged to centre (200, 200): the bend (100, 100) is then on the straight
  // line from (0, 0) and is removed when the line is rebuilt.
  box2->StartDrag(190, -10);
  box2->EndDrag(190, 190, true);
  EXPECT_EQ(box2->GetPosition(), (TPoint{175, 175}));
  EXPECT_EQ(Parts.GetPart(Parts.Count() - 1), box2);  // brought to the front
  line->UpdateGeometry();
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {200, 200}}));
  EXPECT_EQ(line->GetStartPoint(), (TPoint{25, 25}));
  EXPECT_EQ(line->GetEndPoint(), (TPoint{175, 175}));
}

TEST_F(DrawPartsTest, BoxGeometry) {
  TDrawBlock* box = Parts.AddBlock("box", {10, 20});
  EXPECT_EQ(box->GetRect(), (TRect{10, 20, 60, 70}));
  EXPECT_EQ(box->GetCenter(), (TPoint{0, 0}));  // not rendered yet
  EXPECT_FALSE(box->Contains(30, 30));
  box->SetSize(60, 60);
  EXPECT_EQ(box->GetCenter(), (TPoint{40, 50}));
  EXPECT_TRUE(box->Contains(10, 20) && box->Contains(70, 80));
  EXPECT_FALSE(box->Contains(71, 80) || box->Contains(10, 19));
  box->SetCenter({100, 100});
  EXPECT_EQ(box->GetPosition(), (TPoint{70, 70}));
  box->SetCenter({29, 100});  // the corner would be at x = -1: the box stays
  EXPECT_EQ(box->GetPosition(), (TPoint{70, 70}));
  box->SetCenter({30, 30});
  EXPECT_EQ(box->GetPosition(), (TPoint{0, 0}));

  // A drag not accepted leaves the box; the drop point is not clamped.
  box->StartDrag(5, 5);
  box->EndDrag(100, 100, false);
  EXPECT_EQ(box->GetPosition(), (TPoint{0, 0}));
  box->StartDrag(5, 5);
  box->EndDrag(0, 0, true);
  EXPECT_EQ(box->GetPosition(), (TPoint{-5, -5}));

  // The rendered side: 50 at least, even, 10 more for the start block.
  struct TSide {
    int IconW, IconH, TextW, TextH;
    bool Start;
    int Side;
  };
  const TSide sides[] = {
      {16, 16, 20, 10, false, 50}, {16, 16, 20, 10, true, 60},  // 41 needed
      {32, 32, 40, 3, false, 50},                               // exactly 50
      {32, 4, 41, 3, false, 52},                                // 51 is odd
      {32, 32, 53, 13, false, 64}, {32, 32, 53, 13, true, 74},  // 63 becomes 64
      {32, 32, 20, 13, false, 60},                              // 13 + 32 + 15
  };
  for (const TSide& s : sides)
    EXPECT_EQ(TDrawBlock::RenderedSide(s.IconW, s.IconH, s.TextW, s.TextH, s.Start), s.Side)
        << s.TextW << " " << s.TextH << " " << s.Start;
}

TEST_F(DrawPartsTest, PartsListBoundsAndRedraws) {
  EXPECT_EQ(Parts.GetBounds(), TRect{});
  EXPECT_EQ(Parts.GetPart(0), nullptr);
  View.Cursor = {7, 9};
  TDrawBlock* atCursor = Parts.AddBlockAtCursor("here");
  EXPECT_EQ(atCursor->GetPosition(), (TPoint{7, 9}));
  atCursor->SetSize(50, 50);
  TDrawParts viewless;
  EXPECT_EQ(viewless.AddBlockAtCursor("there")->GetPosition(), (TPoint{0, 0}));

  TDrawBlock* box = AddShape({300, 200});
  TDrawLine* line = Line(atCursor, box);
  EXPECT_EQ(Parts.GetPart(2), line);
  EXPECT_EQ(Parts.GetPart(3), nullptr);
  EXPECT_EQ(Parts.GetBounds(), (TRect{7, 9, 325, 225}));

  View.Redraws = 0;
  atCursor->SetSelected(true);
  box->SetSelected(true);
  EXPECT_FALSE(atCursor->IsSelected());
  EXPECT_TRUE(box->IsSelected());
  box->SetSelected(true);  // unchanged: no redraw
  EXPECT_EQ(View.Redraws, 2);

  // Deleting a box deletes its lines.
  Parts.DeletePart(box);
  EXPECT_EQ(Parts.Count(), 1);
  EXPECT_TRUE(atCursor->GetLines().empty());
}

// Two outgoing lines at most (a branch); a box and its block go together with their lines.
TEST_F(DrawPartsTest, LinesAndBlocksFollowTheirBoxes) {
  TDrawBlock* a = AddBox("A", {0, 0});
  TDrawBlock* b = AddBox("B", {100, 0});
  TDrawBlock* c = AddBox("C", {0, 100});
  TDrawBlock* d = AddBox("D", {100, 100});
  TBlock* blockA = a->GetBlock();
  ASSERT_NE(blockA, nullptr);
  EXPECT_EQ(blockA->GetDrawBlock(), a);
  TDrawLine* ab = Parts.Connect(a, b);
  EXPECT_EQ(blockA->GetNextBlock(), b->GetBlock());
  Parts.Connect(d, a);  // incoming lines do not count
  Parts.Connect(c, b);
  EXPECT_TRUE(a->CanAddOutgoingLine() && b->CanAddOutgoingLine());
  Parts.Connect(a, c);
  EXPECT_NE(blockA->GetDecScript(), nullptr);
  EXPECT_FALSE(a->CanAddOutgoingLine());
  Parts.DeletePart(ab);
  EXPECT_TRUE(a->CanAddOutgoingLine());

  // Deleting a box deletes its block and its lines: D loses its successor.
  TBlock* blockD = d->GetBlock();
  EXPECT_EQ(blockD->GetNextBlock(), blockA);
  const int nodes = Experiment.GetExperimentTree().Count();
  Parts.DeletePart(a);
  EXPECT_EQ(Experiment.GetExperimentTree().Count(), nodes - 1);
  EXPECT_EQ(blockD->GetNextBlock(), nullptr);
  EXPECT_TRUE(d->GetLines().empty());
  // Deleting a block deletes its box and lines.
  const int parts = Parts.Count();  // B, C, D and the line C to B
  delete c->GetBlock();
  EXPECT_EQ(Parts.Count(), parts - 2);
  EXPECT_TRUE(b->GetLines().empty());
}

TEST_F(DrawPartsTest, PathCheckAndTitles) {
  TDrawBlock* start = AddBox("Start Block", {0, 0});
  TDrawBlock* reached = AddBox("Reached", {100, 0});
  TDrawBlock* lonely = AddBox("Lonely", {200, 0});
  start->GetBlock()->SetAsStartBlock();
  Parts.Connect(start, reached);
  Parts.Connect(lonely, start);  // an outgoing line alone does not reach the block
  Ui.Clear();
  EXPECT_TRUE(start->CheckPaths());
  EXPECT_TRUE(reached->CheckPaths());
  EXPECT_TRUE(Ui.Shown().empty());
  EXPECT_FALSE(lonely->CheckPaths());
  ASSERT_EQ(Ui.Shown().size(), 1u);
  EXPECT_EQ(Ui.Shown()[0].Text, "Error: Block Lonely has no paths to it.");
  EXPECT_EQ(Ui.Shown()[0].Caption, "");
  EXPECT_EQ(Ui.Shown()[0].Kind, TMessageKind::Warning);

  // The caption is the block's title and its node's text.
  lonely->SetTitle("Renamed");
  EXPECT_EQ(lonely->GetCaption(), "Renamed");
  EXPECT_EQ(lonely->GetBlock()->GetTitle(), "Renamed");
  EXPECT_EQ(lonely->GetBlock()->AExpNode->GetText(), "Renamed");
  TDrawBlock* bare = Parts.AddBlock("bare", {0, 0});
  bare->SetTitle("still bare");
  EXPECT_EQ(bare->GetCaption(), "still bare");

  // An icon file is kept only when it exists.
  const std::string icon = Temp.WriteBytes("box.ico", {1, 2, 3});
  bare->SetIconFile(icon);
  EXPECT_EQ(bare->GetIconFile(), icon);
  bare->SetIconFile(Temp.PathOf("missing.ico"));
  EXPECT_EQ(bare->GetIconFile(), "");
  bare->SetIconFile(Temp.Path().string());  // a folder is no icon
  EXPECT_EQ(bare->GetIconFile(), "");
}

TEST_F(DrawPartsTest, MultiselectionAndAlignment) {
  TDrawBlock* r = AddShape({35, 35});                 // corner (10, 10), side 50
  TDrawBlock* b1 = AddShape({135, 235}, 70);          // corner (100, 200), side 70
  TDrawBlock* b2 = AddShape({325, 75});               // corner (300, 50)
  TDrawLine* line = Line(r, b2);

  // Nothing or one box selected: nothing to align.
  Parts.AlignSelection(1, 1);
  r->SetSelected(true);
  Parts.ToggleMultiSelect(line);  // lines are never multiselected
  EXPECT_FALSE(Parts.HasMultiSelection());
  Parts.AlignSelection(1, 1);
  EXPECT_EQ(Ui.Texts(), (std::vector<std::string>{"Nothing to align", "Nothing to align"}));
  EXPECT_TRUE(Ui.Shown()[0].Caption.empty() && Ui.Shown()[0].Kind == TMessageKind::Information);
  EXPECT_EQ(b1->GetPosition(), (TPoint{100, 200}));

  // The box selected before joins first and is the reference.
  Parts.ToggleMultiSelect(b1);
  Parts.ToggleMultiSelect(b2);
  EXPECT_EQ(Parts.GetMultiSelection(), (std::vector<TDrawPart*>{r, b1, b2}));
  EXPECT_TRUE(r->IsSelected() && b1->IsSelected() && b2->IsSelected());
  Parts.ToggleMultiSelect(b2);
  EXPECT_FALSE(b2->IsSelected());
  Parts.ToggleMultiSelect(b2);

  struct TCase {
    int Vertical, Horizontal;
    TPoint B1, B2;
  };
  const TCase cases[] = {
      {0, 0, {100, 200}, {300, 50}},
      {1, 0, {100, 10}, {300, 10}},    // tops
      {2, 0, {100, -10}, {300, 10}},   // bottoms: 10 + 50 - 70 for the larger box
      {3, 0, {100, 0}, {300, 10}},     // centres at y = 35
      {0, 1, {10, 200}, {10, 50}},     // left sides
      {0, 2, {-10, 200}, {10, 50}},    // right sides
      {0, 3, {0, 200}, {10, 50}},      // centres at x = 35
      {1, 1, {10, 10}, {10, 10}},
  };
  for (const TCase& c : cases) {
    b1->SetPosition({100, 200});
    b2->SetPosition({300, 50});
    Parts.AlignSelection(c.Vertical, c.Horizontal);
    EXPECT_EQ(b1->GetPosition(), c.B1) << c.Vertical << " " << c.Horizontal;
    EXPECT_EQ(b2->GetPosition(), c.B2) << c.Vertical << " " << c.Horizontal;
    EXPECT_EQ(r->GetPosition(), (TPoint{10, 10}));
  }
  // A centre move that would take the corner below 0 is skipped.
  r->SetPosition({0, 0});
  b1->SetPosition({100, 200});
  Parts.AlignSelection(3, 3);
  EXPECT_EQ(b1->GetPosition(), (TPoint{100, 200}));

  Parts.ClearMultiSelection();
  EXPECT_FALSE(Parts.HasMultiSelection());
  EXPECT_FALSE(r->IsSelected() || b1->IsSelected() || b2->IsSelected());
  // A deleted box leaves the multiselection.
  Parts.ToggleMultiSelect(b1);
  Parts.DeletePart(b1);
  EXPECT_FALSE(Parts.HasMultiSelection());
}

TEST_F(DrawPartsTest, DiagramRecordBytesAndReadBack) {
  TDrawParts empty;
  Written("empty.qve", empty);
  EXPECT_EQ(Temp.ReadBytes("empty.qve"), Le32(0));

  const std::string icon = Temp.WriteBytes("a.ico", {0});
  TDrawBlock* a = AddBox("A", {10, 20});
  TDrawBlock* b = AddBox("B", {300, 20});
  TDrawBlock* c = AddBox("C", {-10, 300});
  a->SetIconFile(icon);
  TDrawLine* ab = Line(a, b);  // centres (35, 45) and (325, 45)
  ab->StartDrag(150, 45);
  ab->EndDrag(150, 150, true);
  Line(a, c);
  Line(b, c);
  {
    TWriteFile file(Temp.PathOf("saved.qve"));
    Parts.Save(&file);
    for (TDrawBlock* box : {a, b, c}) box->GetBlock()->Save(file);
    file.Commit();
  }
  // Boxes (type 0, caption, icon, corner, block identifier), then lines (type 1, the
  // boxes' identifiers, the bends).
  const TBytes diagram = Cat({
      Le32(6),
      Le32(0), StringBytes("A"), {1}, StringBytes(icon), Le32(10), Le32(20), Le32(100),
      Le32(0), StringBytes("B"), {0}, Le32(300), Le32(20), Le32(101),
      Le32(0), StringBytes("C"), {0}, Le32(0xFFFFFFF6), Le32(300), Le32(102),
      Le32(1), Le32(100), Le32(101), Le32(1), Le32(150), Le32(150),
      Le32(1), Le32(100), Le32(102), Le32(0),
      Le32(1), Le32(101), Le32(102), Le32(0),
  });
  const TBytes saved = Temp.ReadBytes("saved.qve");
  ASSERT_GT(saved.size(), diagram.size());
  EXPECT_EQ(TBytes(saved.begin(), saved.begin() + std::ptrdiff_t(diagram.size())), diagram);

  TExperiment experiment;
  TDrawParts parts;
  TReadFile file(Temp.PathOf("saved.qve"));
  file.SetVersion(QorvVersion->GetCurrentVersion());  // as the file's header gives it
  std::vector<TDrawBlock*> boxes;
  parts.Load(&file, boxes);
  ASSERT_EQ(boxes.size(), 3u);
  ASSERT_EQ(parts.Count(), 6);
  const std::vector<TDrawBlock*> read = boxes;
  const std::string captions[] = {"A", "B", "C"};
  const TPoint corners[] = {{10, 20}, {300, 20}, {-10, 300}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(read[i], parts.GetPart(i));
    EXPECT_EQ(read[i]->GetCaption(), captions[i]);
    EXPECT_EQ(read[i]->GetPosition(), corners[i]);
    EXPECT_EQ(read[i]->GetBlockID(), 100 + i);
    EXPECT_EQ(read[i]->GetBlock(), nullptr);
  }
  EXPECT_EQ(read[0]->GetIconFile(), icon);
  EXPECT_EQ(read[1]->GetIconFile(), "");
  auto* line = dynamic_cast<TDrawLine*>(parts.GetPart(3));
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetBlock1(), read[0]);
  EXPECT_EQ(line->GetBlock2(), read[1]);
  // The centres are not stored: unrendered boxes give (0, 0) until the first drawing.
  EXPECT_EQ(line->GetPoints(), (TPoints{{0, 0}, {150, 150}, {0, 0}}));
  EXPECT_EQ(read[0]->GetLines().size(), 2u);
  EXPECT_EQ(read[2]->GetLines().size(), 2u);

  // The blocks claim their boxes; then the boxes know their centres.
  std::vector<TBlock*> blocks;
  for (int i = 0; i < 3; ++i) {
    blocks.push_back(new TBlock(&experiment, experiment.GetExperimentTree().Add(nullptr, "x")));
    blocks.back()->Load(file, boxes);
    EXPECT_EQ(read[i]->GetBlock(), blocks[i]);
    EXPECT_EQ(blocks[i]->GetTitle(), captions[i]);
  }
  EXPECT_TRUE(boxes.empty());
  line->UpdateGeometry();
  EXPECT_EQ(line->GetPoints(), (TPoints{{35, 45}, {150, 150}, {325, 45}}));
}

TEST_F(DrawPartsTest, DamagedDiagramRecordsEndInTheReadError) {
  const TBytes box0 = Cat({Le32(0), StringBytes("A"), {0}, Le32(1), Le32(1), Le32(100)});
  const TBytes box1 = Cat({Le32(0), StringBytes("B"), {0}, Le32(1), Le32(1), Le32(101)});
  auto line = [](std::int32_t from, std::int32_t to) {
    return Cat({Le32(1), Le32(static_cast<std::uint32_t>(from)),
                Le32(static_cast<std::uint32_t>(to)), Le32(0)});
  };
  struct TCase {
    const char* What;
    TBytes Bytes;
  };
  const TCase cases[] = {
      {"negative count", Le32(0xFFFFFFFF)},
      {"count beyond the file", Cat({Le32(1000), box0, box1})},
      {"one part that is a line", Cat({Le32(1), line(100, 101)})},
      {"one part of an unknown type", Cat({Le32(1), Le32(5), box0})},
      {"unknown type", Cat({Le32(2), box0, Le32(2), Le32(100), Le32(100), Le32(0)})},
      {"negative type", Cat({Le32(2), box0, Le32(0xFFFFFFFF), Le32(100), Le32(100), Le32(0)})},
      {"line to an unknown box", Cat({Le32(3), box0, box1, line(100, 555)})},
      {"line from an unknown box", Cat({Le32(3), box0, box1, line(7, 101)})},
      {"line from a box to itself", Cat({Le32(3), box0, box1, line(100, 100)})},
      {"line with a negative identifier", Cat({Le32(3), box0, box1, line(-1, 101)})},
      {"lines without boxes", Cat({Le32(2), line(100, 101), line(101, 100)})},
      {"negative box identifier",
       Cat({Le32(2), box0, Le32(0), StringBytes("B"), {0}, Le32(1), Le32(1), Le32(0xFFFFFFFE)})},
      {"negative bend count",
       Cat({Le32(3), box0, box1, Le32(1), Le32(100), Le32(101), Le32(0xFFFFFFFF)})},
      {"bend count beyond the file",
       Cat({Le32(3), box0, box1, Le32(1), Le32(100), Le32(101), Le32(50), Le32(1), Le32(2)})},
      {"short box record", Cat({Le32(2), box0, Le32(0), StringBytes("B"), {0}, Le32(1)})},
      {"short file", Cat({Le32(2), box0})},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TDrawParts parts;
    std::vector<TDrawBlock*> boxes;
    TReadFile file(Temp.WriteBytes("bad.qve", c.Bytes));
    try {
      parts.Load(&file, boxes);
      ADD_FAILURE() << "read";
    } catch (const EReadError& error) {
      EXPECT_STREQ(error.what(), "Error reading drawblocks");
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(parts.Count(), 0);
  }

  // Sound records at the bounds: no parts, a single box.
  for (const int count : {0, 1}) {
    TDrawParts parts;
    std::vector<TDrawBlock*> boxes;
    TReadFile file(Temp.WriteBytes("good.qve", count ? Cat({Le32(1), box0}) : Le32(0)));
    parts.Load(&file, boxes);
    EXPECT_EQ(parts.Count(), count);
    EXPECT_EQ(boxes.size(), std::size_t(count));
  }

  // A box record read alone, as block files hold it.
  TDrawParts parts;
  TDrawBlock* box = parts.AddBlock("none", {0, 0});
  TReadFile file(Temp.WriteBytes("box.blk",
                                 Cat({StringBytes("A"), {0}, Le32(1), Le32(1), Le32(0xFFFFFFFF)})));
  try {
    box->Load(&file);
    ADD_FAILURE() << "read";
  } catch (const EReadError& error) {
    EXPECT_STREQ(error.what(), "Error reading block");
  }
}

// Positions at the ends of the int32 range read from a file are drawn and hit-tested
// without overflow: sums stop at the range's ends.
TEST_F(DrawPartsTest, ExtremePositionsFromAFile) {
  const TBytes bytes = Cat({Le32(3),
      Le32(0), StringBytes("A"), {0}, Le32(0x7FFFFFF0), Le32(0x80000000), Le32(100),
      Le32(0), StringBytes("B"), {0}, Le32(0x80000000), Le32(0x7FFFFFFF), Le32(101),
      Le32(1), Le32(100), Le32(101), Le32(1), Le32(0x80000000), Le32(0x80000000)});
  TDrawParts parts;
  std::vector<TDrawBlock*> boxes;
  TReadFile file(Temp.WriteBytes("far.qve", bytes));
  parts.Load(&file, boxes);
  ASSERT_EQ(boxes.size(), 2u);
  for (TDrawBlock* box : boxes) box->SetSize(50, 50);
  EXPECT_EQ(boxes[0]->GetRect().Right, INT32_MAX);
  EXPECT_EQ(boxes[1]->GetRect().Bottom, INT32_MAX);
  auto* line = static_cast<TDrawLine*>(parts.GetPart(2));
  line->UpdateGeometry();
  EXPECT_EQ(line->GetPoints().size(), 3u);
  EXPECT_FALSE(line->Contains(0, 0));
  EXPECT_EQ(parts.GetBounds(), (TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}));
  line->StartDrag(INT32_MIN, INT32_MIN);
  line->EndDrag(0, 0, true);
  EXPECT_EQ(line->GetPoints()[1], (TPoint{0, 0}));
}

TEST_F(DrawPartsTest, DestroyingTheDiagramDestroysTheBlocks) {
  TExperiment experiment;
  {
    TDrawParts parts;
    std::vector<TDrawBlock*> boxes;
    for (int i = 0; i < 3; ++i) {
      boxes.push_back(parts.AddBlock("box", {i * 100, 0}));
      new TBlock(&experiment, experiment.GetExperimentTree().Add(nullptr, "box"), boxes.back());
    }
    parts.Connect(boxes[0], boxes[1]);
    parts.Connect(boxes[2], boxes[1]);
  }
  EXPECT_EQ(experiment.GetExperimentTree().Count(), 0);
}

}  // namespace
