#include "expressions/condition.h"

#include <algorithm>
#include <vector>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/exp_attribute.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/value.h"
#include "model/variable_data.h"
#include "model/write_file.h"

const char* const ConditionReadError = "Error reading condition";

namespace {

std::string ReadError(const std::string& detail) {
  return std::string(ConditionReadError) + ": " + detail;
}

bool IsValueType(std::int32_t type) { return type >= eatSTRING && type <= eatFLOAT; }

// An array reference must name one element: by an index variable or a constant.
bool NamesOneValue(TVariableData* reference) {
  if (!reference->IsArray()) return true;
  auto* element = static_cast<TVariableDataArray*>(reference);
  if (!element->HasArrayIndex()) return true;  // element 0 until an index is set
  const TVariableArrayIndex& index = element->GetArrayIndex();
  return index.GetIndexVariable() != nullptr || index.GetConstant() >= 0;
}

}  // namespace

// TConstant

void TConstant::SetConstant(const std::string& text, int type) {
  QORV_ASSERT(IsValueType(type));
  QORV_ASSERT(!text.empty()&&TValue::IsValidText(type,text,false));
  AConstant = text;
  AExpAttType = static_cast<std::uint8_t>(type);
}

std::string TConstant::GetString() const {
  QORV_ASSERT(AExpAttType==eatSTRING&&!AConstant.empty());
  return AConstant;
}

std::int32_t TConstant::GetInteger() const {
  QORV_ASSERT(AExpAttType==eatINTEGER&&!AConstant.empty());
  std::int32_t value = 0;
  const bool converted = NumberText::TextToInt(AConstant, value);
  QORV_ASSERT(converted);
  return value;
}

float TConstant::GetFloat() const {
  QORV_ASSERT(AExpAttType==eatFLOAT&&!AConstant.empty());
  double value = 0;
  const bool converted = NumberText::TextToFloat(AConstant, value);
  QORV_ASSERT(converted);
  return static_cast<float>(value);
}

bool TConstant::CanConvertTo(int type) const {
  if (AExpAttType != eatSTRING || type == eatSTRING) return true;
  double number;
  return NumberText::TextToFloat(AConstant, number);
}

bool TConstant::ChangeType(int type) {
  switch (type) {
    case eatINTEGER: {
      std::int32_t integer;
      if (NumberText::TextToInt(AConstant, integer)) break;
      double number;
      if (!NumberText::TextToFloat(AConstant, number)) return true;
      const std::string proposed = NumberText::IntToText(NumberText::TruncToInt32(number));
      if (proposed != AConstant) {
        const std::string question =
            "You have changed the type to integer.  The old value was the float value " +
            AConstant + " the new value will have to be " + proposed +
            ".  Do you wish to use the new value.\r" + "Selecting No will delete the command.";
        if (UiPort().Ask(question, "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes)
          return true;
        AConstant = proposed;
      }
      break;
    }
    case eatFLOAT:
      if (!TValue::IsValidText(eatFLOAT, AConstant, false)) return true;
      break;
    default:
      QORV_ASSERT(type==eatSTRING);
      break;
  }
  AExpAttType = static_cast<std::uint8_t>(type);
  return false;
}

void TConstant::Save(TWriteFile& writer) const {
  QORV_ASSERT(AExpAttType!=NotSet);
  writer.WriteString(AConstant);
  writer.WriteInteger(AExpAttType);
}

void TConstant::Load(TReadFile& reader) {
  const std::string text = reader.ReadString();
  std::int32_t type;
  reader.ReadInteger(type);
  if (!IsValueType(type))
    throw EReadError(ReadError("constant type " + NumberText::IntToText(type)));
  if (text.empty() || !TValue::IsValidText(type, text, false))
    throw EReadError(ReadError("the constant \"" + text + "\" is not a valid " + TypeName(type) +
                               " value"));
  AConstant = text;
  AExpAttType = static_cast<std::uint8_t>(type);
}

// TCondition

TCondition::TCondition(TAttributeScript* owner) : AScriptOwner(owner) {}

TCondition::~TCondition() = default;

void TCondition::Save(TWriteFile& writer) {
  QORV_ASSERT(AVariable1!=0&&AComparison!=0);
  SaveReference(writer, AVariable1.get());
  writer.WriteInteger(AComparison->GetType());
}

void TCondition::Load(TReadFile& reader) {
  QORV_ASSERT(AVariable1==0&&AComparison==0);
  AVariable1 = LoadReference(reader);
  std::int32_t type;
  reader.ReadInteger(type);
  if (type < TComparison::EQUAL || type > TComparison::LESSEQUAL)
    throw EReadError(ReadError("comparison type " + NumberText::IntToText(type)));
  SetComparison(type);
}

bool TCondition::IsComplete() {
  return IsBound(AVariable1.get()) && NamesOneValue(AVariable1.get()) && AComparison;
}

void TCondition::SetComparison(int type) {
  if (AComparison && AComparison->GetType() != type) AComparison.reset();
  if (!AComparison) AComparison = TComparison::Make(type);
  QORV_ASSERT(AComparison!=0);
}

void TCondition::SetVariable1(TData* variable) { SetReference(AVariable1, variable); }

void TCondition::SetReference(std::unique_ptr<TVariableData>& reference, TData* variable) {
  QORV_ASSERT(variable!=0);
  QORV_ASSERT(AScriptOwner!=0);
  if (reference && reference->IsArray() != variable->IsArray()) reference.reset();
  if (!reference) {
    if (variable->IsArray())
      reference = std::make_unique<TVariableDataArray>(AScriptOwner);
    else
      reference = std::make_unique<TVariableDataSingle>(AScriptOwner);
  }
  reference->SetData(variable);
}

void TCondition::SaveReference(TWriteFile& writer, TVariableData* reference) {
  writer.WriteBool(reference->IsArray());
  reference->Save(writer);
  std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  if (exported && std::find(exported->begin(), exported->end(), reference) == exported->end())
    exported->push_back(reference);
}

std::unique_ptr<TVariableData> TCondition::LoadReference(TReadFile& reader) {
  bool isArray;
  reader.ReadBool(isArray);
  std::unique_ptr<TVariableData> reference;
  if (isArray)
    reference = std::make_unique<TVariableDataArray>(AScriptOwner);
  else
    reference = std::make_unique<TVariableDataSingle>(AScriptOwner);
  reference->Load(reader);
  reader.GetVariableList().Add(reference.get());
  return reference;
}

int TCondition::TypeOf(const TVariableData* reference) {
  return reference->GetData()->GetDataType();
}

bool TCondition::IsBound(const TVariableData* reference) {
  return reference != nullptr && reference->GetData() != nullptr;
}

// TConditionVariable

TConditionVariable::TConditionVariable(TAttributeScript* owner) : TCondition(owner) {}

TConditionVariable::~TConditionVariable() = default;

bool TConditionVariable::AcceptsType(int type) {
  QORV_ASSERT(IsBound(AVariable1.get()));
  if (TypeOf(AVariable1.get()) != eatSTRING || type == eatSTRING) return true;
  QORV_ASSERT(IsBound(AVariable2.get())&&TypeOf(AVariable2.get())==eatSTRING);
  return false;
}

bool TConditionVariable::ValidateTypes() {
  QORV_ASSERT(IsBound(AVariable1.get())&&IsBound(AVariable2.get()));
  QORV_ASSERT(AComparison!=0);
  const int type1 = TypeOf(AVariable1.get());
  const int type2 = TypeOf(AVariable2.get());
  if (type1 == type2) return false;
  if (type1 == eatSTRING || type2 == eatSTRING) return true;
  if (AComparison->GetType() != TComparison::EQUAL) return false;
  const std::string question = AVariable1->GetName() + " is of type " + TypeName(type1) +
                               " and " + AVariable2->GetName() + " is of type " +
                               TypeName(type2) + ".  These values may never be equal\r." +
                               "Do you wish to do this?  Selecting No will cause the command "
                               "to be deleted.";
  return UiPort().Ask(question, "Qorv Warning", TMessageKind::Warning, mbYes | mbNo) != mbYes;
}

bool TConditionVariable::Evaluate() {
  QORV_ASSERT(IsBound(AVariable1.get())&&IsBound(AVariable2.get()));
  QORV_ASSERT(AComparison!=0);
  const int type1 = TypeOf(AVariable1.get());
  const int type2 = TypeOf(AVariable2.get());
  switch (type1) {
    case eatSTRING:
      QORV_ASSERT(type2==eatSTRING);
      // A retype can leave another comparison than "==" between texts: it never holds.
      return AComparison->CompareStrings(AVariable1->GetValueString(),
                                         AVariable2->GetValueString());
    case eatINTEGER:
      if (type2 == eatINTEGER)
        return AComparison->CompareIntInt(AVariable1->GetInteger(), AVariable2->GetInteger());
      QORV_ASSERT(type2==eatFLOAT);
      return AComparison->CompareIntFloat(AVariable1->GetInteger(), AVariable2->GetFloat());
    default:
      QORV_ASSERT(type1==eatFLOAT);
      if (type2 == eatINTEGER)
        return AComparison->CompareFloatInt(AVariable1->GetFloat(), AVariable2->GetInteger());
      QORV_ASSERT(type2==eatFLOAT);
      return AComparison->CompareFloatFloat(AVariable1->GetFloat(), AVariable2->GetFloat());
  }
}

void TConditionVariable::Save(TWriteFile& writer) {
  TCondition::Save(writer);
  QORV_ASSERT(AVariable2!=0);
  SaveReference(writer, AVariable2.get());
}

void TConditionVariable::Load(TReadFile& reader) {
  TCondition::Load(reader);
  QORV_ASSERT(AVariable2==0);
  AVariable2 = LoadReference(reader);
}

std::string TConditionVariable::GetValueText() {
  if (!IsBound(AVariable1.get()) || !IsBound(AVariable2.get()) || !AComparison) return "";
  return AVariable1->GetValueString() + AComparison->GetText() + AVariable2->GetValueString();
}

std::string TConditionVariable::GetText() {
  if (!IsBound(AVariable1.get()) || !IsBound(AVariable2.get()) || !AComparison) return "";
  return AVariable1->GetDescription() + AComparison->GetText() + AVariable2->GetDescription();
}

bool TConditionVariable::IsComplete() {
  if (!TCondition::IsComplete() || !IsBound(AVariable2.get()) || !NamesOneValue(AVariable2.get()))
    return false;
  return (TypeOf(AVariable1.get()) == eatSTRING) == (TypeOf(AVariable2.get()) == eatSTRING);
}

void TConditionVariable::SetCondition(TData* variable1, TData* variable2, int type) {
  QORV_ASSERT(variable1!=0&&variable2!=0);
  SetVariable1(variable1);
  SetVariable2(variable2);
  SetComparison(type);
}

void TConditionVariable::SetVariable2(TData* variable) { SetReference(AVariable2, variable); }

// TConditionConstant

TConditionConstant::TConditionConstant(TAttributeScript* owner) : TCondition(owner) {}

TConditionConstant::~TConditionConstant() = default;

bool TConditionConstant::AcceptsType(int type) {
  QORV_ASSERT(AConstant2!=0);
  return AConstant2->CanConvertTo(type);
}

bool TConditionConstant::ValidateTypes() {
  QORV_ASSERT(IsBound(AVariable1.get())&&AConstant2!=0);
  return AConstant2->ChangeType(TypeOf(AVariable1.get()));
}

bool TConditionConstant::Evaluate() {
  QORV_ASSERT(IsBound(AVariable1.get())&&AConstant2!=0&&AComparison!=0);
  const int type1 = TypeOf(AVariable1.get());
  QORV_ASSERT(AConstant2->GetType()==type1);
  switch (type1) {
    case eatSTRING:
      return AComparison->CompareStrings(AVariable1->GetValueString(), AConstant2->GetString());
    case eatINTEGER:
      return AComparison->CompareIntInt(AVariable1->GetInteger(), AConstant2->GetInteger());
    default:
      return AComparison->CompareFloatFloat(AVariable1->GetFloat(), AConstant2->GetFloat());
  }
}

void TConditionConstant::Save(TWriteFile& writer) {
  TCondition::Save(writer);
  QORV_ASSERT(AConstant2!=0);
  AConstant2->Save(writer);
}

void TConditionConstant::Load(TReadFile& reader) {
  TCondition::Load(reader);
  QORV_ASSERT(AConstant2==0);
  auto constant = std::make_unique<TConstant>();
  constant->Load(reader);
  AConstant2 = std::move(constant);
}

std::string TConditionConstant::GetValueText() {
  if (!IsBound(AVariable1.get()) || !AConstant2 || !AComparison) return "";
  return AVariable1->GetValueString() + AComparison->GetText() + AConstant2->GetText();
}

std::string TConditionConstant::GetText() {
  if (!IsBound(AVariable1.get()) || !AConstant2 || !AComparison) return "";
  std::string constant = AConstant2->GetText();
  if (AConstant2->GetType() == eatSTRING) constant = "\"" + constant + "\"";
  return AVariable1->GetDescription() + AComparison->GetText() + constant;
}

bool TConditionConstant::IsComplete() {
  return TCondition::IsComplete() && AConstant2 &&
         AConstant2->GetType() == TypeOf(AVariable1.get());
}

void TConditionConstant::SetCondition(TData* variable, const std::string& text, int type) {
  QORV_ASSERT(variable!=0&&!text.empty());
  SetConstant(variable, text);
  SetComparison(type);
}

void TConditionConstant::SetConstant(TData* variable, const std::string& text) {
  SetVariable1(variable);
  if (!AConstant2) AConstant2 = std::make_unique<TConstant>();
  AConstant2->SetConstant(text, variable->GetDataType());
}
