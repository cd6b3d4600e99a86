// The configuration text (format in README.md): boards and the instruments on them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "instrument.h"

namespace gpibsim {

struct TBusConfig {
  std::map<int, bool> CecBoards;  // present CEC boards: number -> noscan
  std::set<int> NiBoards;         // present NI boards
  std::vector<TInstrument> Instruments;
};

// Reads a whole configuration. Answers 0, or the 1-based number of the first line it
// cannot read, with the reason in error; config is changed only on success.
int ParseConfig(std::string_view text, TBusConfig& config, std::string& error);

}  // namespace gpibsim
