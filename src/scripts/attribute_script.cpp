#include "scripts/attribute_script.h"

#include "expressions/condition.h"
#include "model/assertion.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/read_file.h"
#include "model/tree_node.h"
#include "model/write_file.h"

namespace {

// The If-Then of an end point's section, through its End If; none when not linked.
TScript* IfThenOf(TEndPointScript* endpoint) {
  TEndPointScript* endif = endpoint->GetEndIfScript();
  return endif ? endif->GetIfThenScript() : nullptr;
}

}  // namespace

// TConditionAttributeScript

TConditionAttributeScript::TConditionAttributeScript(TBlock* block, TTreeNode* node)
    : TAttributeScript(block, node) {}

TConditionAttributeScript::~TConditionAttributeScript() = default;

bool TConditionAttributeScript::VariableNotify(TVariable*, int type) {
  QORV_ASSERT(ACondition!=0);
  return ACondition->AcceptsType(type);
}

bool TConditionAttributeScript::CanReleaseVariable(TVariable*) {
  QORV_ASSERT(ACondition!=0);
  return ACondition->ValidateTypes();
}

void TConditionAttributeScript::SetVariableCondition(TData* data1, TData* data2, int comparison) {
  QORV_ASSERT(data1!=0&&data2!=0);
  if (ACondition && ACondition->GetConditionType() == ectCONDCONSTANT) ACondition.reset();
  if (!ACondition) ACondition = std::make_unique<TConditionVariable>(this);
  auto* condvar = dynamic_cast<TConditionVariable*>(ACondition.get());
  QORV_ASSERT(condvar!=0);
  condvar->SetCondition(data1, data2, comparison);
  UpdateNodeText();
}

void TConditionAttributeScript::SetConstantCondition(TData* data1, const std::string& constant2,
                                                     int comparison) {
  QORV_ASSERT_AS(data1 != nullptr && !constant2.empty(), "data1!=0&&!constant2.IsEmpty( )");
  if (ACondition && ACondition->GetConditionType() == ectCONDVARIABLE) ACondition.reset();
  if (!ACondition) ACondition = std::make_unique<TConditionConstant>(this);
  auto* condvar = dynamic_cast<TConditionConstant*>(ACondition.get());
  QORV_ASSERT(condvar!=0);
  condvar->SetCondition(data1, constant2, comparison);
  UpdateNodeText();
}

void TConditionAttributeScript::ClearCondition() {
  ACondition.reset();
  UpdateNodeText();
}

void TConditionAttributeScript::SaveCondition(TWriteFile& writer) {
  writer.WriteBool(ACondition != nullptr);
  if (!ACondition) return;
  writer.WriteInteger(ACondition->GetConditionType());
  ACondition->Save(writer);
}

void TConditionAttributeScript::LoadCondition(TReadFile& reader) {
  QORV_ASSERT(ACondition==0);
  bool hasCondition;
  reader.ReadBool(hasCondition);
  if (!hasCondition) return;
  std::int32_t condtype;
  reader.ReadInteger(condtype);
  if (condtype == ectCONDVARIABLE)
    ACondition = std::make_unique<TConditionVariable>(this);
  else if (condtype == ectCONDCONSTANT)
    ACondition = std::make_unique<TConditionConstant>(this);
  else
    throw EReadError(std::string(ConditionReadError) + ": condition type " +
                     NumberText::IntToText(condtype));
  ACondition->Load(reader);
}

// TEndPointScript

int TEndPointScript::Edit() {
  TScript* ifthen = IfThenOf(this);
  QORV_ASSERT_AS(ifthen!=0, "Pifthenscript!=0");
  return ifthen->Edit();
}

void TEndPointScript::MoveNode(TScript* topscript, bool asChild) {
  if (topscript && topscript == IfThenOf(this))
    AbIndented = asChild;
  else
    TScript::MoveNode(topscript, asChild);
}

std::uint32_t TEndPointScript::GetNodeColor() {
  QORV_ASSERT(AExpNode!=0);
  return ColourOfLevel(AExpNode->GetLevel() + 1);
}
