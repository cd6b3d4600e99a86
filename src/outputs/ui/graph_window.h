// The window of the graph: the output's channels and data series drawn on one chart.
#pragma once

#include "outputs/ui/output_window.h"

class TGraphForm;

class TGraphWindow : public TOutputWindow {
  Q_OBJECT

public:
  explicit TGraphWindow(TGraphForm& form);

protected:
  void Refresh() override;

private:
  TGraphForm& Kind;
};
