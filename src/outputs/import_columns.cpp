#include "outputs/import_columns.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/transfer_text.h"

using NumberText::IntToText;

std::vector<std::string> ChooseImportLines(const std::vector<std::string>& lines,
                                           std::int32_t startRow, std::int32_t count) {
  const auto total = static_cast<std::int32_t>(lines.size());
  const std::int32_t first = std::clamp(startRow, 1, std::max(total, 1)) - 1;
  std::int32_t last = total;
  if (count > 0) last = std::min(total, first + count);
  if (first >= last) return {};
  return {lines.begin() + first, lines.begin() + last};
}

TImportColumns SplitDelimited(const std::vector<std::string>& lines, const std::string& delimiter) {
  if (delimiter.empty() || lines.empty()) return {};
  std::vector<std::vector<std::string>> rows;
  std::size_t columns = 1;
  for (const std::string& line : lines) {
    rows.push_back(SplitFields(line, delimiter));
    columns = std::max(columns, rows.back().size());
  }
  TImportColumns result(columns, std::vector<std::string>(lines.size()));
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c) result[c][r] = std::move(rows[r][c]);
  return result;
}

TImportColumns SplitFixedWidth(const std::vector<std::string>& lines,
                               std::vector<std::int32_t> marks) {
  if (lines.empty()) return {};
  std::sort(marks.begin(), marks.end());
  marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
  marks.erase(std::remove_if(marks.begin(), marks.end(), [](std::int32_t m) { return m <= 0; }),
              marks.end());
  TImportColumns result(marks.size() + 1, std::vector<std::string>(lines.size()));
  for (std::size_t r = 0; r < lines.size(); ++r) {
    const std::string& line = lines[r];
    // The marks count characters as drawn, not the bytes of their UTF-8 text.
    std::vector<std::size_t> starts;
    for (std::size_t b = 0; b < line.size(); ++b)
      if ((static_cast<unsigned char>(line[b]) & 0xC0) != 0x80) starts.push_back(b);
    auto byteOf = [&](std::int32_t position) {
      const auto p = static_cast<std::size_t>(position);
      return p < starts.size() ? starts[p] : line.size();
    };
    std::size_t from = 0;
    for (std::size_t c = 0; c <= marks.size(); ++c) {
      const std::size_t to = c < marks.size() ? byteOf(marks[c]) : line.size();
      if (to > from) result[c][r] = line.substr(from, to - from);
      from = std::max(from, to);
    }
  }
  return result;
}

TImportSets::TImportSets(TImportColumns columns) : Columns(std::move(columns)) {}

std::int32_t TImportSets::RowCount() const {
  return Columns.empty() ? 0 : static_cast<std::int32_t>(Columns[0].size());
}

bool TImportSets::AddEntry(const std::string& name, std::int32_t xColumn, std::int32_t yColumn) {
  const std::int32_t rows = RowCount();
  std::vector<std::string> xs;
  if (xColumn == 0)
    for (std::int32_t i = 0; i < rows; ++i) xs.push_back(IntToText(i));
  else
    xs = Columns[static_cast<std::size_t>(xColumn - 1)];
  auto series = std::make_unique<TTransferSeries>(name, rows);
  bool failedY = false;
  if (!series->ReadStrings(xs, Columns[static_cast<std::size_t>(yColumn - 1)], &failedY)) {
    UiPort().ShowMessage("Error in column " + IntToText(failedY ? yColumn : xColumn), "",
                         TMessageKind::Error);
    return false;
  }
  // The column names head the table's columns and title the graph's series.
  series->XName = xColumn == 0 ? "Counter" : "Column " + IntToText(xColumn);
  series->YName = "Column " + IntToText(yColumn);
  Entries.push_back(std::move(series));
  return true;
}

bool TImportSets::AddXYPairs() {
  Clear();
  if (!CanPair()) return false;
  for (std::int32_t i = 1; i < ColumnCount(); i += 2)
    if (!AddEntry("Import Column " + IntToText(i) + " vs Column " + IntToText(i + 1), i, i + 1))
      return false;
  return true;
}

bool TImportSets::AddColumn1VsRest() {
  Clear();
  for (std::int32_t j = 2; j <= ColumnCount(); ++j)
    if (!AddEntry("Import Column 1 vs" + IntToText(j), 1, j)) return false;
  return true;
}

bool TImportSets::AddIndividual(std::int32_t xColumn, std::int32_t yColumn) {
  if (xColumn < 0 || xColumn > ColumnCount() || yColumn < 1 || yColumn > ColumnCount())
    return false;
  const std::string x = xColumn == 0 ? "Counter" : "Column " + IntToText(xColumn);
  return AddEntry("Import " + x + " vs Column " + IntToText(yColumn), xColumn, yColumn);
}

void TImportSets::Remove(std::int32_t i) {
  if (i >= 0 && i < Count()) Entries.erase(Entries.begin() + i);
}

std::unique_ptr<TTransferData> TImportSets::TakeResult() {
  if (Entries.empty()) {
    UiPort().ShowMessage("Nothing to import.  Please select columns to import or press Cancel", "",
                         TMessageKind::Information);
    return nullptr;
  }
  auto data = std::make_unique<TTransferData>();
  for (auto& entry : Entries) data->Add(std::move(entry));
  Entries.clear();
  return data;
}
