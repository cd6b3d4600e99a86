#include "outputs/mat_import.h"

#include <algorithm>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "outputs/mat_file.h"
#include "outputs/output_form.h"

namespace {

std::string Num(std::int64_t n) { return NumberText::IntToText(n); }

void ShowLibraryLog() {
  std::string text;
  for (const std::string& line : MatLibraryLog()) text += (text.empty() ? "" : "\r") + line;
  if (!text.empty()) UiPort().ShowMessage(text, "MATLAB File", TMessageKind::Warning);
}

}  // namespace

TImportMatLab::TImportMatLab(std::string fileName, std::string arrayName)
    : AFileName(std::move(fileName)), AArrayName(std::move(arrayName)) {}

bool TImportMatLab::Read() {
  if (HasData()) return true;
  TMatArrayRead read = ReadMatArray(AFileName, AArrayName);
  ANumRows = read.Rows;
  ANumColumns = read.Columns;
  switch (read.Status) {
    case TMatArrayRead::Read: AData = std::move(read.Values); return true;
    case TMatArrayRead::Empty:
      UiPort().ShowMessage("Array " + AArrayName + " is empty", "", TMessageKind::Information);
      return false;
    case TMatArrayRead::Refused:
      ANumRows = ANumColumns = 0;
      UiPort().ShowMessage(read.Refusal, "", TMessageKind::Warning);
      ShowLibraryLog();
      return false;
    case TMatArrayRead::Missing: ShowLibraryLog(); return false;
  }
  return false;
}

double TImportMatLab::At(std::int32_t row, std::int32_t column) const {
  return AData[static_cast<std::size_t>(column) * static_cast<std::size_t>(ANumRows) +
               static_cast<std::size_t>(row)];
}

std::vector<std::string> TImportMatLab::GetColumnPreview(std::int32_t column) const {
  std::vector<std::string> texts;
  if (!HasData() || column < 0 || column >= ANumColumns) return texts;
  for (std::int32_t r = 0; r < std::min<std::int32_t>(10, ANumRows); ++r)
    texts.push_back(NumberText::FormatNumber(At(r, column), 0, 0));
  return texts;
}

std::unique_ptr<TMatLabData> TImportMatLab::NewDataSet(std::int32_t xColumn, std::int32_t yColumn,
                                                       std::int32_t rowCount,
                                                       std::int32_t firstRow) {
  return std::make_unique<TMatLabData>(this, xColumn, yColumn, firstRow, rowCount);
}

TMatLabData::TMatLabData(TImportMatLab* creator, std::int32_t xColumn, std::int32_t yColumn,
                         std::int32_t firstRow, std::int32_t rowCount)
    : XColumn(xColumn),
      YColumn(yColumn),
      FirstRow(firstRow),
      RowCount(rowCount),
      Pcreator(creator) {}

std::string TMatLabData::EntryText() const {
  return Pcreator->ArrayName() + " :" + Num(XColumn + 1) + " vs " + Num(YColumn + 1) + ": Rows " +
         Num(FirstRow + 1) + " to " + Num(std::int64_t{FirstRow} + RowCount);
}

std::string TMatLabData::XName() const { return Pcreator->ArrayName() + " :" + Num(XColumn); }

std::string TMatLabData::YName() const { return Pcreator->ArrayName() + " :" + Num(YColumn); }

TTransferSeries* TMatLabData::MakeSeries(TTransferData& data) const {
  const TImportMatLab& a = *Pcreator;
  if (!a.HasData() || XColumn < 0 || YColumn < 0 || XColumn >= a.Columns() ||
      YColumn >= a.Columns() || FirstRow < 0 || RowCount < 1 ||
      std::int64_t{FirstRow} + RowCount > a.Rows())
    return nullptr;
  TTransferSeries* series = data.AddSeries(EntryText(), RowCount);
  series->XName = XName();
  series->YName = YName();
  for (std::int32_t k = 0; k < RowCount; ++k)
    series->SetPoint(k, static_cast<float>(a.At(FirstRow + k, XColumn)),
                     static_cast<float>(a.At(FirstRow + k, YColumn)));
  return series;
}

void MatChosenRows(std::int32_t rows, std::int32_t start, std::int32_t end, std::int32_t& firstRow,
                   std::int32_t& rowCount) {
  if (start <= 0) {
    firstRow = 0;
    rowCount = rows;
  } else if (end <= 0) {
    firstRow = start - 1;
    rowCount = rows - start + 1;
  } else {
    firstRow = start - 1;
    rowCount = end + 1;
  }
}

namespace {

// Adds the pair unless the list is full; counts those left out.
void AddEntry(TImportMatLab& array, std::int32_t x, std::int32_t y, std::int32_t firstRow,
              std::int32_t rowCount, std::vector<std::unique_ptr<TMatLabData>>& entries,
              std::int64_t& leftOut) {
  if (entries.size() >= MaxMatEntries) {
    ++leftOut;
    return;
  }
  entries.push_back(array.NewDataSet(x, y, rowCount, firstRow));
}

// The entries of one choice; refusals shown.
void AddChosen(TImportMatLab& array, TMatReadAs readAs, std::int32_t xColumn, std::int32_t yColumn,
               std::int32_t firstRow, std::int32_t rowCount,
               std::vector<std::unique_ptr<TMatLabData>>& entries, std::int64_t& leftOut) {
  const std::int32_t columns = array.Columns();
  switch (readAs) {
    case TMatReadAs::XYPairs:
      if (columns % 2 != 0) {
        UiPort().ShowMessage("Uneven number of columns, please choose another method.", "",
                             TMessageKind::Information);
        return;
      }
      for (std::int32_t c = 0; c + 1 < columns; c += 2) {
        if (entries.size() >= MaxMatEntries) {
          leftOut += (columns - c) / 2;
          break;
        }
        AddEntry(array, c, c + 1, firstRow, rowCount, entries, leftOut);
      }
      return;
    case TMatReadAs::Column1IsX:
      for (std::int32_t c = 1; c < columns; ++c) {
        if (entries.size() >= MaxMatEntries) {
          leftOut += columns - c;
          break;
        }
        AddEntry(array, 0, c, firstRow, rowCount, entries, leftOut);
      }
      return;
    case TMatReadAs::Individually:
      if (xColumn < 0 || yColumn < 0) {
        UiPort().ShowMessage(
            std::string("You must select a ") + (xColumn < 0 ? "X Column" : "YColumn") + ".", "",
            TMessageKind::Information);
        return;
      }
      if (xColumn == yColumn &&
          UiPort().Ask("The X column and Y column are the same, do you really wish to do this?",
                       "Import Data Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes)
        return;
      AddEntry(array, xColumn, yColumn, firstRow, rowCount, entries, leftOut);
      return;
  }
}

}  // namespace

void AddMatDataSets(TImportMatLab& array, TMatReadAs readAs, std::int32_t xColumn,
                    std::int32_t yColumn, std::int32_t firstRow, std::int32_t rowCount,
                    std::vector<std::unique_ptr<TMatLabData>>& entries) {
  if (!array.Read()) return;
  std::int64_t leftOut = 0;
  AddChosen(array, readAs, xColumn, yColumn, firstRow, rowCount, entries, leftOut);
  if (leftOut > 0)
    UiPort().ShowMessage("At most " + Num(MaxMatEntries) +
                             " data sets can be imported: " + Num(leftOut) + " were left out.",
                         "", TMessageKind::Warning);
}

std::unique_ptr<TTransferData> MakeMatTransfer(
    const std::vector<std::unique_ptr<TMatLabData>>& entries) {
  if (entries.empty()) return nullptr;
  auto data = std::make_unique<TTransferData>();
  for (const auto& entry : entries) entry->MakeSeries(*data);
  return data;
}
