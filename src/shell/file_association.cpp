#include "shell/file_association.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#if defined(__unix__)
#include <spawn.h>
#include <sys/wait.h>

#include "model/text.h"
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace {

const char* const DesktopGroup = "[Desktop Entry]";

// Writes the file whole or not at all: a new file beside it, then renamed over it.
bool WriteFile(const fs::path& path, const std::string& text) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  if (error) return false;
  fs::path partial = path;
  partial += ".new";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      fs::remove(partial, error);
      return false;
    }
  }
  fs::rename(partial, path, error);
  if (!error) return true;
  std::error_code ignored;  // the failure to report is the rename's
  fs::remove(partial, ignored);
  return false;
}

std::string MimePackage() {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                     "  <mime-type type=\"") +
         TFileAssociation::MimeType + "\">\n    <comment>" + TFileAssociation::TypeComment +
         "</comment>\n    <glob pattern=\"*.qve\"/>\n  </mime-type>\n</mime-info>\n";
}

std::string DesktopEntry(const std::string& openCommand) {
  return std::string(DesktopGroup) +
         "\nType=Application\nName=Qorv\nComment=Automates experiments on GPIB and RS-232 "
         "instruments\nExec=" +
         openCommand + "\nTerminal=false\nCategories=Science;\nMimeType=" +
         TFileAssociation::MimeType + ";\n";
}

// Brings the MIME and desktop databases of the folder up to date, in the background:
// the shell starts the tools that are installed and ends at once.
void RefreshDatabases(const fs::path& dataFolder) {
#if defined(__unix__)
  const std::string mime = (dataFolder / "mime").string();
  const std::string applications = (dataFolder / "applications").string();
  const char* script =
      "(update-mime-database \"$1\"; update-desktop-database \"$2\") "
      "</dev/null >/dev/null 2>&1 &";
  char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(script),
                  const_cast<char*>("sh"), const_cast<char*>(mime.c_str()),
                  const_cast<char*>(applications.c_str()), nullptr};
  pid_t shell = 0;
  if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv, environ) == 0) {
    int status = 0;
    waitpid(shell, &status, 0);
  }
#else
  (void)dataFolder;
#endif
}

}  // namespace

TFileAssociation::TFileAssociation(std::string programPath, fs::path dataFolder)
    : ProgramPath(std::move(programPath)), DataFolder(std::move(dataFolder)),
      Refresh(RefreshDatabases) {}

fs::path TFileAssociation::UserDataFolder() {
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && fs::path(data).is_absolute()) return fs::path(data);
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return fs::path(home) / ".local" / "share";
  return fs::path();
}

std::string TFileAssociation::OpenCommand(const std::string& programPath) {
  // First the argument's quoting: a double quote, backtick, dollar sign or backslash
  // gets a backslash. Then the escapes of every string value, which come off first
  // when the entry is read: a backslash is doubled, control characters spelled out.
  // A percent sign is doubled so that it is not taken for a field code.
  std::string quoted = "\"";
  for (const char c : programPath) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string command;
  for (const char c : quoted) {
    switch (c) {
      case '\\': command += "\\\\"; break;
      case '\n': command += "\\n"; break;
      case '\t': command += "\\t"; break;
      case '\r': command += "\\r"; break;
      case '%': command += "%%"; break;
      default: command += c;
    }
  }
  return command + " %f";
}

fs::path TFileAssociation::MimePackagePath() const {
  return DataFolder / "mime" / "packages" / "qorv-experiment.xml";
}

fs::path TFileAssociation::DesktopEntryPath() const {
  return DataFolder / "applications" / "qorv.desktop";
}

bool TFileAssociation::Register() {
  if (DataFolder.empty() || ProgramPath.empty()) return false;
  std::error_code error;
  const fs::path package = MimePackagePath();
  if (fs::exists(package, error) || error) return false;
  if (!WriteFile(package, MimePackage())) return false;
  if (!WriteFile(DesktopEntryPath(), DesktopEntry(OpenCommand(ProgramPath)))) return false;
  if (Refresh) Refresh(DataFolder);
  return true;
}

bool TFileAssociation::RepairOpenCommand() {
  if (DataFolder.empty() || ProgramPath.empty()) return false;
  const fs::path path = DesktopEntryPath();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  in.close();

  // The entry's lines, the line breaks kept; the Exec key of the main group.
  std::size_t groupEnd = std::string::npos;  // where the line after the group header starts
  std::size_t execStart = std::string::npos, execEnd = std::string::npos;
  bool inGroup = false;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    const std::string line = TrimText(text.substr(start, end - start));
    if (!line.empty() && line[0] == '[') {
      if (inGroup) break;
      inGroup = line == DesktopGroup;
      if (inGroup) groupEnd = next;
    } else if (inGroup) {
      const auto equals = line.find('=');
      if (equals != std::string::npos && TrimText(line.substr(0, equals)) == "Exec") {
        if (!TrimText(line.substr(equals + 1)).empty()) return false;
        execStart = start;
        execEnd = end;
        break;
      }
    }
    start = next;
  }
  if (groupEnd == std::string::npos) return false;  // not a desktop entry

  const std::string exec = "Exec=" + OpenCommand(ProgramPath);
  std::string mended;
  if (execStart != std::string::npos) {
    // Keeps a carriage return that ended the line.
    const bool crlf = execEnd > execStart && text[execEnd - 1] == '\r';
    mended = text.substr(0, execStart) + exec + (crlf ? "\r" : "") + text.substr(execEnd);
  } else {
    std::string head = text.substr(0, groupEnd);
    if (head.empty() || head.back() != '\n') head += '\n';
    mended = head + exec + "\n" + text.substr(groupEnd);
  }
  return WriteFile(path, mended);
}
