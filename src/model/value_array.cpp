#include "model/value_array.h"

#include <algorithm>
#include <bit>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/value.h"

// TValueArray

void TValueArray::CheckIndex(std::int32_t index) const {
  if (index < 0 || index >= Parray_size)
    throw EExperimentError("Index " + NumberText::IntToText(index) + " is out of bounds.");
}

void TValueArray::EnsureStorage() {
  if (HasStorage()) return;
  QORV_ASSERT(TValueArray::Parray_size>0);
  CreateStorage();
}

void TValueArray::SetSize(std::int32_t size) {
  if (size < 1) throw EExperimentError("Invalid array size: " + NumberText::IntToText(size));
  if (size != Parray_size) FreeStorage();
  Parray_size = size;
}

std::string TValueArray::GetText() {
  if (!HasStorage()) return std::string();
  std::string text = GetElementText(0);
  for (std::int32_t i = 1; i < Parray_size; ++i) {
    text += ',';
    text += GetElementText(i);
  }
  return text;
}

// TValueStringArray

void TValueStringArray::CreateStorage() { PStringArray.emplace(Parray_size); }

void TValueStringArray::SetElementText(const std::string& text, std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  (*PStringArray)[index] = text;
}

void TValueStringArray::Fill(const TValue* value) {
  EnsureStorage();
  const auto* string = dynamic_cast<const TValueString*>(value);
  std::fill(PStringArray->begin(), PStringArray->end(), string ? string->GetText() : std::string());
}

void TValueStringArray::SetElementNumber(std::int32_t number, std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  (*PStringArray)[index] = NumberText::IntToText(static_cast<std::uint32_t>(number));
}

std::string TValueStringArray::GetElementTextFormatted(int, int, std::int32_t index) {
  return GetElementText(index);
}

std::string TValueStringArray::GetElementText(std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  return (*PStringArray)[index];
}

std::uint32_t TValueStringArray::GetRawElement(std::int32_t) {
  AssertionFailed("false", __FILE__, __LINE__);  // string elements have no raw form
}

// TValueIntegerArray

void TValueIntegerArray::CreateStorage() { PIntegerArray.emplace(Parray_size, 0); }

void TValueIntegerArray::SetElementText(const std::string& text, std::int32_t index) {
  CheckIndex(index);
  TValueInt element;
  try {
    element.SetText(text);
  } catch (const EExperimentError&) {
    throw EExperimentError("The value is not an integer. Value is " + text + ".");
  }
  EnsureStorage();
  (*PIntegerArray)[index] = element.GetInt();
}

void TValueIntegerArray::Fill(const TValue* value) {
  EnsureStorage();
  const auto* integer = dynamic_cast<const TValueInt*>(value);
  std::fill(PIntegerArray->begin(), PIntegerArray->end(), integer ? integer->GetInt() : 0);
}

void TValueIntegerArray::SetElementNumber(std::int32_t number, std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  (*PIntegerArray)[index] = number;
}

std::string TValueIntegerArray::GetElementTextFormatted(int notation, int decimals, std::int32_t index) {
  return TValueInt(GetElementInt(index)).GetTextFormatted(notation, decimals);
}

std::string TValueIntegerArray::GetElementText(std::int32_t index) {
  return NumberText::IntToText(GetElementInt(index));
}

std::uint32_t TValueIntegerArray::GetRawElement(std::int32_t index) {
  return static_cast<std::uint32_t>(GetElementInt(index));
}

std::int32_t TValueIntegerArray::CheckedElement(std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  return (*PIntegerArray)[index];
}

// TValueFloatArray

void TValueFloatArray::CreateStorage() { PFloatArray.emplace(Parray_size, 0.0f); }

void TValueFloatArray::SetElementText(const std::string& text, std::int32_t index) {
  CheckIndex(index);
  TValueFloat element;
  try {
    element.SetText(text);
  } catch (const EExperimentError&) {
    throw EExperimentError("The value is not an float. Value is " + text + ".");
  }
  EnsureStorage();
  (*PFloatArray)[index] = element.GetFloat();
  Notation = element.GetNotation();
  Poridecplaces = element.GetDecimalPlaces();
}

void TValueFloatArray::Fill(const TValue* value) {
  EnsureStorage();
  const auto* real = dynamic_cast<const TValueFloat*>(value);
  std::fill(PFloatArray->begin(), PFloatArray->end(), real ? real->GetFloat() : 0.0f);
}

void TValueFloatArray::SetElementNumber(std::int32_t number, std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  (*PFloatArray)[index] = std::bit_cast<float>(number);
  Notation = ntSTANDARD;
  Poridecplaces = 0;
}

std::string TValueFloatArray::GetElementTextFormatted(int notation, int decimals, std::int32_t index) {
  return NumberText::FormatNumber(GetElementFloat(index), notation, decimals);
}

std::string TValueFloatArray::GetElementText(std::int32_t index) {
  return GetElementTextFormatted(Notation, Poridecplaces, index);
}

std::uint32_t TValueFloatArray::GetRawElement(std::int32_t index) {
  return std::bit_cast<std::uint32_t>(GetElementFloat(index));
}

std::int32_t TValueFloatArray::GetElementInt(std::int32_t index) {
  return NumberText::TruncToInt32(GetElementFloat(index));
}

float TValueFloatArray::CheckedElement(std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  return (*PFloatArray)[index];
}

void TValueFloatArray::SetFormat(std::uint8_t notation, std::int32_t decimals) {
  Notation = notation;
  Poridecplaces = std::max(decimals, 0);
}
