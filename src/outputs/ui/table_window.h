// The window of the table: X/Y data sets in column pairs.
#pragma once

#include "outputs/ui/output_window.h"

class TTableForm;

class TTableWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TTableWindow(TTableForm& form);

protected:
  void Refresh() override;

private:
  TTableForm& Kind;
};
