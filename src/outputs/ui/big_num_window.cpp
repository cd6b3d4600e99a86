#include "outputs/ui/big_num_window.h"

#include "outputs/big_num_form.h"

TBigNumWindow::TBigNumWindow(TBigNumForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("&BigNum");
}

void TBigNumWindow::Refresh() {}
