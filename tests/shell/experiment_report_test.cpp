// The experiment report: the parts chosen, in order, with their headings and styles,
// the devices with their commands and the table's legend, a choice of nothing, the
// refusal during a run, and the name the save proposes.
#include "shell/experiment_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "communication/cec_gpib.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "model/data_list.h"
#include "model/experiment_running.h"
#include "support/experiment_fixture.h"
#include "support/line_report.h"

namespace {

const TReportStyle Plain{};
const TReportStyle Bold{.Bold = true};
const TReportStyle Section{.Bold = true, .Underline = true};

class ExperimentReportTest : public TCommandFixture {
protected:
  ExperimentReportTest() {
    Stub(B1, "Measure");
    Single(B1, "x");
    TDevice* meter = Devices.NewDevice();
    meter->GetCoreDevice().SetName("Meter");
    meter->SetCommunication(std::make_unique<TCECGPIB>(0, 5, nullptr));
    meter->GetCoreDevice().NewScript("SET {\\x}");
    meter->UpdateListItem();
  }
  static std::ptrdiff_t IndexOf(const TLineReport& report, const std::string& line) {
    const auto at = std::find(report.Lines.begin(), report.Lines.end(), line);
    return at == report.Lines.end() ? -1 : at - report.Lines.begin();
  }

  TDeviceList Devices{&Exp};
};

const TTexts Legend = {
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

TEST_F(ExperimentReportTest, EveryPartInOrderUnderTheExperimentsHeading) {
  TReportChoice all{{true, true, true, true, true, true}, true, false};
  TLineReport report("#");
  ASSERT_TRUE(WriteExperimentReport(report, Exp, Devices, all));
  EXPECT_TRUE(Ui.Texts().empty());
  ASSERT_GE(report.Lines.size(), 4u);
  EXPECT_EQ(report.Lines[0], "#Experiment: Experiment 1");
  EXPECT_EQ(report.Styles[0], Section);
  EXPECT_EQ(report.Lines[1], "");

  // The experiment's own listing follows as it writes it, then the devices.
  TLineReport experiment("#");
  Exp.WriteReport(experiment, all.Parts);
  ASSERT_GT(report.Lines.size(), 2 + experiment.Lines.size());
  EXPECT_EQ(TTexts(report.Lines.begin() + 2, report.Lines.begin() + 2 + experiment.Lines.size()),
            experiment.Lines);
  const std::ptrdiff_t devices = IndexOf(report, "#Devices");
  EXPECT_EQ(devices, static_cast<std::ptrdiff_t>(3 + experiment.Lines.size()));
  EXPECT_EQ(report.Lines[devices - 1], "");
  EXPECT_EQ(report.Styles[devices], Section);
  EXPECT_EQ(report.Lines[devices + 2], "#Device:\tMeter");
  EXPECT_EQ(report.Styles[devices + 2], Bold);
  for (const char* heading : {"#Command Listing", "#Output Listing", "#Single Varible Listing",
                              "#Array Variable Listing", "#Single File Listings",
                              "#Multiple File Listings"})
    EXPECT_LT(IndexOf(report, heading), devices) << heading;
  EXPECT_GE(IndexOf(report, "\tMeasure"), 0);

  // Without "Device Commands" neither the commands nor the legend.
  EXPECT_EQ(IndexOf(report, "#\tDevice Commands"), -1);
  EXPECT_EQ(IndexOf(report, Legend[0]), -1);
  EXPECT_EQ(report.Lines.back(), "\t\tSecond character to end read:\tNone");
}

TEST_F(ExperimentReportTest, DeviceCommandsBringTheCommandsAndTheLegend) {
  TLineReport report("#");
  ASSERT_TRUE(WriteExperimentReport(report, Exp, Devices, {{}, true, true}));
  // No part of the experiment: the heading, then straight to the devices.
  ASSERT_GT(report.Lines.size(), 5 + Legend.size());
  EXPECT_EQ(TTexts(report.Lines.begin(), report.Lines.begin() + 6),
            (TTexts{"#Experiment: Experiment 1", "", "", "#Devices", "", "#Device:\tMeter"}));
  const std::ptrdiff_t command = IndexOf(report, "#\t\tCommand: SET {\\x}");
  ASSERT_GE(command, 0);
  EXPECT_EQ(report.Styles[command], Bold);
  EXPECT_EQ(report.Lines[command + 1], "\t\t\tResponse: No response.");
  EXPECT_EQ(TTexts(report.Lines.end() - static_cast<std::ptrdiff_t>(Legend.size()),
                   report.Lines.end()),
            Legend);
  for (auto style = report.Styles.end() - static_cast<std::ptrdiff_t>(Legend.size());
       style != report.Styles.end(); ++style)
    EXPECT_EQ(*style, Plain);
  EXPECT_EQ(report.Lines.end()[-static_cast<std::ptrdiff_t>(Legend.size()) - 1], "");

  // Without devices the listing says so.
  TDeviceList none(&Exp);
  TLineReport empty("#");
  ASSERT_TRUE(WriteExperimentReport(empty, Exp, none, {{}, true, true}));
  EXPECT_EQ(TTexts(empty.Lines.begin(), empty.Lines.begin() + 5),
            (TTexts{"#Experiment: Experiment 1", "", "", "#Devices", "No devices"}));
}

TEST_F(ExperimentReportTest, NothingChosenIsNothingToReport) {
  TLineReport report;
  EXPECT_FALSE(WriteExperimentReport(report, Exp, Devices, {}));
  // The device commands alone are no choice: they belong to the device listing.
  EXPECT_FALSE(WriteExperimentReport(report, Exp, Devices, {{}, false, true}));
  EXPECT_TRUE(report.Lines.empty());
  EXPECT_EQ(Ui.Texts(), (TTexts{"Nothing to report", "Nothing to report"}));
  EXPECT_FALSE(ChoosesAnything({{}, false, true}));
  TReportChoice one;
  one.Parts.MultipleFiles = true;
  EXPECT_TRUE(ChoosesAnything(one));
}

TEST_F(ExperimentReportTest, NoReportDuringARun) {
  EXPECT_TRUE(CanProduceReport());
  EXPECT_TRUE(Ui.Texts().empty());
  ExperimentRunning = true;
  EXPECT_FALSE(CanProduceReport());
  ExperimentRunning = false;
  EXPECT_EQ(Ui.Texts(), (TTexts{"An experiment is running you cannot produce a report"}));
}

TEST(ExperimentReportName, TheTitleUpToItsFirstPoint) {
  EXPECT_EQ(ProposedReportName("run7.qve"), "run7");
  EXPECT_EQ(ProposedReportName("a.b.c"), "a");
  EXPECT_EQ(ProposedReportName("Experiment 1"), "Experiment 1");
  EXPECT_EQ(ProposedReportName(".hidden"), "");
  EXPECT_EQ(ProposedReportName(""), "");
}

}  // namespace
