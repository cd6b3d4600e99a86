#include "expressions/parse_tokens.h"

#include <cmath>

#include "expressions/functions.h"
#include "expressions/math_expression.h"
#include "expressions/math_list.h"
#include "expressions/math_objects.h"
#include "expressions/math_token_list.h"
#include "model/assertion.h"
#include "model/data.h"
#include "model/number_text.h"
#include "model/variable_data.h"

const char* const DecimalOperatorTable[5] = {"Add=+", "Subtract=-", "Multiply=*", "Divide=/",
                                             "Power=**"};
const char* const BinaryOperatorTable[5] = {"OR=|", "XOR=^", "AND=&", "RIGHT=>>", "LEFT=<<"};
const char* const FunctionTable[10] = {"sin", "cos",  "tan", "exp",   "ln",
                                       "log", "sqrt", "abs", "float", "binary"};

std::string SymbolOfEntry(const char* entry) {
  const std::string text(entry);
  return text.substr(text.find('=') + 1);
}

std::string NameOfEntry(const char* entry) {
  const std::string text(entry);
  return text.substr(0, text.find('='));
}

// TNoScriptVariable

void TNoScriptVariable::SetIndex(std::int32_t index) {
  Index = index;
  if (index >= 0) IndexVariable = nullptr;
}

void TNoScriptVariable::SetIndexVariable(TDataSingle* variable) {
  IndexVariable = variable;
  if (variable) Index = -1;
}

// TQorvMathToken

void TQorvMathToken::Fail(std::uint8_t code) const { throw TMathTokenException(code, First, End); }

// Parentheses

void TMathTokenOpenParen::CheckDataType(std::int8_t& dataType) {
  if (Function) dataType = Function->GetArgumentType();
}

void TMathTokenOpenParen::CheckSuccession(const TQorvMathToken* before) {
  if (!before) return;
  const std::uint8_t kind = before->GetMathTokenType();
  if (kind == mmtCLOSE || kind == mmtOPERAND) Fail(8);
}

void TMathTokenOpenParen::AddToExpression(TMathExpression& expression) {
  expression.AddToken("(");
}

void TMathTokenOpenParen::SetCloseParen(TMathTokenCloseParen* close) {
  QORV_ASSERT(Close==0);
  Close = close;
}

void TMathTokenCloseParen::CheckDataType(std::int8_t& dataType) {
  QORV_ASSERT(AOpenParen!=0);
  if (TQorvTokenFunction* function = AOpenParen->GetFunction())
    dataType = function->GetDataType();
}

void TMathTokenCloseParen::AddToExpression(TMathExpression& expression) {
  expression.AddToken(")");
}

void TMathTokenCloseParen::SetOpenParen(TMathTokenOpenParen* open) {
  QORV_ASSERT(AOpenParen==0);
  AOpenParen = open;
}

// Operands

void TQorvTokenOperand::CheckSuccession(const TQorvMathToken* before) {
  if (!before) return;
  const std::uint8_t kind = before->GetMathTokenType();
  if (kind == mmtOPERAND || kind == mmtCLOSE || kind == mmtFUNCTION) Fail(11);
}

void TMathTokenOpDec::CheckDataType(std::int8_t& dataType) {
  if (dataType != dtDEC) Fail(7);
}

void TMathTokenOpDec::AddToExpression(TMathExpression& expression) {
  expression.AddToken(AOperand);
}

namespace {

bool IsFloatLiteral(const std::string& text) {
  return text.find('.') != std::string::npos || text.find('E') != std::string::npos;
}

}  // namespace

bool TMathTokenOpDec::CanBeOperand(const std::string& text) {
  if (IsFloatLiteral(text)) {
    double value = 0;
    return NumberText::TextToFloat(text, value) && std::isfinite(static_cast<float>(value));
  }
  std::int32_t value = 0;
  return NumberText::TextToInt(text, value);
}

std::unique_ptr<TQorvMath> TMathTokenOpDec::CreateMathObject(TAttributeScript*) {
  if (!CanBeOperand(AOperand)) Fail(3);
  if (IsFloatLiteral(AOperand)) {
    double value = 0;
    NumberText::TextToFloat(AOperand, value);
    return std::make_unique<TFloatOperand>(static_cast<float>(value));
  }
  std::int32_t value = 0;
  NumberText::TextToInt(AOperand, value);
  return std::make_unique<TIntegerOperand>(value);
}

void TMathTokenOpHex::CheckDataType(std::int8_t& dataType) {
  if (dataType != dtBINARY) Fail(6);
}

void TMathTokenOpHex::AddToExpression(TMathExpression& expression) {
  expression.AddToken(AOperand);
}

std::uint32_t TMathTokenOpHex::ValueOf(const std::string& text) {
  std::size_t i = 2;  // after "0X"
  while (i < text.size() && text[i] == '0') ++i;
  if (text.size() - i > 16) return 0xFFFFFFFFu;  // beyond 64 bits
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    value = value * 16 + static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'A' + 10);
  }
  return static_cast<std::uint32_t>(value);
}

std::unique_ptr<TQorvMath> TMathTokenOpHex::CreateMathObject(TAttributeScript*) {
  return std::make_unique<TBinaryOperand>(ValueOf(AOperand));
}

void TMathTokenOpVar::CheckDataType(std::int8_t& dataType) {
  if (dataType != dtDEC) Fail(7);
}

void TMathTokenOpVar::AddToExpression(TMathExpression& expression) {
  if (!Pvariable.Data->IsArray())
    expression.AddVariable(Pvariable.Data);
  else if (Pvariable.IndexVariable)
    expression.AddArrayElementByVariable(Pvariable.Data, Pvariable.IndexVariable);
  else
    expression.AddArrayElementByIndex(Pvariable.Data, Pvariable.Index);
}

std::string TMathTokenOpVar::GetDescription() const {
  return "Operand: " + Pvariable.Data->GetDataName();
}

std::unique_ptr<TQorvMath> TMathTokenOpVar::CreateMathObject(TAttributeScript* owner) {
  auto operand = std::make_unique<TVariableOperand>(owner);
  operand->SetVariable(Pvariable.Data);
  if (Pvariable.Data->IsArray()) {
    TVariableArrayIndex& index =
        static_cast<TVariableDataArray*>(operand->GetReference())->GetArrayIndex();
    if (Pvariable.IndexVariable)
      index.SetIndexVariable(Pvariable.IndexVariable);
    else
      index.SetIndexConstant(Pvariable.Index);
  }
  return operand;
}

// Operators

void TQorvTokenOperator::CheckSuccession(const TQorvMathToken* before) {
  if (!before) Fail(12);
  const std::uint8_t kind = before->GetMathTokenType();
  if (kind != mmtOPERAND && kind != mmtCLOSE) Fail(12);
}

namespace {

// The usual grouping: the operator on the stack leaves first when it binds tighter, or
// as tightly when the incoming one groups from the left. A unary operator arriving is
// always stacked.
bool OperatorPrecedes(const TQorvTokenOperator& top, const TQorvMathToken& incoming) {
  if (incoming.GetMathTokenType() != mmtOPERATOR) return false;
  const auto& other = static_cast<const TQorvTokenOperator&>(incoming);
  if (other.GetDataType() != top.GetDataType()) return false;
  if (top.Level() != other.Level()) return top.Level() > other.Level();
  return !other.GroupsFromRight();
}

}  // namespace

void TQorvTokenDecimalOp::CheckDataType(std::int8_t& dataType) {
  if (dataType != dtDEC) Fail(7);
}

bool TQorvTokenDecimalOp::HasPrecedenceOver(const TQorvMathToken& incoming) const {
  return OperatorPrecedes(*this, incoming);
}

void TQorvTokenDecimalOp::AddToExpression(TMathExpression& expression) {
  expression.AddToken(SymbolOfEntry(DecimalOperatorTable[Code]));
}

int TQorvTokenDecimalOp::Level() const {
  switch (Code) {
    case dopADD:
    case dopSUBTRACT: return 1;
    case dopMULTIPLY:
    case dopDIVIDE: return 2;
    default: return 3;
  }
}

std::unique_ptr<TQorvMath> TQorvTokenDecimalOp::CreateMathObject(TAttributeScript* owner) {
  static constexpr std::uint8_t Kinds[] = {opkADD, opkSUB, opkMULT, opkDIV, opkPOW};
  const int operatorcode = Code;
  QORV_ASSERT(operatorcode<=dopEXP);
  return MakeOperator(Kinds[Code], owner);
}

void TQorvTokenBinaryOp::CheckDataType(std::int8_t& dataType) {
  if (dataType != dtBINARY) Fail(6);
}

bool TQorvTokenBinaryOp::HasPrecedenceOver(const TQorvMathToken& incoming) const {
  return OperatorPrecedes(*this, incoming);
}

void TQorvTokenBinaryOp::AddToExpression(TMathExpression& expression) {
  expression.AddToken(SymbolOfEntry(BinaryOperatorTable[Code]));
}

int TQorvTokenBinaryOp::Level() const {
  switch (Code) {
    case bopOR: return 1;
    case bopXOR: return 2;
    case bopAND: return 3;
    default: return 4;
  }
}

std::unique_ptr<TQorvMath> TQorvTokenBinaryOp::CreateMathObject(TAttributeScript* owner) {
  static constexpr std::uint8_t Kinds[] = {opkOR, opkXOR, opkAND, opkSHIFTRIGHT, opkSHIFTLEFT};
  const int operatorcode = Code;
  QORV_ASSERT(operatorcode<=bopLEFT);
  return MakeOperator(Kinds[Code], owner);
}

void TQorvTokenUnaryOperator::CheckDataType(std::int8_t& dataType) {
  if (Kind == NEGATE && dataType != dtDEC) Fail(7);
  if (Kind == NOT && dataType != dtBINARY) Fail(6);
}

void TQorvTokenUnaryOperator::CheckSuccession(const TQorvMathToken* before) {
  if (!before) return;
  const std::uint8_t kind = before->GetMathTokenType();
  if (kind != mmtOPERATOR && kind != mmtOPEN) Fail(10);
}

void TQorvTokenUnaryOperator::AddToExpression(TMathExpression& expression) {
  expression.AddToken(Kind == NEGATE ? "-" : "~");
}

std::unique_ptr<TQorvMath> TQorvTokenUnaryOperator::CreateMathObject(TAttributeScript* owner) {
  return MakeOperator(Kind == NEGATE ? opkNEGATE : opkNOT, owner);
}

// Functions

void TQorvTokenFunction::CheckDataType(std::int8_t& dataType) {
  if (Code == fnBINARY) {
    if (dataType != dtBINARY) Fail(6);
  } else if (dataType != dtDEC) {
    Fail(7);
  }
}

void TQorvTokenFunction::CheckSuccession(const TQorvMathToken* before) {
  if (!before) return;
  const std::uint8_t kind = before->GetMathTokenType();
  if (kind == mmtOPERAND || kind == mmtFUNCTION || kind == mmtCLOSE) Fail(13);
}

void TQorvTokenFunction::AddToExpression(TMathExpression& expression) {
  expression.AddToken(FunctionTable[Code]);
}

std::string TQorvTokenFunction::GetDescription() const {
  std::string text = FunctionTable[Code];
  for (const auto& token : Prpfunctionlist) {
    text += ' ';
    text += token->GetDescription();
  }
  return text;
}

std::unique_ptr<TQorvMath> TQorvTokenFunction::CreateMathObject(TAttributeScript* owner) {
  static constexpr std::uint8_t Kinds[] = {odkSIN, odkCOS,  odkTAN, odkEXP,     odkLN,
                                           odkLOG, odkSQRT, odkABS, odkFLOATFN, odkBINARYFN};
  const int functioncode = Code;
  QORV_ASSERT(functioncode<=fnLAST);
  std::vector<TMathTokenRP*> argument;
  for (const auto& token : Prpfunctionlist) {
    auto* rp = dynamic_cast<TMathTokenRP*>(token.get());
    QORV_ASSERT(rp!=0);
    argument.push_back(rp);
  }
  auto list = std::make_unique<TQorvMathList>(owner);
  list->BuildMathList(argument);
  return MakeFunction(Kinds[Code], owner, std::move(list), Radians);
}

void TQorvTokenFunction::SetOpenParen(TMathTokenOpenParen* open) {
  QORV_ASSERT(AOpenParen==0);
  AOpenParen = open;
}

bool TQorvTokenFunction::TakeArgument(TMathTokenList& list, std::size_t openIndex) {
  QORV_ASSERT(AOpenParen!=0);
  QORV_ASSERT(openIndex<list.size()&&list[openIndex].get()==AOpenParen);
  TMathTokenCloseParen* close = AOpenParen->GetCloseParen();
  std::size_t closeIndex = openIndex + 1;
  while (closeIndex < list.size() && list[closeIndex].get() != close) ++closeIndex;
  QORV_ASSERT(closeIndex<list.size());
  if (closeIndex == openIndex + 1) return false;
  Prpfunctionlist.clear();
  for (std::size_t i = openIndex + 1; i < closeIndex; ++i)
    Prpfunctionlist.push_back(std::move(list[i]));
  // The parentheses are used up; the emptied places go with them.
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(openIndex),
             list.begin() + static_cast<std::ptrdiff_t>(closeIndex) + 1);
  AOpenParen = nullptr;
  return ConvertToReversePolish(Prpfunctionlist);
}

// The conversion

bool ConvertToReversePolish(TMathTokenList& list) {
  TMathTokenList output;
  TMathTokenList stack;  // operators and open parentheses
  std::size_t next = 0;
  while (next < list.size()) {
    TQorvMathToken* token = list[next].get();
    switch (token->GetMathTokenType()) {
      case mmtOPERAND:
        output.push_back(std::move(list[next++]));
        break;
      case mmtOPEN:
        stack.push_back(std::move(list[next++]));
        break;
      case mmtOPERATOR:
      case mmtUNARYOP:
        while (!stack.empty() && stack.back()->HasPrecedenceOver(*token)) {
          output.push_back(std::move(stack.back()));
          stack.pop_back();
        }
        stack.push_back(std::move(list[next++]));
        break;
      case mmtCLOSE: {
        TMathTokenOpenParen* open = static_cast<TMathTokenCloseParen*>(token)->GetOpenParen();
        std::size_t at = stack.size();
        while (at > 0 && stack[at - 1].get() != open) --at;
        QORV_ASSERT(at>0);
        while (stack.size() > at) {
          output.push_back(std::move(stack.back()));
          stack.pop_back();
        }
        stack.pop_back();  // the open parenthesis, deleted with the close one
        list[next++].reset();
        break;
      }
      default: {  // mmtFUNCTION
        auto* function = static_cast<TQorvTokenFunction*>(token);
        if (!function->TakeArgument(list, next + 1)) return false;
        output.push_back(std::move(list[next++]));
        break;
      }
    }
  }
  while (!stack.empty()) {
    output.push_back(std::move(stack.back()));
    stack.pop_back();
  }
  list = std::move(output);
  return true;
}
