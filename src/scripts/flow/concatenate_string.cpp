#include "scripts/flow/concatenate_string.h"

#include <utility>

#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"
#include "scripts/flow/concatenate_copy.h"
#include "scripts/flow/concatenate_piece.h"
#include "scripts/flow/concatenate_script.h"

namespace {
enum TPieceKind : std::int32_t { pkLITERAL = 0, pkVARIABLE = 1 };
// The smallest piece record with its kind: an int32 and an empty string's count.
constexpr std::size_t SmallestPiece = 8;
}  // namespace

TConcatenateString::TConcatenateString(TConcatenateScript* owner) : Powner(owner) {
  QORV_ASSERT(owner!=0);
}

TConcatenateString::~TConcatenateString() = default;

std::string TConcatenateString::BuildConcatenation() {
  std::string text;
  for (const auto& piece : Pieces) text += piece->GetText();
  return text;
}

void TConcatenateString::CheckAfterRead() {
  for (const auto& piece : Pieces) piece->CheckAfterRead();
}

void TConcatenateString::SetPieces(const TParsePieces& pieces) {
  std::vector<std::unique_ptr<TConcatenatePiece>> made;
  made.reserve(pieces.size());
  for (const auto& piece : pieces) made.push_back(piece->MakePiece(Powner));
  Pieces.swap(made);
}

void TConcatenateString::SetFromCopy(const TCopyConcatenate& copy) {
  std::vector<std::unique_ptr<TConcatenatePiece>> made;
  made.reserve(copy.GetPieces().size());
  for (const auto& piece : copy.GetPieces()) {
    if (!piece->IsVariable()) {
      made.push_back(std::make_unique<TStringPiece>(Powner, piece->AText));
      continue;
    }
    TData* data = piece->Pcopyvariable->Data;
    QORV_ASSERT_AS(data!=0, "copypiece->Pcopyvariable->Data!=0");
    std::unique_ptr<TVariableData> reference = NewReference(Powner, data->IsArray());
    piece->Pcopyvariable->SetUpVariable(reference.get());
    made.push_back(std::make_unique<TVariablePiece>(Powner, std::move(reference)));
  }
  Pieces.swap(made);
}

void TConcatenateString::Load(TReadFile& reader) {
  const std::int32_t count = reader.ReadCount(SmallestPiece);
  // Read pieces stay with the command even when a later one fails: their references
  // wait in the reader's list.
  Pieces.clear();
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t kind;
    reader.ReadInteger(kind);
    std::unique_ptr<TConcatenatePiece> piece;
    if (kind == pkVARIABLE)
      piece = std::make_unique<TVariablePiece>(Powner);
    else if (kind == pkLITERAL)
      piece = std::make_unique<TStringPiece>(Powner);
    else
      throw EReadError("Unknown piece in a Concatenate script...aborting read");
    Pieces.push_back(std::move(piece));
    Pieces.back()->Load(reader);
  }
}

void TConcatenateString::Save(TWriteFile& writer) {
  writer.WriteInteger(static_cast<std::int32_t>(Pieces.size()));
  for (const auto& piece : Pieces) {
    writer.WriteInteger(piece->IsVariable() ? pkVARIABLE : pkLITERAL);
    piece->Save(writer);
  }
}

std::string TConcatenateString::GetExpressionText() {
  std::string text;
  for (const auto& piece : Pieces) text += piece->GetExpressionText();
  return text;
}
