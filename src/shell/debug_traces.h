// The variables traced in the debug window and the lines their changes left: after each
// command, every traced variable the command stores into yields one line, newest first.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

class TData;
class TExpAttViewData;
class TScript;

class TDebugTraces {
public:
  bool IsTraced(const TData* variable) const;
  bool HasTraces() const { return !Traced.empty(); }
  int TracedCount() const { return static_cast<int>(Traced.size()); }
  // Traces the variable, or stops tracing it.
  void Toggle(TData* variable);
  // "Clear All Traces": no variable is traced any more; the lines stay.
  void ClearAll();
  // A variable being destroyed is no longer traced (compared by address only).
  void Forget(const TExpAttViewData* attribute);

  // After the command executed: for its stored variable, then its second one, each that
  // is traced yields its own name (no block title) + " New value " + value text + ": " +
  // the command's text.
  void Record(TScript& script);
  // The trace view, newest line first.
  const std::deque<std::string>& Lines() const { return TraceLines; }
  // "Clear View".
  void ClearView();

  // Told after the traced variables or the lines changed.
  std::function<void()> OnChanged;

private:
  void Changed();

  std::vector<TData*> Traced;  // not owned
  std::deque<std::string> TraceLines;
};
