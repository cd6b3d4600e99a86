#include "expressions/math_list.h"

#include <algorithm>

#include "expressions/functions.h"
#include "expressions/math_copy.h"
#include "expressions/parse_tokens.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"

const char* const MathListReadError = "Calculate script expression damaged...Aborting read";

TQorvMathList::TQorvMathList(TAttributeScript* owner) : Powner(owner) {}

TQorvMathList::~TQorvMathList() { Clear(); }

void TQorvMathList::Clear() {
  Leaves.clear();
  Steps.clear();
  SingleLeaf = nullptr;
  Prepared = false;
  Built = false;
  for (auto& object : Pmathlist) object.reset();  // first to last
  Pmathlist.clear();
}

void TQorvMathList::BuildMathList(const std::vector<TMathTokenRP*>& tokens) {
  Clear();
  QORV_ASSERT(Powner!=0);
  try {
    for (TMathTokenRP* token : tokens) Pmathlist.push_back(token->CreateMathObject(Powner));
  } catch (...) {
    Clear();
    throw;
  }
  Built = true;
}

void TQorvMathList::PrepareCalculation() {
  QORV_ASSERT(Built);
  if (!Prepared) Compile();
  for (auto& object : Pmathlist) object->PrepareCalculation();
  Prepared = true;
}

TQorvOperand* TQorvMathList::EvaluateMathList() {
  EnsurePrepared();
  if (SingleLeaf) return SingleLeaf->Object;
  if (Side == msDECIMAL) {
    FloatResult.SetValue(RunDecimal());
    return &FloatResult;
  }
  BinaryResult.SetValue(RunBinary());
  return &BinaryResult;
}

float TQorvMathList::EvaluateDecimal() {
  EnsurePrepared();
  return SingleLeaf ? FetchFloat(*SingleLeaf) : RunDecimal();
}

std::uint32_t TQorvMathList::EvaluateBinary() {
  EnsurePrepared();
  return SingleLeaf ? FetchBinary(*SingleLeaf) : RunBinary();
}

double TQorvMathList::EvaluateExact() {
  EnsurePrepared();
  if (!SingleLeaf) return RunDecimal();
  if (SingleLeaf->Kind == TLeaf::CONSTANT) return SingleLeaf->Exact;
  // "float" of a pattern is the pattern's unsigned value, exactly.
  if (SingleLeaf->Kind == TLeaf::FUNCTION && SingleLeaf->Function->GetOperandType() == odkFLOATFN)
    return SingleLeaf->Function->GetArgument()->EvaluateBinary();
  return FetchFloat(*SingleLeaf);
}

// Evaluation

float TQorvMathList::FetchFloat(const TLeaf& leaf) {
  switch (leaf.Kind) {
    case TLeaf::CONSTANT: return leaf.Float;
    case TLeaf::VARIABLE: return leaf.Variable->TVariableOperand::GetFloatValue();
    default: return leaf.Function->ComputeFloat();
  }
}

std::uint32_t TQorvMathList::FetchBinary(const TLeaf& leaf) {
  switch (leaf.Kind) {
    case TLeaf::CONSTANT: return leaf.Binary;
    case TLeaf::VARIABLE:
      return static_cast<std::uint32_t>(leaf.Variable->GetReference()->GetInteger());
    default: return leaf.Function->ComputeBinary();
  }
}

float TQorvMathList::RunDecimal() {
  float* const stack = FloatStack.data();
  std::size_t top = 0;
  for (const TStep& step : Steps) {
    if (step.Kind == opkNEGATE) {
      const float a = step.A ? FetchFloat(*step.A) : stack[--top];
      stack[top++] = 0.0f - a;
      continue;
    }
    // The first operand is read before the second; values of earlier steps lie on the
    // stack, the second on top.
    float b = 0.0f;
    if (!step.B) b = stack[--top];
    const float a = step.A ? FetchFloat(*step.A) : stack[--top];
    if (step.B) b = FetchFloat(*step.B);
    stack[top++] = TFloatOperator::Compute(step.Kind, a, b);
  }
  return stack[0];
}

std::uint32_t TQorvMathList::RunBinary() {
  std::uint32_t* const stack = BinaryStack.data();
  std::size_t top = 0;
  for (const TStep& step : Steps) {
    if (step.Kind == opkNOT) {
      const std::uint32_t a = step.A ? FetchBinary(*step.A) : stack[--top];
      stack[top++] = ~a;
      continue;
    }
    std::uint32_t b = 0;
    if (!step.B) b = stack[--top];
    const std::uint32_t a = step.A ? FetchBinary(*step.A) : stack[--top];
    if (step.B) b = FetchBinary(*step.B);
    stack[top++] = TBinaryOperator::Compute(step.Kind, a, b);
  }
  return stack[0];
}

// The program

TQorvMathList::TLeaf TQorvMathList::MakeLeaf(TQorvOperand* operand) {
  TLeaf leaf;
  leaf.Object = operand;
  leaf.Kind = TLeaf::CONSTANT;
  switch (operand->GetOperandType()) {
    case odkINTEGER: {
      const std::int32_t value = static_cast<TIntegerOperand*>(operand)->GetValue();
      leaf.Float = static_cast<float>(value);
      leaf.Binary = static_cast<std::uint32_t>(value);
      leaf.Exact = value;
      break;
    }
    case odkFLOAT: {
      const float value = static_cast<TFloatOperand*>(operand)->GetValue();
      leaf.Float = value;
      leaf.Binary = TruncToLow32(value);
      leaf.Exact = value;
      break;
    }
    case odkBINARY: {
      const std::uint32_t value = static_cast<TBinaryOperand*>(operand)->GetValue();
      leaf.Float = static_cast<float>(value);
      leaf.Binary = value;
      leaf.Exact = value;
      break;
    }
    case odkVARIABLE:
      leaf.Kind = TLeaf::VARIABLE;
      leaf.Variable = static_cast<TVariableOperand*>(operand);
      QORV_ASSERT(leaf.Variable->GetReference()!=0);
      break;
    default:
      leaf.Kind = TLeaf::FUNCTION;
      leaf.Function = static_cast<TQorvFunction*>(operand);
      break;
  }
  return leaf;
}

void TQorvMathList::Compile() {
  Leaves.clear();
  Steps.clear();
  SingleLeaf = nullptr;
  // Steps point into the leaves: room for every operand and every folded result.
  Leaves.reserve(Pmathlist.size() * 2);
  struct TEntry {
    const TLeaf* Leaf;  // none: a value of an earlier step, on the stack
    TMathSide Side;
  };
  std::vector<TEntry> entries;
  std::size_t onStack = 0, deepest = 0;
  for (const auto& object : Pmathlist) {
    if (object->QorvMathType() == qorvmtOPERAND) {
      auto* operand = static_cast<TQorvOperand*>(object.get());
      Leaves.push_back(MakeLeaf(operand));
      entries.push_back({&Leaves.back(), SideOfOperand(operand->GetOperandType())});
      continue;
    }
    const std::uint8_t kind = static_cast<TQorvOperator*>(object.get())->GetOperatorType();
    const TMathSide side = SideOfOperator(kind);
    const std::size_t operands = IsUnaryOperator(kind) ? 1 : 2;
    QORV_ASSERT(entries.size()>=operands);
    TStep step{kind, nullptr, nullptr};
    for (std::size_t i = 0; i < operands; ++i) {
      const TEntry entry = entries.back();
      entries.pop_back();
      QORV_ASSERT(entry.Side==side);
      if (!entry.Leaf) --onStack;
      (i + 1 == operands ? step.A : step.B) = entry.Leaf;
    }
    if (const TLeaf* folded = Fold(step)) {
      entries.push_back({folded, side});
      continue;
    }
    Steps.push_back(step);
    entries.push_back({nullptr, side});
    deepest = std::max(deepest, ++onStack);
  }
  QORV_ASSERT(entries.size()==1);
  Side = entries.front().Side;
  SingleLeaf = entries.front().Leaf;
  FloatStack.assign(Side == msDECIMAL ? deepest : 0, 0.0f);
  BinaryStack.assign(Side == msBINARY ? deepest : 0, 0u);
}

const TQorvMathList::TLeaf* TQorvMathList::Fold(const TStep& step) {
  auto constant = [](const TLeaf* leaf) { return leaf && leaf->Kind == TLeaf::CONSTANT; };
  if (!constant(step.A) || (!IsUnaryOperator(step.Kind) && !constant(step.B))) return nullptr;
  TLeaf leaf;
  if (SideOfOperator(step.Kind) == msDECIMAL) {
    const float b = step.B ? step.B->Float : 0.0f;
    if (step.Kind == opkDIV && !(b != 0.0f)) return nullptr;  // fails when it runs
    leaf.Float = TFloatOperator::Compute(step.Kind, step.A->Float, b);
    leaf.Binary = TruncToLow32(leaf.Float);
    leaf.Exact = leaf.Float;
    FloatResult.SetValue(leaf.Float);  // the result when the whole expression folds
    leaf.Object = &FloatResult;
  } else {
    leaf.Binary = TBinaryOperator::Compute(step.Kind, step.A->Binary, step.B ? step.B->Binary : 0);
    leaf.Float = static_cast<float>(leaf.Binary);
    leaf.Exact = leaf.Binary;
    BinaryResult.SetValue(leaf.Binary);
    leaf.Object = &BinaryResult;
  }
  Leaves.push_back(leaf);
  return &Leaves.back();
}

int TQorvMathList::CheckForm() const {
  std::vector<TMathSide> sides;
  for (const auto& object : Pmathlist) {
    if (object->QorvMathType() == qorvmtOPERAND) {
      sides.push_back(SideOfOperand(static_cast<TQorvOperand*>(object.get())->GetOperandType()));
      continue;
    }
    const std::uint8_t kind = static_cast<TQorvOperator*>(object.get())->GetOperatorType();
    const std::size_t operands = IsUnaryOperator(kind) ? 1 : 2;
    if (sides.size() < operands) return -1;
    for (std::size_t i = 0; i < operands; ++i) {
      if (sides.back() != SideOfOperator(kind)) return -1;
      sides.pop_back();
    }
    sides.push_back(SideOfOperator(kind));
  }
  return sides.size() == 1 ? sides.front() : -1;
}

// Copies

void TQorvMathList::MakeCopyList(std::vector<std::unique_ptr<TZyqMathCopy>>& list,
                                 TBlockCopyScript* copyCommand) const {
  QORV_ASSERT(Built);
  for (const auto& object : Pmathlist) list.push_back(object->MakeCopy(copyCommand));
}

void TQorvMathList::SetUpFromCopy(const std::vector<std::unique_ptr<TZyqMathCopy>>& records) {
  QORV_ASSERT(!Built&&Pmathlist.empty());
  QORV_ASSERT(Powner!=0);
  for (const auto& record : records) {
    std::unique_ptr<TQorvMath> object = record->MakeMathObject(Powner);
    QORV_ASSERT(object!=0);
    Pmathlist.push_back(std::move(object));
  }
  Built = true;
}

// Records

void TQorvMathList::SaveMathList(TWriteFile& writer) const {
  QORV_ASSERT(Built);
  writer.WriteInteger(static_cast<std::int32_t>(Pmathlist.size()));
  for (const auto& object : Pmathlist) {
    writer.WriteInteger(object->QorvMathType());
    if (object->QorvMathType() == qorvmtOPERATOR) {
      writer.WriteInteger(static_cast<TQorvOperator*>(object.get())->GetOperatorType());
    } else {
      auto* operand = static_cast<TQorvOperand*>(object.get());
      writer.WriteInteger(operand->GetOperandType());
      operand->Save(writer);
    }
  }
}

void TQorvMathList::LoadMathList(TReadFile& reader) { LoadNested(reader, 0, msDECIMAL); }

void TQorvMathList::LoadNested(TReadFile& reader, int depth, TMathSide side) {
  Clear();
  if (depth > MaxNesting) throw EReadError(MathListReadError);
  // An object takes at least its math type and its kind code.
  const std::int32_t count = reader.ReadCount(8);
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t type = -1, kind = -1;
    reader.ReadInteger(type);
    reader.ReadInteger(kind);
    if (type == qorvmtOPERATOR) {
      std::unique_ptr<TQorvOperator> op = MakeOperator(kind, Powner);
      if (!op) throw EReadError(MathListReadError);
      Pmathlist.push_back(std::move(op));
    } else if (type == qorvmtOPERAND) {
      std::unique_ptr<TQorvOperand> operand = MakeOperand(kind, Powner);
      if (!operand) throw EReadError(MathListReadError);
      TQorvOperand* loaded = operand.get();
      Pmathlist.push_back(std::move(operand));
      if (IsFunctionKind(static_cast<std::uint8_t>(kind)))
        static_cast<TQorvFunction*>(loaded)->LoadArgument(reader, depth + 1);
      else
        loaded->Load(reader);
    } else {
      throw EReadError(MathListReadError);
    }
  }
  if (CheckForm() != side) throw EReadError(MathListReadError);
  Built = true;
}

void TQorvMathList::CheckAfterRead() {
  for (const auto& object : Pmathlist) object->CheckAfterRead();
}
