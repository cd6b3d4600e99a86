#include "scripts/ui/repeat_dialog.h"

#include <algorithm>

#include "model/assertion.h"
#include "model/number_text.h"
#include "ui_repeat_dialog.h"

TRepeatScriptForm::TRepeatScriptForm(TRepeatScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 8, parent), Ui(std::make_unique<Ui::TRepeatScriptForm>()),
      Repeat(request) {
  Ui->setupUi(Panel1());
  setWindowTitle("Repeat");
  SizeFromOk(4, 18);
  for (TScript* label : request.Labels)
    Ui->LabelBox->addItem(QString::fromStdString(label->GetText()));
  int selected = 0;
  if (TRepeatScript* repeat = request.Repeat()) {
    Ui->CountEdit->setText(QString::fromStdString(NumberText::IntToText(repeat->GetRepeatCount())));
    QORV_ASSERT(repeat->GetLabelScript()!=0);
    const auto own = std::find(request.Labels.begin(), request.Labels.end(),
                               static_cast<TScript*>(repeat->GetLabelScript()));
    QORV_ASSERT(own!=request.Labels.end());
    selected = static_cast<int>(own - request.Labels.begin());
  }
  Ui->LabelBox->setCurrentIndex(request.Labels.empty() ? -1 : selected);
  if (Ui->LabelBox->count() < 2)
    SetFirstInput(Ui->CountEdit);
  else
    SetFirstInput(Ui->LabelBox);
}

TRepeatScriptForm::~TRepeatScriptForm() = default;

void TRepeatScriptForm::OkClick() {
  Ui->CountEdit->selectAll();
  std::int32_t count = -1;
  if (!NumberText::TextToInt(Ui->CountEdit->text().toStdString(), count)) count = -1;
  if (count <= 0) return Refuse("You must enter an integer value greater than 0", Ui->CountEdit);
  const int index = Ui->LabelBox->currentIndex();
  if (index < 0 || index >= static_cast<int>(Repeat.Labels.size()))
    return Refuse("You must select a label to repeat from", Ui->LabelBox);
  auto* label = static_cast<TLabelScript*>(Repeat.Labels[index]);
  Apply(TScript::REPEAT, [label, count](TScript& repeat) {
    static_cast<TRepeatScript&>(repeat).SetLabel(label, count);
  });
}
