#include "outputs/ui/graph_window.h"

#include "outputs/graph_form.h"

TGraphWindow::TGraphWindow(TGraphForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Graph");
}

void TGraphWindow::Refresh() {}
