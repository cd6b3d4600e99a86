// The parse tokens of an expression: operands, operators, unary operators, functions
// and parentheses. Each knows its place in the text (1-based, in the text without
// blanks), checks the data type of its context and the kind of the token before it, adds
// its text to the expression text, and makes its run-time object. Also the conversion
// of a token list into reverse-Polish order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAttributeScript;
class TData;
class TDataSingle;
class TMathExpression;
class TQorvMath;

// Token kinds.
enum TMathTokenType : std::uint8_t {
  mmtOPERATOR = 0,
  mmtUNARYOP = 1,
  mmtOPERAND = 2,
  mmtOPEN = 3,
  mmtCLOSE = 4,
  mmtFUNCTION = 5,
};

// Data types of a context: binary patterns or decimal values; parentheses take either.
enum TMathDataType : std::int8_t { dtEITHER = -1, dtBINARY = 0, dtDEC = 1 };

// Decimal operator codes (index in the decimal table).
enum TDecimalOperator : std::uint8_t { dopADD, dopSUBTRACT, dopMULTIPLY, dopDIVIDE, dopEXP };
// Binary operator codes (index in the binary table).
enum TBinaryOperatorCode : std::uint8_t { bopOR, bopXOR, bopAND, bopRIGHT, bopLEFT };
// Function codes (index in the function table).
enum TFunctionCode : std::uint8_t {
  fnSIN, fnCOS, fnTAN, fnEXP, fnLN, fnLOG, fnSQRT, fnABS, fnFLOAT, fnBINARY, fnLAST = fnBINARY
};

// The name tables; an entry's index is its code. Operator entries read name=symbol.
extern const char* const DecimalOperatorTable[5];
extern const char* const BinaryOperatorTable[5];
extern const char* const FunctionTable[10];
// The symbol of an operator entry ("+" of "Add=+"), and its name ("Add").
std::string SymbolOfEntry(const char* entry);
std::string NameOfEntry(const char* entry);

// What the variable lookup found: a single variable, or an array with a constant
// element index or an index variable (exactly one of the two).
struct TNoScriptVariable {
  explicit TNoScriptVariable(TData* data) : Data(data) {}
  // An index of 0 or more clears the index variable.
  void SetIndex(std::int32_t index);
  // An index variable sets the constant index to -1.
  void SetIndexVariable(TDataSingle* variable);

  TData* Data;
  std::int32_t Index = -1;
  TDataSingle* IndexVariable = nullptr;
};

class TQorvMathToken {
public:
  TQorvMathToken(std::int32_t first, std::int32_t end) : First(first), End(end) {}
  virtual ~TQorvMathToken() = default;
  TQorvMathToken(const TQorvMathToken&) = delete;
  TQorvMathToken& operator=(const TQorvMathToken&) = delete;

  // Checks the context's data type and may change it; codes 6 and 7.
  virtual void CheckDataType(std::int8_t& dataType) = 0;
  // Checks the token before it (none for the first); codes 8 to 13.
  virtual void CheckSuccession(const TQorvMathToken* before) = 0;
  virtual bool CanEndExpression() const = 0;
  // Lying on the operator stack: must this token go to the output before the incoming
  // operator or unary operator is stacked?
  virtual bool HasPrecedenceOver(const TQorvMathToken& incoming) const = 0;
  virtual void AddToExpression(TMathExpression& expression) = 0;
  virtual std::uint8_t GetMathTokenType() const = 0;
  virtual std::int8_t GetDataType() const = 0;
  virtual std::string GetDescription() const = 0;

  std::int32_t GetFirst() const { return First; }
  std::int32_t GetEnd() const { return End; }

protected:
  // Throws the exception of the code covering this token.
  [[noreturn]] void Fail(std::uint8_t code) const;

  std::int32_t First;
  std::int32_t End;
};

class TQorvTokenFunction;
class TMathTokenCloseParen;

class TMathTokenOpenParen : public TQorvMathToken {
public:
  TMathTokenOpenParen(TQorvTokenFunction* function, std::int32_t first, std::int32_t end)
      : TQorvMathToken(first, end), Function(function) {}
  void CheckDataType(std::int8_t& dataType) override;
  void CheckSuccession(const TQorvMathToken* before) override;
  bool CanEndExpression() const override { return false; }
  bool HasPrecedenceOver(const TQorvMathToken&) const override { return false; }
  void AddToExpression(TMathExpression& expression) override;
  std::uint8_t GetMathTokenType() const override { return mmtOPEN; }
  std::int8_t GetDataType() const override { return dtEITHER; }
  std::string GetDescription() const override { return "open paren: ("; }

  // Links the close parenthesis, once.
  void SetCloseParen(TMathTokenCloseParen* close);
  TMathTokenCloseParen* GetCloseParen() const { return Close; }
  TQorvTokenFunction* GetFunction() const { return Function; }

private:
  TQorvTokenFunction* Function;
  TMathTokenCloseParen* Close = nullptr;
};

class TMathTokenCloseParen : public TQorvMathToken {
public:
  using TQorvMathToken::TQorvMathToken;
  void CheckDataType(std::int8_t& dataType) override;
  void CheckSuccession(const TQorvMathToken*) override {}
  bool CanEndExpression() const override { return true; }
  bool HasPrecedenceOver(const TQorvMathToken&) const override { return false; }
  void AddToExpression(TMathExpression& expression) override;
  std::uint8_t GetMathTokenType() const override { return mmtCLOSE; }
  std::int8_t GetDataType() const override { return dtEITHER; }
  std::string GetDescription() const override { return "close paren: )"; }

  // Links the open parenthesis, once.
  void SetOpenParen(TMathTokenOpenParen* open);
  TMathTokenOpenParen* GetOpenParen() const { return AOpenParen; }

private:
  TMathTokenOpenParen* AOpenParen = nullptr;
};

// Tokens that survive into the reverse-Polish list and make run-time objects.
class TMathTokenRP : public TQorvMathToken {
public:
  using TQorvMathToken::TQorvMathToken;
  // The new run-time object for the owner. A literal that cannot become an operand
  // throws TMathTokenException (code 3) covering it.
  virtual std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) = 0;
};

class TQorvTokenOperand : public TMathTokenRP {
public:
  using TMathTokenRP::TMathTokenRP;
  void CheckSuccession(const TQorvMathToken* before) override;
  bool CanEndExpression() const override { return true; }
  bool HasPrecedenceOver(const TQorvMathToken&) const override { return false; }
  std::uint8_t GetMathTokenType() const override { return mmtOPERAND; }
};

// A decimal literal ("12", "1.5E-3").
class TMathTokenOpDec : public TQorvTokenOperand {
public:
  TMathTokenOpDec(std::string text, std::int32_t first, std::int32_t end)
      : TQorvTokenOperand(first, end), AOperand(std::move(text)) {}
  void CheckDataType(std::int8_t& dataType) override;
  void AddToExpression(TMathExpression& expression) override;
  std::int8_t GetDataType() const override { return dtDEC; }
  std::string GetDescription() const override { return AOperand; }
  // A float operand when the text holds "." or "E", else an integer operand.
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;
  const std::string& GetText() const { return AOperand; }

  // Can the literal text become an operand: a float within single precision, or an
  // integer within 32 bits.
  static bool CanBeOperand(const std::string& text);

private:
  std::string AOperand;
};

// A hexadecimal literal ("0X1F").
class TMathTokenOpHex : public TQorvTokenOperand {
public:
  TMathTokenOpHex(std::string text, std::int32_t first, std::int32_t end)
      : TQorvTokenOperand(first, end), AOperand(std::move(text)) {}
  void CheckDataType(std::int8_t& dataType) override;
  void AddToExpression(TMathExpression& expression) override;
  std::int8_t GetDataType() const override { return dtBINARY; }
  std::string GetDescription() const override { return AOperand; }
  // A binary operand: the digits' low 32 bits (all ones beyond 16 significant digits).
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;

  // The value of the digits after "0X".
  static std::uint32_t ValueOf(const std::string& text);

private:
  std::string AOperand;
};

// A single variable or an array element.
class TMathTokenOpVar : public TQorvTokenOperand {
public:
  TMathTokenOpVar(const TNoScriptVariable& variable, std::int32_t first, std::int32_t end)
      : TQorvTokenOperand(first, end), Pvariable(variable) {}
  void CheckDataType(std::int8_t& dataType) override;
  void AddToExpression(TMathExpression& expression) override;
  std::int8_t GetDataType() const override { return dtDEC; }
  std::string GetDescription() const override;
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;
  const TNoScriptVariable& GetVariable() const { return Pvariable; }

private:
  TNoScriptVariable Pvariable;
};

class TQorvTokenOperator : public TMathTokenRP {
public:
  TQorvTokenOperator(std::uint8_t code, std::int32_t first, std::int32_t end)
      : TMathTokenRP(first, end), Code(code) {}
  void CheckSuccession(const TQorvMathToken* before) override;
  bool CanEndExpression() const override { return false; }
  std::uint8_t GetMathTokenType() const override { return mmtOPERATOR; }
  std::uint8_t GetCode() const { return Code; }
  // Binding strength among operators of the same side: higher binds tighter.
  virtual int Level() const = 0;
  virtual bool GroupsFromRight() const { return false; }

protected:
  std::uint8_t Code;
};

// + - * / **: "**" binds tighter than "*" and "/" and groups from the right; the others
// group from the left.
class TQorvTokenDecimalOp : public TQorvTokenOperator {
public:
  using TQorvTokenOperator::TQorvTokenOperator;
  void CheckDataType(std::int8_t& dataType) override;
  bool HasPrecedenceOver(const TQorvMathToken& incoming) const override;
  void AddToExpression(TMathExpression& expression) override;
  std::int8_t GetDataType() const override { return dtDEC; }
  std::string GetDescription() const override { return NameOfEntry(DecimalOperatorTable[Code]); }
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;
  int Level() const override;
  bool GroupsFromRight() const override { return Code == dopEXP; }
};

// | ^ & >> <<: ">>" and "<<" bind tightest, then "&", "^", "|"; all group from the left.
class TQorvTokenBinaryOp : public TQorvTokenOperator {
public:
  using TQorvTokenOperator::TQorvTokenOperator;
  void CheckDataType(std::int8_t& dataType) override;
  bool HasPrecedenceOver(const TQorvMathToken& incoming) const override;
  void AddToExpression(TMathExpression& expression) override;
  std::int8_t GetDataType() const override { return dtBINARY; }
  std::string GetDescription() const override { return NameOfEntry(BinaryOperatorTable[Code]); }
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;
  int Level() const override;
};

// Negate ("-", decimal) or NOT ("~", binary); binds tighter than every operator.
class TQorvTokenUnaryOperator : public TMathTokenRP {
public:
  enum : std::uint8_t { NEGATE = 0, NOT = 1 };
  TQorvTokenUnaryOperator(std::uint8_t kind, std::int32_t first, std::int32_t end)
      : TMathTokenRP(first, end), Kind(kind) {}
  void CheckDataType(std::int8_t& dataType) override;
  void CheckSuccession(const TQorvMathToken* before) override;
  bool CanEndExpression() const override { return false; }
  bool HasPrecedenceOver(const TQorvMathToken&) const override { return true; }
  void AddToExpression(TMathExpression& expression) override;
  std::uint8_t GetMathTokenType() const override { return mmtUNARYOP; }
  std::int8_t GetDataType() const override { return Kind == NEGATE ? dtDEC : dtBINARY; }
  std::string GetDescription() const override {
    return Kind == NEGATE ? "Unary Negate" : "Unary NOT";
  }
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;
  std::uint8_t GetKind() const { return Kind; }

private:
  std::uint8_t Kind;
};

using TMathTokenList = std::vector<std::unique_ptr<TQorvMathToken>>;

class TQorvTokenFunction : public TMathTokenRP {
public:
  TQorvTokenFunction(std::uint8_t code, bool radians, std::int32_t first, std::int32_t end)
      : TMathTokenRP(first, end), Code(code), Radians(radians) {}
  void CheckDataType(std::int8_t& dataType) override;
  void CheckSuccession(const TQorvMathToken* before) override;
  bool CanEndExpression() const override { return false; }
  bool HasPrecedenceOver(const TQorvMathToken&) const override { return false; }
  void AddToExpression(TMathExpression& expression) override;
  std::uint8_t GetMathTokenType() const override { return mmtFUNCTION; }
  // "binary" gives a binary value, every other function a decimal one.
  std::int8_t GetDataType() const override { return Code == fnBINARY ? dtBINARY : dtDEC; }
  // "float" takes a binary argument, every other function a decimal one.
  std::int8_t GetArgumentType() const { return Code == fnFLOAT ? dtBINARY : dtDEC; }
  std::string GetDescription() const override;
  // The argument's list, then the function holding it.
  std::unique_ptr<TQorvMath> CreateMathObject(TAttributeScript* owner) override;

  // Links the open parenthesis that follows the name, once.
  void SetOpenParen(TMathTokenOpenParen* open);
  TMathTokenOpenParen* GetOpenParen() const { return AOpenParen; }
  // Moves the tokens between the parentheses out of the list into the argument and
  // converts them; the parentheses are deleted. False when the argument is empty (then
  // nothing is changed) or a function inside it has an empty argument.
  bool TakeArgument(TMathTokenList& list, std::size_t openIndex);
  const TMathTokenList& GetArgumentTokens() const { return Prpfunctionlist; }
  std::uint8_t GetCode() const { return Code; }
  bool IsRadians() const { return Radians; }

private:
  TMathTokenList Prpfunctionlist;
  std::uint8_t Code;
  bool Radians;
  TMathTokenOpenParen* AOpenParen = nullptr;
};

// Converts the tokens, in text order, to reverse-Polish order in place; function tokens
// take their arguments. False when some function's argument is empty.
bool ConvertToReversePolish(TMathTokenList& list);
