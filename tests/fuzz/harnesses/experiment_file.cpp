// Experiment files (".qve") through OpenExperimentFile, as the main window opens them,
// with a device list so that the device section is read too. A file that opens is saved
// and opened again: the second save must give the bytes of the first. A file that does
// not open must leave no diagram and no device behind.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "communication/device_list.h"
#include "model/experiment.h"
#include "shell/draw_parts.h"
#include "shell/experiment_file.h"
#include "support/harness.h"
#include "support/scratch.h"

namespace {

// Opens the file; on failure checks that nothing stayed behind.
std::unique_ptr<TExperiment> Open(const std::string& path, TDrawParts& parts,
                                  TDeviceList& devices) {
  std::string error;
  std::unique_ptr<TExperiment> experiment = OpenExperimentFile(path, parts, &devices, error);
  if (!experiment) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(parts.Count() == 0);
    FUZZ_CHECK(devices.IsEmpty());
    return nullptr;
  }
  FUZZ_CHECK(error.empty());
  devices.SetExperiment(experiment.get());
  return experiment;
}

std::string Save(const std::string& name, TExperiment& experiment, TDrawParts& parts,
                 TDeviceList& devices) {
  std::string error;
  const bool saved =
      SaveExperimentFile(scratch::PathOf(name), experiment, parts, &devices, error);
  FUZZ_CHECK(saved);
  return scratch::Read(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  TDrawParts parts;
  TDeviceList devices;
  std::unique_ptr<TExperiment> experiment =
      Open(scratch::Write("input.qve", data, size), parts, devices);
  if (!experiment) return 0;
  const std::string first = Save("saved.qve", *experiment, parts, devices);

  TDrawParts againParts;
  TDeviceList againDevices;
  std::unique_ptr<TExperiment> again = Open(scratch::PathOf("saved.qve"), againParts, againDevices);
  FUZZ_CHECK(again != nullptr);
  FUZZ_CHECK(Save("saved.qve", *again, againParts, againDevices) == first);
  // The devices take their commands along before the experiments go.
  againDevices.ClearDevices(false);
  devices.ClearDevices(false);
  return 0;
}
