#include "expressions/math_copy.h"

#include "expressions/functions.h"
#include "expressions/math_list.h"
#include "expressions/math_objects.h"
#include "model/assertion.h"
#include "model/variable_data.h"

// TZyqOperatorCopy

std::unique_ptr<TQorvMath> TZyqOperatorCopy::MakeMathObject(TAttributeScript* command) {
  if (Kind < 0) return nullptr;
  return MakeOperator(Kind, command);  // none above 11
}

// TZyqOperandCopy

TZyqOperandCopy::TZyqOperandCopy(TCopyScript* owner, std::int8_t kind)
    : TZyqMathCopy(owner), Kind(kind) {}

TZyqOperandCopy::~TZyqOperandCopy() = default;

std::unique_ptr<TQorvMath> TZyqOperandCopy::MakeMathObject(TAttributeScript* command) {
  switch (Kind) {
    case odkBINARY: return std::make_unique<TBinaryOperand>(BinaryValue);
    case odkFLOAT: return std::make_unique<TFloatOperand>(FloatValue);
    case odkINTEGER: return std::make_unique<TIntegerOperand>(IntegerValue);
    case odkVARIABLE: {
      QORV_ASSERT(Pcopyvariable!=0);
      QORV_ASSERT(Pcopyvariable->Data!=0);
      auto operand = std::make_unique<TVariableOperand>(command);
      operand->SetVariable(Pcopyvariable->Data);
      Pcopyvariable->SetUpVariable(operand->GetReference());
      return operand;
    }
    default: return nullptr;
  }
}

void TZyqOperandCopy::Disable() {
  if (Pcopyvariable) Pcopyvariable->Disable();
}

void TZyqOperandCopy::Enable() {
  if (Pcopyvariable) Pcopyvariable->Enable();
}

// TZyqFunctionCopy

TZyqFunctionCopy::TZyqFunctionCopy(TCopyScript* owner, std::int8_t kind)
    : TZyqMathCopy(owner), Kind(kind) {}

TZyqFunctionCopy::~TZyqFunctionCopy() = default;

std::unique_ptr<TQorvMathList> TZyqFunctionCopy::MakeArgument(TAttributeScript* command) const {
  QORV_ASSERT(Pmathlist!=0);
  return Pmathlist->MakeMathList(command);
}

std::unique_ptr<TQorvMath> TZyqFunctionCopy::MakeMathObject(TAttributeScript* command) {
  const int functiontype = Kind;
  QORV_ASSERT(functiontype>=odkFLOATFN&&functiontype<=odkABS);
  return MakeFunction(static_cast<std::uint8_t>(Kind), command, MakeArgument(command), true);
}

void TZyqFunctionCopy::Disable() {
  QORV_ASSERT(Pmathlist!=0);
  Pmathlist->Disable();
}

void TZyqFunctionCopy::Enable() {
  QORV_ASSERT(Pmathlist!=0);
  Pmathlist->Enable();
}

void TZyqFunctionCopy::CopyArgument(const TQorvMathList& argument) {
  QORV_ASSERT(Powner!=0);
  QORV_ASSERT(Pmathlist==0);
  Pmathlist = std::make_unique<TZyqMathListCopy>();
  Pmathlist->CopyMathList(argument, Powner);
}

std::unique_ptr<TQorvMath> TZyqTrigFunctionCopy::MakeMathObject(TAttributeScript* command) {
  const int functiontype = Kind;
  QORV_ASSERT(functiontype>=odkSIN&&functiontype<=odkTAN);
  return MakeFunction(static_cast<std::uint8_t>(Kind), command, MakeArgument(command), Radians);
}

// TZyqMathListCopy

TZyqMathListCopy::~TZyqMathListCopy() {
  if (!Pmathlist) return;
  for (auto& record : *Pmathlist) record.reset();  // first to last
}

void TZyqMathListCopy::CopyMathList(const TQorvMathList& list, TCopyScript* copyCommand) {
  QORV_ASSERT(Pmathlist==0);
  Pmathlist = std::make_unique<std::vector<std::unique_ptr<TZyqMathCopy>>>();
  list.MakeCopyList(*Pmathlist, copyCommand);
}

std::unique_ptr<TQorvMathList> TZyqMathListCopy::MakeMathList(TAttributeScript* command) const {
  QORV_ASSERT(Pmathlist!=0);
  auto list = std::make_unique<TQorvMathList>(command);
  list->SetUpFromCopy(*Pmathlist);
  return list;
}

void TZyqMathListCopy::Disable() {
  if (!Pmathlist) return;
  for (auto& record : *Pmathlist) record->Disable();
}

void TZyqMathListCopy::Enable() {
  if (!Pmathlist) return;
  for (auto& record : *Pmathlist) record->Enable();
}

const std::vector<std::unique_ptr<TZyqMathCopy>>& TZyqMathListCopy::GetRecords() const {
  QORV_ASSERT(Pmathlist!=0);
  return *Pmathlist;
}
