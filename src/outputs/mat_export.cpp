#include "outputs/mat_export.h"

#include <algorithm>
#include <filesystem>

#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "outputs/mat_file.h"
#include "outputs/output_form.h"

namespace {

void EqualRowsMessage() {
  UiPort().ShowMessage(
      "The remaining items cannot be moved because MatLab arrays\r"
      "require that all series have the same number of rows",
      "", TMessageKind::Information);
}

// The longest variable name MAT readers take.
constexpr std::size_t MaxMatArrayName = 63;

// A name other MAT readers can use as a variable: a letter, then letters, digits and "_".
bool IsMatArrayName(const std::string& name) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return !name.empty() && name.size() <= MaxMatArrayName && letter(name.front()) &&
         std::all_of(name.begin(), name.end(),
                     [&](char c) { return letter(c) || digit(c) || c == '_'; });
}

// The selected positions within a list of n, ascending, each once.
std::vector<int> Positions(std::vector<int> selected, std::size_t n) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  std::erase_if(selected, [n](int i) { return i < 0 || static_cast<std::size_t>(i) >= n; });
  return selected;
}

}  // namespace

void TMatExportLists::Prepare() {
  Series.clear();
  SeriesSave.clear();
  PointSpread = -1;
}

void TMatExportLists::Offer(const std::string& title, std::int32_t dataSet, std::int32_t points) {
  if (points < 1) return;
  Series.emplace_back(dataSet, points - 1, title);
}

void TMatExportLists::AddAll() {
  if (Series.empty()) return;
  if (PointSpread < 0) PointSpread = Series.front().RowCount();
  std::vector<TCopyObject> stay;
  for (TCopyObject& range : Series)
    (range.RowCount() == PointSpread ? SeriesSave : stay).push_back(std::move(range));
  Series = std::move(stay);
  if (!Series.empty()) EqualRowsMessage();
}

void TMatExportLists::AddSelected(const std::vector<int>& selected) {
  bool refused = false;
  std::vector<int> moved;
  for (int i : Positions(selected, Series.size())) {
    const TCopyObject& range = Series[static_cast<std::size_t>(i)];
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
  for (TCopyObject& range : SeriesSave) Series.push_back(std::move(range));
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
  std::swap(SeriesSave[static_cast<std::size_t>(index)],
            SeriesSave[static_cast<std::size_t>(index - 1)]);
  return index - 1;
}

int TMatExportLists::MoveDown(int index) {
  if (index < 0 || static_cast<std::size_t>(index) + 1 >= SeriesSave.size()) return index;
  std::swap(SeriesSave[static_cast<std::size_t>(index)],
            SeriesSave[static_cast<std::size_t>(index + 1)]);
  return index + 1;
}

void TMatExportLists::MoveOne(int index, bool fromSave) {
  if (fromSave)
    RemoveSelected({index});
  else
    AddSelected({index});
}

bool TMatExportLists::EditsStartOnly(int, bool inSave) const {
  return inSave && SeriesSave.size() >= 2;
}

void TMatExportLists::EditPoints(int index, bool inSave, std::int32_t first, std::int32_t last) {
  std::vector<TCopyObject>& list = inSave ? SeriesSave : Series;
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return;
  TCopyObject& range = list[static_cast<std::size_t>(index)];
  if (EditsStartOnly(index, inSave)) {
    // The range keeps the common row count from its new start.
    if (first < 0 || std::int64_t{first} + PointSpread - 1 > range.LastIndex()) return;
    range.SetFirstRow(first);
    range.SetLastRow(first + PointSpread - 1);
    return;
  }
  range.SetFirstRow(first);
  range.SetLastRow(last);
  if (inSave) PointSpread = range.RowCount();
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
  if (!IsMatArrayName(name)) {
    UiPort().ShowMessage("The array name " + name +
                             " cannot be used: it must begin with a letter, hold only letters, "
                             "digits and \"_\", and have at most " +
                             NumberText::IntToText(MaxMatArrayName) + " characters",
                         "", TMessageKind::Information);
    return false;
  }
  std::error_code error;
  if (std::filesystem::exists(file, error)) {
    const auto names = ListMatArrays(file);
    const bool inUse =
        names && std::any_of(names->begin(), names->end(),
                             [&](const std::string& n) { return UpperText(n) == UpperText(name); });
    if (inUse &&
        UiPort().Ask("The name " + name +
                         " is already in use.\r"
                         "The data will be overwritten if you continue.  Do you wish to continue?",
                     "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes)
      return false;
  }
  TMatExportMatrix matrix;
  for (const TCopyObject& range : SeriesSave)
    matrix.Ranges.push_back({range.SetIndex(), range.FirstRow(), range.LastRow()});
  if (!caller.ExportMatLab(matrix)) return false;
  if (!WriteMatLabMatrix(file, name, matrix.Rows, matrix.Columns, matrix.Values)) return false;
  UiPort().ShowMessage("Data saved to " + file + " array " + name + ".", "",
                       TMessageKind::Information);
  return true;
}

bool WriteMatLabMatrix(const std::string& fileName, const std::string& arrayName, std::int32_t rows,
                       std::int32_t columns, const std::vector<double>& values) {
  if (WriteMatArray(TrimText(fileName), TrimText(arrayName), rows, columns, values)) return true;
  std::string text = "Error creating/openning file.";
  UiPort().ShowMessage(text, "", TMessageKind::Error);
  std::string log;
  for (const std::string& line : MatLibraryLog()) log += (log.empty() ? "" : "\r") + line;
  if (!log.empty()) UiPort().ShowMessage(log, "MATLAB File", TMessageKind::Warning);
  return false;
}
