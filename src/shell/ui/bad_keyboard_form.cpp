#include "shell/ui/bad_keyboard_form.h"

#include <string>

#include "model/number_text.h"
#include "shell/ui/screen_placement.h"
#include "ui_bad_keyboard_form.h"

TBadKeyboardForm::TBadKeyboardForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      Ui(std::make_unique<Ui::TBadKeyboardForm>()) {
  Ui->setupUi(this);
}

TBadKeyboardForm::~TBadKeyboardForm() = default;

bool TBadKeyboardForm::NumbersConvert() {
  double value = 0;
  return NumberText::TextToFloat("1.2", value);
}

void TBadKeyboardForm::showEvent(QShowEvent* event) {
  adjustSize();
  CentreOnScreen(*this);
  QDialog::showEvent(event);
}

bool CheckRegionalSettings(const std::function<void(QDialog&)>& showModally) {
  TBadKeyboardForm form;
  const bool compatible = TBadKeyboardForm::NumbersConvert();
  if (!compatible) showModally(form);
  return compatible;
}
