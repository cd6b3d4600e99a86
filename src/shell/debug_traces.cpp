#include "shell/debug_traces.h"

#include <algorithm>

#include "model/data.h"
#include "scripts/script.h"

bool TDebugTraces::IsTraced(const TData* variable) const {
  return variable && std::find(Traced.begin(), Traced.end(), variable) != Traced.end();
}

void TDebugTraces::Toggle(TData* variable) {
  if (!variable) return;
  const auto found = std::find(Traced.begin(), Traced.end(), variable);
  if (found == Traced.end())
    Traced.push_back(variable);
  else
    Traced.erase(found);
  Changed();
}

void TDebugTraces::ClearAll() {
  Traced.clear();
  Changed();
}

void TDebugTraces::Forget(const TExpAttViewData* attribute) {
  const auto gone = std::remove_if(Traced.begin(), Traced.end(), [attribute](TData* variable) {
    return static_cast<const TExpAttViewData*>(variable) == attribute;
  });
  if (gone == Traced.end()) return;
  Traced.erase(gone, Traced.end());
  Changed();
}

void TDebugTraces::Record(TScript& script) {
  if (Traced.empty()) return;
  bool added = false;
  for (TData* variable : {script.GetStoredData(), script.GetSecondStoredData()}) {
    if (!IsTraced(variable)) continue;
    TraceLines.push_front(variable->GetDataName() + " New value " + variable->GetValueText() +
                          ": " + script.GetText());
    added = true;
  }
  if (added) Changed();
}

void TDebugTraces::ClearView() {
  TraceLines.clear();
  Changed();
}

void TDebugTraces::Changed() {
  if (OnChanged) OnChanged();
}
