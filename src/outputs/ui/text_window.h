// The window of the text log: a line per plotted value.
#pragma once

#include "outputs/ui/output_window.h"

class TTextForm;

class TTextWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TTextWindow(TTextForm& form);

protected:
  void Refresh() override;

private:
  TTextForm& Kind;
};
