// What output windows and outputs need of the command that plots into them (the Plot
// command), so that outputs do not depend on the commands and windows can be fed
// without an experiment (tests use a fake source).
#pragma once

#include <cstdint>
#include <string>

class TPlotIndex;

// One point of a Plot command, as a window takes it.
class TPlotSource {
public:
  virtual ~TPlotSource() = default;

  // The channel (graph series, table data set) the point goes to; checked against the
  // output's channels before the window is called.
  virtual std::int32_t GetChannel() = 0;
  // Graph and table: Y's value, and X's value or the counter.
  virtual void GetXY(double& x, double& y) = 0;
  // Text, big number and trace lines: "X, Y", "counter, Y" or "Y" in the notation and
  // number of decimal places given.
  virtual std::string GetValueText(int notation, int decimals) = 0;
  // Whether the lines of an entire array in a text window are led by the element index.
  virtual bool GetUseCounter() const = 0;
};

// A Plot command as its output's plot list holds it. Deleting it deletes the command.
class TPlotUser : public TPlotSource {
public:
  // The channel setting (fixed index or variable), made on first use.
  virtual TPlotIndex* GetPlotIndex() = 0;
  // The command's text, as the user sees it in the block.
  virtual std::string GetText() = 0;
  // The output changed kind: the command takes what the new kind plots.
  virtual void OutputKindChanged() = 0;
};
