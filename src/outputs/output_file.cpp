#include "outputs/output_file.h"

#include <new>
#include <stdexcept>

#include "model/errors.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"
#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"

namespace {

const char* const OutputHeader = "Qorv Output";
const char* const InvalidOutputFile = "Invalid output file.";

}  // namespace

bool SaveOutputFile(TOutputForm& form, const std::string& fileName) {
  form.SetFileName(fileName);
  if (fileName.empty()) return false;
  if (fileName.find(".opt") == std::string::npos) {
    UiPort().ShowMessage("Invalid Extention", "", TMessageKind::Warning);
    return false;
  }
  try {
    TWriteFile writer(fileName);
    writer.WriteFileHeader(OutputHeader);
    writer.WriteInteger(form.GetOutputType());
    form.WriteOutputFile(writer);
    writer.Commit();
  } catch (const std::runtime_error&) {
    UiPort().ShowMessage(form.WriteErrorText(), "", TMessageKind::Error);
    return false;
  }
  return true;
}

std::unique_ptr<TOutputForm> MakeDetachedForm(int kind, TDeadOutputList* list) {
  switch (kind) {
    case 3: return std::make_unique<TTextForm>(list);
    case 4: return std::make_unique<TTableForm>(list);
    case 5: return std::make_unique<TGraphForm>(list);
    case 6: return std::make_unique<TBigNumForm>(list);
    default: return nullptr;
  }
}

std::unique_ptr<TOutputForm> LoadOutputFile(const std::string& fileName, TDeadOutputList* list) {
  try {
    TReadFile reader(fileName);
    reader.ReadFileHeader(OutputHeader, InvalidOutputFile);
    std::int32_t kind;
    reader.ReadInteger(kind);
    std::unique_ptr<TOutputForm> form = MakeDetachedForm(kind, list);
    if (!form) throw EReadError(InvalidOutputFile);
    form->ReadOutputFile(reader);
    return form;
  } catch (const std::bad_alloc&) {
    throw EReadError(OutOfMemoryReadError(InvalidOutputFile));
  }
}
