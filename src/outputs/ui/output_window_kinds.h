// The table of output window kinds: for each output type the Qt window that renders its
// form. Every window of the program is made through MakeOutputWindow.
#pragma once

#include <cstdint>
#include <vector>

class TOutputForm;
class TOutputWindow;

struct TOutputWindowKind {
  std::uint8_t OutputType;  // the form's GetOutputType()
  const char* Name;
  // Makes the window of a form of this type, which becomes the form's view.
  TOutputWindow* (*Make)(TOutputForm& form);
};

const std::vector<TOutputWindowKind>& OutputWindowKinds();

// The window of the form's kind, attached to the form; none for an unknown type.
TOutputWindow* MakeOutputWindow(TOutputForm& form);

// From now on every output form made gets its window (live forms when their output makes
// them; the detached-output list makes its own through MakeOutputWindow).
void InstallOutputWindows();
