// The graph's series as text: the source of the clipboard text of chosen row ranges (for
// another output, comma or tab delimited), the comma- and tab-delimited text files, and
// the ranges a band of X values covers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outputs/copy_text.h"
#include "outputs/value_format.h"

class TGraphForm;

// The graph's series for the clipboard text of the copy dialog's kinds: the series' X
// and Y names, both values by the series' X conversion in the series' value format (the
// number format, which sets only the axes', never rounds copied data), and a blank in each
// field past a range's last row.
class TGraphCopySource final : public TCopyTextSource {
public:
  explicit TGraphCopySource(const TGraphForm& form);
  std::string XName(std::int32_t set) const override;
  std::string YName(std::int32_t set) const override;
  // "" for a row the series does not hold.
  std::string XText(std::int32_t set, std::int32_t row) const override;
  std::string YText(std::int32_t set, std::int32_t row) const override;
  std::string MissingField() const override { return " "; }

private:
  const TGraphForm& Form;
  TValueFormat Format;
};

// Every series with a point, whole, in chart order.
std::vector<TCopyObject> WholeSeriesRanges(const TGraphForm& form);
// The rows of each series whose X lie in the band [left, right] (ascending X assumed, as
// drawn); a band holding one point gives a one-row range.
std::vector<TCopyObject> BandRanges(const TGraphForm& form, double left, double right);
// The first point from start on whose X is at or after target in ascending values (the
// last point when the target lies beyond them all); -1 when there is none.
std::int32_t FindPoint(const std::vector<double>& x, double target, std::int32_t start);

// The comma file's rows from first up to 100 further (not past rowCount), lines emptied
// first, each series' X and Y in the series' value format (whatever the number format)
// without ","; a series without that point gives " " + delimiter + " ". Answers
// first + 100, or -1 when no row is left.
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
