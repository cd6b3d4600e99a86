// The document seeds: the sample experiment saved as an experiment file (with and
// without devices), each of its blocks as a block file, its devices as device files and
// a configuration, and its outputs, after a run has filled them, as output files.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "communication/device.h"
#include "communication/device_list.h"
#include "model/block.h"
#include "model/experiment_running.h"
#include "outputs/output.h"
#include "outputs/output_file.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/wait_script.h"
#include "seeds/sample_experiment.h"
#include "seeds/seed_writer.h"
#include "shell/experiment_file.h"
#include "support/harness.h"
#include "support/scratch.h"
#include "support/scratch_paths.h"

namespace {

void Require(bool done, const std::string& what) {
  if (done) return;
  std::fprintf(stderr, "make_seeds: cannot save %s\n", what.c_str());
  std::exit(1);
}

void SaveExperiment(const TSeedWriter& seeds, const std::string& harness, const std::string& name,
                    TSampleExperiment& sample) {
  std::string error;
  Require(SaveExperimentFile(seeds.PathOf(harness, name), sample.Experiment, sample.Parts,
                             &sample.Devices, error),
          name + ": " + error);
}

void SaveBlocks(const TSeedWriter& seeds, TSampleExperiment& sample) {
  const struct { TBlock* Block; const char* Name; } blocks[] = {
      {sample.First, "start.blk"}, {sample.Second, "devices.blk"}, {sample.Third, "finish.blk"}};
  for (const auto& block : blocks) {
    std::string error;
    Require(SaveBlockFile(seeds.PathOf("block_file", block.Name), sample.Experiment, block.Block,
                          &sample.Devices, error),
            std::string(block.Name) + ": " + error);
  }
}

void SaveDevices(const TSeedWriter& seeds, const TDeviceList& devices) {
  for (std::size_t i = 0; i < devices.Count(); ++i) {
    TDevice* device = devices.GetDevice(i);
    const std::string name = device->GetName() + ".dev";
    Require(device->SaveDeviceFile(seeds.PathOf("device_file", name)), name);
  }
  Require(devices.SaveDeviceConfiguration(seeds.PathOf("device_configuration", "all.dcg")),
          "all.dcg");
  TDeviceList none;
  Require(none.SaveDeviceConfiguration(seeds.PathOf("device_configuration", "none.dcg")),
          "none.dcg");
}

// Runs the experiment to its end as the run harness does, so that its outputs hold data.
void Run(TSampleExperiment& sample, TQuietUiPort& port) {
  const std::string values = scratch::Write("values.txt", "1.5, 2;3E2 -4\r\n5\n");
  KeepFilesInScratch(sample.Experiment, port, values);
  TBlock* start = sample.Experiment.Run();
  Require(start != nullptr, "the sample's run");
  TExperimentThread thread([&sample] {
    sample.Experiment.ResetOutputsAndFiles();
    sample.Experiment.SelectFirstBlock();
    ExperimentRunning = false;
  });
  thread.SetCommandLimit(2000);
  thread.SetFirstBlock(start);
  thread.Start();
  thread.Join();
}

void SaveOutputs(const TSeedWriter& seeds, TSampleExperiment& sample) {
  for (TOutput* output : sample.Experiment.GetOutputList()->GetOutputs()) {
    const std::string name = output->GetName() + ".opt";
    Require(SaveOutputFile(*output->GetOutputForm(), seeds.PathOf("output_file", name)), name);
  }
  for (int kind = 3; kind <= 6; ++kind) {
    const std::string name = "empty" + std::to_string(kind) + ".opt";
    Require(SaveOutputFile(*MakeDetachedForm(kind, nullptr), seeds.PathOf("output_file", name)),
            name);
  }
}

}  // namespace

void MakeDocumentSeeds(const TSeedWriter& seeds) {
  THarnessInput input;
  TWaitScript::SetSleeper([](std::int32_t) {});
  {
    TSampleExperiment sample(true);
    SaveExperiment(seeds, "experiment_file", "devices.qve", sample);
    SaveBlocks(seeds, sample);
    SaveDevices(seeds, sample.Devices);
    sample.Devices.ClearDevices(false);
  }
  {
    TExperiment nothing;
    TDrawParts parts;
    std::string error;
    Require(SaveExperimentFile(seeds.PathOf("experiment_file", "empty.qve"), nothing, parts,
                               nullptr, error),
            "empty.qve");
  }
  TSampleExperiment sample(false);
  SaveExperiment(seeds, "experiment_file", "plain.qve", sample);
  seeds.Copy("experiment_file", "experiment_run", "plain.qve");
  Run(sample, input.Port());
  SaveOutputs(seeds, sample);
}
