// Type codes of the experiment's attributes (one byte in documents).
#pragma once

#include <cstdint>

enum TExpAttType : std::int8_t {
  eatNOTDEFINED = -1,  // below every defined type
  eatSTRING = 0,
  eatINTEGER = 1,
  eatFLOAT = 2,
};
