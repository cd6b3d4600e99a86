// Device configuration files (".dcg") through TDeviceList::LoadDeviceConfiguration, as
// the device list's menu reads them. A file that reads is saved, read into another list
// and saved again: both saves must give the same bytes. A refused file leaves none of
// the devices it added.
#include <cstddef>
#include <cstdint>
#include <string>

#include "communication/device.h"
#include "communication/device_list.h"
#include "model/experiment.h"
#include "support/harness.h"
#include "support/scratch.h"

namespace {

std::string Save(const TDeviceList& list) {
  FUZZ_CHECK(list.SaveDeviceConfiguration(scratch::PathOf("saved.dcg")));
  return scratch::Read("saved.dcg");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  TExperiment experiment;
  TDeviceList list(&experiment);
  if (!list.LoadDeviceConfiguration(scratch::Write("input.dcg", data, size))) {
    FUZZ_CHECK(list.IsEmpty());
    return 0;
  }
  const std::string first = Save(list);
  TDeviceList again(&experiment);
  FUZZ_CHECK(again.LoadDeviceConfiguration(scratch::PathOf("saved.dcg")));
  FUZZ_CHECK(Save(again) == first);
  return 0;
}
