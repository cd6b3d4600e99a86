#include "shell/experiment_report.h"

#include "communication/device_list.h"
#include "model/report.h"
#include "model/ui_port.h"
#include "scripts/experiment_thread.h"

const char* const ReportFileFilter =
    "Rich Text  (*.rtf)|*.rtf|Text File (*.txt)|*.txt|All Files (*.*)|*.*";
const char* const ReportFileExtension = "rtf";

namespace {

// What the columns of the device command table stand for.
const char* const DeviceCommandLegend[] = {
    "Device Command Table Header Definitions:",
    "\tRT:\tResponse Type",
    "\tRA:\tRead As",
    "\tNP:\tNumber of Points to read",
    "\tBytes:\tNumber of Bytes to read",
    "\tDelimiter:\tDelimiter to separate ASCII values",
    "\tLtoR:\tRead Binary Left To Right",
    "Device Command Table Definitions:",
    "\tColumn RT (Response Type):  S=String, I=Integer, F=Float, NR=No response",
    "\tColumn RA (Read As):  A=ASCII, B=Binary",
    ("\tColumn LtoR (Read Binary Left To Right: Y=yes, N=read right to left, NA=ASCII data, "
     "not applicable"),
};

}  // namespace

bool ChoosesAnything(const TReportChoice& choice) {
  const TReportOptions& parts = choice.Parts;
  return parts.Commands || parts.Outputs || parts.SingleVariables || parts.ArrayVariables ||
         parts.SingleFiles || parts.MultipleFiles || choice.Devices;
}

bool CanProduceReport() {
  if (!IsRunActive()) return true;
  Inform("An experiment is running you cannot produce a report");
  return false;
}

bool WriteExperimentReport(TReport& report, const TExperiment& experiment,
                           const TDeviceList& devices, const TReportChoice& choice) {
  if (!ChoosesAnything(choice)) {
    Inform("Nothing to report");
    return false;
  }
  report.AddHeading("Experiment: " + experiment.GetTitle(), true);
  report.AddLine("");
  experiment.WriteReport(report, choice.Parts);
  if (!choice.Devices) return true;
  report.AddLine("");
  report.AddHeading("Devices", true);
  devices.Describe(report, choice.DeviceCommands);
  if (choice.DeviceCommands)
    for (const char* line : DeviceCommandLegend) report.AddLine(line);
  return true;
}

std::string ProposedReportName(const std::string& title) {
  return title.substr(0, title.find('.'));
}
