#include "scripts/ui/clear_output_dialog.h"

#include "model/assertion.h"
#include "outputs/output.h"
#include "ui_clear_output_dialog.h"

TClearScriptForm::TClearScriptForm(TClearScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 67, parent), Ui(std::make_unique<Ui::TClearScriptForm>()),
      Clear(request) {
  Ui->setupUi(Panel1());
  setWindowTitle("Clear Output");
  SizeFromOk(4, 16);
  SetFirstInput(Ui->OutputBox);
  for (TOutput* output : request.Outputs)
    Ui->OutputBox->addItem(QString::fromStdString(output->GetName()));
  int selected = request.Outputs.empty() ? -1 : 0;
  if (TClearPlotScript* clear = request.Clear()) {
    QORV_ASSERT(clear->GetOutput()!=0);
    selected = -1;
    for (std::size_t i = 0; i < request.Outputs.size(); ++i)
      if (request.Outputs[i] == clear->GetOutput()) selected = static_cast<int>(i);
  }
  Ui->OutputBox->setCurrentIndex(selected);
}

TClearScriptForm::~TClearScriptForm() = default;

void TClearScriptForm::OkClick() {
  const int selected = Ui->OutputBox->currentIndex();
  if (selected < 0 || selected >= static_cast<int>(Clear.Outputs.size()))
    return Refuse("You must select an output", Ui->OutputBox);
  TOutput* output = Clear.Outputs[selected];
  Apply(TScript::CLEARPLOT,
        [output](TScript& clear) { static_cast<TClearPlotScript&>(clear).SetOutput(output); });
}
