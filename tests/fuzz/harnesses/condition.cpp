// Condition texts as the If-Then and Repeat-Until dialogs take them: the constant typed
// is accepted when it is valid for the chosen variable's type (TValue::IsValidText) and
// then set with SetConstantCondition; the If-Then, linked to its End If, is run and
// traced and its texts are shown. The input is
//   byte 0: the variable (of i n f s ai af as) and, with bit 7, a second variable to
//           compare with instead of the constant, the constant text becoming its value;
//   byte 1: the comparison (0 to 4) and the trace (bit 7);
//   byte 2: the element of an array variable: 0 to 3, 4 and up the index variable n;
//   then the variable's value text, a NUL, and the constant text (without a NUL all of
//   it is the constant).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "expressions/condition.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/errors.h"
#include "model/tree_node.h"
#include "model/value.h"
#include "model/value_array.h"
#include "model/variable_data.h"
#include "scripts/flow/end_if_script.h"
#include "scripts/flow/if_then_script.h"
#include "support/block_walk.h"
#include "support/harness.h"
#include "support/variables.h"

namespace {

// Sets the variable's value (every element of an array) as a run would; a text its type
// refuses leaves the value as it was.
void SetValue(TData* variable, const std::string& text) {
  try {
    if (auto* single = dynamic_cast<TDataSingle*>(variable)) {
      single->GetValue().SetText(text);
    } else {
      auto* array = static_cast<TDataArray*>(variable);
      for (std::int32_t i = 0; i < array->GetSize(); ++i)
        array->GetValueArray().SetElementText(text, i);
    }
  } catch (const EExperimentError&) {
  }
}

// Chooses the element the reference names when it names an array.
void ChooseElement(TVariableData* reference, const TVariables& variables, std::uint8_t choice) {
  auto* element = dynamic_cast<TVariableDataArray*>(reference);
  if (!element) return;
  if (choice < 4)
    element->GetArrayIndex().SetIndexConstant(choice);
  else
    element->GetArrayIndex().SetIndexVariable(variables.N);
}

// The second variables the dialog offers: of the first one's kind of type (texts with
// texts, numbers with numbers).
TData* SecondVariable(const TVariables& variables, TData* first, std::uint8_t choice) {
  const bool text = first->GetDataType() == eatSTRING;
  std::vector<TData*> offered;
  for (TData* variable : variables.All)
    if ((variable->GetDataType() == eatSTRING) == text) offered.push_back(variable);
  return offered[choice % offered.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  THarnessInput input;
  TVariables variables;
  const std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
  const std::size_t nul = rest.find('\0');
  const std::string value = nul == std::string::npos ? "" : rest.substr(0, nul);
  const std::string constant = nul == std::string::npos ? rest : rest.substr(nul + 1);
  TData* variable = variables.Pick(data[0] & 0x7F);
  const int comparison = (data[1] & 0x7F) % 5;
  if (!value.empty()) SetValue(variable, value);

  TTree& tree = variables.Experiment.GetExperimentTree();
  TBlock* block = variables.Block;
  auto* ifthen = new TIfThenScript(block, tree.AddChild(block->AExpNode, "none"));
  if (data[0] & 0x80) {
    TData* second = SecondVariable(variables, variable, data[2]);
    SetValue(second, constant);
    ifthen->SetVariableCondition(variable, second, comparison);
    if (ifthen->GetCondition()->ValidateTypes()) return 0;  // the dialog's No deletes it
    ChooseElement(static_cast<TConditionVariable*>(ifthen->GetCondition())->GetVariable2(),
                  variables, data[2] >> 4);
  } else {
    if (constant.empty() || !TValue::IsValidText(variable->GetDataType(), constant, false))
      return 0;  // the dialog refuses the text
    ifthen->SetConstantCondition(variable, constant, comparison);
  }
  TCondition* condition = ifthen->GetCondition();
  ChooseElement(condition->GetVariable1(), variables, data[2] & 0x0F);
  FUZZ_CHECK(condition->IsComplete());
  auto* endif = new TEndIfScript(block, tree.AddChild(block->AExpNode, "none"));
  endif->LinkSection(ifthen, nullptr);
  ifthen->GetText();
  try {
    condition->GetValueText();  // as the trace takes it: an element may be out of range
  } catch (const EExperimentError&) {
  }
  WalkBlock(block, 4, (data[1] & 0x80) != 0);
  return 0;
}
