#include "expressions/math_expression.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/data.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"

// TMathExpression

TMathExpression::TMathExpression(TAttributeScript* owner) : Powner(owner) {
  QORV_ASSERT(owner!=0);
}

TMathExpression::~TMathExpression() {
  if (!AStringList) return;
  for (TEntry& entry : *AStringList) entry.Reference.reset();
  AStringList.reset();
}

std::vector<TMathExpression::TEntry>& TMathExpression::List() {
  if (!AStringList) AStringList = std::make_unique<std::vector<TEntry>>();
  return *AStringList;
}

void TMathExpression::Append(std::string text, std::unique_ptr<TVariableData> reference) {
  List().push_back(TEntry{std::move(text), std::move(reference)});
}

void TMathExpression::AddToken(const std::string& text) { Append(text, nullptr); }

void TMathExpression::AddVariable(TData* variable) {
  QORV_ASSERT(variable!=0);
  QORV_ASSERT(!variable->IsArray());
  auto reference = std::make_unique<TVariableDataSingle>(Powner);
  reference->SetData(variable);
  std::string text = reference->GetDescription();
  Append(std::move(text), std::move(reference));
}

void TMathExpression::AddArrayElementByVariable(TData* array, TData* indexVariable) {
  QORV_ASSERT(array!=0);
  auto* index = dynamic_cast<TDataSingle*>(indexVariable);
  QORV_ASSERT(index!=0);
  auto reference = std::make_unique<TVariableDataArray>(Powner);
  reference->SetData(array);
  reference->GetArrayIndex().SetIndexVariable(index);
  std::string text = reference->GetDescription();
  Append(std::move(text), std::move(reference));
}

void TMathExpression::AddArrayElementByIndex(TData* array, std::int32_t index) {
  QORV_ASSERT(array!=0);
  auto reference = std::make_unique<TVariableDataArray>(Powner);
  reference->SetData(array);
  reference->GetArrayIndex().SetIndexConstant(index);
  std::string text = reference->GetDescription();
  Append(std::move(text), std::move(reference));
}

std::string TMathExpression::GetText() {
  std::string text;
  if (!AStringList) return text;
  for (TEntry& entry : *AStringList) {
    if (entry.Reference) entry.Text = entry.Reference->GetDescription();
    text += entry.Text;
  }
  return text;
}

std::string TMathExpression::GetValueText() {
  std::string text;
  if (!AStringList) return text;
  for (TEntry& entry : *AStringList) {
    if (entry.Reference) entry.Text = entry.Reference->GetValueString();
    text += entry.Text;
  }
  return text;
}

void TMathExpression::Save(TWriteFile& writer) {
  const std::int32_t count = GetCount();
  writer.WriteInteger(count);
  if (count <= 0) return;
  std::vector<TVariable*>* exported = writer.GetBlockVariableList();
  for (TEntry& entry : *AStringList) {
    writer.WriteString(entry.Text);
    writer.WriteBool(entry.Reference != nullptr);
    if (!entry.Reference) continue;
    writer.WriteBool(entry.Reference->IsArray());
    if (exported) exported->push_back(entry.Reference.get());
    entry.Reference->Save(writer);
  }
}

void TMathExpression::Load(TReadFile& reader) {
  QORV_ASSERT(AStringList==0);
  // An entry takes at least its text's count and its bound flag.
  const std::int32_t count = reader.ReadCount(5);
  if (count <= 0) return;
  std::vector<TEntry>& list = List();
  // Room for the entries at once (a damaged count may claim far more than it has).
  list.reserve(static_cast<std::size_t>(std::min<std::int32_t>(count, 64)));
  for (std::int32_t i = 0; i < count; ++i) {
    TEntry entry{reader.ReadString(), nullptr};
    bool bound = false;
    reader.ReadBool(bound);
    if (bound) {
      bool isArray = false;
      reader.ReadBool(isArray);
      if (isArray)
        entry.Reference = std::make_unique<TVariableDataArray>(Powner);
      else
        entry.Reference = std::make_unique<TVariableDataSingle>(Powner);
      entry.Reference->Load(reader);
      reader.GetVariableList().Add(entry.Reference.get());
    }
    list.push_back(std::move(entry));
  }
}

void TMathExpression::MakeCopy(TMathExpressionCopy& copy) {
  QORV_ASSERT(!copy.HasList());
  std::vector<TMathExpressionCopy::TEntry>& list = copy.List();
  if (!AStringList) return;
  for (TEntry& entry : *AStringList) {
    TMathExpressionCopy::TEntry copied{entry.Text, nullptr};
    if (entry.Reference) copied.Variable.reset(entry.Reference->MakeCopy(copy.GetOwner()));
    list.push_back(std::move(copied));
  }
}

void TMathExpression::SetUp(const TMathExpressionCopy& copy) {
  QORV_ASSERT(AStringList==0);
  std::vector<TEntry>& list = List();
  const std::vector<TMathExpressionCopy::TEntry>* copied = copy.GetList();
  if (!copied) return;
  for (const TMathExpressionCopy::TEntry& entry : *copied) {
    std::unique_ptr<TVariableData> reference;
    if (entry.Variable) {
      QORV_ASSERT(entry.Variable->Data!=0);
      if (entry.Variable->Data->IsArray())
        reference = std::make_unique<TVariableDataArray>(Powner);
      else
        reference = std::make_unique<TVariableDataSingle>(Powner);
      entry.Variable->SetUpVariable(reference.get());
    }
    list.push_back(TEntry{entry.Text, std::move(reference)});
  }
}

std::int32_t TMathExpression::GetCount() const {
  return AStringList ? static_cast<std::int32_t>(AStringList->size()) : 0;
}

TVariableData* TMathExpression::GetReference(std::int32_t index) const {
  QORV_ASSERT(AStringList!=0);
  QORV_ASSERT(index>=0&&index<GetCount());
  return (*AStringList)[static_cast<std::size_t>(index)].Reference.get();
}

// TMathExpressionCopy

TMathExpressionCopy::TMathExpressionCopy(TCopyScript* owner) : Powner(owner) {}

TMathExpressionCopy::~TMathExpressionCopy() {
  if (!AStringList) return;
  for (TEntry& entry : *AStringList) entry.Variable.reset();
  AStringList.reset();
}

std::vector<TMathExpressionCopy::TEntry>& TMathExpressionCopy::List() {
  if (!AStringList) AStringList = std::make_unique<std::vector<TEntry>>();
  return *AStringList;
}
