#include "scripts/flow/concatenate_parse.h"

#include <stdexcept>
#include <utility>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/variable_data.h"
#include "scripts/flow/command_record.h"
#include "scripts/flow/concatenate_piece.h"
#include "scripts/flow/concatenate_script.h"

namespace {

// The first variable of the list whose name matches without regard to case; integer
// variables only when asked.
TData* FindVariable(const TDataList* list, const std::string& name, bool integerOnly) {
  if (!list) return nullptr;
  std::vector<TData*> variables;
  list->GetAll(variables);
  const std::string wanted = UpperText(name);
  for (TData* variable : variables)
    if (UpperText(variable->GetDataName()) == wanted &&
        (!integerOnly || variable->GetDataType() == eatINTEGER))
      return variable;
  return nullptr;
}

}  // namespace

TParseString::TParseString(char first)
    : AsText(1, first), AcEndChar(first == '{' ? '}' : '{'), AbIsVariable(first == '{') {}

bool TParseString::AddChar(char character) {
  if (AbEnded) return false;
  if (!AbIsVariable) {
    if (character == '{') {
      AbEnded = true;
      return false;
    }
    AsText += character;
    return true;
  }
  AsText += character;
  if (character == '{') {
    AbNested = true;
  } else if (character == '}') {
    if (AbNested)
      AbNested = false;
    else
      AbEnded = true;
  }
  return true;
}

void TParseString::Finish() {
  // An unclosed "{" names nothing: the piece stays the text as typed.
  if (AbIsVariable && !AbEnded) {
    AbIsVariable = false;
    AcEndChar = '{';
  }
  AbEnded = true;
}

void TParseString::Fail(bool raise, const std::string& reason) {
  PdData = nullptr;
  PdDataIndex = nullptr;
  PiDataIndex = -1;
  if (raise) throw std::runtime_error(reason);
}

void TParseString::ParseConcatenateExpression(TExperiment& experiment, bool raise) {
  if (!AbIsVariable) return;
  QORV_ASSERT(AsText.size()>=2);
  PdData = nullptr;
  PdDataIndex = nullptr;
  PiDataIndex = -1;
  const std::string inner = AsText.substr(1, AsText.size() - 2);
  const std::size_t bracket = inner.find('[');
  if (bracket == std::string::npos) {
    PdData = FindVariable(experiment.GetDataSingleList(), inner, false);
    if (!PdData) Fail(raise, inner + " is is not a variable.");
    return;
  }
  const std::string name = TrimText(inner.substr(0, bracket));
  TData* array = FindVariable(experiment.GetDataArrayList(), name, false);
  if (!array) return Fail(raise, name + " is is not a variable.");
  // Between the first "[" and the last character of the inner text.
  const std::string indextext =
      bracket + 2 <= inner.size() ? TrimText(inner.substr(bracket + 1, inner.size() - bracket - 2))
                                  : std::string();
  if (indextext.empty()) return Fail(raise, inner + ":You must specify an index.");
  std::int32_t index;
  if (NumberText::TextToInt(indextext, index) && index >= 0) {
    const std::int32_t size = array->GetSize();
    if (index >= size)
      return Fail(raise, "Index " + NumberText::IntToText(index) + " is outside the size of " +
                             array->GetDataName() + "[" + NumberText::IntToText(size) + "]");
    PdData = array;
    PiDataIndex = index;
    return;
  }
  auto* counter =
      static_cast<TDataSingle*>(FindVariable(experiment.GetDataSingleList(), indextext, true));
  if (!counter) return Fail(raise, indextext + " is an invalid index.");
  PdData = array;
  PdDataIndex = counter;
}

std::unique_ptr<TConcatenatePiece> TParseString::MakePiece(TConcatenateScript* owner) const {
  if (!PdData) return std::make_unique<TStringPiece>(owner, AsText);
  std::unique_ptr<TVariableData> reference = NewReference(owner, PdData->IsArray());
  reference->SetData(PdData);
  if (PdData->IsArray()) {
    TVariableArrayIndex& index = static_cast<TVariableDataArray&>(*reference).GetArrayIndex();
    if (PdDataIndex)
      index.SetIndexVariable(PdDataIndex);
    else
      index.SetIndexConstant(PiDataIndex);
  }
  return std::make_unique<TVariablePiece>(owner, std::move(reference));
}

bool TParseString::Merge(const TParseString& next) {
  if (PdData || next.PdData) return false;
  AsText += next.AsText;
  return true;
}

TParsePieces SplitConcatenateExpression(const std::string& text) {
  TParsePieces pieces;
  for (char character : text) {
    if (!pieces.empty() && pieces.back()->AddChar(character)) continue;
    if (!pieces.empty()) pieces.back()->Finish();
    pieces.push_back(std::make_unique<TParseString>(character));
  }
  if (!pieces.empty()) pieces.back()->Finish();
  return pieces;
}

TParsePieces ParseConcatenation(const std::string& text, TExperiment& experiment, bool raise) {
  TParsePieces pieces = SplitConcatenateExpression(text);
  for (const auto& piece : pieces) piece->ParseConcatenateExpression(experiment, raise);
  if (raise || pieces.size() < 2) return pieces;
  TParsePieces merged;
  for (auto& piece : pieces)
    if (merged.empty() || !merged.back()->Merge(*piece)) merged.push_back(std::move(piece));
  return merged;
}
