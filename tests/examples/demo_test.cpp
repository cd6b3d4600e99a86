// The demo experiment that scripts/run opens: made as make_demo makes it, saved, reopened
// and run on the worker against the demo's instruments (tools/gpibsim/demo.sim on the
// simulated GPIB bus, tools/serialsim/demo.rules on a pseudo-terminal as COM1), with the
// waits recorded instead of slept. A run ends with only "Experiment Complete"; the data
// file, the graph, the big number and the log hold what the instruments answered.
#include "examples/demo_experiment.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "communication/device.h"
#include "model/block.h"
#include "model/ui_port.h"
#include "outputs/big_num_form.h"
#include "outputs/graph_form.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "outputs/table_form.h"
#include "outputs/text_form.h"
#include "scripts/flow/wait_script.h"
#include "serialsim/server.h"
#include "shell/experiment_file.h"
#include "support/experiment_fixture.h"
#include "support/gpib_sim.h"
#include "support/served_thermometer.h"

namespace {

// The demo's instruments, as scripts/run serves them.
const std::string DemoBus = std::string(QORV_SOURCE_DIR) + "/tools/gpibsim/demo.sim";
const std::string DemoRules = std::string(QORV_SOURCE_DIR) + "/tools/serialsim/demo.rules";

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;
       start = at + separator.size())
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

double Number(const std::string& text) {
  double value = NAN;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
  return value;
}

class DemoTest : public TExperimentFixture {
protected:
  DemoTest() {
    PreviousSleeper = TWaitScript::SetSleeper([this](std::int32_t time) {
      std::lock_guard guard(SleptLock);
      Slept.push_back(time);
    });
  }
  ~DemoTest() override { TWaitScript::SetSleeper(PreviousSleeper); }

  std::vector<std::int32_t> TakeSlept() {
    std::lock_guard guard(SleptLock);
    return std::exchange(Slept, {});
  }
  static TOutput* OutputNamed(TExperiment& experiment, const std::string& name) {
    for (TOutput* output : experiment.GetOutputList()->GetOutputs())
      if (output->GetName() == name) return output;
    ADD_FAILURE() << "no output " << name;
    return nullptr;
  }
  // The run as the main window makes it: the check, the worker with the end-of-run
  // step, the first block selected again. Answers the texts shown.
  TTexts RunDemo(TExperiment& experiment) {
    experiment.SelectFirstBlock();
    TBlock* start = experiment.Run();
    if (!start) return Ui.Texts();
    const TTexts shown = RunOnWorker(start, [&experiment] { experiment.ResetOutputsAndFiles(); });
    experiment.SelectFirstBlock();
    return shown;
  }

  TGpibSim Sim{FileText(DemoBus)};
  TServedThermometer Thermometer{DemoRules};
  TWaitScript::TSleeper PreviousSleeper;
  std::mutex SleptLock;
  std::vector<std::int32_t> Slept;
};

TEST_F(DemoTest, TheSavedDemoOpensAndRunsToCompletionFillingItsOutputsAndDataFile) {
  const TDemoSettings settings{Temp.Path().string()};
  const std::string path = Temp.PathOf("demo.qve");
  std::string error;
  {
    TDemoExperiment demo(settings);
    ASSERT_TRUE(demo.Save(path, error)) << error;
  }
  const TBytes saved = Temp.ReadBytes("demo.qve");
  EXPECT_TRUE(Ui.Texts().empty());

  // Opened as the main window opens the file of its command line.
  TDeviceList devices(nullptr);
  TDrawParts parts;
  std::unique_ptr<TExperiment> demo = OpenExperimentFile(path, parts, &devices, error);
  ASSERT_NE(demo, nullptr) << error;
  devices.SetExperiment(demo.get());
  EXPECT_TRUE(Ui.Texts().empty());
  EXPECT_EQ(demo->GetTitle(), "demo.qve");
  EXPECT_EQ(parts.Count(), 3);  // two boxes and the line between them
  TBlock* measure = BlockOfNode(demo->GetExperimentTree().Item(0));
  ASSERT_NE(measure, nullptr);
  EXPECT_TRUE(measure->IsStartBlock());
  EXPECT_EQ(measure->GetTitle(), "Measure");
  ASSERT_NE(measure->GetNextBlock(), nullptr);
  EXPECT_EQ(measure->GetNextBlock()->GetTitle(), "Summary");
  ASSERT_EQ(devices.Count(), 2u);
  EXPECT_EQ(devices.GetDevice(0)->GetName(), "Meter");
  EXPECT_EQ(devices.GetDevice(1)->GetName(), "Thermometer");
  // Nothing is lost on the way: the reopened demo saves the same bytes.
  ASSERT_TRUE(SaveExperimentFile(path, *demo, parts, &devices, error)) << error;
  EXPECT_EQ(Temp.ReadBytes("demo.qve"), saved);

  const std::int32_t readings = settings.Readings;
  std::string runs;  // what the meter received in all runs
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run + 1));
    EXPECT_EQ(RunDemo(*demo), TTexts{"Experiment Complete"});

    // The thermometer: its identity, then one temperature per reading.
    const TServed served = Thermometer.Take();
    ASSERT_EQ(served.size(), static_cast<std::size_t>(readings + 1));
    EXPECT_EQ(served[0], (std::pair<std::string, std::string>{"*IDN?", "QORV,THERMO-1,0,1.0\n"}));
    std::vector<double> temperatures;
    for (std::size_t i = 1; i < served.size(); ++i) {
      EXPECT_EQ(served[i].first, "TEMP?");
      ASSERT_EQ(served[i].second.back(), '\n');
      temperatures.push_back(Number(served[i].second.substr(0, served[i].second.size() - 1)));
    }
    // The meter: reset, identity, then one MEAS? per reading (a sine of 2.5 V, 40 values
    // a period, counted from the configuration on, so the second run goes on from the
    // first one's last value).
    std::string sent = "*RST\r\n*IDN?\r\n";
    for (std::int32_t i = 0; i < readings; ++i) sent += "MEAS?\r\n";
    runs += sent;
    EXPECT_EQ(Sim.Received(TGpibSim::kNI, 0, 5), runs);
    const auto volts = [&](std::int32_t i) {
      return 2.5 * std::sin(2 * std::numbers::pi * (run * readings + i) / 40);
    };
    EXPECT_EQ(TakeSlept(), std::vector<std::int32_t>(readings, settings.WaitMilliseconds));

    // The data file: one line per reading, written afresh by each run.
    const std::vector<std::string> lines =
        Split(FileText(Temp.PathOf(DemoDataFileName)), "\r\n");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(readings + 1));
    EXPECT_EQ(lines.back(), "");
    for (std::int32_t i = 0; i < readings; ++i) {
      const std::vector<std::string> fields = Split(lines[i], "\t");
      ASSERT_EQ(fields.size(), 4u) << lines[i];
      EXPECT_EQ(fields[0], std::to_string(i + 1) + ".000");  // one notation for every field
      EXPECT_NEAR(Number(fields[1]), volts(i), 0.0006) << lines[i];
      EXPECT_NEAR(Number(fields[2]), temperatures[i], 0.0006) << lines[i];
      EXPECT_NEAR(Number(fields[3]), volts(i) * volts(i) / 50 * 1000, 0.002) << lines[i];
    }

    // The graph: the volts on channel 0, the temperatures on channel 1, over the reading
    // number; each run starts them afresh.
    TOutput* graph = OutputNamed(*demo, DemoGraphTitle);
    ASSERT_NE(graph, nullptr);
    auto& chart = dynamic_cast<TGraphForm&>(*graph->GetOutputForm());
    ASSERT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(chart.GetSeries(0).Name, "Meter (V)");
    EXPECT_EQ(chart.GetSeries(1).Name, "Thermometer (deg C)");
    for (std::int32_t s = 0; s < 2; ++s) {
      const TGraphSeries& series = chart.GetSeries(s);
      ASSERT_EQ(series.Count(), readings);
      for (std::int32_t i = 0; i < readings; ++i) {
        EXPECT_EQ(series.X[i], i + 1);
        const double expected = s == 0 ? volts(i) : temperatures[i];
        EXPECT_NEAR(series.Y[i], expected, 1e-5) << "series " << s << " point " << i;
      }
    }
    // The table: the volts, the temperatures and the power, each beside its reading
    // number, in fixed notation with 3 decimals.
    TOutput* table = OutputNamed(*demo, DemoTableTitle);
    ASSERT_NE(table, nullptr);
    auto& columns = dynamic_cast<TTableForm&>(*table->GetOutputForm());
    ASSERT_EQ(columns.SeriesCount(), 3);
    EXPECT_EQ(columns.GetSeries(2).YName, "mW");
    for (std::int32_t i = 0; i < readings; ++i) {
      EXPECT_EQ(columns.GetXText(0, i), std::to_string(i + 1) + ".000");
      EXPECT_NEAR(Number(columns.GetYText(0, i)), volts(i), 0.0006);
      EXPECT_NEAR(Number(columns.GetYText(1, i)), temperatures[i], 0.0006);
      EXPECT_NEAR(Number(columns.GetYText(2, i)), volts(i) * volts(i) / 50 * 1000, 0.002);
    }
    EXPECT_EQ(columns.MaxDataCount(), readings);
    // The big number shows the last temperature.
    TOutput* big = OutputNamed(*demo, DemoBigNumberTitle);
    ASSERT_NE(big, nullptr);
    const std::string shown = dynamic_cast<TBigNumForm&>(*big->GetOutputForm()).GetValue();
    EXPECT_NEAR(Number(shown), temperatures.back(), 0.0051) << shown;

    // The log, cleared by each run: both identities, then the mean of the temperatures.
    TOutput* log = OutputNamed(*demo, DemoLogTitle);
    ASSERT_NE(log, nullptr);
    const std::vector<std::string>& logged =
        dynamic_cast<TTextForm&>(*log->GetOutputForm()).GetLines();
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_EQ(logged[0], "QORV,DMM-5,0,1.0");
    EXPECT_EQ(logged[1], "QORV,THERMO-1,0,1.0");
    const std::string prefix = "Mean temperature ";
    const std::string suffix = " deg C";
    const std::string& summary = logged[2];
    ASSERT_TRUE(summary.starts_with(prefix) && summary.ends_with(suffix)) << summary;
    double mean = 0;
    for (const double t : temperatures) mean += t / readings;
    EXPECT_NEAR(Number(summary.substr(prefix.size(), summary.size() - prefix.size() -
                                                         suffix.size())),
                mean, 0.0051)
        << summary;
  }
}

}  // namespace

// make_demo fails the build when the core shows anything while the demo is made: the
// console port counts what it shows, questions too.
TEST(DemoBuildTest, TheConsoleCountsWhatTheCoreShows) {
  TUiPort* previous = SetUiPort(nullptr);
  const int before = ConsoleMessagesShown();
  Inform("shown while the demo is made");
  UiPort().Ask("asked while the demo is made", "", TMessageKind::Warning, mbYes | mbNo);
  EXPECT_EQ(ConsoleMessagesShown(), before + 2);
  SetUiPort(previous);
}
