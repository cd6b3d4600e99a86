// The simulated bus's instrument descriptions: gpibsim::ParseConfig on the text, as
// gpibsim_configure reads it. A text that parses drives every instrument: each reply
// rule's command is sent as a message with EOI and the reply read out in 64-byte reads,
// as the bus calls do. Rules of more than 10000 values are parsed but not answered, so
// that one input stays within the fuzzer's time-out. A refused text must name a line of
// the text and a reason and leave the configuration as it was.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config.h"
#include "support/harness.h"

namespace {

constexpr std::int64_t MaxValuesAnswered = 10000;

// Sends the command and reads the reply until the instrument falls silent.
void Exchange(gpibsim::TInstrument& instrument, const std::string& command,
              const std::array<bool, 256>& endCharacters) {
  instrument.Accept(command, true);
  char buffer[64];
  long count = 0;
  for (int reads = 0; reads < 1 << 20; ++reads) {
    const gpibsim::TTalkEnd end = instrument.Talk(buffer, sizeof buffer, count, &endCharacters);
    FUZZ_CHECK(count >= 0 && count <= static_cast<long>(sizeof buffer));
    if (end == gpibsim::TTalkEnd::SILENCE || end == gpibsim::TTalkEnd::EOI) break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  gpibsim::TBusConfig config;
  config.NiBoards.insert(31);  // a mark: a refused text leaves it
  std::string error;
  const int line = gpibsim::ParseConfig(text, config, error);
  if (line != 0) {
    FUZZ_CHECK(line > 0 && !error.empty());
    FUZZ_CHECK(config.NiBoards.size() == 1 && config.CecBoards.empty() &&
               config.Instruments.empty());
    return 0;
  }
  std::array<bool, 256> endCharacters{};
  endCharacters['\n'] = true;
  for (gpibsim::TInstrument& instrument : config.Instruments) {
    FUZZ_CHECK(instrument.Address >= 0 && instrument.Address <= 30);
    for (const gpibsim::TReplyRule& rule : instrument.Rules)
      if (rule.Kind != gpibsim::TReplyRule::NUMBERS || rule.Count <= MaxValuesAnswered)
        Exchange(instrument, rule.Command, endCharacters);
    instrument.Poll();
    instrument.Clear();
  }
  return 0;
}
