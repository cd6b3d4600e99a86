#include "scripts/flow/command_record.h"

#include <string>
#include <vector>

#include "expressions/condition.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"

std::unique_ptr<TVariableData> NewReference(TAttributeScript* owner, bool isArray) {
  if (isArray) return std::make_unique<TVariableDataArray>(owner);
  return std::make_unique<TVariableDataSingle>(owner);
}

void SaveReference(TWriteFile& writer, TVariableData& reference) {
  writer.WriteBool(reference.IsArray());
  reference.Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(&reference);
}

std::unique_ptr<TVariableData> LoadReference(TReadFile& reader, TAttributeScript* owner) {
  bool isArray = false;
  reader.ReadBool(isArray);
  std::unique_ptr<TVariableData> reference = NewReference(owner, isArray);
  reference->Load(reader);
  reader.GetVariableList().Add(reference.get());
  return reference;
}

bool IndexFound(TVariableData& reference) {
  auto* array = dynamic_cast<TVariableDataArray*>(&reference);
  return !array || !array->HasArrayIndex() || array->GetArrayIndex().GetPendingId() < 0;
}

bool NamesOneValue(TVariableData& reference) {
  auto* array = dynamic_cast<TVariableDataArray*>(&reference);
  if (!array) return true;
  // A reference without an index has no element either (every loaded one has an index).
  return array->HasArrayIndex() && !array->GetArrayIndex().IsEntireArray() &&
         IndexFound(reference);
}

void CheckConditionRead(const TConditionAttributeScript& command, const char* missing) {
  TCondition* condition = command.GetCondition();
  if (!condition) throw EReadError(missing);
  // Every reference is bound by now; a condition that cannot be evaluated is refused
  // here rather than stopping the program in a run.
  if (!condition->IsComplete())
    throw EReadError(std::string(ConditionReadError) +
                     ": a variable is missing or of a type the condition cannot compare");
}

TWaitingReferences::TWaitingReferences(TReadFile& reader)
    : Waiting(reader.GetVariableList()), Before(Waiting.Size()) {}

TWaitingReferences::~TWaitingReferences() {
  if (!Kept) Waiting.Truncate(Before);
}
