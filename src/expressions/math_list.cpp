#include "expressions/math_list.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "expressions/functions.h"
#include "expressions/math_copy.h"
#include "expressions/parse_tokens.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"

const char* const MathListReadError = "Calculate script expression damaged...Aborting read";

namespace {

// A list read from a file takes room for at most this many objects before it grows.
constexpr std::int32_t ReserveAtMost = 64;

}  // namespace

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

double TQorvMathList::EvaluateExact() {
  EnsurePrepared();
  if (!SingleLeaf) return RunDecimal();
  if (SingleLeaf->Kind == FROMCONSTANT) return SingleLeaf->Exact;
  // "float" of a pattern is the pattern's unsigned value, exactly.
  if (SingleLeaf->Kind == FROMFUNCTION && SingleLeaf->Function->GetOperandType() == odkFLOATFN)
    return SingleLeaf->Function->GetArgument()->EvaluateBinary();
  return FetchFloat(*SingleLeaf);
}

// Evaluation

float TQorvMathList::CallFloat(TQorvFunction* function) { return function->ComputeFloat(); }

std::uint32_t TQorvMathList::CallBinary(TQorvFunction* function) {
  return function->ComputeBinary();
}

template <TQorvMathList::TSource Source>
[[gnu::always_inline]] inline float TQorvMathList::FetchFloat(const TSourceValue& value) {
  if constexpr (Source == FROMCONSTANT) return value.Float;
  if constexpr (Source == FROMVARIABLE) return value.Variable->SightedFloat();
  if constexpr (Source == FROMELEMENT) return value.Variable->SightedElementFloat();
  return value.Function->ComputeFloat();
}

template <TQorvMathList::TSource Source>
[[gnu::always_inline]] inline std::uint32_t TQorvMathList::FetchBinary(const TSourceValue& value) {
  if constexpr (Source == FROMCONSTANT) return value.Binary;
  if constexpr (Source == FROMVARIABLE) return value.Variable->SightedBinary();
  if constexpr (Source == FROMELEMENT) return value.Variable->SightedElementBinary();
  return value.Function->ComputeBinary();
}

template <TQorvMathList::TSource Source>
[[gnu::always_inline]] inline bool TQorvMathList::Sees(const TSourceValue& value) {
  if constexpr (Source == FROMVARIABLE) return value.Variable->SeesValue();
  if constexpr (Source == FROMELEMENT) return value.Variable->SeesElement();
  return true;
}

void TQorvMathList::LookUpSources(const TStep& step) {
  const auto lookUp = [](TSource source, const TSourceValue& value) {
    if (source == FROMVARIABLE)
      value.Variable->LookUpValue();
    else if (source == FROMELEMENT)
      value.Variable->LookUpElement();
  };
  lookUp(step.SourceA, step.A);
  lookUp(step.SourceB, step.B);
}

TQorvMathList::TDecimalStack TQorvMathList::LookUpDecimal(const TStep& step, TDecimalStack stack) {
  LookUpSources(step);
  return step.Decimal(step, stack);
}

TQorvMathList::TBinaryStack TQorvMathList::LookUpBinary(const TStep& step, TBinaryStack stack) {
  LookUpSources(step);
  return step.Binary(step, stack);
}

// The first operand is read before the second. Values of earlier steps lie on the
// stack, the second on top; a step on two operands it reads itself puts the top below
// first (the first step puts nothing of meaning there).
template <std::uint8_t Kind, TQorvMathList::TSource A, TQorvMathList::TSource B>
TQorvMathList::TDecimalStack TQorvMathList::DecimalStep(const TStep& step, TDecimalStack stack) {
  if (!Sees<A>(step.A) || !Sees<B>(step.B)) [[unlikely]] return LookUpDecimal(step, stack);
  float a, b;
  if constexpr (A == FROMSTACK && B == FROMSTACK) {
    b = stack.Top;
    a = *--stack.Below;
  } else if constexpr (B == FROMSTACK) {
    b = stack.Top;
    a = FetchFloat<A>(step.A);
  } else if constexpr (A == FROMSTACK) {
    a = stack.Top;
    b = FetchFloat<B>(step.B);
  } else {
    *stack.Below++ = stack.Top;
    a = FetchFloat<A>(step.A);
    b = FetchFloat<B>(step.B);
  }
  stack.Top = TFloatOperator::Compute(Kind, a, b);
  return stack;
}

template <std::uint8_t Kind, TQorvMathList::TSource A, TQorvMathList::TSource B>
TQorvMathList::TBinaryStack TQorvMathList::BinaryStep(const TStep& step, TBinaryStack stack) {
  if (!Sees<A>(step.A) || !Sees<B>(step.B)) [[unlikely]] return LookUpBinary(step, stack);
  std::uint32_t a, b;
  if constexpr (A == FROMSTACK && B == FROMSTACK) {
    b = stack.Top;
    a = *--stack.Below;
  } else if constexpr (B == FROMSTACK) {
    b = stack.Top;
    a = FetchBinary<A>(step.A);
  } else if constexpr (A == FROMSTACK) {
    a = stack.Top;
    b = FetchBinary<B>(step.B);
  } else {
    *stack.Below++ = stack.Top;
    a = FetchBinary<A>(step.A);
    b = FetchBinary<B>(step.B);
  }
  stack.Top = TBinaryOperator::Compute(Kind, a, b);
  return stack;
}

template <std::uint8_t Kind, std::size_t... Shape>
constexpr auto TQorvMathList::DecimalHandlers(std::index_sequence<Shape...>) {
  return std::array<TDecimalHandler, sizeof...(Shape)>{
      &DecimalStep<Kind, static_cast<TSource>(Shape / SourceCount),
                   static_cast<TSource>(Shape % SourceCount)>...};
}

// Variables and elements are decimal: a binary operator never reads one itself.
template <std::uint8_t Kind, std::size_t Shape>
constexpr TQorvMathList::TBinaryHandler TQorvMathList::BinaryHandler() {
  constexpr auto a = static_cast<TSource>(Shape / SourceCount);
  constexpr auto b = static_cast<TSource>(Shape % SourceCount);
  constexpr auto binary = [](TSource source) {
    return source != FROMVARIABLE && source != FROMELEMENT;
  };
  if constexpr (binary(a) && binary(b))
    return &BinaryStep<Kind, a, b>;
  else
    return nullptr;
}

template <std::uint8_t Kind, std::size_t... Shape>
constexpr auto TQorvMathList::BinaryHandlers(std::index_sequence<Shape...>) {
  return std::array<TBinaryHandler, sizeof...(Shape)>{BinaryHandler<Kind, Shape>()...};
}

float TQorvMathList::RunDecimal() {
  TDecimalStack stack{FloatStack.data(), 0.0f};
  for (const TStep& step : Steps) stack = step.Decimal(step, stack);
  return stack.Top;
}

std::uint32_t TQorvMathList::RunBinary() {
  TBinaryStack stack{BinaryStack.data(), 0};
  for (const TStep& step : Steps) stack = step.Binary(step, stack);
  return stack.Top;
}

// The program

TQorvMathList::TLeaf TQorvMathList::MakeLeaf(TQorvOperand* operand) {
  TLeaf leaf;
  leaf.Object = operand;
  leaf.Kind = FROMCONSTANT;
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
      leaf.Variable = static_cast<TVariableOperand*>(operand);
      QORV_ASSERT(leaf.Variable->GetReference()!=0);
      leaf.Kind = leaf.Variable->IsElement() ? FROMELEMENT : FROMVARIABLE;
      break;
    default:
      leaf.Kind = FROMFUNCTION;
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
    TOperation operation{kind, nullptr, nullptr};
    for (std::size_t i = 0; i < operands; ++i) {
      const TEntry entry = entries.back();
      entries.pop_back();
      QORV_ASSERT(entry.Side==side);
      if (!entry.Leaf) --onStack;
      (i + 1 == operands ? operation.A : operation.B) = entry.Leaf;
    }
    if (const TLeaf* folded = Fold(operation)) {
      entries.push_back({folded, side});
      continue;
    }
    Steps.push_back(MakeStep(operation));
    entries.push_back({nullptr, side});
    deepest = std::max(deepest, ++onStack);
  }
  QORV_ASSERT(entries.size()==1);
  Side = entries.front().Side;
  SingleLeaf = entries.front().Leaf;
  FloatStack.assign(Side == msDECIMAL ? deepest : 0, 0.0f);
  BinaryStack.assign(Side == msBINARY ? deepest : 0, 0u);
}

TQorvMathList::TStep TQorvMathList::MakeStep(const TOperation& operation) {
  const TMathSide side = SideOfOperator(operation.Kind);
  auto source = [side](const TLeaf* leaf, TSource& from, TSourceValue& value) {
    from = leaf ? leaf->Kind : FROMSTACK;
    switch (from) {
      case FROMSTACK: value.Float = 0.0f; break;
      case FROMCONSTANT:
        if (side == msDECIMAL)
          value.Float = leaf->Float;
        else
          value.Binary = leaf->Binary;
        break;
      case FROMVARIABLE:
      case FROMELEMENT: value.Variable = leaf->Variable; break;
      default: value.Function = leaf->Function; break;
    }
  };
  TStep step{};
  std::uint8_t kind = operation.Kind;
  TSource a, b;
  source(operation.A, a, step.A);
  source(operation.B, b, step.B);
  if (kind == opkNEGATE) {
    // 0 - a: the operand is read second.
    kind = opkSUB;
    b = a;
    step.B = step.A;
    a = FROMCONSTANT;
    step.A.Float = 0.0f;
  } else if (kind == opkNOT) {
    kind = opkXOR;
    b = FROMCONSTANT;
    step.B.Binary = 0xFFFFFFFFu;
  }
  constexpr auto shapes = std::make_index_sequence<SourceCount * SourceCount>();
  static constexpr std::array decimal{
      DecimalHandlers<opkADD>(shapes), DecimalHandlers<opkSUB>(shapes),
      DecimalHandlers<opkMULT>(shapes), DecimalHandlers<opkDIV>(shapes),
      DecimalHandlers<opkPOW>(shapes)};
  static constexpr std::array binary{
      BinaryHandlers<opkAND>(shapes), BinaryHandlers<opkOR>(shapes),
      BinaryHandlers<opkXOR>(shapes), BinaryHandlers<opkSHIFTLEFT>(shapes),
      BinaryHandlers<opkSHIFTRIGHT>(shapes)};
  step.SourceA = a;
  step.SourceB = b;
  const std::size_t shape = a * SourceCount + b;
  switch (kind) {
    case opkADD: step.Decimal = decimal[0][shape]; break;
    case opkSUB: step.Decimal = decimal[1][shape]; break;
    case opkMULT: step.Decimal = decimal[2][shape]; break;
    case opkDIV: step.Decimal = decimal[3][shape]; break;
    case opkPOW: step.Decimal = decimal[4][shape]; break;
    case opkAND: step.Binary = binary[0][shape]; break;
    case opkOR: step.Binary = binary[1][shape]; break;
    case opkXOR: step.Binary = binary[2][shape]; break;
    case opkSHIFTLEFT: step.Binary = binary[3][shape]; break;
    default: step.Binary = binary[4][shape]; break;
  }
  if (side == msBINARY) QORV_ASSERT(step.Binary!=0);
  return step;
}

const TQorvMathList::TLeaf* TQorvMathList::Fold(const TOperation& step) {
  auto constant = [](const TLeaf* leaf) { return leaf && leaf->Kind == FROMCONSTANT; };
  if (!constant(step.A) || (!IsUnaryOperator(step.Kind) && !constant(step.B))) return nullptr;
  TLeaf leaf;
  if (SideOfOperator(step.Kind) == msDECIMAL) {
    const float b = step.B ? step.B->Float : 0.0f;
    if (step.Kind == opkDIV && !(std::fabs(b) > 0.0f)) return nullptr;  // fails when it runs
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
  // The sides of the operands waiting for their operators: never more than the objects,
  // so that the usual short list needs no allocation.
  std::array<TMathSide, 32> few;
  std::vector<TMathSide> many;
  TMathSide* sides = few.data();
  if (Pmathlist.size() > few.size()) {
    many.resize(Pmathlist.size());
    sides = many.data();
  }
  std::size_t depth = 0;
  for (const auto& object : Pmathlist) {
    if (object->QorvMathType() == qorvmtOPERAND) {
      sides[depth++] = SideOfOperand(static_cast<TQorvOperand*>(object.get())->GetOperandType());
      continue;
    }
    const std::uint8_t kind = static_cast<TQorvOperator*>(object.get())->GetOperatorType();
    const std::size_t operands = IsUnaryOperator(kind) ? 1 : 2;
    if (depth < operands) return -1;
    for (std::size_t i = 0; i < operands; ++i)
      if (sides[--depth] != SideOfOperator(kind)) return -1;
    sides[depth++] = SideOfOperator(kind);
  }
  return depth == 1 ? sides[0] : -1;
}

// Copies

void TQorvMathList::MakeCopyList(std::vector<std::unique_ptr<TZyqMathCopy>>& list,
                                 TCopyScript* copyCommand) const {
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
  // Room for the objects at once, but not more than a damaged count could make a burden
  // at every level of nesting.
  Pmathlist.reserve(static_cast<std::size_t>(std::min(count, ReserveAtMost)));
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
