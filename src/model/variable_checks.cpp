#include "model/variable_checks.h"

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_name_list.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "model/value.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

TDataFormField Refuse(const std::string& message, TDataFormField field) {
  Inform(message);
  return field;
}

// The size box's number; false for an empty box or one that holds no integer.
bool SizeOf(const std::string& text, std::int32_t& size) {
  return NumberText::TextToInt(TrimText(text), size);
}

}  // namespace

std::string VariableNameFault(const std::string& name) {
  if (name.find(' ') != std::string::npos) return "There can be no blanks in the name.";
  for (char c : name)
    if (!IsLetter(c) && !IsDigit(c) && c != '_') return "Invalid characters in variable name.";
  if (name.empty() || !IsLetter(name.front()))
    return "There must be at least one letter in the variable name.";
  return std::string();
}

TDataFormField CheckDataEntries(const TDataFormRequest& request, const TDataFormEntries& entries) {
  QORV_ASSERT(request.NameList!=0);
  if (entries.Name.empty())
    return Refuse("You must enter a name for the variable or press cancel.", TDataFormField::Name);
  const std::string name = TrimText(entries.Name);
  if (name != request.Name && request.NameList->HasDataName(name))
    return Refuse("There is already a variable with this name.", TDataFormField::Name);
  if (const std::string fault = VariableNameFault(name); !fault.empty())
    return Refuse(fault, TDataFormField::Name);
  QORV_ASSERT(entries.Type>=eatSTRING&&entries.Type<=eatFLOAT);

  if (request.ShowArraySize) {
    std::int32_t size = 0;
    if (!SizeOf(entries.ArraySize, size) || size < 2)
      return Refuse("The array size must be an integer value greater than one.",
                    TDataFormField::ArraySize);
    // Larger arrays are refused by file reading as well; their storage would not be made.
    if (size > MaxArraySize)
      return Refuse("The array size must be an integer value greater than one and no more than " +
                        NumberText::IntToText(MaxArraySize) + ".",
                    TDataFormField::ArraySize);
    if (request.Mode == TDataFormRequest::dmEDIT && request.MinimumArraySize > 0 &&
        size < request.MinimumArraySize) {
      const std::string minimum = NumberText::IntToText(request.MinimumArraySize);
      return Refuse("A read command using this variable reads in " + minimum +
                        " values.\r  The array size needs to be equal to or greater than " +
                        minimum + ".",
                    TDataFormField::ArraySize);
    }
  }

  // The value rules show their own message.
  if (!entries.InitialValue.empty() &&
      !TValue::IsValidText(entries.Type, entries.InitialValue, true))
    return TDataFormField::InitialValue;
  if (entries.ReadOnly && entries.InitialValue.empty())
    return Refuse("A read only variable MUST have an initial value.", TDataFormField::InitialValue);
  return TDataFormField::None;
}

void TakeDataEntries(TDataFormRequest& request, const TDataFormEntries& entries) {
  request.Name = TrimText(entries.Name);
  request.HasInitialValue = !entries.InitialValue.empty();
  request.InitialValueText = entries.InitialValue;
  request.Type = static_cast<std::int8_t>(entries.Type);
  if (request.ShowArraySize) SizeOf(entries.ArraySize, request.ArraySize);
  request.ReadOnly = entries.ReadOnly;
}

bool CheckNewVariableName(const TDataNameList* names, const std::string& typed) {
  const std::string name = TrimText(typed);
  std::string fault;
  if (name.empty())
    fault = "You must enter a variable name";
  else if (names && names->HasDataName(name))
    fault = "This variable name is already in use, please use another.";
  else
    fault = VariableNameFault(name);
  if (fault.empty()) return true;
  Inform(fault);
  return false;
}
