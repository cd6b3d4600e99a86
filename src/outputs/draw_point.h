// A point of a series as the chart draws it.
#pragma once

struct TDrawPoint {
  double X;
  double Y;
};
