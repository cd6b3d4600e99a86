#include "scripts/ui/dec_dialog.h"

#include "model/assertion.h"
#include "model/block.h"
#include "scripts/ui/combo_items.h"
#include "ui_dec_dialog.h"

TDecScriptForm::TDecScriptForm(TDecScriptRequest& request, QWidget* parent)
    : TConditionAttributeForm(request, 15, "If", parent),
      Ui(std::make_unique<Ui::TDecScriptForm>()), Decision(request) {
  auto* panel = new QWidget(Panel1());
  Ui->setupUi(panel);
  AddPanel(panel, false);
  setWindowTitle("Decision Command");
  SizeFromOk(11, 16);
  TDecScript* decision = request.Decision();
  QORV_ASSERT_AS(decision != 0, "decisionscript!=0");
  for (TBlock* block : {decision->ATrueBlock, decision->AFalseBlock}) {
    QORV_ASSERT(block != 0);
    Ui->BlockCombo->addItem(QString::fromStdString(block->GetTitle()), ItemOf(block));
  }
  Ui->BlockCombo->setCurrentIndex(0);
  Fill(decision);
  SetFirstInput(ConditionFirstInput());
}

TDecScriptForm::~TDecScriptForm() = default;

void TDecScriptForm::OkClick() {
  TBlock* block = SelectedObject<TBlock>(*Ui->BlockCombo);
  if (!block) return Refuse("You must select a block", Ui->BlockCombo);
  if (!Validate()) return;
  Apply(TScript::DECISION, [this, block](TScript& command) {
    auto& decision = static_cast<TDecScript&>(command);
    decision.SetTrueBlock(block);
    ApplyCondition(decision);
  });
}
