// The experiment-file association in the user's data folder: the folder from the
// environment, registering once, the open command quoted so that a desktop reads the
// program's path back, and the repair of an empty command keeping the rest of the entry.
#include "shell/file_association.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Sets environment variables for one test and puts the old values back.
class TEnvironment {
public:
  ~TEnvironment() {
    for (const auto& [name, value] : Saved)
      value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }
  void Set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    Saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    value ? ::setenv(name.c_str(), value, 1) : ::unsetenv(name.c_str());
  }

private:
  std::vector<std::pair<std::string, std::optional<std::string>>> Saved;
};

std::string Text(const TTempDir& dir, const fs::path& path) {
  const TBytes bytes = dir.ReadBytes(fs::relative(path, dir.Path()).string());
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const TTempDir& dir, const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  dir.WriteBytes(fs::relative(path, dir.Path()).string(), TBytes(text.begin(), text.end()));
}

// The arguments of an Exec value as a desktop reads them: first the escapes of string
// values, then the quoting of arguments, then "%%" as a percent sign.
std::vector<std::string> ExecArguments(const std::string& value) {
  std::string unescaped;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char c = value[++i];
      unescaped += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    } else {
      unescaped += value[i];
    }
  }
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false, any = false;
  for (std::size_t i = 0; i < unescaped.size(); ++i) {
    const char c = unescaped[i];
    if (quoted) {
      if (c == '\\' && i + 1 < unescaped.size() && std::strchr("\"`$\\", unescaped[i + 1]))
        current += unescaped[++i];
      else if (c == '"')
        quoted = false;
      else
        current += c;
    } else if (c == ' ') {
      if (any) arguments.push_back(current);
      current.clear();
      any = false;
    } else {
      any = true;
      if (c == '"')
        quoted = true;
      else
        current += c;
    }
  }
  EXPECT_FALSE(quoted) << value;
  if (any) arguments.push_back(current);
  for (std::string& argument : arguments) {
    std::string plain;
    for (std::size_t i = 0; i < argument.size(); ++i) {
      plain += argument[i];
      if (argument[i] == '%' && i + 1 < argument.size() && argument[i + 1] == '%') ++i;
    }
    argument = plain;
  }
  return arguments;
}

// The value of the entry's first Exec line.
std::string ExecValue(const std::string& entry) {
  const auto at = entry.find("\nExec=");
  if (at == std::string::npos) return "<none>";
  const auto start = at + 6;
  return entry.substr(start, entry.find('\n', start) - start);
}

class FileAssociationTest : public ::testing::Test {
protected:
  FileAssociationTest() { Environment.Set("XDG_DATA_HOME", Dir.Path().c_str()); }

  TFileAssociation Association(const std::string& program = "/opt/qorv/qorv") {
    TFileAssociation association(program);
    association.SetRefresh([this](const fs::path& folder) { Refreshed.push_back(folder); });
    return association;
  }

  TTempDir Dir;
  TEnvironment Environment;
  std::vector<fs::path> Refreshed;
};

TEST_F(FileAssociationTest, TheDataFolderComesFromTheEnvironment) {
  EXPECT_EQ(TFileAssociation::UserDataFolder(), Dir.Path());
  Environment.Set("HOME", "/home/ann");
  Environment.Set("XDG_DATA_HOME", "relative/share");  // invalid: ignored
  EXPECT_EQ(TFileAssociation::UserDataFolder(), fs::path("/home/ann/.local/share"));
  Environment.Set("XDG_DATA_HOME", "");
  EXPECT_EQ(TFileAssociation::UserDataFolder(), fs::path("/home/ann/.local/share"));
  Environment.Set("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(TFileAssociation::UserDataFolder(), fs::path("/home/ann/.local/share"));
  Environment.Set("HOME", nullptr);
  EXPECT_EQ(TFileAssociation::UserDataFolder(), fs::path());
  // Without a folder, or with one that cannot be written, nothing is done.
  TFileAssociation nowhere("/opt/qorv/qorv");
  EXPECT_FALSE(nowhere.Register());
  EXPECT_FALSE(nowhere.RepairOpenCommand());
  WriteText(Dir, Dir.Path() / "file", "not a folder");
  TFileAssociation blocked("/opt/qorv/qorv", Dir.Path() / "file");
  blocked.SetRefresh([this](const fs::path& folder) { Refreshed.push_back(folder); });
  EXPECT_FALSE(blocked.Register());
  EXPECT_FALSE(blocked.RepairOpenCommand());
  EXPECT_TRUE(Refreshed.empty());
}

TEST_F(FileAssociationTest, RegisteringWritesTheTypeAndTheEntryOnce) {
  TFileAssociation association = Association();
  EXPECT_EQ(association.MimePackagePath(), Dir.Path() / "mime/packages/qorv-experiment.xml");
  EXPECT_EQ(association.DesktopEntryPath(), Dir.Path() / "applications/qorv.desktop");
  ASSERT_TRUE(association.Register());
  const std::string package = Text(Dir, association.MimePackagePath());
  EXPECT_NE(package.find("<mime-type type=\"application/x-qorv-experiment\">"), std::string::npos);
  EXPECT_NE(package.find("<glob pattern=\"*.qve\"/>"), std::string::npos);
  EXPECT_NE(package.find("<comment>Qorv Experiment File</comment>"), std::string::npos);
  const std::string entry = Text(Dir, association.DesktopEntryPath());
  EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
  for (const char* line : {"\nName=Qorv\n", "\nType=Application\n",
                           "\nMimeType=application/x-qorv-experiment;\n"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  EXPECT_EQ(ExecValue(entry), "\"/opt/qorv/qorv\" %f");
  EXPECT_EQ(Refreshed, std::vector<fs::path>{Dir.Path()});
  // Nothing stays half-written beside the files.
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path() / "applications"), {}), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path() / "mime/packages"), {}), 1);

  // Once there, the type is left alone: a changed entry stays as the user made it.
  const std::string mine = "[Desktop Entry]\nName=Mine\nExec=mine %f\n";
  WriteText(Dir, association.DesktopEntryPath(), mine);
  EXPECT_FALSE(Association("/elsewhere/qorv").Register());
  EXPECT_EQ(Text(Dir, association.DesktopEntryPath()), mine);
  EXPECT_EQ(Refreshed.size(), 1u);
  // A present type of its own: no entry is written either.
  fs::remove(association.DesktopEntryPath());
  WriteText(Dir, association.MimePackagePath(), "<mime-info/>\n");
  EXPECT_FALSE(association.Register());
  EXPECT_FALSE(fs::exists(association.DesktopEntryPath()));
  EXPECT_EQ(Text(Dir, association.MimePackagePath()), "<mime-info/>\n");
}

TEST_F(FileAssociationTest, TheOpenCommandQuotesEveryPathSoThatItReadsBack) {
  EXPECT_EQ(TFileAssociation::OpenCommand("/opt/my apps/qorv"), "\"/opt/my apps/qorv\" %f");
  EXPECT_EQ(TFileAssociation::OpenCommand("/a\"b"), "\"/a\\\\\"b\" %f");
  EXPECT_EQ(TFileAssociation::OpenCommand("/a\\b"), "\"/a\\\\\\\\b\" %f");
  for (const std::string path :
       {"/opt/my apps/qorv", "/q\"uote/qorv", "/$HOME/`x`/qorv", "/back\\slash/qorv",
        "/100%/qorv %f", "/tab\there/new\nline/qorv", "/Programme/Qörv/qorv"}) {
    EXPECT_EQ(ExecArguments(TFileAssociation::OpenCommand(path)),
              (std::vector<std::string>{path, "%f"}))
        << path;
  }
  // The whole entry keeps the command on its one line.
  TFileAssociation association = Association("/new\nline/qorv");
  ASSERT_TRUE(association.Register());
  EXPECT_EQ(ExecArguments(ExecValue(Text(Dir, association.DesktopEntryPath()))),
            (std::vector<std::string>{"/new\nline/qorv", "%f"}));
}

TEST_F(FileAssociationTest, AnEmptyOpenCommandIsFilledAndTheRestKept) {
  TFileAssociation association = Association("/opt/my apps/qorv");
  const fs::path entry = association.DesktopEntryPath();
  EXPECT_FALSE(association.RepairOpenCommand());  // no entry: none is made
  EXPECT_FALSE(fs::exists(entry));

  WriteText(Dir, entry, "# mine\n[Desktop Entry]\nName=Qorv\nExec = \t\nIcon=qorv\n");
  ASSERT_TRUE(association.RepairOpenCommand());
  EXPECT_EQ(Text(Dir, entry),
            "# mine\n[Desktop Entry]\nName=Qorv\nExec=\"/opt/my apps/qorv\" %f\nIcon=qorv\n");

  // A line break of CR LF stays; so does a non-empty command, byte for byte.
  WriteText(Dir, entry, "[Desktop Entry]\r\nExec=\r\nName=Qorv\r\n");
  ASSERT_TRUE(association.RepairOpenCommand());
  EXPECT_EQ(Text(Dir, entry),
            "[Desktop Entry]\r\nExec=\"/opt/my apps/qorv\" %f\r\nName=Qorv\r\n");
  const std::string own = "[Desktop Entry]\nExec=other --open %f\nName=Qorv\n";
  WriteText(Dir, entry, own);
  EXPECT_FALSE(association.RepairOpenCommand());
  EXPECT_EQ(Text(Dir, entry), own);

  // No command in the main group: one is added there; an action's does not count.
  WriteText(Dir, entry,
            "[Desktop Entry]\nName=Qorv\n\n[Desktop Action New]\nExec=qorv --new\n");
  ASSERT_TRUE(association.RepairOpenCommand());
  EXPECT_EQ(Text(Dir, entry), "[Desktop Entry]\nExec=\"/opt/my apps/qorv\" %f\nName=Qorv\n\n"
                              "[Desktop Action New]\nExec=qorv --new\n");
  WriteText(Dir, entry, "[Desktop Entry]");
  ASSERT_TRUE(association.RepairOpenCommand());
  EXPECT_EQ(Text(Dir, entry), "[Desktop Entry]\nExec=\"/opt/my apps/qorv\" %f\n");

  // A file that is no desktop entry is left alone.
  WriteText(Dir, entry, "Exec=\n");
  EXPECT_FALSE(association.RepairOpenCommand());
  EXPECT_EQ(Text(Dir, entry), "Exec=\n");
  EXPECT_TRUE(Refreshed.empty());
}

}  // namespace
