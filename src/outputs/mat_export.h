// MAT export: the row ranges of a graph's or table's series offered to the export
// dialog, the ranges chosen to save (all of one row count), and the save that writes
// them as one real double matrix of rows x 2 columns per range (X then Y).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outputs/copy_object.h"

class TOutputForm;

// The dialog's two lists and their common row count.
class TMatExportLists {
public:
  // Empties both lists; the row count becomes undetermined.
  void Prepare();
  // Offers the whole of a series with at least one point.
  void Offer(const std::string& title, std::int32_t dataSet, std::int32_t points);

  // The moves between the lists. A range of another row count than the chosen ones
  // stays, and the equal-rows message is shown once. Selections are list positions.
  void AddAll();
  void AddSelected(const std::vector<int>& selected);
  void RemoveAll();
  void RemoveSelected(const std::vector<int>& selected);
  // Moves the chosen range at index up or down one place; answers its new index.
  int MoveUp(int index);
  int MoveDown(int index);
  // Double click: moves the one range to the other list (fromSave: from the chosen).
  void MoveOne(int index, bool fromSave);
  // "Edit Points" on the range at index: whether only its first row may be chosen (a
  // chosen range among two or more keeps the common row count).
  bool EditsStartOnly(int index, bool inSave) const;
  // Takes the rows chosen for the range at index (last ignored when only the start was
  // chosen); a lone chosen range sets the common row count.
  void EditPoints(int index, bool inSave, std::int32_t first, std::int32_t last);

  // Checks (an array name must be one MAT readers can use as a variable), asks about a
  // name in use, has the caller fill the matrix and writes it; shows "Data saved to ..."
  // and answers true only when the file was written.
  bool Save(TOutputForm& caller, const std::string& arrayName, const std::string& fileName);

  std::vector<TCopyObject> Series;      // offered
  std::vector<TCopyObject> SeriesSave;  // chosen, in matrix order
  std::int32_t PointSpread = -1;        // the chosen ranges' row count, -1 undetermined
};

// The writer: rows x columns doubles (column by column) as the named matrix in the
// file; "Error creating/openning file." and false on any failure.
bool WriteMatLabMatrix(const std::string& fileName, const std::string& arrayName, std::int32_t rows,
                       std::int32_t columns, const std::vector<double>& values);
