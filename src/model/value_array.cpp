#include "model/value_array.h"

#include <algorithm>
#include <bit>
#include <new>

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
  try {
    CreateStorage();
  } catch (const std::bad_alloc&) {
    // The run ends with a message rather than the program.
    const std::string array = POwnerName ? "the array " + *POwnerName : "an array";
    throw EExperimentError("Not enough memory for " + array + " of " +
                           NumberText::IntToText(Parray_size) + " elements");
  }
  Filled = false;
}

void TValueArray::SetSize(std::int32_t size) {
  if (size < 1) throw EExperimentError("Invalid array size: " + NumberText::IntToText(size));
  if (size != Parray_size) {
    FreeStorage();
    Filled = false;
  }
  Parray_size = size;
}

std::string TValueArray::GetText() {
  if (!HasElements()) return std::string();
  // A waiting fill shows as the elements it will give.
  const bool stored = HasStorage();
  const std::string fill = stored ? std::string() : FillText();
  std::string text;
  for (std::int32_t i = 0; i < Parray_size; ++i) {
    if (i > 0) text += ',';
    text += stored ? GetElementText(i) : fill;
  }
  return text;
}

// TValueStringArray

void TValueStringArray::CreateStorage() { PStringArray.emplace(Parray_size, FillElement); }

void TValueStringArray::FreeStorage() {
  PStringArray.reset();
  FillElement.clear();
}

void TValueStringArray::SetElementText(const std::string& text, std::int32_t index) {
  CheckIndex(index);
  EnsureStorage();
  (*PStringArray)[index] = text;
}

void TValueStringArray::Fill(const TValue* value) {
  const auto* string = dynamic_cast<const TValueString*>(value);
  std::string text = string ? string->GetText() : std::string();
  if (HasStorage()) {
    std::fill(PStringArray->begin(), PStringArray->end(), text);
  } else {
    FillElement = std::move(text);
    Filled = true;
  }
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

void TValueIntegerArray::CreateStorage() { PIntegerArray.emplace(Parray_size, FillElement); }

void TValueIntegerArray::FreeStorage() {
  PIntegerArray.reset();
  FillElement = 0;
}

std::string TValueIntegerArray::FillText() const { return NumberText::IntToText(FillElement); }

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
  const auto* integer = dynamic_cast<const TValueInt*>(value);
  const std::int32_t number = integer ? integer->GetInt() : 0;
  if (HasStorage()) {
    std::fill(PIntegerArray->begin(), PIntegerArray->end(), number);
  } else {
    FillElement = number;
    Filled = true;
  }
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

void TValueFloatArray::CreateStorage() { PFloatArray.emplace(Parray_size, FillElement); }

void TValueFloatArray::FreeStorage() {
  PFloatArray.reset();
  FillElement = 0.0f;
}

std::string TValueFloatArray::FillText() const {
  return NumberText::FormatNumber(FillElement, Notation, Poridecplaces);
}

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
  const auto* real = dynamic_cast<const TValueFloat*>(value);
  const float number = real ? real->GetFloat() : 0.0f;
  if (HasStorage()) {
    std::fill(PFloatArray->begin(), PFloatArray->end(), number);
  } else {
    FillElement = number;
    Filled = true;
  }
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
  Poridecplaces = NumberText::ClampDecimals(decimals);
}
