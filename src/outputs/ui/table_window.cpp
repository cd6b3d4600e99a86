#include "outputs/ui/table_window.h"

#include "outputs/table_form.h"

TTableWindow::TTableWindow(TTableForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Table");
}

void TTableWindow::Refresh() {}
