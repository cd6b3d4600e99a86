// The table of document format versions. Every file carries the version text it was
// written with; loaders read a field only from the version that introduced it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Version numbers, as compared by loaders.
enum TQorvVersionNumber : std::int32_t {
  qvUNKNOWN = 0,
  qvV1_0 = 1,
  qvV1_1 = 2,  // a field of the Send command
  qvV1_2 = 3,
  qvV1_3 = 4,
  qvV1_4 = 5,  // the commented-out flag of every command; fields of several records
  qvV1_5 = 6,  // the data-file sections of the experiment body
};

class TQorvVersion {
public:
  const std::string& GetCurrentVersion() const { return CurrentVersion; }
  const std::string& GetCurrentNumberText() const { return CurrentNumberText; }
  std::int32_t GetNumberOfVersions() const { return static_cast<std::int32_t>(Versions.size()); }

  // The number of the table entry whose text equals the text exactly; 0 when none.
  std::int32_t GetVersionNumber(const std::string& text) const;
  // True for the versions of the table (blanks around the text do not count),
  // whatever the regional number format. Newer or malformed texts are refused.
  bool CanReadVersion(const std::string& text) const;

private:
  const std::string CurrentVersion = "Qorv 1.5";
  const std::string CurrentNumberText = "1.5";
  const std::array<std::string, 6> Versions = {"Qorv 1.0", "Qorv 1.1", "Qorv 1.2",
                                               "Qorv 1.3", "Qorv 1.4", "Qorv 1.5"};
};

// The program's one version table.
extern TQorvVersion* const QorvVersion;
