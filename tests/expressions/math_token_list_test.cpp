// The expression tokenizer: numbered errors with their places in the text without
// blanks, the reverse-Polish order with the usual grouping, literals, variables and
// array elements, and the texts the tokens give the expression.
#include "expressions/math_token_list.h"

#include "expression_fixture.h"
#include "model/number_text.h"

namespace expr_test {
namespace {

struct TFault {
  int Code;
  std::string Message;
  int Start, Length;
  bool operator==(const TFault&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TFault& fault) {
  return out << "{" << fault.Code << ", \"" << fault.Message << "\", " << fault.Start << ", "
             << fault.Length << "}";
}

TFault Fault(int code, int start, int length) {
  return {code, "Error :" + TMathTokenException::TextOf(static_cast<std::uint8_t>(code)), start,
          length};
}

class TokenizerTest : public ExpressionTest {
protected:
  void SetUp() override {
    ExpressionTest::SetUp();
    Single("A", eatINTEGER, "3");
    Single("B", eatINTEGER, "4");
    Single("I", eatINTEGER, "1");
    Single("F", eatFLOAT, "0.5");
    Single("S", eatSTRING, "text");
    Single("X1E", eatINTEGER, "10");
    Array("ARR", eatINTEGER, 4);
    Array("FARR", eatFLOAT, 3);
    Array("SARR", eatSTRING, 3);
  }

  // The fault a text is refused with; code -1 when it is accepted.
  TFault FaultOf(const std::string& text) {
    try {
      Compile(text);
    } catch (const TMathTokenException& error) {
      return {error.GetCode(), error.GetMessage(), error.GetStart(), error.GetLength()};
    }
    return {-1, "", 0, 0};
  }

  // The reverse-Polish tokens: literals as written, variables by name, operators by
  // symbol, unary operators by name, functions with their argument in brackets.
  static std::string Order(const std::vector<TQorvMathToken*>& tokens) {
    std::string text;
    for (TQorvMathToken* token : tokens) {
      if (!text.empty()) text += " ";
      if (auto* op = dynamic_cast<TQorvTokenDecimalOp*>(token))
        text += SymbolOfEntry(DecimalOperatorTable[op->GetCode()]);
      else if (auto* bop = dynamic_cast<TQorvTokenBinaryOp*>(token))
        text += SymbolOfEntry(BinaryOperatorTable[bop->GetCode()]);
      else if (auto* unary = dynamic_cast<TQorvTokenUnaryOperator*>(token))
        text += unary->GetKind() == TQorvTokenUnaryOperator::NEGATE ? "Negate" : "NOT";
      else if (auto* variable = dynamic_cast<TMathTokenOpVar*>(token))
        text += variable->GetVariable().Data->GetDataName();
      else if (auto* function = dynamic_cast<TQorvTokenFunction*>(token)) {
        std::vector<TQorvMathToken*> argument;
        for (const auto& inner : function->GetArgumentTokens()) argument.push_back(inner.get());
        text += std::string(FunctionTable[function->GetCode()]) + "[" + Order(argument) + "]";
      } else
        text += token->GetDescription();
    }
    return text;
  }
  std::string Order(const std::string& text) {
    TQorvMathTokenList tokenizer(Exp.get());
    TMathExpression expression(Cmd);
    std::vector<TMathTokenRP*> tokens;
    tokenizer.Tokenize(true, text, &expression, &tokens);
    return Order(std::vector<TQorvMathToken*>(tokens.begin(), tokens.end()));
  }
};

const TFault Accepted{-1, "", 0, 0};

TEST_F(TokenizerTest, FaultsHaveTheirNumberTextAndPlace) {
  const struct { const char* Text; TFault Expected; } cases[] = {
      {"", Fault(0, -1, 0)},     {"   ", Fault(0, -1, 0)},
      {"\t", Fault(0, -1, 0)},   // control characters are trimmed for this test
      {"\t1", Fault(2, 0, 1)},   // but stay in the text
      {")", Fault(2, 0, 1)},     {"#", Fault(2, 0, 1)},
      {"SIN", Fault(3, 0, 3)},   // no call: a name, and none is known
      {"s + 1", Fault(3, 0, 1)},  // string variables are no operands
      {"SARR[0]", Fault(3, 0, 7)},  // nor are elements of string arrays
      {"QQ[0]", Fault(3, 0, 5)},
      {"A[0]", Fault(3, 0, 4)},  // a single variable is no array
      {"0X", Fault(3, 0, 2)},    {"1.2.3", Fault(3, 0, 5)},
      {"1+1E+", Fault(3, 2, 3)}, {"sin 1", Fault(3, 0, 4)},  // no call without "("
      {"A<B", Fault(4, 1, 0)},   {"A>", Fault(4, 1, 0)},
      {"(1))", Fault(5, 3, 1)},  {"((1)", Fault(5, -2, 0)},
      {"SIN(", Fault(5, -2, 0)}, {"-0X1F", Fault(6, 1, 4)},
      {"0X1F", Fault(6, 0, 4)},  {"binary(3)", Fault(6, 0, 6)},
      {"float(~0X1)+~0X1", Fault(6, 12, 1)},
      {"float(0X1<<2)", Fault(7, 11, 1)},
      {"float (A << 0X2)", Fault(7, 6, 1)},
      {"float(-0X1)", Fault(7, 6, 1)},
      {"float(sin(0X1))", Fault(7, 6, 3)},
      {"()", Fault(8, 1, 1)},    {"(+1)", Fault(8, 1, 1)},
      {"(1)2", Fault(9, 3, 1)},  {"--2", Fault(10, 1, 1)},
      {"-)", Fault(10, 1, 1)},   {"A(", Fault(11, 1, 1)},
      {"2 3(", Fault(11, 2, 1)},  // "23" is one literal
      {"1\t", Fault(11, 1, 1)},  {"1+)", Fault(12, 2, 1)},
      {"2**", Fault(12, 2, 1)},  // "**" needs something after it
      {"SIN()", Fault(13, 4, 1)}, {"SIN(*2)", Fault(13, 4, 1)},
      {"2*", Fault(14, 1, 1)},   {"-", Fault(14, 0, 1)},
      {"ARR[-1]", Fault(16, 0, 4)},  // the word stops before "-"
      {"ARR[2", Fault(16, 0, 5)},
      {"ARR[F]", Fault(16, 0, 6)},  // only integer variables index
      {"ARR[Q]", Fault(16, 0, 6)}, {"ARR[]", Fault(16, 0, 5)},
      {"1+ARR[4]", Fault(17, 2, 6)}, {"FARR[3]", Fault(17, 0, 7)},
      // Literals that could not become their operands are refused where they stand.
      {"2147483648", Fault(3, 0, 10)}, {"1+99999999999", Fault(3, 2, 11)},
      {"1E39*2", Fault(3, 0, 4)},      {"3.5E38", Fault(3, 0, 6)},
      {"1,5", Fault(3, 0, 3)},  // no number with "." as separator
      {"2147483647", Accepted}, {"3.4E38", Accepted},
      {"1E-50", Accepted},  // too small is zero
  };
  for (const auto& c : cases) EXPECT_EQ(FaultOf(c.Text), c.Expected) << '"' << c.Text << '"';
  // With a decimal comma "1,5" is a number, but one without "." or "E" would have to be
  // an integer.
  NumberText::SetDecimalSeparator(',');
  const TFault comma = FaultOf("2+1,5"), exponent = FaultOf("1,5E1");
  NumberText::SetDecimalSeparator('.');
  EXPECT_EQ(comma, Fault(3, 2, 3));
  EXPECT_EQ(exponent, Accepted);

  // Codes the scanner never raises keep their texts; above 17 "Error :" stands alone.
  EXPECT_EQ(TMathTokenException(1, 0, 0).GetMessage(), "Error :Hex values cannot be negative.");
  EXPECT_EQ(TMathTokenException(15, -1, -1).GetMessage(), "Error :Function is empty.");
  EXPECT_EQ(TMathTokenException(15, -1, -1).GetStart(), -2);
  EXPECT_EQ(TMathTokenException(18, 1, 1).GetMessage(), "Error :");
  // The texts, exactly (those of codes 10 and 13 end without a full stop).
  const char* const texts[] = {
      "No expression to evaluate.", "Hex values cannot be negative.",
      "Expressions has a bad beginning.", "Invalid String.", "Invalid Shift symbol.",
      "Uneven Parenthesis.", "Binary cannot be used here.", "Decimal cannot be used here.",
      "Open parenthesis cannot follow an operand or a Close paren.",
      "Close parenthesis cannot follow an operator or an Open paren.",
      "Unary operator can only follow an operator or an Open paren",
      "Operands cannot follow another operand, a Close paren or a function.",
      "Operators can only follow operands and close parens.",
      "Functions can only follow operators and open parens", "Expression has bad end.",
      "Function is empty.", "Array element badly defined.", "Array element out of bounds.",
  };
  for (std::uint8_t code = 0; code < 18; ++code)
    EXPECT_EQ(TMathTokenException::TextOf(code), texts[code]) << int(code);
}

TEST_F(TokenizerTest, ReversePolishOrderGroupsAsUsual) {
  const struct { const char* Text; const char* Order; } cases[] = {
      {"2*3+4", "2 3 * 4 +"},       {"2+3*4", "2 3 4 * +"},
      {"2*3*4+1", "2 3 * 4 * 1 +"}, {"8-4+2", "8 4 - 2 +"},
      {"8-4-2", "8 4 - 2 -"},       {"8/4*2", "8 4 / 2 *"},
      {"8-(4+2)", "8 4 2 + -"},     {"2**3*2", "2 3 ** 2 *"},
      {"2*3**2", "2 3 2 ** *"},     {"2**3**2", "2 3 2 ** **"},
      {"-2**2", "2 Negate 2 **"},   {"2**-3**2", "2 3 Negate 2 ** **"},
      {"2*-3+1", "2 3 Negate * 1 +"}, {"-(A+B)", "A B + Negate"},
      {"((1))", "1"},               {"float(0X1<<0X2|0X3)", "float[0X1 0X2 << 0X3 |]"},
      {"float(0X1|0X2&0X3)", "float[0X1 0X2 0X3 & |]"},
      {"float(0X1^0X2|0X3^0X4)", "float[0X1 0X2 ^ 0X3 0X4 ^ |]"},
      {"float(0X10>>0X1<<0X2)", "float[0X10 0X1 >> 0X2 <<]"},
      {"float(~0X1&0X3)", "float[0X1 NOT 0X3 &]"},
      {"sin(1+2)*3", "sin[1 2 +] 3 *"},
      {"float(binary(A*2)&0XF)+1", "float[binary[A 2 *] 0XF &] 1 +"},
      {"ARR[I]-ARR[2]", "ARR ARR -"},
      // Blanks vanish before scanning and case does not matter; a name that reads like
      // a number hides the number; an exponent's sign joins a number, not a name.
      {"a b", "AB"},                {"1 2+12", "12 12 +"},
      {"1.5E-3", "1.5E-3"},         {"X1E-3", "X1E 3 -"},
  };
  Single("AB", eatINTEGER, "7");
  Single("12", eatINTEGER, "5");
  for (const auto& c : cases) EXPECT_EQ(Order(c.Text), c.Order) << c.Text;
  EXPECT_EQ(Value("1 2+12"), 10.0f);
}

TEST_F(TokenizerTest, TheExpressionReceivesTheTypedTexts) {
  Single("Volts", eatFLOAT, "1.5");
  TCompiled& compiled = Compile("float( 0x1f )+volts*2- sin(arr[ i ])+1.5e-3");
  EXPECT_EQ(compiled.Text->GetText(), "float(0X1F)+Volts*2-sin(ARR[I])+1.5E-3");
  EXPECT_EQ(Compile("- arr[3] ** 2").Text->GetText(), "-ARR[3]**2");
  EXPECT_EQ(Compile("float(~0x1 << 0X2)").Text->GetText(), "float(~0X1<<0X2)");
}

}  // namespace
}  // namespace expr_test
