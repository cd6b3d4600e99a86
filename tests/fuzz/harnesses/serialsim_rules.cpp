// The simulated serial instrument's rules: serialsim::ParseRules on the text, as
// qorv_serialsim reads its rules file. A text that parses answers each of its commands
// three times: a silent rule with nothing, any other with a reply that ends with the
// terminator. A refused text must name a line of the text and a reason and leave the
// rules as they were.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "serialsim/rules.h"
#include "support/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  serialsim::TRules rules;
  rules.Replies["MARK"].Kind = serialsim::TReplyRule::SILENT;  // a refused text leaves it
  std::string error;
  const int line = serialsim::ParseRules(text, rules, error);
  if (line != 0) {
    const auto lines = std::count(text.begin(), text.end(), '\n') + 1;
    FUZZ_CHECK(line > 0 && line <= lines && !error.empty());
    FUZZ_CHECK(rules.Replies.size() == 1 && rules.Replies.count("MARK") == 1);
    FUZZ_CHECK(rules.Terminator == "\n");
    return 0;
  }
  std::vector<std::string> commands;
  for (const auto& [command, rule] : rules.Replies) commands.push_back(command);
  for (const std::string& command : commands) {
    const bool silent = rules.Replies.at(command).Kind == serialsim::TReplyRule::SILENT;
    for (int i = 0; i < 3; ++i) {
      const auto reply = rules.Reply(command);
      FUZZ_CHECK(reply.has_value() != silent);
      if (reply) FUZZ_CHECK(reply->ends_with(rules.Terminator));
    }
  }
  return 0;
}
