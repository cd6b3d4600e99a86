#include "shell/draw_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/write_file.h"
#include "shell/draw_block.h"
#include "shell/draw_parts.h"

namespace {

// Positions come from files, so the arithmetic is done wide: long double holds the
// products of two coordinate differences exactly.
using TWide = long double;

// Truncates toward zero into the int64 range; a value that is not a number gives 0.
std::int64_t Trunc(TWide value) {
  if (std::isnan(value)) return 0;
  return static_cast<std::int64_t>(std::trunc(std::fmax(std::fmin(value, 1e18L), -1e18L)));
}

std::int32_t TruncToInt32(TWide value) { return ClampToInt32(Trunc(value)); }

// trunc(a * b / c), c not 0.
std::int64_t MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
  return Trunc(static_cast<TWide>(a) * static_cast<TWide>(b) / static_cast<TWide>(c));
}

bool OnSegment(int x, int y, TPoint p1, TPoint p2) {
  return TDrawLine::IsOnSegment(x, y, p1.X, p1.Y, p2.X, p2.Y);
}

}  // namespace

TDrawLine::TDrawLine(TDrawParts* owner, TDrawBlock* block1, TDrawBlock* block2)
    : TDrawPart(owner), Pblk1(block1), Pblk2(block2) {
  if (Pblk1) Pblk1->AddLine(this);
  if (Pblk2) Pblk2->AddLine(this);
}

TDrawLine::~TDrawLine() {
  if (Pblk1) Pblk1->RemoveLine(this);
  if (Pblk2) Pblk2->RemoveLine(this);
}

void TDrawLine::UpdateGeometry() {
  QORV_ASSERT_AS(Pblk1 != nullptr && Pblk2 != nullptr, "Pblk1!=0&&Pblk2!=0");
  const TPoint first = Pblk1->GetCenter();
  const TPoint last = Pblk2->GetCenter();
  // A new list has no drawn geometry yet: it is built like one whose centres moved.
  const bool made = Ppointslist.empty();
  if (made) Ppointslist = {first, last};
  if (!made && Ppointslist.front() == first && Ppointslist.back() == last) return;
  Ppointslist.front() = first;
  Ppointslist.back() = last;
  ClipAtFirstBlock();
  RemoveCollinearPoints();
  ClipAtSecondBlock();
}

void TDrawLine::ClipAtFirstBlock() {
  QORV_ASSERT_AS(Pblk1 != nullptr && Ppointslist.size() >= 2,
                 "Pblk1!=0&&Ppointslist->Count>1");
  const TPoint c = Ppointslist[0];
  const TPoint n = Ppointslist[1];
  const std::int64_t dx = std::int64_t{c.X} - n.X;
  const std::int64_t dy = std::int64_t{c.Y} - n.Y;
  const TRect rect = Pblk1->GetRect();
  if (dx == 0) {
    StartPoint = {c.X, dy < 0 ? rect.Bottom : rect.Top};
  } else if (dy == 0) {
    StartPoint = {dx < 1 ? rect.Right : rect.Left, c.Y};
  } else if (std::llabs(dx) > std::llabs(dy)) {
    const std::int32_t x = dx < 1 ? rect.Right : rect.Left;
    StartPoint = {x, ClampToInt32(c.Y - MulDiv(dy, std::int64_t{c.X} - x, dx))};
  } else {
    const std::int32_t y = dy < 1 ? rect.Bottom : rect.Top;
    const std::int32_t x = std::llabs(dx) != std::llabs(dy)
                               ? ClampToInt32(c.X - MulDiv(dx, std::int64_t{c.Y} - y, dy))
                               : (dx < 1 ? rect.Right : rect.Left);
    StartPoint = {x, y};
  }
}

void TDrawLine::ClipAtSecondBlock() {
  QORV_ASSERT_AS(Pblk2 != nullptr && Ppointslist.size() >= 2,
                 "Pblk2!=0&&Ppointslist->Count>1");
  const TPoint c = Ppointslist.back();
  const TPoint p = Ppointslist[Ppointslist.size() - 2];
  const std::int64_t dx = std::int64_t{p.X} - c.X;
  const std::int64_t dy = std::int64_t{p.Y} - c.Y;
  const TRect rect = Pblk2->GetRect();
  if (dx == 0) {
    EndPoint = {c.X, dy < 1 ? rect.Top : rect.Bottom};
  } else if (dy == 0) {
    EndPoint = {dx < 1 ? rect.Left : rect.Right, c.Y};
  } else if (std::llabs(dx) > std::llabs(dy)) {
    const std::int32_t x = dx < 1 ? rect.Left : rect.Right;
    EndPoint = {x, ClampToInt32(c.Y - MulDiv(std::int64_t{c.X} - x, dy, dx))};
  } else {
    const std::int32_t y = dy < 1 ? rect.Top : rect.Bottom;
    const std::int32_t x = std::llabs(dx) != std::llabs(dy)
                               ? ClampToInt32(c.X - MulDiv(std::int64_t{c.Y} - y, dx, dy))
                               : (dx < 1 ? rect.Left : rect.Right);
    EndPoint = {x, y};
  }

  // The arrowhead: its base 15 pixels back from the tip towards the previous point,
  // its wings turned 30 and 60 degrees off the shaft, in single precision as drawn.
  const TPoint t = EndPoint;
  const TWide vx = TWide(p.X) - t.X;
  const TWide vy = TWide(p.Y) - t.Y;
  const float length = static_cast<float>(std::sqrt(vx * vx + vy * vy));
  const float fifteen = 15.0f;
  ArrowBase = {TruncToInt32(t.X + TruncToInt32(vx * fifteen / length)),
               TruncToInt32(t.Y + TruncToInt32(vy * fifteen / length))};
  const float a = static_cast<float>(TWide(t.X) - ArrowBase.X);
  const float b = static_cast<float>(TWide(t.Y) - ArrowBase.Y);
  const float pi = static_cast<float>(std::acos(TWide(-1)));
  const TWide bx = ArrowBase.X;
  const TWide by = ArrowBase.Y;
  TWide s = std::sin(TWide(pi) / 6);
  TWide co = std::cos(TWide(pi) / 6);
  ArrowWing1 = {TruncToInt32(bx - (a * s + b * co)), TruncToInt32(by + a * co - b * s)};
  s = std::sin(TWide(pi) / 3);
  co = std::cos(TWide(pi) / 3);
  ArrowWing2 = {TruncToInt32(bx - a * co + b * s), TruncToInt32(by - (a * s + b * co))};
}

void TDrawLine::RemoveCollinearPoints() {
  std::size_t i = 2;
  while (i < Ppointslist.size()) {
    if (OnSegment(Ppointslist[i - 1].X, Ppointslist[i - 1].Y, Ppointslist[i - 2],
                  Ppointslist[i]))
      Ppointslist.erase(Ppointslist.begin() + static_cast<std::ptrdiff_t>(i - 1));
    else
      ++i;
  }
}

bool TDrawLine::IsOnSegment(int x, int y, int x1, int y1, int x2, int y2) {
  std::int64_t minX = std::min(x1, x2), maxX = std::max(x1, x2);
  if (maxX - minX < 10) minX -= 3, maxX += 3;
  std::int64_t minY = std::min(y1, y2), maxY = std::max(y1, y2);
  if (maxY - minY < 10) minY -= 3, maxY += 3;
  if (x < minX || x > maxX || y < minY || y > maxY) return false;
  if (x1 == x2 && y1 == y2) return false;  // no segment to measure from
  const TWide dy = TWide(y2) - y1;
  const TWide dx = TWide(x1) - x2;
  const TWide cross = dy * x + dx * y + TWide(x2) * y1 - TWide(x1) * y2;
  const float distance = static_cast<float>(std::fabs(cross / std::sqrt(dy * dy + dx * dx)));
  return std::trunc(distance) < 10;
}

int TDrawLine::FindBendPoint(int x, int y) const {
  const int count = static_cast<int>(Ppointslist.size());
  for (int i = 1; i < count - 1; ++i) {
    const TPoint p = Ppointslist[static_cast<std::size_t>(i)];
    if (std::llabs(std::int64_t{x} - p.X) <= 5 && std::llabs(std::int64_t{y} - p.Y) <= 5)
      return i;
  }
  return -1;
}

bool TDrawLine::Contains(int x, int y) const {
  QORV_ASSERT_AS(Pblk1 != nullptr && Pblk2 != nullptr, "Pblk1!=0&&Pblk2!=0");
  const std::size_t count = Ppointslist.size();
  if (count < 2) return false;  // not drawn yet
  if (Pblk1->Contains(x, y) || Pblk2->Contains(x, y)) return false;
  if (count == 2) return OnSegment(x, y, StartPoint, EndPoint);
  if (FindBendPoint(x, y) >= 0) return true;
  if (OnSegment(x, y, StartPoint, Ppointslist[1])) return true;
  for (std::size_t i = 1; i + 1 < count - 1; ++i)
    if (OnSegment(x, y, Ppointslist[i], Ppointslist[i + 1])) return true;
  return OnSegment(x, y, Ppointslist[count - 2], EndPoint);
}

bool TDrawLine::CanDropAt(int x, int y) const {
  return !(Pblk1 && Pblk1->Contains(x, y)) && !(Pblk2 && Pblk2->Contains(x, y));
}

TRect TDrawLine::GetRect() const {
  if (Ppointslist.empty()) return TRect{};
  TRect rect{Ppointslist[0].X, Ppointslist[0].Y, Ppointslist[0].X, Ppointslist[0].Y};
  for (const TPoint& p : Ppointslist) {
    rect.Left = std::min(rect.Left, p.X);
    rect.Top = std::min(rect.Top, p.Y);
    rect.Right = std::max(rect.Right, p.X);
    rect.Bottom = std::max(rect.Bottom, p.Y);
  }
  return rect;
}

void TDrawLine::StartDrag(int x, int y) {
  QORV_ASSERT_AS(Ppointslist.size() >= 2, "Ppointslist!=0");
  DragRef1 = DragRef2 = -1;
  MovingBend = false;
  const int count = static_cast<int>(Ppointslist.size());
  if (count == 2) {
    DragRef1 = 0, DragRef2 = 1;
    return;
  }
  const int bend = FindBendPoint(x, y);
  if (bend > 0) {
    MovingBend = true;
    DragRef1 = bend - 1, DragRef2 = bend + 1;
    return;
  }
  // A press beside every segment (the drawn ends are clipped, the walk runs from the
  // centres) starts no drag.
  for (int i = 0; i + 1 < count; ++i)
    if (OnSegment(x, y, Ppointslist[static_cast<std::size_t>(i)],
                  Ppointslist[static_cast<std::size_t>(i + 1)])) {
      DragRef1 = i, DragRef2 = i + 1;
      return;
    }
}

bool TDrawLine::GetDragReferences(TPoint& first, TPoint& second) const {
  if (DragRef1 < 0 || DragRef2 < 0) return false;
  first = Ppointslist[static_cast<std::size_t>(DragRef1)];
  second = Ppointslist[static_cast<std::size_t>(DragRef2)];
  return true;
}

void TDrawLine::EndDrag(int x, int y, bool accepted) {
  if (accepted && DragRef2 >= 0) {
    const auto i = static_cast<std::size_t>(DragRef2);
    QORV_ASSERT_AS(i > 0 && i < Ppointslist.size(), "index>0");
    if (MovingBend) {
      Ppointslist[i - 1] = {x, y};
      if (OnSegment(x, y, Ppointslist[i - 2], Ppointslist[i])) {
        QORV_ASSERT_AS(Ppointslist.size() > 2, "Ppointslist->Count>1");
        Ppointslist.erase(Ppointslist.begin() + static_cast<std::ptrdiff_t>(i - 1));
        ClipAtFirstBlock();
        ClipAtSecondBlock();
      } else {
        if (i - 1 == 1) ClipAtFirstBlock();
        if (i - 1 == Ppointslist.size() - 2) ClipAtSecondBlock();
      }
    } else {
      Ppointslist.insert(Ppointslist.begin() + static_cast<std::ptrdiff_t>(i), TPoint{x, y});
      if (i == 1) ClipAtFirstBlock();
      if (i == Ppointslist.size() - 2) ClipAtSecondBlock();
    }
  }
  MovingBend = false;
  DragRef1 = DragRef2 = -1;
  RedrawEditor();
}

void TDrawLine::Save(TWriteFile* file) const {
  QORV_ASSERT_AS(Pblk1 != nullptr && Pblk2 != nullptr, "Pblk1!=0&&Pblk2!=0");
  file->WriteInteger(file->GetObjectId(Pblk1->GetBlock()));
  file->WriteInteger(file->GetObjectId(Pblk2->GetBlock()));
  const std::size_t count = Ppointslist.size();
  const std::size_t bends = count >= 3 ? count - 2 : 0;
  file->WriteInteger(static_cast<std::int32_t>(bends));
  for (std::size_t i = 1; i <= bends; ++i) {
    file->WriteInteger(Ppointslist[i].X);
    file->WriteInteger(Ppointslist[i].Y);
  }
}

void TDrawLine::Load(TReadFile* file) {
  file->ReadInteger(Pblk1ID);
  file->ReadInteger(Pblk2ID);
  const std::int32_t bends = file->ReadCount(8);
  for (std::int32_t i = 0; i < bends; ++i) {
    TPoint point;
    file->ReadInteger(point.X);
    file->ReadInteger(point.Y);
    Ppointslist.push_back(point);
  }
}

void TDrawLine::ResolveBlocks(const std::vector<TDrawBlock*>& blocklist) {
  if (Pblk1ID < 0 || Pblk2ID < 0 || Pblk1ID == Pblk2ID)
    throw EReadError("Error reading drawblocks");
  for (TDrawBlock* box : blocklist) {
    if (Pblk1ID == -1 && Pblk2ID == -1) break;
    const std::int32_t id = box->GetBlockID();
    QORV_ASSERT_AS(id > -1, "blkid>-1");
    if (id == Pblk1ID) {
      Pblk1 = box;
      Pblk1->AddLine(this);
      Pblk1ID = -1;
      Ppointslist.insert(Ppointslist.begin(), box->GetCenter());
    } else if (id == Pblk2ID) {
      Pblk2 = box;
      Pblk2->AddLine(this);
      Pblk2ID = -1;
      Ppointslist.push_back(box->GetCenter());
    }
  }
  if (!Pblk1 || !Pblk2) throw EReadError("Error reading drawblocks");
}
