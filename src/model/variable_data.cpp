#include "model/variable_data.h"

#include <algorithm>
#include <vector>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/write_file.h"
#include "scripts/attribute_script.h"

namespace {

// A loaded index record holds a constant only when it is 0 or more.
const char* const IndexReadError = "Error reading attribute";

// The identifier the writer gives an attribute (the one its own record carries).
std::int32_t AttributeId(TWriteFile& writer, TExpAttribute* attribute) {
  return writer.GetObjectId(attribute);
}

}  // namespace

// TVariableData

TVariableData::TVariableData(TAttributeScript* owner) : AScriptOwner(owner) {
  QORV_ASSERT(owner!=0);
}

bool TVariableData::ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) {
  bool textStale = false;
  if (!LinkLoaded(object, identifier, textStale)) return false;
  AScriptOwner->UpdateNodeText();
  return true;
}

bool TVariableData::LinkLoaded(TExpAttribute* object, std::int32_t identifier, bool& textStale) {
  textStale = false;
  if (PreadID < 0 || PreadID != identifier) return false;
  if (!BindLoaded(object)) return false;  // an attribute of another kind: stays waiting
  PreadID = -1;
  textStale = true;
  return true;
}

bool TVariableData::NotifyOwner(int type) {
  QORV_ASSERT(GetData()!=0);
  return AScriptOwner->VariableNotify(this, type);
}

bool TVariableData::ReleaseRef() {
  if (!AScriptOwner->CanReleaseVariable(this)) return false;
  ForgetData();  // the attribute removes this user itself
  return true;
}

void TVariableData::Save(TWriteFile& writer) {
  TData* data = GetData();
  QORV_ASSERT(data!=0);
  writer.WriteInteger(AttributeId(writer, data));
}

void TVariableData::Load(TReadFile& reader) { reader.ReadInteger(PreadID); }

bool TVariableData::IsStoredByOwner() { return AScriptOwner->IsStoredVariable(this); }

// TVariableDataSingle

TVariableDataSingle::TVariableDataSingle(TAttributeScript* owner) : TVariableData(owner) {}

TVariableDataSingle::~TVariableDataSingle() {
  if (ADataSingle) ADataSingle->RemoveUser(this);
}

TVariableData* TVariableDataSingle::Clone() {
  auto* clone = new TVariableDataSingle(AScriptOwner);
  clone->SetData(ADataSingle);
  return clone;
}

void TVariableDataSingle::SetValueText(const std::string& text) {
  QORV_ASSERT(ADataSingle!=0);
  const auto lock = ADataSingle->LockValues();
  ADataSingle->GetValue().SetText(text);
}

void TVariableDataSingle::SetValueNumber(std::int32_t raw) {
  QORV_ASSERT(ADataSingle!=0);
  const auto lock = ADataSingle->LockValues();
  ADataSingle->GetValue().SetNumber(raw);
}

std::string TVariableDataSingle::GetValueString() {
  QORV_ASSERT(ADataSingle!=0);
  return ADataSingle->GetValue().GetText();
}

std::string TVariableDataSingle::GetValueFormatted(int notation, int decimals) {
  QORV_ASSERT(ADataSingle!=0);
  return ADataSingle->GetValue().GetTextFormatted(notation, decimals);
}

// The value's kind is the variable's type: a retype drops the value first.
void TVariableDataSingle::LookUp(TValueSight& sight) {
  TValue& value = ADataSingle->GetValue();  // one created now takes a new generation
  sight.Value = &value;
  sight.Type = static_cast<std::int8_t>(ADataSingle->GetDataType());
  sight.Generation = ADataSingle->GetValueGeneration();
}

TCopyVariableData* TVariableDataSingle::MakeCopy(TCopyScript* copyCommand) {
  return new TCopyVariableData(copyCommand, ADataSingle, nullptr, -1);
}

std::string TVariableDataSingle::GetName() {
  QORV_ASSERT(ADataSingle!=0);
  return ADataSingle->GetDataName();
}

TData* TVariableDataSingle::GetData() const { return ADataSingle; }

void TVariableDataSingle::SetData(TData* variable) {
  if (ADataSingle && ADataSingle != variable) {
    ADataSingle->RemoveUser(this);
    ADataSingle = nullptr;
  }
  if (!variable) return;
  auto* single = dynamic_cast<TDataSingle*>(variable);
  QORV_ASSERT(single!=0);
  ADataSingle = single;
  ADataSingle->AddUser(this);  // a second registration has no effect
}

std::string TVariableDataSingle::GetDescription() {
  return ADataSingle ? GetName() : std::string();
}

bool TVariableDataSingle::BindLoaded(TExpAttribute* object) {
  auto* single = dynamic_cast<TDataSingle*>(object);
  if (!single) return false;
  SetData(single);
  return true;
}

// TVariableArrayIndex

TVariableArrayIndex::TVariableArrayIndex(TVariableDataArray* owner) : AVariableDataArray(owner) {
  QORV_ASSERT(owner!=0);
}

TVariableArrayIndex::~TVariableArrayIndex() {
  if (ADataIndex) ADataIndex->RemoveUser(this);
}

bool TVariableArrayIndex::ReleaseRef() {
  if (!ADataIndex || ADataIndex->GetDataType() == eatINTEGER) return false;
  ADataIndex = nullptr;  // the attribute removes this user itself
  return true;
}

bool TVariableArrayIndex::ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) {
  if (PreadID < 0 || PreadID != identifier) return false;
  // Only an integer single variable can index an array.
  auto* single = dynamic_cast<TDataSingle*>(object);
  if (!single || single->GetDataType() != eatINTEGER) return false;
  if (ADataIndex && ADataIndex != single) ADataIndex->RemoveUser(this);
  ADataIndex = single;
  AConstant = -1;
  ADataIndex->AddUser(this);
  PreadID = -1;
  return true;
}

bool TVariableArrayIndex::NotifyOwner(int type) { return type == eatINTEGER; }

void TVariableArrayIndex::Save(TWriteFile& writer) {
  writer.WriteBool(ADataIndex != nullptr);
  if (ADataIndex) writer.WriteInteger(AttributeId(writer, ADataIndex));
  writer.WriteBool(AConstant >= 0);
  if (AConstant >= 0) writer.WriteInteger(AConstant);
}

void TVariableArrayIndex::Load(TReadFile& reader) {
  DropIndexVariable();
  bool hasVariable = false;
  reader.ReadBool(hasVariable);
  PreadID = -1;
  if (hasVariable) reader.ReadInteger(PreadID);
  bool hasConstant = false;
  reader.ReadBool(hasConstant);
  AConstant = -1;
  if (hasConstant) {
    reader.ReadInteger(AConstant);
    if (AConstant < 0) throw EReadError(IndexReadError);
  }
}

TAttributeScript* TVariableArrayIndex::GetScriptOwner() const {
  return AVariableDataArray->GetScriptOwner();
}

void TVariableArrayIndex::SetIndexVariable(TDataSingle* variable) {
  QORV_ASSERT(variable!=0);
  if (ADataIndex && ADataIndex != variable) ADataIndex->RemoveUser(this);
  ADataIndex = variable;
  ADataIndex->AddUser(this);
  AConstant = -1;
  UpdateOwnerText();
}

void TVariableArrayIndex::SetIndexConstant(std::int32_t index) {
  QORV_ASSERT(index>=0);
  DropIndexVariable();
  AConstant = index;
  UpdateOwnerText();
}

void TVariableArrayIndex::ClearIndex() {
  DropIndexVariable();
  AConstant = -1;
  UpdateOwnerText();
}

void TVariableArrayIndex::Assign(const TVariableArrayIndex* other) {
  if (!other) return;
  if (other->ADataIndex) {
    SetIndexVariable(other->ADataIndex);
  } else if (other->AConstant >= 0) {
    SetIndexConstant(other->AConstant);
  } else {
    // The entire array. (Keeping a constant here would make a copy of an entire-array
    // reference name element 0.)
    if (ADataIndex) DropIndexVariable();
    AConstant = -1;
  }
}

void TVariableArrayIndex::LookUp(TValueSight& sight) {
  if (!ADataIndex) return;  // a constant
  QORV_ASSERT_AS(ADataIndex->GetDataType() == eatINTEGER,
                 "ADataIndex->GetValue()->GetType()==eatINTEGER");
  sight.Value = &ADataIndex->GetValue();
  sight.Type = eatINTEGER;
  sight.Generation = ADataIndex->GetValueGeneration();
}

std::string TVariableArrayIndex::GetText() {
  std::string text;
  if (ADataIndex)
    text = ADataIndex->GetDataName();
  else if (AConstant >= 0)
    text = NumberText::IntToText(AConstant);
  else
    text = "...";
  return "[" + text + "]";
}

void TVariableArrayIndex::DropIndexVariable() {
  if (!ADataIndex) return;
  ADataIndex->RemoveUser(this);
  ADataIndex = nullptr;
}

void TVariableArrayIndex::UpdateOwnerText() { GetScriptOwner()->UpdateNodeText(); }

// TVariableDataArray

TVariableDataArray::TVariableDataArray(TAttributeScript* owner) : TVariableData(owner) {}

TVariableDataArray::~TVariableDataArray() {
  AArrayIndex.reset();
  if (ADataArray) ADataArray->RemoveUser(this);
}

void TVariableDataArray::Save(TWriteFile& writer) {
  TVariableData::Save(writer);
  TVariableArrayIndex& index = GetArrayIndex();  // none yet: element 0
  index.Save(writer);
  // An exported index variable travels with the block and counts this user.
  std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  if (exported && index.GetIndexVariable() &&
      std::find(exported->begin(), exported->end(), &index) == exported->end())
    exported->push_back(&index);
}

void TVariableDataArray::Load(TReadFile& reader) {
  TVariableData::Load(reader);
  TVariableArrayIndex& index = GetArrayIndex();
  index.Load(reader);
  reader.GetVariableList().Add(&index);
}

TVariableData* TVariableDataArray::Clone() {
  auto* clone = new TVariableDataArray(AScriptOwner);
  clone->SetData(ADataArray);
  if (AArrayIndex) clone->GetArrayIndex().Assign(AArrayIndex.get());
  return clone;
}

void TVariableDataArray::SetValueText(const std::string& text) {
  QORV_ASSERT(ADataArray!=0);
  const std::int32_t index = ElementIndex();
  const auto lock = ADataArray->LockValues();
  ADataArray->GetValueArray().SetElementText(text, index);
}

void TVariableDataArray::SetValueNumber(std::int32_t raw) {
  QORV_ASSERT(ADataArray!=0);
  const std::int32_t index = ElementIndex();
  const auto lock = ADataArray->LockValues();
  ADataArray->GetValueArray().SetElementNumber(raw, index);
}

// Reading an element of an array without storage makes the storage: the readers lock
// like the writers, as the main thread may be showing the array meanwhile.
std::string TVariableDataArray::GetValueString() {
  QORV_ASSERT(ADataArray!=0);
  const std::int32_t index = ElementIndex();
  const auto lock = ADataArray->LockValues();
  return ADataArray->GetValueArray().GetElementText(index);
}

std::string TVariableDataArray::GetValueFormatted(int notation, int decimals) {
  QORV_ASSERT(ADataArray!=0);
  const std::int32_t index = ElementIndex();
  const auto lock = ADataArray->LockValues();
  return ADataArray->GetValueArray().GetElementTextFormatted(notation, decimals, index);
}

// The array's kind is the variable's type: a retype drops the array first.
void TVariableDataArray::LookUp(TArraySight& sight, TValueSight& indexSight) {
  TValueArray& values = ADataArray->GetValueArray();  // one created now takes a new generation
  sight.Array = &values;
  sight.Type = static_cast<std::int8_t>(ADataArray->GetDataType());
  sight.Generation = ADataArray->GetValueGeneration();
  if (sight.Type == eatSTRING) return;
  QORV_ASSERT(AArrayIndex!=0);
  AArrayIndex->LookUp(indexSight);
}

TCopyVariableData* TVariableDataArray::MakeCopy(TCopyScript* copyCommand) {
  if (!AArrayIndex) return new TCopyVariableData(copyCommand, ADataArray, nullptr, -1);
  return new TCopyVariableData(copyCommand, ADataArray, AArrayIndex->GetIndexVariable(),
                               AArrayIndex->GetConstant());
}

std::string TVariableDataArray::GetName() {
  QORV_ASSERT(ADataArray!=0);
  std::string name = ADataArray->GetDataName();
  if (AArrayIndex) name += AArrayIndex->GetText();
  return name;
}

TData* TVariableDataArray::GetData() const { return ADataArray; }

void TVariableDataArray::SetData(TData* variable) {
  if (variable && variable == ADataArray) return;
  if (ADataArray) {
    ADataArray->RemoveUser(this);
    ADataArray = nullptr;
  }
  if (!variable) return;
  auto* array = dynamic_cast<TDataArray*>(variable);
  QORV_ASSERT(array!=0);
  ADataArray = array;
  ADataArray->AddUser(this);
}

std::int32_t TVariableDataArray::GetSize() {
  QORV_ASSERT(ADataArray!=0);
  return ADataArray->GetValueArray().GetSize();
}

std::string TVariableDataArray::GetDescription() {
  if (!ADataArray) return std::string();
  return ADataArray->GetDataName() + GetArrayIndex().GetText();
}

TVariableArrayIndex& TVariableDataArray::GetArrayIndex() {
  if (!AArrayIndex) AArrayIndex = std::make_unique<TVariableArrayIndex>(this);
  return *AArrayIndex;
}

bool TVariableDataArray::BindLoaded(TExpAttribute* object) {
  auto* array = dynamic_cast<TDataArray*>(object);
  if (!array) return false;
  SetData(array);
  return true;
}

std::int32_t TVariableDataArray::ElementIndex() {
  QORV_ASSERT(AArrayIndex!=0);
  TValueSight sight;
  AArrayIndex->LookUp(sight);
  const std::int32_t index = IndexOf(sight);
  // A value of the index variable below 0 is refused here, before the array is touched,
  // with the array's own error (the array checks the upper bound itself).
  if (index < 0)
    throw EExperimentError("Index " + NumberText::IntToText(index) + " is out of bounds.");
  return index;
}

// TCopyVariableData

TCopyVariableData::TCopyVariableData(TCopyScript* owner, TData* data, TDataSingle* counter,
                                     std::int32_t index)
    : Powner(owner), Data(data), ACounter(counter), AIndex(index) {}

void TCopyVariableData::Enable() {
  QORV_ASSERT(Powner!=0);
  QORV_ASSERT(Data!=0);
  Data->SetCopyScript(Powner);
  if (ACounter) ACounter->SetCopyScript(Powner);
}

void TCopyVariableData::Disable() {
  for (TData* data : {Data, static_cast<TData*>(ACounter)})
    if (data && data->GetCopyScript() == Powner) data->ClearCopyScript();
  Data = nullptr;
  ACounter = nullptr;
}

void TCopyVariableData::SetUpVariable(TVariableData* reference) const {
  QORV_ASSERT(reference!=0);
  reference->SetData(Data);
  if (!reference->IsArray()) return;
  QORV_ASSERT_AS(ACounter == nullptr || AIndex < 0, "ACounter==0||AIndex<0");
  TVariableArrayIndex& index = static_cast<TVariableDataArray*>(reference)->GetArrayIndex();
  if (ACounter)
    index.SetIndexVariable(ACounter);
  else if (AIndex >= 0)
    index.SetIndexConstant(AIndex);
  else
    index.ClearIndex();
}
