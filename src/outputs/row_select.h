// What the row dialog accepts. Its limit L is the number of points of the range's data
// set: rows are typed counted from 1, "End" (any case, blanks around it) stands for row
// L, and a range may be a single row.
#pragma once

#include <cstdint>
#include <string>

struct TRowChoice {
  bool Accepted = false;
  std::string Message;      // why not, when not accepted
  std::int32_t First = 0;   // 0-based
  std::int32_t Last = 0;    // 0-based
};

// The start field's text for a first row (0-based).
std::string StartRowText(std::int32_t firstRow);
// The end field's text for a last row: "End" for the limit's row, else its number.
std::string EndRowText(std::int32_t lastRow, std::int32_t limit);

// Start and end: the start from 1 to the limit, the end from the start to the limit or
// "End".
TRowChoice ChooseRows(const std::string& start, const std::string& end, std::int32_t limit);
// Start only: the start from 1 to the limit, with at least minimumRows rows from it to
// the limit; the last row is the limit's.
TRowChoice ChooseStartRow(const std::string& start, std::int32_t limit, std::int32_t minimumRows);
