// "Preferences" of the "&Experiment" menu: the four default folders that the file
// choosers start in (output files; device and device-configuration files; experiment
// files; block files). The session keeps them (TDocumentSession::Directories) and the
// output windows' save chooser reads the output folder (PreferredOutputDirectory).
#pragma once

#include <optional>
#include <string>

#include "model/ui_port.h"
#include "shell/document_session.h"

// The preferences dialog: the folders in; on OK the folders confirmed.
struct TExperimentPreferencesRequest : TDialogRequest {
  TSessionDirectories Directories;
};

// The folder entries of the dialog, in the order they are checked.
enum class TPreferenceField { Output, Device, Experiment, Block };

struct TPreferenceRefusal {
  std::string Message;
  TPreferenceField Field;
};

// OK of the dialog: each entry, in the order output, device, experiment, block, is
// empty or names an existing folder; the first that does not is refused with
// "The directory " + its text + " does not exist".
std::optional<TPreferenceRefusal> CheckPreferenceDirectories(const TSessionDirectories& entries);

// The caption of the folder chooser that a field's browse button opens
// ("Find Output Directory", ...).
const char* BrowseCaption(TPreferenceField field);

// The folders become the session's and the output windows'.
void ApplyDirectories(TDocumentSession& session, const TSessionDirectories& directories);

// The menu item: during a run only "Experiment running, you cannot change
// preferences."; otherwise the dialog on the session's folders, whose OK applies them.
void PreferencesClick(TDocumentSession& session);
