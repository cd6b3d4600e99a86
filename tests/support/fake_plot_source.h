// A Plot command's stand-in: plots chosen points into an output window without an
// experiment. Windows take points from live outputs only: MakeLiveOutput gives one
// with its window, without an experiment or tree node.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/number_text.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/plot_source.h"

class TFakePlotSource : public TPlotSource {
public:
  explicit TFakePlotSource(std::int32_t channel = 0) : Channel(channel) {}

  // The point the window asks for. Without X the counter is X (graph, table); with the
  // counter flag text lines are led by it, as a Plot command's are.
  std::int32_t Channel;
  bool HasX = true;
  double X = 0.0;
  double Y = 0.0;
  bool UseCounter = false;
  std::int32_t Counter = 0;  // points plotted so far

  std::int32_t GetChannel() override { return Channel; }
  void GetXY(double& x, double& y) override {
    x = HasX ? X : Counter;
    y = Y;
  }
  std::string GetValueText(int notation, int decimals) override {
    std::string text;
    if (HasX)
      text = NumberText::FormatNumber(X, notation, decimals) + ", ";
    else if (UseCounter)
      text = NumberText::IntToText(Counter) + ", ";
    return text + NumberText::FormatNumber(Y, notation, decimals);
  }
  bool GetUseCounter() const override { return UseCounter; }

  // Plots (x, y), as a Plot command with an X variable does.
  void Plot(TOutputForm& form, double x, double y) {
    HasX = true;
    X = x;
    Y = y;
    form.PlotValue(this);
    ++Counter;
  }
  // Plots y, as a Plot command without X variable does (X is the counter).
  void Plot(TOutputForm& form, double y) {
    HasX = false;
    Y = y;
    form.PlotValue(this);
    ++Counter;
  }
  // Plots (x, y) through the trace variant; answers the trace lines.
  std::vector<std::string> PlotTrace(TOutputForm& form, double x, double y) {
    HasX = true;
    X = x;
    Y = y;
    std::vector<std::string> trace;
    form.PlotValueTrace(this, trace);
    ++Counter;
    return trace;
  }
};

// A live output of the kind (otTEXT, otTABLE, otGRAPH, otBIGNUMBER) with its window
// made, outside any experiment. Needs a UI port (TFakeUiPort, or the Qt port on the
// main thread).
inline std::unique_ptr<TOutput> MakeLiveOutput(const std::string& name, std::uint8_t kind,
                                               std::int32_t channels = 1) {
  auto output = std::make_unique<TOutput>(name, nullptr, kind, channels);
  output->GetOutputForm();
  return output;
}
