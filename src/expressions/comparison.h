// The five comparisons of a condition. Each compares the value of the condition's first
// variable (a) with the second operand (b) for every pair of types a condition can meet.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TComparison {
public:
  // Comparison type numbers: they stand in condition records and follow the order of
  // the condition dialog's list.
  enum TComparisonType : std::int8_t {
    EQUAL = 0,
    GREATERTHAN = 1,
    GREATEREQUAL = 2,
    LESSTHAN = 3,
    LESSEQUAL = 4,
  };

  virtual ~TComparison() = default;

  // Texts compare only for equality (locale-aware, case-sensitive); every other
  // comparison answers false for them.
  virtual bool CompareStrings(const std::string& a, const std::string& b) const = 0;
  virtual bool CompareIntInt(std::int32_t a, std::int32_t b) const = 0;
  // A mixed pair compares the exact values: the integer is not rounded to a single.
  virtual bool CompareIntFloat(std::int32_t a, float b) const = 0;
  virtual bool CompareFloatFloat(float a, float b) const = 0;
  virtual bool CompareFloatInt(float a, std::int32_t b) const = 0;
  virtual std::int8_t GetType() const = 0;
  // The operator: "==", ">", ">=", "<" or "<=".
  virtual std::string GetText() const = 0;

  // The comparison of a type number; none outside 0 to 4.
  static std::unique_ptr<TComparison> Make(int type);
};

// The locale-aware, case-sensitive equality of two texts under the user's locale.
bool TextsEqual(const std::string& a, const std::string& b);

class TEqual : public TComparison {
public:
  bool CompareStrings(const std::string& a, const std::string& b) const override {
    return TextsEqual(a, b);
  }
  bool CompareIntInt(std::int32_t a, std::int32_t b) const override { return a == b; }
  bool CompareIntFloat(std::int32_t a, float b) const override {
    return static_cast<double>(a) == static_cast<double>(b);
  }
  bool CompareFloatFloat(float a, float b) const override { return a == b; }
  bool CompareFloatInt(float a, std::int32_t b) const override {
    return static_cast<double>(a) == static_cast<double>(b);
  }
  std::int8_t GetType() const override { return EQUAL; }
  std::string GetText() const override { return "=="; }
};

class TGreaterThan : public TComparison {
public:
  bool CompareStrings(const std::string&, const std::string&) const override { return false; }
  bool CompareIntInt(std::int32_t a, std::int32_t b) const override { return a > b; }
  bool CompareIntFloat(std::int32_t a, float b) const override {
    return static_cast<double>(a) > static_cast<double>(b);
  }
  bool CompareFloatFloat(float a, float b) const override { return a > b; }
  bool CompareFloatInt(float a, std::int32_t b) const override {
    return static_cast<double>(a) > static_cast<double>(b);
  }
  std::int8_t GetType() const override { return GREATERTHAN; }
  std::string GetText() const override { return ">"; }
};

class TGreaterEqual : public TComparison {
public:
  bool CompareStrings(const std::string&, const std::string&) const override { return false; }
  bool CompareIntInt(std::int32_t a, std::int32_t b) const override { return a >= b; }
  bool CompareIntFloat(std::int32_t a, float b) const override {
    return static_cast<double>(a) >= static_cast<double>(b);
  }
  bool CompareFloatFloat(float a, float b) const override { return a >= b; }
  bool CompareFloatInt(float a, std::int32_t b) const override {
    return static_cast<double>(a) >= static_cast<double>(b);
  }
  std::int8_t GetType() const override { return GREATEREQUAL; }
  std::string GetText() const override { return ">="; }
};

class TLessThan : public TComparison {
public:
  bool CompareStrings(const std::string&, const std::string&) const override { return false; }
  bool CompareIntInt(std::int32_t a, std::int32_t b) const override { return a < b; }
  bool CompareIntFloat(std::int32_t a, float b) const override {
    return static_cast<double>(a) < static_cast<double>(b);
  }
  bool CompareFloatFloat(float a, float b) const override { return a < b; }
  bool CompareFloatInt(float a, std::int32_t b) const override {
    return static_cast<double>(a) < static_cast<double>(b);
  }
  std::int8_t GetType() const override { return LESSTHAN; }
  std::string GetText() const override { return "<"; }
};

class TLessEqual : public TComparison {
public:
  bool CompareStrings(const std::string&, const std::string&) const override { return false; }
  bool CompareIntInt(std::int32_t a, std::int32_t b) const override { return a <= b; }
  bool CompareIntFloat(std::int32_t a, float b) const override {
    return static_cast<double>(a) <= static_cast<double>(b);
  }
  bool CompareFloatFloat(float a, float b) const override { return a <= b; }
  bool CompareFloatInt(float a, std::int32_t b) const override {
    return static_cast<double>(a) <= static_cast<double>(b);
  }
  std::int8_t GetType() const override { return LESSEQUAL; }
  std::string GetText() const override { return "<="; }
};
