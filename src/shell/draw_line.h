// A line of the block diagram: the arrowed poly-line from a block's box to its
// successor's box. Its points run from the first box's centre through the bend points
// to the second box's centre; the drawn line leaves the first box's border at the start
// point and ends in an arrowhead at the second box's border.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/draw_part.h"

class TDrawBlock;

class TDrawLine : public TDrawPart {
public:
  // Attaches the line to each box given; the file reader gives none.
  TDrawLine(TDrawParts* owner, TDrawBlock* block1, TDrawBlock* block2);
  // Detaches the line from its boxes.
  ~TDrawLine() override;

  // Pressing on a bend point moves it; pressing elsewhere on the line inserts a bend.
  void StartDrag(int x, int y) override;
  void EndDrag(int x, int y, bool accepted) override;
  bool Contains(int x, int y) const override;
  bool CanDropAt(int x, int y) const override;
  bool CanMultiselect() const override { return false; }
  // The two blocks' identifiers and the bend points; the centres are not stored.
  void Save(TWriteFile* file) const override;
  void Load(TReadFile* file) override;
  int GetType() const override { return depLINE; }
  // Bounds of all points, the two centres included.
  TRect GetRect() const override;

  // Finds the boxes the identifiers read name; EReadError when an identifier is
  // negative, names no box of the list, or both name the same box.
  void ResolveBlocks(const std::vector<TDrawBlock*>& blocklist);

  // Brings the ends in line with the boxes' centres (making the points list when it is
  // missing) and rebuilds the drawn geometry when a centre moved. Drawing calls it.
  void UpdateGeometry();
  void ClipAtFirstBlock();
  void ClipAtSecondBlock();
  void RemoveCollinearPoints();
  // Index of the bend point within 5 pixels of (x, y); -1 when none.
  int FindBendPoint(int x, int y) const;
  // Whether (x, y) lies within 10 pixels of the segment and within its x and y ranges
  // (ranges under 10 pixels are widened by 3 on each side).
  static bool IsOnSegment(int x, int y, int x1, int y1, int x2, int y2);

  TDrawBlock* GetBlock1() const { return Pblk1; }
  TDrawBlock* GetBlock2() const { return Pblk2; }
  const std::vector<TPoint>& GetPoints() const { return Ppointslist; }
  TPoint GetStartPoint() const { return StartPoint; }
  TPoint GetEndPoint() const { return EndPoint; }
  TPoint GetArrowBase() const { return ArrowBase; }
  TPoint GetArrowWing1() const { return ArrowWing1; }
  TPoint GetArrowWing2() const { return ArrowWing2; }
  // The points on either side of the place being dragged (the rubber band's ends);
  // false outside a drag.
  bool GetDragReferences(TPoint& first, TPoint& second) const;

private:
  TDrawBlock* Pblk1;
  TDrawBlock* Pblk2;
  TPoint ArrowBase;
  TPoint ArrowWing1;
  TPoint ArrowWing2;
  TPoint StartPoint;
  TPoint EndPoint;
  int DragRef1 = -1;  // indices into Ppointslist during a drag
  int DragRef2 = -1;
  std::vector<TPoint> Ppointslist;
  bool MovingBend = false;
  std::int32_t Pblk1ID = -1;
  std::int32_t Pblk2ID = -1;
};
