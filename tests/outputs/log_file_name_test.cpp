// The log dialog's check of the big number's log file name.
#include <gtest/gtest.h>

#include "outputs/log_file_name.h"
#include "support/temp_dir.h"

TEST(LogFileName, TakesAFileInAnExistingFolderOnly) {
  const TTempDir temp;
  const std::string folder = temp.Path().string() + "/";
  EXPECT_EQ(LogFileNameError(folder + "log.txt"), "");
  EXPECT_EQ(LogFileNameError(""), "You must enter a filename.");
  EXPECT_EQ(LogFileNameError(folder + "missing/log.txt"),
            "The directory " + folder + "missing/ does not exist");
  // A file is no folder.
  temp.WriteBytes("file", {});
  EXPECT_EQ(LogFileNameError(folder + "file/log.txt"),
            "The directory " + folder + "file/ does not exist");
  EXPECT_EQ(LogFileNameError(folder), "You must include a filename with the path.");
  // A bare name has no folder, and an empty folder does not exist.
  EXPECT_EQ(LogFileNameError("log.txt"), "The directory  does not exist");
}
