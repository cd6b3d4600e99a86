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
// Operators on constants are computed once, when the program is made.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "expressions/math_objects.h"

class TAttributeScript;
class TBlockCopyScript;
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
  TQorvOperand* EvaluateMathList();

  // Appends a copy record of every object, in order.
  void MakeCopyList(std::vector<std::unique_ptr<TZyqMathCopy>>& list,
                    TBlockCopyScript* copyCommand) const;
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
  float EvaluateDecimal();
  std::uint32_t EvaluateBinary();
  double EvaluateExact();

private:
  // An operand read by a step: a constant's values, or where to read the value from.
  struct TLeaf {
    enum : std::uint8_t { CONSTANT, VARIABLE, FUNCTION } Kind = CONSTANT;
    float Float = 0.0f;
    std::uint32_t Binary = 0;
    double Exact = 0.0;
    TVariableOperand* Variable = nullptr;
    TQorvFunction* Function = nullptr;
    TQorvOperand* Object = nullptr;
  };
  // One operator: its kind and, for each operand, the leaf it reads or none when it
  // takes the value stack's top.
  struct TStep {
    std::uint8_t Kind;
    const TLeaf* A;
    const TLeaf* B;
  };

  void Clear();
  static TLeaf MakeLeaf(TQorvOperand* operand);
  static float FetchFloat(const TLeaf& leaf);
  static std::uint32_t FetchBinary(const TLeaf& leaf);
  // Makes the program; a malformed list is a consistency failure. Operators on
  // constants are computed once here (but a division by zero is left to fail when run).
  void Compile();
  // The constant result of a step on constants; none for other steps.
  const TLeaf* Fold(const TStep& step);
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
