#include "platform/ui/help_topics.h"

#include <algorithm>

void LoadHelpResource() {
  static const bool loaded = [] {
    Q_INIT_RESOURCE(help);
    return true;
  }();
  (void)loaded;
}

const std::vector<THelpTopic>& HelpTopics() {
  // Several dialogs that belong together share a page, each at its own anchor.
  static const std::vector<THelpTopic> topics = {
      {1, "experiment_view.html", "editing", "Editing blocks and commands"},
      {2, "flow_commands.html", "label", "The Label dialog"},
      {3, "calculate_dialog.html", "calculate-dialog", "The Calculator dialog"},
      {4, "flow_commands.html", "if-then", "The If then command dialog"},
      {5, "flow_commands.html", "increment", "The Increment dialog"},
      {6, "output_commands.html", "plot", "The Plot dialog"},
      {7, "read_commands.html", "read-dialog", "The Read dialog"},
      {8, "read_commands.html", "read-from-file", "The Read From File dialog"},
      {9, "flow_commands.html", "repeat-until", "The Repeat Until Command dialog"},
      {10, "device_command_dialogs.html", "send", "The Send dialog"},
      {11, "read_commands.html", "send-and-read", "The Send and Read dialog"},
      {12, "device_command_dialogs.html", "send-gpib-rs232",
       "The Send GPIB Commands and Send RS232 dialogs"},
      {14, "variables.html", "variables-dialog", "The Variables dialog"},
      {15, "flow_commands.html", "decision", "The Decision Command dialog"},
      {17, "outputs.html", "outputs", "Outputs"},
      {18, "flow_commands.html", "comment", "The Comment dialog"},
      {22, "device_dialog.html", "device-dialog", "The Add or Edit a Device dialog"},
      {23, "device_command_dialogs.html", "serial-poll", "The Serial Poll dialog"},
      {24, "console.html", "console", "The interactive console"},
      {25, "scan.html", "scan-for-devices", "The Scan For Devices dialog"},
      {26, "gpib_settings.html", "gpib-settings", "The GPIB Settings dialog"},
      {27, "preferences.html", "preferences", "The Preferences dialog"},
      {28, "debug_window.html", "debug-window", "The debug window"},
      {29, "text_window.html", "text-window", "The text window"},
      {30, "big_number_window.html", "big-number-window", "The big number window"},
      {31, "table_window.html", "table-window", "The table window"},
      {32, "graph_window.html", "graph-window", "The graph window"},
      {33, "output_dialogs.html", "number-format", "The Number Format dialog"},
      {34, "output_dialogs.html", "set-title", "The Set Title dialog"},
      {35, "table_dialogs.html", "table-labels", "The Table Labels dialog"},
      {36, "block_editor.html", "edit-block", "The Edit Experiment Block dialog"},
      {39, "main_window.html", "main-window", "The main window"},
      {40, "outputs.html", "import", "The Import dialog"},
      {45, "graph_window.html", "active-scrolling", "The Active Scrolling dialog"},
      {46, "big_number_window.html", "log-to-file", "The BigNum Log To File dialog"},
      {48, "table_dialogs.html", "row-select", "The Row Select dialog"},
      {49, "block_editor.html", "align-blocks", "The Align dialog"},
      {50, "device_commands.html", "device-commands", "The Edit Device Scripts dialog"},
      {51, "preferences.html", "find-directory", "The Find Directory dialog"},
      {52, "variables.html", "rename-or-choose", "The Rename or Change a variable dialog"},
      {53, "device_placement.html", "device-occupied", "The Device Address Occupied dialog"},
      {54, "device_placement.html", "reassign-device", "The Reassign Device To... dialog"},
      {56, "report.html", "report", "The Experiment Report dialog"},
      {57, "table_dialogs.html", "copy-data", "The Copy Data To Clipboard dialog"},
      {58, "console.html", "change-colors", "The Change Colors dialog"},
      {60, "table_dialogs.html", "row-select", "The Row Select dialog"},
      {61, "table_dialogs.html", "row-select", "The Row Select dialog"},
      {63, "device_command_dialogs.html", "send-binary", "The Send Binary Data dialog"},
      {64, "table_dialogs.html", "print-table", "The Print Table dialog"},
      {67, "output_commands.html", "clear-output", "The Clear Output dialog"},
      {69, "device_command_dialogs.html", "clear-device-buffer", "The ClearDevice Buffer dialog"},
      {71, "output_commands.html", "output-to-file", "The Output To File dialog"},
      {72, "output_commands.html", "create-new-file", "The Create a New File dialog"},
      {73, "data_files.html", "single-file", "The Single File dialog"},
      {74, "data_files.html", "multiple-file", "The Multiple File dialog"},
      {80, "concatenate_dialog.html", "concatenate-dialog", "The Concatenate String dialog"},
  };
  return topics;
}

const THelpTopic* FindHelpTopic(int context) {
  const std::vector<THelpTopic>& topics = HelpTopics();
  auto found = std::find_if(topics.begin(), topics.end(),
                            [context](const THelpTopic& topic) { return topic.Context == context; });
  return found == topics.end() ? nullptr : &*found;
}

QUrl HelpPageUrl(const QString& page) { return QUrl(QStringLiteral("qrc:/help/") + page); }

QUrl HelpTopicUrl(const THelpTopic& topic) {
  QUrl url = HelpPageUrl(QString::fromLatin1(topic.Page));
  url.setFragment(QString::fromLatin1(topic.Anchor));
  return url;
}

QUrl HelpContentsUrl() { return HelpPageUrl(QStringLiteral("contents.html")); }

QUrl HelpIndexUrl() { return HelpPageUrl(QStringLiteral("index.html")); }

QString HelpResourcePath(const QUrl& url) {
  if (url.scheme() != QLatin1String("qrc") || !url.path().startsWith(QLatin1String("/help/")))
    return {};
  return QLatin1Char(':') + url.path();
}
