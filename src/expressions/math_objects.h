// Run-time objects of a compiled expression: constant and variable operands, the
// single-precision decimal operators and the 32-bit binary operators. The functions,
// which are operands too, are in functions.h; the list that holds and evaluates them is
// in math_list.h.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "model/assertion.h"
#include "model/variable_data.h"

class TAttributeScript;
class TCopyScript;
class TData;
class TReadFile;
class TWriteFile;
class TZyqMathCopy;

// What a compiled object is, as stored in files.
enum TQorvMathType : std::uint8_t { qorvmtOPERATOR = 0, qorvmtOPERAND = 1 };

// Operator kind codes, as stored in files and copy records.
enum TOperatorKind : std::uint8_t {
  opkAND = 0,
  opkNOT = 1,
  opkOR = 2,
  opkXOR = 3,
  opkSHIFTLEFT = 4,
  opkSHIFTRIGHT = 5,
  opkADD = 6,
  opkSUB = 7,
  opkMULT = 8,
  opkDIV = 9,
  opkPOW = 10,
  opkNEGATE = 11,
  opkLAST = opkNEGATE,
};

// Operand kind codes, as stored in files and copy records.
enum TOperandKind : std::uint8_t {
  odkBINARY = 0,
  odkFLOAT = 1,
  odkINTEGER = 2,
  odkVARIABLE = 3,
  odkFLOATFN = 4,
  odkBINARYFN = 5,
  odkEXP = 6,
  odkLN = 7,
  odkLOG = 8,
  odkSQRT = 9,
  odkABS = 10,
  odkSIN = 11,
  odkCOS = 12,
  odkTAN = 13,
  odkLAST = odkTAN,
};

// The two sides of an expression: 32-bit binary patterns and decimal (integer or float)
// values.
enum TMathSide : std::uint8_t { msBINARY = 0, msDECIMAL = 1 };

// Operators 0 to 5 work on binary patterns, 6 to 11 on decimal values.
inline TMathSide SideOfOperator(std::uint8_t kind) { return kind < opkADD ? msBINARY : msDECIMAL; }
inline bool IsUnaryOperator(std::uint8_t kind) { return kind == opkNOT || kind == opkNEGATE; }
// The value an operand gives: binary for binary literals and "binary", else decimal.
inline TMathSide SideOfOperand(std::uint8_t kind) {
  return kind == odkBINARY || kind == odkBINARYFN ? msBINARY : msDECIMAL;
}
inline bool IsFunctionKind(std::uint8_t kind) { return kind >= odkFLOATFN && kind <= odkLAST; }

// The general 15-digit text of a single-precision value, widened to double first
// (0.1 gives "0.100000001490116").
std::string FloatText(float value);
// A value truncated toward zero to a 64-bit integer, of which the low 32 bits are kept.
// NaN gives 0; values beyond the 64-bit range saturate first.
std::uint32_t TruncToLow32(double value);

class TQorvMath {
public:
  virtual ~TQorvMath() = default;
  TQorvMath(const TQorvMath&) = delete;
  TQorvMath& operator=(const TQorvMath&) = delete;

  // Readies the object for evaluations; functions prepare their argument.
  virtual void PrepareCalculation() {}
  // A new copy record of this object for the copy command.
  virtual std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) = 0;
  // Verifies the references after a file load; EReadError when one names nothing.
  virtual void CheckAfterRead() {}
  virtual std::uint8_t QorvMathType() const = 0;

protected:
  TQorvMath() = default;
};

class TQorvOperator : public TQorvMath {
public:
  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  std::uint8_t QorvMathType() const override { return qorvmtOPERATOR; }
  std::uint8_t GetOperatorType() const { return Kind; }
  TAttributeScript* GetOwner() const { return Powner; }

protected:
  TQorvOperator(TAttributeScript* owner, std::uint8_t kind) : Powner(owner), Kind(kind) {}

  TAttributeScript* Powner;
  std::uint8_t Kind;
};

// Throws the run's error "Divide by zero error".
[[noreturn]] void ThrowDivideByZero();

// Decimal operators: single-precision operands, each result rounded to single precision.
class TFloatOperator : public TQorvOperator {
public:
  // a op b (Negate: 0 - a); division by 0 (either sign) or NaN throws EExperimentError.
  static float Compute(std::uint8_t kind, float a, float b) {
    switch (kind) {
      case opkADD: return a + b;
      case opkSUB: return a - b;
      case opkMULT: return a * b;
      case opkDIV:
        if (!(std::fabs(b) > 0.0f)) ThrowDivideByZero();  // 0 of either sign, or NaN
        return a / b;
      case opkPOW: return Power(a, b);
      default: return 0.0f - a;
    }
  }
  // a raised to b in double precision, rounded to single precision. A square is exact
  // in double precision, so it is taken as a product.
  static float Power(float a, float b) {
    const double base = a;
    return b == 2.0f ? static_cast<float>(base * base) : PowerOf(base, b);
  }
  static float PowerOf(double base, float b);
  // Always succeeds (or throws).
  bool Apply(float a, float b, float& result) const {
    result = Compute(Kind, a, b);
    return true;
  }

protected:
  using TQorvOperator::TQorvOperator;
};

// Binary operators on 32-bit patterns; shift counts are taken modulo 32.
class TBinaryOperator : public TQorvOperator {
public:
  static std::uint32_t Compute(std::uint8_t kind, std::uint32_t a, std::uint32_t b) {
    switch (kind) {
      case opkAND: return a & b;
      case opkOR: return a | b;
      case opkXOR: return a ^ b;
      case opkSHIFTLEFT: return a << (b & 31u);
      case opkSHIFTRIGHT: return a >> (b & 31u);
      default: return ~a;
    }
  }
  bool Apply(std::uint32_t a, std::uint32_t b, std::uint32_t& result) const {
    result = Compute(Kind, a, b);
    return true;
  }

protected:
  using TQorvOperator::TQorvOperator;
};

#define QORV_OPERATOR_CLASS(Name, Base, KindCode) \
  class Name : public Base {                      \
  public:                                         \
    explicit Name(TAttributeScript* owner) : Base(owner, KindCode) {} \
  };
QORV_OPERATOR_CLASS(TBinaryOperatorAND, TBinaryOperator, opkAND)
QORV_OPERATOR_CLASS(TBinaryOperatorNOT, TBinaryOperator, opkNOT)
QORV_OPERATOR_CLASS(TBinaryOperatorOR, TBinaryOperator, opkOR)
QORV_OPERATOR_CLASS(TBinaryOperatorXOR, TBinaryOperator, opkXOR)
QORV_OPERATOR_CLASS(TBinaryOperatorShiftLeft, TBinaryOperator, opkSHIFTLEFT)
QORV_OPERATOR_CLASS(TBinaryOperatorShiftRight, TBinaryOperator, opkSHIFTRIGHT)
QORV_OPERATOR_CLASS(TFloatOperatorAdd, TFloatOperator, opkADD)
QORV_OPERATOR_CLASS(TFloatOperatorSub, TFloatOperator, opkSUB)
QORV_OPERATOR_CLASS(TFloatOperatorMult, TFloatOperator, opkMULT)
QORV_OPERATOR_CLASS(TFloatOperatorDiv, TFloatOperator, opkDIV)
QORV_OPERATOR_CLASS(TFloatOperatorPow, TFloatOperator, opkPOW)
QORV_OPERATOR_CLASS(TFloatOperatorNegate, TFloatOperator, opkNEGATE)
#undef QORV_OPERATOR_CLASS

// The operator of a kind code, made for the owner; none for a code outside the table.
std::unique_ptr<TQorvOperator> MakeOperator(std::int32_t kind, TAttributeScript* owner);

class TQorvOperand : public TQorvMath {
public:
  std::uint8_t QorvMathType() const override { return qorvmtOPERAND; }
  // The operand's own part of the compiled-list record.
  virtual void Save(TWriteFile& writer) = 0;
  virtual void Load(TReadFile& reader) = 0;
  virtual float GetFloatValue() = 0;
  virtual std::uint32_t GetBinaryValue() = 0;
  // The result text a Calculate command stores.
  virtual std::string GetText() = 0;
  virtual std::uint8_t GetOperandType() const = 0;

protected:
  TQorvOperand() = default;
};

class TIntegerOperand : public TQorvOperand {
public:
  explicit TIntegerOperand(std::int32_t value = 0) : Value(value) {}
  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  float GetFloatValue() override { return static_cast<float>(Value); }
  std::uint32_t GetBinaryValue() override { return static_cast<std::uint32_t>(Value); }
  std::string GetText() override;
  std::uint8_t GetOperandType() const override { return odkINTEGER; }
  std::int32_t GetValue() const { return Value; }

private:
  std::int32_t Value;
};

class TFloatOperand : public TQorvOperand {
public:
  explicit TFloatOperand(float value = 0.0f) : Value(value) {}
  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  float GetFloatValue() override { return Value; }
  std::uint32_t GetBinaryValue() override { return TruncToLow32(Value); }
  std::string GetText() override { return FloatText(Value); }
  std::uint8_t GetOperandType() const override { return odkFLOAT; }
  float GetValue() const { return Value; }
  void SetValue(float value) { Value = value; }

private:
  float Value;
};

class TBinaryOperand : public TQorvOperand {
public:
  explicit TBinaryOperand(std::uint32_t value = 0) : Value(value) {}
  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  float GetFloatValue() override { return static_cast<float>(Value); }
  std::uint32_t GetBinaryValue() override { return Value; }
  // Eight upper-case hexadecimal digits (31 gives "0000001F").
  std::string GetText() override;
  std::uint8_t GetOperandType() const override { return odkBINARY; }
  std::uint32_t GetValue() const { return Value; }
  void SetValue(std::uint32_t value) { Value = value; }

private:
  std::uint32_t Value;
};

// A single variable or an array element, read through its own reference. The operand
// keeps what it last saw of the variable's value (data.h, variable_data.h), so that an
// evaluation reads a variable with one comparison more than the value itself.
class TVariableOperand : public TQorvOperand {
public:
  explicit TVariableOperand(TAttributeScript* owner);
  ~TVariableOperand() override;

  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  // EReadError unless the reference names a variable (and an array reference an element).
  void CheckAfterRead() override;
  // A flag (true for an array element), then the reference's record.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  float GetFloatValue() override { return ReadFloat(); }
  std::uint32_t GetBinaryValue() override { return ReadBinary(); }
  // The same without the virtual call, as the reference reads them (a string counts 0;
  // an element outside the array is "Index <i> is out of bounds.").
  float ReadFloat() {
    QORV_ASSERT(Pvariable!=0);
    return Element ? ReadElementFloat() : ReadSingleFloat();
  }
  std::uint32_t ReadBinary() {
    QORV_ASSERT(Pvariable!=0);
    return Element ? ReadElementBinary() : ReadSingleBinary();
  }
  // The same for an operand known to have its reference (a compiled list checks that
  // once), of a single variable or of an array element.
  [[gnu::always_inline]] float ReadSingleFloat() { return Single().ReadFloat(Sight); }
  [[gnu::always_inline]] std::uint32_t ReadSingleBinary() {
    return static_cast<std::uint32_t>(Single().ReadInteger(Sight));
  }
  // A single variable's read in halves (variable_data.h): does the operand see the
  // current value; take it into the sight; the value read through a current sight.
  [[gnu::always_inline]] bool SeesValue() const { return Single().Sees(Sight); }
  void LookUpValue() { Single().LookUp(Sight); }
  [[gnu::always_inline]] float SightedFloat() const { return TVariableDataSingle::FloatOf(Sight); }
  [[gnu::always_inline]] std::uint32_t SightedBinary() const {
    return static_cast<std::uint32_t>(TVariableDataSingle::IntegerOf(Sight));
  }
  // The same for an array element.
  [[gnu::always_inline]] bool SeesElement() const {
    return Elements().Sees(ArraySight, IndexSight);
  }
  void LookUpElement() { Elements().LookUp(ArraySight, IndexSight); }
  [[gnu::always_inline]] float SightedElementFloat() const {
    return Elements().FloatOf(ArraySight, IndexSight);
  }
  [[gnu::always_inline]] std::uint32_t SightedElementBinary() const {
    return static_cast<std::uint32_t>(Elements().IntegerOf(ArraySight, IndexSight));
  }
  [[gnu::always_inline]] float ReadElementFloat() {
    return Elements().ReadFloat(ArraySight, IndexSight);
  }
  [[gnu::always_inline]] std::uint32_t ReadElementBinary() {
    return static_cast<std::uint32_t>(Elements().ReadInteger(ArraySight, IndexSight));
  }
  // The variable's current value text.
  std::string GetText() override;
  std::uint8_t GetOperandType() const override { return odkVARIABLE; }
  // The variable's current name (an element: with its index text).
  std::string GetName();

  // Binds the operand to the variable, making a reference of its kind when needed.
  void SetVariable(TData* variable);
  TVariableData* GetReference() const { return Pvariable.get(); }
  TAttributeScript* GetOwner() const { return Powner; }
  // True for an array element's operand.
  bool IsElement() const { return Element; }

private:
  TVariableDataSingle& Single() const {
    return *static_cast<TVariableDataSingle*>(Pvariable.get());
  }
  TVariableDataArray& Elements() const {
    return *static_cast<TVariableDataArray*>(Pvariable.get());
  }
  // Makes a reference of the kind (array element or single variable).
  void MakeReference(bool element);

  std::unique_ptr<TVariableData> Pvariable;
  TAttributeScript* Powner;
  bool Element = false;  // the reference is an array element's
  // What the last read saw of a single variable's value, or of the array and of the
  // index variable's value.
  TValueSight Sight;
  TArraySight ArraySight;
  TValueSight IndexSight;
};
