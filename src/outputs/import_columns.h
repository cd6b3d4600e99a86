// The text import wizard without its pages: the rows chosen, the lines split into
// columns (at a delimiter, or cut at the character positions of the fixed-width marks),
// and the data sets made of the columns, each an entry named as the list shows it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/output_form.h"

// Column by column, one string per chosen line.
using TImportColumns = std::vector<std::vector<std::string>>;

// The lines from the 1-based start row (0 stands for "All", row 1); count rows, or all
// rows to the end for count 0 ("End").
std::vector<std::string> ChooseImportLines(const std::vector<std::string>& lines,
                                           std::int32_t startRow, std::int32_t count);

// The number of columns is the most delimiters in a line plus 1; a line with fewer has
// empty cells at its end. "need delimiter" stands for an empty delimiter (no columns).
TImportColumns SplitDelimited(const std::vector<std::string>& lines, const std::string& delimiter);

// Each line cut exactly at the marks (character positions, in any order): the text
// before the first mark, between marks, and after the last become the columns,
// untrimmed (trimmed when converted). Marks at 0 or repeated cut nothing.
TImportColumns SplitFixedWidth(const std::vector<std::string>& lines,
                               std::vector<std::int32_t> marks);

// The data sets chosen on the last page, in list order.
class TImportSets {
public:
  explicit TImportSets(TImportColumns columns = {});

  std::int32_t ColumnCount() const { return static_cast<std::int32_t>(Columns.size()); }
  std::int32_t RowCount() const;
  const TImportColumns& GetColumns() const { return Columns; }
  // XY pairs need an even number of columns.
  bool CanPair() const { return ColumnCount() > 0 && ColumnCount() % 2 == 0; }

  // Each replaces the entries: columns 1 and 2, 3 and 4 ... ("Import Column i vs Column
  // i+1"); column 1 against each further column j ("Import Column 1 vs" + j). A refused
  // cell shows its message and "Error in column " + its column; the entries made before
  // it stay. False then.
  bool AddXYPairs();
  bool AddColumn1VsRest();
  // Adds one entry: column xColumn (1-based; 0 for the counter 0, 1, 2 ...) against
  // column yColumn.
  bool AddIndividual(std::int32_t xColumn, std::int32_t yColumn);
  void Remove(std::int32_t i);
  void Clear() { Entries.clear(); }

  std::int32_t Count() const { return static_cast<std::int32_t>(Entries.size()); }
  const TTransferSeries& Entry(std::int32_t i) const {
    return *Entries[static_cast<std::size_t>(i)];
  }

  // OK: every entry's series, in list order, into a new transfer data (the entries are
  // emptied). Without entries the message "Nothing to import.  Please select columns to
  // import or press Cancel" and none.
  std::unique_ptr<TTransferData> TakeResult();

private:
  // Column yColumn against xColumn (0: the counter); false after a refused cell.
  bool AddEntry(const std::string& name, std::int32_t xColumn, std::int32_t yColumn);

  TImportColumns Columns;
  std::vector<std::unique_ptr<TTransferSeries>> Entries;
};
