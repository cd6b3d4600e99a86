#include "scripts/ui/if_then_dialog.h"

#include "model/assertion.h"
#include "model/experiment.h"
#include "model/tree_node.h"
#include "ui_if_then_dialog.h"

TIfThenScriptForm::TIfThenScriptForm(TIfThenScriptRequest& request, QWidget* parent)
    : TConditionAttributeForm(request, 4, "If", parent),
      Ui(std::make_unique<Ui::TIfThenScriptForm>()) {
  auto* panel = new QWidget(Panel1());
  Ui->setupUi(panel);
  AddPanel(panel, false);
  setWindowTitle("If then command");
  SizeFromOk(10, 16);
  TIfThenScript* ifthen = request.IfThen();
  Ui->ElseCheckBox->setChecked(ifthen && ifthen->HasElse());
  Fill(ifthen);
  SetFirstInput(ConditionFirstInput());
}

TIfThenScriptForm::~TIfThenScriptForm() = default;

void TIfThenScriptForm::OkClick() {
  if (!Validate()) return;
  const bool include = Ui->ElseCheckBox->isChecked();
  TExperiment* experiment = Request.Experiment;
  Apply(TScript::IFTHEN, [this, include, experiment](TScript& command) {
    auto& ifthen = static_cast<TIfThenScript&>(command);
    ifthen.SetIncludeElse(include);
    QORV_ASSERT_AS(ifthen.GetEndPointScript()!=0, "PIfThenScript->EndPointScript!=0");
    QORV_ASSERT(experiment!=0);
    // The next commands go into the then-section.
    experiment->MoveBlankScript(ifthen.GetEndPointScript()->AExpNode);
    ApplyCondition(ifthen);
  });
}
