#include "scripts/ui/wait_dialog.h"

#include "model/number_text.h"
#include "ui_wait_dialog.h"

TWaitScriptForm::TWaitScriptForm(TWaitScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 13, parent), Ui(std::make_unique<Ui::TWaitScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Wait");
  SizeFromOk(4, 12);
  SetFirstInput(Ui->WaitEdit);
  if (TWaitScript* wait = request.Wait())
    Ui->WaitEdit->setText(QString::fromStdString(NumberText::IntToText(wait->GetTime())));
}

TWaitScriptForm::~TWaitScriptForm() = default;

void TWaitScriptForm::OkClick() {
  Ui->WaitEdit->selectAll();
  std::int32_t time = -1;
  if (!NumberText::TextToInt(Ui->WaitEdit->text().toStdString(), time)) time = -1;
  if (time <= 0) return Refuse("You must enter a time greater than 0", Ui->WaitEdit);
  Apply(TScript::WAIT, [time](TScript& wait) { static_cast<TWaitScript&>(wait).SetTime(time); });
}
