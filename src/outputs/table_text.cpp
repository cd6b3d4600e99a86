#include "outputs/table_text.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/output_form.h"
#include "outputs/table_form.h"

namespace {

// Rows go to the file in blocks, so that a long table never becomes one text in memory.
constexpr std::int32_t RowsPerBlock = 100;

}  // namespace

std::string TableTextRows(const TTableForm& form, std::int32_t first, std::int32_t count,
                          const std::string& delimiter) {
  std::string text;
  for (std::int32_t row = first; row < first + count; ++row) {
    for (std::int32_t set = 0; set < form.SeriesCount(); ++set) {
      if (set > 0) text += delimiter;
      text += form.GetXText(set, row) + delimiter + form.GetYText(set, row);
    }
    text += "\r\n";
  }
  return text;
}

bool ExportTableText(const TTableForm& form, const std::string& delimiter) {
  const std::string& folder = PreferredOutputDirectory();
  std::error_code error;
  const bool useFolder = !folder.empty() && std::filesystem::is_directory(folder, error);
  const std::string fileName = ChooseFile(true, "Comma Text Files (*.txt)|*.txt", "txt",
                                          form.GetName(), useFolder ? folder : std::string());
  if (fileName.empty()) return false;
  if (fileName.find(".txt") == std::string::npos) {
    UiPort().ShowMessage("Invalid Extention", "", TMessageKind::Warning);
    return false;
  }
  try {
    TWriteFile writer(fileName);
    writer.WriteText("");  // the file is made even for an empty table
    const std::int32_t rows = form.MaxDataCount();
    for (std::int32_t first = 0; first < rows; first += RowsPerBlock)
      writer.WriteText(TableTextRows(form, first, std::min(RowsPerBlock, rows - first), delimiter));
    writer.Commit();
  } catch (const std::runtime_error&) {
    UiPort().ShowMessage("Error writing to file", "", TMessageKind::Error);
    return false;
  }
  return true;
}
