#include "scripts/flow/condition_request.h"

#include "model/assertion.h"
#include "model/experiment.h"

bool TConditionScriptRequest::CanOpen() {
  QORV_ASSERT_AS(Experiment!=0, "TScriptForm::GetExperiment( )!=0");
  Experiment->GetAllVariables(Variables);
  if (!Variables.empty()) return true;
  Inform(Script ? "You must have at least one variable to edit this command"
                : "You must have at least one variable to create this command");
  return false;
}
