#include "scripts/ui/increment_dialog.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/value.h"
#include "model/variable_data.h"
#include "ui_increment_dialog.h"

TIncrementScriptForm::TIncrementScriptForm(TIncrementScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 5, parent), Ui(std::make_unique<Ui::TIncrementScriptForm>()),
      Increment(request) {
  Ui->setupUi(Panel1());
  setWindowTitle("Increment");
  SizeFromOk(4, 16);
  for (TDataSingle* variable : request.Variables)
    Ui->ConstantBox->addItem(QString::fromStdString(variable->GetDataName()));
  int selected = 0;
  if (TIncrementScript* increment = request.Increment()) {
    QORV_ASSERT_AS(increment->GetVariable()!=0, "Pincrementscript->Variable!=0");
    Ui->IncEdit->setText(QString::fromStdString(increment->GetIncrementText()));
    const auto own = std::find(request.Variables.begin(), request.Variables.end(),
                               increment->GetVariable()->GetData());
    // A variable made read-only since is no longer offered: the first one shows.
    if (own != request.Variables.end())
      selected = static_cast<int>(own - request.Variables.begin());
  }
  Ui->ConstantBox->setCurrentIndex(request.Variables.empty() ? -1 : selected);
  SetFirstInput(Ui->ConstantBox);
}

TIncrementScriptForm::~TIncrementScriptForm() = default;

void TIncrementScriptForm::OkClick() {
  Ui->IncEdit->selectAll();
  const std::string text = Ui->IncEdit->text().toStdString();
  if (text.empty()) return Refuse("You must enter and amount to increment by.", Ui->IncEdit);
  const int index = Ui->ConstantBox->currentIndex();
  QORV_ASSERT_AS(index>-1&&index<static_cast<int>(Increment.Variables.size()), "index>-1");
  TDataSingle* variable = Increment.Variables[index];
  QORV_ASSERT_AS(variable!=0, "datasingle!=0");
  try {
    TIncrementScript::MakeStep(variable->GetDataType(), text);
  } catch (const EExperimentError& error) {
    return Refuse(error.GetMessage(), Ui->IncEdit);
  }
  Apply(TScript::INCREMENT, [variable, text](TScript& increment) {
    static_cast<TIncrementScript&>(increment).SetUpIncrement(variable, text);
  });
}
