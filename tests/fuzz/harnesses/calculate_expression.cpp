// Expression texts as the Calculate dialog compiles them (CompileCalculateExpression),
// then set up, prepared and run as a Calculate command, traced and shown. The first byte
// chooses radians or degrees (bit 0), the target variable (bits 1 to 3), the element of
// an array target (bits 4 and 5) and whether the run is traced (bit 6); the rest is the
// text. Rejected text ends in TMathTokenException, a failing evaluation or conversion in
// EExperimentError, and nothing else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "expressions/math_token_list.h"
#include "model/errors.h"
#include "model/tree_node.h"
#include "model/variable_data.h"
#include "model/block.h"
#include "scripts/flow/calculate_script.h"
#include "support/harness.h"
#include "support/variables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  THarnessInput input;
  TVariables variables;
  const std::uint8_t flags = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  TExperiment& experiment = variables.Experiment;
  auto* calculate = new TCalculateScript(
      variables.Block, experiment.GetExperimentTree().AddChild(variables.Block->AExpNode, "none"));
  TCalculateExpression compiled;
  try {
    compiled = CompileCalculateExpression(&experiment, calculate, text, (flags & 1) != 0);
  } catch (const TMathTokenException&) {
    return 0;
  }
  FUZZ_CHECK(compiled.List != nullptr && compiled.Text != nullptr);
  // The dialog offers integer and float variables as targets only.
  TData* const targets[] = {variables.I, variables.N, variables.F, variables.Ai, variables.Af};
  TData* target = targets[((flags >> 1) & 7) % 5];
  calculate->SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), target);
  if (auto* element = dynamic_cast<TVariableDataArray*>(calculate->GetStoredVariable()))
    element->GetArrayIndex().SetIndexConstant((flags >> 4) & 3);
  calculate->GetText();
  FUZZ_CHECK(calculate->SetNextScript());
  try {
    if (flags & 0x40) {
      std::vector<std::string> trace;
      calculate->ExecuteTrace(trace);
    } else {
      calculate->Execute();
    }
  } catch (const EExperimentError&) {
  }
  calculate->GetText();
  return 0;
}
