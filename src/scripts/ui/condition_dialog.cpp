#include "scripts/ui/condition_dialog.h"

#include <QVBoxLayout>

#include <algorithm>

#include "expressions/comparison.h"
#include "expressions/condition.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/text.h"
#include "model/value.h"
#include "model/variable_data.h"
#include "scripts/ui/combo_items.h"
#include "shell/ui/user_dialogs.h"
#include "ui_condition_dialog.h"

namespace {

void Select(QComboBox& box, TData* variable) {
  box.setCurrentIndex(box.findData(ItemOf(variable)));
}

void ClearIndex(QComboBox& box) {
  box.setCurrentIndex(-1);
  box.setEditText(QString());
}

bool IsString(const TData* variable) { return variable->GetDataType() == eatSTRING; }

// The element reference of an array side of the condition; none for a single variable.
TVariableDataArray* ArraySide(TVariableData* reference) {
  return dynamic_cast<TVariableDataArray*>(reference);
}

std::string Trimmed(const QComboBox& box) { return TrimText(box.currentText().toStdString()); }

}  // namespace

TConditionAttributeForm::TConditionAttributeForm(TConditionScriptRequest& request,
                                                 int helpContext, const char* conditionLabel,
                                                 QWidget* parent)
    : TScriptForm(request, helpContext, parent),
      Cond(std::make_unique<Ui::TConditionAttributeForm>()), Condition(request) {
  auto* layout = new QVBoxLayout(Panel1());
  layout->setContentsMargins(0, 0, 0, 0);
  auto* conditionPanel = new QWidget(Panel1());
  Cond->setupUi(conditionPanel);
  layout->addWidget(conditionPanel);
  Cond->Label2->setText(conditionLabel);

  // The lists of the second variable by kind; single integers may index an array.
  for (TData* variable : request.Variables) {
    Cond->Variable1Combo->addItem(QString::fromStdString(variable->GetDataName()),
                                  ItemOf(variable));
    (IsString(variable) ? StringVariables : NumericVariables).push_back(variable);
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      for (QComboBox* box : {Cond->Variable1ArrayCombo, Cond->Variable2ArrayCombo})
        TVariableArrayComboSelection::AddIndexVariableItem(*box,
                                                           static_cast<TDataSingle*>(variable));
  }
  ClearIndex(*Cond->Variable1ArrayCombo);
  ClearIndex(*Cond->Variable2ArrayCombo);
  Cond->CompareCombo->setCurrentIndex(-1);

  connect(Cond->Variable1Combo, &QComboBox::activated, this, [this] { Variable1ComboChange(); });
  connect(Cond->Variable2Combo, &QComboBox::activated, this, [this] { Variable2ComboChange(); });
  connect(Cond->VariableButton, &QRadioButton::clicked, this, [this] { VarConClick(); });
  connect(Cond->ConstantButton, &QRadioButton::clicked, this, [this] { VarConClick(); });
}

TConditionAttributeForm::~TConditionAttributeForm() = default;

void TConditionAttributeForm::AddPanel(QWidget* panel, bool above) {
  auto* layout = static_cast<QVBoxLayout*>(Panel1()->layout());
  if (above)
    layout->insertWidget(0, panel);
  else
    layout->addWidget(panel);
}

QWidget* TConditionAttributeForm::ConditionFirstInput() const { return Cond->Variable1Combo; }

TData* TConditionAttributeForm::Variable1() const {
  return SelectedObject<TData>(*Cond->Variable1Combo);
}
TData* TConditionAttributeForm::Variable2() const {
  return SelectedObject<TData>(*Cond->Variable2Combo);
}

void TConditionAttributeForm::Fill(TConditionAttributeScript* command) {
  TCondition* condition = command ? command->GetCondition() : nullptr;
  if (!condition) {
    Cond->Variable1Combo->setCurrentIndex(Cond->Variable1Combo->count() > 0 ? 0 : -1);
    Variable1ComboChange();
    return;
  }
  TVariableData* first = condition->GetVariable1();
  QORV_ASSERT(first!=0);
  Select(*Cond->Variable1Combo, first->GetData());
  QORV_ASSERT_AS(Cond->Variable1Combo->currentIndex()>-1, "Variable1Combo->ItemIndex>-1");
  Variable1ComboChange();
  if (TVariableDataArray* array = ArraySide(first)) {
    QORV_ASSERT_AS(!Cond->Variable1ArrayCombo->isHidden(), "Variable1ArrayCombo->Visible");
    IndexSelection.ShowIndex(*Cond->Variable1ArrayCombo, array->GetArrayIndex());
  }
  if (condition->GetConditionType() == ectCONDVARIABLE) {
    auto* variable = static_cast<TConditionVariable*>(condition);
    Cond->VariableButton->setChecked(true);
    Select(*Cond->Variable2Combo, variable->GetVariable2()->GetData());
    QORV_ASSERT_AS(Cond->Variable2Combo->currentIndex()>-1, "Variable2Combo->ItemIndex>-1");
    VarConClick();
    Variable2ComboChange();
    if (TVariableDataArray* array = ArraySide(variable->GetVariable2()))
      IndexSelection.ShowIndex(*Cond->Variable2ArrayCombo, array->GetArrayIndex());
  } else {
    auto* constant = static_cast<TConditionConstant*>(condition);
    Cond->ConstantButton->setChecked(true);
    VarConClick();
    Cond->ConEdit->setText(QString::fromStdString(constant->GetConstant()->GetText()));
  }
  if (Cond->CompareCombo->isEnabled()) {
    QORV_ASSERT_AS(condition->GetComparison()!=0, "condition->Comparison!=0");
    Cond->CompareCombo->setCurrentIndex(condition->GetComparison()->GetType());
  }
}

void TConditionAttributeForm::Variable1ComboChange() {
  TData* data = Variable1();
  QORV_ASSERT_AS(data!=0, "data!=0");
  Cond->Variable1ArrayCombo->setVisible(data->IsArray());
  if (data->IsArray()) ClearIndex(*Cond->Variable1ArrayCombo);
  // Strings compare for equality only.
  if (IsString(data)) {
    Cond->CompareCombo->setCurrentIndex(TComparison::EQUAL);
    Cond->CompareCombo->setEnabled(false);
  } else {
    Cond->CompareCombo->setEnabled(true);
    if (Cond->CompareCombo->currentIndex() < 0)
      Cond->CompareCombo->setCurrentIndex(TComparison::EQUAL);
  }
  TData* previous = Variable2();
  if (previous && IsString(previous) != IsString(data)) previous = nullptr;
  Cond->Variable2Combo->clear();
  // An array may be compared with itself at another element.
  for (TData* variable : IsString(data) ? StringVariables : NumericVariables)
    if (variable != data || data->IsArray())
      Cond->Variable2Combo->addItem(QString::fromStdString(variable->GetDataName()),
                                    ItemOf(variable));
  Cond->Variable2Combo->setCurrentIndex(-1);
  const bool anyOther = Cond->Variable2Combo->count() > 0;
  Cond->VariableButton->setEnabled(anyOther);
  if (anyOther) {
    Cond->VariableButton->setChecked(true);
    if (previous) Select(*Cond->Variable2Combo, previous);
  } else {
    Cond->ConstantButton->setChecked(true);
  }
  VarConClick();
}

void TConditionAttributeForm::VarConClick() {
  const bool variable = Cond->VariableButton->isChecked();
  Cond->Variable2Combo->setVisible(variable);
  if (!variable) {
    Cond->Variable2ArrayCombo->setVisible(false);
  } else if (Cond->Variable2Combo->currentIndex() < 0) {
    Cond->Variable2Combo->setCurrentIndex(0);
    Variable2ComboChange();
  } else {
    TData* second = Variable2();
    Cond->Variable2ArrayCombo->setVisible(second && second->IsArray());
  }
  Cond->ConEdit->setVisible(Cond->ConstantButton->isChecked());
}

void TConditionAttributeForm::Variable2ComboChange() {
  TData* second = Variable2();
  const bool array = second && second->IsArray();
  Cond->Variable2ArrayCombo->setVisible(array);
  if (array) ClearIndex(*Cond->Variable2ArrayCombo);
}

bool TConditionAttributeForm::Refused(const std::string& text, QWidget* focus) {
  Refuse(text, focus);
  return false;
}

bool TConditionAttributeForm::IndexRefused(QComboBox& box, TData* variable) {
  std::string message;
  if (IndexSelection.ValidateIndex(box, variable->GetSize(), message)) return false;
  Refuse(message, &box);
  return true;
}

bool TConditionAttributeForm::Validate() {
  TData* first = Variable1();
  if (!first) return Refused("You must select a variable", Cond->Variable1Combo);
  if (first->IsArray() && IndexRefused(*Cond->Variable1ArrayCombo, first)) return false;
  TData* second = nullptr;
  if (Cond->VariableButton->isChecked()) {
    second = Variable2();
    if (!second) return Refused("You must select a variable", Cond->Variable2Combo);
    if (second->IsArray() && IndexRefused(*Cond->Variable2ArrayCombo, second)) return false;
  } else {
    const std::string constant = TrimText(Cond->ConEdit->text().toStdString());
    if (constant.empty())
      return Refused("You must enter a value to compare to.", Cond->ConEdit);
    const int type = first->GetDataType();
    if (type != eatSTRING && !TValue::IsValidText(type, constant, false))
      return Refused(constant + " is not a valid " + (type == eatINTEGER ? "Integer" : "Float"),
                     Cond->ConEdit);
  }
  if (Cond->CompareCombo->currentIndex() < 0)
    return Refused("You must select a method of comparison", Cond->CompareCombo);
  if (second == first && Trimmed(*Cond->Variable1ArrayCombo) == Trimmed(*Cond->Variable2ArrayCombo))
    return Refused("The variables cannot use the same index", Cond->Variable2ArrayCombo);
  if (second && first->GetDataType() != second->GetDataType() &&
      Cond->CompareCombo->currentIndex() == TComparison::EQUAL) {
    const std::string question = first->GetDataName() + " and " + second->GetDataName() +
                                 " not the same type.\rIt is not advisable to" +
                                 " compare them using equal since that may never happen.\r" +
                                 "Do you really want to do this?";
    const TMessageBox box =
        QuestionBoxOf(question, "Qorv Warning", TMessageKind::Warning, mbYes | mbNo, mbNo);
    if (UserDialogs().Message(this, box) != mbYes) {
      Cond->CompareCombo->setFocus();
      return false;
    }
  }
  return true;
}

void TConditionAttributeForm::ApplyCondition(TConditionAttributeScript& command) {
  TData* first = Variable1();
  QORV_ASSERT_AS(first!=0, "data1index>-1");
  const int comparison = Cond->CompareCombo->currentIndex();
  if (Cond->VariableButton->isChecked()) {
    TData* second = Variable2();
    QORV_ASSERT_AS(second!=0, "dataindex>-1");
    command.SetVariableCondition(first, second, comparison);
  } else {
    const std::string constant = TrimText(Cond->ConEdit->text().toStdString());
    QORV_ASSERT_AS(Cond->ConstantButton->isChecked()&&!constant.empty(),
                   "ConstantButton->Checked");
    command.SetConstantCondition(first, constant, comparison);
  }
  TCondition* condition = command.GetCondition();
  QORV_ASSERT_AS(condition!=0, "condition!=0");
  if (first->IsArray()) {
    TVariableDataArray* array = ArraySide(condition->GetVariable1());
    QORV_ASSERT_AS(array!=0, "aindex1!=0");
    IndexSelection.ReadIndex(*Cond->Variable1ArrayCombo, array->GetArrayIndex());
  }
  if (Cond->VariableButton->isChecked() && Variable2()->IsArray()) {
    TVariableDataArray* array =
        ArraySide(static_cast<TConditionVariable*>(condition)->GetVariable2());
    QORV_ASSERT_AS(array!=0, "aindex2!=0");
    IndexSelection.ReadIndex(*Cond->Variable2ArrayCombo, array->GetArrayIndex());
  }
  // The element indexes change the condition's text.
  command.UpdateNodeText();
}
