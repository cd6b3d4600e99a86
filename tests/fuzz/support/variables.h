// A fresh experiment with one block holding a variable of every kind the command dialogs
// offer, named as the text seeds name them: integers i and n, float f, string s, and
// arrays ai, af and as of four elements, with values set. The expression, condition and
// concatenate harnesses compile their texts against it.
#pragma once

#include <cstdint>
#include <vector>

#include "model/experiment.h"

class TBlock;
class TData;
class TDataArray;
class TDataSingle;

struct TVariables {
  TVariables();
  TVariables(const TVariables&) = delete;
  TVariables& operator=(const TVariables&) = delete;

  // The variable of the choice, among all of them in the order above.
  TData* Pick(std::uint8_t choice) const;

  TExperiment Experiment;
  TBlock* Block;
  TDataSingle* I;
  TDataSingle* N;
  TDataSingle* F;
  TDataSingle* S;
  TDataArray* Ai;
  TDataArray* Af;
  TDataArray* As;
  std::vector<TData*> All;
};
