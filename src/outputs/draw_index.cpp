#include "outputs/draw_index.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

enum class EPlace : std::uint8_t { None, Left, In, Right, Gap };

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool Opposite(EPlace a, EPlace b) {
  return (a == EPlace::Left && b == EPlace::Right) || (a == EPlace::Right && b == EPlace::Left);
}

// Walks a series' points in arrival order and writes the ones to draw. Blocks wholly on
// one side of the range or wholly in one column are taken whole.
class TViewWalk {
public:
  TViewWalk(const double* x, const double* y, double xMin, double xMax, std::int32_t columns,
            bool full, std::vector<TDrawPoint>& out)
      : X(x), Y(y), XMin(xMin), XMax(xMax), Columns(columns), Full(full), Out(out) {}

  std::int32_t Column(double x) const {
    const double t = std::floor((x - XMin) / (XMax - XMin) * Columns);
    if (!(t >= 0.0)) return 0;  // also a range of width 0 or an infinite one
    if (t >= Columns) return Columns - 1;
    return static_cast<std::int32_t>(t);
  }

  void Point(std::size_t i) {
    const double x = X[i];
    if (std::isnan(x) || std::isnan(Y[i])) return Outside(i, EPlace::Gap);
    if (x < XMin) return Outside(i, EPlace::Left);
    if (x > XMax) return Outside(i, EPlace::Right);
    KeepPrevious(EPlace::In);
    if (Full) {
      Emit(i);
    } else if (InRun && RunColumn == Column(x)) {
      if (Y[i] < Y[Low]) Low = i;
      if (Y[i] > Y[High]) High = i;
      Last = i;
    } else {
      Flush();
      StartRun(Column(x), i, i, i, i);
    }
    Step(EPlace::In, i, true);
  }

  // Points first..last, all inside the range in one column, without NaN; low and high
  // are the first of their least and greatest y.
  void Run(std::size_t first, std::size_t last, std::size_t low, std::size_t high,
           std::int32_t column) {
    KeepPrevious(EPlace::In);
    if (InRun && RunColumn == column) {
      if (Y[low] < Y[Low]) Low = low;
      if (Y[high] > Y[High]) High = high;
      Last = last;
    } else {
      Flush();
      StartRun(column, first, low, high, last);
    }
    Step(EPlace::In, last, true);
  }

  // Points first..last all on one side of the range, without NaN: only the ends can
  // touch a point inside or across.
  void Side(std::size_t first, std::size_t last, EPlace side) {
    Outside(first, side);
    if (last != first) Outside(last, side);
  }

  void Finish() { Flush(); }

private:
  void Outside(std::size_t i, EPlace place) {
    KeepPrevious(place);
    Flush();
    const bool keep = PrevPlace == EPlace::In || Opposite(PrevPlace, place);
    if (keep) Emit(i);
    Step(place, i, keep);
  }

  // The previous point outside the range comes when this one is inside, or across.
  void KeepPrevious(EPlace place) {
    if (PrevPlace == EPlace::None || PrevPlace == EPlace::In || PrevOut) return;
    if (place == EPlace::In || Opposite(PrevPlace, place)) {
      Emit(Prev);
      PrevOut = true;
    }
  }

  void Step(EPlace place, std::size_t i, bool out) {
    PrevPlace = place;
    Prev = i;
    PrevOut = out;
  }

  void StartRun(std::int32_t column, std::size_t first, std::size_t low, std::size_t high,
                std::size_t last) {
    InRun = true;
    RunColumn = column;
    First = first;
    Low = low;
    High = high;
    Last = last;
  }

  // The run's first, lowest, highest and last point, in arrival order, each once.
  void Flush() {
    if (!InRun) return;
    InRun = false;
    std::size_t at[4] = {First, Low, High, Last};
    if (at[1] > at[2]) std::swap(at[1], at[2]);
    Emit(at[0]);
    for (int k = 1; k < 4; ++k)
      if (at[k] != at[k - 1]) Emit(at[k]);
  }

  void Emit(std::size_t i) { Out.push_back({X[i], Y[i]}); }

  const double* X;
  const double* Y;
  double XMin, XMax;
  std::int32_t Columns;
  bool Full;
  std::vector<TDrawPoint>& Out;

  EPlace PrevPlace = EPlace::None;
  std::size_t Prev = 0;
  bool PrevOut = false;

  bool InRun = false;
  std::int32_t RunColumn = 0;
  std::size_t First = 0, Low = 0, High = 0, Last = 0;
};

}  // namespace

void TDrawIndex::Update(const std::vector<double>& x, const std::vector<double>& y,
                        std::uint64_t revision) {
  const std::size_t n = std::min(x.size(), y.size());
  const std::size_t covered = IndexedPoints();
  if (revision != Revision || covered > n ||
      (covered > 0 && !(SameBits(x[covered - 1], CheckX) && SameBits(y[covered - 1], CheckY)))) {
    Blocks.clear();
    Revision = revision;
  }
  while (IndexedPoints() + BlockPoints <= n) {
    const std::size_t first = IndexedPoints();
    TBlock block{HUGE_VAL, -HUGE_VAL, HUGE_VAL, -HUGE_VAL, 0, 0, false};
    bool any = false;
    for (std::size_t k = 0; k < BlockPoints; ++k) {
      const double px = x[first + k];
      const double py = y[first + k];
      if (std::isnan(px) || std::isnan(py)) {
        block.HasGap = true;
        continue;
      }
      block.MinX = std::min(block.MinX, px);
      block.MaxX = std::max(block.MaxX, px);
      if (!any || py < block.MinY) {
        block.MinY = py;
        block.LowAt = static_cast<std::uint16_t>(k);
      }
      if (!any || py > block.MaxY) {
        block.MaxY = py;
        block.HighAt = static_cast<std::uint16_t>(k);
      }
      any = true;
    }
    Blocks.push_back(block);
    CheckX = x[first + BlockPoints - 1];
    CheckY = y[first + BlockPoints - 1];
  }
}

std::size_t TDrawIndex::CountInView(const double* x, const double* y, std::size_t n,
                                    double xMin, double xMax, std::size_t enough) const {
  std::size_t count = 0;
  const auto visit = [&](std::size_t first, std::size_t end) {
    for (std::size_t i = first; i < end; ++i)
      if (x[i] >= xMin && x[i] <= xMax && !std::isnan(y[i])) ++count;
  };
  for (std::size_t b = 0; b < Blocks.size() && count < enough; ++b) {
    const TBlock& block = Blocks[b];
    const std::size_t first = b * BlockPoints;
    if (block.HasGap)
      visit(first, first + BlockPoints);
    else if (block.MaxX < xMin || block.MinX > xMax)
      continue;
    else if (block.MinX >= xMin && block.MaxX <= xMax)
      count += BlockPoints;
    else
      visit(first, first + BlockPoints);
  }
  if (count < enough) visit(IndexedPoints(), n);
  return count;
}

void TDrawIndex::PointsToDraw(const std::vector<double>& x, const std::vector<double>& y,
                              std::uint64_t revision, double xMin, double xMax,
                              std::int32_t columns, std::vector<TDrawPoint>& out) {
  out.clear();
  Update(x, y, revision);
  if (std::isnan(xMin) || std::isnan(xMax)) return;
  if (xMin > xMax) std::swap(xMin, xMax);
  columns = std::max(columns, 1);
  const std::size_t n = std::min(x.size(), y.size());
  const std::size_t enough = 4 * static_cast<std::size_t>(columns);
  const bool full = CountInView(x.data(), y.data(), n, xMin, xMax, enough) < enough;

  TViewWalk walk(x.data(), y.data(), xMin, xMax, columns, full, out);
  for (std::size_t b = 0; b < Blocks.size(); ++b) {
    const TBlock& block = Blocks[b];
    const std::size_t first = b * BlockPoints;
    const std::size_t last = first + BlockPoints - 1;
    if (!block.HasGap) {
      if (block.MaxX < xMin) {
        walk.Side(first, last, EPlace::Left);
        continue;
      }
      if (block.MinX > xMax) {
        walk.Side(first, last, EPlace::Right);
        continue;
      }
      if (!full && block.MinX >= xMin && block.MaxX <= xMax) {
        const std::int32_t column = walk.Column(block.MinX);
        if (column == walk.Column(block.MaxX)) {
          walk.Run(first, last, first + block.LowAt, first + block.HighAt, column);
          continue;
        }
      }
    }
    for (std::size_t i = first; i <= last; ++i) walk.Point(i);
  }
  for (std::size_t i = IndexedPoints(); i < n; ++i) walk.Point(i);
  walk.Finish();
}
