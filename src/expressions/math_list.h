// A compiled expression: the run-time objects of one expression (or of one function's
// argument) in reverse-Polish order, evaluated in single-precision floats or 32-bit
// binary patterns, saved and loaded with experiment and block files, and copied through
// copy records.
//
// Evaluation runs a small program made from the objects when the list is prepared: each
// operator becomes one step that reads its operands when it runs (constants, variables
// through their references, function calls) or takes them from a value stack that the
// list owns (the results of earlier steps). Nothing is allocated while evaluating, and
// operands are read in the order the objects stand, each when its operator runs.
// Operators on constants are computed once, when the program is made. A step holds what
// it reads (the constant, the variable operand, the function) and is run by a handler
// made for its operator and the kinds of its operands; the top of the value stack stays
// in a register from step to step. Variables are read through what their operands last
// saw of the value objects (variable_data.h): a step checks those sights first and, when
// a variable's value object has changed since, looks them up again.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "expressions/math_objects.h"

class TAttributeScript;
class TCopyScript;
class TMathTokenRP;
class TQorvFunction;
class TReadFile;
class TWriteFile;
class TZyqMathCopy;

// The read error of a damaged compiled list.
extern const char* const MathListReadError;

class TQorvMathList {
public:
  // How deeply function calls may nest in a list read from a file.
  static constexpr int MaxNesting = 256;

  explicit TQorvMathList(TAttributeScript* owner);
  ~TQorvMathList();
  TQorvMathList(const TQorvMathList&) = delete;
  TQorvMathList& operator=(const TQorvMathList&) = delete;

  // Replaces the objects with those the reverse-Polish tokens make for the owner.
  void BuildMathList(const std::vector<TMathTokenRP*>& tokens);
  // Readies the list, and every function's argument, for evaluations.
  void PrepareCalculation();
  // Evaluates the list (preparing it first when needed). The result is one of the
  // compiled objects when the expression is a single operand or function, otherwise a
  // result operand of the list; it stays valid until the next evaluation of the list.
  // Errors (EExperimentError) leave the list ready for the next evaluation.
  TQorvOperand* EvaluateMathList() {
    EnsurePrepared();
    if (SingleLeaf) return SingleLeaf->Object;
    if (Side == msDECIMAL) {
      FloatResult.SetValue(RunDecimal());
      return &FloatResult;
    }
    BinaryResult.SetValue(RunBinary());
    return &BinaryResult;
  }

  // Appends a copy record of every object, in order.
  void MakeCopyList(std::vector<std::unique_ptr<TZyqMathCopy>>& list,
                    TCopyScript* copyCommand) const;
  // Fills an empty list with the objects the copy records rebuild for the owner.
  void SetUpFromCopy(const std::vector<std::unique_ptr<TZyqMathCopy>>& records);

  // The compiled-list record: the count, then each object's math type, kind code and,
  // for an operand, its own record.
  void SaveMathList(TWriteFile& writer) const;
  // Reads a top-level expression's record. The list must hold a well-formed decimal
  // expression (known codes, every operator with its operands on its own side, exactly
  // one result, function calls nested at most MaxNesting deep); otherwise EReadError.
  void LoadMathList(TReadFile& reader);
  // The same for a list whose result must be of the given side, at a nesting depth.
  void LoadNested(TReadFile& reader, int depth, TMathSide side);
  // After a whole file is read: every object checks its references.
  void CheckAfterRead();

  bool HasMathList() const { return Built; }
  const std::vector<std::unique_ptr<TQorvMath>>& GetObjects() const { return Pmathlist; }
  TAttributeScript* GetOwner() const { return Powner; }

  // The list's value as a function's argument: decimal, binary, and the decimal value
  // that "binary" reads (an integer literal or a "float" call as the whole argument
  // keeps its exact value there).
  float EvaluateDecimal() {
    EnsurePrepared();
    return SingleLeaf ? FetchFloat(*SingleLeaf) : RunDecimal();
  }
  std::uint32_t EvaluateBinary() {
    EnsurePrepared();
    return SingleLeaf ? FetchBinary(*SingleLeaf) : RunBinary();
  }
  double EvaluateExact();

private:
  // Where an operand comes from: the value stack (the result of an earlier step), a
  // constant, a single variable, an array element, or a function call.
  enum TSource : std::uint8_t { FROMSTACK, FROMCONSTANT, FROMVARIABLE, FROMELEMENT, FROMFUNCTION };
  // An operand read by a step: a constant's values, or where to read the value from.
  struct TLeaf {
    TSource Kind = FROMCONSTANT;
    float Float = 0.0f;
    std::uint32_t Binary = 0;
    double Exact = 0.0;
    TVariableOperand* Variable = nullptr;
    TQorvFunction* Function = nullptr;
    TQorvOperand* Object = nullptr;
  };
  // An operator with, for each operand, the leaf it reads or none when it takes the
  // value stack's top; what the program is made from.
  struct TOperation {
    std::uint8_t Kind;
    const TLeaf* A;
    const TLeaf* B;
  };
  // What a step's operand reads: a constant's value on the step's side, the variable
  // operand, or the function.
  union TSourceValue {
    float Float;
    std::uint32_t Binary;
    TVariableOperand* Variable;
    TQorvFunction* Function;
  };
  // The value stack while a program runs: its top value, kept in a register from step
  // to step, and the place above the values below it (in the list's stack storage).
  struct TDecimalStack {
    float* Below;
    float Top;
  };
  struct TBinaryStack {
    std::uint32_t* Below;
    std::uint32_t Top;
  };
  // One operator of the program, run by the handler made for its kind and its operands'
  // sources: the handler reads the operands the step holds or takes the values of
  // earlier steps from the stack, and answers the stack with the result on top. A unary
  // operator is made a binary one with a constant ("-a" is 0 - a, "~a" is
  // a ^ FFFFFFFF), so that every step reads two operands.
  struct TStep;
  using TDecimalHandler = TDecimalStack (*)(const TStep& step, TDecimalStack stack);
  using TBinaryHandler = TBinaryStack (*)(const TStep& step, TBinaryStack stack);
  struct TStep {
    union {
      TDecimalHandler Decimal;
      TBinaryHandler Binary;
    };
    TSource SourceA;
    TSource SourceB;
    TSourceValue A;
    TSourceValue B;
  };
  // A handler reads variables and elements through their operands' sights, which it
  // checks first: when one is not current, these look them up and run the step again.
  [[gnu::noinline]] static TDecimalStack LookUpDecimal(const TStep& step, TDecimalStack stack);
  [[gnu::noinline]] static TBinaryStack LookUpBinary(const TStep& step, TBinaryStack stack);
  static void LookUpSources(const TStep& step);
  template <TSource Source>
  static bool Sees(const TSourceValue& value);
  static constexpr std::size_t SourceCount = FROMFUNCTION + 1;
  template <std::uint8_t Kind, TSource A, TSource B>
  static TDecimalStack DecimalStep(const TStep& step, TDecimalStack stack);
  template <std::uint8_t Kind, TSource A, TSource B>
  static TBinaryStack BinaryStep(const TStep& step, TBinaryStack stack);
  // The handlers of one kind, indexed by source A * SourceCount + source B.
  template <std::uint8_t Kind, std::size_t... Shape>
  static constexpr auto DecimalHandlers(std::index_sequence<Shape...>);
  template <std::uint8_t Kind, std::size_t... Shape>
  static constexpr auto BinaryHandlers(std::index_sequence<Shape...>);
  template <std::uint8_t Kind, std::size_t Shape>
  static constexpr TBinaryHandler BinaryHandler();

  void Clear();
  static TLeaf MakeLeaf(TQorvOperand* operand);
  static float FetchFloat(const TLeaf& leaf) {
    switch (leaf.Kind) {
      case FROMCONSTANT: return leaf.Float;
      case FROMVARIABLE: return leaf.Variable->ReadSingleFloat();
      case FROMELEMENT: return leaf.Variable->ReadElementFloat();
      default: return CallFloat(leaf.Function);
    }
  }
  static std::uint32_t FetchBinary(const TLeaf& leaf) {
    switch (leaf.Kind) {
      case FROMCONSTANT: return leaf.Binary;
      case FROMVARIABLE: return leaf.Variable->ReadSingleBinary();
      case FROMELEMENT: return leaf.Variable->ReadElementBinary();
      default: return CallBinary(leaf.Function);
    }
  }
  // A function's value (functions.h).
  static float CallFloat(TQorvFunction* function);
  static std::uint32_t CallBinary(TQorvFunction* function);
  // A step's operand that is not on the stack.
  template <TSource Source>
  static float FetchFloat(const TSourceValue& value);
  template <TSource Source>
  static std::uint32_t FetchBinary(const TSourceValue& value);
  // Makes the program; a malformed list is a consistency failure. Operators on
  // constants are computed once here (but a division by zero is left to fail when run).
  void Compile();
  // The constant result of an operation on constants; none for other operations.
  const TLeaf* Fold(const TOperation& step);
  // The step of an operation that is not folded.
  static TStep MakeStep(const TOperation& operation);
  // The result side when the objects form one well-formed expression; else -1.
  int CheckForm() const;
  float RunDecimal();
  std::uint32_t RunBinary();
  void EnsurePrepared() {
    if (!Prepared) PrepareCalculation();
  }

  std::vector<std::unique_ptr<TQorvMath>> Pmathlist;
  TAttributeScript* Powner;
  bool Built = false;
  bool Prepared = false;
  TMathSide Side = msDECIMAL;
  std::vector<TLeaf> Leaves;
  std::vector<TStep> Steps;
  std::vector<float> FloatStack;
  std::vector<std::uint32_t> BinaryStack;
  // The whole expression when it is one operand or function.
  const TLeaf* SingleLeaf = nullptr;
  TFloatOperand FloatResult;
  TBinaryOperand BinaryResult;
};
