// The serial instrument's rules: every line of the format, replies with their
// terminators, generators summed and printed, and the line and reason of each refusal.
#include "serialsim/rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using serialsim::ParseRules;
using serialsim::TRules;

using TReplies = std::vector<std::optional<std::string>>;

TRules Parsed(const std::string& text) {
  TRules rules;
  std::string error;
  EXPECT_EQ(ParseRules(text, rules, error), 0) << error;
  return rules;
}

TReplies Replies(TRules& rules, const std::string& message, int count) {
  TReplies replies;
  for (int i = 0; i < count; ++i) replies.push_back(rules.Reply(message));
  return replies;
}

TEST(SerialRules, RepliesComeWithTheirTerminatorAndNumbersCountFromTheStart) {
  TRules rules = Parsed(
      "# an instrument\r\n"
      "idn ACME,THERMO,0,1.0 # kept: the text runs to the end of the line\n"
      "\n"
      "terminator 13 10   # CR LF\n"
      "reply MEAS VOLT? = text +1.5E+0\n"
      "reply A=B = text x = y\n"
      "reply COUNT? = number counter 1 2 + constant 0.5\n"
      "reply RAMP? = fixed 3 ramp 0 1 2\n"
      "reply RESET = silent\n");
  EXPECT_EQ(rules.Reply("*IDN?"),
            "ACME,THERMO,0,1.0 # kept: the text runs to the end of the line\r\n");
  EXPECT_EQ(rules.Reply("MEAS VOLT?"), "+1.5E+0\r\n");
  EXPECT_EQ(rules.Reply("A=B"), "x = y\r\n");  // only an "=" between blanks ends the command
  EXPECT_EQ(Replies(rules, "COUNT?", 3), (TReplies{"1.5\r\n", "3.5\r\n", "5.5\r\n"}));
  EXPECT_EQ(Replies(rules, "RAMP?", 4),
            (TReplies{"0.000\r\n", "0.500\r\n", "1.000\r\n", "0.000\r\n"}));
  // No reply for a silent rule, an unknown command or another case.
  EXPECT_EQ(rules.Reply("RESET"), std::nullopt);
  EXPECT_EQ(rules.Reply("count?"), std::nullopt);
  EXPECT_EQ(rules.Reply("BOGUS"), std::nullopt);

  TRules bare = Parsed("terminator none\nreply Q = text 1\n");
  EXPECT_EQ(bare.Reply("Q"), "1");
  EXPECT_EQ(Parsed("reply Q = text 1").Reply("Q"), "1\n");  // LF unless told otherwise
  EXPECT_EQ(serialsim::TrimMessage(" \tTEMP?\r\n"), "TEMP?");
  EXPECT_EQ(serialsim::TrimMessage("\r\n"), "");
}

TEST(SerialRules, ARefusedLineIsNamedWithItsReasonAndChangesNothing) {
  const struct {
    const char* text;
    int line;
    const char* reason;
  } cases[] = {
      {"reply X = bogus", 1, "unknown reply kind \"bogus\""},
      {"idn A\nreply X text 1", 2, "missing \" = \""},
      {"reply  = text 1", 1, "missing command"},
      {"idn A\nreply *IDN? = text B", 2, "a second rule for \"*IDN?\""},
      {"terminator 256", 1, "terminator must be an integer 0..255: \"256\""},
      {"terminator", 1, "missing terminator"},
      {"reply X = fixed 16 constant 1", 1, "decimals must be an integer 0..15: \"16\""},
      {"reply X = number ramp 0 1 0", 1, "steps must be an integer 1..1000000000: \"0\""},
      {"reply X = number sine 1 0", 1, "period must be above 0"},
      {"reply X = number counter 1", 1, "missing step"},
      {"reply X = number constant 1 2", 1, "expected + or the end of the line, found \"2\""},
      {"reply X = number constant 1 +", 1, "missing generator"},
      {"reply X = number constant 1,5", 1, "value is not a number: \"1,5\""},
      {"reply X = number walk 1", 1, "unknown generator \"walk\""},
      {"reply X = silent now", 1, "unexpected \"now\""},
      {"\n\nanswer X", 3, "unknown keyword \"answer\""},
  };
  for (const auto& c : cases) {
    TRules rules = Parsed("reply KEEP = text kept");
    std::string error;
    EXPECT_EQ(ParseRules(c.text, rules, error), c.line) << c.text;
    EXPECT_EQ(error, c.reason) << c.text;
    EXPECT_EQ(rules.Reply("KEEP"), "kept\n") << c.text;
  }
}

TEST(SerialRules, FilesLoadOrNameTheirFault) {
  TTempDir temp;
  TRules rules;
  std::string error;
  EXPECT_FALSE(serialsim::LoadRulesFile(temp.PathOf("missing.rules"), rules, error));
  EXPECT_EQ(error, temp.PathOf("missing.rules") + ": cannot read");
  const std::string bad = temp.WriteBytes("bad.rules", {'i', 'd', 'n', ' ', 'A', '\n', 'x', '\n'});
  EXPECT_FALSE(serialsim::LoadRulesFile(bad, rules, error));
  EXPECT_EQ(error, bad + ": line 2: unknown keyword \"x\"");
  EXPECT_TRUE(serialsim::LoadRulesFile(temp.WriteBytes("empty.rules", {}), rules, error)) << error;
  EXPECT_TRUE(rules.Replies.empty());

  // The demo's thermometer climbs from about 20 to about 25 degrees over 40 readings.
  ASSERT_TRUE(serialsim::LoadRulesFile(std::string(QORV_SOURCE_DIR) + "/tools/serialsim/demo.rules",
                                       rules, error))
      << error;
  EXPECT_EQ(rules.Reply("*IDN?"), "QORV,THERMO-1,0,1.0\n");
  double previous = 0;
  for (int i = 0; i < 40; ++i) {
    const std::string reply = rules.Reply("TEMP?").value_or("");
    ASSERT_EQ(reply.size(), 7u) << reply;  // dd.ddd and LF
    const double value = std::stod(reply);
    EXPECT_NEAR(value, 20 + 5.0 * i / 39, 0.05) << i;
    if (i > 0) {
      EXPECT_GT(value, previous);
    }
    previous = value;
  }
}

}  // namespace
