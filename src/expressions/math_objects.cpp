#include "expressions/math_objects.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "expressions/math_copy.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "model/write_file.h"

namespace {

const char* const OperandNotDefined =
    "Calculate script integer operand not defined...Aborting read";

}  // namespace

std::string FloatText(float value) {
  return NumberText::FormatNumber(static_cast<double>(value), ntSTANDARD, 0);
}

std::uint32_t TruncToLow32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double limit = 9223372036854775808.0;  // 2^63
  std::int64_t whole;
  if (value >= limit)
    whole = std::numeric_limits<std::int64_t>::max();
  else if (value < -limit)
    whole = std::numeric_limits<std::int64_t>::min();
  else
    whole = static_cast<std::int64_t>(value);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole));
}

// Operators

std::unique_ptr<TZyqMathCopy> TQorvOperator::MakeCopy(TCopyScript* copyCommand) {
  return std::make_unique<TZyqOperatorCopy>(copyCommand, static_cast<std::int8_t>(Kind));
}

void ThrowDivideByZero() { throw EExperimentError("Divide by zero error"); }

float TFloatOperator::PowerOf(double base, float b) {
  return static_cast<float>(std::pow(base, static_cast<double>(b)));
}

std::unique_ptr<TQorvOperator> MakeOperator(std::int32_t kind, TAttributeScript* owner) {
  switch (kind) {
    case opkAND: return std::make_unique<TBinaryOperatorAND>(owner);
    case opkNOT: return std::make_unique<TBinaryOperatorNOT>(owner);
    case opkOR: return std::make_unique<TBinaryOperatorOR>(owner);
    case opkXOR: return std::make_unique<TBinaryOperatorXOR>(owner);
    case opkSHIFTLEFT: return std::make_unique<TBinaryOperatorShiftLeft>(owner);
    case opkSHIFTRIGHT: return std::make_unique<TBinaryOperatorShiftRight>(owner);
    case opkADD: return std::make_unique<TFloatOperatorAdd>(owner);
    case opkSUB: return std::make_unique<TFloatOperatorSub>(owner);
    case opkMULT: return std::make_unique<TFloatOperatorMult>(owner);
    case opkDIV: return std::make_unique<TFloatOperatorDiv>(owner);
    case opkPOW: return std::make_unique<TFloatOperatorPow>(owner);
    case opkNEGATE: return std::make_unique<TFloatOperatorNegate>(owner);
    default: return nullptr;
  }
}

// Constants

std::unique_ptr<TZyqMathCopy> TIntegerOperand::MakeCopy(TCopyScript* copyCommand) {
  auto copy = std::make_unique<TZyqOperandCopy>(copyCommand, odkINTEGER);
  copy->IntegerValue = Value;
  return copy;
}

void TIntegerOperand::Save(TWriteFile& writer) { writer.WriteInteger(Value); }
void TIntegerOperand::Load(TReadFile& reader) { reader.ReadInteger(Value); }
std::string TIntegerOperand::GetText() { return NumberText::IntToText(Value); }

std::unique_ptr<TZyqMathCopy> TFloatOperand::MakeCopy(TCopyScript* copyCommand) {
  auto copy = std::make_unique<TZyqOperandCopy>(copyCommand, odkFLOAT);
  copy->FloatValue = Value;
  return copy;
}

void TFloatOperand::Save(TWriteFile& writer) { writer.WriteFloat(Value); }
void TFloatOperand::Load(TReadFile& reader) { reader.ReadFloat(Value); }

std::unique_ptr<TZyqMathCopy> TBinaryOperand::MakeCopy(TCopyScript* copyCommand) {
  auto copy = std::make_unique<TZyqOperandCopy>(copyCommand, odkBINARY);
  copy->BinaryValue = Value;
  return copy;
}

void TBinaryOperand::Save(TWriteFile& writer) {
  writer.WriteInteger(static_cast<std::int32_t>(Value));
}

void TBinaryOperand::Load(TReadFile& reader) {
  std::int32_t bits = 0;
  reader.ReadInteger(bits);
  Value = static_cast<std::uint32_t>(bits);
}

std::string TBinaryOperand::GetText() {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Value));
  return text;
}

// TVariableOperand

TVariableOperand::TVariableOperand(TAttributeScript* owner) : Powner(owner) {}

TVariableOperand::~TVariableOperand() = default;

std::unique_ptr<TZyqMathCopy> TVariableOperand::MakeCopy(TCopyScript* copyCommand) {
  QORV_ASSERT(Pvariable!=0);
  auto copy = std::make_unique<TZyqOperandCopy>(copyCommand, odkVARIABLE);
  copy->Pcopyvariable.reset(Pvariable->MakeCopy(copyCommand));
  return copy;
}

void TVariableOperand::CheckAfterRead() {
  if (!Pvariable || !Pvariable->GetData()) throw EReadError(OperandNotDefined);
  // An array operand is always one element.
  if (Pvariable->IsArray()) {
    auto* element = static_cast<TVariableDataArray*>(Pvariable.get());
    if (element->GetArrayIndex().IsEntireArray()) throw EReadError(OperandNotDefined);
  }
}

void TVariableOperand::Save(TWriteFile& writer) {
  QORV_ASSERT(Pvariable!=0);
  writer.WriteBool(Pvariable->IsArray());
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(Pvariable.get());
  Pvariable->Save(writer);
}

void TVariableOperand::Load(TReadFile& reader) {
  QORV_ASSERT(Pvariable==0);
  bool isArray = false;
  reader.ReadBool(isArray);
  MakeReference(isArray);
  Pvariable->Load(reader);
  reader.GetVariableList().Add(Pvariable.get());
}

void TVariableOperand::MakeReference(bool element) {
  if (element)
    Pvariable = std::make_unique<TVariableDataArray>(Powner);
  else
    Pvariable = std::make_unique<TVariableDataSingle>(Powner);
  Element = element;
  Sight = {};
  ArraySight = {};
  IndexSight = {};
}

std::string TVariableOperand::GetText() {
  QORV_ASSERT(Pvariable!=0);
  return Pvariable->GetValueString();
}

std::string TVariableOperand::GetName() {
  QORV_ASSERT(Pvariable!=0);
  return Pvariable->GetName();
}

void TVariableOperand::SetVariable(TData* variable) {
  QORV_ASSERT(variable!=0);
  QORV_ASSERT(Powner!=0);
  if (Pvariable && Element != variable->IsArray()) Pvariable.reset();
  if (!Pvariable) MakeReference(variable->IsArray());
  Pvariable->SetData(variable);
}
