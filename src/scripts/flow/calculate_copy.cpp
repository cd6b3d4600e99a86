#include "scripts/flow/calculate_copy.h"

#include "expressions/math_copy.h"
#include "expressions/math_expression.h"
#include "model/assertion.h"
#include "model/variable_data.h"
#include "scripts/script.h"

TCopyCalculate::TCopyCalculate(TBlock* block, const TQorvMathList& list,
                               TMathExpression* expression, TVariableData& stored)
    : TBlockCopyScript(block),
      Pcopyvariable(stored.MakeCopy(this)),
      Pmathlist(std::make_unique<TZyqMathListCopy>()) {
  QORV_ASSERT_AS(Pcopyvariable!=0&&Pcopyvariable->Data!=0, "copyvar!=0");
  if (expression) {
    AExpression = std::make_unique<TMathExpressionCopy>(this);
    expression->MakeCopy(*AExpression);
  }
  Pmathlist->CopyMathList(list, this);
}

TCopyCalculate::~TCopyCalculate() {
  if (!ADisabled) TCopyCalculate::Disable();
}

void TCopyCalculate::Disable() {
  QORV_ASSERT(Pcopyvariable!=0&&Pmathlist!=0);
  Pcopyvariable->Disable();
  Pmathlist->Disable();
  SetExpressionLinks(false);
  ADisabled = true;
}

void TCopyCalculate::Enable() {
  QORV_ASSERT_AS(Pcopyvariable!=0&&Pcopyvariable->Data!=0, "Pcopyvariable!=0");
  Pcopyvariable->Enable();
  Pmathlist->Enable();
  SetExpressionLinks(true);
  ADisabled = false;
}

int TCopyCalculate::GetScriptType() { return TScript::CALCULATE; }

TData* TCopyCalculate::GetStoredData() const { return Pcopyvariable->Data; }

void TCopyCalculate::SetExpressionLinks(bool enabled) {
  if (!AExpression || !AExpression->HasList()) return;
  for (TMathExpressionCopy::TEntry& entry : AExpression->List()) {
    if (!entry.Variable) continue;
    if (enabled)
      entry.Variable->Enable();
    else
      entry.Variable->Disable();
  }
}
