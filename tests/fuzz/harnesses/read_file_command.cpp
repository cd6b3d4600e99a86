// The Read File command's parser on file bytes: the bytes go to a file in the scratch
// folder, which a Read File command, set up as its dialog's OK does, reads into an array
// when it runs (or is traced). The first bytes choose the setting:
//   byte 0: the array's type (0 string, 1 integer, 2 float, 3 taken as 2), whitespace
//           as delimiter (bit 2), D to E (bit 3), a count variable (bit 4), the trace
//           (bit 5);
//   byte 1: the array's size: 2 + the byte modulo 255;
//   bytes 2 and 3: the two delimiters, 0 for none;
//   the rest: the file.
// A failing read ends in EExperimentError and nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/tree_node.h"
#include "scripts/files/read_file_script.h"
#include "support/block_walk.h"
#include "support/harness.h"
#include "support/scratch.h"
#include "support/variables.h"

namespace {

std::string Delimiter(std::uint8_t byte) {
  return byte == 0 ? std::string() : std::string(1, static_cast<char>(byte));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  THarnessInput input;
  TVariables variables;
  const std::uint8_t flags = data[0];
  const int type = (flags & 3) == 3 ? eatFLOAT : flags & 3;
  const std::string path = scratch::Write("input.txt", data + 4, size - 4);
  TBlock* block = variables.Block;
  TExperiment& experiment = variables.Experiment;
  TData* array = experiment.GetDataArrayList()->Add(block, type, data[1] % 255 + 2, "values");
  auto* read = new TReadFileScript(
      block, experiment.GetExperimentTree().AddChild(block->AExpNode, "none"));
  read->SetUpReadFile(path, array, (flags & 4) != 0, (flags & 8) != 0, Delimiter(data[2]),
                      Delimiter(data[3]), (flags & 0x10) ? variables.I : nullptr);
  read->GetText();
  WalkBlock(block, 1, (flags & 0x20) != 0);
  array->GetValueText();
  return 0;
}
