#include "outputs/text_file.h"

#include "model/ui_port.h"
#include "model/text_save.h"
#include "outputs/text_form.h"

std::string AskTextFileName() { return ChooseFile(true, "Output(*.txt)|*.txt", "*.txt", "", ""); }

bool SaveTextFile(const TTextForm& form, const std::string& fileName) {
  if (fileName.empty()) return false;
  if (fileName.find(".txt") == std::string::npos) {
    UiPort().ShowMessage("Invalid Extention", "", TMessageKind::Warning);
    return false;
  }
  return SaveWholeText(fileName, form.GetText());
}
