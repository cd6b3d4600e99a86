// The extent of a graph series' points, which automatic axes fit: the chart draws only
// part of the points, so the window tells it the whole series' extent.
#pragma once

struct TGraphSeries;

struct TSeriesExtent {
  bool Any = false;  // some point has finite X and Y
  double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
};

// Over the points whose X and Y are both finite.
TSeriesExtent SeriesExtent(const TGraphSeries& series);
