// Concatenate texts as the Concatenate dialog's OK takes them (ParseConcatenation, with
// or without variable checking), set up as a command, run and traced, its texts shown.
// Byte 0: the target (bit 0: s or an element of as, bits 1 and 2 the element), variable
// checking off (bit 3), trimming (bit 4), the notation (bits 5 and 6, 3 taken as 0), the
// trace (bit 7); byte 1: the decimal places, signed; the rest is the text. A refused text
// ends in std::runtime_error, a failing run in EExperimentError, and nothing else.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "model/block.h"
#include "model/tree_node.h"
#include "model/variable_data.h"
#include "scripts/flow/concatenate_parse.h"
#include "scripts/flow/concatenate_script.h"
#include "support/block_walk.h"
#include "support/harness.h"
#include "support/variables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  THarnessInput input;
  TVariables variables;
  const std::uint8_t flags = data[0];
  const bool check = (flags & 0x08) == 0;
  const std::int32_t notation = ((flags >> 5) & 3) % 3;
  const auto decimals = static_cast<std::int32_t>(static_cast<std::int8_t>(data[1]));
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  TParsePieces pieces;
  try {
    pieces = ParseConcatenation(text, variables.Experiment, check);
  } catch (const std::runtime_error&) {
    FUZZ_CHECK(check);  // only checking refuses
    return 0;
  }
  TBlock* block = variables.Block;
  auto* command = new TConcatenateScript(
      block, variables.Experiment.GetExperimentTree().AddChild(block->AExpNode, "none"));
  TData* target = (flags & 1) ? static_cast<TData*>(variables.As) : variables.S;
  command->SetUp(pieces, target, notation, decimals, !check, (flags & 0x10) != 0);
  if (auto* element = dynamic_cast<TVariableDataArray*>(command->GetVariable()))
    element->GetArrayIndex().SetIndexConstant((flags >> 1) & 3);
  command->GetText();
  command->GetExpressionText();
  WalkBlock(block, 2, (flags & 0x80) != 0);
  return 0;
}
