// A new folder of the "Find Directory" dialog: made inside the folder shown, refused
// when its name holds a path separator, reported when it cannot be made.
#include "shell/new_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace {

TEST(NewDirectory, IsMadeInTheCurrentFolderOnlyByItsOwnName) {
  TTempDir temp;
  const std::string current = temp.Path().string();

  const TNewDirectory nothing = MakeNewDirectory(current, "");
  EXPECT_EQ(nothing.Outcome, TNewDirectory::ndEMPTY);
  EXPECT_EQ(temp.Entries(), 0u);

  // A separator of either kind would reach outside the folder shown.
  for (const char* name : {"a/b", "a\\b", "/abs", "..\\up", "trailing/"}) {
    SCOPED_TRACE(name);
    const TNewDirectory refused = MakeNewDirectory(current, name);
    EXPECT_EQ(refused.Outcome, TNewDirectory::ndREFUSED);
    EXPECT_EQ(refused.Message,
              "You must create a directory in " + current + " or select another directory");
  }
  EXPECT_EQ(temp.Entries(), 0u);

  const TNewDirectory made = MakeNewDirectory(current, "Runs 2024");
  EXPECT_EQ(made.Outcome, TNewDirectory::ndCREATED);
  EXPECT_EQ(made.Path, temp.PathOf("Runs 2024"));
  EXPECT_TRUE(std::filesystem::is_directory(made.Path));
  EXPECT_TRUE(made.Message.empty());

  // A folder ending with its separator (a root) gets no second one.
  const TNewDirectory inner = MakeNewDirectory(made.Path + "/", "inner");
  EXPECT_EQ(inner.Outcome, TNewDirectory::ndCREATED);
  EXPECT_EQ(inner.Path, made.Path + "/inner");
  EXPECT_TRUE(std::filesystem::is_directory(inner.Path));
}

TEST(NewDirectory, AFolderThatCannotBeMadeIsReported) {
  TTempDir temp;
  const std::string current = temp.Path().string();
  std::filesystem::create_directory(temp.PathOf("there"));
  const std::string file = temp.WriteBytes("plain", {'x'});

  struct TCase {
    std::string Current, Name, Path;
  };
  const TCase cases[] = {
      {current, "there", temp.PathOf("there")},         // made already
      {current, "plain", file},                        // a file of that name
      {file, "sub", file + "/sub"},                    // inside a file
      {temp.PathOf("gone"), "sub", temp.PathOf("gone") + "/sub"},  // in a missing folder
  };
  for (const TCase& entry : cases) {
    SCOPED_TRACE(entry.Path);
    const TNewDirectory failed = MakeNewDirectory(entry.Current, entry.Name);
    EXPECT_EQ(failed.Outcome, TNewDirectory::ndFAILED);
    EXPECT_EQ(failed.Path, entry.Path);
    EXPECT_EQ(failed.Message, "Error creating " + entry.Path);
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_FALSE(std::filesystem::exists(temp.PathOf("gone")));
}

}  // namespace
