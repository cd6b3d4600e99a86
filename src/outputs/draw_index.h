// What a chart draws of a long series: summaries of its points in blocks, so that a
// view's points are found without visiting every point. For a view of the x range
// [xMin, xMax] over a number of pixel columns, each run of consecutive points (in
// arrival order) falling in one column gives its first, lowest, highest and last point,
// in arrival order; a view holding fewer points than four per column gives them all.
// The points just outside the range next to points inside it (and both ends of a step
// across the whole range) come too, so that lines enter and leave the view; a point
// with a NaN coordinate comes when it is next to a point inside, so that the line
// breaks there as it does undecimated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "outputs/draw_point.h"

class TDrawIndex {
public:
  // Points per block.
  static constexpr std::size_t BlockPoints = 256;

  // The points of x/y to draw (out is cleared first). The index follows the points
  // appended since the last call; a change of revision, or fewer points than it covers,
  // makes it start over. Not for concurrent calls.
  void PointsToDraw(const std::vector<double>& x, const std::vector<double>& y,
                    std::uint64_t revision, double xMin, double xMax, std::int32_t columns,
                    std::vector<TDrawPoint>& out);
  // The bytes the index holds (its capacity).
  std::size_t AllocatedBytes() const { return Blocks.capacity() * sizeof(TBlock); }
  // The points its summaries cover.
  std::size_t IndexedPoints() const { return Blocks.size() * BlockPoints; }

private:
  struct TBlock {
    double MinX, MaxX, MinY, MaxY;  // over the points without NaN
    std::uint16_t LowAt, HighAt;    // offsets of the first least and first greatest y
    bool HasGap;                    // a point with a NaN coordinate
  };

  void Update(const std::vector<double>& x, const std::vector<double>& y,
              std::uint64_t revision);
  std::size_t CountInView(const double* x, const double* y, std::size_t n, double xMin,
                          double xMax, std::size_t enough) const;

  std::vector<TBlock> Blocks;
  std::uint64_t Revision = 0;
  // The last point covered, to notice points replaced behind the index's back.
  double CheckX = 0.0;
  double CheckY = 0.0;
};
