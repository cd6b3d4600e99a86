#include "scripts/flow/concatenate_copy.h"

#include <utility>

#include "model/assertion.h"
#include "model/variable_data.h"
#include "scripts/flow/concatenate_piece.h"
#include "scripts/flow/concatenate_script.h"
#include "scripts/flow/concatenate_string.h"

TCopyPiece::TCopyPiece(std::string text) : AText(std::move(text)) {}

TCopyPiece::TCopyPiece(std::unique_ptr<TCopyVariableData> variable)
    : Pcopyvariable(std::move(variable)) {
  QORV_ASSERT(Pcopyvariable!=0);
}

TCopyPiece::~TCopyPiece() = default;

TCopyConcatenate::TCopyConcatenate(TConcatenateScript& command)
    : TBlockCopyScript(command.Pblock),
      AbTrimResult(command.GetTrimResult()),
      AbDisableVariableCheck(command.GetDisableVariableCheck()),
      ANotation(command.GetNotation()),
      ADecimalPlaces(command.GetDecimalPlaces()) {
  QORV_ASSERT(command.GetVariable()!=0&&command.GetVariable()->GetData()!=0);
  Pcopyvariable.reset(command.GetVariable()->MakeCopy(this));
  if (TConcatenateString* pieces = command.GetConcatenateString())
    for (int i = 0; i < pieces->Count(); ++i) Pieces.push_back(pieces->Item(i)->MakeCopyPiece(this));
}

TCopyConcatenate::~TCopyConcatenate() {
  if (!ADisabled) TCopyConcatenate::Disable();
}

void TCopyConcatenate::Disable() {
  QORV_ASSERT(Pcopyvariable!=0);
  Pcopyvariable->Disable();
  for (auto& piece : Pieces)
    if (piece->Pcopyvariable) piece->Pcopyvariable->Disable();
  ADisabled = true;
}

void TCopyConcatenate::Enable() {
  QORV_ASSERT(Pcopyvariable!=0&&Pcopyvariable->Data!=0);
  Pcopyvariable->Enable();
  for (auto& piece : Pieces)
    if (piece->Pcopyvariable) piece->Pcopyvariable->Enable();
  ADisabled = false;
}

int TCopyConcatenate::GetScriptType() { return TScript::CONCATENATE; }

TData* TCopyConcatenate::GetTarget() const { return Pcopyvariable->Data; }
