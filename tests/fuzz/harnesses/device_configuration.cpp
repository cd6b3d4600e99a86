// Device configuration files (".dcg") through TDeviceList::LoadDeviceConfiguration, as
// the device list's menu reads them. The devices a file leaves (all of a file that
// reads, those read before the failure of one that is refused) are saved, read into
// another list and saved again: both saves must give the same bytes.
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
  list.LoadDeviceConfiguration(scratch::Write("input.dcg", data, size));
  const std::string first = Save(list);
  TDeviceList again(&experiment);
  FUZZ_CHECK(again.LoadDeviceConfiguration(scratch::PathOf("saved.dcg")));
  FUZZ_CHECK(Save(again) == first);
  return 0;
}
