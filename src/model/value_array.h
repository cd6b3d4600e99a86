// Fixed-size typed contents of an array variable. Element storage is created on the
// first write (or first read) and always holds exactly GetSize() elements; a fill before
// then waits for it, so that a file's array costs no memory until a run uses it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/attribute_type.h"

class TValue;

class TValueArray {
public:
  virtual ~TValueArray() = default;

  virtual void SetElementText(const std::string& text, std::int32_t index) = 0;
  // Every element takes the value's contents (a value of another type, or none, gives
  // the empty text or zero); without storage the storage takes them when it is made.
  virtual void Fill(const TValue* value) = 0;
  // A raw 32-bit number: an integer, or the bits of an IEEE single for floats.
  virtual void SetElementNumber(std::int32_t number, std::int32_t index) = 0;
  virtual std::string GetElementTextFormatted(int notation, int decimals, std::int32_t index) = 0;
  virtual std::string GetElementText(std::int32_t index) = 0;
  // All elements joined by "," (the empty text while they hold nothing); never makes
  // the storage.
  std::string GetText();
  virtual TExpAttType GetType() const = 0;
  virtual std::uint32_t GetRawElement(std::int32_t index) = 0;
  // EExperimentError below 1; another size discards the elements and a waiting fill.
  void SetSize(std::int32_t size);

  std::int32_t GetSize() const { return Parray_size; }
  // Whether the elements are in memory.
  virtual bool HasStorage() const = 0;
  // Whether the elements hold values: the storage is made, or a fill waits for it.
  bool HasElements() const { return HasStorage() || Filled; }
  // The name of the variable that owns the array, which outlives it, for the messages.
  void SetOwnerName(const std::string* name) { POwnerName = name; }

protected:
  // EExperimentError "Index <i> is out of bounds." unless 0 <= index < size.
  void CheckIndex(std::int32_t index) const;
  // Creates the storage when missing, every element the fill's (or the empty string or
  // zero); EExperimentError naming the array when memory runs out.
  void EnsureStorage();
  // Makes the storage from the fill element.
  virtual void CreateStorage() = 0;
  // Drops the storage and the fill element.
  virtual void FreeStorage() = 0;
  // The text of the fill element.
  virtual std::string FillText() const = 0;

  std::int32_t Parray_size = 10;
  bool Filled = false;  // a fill waits for the storage

private:
  const std::string* POwnerName = nullptr;
};

class TValueNumberArray : public TValueArray {
public:
  virtual std::int32_t GetElementInt(std::int32_t index) = 0;
  virtual float GetElementFloat(std::int32_t index) = 0;
};

class TValueStringArray : public TValueArray {
public:
  void SetElementText(const std::string& text, std::int32_t index) override;
  void Fill(const TValue* value) override;
  void SetElementNumber(std::int32_t number, std::int32_t index) override;
  std::string GetElementTextFormatted(int notation, int decimals, std::int32_t index) override;
  std::string GetElementText(std::int32_t index) override;
  TExpAttType GetType() const override { return eatSTRING; }
  std::uint32_t GetRawElement(std::int32_t index) override;
  bool HasStorage() const override { return PStringArray.has_value(); }

protected:
  void CreateStorage() override;
  void FreeStorage() override;
  std::string FillText() const override { return FillElement; }

private:
  std::optional<std::vector<std::string>> PStringArray;
  std::string FillElement;
};

class TValueIntegerArray : public TValueNumberArray {
public:
  void SetElementText(const std::string& text, std::int32_t index) override;
  void Fill(const TValue* value) override;
  void SetElementNumber(std::int32_t number, std::int32_t index) override;
  std::string GetElementTextFormatted(int notation, int decimals, std::int32_t index) override;
  std::string GetElementText(std::int32_t index) override;
  TExpAttType GetType() const override { return eatINTEGER; }
  std::uint32_t GetRawElement(std::int32_t index) override;
  bool HasStorage() const override { return PIntegerArray.has_value(); }
  // An element inside the array with its storage is read here; the others are checked
  // (and the storage created) by CheckedElement. Expressions read elements at this cost.
  std::int32_t GetElementInt(std::int32_t index) override {
    if (index >= 0 && index < Parray_size && PIntegerArray) return (*PIntegerArray)[index];
    return CheckedElement(index);
  }
  float GetElementFloat(std::int32_t index) override {
    return static_cast<float>(TValueIntegerArray::GetElementInt(index));
  }

protected:
  void CreateStorage() override;
  void FreeStorage() override;
  std::string FillText() const override;

private:
  std::int32_t CheckedElement(std::int32_t index);

  std::optional<std::vector<std::int32_t>> PIntegerArray;
  std::int32_t FillElement = 0;
};

class TValueFloatArray : public TValueNumberArray {
public:
  void SetElementText(const std::string& text, std::int32_t index) override;
  void Fill(const TValue* value) override;
  void SetElementNumber(std::int32_t number, std::int32_t index) override;
  std::string GetElementTextFormatted(int notation, int decimals, std::int32_t index) override;
  std::string GetElementText(std::int32_t index) override;
  TExpAttType GetType() const override { return eatFLOAT; }
  std::uint32_t GetRawElement(std::int32_t index) override;
  bool HasStorage() const override { return PFloatArray.has_value(); }
  std::int32_t GetElementInt(std::int32_t index) override;
  // As GetElementInt of the integer array.
  float GetElementFloat(std::int32_t index) override {
    if (index >= 0 && index < Parray_size && PFloatArray) return (*PFloatArray)[index];
    return CheckedElement(index);
  }

  std::uint8_t GetNotation() const { return Notation; }
  std::int32_t GetDecimalPlaces() const { return Poridecplaces; }
  void SetFormat(std::uint8_t notation, std::int32_t decimals);

protected:
  void CreateStorage() override;
  void FreeStorage() override;
  std::string FillText() const override;

private:
  float CheckedElement(std::int32_t index);

  std::optional<std::vector<float>> PFloatArray;
  float FillElement = 0.0f;
  // Shared by all elements.
  std::uint8_t Notation = 0;
  std::int32_t Poridecplaces = 0;
};
