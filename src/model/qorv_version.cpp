#include "model/qorv_version.h"

#include "model/text.h"

namespace {
TQorvVersion versionTable;
}

TQorvVersion* const QorvVersion = &versionTable;

std::int32_t TQorvVersion::GetVersionNumber(const std::string& text) const {
  for (std::size_t i = 0; i < Versions.size(); ++i)
    if (Versions[i] == text) return static_cast<std::int32_t>(i + 1);
  return qvUNKNOWN;
}

bool TQorvVersion::CanReadVersion(const std::string& text) const {
  // A text outside the table would be read as version 0, with every later field
  // taken as absent, and misparsed: refuse it instead.
  return GetVersionNumber(TrimText(text)) != qvUNKNOWN;
}
