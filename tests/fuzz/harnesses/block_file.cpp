// Block files (".blk") through OpenBlockFile into a fresh experiment, as the main
// window imports them, with a device list so that the block's devices are read too. A
// file that opens is saved and imported again into another fresh experiment: the second
// save must give the bytes of the first. A file that does not open must leave the
// experiment, the diagram and the device list as they were: empty.
#include <cstddef>
#include <cstdint>
#include <string>

#include "communication/device_list.h"
#include "model/block.h"
#include "model/experiment.h"
#include "shell/draw_parts.h"
#include "shell/experiment_file.h"
#include "support/harness.h"
#include "support/scratch.h"

namespace {

// A fresh experiment with its diagram and devices, the devices going first.
struct TWorld {
  TDrawParts Parts;
  TExperiment Experiment;
  TDeviceList Devices{&Experiment};

  TBlock* Import(const std::string& path) {
    std::string error;
    TBlock* block = OpenBlockFile(path, Experiment, Parts, {10, 20}, &Devices, error);
    if (!block) {
      FUZZ_CHECK(!error.empty());
      FUZZ_CHECK(!Experiment.HasBlocks());
      FUZZ_CHECK(Parts.Count() == 0);
      FUZZ_CHECK(Devices.IsEmpty());
      const TExperiment::TAttributeMark left = Experiment.MarkAttributes();
      FUZZ_CHECK(left.Outputs == 0 && left.SingleFiles == 0 && left.MultipleFiles == 0);
      return nullptr;
    }
    FUZZ_CHECK(error.empty());
    FUZZ_CHECK(block->IsStartBlock());
    FUZZ_CHECK(Experiment.GetCurrentBlock() == block);
    return block;
  }
  std::string Save(TBlock* block) {
    std::string error;
    FUZZ_CHECK(SaveBlockFile(scratch::PathOf("saved.blk"), Experiment, block, &Devices, error));
    return scratch::Read("saved.blk");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  TWorld world;
  TBlock* block = world.Import(scratch::Write("input.blk", data, size));
  if (!block) return 0;
  const std::string first = world.Save(block);
  TWorld again;
  TBlock* reopened = again.Import(scratch::PathOf("saved.blk"));
  FUZZ_CHECK(reopened != nullptr);
  FUZZ_CHECK(again.Save(reopened) == first);
  return 0;
}
