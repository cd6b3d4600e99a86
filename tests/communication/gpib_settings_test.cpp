// The GPIB settings: what OK of their dialog takes and refuses, and "Change Settings",
// which warns before GPIB devices could go and tells whether the boards must be probed
// again.
#include "communication/gpib_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/fake_ui_port.h"

namespace {

const char* const InvalidValue = "Invalid Value";
const char* const TooManyCEC = "Cannot use any more than 4 CEC boards at one time";

TGpibSettings Counted(int national, int cec) { return TGpibSettings{false, national, cec}; }

TEST(GpibSettings, AutoDetectTakesOnlyTheFlag) {
  TGpibSettings settings = Counted(3, 2);
  // Whatever the edits hold.
  EXPECT_FALSE(TakeGpibEntries(true, "abc", "-5", settings).has_value());
  EXPECT_EQ(settings, (TGpibSettings{true, 3, 2}));
  EXPECT_FALSE(TakeGpibEntries(true, "", "99", settings).has_value());
  EXPECT_EQ(settings, (TGpibSettings{true, 3, 2}));
}

TEST(GpibSettings, CountsAreWholeNumbersUpToEachKindsMost) {
  const std::string mostNational = std::to_string(TGpibSettings::MaxNationalCards);
  const std::string pastNational = std::to_string(TGpibSettings::MaxNationalCards + 1);
  struct TCase {
    std::string National, CEC;
    std::optional<TGpibSettings> Taken;  // none: refused
    std::string Message;
    TGpibField Field = TGpibField::National;
  };
  const TCase cases[] = {
      {"2", "4", Counted(2, 4), "", {}},
      {"", "", Counted(0, 0), "", {}},  // empty means 0
      {"0", "", Counted(0, 0), "", {}},
      {mostNational, "1", Counted(TGpibSettings::MaxNationalCards, 1), "", {}},
      {"1", "5", std::nullopt, TooManyCEC, TGpibField::CEC},
      {"1", "2147483647", std::nullopt, TooManyCEC, TGpibField::CEC},
      {"-1", "1", std::nullopt, InvalidValue, TGpibField::National},
      {"1", "-1", std::nullopt, InvalidValue, TGpibField::CEC},
      {pastNational, "1", std::nullopt, InvalidValue, TGpibField::National},
      {"99999999999", "1", std::nullopt, InvalidValue, TGpibField::National},
      {"1", "99999999999", std::nullopt, InvalidValue, TGpibField::CEC},
      {"two", "1", std::nullopt, InvalidValue, TGpibField::National},
      {"1.5", "1", std::nullopt, InvalidValue, TGpibField::National},
      {"1", " 2", std::nullopt, InvalidValue, TGpibField::CEC},
      // National first, then whether the CEC count is a number, then its limit.
      {"x", "9", std::nullopt, InvalidValue, TGpibField::National},
      {"1", "y", std::nullopt, InvalidValue, TGpibField::CEC},
  };
  for (const TCase& entry : cases) {
    SCOPED_TRACE("national \"" + entry.National + "\", CEC \"" + entry.CEC + "\"");
    const TGpibSettings before{true, 7, 3};
    TGpibSettings settings = before;
    const std::optional<TGpibRefusal> refused =
        TakeGpibEntries(false, entry.National, entry.CEC, settings);
    if (entry.Taken) {
      EXPECT_FALSE(refused.has_value());
      EXPECT_EQ(settings, *entry.Taken);
    } else {
      ASSERT_TRUE(refused.has_value());
      EXPECT_EQ(refused->Message, entry.Message);
      EXPECT_EQ(refused->Field, entry.Field);
      // Nothing is taken, not even the unchecked flag, until OK succeeds.
      EXPECT_EQ(settings, before);
    }
  }
}

TEST(GpibSettings, ChangeSettingsWarnsWithDevicesAndAnswersWhetherTheyChanged) {
  TFakeUiPort port;
  std::vector<TGpibSettings> shown;
  int answer = 1;
  TGpibSettings confirmed;
  std::vector<std::string> textsBeforeDialog;
  port.SetDialogHandler([&](TDialogRequest& request) {
    auto* gpib = dynamic_cast<TGpibSettingsRequest*>(&request);
    EXPECT_NE(gpib, nullptr);
    if (!gpib) return 0;
    textsBeforeDialog = port.Texts();
    shown.push_back(gpib->Settings);
    if (answer == 1) gpib->Settings = confirmed;
    return answer;
  });

  // With devices, the warning comes before the dialog; Cancel changes nothing.
  TGpibSettings settings{true, 1, 1};
  answer = 0;
  confirmed = Counted(2, 2);
  EXPECT_FALSE(EditGpibSettings(settings, true));
  EXPECT_EQ(textsBeforeDialog,
            std::vector<std::string>{"Any changes made will result in ALL GPIB devices being deleted."});
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], (TGpibSettings{true, 1, 1}));
  EXPECT_EQ(settings, (TGpibSettings{true, 1, 1}));

  // Without devices no warning; OK with the same settings is no change.
  port.Clear();
  answer = 1;
  confirmed = settings;
  EXPECT_FALSE(EditGpibSettings(settings, false));
  EXPECT_TRUE(port.Texts().empty());

  // Each field alone is a change.
  for (const TGpibSettings& changed :
       {TGpibSettings{false, 1, 1}, TGpibSettings{true, 2, 1}, TGpibSettings{true, 1, 0}}) {
    TGpibSettings current{true, 1, 1};
    confirmed = changed;
    EXPECT_TRUE(EditGpibSettings(current, false));
    EXPECT_EQ(current, changed);
  }
}

}  // namespace
