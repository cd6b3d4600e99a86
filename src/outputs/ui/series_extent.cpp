#include "outputs/ui/series_extent.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "outputs/graph_form.h"

TSeriesExtent SeriesExtent(const TGraphSeries& series) {
  const double infinity = std::numeric_limits<double>::infinity();
  double minX = infinity, maxX = -infinity, minY = infinity, maxY = -infinity;
  const std::size_t n = std::min(series.X.size(), series.Y.size());
  const double* x = series.X.data();
  const double* y = series.Y.data();
  for (std::size_t i = 0; i < n; ++i) {
    // Infinities and NaN cannot be drawn, so they take no room on the axes.
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
    minX = std::min(minX, x[i]);
    maxX = std::max(maxX, x[i]);
    minY = std::min(minY, y[i]);
    maxY = std::max(maxY, y[i]);
  }
  TSeriesExtent extent;
  extent.Any = minX <= maxX;
  if (extent.Any) {
    extent.MinX = minX;
    extent.MaxX = maxX;
    extent.MinY = minY;
    extent.MaxY = maxY;
  }
  return extent;
}
