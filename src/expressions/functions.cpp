#include "expressions/functions.h"

#include <cmath>

#include "expressions/math_copy.h"
#include "expressions/math_list.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/ui_port.h"
#include "model/write_file.h"

namespace {

// pi / 180 in extended precision.
constexpr long double DegreesToRadians = 3.14159265358979323846264338327950288L / 180.0L;

float Rounded(double value) { return static_cast<float>(value); }

// The run errors of values outside a function's domain, kept off the evaluation's path.
[[noreturn, gnu::noinline, gnu::cold]] void Refuse(const char* text) {
  throw EExperimentError(text);
}
[[noreturn, gnu::noinline, gnu::cold]] void Refuse(const char* text, float x) {
  throw EExperimentError(text + FloatText(x));
}

}  // namespace

// TQorvFunction

TQorvFunction::TQorvFunction(TAttributeScript* owner, std::uint8_t kind,
                             std::unique_ptr<TQorvMathList> argument)
    : Pqorvlist(std::move(argument)), Powner(owner), Kind(kind) {}

TQorvFunction::~TQorvFunction() = default;

void TQorvFunction::PrepareCalculation() {
  QORV_ASSERT(Pqorvlist!=0);
  Pqorvlist->PrepareCalculation();
}

std::unique_ptr<TZyqMathCopy> TQorvFunction::MakeCopy(TCopyScript* copyCommand) {
  QORV_ASSERT(Pqorvlist!=0);
  auto copy = std::make_unique<TZyqFunctionCopy>(copyCommand, static_cast<std::int8_t>(Kind));
  copy->CopyArgument(*Pqorvlist);
  return copy;
}

void TQorvFunction::CheckAfterRead() {
  QORV_ASSERT(Pqorvlist!=0);
  Pqorvlist->CheckAfterRead();
}

void TQorvFunction::Save(TWriteFile& writer) {
  QORV_ASSERT(Pqorvlist!=0);
  Pqorvlist->SaveMathList(writer);
}

void TQorvFunction::Load(TReadFile& reader) { LoadArgument(reader, 1); }

void TQorvFunction::LoadArgument(TReadFile& reader, int depth) {
  QORV_ASSERT(Pqorvlist==0);
  Pqorvlist = std::make_unique<TQorvMathList>(Powner);
  Pqorvlist->LoadNested(reader, depth, Kind == odkFLOATFN ? msBINARY : msDECIMAL);
}

std::string TQorvFunction::GetText() { return FloatText(GetFloatValue()); }

float TQorvFunction::ComputeFloat() {
  switch (Kind) {
    case odkFLOATFN: return static_cast<float>(Pqorvlist->EvaluateBinary());
    case odkBINARYFN: NeverCalled("TBinaryFunction GetFloatValue");
    default: break;
  }
  const float x = Pqorvlist->EvaluateDecimal();
  const double wide = x;
  switch (Kind) {
    case odkEXP: return Rounded(std::exp(wide));
    case odkLN:
      if (x < 0) Refuse("Aborting: Negative number in ln function ", x);
      if (x == 0) Refuse("Aborting: zero in ln function.");
      return Rounded(std::log(wide));
    case odkLOG:
      if (x < 0) Refuse("Aborting:  Negative number in log function ", x);
      if (x == 0) Refuse("Aborting:  Zero in log function");
      return Rounded(std::log10(wide));
    case odkSQRT:
      if (x < 0) Refuse("Aborting:  Negative number in square root function ", x);
      return Rounded(std::sqrt(wide));
    case odkABS: return std::fabs(x);
    default: return static_cast<TTrigFunction*>(this)->ComputeOf(x);
  }
}

std::uint32_t TQorvFunction::ComputeBinary() {
  if (Kind != odkBINARYFN) return GetBinaryValue();  // each class reports its own failure
  return TruncToLow32(Pqorvlist->EvaluateExact());
}

void TQorvFunction::NeverCalled(const char* what) {
  UiPort().ShowMessage(std::string("Should never call this: ") + what, "",
                       TMessageKind::Error);
  AssertionFailed("0", __FILE__, __LINE__);
}

// The single-class answers.

std::uint32_t TFloatFunction::GetBinaryValue() { NeverCalled("TFloatFunction GetBinaryValue"); }
float TBinaryFunction::GetFloatValue() { NeverCalled("TBinaryFunction GetFloatValue"); }
std::string TBinaryFunction::GetText() { return NumberText::IntToText(GetBinaryValue()); }
std::uint32_t TExpFunction::GetBinaryValue() { NeverCalled("TExpFunction GetBinaryValue"); }
std::uint32_t TLNFunction::GetBinaryValue() { NeverCalled("TLNFunction GetBinaryValue"); }
std::uint32_t TLogFunction::GetBinaryValue() { NeverCalled("TLNFunction GetBinaryValue"); }
std::uint32_t TSqrtFunction::GetBinaryValue() { NeverCalled("TSqrtFunction GetBinaryValue"); }
std::uint32_t TAbsFunction::GetBinaryValue() { NeverCalled("TSqrtFunction GetBinaryValue"); }
std::uint32_t TTrigFunction::GetBinaryValue() { NeverCalled("TTrigFunction GetBinaryValue"); }

// TTrigFunction

std::unique_ptr<TZyqMathCopy> TTrigFunction::MakeCopy(TCopyScript* copyCommand) {
  QORV_ASSERT(Pqorvlist!=0);
  auto copy = std::make_unique<TZyqTrigFunctionCopy>(copyCommand, static_cast<std::int8_t>(Kind),
                                                     Radians);
  copy->CopyArgument(*Pqorvlist);
  return copy;
}

void TTrigFunction::Save(TWriteFile& writer) {
  TQorvFunction::Save(writer);
  writer.WriteInteger(Radians ? 1 : 0);
}

void TTrigFunction::LoadArgument(TReadFile& reader, int depth) {
  TQorvFunction::LoadArgument(reader, depth);
  std::int32_t radians = -1;
  reader.ReadInteger(radians);
  if (radians != 0 && radians != 1)
    throw EReadError(MathListReadError);
  Radians = radians == 1;
}

float TTrigFunction::Compute(TQorvOperand& operand) { return ComputeOf(operand.GetFloatValue()); }

float TTrigFunction::ComputeOf(float x) const {
  if (!Radians) x = static_cast<float>(static_cast<long double>(x) * DegreesToRadians);
  const double wide = x;
  switch (Kind) {
    case odkSIN: return Rounded(std::sin(wide));
    case odkCOS: return Rounded(std::cos(wide));
    default: return Rounded(std::tan(wide));
  }
}

// Factories

std::unique_ptr<TQorvFunction> MakeFunction(std::uint8_t kind, TAttributeScript* owner,
                                            std::unique_ptr<TQorvMathList> argument,
                                            bool radians) {
  switch (kind) {
    case odkFLOATFN: return std::make_unique<TFloatFunction>(owner, std::move(argument));
    case odkBINARYFN: return std::make_unique<TBinaryFunction>(owner, std::move(argument));
    case odkEXP: return std::make_unique<TExpFunction>(owner, std::move(argument));
    case odkLN: return std::make_unique<TLNFunction>(owner, std::move(argument));
    case odkLOG: return std::make_unique<TLogFunction>(owner, std::move(argument));
    case odkSQRT: return std::make_unique<TSqrtFunction>(owner, std::move(argument));
    case odkABS: return std::make_unique<TAbsFunction>(owner, std::move(argument));
    case odkSIN: return std::make_unique<TSinFunction>(owner, std::move(argument), radians);
    case odkCOS: return std::make_unique<TCosFunction>(owner, std::move(argument), radians);
    case odkTAN: return std::make_unique<TTanFunction>(owner, std::move(argument), radians);
    default: return nullptr;
  }
}

std::unique_ptr<TQorvOperand> MakeOperand(std::int32_t kind, TAttributeScript* owner) {
  switch (kind) {
    case odkBINARY: return std::make_unique<TBinaryOperand>();
    case odkFLOAT: return std::make_unique<TFloatOperand>();
    case odkINTEGER: return std::make_unique<TIntegerOperand>();
    case odkVARIABLE: return std::make_unique<TVariableOperand>(owner);
    default:
      if (kind < odkFLOATFN || kind > odkLAST) return nullptr;
      return MakeFunction(static_cast<std::uint8_t>(kind), owner, nullptr, true);
  }
}
