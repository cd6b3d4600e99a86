#include "model/value.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>

#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/ui_port.h"

namespace {

bool IntegerCheck(const std::string& text, bool showMessage) {
  std::int32_t value;
  if (NumberText::TextToInt(text, value)) return true;
  if (showMessage)
    UiPort().ShowMessage("The value " + text + " is not an integer.", "", TMessageKind::Warning);
  return false;
}

bool FloatCheck(const std::string& text, bool showMessage) {
  double value;
  if (NumberText::TextToFloat(text, value) && std::isfinite(static_cast<float>(value)))
    return true;
  if (showMessage)
    UiPort().ShowMessage("The value " + text + " is not a float value", "", TMessageKind::Warning);
  return false;
}

}  // namespace

bool TValue::IsValidText(int type, const std::string& text, bool showMessage) {
  switch (type) {
    case eatSTRING: return true;
    case eatINTEGER: return IntegerCheck(text, showMessage);
    default: break;
  }
  QORV_ASSERT(type==eatFLOAT);
  return FloatCheck(text, showMessage);
}

std::string HexDumpText(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string dump;
  for (char c : text) {
    // The code is taken as a signed byte, so codes above 127 show as eight digits.
    const auto code = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(c)));
    std::string digits;
    for (std::uint32_t v = code; v != 0; v >>= 4) digits.insert(digits.begin(), hex[v & 15]);
    while (digits.size() < 2) digits.insert(digits.begin(), '0');
    dump += ' ' + digits;
  }
  return dump + "h";
}

void FloatFormatOfText(const std::string& text, std::uint8_t& notation, std::int32_t& decimals) {
  const bool hasE = std::any_of(text.begin(), text.end(),
                                [](char c) { return c == 'E' || c == 'e'; });
  notation = hasE ? ntSCIENTIFIC : ntFIXED;
  const auto separator = text.find(NumberText::DecimalSeparator());
  decimals = 0;
  if (separator != std::string::npos)
    decimals = NumberText::ClampDecimals(static_cast<std::int64_t>(text.size() - separator - 1));
}

// TValueString

void TValueString::Assign(const TValue* other) {
  const auto* string = dynamic_cast<const TValueString*>(other);
  Text = string ? string->Text : std::string();
}

void TValueString::SetNumber(std::int32_t number) {
  Text = NumberText::IntToText(static_cast<std::uint32_t>(number));
}

// TValueInt

void TValueInt::SetText(const std::string& text) {
  std::int32_t value;
  if (NumberText::TextToInt(text, value)) {
    Value = value;
    return;
  }
  double number;
  if (NumberText::TextToFloat(text, number) && NumberText::TruncFitsInt32(number)) {
    Value = NumberText::TruncToInt32(number);
    return;
  }
  throw EExperimentError("The value is not an integer. Value is " + text + "\rBinary value: " +
                         HexDumpText(text) + ".");
}

void TValueInt::Assign(const TValue* other) {
  const auto* integer = dynamic_cast<const TValueInt*>(other);
  Value = integer ? integer->Value : 0;
}

bool TValueInt::ValidateText(const std::string& text) const { return IntegerCheck(text, true); }

std::string TValueInt::GetTextFormatted(int notation, int decimals) const {
  if (notation == ntSTANDARD) return NumberText::IntToText(Value);
  return NumberText::FormatNumber(Value, notation, decimals);
}

std::string TValueInt::GetText() const { return NumberText::IntToText(Value); }

void TValueInt::Add(const TValueNum* other) {
  const TValueNum* valuenum = other;
  QORV_ASSERT(valuenum!=0);
  Value = static_cast<std::int32_t>(static_cast<std::uint32_t>(Value) +
                                    static_cast<std::uint32_t>(valuenum->GetInt()));
}

// TValueFloat

void TValueFloat::SetText(const std::string& text) {
  double number;
  if (!NumberText::TextToFloat(text, number) || !std::isfinite(static_cast<float>(number)))
    throw EExperimentError("The value is not an float. Value is " + text + "\rBinary value: " +
                           HexDumpText(text));
  Value = static_cast<float>(number);
  FloatFormatOfText(text, Notation, Poridecplaces);
}

void TValueFloat::Assign(const TValue* other) {
  if (const auto* real = dynamic_cast<const TValueFloat*>(other)) {
    Value = real->Value;
    Notation = real->Notation;
    Poridecplaces = real->Poridecplaces;
  } else {
    Value = 0.0f;
  }
}

void TValueFloat::SetNumber(std::int32_t number) {
  Value = std::bit_cast<float>(number);
  Notation = ntSTANDARD;
  Poridecplaces = 0;
}

bool TValueFloat::ValidateText(const std::string& text) const { return FloatCheck(text, true); }

std::string TValueFloat::GetTextFormatted(int notation, int decimals) const {
  return NumberText::FormatNumber(Value, notation, decimals);
}

std::string TValueFloat::GetText() const { return GetTextFormatted(Notation, Poridecplaces); }

std::uint32_t TValueFloat::GetRaw() const { return std::bit_cast<std::uint32_t>(Value); }

void TValueFloat::Add(const TValueNum* other) {
  const TValueNum* valuenum = other;
  QORV_ASSERT(valuenum!=0);
  Value = static_cast<float>(static_cast<double>(valuenum->GetFloat()) + Value);
}

std::int32_t TValueFloat::GetInt() const { return NumberText::TruncToInt32(Value); }

void TValueFloat::SetFormat(std::uint8_t notation, std::int32_t decimals) {
  Notation = notation;
  Poridecplaces = NumberText::ClampDecimals(decimals);
}
