// The demo experiment that scripts/run opens, built through the core's own operations as
// the dialogs build it, so that its file always matches the file format of the build.
//
// Two instruments: "Meter", a multimeter on the simulated GPIB bus (NI board 0, address
// 5 of tools/gpibsim/demo.sim), and "Thermometer", a serial instrument on COM1 (served
// by tools/serialsim with tools/serialsim/demo.rules). Two blocks joined by a line:
// "Measure" asks both for their identity, then repeats a reading of each, a calculation,
// plots and a line of the data file, with a short wait; "Summary" computes the mean
// temperature and logs it.
#pragma once

#include <cstdint>
#include <string>

#include "communication/device_list.h"
#include "model/experiment.h"
#include "shell/draw_parts.h"

struct TDemoSettings {
  // The folder of the data file; it must exist when the demo runs.
  std::string DataDirectory;
  // Passes of the measuring loop, and the pause of each.
  std::int32_t Readings = 40;
  std::int32_t WaitMilliseconds = 100;
};

// The data file's name in its folder: one line per reading, n, volts, temperature and
// power separated by tabs, every number (the reading number too) in fixed notation with
// 3 decimals.
inline constexpr const char* DemoDataFileName = "demo-readings.txt";
// The outputs' titles: the graph (channel 0 the meter's volts, channel 1 the
// temperature, both over the reading number), the table (the volts, the temperature and
// the power, each beside its reading number), the big number (the temperature) and the
// text log.
inline constexpr const char* DemoGraphTitle = "Readings";
inline constexpr const char* DemoTableTitle = "Reading Table";
inline constexpr const char* DemoBigNumberTitle = "Temperature";
inline constexpr const char* DemoLogTitle = "Log";

class TDemoExperiment {
public:
  explicit TDemoExperiment(const TDemoSettings& settings);
  TDemoExperiment(const TDemoExperiment&) = delete;
  TDemoExperiment& operator=(const TDemoExperiment&) = delete;

  // Saves the experiment file with its devices; false with the error's message.
  bool Save(const std::string& path, std::string& error);

  TDrawParts Parts;
  TExperiment Experiment;            // destroyed before the boxes
  TDeviceList Devices{&Experiment};  // destroyed first, with the commands that use them
};
