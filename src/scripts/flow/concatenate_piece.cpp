#include "scripts/flow/concatenate_piece.h"

#include <utility>

#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"
#include "scripts/flow/concatenate_copy.h"
#include "scripts/flow/concatenate_script.h"

namespace {
const char* const NotDefined =
    "Concatenate script variable or variable data not defined...aborting read";
}  // namespace

void RequireElement(TVariableData& reference) {
  auto* array = dynamic_cast<TVariableDataArray*>(&reference);
  if (!array || !array->GetArrayIndex().IsEntireArray()) return;
  const TData* data = array->GetData();
  throw EExperimentError("The Concatenate script needs an element of the array " +
                         (data ? data->GetDataName() : std::string()) + ", not the whole array.");
}

// TConcatenatePiece

TConcatenatePiece::TConcatenatePiece(TConcatenateScript* owner) : PsOwner(owner) {
  QORV_ASSERT(owner!=0);
}

// TStringPiece

TStringPiece::TStringPiece(TConcatenateScript* owner, std::string text)
    : TConcatenatePiece(owner), AText(std::move(text)) {}

std::unique_ptr<TCopyPiece> TStringPiece::MakeCopyPiece(TCopyScript*) {
  return std::make_unique<TCopyPiece>(AText);
}

void TStringPiece::Load(TReadFile& reader) { AText = reader.ReadString(); }

void TStringPiece::Save(TWriteFile& writer) { writer.WriteString(AText); }

// TVariablePiece

TVariablePiece::TVariablePiece(TConcatenateScript* owner) : TConcatenatePiece(owner) {}

TVariablePiece::TVariablePiece(TConcatenateScript* owner, std::unique_ptr<TVariableData> reference)
    : TConcatenatePiece(owner), Pvariable(std::move(reference)) {
  QORV_ASSERT(Pvariable!=0);
}

TVariablePiece::~TVariablePiece() = default;

std::string TVariablePiece::GetText() {
  if (!Pvariable || !Pvariable->GetData()) return std::string();
  RequireElement(*Pvariable);
  return Pvariable->GetValueFormatted(PsOwner->GetNotation(), PsOwner->GetDecimalPlaces());
}

void TVariablePiece::CheckAfterRead() {
  if (!Pvariable || !Pvariable->GetData()) throw EReadError(NotDefined);
}

void TVariablePiece::Load(TReadFile& reader) {
  QORV_ASSERT(Pvariable==0);  // a piece is read once, when it is made
  Pvariable = LoadReference(reader, PsOwner);
}

void TVariablePiece::Save(TWriteFile& writer) {
  QORV_ASSERT(Pvariable!=0);
  SaveReference(writer, *Pvariable);
}

std::string TVariablePiece::GetExpressionText() {
  if (!Pvariable || !Pvariable->GetData()) return std::string();
  std::string text = "{";
  text += Pvariable->GetDescription();
  return text + "}";
}

std::unique_ptr<TCopyPiece> TVariablePiece::MakeCopyPiece(TCopyScript* owner) {
  QORV_ASSERT(Pvariable!=0&&Pvariable->GetData()!=0);
  return std::make_unique<TCopyPiece>(std::unique_ptr<TCopyVariableData>(Pvariable->MakeCopy(owner)));
}
