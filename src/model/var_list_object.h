// What a variable choice of a command dialog stands for: a variable, and for an array
// one element of it (by an index variable or a constant) or all of its elements. The
// dialogs keep one with each item they list and make the command's reference from it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TAttributeScript;
class TData;
class TDataSingle;
class TVariableData;

class TVarListObject {
public:
  TVarListObject() = default;
  explicit TVarListObject(TData* variable) { SetData(variable); }

  // An element by the value of an integer single variable (required).
  void SetIndexVariable(TDataSingle* variable);
  // An element by its number (0 or more).
  void SetIndexConstant(std::int32_t index);
  // All the elements.
  void ClearIndex();
  // The variable, when one is given; a single variable has no index.
  void SetData(TData* variable);
  // Takes the variable and the element a reference names (it must be bound).
  void SetFromVariable(TVariableData& reference);
  // A new reference of the command to this variable (and element); the caller owns it.
  std::unique_ptr<TVariableData> CreateVariable(TAttributeScript* command) const;

  // The variable's display name, for an array followed by "[" and the index variable's
  // name, the constant or "Entire Array", and "]"; empty without a variable.
  std::string GetText() const;

  TData* GetData() const { return Pdata; }
  TDataSingle* GetIndexVariable() const { return IndexVariable; }
  std::int32_t GetIndexConstant() const { return IndexConstant; }
  bool IsEntireArray() const { return EntireArray; }

private:
  TData* Pdata = nullptr;
  TDataSingle* IndexVariable = nullptr;
  std::int32_t IndexConstant = -1;
  bool EntireArray = false;
};
