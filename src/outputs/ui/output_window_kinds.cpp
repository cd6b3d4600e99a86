#include "outputs/ui/output_window_kinds.h"

#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"
#include "outputs/ui/big_num_window.h"
#include "outputs/ui/graph_window.h"
#include "outputs/ui/table_window.h"
#include "outputs/ui/text_window.h"

namespace {

template <class TWindow, class TForm>
TOutputWindow* Make(TOutputForm& form) {
  return new TWindow(static_cast<TForm&>(form));
}

}  // namespace

const std::vector<TOutputWindowKind>& OutputWindowKinds() {
  static const std::vector<TOutputWindowKind> kinds{
      {3, "Text", Make<TTextWindow, TTextForm>},
      {4, "Table", Make<TTableWindow, TTableForm>},
      {5, "Graph", Make<TGraphWindow, TGraphForm>},
      {6, "Big number", Make<TBigNumWindow, TBigNumForm>},
  };
  return kinds;
}

TOutputWindow* MakeOutputWindow(TOutputForm& form) {
  for (const TOutputWindowKind& kind : OutputWindowKinds())
    if (kind.OutputType == form.GetOutputType()) return kind.Make(form);
  return nullptr;
}

void InstallOutputWindows() {
  TOutputForm::SetCreatedHook([](TOutputForm& form) { MakeOutputWindow(form); });
}
