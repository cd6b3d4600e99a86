// The graph's series as text: the clipboard text of chosen row ranges (for another
// output, comma or tab delimited), the comma- and tab-delimited text files, and the
// ranges a band of X values covers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TGraphForm;

// The rows first to last (0-based, inclusive) of the series at a position. One row
// (first == last) is a range too.
struct TClipRange {
  std::int32_t Series = 0;
  std::int32_t First = 0;
  std::int32_t Last = -1;
  std::int32_t RowCount() const { return Last - First + 1; }
};

// Rows × 4 × ranges × 2 above this is too much for the clipboard.
constexpr std::int64_t ClipTextLimit = 64000;

// The clipboard text of the ranges, one line per entry of lines (no line ends): for
// another output "OutputType=4" and "NumberOfSeries=" + the range count first; then the
// header of X and Y names; then one row per index up to the longest range, a range past
// its rows giving " " + delimiter + " ". Values in the series' values format. Too much
// text shows "Too much data to put on the clipboard", empties lines and answers false;
// so does a range outside its series.
bool GraphClipText(const TGraphForm& form, std::vector<std::string>& lines,
                   const std::string& delimiter, const std::vector<TClipRange>& ranges,
                   bool forOutput);
// The lines joined, each ended by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// Every series with a point, whole, in chart order.
std::vector<TClipRange> WholeSeriesRanges(const TGraphForm& form);
// The rows of each series whose X lie in the band [left, right] (ascending X assumed, as
// drawn); a band holding one point gives a one-row range.
std::vector<TClipRange> BandRanges(const TGraphForm& form, double left, double right);
// The first point from start on whose X is at or after target in ascending values (the
// last point when the target lies beyond them all); -1 when there is none.
std::int32_t FindPoint(const std::vector<double>& x, double target, std::int32_t start);

// The comma file's rows from first up to 100 further (not past rowCount), lines emptied
// first, each series' X and Y in its values format without ","; a series without that
// point gives " " + delimiter + " ". Answers first + 100, or -1 when no row is left.
std::int32_t GraphCommaRows(const TGraphForm& form, std::vector<std::string>& lines,
                            const std::string& delimiter, std::int32_t rowCount,
                            std::int32_t first);
constexpr std::int32_t CommaRowsPerBlock = 100;
// Every row of the tab file: X and Y in the axes' values format, each followed by a tab
// but the last series' Y; a missing point gives an empty X and a blank Y.
std::vector<std::string> GraphTabRows(const TGraphForm& form);

// The "Save As Type" text files: ask for the name (the window's proposed), require the
// ".txt" suffix, write through a temporary file replaced only when complete. "Nothing to
// save" when no series holds a point; "InvalidExtension" (comma) or "Invalid Extention"
// (tab) for another suffix; "Error writing to file" when the write fails. The series'
// settings never change. Answers whether the file was written.
bool ExportGraphComma(const TGraphForm& form);
bool ExportGraphTab(const TGraphForm& form);

// The longest series' point count.
std::int32_t LongestSeries(const TGraphForm& form);
// The name ends with the extension (".txt"), in any case.
bool HasSuffix(const std::string& name, const std::string& extension);
