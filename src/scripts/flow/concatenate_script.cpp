#include "scripts/flow/concatenate_script.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/command_record.h"
#include "scripts/flow/concatenate_copy.h"
#include "scripts/flow/concatenate_piece.h"
#include "scripts/flow/concatenate_string.h"

namespace {
const char* const NotDefined =
    "Concatenate script variable or variable data not defined...aborting read";
}  // namespace

TConcatenateScript::TConcatenateScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

// The members go first: their references leave their variables while the command is
// still whole.
TConcatenateScript::~TConcatenateScript() = default;

TConcatenateString& TConcatenateScript::Pieces() {
  if (!PcsString) PcsString = std::make_unique<TConcatenateString>(this);
  return *PcsString;
}

std::string TConcatenateScript::Concatenate() {
  if (!Pvariable || !Pvariable->GetData())
    throw EExperimentError("The Concatenate script has no variable to store its text in.");
  RequireElement(*Pvariable);
  const std::string text = PcsString ? PcsString->BuildConcatenation() : std::string();
  Pvariable->SetValueText(text);
  return text;
}

TScript* TConcatenateScript::Execute() {
  if (!AbCommentedOut) Concatenate();
  return Pnextscript;
}

TScript* TConcatenateScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment:(" + GetText() + ")");
    return Pnextscript;
  }
  trace.push_back("Concatenating " + GetExpressionText());
  trace.push_back(Concatenate());
  return Pnextscript;
}

void TConcatenateScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Pvariable!=0);
  TScript::Save(writer);
  if (PcsString)
    PcsString->Save(writer);
  else
    writer.WriteInteger(0);
  writer.WriteBool(AbTrimResult);
  writer.WriteBool(AbDisableVariableCheck);
  writer.WriteInteger(ANotation);
  writer.WriteInteger(ADecimalPlaces);
  SaveReference(writer, *Pvariable);
}

void TConcatenateScript::Load(TReadFile& reader) {
  TScript::Load(reader);
  Pieces().Load(reader);
  reader.ReadBool(AbTrimResult);
  reader.ReadBool(AbDisableVariableCheck);
  reader.ReadInteger(ANotation);
  if (ANotation < ntSTANDARD || ANotation > ntSCIENTIFIC) {
    ANotation = ntSTANDARD;
    throw EReadError("Unknown number format in a Concatenate script...aborting read");
  }
  reader.ReadInteger(ADecimalPlaces);
  ADecimalPlaces = std::min(ADecimalPlaces, NumberText::MaxDecimalPlaces);  // below 0 kept
  Pvariable = LoadReference(reader, this);
  UpdateNodeText();
}

bool TConcatenateScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  return TScript::CanMoveTo(block, node) && block == Pblock;
}

void TConcatenateScript::CheckAfterRead() {
  if (!Pvariable || !Pvariable->GetData()) throw EReadError(NotDefined);
  if (PcsString) PcsString->CheckAfterRead();
}

std::string TConcatenateScript::GetText() {
  std::string text = "Concatenate(";
  if (Pvariable && Pvariable->GetData()) text += Pvariable->GetDescription() + "=";
  text += PcsString ? PcsString->GetExpressionText() : std::string("\"\"");
  return text + ")";
}

TData* TConcatenateScript::GetStoredData() { return Pvariable ? Pvariable->GetData() : nullptr; }

bool TConcatenateScript::VariableNotify(TVariable*, int type) { return type == eatSTRING; }

bool TConcatenateScript::CanReleaseVariable(TVariable* reference) {
  auto* data = dynamic_cast<TVariableData*>(reference);
  QORV_ASSERT(data!=0&&data->GetData()!=0);
  const int type = data->GetData()->GetDataType();
  QORV_ASSERT(type>=eatSTRING&&type<=eatFLOAT);
  return type != eatSTRING;
}

bool TConcatenateScript::IsStoredVariable(TVariable* reference) {
  return reference != nullptr && reference == Pvariable.get();
}

void TConcatenateScript::SetUp(const TParsePieces& pieces, TData* target, std::int32_t notation,
                               std::int32_t decimals, bool disableVariableCheck,
                               bool trimResult) {
  QORV_ASSERT(notation>=ntSTANDARD&&notation<=ntSCIENTIFIC);
  Pieces().SetPieces(pieces);
  SetVariable(target);
  ANotation = notation;
  ADecimalPlaces = decimals;
  AbDisableVariableCheck = disableVariableCheck;
  AbTrimResult = trimResult;
  UpdateNodeText();
}

TCopyScript* TConcatenateScript::MakeCopyScript() { return new TCopyConcatenate(*this); }

void TConcatenateScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyConcatenate*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copyconcatenate!=0");
  QORV_ASSERT_AS(copy->GetTarget()!=0, "copyconcatenate->Pcopyvariable->Data!=0");
  Pieces().SetFromCopy(*copy);
  SetVariable(copy->GetTarget());
  copy->GetTargetCopy().SetUpVariable(Pvariable.get());
  ANotation = copy->ANotation;
  ADecimalPlaces = copy->ADecimalPlaces;
  AbDisableVariableCheck = copy->AbDisableVariableCheck;
  AbTrimResult = copy->AbTrimResult;
  UpdateNodeText();
}

void TConcatenateScript::SetVariable(TData* data) {
  QORV_ASSERT(data!=0);
  if (!Pvariable || Pvariable->IsArray() != data->IsArray())
    Pvariable = NewReference(this, data->IsArray());
  Pvariable->SetData(data);
}

std::string TConcatenateScript::GetExpressionText() {
  return PcsString ? PcsString->GetExpressionText() : std::string();
}
