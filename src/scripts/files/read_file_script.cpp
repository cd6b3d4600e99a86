#include "scripts/files/read_file_script.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "communication/number_token.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/text.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/files/read_file_copy.h"
#include "scripts/flow/command_record.h"

namespace {

const char* const VariableNotDefined =
    "Variable not defined for read file command...aborting read";
const char* const CountNotDefined =
    "Count variable not defined for read file command...aborting read";
const char* const FileNotDefined = "File not defined for read file command...aborting read";

constexpr std::size_t ChunkSize = 65536;

std::string Decimal(std::int64_t value) { return NumberText::IntToText(value); }

void Export(TWriteFile& writer, TVariable* reference) {
  std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  if (exported && std::find(exported->begin(), exported->end(), reference) == exported->end())
    exported->push_back(reference);
}

// The open file, closed on every path.
struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

// The file's length from its end, as a hint for the buffer; 0 when it cannot be told.
std::int64_t FileLength(std::FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return 0;
  const std::int64_t length = _ftelli64(file);
  _fseeki64(file, 0, SEEK_SET);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return 0;
  const std::int64_t length = ftello(file);
  fseeko(file, 0, SEEK_SET);
#endif
  return length > 0 ? length : 0;
}

// The whole file, up to its end, and a closing zero byte after it. EExperimentError
// naming the file when a read fails.
std::vector<char> ReadWholeFile(std::FILE* file, const std::string& path) {
  std::vector<char> buffer;
  buffer.reserve(static_cast<std::size_t>(FileLength(file)) + ChunkSize + 1);
  std::size_t used = 0;
  for (;;) {
    buffer.resize(used + ChunkSize);
    const std::size_t got = std::fread(buffer.data() + used, 1, ChunkSize, file);
    used += got;
    if (got < ChunkSize) break;
  }
  if (std::ferror(file)) throw EExperimentError("Aborting...Cannot read file " + path + ".");
  buffer.resize(used + 1);
  buffer[used] = '\0';
  return buffer;
}

}  // namespace

TReadFileScript::TReadFileScript(TBlock* block, TTreeNode* node) : TAttributeScript(block, node) {}

TReadFileScript::~TReadFileScript() {
  PReadVariable.reset();
  PCountVariable.reset();
}

int TReadFileScript::Edit() {
  QORV_ASSERT(PReadVariable!=0&&PReadVariable->GetData()!=0);
  if (PReadVariable->GetData()->GetDataType() != eatSTRING) WSDelimiter = true;
  return TScript::Edit();
}

void TReadFileScript::CheckFileExists() const {
  std::error_code error;
  const std::filesystem::path path(AFileToRead);
  if (AFileToRead.empty() || !std::filesystem::exists(path, error) ||
      std::filesystem::is_directory(path, error))
    throw EExperimentError("Aborting...file " + AFileToRead + " does not exist.");
}

std::int32_t TReadFileScript::ParseValues(const char* buffer, std::int64_t length,
                                          TDataArray& array) {
  const TNumberOptions options{DoCleanString, WSDelimiter};
  char delimiters[2] = {'\0', '\0'};
  int count = 0;
  if (!PDelimiter1.empty()) delimiters[count++] = PDelimiter1[0];
  if (!PDelimiter2.empty()) delimiters[count++] = PDelimiter2[0];
  const auto lock = array.LockValues();
  TValueArray& values = array.GetValueArray();
  if (!values.HasStorage()) values.GetElementText(0);  // reading an element makes it
  const std::int32_t size = values.GetSize();
  const int type = array.GetDataType();
  std::int64_t position = 0;
  std::int32_t index = 0;
  while (position < length && index < size) {
    const std::string token =
        ExtractToken(options, buffer, length, delimiters, count, position, type);
    if (token.empty()) continue;
    values.SetElementText(token, index);
    ++index;
  }
  return index;
}

std::int32_t TReadFileScript::ReadValues(std::vector<std::string>* trace) {
  // Only a regular file comes to an end: a pipe or a device could keep the run waiting
  // or fill the memory.
  std::error_code notRegular;
  if (!std::filesystem::is_regular_file(AFileToRead, notRegular))
    throw EExperimentError("Aborting...Cannot open file " + AFileToRead + ".");
  TFileHandle file(std::fopen(AFileToRead.c_str(), "rb"));
  if (!file) throw EExperimentError("Aborting...Cannot open file " + AFileToRead + ".");
  try {
    const std::vector<char> buffer = ReadWholeFile(file.get(), AFileToRead);
    QORV_ASSERT(PReadVariable!=0&&PReadVariable->GetData()!=0);
    auto* array = dynamic_cast<TDataArray*>(PReadVariable->GetData());
    QORV_ASSERT(array!=0);
    const std::int64_t length = static_cast<std::int64_t>(buffer.size()) - 1;
    const std::int32_t read = ParseValues(buffer.data(), length, *array);
    if (PCountVariable) PCountVariable->SetValueText(Decimal(read));
    if (trace)
      trace->push_back("Number of values read/array size: " + Decimal(read) + "/" +
                       Decimal(array->GetSize()));
    return read;
  } catch (const std::bad_alloc&) {
    throw EExperimentError("Aborting...Cannot read file " + AFileToRead + ".");
  } catch (const std::exception& error) {
    // The file closes and the buffer goes on the way out.
    throw EExperimentError(error.what());
  }
}

TScript* TReadFileScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  CheckFileExists();
  ReadValues(nullptr);
  return Pnextscript;
}

TScript* TReadFileScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  CheckFileExists();
  if (PCountVariable) {
    QORV_ASSERT(PCountVariable->GetData()!=0);
    trace.push_back("Storing data count in " + PCountVariable->GetName() + ".");
  } else {
    trace.push_back("Not storing data count.");
  }
  ReadValues(&trace);
  return Pnextscript;
}

bool TReadFileScript::SetNextScript() {
  QORV_ASSERT(PReadVariable!=0&&PReadVariable->GetData()!=0);
  if (PReadVariable->GetData()->GetDataType() != eatSTRING) WSDelimiter = true;
  return TScript::SetNextScript();
}

void TReadFileScript::Save(TWriteFile& writer) {
  QORV_ASSERT(PReadVariable!=0);
  QORV_ASSERT(!AFileToRead.empty());
  PReadVariable->Save(writer);
  Export(writer, PReadVariable.get());
  writer.WriteBool(PCountVariable != nullptr);
  if (PCountVariable) {
    PCountVariable->Save(writer);
    Export(writer, PCountVariable.get());
  }
  writer.WriteString(AFileToRead);
  writer.WriteBool(!PDelimiter1.empty());
  if (!PDelimiter1.empty()) writer.WriteString(PDelimiter1);
  writer.WriteBool(!PDelimiter2.empty());
  if (!PDelimiter2.empty()) writer.WriteString(PDelimiter2);
  writer.WriteBool(DoCleanString);
  writer.WriteBool(WSDelimiter);
  TScript::Save(writer);
}

void TReadFileScript::Load(TReadFile& reader) {
  QORV_ASSERT(PReadVariable==0&&PCountVariable==0);
  TWaitingReferences waiting(reader);
  auto array = std::make_unique<TVariableDataArray>(this);
  array->Load(reader);
  waiting.List().Add(array.get());
  bool hasCount = false;
  reader.ReadBool(hasCount);
  std::unique_ptr<TVariableDataSingle> count;
  if (hasCount) {
    count = std::make_unique<TVariableDataSingle>(this);
    count->Load(reader);
    waiting.List().Add(count.get());
  }
  std::string path = reader.ReadString();
  // A command without a file cannot be run or saved again.
  if (TrimText(path).empty()) throw EReadError(FileNotDefined);
  bool hasDelimiter = false;
  std::string delimiter1, delimiter2;
  reader.ReadBool(hasDelimiter);
  if (hasDelimiter) delimiter1 = reader.ReadString();
  reader.ReadBool(hasDelimiter);
  if (hasDelimiter) delimiter2 = reader.ReadString();
  bool cleanString = true, wsDelimiter = true;
  if (reader.GetVersionNumber() >= qvV1_4) {
    reader.ReadBool(cleanString);
    reader.ReadBool(wsDelimiter);
  }
  TScript::Load(reader);
  PReadVariable = std::move(array);
  PCountVariable = std::move(count);
  AFileToRead = std::move(path);
  PDelimiter1 = std::move(delimiter1);
  PDelimiter2 = std::move(delimiter2);
  DoCleanString = cleanString;
  WSDelimiter = wsDelimiter;
  waiting.Keep();
  UpdateNodeText();
}

bool TReadFileScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  return block != nullptr && node != nullptr && block == Pblock;
}

void TReadFileScript::CheckAfterRead() {
  if (!PReadVariable || !PReadVariable->GetData()) throw EReadError(VariableNotDefined);
  if (PCountVariable && !PCountVariable->GetData()) throw EReadError(CountNotDefined);
}

std::string TReadFileScript::GetText() {
  if (AFileToRead.empty()) return "Read Nothing";
  const auto separator = AFileToRead.find_last_of("\\/");
  const std::string name =
      separator == std::string::npos ? AFileToRead : AFileToRead.substr(separator + 1);
  std::string text = "Read " + name + " into ";
  text += PReadVariable && PReadVariable->GetData() ? PReadVariable->GetData()->GetDataName()
                                                    : std::string("nothing");
  if (PCountVariable)
    text += " SC(" + PCountVariable->GetDescription() + ")";
  else
    text += " SCN";
  return text;
}

TData* TReadFileScript::GetStoredData() {
  return PReadVariable ? PReadVariable->GetData() : nullptr;
}

TData* TReadFileScript::GetSecondStoredData() {
  return PCountVariable ? PCountVariable->GetData() : nullptr;
}

bool TReadFileScript::VariableNotify(TVariable* reference, int type) {
  if (reference != nullptr && reference == PCountVariable.get()) return type == eatINTEGER;
  return true;
}

bool TReadFileScript::CanReleaseVariable(TVariable* reference) {
  auto* data = dynamic_cast<TVariableData*>(reference);
  QORV_ASSERT(data!=0&&data->GetData()!=0);
  return !VariableNotify(reference, data->GetData()->GetDataType());
}

bool TReadFileScript::IsStoredVariable(TVariable* reference) {
  return reference != nullptr && reference == PReadVariable.get();
}

void TReadFileScript::SetUpReadFile(const std::string& path, TData* array, bool wsDelimiter,
                                    bool cleanString, const std::string& delimiter1,
                                    const std::string& delimiter2, TData* countVariable) {
  AFileToRead = path;
  PDelimiter1 = delimiter1;
  PDelimiter2 = delimiter2;
  SetReadVariable(array);
  SetCountVariable(countVariable);
  WSDelimiter = wsDelimiter;
  DoCleanString = cleanString;
  UpdateNodeText();
}

void TReadFileScript::SetReadVariable(TData* array) {
  QORV_ASSERT(array!=0);
  if (!PReadVariable) PReadVariable = std::make_unique<TVariableDataArray>(this);
  PReadVariable->SetData(array);
}

void TReadFileScript::SetCountVariable(TData* variable) {
  if (!variable) {
    PCountVariable.reset();
    return;
  }
  if (!PCountVariable) PCountVariable = std::make_unique<TVariableDataSingle>(this);
  PCountVariable->SetData(variable);
}

TCopyScript* TReadFileScript::MakeCopyScript() { return new TCopyReadFile(*this); }

void TReadFileScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyReadFile*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copyreadfile!=0");
  QORV_ASSERT_AS(copy->GetArray()!=0, "copyreadfile->AArrayCopy->Data!=0");
  SetUpReadFile(copy->AFileToRead, copy->GetArray(), copy->WSDelimiter, copy->DoCleanString,
                copy->PDelimiter1, copy->PDelimiter2, copy->GetCountVariable());
}
