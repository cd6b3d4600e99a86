// The association of experiment files (".qve") with the program, in the user's data
// folder as freedesktop systems keep it: a MIME package declaring the file type and a
// desktop entry that opens such files with the program. Nothing here reports a
// failure to the user: a folder that cannot be written leaves the association as it was.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

class TFileAssociation {
public:
  static constexpr const char* MimeType = "application/x-qorv-experiment";
  static constexpr const char* TypeComment = "Qorv Experiment File";

  // What runs after the files were written, given the data folder: by default the
  // system's MIME and desktop databases are brought up to date in the background when
  // their tools are installed.
  using TRefresh = std::function<void(const std::filesystem::path& dataFolder)>;

  // The program's full path, and the data folder the files go to; an empty folder
  // leaves everything undone.
  explicit TFileAssociation(std::string programPath,
                            std::filesystem::path dataFolder = UserDataFolder());

  // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty when
  // neither is known.
  static std::filesystem::path UserDataFolder();
  // The desktop entry's Exec value opening a file with the program: its path quoted,
  // then %f ("\"/opt/qorv/qorv\" %f"), escaped as desktop entries require.
  static std::string OpenCommand(const std::string& programPath);

  // <data>/mime/packages/qorv-experiment.xml and <data>/applications/qorv.desktop.
  std::filesystem::path MimePackagePath() const;
  std::filesystem::path DesktopEntryPath() const;

  // When the MIME package is missing, writes it and the desktop entry (replacing one
  // there) and refreshes; nothing when the package exists. True when both were written.
  bool Register();
  // When the desktop entry exists and its Exec command is empty (or missing), writes the
  // program's open command into it, keeping the rest of the entry; a non-empty command
  // stays as it is. True when the entry was mended.
  bool RepairOpenCommand();

  void SetRefresh(TRefresh refresh) { Refresh = std::move(refresh); }

private:
  std::string ProgramPath;
  std::filesystem::path DataFolder;
  TRefresh Refresh;
};
