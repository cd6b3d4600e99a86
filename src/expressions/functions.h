// The built-in functions of an expression: operands whose value is computed from their
// own compiled argument each time it is asked for. "float" and "binary" convert between
// the binary and the decimal side; the others are single-precision numeric functions,
// the trigonometric ones in radians or degrees as chosen when the expression was
// compiled.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "expressions/math_list.h"
#include "expressions/math_objects.h"

class TQorvFunction : public TQorvOperand {
public:
  ~TQorvFunction() override;

  // Prepares the argument's list.
  void PrepareCalculation() override;
  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  void CheckAfterRead() override;
  // The argument's compiled-list record.
  void Save(TWriteFile& writer) override;
  // Reads the argument's record into a new list (the function must have none yet).
  void Load(TReadFile& reader) override;
  std::string GetText() override;
  std::uint8_t GetOperandType() const override { return Kind; }

  // Load at a nesting depth (1 for the argument of a top-level function): a file whose
  // functions nest too deeply is refused with EReadError.
  virtual void LoadArgument(TReadFile& reader, int depth);

  // The decimal value of every function but "binary", computed from the argument now;
  // the domain errors throw EExperimentError.
  float ComputeFloat();
  // The binary value of "binary".
  std::uint32_t ComputeBinary();

  TQorvMathList* GetArgument() const { return Pqorvlist.get(); }
  TAttributeScript* GetOwner() const { return Powner; }

protected:
  TQorvFunction(TAttributeScript* owner, std::uint8_t kind,
                std::unique_ptr<TQorvMathList> argument);
  // "Should never call this: " + what, then the consistency failure.
  [[noreturn]] static void NeverCalled(const char* what);

  std::unique_ptr<TQorvMathList> Pqorvlist;
  TAttributeScript* Powner;
  std::uint8_t Kind;
};

class TFloatFunction : public TQorvFunction {
public:
  explicit TFloatFunction(TAttributeScript* owner, std::unique_ptr<TQorvMathList> argument = {})
      : TQorvFunction(owner, odkFLOATFN, std::move(argument)) {}
  // The argument's binary pattern read as an unsigned number.
  float GetFloatValue() override { return ComputeFloat(); }
  std::uint32_t GetBinaryValue() override;
};

class TBinaryFunction : public TQorvFunction {
public:
  explicit TBinaryFunction(TAttributeScript* owner, std::unique_ptr<TQorvMathList> argument = {})
      : TQorvFunction(owner, odkBINARYFN, std::move(argument)) {}
  float GetFloatValue() override;
  // The argument's value truncated toward zero, low 32 bits kept; an integer literal or a
  // "float" call as the whole argument gives its exact value.
  std::uint32_t GetBinaryValue() override { return ComputeBinary(); }
  // The value as unsigned decimal text.
  std::string GetText() override;
};

// The decimal functions share their binary-value failure text by pairs, as below.
#define QORV_DECIMAL_FUNCTION_CLASS(Name, KindCode)                                      \
  class Name : public TQorvFunction {                                                    \
  public:                                                                                \
    explicit Name(TAttributeScript* owner, std::unique_ptr<TQorvMathList> argument = {}) \
        : TQorvFunction(owner, KindCode, std::move(argument)) {}                         \
    float GetFloatValue() override { return ComputeFloat(); }                            \
    std::uint32_t GetBinaryValue() override;                                             \
  };
QORV_DECIMAL_FUNCTION_CLASS(TExpFunction, odkEXP)
QORV_DECIMAL_FUNCTION_CLASS(TLNFunction, odkLN)
QORV_DECIMAL_FUNCTION_CLASS(TLogFunction, odkLOG)
QORV_DECIMAL_FUNCTION_CLASS(TSqrtFunction, odkSQRT)
QORV_DECIMAL_FUNCTION_CLASS(TAbsFunction, odkABS)
#undef QORV_DECIMAL_FUNCTION_CLASS

class TTrigFunction : public TQorvFunction {
public:
  std::unique_ptr<TZyqMathCopy> MakeCopy(TCopyScript* copyCommand) override;
  // The argument's record, then the radians flag as an int32 (1 radians, 0 degrees).
  void Save(TWriteFile& writer) override;
  void LoadArgument(TReadFile& reader, int depth) override;
  float GetFloatValue() override { return ComputeFloat(); }
  std::uint32_t GetBinaryValue() override;
  // The sine, cosine or tangent of the operand's value (in degrees unless the flag is
  // set), in double precision, rounded to single precision.
  float Compute(TQorvOperand& operand);
  // The same for a value already read.
  float ComputeOf(float x) const;

  bool IsRadians() const { return Radians; }

protected:
  TTrigFunction(TAttributeScript* owner, std::uint8_t kind, std::unique_ptr<TQorvMathList> argument,
                bool radians)
      : TQorvFunction(owner, kind, std::move(argument)), Radians(radians) {}

  bool Radians;
};

#define QORV_TRIG_FUNCTION_CLASS(Name, KindCode)                                          \
  class Name : public TTrigFunction {                                                     \
  public:                                                                                 \
    explicit Name(TAttributeScript* owner, std::unique_ptr<TQorvMathList> argument = {},  \
                  bool radians = true)                                                    \
        : TTrigFunction(owner, KindCode, std::move(argument), radians) {}                 \
  };
QORV_TRIG_FUNCTION_CLASS(TSinFunction, odkSIN)
QORV_TRIG_FUNCTION_CLASS(TCosFunction, odkCOS)
QORV_TRIG_FUNCTION_CLASS(TTanFunction, odkTAN)
#undef QORV_TRIG_FUNCTION_CLASS

// The function of a kind code (4 to 13) holding the argument, made for the owner.
std::unique_ptr<TQorvFunction> MakeFunction(std::uint8_t kind, TAttributeScript* owner,
                                            std::unique_ptr<TQorvMathList> argument,
                                            bool radians);
// The operand of a kind code, made for the owner, as a file load makes it: a function
// without its argument yet. None for a code outside the table.
std::unique_ptr<TQorvOperand> MakeOperand(std::int32_t kind, TAttributeScript* owner);
