// The window of the big number: the newest value in large text, optionally logged to a file.
#pragma once

#include "outputs/ui/output_window.h"

class TBigNumForm;

class TBigNumWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TBigNumWindow(TBigNumForm& form);

protected:
  void Refresh() override;

private:
  TBigNumForm& Kind;
};
