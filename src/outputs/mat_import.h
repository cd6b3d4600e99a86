// MAT import: one named array of a MAT file read as doubles (TImportMatLab), the X/Y
// column pairs chosen from it (TMatLabData), and what "Add" makes of the dialog's
// choices. The import dialog lists one TImportMatLab per array of the chosen file; its
// entries become the series of the transfer data the window imports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TTransferData;
class TTransferSeries;
class TMatLabData;

class TImportMatLab {
public:
  TImportMatLab(std::string fileName, std::string arrayName);

  // Loads the array once; true when data are present. An empty array shows "Array " +
  // name + " is empty"; an array that cannot be imported shows why, naming it.
  bool Read();
  // The texts of the column's first values (up to 10); none for a column outside the
  // array.
  std::vector<std::string> GetColumnPreview(std::int32_t column) const;
  std::unique_ptr<TMatLabData> NewDataSet(std::int32_t xColumn, std::int32_t yColumn,
                                          std::int32_t rowCount, std::int32_t firstRow);

  std::int32_t Rows() const { return ANumRows; }
  std::int32_t Columns() const { return ANumColumns; }
  bool HasData() const { return !AData.empty(); }
  const std::string& ArrayName() const { return AArrayName; }
  // Element (row, column), both within the array.
  double At(std::int32_t row, std::int32_t column) const;

private:
  std::int32_t ANumRows = 0;
  std::int32_t ANumColumns = 0;
  std::string AFileName;
  std::string AArrayName;
  std::vector<double> AData;
};

// One chosen X/Y column pair of an array with its rows (all 0-based).
class TMatLabData {
public:
  TMatLabData(TImportMatLab* creator, std::int32_t xColumn, std::int32_t yColumn,
              std::int32_t firstRow, std::int32_t rowCount);

  // name + " :" + X + 1 + " vs " + Y + 1 + ": Rows " + first + 1 + " to " + first + count.
  std::string EntryText() const;
  // name + " :" + the column (0-based).
  std::string XName() const;
  std::string YName() const;
  // A new series of the data holding the chosen points as floats; none when the array
  // holds no data or the rows lie outside it.
  TTransferSeries* MakeSeries(TTransferData& data) const;

  std::int32_t XColumn, YColumn, FirstRow, RowCount;

private:
  TImportMatLab* Pcreator;
};

// The "Read As" choices, in the order of the radio group.
enum class TMatReadAs { XYPairs = 0, Column1IsX = 1, Individually = 2 };

// First row and row count of the dialog's choice: start 0 is "All", start s the row s;
// end 0 is "End", end j the row s + j.
void MatChosenRows(std::int32_t rows, std::int32_t start, std::int32_t end, std::int32_t& firstRow,
                   std::int32_t& rowCount);

// The most entries the list holds: a window holds no more series than this.
constexpr std::size_t MaxMatEntries = 25;

// "Add": the entries the choice makes for the array (xColumn and yColumn are the
// combos' 0-based choices, -1 for none), appended to entries; refusals are shown. An
// array without data (empty or refused) adds nothing, its message shown again. Entries
// beyond MaxMatEntries are left out, and the user told how many.
void AddMatDataSets(TImportMatLab& array, TMatReadAs readAs, std::int32_t xColumn,
                    std::int32_t yColumn, std::int32_t firstRow, std::int32_t rowCount,
                    std::vector<std::unique_ptr<TMatLabData>>& entries);

// The transfer data of the entries, one series per entry in order; none without
// entries.
std::unique_ptr<TTransferData> MakeMatTransfer(
    const std::vector<std::unique_ptr<TMatLabData>>& entries);
