#include "scripts/flow/calculate_script.h"

#include <cstddef>
#include <cstdint>

#include "expressions/functions.h"
#include "expressions/math_copy.h"
#include "expressions/math_expression.h"
#include "expressions/math_list.h"
#include "expressions/math_token_list.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/calculate_copy.h"
#include "scripts/flow/command_record.h"

namespace {
const char* const NotDefined =
    "Calculate script variable or variable data not defined...aborting read";
}  // namespace

TCalculateScript::TCalculateScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

TCalculateScript::~TCalculateScript() {
  Pmathlist.reset();
  Pstoredvariable.reset();
  AExpression.reset();
}

void TCalculateScript::Calculate() {
  QORV_ASSERT(Pmathlist!=0);
  QORV_ASSERT(Pstoredvariable!=0);
  TQorvOperand* result = Pmathlist->EvaluateMathList();
  Pstoredvariable->SetValueText(result->GetText());
}

TScript* TCalculateScript::Execute() {
  if (!AbCommentedOut) Calculate();
  return Pnextscript;
}

TScript* TCalculateScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    const std::string values = AExpression ? AExpression->GetValueText() : std::string();
    trace.push_back("Comment (");  // with a blank, unlike the other commands
    trace.back() += values;
    trace.back() += ")";
    return Pnextscript;
  }
  QORV_ASSERT(Pmathlist!=0);
  QORV_ASSERT(Pstoredvariable!=0);
  QORV_ASSERT(AExpression!=0);
  const std::string values = AExpression->GetValueText();
  trace.push_back("(");
  trace.back() += values;
  trace.back() += ")";
  Calculate();
  trace.push_back(Pstoredvariable->GetValueString());
  return Pnextscript;
}

bool TCalculateScript::SetNextScript() {
  QORV_ASSERT(Pstoredvariable!=0);
  TScript::SetNextScript();
  QORV_ASSERT(Pmathlist!=0);
  Pmathlist->PrepareCalculation();
  return true;
}

void TCalculateScript::Save(TWriteFile& writer) {
  QORV_ASSERT(AExpression!=0);
  QORV_ASSERT(Pmathlist!=0);
  QORV_ASSERT(Pstoredvariable!=0&&Pstoredvariable->GetData()!=0);
  TScript::Save(writer);
  // A trace leaves the entries holding values: the record carries the current names.
  AExpression->GetText();
  AExpression->Save(writer);
  Pmathlist->SaveMathList(writer);
  SaveReference(writer, *Pstoredvariable);
}

void TCalculateScript::Load(TReadFile& reader) {
  QORV_ASSERT(AExpression==0&&Pmathlist==0&&Pstoredvariable==0);
  TWaitingReferences waiting(reader);
  TScript::Load(reader);
  auto expression = std::make_unique<TMathExpression>(this);
  expression->Load(reader);
  auto mathlist = std::make_unique<TQorvMathList>(this);
  mathlist->LoadMathList(reader);
  std::unique_ptr<TVariableData> stored = LoadReference(reader, this);
  AExpression = std::move(expression);
  Pmathlist = std::move(mathlist);
  Pstoredvariable = std::move(stored);
  waiting.Keep();
  UpdateNodeText();
}

bool TCalculateScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  return TScript::CanMoveTo(block, node) && block == Pblock;
}

void TCalculateScript::CheckAfterRead() {
  if (!Pstoredvariable || !Pstoredvariable->GetData()) throw EReadError(NotDefined);
  // The result goes to one value: the dialog never stores into the entire array, which
  // has no element to take it.
  if (!NamesOneValue(*Pstoredvariable)) throw EReadError(NotDefined);
  // The trace reads every variable of the text: each must have found its variable, and
  // an array one of its elements.
  if (AExpression)
    for (std::int32_t i = 0; i < AExpression->GetCount(); ++i) {
      TVariableData* reference = AExpression->GetReference(i);
      if (reference && (!reference->GetData() || !NamesOneValue(*reference)))
        throw EReadError(NotDefined);
    }
  if (!Pmathlist) throw EReadError(NotDefined);
  Pmathlist->CheckAfterRead();
}

std::string TCalculateScript::GetText() {
  std::string text = "Calculate(";
  if (Pstoredvariable && Pstoredvariable->GetData()) {
    text += Pstoredvariable->GetDescription();
    text += '=';
  }
  text += GetExpressionText();
  text += ')';
  return text;
}

TData* TCalculateScript::GetStoredData() {
  return Pstoredvariable ? Pstoredvariable->GetData() : nullptr;
}

bool TCalculateScript::VariableNotify(TVariable*, int type) { return type != eatSTRING; }

bool TCalculateScript::CanReleaseVariable(TVariable* reference) {
  auto* data = dynamic_cast<TVariableData*>(reference);
  QORV_ASSERT(data!=0&&data->GetData()!=0);
  const int type = data->GetData()->GetDataType();
  QORV_ASSERT(type>=eatSTRING&&type<=eatFLOAT);
  return type == eatSTRING;
}

bool TCalculateScript::IsStoredVariable(TVariable* reference) {
  return reference != nullptr && reference == Pstoredvariable.get();
}

void TCalculateScript::SetUpCalculate(std::unique_ptr<TQorvMathList> mathlist,
                                      std::unique_ptr<TMathExpression> expression,
                                      TData* variable) {
  QORV_ASSERT(mathlist!=0&&mathlist->GetOwner()==this);
  QORV_ASSERT(expression!=0&&expression->GetOwner()==this);
  QORV_ASSERT(variable!=0);
  Pmathlist.reset();
  AExpression = std::move(expression);
  SetStoredVariable(variable);
  Pmathlist = std::move(mathlist);
  UpdateNodeText();
}

void TCalculateScript::SetStoredVariable(TData* variable) {
  QORV_ASSERT(variable!=0);
  if (Pstoredvariable && Pstoredvariable->IsArray() != variable->IsArray())
    Pstoredvariable.reset();
  if (!Pstoredvariable) Pstoredvariable = NewReference(this, variable->IsArray());
  Pstoredvariable->SetData(variable);
}

TCopyScript* TCalculateScript::MakeCopyScript() {
  QORV_ASSERT(Pmathlist!=0);
  QORV_ASSERT(AExpression!=0);
  QORV_ASSERT(Pstoredvariable!=0&&Pstoredvariable->GetData()!=0);
  // A trace leaves the entries holding values: the copy takes the current names.
  AExpression->GetText();
  return new TCopyCalculate(Pblock, *Pmathlist, AExpression.get(), *Pstoredvariable);
}

void TCalculateScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyCalculate*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copycalculate!=0");
  QORV_ASSERT_AS(copy->GetStoredData()!=0, "copycalculate->Pcopyvariable->Data!=0");
  std::unique_ptr<TQorvMathList> mathlist = copy->GetMathList().MakeMathList(this);
  auto expression = std::make_unique<TMathExpression>(this);
  if (copy->GetExpression()) expression->SetUp(*copy->GetExpression());
  SetUpCalculate(std::move(mathlist), std::move(expression), copy->GetStoredData());
  copy->GetStoredCopy().SetUpVariable(Pstoredvariable.get());
  UpdateNodeText();
}

std::string TCalculateScript::GetExpressionText() {
  return AExpression ? AExpression->GetText() : std::string();
}

TCalculateExpression CompileCalculateExpression(TExperiment* experiment, TCalculateScript* command,
                                                const std::string& text, bool radians) {
  QORV_ASSERT(experiment!=0);
  QORV_ASSERT(command!=0);
  TCalculateExpression compiled{std::make_unique<TQorvMathList>(command),
                                std::make_unique<TMathExpression>(command)};
  // The tokens belong to the tokenizer; the list's objects are made from them.
  TQorvMathTokenList tokenizer(experiment);
  std::vector<TMathTokenRP*> tokens;
  tokenizer.Tokenize(radians, text, compiled.Text.get(), &tokens);
  compiled.List->BuildMathList(tokens);
  return compiled;
}

std::optional<bool> TrigonometricRadians(const TQorvMathList& list) {
  for (const auto& object : list.GetObjects()) {
    if (auto* trig = dynamic_cast<const TTrigFunction*>(object.get())) return trig->IsRadians();
    if (auto* function = dynamic_cast<const TQorvFunction*>(object.get()); function && function->GetArgument())
      if (std::optional<bool> inner = TrigonometricRadians(*function->GetArgument())) return inner;
  }
  return std::nullopt;
}
