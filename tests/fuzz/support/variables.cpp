#include "support/variables.h"

#include <string>

#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/value.h"
#include "model/value_array.h"

namespace {

TDataSingle* Single(TExperiment& experiment, TBlock* block, int type, const char* name,
                    const char* value) {
  auto* single =
      static_cast<TDataSingle*>(experiment.GetDataSingleList()->Add(block, type, 1, name));
  single->GetValue().SetText(value);
  return single;
}

TDataArray* Array(TExperiment& experiment, TBlock* block, int type, const char* name,
                  const char* const (&values)[4]) {
  auto* array =
      static_cast<TDataArray*>(experiment.GetDataArrayList()->Add(block, type, 4, name));
  for (int i = 0; i < 4; ++i) array->GetValueArray().SetElementText(values[i], i);
  return array;
}

}  // namespace

TVariables::TVariables()
    : Block(Experiment.AddBlock("Block")),
      I(Single(Experiment, Block, eatINTEGER, "i", "3")),
      N(Single(Experiment, Block, eatINTEGER, "n", "1")),
      F(Single(Experiment, Block, eatFLOAT, "f", "2.5")),
      S(Single(Experiment, Block, eatSTRING, "s", "text")),
      Ai(Array(Experiment, Block, eatINTEGER, "ai", {"1", "-2", "30", "4"})),
      Af(Array(Experiment, Block, eatFLOAT, "af", {"0.5", "-1E3", "7", "1.25"})),
      As(Array(Experiment, Block, eatSTRING, "as", {"a", "", "b c", "4"})),
      All{I, N, F, S, Ai, Af, As} {}

TData* TVariables::Pick(std::uint8_t choice) const { return All[choice % All.size()]; }
