// The experiment report: the parts the user chose, each with its heading, written from
// the experiment and its devices into a report; and the rules of its save.
#pragma once

#include <string>

#include "model/experiment.h"  // TReportOptions

class TDeviceList;
class TReport;

// What the report lists.
struct TReportChoice {
  TReportOptions Parts;        // commands, outputs, variables, arrays, single and multiple files
  bool Devices = false;
  bool DeviceCommands = false;  // each device's commands, with the table's legend; needs Devices
};

// True when the choice lists anything (device commands count only with the devices).
bool ChoosesAnything(const TReportChoice& choice);

// During a run shows "An experiment is running you cannot produce a report" and answers
// false; true otherwise.
bool CanProduceReport();

// Writes the heading "Experiment: " + the title (bold, underlined), an empty line, the
// experiment's chosen parts, then with Devices an empty line, the heading "Devices" and
// the device listing, and with DeviceCommands the legend of the device command table.
// A choice of nothing shows "Nothing to report", writes nothing and answers false.
bool WriteExperimentReport(TReport& report, const TExperiment& experiment,
                           const TDeviceList& devices, const TReportChoice& choice);

// The name the save proposes: the title up to its first ".".
std::string ProposedReportName(const std::string& title);

// The save's file kinds and default extension, for the file chooser.
extern const char* const ReportFileFilter;
extern const char* const ReportFileExtension;
