#include "outputs/ui/graph_window.h"

#include "outputs/graph_form.h"

TGraphWindow::TGraphWindow(TGraphForm& form) : TOutputWindow(form), Kind(form) {
  SetSpecificCaption("Graph");
  // F1 opens the graph's own topic.
  setProperty("helpContext", 32);
}

void TGraphWindow::Refresh() {}
