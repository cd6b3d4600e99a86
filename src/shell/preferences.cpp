#include "shell/preferences.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "outputs/output_form.h"
#include "scripts/experiment_thread.h"

namespace {

const char* const CannotChange = "Experiment running, you cannot change preferences.";

bool IsDirectory(const std::string& text) {
  std::error_code error;
  return std::filesystem::is_directory(text, error);
}

}  // namespace

std::optional<TPreferenceRefusal> CheckPreferenceDirectories(const TSessionDirectories& entries) {
  const std::pair<const std::string*, TPreferenceField> fields[] = {
      {&entries.Output, TPreferenceField::Output},
      {&entries.Device, TPreferenceField::Device},
      {&entries.Experiment, TPreferenceField::Experiment},
      {&entries.Block, TPreferenceField::Block},
  };
  for (const auto& [text, field] : fields)
    if (!text->empty() && !IsDirectory(*text))
      return TPreferenceRefusal{"The directory " + *text + " does not exist", field};
  return std::nullopt;
}

const char* BrowseCaption(TPreferenceField field) {
  switch (field) {
    case TPreferenceField::Output: return "Find Output Directory";
    case TPreferenceField::Device: return "Find Device Directory";
    case TPreferenceField::Experiment: return "Find Experiment Directory";
    case TPreferenceField::Block: return "Find Block Directory";
  }
  return "";
}

void ApplyDirectories(TDocumentSession& session, const TSessionDirectories& directories) {
  session.Directories = directories;
  SetPreferredOutputDirectory(directories.Output);
}

void PreferencesClick(TDocumentSession& session) {
  if (IsRunActive()) {
    Inform(CannotChange);
    return;
  }
  TExperimentPreferencesRequest request;
  request.Directories = session.Directories;
  if (UiPort().OpenDialog(request) == 1) ApplyDirectories(session, request.Directories);
}
