// The expression tokenizer: turns the text of a Calculate expression into validated
// parse tokens in reverse-Polish order, or rejects it with a numbered error naming the
// fault, where it lies and how long it is. Names are looked up in the experiment's
// single and array variable lists.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "expressions/parse_tokens.h"

class TExperiment;
class TMathExpression;

// A rejected expression. Positions refer to the text with its blanks removed.
class TMathTokenException : public std::exception {
public:
  // code: the error number (texts below; above 17 none); first: the 1-based position of
  // the fault's first character; end: one past its last.
  TMathTokenException(std::uint8_t code, std::int32_t first, std::int32_t end);

  const char* what() const noexcept override { return Message.c_str(); }
  // "Error :" followed by the text of the code.
  const std::string& GetMessage() const { return Message; }
  std::uint8_t GetCode() const { return Code; }
  // 0-based start of the fault (-1 or -2 when it has no place), and its length.
  std::int32_t GetStart() const { return Start; }
  std::int32_t GetLength() const { return Length; }

  // The text of an error code; empty above 17.
  static std::string TextOf(std::uint8_t code);

private:
  std::string Message;
  std::uint8_t Code;
  std::int32_t Start;
  std::int32_t Length;
};

class TQorvMathTokenList {
public:
  explicit TQorvMathTokenList(TExperiment* experiment);
  ~TQorvMathTokenList();
  TQorvMathTokenList(const TQorvMathTokenList&) = delete;
  TQorvMathTokenList& operator=(const TQorvMathTokenList&) = delete;

  void SetExperiment(TExperiment* experiment) { Pexperiment = experiment; }

  // Fills output with the tokens of the text in reverse-Polish order, which this
  // tokenizer keeps owning until its next Tokenize; the expression receives one text per
  // token, in typed order. The trigonometric functions take their argument in radians
  // when the flag is set, else in degrees. Throws TMathTokenException.
  void Tokenize(bool radians, const std::string& text, TMathExpression* expression,
                std::vector<TMathTokenRP*>* output);

  // The text the positions refer to: upper case, blanks deleted.
  static std::string Normalise(const std::string& text);

private:
  // The scanners: each makes its token(s) at the position and moves past them, or
  // answers false.
  bool ScanUnaryOperator(const std::string& text, std::int32_t& position);
  bool ScanOperator(const std::string& text, std::int32_t& position);
  bool ScanOpenParen(const std::string& text, std::int32_t& position);
  bool ScanCloseParen(const std::string& text, std::int32_t& position);
  bool ScanFunction(const std::string& text, std::int32_t& position, bool radians);
  bool ScanOperand(const std::string& text, std::int32_t& position);
  // The variable or array element a word names; throws codes 3, 16 and 17.
  bool LookUpVariable(const std::string& word, std::int32_t first, std::int32_t end,
                      TNoScriptVariable& found);

  TMathTokenList Ptokenlist;
  std::int32_t OpenCount = 0;
  std::int32_t CloseCount = 0;
  TExperiment* Pexperiment;
};
