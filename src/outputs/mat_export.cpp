#include "outputs/mat_export.h"

#include <algorithm>
#include <filesystem>

#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "outputs/mat_file.h"
#include "outputs/output_form.h"

namespace {

std::string Num(std::int64_t n) { return NumberText::IntToText(n); }

void EqualRowsMessage() {
  UiPort().ShowMessage(
      "The remaining items cannot be moved because MatLab arrays\r"
      "require that all series have the same number of rows",
      "", TMessageKind::Information);
}

// The selected positions within a list of n, ascending, each once.
std::vector<int> Positions(std::vector<int> selected, std::size_t n) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::erase_if(selected, [n](int i) { return i < 0 || static_cast<std::size_t>(i) >= n; });
  return selected;
}

}  // namespace

std::string TMatRange::ListText() const {
  return Title + " " + Num(First + 1) + " to " + Num(Last + 1) + " (" + Num(RowCount()) +
         " rows)";
}

void TMatExportLists::Prepare() {
  Series.clear();
  SeriesSave.clear();
  PointSpread = -1;
}

void TMatExportLists::Offer(const std::string& title, std::int32_t dataSet,
                            std::int32_t points) {
  if (points < 1) return;
  Series.push_back({title, dataSet, points - 1, 0, points - 1});
}

void TMatExportLists::AddAll() {
  if (Series.empty()) return;
  if (PointSpread < 0) PointSpread = Series.front().RowCount();
  std::vector<TMatRange> stay;
  for (TMatRange& range : Series)
    (range.RowCount() == PointSpread ? SeriesSave : stay).push_back(std::move(range));
  Series = std::move(stay);
  if (!Series.empty()) EqualRowsMessage();
}

void TMatExportLists::AddSelected(const std::vector<int>& selected) {
  bool refused = false;
  std::vector<int> moved;
  for (int i : Positions(selected, Series.size())) {
    const TMatRange& range = Series[static_cast<std::size_t>(i)];
    if (PointSpread < 0) PointSpread = range.RowCount();
    if (range.RowCount() != PointSpread) {
      refused = true;
      continue;
    }
    SeriesSave.push_back(range);
    moved.push_back(i);
  }
  for (auto it = moved.rbegin(); it != moved.rend(); ++it) Series.erase(Series.begin() + *it);
  if (refused) EqualRowsMessage();
}

void TMatExportLists::RemoveAll() {
  for (TMatRange& range : SeriesSave) Series.push_back(std::move(range));
  SeriesSave.clear();
  PointSpread = -1;
}

void TMatExportLists::RemoveSelected(const std::vector<int>& selected) {
  const std::vector<int> chosen = Positions(selected, SeriesSave.size());
  for (int i : chosen) Series.push_back(SeriesSave[static_cast<std::size_t>(i)]);
  for (auto it = chosen.rbegin(); it != chosen.rend(); ++it)
    SeriesSave.erase(SeriesSave.begin() + *it);
  if (SeriesSave.empty()) PointSpread = -1;
}

int TMatExportLists::MoveUp(int index) {
  if (index <= 0 || static_cast<std::size_t>(index) >= SeriesSave.size()) return index;
  std::swap(SeriesSave[static_cast<std::size_t>(index)], SeriesSave[static_cast<std::size_t>(index - 1)]);
  return index - 1;
}

int TMatExportLists::MoveDown(int index) {
  if (index < 0 || static_cast<std::size_t>(index) + 1 >= SeriesSave.size()) return index;
  std::swap(SeriesSave[static_cast<std::size_t>(index)], SeriesSave[static_cast<std::size_t>(index + 1)]);
  return index + 1;
}

void TMatExportLists::MoveOne(int index, bool fromSave) {
  if (fromSave) RemoveSelected({index});
  else AddSelected({index});
}

bool TMatExportLists::Save(TOutputForm& caller, const std::string& arrayName,
                           const std::string& fileName) {
  if (SeriesSave.empty()) {
    UiPort().ShowMessage("Nothing to save.", "", TMessageKind::Information);
    return false;
  }
  const std::string name = TrimText(arrayName);
  const std::string file = TrimText(fileName);
  if (name.empty()) {
    UiPort().ShowMessage("You must enter an array name", "", TMessageKind::Information);
    return false;
  }
  if (file.empty()) {
    UiPort().ShowMessage("You must enter a file name", "", TMessageKind::Information);
    return false;
  }
  std::error_code error;
  if (std::filesystem::exists(file, error)) {
    const auto names = ListMatArrays(file);
    const bool inUse = names && std::any_of(names->begin(), names->end(), [&](const std::string& n) {
      return UpperText(n) == UpperText(name);
    });
    if (inUse && UiPort().Ask("The name " + name + " is already in use.\r"
                              "The data will be overwritten if you continue.  Do you wish to continue?",
                              "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes)
      return false;
  }
  TMatExportMatrix matrix;
  for (const TMatRange& range : SeriesSave)
    matrix.Ranges.push_back({range.DataSet, range.First, range.Last});
  if (!caller.ExportMatLab(matrix)) return false;
  if (!WriteMatLabMatrix(file, name, matrix.Rows, matrix.Columns, matrix.Values)) return false;
  UiPort().ShowMessage("Data saved to " + file + " array " + name + ".", "",
                       TMessageKind::Information);
  return true;
}

bool WriteMatLabMatrix(const std::string& fileName, const std::string& arrayName,
                       std::int32_t rows, std::int32_t columns,
                       const std::vector<double>& values) {
  if (WriteMatArray(TrimText(fileName), TrimText(arrayName), rows, columns, values)) return true;
  std::string text = "Error creating/openning file.";
  UiPort().ShowMessage(text, "", TMessageKind::Error);
  std::string log;
  for (const std::string& line : MatLibraryLog()) log += (log.empty() ? "" : "\r") + line;
  if (!log.empty()) UiPort().ShowMessage(log, "MATLAB File", TMessageKind::Warning);
  return false;
}
