// An instrument's rules (format in README.md): which reply each command gets, and the
// bytes that end every reply. Number replies come from the generators of the simulated
// GPIB bus, so both simulators count the same way.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gpibsim/generator.h"

namespace serialsim {

struct TReplyRule {
  enum TKind { TEXT, NUMBER, SILENT };
  TKind Kind = SILENT;
  std::string Text;   // TEXT
  int Decimals = -1;  // NUMBER: fixed decimal places; -1: as "%.15g"
  std::vector<gpibsim::TGenerator> Terms;  // NUMBER: the reply is their sum
};

class TRules {
public:
  // The reply to a received message (already trimmed), its terminator included; none
  // for a command without a rule or a silent one. A number rule's generators advance.
  std::optional<std::string> Reply(const std::string& message);

  std::string Terminator = "\n";
  std::map<std::string, TReplyRule> Replies;
};

// Reads rules text. Answers 0, or the 1-based number of the first line it cannot read
// with the reason in error; rules change only on success.
int ParseRules(std::string_view text, TRules& rules, std::string& error);
// Reads a rules file; error is "<file>: line <n>: <reason>" or "<file>: cannot read".
bool LoadRulesFile(const std::string& path, TRules& rules, std::string& error);

// A message as the rules match it: leading and trailing CR, LF, blanks and tabs removed.
std::string TrimMessage(std::string_view message);

}  // namespace serialsim
