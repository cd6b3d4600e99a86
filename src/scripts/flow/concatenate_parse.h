// The typed expression of a Concatenate command, split into parse pieces: literal text,
// and variables named between braces ("Temp={T} K", "{Data[3]}", "{Data[i]}"). The
// dialog splits the text, resolves the names and hands the pieces to the command.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TConcatenatePiece;
class TConcatenateScript;
class TData;
class TDataSingle;
class TExperiment;

class TParseString {
public:
  // Starts a piece with its first character: "{" opens a variable piece, ended by "}";
  // any other character a literal piece, ended by "{".
  explicit TParseString(char first);

  // Takes the next character; false when the piece ended before it (the character then
  // starts the next piece). A literal piece ends before a "{"; a variable piece takes
  // every character and ends with the "}" that closes its "{" (a "{" inside waits for
  // its own "}").
  bool AddChar(char character);
  // The text has ended. A variable piece whose "{" was never closed is literal text.
  void Finish();
  // Resolves the name of a variable piece among the experiment's variables (literal
  // pieces are left alone). A name that resolves to nothing leaves the piece without a
  // variable; with raise, std::runtime_error carries the reason for the user.
  void ParseConcatenateExpression(TExperiment& experiment, bool raise);
  // The command's piece: a variable piece bound to the resolved variable (element with
  // constant index or index variable for an array), else literal text as typed.
  std::unique_ptr<TConcatenatePiece> MakePiece(TConcatenateScript* owner) const;
  // When neither piece has a resolved variable, appends next's text to this one: true.
  bool Merge(const TParseString& next);

  std::string AsText;               // as typed, braces included for a variable piece
  char AcEndChar;                   // "{" for a literal piece, "}" for a variable piece
  bool AbIsVariable;                // began with "{" (and, once finished, closed)
  bool AbNested = false;            // a "{" inside a variable piece waits for its "}"
  TData* PdData = nullptr;          // the variable named, when resolved
  TDataSingle* PdDataIndex = nullptr;  // the integer variable indexing an array
  std::int32_t PiDataIndex = -1;    // the constant index of an array, -1 when none

private:
  // Resolution failed: the reason, thrown when raising.
  void Fail(bool raise, const std::string& reason);

  bool AbEnded = false;
};

using TParsePieces = std::vector<std::unique_ptr<TParseString>>;

// Splits the typed text into parse pieces, from the first character to the last.
TParsePieces SplitConcatenateExpression(const std::string& text);
// What the dialog's OK does with the text: splits it, resolves every piece (raising
// unless variable checking is disabled) and, with checking disabled, merges every piece
// without a variable into the piece before it when that has none either.
TParsePieces ParseConcatenation(const std::string& text, TExperiment& experiment, bool raise);
