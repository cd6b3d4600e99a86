#include "outputs/text_file.h"

#include "model/errors.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/text_form.h"

std::string AskTextFileName() { return ChooseFile(true, "Output(*.txt)|*.txt", "*.txt", "", ""); }

bool SaveTextFile(const TTextForm& form, const std::string& fileName) {
  if (fileName.empty()) return false;
  if (fileName.find(".txt") == std::string::npos) {
    UiPort().ShowMessage("Invalid Extention", "", TMessageKind::Warning);
    return false;
  }
  TWriteFile writer(fileName);
  try {
    writer.WriteText("");  // makes the file
  } catch (const EFileError&) {
    UiPort().ShowMessage("Cannot Open File", "", TMessageKind::Error);
    return false;
  }
  try {
    writer.WriteText(form.GetText());
    writer.Commit();
  } catch (const EFileError& error) {
    UiPort().ShowMessage(std::string("Error writing to file: ") + error.what(), "",
                         TMessageKind::Error);
    return false;
  }
  return true;
}
