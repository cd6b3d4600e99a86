// MAT files through the import, as Import > MATLAB File reads them: the array names
// listed, each array read (refused or empty ones said so) and taken as X/Y pairs and as
// column 1 against the rest. A damaged file never crashes; every series made holds the
// rows chosen, and an array read holds rows x columns values.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/mat_file.h"
#include "outputs/mat_import.h"
#include "outputs/output_form.h"
#include "support/harness.h"
#include "support/scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  const std::string path = scratch::Write("input.mat", data, size);
  const auto names = ListMatArrays(path);
  if (!names) return 0;
  std::size_t tried = 0;
  for (const std::string& name : *names) {
    if (++tried > 8) break;
    const TMatArrayRead read = ReadMatArray(path, name);
    if (read.Status == TMatArrayRead::Read) {
      FUZZ_CHECK(read.Rows > 0 && read.Columns > 0);
      FUZZ_CHECK(read.Values.size() ==
                 static_cast<std::size_t>(read.Rows) * static_cast<std::size_t>(read.Columns));
    }
    TImportMatLab array(path, name);
    // As the dialog does on choosing the array: read first, then the rows are known.
    FUZZ_CHECK(array.Read() == (read.Status == TMatArrayRead::Read));
    std::vector<std::unique_ptr<TMatLabData>> entries;
    AddMatDataSets(array, TMatReadAs::XYPairs, -1, -1, 0, array.Rows(), entries);
    std::int32_t first = 0, count = 0;
    MatChosenRows(array.Rows(), array.Rows() > 1 ? 2 : 0, 0, first, count);
    AddMatDataSets(array, TMatReadAs::Column1IsX, -1, -1, first, count, entries);
    FUZZ_CHECK(entries.empty() || array.HasData());
    const std::unique_ptr<TTransferData> transfer = MakeMatTransfer(entries);
    if (!transfer) continue;
    FUZZ_CHECK(transfer->GetTSCount() == static_cast<std::int32_t>(entries.size()));
    for (std::int32_t s = 0; s < transfer->GetTSCount(); ++s)
      FUZZ_CHECK(transfer->GetSeries(s)->GetCount() ==
                 entries[static_cast<std::size_t>(s)]->RowCount);
  }
  return 0;
}
