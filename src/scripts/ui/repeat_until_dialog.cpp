#include "scripts/ui/repeat_until_dialog.h"

#include <algorithm>

#include "model/assertion.h"
#include "ui_repeat_until_dialog.h"

TRepeatUntilScriptForm::TRepeatUntilScriptForm(TRepeatUntilScriptRequest& request,
                                               QWidget* parent)
    : TConditionAttributeForm(request, 9, "Until ", parent),
      Ui(std::make_unique<Ui::TRepeatUntilScriptForm>()), RepeatUntil(request) {
  auto* panel = new QWidget(Panel1());
  Ui->setupUi(panel);
  AddPanel(panel, true);
  setWindowTitle("Repeat Until Command");
  SizeFromOk(10, 16);
  for (TScript* label : request.Labels)
    Ui->LabelCombo->addItem(QString::fromStdString(label->GetText()));
  int selected = 0;
  TRepeatUntilScript* command = request.RepeatUntil();
  if (command) {
    const auto own = std::find(request.Labels.begin(), request.Labels.end(),
                               static_cast<TScript*>(command->GetLabelScript()));
    QORV_ASSERT_AS(own!=request.Labels.end(), "LabelCombo->ItemIndex>-1");
    selected = static_cast<int>(own - request.Labels.begin());
  }
  Ui->LabelCombo->setCurrentIndex(request.Labels.empty() ? -1 : selected);
  Fill(command);
  SetFirstInput(ConditionFirstInput());
}

TRepeatUntilScriptForm::~TRepeatUntilScriptForm() = default;

void TRepeatUntilScriptForm::OkClick() {
  const int index = Ui->LabelCombo->currentIndex();
  if (index < 0 || index >= static_cast<int>(RepeatUntil.Labels.size()))
    return Refuse("You must select a label", Ui->LabelCombo);
  auto* label = dynamic_cast<TLabelScript*>(RepeatUntil.Labels[index]);
  QORV_ASSERT_AS(label!=0, "labelscript!=0");
  if (!Validate()) return;
  Apply(TScript::REPUNTIL, [this, label](TScript& command) {
    auto& repeat = static_cast<TRepeatUntilScript&>(command);
    repeat.SetLabel(label);
    ApplyCondition(repeat);
  });
}
