// The ordered pieces of a Concatenate command's expression, owned by the command.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "scripts/flow/concatenate_parse.h"

class TConcatenatePiece;
class TConcatenateScript;
class TCopyConcatenate;
class TReadFile;
class TWriteFile;

class TConcatenateString {
public:
  explicit TConcatenateString(TConcatenateScript* owner);
  ~TConcatenateString();
  TConcatenateString(const TConcatenateString&) = delete;
  TConcatenateString& operator=(const TConcatenateString&) = delete;

  // The pieces' texts joined in order, variables formatted now.
  std::string BuildConcatenation();
  // Every piece checks what it read; EReadError for the first that lacks its variable.
  void CheckAfterRead();
  // Replaces the pieces by those made from the parse pieces.
  void SetPieces(const TParsePieces& pieces);
  // Replaces the pieces by those of the copy: literal texts, and variable pieces bound
  // as the copied ones were (each copy must name its variable).
  void SetFromCopy(const TCopyConcatenate& copy);
  // int32 number of pieces, then per piece int32 kind (1 variable, 0 literal) and the
  // piece's record. Loading replaces the pieces; EReadError for a damaged record.
  void Load(TReadFile& reader);
  void Save(TWriteFile& writer);
  // The pieces' expression texts joined in order.
  std::string GetExpressionText();

  int Count() const { return static_cast<int>(Pieces.size()); }
  TConcatenatePiece* Item(int index) const {
    return Pieces.at(static_cast<std::size_t>(index)).get();
  }

private:
  TConcatenateScript* Powner;
  std::vector<std::unique_ptr<TConcatenatePiece>> Pieces;
};
