#include "scripts/files/output_to_file_script.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <utility>

#include "model/assertion.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/text.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/variable_exp_file.h"
#include "model/write_file.h"
#include "outputs/exp_file.h"
#include "outputs/exp_file_lists.h"
#include "scripts/files/output_to_file_copy.h"
#include "scripts/flow/command_record.h"

namespace {

const char* const FileNotSet = "Experiment file in OutputToFileScript is not set...aborting read";
const char* const VariableMissing = "Variable missing in OutputToFileScript...aborting read";
const char* const BadNotation = "Invalid number notation in OutputToFileScript...aborting read";
// The smallest entry of a record: the is-array flag and a variable identifier.
constexpr std::size_t MinEntryBytes = 1 + 4;

TOutputToFileScript::TClock& Clock() {
  static TOutputToFileScript::TClock clock;
  return clock;
}

TStampTime LocalTime() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  const auto sinceEpoch =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
  TStampTime time;
  time.Year = local.tm_year + 1900;
  time.Month = local.tm_mon + 1;
  time.Day = local.tm_mday;
  time.Hour = local.tm_hour;
  time.Minute = local.tm_min;
  time.Second = local.tm_sec;
  time.Millisecond = static_cast<int>(sinceEpoch.count() % 1000);
  return time;
}

TStampTime Now() {
  const TOutputToFileScript::TClock& clock = Clock();
  return clock ? clock() : LocalTime();
}

// A reference of the command bound as the dialog's entry says.
std::unique_ptr<TVariableData> ReferenceFor(TAttributeScript* owner,
                                            const TOutputToFileEntry& entry) {
  QORV_ASSERT(entry.Data!=0);
  std::unique_ptr<TVariableData> reference = NewReference(owner, entry.Data->IsArray());
  reference->SetData(entry.Data);
  if (!entry.Data->IsArray()) return reference;
  TVariableArrayIndex& index = static_cast<TVariableDataArray*>(reference.get())->GetArrayIndex();
  if (entry.IndexVariable)
    index.SetIndexVariable(entry.IndexVariable);
  else if (entry.Index >= 0)
    index.SetIndexConstant(entry.Index);
  else
    index.ClearIndex();
  return reference;
}

}  // namespace

TOutputToFileScript::TOutputToFileScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

TOutputToFileScript::~TOutputToFileScript() {
  Pvarlist.clear();
  Pvarexpfile.reset();
}

TOutputToFileScript::TClock TOutputToFileScript::SetClock(TClock clock) {
  return std::exchange(Clock(), std::move(clock));
}

std::string TOutputToFileScript::DateText(const TStampTime& time) {
  return NumberText::IntToText(time.Month) + "/" + NumberText::IntToText(time.Day) + "/" +
         NumberText::IntToText(time.Year);
}

std::string TOutputToFileScript::TimeText(const TStampTime& time) {
  return NumberText::IntToText(time.Hour) + ":" + NumberText::IntToText(time.Minute) + ":" +
         NumberText::IntToText(time.Second) + ":" + NumberText::IntToText(time.Millisecond);
}

TExperimentFile* TOutputToFileScript::GetExpFile() const {
  return Pvarexpfile ? Pvarexpfile->GetExpFile() : nullptr;
}

std::size_t TOutputToFileScript::GetCount() {
  std::lock_guard guard(ListLock);
  return Pvarlist.size();
}

void TOutputToFileScript::AppendFields(TVariableData& reference, std::string& line, bool& first) {
  const auto append = [&](const std::string& field) {
    if (!first) line += ADelimiter;
    line += field;
    first = false;
  };
  auto* array = dynamic_cast<TVariableDataArray*>(&reference);
  if (!array || !array->GetArrayIndex().IsEntireArray()) {
    append(reference.GetValueFormatted(ANotation, ADecimalPlaces));
    return;
  }
  auto* data = static_cast<TDataArray*>(array->GetData());
  QORV_ASSERT(data!=0);
  const auto lock = data->LockValues();
  TValueArray& values = data->GetValueArray();
  for (std::int32_t i = 0; i < values.GetSize(); ++i)
    append(values.GetElementTextFormatted(ANotation, ADecimalPlaces, i));
}

std::string TOutputToFileScript::Output() {
  if (AbCommentedOut) return std::string();
  TExperimentFile* file = GetExpFile();
  QORV_ASSERT(file!=0);
  std::string line;
  bool first = true;
  const auto stamp = [&](const std::string& text) {
    if (!first) line += ADelimiter;
    line += text;
    first = false;
  };
  if (AbDateStamp || AbTimeStamp) {
    const TStampTime now = Now();
    if (AbDateStamp) stamp(DateText(now));
    if (AbTimeStamp) stamp(TimeText(now));
  }
  std::lock_guard guard(ListLock);
  RunFileStep([&] {
    for (const auto& reference : Pvarlist) AppendFields(*reference, line, first);
    file->WriteLine(line);
  });
  return line;
}

TScript* TOutputToFileScript::Execute() {
  Output();
  return Pnextscript;
}

TScript* TOutputToFileScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) return Pnextscript;
  trace.push_back(Output());
  return Pnextscript;
}

void TOutputToFileScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Pvarexpfile!=0);
  std::lock_guard guard(ListLock);
  writer.WriteBool(AbTimeStamp);
  writer.WriteBool(AbDateStamp);
  writer.WriteString(ADelimiter);
  writer.WriteInteger(static_cast<std::int8_t>(ANotation));
  writer.WriteInteger(ADecimalPlaces);
  Pvarexpfile->Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(Pvarexpfile.get());
  writer.WriteInteger(static_cast<std::int32_t>(Pvarlist.size()));
  for (const auto& reference : Pvarlist) SaveReference(writer, *reference);
  TScript::Save(writer);
}

void TOutputToFileScript::Load(TReadFile& reader) {
  QORV_ASSERT(Pvarexpfile==0);
  TWaitingReferences waiting(reader);
  bool timeStamp = false, dateStamp = false;
  reader.ReadBool(timeStamp);
  reader.ReadBool(dateStamp);
  std::string delimiter = reader.ReadString();
  std::int32_t notation = 0, decimals = 0;
  reader.ReadInteger(notation);
  const auto lowByte = static_cast<std::uint8_t>(notation & 0xFF);
  if (lowByte > ntSCIENTIFIC) throw EReadError(BadNotation);
  reader.ReadInteger(decimals);
  auto fileReference = std::make_unique<TVariableExpFile>(this);
  fileReference->Load(reader);
  waiting.List().Add(fileReference.get());
  const std::int32_t count = reader.ReadCount(MinEntryBytes);
  if (count < 1) throw EReadError(VariableMissing);
  std::vector<std::unique_ptr<TVariableData>> list;
  for (std::int32_t i = 0; i < count; ++i) list.push_back(LoadReference(reader, this));
  TScript::Load(reader);
  AbTimeStamp = timeStamp;
  AbDateStamp = dateStamp;
  ADelimiter = std::move(delimiter);
  ANotation = lowByte;
  ADecimalPlaces = std::min(decimals, NumberText::MaxDecimalPlaces);  // -1 (none) kept
  Pvarexpfile = std::move(fileReference);
  std::lock_guard guard(ListLock);
  Pvarlist = std::move(list);
  waiting.Keep();
  UpdateNodeText();
}

void TOutputToFileScript::CheckAfterRead() {
  if (!GetExpFile()) throw EReadError(FileNotSet);
  std::lock_guard guard(ListLock);
  if (Pvarlist.empty()) throw EReadError(VariableMissing);
  // An element whose index variable was not found would be written as the entire array.
  for (const auto& reference : Pvarlist)
    if (!reference || !reference->GetData() || !IndexFound(*reference))
      throw EReadError(VariableMissing);
}

std::string TOutputToFileScript::GetText() {
  TExperimentFile* file = GetExpFile();
  return "Output To File (" + (file ? file->GetShortName() : std::string()) + ")";
}

bool TOutputToFileScript::RemoveVariable(TVariable* reference) {
  if (Pvarexpfile && reference == Pvarexpfile.get()) return true;
  std::lock_guard guard(ListLock);
  const auto found = std::find_if(Pvarlist.begin(), Pvarlist.end(), [reference](const auto& entry) {
    if (entry.get() == reference) return true;
    // The index variable of an element goes: the element goes with it.
    auto* array = dynamic_cast<TVariableDataArray*>(entry.get());
    return array && array->HasArrayIndex() && &array->GetArrayIndex() == reference;
  });
  QORV_ASSERT_AS(found != Pvarlist.end(), "the removed reference is listed");
  Pvarlist.erase(found);
  return Pvarlist.empty();
}

void TOutputToFileScript::SetUpFromForm(TExperimentFile* file,
                                        const TOutputToFileSettings& settings,
                                        const std::vector<TOutputToFileEntry>& entries) {
  QORV_ASSERT(file!=0);
  QORV_ASSERT(!entries.empty());
  QORV_ASSERT(settings.Notation<=ntSCIENTIFIC);
  ClearVariables();
  ANotation = settings.Notation;
  if (settings.DecimalPlacesShown) {
    std::int32_t decimals = -1;
    ADecimalPlaces =
        NumberText::TextToInt(TrimText(settings.DecimalPlacesText), decimals) ? decimals : -1;
  }
  if (!Pvarexpfile) Pvarexpfile = std::make_unique<TVariableExpFile>(this);
  Pvarexpfile->SetExpFile(file);
  AbTimeStamp = settings.TimeStamp;
  AbDateStamp = settings.DateStamp;
  ADelimiter = settings.Delimiter;
  for (const TOutputToFileEntry& entry : entries) AddVariable(ReferenceFor(this, entry));
  UpdateNodeText();
}

TCopyScript* TOutputToFileScript::MakeCopyScript() {
  TExperimentFile* file = GetExpFile();
  QORV_ASSERT(file!=0);
  std::lock_guard guard(ListLock);
  return new TCopyOutputToFile(Pblock, AbTimeStamp, AbDateStamp, ADelimiter, ANotation,
                               ADecimalPlaces, file, Pvarlist);
}

void TOutputToFileScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyOutputToFile*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copyoutputtofile!=0");
  QORV_ASSERT_AS(copy->GetExpFile()!=0, "copyoutputtofile->ExpFile!=0");
  AbTimeStamp = copy->AbTimeStamp;
  AbDateStamp = copy->AbDateStamp;
  ADelimiter = copy->ADelimiter;
  ANotation = copy->ANotation;
  ADecimalPlaces = copy->ADecimalPlaces;
  if (!Pvarexpfile) Pvarexpfile = std::make_unique<TVariableExpFile>(this);
  Pvarexpfile->SetExpFile(copy->GetExpFile());
  {
    std::lock_guard guard(ListLock);
    QORV_ASSERT_AS(Pvarlist.empty(), "Pvarlist->Count==0");
  }
  for (const auto& variable : copy->GetVarList()) {
    QORV_ASSERT(variable!=0&&variable->Data!=0);
    std::unique_ptr<TVariableData> reference = NewReference(this, variable->Data->IsArray());
    variable->SetUpVariable(reference.get());
    AddVariable(std::move(reference));
  }
  UpdateNodeText();
}

std::vector<TOutputToFileEntry> TOutputToFileScript::GetEntries() {
  std::lock_guard guard(ListLock);
  std::vector<TOutputToFileEntry> entries;
  for (const auto& reference : Pvarlist) {
    TOutputToFileEntry entry;
    entry.Data = reference->GetData();
    if (auto* array = dynamic_cast<TVariableDataArray*>(reference.get())) {
      TVariableArrayIndex& index = array->GetArrayIndex();
      entry.IndexVariable = index.GetIndexVariable();
      entry.Index = entry.IndexVariable ? -1 : index.GetConstant();
    }
    entries.push_back(entry);
  }
  return entries;
}

void TOutputToFileScript::AddVariable(std::unique_ptr<TVariableData> reference) {
  QORV_ASSERT(reference!=0&&reference->GetScriptOwner()==this);
  std::lock_guard guard(ListLock);
  Pvarlist.push_back(std::move(reference));
}

void TOutputToFileScript::ClearVariables() {
  std::lock_guard guard(ListLock);
  Pvarlist.clear();
}

bool TOutputToFileRequest::CanOpen() {
  QORV_ASSERT(Experiment!=0);
  std::vector<TData*> arrays;
  Experiment->GetDataSingleList()->GetAll(Variables);
  Experiment->GetDataArrayList()->GetAll(arrays);
  Variables.insert(Variables.end(), arrays.begin(), arrays.end());
  for (TData* variable : Variables)
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      Integers.push_back(static_cast<TDataSingle*>(variable));
  if (!Script && Variables.empty()) {
    Inform("There are no variables to output, cannot create an output to file command");
    return false;
  }
  Files = Experiment->GetSingleExpFileList()->GetFiles();
  for (TExperimentFile* file : Experiment->GetMultiExpFileList()->GetFiles()) Files.push_back(file);
  if (!Script && Files.empty()) {
    Inform("There are no files to write to, cannot create an output to file command.");
    return false;
  }
  return true;
}
