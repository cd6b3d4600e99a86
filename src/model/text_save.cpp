#include "model/text_save.h"

#include "model/errors.h"
#include "model/ui_port.h"
#include "model/write_file.h"

bool SaveWholeText(const std::string& path, const std::string& text) {
  TWriteFile writer(path);
  try {
    writer.WriteText("");  // makes the file
  } catch (const EFileError&) {
    UiPort().ShowMessage("Cannot Open File", "", TMessageKind::Error);
    return false;
  }
  try {
    writer.WriteText(text);
    writer.Commit();
  } catch (const EFileError& error) {
    UiPort().ShowMessage(std::string("Error writing to file: ") + error.what(), "",
                         TMessageKind::Error);
    return false;
  }
  return true;
}
