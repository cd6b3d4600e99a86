// Typed scalar contents of a single variable: string, signed 32-bit integer, or 32-bit
// float with a notation and a number of decimal places.
#pragma once

#include <cstdint>
#include <string>

#include "model/attribute_type.h"

class TValue {
public:
  virtual ~TValue() = default;

  // Parses text into the value; EExperimentError when it does not convert.
  virtual void SetText(const std::string& text) = 0;
  // Copies from a value of the same type, otherwise resets (other may be null).
  virtual void Assign(const TValue* other) = 0;
  // Stores a raw 32-bit number: an integer, or the bits of an IEEE single for floats.
  virtual void SetNumber(std::int32_t number) = 0;
  // May this text be stored; shows a message when not.
  virtual bool ValidateText(const std::string& text) const = 0;
  virtual std::string GetTextFormatted(int notation, int decimals) const = 0;
  virtual std::string GetText() const = 0;
  virtual TExpAttType GetType() const = 0;
  virtual std::uint32_t GetRaw() const = 0;

  // Type 0 accepts anything; 1 and 2 apply the integer and float checks, showing their
  // message when showMessage is set.
  static bool IsValidText(int type, const std::string& text, bool showMessage);
};

class TValueNum : public TValue {
public:
  virtual void Add(const TValueNum* other) = 0;
  virtual std::int32_t GetInt() const = 0;
  virtual float GetFloat() const = 0;
};

class TValueString : public TValue {
public:
  TValueString() = default;
  explicit TValueString(std::string text) : Text(std::move(text)) {}

  void SetText(const std::string& text) override { Text = text; }
  void Assign(const TValue* other) override;
  void SetNumber(std::int32_t number) override;
  bool ValidateText(const std::string& text) const override { return !text.empty(); }
  std::string GetTextFormatted(int, int) const override { return Text; }
  std::string GetText() const override { return Text; }
  TExpAttType GetType() const override { return eatSTRING; }
  std::uint32_t GetRaw() const override { return 0; }

private:
  std::string Text;
};

class TValueInt : public TValueNum {
public:
  explicit TValueInt(std::int32_t value = 0) : Value(value) {}

  void SetText(const std::string& text) override;
  void Assign(const TValue* other) override;
  void SetNumber(std::int32_t number) override { Value = number; }
  bool ValidateText(const std::string& text) const override;
  std::string GetTextFormatted(int notation, int decimals) const override;
  std::string GetText() const override;
  TExpAttType GetType() const override { return eatINTEGER; }
  std::uint32_t GetRaw() const override { return static_cast<std::uint32_t>(Value); }
  void Add(const TValueNum* other) override;
  std::int32_t GetInt() const override { return Value; }
  float GetFloat() const override { return static_cast<float>(Value); }

private:
  std::int32_t Value;
};

class TValueFloat : public TValueNum {
public:
  TValueFloat() = default;

  void SetText(const std::string& text) override;
  void Assign(const TValue* other) override;
  void SetNumber(std::int32_t number) override;
  bool ValidateText(const std::string& text) const override;
  std::string GetTextFormatted(int notation, int decimals) const override;
  std::string GetText() const override;
  TExpAttType GetType() const override { return eatFLOAT; }
  std::uint32_t GetRaw() const override;
  void Add(const TValueNum* other) override;
  std::int32_t GetInt() const override;
  float GetFloat() const override { return Value; }

  std::uint8_t GetNotation() const { return Notation; }
  std::int32_t GetDecimalPlaces() const { return Poridecplaces; }
  void SetFloat(float value) { Value = value; }
  void SetFormat(std::uint8_t notation, std::int32_t decimals);

private:
  float Value = 0.0f;
  std::uint8_t Notation = 0;
  std::int32_t Poridecplaces = 1;  // 0 to MaxDecimalPlaces
};

// For each character a blank and its code as a signed byte in upper-case hexadecimal
// (at least two digits), then "h": "ab" gives " 61 62h".
std::string HexDumpText(const std::string& text);

// Notation and decimal places a float takes from the text it was set from: scientific
// when the text has an "E", else fixed; the characters after the first separator (at
// most MaxDecimalPlaces).
void FloatFormatOfText(const std::string& text, std::uint8_t& notation, std::int32_t& decimals);
