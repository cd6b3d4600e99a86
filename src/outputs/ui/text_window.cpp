#include "outputs/ui/text_window.h"

#include "outputs/text_form.h"

TTextWindow::TTextWindow(TTextForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Text");
}

void TTextWindow::Refresh() {}
