// Pasted and imported text: the outputs' clipboard reader and the import wizard's
// splitting and data sets. Bytes 0 to 3 are settings, the rest is the text.
//  - byte 0 & 3 == 0: ReadOutputTransferText. What it reads holds 1 to 25 sets of at
//    most as many points as the text has rows, and the same sets written back as the
//    outputs' clipboard text read again give the same names and points.
//  - byte 0 & 3 == 1: the rows from start row byte 2 (count byte 3) split at the
//    delimiter byte 1 (none for 0): every column holds one cell per row, and each row's
//    cells joined by the delimiter give its line followed only by delimiters.
//  - byte 0 & 3 == 2: the rows cut at the marks bytes 1 to 3 (fixed width): each row's
//    cells, joined, give its line exactly.
//  Bits 2 and 3 of byte 0 then choose the data sets (XY pairs, column 1 against the
//  rest, or column byte 2 % 4 against column byte 3 % 4 + 1): each holds one point per
//  row, and OK takes them all.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/import_columns.h"
#include "outputs/transfer_text.h"
#include "support/harness.h"

namespace {

void CheckSameSets(TTransferData& a, TTransferData& b) {
  FUZZ_CHECK(a.GetTSCount() == b.GetTSCount());
  for (std::int32_t s = 0; s < a.GetTSCount(); ++s) {
    const TTransferSeries& x = *a.GetSeries(s);
    const TTransferSeries& y = *b.GetSeries(s);
    FUZZ_CHECK(x.XName == y.XName && x.YName == y.YName);
    FUZZ_CHECK(x.GetCount() == y.GetCount());
    for (std::int32_t i = 0; i < x.GetCount(); ++i)
      FUZZ_CHECK(x.GetX(i) == y.GetX(i) && x.GetY(i) == y.GetY(i));
  }
}

void ReadClipboard(const std::string& text) {
  auto data = ReadOutputTransferText(text);
  if (!data) return;
  const auto rows = static_cast<std::int32_t>(SplitTextLines(text).size()) - 3;
  FUZZ_CHECK(data->GetTSCount() >= 1 && data->GetTSCount() <= MaxTransferSeries);
  bool anyPoint = false;
  for (std::int32_t s = 0; s < data->GetTSCount(); ++s) {
    FUZZ_CHECK(data->GetSeries(s)->GetCount() >= 0 && data->GetSeries(s)->GetCount() <= rows);
    anyPoint = anyPoint || data->GetSeries(s)->GetCount() > 0;
  }
  if (!anyPoint) return;  // the text of no points is empty, not the outputs' text
  auto back = ReadOutputTransferText(OutputTransferText(5, *data, ntSTANDARD, 0));
  FUZZ_CHECK(back != nullptr);
  CheckSameSets(*data, *back);
}

void CheckColumns(const TImportColumns& columns, std::size_t rows) {
  for (const auto& column : columns) FUZZ_CHECK(column.size() == rows);
}

void MakeSets(TImportColumns columns, std::uint8_t mode, std::uint8_t x, std::uint8_t y) {
  TImportSets sets(std::move(columns));
  switch ((mode >> 2) & 3) {
    case 0: sets.AddXYPairs(); break;
    case 1: sets.AddColumn1VsRest(); break;
    default: sets.AddIndividual(x % 4, y % 4 + 1); break;
  }
  for (std::int32_t i = 0; i < sets.Count(); ++i)
    FUZZ_CHECK(sets.Entry(i).GetCount() == sets.RowCount());
  const std::int32_t count = sets.Count();
  auto data = sets.TakeResult();
  FUZZ_CHECK((data != nullptr) == (count > 0));
  if (data) FUZZ_CHECK(data->GetTSCount() == count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  THarnessInput input;
  const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
  const std::uint8_t mode = data[0];
  switch (mode & 3) {
    case 0: ReadClipboard(text); break;
    case 1: {
      const std::string delimiter = data[1] ? std::string(1, static_cast<char>(data[1])) : "";
      const std::vector<std::string> lines =
          ChooseImportLines(SplitTextLines(text), data[2], data[3]);
      TImportColumns columns = SplitDelimited(lines, delimiter);
      CheckColumns(columns, delimiter.empty() ? 0 : lines.size());
      for (std::size_t r = 0; r < lines.size() && !columns.empty(); ++r) {
        std::string joined;
        for (std::size_t c = 0; c < columns.size(); ++c)
          joined += (c ? delimiter : "") + columns[c][r];
        FUZZ_CHECK(joined.compare(0, lines[r].size(), lines[r]) == 0);
        FUZZ_CHECK(joined.find_first_not_of(delimiter, lines[r].size()) == std::string::npos);
      }
      MakeSets(std::move(columns), mode, data[2], data[3]);
      break;
    }
    default: {
      const std::vector<std::string> lines = SplitTextLines(text);
      TImportColumns columns = SplitFixedWidth(lines, {data[1], data[2], data[3]});
      CheckColumns(columns, lines.size());
      for (std::size_t r = 0; r < lines.size(); ++r) {
        std::string joined;
        for (const auto& column : columns) joined += column[r];
        FUZZ_CHECK(joined == lines[r]);
      }
      MakeSets(std::move(columns), mode, data[2], data[3]);
      break;
    }
  }
  return 0;
}
