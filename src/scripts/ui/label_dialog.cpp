#include "scripts/ui/label_dialog.h"

#include "ui_label_dialog.h"

TLabelScriptForm::TLabelScriptForm(TLabelScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 2, parent), Ui(std::make_unique<Ui::TLabelScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Label");
  SizeFromOk(5, 13);
  SetFirstInput(Ui->LabelEdit);
  if (TLabelScript* label = request.Label())
    Ui->LabelEdit->setText(QString::fromStdString(label->GetTitle()));
}

TLabelScriptForm::~TLabelScriptForm() = default;

void TLabelScriptForm::OkClick() {
  // A title of blanks is a title: only an empty one is refused.
  const std::string title = Ui->LabelEdit->text().toStdString();
  if (title.empty()) return Refuse("You must enter a label title", Ui->LabelEdit);
  Apply(TScript::LABEL,
        [title](TScript& label) { static_cast<TLabelScript&>(label).SetTitle(title); });
}
