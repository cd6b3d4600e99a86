#include "expressions/math_token_list.h"

#include <algorithm>

#include "expressions/math_expression.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/number_text.h"

namespace {

const char* const ErrorTexts[18] = {
    "No expression to evaluate.",
    "Hex values cannot be negative.",
    "Expressions has a bad beginning.",
    "Invalid String.",
    "Invalid Shift symbol.",
    "Uneven Parenthesis.",
    "Binary cannot be used here.",
    "Decimal cannot be used here.",
    "Open parenthesis cannot follow an operand or a Close paren.",
    "Close parenthesis cannot follow an operator or an Open paren.",
    "Unary operator can only follow an operator or an Open paren",
    "Operands cannot follow another operand, a Close paren or a function.",
    "Operators can only follow operands and close parens.",
    "Functions can only follow operators and open parens",
    "Expression has bad end.",
    "Function is empty.",
    "Array element badly defined.",
    "Array element out of bounds.",
};

// The kinds of token a scanner may make next.
enum : std::uint8_t {
  kUnaryOperator = 0x02,
  kOperator = 0x04,
  kOpenParen = 0x08,
  kCloseParen = 0x10,
  kFunction = 0x20,
  kOperand = 0x40,
};

// The kind of the last token scanned; with no scanner accepting the next character, it
// names the error.
enum TScanState : std::uint8_t {
  msSTART,
  msUNARYOP,
  msOPERATOR,
  msOPEN,
  msCLOSE,
  msFUNCTION,
  msOPERAND,
};
constexpr std::uint8_t StateErrors[] = {2, 10, 12, 8, 9, 13, 11};

bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }
// The characters of a word after its first ("[" may follow, not start).
bool IsWordCharacter(char c) {
  return IsLetter(c) || IsDigit(c) || c == '.' || c == '_' || c == ',';
}

char UpperCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(const std::string& text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return UpperCase(c); });
  return upper;
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsHexLiteral(const std::string& word) {
  return word.size() > 2 && word[0] == '0' && word[1] == 'X' &&
         std::all_of(word.begin() + 2, word.end(), IsHexDigit);
}

// The index of the operator entry whose symbol is the text; -1 when none.
template <std::size_t N>
int EntryOfSymbol(const char* const (&table)[N], const std::string& symbol) {
  for (std::size_t i = 0; i < N; ++i)
    if (SymbolOfEntry(table[i]) == symbol) return static_cast<int>(i);
  return -1;
}

std::int32_t Length(const std::string& text) { return static_cast<std::int32_t>(text.size()); }

}  // namespace

// TMathTokenException

TMathTokenException::TMathTokenException(std::uint8_t code, std::int32_t first, std::int32_t end)
    : Message("Error :" + TextOf(code)), Code(code), Start(first - 1), Length(end - first) {}

std::string TMathTokenException::TextOf(std::uint8_t code) {
  return code < std::size(ErrorTexts) ? ErrorTexts[code] : std::string();
}

// TQorvMathTokenList

TQorvMathTokenList::TQorvMathTokenList(TExperiment* experiment) : Pexperiment(experiment) {}

TQorvMathTokenList::~TQorvMathTokenList() {
  for (auto& token : Ptokenlist) token.reset();  // first to last
}

std::string TQorvMathTokenList::Normalise(const std::string& text) {
  std::string normal;
  normal.reserve(text.size());
  for (const char c : text)
    if (c != ' ') normal += UpperCase(c);
  return normal;
}

void TQorvMathTokenList::Tokenize(bool radians, const std::string& source,
                                  TMathExpression* expression, std::vector<TMathTokenRP*>* output) {
  QORV_ASSERT(expression!=0);
  QORV_ASSERT(output!=0);
  for (auto& token : Ptokenlist) token.reset();
  Ptokenlist.clear();
  OpenCount = 0;
  CloseCount = 0;

  const std::string text = Normalise(source);
  if (std::all_of(text.begin(), text.end(), IsBlankOrControl)) throw TMathTokenException(0, 0, 0);

  std::int32_t position = 1;
  std::uint8_t allowed = kUnaryOperator | kOpenParen | kFunction | kOperand;
  TScanState state = msSTART;
  while (position <= Length(text)) {
    if ((allowed & kUnaryOperator) && ScanUnaryOperator(text, position)) {
      allowed = kOpenParen | kFunction | kOperand;
      state = msUNARYOP;
    } else if ((allowed & kOperator) && ScanOperator(text, position)) {
      allowed = kUnaryOperator | kOpenParen | kFunction | kOperand;
      state = msOPERATOR;
    } else if ((allowed & kOpenParen) && ScanOpenParen(text, position)) {
      allowed = kUnaryOperator | kFunction | kOperand | kOpenParen;
      state = msOPEN;
    } else if ((allowed & kCloseParen) && ScanCloseParen(text, position)) {
      allowed = kOperator | kCloseParen;
      state = msCLOSE;
    } else if ((allowed & kFunction) && ScanFunction(text, position, radians)) {
      allowed = kOperand | kOpenParen | kUnaryOperator | kFunction;
      state = msFUNCTION;
    } else if ((allowed & kOperand) && ScanOperand(text, position)) {
      allowed = kOperator | kCloseParen;
      state = msOPERAND;
    } else {
      throw TMathTokenException(StateErrors[state], position, position + 1);
    }
  }
  if (OpenCount != CloseCount) throw TMathTokenException(5, -1, -1);

  std::int8_t dataType = dtDEC;
  for (const auto& token : Ptokenlist) token->CheckDataType(dataType);
  const TQorvMathToken* before = nullptr;
  for (const auto& token : Ptokenlist) {
    token->CheckSuccession(before);
    before = token.get();
  }
  if (!Ptokenlist.empty() && !Ptokenlist.back()->CanEndExpression())
    throw TMathTokenException(14, Ptokenlist.back()->GetFirst(), Ptokenlist.back()->GetEnd());

  output->clear();
  if (Ptokenlist.empty()) throw TMathTokenException(15, -1, -1);
  for (const auto& token : Ptokenlist) token->AddToExpression(*expression);

  if (!ConvertToReversePolish(Ptokenlist)) throw TMathTokenException(15, -1, -1);
  output->clear();
  for (const auto& token : Ptokenlist) {
    auto* rp = dynamic_cast<TMathTokenRP*>(token.get());
    QORV_ASSERT(rp!=0);
    output->push_back(rp);
  }
}

bool TQorvMathTokenList::ScanUnaryOperator(const std::string& text, std::int32_t& position) {
  const char c = text[static_cast<std::size_t>(position - 1)];
  if (c != '-' && c != '~') return false;
  const std::uint8_t kind =
      c == '-' ? TQorvTokenUnaryOperator::NEGATE : TQorvTokenUnaryOperator::NOT;
  Ptokenlist.push_back(std::make_unique<TQorvTokenUnaryOperator>(kind, position, position + 1));
  ++position;
  return true;
}

bool TQorvMathTokenList::ScanOperator(const std::string& text, std::int32_t& position) {
  const std::size_t i = static_cast<std::size_t>(position - 1);
  const char c = text[i];
  const char next = i + 1 < text.size() ? text[i + 1] : '\0';
  std::string symbol;
  if (c == '+' || c == '-' || c == '*' || c == '/') {
    // "**" is the power symbol when something follows the pair.
    symbol = c == '*' && next == '*' && i + 2 < text.size() ? "**" : std::string(1, c);
    const int code = EntryOfSymbol(DecimalOperatorTable, symbol);
    Ptokenlist.push_back(std::make_unique<TQorvTokenDecimalOp>(
        static_cast<std::uint8_t>(code), position, position + Length(symbol)));
  } else if (c == '&' || c == '|' || c == '^' || c == '<' || c == '>') {
    if (c == '<' || c == '>') {
      if (next != c) throw TMathTokenException(4, position, position);
      symbol = std::string(2, c);
    } else {
      symbol = std::string(1, c);
    }
    const int code = EntryOfSymbol(BinaryOperatorTable, symbol);
    Ptokenlist.push_back(std::make_unique<TQorvTokenBinaryOp>(
        static_cast<std::uint8_t>(code), position, position + Length(symbol)));
  } else {
    return false;
  }
  position += Length(symbol);
  return true;
}

bool TQorvMathTokenList::ScanOpenParen(const std::string& text, std::int32_t& position) {
  if (text[static_cast<std::size_t>(position - 1)] != '(') return false;
  Ptokenlist.push_back(std::make_unique<TMathTokenOpenParen>(nullptr, position, position + 1));
  ++OpenCount;
  ++position;
  return true;
}

bool TQorvMathTokenList::ScanCloseParen(const std::string& text, std::int32_t& position) {
  if (text[static_cast<std::size_t>(position - 1)] != ')') return false;
  auto close = std::make_unique<TMathTokenCloseParen>(position, position + 1);
  TMathTokenOpenParen* open = nullptr;
  for (auto token = Ptokenlist.rbegin(); token != Ptokenlist.rend() && !open; ++token) {
    if ((*token)->GetMathTokenType() != mmtOPEN) continue;
    auto* candidate = static_cast<TMathTokenOpenParen*>(token->get());
    if (!candidate->GetCloseParen()) open = candidate;
  }
  if (!open) throw TMathTokenException(5, position, position + 1);
  open->SetCloseParen(close.get());
  close->SetOpenParen(open);
  Ptokenlist.push_back(std::move(close));
  ++CloseCount;
  ++position;
  return true;
}

bool TQorvMathTokenList::ScanFunction(const std::string& text, std::int32_t& position,
                                      bool radians) {
  const std::size_t start = static_cast<std::size_t>(position - 1);
  std::size_t end = start;
  while (end < text.size() && IsLetter(text[end])) ++end;
  if (end == start || end >= text.size() || text[end] != '(') return false;
  const std::string run = text.substr(start, end - start);
  for (std::size_t code = 0; code < std::size(FunctionTable); ++code) {
    if (UpperCase(FunctionTable[code]) != run) continue;
    const std::int32_t paren = position + Length(run);
    auto function = std::make_unique<TQorvTokenFunction>(static_cast<std::uint8_t>(code), radians,
                                                         position, paren);
    auto open = std::make_unique<TMathTokenOpenParen>(function.get(), paren, paren + 1);
    function->SetOpenParen(open.get());
    Ptokenlist.push_back(std::move(function));
    Ptokenlist.push_back(std::move(open));
    ++OpenCount;
    position = paren + 1;
    return true;
  }
  return false;
}

bool TQorvMathTokenList::ScanOperand(const std::string& text, std::int32_t& position) {
  std::size_t i = static_cast<std::size_t>(position - 1);
  if (!IsWordCharacter(text[i])) return false;
  std::string word(1, text[i++]);
  while (i < text.size() && (IsWordCharacter(text[i]) || text[i] == '[')) {
    // An exponent's sign belongs to a number: "1.5E-3" is one word, "X1E-3" is not.
    double number = 0;
    if (text[i] == 'E' && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') &&
        NumberText::TextToFloat(word, number)) {
      word += text.substr(i, 2);
      i += 2;
      continue;
    }
    word += text[i++];
  }
  if (word.find('[') != std::string::npos && i < text.size() && text[i] == ']') word += text[i++];

  const std::int32_t first = position;
  const std::int32_t end = position + Length(word);
  TNoScriptVariable variable(nullptr);
  double number = 0;
  if (IsHexLiteral(word)) {
    Ptokenlist.push_back(std::make_unique<TMathTokenOpHex>(word, first, end));
  } else if (LookUpVariable(word, first, end, variable)) {
    Ptokenlist.push_back(std::make_unique<TMathTokenOpVar>(variable, first, end));
  } else if (NumberText::TextToFloat(word, number)) {
    // A literal that could not become its operand is refused here, marked.
    if (!TMathTokenOpDec::CanBeOperand(word)) throw TMathTokenException(3, first, end);
    Ptokenlist.push_back(std::make_unique<TMathTokenOpDec>(word, first, end));
  } else {
    throw TMathTokenException(3, first, end);
  }
  position = end;
  return true;
}

bool TQorvMathTokenList::LookUpVariable(const std::string& word, std::int32_t first,
                                        std::int32_t end, TNoScriptVariable& found) {
  QORV_ASSERT(Pexperiment!=0);
  TDataSingleList* singles = Pexperiment->GetDataSingleList();
  TDataArrayList* arrays = Pexperiment->GetDataArrayList();
  QORV_ASSERT(singles!=0);
  QORV_ASSERT(arrays!=0);
  std::vector<TData*> variables;

  const std::size_t bracket = word.find('[');
  if (bracket == std::string::npos) {
    singles->GetAll(variables);
    for (TData* variable : variables) {
      if (UpperCase(variable->GetDataName()) != word) continue;
      // A string variable is no operand.
      if (variable->GetDataType() != eatINTEGER && variable->GetDataType() != eatFLOAT)
        return false;
      found = TNoScriptVariable(variable);
      return true;
    }
    return false;
  }

  const std::size_t close = word.find(']');
  if (close == std::string::npos) throw TMathTokenException(16, first, end);
  const std::string name = word.substr(0, bracket);
  const std::string indexText = word.substr(bracket + 1, close - bracket - 1);
  arrays->GetAll(variables);
  TData* array = nullptr;
  for (TData* variable : variables) {
    // String arrays are refused as string variables are.
    if (variable->GetDataType() == eatSTRING) continue;
    if (UpperCase(variable->GetDataName()) == name) {
      array = variable;
      break;
    }
  }
  if (!array) throw TMathTokenException(3, first, end);

  found = TNoScriptVariable(array);
  std::int32_t index = 0;
  if (NumberText::TextToInt(indexText, index) && index >= 0) {
    if (array->GetSize() <= index) throw TMathTokenException(17, first, end);
    found.SetIndex(index);
    return true;
  }
  singles->GetAll(variables);
  for (TData* variable : variables) {
    if (variable->GetDataType() != eatINTEGER) continue;
    if (UpperCase(variable->GetDataName()) == indexText) {
      found.SetIndexVariable(static_cast<TDataSingle*>(variable));
      return true;
    }
  }
  throw TMathTokenException(16, first, end);
}
