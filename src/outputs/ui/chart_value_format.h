// A chart's values format ("" standard, "0.00" fixed with two decimals, "0.00E-0"
// scientific with two decimals, as the graph's number format gives it) and numbers shown
// in it. Every text goes through the project's number formatter.
#pragma once

#include <QString>

struct TChartValueFormat {
  int Notation = 0;  // TNotationType
  int Decimals = 0;  // 0 to NumberText::MaxDecimalPlaces
};

// The notation and decimals of a values format; a text that is no such format shows
// numbers in the standard notation.
TChartValueFormat ParseValuesFormat(const QString& format);
// The value as text in the format.
QString FormatChartValue(double value, const TChartValueFormat& format);
// The value rounded to the decimal step just below one pixel's worth of units, so that a
// mouse position reads "12.34" rather than fifteen digits of noise.
double RoundToPixel(double value, double unitsPerPixel);
