// Settings values through TIniregQorv::Read, as the main window reads them at its first
// showing, from a store whose values the input gives (any names, kinds, lengths and
// counts; layout in support/settings_bytes.h). Checked:
//  - an empty store gives the defaults; otherwise the card counts are ones boards can have;
//  - the recent and icon files are the non-empty texts stored under the numbered names
//    below their count, in index order: against a loop over every index when the count
//    is at most 4096, and for any count no more than the store holds, none empty;
//  - what was read, written to a fresh store and read again, is the same settings.
// A count of two billion costs no more than the values stored: reading finds the
// numbered values by the names the store holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/number_text.h"
#include "shell/memory_settings_store.h"
#include "shell/settings.h"
#include "support/harness.h"
#include "support/settings_bytes.h"

namespace {

const char* const Program = "/opt/qorv/qorv";

void CheckNumbered(const TMemorySettingsStore& store, const std::string& countName,
                   const std::string& prefix, const std::vector<std::string>& read) {
  FUZZ_CHECK(read.size() <= store.Count());
  for (const std::string& text : read) FUZZ_CHECK(!text.empty());
  std::int32_t count = 0;
  if (!store.ReadInteger(countName, count) || count > 4096) return;
  std::vector<std::string> expected;
  for (std::int32_t i = 0; i < count; ++i) {
    std::string text;
    if (store.ReadString(prefix + NumberText::IntToText(i), text) && !text.empty())
      expected.push_back(text);
  }
  FUZZ_CHECK(read == expected);
}

bool Same(const TIniregQorv& a, const TIniregQorv& b) {
  return a.GetAutoDetect() == b.GetAutoDetect() &&
         a.GetNumberOfCECCards() == b.GetNumberOfCECCards() &&
         a.GetNumberOfNationalCards() == b.GetNumberOfNationalCards() &&
         a.GetFiles() == b.GetFiles() && a.GetOutputDirectory() == b.GetOutputDirectory() &&
         a.GetDeviceDirectory() == b.GetDeviceDirectory() &&
         a.GetExperimentDirectory() == b.GetExperimentDirectory() &&
         a.GetBlockDirectory() == b.GetBlockDirectory() && a.GetIconFiles() == b.GetIconFiles();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  THarnessInput input;
  const TMemorySettingsStore store = settings_bytes::Store(data, size);
  TIniregQorv settings(Program);
  settings.Read(store);

  if (!store.KeyExists()) {
    FUZZ_CHECK(settings.GetAutoDetect() && settings.GetNumberOfCECCards() == 1 &&
               settings.GetNumberOfNationalCards() == 1 && settings.GetNumberOfFiles() == 0 &&
               settings.GetNumberOfIconFiles() == 0 && settings.GetOutputDirectory().empty());
  }
  FUZZ_CHECK(settings.GetNumberOfCECCards() >= 0 &&
             settings.GetNumberOfCECCards() <= TInitializeQorv::MaxCECCards);
  FUZZ_CHECK(settings.GetNumberOfNationalCards() >= 0 &&
             settings.GetNumberOfNationalCards() <= TInitializeQorv::MaxNationalCards);
  CheckNumbered(store, "NumberOfFiles", "Experiment", settings.GetFiles());
  CheckNumbered(store, "NumberOfIconFiles", "IconFileName", settings.GetIconFiles());

  TMemorySettingsStore written;
  FUZZ_CHECK(settings.Write(written));
  TIniregQorv again(Program);
  again.Read(written);
  FUZZ_CHECK(Same(settings, again));
  return 0;
}
