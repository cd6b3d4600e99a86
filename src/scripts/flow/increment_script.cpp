#include "scripts/flow/increment_script.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/experiment.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/value.h"
#include "model/variable_data.h"
#include "model/write_file.h"
#include "scripts/flow/increment_copy.h"

namespace {

const char* const VariableNotDefined = "Variable not defined for Increment script...aborting read";
const char* const StringVariable =
    "Increment script names a string variable...aborting read";
const char* const UnknownStepType = "Unknown step type for Increment script...aborting read";

// A step of 0 of the type (integer, else float).
std::unique_ptr<TValueNum> ZeroStep(int type) {
  if (type == eatINTEGER) return std::make_unique<TValueInt>(0);
  return std::make_unique<TValueFloat>();  // 0.0, standard notation, 1 decimal place
}

std::string Standard(const TValue& value) { return value.GetTextFormatted(ntSTANDARD, 0); }

}  // namespace

TIncrementScript::TIncrementScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

// The reference leaves its variable's users before the command base goes.
TIncrementScript::~TIncrementScript() = default;

TDataSingle* TIncrementScript::Variable() const {
  return Pvariable ? static_cast<TDataSingle*>(Pvariable->GetData()) : nullptr;
}

TScript* TIncrementScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  TDataSingle* variable = Variable();
  QORV_ASSERT_AS(variable!=0&&Pvalue!=0, "Pvaluevar!=0");
  const auto lock = variable->LockValues();
  auto* value = dynamic_cast<TValueNum*>(&variable->GetValue());
  QORV_ASSERT_AS(value!=0, "Pvaluevar!=0");
  value->Add(Pvalue.get());
  return Pnextscript;
}

TScript* TIncrementScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  TDataSingle* variable = Variable();
  QORV_ASSERT_AS(variable!=0&&Pvalue!=0, "Pvaluevar!=0");
  std::string before;
  std::string after;
  {
    const auto lock = variable->LockValues();
    auto* value = dynamic_cast<TValueNum*>(&variable->GetValue());
    QORV_ASSERT_AS(value!=0, "Pvaluevar!=0");
    before = Standard(*value);
    value->Add(Pvalue.get());
    after = Standard(*value);
  }
  trace.push_back(Pvariable->GetName() + "=" + before + "+" + Standard(*Pvalue));
  trace.push_back("Current value of " + Pvariable->GetDescription() + "=" + after);
  return Pnextscript;
}

bool TIncrementScript::SetNextScript() {
  TScript::SetNextScript();
  TDataSingle* variable = Variable();
  QORV_ASSERT_AS(variable!=0, "Pvariable!=0");
  variable->ResetValue();
  return true;
}

void TIncrementScript::Save(TWriteFile& writer) {
  QORV_ASSERT(Pvalue!=0);
  const int type = Pvalue->GetType();
  QORV_ASSERT(type==eatINTEGER||type==eatFLOAT);
  QORV_ASSERT(Variable()!=0);
  writer.WriteInteger(type);
  writer.WriteString(GetIncrementText());
  Pvariable->Save(writer);
  TScript::Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    if (std::find(exported->begin(), exported->end(), Pvariable.get()) == exported->end())
      exported->push_back(Pvariable.get());
}

void TIncrementScript::Load(TReadFile& reader) {
  QORV_ASSERT(Pvariable==0&&Pvalue==0);
  std::int32_t type = 0;
  reader.ReadInteger(type);
  if (type != eatINTEGER && type != eatFLOAT) throw EReadError(UnknownStepType);
  std::unique_ptr<TValueNum> step = ZeroStep(type);
  const std::string text = reader.ReadString();
  try {
    step->SetText(text);
  } catch (const EExperimentError& error) {
    throw EReadError(error.GetMessage());
  }
  auto reference = std::make_unique<TVariableDataSingle>(this);
  reference->Load(reader);
  TScript::Load(reader);
  // Only a complete record leaves its reference waiting for the variable.
  Pvalue = std::move(step);
  Pvariable = std::move(reference);
  reader.GetVariableList().Add(Pvariable.get());
  UpdateNodeText();
}

bool TIncrementScript::CanMoveTo(TBlock* block, TTreeNode* node) {
  return TScript::CanMoveTo(block, node) && block == Pblock;
}

void TIncrementScript::CheckAfterRead() {
  TDataSingle* variable = Variable();
  if (!variable) throw EReadError(VariableNotDefined);
  if (variable->GetDataType() == eatSTRING) throw EReadError(StringVariable);
  if (!Pvalue || Pvalue->GetType() != variable->GetDataType()) {
    ConvertStep(variable->GetDataType());
    UpdateNodeText();
  }
}

std::string TIncrementScript::GetText() {
  if (!Variable()) return "none";
  return "Increment " + Pvariable->GetName() + " by " + GetIncrementText();
}

TData* TIncrementScript::GetStoredData() { return Variable(); }

bool TIncrementScript::VariableNotify(TVariable*, int type) { return type != eatSTRING; }

bool TIncrementScript::CanReleaseVariable(TVariable* reference) {
  QORV_ASSERT(reference==Pvariable.get()&&Variable()!=0);
  const int type = Variable()->GetDataType();
  if (type == eatSTRING) return true;
  if (Pvalue && Pvalue->GetType() != type) {
    ConvertStep(type);
    UpdateNodeText();
  }
  return false;
}

bool TIncrementScript::IsStoredVariable(TVariable* reference) {
  QORV_ASSERT(reference==Pvariable.get());
  return true;
}

void TIncrementScript::SetUpIncrement(TDataSingle* variable, const std::string& text) {
  QORV_ASSERT_AS(variable!=0&&variable->GetDataType()!=eatSTRING,
                 "datasingle!=0&&datasingle->DataType!=eatSTRING");
  // Converted first: a text that fails leaves the command as it was.
  std::unique_ptr<TValueNum> step = MakeStep(variable->GetDataType(), text);
  SetIncrementVariable(variable);
  Pvalue = std::move(step);
  UpdateNodeText();
}

std::unique_ptr<TValueNum> TIncrementScript::MakeStep(int type, const std::string& text) {
  std::unique_ptr<TValueNum> step = ZeroStep(type);
  step->SetText(text);
  return step;
}

void TIncrementScript::SetIncrementVariable(TDataSingle* variable) {
  QORV_ASSERT(variable!=0);
  if (!Pvariable) Pvariable = std::make_unique<TVariableDataSingle>(this);
  Pvariable->SetData(variable);
  if (Pvalue && Pvalue->GetType() != variable->GetDataType()) Pvalue.reset();
  if (!Pvalue) Pvalue = ZeroStep(variable->GetDataType());
}

std::string TIncrementScript::GetIncrementText() const {
  return Pvalue ? Standard(*Pvalue) : std::string();
}

void TIncrementScript::ConvertStep(int type) {
  if (!Pvalue) {
    Pvalue = ZeroStep(type);
  } else if (type == eatINTEGER) {
    Pvalue = std::make_unique<TValueInt>(Pvalue->GetInt());
  } else {
    auto step = std::make_unique<TValueFloat>();
    step->SetFloat(Pvalue->GetFloat());
    Pvalue = std::move(step);
  }
}

bool TIncrementScriptRequest::CanOpen() {
  QORV_ASSERT_AS(Experiment!=0, "experiment!=0");
  QORV_ASSERT_AS(Block!=0, "block!=0");
  std::vector<TData*> all;
  Experiment->GetBlockVariables(Block, all);
  Variables.clear();
  bool anySingle = false;
  for (TData* data : all) {
    if (data->IsArray()) continue;
    anySingle = true;
    if (!data->IsReadOnly() && data->GetDataType() != eatSTRING)
      Variables.push_back(static_cast<TDataSingle*>(data));
  }
  if (!anySingle) {
    Inform("No variables to increment.");
    return false;
  }
  if (Variables.empty()) {
    Inform("Only readable integer and float variables can be incremented.");
    return false;
  }
  return true;
}

TCopyScript* TIncrementScript::MakeCopyScript() {
  QORV_ASSERT(Pvariable!=0&&Variable()!=0);
  return new TCopyIncrement(Pblock, *Pvariable, GetIncrementText());
}

void TIncrementScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyIncrement*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copyincrement!=0");
  QORV_ASSERT_AS(copy->GetVariable()!=0, "copyincrement->AVariable->Data!=0");
  SetUpIncrement(copy->GetVariable(), copy->GetStep());
}
